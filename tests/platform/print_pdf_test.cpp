// Printing: a PDF job's device (resolution, page sizes, page brackets), the
// file it writes (page size, page count, embedded font and the characters its
// text uses, the picture), unique job names, abort, and the character ports.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/bitmap.h"
#include "platform/font.h"
#include "platform/print.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

int CountOf(const std::string &hay, const std::string &needle)
{
    int n = 0;
    for (size_t at = hay.find(needle); at != std::string::npos; at = hay.find(needle, at + 1)) n++;
    return n;
}

// The character codes a simple font of the file draws: /FirstChar and the
// non-zero entries of its /Widths array (cairo writes one simple font per
// subset, with zero widths for unused codes).
std::set<int> UsedCodes(const std::string &pdf)
{
    std::set<int> codes;
    size_t at = pdf.find("/FirstChar");
    size_t w = pdf.find("/Widths [", at);
    if (at == std::string::npos || w == std::string::npos) return codes;
    int code = std::stoi(pdf.substr(at + 10, 12));
    std::istringstream in(pdf.substr(w + 9, pdf.find(']', w) - (w + 9)));
    for (int width; in >> width; code++)
        if (width != 0) codes.insert(code);
    return codes;
}

struct TempDir {
    fs::path path = fs::temp_directory_path() / ("orvel_print_" + std::to_string(::getpid()));
    TempDir() { fs::remove_all(path); }
    ~TempDir() { fs::remove_all(path); }
};

}  // namespace

TEST(PrintPdf, DeviceAndPages)
{
    TempDir tmp;
    PlPrintSettings st;
    st.directory = (tmp.path / "out").string();
    PlPrintJob *job = PrintStartDoc(st, "Invoice 12");
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(PrintDpiX(job), 300);
    EXPECT_EQ(PrintPageSize(job).cx, 2480);
    EXPECT_EQ(PrintPageSize(job).cy, 3508);
    EXPECT_EQ(PrintJobPath(job), (tmp.path / "out" / "Invoice_12-1.pdf").string());
    EXPECT_EQ(PrintPageDc(job), nullptr);
    EXPECT_FALSE(PrintEndPage(job));

    ASSERT_TRUE(PrintStartPage(job));
    EXPECT_FALSE(PrintStartPage(job));
    DrawContext *dc = PrintPageDc(job);
    ASSERT_NE(dc, nullptr);
    EXPECT_FALSE(DcIsRaster(dc));
    PlRect box = DcClipBox(dc);
    EXPECT_TRUE(PlRectEqual(box, PlRect{0, 0, 2480, 3508})) << box.left << " " << box.top << " " << box.right << " " << box.bottom;
    PlFont *font = FontCreate("Times New Roman", 42, 400, false);  // 10 points at 300 dpi
    ASSERT_NE(font, nullptr);
    DcSelectFont(dc, font);
    DcSetBkMode(dc, PlBkMode::Transparent);
    DcTextOut(dc, 300, 300, "Hello Orvel");
    DcMoveTo(dc, 300, 400);
    DcLineTo(dc, 2000, 400);
    std::vector<uint8_t> bits = {255, 0, 0, 0, 0, 255, 0, 0, 0, 255, 0, 255, 255, 255, 0, 0};
    EXPECT_EQ(DcDrawDib(dc, PlDib{{2, 2, 1, 24, 0, 0}, {}, bits}, PlRect{300, 500, 600, 800}), PlDibError::None);
    ASSERT_TRUE(PrintEndPage(job));
    ASSERT_TRUE(PrintStartPage(job));  // a second, empty page
    std::string path = PrintJobPath(job);
    EXPECT_TRUE(PrintEndDoc(job));  // closes the open page
    FontDestroy(font);

    std::string pdf = ReadAll(path);
    ASSERT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_EQ(CountOf(pdf, "/MediaBox [ 0 0 595.2 841.92 ]"), 2);  // A4 in points
    EXPECT_NE(pdf.find("/Count 2"), std::string::npos);
    EXPECT_NE(pdf.find("/Title (Invoice 12)"), std::string::npos);
    EXPECT_NE(pdf.find("+LiberationSerif"), std::string::npos);
    EXPECT_NE(pdf.find("/FontFile2"), std::string::npos);  // the glyphs are embedded
    EXPECT_NE(pdf.find("/Subtype /Image"), std::string::npos);
    std::set<int> want;
    for (char c : std::string("Hello Orvel")) want.insert(static_cast<unsigned char>(c));
    EXPECT_EQ(UsedCodes(pdf), want);

    // The same title again gets the next free name; an aborted job leaves nothing.
    PlPrintJob *again = PrintStartDoc(st, "Invoice 12");
    ASSERT_NE(again, nullptr);
    std::string second = PrintJobPath(again);
    EXPECT_EQ(second, (tmp.path / "out" / "Invoice_12-2.pdf").string());
    PrintAbortDoc(again);
    EXPECT_FALSE(fs::exists(second));
    EXPECT_TRUE(fs::exists(path));
}

