// libFuzzer target: the settings file and its journal as they come from the disk, which anyone who
// may write the program folder controls. A load must never crash, and whatever it reads must save
// and load back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/store/encriptor.h"
#include "core/store/scramble.h"
#include "core/users/settings_units.h"
#include "fakes/memory_file_system.h"

namespace {

std::string WithoutLineBreaks(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != '\r' && c != '\n')
            out += c;
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    // Scrambled text that passes the strict check is exactly what Scramble writes.
    if (mrf::IsScrambledText(input) &&
        WithoutLineBreaks(mrf::Scramble(mrf::Unscramble(input))) != WithoutLineBreaks(input))
        __builtin_trap();

    // The first byte chooses what the rest is: the file, the journal, or both halves.
    mrf::test::MemoryFileSystem fs;
    const std::string rest = size > 0 ? input.substr(1) : std::string();
    const int shape = size > 0 ? data[0] % 3 : 0;
    if (shape != 1)
        fs.files["mrf.dat"] = shape == 0 ? rest : rest.substr(0, rest.size() / 2);
    if (shape != 0)
        fs.files["mrf.dat.jnl"] = shape == 1 ? rest : rest.substr(rest.size() / 2);
    mrf::TEncriptor store("mrf.dat", fs, mrf::SettingsUnitOf);
    const auto lines = store.Lines();
    store.SaveIfModified(true);
    if (mrf::TEncriptor("mrf.dat", fs).Lines() != lines)
        __builtin_trap();

    // Two writers over whatever the file held: the merge keeps both changes.
    mrf::TEncriptor other("mrf.dat", fs, mrf::SettingsUnitOf);
    other.WriteString("K_FL_Count", "7");
    store.WriteString("Fuzzed", "1");
    other.SaveIfModified(false);
    store.SaveIfModified(false);
    mrf::TEncriptor merged("mrf.dat", fs);
    if (merged.ReadString("K_FL_Count", "") != "7" || merged.ReadString("Fuzzed", "") != "1")
        __builtin_trap();
    return 0;
}
