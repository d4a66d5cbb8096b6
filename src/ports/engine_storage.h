#pragma once
// What the reference engine needs from the system: its persistent state, its optional call log
// and the driver's registration.
#include <string>

namespace mrf {

class EngineStorage {
public:
    virtual ~EngineStorage() = default;
    // Replaces the persistent state as a whole; false with a reason when it could not be written.
    virtual bool SaveState(const std::string& text, std::string& error) = 0;
    // Appends one line to the call log; does nothing while logging is off.
    virtual void Log(const std::string& line) = 0;
    virtual bool DriverRegistered() = 0;
};

} // namespace mrf
