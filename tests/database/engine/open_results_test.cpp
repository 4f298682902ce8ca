// open_results_test.cpp - what D4Open answers for a name that holds no
// database it may open: nothing there (the only answer after which a
// caller may create one), a folder or a device, a file it may not read
// and write. Each leaves no database open and the name as it was.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "tests/database/engine/engine_fixture.h"

using namespace enginetest;

namespace {

class OpenResults : public EngineFixture {};

std::string FileText(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Sets or clears the immutable flag: the one thing that keeps root from
// writing a file. false when the file system or our rights do not allow it.
bool SetImmutable(const std::string &path, bool on) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ok = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

// Keeps this process from reading and writing path: mode 0 for a user,
// the immutable flag for root. false when neither can be had here.
bool LockOut(const std::string &path) {
    if (geteuid() != 0) return chmod(path.c_str(), 0) == 0;
    return SetImmutable(path, true);
}

void LetIn(const std::string &path) {
    if (geteuid() == 0) SetImmutable(path, false);
    chmod(path.c_str(), 0644);
}

}  // namespace

TEST_F(OpenResults, OnlyAMissingFileMayBeCreated) {
    ASSERT_TRUE(D4Close());
    std::string before = FileText(path);

    // Nothing by that name: no message, the caller decides.
    Messages().clear();
    EXPECT_EQ(D4Open((path + ".missing").c_str(), 0), D4OpenNoFile);
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(D4IsOpen());

    // A folder and a device are named, with the name.
    std::string folder = TempPath("folder.VDB");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    for (const std::string &name : {folder, std::string("/dev/null")}) {
        Messages().clear();
        EXPECT_EQ(D4Open(name.c_str(), 0), D4OpenNotAFile) << name;
        EXPECT_TRUE(SawMessage(std::string(D4OpenResultText(D4OpenNotAFile)) + name)) << name;
        EXPECT_FALSE(D4IsOpen());
    }
    struct stat st;
    EXPECT_EQ(stat(folder.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode)) << "the folder is left alone";
    rmdir(folder.c_str());

    // A database we may not read and write is not "no file": creating
    // one there would destroy it.
    if (!LockOut(path)) GTEST_SKIP() << "no way to lock this process out of a file here";
    Messages().clear();
    int r = D4Open(path.c_str(), 0);
    LetIn(path);
    EXPECT_EQ(r, D4OpenNoAccess);
    EXPECT_TRUE(SawMessage(D4OpenResultText(D4OpenNoAccess)));
    EXPECT_FALSE(D4IsOpen());
    EXPECT_EQ(FileText(path), before);

    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
}
