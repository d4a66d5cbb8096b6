#pragma once
// Files in memory, with failures injected at a chosen write.
#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "ports/file_system.h"

namespace mrf::test {

// Thrown by a write that "crashes" the process part way through.
struct Crash {};

class MemoryFileSystem : public FileSystem {
public:
    enum class Fault {
        None,
        Fail,           // the write changes nothing and reports failure
        FailAfterWrite, // the data lands, yet the write reports failure (a failed flush)
        TornCrash,      // part of the data lands, then the process dies
    };

    std::map<std::string, std::string> files;
    std::map<std::string, bool> granted;
    std::set<std::string> unwritable; // opening these for writing is refused, as for a read-only file
    int writes = 0;                   // writes attempted so far
    int faultAt = -1;                 // the index of the write that goes wrong
    bool persistent = false;          // every write from faultAt on goes wrong, not only that one
    Fault fault = Fault::None;
    size_t tornBytes = 0; // how much of the torn write reaches the disk
    bool readOnly = false;

    class File : public WritableFile {
    public:
        File(MemoryFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
        bool Replace(const std::string& data, IoError& error) override {
            return fs_.Write(path_, data, error);
        }

    private:
        MemoryFileSystem& fs_;
        std::string path_;
    };

    bool ReadFile(const std::string& path, std::string& data, bool& exists, IoError&) override {
        auto it = files.find(path);
        exists = it != files.end();
        data = exists ? it->second : std::string();
        return true;
    }

    std::unique_ptr<WritableFile> OpenForWriting(const std::string& path, IoError& error) override {
        if (readOnly || unwritable.count(path)) {
            error = IoError{"CreateFile", path, 5, "Access is denied"};
            return nullptr;
        }
        files.try_emplace(path); // opening creates the file
        return std::make_unique<File>(*this, path);
    }

    bool Write(const std::string& path, const std::string& data, IoError& error) {
        const int index = writes++;
        const bool faulty = index == faultAt || (persistent && faultAt >= 0 && index >= faultAt);
        if (faulty && fault == Fault::Fail) {
            error = IoError{"WriteFile", path, 112, "There is not enough space on the disk"};
            return false;
        }
        if (faulty && fault == Fault::FailAfterWrite) {
            files[path] = data;
            error = IoError{"FlushFileBuffers", path, 1117, "The request could not be performed"};
            return false;
        }
        if (faulty && fault == Fault::TornCrash) {
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

    std::string CanonicalPath(const std::string& path) override { return path; }

    std::unique_ptr<FileLock> Lock(const std::string&, bool, IoError&) override {
        return std::make_unique<FileLock>();
    }

    bool GrantEveryoneAccess(const std::string& path) override {
        granted[path] = true;
        return true;
    }
};

} // namespace mrf::test
