#include "native/posix_file_system.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace mrf {
namespace {

IoError Fail(const char* api, const std::string& path) {
    int code = errno;
    return IoError{api, path, static_cast<uint32_t>(code), std::strerror(code)};
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

class PosixLock : public FileLock {
public:
    explicit PosixLock(int fd) : fd_(fd) {}

private:
    Fd fd_; // closing the descriptor releases the lock
};

} // namespace

bool PosixFileSystem::ReadFile(const std::string& path, std::string& data, bool& exists, IoError& error) {
    data.clear();
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT) {
            exists = false;
            return true;
        }
        error = Fail("open", path);
        return false;
    }
    exists = true;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = Fail("read", path);
            return false;
        }
        if (n == 0)
            return true;
        data.append(buffer, static_cast<size_t>(n));
    }
}

bool PosixFileSystem::WriteFile(const std::string& path, const std::string& data, IoError& error) {
    Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    if (fd.get() < 0) {
        error = Fail("open", path);
        return false;
    }
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd.get(), data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = Fail("write", path);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (::ftruncate(fd.get(), static_cast<off_t>(data.size())) != 0) {
        error = Fail("ftruncate", path);
        return false;
    }
    if (::fsync(fd.get()) != 0) {
        error = Fail("fsync", path);
        return false;
    }
    return true;
}

bool PosixFileSystem::FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::unique_ptr<FileLock> PosixFileSystem::Lock(const std::string& path, bool exclusive, IoError& error) {
    // The folder is locked, not the file: it exists before the file's first creation.
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = Fail("open", folder);
        return nullptr;
    }
    auto lock = std::make_unique<PosixLock>(fd);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            error = Fail("flock", folder);
            return nullptr;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            error = IoError{"flock", path, static_cast<uint32_t>(EWOULDBLOCK),
                            "the file stays locked by another process"};
            return nullptr;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return lock;
}

bool PosixFileSystem::GrantEveryoneAccess(const std::string&) {
    return false;
}

} // namespace mrf
