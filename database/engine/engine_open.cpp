// engine_open.cpp - engine start, and creating, opening and closing the
// database file (header layout in format.h).
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/pstring.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "database/engine/engine_state.h"
#include "database/engine/engine_path.h"

using namespace dbformat;

EngineGlobals Db;

void D4SnapshotsDropAll();

namespace {

// Back to the state of no open file.
void ResetState() {
    D4SnapshotsDropAll();
    Db.flushMode = 1;
    Db.damaged = false;
    Db.abortFlag = false;
    Db.holdFailed = false;
    Db.readRefused = false;
    Db.damageTexts.clear();
    Db.uncommitted = false;
    Db.writeStopped = false;
    D4RollbackEnd();
    Db.open = false;
    MasterDVp->holdCnt = 0;
    MasterDVp->header.fill(0);
    MasterDVp->path.fill(PathStep{});
    D4IndexHeadsReset(MasterDVp);
    D4CacheReset();
    D4FreeListsClear();
    D4FreshReset(false);
    D4CommitForgetAll();
    D4SegmentPathsInit();
    Db.swap = false;
    Db.fileOrder = ProgramByteOrder;
    ByteOrderSetDatabase(ProgramByteOrder);
}

void Fail(const char *text, const char *name) {
    PString t;
    PStringFromC(t, text);
    PString n;
    PStringFromC(n, name);
    PStringAppend(t, n);
    ShowMessage(0, t);
}

// Checks the header's own numbers before anything follows them. Every
// sector below the logical end is written before the header that counts
// it, so a logical end beyond the file is damage (and lengths checked
// against it stay within what the file can hold).
bool HeaderSane() {
    uint32_t end = HdrGetLong(HdrLogicalEnd);
    if (end < SectorSize || end % SectorSize != 0 || end > MaxLogicalEnd) return false;
    if (end > (DbFileSize() + SectorSize - 1) / SectorSize * SectorSize) return false;
    uint32_t levels = HdrGetLong(HdrSegLevels);
    if (levels < 1 || levels > (uint32_t)SegMaxLevels) return false;
    if (!D4PtrValid(HdrGetLong(HdrSegRoot))) return false;
    for (int off : {HdrFreeA, HdrFreeB}) {
        uint32_t p = HdrGetLong(off);
        if (p != DiskNone && !D4PtrValid(p)) return false;
    }
    uint32_t master = HdrGetLong(HdrMasterList);
    return master != DiskNone && master >= 1 && master <= HdrGetLong(HdrMaxSegNr);
}

// Why a file that the file layer could not open was refused: nothing by
// that name, something that is no plain file, a file we may not read and
// write, or another fault of the system.
int OpenFailureKind(const char *name) {
    struct stat st;
    if (stat(name, &st) != 0) {
        if (errno == ENOENT) return D4OpenNoFile;
        return errno == EACCES ? D4OpenNoAccess : D4OpenFailed;
    }
    if (!S_ISREG(st.st_mode)) return D4OpenNotAFile;
    if (access(name, R_OK | W_OK) != 0) return D4OpenNoAccess;
    return D4OpenFailed;
}

}  // namespace

bool D4Init(uint32_t cacheBytes) {
    if (Db.open) D4Close();
    D4SegmentPathsInit();
    CurDVp = MasterDVp;
    D4IndexHeadsReset(MasterDVp);
    D4IndexHeadsReset(CopyDVp);
    D4CacheInit(cacheBytes);
    D4BlocksIndexInit();
    Db.started = true;
    ResetState();
    return true;
}

void D4Exit() {}

void D4TestSetCreateByteOrder(uint8_t flag) { Db.createOrder = flag; }

bool D4IsOpen() { return Db.open; }
std::string D4OpenFileName() { return Db.open ? Db.fileName : std::string(); }

int D4Create(const char *name, uint16_t) {
    if (!Db.started) D4Init(0);
    if (Db.open) D4Close();
    ResetState();
    Db.fileOrder = Db.createOrder;
    Db.swap = Db.fileOrder != ProgramByteOrder;
    ByteOrderSetDatabase(Db.fileOrder);
    if (!DbFileCreate(name)) {
        Fail("The database file cannot be created: ", name);
        return D4OpenFailed;
    }
    Db.fileName = name;
    uint8_t *h = MasterDVp->header.data();
    h[HdrByteOrder] = Db.fileOrder;
    HdrSetLong(HdrFreeA, DiskNone);
    HdrSetLong(HdrSegLevels, 1);
    HdrSetLong(HdrSegRoot, DiskNone);
    HdrSetLong(HdrMaxSegNr, 0);
    HdrSetLong(HdrSegCount, 0);
    HdrSetLong(HdrMasterList, DiskNone);
    HdrSetLong(HdrLogicalEnd, SectorSize);
    HdrSetLong(HdrFreeB, DiskNone);
    HdrSetLong(HdrPhysicalEnd, 0);
    HdrSetLong(HdrFormat, FormatNumberOpen);
    HdrSetLong(HdrLastSerial, 0);
    for (int i = 0; i < QueueCount; i++) HdrSetLong(HdrQueueHeads + 4 * i, DiskNone);
    HdrSetLong(HdrQueuedTasks, 0);
    uint8_t sector0[SectorSize] = {};
    std::memcpy(sector0, h, HeaderSize);
    Db.open = true;
    Db.committedHeader = MasterDVp->header;
    bool ok = D4DiskWriteAt(sector0, 0, SectorSize, false) && D4HeaderWrite();
    DbDiskHook(SectorSize);
    if (ok) {
        // The empty segment-tree root and the first master-list block.
        D4Hold();
        uint8_t root[SegNodeSize] = {};
        uint32_t r = D4DiskStore(root, SegNodeSize, 0, 0, 0, D4Life::Short);
        if (r != DiskNone) {
            HdrSetLong(HdrSegRoot, r);
            ok = D4SegmentPathLoad() && D4MasterListCreate() != 0;
        } else {
            ok = false;
        }
        ok = D4HoldEnd(ok);
    }
    // The directory last, once the file is complete, so that the new
    // company's file is found after a power loss.
    if (ok) ok = DbFileSyncDirectory(name);
    if (!ok) {
        Fail("The database file cannot be created: ", name);
        DbFileClose();
        ResetState();
        return D4OpenFailed;
    }
    return D4OpenOk;
}

