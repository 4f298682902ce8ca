// static_words.cpp - the test program's static words that point into its
// image, read from its program headers, and the words of the tables its
// static vectors hold (see static_words.h).
#include "tests/features/static_words.h"

#include <elf.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
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

// True when the allocator (where the program has the sanitizer's) gave
// out a block at first that holds capacity - first bytes: a vector's
// storage is one. Three words that merely look like a vector's (in an
// array of vectors, one's end of capacity and the next one's first and
// end) would otherwise take the heap between two storages, and whatever
// other objects hold there, for one.
bool OneAllocation(uintptr_t first, uintptr_t capacity)
{
    if (!__sanitizer_get_ownership || !__sanitizer_get_allocated_size) return true;
    const void *p = reinterpret_cast<const void *>(first);
    return __sanitizer_get_ownership(p) && __sanitizer_get_allocated_size(p) >= capacity - first;
}

// The storage of a vector whose three words in static memory are first,
// end and end of capacity, or an empty range where they are no vector's:
// they must point in this order into one readable mapping outside the
// image, within a storage of a table's size that the allocator gave out
// whole.
Range VectorStorage(const std::vector<Range> &elsewhere, uintptr_t first, uintptr_t end, uintptr_t capacity)
{
    if (first == 0 || first % Word || end % Word || first > end || end > capacity || capacity - first > LargestStorage)
        return {};
    const Range *m = MappingOf(elsewhere, first);
    if (!m || capacity > m->end || !OneAllocation(first, capacity)) return {};
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
                    const Range storage = VectorStorage(elsewhere, before[0], before[1], value);
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
