// header_notation.h - a report's selection header as data: the lines it
// writes below the company, each a text made from the job record, where it
// goes (right, right when not empty, left) and when it is written. The
// tables are in header_notation.cpp; selection_header.cpp reads them.
#pragma once

#include <cstdint>
#include <span>

#include "reports/frame/report_frame.h"

// What a line's text is made of. The fields a kind reads are named beside it.
enum class HeaderMake : uint8_t {
    Period,           // DateFrom..DateTo with text 3013
    Period2,          // Date2From..Date2To with text 3013
    Period2OrPeriod,  // Period2 when either date is given, else Period
    FiscalYear,       // the fiscal year's start to DateTo (3025), with YearToDate only
    Objects,          // the object list of ObjectSel, empty when none
    ObjectsOrType,    // Objects, or the object type when no list is given
    ObjectType,       // ObjectType's code with its name
    Lock,             // text 3023 when DateTo falls after the lock date
    Block132Date,     // the ledger's last voucher date with its label
    Accounts,         // SelText5..SelText6 by RangeKind
    RangeCaption,     // SelText1 split into a number range
    Range,            // field as a code range: text when empty, text2 before it
    NumRange,         // field as a number range: text when empty, text2 before it
    Prefixed,         // text before field; empty when the field is
    ProjectRange,     // field as a project range
    ReportNumbers,    // field as a report-number range
    Field,            // field as it is
    Ui,               // text
    UiIfWord,         // text when word == value, else text2
    UiBy01,           // text for word 0, text2 for word 1, empty for another
    TextField,        // text followed by field
    TextSepField,     // text, sep and field
    TextFieldQuoted,  // text, field and a closing quote
    RangeWith,        // field (code range) with field2 after it
    Date,             // field as a date
    TextDate,         // text, sep and field as a date
    DatePair,         // field, then " : " and field2 when they differ
    DateOrNone,       // field as a date by the layout word's rule
    Amount,           // text, ": " and field as an amount; empty when blank
    Choice,           // word's value (mapped) in table
    ChoiceOr,         // text when word == value, else Choice
    FlagList,         // member text over words[0..3]
    ReportOption,     // member text over words[0..1]
};

// Where the text goes: right on the current line (which advances), the
// same only when the text is not empty, or left on the current line.
enum class HeaderPut : uint8_t { Right, RightIf, Left };

// How a word becomes the value a choice is looked up by.
enum class WordMap : uint8_t {
    Same,
    Flip,      // 0 -> 1, any other -> 0
    SetIsTwo,  // non-zero -> 2 (a window's ticked box stores 1)
};

// When a line is written. Two guards on a step must both hold.
enum class GuardKind : uint8_t {
    Always,
    Given,         // field's text is not empty
    Blank,         // field's text is empty
    GivenOrBlank,  // field given, or field2's text empty
    WordEq,        // word == value
    WordNe,        // word != value
    WordGt,        // word > value
    DateSet,       // field's date has a year
    Variant,       // the report's variant == value
};

struct HeaderGuard {
    GuardKind kind;
    uint32_t field;
    uint32_t field2;
    int value;
};

// Word slots that are not job-record fields: a constant 0 or 1.
constexpr uint32_t WordZero = UINT32_MAX, WordOne = UINT32_MAX - 1;

struct HeaderStep {
    HeaderMake make;
    HeaderPut put;
    int text, text2;
    uint32_t field;   // job-record offset the text reads (or the word)
    int m;            // its maximum length
    uint32_t field2;
    int m2;
    int value;
    ChoiceTable table;
    WordMap map;
    const char *sep;
    uint32_t words[4];
    HeaderGuard guard[2];
};

// One report's notation: its steps, and the variant its guards test (the
// reports that share steps but for a line or a text).
struct HeaderNotation {
    int report;
    int variant;
    std::span<const HeaderStep> steps;
};

// The notation of report `report`; null for a report whose header has no
// selection lines.
const HeaderNotation *FindHeaderNotation(int report);
