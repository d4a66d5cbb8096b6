// libFuzzer target: skin files, which anyone who may write the program's Skins folder controls. A
// file is read or refused, never a crash; what is read is fit to paint with.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/gui/skins.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string why;
    auto skin = mrf::ParseSkin("fuzz", text, &why);
    if (!skin) {
        if (why.empty())
            __builtin_trap();
        return 0;
    }
    if (skin->fontFace.empty() || skin->fontFace.size() > 31 || skin->fontPoints < 6 || skin->fontPoints > 36)
        __builtin_trap();
    for (char c : skin->fontFace)
        if (static_cast<unsigned char>(c) < 0x20)
            __builtin_trap();
    mrf::SkinSet set({{"fuzz", text}});
    if (set.Names().size() != 3 || set.Find("fuzz").name != "fuzz")
        __builtin_trap();
    return 0;
}
