// db_file.cpp - the database file beneath the engine: create, open under
// an exclusive lock, positioned reads and writes, sync, close, and the
// test hooks that simulate a crash by dropping every write after a
// chosen one, or make one write or sync fail as a full disk would.
//
// Reads of bytes the file holds come from a read-only shared mapping of
// it (the system's page cache, without a call per sector); writes always
// go through pwrite, so durability and the crash hooks do not depend on
// the mapping. The mapping is only ever read below the file size this
// layer keeps. The lock is advisory: another program may cut the file
// short, and a mapped read past its new end raises SIGBUS. The size is
// asked of the system at the start of each outermost hold; between
// those, a guard on SIGBUS puts zero pages over the lost part of the
// mapping and notes it, and the read that met it reports the file cut
// short instead of the process ending.
#include <algorithm>
#include <cassert>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/uio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "database/engine/engine_state.h"

D4FileHooks D4TestHooks;

namespace {

// The read mapping: base and length (0: none), and the file's size as
// our own writes have made it.
const uint8_t *MapBase = nullptr;
uint64_t MapLength = 0;
uint64_t FileSize = 0;
constexpr uint64_t MapStep = 64ull << 20;   // the mapping grows in steps of 64 MB

// Set by the SIGBUS guard when a mapped read met a page the file no
// longer has; the guard's view of the mapping is kept in plain words.
volatile sig_atomic_t MapFaulted = 0;
uintptr_t GuardBase = 0, GuardLength = 0;
struct sigaction PreviousBus;
bool GuardInstalled = false;

// The SIGBUS guard. A fault inside the mapping: anonymous zero pages
// replace the mapping from the faulting page to its end (mmap is
// async-signal-safe), the flag is set and the read goes on. Any other
// fault is the previous handler's, or ends the process as by default.
void BusGuard(int sig, siginfo_t *info, void *context) {
    uintptr_t at = (uintptr_t)info->si_addr;
    if (GuardLength != 0 && at >= GuardBase && at < GuardBase + GuardLength) {
        uintptr_t page = (uintptr_t)sysconf(_SC_PAGESIZE);
        uintptr_t from = at & ~(page - 1);
        void *p = mmap((void *)from, GuardBase + GuardLength - from, PROT_READ,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
        if (p != MAP_FAILED) {
            MapFaulted = 1;
            return;
        }
    }
    if (PreviousBus.sa_flags & SA_SIGINFO) {
        if (PreviousBus.sa_sigaction) {
            PreviousBus.sa_sigaction(sig, info, context);
            return;
        }
    } else if (PreviousBus.sa_handler != SIG_DFL && PreviousBus.sa_handler != SIG_IGN) {
        PreviousBus.sa_handler(sig);
        return;
    }
    // Default action: the fault repeats when the handler returns.
    signal(SIGBUS, SIG_DFL);
}

void InstallBusGuard() {
    if (GuardInstalled) return;
    struct sigaction sa {};
    sa.sa_sigaction = BusGuard;
    sa.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&sa.sa_mask);
    if (sigaction(SIGBUS, &sa, &PreviousBus) == 0) GuardInstalled = true;
}

void Unmap() {
    GuardLength = 0;
    if (MapBase) munmap(const_cast<uint8_t *>(MapBase), MapLength);
    MapBase = nullptr;
    MapLength = 0;
    MapFaulted = 0;
}

// How the mapping is read. A process that opens a company and reads here
// and there reads sectors scattered over the file: the system's read-
// ahead around each fault would read (and make resident) pages no one
// asked for, so the mapping is first read at random. Work that goes on to
// read much of the file (a walk over all records, many finds) is served
// better by the read-ahead: once reads have met ScatteredRegions separate
// regions of 64 KB, the mapping is read as usual. Both are only advice.
constexpr int RegionShift = 16;
constexpr uint32_t ScatteredRegions = 2048;   // 128 MB of the file
std::vector<uint64_t> RegionsMet;             // a bit per region
uint32_t RegionCount = 0;
bool ReadAhead = false;

void ForgetRegions() {
    RegionsMet.clear();
    RegionCount = 0;
    ReadAhead = false;
}

void NoteRead(uint64_t offset, uint32_t count) {
    if (ReadAhead || count == 0) return;
    for (uint64_t r = offset >> RegionShift; r <= (offset + count - 1) >> RegionShift; r++) {
        size_t word = (size_t)(r / 64);
        uint64_t bit = 1ull << (r % 64);
        if (word >= RegionsMet.size()) RegionsMet.resize(word + 1, 0);
        if (RegionsMet[word] & bit) continue;
        RegionsMet[word] |= bit;
        if (++RegionCount < ScatteredRegions) continue;
        ReadAhead = true;
        RegionsMet.clear();
        madvise(const_cast<uint8_t *>(MapBase), MapLength, MADV_NORMAL);
        return;
    }
}

// Maps at least the first `need` bytes; false (reads then use pread)
// when the system refuses.
bool MapCover(uint64_t need) {
    if (MapBase && need <= MapLength) return true;
    Unmap();
    InstallBusGuard();
    if (!GuardInstalled) return false;   // unguarded, a cut file would end the process
    uint64_t length = (need / MapStep + 1) * MapStep;
    void *p = mmap(nullptr, length, PROT_READ, MAP_SHARED, Db.fd, 0);
    if (p == MAP_FAILED) return false;
    if (!ReadAhead) madvise(p, length, MADV_RANDOM);   // see NoteRead
    MapBase = static_cast<const uint8_t *>(p);
    MapLength = length;
    GuardBase = (uintptr_t)p;
    GuardLength = length;
    return true;
}

void NoteOpened(int fd) {
    ForgetRegions();
    struct stat st;
    FileSize = fstat(fd, &st) == 0 ? (uint64_t)st.st_size : 0;
}

}  // namespace

