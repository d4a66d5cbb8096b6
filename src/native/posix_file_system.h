#pragma once
#include "ports/file_system.h"

namespace mrf {

// The settings files on a POSIX system (the admin tool's native build and the tests).
class PosixFileSystem : public FileSystem {
public:
    bool ReadFile(const std::string& path, std::string& data, bool& exists, IoError& error) override;
    std::unique_ptr<WritableFile> OpenForWriting(const std::string& path, IoError& error) override;
    bool FileExists(const std::string& path) override;
    std::string CanonicalPath(const std::string& path) override;
    std::unique_ptr<FileLock> Lock(const std::string& path, bool exclusive, IoError& error) override;
    // POSIX files have no access list to open; nothing is changed.
    bool GrantEveryoneAccess(const std::string& path) override;
};

} // namespace mrf
