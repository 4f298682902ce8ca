// choice_list_start.cpp - filling the list of a choice-list window when
// it opens: from its opener's register, by list kind, or a special list.
//
// Each start makes n the current choice list (ChoiceListWindow) with an
// empty list box and a cleared line counter, so the lines the filler adds
// through RepListAddLine land in n and nowhere else. A client asks the
// server for the lines (request 33) and adds what it answers the same way.
#include "shell/choice_list_start.h"

#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "output/output_job.h"
#include "rules/choice_list_fill.h"
#include "rules/series_terms.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

// List kinds whose lines depend on a key text the opener set.
constexpr int KindContacts = 15, KindSerials = 18;

// Makes n the current choice list with an empty list box.
void ChoiceListBegin(int n)
{
    ChoiceListWindow = uint16_t(n);
    ChoiceListPosition = 0;
    ListBoxReset(n);
}

// Adds the lines a server answered to the current choice list.
void AddRemoteLines(const std::vector<std::string> &items)
{
    PString line;
    for (const std::string &item : items) {
        PStringFromView(line, item);
        RepListAddLine(nullptr, line);
    }
}

}  // namespace

// Fills n's default list for the register of the window that opened it,
// dated by the opener's record (today when the record has no date). A
// window with no opener fills the list of register 0 with no date.
void ChoiceListStart(int n)
{
    if (!WinIsOpen(n)) return;
    ChoiceListDate = DateRec{0, 0, 0};
    int opener = WinOpenerOf(n), reg = 0;
    if (WinIsOpen(opener)) {
        reg = WinRegisterOf(opener);
        RecordDate(reg, WinRecordBuffer(opener), &ChoiceListDate);
        if (DateIsEmpty(&ChoiceListDate)) ChoiceListDate = TodayDate;
    }
    ChoiceListBegin(n);
    if (RunModeIsClient()) {
        std::vector<std::string> items;
        if (ChoiceListStartRemote(reg, &ChoiceListDate, &items)) AddRemoteLines(items);
        return;
    }
    FillChoiceList(nullptr, 0, reg);
}

// Fills n's list with list kind `list` for value (the register of kind
// 0), then selects its first line and gives it the focus. A client sends
// the kind with the key text the kind reads (the contact key or the item
// code, else an empty text); kind 0 goes with the choice-list date.
void ChoiceListStartRange(int n, int list, int value)
{
    if (!WinIsOpen(n)) return;
    ChoiceListBegin(n);
    if (RunModeIsClient()) {
        std::vector<std::string> items;
        PString key;
        key[0] = 0;
        if (list == KindContacts) GetPString(ChoiceKey, 0, int(sizeof ChoiceKey) - 1, key);
        if (list == KindSerials) GetPString(ChoiceItem, 0, int(sizeof ChoiceItem) - 1, key);
        bool done = list == 0 ? ChoiceListStartRemote(value, &ChoiceListDate, &items)
                              : ChoiceListStartRangeRemote(list, key, &items);
        if (done) AddRemoteLines(items);
    } else {
        FillChoiceList(nullptr, list, value);
    }
    FocusField(n);
}

// Fills n's list with a special list - ListNoFill nothing, ListFontNames
// the display's font families; any other number nothing - and gives the
// list the focus.
void ChoiceListStartSpecial(int n, int list)
{
    if (!WinIsOpen(n)) return;
    ChoiceListBegin(n);
    if (list == ListNoFill) NoOpFontList();
    if (list == ListFontNames) EnumFontNames(list);
    FocusField(n);
}

// The special list that fills nothing: the window's list stays empty.
void NoOpFontList() {}
