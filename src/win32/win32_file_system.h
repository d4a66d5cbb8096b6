#pragma once
#include "ports/file_system.h"

namespace mrf::win32 {

std::string SystemMessage(unsigned long code);

class Win32FileSystem : public FileSystem {
public:
    bool ReadFile(const std::string& path, std::string& data, bool& exists, IoError& error) override;
    std::unique_ptr<WritableFile> OpenForWriting(const std::string& path, IoError& error) override;
    bool FileExists(const std::string& path) override;
    std::string CanonicalPath(const std::string& path) override;
    std::unique_ptr<FileLock> Lock(const std::string& path, bool exclusive, IoError& error) override;
    bool GrantEveryoneAccess(const std::string& path) override;
};

// Full access for every account: a present but null access list (NT family only).
bool GrantEveryoneAccess(const std::string& path);

} // namespace mrf::win32
