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

std::string LockName(const std::string& path) {
    char full[MAX_PATH];
    DWORD n = ::GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    const uint64_t h = Fnv1a64(ToAnsiUpper(n > 0 && n < MAX_PATH ? std::string(full, n) : path));
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

bool Win32FileSystem::WriteFile(const std::string& path, const std::string& data, IoError& error) {
    // In place: the file keeps its access list, and no new file is needed in the folder.
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        error = Fail("CreateFile", path);
        return false;
    }
    size_t done = 0;
    while (done < data.size()) {
        DWORD n = 0;
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1 << 20));
        if (!::WriteFile(file.get(), data.data() + done, chunk, &n, nullptr)) {
            error = Fail("WriteFile", path);
            return false;
        }
        done += n;
    }
    if (!::SetEndOfFile(file.get())) {
        error = Fail("SetEndOfFile", path);
        return false;
    }
    if (!::FlushFileBuffers(file.get())) {
        error = Fail("FlushFileBuffers", path);
        return false;
    }
    return true;
}

bool Win32FileSystem::FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::unique_ptr<FileLock> Win32FileSystem::Lock(const std::string& path, bool, IoError& error) {
    const std::string name = LockName(path);
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
