// road_page_layout.cpp - the layout check of printed pages (see
// road_page_layout.h).
#include "tests/roads/road_page_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

namespace {

// pdftotext's box of a word is about 1.12 times the font's size high.
constexpr double BoxPerEm = 1.12;
// Words closer than this (of an em) stand closer than any blank: a blank
// between two words of one text, as pdftotext boxes them, leaves at least
// a sixth of an em.
constexpr double TouchEm = 0.1;
// Other lines that must hold two columns apart before a text that joins
// them counts as run into the next: one line may meet by chance.
constexpr int ApartLines = 2;
// Words at most this far apart (of an em, a blank or two) read as one
// text; columns stand further apart.
constexpr double TextEm = 0.5;
// Points by which two words may overlap before it shows, and by which two
// edges may differ and still be one column's.
constexpr double OverlapPoints = 0.5, EdgePoints = 0.75;

// The words of one printed line, from the left.
struct Line {
    double top, bottom;
    std::vector<PdfWord> words;
};

// A text of a line: words [first, last] of it, from start to end.
struct Run {
    size_t first, last;
    double start, end;
};

double Height(const PdfWord &w) { return w.yMax - w.yMin; }
double Em(const PdfWord &a, const PdfWord &b) { return std::min(Height(a), Height(b)) / BoxPerEm; }

// The words of one page gathered into lines: a word joins the line it
// shares at least half its height with.
std::vector<Line> LinesOf(std::vector<PdfWord> words)
{
    std::sort(words.begin(), words.end(), [](const PdfWord &a, const PdfWord &b) {
        return a.yMin + a.yMax < b.yMin + b.yMax;
    });
    std::vector<Line> lines;
    for (const PdfWord &w : words) {
        Line *into = nullptr;
        for (Line &l : lines) {
            double shared = std::min(l.bottom, w.yMax) - std::max(l.top, w.yMin);
            if (shared >= 0.5 * std::min(l.bottom - l.top, Height(w))) into = &l;
        }
        if (!into) {
            lines.push_back({w.yMin, w.yMax, {}});
            into = &lines.back();
        }
        into->top = std::min(into->top, w.yMin);
        into->bottom = std::max(into->bottom, w.yMax);
        into->words.push_back(w);
    }
    for (Line &l : lines)
        std::sort(l.words.begin(), l.words.end(), [](const PdfWord &a, const PdfWord &b) { return a.xMin < b.xMin; });
    return lines;
}

// The texts of a line: words at most TextEm apart.
std::vector<Run> RunsOf(const Line &l)
{
    std::vector<Run> runs;
    for (size_t i = 0; i < l.words.size(); i++) {
        const PdfWord &w = l.words[i];
        if (!runs.empty() && w.xMin - l.words[i - 1].xMax <= TextEm * Em(l.words[i - 1], w)) {
            runs.back().last = i;
            runs.back().end = std::max(runs.back().end, w.xMax);
        } else {
            runs.push_back({i, i, w.xMin, w.xMax});
        }
    }
    return runs;
}

std::string TextOf(const Line &l, size_t first, size_t last)
{
    std::string s;
    for (size_t i = first; i <= last; i++) s += (i > first ? " " : "") + l.words[i].text;
    return s;
}

bool Near(double a, double b) { return std::fabs(a - b) <= EdgePoints; }

// Whether text r of line n stands in a column of the page: another line
// has a text that is not its first starting or ending where r does.
bool InColumn(const std::vector<std::vector<Run>> &runs, size_t n, const Run &r)
{
    for (size_t m = 0; m < runs.size(); m++) {
        if (m == n) continue;
        for (size_t k = 1; k < runs[m].size(); k++)
            if (Near(runs[m][k].start, r.start) || Near(runs[m][k].end, r.end)) return true;
    }
    return false;
}

// The printer puts a text that would start left of where the line's
// previous text ended onto a line of its own: line n begins with a
// column's text (one that starts or ends where other lines' do)
// right under the last text of line n - 1, which reaches over where it
// starts, and is neither the same column's text wrapped onto a second
// line nor the next of texts right-aligned one under the other. True
// when it told such a line.
bool PushedBelow(const std::vector<Line> &lines, const std::vector<std::vector<Run>> &runs, size_t n,
                 const std::string &where, std::vector<std::string> *faults)
{
    const Line &above = lines[n - 1], &line = lines[n];
    const std::vector<Run> &upper = runs[n - 1];
    const Run &first = runs[n][0];
    if (upper.empty() || line.top - above.top > 1.6 * (above.bottom - above.top)) return false;
    if (first.start <= upper[0].start + EdgePoints) return false;
    for (const Run &u : upper)
        if (Near(u.start, first.start)) return false;
    // What the printer pushed down leaves the reaching text last on its
    // line; a line that goes on after it is a row of its own.
    // Two texts right-aligned at one edge, one under the other (a header's
    // lines), are one column's: their ends, measured in faces of their
    // own, differ by less than an em.
    const Run &u = upper.back();
    const double em = (line.bottom - line.top) / BoxPerEm;
    if (!(u.start < first.start && u.end > first.start + OverlapPoints) || std::fabs(u.end - first.end) < em ||
        !InColumn(runs, n, first))
        return false;
    faults->push_back(where + "\"" + TextOf(line, first.first, first.last) + "\" stands on a line of its own: \"" +
                      TextOf(above, u.first, u.last) + "\" above reaches over where it starts");
    return true;
}

// Whether line n reads as the head of a table: four texts or more and
// no digit in any word (a row of values always holds some; a line of
// three is as often a label with its values).
bool HeadLine(const std::vector<Line> &lines, const std::vector<std::vector<Run>> &runs, size_t n)
{
    if (runs[n].size() < 4) return false;
    for (const PdfWord &w : lines[n].words)
        for (char c : w.text)
            if (c >= '0' && c <= '9') return false;
    return true;
}

// The rows under the head line n of a table (lines of two texts or more,
// each close below the one before, up to the next head) each keep their
// texts within the head's reach: a text that starts right of the head's
// last heading by more than an em, on a row that fills that heading's
// column, stands in a column nobody named. (Left
// of the first heading stand the row's code and name, whose headings a
// head of two lines may give on the line above.) One fault per table, at
// its first such text.
void UnheadedColumn(const std::vector<Line> &lines, const std::vector<std::vector<Run>> &runs, size_t n,
                    const std::string &where, std::vector<std::string> *faults)
{
    const Line &head = lines[n];
    const double height = head.bottom - head.top;
    double last = runs[n].back().end, lastStart = runs[n].back().start;
    // A head of two lines: the line right above without digits heads too.
    if (n > 0 && !runs[n - 1].empty() && head.top - lines[n - 1].top <= 1.6 * height) {
        bool words = true;
        for (const PdfWord &w : lines[n - 1].words)
            for (char c : w.text) words = words && !(c >= '0' && c <= '9');
        if (words && runs[n - 1].back().end > last) last = runs[n - 1].back().end, lastStart = runs[n - 1].back().start;
    }
    for (size_t m = n + 1; m < lines.size(); m++) {
        const Line &row = lines[m];
        if (runs[m].size() < 2 || HeadLine(lines, runs, m) || row.top - lines[m - 1].bottom > 3 * height) return;
        const double em = (row.bottom - row.top) / BoxPerEm;
        // A table's first row lines up under two of its headings at least
        // (starts or ends within an em); else the line was no head.
        if (m == n + 1) {
            int aligned = 0;
            for (const Run &h : runs[n]) {
                bool under = false;
                for (const Run &r : runs[m])
                    under = under || std::fabs(r.start - h.start) <= em || std::fabs(r.end - h.end) <= em;
                aligned += under;
            }
            if (aligned < 2) return;
        }
        // Only a row of the table itself, one that fills the last
        // heading's column, tells a column beyond it (a total set off
        // below the table is not one).
        bool filled = false;
        for (const Run &r : runs[m]) filled = filled || (r.end >= lastStart && r.start <= last);
        if (!filled) continue;
        for (const Run &r : runs[m]) {
            if (r.start <= last + em) continue;
            faults->push_back(where + "\"" + TextOf(row, r.first, r.last) +
                              "\" stands in a column without a heading: the head line \"" +
                              TextOf(head, 0, head.words.size() - 1) + "\" names nothing over it");
            return;
        }
    }
}

// Whether a word is an amount as the reports print one: digits with a
// decimal comma, perhaps a minus before them.
bool IsAmount(const std::string &w)
{
    size_t i = w[0] == '-' ? 1 : 0, comma = w.find(',');
    if (comma == std::string::npos || comma == i || comma + 1 == w.size()) return false;
    for (size_t k = i; k < w.size(); k++)
        if (k != comma && !(w[k] >= '0' && w[k] <= '9')) return false;
    return true;
}

// Line n holds amounts and nothing else: a total with no word that says
// what it is the total of. (A row of amounts right under a line without
// amounts, a line or so below it, is a table's row under its headings.)
void BareAmounts(const std::vector<Line> &lines, size_t n, const std::string &where, std::vector<std::string> *faults)
{
    const Line &l = lines[n];
    for (const PdfWord &w : l.words)
        if (!IsAmount(w.text)) return;
    if (n > 0 && l.top - lines[n - 1].top <= 2.2 * (l.bottom - l.top)) {
        bool headings = true;
        for (const PdfWord &w : lines[n - 1].words) headings = headings && !IsAmount(w.text);
        if (headings) return;
    }
    faults->push_back(where + "amounts stand on a line without a word: a total needs its label");
}

// The faults of one page's lines.
void PageFaults(int page, const std::vector<Line> &lines, std::vector<std::string> *faults)
{
    std::vector<std::vector<Run>> runs;
    for (const Line &l : lines) runs.push_back(RunsOf(l));
    auto where = [page](const Line &l) {
        return "page " + std::to_string(page) + ", line \"" + TextOf(l, 0, l.words.size() - 1) + "\": ";
    };
    for (size_t n = 0; n < lines.size(); n++) {
        const Line &l = lines[n];
        for (size_t i = 1; i < l.words.size(); i++) {
            const PdfWord &a = l.words[i - 1], &b = l.words[i];
            const double gap = b.xMin - a.xMax;
            if (gap < -OverlapPoints)
                faults->push_back(where(l) + "\"" + a.text + "\" overlaps \"" + b.text + "\"");
            else if (gap < TouchEm * Em(a, b))
                faults->push_back(where(l) + "\"" + a.text + "\" runs into \"" + b.text + "\" (no blank between)");
        }
        // A text that starts where one column's texts start and ends where
        // another's end, while other lines hold the two apart: a text of
        // the first column run up to the second's.
        for (const Run &r : runs[n]) {
            if (r.first == r.last) continue;
            int apart = 0;
            for (size_t m = 0; m < lines.size(); m++) {
                if (m == n) continue;
                const std::vector<Run> &other = runs[m];
                bool held = false;
                for (size_t a = 0; a < other.size() && !held; a++) {
                    if (!Near(other[a].start, r.start)) continue;
                    for (size_t b = a + 1; b < other.size() && !held; b++) held = Near(other[b].end, r.end);
                }
                apart += held;
            }
            if (apart < ApartLines) continue;
            // Name the widest gap inside the text (the last of equals) as
            // where the columns meet.
            size_t cut = r.first;
            double widest = -1e9;
            for (size_t i = r.first; i < r.last; i++) {
                double gap = l.words[i + 1].xMin - l.words[i].xMax;
                if (gap >= widest) widest = gap, cut = i;
            }
            faults->push_back(where(l) + "\"" + TextOf(l, r.first, cut) + "\" runs into the next column's \"" +
                              TextOf(l, cut + 1, r.last) + "\", which other lines keep apart");
        }
        // A line the printer pushed down is told as such, not as a total.
        if (!(n > 0 && PushedBelow(lines, runs, n, where(l), faults))) BareAmounts(lines, n, where(l), faults);
        if (HeadLine(lines, runs, n)) UnheadedColumn(lines, runs, n, where(l), faults);
    }
}

}  // namespace

std::vector<std::string> PageLayoutFaults(const std::vector<PdfWord> &words)
{
    std::map<int, std::vector<PdfWord>> pages;
    for (const PdfWord &w : words) pages[w.page].push_back(w);
    std::vector<std::string> faults;
    for (const auto &[page, on] : pages) PageFaults(page, LinesOf(on), &faults);
    return faults;
}

void ExpectPagesLaidOut(const std::filesystem::path &pdf)
{
    const std::vector<std::string> faults = PageLayoutFaults(PdfWords(pdf));
    std::string all;
    for (const std::string &f : faults) all += "  " + f + "\n";
    EXPECT_TRUE(faults.empty()) << pdf.filename().string() << " is not laid out: " << faults.size() << " faults\n"
                                << all;
}
