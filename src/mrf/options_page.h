#pragma once
// The options page ("Program options"): Mini, chkNewUsers, the hot-key field JvHotKey1 and the
// button that defines the administrator password.
#include "mrf/page.h"

namespace mrf::ui {

class OptionsPage final : public Page {
public:
    OptionsPage(PageHost& host, TEncriptor& store, MainState& state);

    // Fills the option controls (the last step of the users page's refresh).
    void Fill() override;

private:
    void Init() override;
    bool Command(unsigned id, unsigned code) override;
    bool IsChecked(int id) const { return ::IsDlgButtonChecked(page_, id) == BST_CHECKED; }
};

} // namespace mrf::ui
