// project_print.h - what the project reports share inside this folder:
// the selection of projects a job record makes and the walk over it, the
// walk over one project's budgets, and the small line writers.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "reports/frame/report_headings.h"

constexpr int ProjectLineHeight = 12;
constexpr int ProjectCodeMax = 20, ProjectTextMax = 60, PersonCodeMax = 5;

// The order a project walk takes: its index.
enum class ProjectOrder : uint8_t { Code, Customer, Leader };

// The projects a job record selects: a project and a customer range, an
// exact leader and an exact filter code (each empty: any), and whether
// closed projects are left out.
struct ProjectSelection {
    PString projFrom, projTo, custFrom, custTo, leader, filter;
    bool skipClosed = true;
};

// Reads the selection of a job record: projects of SelText1, customers of
// SelText3, the leader of SelText2 (useLeader) and the filter of SelText5.
void ProjectSelectionLoad(const uint8_t *job, ProjectSelection *sel, bool useLeader);

// Walks the projects of sel in order, calling each for every project
// taken until each gives false; ends past the walked range's end, on Esc
// after the project at hand, or when the job stopped.
void ProjectWalk(const ProjectSelection *sel, ProjectOrder order, bool (*each)(const uint8_t *project, void *data),
                 void *data);

// sum += value, a blank value or sum read as zero.
void ProjectSumAdd(PackedDecimal *sum, const PackedDecimal *value);
// The amount field of base at `at`, blank read as zero.
PackedDecimal ProjectAmount(const uint8_t *base, uint32_t at);

// Line pieces (on the current line). A text is printed only when it is
// not empty: at an offset that is no field of the interface file (at most
// max characters), a field at its own length, or a field read on purpose
// shorter than it is.
void ProjectTextAt(int x, const uint8_t *record, RawOffset offset, int max);
template <int N>
inline void ProjectTextAt(int x, const uint8_t *record, TextField<N> f) {
    ProjectTextAt(x, record, RawOffset(f.offset), N);
}
template <int N>
inline void ProjectTextPrefixAt(int x, const uint8_t *record, TextField<N> f, int max) {
    ProjectTextAt(x, record, RawOffset(f.offset), max < N ? max : N);
}
void ProjectPTextAt(int x, const uint8_t *text);
// A value right-aligned at x: an amount (2 decimals) or a quantity (3).
void ProjectAmountAt(int x, const PackedDecimal *amount);
void ProjectQtyAt(int x, const PackedDecimal *qty);
// A line of column headings, then a rule when asked.
void ProjectColumnLine(std::initializer_list<HeadingText> columns, bool rule);
// A line of text n at 0 and the amount right-aligned at x.
void ProjectTextAmountLine(int n, int x, const PackedDecimal *amount);
