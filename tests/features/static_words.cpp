// static_words.cpp - the test program's static words that point into its
// image, read from its program headers, and the words of the tables its
// static vectors hold (see static_words.h).
#include "tests/features/static_words.h"

#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

struct Range {
    uintptr_t begin = 0, end = 0;
    bool Holds(uintptr_t a) const { return a >= begin && a < end; }
};

// The program's own image: where it was loaded (symbols' addresses are
// the link's plus this bias), where its words may lie (writable, less
// what is read-only after relocation and the lazily bound calls' table)
// and where a pointer into it points (every loaded segment; code in the
// executable ones).
struct Image {
    bool read = false;
    uintptr_t base = 0;
    std::vector<Range> writable, loaded, code;
    Range relro, lazyCalls;
};

// Fills the Image from the first object the loader lists: the program.
int ReadImage(dl_phdr_info *info, size_t, void *data)
{
    Image *image = static_cast<Image *>(data);
    if (image->read) return 1;
    image->read = true;
    const uintptr_t base = image->base = info->dlpi_addr;
    uintptr_t pltGot = 0, pltRelSize = 0;
    for (int i = 0; i < info->dlpi_phnum; i++) {
        const ElfW(Phdr) &p = info->dlpi_phdr[i];
        const Range r{base + p.p_vaddr, base + p.p_vaddr + p.p_memsz};
        if (p.p_type == PT_LOAD) {
            image->loaded.push_back(r);
            if (p.p_flags & PF_W) image->writable.push_back(r);
            if (p.p_flags & PF_X) image->code.push_back(r);
        } else if (p.p_type == PT_GNU_RELRO) {
            image->relro = r;
        } else if (p.p_type == PT_DYNAMIC) {
            for (const ElfW(Dyn) *d = reinterpret_cast<const ElfW(Dyn) *>(r.begin); d->d_tag != DT_NULL; d++) {
                if (d->d_tag == DT_PLTGOT) pltGot = d->d_un.d_ptr;
                if (d->d_tag == DT_PLTRELSZ) pltRelSize = d->d_un.d_val;
            }
        }
    }
    if (pltGot) {
        if (pltGot < base) pltGot += base;
        // Three words of the loader's own, then one a lazily bound call.
        image->lazyCalls = {pltGot, pltGot + (3 + pltRelSize / sizeof(ElfW(Rela))) * sizeof(uintptr_t)};
    }
    return 1;
}

// Read afresh each time: a copy kept in static memory would hold the
// image's own addresses, which a caller may empty.
Image TheImage()
{
    Image image;
    dl_iterate_phdr(ReadImage, &image);
    return image;
}

bool InAny(const std::vector<Range> &ranges, uintptr_t value)
{
    for (const Range &r : ranges)
        if (r.Holds(value)) return true;
    return false;
}

// The process's readable mappings outside the image, in address order:
// where a vector's storage may lie.
std::vector<Range> ReadableElsewhere(const Image &image)
{
    std::vector<Range> ranges;
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        unsigned long long begin = 0, end = 0;
        char perms[5] = {};
        if (std::sscanf(line.c_str(), "%llx-%llx %4s", &begin, &end, perms) != 3 || perms[0] != 'r') continue;
        if (InAny(image.loaded, uintptr_t(begin))) continue;
        ranges.push_back({uintptr_t(begin), uintptr_t(end)});
    }
    std::sort(ranges.begin(), ranges.end(), [](const Range &a, const Range &b) { return a.begin < b.begin; });
    return ranges;
}

// The readable mapping that holds a, or null.
const Range *MappingOf(const std::vector<Range> &ranges, uintptr_t a)
{
    auto after =
        std::upper_bound(ranges.begin(), ranges.end(), a, [](uintptr_t v, const Range &r) { return v < r.begin; });
    if (after == ranges.begin()) return nullptr;
    const Range *r = &*(after - 1);
    return r->Holds(a) ? r : nullptr;
}

constexpr size_t Word = sizeof(uintptr_t);
// A vector's storage larger than this is no table of functions.
constexpr uintptr_t LargestStorage = uintptr_t(1) << 20;

__attribute__((noinline, no_sanitize("address"))) uintptr_t Read(uintptr_t a)
{
    return *reinterpret_cast<const uintptr_t *>(a);
}

// Copies n words from a: the words between globals are the sanitizer's
// red zones, read, never written, here (word by word: a copy routine
// would be the sanitizer's own, which checks them).
__attribute__((noinline, no_sanitize("address"))) void ReadWords(uintptr_t a, size_t n, uintptr_t *out)
{
    const volatile uintptr_t *from = reinterpret_cast<const volatile uintptr_t *>(a);
    for (size_t k = 0; k < n; k++) out[k] = from[k];
}

