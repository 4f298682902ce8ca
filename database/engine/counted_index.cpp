// counted_index.cpp - the counted B-tree of one index (node layout in
// format.h): search by key, read by position, count, insert and delete.
//
// Every entry carries the number of keys beneath it, so a descent can sum
// the counts left of its path into a 1-based position, and reading the
// n-th key is one descent. An inner entry's key is its child's first key,
// kept exact on every change, together with the record id of that key,
// so a descent can bound positions exactly.
//
// Within the tree, entries are ordered by key and then by record id.
// Record ids are segment numbers, issued one above the highest ever
// issued and never reused, so a new record's entry goes after every
// equal key already there and equal keys read in the order their records
// were first stored. Ordering by id lets a delete, a re-key and a
// position lookup find one record's entry among any number of equal keys
// in one descent, through the ids the inner entries already carry. A
// re-keyed record joins its new run at its id's place, not at the end.
// Runs written out of id order (earlier builds put a re-keyed entry at
// the end of its run) are still found: when the entry is not at its
// ordered place, the run is walked.
//
// An insert looks at the inner nodes of its descent in the cache without
// copying them; when the leaf takes the key where it is, without a split
// and with its first entry unchanged, each ancestor only counts one key
// more and gets its eight changed bytes in place. A full node splits in
// halves, except at the right edge of the tree, where ascending keys
// arrive: there the node stays full and the new key starts a new node.
#include <algorithm>
#include <cassert>

#include "core/date.h"
#include "core/definitions.h"
#include "database/engine/engine_state.h"

using namespace dbformat;

namespace {

// One node in memory, with the geometry of its index.
struct Node {
    uint8_t b[SectorSize];
    uint32_t esize = 0;   // key length + 12
    uint32_t klen = 0;

