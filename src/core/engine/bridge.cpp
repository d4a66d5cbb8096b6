#include "core/engine/bridge.h"

namespace mrf {

std::string ApplyError::Message() const {
    return "'" + value + "' is not a valid integer value (setting " + key + "); the rules were not applied";
}

EngineBridge::EngineBridge(EngineLoader& loader, std::string programFolder) : loader_(loader) {
    input_.programFolder = std::move(programFolder);
}

bool EngineBridge::InitEngine(std::string ruleKey, std::string defaultProcesses) {
    input_.ruleKey = std::move(ruleKey);
    input_.defaultProcesses = std::move(defaultProcesses);
    library_.reset();
    loadError_ = EngineLoadError{};
    auto library = loader_.Load(loadError_);
    if (!library || !library->CheckDriver())
        return false;
    library_ = std::move(library);
    return true;
}

std::optional<ApplyError> EngineBridge::ApplyRules(bool enable, const TEncriptor& store) {
    if (!library_)
        return std::nullopt;
    if (!enable) {
        library_->SetSecurity(false);
        return std::nullopt;
    }
    std::vector<EngineEntry> entries;
    try {
        entries = CompileRules(store, input_);
    } catch (const ConversionError& e) {
        return ApplyError{e.Key(), e.Value()};
    }
    library_->SetSecurity(false);
    for (const EngineEntry& entry : entries)
        library_->AddEntry(entry);
    library_->SetSecurity(true);
    return std::nullopt;
}

void EngineBridge::FreeEngine() {
    library_.reset();
}

} // namespace mrf
