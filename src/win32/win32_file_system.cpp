#include "win32/win32_file_system.h"

#include <cstdio>

#include "core/text/ansi.h"

#include "win32/handles.h"
#include "win32/settings_store.h"

namespace mrf::win32 {
namespace {

IoError Fail(const char* api, const std::string& path) {
    DWORD code = ::GetLastError();
    return IoError{api, path, code, SystemMessage(code)};
}

// A named mutex per settings file, so that the lock exists before the file does (a first start
// creates it) and every session and account can take it.
class MutexLock : public FileLock {
public:
    explicit MutexLock(unique_handle mutex) : mutex_(std::move(mutex)) {}
    ~MutexLock() override { ::ReleaseMutex(mutex_.get()); }

private:
    unique_handle mutex_;
};

// From the canonical path, so that every name of one file gives the same lock.
std::string LockName(const std::string& canonicalPath) {
    const uint64_t h = Fnv1a64(ToAnsiUpper(canonicalPath));
    char name[64];
    std::snprintf(name, sizeof name, "Global\\Marrowfold.Settings.%016llx",
                  static_cast<unsigned long long>(h));
    return name;
}

} // namespace

std::string SystemMessage(unsigned long code) {
    char* buffer = nullptr;
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                   FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = n && buffer ? std::string(buffer, n) : std::string();
    if (buffer)
        ::LocalFree(buffer);
    while (!text.empty() &&
           (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    return text;
}

bool Win32FileSystem::ReadFile(const std::string& path, std::string& data, bool& exists, IoError& error) {
    data.clear();
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        DWORD code = ::GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
            exists = false;
            return true;
        }
        ::SetLastError(code);
        error = Fail("CreateFile", path);
        return false;
    }
    exists = true;
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr)) {
            error = Fail("ReadFile", path);
            return false;
        }
        if (n == 0)
            return true;
        data.append(buffer, n);
    }
}

namespace {

class Win32WritableFile : public WritableFile {
public:
    Win32WritableFile(unique_hfile file, std::string path) : file_(std::move(file)), path_(std::move(path)) {}

    bool Replace(const std::string& data, IoError& error) override {
        if (::SetFilePointer(file_.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
            ::GetLastError() != NO_ERROR) {
            error = Fail("SetFilePointer", path_);
            return false;
        }
        size_t done = 0;
        while (done < data.size()) {
            DWORD n = 0;
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1 << 20));
            if (!::WriteFile(file_.get(), data.data() + done, chunk, &n, nullptr)) {
                error = Fail("WriteFile", path_);
                return false;
            }
            done += n;
        }
        if (!::SetEndOfFile(file_.get())) {
            error = Fail("SetEndOfFile", path_);
            return false;
        }
        if (!::FlushFileBuffers(file_.get())) {
            error = Fail("FlushFileBuffers", path_);
            return false;
        }
        return true;
    }

private:
    unique_hfile file_;
    std::string path_;
};

// The path the system reports for an open handle, without the "\\?\" prefix.
std::string FinalPath(HANDLE handle) {
    char buffer[MAX_PATH * 2];
    DWORD n = ::GetFinalPathNameByHandleA(handle, buffer, sizeof buffer, FILE_NAME_NORMALIZED);
    if (n == 0 || n >= sizeof buffer)
        return {};
    std::string path(buffer, n);
    if (path.rfind("\\\\?\\UNC\\", 0) == 0)
        return "\\" + path.substr(7);
    if (path.rfind("\\\\?\\", 0) == 0)
        return path.substr(4);
    return path;
}

std::string FinalPathOf(const std::string& path) {
    // No access is asked for: only the handle's name is wanted. The folder flag opens folders too.
    unique_hfile file(::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file ? FinalPath(file.get()) : std::string();
}

} // namespace

std::unique_ptr<WritableFile> Win32FileSystem::OpenForWriting(const std::string& path, IoError& error) {
    // In place: the file keeps its access list, and no new file is needed in the folder.
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        error = Fail("CreateFile", path);
        return nullptr;
    }
    return std::make_unique<Win32WritableFile>(std::move(file), path);
}

std::string Win32FileSystem::CanonicalPath(const std::string& path) {
    if (std::string final = FinalPathOf(path); !final.empty())
        return final;
    // A file not created yet: its folder's final name and its own.
    const size_t slash = path.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (!name.empty())
        if (std::string final = FinalPathOf(folder); !final.empty())
            return final + (final.back() == '\\' ? "" : "\\") + name;
    char full[MAX_PATH];
    DWORD n = ::GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full, n) : path;
}

bool Win32FileSystem::FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::unique_ptr<FileLock> Win32FileSystem::Lock(const std::string& path, bool, IoError& error) {
    const std::string name = LockName(CanonicalPath(path));
    SECURITY_DESCRIPTOR sd;
    ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    ::SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES sa{sizeof sa, &sd, FALSE};
    unique_handle mutex(::CreateMutexA(&sa, FALSE, name.c_str()));
    if (!mutex)
        mutex.reset(::OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str()));
    if (!mutex) {
        error = Fail("CreateMutex", path);
        return nullptr;
    }
    // An abandoned mutex was held by a process that died: its save is finished by the journal.
    switch (::WaitForSingleObject(mutex.get(), 10000)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:
        return std::make_unique<MutexLock>(std::move(mutex));
    case WAIT_TIMEOUT:
        error =
            IoError{"WaitForSingleObject", path, WAIT_TIMEOUT, "the file stays locked by another process"};
        return nullptr;
    default:
        error = Fail("WaitForSingleObject", path);
        return nullptr;
    }
}

bool Win32FileSystem::GrantEveryoneAccess(const std::string& path) {
    return win32::GrantEveryoneAccess(path);
}

bool GrantEveryoneAccess(const std::string& path) {
    if (!IsNtFamily())
        return false; // the Windows 9x family has no access lists
    SECURITY_DESCRIPTOR sd;
    if (!::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION))
        return false;
    if (!::SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE))
        return false;
    return ::SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, &sd) != FALSE;
}

} // namespace mrf::win32