    uint16_t count() const { return D4GetWord(b + NodeCount); }
    void setCount(uint16_t n) { D4PutWord(b + NodeCount, n); }
    uint32_t total() const { return D4GetLong(b + NodeTotal); }
    uint8_t *entry(int i) { return b + NodeEntries + (size_t)i * esize; }
    const uint8_t *entry(int i) const { return b + NodeEntries + (size_t)i * esize; }
    uint32_t child(int i) const { return D4GetLong(entry(i) + EntryChild); }
    uint32_t cnt(int i) const { return D4GetLong(entry(i) + EntryCount); }
    uint32_t recid(int i) const { return D4GetLong(entry(i) + EntryRecId); }
    const uint8_t *key(int i) const { return entry(i) + EntryKey; }
    void retotal() {
        uint32_t t = 0;
        for (int i = 0; i < count(); i++) t += cnt(i);
        D4PutLong(b + NodeTotal, t);
    }
    void insertAt(int i, const uint8_t *e) {
        int n = count();
        std::memmove(entry(i + 1), entry(i), (size_t)(n - i) * esize);
        std::memcpy(entry(i), e, esize);
        setCount((uint16_t)(n + 1));
    }
    void removeAt(int i) {
        int n = count();
        std::memmove(entry(i), entry(i + 1), (size_t)(n - i - 1) * esize);
        std::memset(entry(n - 1), 0, esize);
        setCount((uint16_t)(n - 1));
    }
};

// The geometry and limits of an index, from its definition, with its key
// parts read out once (comparisons run in every descent, and reading the
// parts out of the definition for each was a tenth of an insert's time).
constexpr int ParsedPartsMax = 8;
struct Geometry {
    const uint8_t *def;
    uint32_t klen, esize, maxEntries, nodeSize;
    int partCount = 0;      // 0: compare through D4KeyComparePrefix
    std::array<KeyPartInfo, ParsedPartsMax> parts{};
};

Geometry GeometryOf(const uint8_t *def) {
    uint32_t k = IndexDefKeyLength(def);
    Geometry g{def, k, k + EntryFixed, IndexDefMaxEntries(def), IndexDefNodeSize(def)};
    int count = IndexDefPartCount(def);
    // A foreign-order file converts each part before comparing; that road
    // stays with D4KeyComparePrefix.
    if (!Db.swap && count >= 1 && count <= ParsedPartsMax) {
        g.partCount = count;
        for (int i = 0; i < count; i++) g.parts[i] = IndexDefPart(def, i);
    }
    return g;
}

// D4KeyComparePrefix with the parts read out beforehand.
int CompareKeys(const Geometry &g, const uint8_t *a, const uint8_t *b, int parts) {
    if (g.partCount == 0) return D4KeyComparePrefix(g.def, a, b, parts);
    if (parts <= 0 || parts > g.partCount) parts = g.partCount;
    for (int i = 0; i < parts; i++) {
        const KeyPartInfo &p = g.parts[i];
        int c;
        if ((p.type == 5 || p.type == 19) && p.length >= 4) {
            c = D4CompareLong(a + p.keyOffset, b + p.keyOffset);
        } else if (p.type == 6 && p.length >= sizeof(DateRec)) {
            DateRec x, y;
            std::memcpy(&x, a + p.keyOffset, sizeof x);
            std::memcpy(&y, b + p.keyOffset, sizeof y);
            c = DateCompare(&x, &y);
        } else {
            c = D4DataCompare(p.type, p.length, a + p.keyOffset, b + p.keyOffset);
        }
        if (c != 0) return c;
    }
    return 0;
}

void InitNode(Node *n, const Geometry &g) {
    std::memset(n->b, 0, sizeof n->b);
    n->esize = g.esize;
    n->klen = g.klen;
}

// Index nodes read or looked at since the program started.
uint64_t NodeVisits = 0;

bool ReadNode(const Geometry &g, uint32_t ptr, Node *n) {
    NodeVisits++;
    n->esize = g.esize;
    n->klen = g.klen;
    if (!D4ReadPlain(ptr, n->b, nullptr, "D4Index node")) return false;
    if (n->count() > g.maxEntries) {
        D4Damaged("D4Index node count");
        return false;
    }
    return true;
}

uint32_t WriteNode(const Geometry &g, const Node &n, uint32_t ptr) {
    return D4DiskUpdate(n.b, ptr, g.nodeSize, false);
}

bool LevelsValid(const IndexHead *h) {
    if (h->levels < 1 || h->levels > (uint32_t)IndexMaxLevels) {
        D4Damaged("D4Index levels");
        return false;
    }
    return true;
}

// The per-level nodes of the last descent (levels 1..29), and per inner
// level whether the path took the node's last entry.
struct Descent {
    std::array<Node, IndexMaxLevels + 1> nodes;
    std::array<bool, IndexMaxLevels + 1> last{};
};

Descent &Scratch() {
    static Descent d;
    return d;
}

// The bytes of node ptr as the cache holds them, without a copy: valid
// until the next call into the cache. null on failure.
const uint8_t *PeekNode(const Geometry &g, uint32_t ptr) {
    NodeVisits++;
    const uint8_t *b = D4PeekPlain(ptr, nullptr, "D4Index node");
    if (b && D4GetWord(b + NodeCount) > g.maxEntries) {
        D4Damaged("D4Index node count");
        return nullptr;
    }
    return b;
}

// Descends from the root to the leaf that bounds key: with orEqual the
// entries not greater than key (by the first `parts` parts) lie before
// the bound, else the entries smaller than it. With recid, equal keys are
// told apart by their record ids (the tree's full order; parts must be
// 0), so the bound falls within a run of equal keys. Records the path
// and nodes, caches the leaf in the head, and returns the number of
// entries before the bound in *below (not counted when below is null).
// Without copyInner the inner nodes are only looked at in the cache and
// d.nodes keeps the leaf alone (an insert rereads the few inner nodes it
// has to rewrite).
bool Bound(IndexHead *h, const Geometry &g, const uint8_t *key, int parts, bool orEqual, uint32_t *below,
           Descent &d, bool copyInner = true, const uint32_t *recid = nullptr) {
    assert(!recid || parts == 0);
    if (!LevelsValid(h)) return false;
    uint32_t ptr = h->root, pos = 0;
    for (uint32_t l = 1; l <= h->levels; l++) {
        bool leaf = l == h->levels;
        const uint8_t *b;
        if (leaf || copyInner) {
            if (!ReadNode(g, ptr, &d.nodes[l])) return false;
            b = d.nodes[l].b;
        } else if (!(b = PeekNode(g, ptr))) {
            return false;
        }
        auto entry = [&](int i) { return b + NodeEntries + (size_t)i * g.esize; };
        auto before = [&](int i) {
            int c = CompareKeys(g, entry(i) + EntryKey, key, parts);
            if (c == 0 && recid) {
                uint32_t id = D4GetLong(entry(i) + EntryRecId);
                c = id < *recid ? -1 : (id > *recid ? 1 : 0);
            }
            return orEqual ? c <= 0 : c < 0;
        };
        int count = D4GetWord(b + NodeCount);
        // First entry (from `from`) that is not before the bound.
        int from = leaf ? 0 : 1;
        int lo = from, hi = count;
        while (lo < hi) {
            int mid = (lo + hi) / 2;
            if (before(mid)) lo = mid + 1; else hi = mid;
        }
        if (!leaf) {
            if (count == 0) {
                D4Damaged("D4Index empty inner node");
                return false;
            }
            int i = lo - 1;   // the last entry before the bound, or entry 0
            if (below)
                for (int j = 0; j < i; j++) pos += D4GetLong(entry(j) + EntryCount);
            CurDVp->path[l] = PathStep{ptr, (uint32_t)i};
            d.last[l] = i == count - 1;
            ptr = D4GetLong(entry(i) + EntryChild);
        } else {
            CurDVp->path[l] = PathStep{ptr, (uint32_t)lo};
            h->leafPtr = ptr;
            h->leafFirst = pos + 1;
            pos += lo;
        }
    }
    if (below) *below = pos;
    else h->leafPtr = DiskNone;   // leafFirst was not counted
    return true;
}

// Reads the entry at position (1-based): its record id and key. false
// when the position is past the end (or on failure, *failed set).
bool EntryAt(IndexHead *h, const Geometry &g, uint32_t position, uint32_t *recid, uint8_t *key, bool *failed) {
    *failed = false;
    if (position < 1) return false;
    Node n;
    if (h->leafPtr != DiskNone && position >= h->leafFirst && position - h->leafFirst < g.maxEntries) {
        if (!ReadNode(g, h->leafPtr, &n)) return *failed = true, false;
        uint32_t i = position - h->leafFirst;
        if (i < n.count()) {
            *recid = n.recid((int)i);
            if (key) std::memcpy(key, n.key((int)i), g.klen);
            return true;
        }
    }
    // D4IndexWalkPos: descend subtracting the counts of skipped entries.
    if (!LevelsValid(h)) return *failed = true, false;
    uint32_t ptr = h->root, p = position;
    for (uint32_t l = 1; l <= h->levels; l++) {
        if (!ReadNode(g, ptr, &n)) return *failed = true, false;
        if (l < h->levels) {
            int i = 0;
            while (i < n.count() && p > n.cnt(i)) p -= n.cnt(i++);
            if (i == n.count()) return false;
            ptr = n.child(i);
        } else {
            if (p > n.count()) return false;
            h->leafPtr = ptr;
            h->leafFirst = position - (p - 1);
            *recid = n.recid((int)p - 1);
            if (key) std::memcpy(key, n.key((int)p - 1), g.klen);
            return true;
        }
    }
    return false;
}

// Moves the descent's path to the next entry in key order, reading the
// nodes on the way. false at the end of the index (or on failure).
bool StepForward(IndexHead *h, const Geometry &g, Descent &d, bool *failed) {
    *failed = false;
    uint32_t leaf = h->levels;
    if (CurDVp->path[leaf].entry + 1 < d.nodes[leaf].count()) {
        CurDVp->path[leaf].entry++;
        return true;
    }
    uint32_t l = leaf;
    while (l > 1 && CurDVp->path[l - 1].entry + 1 >= d.nodes[l - 1].count()) l--;
    if (l == 1) return false;
    CurDVp->path[l - 1].entry++;
    for (uint32_t k = l; k <= leaf; k++) {
        uint32_t ptr = d.nodes[k - 1].child((int)CurDVp->path[k - 1].entry);
        if (!ReadNode(g, ptr, &d.nodes[k])) return *failed = true, false;
        if (d.nodes[k].count() == 0) {
            D4Damaged("D4Index empty node");
            return *failed = true, false;
        }
        CurDVp->path[k] = PathStep{ptr, 0};
    }
    return true;
}

// Walks the run of entries equal to key from its first entry for the one
// with record id recid: the road for runs stored out of id order. Leaves
// the path on it and returns its position; 0 when absent (*anyEqual
// tells whether the key itself was present), or on failure (*failed).
uint32_t WalkEqualRun(IndexHead *h, const Geometry &g, const uint8_t *key, uint32_t recid, Descent &d,
                      bool *anyEqual, bool *failed) {
    uint32_t below;
    if (!Bound(h, g, key, 0, false, &below, d)) return *failed = true, 0;
    uint32_t leaf = h->levels;
    uint32_t position = below + 1;
    // The bound may sit just past the end of its leaf.
    if (CurDVp->path[leaf].entry >= d.nodes[leaf].count()) {
        if (d.nodes[leaf].count() == 0) return 0;
        CurDVp->path[leaf].entry = d.nodes[leaf].count() - 1;
        if (!StepForward(h, g, d, failed)) return 0;
    }
    for (;;) {
        const Node &n = d.nodes[leaf];
        int i = (int)CurDVp->path[leaf].entry;
        if (CompareKeys(g, n.key(i), key, 0) != 0) return 0;
        *anyEqual = true;
        if (n.recid(i) == recid) return position;
        if (!StepForward(h, g, d, failed)) return 0;
        position++;
    }
}

// Finds the entry of key with record id recid: leaves the path on it and
// returns its position; 0 when absent (*anyEqual tells whether the key
// itself was present), or on failure (*failed set). One descent by key
// and id finds it; only when it is not at that place is its run walked
// (see the file's head). Id 0 is a simple register's, whose equal keys
// all carry it, so no run holds it out of order.
uint32_t LocateRecord(IndexHead *h, const Geometry &g, const uint8_t *key, uint32_t recid, Descent &d,
                      bool *anyEqual, bool *failed) {
    *anyEqual = false;
    *failed = false;
    uint32_t below;
    if (!Bound(h, g, key, 0, true, &below, d, true, &recid)) return *failed = true, 0;
    // Every entry up to (key, recid) lies before the bound: the entry
    // sought, when present, is the last of them, in the same leaf (the
    // descent took the child whose first entry is not above it).
    uint32_t leaf = h->levels;
    const Node &n = d.nodes[leaf];
    uint32_t i = CurDVp->path[leaf].entry;
    if (i > 0 && CompareKeys(g, n.key((int)i - 1), key, 0) == 0) {
        *anyEqual = true;
        if (n.recid((int)i - 1) == recid) {
            CurDVp->path[leaf].entry = i - 1;
            return below;
        }
    }
    if (recid == 0) {
        *anyEqual = *anyEqual || (i < n.count() && CompareKeys(g, n.key((int)i), key, 0) == 0);
        return 0;
    }
    *anyEqual = false;
    return WalkEqualRun(h, g, key, recid, d, anyEqual, failed);
}

void MakeEntry(uint8_t *e, const Geometry &g, uint32_t child, uint32_t count, uint32_t recid, const uint8_t *key) {
    std::memset(e, 0, g.esize);
    D4PutLong(e + EntryChild, child);
    D4PutLong(e + EntryCount, count);
    D4PutLong(e + EntryRecId, recid);
    std::memcpy(e + EntryKey, key, g.klen);
}

// The entry that stands for node n (stored at ptr) in its parent.
void ParentEntry(uint8_t *e, const Geometry &g, const Node &n, uint32_t ptr) {
    MakeEntry(e, g, ptr, n.total(), n.recid(0), n.key(0));
}

// Raises by one the count of entry i of inner node ptr and the node's
// total, in place: the child below gained a key and kept its place and
// its first key. Bound took entry i from this node, so it exists.
bool RaiseCount(const Geometry &g, uint32_t ptr, int i) {
    const uint32_t offsets[2] = {PlainData + NodeEntries + (uint32_t)i * g.esize + EntryCount, PlainData + NodeTotal};
    return D4SectorAddLongs(ptr, offsets, 1);
}

}  // namespace

