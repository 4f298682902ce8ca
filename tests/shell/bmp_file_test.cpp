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
#include <tuple>
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
#include "tests/output/test_job.h"
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
void ExpectDrawnTwice(const BmpShape &s, MemBlock h)
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

TEST(BmpFile, EveryDepthAndHeaderReadsIntoItsPackedLayoutAndDrawsPixelForPixel)
{
    struct Case {
        BmpShape spec;
        uint32_t colors, table, size;   // the colours field, the table's bytes, the block's size
    };
    // Widths that leave row padding; one top-down picture; 12 colours of
    // 16; colours-used 0 at 8 bits taking 256; rows beyond one read piece;
    // the longer headers stored as 40 bytes, their rows behind a gap and a
    // stored image size larger than the rows.
    const Case cases[] = {
        {{.width = 11, .bits = 1}, 2, 8, 40 + 8 + 3 * 4},
        {{.width = 7, .bits = 4, .colorsUsed = 12}, 12, 48, 40 + 48 + 3 * 4},
        {{.height = -4}, 256, 1024, 40 + 1024 + 4 * 8},
        {{.width = 3, .bits = 24}, 0, 0, 40 + 3 * 12},
        {{.bits = 32}, 0, 0, 40 + 3 * 20},
        {{.width = 300, .height = 60, .bits = 24}, 0, 0, 40 + 60 * 900},
        {{.bits = 4, .headerSize = 108, .imageSizeField = 1000, .gap = 6}, 16, 64, 40 + 64 + 3 * 4},
        {{.bits = 4, .headerSize = 124, .imageSizeField = 1000, .gap = 6}, 16, 64, 40 + 64 + 3 * 4},
    };
    uint32_t blocks = MemBlockCount();
    for (const Case &c : cases) {
        MemBlock h = ReadBytes(BmpWrite(c.spec));
        ASSERT_NE(h, 0u) << c.spec.bits << " bits, header " << c.spec.headerSize;
        uint8_t *p = MemLock(h);
        EXPECT_EQ(GetU32(p), BmpInfoHeaderSize);
        EXPECT_EQ(std::tuple(GetU32(p, 32), DibColorCount(p), DibPaletteSize(p), MemSize(h)),
                  std::tuple(c.colors, c.colors, c.table, c.size))
            << c.spec.bits << " bits, header " << c.spec.headerSize;
        EXPECT_EQ(DibBits(p) + GetU32(p, 20), p + MemSize(h)) << "the rows end the block";
        MemUnlock(h);
        ExpectDrawnTwice(c.spec, h);
        MemFree(&h);
    }
    EXPECT_EQ(MemBlockCount(), blocks);

    // The older 12-byte header: three bytes a colour.
    uint8_t core[12] = {12, 0, 0, 0, 4, 0, 4, 0, 1, 0, 4, 0};
    EXPECT_EQ(DibColorCount(core), 16u);
    EXPECT_EQ(DibPaletteSize(core), 48u);
}

TEST(BmpFile, FilesThatLieAreRefusedWithoutALeak)
{
    struct Case {
        const char *what;
        BmpShape spec;
        size_t cut = 0;          // bytes dropped from the end
        int pokeAt = -1;         // a u32 written over the file there
        uint32_t poke = 0;
    };
    const Case cases[] = {
        {"the 12-byte header", {.headerSize = 12}},
        {"a wrong magic", {.magic = 0x4142}},
        {"truncated rows", {}, 1},
        {"a file ending in the table", {}, 24 + 500},
        {"colours used 5000", {.colorsUsed = 5000, .tableEntries = 2}},
        {"a table at 24 bits", {.bits = 24, .colorsUsed = 2}},
        {"an image size below the rows", {.imageSizeField = 10}},
        {"a bits offset beyond the file", {.bitsOffset = 5000}},
        {"a bits offset inside the headers", {.bitsOffset = 20}},
        {"16 bits", {.bits = 16}},
        {"compression 1", {.compression = 1}},
        {"height 0", {.height = 0}},
        {"a negative width", {}, 0, 18, uint32_t(-5)},
        {"the lowest height", {}, 0, 22, 0x80000000u},
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
    BmpShape s;
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
    BmpShape s;
    s.width = 9;
    std::vector<uint8_t> bytes = BmpWrite(s);
    std::filesystem::path good = out.path / "logo.bmp", bad = out.path / "damaged.bmp";
    std::ofstream(good, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    std::ofstream(bad, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()), 30);

    // A document on the printer with an open page; the picture's rectangle
    // (top, left, bottom, right in points) as a picture element gives it.
    ASSERT_NE(LoggedInUser, nullptr);
    PutU16(TestJob, ReportParamsVc::OutputKind, 1);
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
