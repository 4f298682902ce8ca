// holds.cpp - holds that group changes into one commit, the header write
// that is the commit point, and the descriptors through which a server
// reads a fixed view of the file while the master goes on changing.
#include <cassert>
#include <memory>
#include <set>
#include <string>

#include "database/engine/engine_state.h"

using namespace dbformat;

namespace {

DVP MasterDescriptor;
DVP CopyDescriptor;
std::set<DVP *> Snapshots;

}  // namespace

DVP *CurDVp = &MasterDescriptor;
DVP *MasterDVp = &MasterDescriptor;
DVP *CopyDVp = &CopyDescriptor;

void D4Hold() {
    if (CurDVp->holdCnt == 0) {
        Db.holdFailed = false;
        Db.readRefused = false;
        if (CurDVp == MasterDVp) {
            // After a hold in mode 0 the sectors handed out since the commit
            // stay fresh: the file on disk still describes that commit.
            if (!Db.uncommitted) D4FreshReset(true);
            D4AllocHoldBegins();
            // A file cut short from outside is noticed before any work.
            if (Db.open && !Db.damaged && DbFileCheckSize()) D4RollbackBegin();
        }
    }
    CurDVp->holdCnt++;
}

int D4HoldCount() { return CurDVp->holdCnt; }

namespace {

// Undoes the outermost hold that failed (hold_rollback.cpp) and tells
// the user when the disk refused it. A sync that failed while changes of
// earlier holds in mode 0 were written but not committed leaves unknown
// what of them the disk kept (a failed sync may drop written pages): the
// view then goes back to the last commit, and the user is told that too.
void UndoHold() {
    HoldRollback &rb = Db.rb;
    bool refused = rb.diskRefused, lostEarlier = rb.syncFailed && rb.uncommitted;
    int err = rb.refusedErrno;
    bool undone = D4RollbackApply();
    if ((lostEarlier || !undone) && !Db.damaged && !Db.writeStopped) {
        D4ReloadCommitted();
        lostEarlier = true;
    }
    if (refused) {
        std::string text = D4DiskRefusedText(err);
        if (lostEarlier) text += " The changes since the last full save were dropped as well.";
        D4MessageText(text.c_str());
    }
}

// Ends the master's outermost hold: the flush mode's work when all went
// well (free_lists.cpp), the undo otherwise. True when the hold stands.
bool EndOutermost(bool ok) {
    if (Db.damaged) {
        D4RollbackApply();
        D4HeaderWrite();
        return false;
    }
    if (ok && !Db.writeStopped) {
        bool saved;
        if (Db.flushMode == 1) {
            D4RollbackSaveCollection();
            saved = D4SaveFlush();
        } else {
            saved = D4SaveFlushCompact();
        }
        if (saved && !Db.holdFailed) {
            Db.uncommitted = Db.flushMode == 0;
            D4RollbackEnd();
            return true;
        }
    }
    if (Db.damaged) {
        D4RollbackApply();
        D4HeaderWrite();
        return false;
    }
    UndoHold();
    return false;
}

}  // namespace

// Ends one hold. The end of the outermost hold on the master does the
// flush mode's work, or undoes the hold when anything in it failed.
bool D4DiskFlush() {
    DVP *d = CurDVp;
    if (d->holdCnt <= 0) {
        D4MessageText("D4DiskFlush < 0");
        d->holdCnt = 0;
        return false;
    }
    bool ok = !Db.holdFailed;
    if (d->holdCnt == 1 && d == MasterDVp && Db.open) ok = EndOutermost(ok);
    if (Db.damaged) ok = false;
    d->holdCnt--;
    if (d->holdCnt == 0 && d == MasterDVp && !Db.uncommitted) D4FreshReset(false);
    return ok;
}

bool D4HoldEnd(bool ok) {
    if (!ok) D4HoldFail();
    bool flushed = D4DiskFlush();
    return ok && flushed;
}

bool D4Flush(int mode) {
    Db.flushMode = mode == 0 ? 0 : 1;
    D4Hold();
    return D4DiskFlush();
}

// Writes the commit (commit_record.cpp): sector 0 is the commit point.
// In damaged mode only the file's damaged word is set, in the header as
// it stands on disk; nothing changed since the open is written.
bool D4HeaderWrite() {
    if (!Db.damaged) return D4CommitWrite();
    uint8_t onDisk[HeaderSize];
    if (!DbFileRead(onDisk, 0, HeaderSize)) return false;
    if (D4GetWord(onDisk + HdrDamaged) != 0) return false;
    D4Damaged("Database damaged, do a text backup");
    D4PutWord(onDisk + HdrDamaged, 1);
    if (D4DiskWriteAt(onDisk, 0, HeaderSize, true)) DbFileFlush();
    return false;
}

DVP *D4DescriptorNew() {
    DVP *d = new DVP;
    D4IndexHeadsReset(d);
    return d;
}

void D4DescriptorFree(DVP *d) {
    if (d != MasterDVp && d != CopyDVp) delete d;
}

// Copies the master's view (header, path, heads); refused while the
// source is in a hold, since its header and heads may be half changed.
bool CopyDVP(const DVP *source, DVP *target) {
    if (source->holdCnt != 0) {
        D4Message("CopyDVP holdCnt!=0", source->holdCnt);
        return false;
    }
    target->header = source->header;
    target->path = source->path;
    target->heads = source->heads;
    target->holdCnt = 0;
    return true;
}

bool D4DescriptorSelect(int mode, DVP *d, DVP **previous) {
    *previous = CurDVp;
    if (mode == 3) {
        if (!CopyDVP(MasterDVp, CopyDVp)) return false;
        CurDVp = CopyDVp;
        Db.copies++;
        return true;
    }
    CurDVp = d ? d : MasterDVp;
    return true;
}

// In mode 3 the count of open copies drops only when the copy was
// selected: after a refused selection it was never raised, and lowering
// it would let the master reuse sectors an open snapshot still reads.
void D4DescriptorRestore(int mode, DVP *previous) {
    bool copySelected = CurDVp == CopyDVp;
    CurDVp = previous ? previous : MasterDVp;
    if (mode == 3 && copySelected && Db.copies > 0) Db.copies--;
}

DVP *D4SnapshotOpen(uint32_t *handle) {
    DVP *d = D4DescriptorNew();
    if (!CopyDVP(MasterDVp, d)) {
        delete d;
        *handle = 0;
        return nullptr;
    }
    // After holds in mode 0 the snapshot sees sectors written since the
    // commit; from now on they must move when changed, like committed
    // ones. Written back, they are no longer dirty either (nothing is
    // committed by that: the header stays as it is).
    if (Db.uncommitted && Db.open && !Db.damaged) {
        D4CacheWriteBack();
        D4FreshReset(true);
    }
    Snapshots.insert(d);
    if (Db.copies++ == 0) Db.mergeLists = true;
    *handle = Db.nextSnapshotHandle++;
    return d;
}

void D4SnapshotClose(DVP *d, uint32_t) {
    if (!d || !Snapshots.erase(d)) return;
    if (CurDVp == d) CurDVp = MasterDVp;
    delete d;
    if (Db.copies > 0 && --Db.copies == 0) Db.mergeLists = false;
}

// Forgets every snapshot (a file is opened, created or closed).
void D4SnapshotsDropAll() {
    for (DVP *d : Snapshots) delete d;
    Snapshots.clear();
    Db.copies = 0;
    Db.mergeLists = false;
    CurDVp = MasterDVp;
}
