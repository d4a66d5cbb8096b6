#pragma once
// The service control manager: services, their configuration, state and controls.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ports/system_error.h"

namespace mrf {

// The system's own numbers, so that the core can speak of them without the system's headers.
namespace svc {
inline constexpr uint32_t KernelDriver = 0x1;
inline constexpr uint32_t Win32OwnProcess = 0x10;

inline constexpr uint32_t BootStart = 0;
inline constexpr uint32_t AutoStart = 2;
inline constexpr uint32_t DemandStart = 3;

inline constexpr uint32_t ErrorIgnore = 0;
inline constexpr uint32_t ErrorNormal = 1;

inline constexpr uint32_t Stopped = 1;
inline constexpr uint32_t StartPending = 2;
inline constexpr uint32_t StopPending = 3;
inline constexpr uint32_t Running = 4;

inline constexpr uint32_t ControlStop = 1;
inline constexpr uint32_t ControlInterrogate = 4;
inline constexpr uint32_t ControlShutdown = 5;

inline constexpr uint32_t AcceptStop = 1;
inline constexpr uint32_t AcceptShutdown = 4;

inline constexpr uint32_t QueryConfig = 0x0001;
inline constexpr uint32_t QueryStatus = 0x0004;
inline constexpr uint32_t Start = 0x0010;
inline constexpr uint32_t Interrogate = 0x0080;
inline constexpr uint32_t AllAccess = 0xF01FF;

inline constexpr uint32_t ManagerAllAccess = 0xF003F;
inline constexpr uint32_t ManagerConnect = 0; // connects, nothing more
} // namespace svc

// What CreateService takes and QueryServiceConfig gives back (the fields used here).
struct ServiceConfig {
    std::string name; // only for creation
    std::string displayName;
    uint32_t serviceType = 0;
    uint32_t startType = 0;
    uint32_t errorControl = 0;
    std::string binaryPath;
    std::string loadOrderGroup;
    bool wantTag = false; // creation asks for a tag in the load-order group
};

class Service {
public:
    virtual ~Service() = default;
    virtual bool QueryConfig(ServiceConfig& config, SystemError& error) = 0;
    // The current state, as the service manager knows it.
    virtual bool QueryState(uint32_t& state, SystemError& error) = 0;
    // Sends a control; on success state is what the service answered.
    virtual bool Control(uint32_t control, uint32_t& state, SystemError& error) = 0;
    // Sets type, start type, error control, binary path and display name; leaves the rest.
    virtual bool ChangeConfig(const ServiceConfig& config, SystemError& error) = 0;
    virtual bool Start(SystemError& error) = 0;
    virtual bool Delete(SystemError& error) = 0;
    // Lets everyone hold access to this service (the helper library's grant).
    virtual bool AddAccessForEveryone(uint32_t access) = 0;
};

class ServiceManagerConnection {
public:
    virtual ~ServiceManagerConnection() = default;
    virtual std::unique_ptr<Service> Open(std::string_view name, uint32_t access, SystemError& error) = 0;
    virtual std::unique_ptr<Service> Create(const ServiceConfig& config, uint32_t access,
                                            SystemError& error) = 0;
};

class ServiceManager {
public:
    virtual ~ServiceManager() = default;
    virtual std::unique_ptr<ServiceManagerConnection> Connect(uint32_t access, SystemError& error) = 0;
};

} // namespace mrf