// A simple register keeps its data in the key: the key is the record.
// At most the register's record size is copied, so a key stored under
// another interface file's larger layout cannot run past the buffer.
static void CopySimpleKey(int reg, uint8_t *record, const uint8_t *key, uint32_t keyLength) {
    uint32_t size = RegRecordSize(reg);
    std::memcpy(record, key, std::min(keyLength, size));
}

bool D4IndexSearch(int reg, const uint8_t *name, const uint8_t *def, const uint8_t *key, int parts, int exact,
                   int direction, uint32_t *recid, uint32_t *position, uint8_t *record) {
    *recid = DiskNone;
    if (position) *position = 0;
    IndexHead *h = D4IndexHeadLoad(name, def, false);
    if (!h) return false;
    Geometry g = GeometryOf(def);
    Descent &d = Scratch();
    uint32_t below;
    bool forward = direction >= 0;
    if (!Bound(h, g, key, parts, !forward, &below, d, false)) return false;
    uint32_t at = forward ? below + 1 : below;
    uint8_t found[PlainDataMax];
    uint32_t id;
    bool failed;
    if (!EntryAt(h, g, at, &id, found, &failed)) {
        if (position) *position = below;
        return false;
    }
    if (exact && D4KeyComparePrefix(def, found, key, parts) != 0) {
        if (position) *position = below;
        return false;
    }
    *recid = id;
    if (position) *position = at;
    if (record && RegIsSimple(reg)) CopySimpleKey(reg, record, found, g.klen);
    return true;
}

