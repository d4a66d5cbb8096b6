#pragma once
// Loads the engine library from the program's own folder by its full path, so that no other
// folder of the library search order can supply it.
#include <string>

#include "ports/engine_library.h"

namespace mrf::win32 {

class Win32EngineLoader : public EngineLoader {
public:
    // folder: with its final "\".
    explicit Win32EngineLoader(std::string folder) : folder_(std::move(folder)) {}
    std::unique_ptr<EngineLibrary> Load(EngineLoadError& error) override;

private:
    std::string folder_;
};

} // namespace mrf::win32
