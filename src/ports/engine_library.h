#pragma once
// The outside engine library that programs the file-protection driver.
#include <cstdint>
#include <memory>
#include <string>

namespace mrf {

// The five values of one AddEntry call, as the engine receives them (each text at most 255
// characters).
struct EngineEntry {
    int32_t mode = 0;
    std::string path;
    std::string excludeFiles;
    std::string processes;
    std::string excludeProcesses;

    bool operator==(const EngineEntry&) const = default;
};

// A loaded engine library; destroying it unloads the library (enforcement keeps its state).
class EngineLibrary {
public:
    virtual ~EngineLibrary() = default;
    virtual bool CheckDriver() = 0;
    virtual void SetSecurity(bool enabled) = 0;
    virtual void AddEntry(const EngineEntry& entry) = 0;
};

struct EngineLoadError {
    std::string api;    // e.g. "LoadLibraryExA", "GetProcAddress"
    std::string detail; // the path or the missing export
    uint32_t code = 0;
};

class EngineLoader {
public:
    virtual ~EngineLoader() = default;
    // Null when the library is missing or lacks one of its exports.
    virtual std::unique_ptr<EngineLibrary> Load(EngineLoadError& error) = 0;
};

} // namespace mrf
