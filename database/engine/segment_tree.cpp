// segment_tree.cpp - the tree that maps segment numbers to the first
// sector of their items (node layout in format.h).
//
// Numbers are issued in rising order and never reused, so the tree only
// grows at its right edge: appending touches the rightmost node of each
// level, kept in memory. A lookup descends by the first numbers of the
// entries; each node's entry in its parent carries the child's first
// number, checked on the way down.
#include <algorithm>

#include "database/engine/engine_state.h"

using namespace dbformat;

namespace {

struct SegNode {
    uint8_t b[SectorSize];
    uint16_t count() const { return D4GetWord(b + SegNodeCount); }
    void setCount(uint16_t n) { D4PutWord(b + SegNodeCount, n); }
    uint32_t ptr(int i) const { return D4GetLong(b + SegNodeEntries + i * SegEntrySize); }
    uint32_t num(int i) const { return D4GetLong(b + SegNodeEntries + i * SegEntrySize + 4); }
    void set(int i, uint32_t p, uint32_t n) {
        D4PutLong(b + SegNodeEntries + i * SegEntrySize, p);
        D4PutLong(b + SegNodeEntries + i * SegEntrySize + 4, n);
    }
    void setPtr(int i, uint32_t p) { D4PutLong(b + SegNodeEntries + i * SegEntrySize, p); }
};

bool ReadNode(uint32_t ptr, SegNode *node) {
    if (!D4ReadPlain(ptr, node->b, nullptr, "D4Segment node")) return false;
    if (node->count() > SegNodeMax) {
        D4Damaged("D4Segment node count");
        return false;
    }
    return true;
}

// A node's data as the cache holds them (valid until the next cache
// call), count checked.
const uint8_t *PeekNode(uint32_t ptr) {
    const uint8_t *b = D4PeekPlain(ptr, nullptr, "D4Segment node");
    if (b && D4GetWord(b + SegNodeCount) > SegNodeMax) {
        D4Damaged("D4Segment node count");
        return nullptr;
    }
    return b;
}

// Every change of a node goes through these two, and forgets the leaf
// that lookups remember (defined below); only PropagateMove, which
// changes pointers alone, takes it back.
void ForgetLastLeaf();

uint32_t WriteNode(const SegNode &node, uint32_t ptr) {
    ForgetLastLeaf();
    return D4DiskUpdate(node.b, ptr, SegNodeSize, false);
}

uint32_t StoreNode(const SegNode &node) {
    ForgetLastLeaf();
    return D4DiskStore(node.b, SegNodeSize, 0, 0, 0, D4Life::Short);
}

uint32_t Levels() { return HdrGetLong(HdrSegLevels); }

bool LevelsValid() {
    uint32_t levels = Levels();
    if (levels < 1 || levels > (uint32_t)SegMaxLevels) {
        D4Damaged("D4Segment levels");
        return false;
    }
    return true;
}

}  // namespace

// The entry of an inner node whose subtree holds n: the last whose first
// number is at most n (with one entry, that one; none: -1).
int D4SegNodeFindChild(const uint8_t *node, uint32_t n) {
    const SegNode *x = reinterpret_cast<const SegNode *>(node);
    int count = x->count();
    if (count == 0) return -1;
    if (count == 1) return 0;
    int lo = 0, hi = count;   // first entry whose number is above n
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        if (x->num(mid) <= n) lo = mid + 1; else hi = mid;
    }
    return lo == 0 ? 0 : lo - 1;
}

// The leaf entry of segment n, or -1.
int D4SegNodeFindPtr(const uint8_t *node, uint32_t n) {
    const SegNode *x = reinterpret_cast<const SegNode *>(node);
    int lo = 0, hi = x->count() - 1;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        uint32_t m = x->num(mid);
        if (m == n) return mid;
        if (m < n) lo = mid + 1; else hi = mid - 1;
    }
    return -1;
}

uint32_t D4SegNodeLastPtr(const uint8_t *node) {
    const SegNode *x = reinterpret_cast<const SegNode *>(node);
    return x->count() == 0 ? DiskNone : x->ptr(x->count() - 1);
}

