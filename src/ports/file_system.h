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

// A file opened for writing; closed on destruction.
class WritableFile {
public:
    virtual ~WritableFile() = default;
    // Writes data over the file from its start, cuts it to that length and flushes it to the disk
    // before returning. A failure may leave any part of data written.
    virtual bool Replace(const std::string& data, IoError& error) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The whole file. A missing file is not an error: exists is set to false.
    virtual bool ReadFile(const std::string& path, std::string& data, bool& exists, IoError& error) = 0;
    // Opens the file for writing in place, creating it when missing; null when it may not be written.
    virtual std::unique_ptr<WritableFile> OpenForWriting(const std::string& path, IoError& error) = 0;
    // OpenForWriting and Replace in one.
    bool WriteFile(const std::string& path, const std::string& data, IoError& error) {
        auto file = OpenForWriting(path, error);
        return file && file->Replace(data, error);
    }
    // Whether something exists at path.
    virtual bool FileExists(const std::string& path) = 0;
    // The one name of the file that path names: links and "." or ".." resolved, so that two names
    // of one file give the same text. A missing file gets its folder's canonical name; path itself
    // where nothing can be resolved.
    virtual std::string CanonicalPath(const std::string& path) = 0;
    // Waits a bounded time for the lock on path, which need not exist as a file yet: a file's
    // first creation is serialised too. Null on failure.
    virtual std::unique_ptr<FileLock> Lock(const std::string& path, bool exclusive, IoError& error) = 0;
    // Lets every account read and write the file (null access list); false where not possible.
    virtual bool GrantEveryoneAccess(const std::string& path) = 0;
};

} // namespace mrf
