// Benchmark of the printer device: a 100-page document of rows of four
// wrapped column texts (30 to 120 characters each) with a rule under every
// row, printed through the device layer (PrintJobStartDoc,
// PrinterTextClipped, PrinterRule, PrinterNewPage) into a PDF file. The
// peer draws the same lines, wrapped beforehand, straight on the platform's
// print job (PrintStartDoc, DcTextOut, DcLineTo), so the ratio is what the
// device layer adds: measuring, cutting, converting. Both report pages per
// second and the size of the file. Full runs (ORVEL_BENCH_FULL, set by
// scripts/bench) print the 100 pages; smoke runs 10, as a quick check.
#include <benchmark/benchmark.h>

#include "bench/bench_frame.h"
#include "bench/bench_sizes.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "core/pstring.h"
#include "core/field_access.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/output_job.h"
#include "output/printer.h"
#include "platform/font.h"
#include "platform/print.h"

namespace {

const int Pages = BenchSize<int>(100, 10);
constexpr int Columns = 4;
// The columns' edges in points.
constexpr int32_t ColumnLeft[Columns] = {36, 170, 304, 438};
constexpr int32_t ColumnRight[Columns] = {160, 294, 428, 560};

BenchWorkplace &Place()
{
    static BenchWorkplace w("print");
    return w;
}

// Texts of 30 to 120 characters made of words of 2 to 11 letters, the
// same every run.
const std::vector<std::string> &Texts()
{
    static std::vector<std::string> texts = [] {
        std::vector<std::string> v;
        uint32_t x = 2024;
        auto next = [&x] { return x = x * 1103515245u + 12345u, (x >> 8) & 0xffff; };
        for (int i = 0; i < 512; i++) {
            size_t length = 30 + next() % 91;
            std::string t;
            while (t.size() < length) {
                if (!t.empty()) t += ' ';
                int word = 2 + int(next() % 10);
                for (int k = 0; k < word; k++) t += char('a' + next() % 26);
            }
            t.resize(length);
            if (t.back() == ' ') t.back() = 'e';
            v.push_back(t);
        }
        return v;
    }();
    return texts;
}

// Removes the files printed so far; the size of the last one.
uintmax_t ClearPrinted()
{
    uintmax_t size = 0;
    std::error_code ec;
    for (const auto &e : std::filesystem::directory_iterator(Place().dir / "print", ec)) {
        size = e.file_size(ec);
        std::filesystem::remove(e.path(), ec);
    }
    return size;
}

// The printer of a report job as far as wrapped texts need it: its
// advance moves the line down.
const RepDevice Advancing = {.advance = [](int32_t n) { OutputJobState.linePos += n; }};

void BM_PrintDevice(benchmark::State &state)
{
    if (!BenchFrameUp(Place())) {
        state.SkipWithError("the program cannot start");
        return;
    }
    OwnedJob own;   // the job the printer prints from
    PutU16(own.job.selection, ReportParamsVc::OutputKind, OutPrinter);
    const RepDevice *printer = RepDeviceInstall(OutPrinter, &Advancing);
    const std::vector<std::string> &texts = Texts();
    uintmax_t bytes = 0;
    PString t, title;
    PStringFromC(title, "Columns");
    for (auto _ : state) {
        OutputJobState = OutputJobStateRec{};
        OutputJobState.positions = {65535, 72, 0, 0, 0, 0, 0, 0, 0, 0, 300};   // points to 300-dpi units
        OutputJobAttach attached(own.job);
        if (PrintJobStartDoc(0, 0, title) != 1) {
            state.SkipWithError("no print job");
            break;
        }
        size_t next = 0;
        for (int page = 0; page < Pages; page++) {
            PrinterNewPage();
            OutputJobState.linePos = 12;
            while (OutputJobState.linePos < Printer.usableHeightPt - 60) {
                int32_t top = OutputJobState.linePos, bottom = top;
                for (int c = 0; c < Columns; c++) {
                    OutputJobState.linePos = top;
                    Printer.prevTextEnd = -1;
                    PStringFromView(t, texts[next++ % texts.size()]);
                    PrinterTextClipped(ColumnLeft[c], ColumnRight[c], false, false, t);
                    bottom = std::max(bottom, OutputJobState.linePos);
                }
                PrinterRule(ColumnLeft[0], ColumnRight[Columns - 1], bottom + 12, 0);
                OutputJobState.linePos = bottom + 24;
            }
        }
        PrintJobEnd();
        state.PauseTiming();
        bytes = ClearPrinted();
        state.ResumeTiming();
    }
    RepDeviceInstall(OutPrinter, printer);
    BenchFrameDown();
    state.counters["pages/s"] =
        benchmark::Counter(double(Pages) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["file_KB"] = double(bytes) / 1024;
}
BENCHMARK(BM_PrintDevice)->Unit(benchmark::kMillisecond);

// One line of the peer's document: where it goes (device units) and what.
struct PeerLine {
    int x, y;
    std::string text;
};
struct PeerPage {
    std::vector<PeerLine> lines;
    std::vector<std::array<int, 3>> rules;   // x1, x2, y
};

// The device run's pages, wrapped beforehand at blanks (or inside a word
// with a hyphen) to the same columns in the same font.
std::vector<PeerPage> PeerPages(PlFont *font)
{
    const std::vector<std::string> &texts = Texts();
    auto device = [](int32_t pt) { return int(int64_t(pt) * kPlPrintDpi / 72); };
    auto width = [font](const std::string &s) { return FontTextExtent(font, s).cx; };
    const int usable = 3508 * 72 / kPlPrintDpi - 24;
    std::vector<PeerPage> pages(Pages);
    size_t next = 0;
    for (PeerPage &page : pages) {
        int line = 12;
        while (line < usable - 60) {
            int bottom = line;
            for (int c = 0; c < Columns; c++) {
                int left = device(ColumnLeft[c]), column = device(ColumnRight[c]) - left;
                std::string rest = texts[next++ % texts.size()];
                int y = line;
                for (;;) {
                    size_t fit = rest.size();
                    while (fit > 1 && width(rest.substr(0, fit)) > column) fit--;
                    std::string part = rest;
                    if (fit < rest.size()) {
                        size_t blank = rest.rfind(' ', fit);
                        size_t keep = blank != std::string::npos && blank > 0 ? blank : std::max<size_t>(1, fit - 1);
                        part = rest.substr(0, keep) + (keep == blank ? "" : "-");
                        rest = rest.substr(keep == blank ? keep + 1 : keep);
                    } else {
                        rest.clear();
                    }
                    page.lines.push_back({left, device(y - 10), part});
                    if (rest.empty()) break;
                    y += 12;
                }
                bottom = std::max(bottom, y);
            }
            page.rules.push_back({device(ColumnLeft[0]), device(ColumnRight[Columns - 1]), device(bottom + 12 - 8)});
            line = bottom + 24;
        }
    }
    return pages;
}

void BM_PrintPeerPlatform(benchmark::State &state)
{
    PlFont *font = FontCreate(kPlSerifFace, 10 * kPlPrintDpi / 72, 400, false);
    if (!font) {
        state.SkipWithError("no font");
        return;
    }
    std::vector<PeerPage> pages = PeerPages(font);
    PlPrintSettings settings;
    settings.directory = (Place().dir / "print").string();
    uintmax_t bytes = 0;
    for (auto _ : state) {
        PlPrintJob *job = PrintStartDoc(settings, "Columns");
        if (!job) {
            state.SkipWithError("no print job");
            break;
        }
        for (const PeerPage &page : pages) {
            PrintStartPage(job);
            DrawContext *dc = PrintPageDc(job);
            DcSelectFont(dc, font);
            DcSetBkMode(dc, PlBkMode::Transparent);
            for (const PeerLine &l : page.lines) DcTextOut(dc, l.x, l.y, l.text);
            DcSetPen(dc, kPlPenBlack);
            for (const auto &r : page.rules) {
                DcMoveTo(dc, r[0], r[2]);
                DcLineTo(dc, r[1], r[2]);
            }
            PrintEndPage(job);
        }
        PrintEndDoc(job);
        state.PauseTiming();
        bytes = ClearPrinted();
        state.ResumeTiming();
    }
    FontDestroy(font);
    state.counters["pages/s"] =
        benchmark::Counter(double(Pages) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["file_KB"] = double(bytes) / 1024;
}
BENCHMARK(BM_PrintPeerPlatform)->Unit(benchmark::kMillisecond);

}  // namespace
