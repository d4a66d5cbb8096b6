#include "core/engine/reference/reference_engine.h"

#include "core/engine/reference/engine_state.h"
#include "core/engine/reference/entry_text.h"

namespace mrf {

bool ReferenceEngine::CheckDriver() {
    const bool present = storage_.DriverRegistered();
    storage_.Log(std::string("CheckDriver\t") + (present ? "1" : "0"));
    return present;
}

void ReferenceEngine::SetSecurity(bool enabled) {
    storage_.Log(std::string("SetSecurity\t") + (enabled ? "1" : "0"));
    EngineState state;
    state.enforcing = enabled;
    if (enabled)
        state.entries = std::move(building_);
    building_.clear();
    std::string error;
    if (!storage_.SaveState(FormatState(state), error))
        storage_.Log("# state not saved: " + error);
}

void ReferenceEngine::AddEntry(const EngineEntry& entry) {
    storage_.Log("AddEntry\t" + FormatEntry(entry));
    building_.push_back(entry);
}

} // namespace mrf