TEST(PrintPdf, PaperNamesAndFailure)
{
    TempDir tmp;
    PlPrintSettings st;
    st.directory = tmp.path.string();
    st.fileName = "letter.pdf";
    st.paper = PlPaper::Letter;
    st.landscape = true;
    PlPrintJob *job = PrintStartDoc(st, "");
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(PrintPageSize(job).cx, 3300);
    EXPECT_EQ(PrintPageSize(job).cy, 2550);
    ASSERT_TRUE(PrintStartPage(job));
    DcFillRect(PrintPageDc(job), PlRect{0, 0, 100, 100}, kPlBrushBlack);
    EXPECT_TRUE(PrintEndDoc(job));
    std::string pdf = ReadAll((tmp.path / "letter.pdf").string());
    EXPECT_NE(pdf.find("/MediaBox [ 0 0 792 612 ]"), std::string::npos);
    EXPECT_EQ(pdf.find("/Font"), std::string::npos);  // no text, no font

    // A directory that cannot be made (a file is in the way): no job.
    std::ofstream(tmp.path / "blocker") << "x";
    st.directory = (tmp.path / "blocker" / "sub").string();
    st.fileName.clear();
    EXPECT_EQ(PrintStartDoc(st, "x"), nullptr);

    // A named file that cannot be opened for writing: no job, and whatever
    // is there under that name is left alone.
    fs::path keep = tmp.path / "keep.pdf";
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    ASSERT_LT(keep.string().size(), sizeof addr.sun_path);
    std::strcpy(addr.sun_path, keep.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr), 0);
    st.directory = tmp.path.string();
    st.fileName = "keep.pdf";
    EXPECT_EQ(PrintStartDoc(st, "x"), nullptr);
    EXPECT_TRUE(fs::exists(keep)) << "a failed start must not remove a file it did not make";
    ::close(fd);

    // A device that takes no bytes (a full disk): the end of the document
    // says the document was not written.
    if (fs::exists("/dev/full")) {
        st.directory = "/dev";
        st.fileName = "full";
        job = PrintStartDoc(st, "x");
        ASSERT_NE(job, nullptr);
        ASSERT_TRUE(PrintStartPage(job));
        DcFillRect(PrintPageDc(job), PlRect{0, 0, 100, 100}, kPlBrushBlack);
        EXPECT_FALSE(PrintEndDoc(job));
    }
}

TEST(PrintPort, MappingAndAppend)
{
    TempDir tmp;
    fs::create_directories(tmp.path);
    EXPECT_TRUE(CharPortIsName("LPT1"));
    EXPECT_TRUE(CharPortIsName("com1"));
    EXPECT_FALSE(CharPortIsName("LPT3"));
    EXPECT_FALSE(CharPortIsName("LPT"));
    EXPECT_EQ(CharPortPath("COM1"), "COM1.txt");
    EXPECT_EQ(CharPortPath("lpt2"), "LPT2.txt");
    EXPECT_EQ(CharPortPath("5"), "5.txt");
    EXPECT_EQ(CharPortPath("PRN"), "");
    EXPECT_FALSE(CharPortConfigure("PRN", "/dev/null"));
    EXPECT_EQ(CharPortOpen("PRN"), nullptr);

    std::string file = (tmp.path / "lpt1.out").string();
    ASSERT_TRUE(CharPortConfigure("LPT1", file));
    EXPECT_EQ(CharPortPath("lpt1"), file);
    PlCharPort *p = CharPortOpen("LPT1");
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(CharPortWrite(p, std::string_view("AB\r\n\f\0\xFF", 7)));
    EXPECT_TRUE(CharPortClose(p));
    p = CharPortOpen("lpt1");
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(CharPortWrite(p, "C"));
    EXPECT_TRUE(CharPortClose(p));
    EXPECT_EQ(ReadAll(file), std::string("AB\r\n\f\0\xFF" "C", 8));  // the second job appended

    ASSERT_TRUE(CharPortConfigure("LPT2", (tmp.path / "missing" / "x").string()));
    EXPECT_EQ(CharPortOpen("LPT2"), nullptr);
    CharPortConfigure("LPT1", "");
    CharPortConfigure("LPT2", "");
    EXPECT_EQ(CharPortPath("LPT1"), "LPT1.txt");
}