// What a scan asks of a value: whether it points into the image, and
// into its code. The scan is over every word of a large program, so the
// plain bounds of the image are tested before its segments.
struct Pointing {
    const Image &image;
    uintptr_t low = UINTPTR_MAX, high = 0;
    explicit Pointing(const Image &i) : image(i)
    {
        for (const Range &r : image.loaded) low = std::min(low, r.begin), high = std::max(high, r.end);
    }
    bool IntoImage(uintptr_t v) const { return v >= low && v < high && InAny(image.loaded, v); }
    bool IntoCode(uintptr_t v) const { return v >= low && v < high && InAny(image.code, v); }
};

}  // namespace

// The address sanitizer's allocator, where the test program has it: the
// start of a live allocation, and its size.
extern "C" int __sanitizer_get_ownership(const volatile void *p) __attribute__((weak));
extern "C" size_t __sanitizer_get_allocated_size(const volatile void *p) __attribute__((weak));

namespace {

// The C library's allocator lays the blocks of its main heap (the
// program's break area) end to end from the area's first byte, each
// behind two words: the block before's last word and its own size, whose
// three low bits are flags (bit 0: the block before is in use). A block
// given out holds its size less one word (it lends its last word to the
// next block's first); the heap's last block is what is not given out yet
// and ends at the break.
constexpr uintptr_t BeforeInUse = 1, SizeFlags = 7, LeastBlock = 4 * Word, BlockAlign = 2 * Word;

// Walks the heap from its start, onBlock(start, bytes) for each block in
// use; true only when the walk ends on the break, so that every size word
// read was a block's.
template <typename OnBlock> bool WalkHeap(const Range &heap, OnBlock onBlock)
{
    for (uintptr_t at = heap.begin; at + 2 * Word <= heap.end;) {
        const uintptr_t size = Read(at + Word) & ~SizeFlags;
        if (size < LeastBlock || size % BlockAlign || size > heap.end - at) return false;
        const uintptr_t next = at + size;
        if (next == heap.end) return true;
        if (next + 2 * Word > heap.end) return false;
        if (Read(next + Word) & BeforeInUse) onBlock(at + 2 * Word, size - Word);
        at = next;
    }
    return false;
}

// The first address of the break area from the process's map, read
// without allocating (an allocation may move the break); 0 where there
// is none.
uintptr_t BreakAreaStart()
{
    const int fd = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    char text[8192];
    size_t kept = 0;
    uintptr_t start = 0;
    for (ssize_t n; !start && (n = read(fd, text + kept, sizeof text - 1 - kept)) > 0;) {
        kept += size_t(n);
        text[kept] = 0;
        char *line = text;
        for (char *eol; !start && (eol = std::strchr(line, '\n')); line = eol + 1) {
            *eol = 0;
            unsigned long long begin = 0;
            if (std::strstr(line, "[heap]") && std::sscanf(line, "%llx-", &begin) == 1) start = uintptr_t(begin);
        }
        kept = size_t(text + kept - line);
        std::memmove(text, line, kept);
        if (kept == sizeof text - 1) kept = 0;   // a line longer than the buffer names no heap
    }
    close(fd);
    return start;
}

// Which blocks the program's allocator gave out: asked of the address
// sanitizer's where the program has it, else read off the C library's
// main heap. The blocks of the C library's other heaps (a thread's) and
// those it maps alone (larger than any table) are not known, so a vector
// whose storage lies there is not read; where the heap cannot be read,
// no vector is.
class Allocations {
public:
    Allocations();
    ~Allocations()
    {
        if (blocks) munmap(blocks, mapped);
    }
    Allocations(const Allocations &) = delete;
    Allocations &operator=(const Allocations &) = delete;

