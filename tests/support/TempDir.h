#pragma once

#include <filesystem>
#include <string>

namespace lanthor::test {

/// A fresh folder, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    /// Writes `bytes` to the file `name` in the folder; returns its path.
    std::string write(const std::string& name, const std::string& bytes) const;
    /// The file's whole contents, or empty when it cannot be read.
    static std::string read(const std::filesystem::path& file);

private:
    std::filesystem::path path_;
};

/// What a run of the lanthor program gave.
struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs the built `lanthor` with `arguments` (each quoted for the shell), standard input from
/// `input` when given.
RunResult runLanthor(const std::string& arguments, const std::string& input = {});

/// Quotes `text` as one shell word.
std::string shellQuoted(const std::string& text);

} // namespace lanthor::test
