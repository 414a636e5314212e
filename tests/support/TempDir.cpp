#include "support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace lanthor::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lanthor-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::file(const std::string& name) const {
    return (path_ / name).string();
}

std::string TempDir::write(const std::string& name, std::string_view bytes) const {
    writeBytes(file(name), bytes);
    return file(name);
}

std::string readFile(const std::string& path) {
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

void writeBytes(const std::string& path, std::string_view bytes) {
    if (!(std::ofstream(path, std::ios::binary) << bytes)) {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace lanthor::test