    // Why no vector's storage can be told here; empty where it can.
    const std::string &Unknown() const { return unknown; }
    // True when the allocator gave out a block at first that holds
    // capacity - first bytes: a vector's storage is one. Three words
    // that merely look like a vector's (in an array of vectors, one's end
    // of capacity and the next one's first and end) would otherwise take
    // the heap between two storages, and whatever other objects hold
    // there, for one.
    bool OneAllocation(uintptr_t first, uintptr_t capacity) const;

private:
    struct Block {
        uintptr_t start, bytes;
    };
    bool sanitizer = false;
    std::string unknown;
    // The main heap's blocks in use, in address order, in memory mapped
    // for them: an allocation would change the heap they describe.
    Block *blocks = nullptr;
    size_t count = 0, mapped = 0;
};

Allocations::Allocations()
{
    if (__sanitizer_get_ownership && __sanitizer_get_allocated_size) {
        sanitizer = true;
        return;
    }
    // A block given out now must be among those read: else the heap is
    // not laid out as read here.
    constexpr size_t ProbeBytes = 5 * Word;
    void *probe = std::malloc(ProbeBytes);
    const Range heap{BreakAreaStart(), reinterpret_cast<uintptr_t>(sbrk(0))};
    size_t inUse = 0;
    bool whole = heap.begin && heap.begin < heap.end && WalkHeap(heap, [&](uintptr_t, uintptr_t) { inUse++; });
    if (whole) {
        const size_t page = size_t(sysconf(_SC_PAGESIZE));
        mapped = ((inUse + 1) * sizeof(Block) + page - 1) / page * page;
        void *m = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        blocks = m == MAP_FAILED ? nullptr : static_cast<Block *>(m);
        // Read again into the mapped memory: another thread may have
        // changed the heap meanwhile.
        whole = blocks && WalkHeap(heap, [&](uintptr_t start, uintptr_t bytes) {
                    if (count < inUse) blocks[count] = {start, bytes};
                    count++;
                }) && count == inUse;
    }
    const bool probeFound = whole && OneAllocation(reinterpret_cast<uintptr_t>(probe),
                                                   reinterpret_cast<uintptr_t>(probe) + ProbeBytes);
    std::free(probe);
    if (!probeFound) {
        count = 0;
        unknown = "no static vector's storage can be told from the heap around it: the allocator is not the "
                  "address sanitizer's, and a block just given out was not found in the C library's main heap "
                  "read block by block";
    }
}

bool Allocations::OneAllocation(uintptr_t first, uintptr_t capacity) const
{
    if (sanitizer) {
        const void *p = reinterpret_cast<const void *>(first);
        return __sanitizer_get_ownership(p) && __sanitizer_get_allocated_size(p) >= capacity - first;
    }
    const Block *begin = blocks, *end = blocks + count;
    const Block *b = std::lower_bound(begin, end, first, [](const Block &k, uintptr_t a) { return k.start < a; });
    return b != end && b->start == first && b->bytes >= capacity - first;
}

// The storage of a vector whose three words in static memory are first,
// end and end of capacity, or an empty range where they are no vector's:
// they must point in this order into one readable mapping outside the
// image, within a storage of a table's size that the allocator gave out
// whole.
Range VectorStorage(const std::vector<Range> &elsewhere, const Allocations &allocations, uintptr_t first,
                    uintptr_t end, uintptr_t capacity)
{
    if (first == 0 || first % Word || end % Word || first > end || end > capacity || capacity - first > LargestStorage)
        return {};
    const Range *m = MappingOf(elsewhere, first);
    if (!m || capacity > m->end || !allocations.OneAllocation(first, capacity)) return {};
    return {first, end};
}

// The stretches of static memory a scan reads: the writable segments less
// the parts the loader made read-only and the lazily bound calls' table.
std::vector<Range> Stretches(const Image &image)
{
    std::vector<Range> stretches;
    for (const Range &r : image.writable) {
        std::vector<Range> parts{{(r.begin + Word - 1) & ~(Word - 1), r.end & ~(Word - 1)}};
        for (const Range &cut : {image.relro, image.lazyCalls}) {
            std::vector<Range> kept;
            for (const Range &p : parts) {
                if (cut.end <= p.begin || cut.begin >= p.end) {
                    kept.push_back(p);
                    continue;
                }
                if (cut.begin > p.begin) kept.push_back({p.begin, cut.begin & ~(Word - 1)});
                if (cut.end < p.end) kept.push_back({(cut.end + Word - 1) & ~(Word - 1), p.end});
            }
            parts = kept;
        }
        for (const Range &p : parts)
            if (p.begin < p.end) stretches.push_back(p);
    }
    return stretches;
}

// One pass over static memory: onWord(address, value) for every word, in
// address order, read a piece at a time, and onHeld(word) for every
// pointer into the image that a static vector's storage holds.
template <typename OnWord, typename OnHeld>
void Scan(const Image &image, const Pointing &pointing, OnWord onWord, OnHeld onHeld)
{
    const Allocations allocations;
    const std::vector<Range> elsewhere = ReadableElsewhere(image);
    std::vector<uintptr_t> piece(1 << 16);
    for (const Range &r : Stretches(image)) {
        // The two words before the one read, for a vector's three.
        uintptr_t before[2] = {0, 0};
        for (uintptr_t at = r.begin; at < r.end; at += piece.size() * Word) {
            const size_t n = std::min(piece.size(), size_t((r.end - at) / Word));
            ReadWords(at, n, piece.data());
            for (size_t k = 0; k < n; k++) {
                const uintptr_t a = at + k * Word, value = piece[k];
                onWord(a, value);
                if (before[0] && before[0] <= before[1] && before[1] <= value && a - 2 * Word >= r.begin) {
                    const Range storage = VectorStorage(elsewhere, allocations, before[0], before[1], value);
                    for (uintptr_t s = storage.begin; s < storage.end; s += Word)
                        if (const uintptr_t held = Read(s); pointing.IntoImage(held))
                            onHeld(StaticWord{s, held, a - 2 * Word, (s - storage.begin) / Word});
                }
                before[0] = before[1];
                before[1] = value;
            }
        }
    }
}

}  // namespace

