// static_words.cpp - the test program's static words that point into its
// image, read from its program headers (see static_words.h).
#include "tests/features/static_words.h"

#include <elf.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <vector>

namespace {

struct Range {
    uintptr_t begin = 0, end = 0;
    bool Holds(uintptr_t a) const { return a >= begin && a < end; }
};

// The program's own image: where its words may lie (writable, less what
// is read-only after relocation and the lazily bound calls' table) and
// where a pointer into it points (every loaded segment).
struct Image {
    bool read = false;
    std::vector<Range> writable, loaded;
    Range relro, lazyCalls;
};

// Fills the Image from the first object the loader lists: the program.
int ReadImage(dl_phdr_info *info, size_t, void *data)
{
    Image *image = static_cast<Image *>(data);
    if (image->read) return 1;
    image->read = true;
    const uintptr_t base = info->dlpi_addr;
    uintptr_t pltGot = 0, pltRelSize = 0;
    for (int i = 0; i < info->dlpi_phnum; i++) {
        const ElfW(Phdr) &p = info->dlpi_phdr[i];
        const Range r{base + p.p_vaddr, base + p.p_vaddr + p.p_memsz};
        if (p.p_type == PT_LOAD) {
            image->loaded.push_back(r);
            if (p.p_flags & PF_W) image->writable.push_back(r);
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

bool PointsIntoImage(const Image &image, uintptr_t value)
{
    for (const Range &r : image.loaded)
        if (r.Holds(value)) return true;
    return false;
}

}  // namespace

// The words between globals are the sanitizer's red zones: read, never
// written, here. The scan is over every word of a large program, so it
// tests the plain bounds of the image before its segments.
__attribute__((no_sanitize("address"))) std::vector<StaticWord> StaticPointerWords()
{
    std::vector<StaticWord> words;
    const Image image = TheImage();
    uintptr_t low = UINTPTR_MAX, high = 0;
    for (const Range &r : image.loaded) low = std::min(low, r.begin), high = std::max(high, r.end);
    for (const Range &r : image.writable) {
        for (uintptr_t a = (r.begin + sizeof(uintptr_t) - 1) & ~(sizeof(uintptr_t) - 1); a + sizeof(uintptr_t) <= r.end;
             a += sizeof(uintptr_t)) {
            const uintptr_t value = *reinterpret_cast<const uintptr_t *>(a);
            if (value < low || value >= high || !PointsIntoImage(image, value)) continue;
            if (image.relro.Holds(a) || image.lazyCalls.Holds(a)) continue;
            words.push_back({a, value});
        }
    }
    return words;
}

__attribute__((no_sanitize("address"))) void StaticWordSet(uintptr_t address, uintptr_t value)
{
    *reinterpret_cast<uintptr_t *>(address) = value;
}

__attribute__((no_sanitize("address"))) uintptr_t StaticWordAt(uintptr_t address)
{
    return *reinterpret_cast<const uintptr_t *>(address);
}

std::map<uintptr_t, std::string> StaticWordNames(const std::vector<uintptr_t> &addresses)
{
    std::map<uintptr_t, std::string> names;
    for (uintptr_t a : addresses) {
        std::ostringstream hex;
        hex << "0x" << std::hex << a;
        names[a] = hex.str();
    }
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0 || addresses.empty()) return names;
    exe[n] = 0;
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
        for (uintptr_t a : addresses)
            if (a >= at && a < at + size) names[a] = name + "+" + std::to_string(a - at);
    }
    pclose(p);
    return names;
}