void D4SegNodeRemove(uint8_t *node, int i) {
    SegNode *x = reinterpret_cast<SegNode *>(node);
    int count = x->count();
    std::memmove(x->b + SegNodeEntries + i * SegEntrySize, x->b + SegNodeEntries + (i + 1) * SegEntrySize,
                 (size_t)(count - i - 1) * SegEntrySize);
    std::memset(x->b + SegNodeEntries + (count - 1) * SegEntrySize, 0, SegEntrySize);
    x->setCount((uint16_t)(count - 1));
}

void D4SegmentPathsInit() {
    D4SegmentLookupForget();
    Db.segRight.fill(DiskNone);
    Db.segPath.fill(PathStep{});
}

// Reloads the rightmost path from the root in the header.
bool D4SegmentPathLoad() {
    Db.segRight.fill(DiskNone);
    if (!LevelsValid()) return false;
    uint32_t levels = Levels();
    Db.segRight[1] = HdrGetLong(HdrSegRoot);
    for (uint32_t l = 2; l <= levels; l++) {
        uint32_t above = Db.segRight[l - 1];
        if (above == DiskNone) break;
        if (!D4PtrValid(above)) {
            D4Damaged("D4SegmentPathLoad pointer outside logical file");
            return false;
        }
        const uint8_t *node = PeekNode(above);
        if (!node) return false;
        Db.segRight[l] = D4SegNodeLastPtr(node);
    }
    return true;
}

namespace {

// The leaf that the last lookup ended in, with its first and last
// numbers: a lookup of a number between them can only be in that leaf,
// so walks in rising order (records read by id one after the other)
// skip the descent. The search path of that lookup stays valid with it.
// Forgotten whenever the tree changes.
struct LastLeaf {
    uint32_t ptr = DiskNone;
    uint32_t first = 0, last = 0;
};
LastLeaf Last;

void ForgetLastLeaf() { Last = LastLeaf{}; }

// Looks seg up in leaf node b (stored at ptr, at level `level`); the
// master's leaf is remembered for the next lookup.
uint32_t FindInLeaf(const uint8_t *b, uint32_t ptr, uint32_t level, uint32_t seg) {
    const SegNode *node = reinterpret_cast<const SegNode *>(b);
    if (CurDVp == MasterDVp && node->count() > 0)
        Last = LastLeaf{ptr, node->num(0), node->num(node->count() - 1)};
    int i = D4SegNodeFindPtr(b, seg);
    if (i < 0) return DiskNone;
    Db.segPath[level] = PathStep{ptr, (uint32_t)i};
    uint32_t item = node->ptr(i);
    if (!D4PtrValid(item)) {
        D4Damaged("FindSegment pointer outside logical file");
        return DiskNone;
    }
    return item;
}

}  // namespace

void D4SegmentLookupForget() { Last = LastLeaf{}; }

uint32_t FindSegment(uint32_t seg) {
    if (!LevelsValid()) return DiskNone;
    uint32_t levels = Levels();
    if (CurDVp == MasterDVp && Last.ptr != DiskNone && seg >= Last.first && seg <= Last.last) {
        const uint8_t *b = PeekNode(Last.ptr);
        return b ? FindInLeaf(b, Last.ptr, levels, seg) : DiskNone;
    }
    // A descent rewrites the search path: the remembered leaf goes with it.
    D4SegmentLookupForget();
    uint32_t ptr = HdrGetLong(HdrSegRoot);
    uint32_t expectFirst = 0;
    for (uint32_t l = 1; l <= levels; l++) {
        if (!D4PtrValid(ptr)) {
            D4Damaged("FindSegment pointer outside logical file");
            return DiskNone;
        }
        const uint8_t *b = PeekNode(ptr);
        if (!b) return DiskNone;
        const SegNode *node = reinterpret_cast<const SegNode *>(b);
        if (l > 1 && (node->count() == 0 || node->num(0) != expectFirst)) {
            D4Message("FindSegment oldfirst incorrect", seg);
            return DiskNone;
        }
        if (l == levels) return FindInLeaf(b, ptr, l, seg);
        int i = D4SegNodeFindChild(b, seg);
        if (i < 0) return DiskNone;
        Db.segPath[l] = PathStep{ptr, (uint32_t)i};
        expectFirst = node->num(i);
        ptr = node->ptr(i);
    }
    return DiskNone;
}

