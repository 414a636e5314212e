#include "AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace lanthor {

namespace {

constexpr int kMostLinksFollowed = 40;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

/// `path` with its symbolic links followed to the file they end at, which need not exist yet.
std::optional<std::string> followLinks(std::string path) {
    for (int followed = 0; followed <= kMostLinksFollowed; ++followed) {
        struct stat status;
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return path;
        }
        std::string target(static_cast<std::size_t>(status.st_size) + 1, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            return path;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.starts_with('/') ? target : folderOf(path) + "/" + target;
    }
    return std::nullopt;
}

/// Whether this process may change the file: as root, only when some write permission is set,
/// so that a read-only document stays read-only for root too.
bool mayWrite(const std::string& path, const struct stat& status) {
    if (::geteuid() == 0) {
        return (status.st_mode & 0222) != 0;
    }
    return ::access(path.c_str(), W_OK) == 0;
}

mode_t permissionsForNewFile() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd); // the rename itself on disk; a failure here loses nothing written
        ::close(fd);
    }
}

} // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
    const std::optional<std::string> target = followLinks(path_);
    if (!target) {
        fail("cannot replace " + path_ + ": too many symbolic links");
        return;
    }
    target_ = *target;
    folder_ = folderOf(target_);
    struct stat status;
    if (::stat(target_.c_str(), &status) == 0) {
        if (!S_ISREG(status.st_mode)) {
            fail("cannot replace " + path_ + ": it is not a regular file");
            return;
        }
        if (!mayWrite(target_, status)) {
            fail("cannot replace " + path_ + ": it is read-only");
            return;
        }
        exists_ = true;
        ownerId_ = status.st_uid;
        groupId_ = status.st_gid;
        mode_ = status.st_mode & 07777 & ~static_cast<unsigned>(S_ISUID | S_ISGID);
        links_ = static_cast<unsigned>(status.st_nlink);
    } else if (errno != ENOENT) {
        failWithErrno("cannot replace " + path_);
        return;
    }
    openTemporary();
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) {
        ::close(fd_);
        if (!temporary_.empty()) {
            ::unlink(temporary_.c_str());
        }
    }
}

void AtomicFile::fail(const std::string& what) {
    if (!failure_) {
        failure_ = what;
    }
}

void AtomicFile::failWithErrno(const std::string& what) {
    fail(what + ": " + std::strerror(errno));
}

void AtomicFile::openTemporary() {
    // An unnamed file vanishes with the process if the save never ends.
    fd_ = ::open(folder_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        temporary_ = folder_ + "/.lanthor-save-XXXXXX";
        fd_ = ::mkstemp(temporary_.data());
    }
    if (fd_ < 0) {
        temporary_.clear();
        failWithErrno("cannot create a file in " + folder_);
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
            failWithErrno("cannot write " + path_);
        }
    }
    return !failure_;
}

bool AtomicFile::linkTemporary() {
    if (!temporary_.empty()) {
        return true;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = folder_ + "/.lanthor-save-" + std::to_string(random());
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            temporary_ = name;
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    failWithErrno("cannot create a file in " + folder_);
    return false;
}

void AtomicFile::replaceInPlace() {
    const int out = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    if (out < 0) {
        failWithErrno("cannot write " + path_);
        return;
    }
    off_t size = 0;
    char buffer[1 << 16];
    bool written = ::lseek(fd_, 0, SEEK_SET) == 0;
    while (written) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got <= 0) {
            written = got == 0;
            break;
        }
        for (ssize_t done = 0; written && done < got;) {
            const ssize_t put =
                ::pwrite(out, buffer + done, static_cast<std::size_t>(got - done), size + done);
            written = put > 0;
            done += put > 0 ? put : 0;
        }
        size += got;
    }
    written = written && ::ftruncate(out, size) == 0 && ::fsync(out) == 0;
    if (written) {
        ::fchmod(out, mode_); // drops set-ID bits; a file this process does not own keeps them
    }
    if (::close(out) != 0) {
        written = false;
    }
    if (!written) {
        // The old content is damaged; keep the new one where the user can find it.
        const int error = errno;
        temporary_.clear();
        const std::string kept = target_ + ".lanthor-new";
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        const bool saved =
            ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, kept.c_str(), AT_SYMLINK_FOLLOW) == 0;
        errno = error;
        failWithErrno("cannot write " + path_ +
                      (saved ? " (the new content is in " + kept + ")" : std::string()));
    }
}

std::optional<std::string> AtomicFile::commit() {
    if (fd_ < 0) {
        return failure_;
    }
    // Hard links would be broken by a rename, and so would an owner this process cannot give.
    bool inPlace = exists_ && links_ > 1;
    if (!failure_ && exists_ && !inPlace && (ownerId_ != ::geteuid() || groupId_ != ::getegid())) {
        inPlace = ::fchown(fd_, ownerId_, groupId_) != 0;
    }
    if (!failure_ && !inPlace && ::fchmod(fd_, exists_ ? mode_ : permissionsForNewFile()) != 0) {
        failWithErrno("cannot set the permissions of " + path_);
    }
    if (!failure_ && ::fsync(fd_) != 0) {
        failWithErrno("cannot flush " + path_ + " to disk");
    }
    if (!failure_) {
        if (inPlace) {
            replaceInPlace();
        } else if (linkTemporary()) {
            if (::rename(temporary_.c_str(), target_.c_str()) == 0) {
                temporary_.clear();
                syncFolder(folder_);
            } else {
                failWithErrno("cannot replace " + path_);
            }
        }
    }
    if (::close(fd_) != 0) {
        failWithErrno("cannot write " + path_);
    }
    fd_ = -1;
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    return failure_;
}

bool isReadOnlyFile(const std::string& path) {
    const std::optional<std::string> target = followLinks(path);
    struct stat status;
    return target && ::stat(target->c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           !mayWrite(*target, status);
}

std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFile file(path);
    file.write(bytes);
    return file.commit();
}

} // namespace lanthor
