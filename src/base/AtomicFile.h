#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lanthor {

/// Replaces a file so that it is never seen half written: the bytes go to a temporary file in the
/// same folder, which `commit` flushes to disk and renames over the file. Until then, and after
/// any failure, the old file stays whole; an uncommitted temporary file is removed. A file that
/// existed keeps its permissions; a new one gets the usual ones.
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

    std::string path_;
    std::string temporary_;
    int fd_ = -1;
    std::optional<std::string> failure_;
};

/// Replaces the file at `path` with `bytes` through an AtomicFile; the reason when it failed.
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes);

} // namespace lanthor