// Stores data as a new segment and returns its number (0 on failure).
uint32_t D4SegmentNew(const uint8_t *data, uint32_t length, uint16_t type, uint16_t number, uint32_t serial) {
    if (!D4WriteAllowed()) return 0;
    if (!LevelsValid()) return 0;
    D4Hold();
    uint32_t n = HdrGetLong(HdrMaxSegNr) + 1;
    if (n >= DiskNone - 1) {
        D4MessageText("D4SegmentNew segment numbers exhausted");
        D4HoldEnd(false);
        return 0;
    }
    HdrSetLong(HdrMaxSegNr, n);
    HdrSetLong(HdrSegCount, HdrGetLong(HdrSegCount) + 1);
    uint32_t p = D4DiskStore(data, length, type, number, serial, type == 0 ? D4Life::Short : D4Life::Long);
    if (p == DiskNone) {
        D4HoldEnd(false);
        return 0;
    }
    uint32_t levels = Levels();
    bool pending = true;           // the entry (pendingPtr, n) still needs a place
    uint32_t pendingPtr = p;
    uint32_t childPtr = DiskNone;  // a moved child's new pointer, when not pending
    uint32_t oldRootFirst = 0;
    bool settled = false;
    SegNode node;
    for (uint32_t l = levels; l >= 1 && !settled; l--) {
        uint32_t at = Db.segRight[l];
        if (at != DiskNone && !ReadNode(at, &node)) return D4HoldEnd(false), 0;
        if (pending) {
            if (at != DiskNone && node.count() < SegNodeMax) {
                node.set(node.count(), pendingPtr, n);
                node.setCount((uint16_t)(node.count() + 1));
                uint32_t moved = WriteNode(node, at);
                if (moved == DiskNone) return D4HoldEnd(false), 0;
                Db.segRight[l] = moved;
                pending = false;
                if (moved == at) settled = true; else childPtr = moved;
            } else {
                if (at != DiskNone && node.count() > 0) oldRootFirst = node.num(0);
                SegNode fresh{};
                fresh.set(0, pendingPtr, n);
                fresh.setCount(1);
                uint32_t q = StoreNode(fresh);
                if (q == DiskNone) return D4HoldEnd(false), 0;
                Db.segRight[l] = q;
                pendingPtr = q;
            }
        } else {
            if (at == DiskNone || node.count() == 0) {
                D4Damaged("D4SegmentNew rightmost path");
                return D4HoldEnd(false), 0;
            }
            node.setPtr(node.count() - 1, childPtr);
            uint32_t moved = WriteNode(node, at);
            if (moved == DiskNone) return D4HoldEnd(false), 0;
            Db.segRight[l] = moved;
            if (moved == at) settled = true; else childPtr = moved;
        }
        if (l == 1) break;
    }
    if (pending) {
        // The root was full: a new root above it.
        if (levels >= (uint32_t)SegMaxLevels) {
            D4Message("Fatal DB max nodeLevels reached ", levels);
            return D4HoldEnd(false), 0;
        }
        uint32_t oldRoot = HdrGetLong(HdrSegRoot);
        SegNode root{};
        root.set(0, oldRoot, oldRootFirst);
        root.set(1, pendingPtr, n);
        root.setCount(2);
        uint32_t r = StoreNode(root);
        if (r == DiskNone) return D4HoldEnd(false), 0;
        // The pending node replaced the old root at level 1; shift down.
        for (uint32_t l = levels + 1; l >= 2; l--) Db.segRight[l] = Db.segRight[l - 1];
        Db.segRight[2] = pendingPtr;
        Db.segRight[1] = r;
        HdrSetLong(HdrSegLevels, levels + 1);
    }
    HdrSetLong(HdrSegRoot, Db.segRight[1]);
    return D4HoldEnd(true) ? n : 0;
}

