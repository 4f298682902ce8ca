// index_heads.cpp - finding indexes by name through the index master
// list, creating them, and keeping their heads (root record, levels,
// root node) in the current descriptor; dirty heads reach their root
// records at the next flush in mode 1 (layouts in format.h).
#include <algorithm>
#include <cassert>

#include "core/definitions.h"
#include "core/pstring.h"
#include "database/engine/engine_state.h"

using namespace dbformat;

namespace {

struct MasterBlock {
    uint8_t b[MlBlockSize];
    uint16_t count() const { return D4GetWord(b + MlCount); }
    void setCount(uint16_t n) { D4PutWord(b + MlCount, n); }
    uint32_t next() const { return D4GetLong(b + MlNext); }
    void setNext(uint32_t s) { D4PutLong(b + MlNext, s); }
    const uint8_t *name(int i) const { return b + MlEntries + i * MlEntrySize; }
    uint32_t seg(int i) const { return D4GetLong(b + MlEntries + i * MlEntrySize + MlEntrySeg); }
    void set(int i, const uint8_t *name, uint32_t seg) {
        uint8_t *e = b + MlEntries + i * MlEntrySize;
        std::memset(e, 0, MlEntrySize);
        std::memcpy(e, name, (size_t)name[0] + 1);
        D4PutLong(e + MlEntrySeg, seg);
    }
};

bool ReadBlock(uint32_t seg, MasterBlock *m) {
    if (!D4SegmentRead(seg, m->b, MlBlockSize)) return false;
    if (m->count() > MlMax) {
        D4Damaged("Crappy CurHeadMasterList");
        return false;
    }
    for (int i = 0; i < m->count(); i++) {
        if (m->name(i)[0] >= MlNameRoom) {
            D4Damaged("Crappy CurHeadMasterList");
            return false;
        }
    }
    return true;
}

// Reads an index's root record into the head.
bool LoadRoot(IndexHead *h, uint32_t rootSeg) {
    uint8_t rec[RootRecordSize];
    if (!D4SegmentRead(rootSeg, rec, RootRecordSize)) return false;
    uint32_t levels = D4GetLong(rec + RootLevels), root = D4GetLong(rec + RootNode);
    if (levels < 1 || levels > (uint32_t)IndexMaxLevels || !D4PtrValid(root)) {
        D4Damaged("D4IndexHeadLoad root record");
        return false;
    }
    *h = IndexHead{};
    h->rootSeg = rootSeg;
    h->levels = levels;
    h->root = root;
    return true;
}

// D4IndexRootNew: an empty root node and a root record for it; returns
// the root record's segment (0 on failure).
uint32_t IndexRootNew(const uint8_t *def, uint32_t *rootPtr) {
    uint8_t node[PlainDataMax] = {};
    *rootPtr = D4DiskStore(node, IndexDefNodeSize(def), 0, 0, 0, D4Life::Short);
    if (*rootPtr == DiskNone) return 0;
    uint8_t rec[RootRecordSize];
    D4PutLong(rec + RootLevels, 1);
    D4PutLong(rec + RootNode, *rootPtr);
    return D4SegmentNew(rec, RootRecordSize, 0, 0, 0);
}

// D4MasterListNew: an empty master-list block as a new segment.
uint32_t MasterListNew() {
    MasterBlock m{};
    m.setCount(0);
    m.setNext(DiskNone);
    return D4SegmentNew(m.b, MlBlockSize, 0, 0, 0);
}

// The master's heads loaded since its heads were last reset, in head
// order. Only a loaded head can be dirty, so the save at every flush
// looks at these few instead of all 350 (in the same order).
std::vector<uint16_t> MasterLoaded;
std::array<bool, IndexHeads> MasterListed{};

void NoteLoaded(int i) {
    if (CurDVp != MasterDVp || MasterListed[i]) return;
    MasterListed[i] = true;
    MasterLoaded.insert(std::lower_bound(MasterLoaded.begin(), MasterLoaded.end(), (uint16_t)i), (uint16_t)i);
}

// Whether every dirty head of the master is listed (for the debug build's check).
[[maybe_unused]] bool DirtyHeadsListed() {
    for (int i = 1; i < IndexHeads; i++)
        if (MasterDVp->heads[i].dirty && !MasterListed[i]) return false;
    return true;
}

}  // namespace

uint32_t D4MasterListCreate() {
    uint32_t seg = MasterListNew();
    if (seg != 0) HdrSetLong(HdrMasterList, seg);
    return seg;
}

void D4IndexHeadsReset(DVP *d) {
    for (int i = 0; i < IndexHeads; i++) {
        if (d->heads[i].rootSeg != DiskNone) D4RollbackNoteHead(d, i);
        d->heads[i] = IndexHead{};
    }
    if (d == MasterDVp) {
        MasterLoaded.clear();
        MasterListed.fill(false);
    }
}

