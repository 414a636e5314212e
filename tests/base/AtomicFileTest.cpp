#include "base/AtomicFile.h"

#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lanthor {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;

/// The names in the folder: a save must leave no temporary file behind.
std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(AtomicFile, RefusesWhatIsNotAWritableRegularFile) {
    TempDir dir;
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(writeFileAtomically(fifo, "x"),
              "cannot replace " + fifo + ": it is not a regular file");
    EXPECT_EQ(writeFileAtomically("/dev/null", "x"),
              "cannot replace /dev/null: it is not a regular file");
    EXPECT_EQ(writeFileAtomically(dir.path().string(), "x"),
              "cannot replace " + dir.path().string() + ": it is not a regular file");
    const std::string readOnly = dir.write("read-only.csv", "old");
    fs::permissions(readOnly, fs::perms(0444));
    EXPECT_TRUE(isReadOnlyFile(readOnly)); // for root too: no write permission at all
    EXPECT_EQ(writeFileAtomically(readOnly, "new"),
              "cannot replace " + readOnly + ": it is read-only");
    EXPECT_EQ(readFile(readOnly), "old");
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"fifo", "read-only.csv"}));
}

TEST(AtomicFile, ChangesOnlyTheContentOfWhatItReplaces) {
    TempDir dir;
    // A link keeps pointing at its target, which gets the bytes.
    const std::string target = dir.write("target.csv", "old");
    fs::create_symlink("target.csv", dir.file("link.csv"));
    EXPECT_EQ(writeFileAtomically(dir.file("link.csv"), "through the link"), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(dir.file("link.csv")));
    EXPECT_EQ(readFile(target), "through the link");
    // Hard links all see the new content.
    const std::string first = dir.write("first.csv", "old");
    fs::create_hard_link(first, dir.file("second.csv"));
    EXPECT_EQ(writeFileAtomically(first, "shared"), std::nullopt);
    EXPECT_EQ(readFile(dir.file("second.csv")), "shared");
    EXPECT_EQ(fs::hard_link_count(first), 2u);
    // Permissions stay, set-ID bits go; as root, the owner and group stay too.
    const std::string owned = dir.write("owned.csv", "old");
    ASSERT_EQ(::chmod(owned.c_str(), 06640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(owned.c_str(), 65534, 65534), 0);
    }
    EXPECT_EQ(writeFileAtomically(owned, "new"), std::nullopt);
    struct stat status;
    ASSERT_EQ(::stat(owned.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(status.st_uid, 65534u);
        EXPECT_EQ(status.st_gid, 65534u);
    }
    EXPECT_EQ(readFile(owned), "new");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"first.csv", "link.csv", "owned.csv",
                                                             "second.csv", "target.csv"}));
}

} // namespace
} // namespace lanthor