// A write the crash hook lets through; counts it.
static bool WriteLetThrough() {
    return D4TestHooks.writesAllowed < 0 || D4TestHooks.writesDone <= D4TestHooks.writesAllowed;
}

// True when the fault hook makes the write or sync just counted fail.
static bool HookFails(int64_t at, int64_t done) {
    if (at < 0 || done != at) return false;
    errno = D4TestHooks.failErrno;
    return true;
}

static bool CrashDropping() {
    return D4TestHooks.writesAllowed >= 0 && D4TestHooks.writesDone >= D4TestHooks.writesAllowed;
}

// Takes the exclusive lock on fd; false when another open file holds it.
static bool LockFile(int fd) {
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

// Creates name (truncating an existing file only once the lock is held,
// so a file in use elsewhere is never cut).
bool DbFileCreate(const char *name) {
    DbFileClose();
    int fd = ::open(name, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    if (!LockFile(fd) || ftruncate(fd, 0) != 0) {
        ::close(fd);
        return false;
    }
    Db.fd = fd;
    FileSize = 0;
    return true;
}

int DbFileOpen(const char *name) {
    DbFileClose();
    int fd = ::open(name, O_RDWR | O_CLOEXEC);
    if (fd < 0) return D4OpenFailed;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return D4OpenFailed;
    }
    if (!LockFile(fd)) {
        ::close(fd);
        return D4OpenLocked;
    }
    Db.fd = fd;
    NoteOpened(fd);
    return D4OpenOk;
}

void DbFileClose() {
    Unmap();
    ForgetRegions();
    FileSize = 0;
    if (Db.fd >= 0) {
        flock(Db.fd, LOCK_UN);
        ::close(Db.fd);
    }
    Db.fd = -1;
}

bool DbFileRead(uint8_t *buffer, uint64_t offset, uint32_t count) {
    if (Db.fd < 0) return false;
    if (offset + count <= FileSize && MapCover(FileSize)) {
        NoteRead(offset, count);
        std::memcpy(buffer, MapBase + offset, count);
        if (!MapFaulted) return true;
        // The file lost pages under the mapping: what was read is not the
        // file's, and the size says how much is gone.
        Unmap();
        if (DbFileCheckSize()) D4Damaged("The database file was cut short by another program");
        return false;
    }
    uint32_t done = 0;
    while (done < count) {
        ssize_t n = pread(Db.fd, buffer + done, count - done, (off_t)(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            DbIoError(2);
            return false;
        }
        if (n == 0) break;   // past the end of the file
        done += (uint32_t)n;
    }
    if (done < count) std::memset(buffer + done, 0, count - done);
    return true;
}

// Writes the pieces one after the other from offset, with as few calls
// as the system allows.
bool DbFileWriteGather(std::span<const struct iovec> pieces, uint64_t offset) {
    if (Db.fd < 0) return false;
    uint64_t count = 0;
    for (const struct iovec &p : pieces) count += p.iov_len;
    // Under a simulated crash every sector is a write of its own, so a
    // crash can tear a run of sectors anywhere.
    if (D4TestHooks.writesAllowed >= 0 && count > dbformat::SectorSize) {
        uint64_t at = offset;
        for (const struct iovec &p : pieces) {
            const uint8_t *bytes = static_cast<const uint8_t *>(p.iov_base);
            for (size_t k = 0; k < p.iov_len; k += dbformat::SectorSize) {
                struct iovec one = {const_cast<uint8_t *>(bytes + k), std::min<size_t>(dbformat::SectorSize, p.iov_len - k)};
                if (!DbFileWriteGather({&one, 1}, at)) return false;
                at += one.iov_len;
            }
        }
        return true;
    }
    D4TestHooks.writesDone++;
    if (HookFails(D4TestHooks.failWriteAt, D4TestHooks.writesDone)) {
        D4DiskRefused(errno, false);
        return false;
    }
    if (!WriteLetThrough()) return true;   // the simulated crash: lost without a trace
    // Each call takes the pieces from where the last one stopped (inside a
    // piece after a short write), as many as one call allows, and under
    // the test hook that makes every write short at most writeLimit bytes.
    size_t next = 0, skip = 0;   // the piece to write next, and how much of it is written
    uint64_t at = offset;
    struct iovec call[IOV_MAX];
    while (at < offset + count) {
        size_t room = D4TestHooks.writeLimit > 0 ? (size_t)D4TestHooks.writeLimit : SIZE_MAX;
        int n = 0;
        for (size_t k = next; k < pieces.size() && n < IOV_MAX && room > 0; k++) {
            size_t from = k == next ? skip : 0, length = std::min(pieces[k].iov_len - from, room);
            if (length == 0) continue;
            call[n++] = {static_cast<uint8_t *>(pieces[k].iov_base) + from, length};
            room -= length;
        }
        ssize_t w = pwritev(Db.fd, call, n, (off_t)at);
        if (w < 0) {
            if (errno == EINTR) continue;
            D4DiskRefused(errno, false);
            return false;
        }
        if (w == 0) {
            D4DiskRefused(ENOSPC, false);
            return false;
        }
        at += (uint64_t)w;
        for (size_t done = (size_t)w; done > 0 && next < pieces.size();) {
            size_t take = std::min(done, pieces[next].iov_len - skip);
            skip += take;
            done -= take;
            if (skip == pieces[next].iov_len) {
                next++;
                skip = 0;
            }
        }
    }
    if (D4TestHooks.onWrite) {
        at = offset;
        for (const struct iovec &p : pieces) {
            if (p.iov_len) D4TestHooks.onWrite(at, static_cast<const uint8_t *>(p.iov_base), (uint32_t)p.iov_len);
            at += p.iov_len;
        }
    }
    FileSize = std::max(FileSize, offset + count);
    return true;
}

bool DbFileWrite(const uint8_t *buffer, uint64_t offset, uint32_t count) {
    struct iovec one = {const_cast<uint8_t *>(buffer), count};
    return DbFileWriteGather({&one, 1}, offset);
}

// Commits the file's data to disk (the stream is unbuffered: writes are
// already with the system).
bool DbFileFlush() {
    if (Db.fd < 0) return false;
    D4TestHooks.syncsDone++;
    if (HookFails(D4TestHooks.failSyncAt, D4TestHooks.syncsDone)) {
        D4DiskRefused(errno, true);
        return false;
    }
    if (CrashDropping()) return true;
    if (D4TestHooks.onSync) D4TestHooks.onSync();
    if (D4TestHooks.skipSync) return true;
    while (fdatasync(Db.fd) != 0) {
        if (errno == EINTR) continue;
        D4DiskRefused(errno, true);
        return false;
    }
    return true;
}

// The file is ours under the lock, but the lock binds only programs that
// ask for it: one that cut the file short is noticed here, and the
// engine's notion of the size follows, so no read goes past the end.
// This runs at every hold, so the size is asked of the file's end, not
// of its status: a status read also reads the file's times, and on
// file systems that then give the next write a time of its own, every
// hold would change the time, and every sync would write the file's
// inode as well, a second request to the disk waited on.
bool DbFileCheckSize() {
    if (Db.fd < 0) return false;
    off_t end = lseek(Db.fd, 0, SEEK_END);   // reads and writes give their positions
    if (end < 0) {
        DbIoError(2);
        return false;
    }
    uint64_t size = (uint64_t)end;
    if (size >= FileSize) return true;
    FileSize = size;
    if (size < D4GetLong(MasterDVp->header.data() + dbformat::HdrLogicalEnd)) {
        D4Damaged("The database file was cut short by another program");
        return false;
    }
    return true;
}

// Syncs the directory holding name, so that the entry of a file just
// created is on disk, not only the file's data.
bool D4FileRenameNew(const char *from, const char *to) {
    D4TestHooks.writesDone++;
    if (HookFails(D4TestHooks.failWriteAt, D4TestHooks.writesDone)) {
        D4DiskRefused(errno, false);
        return false;
    }
    if (!WriteLetThrough()) return true;   // the simulated crash: lost
    // Never over a file that appeared meanwhile; a file system without
    // the no-replace rename gets a check just before the plain one.
    int r = renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
    if (r != 0 && (errno == EINVAL || errno == ENOSYS)) {
        struct stat st;
        if (stat(to, &st) == 0) errno = EEXIST;
        else r = rename(from, to);
    }
    if (r != 0) {
        D4DiskRefused(errno, false);
        return false;
    }
    if (DbFileSyncDirectory(to)) return true;
    // Whether the new name would survive a power loss is unknown: the
    // file goes, as it would on any other failure of its making.
    ::unlink(to);
    return false;
}

bool DbFileSyncDirectory(const char *name) {
    std::string dir = name;
    size_t slash = dir.find_last_of('/');
    dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : dir.substr(0, slash));
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        D4DiskRefused(errno, true);
        return false;
    }
    D4TestHooks.syncsDone++;
    bool ok = true;
    if (HookFails(D4TestHooks.failSyncAt, D4TestHooks.syncsDone)) {
        ok = false;
    } else if (!D4TestHooks.skipSync) {
        while (fsync(fd) != 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
    }
    int err = errno;
    ::close(fd);
    if (!ok) D4DiskRefused(err, true);
    return ok;
}

// The file's bytes at offset as the system holds them, seen through the
// read mapping; null when the mapping does not cover them.
const uint8_t *DbFileMapped(uint64_t offset, uint32_t count) {
    if (Db.fd < 0 || offset + count > FileSize || !MapCover(FileSize) || MapFaulted) return nullptr;
    return MapBase + offset;
}

uint64_t DbFileSize() { return FileSize; }

bool DbFileExtend(uint64_t need) {
    if (need <= FileSize) return true;
    constexpr uint64_t MinStep = 64 << 10, Chunk = 64 << 10;
    uint64_t target = std::max(need, FileSize + std::max(MinStep, FileSize / 16));
    target = (target + Chunk - 1) / Chunk * Chunk;
    static const uint8_t zeros[Chunk] = {};
    for (uint64_t at = FileSize; at < target;) {
        uint32_t n = (uint32_t)std::min<uint64_t>(Chunk - at % Chunk, target - at);
        if (!DbFileWrite(zeros, at, n)) return false;
        at += n;
    }
    return DbFileFlush();
}

void DbDiskHook(uint32_t) {}

// Keeps the file's physical end in the master's header (the file's own
// view) after a write that reached end.
static void NotePhysicalEnd(uint64_t end) {
    using namespace dbformat;
    if (end > 0xFFFFFFFFu) end = 0xFFFFFFFFu;
    uint8_t *h = MasterDVp->header.data();
    if (end > D4GetLong(h + HdrPhysicalEnd)) D4PutLong(h + HdrPhysicalEnd, (uint32_t)end);
}

bool D4DiskWriteAt(const uint8_t *data, uint64_t offset, uint32_t length, bool force) {
    if (Db.damaged && !force) return false;
    if (!DbFileWrite(data, offset, length)) return false;
    D4CommitNoteWrite(offset, data, length);
    NotePhysicalEnd(offset + length);
    return true;
}

bool D4DiskWriteSpan(std::span<const struct iovec> pieces, std::span<const uint8_t> fromCache, uint64_t offset) {
    assert(pieces.size() == fromCache.size());
    if (Db.damaged) return false;
    if (!DbFileWriteGather(pieces, offset)) return false;
    uint64_t at = offset;
    for (size_t k = 0; k < pieces.size(); k++) {
        if (fromCache[k]) D4CommitNoteWrite(at, static_cast<const uint8_t *>(pieces[k].iov_base), (uint32_t)pieces[k].iov_len);
        at += pieces[k].iov_len;
    }
    NotePhysicalEnd(at);
    return true;
}
