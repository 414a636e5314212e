#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lanthor {

/// Replaces a file so that it is never seen half written, and so that saving does to the file
/// no more than give it new content:
///
/// - the bytes go to a temporary file in the file's folder, unnamed where the system allows it
///   (so that a killed save leaves nothing behind), which `commit` flushes to disk and puts in
///   place with one rename; until then, and after any failure, the old file stays whole;
/// - a symbolic link is followed: its target gets the new content and the link stays;
/// - what is not a regular file (a device, a FIFO, a folder) is refused, and so is a file that
///   the user may not write (a read-only document);
/// - an existing file keeps its permissions (without set-user-ID and set-group-ID), its owner
///   and its group; a new one gets the usual permissions;
/// - a file with several hard links, or one whose owner a rename could not keep, is written in
///   place once the new content is safe on disk, so that every name keeps seeing it.
class AtomicFile {
public:
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    /// Appends bytes to the new content; false once anything has failed.
    bool write(std::string_view bytes);
    /// Puts the new content in place. The reason when this or an earlier step failed.
    std::optional<std::string> commit();

private:
    void fail(const std::string& what);
    void failWithErrno(const std::string& what);
    void openTemporary();
    bool linkTemporary();
    void replaceInPlace();

    std::string path_;   ///< as given, for messages
    std::string target_; ///< the file that gets the content: `path_` with its links followed
    std::string folder_;
    std::string temporary_; ///< the temporary file's name, once it has one
    int fd_ = -1;
    bool exists_ = false;
    unsigned ownerId_ = 0, groupId_ = 0, mode_ = 0, links_ = 0;
    std::optional<std::string> failure_;
};

/// True when `path` names an existing file that this process may not change (see AtomicFile):
/// saving it would be refused.
bool isReadOnlyFile(const std::string& path);

/// Replaces the file at `path` with `bytes` through an AtomicFile; the reason when it failed.
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes);

} // namespace lanthor
