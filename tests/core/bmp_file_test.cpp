// Picture files: every depth read and drawn pixel for pixel, the packed
// block's layout, files that lie about themselves refused without a leak,
// the square of keep 0, a picture file handed to the output job, and the
// program's logo in the About window.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/bmp_file.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/output_job.h"
#include "output/printer.h"
#include "platform/logo_bitmap.h"
#include "platform/script.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/shell.h"
#include "shell/window_drawing.h"
#include "shell/window_table.h"
#include "tests/core/bmp_writer.h"
#include "tests/output/output_fixture.h"
#include "tests/shell/record_fixture.h"

namespace {

// Reads bytes as a picture file through a memory stream.
MemBlock ReadBytes(std::vector<uint8_t> bytes)
{
    FILE *f = fmemopen(bytes.data(), bytes.size(), "rb");
    if (!f) return 0;
    MemBlock h = ReadBmpFile(f);
    std::fclose(f);
    return h;
}

// An RGB24 surface of w x h filled grey, with a context on it.
struct Canvas {
    cairo_surface_t *surface;
    DrawContext *dc;
    Canvas(int w, int h)
    {
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
        dc = DcCreate(surface, 0, 0, nullptr, 0);
        DcFillRect(dc, PlRect{0, 0, w, h}, kPlBrushGrey);
    }
    ~Canvas()
    {
        DcDestroy(dc);
        cairo_surface_destroy(surface);
    }
    PlColor At(int x, int y) const { return PlSurfacePixel(surface, x, y); }
};

// Draws a packed block twice its size at (0, 0) and compares every pixel
// with what the written file holds.
void ExpectDrawnTwice(const BmpSpec &s, MemBlock h)
{
    int rows = s.height < 0 ? -s.height : s.height;
    Canvas c(2 * s.width, 2 * rows);
    ASSERT_TRUE(StretchDibInRect(c.dc, PlRect{0, 0, 2 * s.width, 2 * rows}, MemLock(h), MemSize(h), 1));
    MemUnlock(h);
    for (int y = 0; y < 2 * rows; y++)
        for (int x = 0; x < 2 * s.width; x++)
            ASSERT_EQ(c.At(x, y), BmpTestShown(s, x / 2, y / 2)) << s.bits << " bits at " << x << "," << y;
}

}  // namespace

TEST(BmpFile, EveryDepthReadsAndDrawsPixelForPixel)
{
    uint32_t blocks = MemBlockCount();
    // Widths that leave row padding; one top-down picture; 12 colours of 16.
    std::vector<BmpSpec> specs(6);
    specs[0].bits = 1, specs[0].width = 11;
    specs[1].bits = 4, specs[1].width = 7, specs[1].colorsUsed = 12;
    specs[2].bits = 8, specs[2].height = -4;
    specs[3].bits = 24, specs[3].width = 3;
    specs[4].bits = 32;
    specs[5].bits = 24, specs[5].width = 300, specs[5].height = 60;   // rows beyond one read piece
    for (const BmpSpec &s : specs) {
        MemBlock h = ReadBytes(BmpWrite(s));
        ASSERT_NE(h, 0u) << s.bits << " bits";
        uint8_t *p = MemLock(h);
        EXPECT_EQ(GetU32(p), BmpInfoHeaderSize);
        EXPECT_EQ(GetU32(p, 20), BmpRowBytes(s) * uint32_t(s.height < 0 ? -s.height : s.height));
        EXPECT_EQ(DibBits(p) + GetU32(p, 20), p + MemSize(h)) << "the rows end the block";
        MemUnlock(h);
        ExpectDrawnTwice(s, h);
        MemFree(&h);
    }
    EXPECT_EQ(MemBlockCount(), blocks);
}

TEST(BmpFile, PackedBlockLayout)
{
    // 8 bits with colours-used 0: the field becomes 256, the table 1024 bytes.
    BmpSpec eight;
    MemBlock h = ReadBytes(BmpWrite(eight));
    ASSERT_NE(h, 0u);
    uint8_t *p = MemLock(h);
    EXPECT_EQ(GetU32(p, 32), 256u);
    EXPECT_EQ(DibColorCount(p), 256u);
    EXPECT_EQ(DibPaletteSize(p), 1024u);
    EXPECT_EQ(DibBits(p), p + 40 + 1024);
    MemUnlock(h);
    MemFree(&h);

    // Width 3 at 24 bits: rows of 12 bytes, no table.
    BmpSpec narrow;
    narrow.bits = 24, narrow.width = 3, narrow.height = 2;
    h = ReadBytes(BmpWrite(narrow));
    ASSERT_NE(h, 0u);
    p = MemLock(h);
    EXPECT_EQ(DibPaletteSize(p), 0u);
    EXPECT_EQ(MemSize(h), 40u + 2 * 12);
    MemUnlock(h);
    MemFree(&h);

    // The longer headers keep their first 40 bytes, stored as a 40-byte
    // header, with the table and the rows where the file had them (here
    // behind a gap the bits offset skips) and a stored image size larger
    // than the rows taken as the rows' size.
    for (uint32_t size : {108u, 124u}) {
        BmpSpec longer;
        longer.headerSize = size, longer.bits = 4, longer.gap = 6, longer.imageSizeField = 1000;
        h = ReadBytes(BmpWrite(longer));
        ASSERT_NE(h, 0u) << size;
        p = MemLock(h);
        EXPECT_EQ(GetU32(p), 40u);
        EXPECT_EQ(GetU32(p, 20), BmpRowBytes(longer) * 3);
        MemUnlock(h);
        ExpectDrawnTwice(longer, h);
        MemFree(&h);
    }

    // The older 12-byte header: three bytes a colour.
    uint8_t core[12] = {12, 0, 0, 0, 4, 0, 4, 0, 1, 0, 4, 0};
    EXPECT_EQ(DibColorCount(core), 16u);
    EXPECT_EQ(DibPaletteSize(core), 48u);
}

