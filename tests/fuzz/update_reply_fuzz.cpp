// libFuzzer target: the update server's reply, which anyone on the way can write over plain HTTP.
// Its commands must never crash, never change a setting outside the allow-list, and never show a
// control character or an over-long text.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <string>

#include "core/update/update_check.h"
#include "fakes/memory_file_system.h"

namespace {

class CheckingHost : public mrf::UpdateHost {
public:
    void ShowMessage(const std::string& text) override { Check(text); }
    bool AskYesNo(const std::string& text) override {
        Check(text);
        return true;
    }
    void OpenWebSite() override {}

private:
    static void Check(const std::string& text) {
        if (text.size() > mrf::kMaxUpdateMessageLength)
            __builtin_trap();
        for (char c : text)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                __builtin_trap();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);
    mrf::test::MemoryFileSystem fs;
    mrf::TEncriptor store("mrf.dat", fs);
    store.WriteString("Password", "hash");
    store.WriteString("Auto", "1");
    store.WriteString("Users_FL_Count", "1");
    store.SaveIfModified(true);
    const auto before = store.Lines();

    CheckingHost host;
    mrf::ParseUpdateReply(body, store, host);

    // Every line that changed, came or went belongs to an allowed key.
    mrf::TEncriptor saved("mrf.dat", fs);
    const auto after = saved.Lines();
    auto unchanged = [](const std::vector<std::string>& from, const std::vector<std::string>& in) {
        for (const auto& line : from)
            if (!mrf::ServerMaySet(line.substr(0, line.find('='))) &&
                std::find(in.begin(), in.end(), line) == in.end())
                return false;
        return true;
    };
    if (!unchanged(before, after) || !unchanged(after, before))
        __builtin_trap();
    return 0;
}
