#pragma once
// Files in memory, with failures injected at a chosen write.
#include <map>
#include <memory>
#include <string>

#include "ports/file_system.h"

namespace mrf::test {

// Thrown by a write that "crashes" the process part way through.
struct Crash {};

class MemoryFileSystem : public FileSystem {
public:
    enum class Fault { None, Fail, TornCrash };

    std::map<std::string, std::string> files;
    std::map<std::string, bool> granted;
    int writes = 0;   // writes attempted so far
    int faultAt = -1; // the index of the write that goes wrong
    Fault fault = Fault::None;
    size_t tornBytes = 0; // how much of the torn write reaches the disk
    bool readOnly = false;

    bool ReadFile(const std::string& path, std::string& data, bool& exists, IoError&) override {
        auto it = files.find(path);
        exists = it != files.end();
        data = exists ? it->second : std::string();
        return true;
    }

    bool WriteFile(const std::string& path, const std::string& data, IoError& error) override {
        int index = writes++;
        if (readOnly || (index == faultAt && fault == Fault::Fail)) {
            error = IoError{"WriteFile", path, 112, "There is not enough space on the disk"};
            return false;
        }
        if (index == faultAt && fault == Fault::TornCrash) {
            // What an in-place write leaves when it stops: the new start over the old rest.
            std::string& file = files[path];
            std::string torn = data.substr(0, std::min(tornBytes, data.size()));
            if (file.size() > torn.size())
                torn += file.substr(torn.size());
            file = torn;
            throw Crash{};
        }
        files[path] = data;
        return true;
    }

    bool FileExists(const std::string& path) override { return files.count(path) != 0; }

    std::unique_ptr<FileLock> Lock(const std::string&, bool, IoError&) override {
        return std::make_unique<FileLock>();
    }

    bool GrantEveryoneAccess(const std::string& path) override {
        granted[path] = true;
        return true;
    }
};

} // namespace mrf::test