// The head returned may be changed by the caller: the hold's rollback
// keeps it first.
IndexHead *D4IndexHeadLoad(const uint8_t *name, const uint8_t *def, bool create) {
    if (!D4IndexDefValid(def)) return nullptr;
    int head = IndexDefHead(def);
    D4RollbackNoteHead(CurDVp, head);
    IndexHead *h = &CurDVp->heads[head];
    if (h->rootSeg != DiskNone) {
        NoteLoaded(head);
        return h;
    }
    uint32_t seg = HdrGetLong(HdrMasterList), last = DiskNone;
    uint32_t budget = HdrGetLong(HdrMaxSegNr) + 1;
    MasterBlock m;
    while (seg != DiskNone) {
        if (budget-- == 0) {
            D4Damaged("Crappy CurHeadMasterList");
            return nullptr;
        }
        if (!ReadBlock(seg, &m)) return nullptr;
        for (int i = 0; i < m.count(); i++)
            if (PStringEqual(m.name(i), name)) {
                if (!LoadRoot(h, m.seg(i))) return nullptr;
                NoteLoaded(head);
                return h;
            }
        last = seg;
        seg = m.next();
    }
    if (!create || last == DiskNone) {
        if (create) D4Damaged("Crappy CurHeadMasterList");
        return nullptr;
    }
    if (name[0] >= MlNameRoom) {
        D4MessageText("D4IndexHeadLoad index name too long");
        D4HoldFail();
        return nullptr;
    }
    uint32_t rootPtr;
    uint32_t rootSeg = IndexRootNew(def, &rootPtr);
    if (rootSeg == 0) return nullptr;
    if (m.count() >= MlMax) {
        uint32_t fresh = MasterListNew();
        if (fresh == 0) return nullptr;
        m.setNext(fresh);
        if (!D4SegmentUpdate(last, m.b, MlBlockSize, 0, 0, 0)) return nullptr;
        last = fresh;
        m = MasterBlock{};
        m.setCount(0);
        m.setNext(DiskNone);
    }
    m.set(m.count(), name, rootSeg);
    m.setCount((uint16_t)(m.count() + 1));
    if (!D4SegmentUpdate(last, m.b, MlBlockSize, 0, 0, 0)) return nullptr;
    *h = IndexHead{};
    h->rootSeg = rootSeg;
    h->levels = 1;
    h->root = rootPtr;
    NoteLoaded(head);
    return h;
}

bool D4IndexHeadsSave() {
    assert(DirtyHeadsListed());
    for (size_t k = 0; k < MasterLoaded.size(); k++) {
        int i = MasterLoaded[k];
        IndexHead &h = MasterDVp->heads[i];
        if (!h.dirty) continue;
        D4RollbackNoteHead(MasterDVp, i);
        uint8_t rec[RootRecordSize];
        D4PutLong(rec + RootLevels, h.levels);
        D4PutLong(rec + RootNode, h.root);
        if (!D4SegmentUpdate(h.rootSeg, rec, RootRecordSize, 0, 0, 0)) return false;
        h.dirty = 0;
    }
    return true;
}

// Every index of the master list: its name, root record segment, and
// the (levels, root) that holds now (a dirty head's when it has one).
bool D4MasterListWalk(std::vector<std::pair<std::string, std::array<uint32_t, 3>>> *out, std::string *report) {
    uint32_t seg = HdrGetLong(HdrMasterList);
    uint32_t budget = HdrGetLong(HdrMaxSegNr) + 1;
    MasterBlock m;
    while (seg != DiskNone) {
        if (budget-- == 0 || !ReadBlock(seg, &m)) {
            *report += "index master list unreadable\n";
            return false;
        }
        for (int i = 0; i < m.count(); i++) {
            uint32_t rootSeg = m.seg(i), levels = 0, root = DiskNone;
            bool fromHead = false;
            for (const IndexHead &h : CurDVp->heads) {
                if (h.rootSeg == rootSeg && h.rootSeg != DiskNone) {
                    levels = h.levels;
                    root = h.root;
                    fromHead = true;
                }
            }
            if (!fromHead) {
                uint8_t rec[RootRecordSize];
                if (!D4SegmentRead(rootSeg, rec, RootRecordSize)) {
                    *report += "index root record unreadable\n";
                    return false;
                }
                levels = D4GetLong(rec + RootLevels);
                root = D4GetLong(rec + RootNode);
            }
            out->push_back({PStringToStd(m.name(i)), {rootSeg, levels, root}});
        }
        seg = m.next();
    }
    return true;
}
