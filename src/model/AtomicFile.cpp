#include "AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lanthor {

namespace {

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

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

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes) {
    std::string temporary = folderOf(path) + "/.lanthor-save-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return systemError("cannot create a file in " + folderOf(path));
    }
    std::optional<std::string> failure;
    if (!writeAll(fd, bytes)) {
        failure = systemError("cannot write " + path);
    } else if (::fchmod(fd, permissionsFor(path)) != 0) {
        failure = systemError("cannot set the permissions of " + path);
    } else if (::fsync(fd) != 0) {
        failure = systemError("cannot flush " + path + " to disk");
    }
    if (::close(fd) != 0 && !failure) {
        failure = systemError("cannot write " + path);
    }
    if (!failure && ::rename(temporary.c_str(), path.c_str()) != 0) {
        failure = systemError("cannot replace " + path);
    }
    if (failure) {
        ::unlink(temporary.c_str());
    }
    return failure;
}

} // namespace lanthor
