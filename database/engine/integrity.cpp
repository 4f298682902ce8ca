// integrity.cpp - a full check of the open file's structures, for tests,
// the fuzz target and diagnosis: the segment tree, every segment's chain,
// every index (walked with its definition from the interface file), the
// free lists, that every sector below the logical end is used exactly
// once or free exactly once, and that no sector the commit record on disk
// names is free (layouts in format.h).
#include <algorithm>
#include <map>
#include <string>

#include "core/definitions.h"
#include "core/pstring.h"
#include "database/engine/engine_state.h"

using namespace dbformat;

namespace {

struct Claims {
    std::vector<uint8_t> owner;   // per sector: 0 unclaimed, 1 used, 2 free
    bool ok = true;
    std::string *report;
    void claim(uint32_t ptr, uint8_t kind, const char *what) {
        if (!D4PtrValid(ptr)) {
            *report += std::string(what) + ": pointer " + std::to_string(ptr) + " outside the file\n";
            ok = false;
            return;
        }
        uint8_t &o = owner[ptr / SectorSize];
        if (o != 0) {
            *report += std::string(what) + ": sector " + std::to_string(ptr) +
                       (o == 2 || kind == 2 ? " both free and in use, or listed twice\n" : " used twice\n");
            ok = false;
        }
        o = kind;
    }
};

// Claims every sector of the item starting at ptr; fills its chain info.
bool ClaimItem(Claims &c, uint32_t ptr, ChainInfo *info) {
    uint8_t sector[SectorSize];
    if (!D4SectorRead(sector, ptr)) return false;
    c.claim(ptr, 1, "item");
    *info = ChainInfo{};
    uint32_t next = D4GetLong(sector + ChainNext);
    if (next == DiskNone) {
        info->length = D4GetLong(sector + PlainLength);
        return info->length <= PlainDataMax;
    }
    info->length = D4GetLong(sector + ChainLength);
    info->type = D4GetWord(sector + ChainType);
    info->number = D4GetWord(sector + ChainNumber);
    uint32_t sectors = 1, need = info->length <= ChainFirstRoom
                                     ? 1
                                     : 1 + (info->length - ChainFirstRoom + ChainLaterRoom - 1) / ChainLaterRoom;
    uint16_t seq = 1;
    while (next != ChainEnd) {
        if (sectors >= need || !D4PtrValid(next)) return false;
        if (!D4SectorRead(sector, next)) return false;
        if (D4GetWord(sector + ChainSeq) != ++seq) return false;
        c.claim(next, 1, "chain");
        sectors++;
        next = D4GetLong(sector + ChainNext);
    }
    return sectors == need;
}

}  // namespace