int D4Open(const char *name, uint16_t) {
    if (!Db.started) D4Init(0);
    if (Db.open) D4Close();
    ResetState();
    int r = DbFileOpen(name);
    if (r == D4OpenFailed) r = OpenFailureKind(name);
    // No file at all is the caller's to handle (it may create one).
    if (r == D4OpenNoFile) return r;
    if (r != D4OpenOk) {
        Fail(D4OpenResultText(r), name);
        return r;
    }
    struct stat st;
    uint8_t *h = MasterDVp->header.data();
    uint8_t sector0[SectorSize];
    if (fstat(Db.fd, &st) != 0 || st.st_size < (off_t)SectorSize || !DbFileRead(sector0, 0, SectorSize) ||
        sector0[HdrByteOrder] > 1) {
        Fail(D4OpenResultText(D4OpenNotDatabase), name);
        DbFileClose();
        ResetState();
        return D4OpenNotDatabase;
    }
    Db.fileOrder = sector0[HdrByteOrder];
    Db.swap = Db.fileOrder != ProgramByteOrder;
    ByteOrderSetDatabase(Db.fileOrder);
    // A commit torn by a power loss goes back to the one before it.
    int checked = D4CommitCheckAtOpen(sector0);
    std::memcpy(h, sector0, HeaderSize);
    if (checked < 0) {
        Fail(D4OpenResultText(D4OpenFailed), name);
        DbFileClose();
        ResetState();
        return D4OpenFailed;
    }
    if (h[HdrByteOrder] != Db.fileOrder ||
        (HdrGetLong(HdrFormat) != FormatNumber && HdrGetLong(HdrFormat) != FormatNumberOpen)) {
        ShowTextMessage(1555);
        DbFileClose();
        ResetState();
        return D4OpenWrongFormat;
    }
    Db.fileName = name;
    Db.open = true;
    Db.committedHeader = MasterDVp->header;
    if (HdrGetWord(HdrDamaged) != 0) D4Damaged("This database is damaged");
    PString text;
    if (HdrGetWord(HdrInUse) != 1) {
        PStringFromC(text, "Open database ");
        PString n;
        PStringFromC(n, name);
        PStringAppend(text, n);
    } else {
        GetUiText(text, 1556);
    }
    LogAppend(text);
    HdrSetWord(HdrInUse, 1);
    HdrSetLong(HdrFormat, FormatNumberOpen);
    if (!HeaderSane()) {
        D4Damaged("This database is damaged: header values out of range");
        return D4OpenOk;
    }
    // Damage found here leaves the file open in damaged mode, for export.
    if (D4FreeListsLoad()) D4SegmentPathLoad();
    return D4OpenOk;
}

// Drops everything in memory that the last commit does not hold and
// reloads its state from the header it wrote; the file stays open.
bool D4ReloadCommitted() {
    D4RollbackEnd();
    MasterDVp->header = Db.committedHeader;
    HdrSetWord(HdrInUse, 1);
    MasterDVp->path.fill(PathStep{});
    D4IndexHeadsReset(MasterDVp);
    D4CacheReset();
    D4FreshReset(false);
    D4CommitForgetAll();
    Db.uncommitted = false;
    Db.mergeLists = Db.copies > 0;
    D4SegmentPathsInit();
    return D4FreeListsLoad() && D4SegmentPathLoad();
}

bool D4Close() {
    if (!Db.open) return false;
    D4SnapshotsDropAll();
    bool ok = true;
    if (MasterDVp->holdCnt > 0) {
        D4MessageText("D4DiskClose holdCnt != 0");
        MasterDVp->holdCnt = 0;
    }
    if (Db.writeStopped) {
        ok = false;
    } else if (!Db.damaged) {
        // Everything still in memory goes out, as at a flush in mode 1.
        D4Hold();
        HdrSetWord(HdrInUse, 0);
        HdrSetLong(HdrFormat, FormatNumber);   // closed cleanly: older programs may open it
        Db.mergeLists = false;
        ok = D4IndexHeadsSave() && D4FreeListsStore() && D4CacheWriteBack() && D4HeaderWrite();
        MasterDVp->holdCnt = 0;
        // The hold ends here without its undo, so the refusal is told here.
        if (!ok && Db.rb.diskRefused) D4MessageText(D4DiskRefusedText(Db.rb.refusedErrno).c_str());
    } else {
        D4HeaderWrite();
        ok = false;
    }
    DbFileClose();
    ResetState();
    return ok;
}
