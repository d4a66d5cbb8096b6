#pragma once
// File operations the settings store needs, so that the store's save protocol can be tested
// against failures at every step.
#include <cstdint>
#include <memory>
#include <string>

namespace mrf {

struct IoError {
    std::string api;  // the failing call, e.g. "WriteFile"
    std::string path; // the file it was about
    uint32_t code = 0;
    std::string message; // the system's text for code, where known
};

std::string Describe(const IoError& error);

// Held while a settings file is read or saved; released on destruction.
class FileLock {
public:
    virtual ~FileLock() = default;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The whole file. A missing file is not an error: exists is set to false.
    virtual bool ReadFile(const std::string& path, std::string& data, bool& exists, IoError& error) = 0;
    // Writes data into the file in place (it is created when missing), cuts it to that length and
    // flushes it to the disk before returning.
    virtual bool WriteFile(const std::string& path, const std::string& data, IoError& error) = 0;
    // Whether something exists at path.
    virtual bool FileExists(const std::string& path) = 0;
    // Waits a bounded time for the lock on path, which need not exist as a file yet: a file's
    // first creation is serialised too. Null on failure.
    virtual std::unique_ptr<FileLock> Lock(const std::string& path, bool exclusive, IoError& error) = 0;
    // Lets every account read and write the file (null access list); false where not possible.
    virtual bool GrantEveryoneAccess(const std::string& path) = 0;
};

} // namespace mrf
