// fuzz_bmp.cpp - fuzz target over the picture-file reader: the input is a
// picture file. ReadBmpFile must refuse it or give a block that the
// platform accepts and that draws into a 16 x 16 context; nothing may read
// outside the file or the block, and nothing may be left allocated. The
// sanitizers and the checks below catch it.
#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/bmp_file.h"
#include "core/memblock.h"
#include "tests/core/bmp_writer.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

// Five small well-formed files, one of each depth the reader takes (1, 4,
// 8, 24 and 32 bits; the 4-bit one with a short table, the 8-bit one
// top-down), for the corpus and the replay's mutations.
std::vector<std::vector<uint8_t>> BmpFuzzSeeds() {
    std::vector<std::vector<uint8_t>> seeds;
    for (uint16_t bits : {1, 4, 8, 24, 32}) {
        BmpShape s;
        s.bits = bits;
        s.width = 6;
        if (bits == 4) s.colorsUsed = 5;
        if (bits == 8) s.height = -3;
        seeds.push_back(BmpWrite(s));
    }
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;   // a memory stream cannot be empty; the reader's tests cover an empty file
    uint32_t blocks = MemBlockCount();
    std::vector<uint8_t> bytes(data, data + size);
    FILE *file = fmemopen(bytes.data(), size, "rb");
    Check(file != nullptr);
    MemBlock dib = ReadBmpFile(file);
    std::fclose(file);
    if (dib != 0) {
        const uint8_t *p = MemLock(dib);
        PlDib view;
        Check(PackedDibView(p, MemSize(dib), &view));
        Check(MemSize(dib) <= size + 40 + 1024);   // never more than the file gave, plus the table
        cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 16, 16);
        DrawContext *dc = DcCreate(surface, 0, 0, nullptr, 0);
        Check(dc != nullptr);
        Check(StretchDibInRect(dc, PlRect{0, 0, 16, 16}, p, MemSize(dib), 0));
        DcDestroy(dc);
        cairo_surface_destroy(surface);
        MemUnlock(dib);
        MemFree(&dib);
    }
    Check(MemBlockCount() == blocks);
    return 0;
}
