#pragma once
// The one owner of the engine library: loads it, and switches enforcement off or rebuilds it.
#include <memory>
#include <optional>
#include <string>

#include "core/engine/compile.h"
#include "core/store/encriptor.h"
#include "ports/engine_library.h"

namespace mrf {

// A setting that is not an integer, found while compiling; nothing was sent to the engine.
struct ApplyError {
    std::string key;
    std::string value;
    std::string Message() const;
};

class EngineBridge {
public:
    // programFolder: the GUI program's folder with its final "\".
    EngineBridge(EngineLoader& loader, std::string programFolder);
    EngineBridge(const EngineBridge&) = delete;
    EngineBridge& operator=(const EngineBridge&) = delete;

    // Keeps the rule key and the default process list, loads the library and checks the driver.
    // Returns whether the engine is available; a failure leaves the bridge unloaded.
    bool InitEngine(std::string ruleKey, std::string defaultProcesses);
    // Without a loaded library, does nothing. false: switches enforcement off. true: compiles the
    // whole rule set first, then switches enforcement off, adds the entries and switches it on; a
    // malformed value is returned before any engine call, so the engine keeps its previous state.
    std::optional<ApplyError> ApplyRules(bool enable, const TEncriptor& store);
    // Unloads the library without switching enforcement off.
    void FreeEngine();

    bool Loaded() const { return library_ != nullptr; }
    const std::string& RuleKey() const { return input_.ruleKey; }
    const std::string& DefaultProcesses() const { return input_.defaultProcesses; }
    // Why the last InitEngine found no engine; empty api when it found one or the driver was absent.
    const EngineLoadError& LoadError() const { return loadError_; }

private:
    EngineLoader& loader_;
    CompileInput input_;
    std::unique_ptr<EngineLibrary> library_;
    EngineLoadError loadError_;
};

} // namespace mrf