bool D4IndexReadPos(int reg, const uint8_t *name, const uint8_t *def, uint32_t position, uint32_t *recid,
                    uint8_t *record) {
    *recid = DiskNone;
    IndexHead *h = D4IndexHeadLoad(name, def, false);
    if (!h) return false;
    Geometry g = GeometryOf(def);
    uint8_t key[PlainDataMax];
    bool failed;
    if (!EntryAt(h, g, position, recid, key, &failed)) {
        *recid = DiskNone;
        return false;
    }
    if (record && RegIsSimple(reg)) CopySimpleKey(reg, record, key, g.klen);
    return true;
}

uint32_t D4IndexCount(const uint8_t *name, const uint8_t *def) {
    IndexHead *h = D4IndexHeadLoad(name, def, false);
    if (!h) return 0;
    Geometry g = GeometryOf(def);
    Node n;
    if (!ReadNode(g, h->root, &n)) return 0;
    return n.total();
}

uint32_t D4IndexFindEntry(const uint8_t *name, const uint8_t *def, const uint8_t *key, uint32_t recid) {
    IndexHead *h = D4IndexHeadLoad(name, def, false);
    if (!h) return 0;
    bool anyEqual, failed;
    return LocateRecord(h, GeometryOf(def), key, recid, Scratch(), &anyEqual, &failed);
}

