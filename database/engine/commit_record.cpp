// commit_record.cpp - the commit record after the header in sector 0
// (layout in format.h), which lets a commit reach the disk with one sync.
//
// Every sector written since the last durable commit is noted with a
// 64-bit hash of what was written. At the commit the sectors the new
// header uses are listed as runs in sector 0, with a checksum over their
// hashes in run order and a check over the sector itself, and sector 0 is
// written after them and synced once: a power loss may leave any subset
// of the writes on disk, and the open tells a complete commit from a torn
// one by reading the listed sectors again. A torn commit goes back to the
// header it copied, whose sectors are intact because a commit writes only
// sectors that the commit before it does not use.
//
// Sectors freed again before the commit are not listed: the next commit
// may reuse and overwrite them, and a listed sector must keep its content
// for as long as its record may still be the last one on disk.
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "core/pstring.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "database/engine/engine_state.h"
#include "dict_offsets.h"

using namespace dbformat;

namespace {

constexpr size_t MaxListed = 8192;
constexpr size_t BulkSectors = 256;

// Sectors written since the last durable commit with the hash of what
// was last written to each. A commit writes a few dozen sectors, so they
// are appended as written and sorted when asked for: the first `sorted`
// notes are ascending by sector, one per sector; those after them are
// as they came, in order (a sector written twice keeps its last hash).
struct Note {
    uint32_t ptr;
    uint32_t order;   // when it was noted, within this commit
    uint64_t hash;
};
struct WrittenSectors {
    std::vector<Note> notes;
    size_t sorted = 0;
    uint32_t nextOrder = 0;

    void Add(uint32_t ptr, uint64_t hash) { notes.push_back({ptr, nextOrder++, hash}); }

    // Ascending by sector, the last note of each sector kept.
    void Sort() {
        if (sorted == notes.size()) return;
        auto byPtrThenOrder = [](const Note &a, const Note &b) {
            return a.ptr != b.ptr ? a.ptr < b.ptr : a.order < b.order;
        };
        std::sort(notes.begin() + (std::ptrdiff_t)sorted, notes.end(), byPtrThenOrder);
        std::inplace_merge(notes.begin(), notes.begin() + (std::ptrdiff_t)sorted, notes.end(), byPtrThenOrder);
        size_t kept = 0;
        for (size_t i = 0; i < notes.size(); i++) {
            if (i + 1 < notes.size() && notes[i + 1].ptr == notes[i].ptr) continue;   // a later note follows
            notes[kept++] = notes[i];
        }
        notes.resize(kept);
        sorted = kept;
    }

    // The number of sectors noted, sorting only when the notes alone
    // cannot tell whether it reaches n.
    bool AtLeast(size_t n) {
        if (sorted >= n) return true;
        if (notes.size() < n) return false;
        Sort();
        return notes.size() >= n;
    }

    bool Has(uint32_t ptr) {
        Sort();
        auto it = std::lower_bound(notes.begin(), notes.end(), ptr,
                                   [](const Note &a, uint32_t p) { return a.ptr < p; });
        return it != notes.end() && it->ptr == ptr;
    }

    template <typename F> void EraseIf(F drop) {
        std::erase_if(notes, [&](const Note &n) { return drop(n.ptr); });
        sorted = 0;   // still in order, but the count of sorted ones moved
        Sort();
    }