// Puts a moved item's or node's new pointer into the search path's nodes,
// from the leaf up, until a node stays where it was. Only pointers
// change: the path follows the nodes that moved, and the leaf that the
// last lookup remembered (the path's own) stays remembered at its new
// place, so that the next update nearby needs no descent.
static bool PropagateMove(uint32_t newPtr) {
    uint32_t levels = Levels();
    LastLeaf keep = Last.ptr == Db.segPath[levels].node ? Last : LastLeaf{};
    SegNode node;
    for (uint32_t l = levels; l >= 1; l--) {
        PathStep step = Db.segPath[l];
        if (!ReadNode(step.node, &node)) return false;
        node.setPtr((int)step.entry, newPtr);
        uint32_t moved = WriteNode(node, step.node);
        if (moved == DiskNone) return false;
        Db.segPath[l].node = moved;
        if (moved == step.node) break;
        if (l == 1) HdrSetLong(HdrSegRoot, moved);
        newPtr = moved;
    }
    if (keep.ptr != DiskNone) keep.ptr = Db.segPath[levels].node;
    Last = keep;
    return true;
}

bool D4SegmentUpdate(uint32_t seg, const uint8_t *data, uint32_t length, uint16_t type, uint16_t number,
                     uint32_t serial) {
    if (!D4WriteAllowed()) return false;
    if (seg == 0 || seg > HdrGetLong(HdrMaxSegNr)) {
        D4Damaged("D4SegmentUpdate segnr > maxSegNr");
        return false;
    }
    uint32_t p = FindSegment(seg);
    if (p == DiskNone) {
        D4Damaged("Strange D4SegmentUpdate non existing block");
        return false;
    }
    D4Hold();
    uint32_t np;
    if (type != 0 || length > PlainDataMax) {
        if (!D4DiskRelease(p, true)) return D4HoldEnd(false);
        np = D4DiskStore(data, length, type, number, serial, D4Life::Long);
    } else {
        np = D4DiskUpdate(data, p, length, true);
    }
    if (np == DiskNone) return D4HoldEnd(false);
    if (np != p && !PropagateMove(np)) return D4HoldEnd(false);
    return D4HoldEnd(D4SegmentPathLoad());
}

bool D4SegmentRead(uint32_t seg, uint8_t *buffer, uint32_t length) {
    if (seg == 0 || seg > HdrGetLong(HdrMaxSegNr)) {
        D4Damaged("D4SegmentRead segnr > maxSegNr");
        return false;
    }
    uint32_t p = FindSegment(seg);
    if (p == DiskNone) {
        D4Damaged("D4SegmentRead non existing block");
        return false;
    }
    return D4DiskRead(buffer, p, length, nullptr);
}

// Reads segment seg into a new handle; false when it does not exist (no
// message) or cannot be read.
bool D4SegmentReadInto(uint32_t seg, std::vector<uint8_t> *out, uint32_t limit, ChainInfo *info) {
    if (seg == 0 || seg > HdrGetLong(HdrMaxSegNr)) return false;
    uint32_t p = FindSegment(seg);
    if (p == DiskNone) return false;
    return D4DiskReadInto(p, out, limit, info);
}

bool D4SegmentReadNew(uint32_t seg, MemBlock *out, uint32_t limit, ChainInfo *info) {
    *out = 0;
    if (seg == 0 || seg > HdrGetLong(HdrMaxSegNr)) return false;
    uint32_t p = FindSegment(seg);
    if (p == DiskNone) return false;
    return D4DiskReadNew(p, out, limit, info);
}

