// holds.cpp - holds that group changes into one commit, the header write
// that is the commit point, and the descriptors through which a server
// reads a fixed view of the file while the master goes on changing.
#include <cassert>
#include <memory>
#include <set>

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
        // After a hold in mode 0 the sectors handed out since the commit
        // stay fresh: the file on disk still describes that commit.
        if (CurDVp == MasterDVp && !Db.uncommitted) D4FreshReset(true);
    }
    CurDVp->holdCnt++;
}

int D4HoldCount() { return CurDVp->holdCnt; }

// Ends one hold. The end of the outermost hold does the flush mode's work
// (free_lists.cpp): a commit in mode 1, none in mode 0; in damaged mode
// it only marks the file damaged.
bool D4DiskFlush() {
    DVP *d = CurDVp;
    if (d->holdCnt <= 0) {
        D4MessageText("D4DiskFlush < 0");
        d->holdCnt = 0;
        return false;
    }
    bool ok = !Db.holdFailed;
    if (d->holdCnt == 1 && d == MasterDVp && Db.open) {
        if (Db.damaged) {
            D4HeaderWrite();
            ok = false;
        } else {
            bool saved = Db.flushMode == 1 ? D4SaveFlush() : D4SaveFlushCompact();
            Db.uncommitted = Db.flushMode == 0 || !saved;
            ok = ok && saved && !Db.holdFailed;
        }
    }
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

// Syncs, writes the header, syncs again: the header is the commit point.
// In damaged mode only the file's damaged word is set, in the header as
// it stands on disk; nothing changed since the open is written.
bool D4HeaderWrite() {
    if (!Db.damaged) {
        if (!DbFileFlush()) return false;
        if (!D4DiskWriteAt(MasterDVp->header.data(), 0, HeaderSize, false)) return false;
        return DbFileFlush();
    }
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