    // Empties the notes. Their array keeps the size a bulk hold grew it
    // to only while that is small.
    void Clear() {
        notes.clear();
        if (notes.capacity() > 4 * BulkSectors) notes.shrink_to_fit();
        sorted = 0;
        nextOrder = 0;
    }
};

// Past MaxListed sectors the commit falls back to two syncs.
WrittenSectors Written;
bool Overflow = false;
// Working space of BuildRuns and D4CommitNoteFreed, reused by each commit.
std::vector<uint64_t> RunHashes;
std::vector<uint32_t> DirtyPtrs;
// Sectors written since the last commit that are free in the commit
// being made (sorted): not listed.
std::vector<uint32_t> FreedNow;
uint32_t CommitNumber = 0;

using Run = std::pair<uint32_t, uint32_t>;   // first sector pointer, count

void ForgetWritten() { Written.Clear(); }

inline uint64_t Rotl(uint64_t v, int r) { return (v << r) | (v >> (64 - r)); }

// The 64-bit finaliser that spreads every input bit over the result.
inline uint64_t Mix(uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return h;
}

// A u64 as two of the engine's u32, low first (format.h).
void PutQuad(uint8_t *p, uint64_t v) {
    D4PutLong(p, (uint32_t)v);
    D4PutLong(p + 4, (uint32_t)(v >> 32));
}
uint64_t GetQuad(const uint8_t *p) { return (uint64_t)D4GetLong(p) | ((uint64_t)D4GetLong(p + 4) << 32); }

// The hash of one sector's bytes, seeded with its position so that a
// sector's content found at another place does not match.
uint64_t SectorHash(uint32_t ptr, const uint8_t *data) { return D4Hash64(data, SectorSize, ptr); }

// The content checksum: the sector hashes in run order, hashed again.
uint64_t RunsChecksum(const std::vector<uint64_t> &hashes) {
    return D4Hash64(reinterpret_cast<const uint8_t *>(hashes.data()), hashes.size() * 8, 0x636F6D6D6974ull);
}

// Lists the sectors to name in the commit as ascending runs, with their
// content checksum. False when they do not fit the record.
bool BuildRuns(std::vector<Run> *runs, uint64_t *sum) {
    runs->clear();
    if (Overflow) return false;
    Written.Sort();
    std::vector<uint64_t> &hashes = RunHashes;
    hashes.clear();
    for (const Note &n : Written.notes) {
        const uint32_t p = n.ptr;
        if (std::binary_search(FreedNow.begin(), FreedNow.end(), p)) continue;
        if (!runs->empty() && runs->back().first + runs->back().second * SectorSize == p &&
            runs->back().second < 0xFFFF) {
            runs->back().second++;
        } else {
            if (runs->size() == (size_t)CrRunMax) return false;
            runs->push_back({p, 1});
        }
        hashes.push_back(n.hash);
    }
    *sum = RunsChecksum(hashes);
    return true;
}

// Sector 0 of a commit: header, then the record naming prev as the
// commit before it, the runs and their checksum, and the record's check.
void Compose(uint8_t *s, const uint8_t *header, const uint8_t *prev, uint32_t number, const std::vector<Run> &runs,
             uint64_t sum) {
    assert(runs.size() <= (size_t)CrRunMax);
    std::memset(s, 0, SectorSize);
    std::memcpy(s, header, HeaderSize);
    D4PutLong(s + CrMagic, CommitMagic);
    D4PutLong(s + CrNumber, number);
    std::memcpy(s + CrPrevHeader, prev, HeaderSize);
    D4PutWord(s + CrRunCount, (uint16_t)runs.size());
    for (size_t i = 0; i < runs.size(); i++) {
        D4PutLong(s + CrRuns + CrRunSize * i, runs[i].first);
        D4PutWord(s + CrRuns + CrRunSize * i + 4, (uint16_t)runs[i].second);
    }
    PutQuad(s + CrChecksum, sum);
    PutQuad(s + CrCheck, D4Hash64(s, CrCheck, CommitMagic));
}

// The header of the last commit goes back, with no runs, synced: after a
// commit whose sector 0 may have reached the file. When even that fails,
// what the disk holds is unknown: nothing more is written in this run
// (the file then holds one of the two commits, both complete).
void PutBackCommitted() {
    uint8_t s[SectorSize];
    Compose(s, Db.committedHeader.data(), Db.committedHeader.data(), CommitNumber, {}, RunsChecksum({}));
    if (DbFileWrite(s, 0, SectorSize) && DbFileFlush()) return;
    Db.writeStopped = true;
    D4MessageText("The disk refused to store the database header. Nothing more is written: close the "
                  "company and check the disk.");
}

void Log(const char *text) {
    PString t;
    PStringFromC(t, text);
    LogAppend(t);
}

// When the file was last written (its commit, as a rule), local time.
std::string WrittenAt() {
    struct stat st;
    if (fstat(Db.fd, &st) != 0) return "?";
    struct tm local;
    char text[32];
    time_t at = st.st_mtime;
    if (!localtime_r(&at, &local) || !std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local)) return "?";
    return text;
}