uint64_t D4IndexNodeVisits() { return NodeVisits; }

bool D4IndexInsert(int reg, const uint8_t *name, const uint8_t *def, uint32_t recid, const uint8_t *key) {
    if (!D4WriteAllowed()) return false;
    D4Hold();
    IndexHead *h = D4IndexHeadLoad(name, def, true);
    if (!h) return D4HoldEnd(false);
    Geometry g = GeometryOf(def);
    Descent &d = Scratch();
    // D4IndexLocateForInsert: after every entry not greater than the key
    // and, among equal keys, after every smaller record id.
    if (!Bound(h, g, key, 0, true, nullptr, d, false, &recid)) return D4HoldEnd(false);
    uint32_t levels = h->levels;
    uint8_t pending[PlainDataMax];
    MakeEntry(pending, g, DiskNone, 1, recid, key);
    bool hasPending = true;
    // The level below gained its key without moving, splitting or changing
    // its first entry: its entry here only counts one more.
    bool countOnly = false;
    uint8_t childEntry[PlainDataMax];
    int insertAt = (int)CurDVp->path[levels].entry;
    uint32_t half = g.maxEntries / 2;
    // The record id and key of a node's first entry before the change, to
    // tell whether its parent's entry changes beyond the count.
    uint8_t first[PlainDataMax];
    for (uint32_t l = levels; l >= 1; l--) {
        Node &n = d.nodes[l];
        uint32_t at = CurDVp->path[l].node;
        bool hadFirst;
        if (l == levels) {
            hadFirst = n.count() > 0;
            if (hadFirst) std::memcpy(first, n.entry(0) + EntryRecId, 4 + g.klen);
        } else {
            int i = (int)CurDVp->path[l].entry;
            if (countOnly && D4DiskInPlace(at)) {
                // Nothing else changes here or above: eight bytes in place.
                if (!RaiseCount(g, at, i)) return D4HoldEnd(false);
                if (l == 1) break;
                continue;
            }
            if (!ReadNode(g, at, &n)) return D4HoldEnd(false);
            if (i >= n.count()) {
                D4Damaged("D4Index path entry");
                return D4HoldEnd(false);
            }
            hadFirst = true;
            std::memcpy(first, n.entry(0) + EntryRecId, 4 + g.klen);
            if (countOnly) D4PutLong(n.entry(i) + EntryCount, n.cnt(i) + 1);
            else std::memcpy(n.entry(i), childEntry, g.esize);
            insertAt = i + 1;
        }
        uint32_t moved;
        if (hasPending && n.count() < g.maxEntries) {
            n.insertAt(insertAt, pending);
            hasPending = false;
        } else if (hasPending) {
            // D4IndexNodeSplit: the upper count - half entries go right. At
            // the right edge of the tree, where ascending keys arrive, the
            // node stays full and the new entry alone starts the right
            // node, so that ascending inserts leave full nodes behind.
            int count = n.count();
            bool rightEdge = insertAt == count;
            for (uint32_t k = 1; k < l && rightEdge; k++) rightEdge = d.last[k];
            int keep = rightEdge ? count : (int)half;
            Node right;
            InitNode(&right, g);
            for (int i = keep; i < count; i++) std::memcpy(right.entry(i - keep), n.entry(i), g.esize);
            right.setCount((uint16_t)(count - keep));
            for (int i = keep; i < count; i++) std::memset(n.entry(i), 0, g.esize);
            n.setCount((uint16_t)keep);
            if (!rightEdge && insertAt <= keep) n.insertAt(insertAt, pending);
            else right.insertAt(insertAt - keep, pending);
            assert(n.count() <= g.maxEntries && right.count() <= g.maxEntries);
            right.retotal();
            uint32_t rightPtr = D4DiskStore(right.b, g.nodeSize, 0, 0, 0, D4Life::Long);
            if (rightPtr == DiskNone) return D4HoldEnd(false);
            ParentEntry(pending, g, right, rightPtr);
        }
        n.retotal();
        moved = WriteNode(g, n, at);
        if (moved == DiskNone) return D4HoldEnd(false);
        countOnly = !hasPending && moved == at && hadFirst &&
                    std::memcmp(first, n.entry(0) + EntryRecId, 4 + g.klen) == 0;
        ParentEntry(childEntry, g, n, moved);
        if (l == 1) {
            h->root = moved;
            break;
        }
    }
    if (hasPending) {
        // The root split: a new root above both halves.
        if (levels >= (uint32_t)IndexMaxLevels) {
            D4Damaged("D4Index levels");
            return D4HoldEnd(false);
        }
        Node root;
        InitNode(&root, g);
        root.insertAt(0, childEntry);
        root.insertAt(1, pending);
        root.retotal();
        uint32_t r = D4DiskStore(root.b, g.nodeSize, 0, 0, 0, D4Life::Short);
        if (r == DiskNone) return D4HoldEnd(false);
        h->root = r;
        h->levels = levels + 1;
    }
    h->dirty = 1;
    h->leafPtr = DiskNone;
    return D4HoldEnd(true);
}