TEST(BmpFile, FilesThatLieAreRefusedWithoutALeak)
{
    struct Case {
        const char *what;
        BmpSpec spec;
        size_t cut = 0;          // bytes dropped from the end
        int pokeAt = -1;         // a u32 written over the file there
        uint32_t poke = 0;
    };
    auto make = [](auto change) {
        BmpSpec s;
        change(s);
        return s;
    };
    std::vector<Case> cases = {
        {"the 12-byte header", make([](BmpSpec &s) { s.headerSize = 12; }), 0},
        {"a wrong magic", make([](BmpSpec &s) { s.magic = 0x4142; }), 0},
        {"truncated rows", make([](BmpSpec &) {}), 1},
        {"a file ending in the table", make([](BmpSpec &) {}), 24 + 500},
        {"colours used 5000", make([](BmpSpec &s) { s.colorsUsed = 5000; s.tableEntries = 2; }), 0},
        {"a table at 24 bits", make([](BmpSpec &s) { s.bits = 24; s.colorsUsed = 2; }), 0},
        {"an image size below the rows", make([](BmpSpec &s) { s.imageSizeField = 10; }), 0},
        {"a bits offset beyond the file", make([](BmpSpec &s) { s.bitsOffset = 5000; }), 0},
        {"a bits offset inside the headers", make([](BmpSpec &s) { s.bitsOffset = 20; }), 0},
        {"16 bits", make([](BmpSpec &s) { s.bits = 16; }), 0},
        {"compression 1", make([](BmpSpec &s) { s.compression = 1; }), 0},
        {"height 0", make([](BmpSpec &s) { s.height = 0; }), 0},
        {"a negative width", make([](BmpSpec &) {}), 0, 18, uint32_t(-5)},
        {"the lowest height", make([](BmpSpec &) {}), 0, 22, 0x80000000u},
    };
    uint32_t blocks = MemBlockCount();
    for (const Case &c : cases) {
        std::vector<uint8_t> bytes = BmpWrite(c.spec);
        bytes.resize(bytes.size() - c.cut);
        if (c.pokeAt >= 0) BmpPut(bytes, size_t(c.pokeAt), c.poke, 4);
        EXPECT_EQ(ReadBytes(bytes), 0u) << c.what;
    }
    EXPECT_EQ(ReadBytes({}), 0u) << "an empty file";
    EXPECT_EQ(ReadBytes({'B', 'M', 0}), 0u) << "a short file header";
    EXPECT_EQ(ReadBmpFile(nullptr), 0u);
    EXPECT_EQ(MemBlockCount(), blocks);

    // A block that is no packed bitmap is not drawn.
    Canvas c(8, 8);
    std::vector<uint8_t> block(60, 0);
    EXPECT_FALSE(StretchDibInRect(c.dc, PlRect{0, 0, 8, 8}, block.data(), uint32_t(block.size()), 1));
    EXPECT_EQ(c.At(0, 0), kPlGrey);
}

TEST(BmpFile, KeepZeroDrawsASquareOfTheSmallerSide)
{
    BmpSpec s;
    s.bits = 24, s.width = 2, s.height = 2;
    MemBlock h = ReadBytes(BmpWrite(s));
    ASSERT_NE(h, 0u);
    uint8_t *p = MemLock(h);
    Canvas square(120, 50), whole(120, 50);
    EXPECT_TRUE(StretchDibInRect(square.dc, PlRect{0, 0, 100, 40}, p, MemSize(h), 0));
    EXPECT_TRUE(StretchDibInRect(whole.dc, PlRect{0, 0, 100, 40}, p, MemSize(h), 1));
    EXPECT_FALSE(StretchDibInRect(square.dc, PlRect{10, 10, 10, 30}, p, MemSize(h), 0)) << "an empty rectangle";
    MemUnlock(h);
    MemFree(&h);
    EXPECT_EQ(square.At(39, 39), BmpTestShown(s, 1, 1));
    EXPECT_EQ(square.At(40, 0), kPlGrey);
    EXPECT_EQ(square.At(0, 40), kPlGrey);
    EXPECT_EQ(whole.At(99, 39), BmpTestShown(s, 1, 1));
    EXPECT_EQ(whole.At(100, 0), kPlGrey);
}

