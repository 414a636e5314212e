#include "AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lanthor {

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

mode_t permissionsFor(const std::string& path) {
    struct stat existing;
    if (::stat(path.c_str(), &existing) == 0) {
        return existing.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

AtomicFile::AtomicFile(std::string path)
    : path_(std::move(path)), temporary_(folderOf(path_) + "/.lanthor-save-XXXXXX") {
    fd_ = ::mkstemp(temporary_.data());
    if (fd_ < 0) {
        fail("cannot create a file in " + folderOf(path_));
    }
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temporary_.c_str());
    }
}

void AtomicFile::fail(const std::string& what) {
    if (!failure_) {
        failure_ = what + ": " + std::strerror(errno);
    }
}

bool AtomicFile::write(std::string_view bytes) {
    while (!failure_ && !bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
        } else if (written == 0 || errno != EINTR) {
            if (written == 0) {
                errno = EIO;
            }
            fail("cannot write " + path_);
        }
    }
    return !failure_;
}

std::optional<std::string> AtomicFile::commit() {
    if (fd_ < 0) {
        return failure_;
    }
    if (!failure_ && ::fchmod(fd_, permissionsFor(path_)) != 0) {
        fail("cannot set the permissions of " + path_);
    }
    if (!failure_ && ::fsync(fd_) != 0) {
        fail("cannot flush " + path_ + " to disk");
    }
    if (::close(fd_) != 0) {
        fail("cannot write " + path_);
    }
    fd_ = -1;
    if (!failure_ && ::rename(temporary_.c_str(), path_.c_str()) != 0) {
        fail("cannot replace " + path_);
    }
    if (failure_) {
        ::unlink(temporary_.c_str());
    }
    return failure_;
}

std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFile file(path);
    file.write(bytes);
    return file.commit();
}

} // namespace lanthor