bool D4IndexDelete(int reg, const uint8_t *name, const uint8_t *def, uint32_t recid, const uint8_t *key) {
    if (!D4WriteAllowed()) return false;
    D4Hold();
    IndexHead *h = D4IndexHeadLoad(name, def, false);
    if (!h) {
        D4Damaged("D4IndexDelete no indexhead");
        return D4HoldEnd(false);
    }
    Geometry g = GeometryOf(def);
    Descent &d = Scratch();
    bool anyEqual, failed;
    if (LocateRecord(h, g, key, recid, d, &anyEqual, &failed) == 0) {
        if (!failed) D4Damaged(anyEqual ? "D4IndexDelete found wrong record" : "D4IndexDelete found no record");
        return D4HoldEnd(false);
    }
    uint32_t levels = h->levels;
    bool childGone = false;
    uint8_t childEntry[PlainDataMax];
    for (uint32_t l = levels; l >= 1; l--) {
        Node &n = d.nodes[l];
        uint32_t at = CurDVp->path[l].node;
        int i = (int)CurDVp->path[l].entry;
        // D4IndexNodeJoin removes entry i.
        if (l == levels || childGone) n.removeAt(i);
        else std::memcpy(n.entry(i), childEntry, g.esize);
        n.retotal();
        if (n.count() == 0 && l > 1) {
            if (!D4DiskRelease(at, false)) return D4HoldEnd(false);
            childGone = true;
            continue;
        }
        childGone = false;
        uint32_t moved = WriteNode(g, n, at);
        if (moved == DiskNone) return D4HoldEnd(false);
        if (n.count() > 0) ParentEntry(childEntry, g, n, moved);
        if (l == 1) {
            h->root = moved;
            break;
        }
    }
    // A root with one entry gives way to its child.
    Node root;
    if (!ReadNode(g, h->root, &root)) return D4HoldEnd(false);
    while (h->levels >= 2 && root.count() == 1) {
        uint32_t child = root.child(0);
        if (!D4DiskRelease(h->root, false)) return D4HoldEnd(false);
        h->root = child;
        h->levels--;
        if (!ReadNode(g, h->root, &root)) return D4HoldEnd(false);
    }
    // An inner root left without entries is an empty leaf.
    if (h->levels >= 2 && root.count() == 0) h->levels = 1;
    h->dirty = 1;
    h->leafPtr = DiskNone;
    return D4HoldEnd(true);
}

