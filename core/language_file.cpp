// language_file.cpp - the interface-file probe and the block reader.
//
// The probe opens for reading only, so that a read-only installed file
// is found. The reader trusts nothing it reads: every length is checked
// against the file's size before memory is taken for it, and a short
// read is a failure.
#include "core/language_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cassert>
#include <cerrno>
#include <climits>
#include <cstring>

const std::array<const char *, 30> LangFileNames = {
    "QVSWE.WIN", "QZSWE.WIN", "QVENG.WIN", "QZENG.WIN", "QVUSA.WIN", "QZUSA.WIN",
    "QVFIN.WIN", "QZFIN.WIN", "QVNOR.WIN", "QZNOR.WIN", "QVRUS.WIN", "QZRUS.WIN",
    "QVEST.WIN", "QZEST.WIN", "QVLAT.WIN", "QZLAT.WIN", "QVLIT.WIN", "QZLIT.WIN",
    "QVKAZ.WIN", "QZKAZ.WIN", "QVDAN.WIN", "QZDAN.WIN", "QVICE.WIN", "QZICE.WIN",
    "QVPOL.WIN", "QZPOL.WIN", "QVCZE.WIN", "QZCZE.WIN", "QVROM.WIN", "QZROM.WIN"};

std::string LangFilePath;
uint32_t LangFileLength = 0;
uint32_t LangFileOffset = 0;
LangBlockTableRec LangBlockTable = {};

static std::vector<std::string> SearchDirs;

void LangFileSetDirectories(const std::vector<std::string> &dirs) { SearchDirs = dirs; }

// The directory of the running executable, or "" when it cannot be told.
static std::string ExecutableDirectory() {
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return "";
    path[n] = 0;
    char *slash = std::strrchr(path, '/');
    if (!slash) return "";
    *slash = 0;
    return path[0] ? path : "/";
}

static std::vector<std::string> Directories() {
    if (!SearchDirs.empty()) return SearchDirs;
    std::vector<std::string> dirs = {""};
    std::string exe = ExecutableDirectory();
    if (!exe.empty()) dirs.push_back(exe);
    return dirs;
}

bool LangFileTry(const char *path, uint32_t *length) {
    LangFilePath = path;
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    close(fd);
    if (!ok) return false;
    *length = st.st_size > (off_t)UINT32_MAX ? UINT32_MAX : (uint32_t)st.st_size;
    return true;
}

bool LangFileFind(const char *name, uint32_t *length) {
    for (const std::string &dir : Directories()) {
        std::string path = dir.empty() ? std::string(name) : dir + "/" + name;
        if (LangFileTry(path.c_str(), length)) return true;
    }
    return false;
}

bool LoadLanguageFile(std::string *error) {
    for (const char *name : LangFileNames)
        if (LangFileFind(name, &LangFileLength)) return true;
    LangFileLength = 0;
    if (error) *error = "No language file available";
    return false;
}

void LangFileRewind() {
    LangFileOffset = 0;
    LangBlockTable = {};
}

int64_t LangFileCurrentSize() {
    struct stat st;
    if (stat(LangFilePath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return (int64_t)st.st_size;
}

// Reads exactly n bytes at offset; false on an error or a short read.
static bool ReadFully(int fd, uint8_t *dst, size_t n, off_t offset) {
    while (n > 0) {
        ssize_t got = pread(fd, dst, n, offset);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        dst += got;
        n -= (size_t)got;
        offset += got;
    }
    return true;
}

static uint8_t *BlockFault(std::string *error, int fd, int block, const std::string &what) {
    if (fd >= 0) close(fd);
    if (error)
        *error = LangFilePath + ": block " + std::to_string(block) + " (" + InterfaceBlockName(block) +
                 "): " + what;
    return nullptr;
}

uint8_t *ReadFileBlock(uint32_t *length, std::string *error) {
    *length = 0;
    int block = LangBlockTable.count + 1;
    if (LangBlockTable.count >= InterfaceBlockCount) {
        if (error) *error = LangFilePath + ": w4hbuff overflow: the file has more than 20 blocks";
        return nullptr;
    }
    int fd = open(LangFilePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return BlockFault(error, -1, block, std::string("the file cannot be opened: ") + std::strerror(errno));
    struct stat st;
    if (fstat(fd, &st) != 0) return BlockFault(error, fd, block, "the file's size cannot be read");
    uint64_t fileSize = (uint64_t)st.st_size;
    uint64_t at = LangFileOffset;
    if (at + 4 > fileSize)
        return BlockFault(error, fd, block,
                          at == fileSize ? "missing: the file ends after block " + std::to_string(block - 1)
                                         : "its length word runs past the end of the file");
    uint8_t word[4];
    if (!ReadFully(fd, word, 4, (off_t)at)) return BlockFault(error, fd, block, "its length cannot be read");
    uint32_t n = (uint32_t)word[0] | (uint32_t)word[1] << 8 | (uint32_t)word[2] << 16 | (uint32_t)word[3] << 24;
    if (at + 4 + n > fileSize)
        return BlockFault(error, fd, block,
                          "its length " + std::to_string(n) + " runs past the end of the file (" +
                              std::to_string(fileSize - at - 4) + " bytes remain)");
    if (at + 4 + n > UINT32_MAX) return BlockFault(error, fd, block, "it lies beyond the first 4 GB of the file");
    MemBlock h = MemAlloc(n);
    if (!h) return BlockFault(error, fd, block, "no memory for " + std::to_string(n) + " bytes");
    uint8_t *bytes = MemLock(h);
    if (n > 0 && !ReadFully(fd, bytes, n, (off_t)(at + 4))) {
        MemFree(&h);
        return BlockFault(error, fd, block, "the read came up short");
    }
    close(fd);
    LangBlockTable.handles[LangBlockTable.count++] = h;
    LangFileOffset = (uint32_t)(at + 4 + n);
    *length = n;
    return bytes;
}

// The path of a program file in the probe's directories (the working
// folder, then beside the executable, or the directories a test set): the
// first that is a regular file opening for reading. LangFilePath is left
// alone: the interface file stays the one found.
bool ProgramFileFind(const char *name, std::string *path)
{
    assert(name && path);
    for (const std::string &dir : Directories()) {
        std::string candidate = dir.empty() ? std::string(name) : dir + "/" + name;
        int fd = open(candidate.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st;
        bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
        close(fd);
        if (!regular) continue;
        *path = candidate;
        return true;
    }
    return false;
}
