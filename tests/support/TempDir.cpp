#include "TempDir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace lanthor::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lanthor-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::abort();
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
}

std::string TempDir::read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

RunResult runLanthor(const std::string& arguments, const std::string& input) {
    const TempDir dir;
    const std::string in = dir.write("stdin", input);
    const std::string out = (dir.path() / "stdout").string();
    const std::string err = (dir.path() / "stderr").string();
    const std::string command = shellQuoted(LANTHOR_BINARY) + " " + arguments + " <" +
                                shellQuoted(in) + " >" + shellQuoted(out) + " 2>" +
                                shellQuoted(err);
    const int raw = std::system(command.c_str());
    RunResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = TempDir::read(out);
    result.err = TempDir::read(err);
    return result;
}

} // namespace lanthor::test