// Walks one index from its root: every node into *nodes; checks counts,
// totals, first keys against parent entries and key order. Each entry's
// record id goes to *recids.
bool D4IndexWalkOne(const uint8_t *def, uint32_t levels, uint32_t root, std::vector<uint32_t> *nodes,
                    std::vector<uint32_t> *recids, std::string *report) {
    Geometry g = GeometryOf(def);
    if (levels < 1 || levels > (uint32_t)IndexMaxLevels) {
        *report += "index levels out of range\n";
        return false;
    }
    bool ok = true;
    std::vector<uint8_t> lastKey;
    uint32_t budget = HdrGetLong(HdrLogicalEnd) / SectorSize;
    // Depth-first, children in order, so leaves come in key order.
    struct Frame { uint32_t ptr; uint32_t level; std::vector<uint8_t> parent; };
    std::vector<Frame> stack{{root, 1, {}}};
    while (!stack.empty()) {
        Frame f = std::move(stack.back());
        stack.pop_back();
        if (budget-- == 0 || !D4PtrValid(f.ptr)) {
            *report += "index node pointer invalid or looping\n";
            return false;
        }
        Node n;
        if (!ReadNode(g, f.ptr, &n)) return false;
        nodes->push_back(f.ptr);
        uint32_t total = 0;
        for (int i = 0; i < n.count(); i++) total += n.cnt(i);
        if (total != n.total()) {
            *report += "index node total differs from its entries\n";
            ok = false;
        }
        if (!f.parent.empty()) {
            uint8_t e[PlainDataMax];
            if (n.count() == 0) {
                *report += "empty index node below the root\n";
                ok = false;
            } else {
                ParentEntry(e, g, n, f.ptr);
                if (std::memcmp(e, f.parent.data(), g.esize) != 0) {
                    *report += "index parent entry differs from its child\n";
                    ok = false;
                }
            }
        }
        if (f.level == levels) {
            for (int i = 0; i < n.count(); i++) {
                if (n.child(i) != DiskNone || n.cnt(i) != 1) {
                    *report += "index leaf entry malformed\n";
                    ok = false;
                }
                if (!lastKey.empty() && D4KeyComparePrefix(def, lastKey.data(), n.key(i), 0) > 0) {
                    *report += "index keys out of order\n";
                    ok = false;
                }
                lastKey.assign(n.key(i), n.key(i) + g.klen);
                recids->push_back(n.recid(i));
            }
        } else {
            for (int i = n.count() - 1; i >= 0; i--)
                stack.push_back({n.child(i), f.level + 1, std::vector<uint8_t>(n.entry(i), n.entry(i) + g.esize)});
        }
    }
    return ok;
}
