// report_defaults_table.h - which selection window opens with which
// defaults, by the report it runs (report_defaults_table.cpp). The
// defaults are applied by report_defaults.cpp; docs/report_defaults.md
// says row by row why each set belongs to its window.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// What a set does beyond its layout word and option words.
enum class DefaultsExtra : uint8_t {
    None,
    ReportTitle,           // the first text slot: the title of the report run
    AltOptions,            // company variant 15 swaps option words 0, 2 and 3; then word 4 is set
    BatchByVariant,        // the batch mode is 1 under company variant 27, else 0
    BatchModeZero,         // the batch mode is 0
    PeriodInSecondDates    // the proposed period goes into the second pair of dates
};

// Option words first..last (0-based, word k at byte 874 + 2k) set to value.
struct OptionRun {
    int8_t first, last;
    uint8_t value;
};

// The report number a set takes when it holds for every report its
// window opens for (a window shared by several numbered reports).
constexpr int16_t EveryReportOfWindow = 0;

// One set of defaults. `origin` is the type number the set was first drawn
// up under, before the selections were renumbered (0: a set this program
// added); it only names the row in docs/report_defaults.md. `window` and
// `report` say where the set applies: the selection window and the number
// it runs (a report; a negative number is a document run; for an export
// window the export's number). `layout` is the selection word (-1 keeps
// the common 0); the runs are applied in order.
struct SelectionDefaults {
    int16_t origin;
    int16_t window;
    int16_t report;
    int8_t layout;
    std::array<OptionRun, 5> runs;
    DefaultsExtra extra;
};

// Every set, in the order of their origin numbers; *count gets how many.
const SelectionDefaults *SelectionDefaultsTable(size_t *count);
// The set of window `window` running number `report`: the set naming that
// report, else one for every report of the window; null when there is none.
const SelectionDefaults *SelectionDefaultsFor(int window, int report);

// Whether OK on the job queue in selection window `window` saves one job
// per code of its object list: the windows whose reports read the list
// as the objects every amount or row must carry, so that one job per
// object gives the report once for each object.
bool SelectionQueuesPerCode(int window);
