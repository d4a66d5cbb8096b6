#include "quillon/quillon.h"

#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "win32/handles.h"

namespace {

using mrf::win32::unique_any;
using mrf::win32::unique_handle;

struct LocalFreeTraits {
    static HLOCAL Invalid() { return nullptr; }
    static void Close(HLOCAL p) { ::LocalFree(p); }
};
using unique_hlocal = unique_any<HLOCAL, LocalFreeTraits>;
struct FreeSidTraits {
    static PSID Invalid() { return nullptr; }
    static void Close(PSID p) { ::FreeSid(p); }
};
using unique_sid = unique_any<PSID, FreeSidTraits>;

std::string GlobalName(const char* name) {
    return std::string("Global\\") + (name ? name : "");
}

bool TokenIsLocalSystem() {
    unique_handle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put()))
        return false;
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size == 0)
        return false;
    std::vector<unsigned char> buffer(size);
    if (!::GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size))
        return false;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    unique_sid system;
    if (!::AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, system.put()))
        return false;
    return ::EqualSid(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, system.get()) != FALSE;
}

#ifdef QUILLON_SERVICE_PROCESS_TEST
// Test build for systems whose services do not run under their own account (Wine gives every
// process the user's token): the process that the service manager started for a service counts
// as the system account.
bool StartedByServiceManager() {
    mrf::win32::unique_schandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ENUMERATE_SERVICE));
    if (!manager)
        return false;
    DWORD needed = 0, count = 0, resume = 0;
    ::EnumServicesStatusExA(manager.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL, nullptr, 0,
                            &needed, &count, &resume, nullptr);
    std::vector<unsigned char> buffer(needed + 4096);
    resume = 0;
    if (!::EnumServicesStatusExA(manager.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL,
                                 buffer.data(), static_cast<DWORD>(buffer.size()), &needed, &count, &resume,
                                 nullptr))
        return false;
    const auto* services = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSA*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        if (services[i].ServiceStatusProcess.dwProcessId == ::GetCurrentProcessId())
            return true;
    return false;
}
#endif

} // namespace

extern "C" {

int __stdcall AmSystemProcess() {
#ifdef QUILLON_SERVICE_PROCESS_TEST
    if (StartedByServiceManager())
        return 1;
#endif
    return TokenIsLocalSystem() ? 1 : 0;
}

HANDLE __stdcall CreateGlobalEvent(const char* name, int manualReset, int initialState) {
    // Full access for the system and administrators; everyone else may only wait on it.
    unique_hlocal descriptor;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(
            "D:P(A;;GA;;;SY)(A;;GA;;;BA)(A;;0x00100000;;;WD)", SDDL_REVISION_1,
            reinterpret_cast<PSECURITY_DESCRIPTOR*>(descriptor.put()), nullptr))
        return nullptr;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.get(), FALSE};
    return ::CreateEventA(&attributes, manualReset != 0, initialState != 0, GlobalName(name).c_str());
}

HANDLE __stdcall OpenGlobalEvent(const char* name) {
    return ::OpenEventA(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, GlobalName(name).c_str());
}

int __stdcall AddAccessForEveryone(SC_HANDLE service, DWORD access) {
    DWORD needed = 0;
    ::QueryServiceObjectSecurity(service, DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0)
        return 0;
    std::vector<unsigned char> current(needed);
    if (!::QueryServiceObjectSecurity(service, DACL_SECURITY_INFORMATION, current.data(), needed, &needed))
        return 0;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (!::GetSecurityDescriptorDacl(current.data(), &present, &dacl, &defaulted))
        return 0;

    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    unique_sid everyone;
    if (!::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, everyone.put()))
        return 0;
    EXPLICIT_ACCESSA entry{};
    entry.grfAccessPermissions = access;
    entry.grfAccessMode = GRANT_ACCESS;
    entry.grfInheritance = NO_INHERITANCE;
    entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    entry.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    entry.Trustee.ptstrName = static_cast<LPSTR>(everyone.get());
    PACL merged = nullptr;
    if (::SetEntriesInAclA(1, &entry, present ? dacl : nullptr, &merged) != ERROR_SUCCESS)
        return 0;
    unique_hlocal mergedOwner(merged);

    SECURITY_DESCRIPTOR updated;
    if (!::InitializeSecurityDescriptor(&updated, SECURITY_DESCRIPTOR_REVISION) ||
        !::SetSecurityDescriptorDacl(&updated, TRUE, merged, FALSE))
        return 0;
    return ::SetServiceObjectSecurity(service, DACL_SECURITY_INFORMATION, &updated) ? 1 : 0;
}

} // extern "C"
