// selection_texts.cpp - the texts of a report's selection lines: ranges,
// prefixed fields, choices, flag sentences, periods and codes with names.
//
// Not built yet: every builder writes the empty text.
#include "reports/sales/report_frame.h"

// A code range's text. Not built yet: the empty text.
void SelectionRangeText(const uint8_t *, int, int, uint8_t *out)
{
    out[0] = 0;
}

// A number range's text. Not built yet: the empty text.
void SelectionNumberRangeText(const uint8_t *, int, int, uint8_t *out)
{
    out[0] = 0;
}

// A report-number range's text. Not built yet: the empty text.
void ReportNumberRangeText(const uint8_t *, uint8_t *out)
{
    out[0] = 0;
}

// A code range followed by a text. Not built yet: the empty text.
void SelectionRangeWithText(const uint8_t *, const uint8_t *, uint8_t *out)
{
    out[0] = 0;
}

// A field after its text. Not built yet: the empty text.
void PrefixedText(const uint8_t *, int, uint8_t *out)
{
    out[0] = 0;
}

// A choice's text. Not built yet: the empty text.
void ChoiceText(int, ChoiceTable, uint8_t *out)
{
    out[0] = 0;
}

// Two option words' text. Not built yet: the empty text.
void ReportOptionText(int, int, int, uint8_t *out)
{
    out[0] = 0;
}

// A flag list's sentence. Not built yet: the empty text.
void FlagListText(int, int, int, int, int, uint8_t *out)
{
    out[0] = 0;
}

// A period's text. Not built yet: the empty text.
void DateRangeText(const DateRec *, const DateRec *, int, uint8_t *out)
{
    out[0] = 0;
}

// An object list's text. Not built yet: the empty text.
void ObjectListText(const uint8_t *, uint8_t *out)
{
    out[0] = 0;
}

// A register-24 code with its name. Not built yet: the empty text.
void Register24CodeText(const uint8_t *, uint8_t *out)
{
    out[0] = 0;
}

// An account range's text. Not built yet: the empty text.
void AccountRangeText(const uint8_t *, const uint8_t *, int, uint8_t *out)
{
    out[0] = 0;
}

// The title from the selection. Not built yet: the empty text.
void ReportTitleFromSelection(int, uint8_t *out)
{
    out[0] = 0;
}

// The last voucher date's text. Not built yet: the empty text.
void Block132DateText(uint8_t *out)
{
    out[0] = 0;
}

// A date or the no-date text. Not built yet: the empty text.
void DateOrNoneText(int, const DateRec *, uint8_t *out)
{
    out[0] = 0;
}
