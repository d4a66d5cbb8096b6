#include "win32/account_lookup.h"

#include "win32/handles.h"

#include <windows.h>

#include <sddl.h>

#include <cstring>

namespace mrf::win32 {

namespace {

struct LocalFreeTraits {
    static PSID Invalid() { return nullptr; }
    static void Close(PSID p) { ::LocalFree(p); }
};

} // namespace

bool Win32AccountLookup::LookupSid(std::string_view sid, std::string& name, std::string& domain) {
    // Some conversions take texts that are no identifier at all (Wine's 64-bit one takes "").
    if (sid.size() < 2 || (sid[0] != 'S' && sid[0] != 's') || sid[1] != '-')
        return false;
    const std::string text(sid);
    unique_any<PSID, LocalFreeTraits> binary;
    if (!::ConvertStringSidToSidA(text.c_str(), binary.put()))
        return false;
    char n[256], d[256];
    DWORD nSize = sizeof n, dSize = sizeof d;
    SID_NAME_USE use;
    if (!::LookupAccountSidA(nullptr, binary.get(), n, &nSize, d, &dSize, &use))
        return false;
    // Wine counts the terminator in the sizes it returns; the texts end at it either way.
    name.assign(n, ::strnlen(n, nSize));
    domain.assign(d, ::strnlen(d, dSize));
    return true;
}

} // namespace mrf::win32
