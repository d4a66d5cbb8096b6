#pragma once
// A failed operating-system call, as the ports report it.
#include <cstdint>
#include <string>

namespace mrf {

struct SystemError {
    std::string api;  // the failing call, e.g. "OpenServiceA"
    std::string name; // what it was about: a key, a value, a service
    uint32_t code = 0;
    bool operator==(const SystemError&) const = default;
};

// Codes the core tells apart.
inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorServiceNotActive = 1062;
inline constexpr uint32_t kErrorServiceDoesNotExist = 1060;
inline constexpr uint32_t kErrorServiceMarkedForDelete = 1072;

} // namespace mrf
