#include "win32/user_name.h"

#include <windows.h>

#include <vector>

#include "core/engine/rule_key.h"
#include "win32/handles.h"

namespace mrf::win32 {
namespace {

// noToken is set where the system has no process tokens at all.
std::string TokenAccountName(bool& noToken) {
    unique_handle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) {
        noToken = ::GetLastError() == ERROR_CALL_NOT_IMPLEMENTED;
        return std::string();
    }
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size == 0)
        return std::string();
    std::vector<unsigned char> buffer(size);
    if (!::GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size))
        return std::string();
    PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    char name[256], domain[256];
    DWORD nameSize = sizeof name, domainSize = sizeof domain;
    SID_NAME_USE use;
    if (!::LookupAccountSidA(nullptr, sid, name, &nameSize, domain, &domainSize, &use))
        return std::string();
    return std::string(name, nameSize);
}

} // namespace

std::string LoggedOnUserName() {
    bool noToken = false;
    std::string name = TokenAccountName(noToken);
    if (noToken) {
        // The Windows 9x family has no process token: the user logged on.
        char buffer[256];
        DWORD size = sizeof buffer;
        if (::GetUserNameA(buffer, &size) && size > 0)
            name.assign(buffer, size - 1);
    }
    return CleanUserName(name);
}

} // namespace mrf::win32