bool D4IntegrityCheck(std::string *report) {
    if (!Db.open) {
        *report += "no database open\n";
        return false;
    }
    // The logical end sizes the map of sectors: a damaged header's value
    // is reported, not followed. It never lies beyond the file, so a bad
    // header cannot make the check walk (and map) sectors that are not there.
    uint32_t end = HdrGetLong(HdrLogicalEnd);
    if (end < SectorSize || end % SectorSize != 0 || end > MaxLogicalEnd) {
        *report += "logical end " + std::to_string(end) + " out of range\n";
        return false;
    }
    if (end > DbFileSize()) {
        *report += "logical end " + std::to_string(end) + " beyond the file's " + std::to_string(DbFileSize()) +
                   " bytes\n";
        return false;
    }
    Claims c;
    c.report = report;
    c.owner.assign(end / SectorSize, 0);
    c.owner[0] = 1;   // the header

    std::vector<uint32_t> nodes;
    std::vector<std::pair<uint32_t, uint32_t>> segments;
    if (!D4SegmentWalk(&nodes, &segments, report)) return false;
    for (uint32_t p : nodes) c.claim(p, 1, "segment node");
    if (segments.size() != HdrGetLong(HdrSegCount)) {
        *report += "live segment count " + std::to_string(HdrGetLong(HdrSegCount)) + " but " +
                   std::to_string(segments.size()) + " segments\n";
        c.ok = false;
    }
    std::map<uint32_t, ChainInfo> items;
    for (auto [seg, ptr] : segments) {
        if (seg == 0 || seg > HdrGetLong(HdrMaxSegNr)) {
            *report += "segment number above maxSegNr\n";
            c.ok = false;
        }
        ChainInfo info;
        if (!ClaimItem(c, ptr, &info)) {
            *report += "segment " + std::to_string(seg) + " has a broken chain\n";
            c.ok = false;
        }
        items[seg] = info;
    }

    // Indexes: definitions by full name from the loaded interface file.
    std::map<std::string, std::pair<int, const uint8_t *>> defs;
    defs["Blocks"] = {0, Db.blocksDef.data()};
    for (int reg = 1; reg <= 132; reg++) {
        for (int i = 0; i < RegIndexCount(reg); i++) {
            PString full;
            const uint8_t *def = RegIndexDef(reg, i);
            if (D4IndexFullName(reg, def, full)) defs[PStringToStd(full)] = {reg, def};
        }
    }
    std::map<int, uint32_t> recordsOf;
    for (auto &[seg, info] : items)
        if (info.type == TypeRecord) recordsOf[info.number]++;
    std::vector<std::pair<std::string, std::array<uint32_t, 3>>> indexes;
    if (!D4MasterListWalk(&indexes, report)) return false;
    for (auto &[name, v] : indexes) {
        auto it = defs.find(name);
        if (it == defs.end()) {
            *report += "index " + name + " has no definition\n";
            c.ok = false;
            continue;
        }
        auto [reg, def] = it->second;
        std::vector<uint32_t> inodes, recids;
        if (!D4IndexWalkOne(def, v[1], v[2], &inodes, &recids, report)) {
            *report += "index " + name + " is damaged\n";
            c.ok = false;
        }
        for (uint32_t p : inodes) c.claim(p, 1, "index node");
        bool simple = reg != 0 && RegIsSimple(reg);
        for (uint32_t id : recids) {
            auto item = items.find(id);
            bool good = simple ? id == 0
                               : item != items.end() && item->second.type == (reg == 0 ? TypeBlock : TypeRecord) &&
                                     (reg == 0 || item->second.number == reg);
            if (!good) {
                *report += "index " + name + " names record id " + std::to_string(id) + " that is not there\n";
                c.ok = false;
            }
        }
        if (reg != 0 && !simple && recids.size() != recordsOf[reg]) {
            *report += "index " + name + " has " + std::to_string(recids.size()) + " keys for " +
                       std::to_string(recordsOf[reg]) + " records\n";
            c.ok = false;
        }
    }

    std::vector<uint32_t> listed, blocks;
    if (!D4FreeListSectors(&listed, &blocks, report)) return false;
    for (uint32_t p : blocks) c.claim(p, 1, "free-list block");
    for (uint32_t p : listed) c.claim(p, 2, "free sector");
    if (listed.size() != Db.freeCount) {
        *report += "free count " + std::to_string(Db.freeCount) + " but " + std::to_string(listed.size()) +
                   " sectors listed\n";
        c.ok = false;
    }
    // The last durable commit's record names sectors whose content a
    // torn next commit is checked against: none may be free to reuse
    // (released since that commit, they wait in the collection).
    std::vector<uint32_t> named;
    if (!D4CommitListedOnDisk(&named)) {
        *report += "the commit record in sector 0 is unreadable\n";
        c.ok = false;
    }
    std::sort(named.begin(), named.end());
    std::vector<uint32_t> waiting = Db.collection;
    std::sort(waiting.begin(), waiting.end());
    for (uint32_t p : listed) {
        if (std::binary_search(named.begin(), named.end(), p) && !std::binary_search(waiting.begin(), waiting.end(), p)) {
            *report += "sector " + std::to_string(p) + " is free but named by the last commit's record\n";
            c.ok = false;
        }
    }
    for (size_t s = 1; s < c.owner.size(); s++) {
        if (c.owner[s] == 0) {
            *report += "sector " + std::to_string(s * SectorSize) + " neither used nor free\n";
            c.ok = false;
        }
    }
    return c.ok;
}