namespace {
class PictureFile : public RecordFixture {};
}  // namespace

TEST_F(PictureFile, OnlyAReadablePictureFileReachesThePrintedPageAndItsBlockIsFreed)
{
    TempPrintDir out;
    BmpSpec s;
    s.width = 9;
    std::vector<uint8_t> bytes = BmpWrite(s);
    std::filesystem::path good = out.path / "logo.bmp", bad = out.path / "damaged.bmp";
    std::ofstream(good, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    std::ofstream(bad, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()), 30);

    // A document on the printer with an open page; the picture's rectangle
    // (top, left, bottom, right in points) as a picture element gives it.
    ASSERT_NE(ReportParams, nullptr);
    PutU16(ReportParams, ReportParamsVc::OutputKind, 1);
    PlPrintChoice choice;
    choice.fileName = (out.path / "pictures.pdf").string();
    ScriptAnswerPrint(true, choice);
    uint8_t title[] = "\x08Pictures";
    ASSERT_EQ(PrintJobStartDoc(0, 1, title), 1);
    PrinterStartPage();
    uint8_t rect[4 * sizeof(PackedDecimal)];
    const int32_t corners[4] = {100, 100, 200, 300};
    for (int i = 0; i < 4; i++) {
        PackedDecimal d;
        DecFromLong(&d, corners[i]);
        PutDec(rect, size_t(i) * sizeof(PackedDecimal), d);
    }
    uint32_t blocks = MemBlockCount();
    uint8_t name[256];
    for (const std::filesystem::path &path : {good, bad, out.path / "missing.bmp"}) {
        PStringFromC(name, path.c_str());
        DrawBitmapFile(name, rect, 0);
    }
    EXPECT_EQ(MemBlockCount(), blocks) << "the block is freed after the job drew it";
    EXPECT_EQ(OutputJobState.stopFlag, 0) << "an unreadable file stops no job";
    PrintJobEnd();

    std::ifstream in(choice.fileName, std::ios::binary);
    std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t images = 0;
    for (size_t at = pdf.find("/Subtype /Image"); at != std::string::npos; at = pdf.find("/Subtype /Image", at + 1))
        images++;
    EXPECT_EQ(images, 1u) << "only the readable file is printed";
}

namespace {
class AboutLogo : public RecordFixture {};
}  // namespace

TEST_F(AboutLogo, DrawnAtThreeThreeAboveTheTexts)
{
    for (int n : {1, 3}) {
        std::span<const uint8_t> r = PlBitmapResource(n);
        PlDib view;
        ASSERT_TRUE(PackedDibView(r.data(), uint32_t(r.size()), &view)) << n;
        EXPECT_EQ(view.header.bitCount, 8);
        EXPECT_LE(view.header.height, 24) << "it ends above the texts at y 40";
    }
    EXPECT_TRUE(PlBitmapResource(2).empty());

    int n = Open(18);
    ASSERT_GT(n, 0);
    StartupFlag = 0;
    uint32_t child = WinTable[n]->mdiChild;
    bool compact = CompactVariant;
    for (int pass = 0; pass < 2; pass++, CompactVariant = !CompactVariant) {
        SetPortWindow(n);
        WinPaintFrame(n);
        WinPaintContents(n);
        SetPortWindow(0);
        if (pass == 0) {
            EXPECT_TRUE(WinSavePng(child, (home / "about_logo.png").string()));
        }
        std::span<const uint8_t> logo = PlBitmapResource(CompactVariant ? 3 : 1);
        PlDib view;
        ASSERT_TRUE(PackedDibView(logo.data(), uint32_t(logo.size()), &view));
        int side = view.header.width;
        // The logo's corners stand at (3, 3) and (3 + side - 1, 3 + side - 1)
        // in the ground colour of its table, the window's own background
        // around them.
        PlColor ground = PlRgb(view.palette[2], view.palette[1], view.palette[0]);
        EXPECT_EQ(WinClientPixel(child, 3, 3), ground) << "compact " << CompactVariant;
        EXPECT_EQ(WinClientPixel(child, 2 + side, 2 + side), ground) << "compact " << CompactVariant;
        EXPECT_NE(WinClientPixel(child, 2, 2), ground);
        EXPECT_NE(WinClientPixel(child, 3 + side, 3), ground) << "compact " << CompactVariant;
    }
    CompactVariant = compact;
}
