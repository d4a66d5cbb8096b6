#pragma once
// The service control manager of this computer.
#include <windows.h>

#include "ports/service_manager.h"

namespace mrf::win32 {

// The helper library's grant: adds access for everyone to the service's access list.
using GrantEveryoneFunction = int(__stdcall*)(SC_HANDLE service, DWORD access);

class Win32ServiceManager : public ServiceManager {
public:
    explicit Win32ServiceManager(GrantEveryoneFunction grant = nullptr) : grant_(grant) {}
    std::unique_ptr<ServiceManagerConnection> Connect(uint32_t access, SystemError& error) override;

private:
    GrantEveryoneFunction grant_;
};

} // namespace mrf::win32