int64_t D4SegmentGetSize(uint32_t seg) {
    if (seg == 0 || seg > HdrGetLong(HdrMaxSegNr)) {
        D4Damaged("D4SegmentGetSize segnr > maxSegNr");
        return -1;
    }
    uint32_t p = FindSegment(seg);
    if (p == DiskNone) {
        D4Damaged("Strange D4SegmentGetSize non existing block");
        return -1;
    }
    return D4DiskGetSize(p);
}

bool D4SegmentRelease(uint32_t seg) {
    if (!D4WriteAllowed()) return false;
    if (seg == 0 || seg > HdrGetLong(HdrMaxSegNr)) {
        D4Damaged("D4SegmentRelease segnr > maxSegNr");
        return false;
    }
    uint32_t p = FindSegment(seg);
    if (p == DiskNone) {
        D4Damaged("D4SegmentRelease non existing block");
        return false;
    }
    D4Hold();
    if (!D4DiskRelease(p, true)) return D4HoldEnd(false);
    uint32_t l = Levels();
    SegNode node;
    PathStep step = Db.segPath[l];
    if (!ReadNode(step.node, &node)) return D4HoldEnd(false);
    D4SegNodeRemove(node.b, (int)step.entry);
    bool firstChanged = step.entry == 0;
    for (;;) {
        uint32_t at = Db.segPath[l].node;
        if (node.count() > 0 || l == 1) {
            uint32_t moved = WriteNode(node, at);
            if (moved == DiskNone) return D4HoldEnd(false);
            if (l == 1) {
                HdrSetLong(HdrSegRoot, moved);
                break;
            }
            if (moved == at && !firstChanged) break;
            uint32_t first = node.num(0);
            l--;
            if (!ReadNode(Db.segPath[l].node, &node)) return D4HoldEnd(false);
            node.set((int)Db.segPath[l].entry, moved, first);
            firstChanged = Db.segPath[l].entry == 0;
        } else {
            // Left empty below the root: the node goes, and its entry.
            if (!D4DiskRelease(at, false)) return D4HoldEnd(false);
            l--;
            if (!ReadNode(Db.segPath[l].node, &node)) return D4HoldEnd(false);
            D4SegNodeRemove(node.b, (int)Db.segPath[l].entry);
            firstChanged = Db.segPath[l].entry == 0;
        }
    }
    HdrSetLong(HdrSegCount, HdrGetLong(HdrSegCount) - 1);
    return D4HoldEnd(D4SegmentPathLoad());
}

// Walks the whole tree: every node, and every (segment, first sector).
bool D4SegmentWalk(std::vector<uint32_t> *nodes, std::vector<std::pair<uint32_t, uint32_t>> *segments,
                   std::string *report) {
    if (!LevelsValid()) return false;
    uint32_t levels = Levels();
    bool ok = true;
    struct Frame { uint32_t ptr; uint32_t level; uint32_t first; bool checkFirst; };
    std::vector<Frame> stack{{HdrGetLong(HdrSegRoot), 1, 0, false}};
    uint32_t budget = HdrGetLong(HdrLogicalEnd) / SectorSize;
    while (!stack.empty()) {
        Frame f = stack.back();
        stack.pop_back();
        if (budget-- == 0 || !D4PtrValid(f.ptr)) {
            *report += "segment tree pointer invalid or looping\n";
            return false;
        }
        SegNode node;
        if (!ReadNode(f.ptr, &node)) return false;
        nodes->push_back(f.ptr);
        if (f.checkFirst && (node.count() == 0 || node.num(0) != f.first)) {
            *report += "segment node first number differs from its parent entry\n";
            ok = false;
        }
        if (f.level > 1 && node.count() == 0) {
            *report += "empty segment node below the root\n";
            ok = false;
        }
        for (int i = 0; i < node.count(); i++) {
            if (i > 0 && node.num(i) <= node.num(i - 1)) {
                *report += "segment numbers out of order\n";
                ok = false;
            }
            if (f.level < levels) stack.push_back({node.ptr(i), f.level + 1, node.num(i), true});
            else segments->push_back({node.num(i), node.ptr(i)});
        }
    }
    return ok;
}
