// hold_rollback.cpp - undoing the master's outermost hold when it fails.
//
// The file needs no undo: the header on disk is the commit point and no
// sector the last commit uses is ever rewritten, so a hold that does not
// reach its header write leaves the file at the last commit. What must go
// back is the engine's in-memory view, so that after a failed hold every
// read answers exactly as before it began:
//   - the master's header and search path, the segment-tree paths, the
//     free lists and counts: copied at the start (small); the allocator's
//     map is rebuilt from the lists put back;
//   - the master's index heads: each kept before the hold first changes
//     it (every change goes through D4IndexHeadLoad or the save of dirty
//     heads, which note it);
//   - the collection only grows in a hold: its length at the start (a
//     commit, which takes it whole, copies it first);
//   - the pool of sectors free for reuse at once is a stack: what was
//     popped from under its starting height is noted;
//   - the sectors handed out since the last commit (Db.fresh): those the
//     hold added are noted;
//   - the cache: a sector that was free at the start (above the logical
//     end then, or taken from a list or from the pool as it stood) holds
//     nothing anyone needs and is dropped; a sector that was in use at the
//     start and is rewritten in the hold (only a sector written by an
//     earlier hold in flush mode 0 can be) has its before-image kept at
//     its first rewrite and put back.
#include <cassert>

#include "database/engine/engine_state.h"

using namespace dbformat;

namespace {

// True when sector ptr was free when the hold began.
bool FreeAtStart(uint32_t ptr) { return ptr >= Db.rb.logicalEnd || Db.rb.takenFree.Contains(ptr); }

// Empties the rollback's containers without giving up their room (an
// unordered map's clear costs its bucket count even when empty).
void Clear(HoldRollback &rb) {
    rb.active = false;
    rb.takenFree.Clear();
    for (auto &kept : rb.heads) rb.headKept[kept.first] = false;
    rb.heads.clear();
    if (!rb.imaged.empty()) rb.imaged.clear();
    rb.images.clear();
    rb.freshAdded.clear();
    rb.poolPopped.clear();
    rb.collection.clear();
    rb.collectionSaved = false;
    rb.diskRefused = false;
    rb.syncFailed = false;
    rb.refusedErrno = 0;
}

}  // namespace

void D4RollbackBegin() {
    HoldRollback &rb = Db.rb;
    Clear(rb);
    rb.active = true;
    rb.header = MasterDVp->header;
    rb.path = MasterDVp->path;
    rb.segRight = Db.segRight;
    rb.segPath = Db.segPath;
    rb.listA = Db.listA;
    rb.listB = Db.listB;
    rb.collectionSize = Db.collection.size();
    rb.freeCount = Db.freeCount;
    rb.freshFrom = Db.freshFrom;
    rb.mergeLists = Db.mergeLists;
    rb.uncommitted = Db.uncommitted;
    rb.logicalEnd = D4GetLong(MasterDVp->header.data() + HdrLogicalEnd);
    rb.poolLow = Db.pool.size();
}

void D4RollbackEnd() { Clear(Db.rb); }

void D4RollbackNoteHead(const DVP *d, int i) {
    HoldRollback &rb = Db.rb;
    if (!rb.active || d != MasterDVp || rb.headKept[i]) return;
    rb.headKept[i] = true;
    rb.heads.emplace_back((uint16_t)i, d->heads[i]);
}

void D4RollbackNoteTaken(uint32_t ptr, bool addedToFresh) {
    if (!Db.rb.active) return;
    Db.rb.takenFree.Insert(ptr);
    if (addedToFresh) Db.rb.freshAdded.push_back(ptr);
}

bool D4RollbackNoteWrite(uint32_t ptr) {
    HoldRollback &rb = Db.rb;
    if (!rb.active || CurDVp != MasterDVp || FreeAtStart(ptr) || rb.imaged.count(ptr)) return true;
    const uint8_t *now = D4SectorPeek(ptr);
    if (!now) return false;
    rb.imaged.emplace(ptr, (uint32_t)rb.images.size());
    rb.images.emplace_back();
    std::memcpy(rb.images.back().data(), now, SectorSize);
    return true;
}

void D4RollbackSaveCollection() {
    HoldRollback &rb = Db.rb;
    if (!rb.active || rb.collectionSaved) return;
    assert(Db.collection.size() >= rb.collectionSize);
    rb.collection.assign(Db.collection.begin(), Db.collection.begin() + (long)rb.collectionSize);
    rb.collectionSaved = true;
}

uint32_t D4PoolPop(bool *wasThereAtStart) {
    assert(!Db.pool.empty());
    uint32_t p = Db.pool.back();
    Db.pool.pop_back();
    *wasThereAtStart = false;
    if (Db.rb.active && Db.pool.size() < Db.rb.poolLow) {
        Db.rb.poolPopped.push_back(p);
        Db.rb.poolLow = Db.pool.size();
        *wasThereAtStart = true;
    }
    return p;
}

void D4PoolPush(uint32_t ptr) { Db.pool.push_back(ptr); }

bool D4RollbackApply() {
    HoldRollback &rb = Db.rb;
    if (!rb.active) return true;
    MasterDVp->header = rb.header;
    MasterDVp->path = rb.path;
    for (auto &[i, head] : rb.heads) MasterDVp->heads[i] = head;
    Db.segRight = rb.segRight;
    Db.segPath = rb.segPath;
    D4SegmentLookupForget();
    Db.listA = rb.listA;
    Db.listB = rb.listB;
    D4FreeMapRebuild();
    if (rb.collectionSaved) {
        Db.collection.swap(rb.collection);
    } else {
        assert(Db.collection.size() >= rb.collectionSize);
        Db.collection.resize(rb.collectionSize);
    }
    // The pool: back to its low-water mark, then what was popped from
    // under the start, lowest first (popped highest first).
    if (Db.pool.size() > rb.poolLow) Db.pool.resize(rb.poolLow);
    for (auto it = rb.poolPopped.rbegin(); it != rb.poolPopped.rend(); ++it) Db.pool.push_back(*it);
    Db.freeCount = rb.freeCount;
    for (uint32_t p : rb.freshAdded) Db.fresh.erase(p);
    Db.freshFrom = rb.freshFrom;
    Db.mergeLists = rb.mergeLists;
    Db.uncommitted = rb.uncommitted;
    // The cache last: the sectors free at the start go, the rewritten ones
    // get their before-images back (into the room the dropped ones left).
    D4CacheDrop(FreeAtStart);
    bool ok = true;
    for (auto &[ptr, at] : rb.imaged)
        if (!D4CacheRestore(ptr, rb.images[at].data())) ok = false;
    // Sectors the hold wrote on free space are free again: the next
    // commit must not list them.
    D4CommitForgetIf(FreeAtStart);
    Clear(rb);
    return ok;
}
