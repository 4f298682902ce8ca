// report_frame.h - the frame every report prints in: its column layout on
// the device and its selection header (the page-header lines a report's
// selection gives).
#pragma once

#include "core/date.h"
#include "output/output_job.h"

// 1: the header's line 0 takes the selection's title where one is given.
extern uint8_t TitleFromSelection;

// Lays out report `report`'s columns into the position table `stops` for
// a device `deviceWidth` units wide.
void ReportColumnLayout(int report, PositionTable *stops, int32_t deviceWidth);
// Writes report `report`'s selection header lines (title `title`) through
// the page-header operations.
void ReportSelectionHeader(int report, const uint8_t *title);
// Puts the column layout and the selection header into the output
// layer's report hooks (the output layer opens a report's job and wraps
// the header lines itself).
void ReportFrameInstall();

// ---- Selection texts (selection_texts.cpp) ----
// out is a PString buffer of 256 bytes; a builder with nothing to say
// writes the empty text.

// A code range "from:to": emptyText when both ends are empty, else
// prefixText and the ends.
void SelectionRangeText(const uint8_t *range, int emptyText, int prefixText, uint8_t *out);
// The same for a number range (a blank between prefix and numbers).
void SelectionNumberRangeText(const uint8_t *range, int emptyText, int prefixText, uint8_t *out);
// A report-number range (texts 1111 and 1112).
void ReportNumberRangeText(const uint8_t *range, uint8_t *out);
// A code range followed by a text.
void SelectionRangeWithText(const uint8_t *range, const uint8_t *text, uint8_t *out);
// Text `text` and the field; empty when the field is empty (except the
// texts that always print).
void PrefixedText(const uint8_t *field, int text, uint8_t *out);
// The choice tables of the header's choice lines.
enum class ChoiceTable : uint8_t { LayoutA, LayoutB, LayoutC, C1176, C1178, C1184, C1187, C1187b, C2421,
                                   C3005, C1313 };
// A project range (4851 all, 4852 and the codes; one stored project
// with its name).
void ProjectRangeText(const uint8_t *range, uint8_t *out);
// The text of value in table; empty for a value the table does not list.
void ChoiceText(int value, ChoiceTable table, uint8_t *out);
// The text of two option words by member (1146, 1136).
void ReportOptionText(int member, int a, int b, uint8_t *out);
// The sentence of up to four flags by member (2634, 1318, 1323, 1326,
// 1330, 1334, 1305).
void FlagListText(int member, int a, int b, int c, int d, uint8_t *out);
// A period from..to with its text (3013, 3025) and the lock mark.
void DateRangeText(const DateRec *from, const DateRec *to, int text, uint8_t *out);
// An object list: one known code with its name, else the list as typed.
void ObjectListText(const uint8_t *objects, uint8_t *out);
// A register-24 code with its name.
void Register24CodeText(const uint8_t *code, uint8_t *out);
// An account range of a kind.
void AccountRangeText(const uint8_t *from, const uint8_t *to, int kind, uint8_t *out);
// The title a report takes from its selection (60 characters at most).
void ReportTitleFromSelection(int report, uint8_t *out);
// The ledger's last voucher date with its label.
void Block132DateText(uint8_t *out);
// A date, or the no-date text when flag is 0.
void DateOrNoneText(int flag, const DateRec *date, uint8_t *out);
