// db_file.cpp - the database file beneath the engine: create, open under
// an exclusive lock, positioned reads and writes, sync, close, and the
// test hooks that simulate a crash by dropping every write after a
// chosen one.
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "database/engine/engine_state.h"

D4FileHooks D4TestHooks;

// A write the crash hook lets through; counts it.
static bool WriteLetThrough() {
    D4TestHooks.writesDone++;
    return D4TestHooks.writesAllowed < 0 || D4TestHooks.writesDone <= D4TestHooks.writesAllowed;
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
    return D4OpenOk;
}

void DbFileClose() {
    if (Db.fd >= 0) {
        flock(Db.fd, LOCK_UN);
        ::close(Db.fd);
    }
    Db.fd = -1;
}

bool DbFileRead(uint8_t *buffer, uint64_t offset, uint32_t count) {
    if (Db.fd < 0) return false;
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

bool DbFileWrite(const uint8_t *buffer, uint64_t offset, uint32_t count) {
    if (Db.fd < 0) return false;
    // Under a simulated crash every sector is a write of its own, so a
    // crash can tear a run of sectors anywhere.
    if (D4TestHooks.writesAllowed >= 0 && count > dbformat::SectorSize) {
        for (uint32_t at = 0; at < count; at += dbformat::SectorSize)
            if (!DbFileWrite(buffer + at, offset + at, std::min(dbformat::SectorSize, count - at))) return false;
        return true;
    }
    if (!WriteLetThrough()) return true;   // the simulated crash: lost without a trace
    uint32_t done = 0;
    while (done < count) {
        ssize_t n = pwrite(Db.fd, buffer + done, count - done, (off_t)(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            DbIoError(3);
            return false;
        }
        done += (uint32_t)n;
    }
    return true;
}

// Commits the file's data to disk (the stream is unbuffered: writes are
// already with the system).
bool DbFileFlush() {
    if (Db.fd < 0) return false;
    D4TestHooks.syncsDone++;
    if (D4TestHooks.skipSync || CrashDropping()) return true;
    while (fdatasync(Db.fd) != 0) {
        if (errno == EINTR) continue;
        DbIoError(4);
        return false;
    }
    return true;
}

void DbDiskHook(uint32_t) {}

bool D4DiskWriteAt(const uint8_t *data, uint64_t offset, uint32_t length, bool force) {
    using namespace dbformat;
    if (Db.damaged && !force) return false;
    if (!DbFileWrite(data, offset, length)) return false;
    // The physical end lives in the master's header (the file's own view).
    uint64_t end = offset + length;
    if (end > 0xFFFFFFFFu) end = 0xFFFFFFFFu;
    uint8_t *h = MasterDVp->header.data();
    if (end > D4GetLong(h + HdrPhysicalEnd)) D4PutLong(h + HdrPhysicalEnd, (uint32_t)end);
    return true;
}