// The fields of the commit record in sector 0 s, in one line.
std::string RecordLine(const uint8_t *s, uint16_t count) {
    char b[64];
    std::string line = "commit " + std::to_string(D4GetLong(s + CrNumber)) + ", written " + WrittenAt() +
                       ", logical end " + std::to_string(D4GetLong(s + HdrLogicalEnd)) + ", runs " +
                       std::to_string(count) + ":";
    for (uint16_t i = 0; i < count && i < CrRunMax; i++) {
        std::snprintf(b, sizeof b, " %u+%u", (unsigned)D4GetLong(s + CrRuns + CrRunSize * i),
                      (unsigned)D4GetWord(s + CrRuns + CrRunSize * i + 4));
        line += b;
    }
    std::snprintf(b, sizeof b, ", checksum %016llx", (unsigned long long)GetQuad(s + CrChecksum));
    return line + b;
}

}  // namespace

// A 64-bit multiply-rotate hash of eight bytes at a time with a final
// mix; length and seed are part of it.
uint64_t D4Hash64(const uint8_t *data, size_t length, uint64_t seed) {
    constexpr uint64_t K1 = 0x9E3779B185EBCA87ull, K2 = 0xC2B2AE3D27D4EB4Full;
    uint64_t h = seed ^ (length * K1);
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t w;
        std::memcpy(&w, data + i, 8);
        h ^= Rotl(w * K2, 31) * K1;
        h = Rotl(h, 27) * K1 + K2;
    }
    uint64_t tail = 0;
    for (size_t k = 0; i + k < length; k++) tail |= (uint64_t)data[i + k] << (8 * k);
    h ^= Rotl(tail * K2, 31) * K1;
    return Mix(h);
}

void D4CommitNoteWrite(uint64_t offset, const uint8_t *data, uint32_t length) {
    if (offset < SectorSize) return;   // sector 0 is the commit itself
    assert(offset % SectorSize == 0 && length % SectorSize == 0);
    if (Overflow) return;
    for (uint32_t at = 0; at < length; at += SectorSize) {
        uint32_t ptr = (uint32_t)(offset + at);
        Written.Add(ptr, SectorHash(ptr, data + at));
    }
    if (Written.AtLeast(MaxListed + 1)) {
        Overflow = true;
        ForgetWritten();
    }
}

bool D4CommitIsBulk() { return Overflow || Written.AtLeast(BulkSectors); }

// Only the few freed sectors that were written, or are still to be
// written from the cache, are kept: the free lists' heads run to hundreds
// of pointers, and copying and sorting them all at every commit cost more
// than the rest of the commit record.
void D4CommitNoteFreed(std::span<const uint32_t> freed, std::span<const uint32_t> moreFreed) {
    FreedNow.clear();
    // The written and dirty sectors are a few dozen, the freed ones many
    // more: a bit per sector number modulo 4096 rules most of these out
    // before the lists are searched.
    std::vector<uint32_t> &dirty = DirtyPtrs;
    D4CacheDirtySectors(&dirty);
    Written.Sort();
    std::array<uint64_t, 64> maybe{};
    auto bit = [](uint32_t p) { return (p / SectorSize) & 4095; };
    for (uint32_t p : dirty) maybe[bit(p) / 64] |= 1ull << (bit(p) % 64);
    for (const Note &n : Written.notes) maybe[bit(n.ptr) / 64] |= 1ull << (bit(n.ptr) % 64);
    for (std::span<const uint32_t> part : {freed, moreFreed})
        for (uint32_t p : part) {
            if (!(maybe[bit(p) / 64] >> (bit(p) % 64) & 1)) continue;
            if (std::binary_search(dirty.begin(), dirty.end(), p) || Written.Has(p)) FreedNow.push_back(p);
        }
    std::sort(FreedNow.begin(), FreedNow.end());
}

void D4CommitForgetIf(bool (*forget)(uint32_t ptr)) { Written.EraseIf(forget); }

void D4CommitForgetAll() {
    ForgetWritten();
    Overflow = false;
    FreedNow.clear();
}