bool StaticVectorsReadable(std::string *why)
{
    const Allocations allocations;
    if (why) *why = allocations.Unknown();
    return allocations.Unknown().empty();
}

StaticMemory StaticMemoryNow()
{
    StaticMemory memory;
    const Image image = TheImage();
    const Pointing pointing(image);
    size_t count = 0;
    for (const Range &r : Stretches(image)) count += (r.end - r.begin) / Word;
    memory.words.reserve(count);
    Scan(
        image, pointing, [&](uintptr_t, uintptr_t value) { memory.words.push_back(value); },
        [&](const StaticWord &w) { memory.held[StaticWordPlace(w)] = w.value; });
    return memory;
}

std::vector<StaticWord> StaticPointerWordsChangedSince(const StaticMemory &before)
{
    std::vector<StaticWord> changed;
    const Image image = TheImage();
    const Pointing pointing(image);
    size_t i = 0;
    Scan(
        image, pointing,
        [&](uintptr_t a, uintptr_t value) {
            const bool differs = i >= before.words.size() || before.words[i] != value;
            i++;
            if (differs && pointing.IntoImage(value)) changed.push_back({a, value, 0, 0});
        },
        [&](const StaticWord &w) {
            const auto was = before.held.find(StaticWordPlace(w));
            if (was == before.held.end() || was->second != w.value) changed.push_back(w);
        });
    return changed;
}

std::vector<StaticWord> StaticFunctionWords()
{
    std::vector<StaticWord> words;
    const Image image = TheImage();
    const Pointing pointing(image);
    Scan(
        image, pointing,
        [&](uintptr_t a, uintptr_t value) {
            if (pointing.IntoCode(value)) words.push_back({a, value, 0, 0});
        },
        [&](const StaticWord &w) {
            if (pointing.IntoCode(w.value)) words.push_back(w);
        });
    return words;
}

std::pair<uintptr_t, size_t> StaticWordPlace(const StaticWord &w)
{
    return w.vector ? std::pair{w.vector, w.slot + 1} : std::pair{w.address, size_t(0)};
}

namespace {

// The address of w's place now: through its vector, whose storage may
// have moved; 0 for a slot past the vector's end.
uintptr_t PlaceNow(const StaticWord &w)
{
    if (!w.vector) return w.address;
    const uintptr_t first = Read(w.vector), end = Read(w.vector + Word);
    const uintptr_t a = first + w.slot * Word;
    return first && a + Word <= end ? a : 0;
}

}  // namespace

uintptr_t StaticWordAt(const StaticWord &w)
{
    const uintptr_t a = PlaceNow(w);
    return a ? Read(a) : 0;
}

__attribute__((noinline, no_sanitize("address"))) void StaticWordSet(const StaticWord &w, uintptr_t value)
{
    if (const uintptr_t a = PlaceNow(w)) *reinterpret_cast<uintptr_t *>(a) = value;
}

std::vector<std::string> StaticWordNames(const std::vector<StaticWord> &words)
{
    // Each word is named by the static symbol that holds it, or its vector.
    std::vector<std::string> names;
    for (const StaticWord &w : words) {
        std::ostringstream hex;
        hex << "0x" << std::hex << (w.vector ? w.vector : w.address);
        names.push_back(hex.str());
    }
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0 || words.empty()) return names;
    exe[n] = 0;
    // nm gives the link's addresses: the image was loaded that much higher.
    const uintptr_t base = TheImage().base;
    FILE *p = popen(("nm -S -C --defined-only '" + std::string(exe) + "' 2>/dev/null").c_str(), "r");
    if (!p) return names;
    char line[4096];
    while (std::fgets(line, sizeof line, p)) {
        unsigned long long at = 0, size = 0;
        char type = 0;
        int used = 0;
        if (std::sscanf(line, "%llx %llx %c %n", &at, &size, &type, &used) < 3 || used == 0) continue;
        std::string name(line + used);
        if (!name.empty() && name.back() == '\n') name.pop_back();
        for (size_t i = 0; i < words.size(); i++) {
            const uintptr_t a = (words[i].vector ? words[i].vector : words[i].address) - base;
            if (a < at || a >= at + size) continue;
            names[i] = name + "+" + std::to_string(a - at);
            if (words[i].vector) names[i] += "[" + std::to_string(words[i].slot) + "]";
        }
    }
    pclose(p);
    return names;
}
