#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lanthor::test {

/// A fresh directory under the system's temporary folder, removed with its contents when the
/// object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    /// The path of `name` inside the directory.
    std::string file(const std::string& name) const;
    /// Writes `bytes` as the whole content of `name`, replacing it; returns the file's path.
    std::string write(const std::string& name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

/// The whole content of a file; empty when it cannot be read.
std::string readFile(const std::string& path);

/// Writes `bytes` as the whole content of the file at `path`.
void writeBytes(const std::string& path, std::string_view bytes);
inline std::string readBytes(const std::string& path) {
    return readFile(path);
}

} // namespace lanthor::test