bool D4CommitWrite() {
    if (Db.writeStopped) return false;
    std::vector<Run> runs;
    uint64_t sum = 0;
    if (!BuildRuns(&runs, &sum)) {
        // Too many runs for the record: the sectors are made durable first,
        // and sector 0 names none.
        runs.clear();
        sum = RunsChecksum({});
        if (!DbFileFlush()) {
            FreedNow.clear();
            return false;
        }
        D4TestHooks.twoSyncCommits++;
    }
    FreedNow.clear();
    uint32_t lastPage = DiskNone;
    for (const Run &r : runs)
        for (uint32_t k = 0; k < r.second; k++)
            if ((r.first + k * SectorSize) / 4096 != lastPage) {
                lastPage = (r.first + k * SectorSize) / 4096;
                D4TestHooks.pagesCommitted++;
            }
    uint8_t s[SectorSize];
    Compose(s, MasterDVp->header.data(), Db.committedHeader.data(), CommitNumber + 1, runs, sum);
    if (!D4DiskWriteAt(s, 0, SectorSize, false) || !DbFileFlush()) {
        PutBackCommitted();
        return false;
    }
    CommitNumber++;
    ForgetWritten();
    Overflow = false;
    Db.committedHeader = MasterDVp->header;
    return true;
}

int D4CommitCheckAtOpen(uint8_t *s) {
    D4CommitForgetAll();
    CommitNumber = 0;
    if (D4GetLong(s + CrMagic) != CommitMagic) return 0;
    if (GetQuad(s + CrCheck) != D4Hash64(s, CrCheck, CommitMagic)) return 0;   // header written alone
    CommitNumber = D4GetLong(s + CrNumber);
    uint16_t count = D4GetWord(s + CrRunCount);
    bool intact = count <= CrRunMax;
    std::vector<uint64_t> hashes;
    uint8_t sector[SectorSize];
    for (uint16_t i = 0; intact && i < count; i++) {
        uint32_t first = D4GetLong(s + CrRuns + CrRunSize * i);
        uint16_t n = D4GetWord(s + CrRuns + CrRunSize * i + 4);
        if (first < SectorSize || first % SectorSize != 0 || n == 0 ||
            (uint64_t)first + (uint64_t)n * SectorSize > MaxLogicalEnd) {
            intact = false;
            break;
        }
        for (uint32_t k = 0; k < n; k++) {
            uint32_t ptr = first + k * SectorSize;
            if (!DbFileRead(sector, ptr, SectorSize)) return -1;
            hashes.push_back(SectorHash(ptr, sector));
        }
    }
    if (intact && (D4TestHooks.skipCommitCheck || GetQuad(s + CrChecksum) == RunsChecksum(hashes))) return 0;
    // Torn by a power loss, or a sector of it changed since (a rotted bit,
    // a lost sector): the two cannot be told apart, and the commit before
    // it holds. A save the user was told had succeeded may be gone, so the
    // user is told, and the log keeps the record undone.
    // The save's time is the file's before the rollback below writes it.
    const std::string savedAt = WrittenAt();
    std::string undone = RecordLine(s, count);
    uint8_t prev[HeaderSize];
    std::memcpy(prev, s + CrPrevHeader, HeaderSize);
    Compose(s, prev, prev, CommitNumber, {}, RunsChecksum({}));
    if (!DbFileWrite(s, 0, SectorSize) || !DbFileFlush()) return -1;
    Log(("The last save of this database could not be read back whole and was undone; the save before it "
         "was restored. The save undone: " + undone).c_str());
    PString extra;
    PStringFromC(extra, (" " + std::to_string(CommitNumber) + ", " + savedAt + ".").c_str());
    ShowMessage(Texts::LastSaveUndone, extra);
    return 1;
}

bool D4CommitListedOnDisk(std::vector<uint32_t> *sectors) {
    sectors->clear();
    uint8_t s[SectorSize];
    if (!DbFileRead(s, 0, SectorSize)) return false;
    if (D4GetLong(s + CrMagic) != CommitMagic || GetQuad(s + CrCheck) != D4Hash64(s, CrCheck, CommitMagic)) return true;
    uint16_t count = D4GetWord(s + CrRunCount);
    if (count > CrRunMax) return false;
    for (uint16_t i = 0; i < count; i++) {
        uint32_t first = D4GetLong(s + CrRuns + CrRunSize * i);
        uint16_t n = D4GetWord(s + CrRuns + CrRunSize * i + 4);
        for (uint32_t k = 0; k < n; k++) sectors->push_back(first + k * SectorSize);
    }
    return true;
}
