#pragma once
// A page of the main window: a child dialog from the .rc script with its own dialog procedure.
// The frame creates the pages when the window is first shown, fills them from the store, shows
// one at a time and hands them the commands and keys of their controls.
#include <windows.h>

#include <string>

#include "core/gui/main_state.h"
#include "core/store/encriptor.h"

namespace mrf::ui {

// What a page may ask of the frame.
class PageHost {
public:
    virtual ~PageHost() = default;
    // The main window: the owner of the page's dialogs.
    virtual HWND Frame() const = 0;
    // The one way to tell the user.
    virtual void Notify(const UserMessage& message) = 0;
    // Runs a command of the command table, as the menu would.
    virtual void RunCommand(unsigned id) = 0;
};

class Page {
public:
    Page(PageHost& host, TEncriptor& store, MainState& state, int dialogId, const char* caption)
        : host_(host), store_(store), state_(state), dialogId_(dialogId), caption_(caption) {}
    virtual ~Page() = default;
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    // Builds the page as a child of the frame, hidden.
    HWND Create(HWND frame);
    HWND Window() const { return page_; }
    // The tab's caption, untranslated.
    const char* Caption() const { return caption_; }
    // Fills the controls from the store.
    virtual void Fill() = 0;
    // The page became the one shown.
    virtual void Selected() {}
    // The control that takes the focus when the page has no other: its first tab stop.
    virtual HWND FirstControl() const;
    // A key for one of the page's controls, before it is dispatched; true when handled.
    virtual bool Key(MSG& msg);

protected:
    // Once the controls exist.
    virtual void Init() {}
    // WM_COMMAND of a control; true when handled.
    virtual bool Command(unsigned id, unsigned code) = 0;
    // WM_NOTIFY of a control, WM_CONTEXTMENU, WM_SIZE; true when handled.
    virtual bool Notify(NMHDR* header);
    virtual bool ContextMenu(HWND control, LPARAM where);
    virtual void Resize(int width, int height);

    PageHost& host_;
    TEncriptor& store_;
    MainState& state_;
    HWND page_ = nullptr;

private:
    static INT_PTR CALLBACK Proc(HWND page, UINT msg, WPARAM wp, LPARAM lp);
    int dialogId_;
    const char* caption_;
};

// A page without controls yet: its own issue fills it.
class BlankPage final : public Page {
public:
    using Page::Page;
    void Fill() override {}

private:
    bool Command(unsigned, unsigned) override { return false; }
};

} // namespace mrf::ui
