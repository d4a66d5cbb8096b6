#include "native/posix_file_system.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
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

namespace {

class PosixWritableFile : public WritableFile {
public:
    PosixWritableFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

    bool Replace(const std::string& data, IoError& error) override {
        size_t done = 0;
        while (done < data.size()) {
            ssize_t n = ::pwrite(fd_.get(), data.data() + done, data.size() - done, static_cast<off_t>(done));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                error = Fail("write", path_);
                return false;
            }
            done += static_cast<size_t>(n);
        }
        if (::ftruncate(fd_.get(), static_cast<off_t>(data.size())) != 0) {
            error = Fail("ftruncate", path_);
            return false;
        }
        if (::fsync(fd_.get()) != 0) {
            error = Fail("fsync", path_);
            return false;
        }
        return true;
    }

private:
    Fd fd_;
    std::string path_;
};

} // namespace

std::unique_ptr<WritableFile> PosixFileSystem::OpenForWriting(const std::string& path, IoError& error) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = Fail("open", path);
        return nullptr;
    }
    return std::make_unique<PosixWritableFile>(fd, path);
}

std::string PosixFileSystem::CanonicalPath(const std::string& path) {
    auto resolve = [](const std::string& p, std::string& out) {
        char* full = ::realpath(p.c_str(), nullptr);
        if (!full)
            return false;
        out = full;
        std::free(full);
        return true;
    };
    std::string full;
    if (resolve(path, full))
        return full;
    // A file not created yet: its folder's name and its own.
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (!name.empty() && name != "." && name != ".." && resolve(folder, full))
        return full == "/" ? "/" + name : full + "/" + name;
    return path;
}

bool PosixFileSystem::FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::unique_ptr<FileLock> PosixFileSystem::Lock(const std::string& path, bool exclusive, IoError& error) {
    // The folder is locked, not the file: it exists before the file's first creation. Its
    // canonical name, so that every name of the file takes the same lock.
    const std::string canonical = CanonicalPath(path);
    const size_t slash = canonical.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : canonical.substr(0, slash);
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

// The POSIX counterpart of a null access list: everyone may read and write the file.
bool PosixFileSystem::GrantEveryoneAccess(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    return ::chmod(path.c_str(),
                   (st.st_mode & 07777) | S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH) == 0;
}

} // namespace mrf
