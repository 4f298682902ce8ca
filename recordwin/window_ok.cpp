// window_ok.cpp - OK on a window (event 11) for the windows that act
// themselves instead of storing a record: a choice-list window gives the
// code of its chosen line back to the field that opened it, a batch
// window runs its operation with its record as the parameters. Both
// close and answer 0; every other window answers 1 and its record is
// stored.
#include "recordwin/record_windows.h"

#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "operations/purchase_ledger.h"
#include "operations/replenishment.h"
#include "rules/projects.h"
#include "rules/purchase_prices.h"
#include "shell/feature_commands.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

// Told when a batch operation stopped before its end.

// What a choice-list window gives back of its chosen line: its first
// `length` characters (0: the whole line) or, with upToBlank, the line up
// to its first blank; trailing blanks removed when trim is set. A window
// that keeps open stays open when no line is chosen. The sessions (424)
// give back the user name a printer's device text names its client by.
struct ChoiceCut {
    int type;
    int length;
    bool trim;
    bool upToBlank;
    bool keepOpen;
};

constexpr ChoiceCut ChoiceCuts[] = {
    {56, 1, false, false, false},   {74, 2, true, false, false},    {97, 9, true, false, false},
    {150, 0, false, false, false},  {188, 0, false, false, false},  {247, 5, true, false, false},
    {287, 5, true, false, false},   {306, 0, false, true, false},   {327, 0, false, false, false},
    {424, 20, true, false, false},  {444, 2, true, false, false},   {490, 5, true, false, false},
    {546, 5, true, false, false},
    {583, 5, true, false, false},   {495, 60, true, false, false},  {560, 0, true, false, false},
    {562, 0, false, false, false},  {563, 0, false, false, true},   {564, 0, false, false, true},
};

// A batch window and the operation it runs with its record.
struct BatchRun {
    int type;
    bool (*run)(uint8_t *selection);
};

constexpr BatchRun BatchRuns[] = {
    {509, QuotationRowsBatchCall},
    {390, PurchaseOrderSuggestionCall},
    {395, ProductionSuggestionCall},
    {313, PaymentSuggestionCommand},
    {472, PurchasePricesToItemsCall},
};

// line (a PString) cut as c says.
void CutLine(const ChoiceCut &c, uint8_t *line)
{
    if (c.upToBlank) {
        for (int i = 1; i <= line[0]; i++)
            if (line[i] == ' ') {
                line[0] = uint8_t(i - 1);
                break;
            }
    }
    if (c.length > 0 && line[0] > c.length) line[0] = uint8_t(c.length);
    if (c.trim)
        while (line[0] > 0 && line[line[0]] == ' ') line[0]--;
}

// OK on a choice-list window: the chosen line, cut, goes to the opener
// as the window closes; no line chosen closes it with nothing (or keeps
// a window that stays open).
void ChoiceOk(int window, const ChoiceCut &c)
{
    uint8_t line[256] = {0};
    int chosen = ListSelectedIndex(window);
    if (chosen < 0 && c.keepOpen) return;
    if (chosen >= 0) ListBoxGetText(window, chosen, line);
    CutLine(c, line);
    WinCloseWithChoice(window, line);
}

}  // namespace

// Event 11: OK on window. A choice-list window (one with a list) gives
// its chosen code to its opener and closes; a batch window runs its
// operation once and closes whatever the operation answered (telling the
// user when it stopped short), setting the choosing flag. Both answer 0: nothing is to be stored. Other windows
// answer 1.
uint8_t WindowOkEvent(int window)
{
    if (!WinIsOpen(window)) return 0;
    int type = WinTypeOf(window);
    for (const ChoiceCut &c : ChoiceCuts) {
        if (c.type != type || WinListBox(window) == 0) continue;
        ChoiceOk(window, c);
        return 0;
    }
    for (const BatchRun &b : BatchRuns) {
        if (b.type != type) continue;
        uint8_t *record = WinRecordBuffer(window);
        bool whole = record && MemSize(WinTable[window]->recordHandle) >= ReportParamsVc::Size;
        if (!whole || !b.run(record)) ShowTextMessage(Texts::BatchNotDone);
        if (WinIsOpen(window)) WinClose(window);
        ChoiceMadeFlag = 1;
        return 0;
    }
    return 1;
}
