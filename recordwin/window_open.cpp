// window_open.cpp - what a window does once it is laid out after opening
// (window event 22): the choice-list windows fill their lists, the item
// list of a time-sheet row and the code list of the opener's field are
// built, and a batch window takes its parameters from its opener.
//
// The choice windows are filled here and nowhere else, once, as they
// open. A list is filled only into a window that has a list box, so a
// window type that the interface file lays out otherwise (without a list)
// is left as it is.
#include "recordwin/record_windows.h"

#include <cstring>

#include "core/choice_lists.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/control.h"
#include "rules/choice_list_fill.h"
#include "rules/rules_types.h"
#include "shell/choice_list_start.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

// How a window type's list is filled as it opens: by a kind of the
// choice-list filler, the default list of the opener's register
// (OwnList), a special list (the window's own type names it), or by a
// routine of this file.
enum class Fill { Kind, OwnList, Special, RowItems, OpenerCodes, QuotationBatch };

struct OpenedAction {
    int type;
    Fill fill;
    int kind;   // the filler's kind for Fill::Kind
};

constexpr int RowItemListType = 306, CodeListType = 560, QuotationBatchType = 509, CompanyType = 592;

constexpr OpenedAction OpenedActions[] = {
    {56, Fill::Kind, 11},      {74, Fill::Kind, 1},        {97, Fill::OwnList, 0},
    {150, Fill::Kind, 8},      {188, Fill::Kind, 7},       {247, Fill::Kind, 4},
    {287, Fill::Kind, 5},      {RowItemListType, Fill::RowItems, 0},
    {327, Fill::Kind, 12},     {424, Fill::Kind, 13},      {444, Fill::Kind, 14},
    {490, Fill::Kind, 16},     {495, Fill::Kind, 15},      {QuotationBatchType, Fill::QuotationBatch, 0},
    {546, Fill::Kind, 17},     {CodeListType, Fill::OpenerCodes, 0},
    {562, Fill::Kind, 18},     {563, Fill::Special, 0},    {564, Fill::Special, 0},
    {583, Fill::Kind, 19},
};

// The openers of the code list that name its list by themselves.
constexpr int GroupedOpener = 31, DocNumberOpener = 27;
// Lists of the interface file the code list draws on.
constexpr int GroupedList = 102, GroupedCommonList = 138, DocNumberList = 15;
// The row of a code-window opener: a 6-byte row whose first word is a code.
constexpr uint32_t RowCodeRowSize = 6;
// The word of the grouped opener's own opener that names the group.
constexpr uint32_t GroupWordAt = 242;

// Where a window's record bytes are, and how many there are; null when it
// has no record.
const uint8_t *RecordOf(int n, uint32_t *size)
{
    *size = 0;
    if (!WinIsOpen(n) || !WinRecordBuffer(n)) return nullptr;
    *size = MemSize(WinTable[n]->recordHandle);
    return WinRecordBuffer(n);
}

// Finds the record of reg whose first index key, the text field code, is
// `key`; false when there is none.
template <int N>
bool FindByCode(int reg, TextField<N> code, const uint8_t *key, uint8_t *record)
{
    if (key[0] == 0) return false;
    PutText(record, code, key);
    return RecFindByFirstKey(reg, record);
}

// Appends to line (a PString) the name of the item whose code is the row's
// text field itemCode; nothing when there is no such item.
template <int N>
void AppendItemName(uint8_t *line, const uint8_t *row, TextField<N> itemCode)
{
    uint8_t code[256], name[256];
    GetText(row, itemCode, code);
    if (code[0] == 0) return;
    RuleRecord item(INVc::Number);
    if (!item.record) return;
    if (!FindByCode(INVc::Number, INVc::Code, code, item.record)) return;
    GetText(item.record, INVc::Name, name);
    PStringAppend(line, name);
}

// Adds the entries of the interface file's list `list` to n's list in
// order; with a filter, only the entries whose value one of the filter
// lists holds.
void AddListEntries(int n, int list, const int *filters, int filterCount)
{
    uint8_t text[256], unused[256];
    uint16_t value = 0;
    for (int i = 0; ChoiceTextAt(list, i, text, &value); i++) {
        // A value without words (the kind of a row not filled in yet) is
        // shown as nothing and is no choice.
        if (text[0] == 0) continue;
        bool shown = filterCount == 0;
        for (int f = 0; f < filterCount && !shown; f++) {
            int index = 0;
            shown = filters[f] != 0 && ChoiceTextOf(filters[f], value, &index, unused);
        }
        if (shown) ListBoxAddString(n, text);
    }
}

// The batch window of quotation rows starts from its opener, a quotation:
// the quotation's project into the project slot, the
// quotation's number as text into the number slot. An opener whose record
// is too short to hold them gives nothing.
void QuotationBatchFill(int n)
{
    uint32_t size = 0, openerSize = 0;
    uint8_t *record = WinRecordBuffer(n);
    const uint8_t *opener = RecordOf(WinOpenerOf(n), &openerSize);
    if (!record || !opener || !RecordOf(n, &size) || size < ReportParamsVc::Size) return;
    if (openerSize < QuotationVc::Project + TextFieldWidth(20)) return;
    uint8_t text[256];
    GetText(opener, QuotationVc::Project, text);
    PutText(record, ReportParamsVc::SelText6, text);
    FieldFormat(opener + QuotationVc::SerNr, FtLongOrEmpty, 0, text);
    PutText(record, ReportParamsVc::SelText5, text);
}

}  // namespace

// The choosing flag: set when a window closed with a result for its
// opener, read by the framework after a chooser closed.
uint8_t ChoiceMadeFlag = 0;

// The list kind a type-241 row's code stands for: 1 the register-window
// table (65534), 2..8 kinds 4..10, 9 kind 3; 0 for any other code.
int ChoiceKindOfRowCode(int code)
{
    if (code == 1) return 65534;
    if (code >= 2 && code <= 8) return code + 2;
    if (code == 9) return 3;
    return 0;
}

// The list of group codes that the group word `code` of a record of the
// grouped opener's own opener names; 0 for a word outside 1..26.
int ChoiceListOfCode(int code)
{
    if (code == 1) return 121;
    if (code >= 2 && code <= 5) return 122;
    if (code == 6) return 123;
    if (code == 7 || code == 8) return 124;
    if (code == 9) return 125;
    if (code == 10) return 126;
    if (code == 11 || code == 12) return 127;
    if (code >= 13 && code <= 16) return 128;
    if (code >= 17 && code <= 25) return code + 112;
    if (code == 26) return 139;
    return 0;
}

// The items a time-sheet row's person may enter: the person of the
// opener's selected row names an employee type, whose rows give a code
// and an item; each becomes a line "code    item name". A row outside the
// opener's rows, a person or type not found leaves the list empty.
void RowItemListFill(int window)
{
    if (!WinIsOpen(window) || WinListBox(window) == 0) return;
    ListBoxReset(window);
    int opener = WinOpenerOf(window);
    if (WinIsOpen(opener) && WinRegisterOf(opener) == TimeSheetVc::Number && WinRecordBuffer(opener)) {
        const uint8_t *sheet = WinRecordBuffer(opener);
        int row = WinSelectedRow(opener);
        uint8_t r[TimeSheetVc::Rows::Size], code[256];
        RuleRecord person(PEVc::Number), type(EmpTypeVc::Number);
        bool found = row >= 0 && row < MatrixRowCount(TimeSheetVc::Number, 0, sheet) &&
                     MatrixRowRead(TimeSheetVc::Number, sheet, row, r) && person.record && type.record;
        if (found) GetText(r, TimeSheetVc::Rows::Person, code);
        found = found && FindByCode(PEVc::Number, PEVc::Code, code, person.record);
        if (found) GetText(person.record, PEVc::EmpType, code);
        found = found && FindByCode(EmpTypeVc::Number, EmpTypeVc::Code, code, type.record);
        int32_t count = found ? MatrixRowCount(EmpTypeVc::Number, 0, type.record) : 0;
        for (int32_t i = 0; i < count; i++) {
            uint8_t typeRow[EmpTypeVc::Rows::Size], line[256];
            if (!MatrixRowRead(EmpTypeVc::Number, type.record, i, typeRow)) break;
            GetText(typeRow, EmpTypeVc::Rows::Code, line);
            PStringAppendC(line, "    ");
            AppendItemName(line, typeRow, EmpTypeVc::Rows::ItemCode);
            ListBoxAddString(window, line);
        }
    }
    FocusField(window);
}

// The codes the opener's current field may take, from a list of the
// interface file: the opener's current choice list; when it has none, the
// list of the opener's field under edit when that field shows a value by
// its name (a choice field names its list); else a type-241 opener's
// current row names the list, a type-31 opener shows list 102 filtered by
// the lists of its own opener's group, a type-27 opener list 15. Then the
// list gets the focus.
void CodeListFill(int window)
{
    if (!WinIsOpen(window) || WinListBox(window) == 0) return;
    ListBoxReset(window);
    int opener = WinOpenerOf(window);
    if (WinIsOpen(opener)) {
        int list = int16_t(WinTable[opener]->choiceList);
        int filters[2] = {0, 0}, filterCount = 0;
        if (list == 0 && WinTable[opener]->editControl && WinTable[opener]->editFieldType == FtChoice)
            list = WinTable[opener]->editFieldLength;
        if (list == 0) {
            switch (WinTypeOf(opener)) {
            case CodeRowsType: {
                MemBlock rows = WinMatrixRows(opener);
                uint32_t row = WinTable[opener]->currentRow;
                if (rows && (uint64_t(row) + 1) * RowCodeRowSize <= MemSize(rows)) {
                    const uint8_t *bytes = MemLock(rows);
                    if (bytes) list = int16_t(ChoiceKindOfRowCode(GetU16(bytes, row * RowCodeRowSize)));
                    MemUnlock(rows);
                }
                break;
            }
            case GroupedOpener: {
                list = GroupedList;
                filters[filterCount++] = GroupedCommonList;
                uint32_t size = 0;
                const uint8_t *group = RecordOf(WinOpenerOf(opener), &size);
                if (group && size >= GroupWordAt + 2)
                    filters[filterCount++] = ChoiceListOfCode(GetU16(group, GroupWordAt));
                break;
            }
            case DocNumberOpener: list = DocNumberList; break;
            default: break;
            }
        }
        if (list != 0) AddListEntries(window, list, filters, filterCount);
    }
    FocusField(window);
}

// The list kinds that start from their opener: the contacts from the
// document's customer, the serial numbers from the row's item.
constexpr int ContactKind = 15, SerialNumberKind = 18;

// The contact list of choice window `window` starts from the customer of
// the document that opened it (empty for any other opener, which lists
// the contacts kept under no customer).
static void ContactKeyFromOpener(int window)
{
    WindowDocNumber(window);
    uint8_t length = DocNumberListStart[0];
    if (length > sizeof ChoiceKey - 1) length = uint8_t(sizeof ChoiceKey - 1);
    ChoiceKey[0] = length;
    memcpy(ChoiceKey + 1, DocNumberListStart + 1, length);
}

// A settings window read its block: the company window shows the
// current fiscal year, the Number hints window the entry state in use;
// other types do nothing.
void SettingsWindowLoaded(int window)
{
    if (!WinIsOpen(window)) return;
    if (WinTypeOf(window) == CompanyType) CompanyWindowLoaded(window);
    if (WinTypeOf(window) == WinTypes::SetNumberHints) NumberHintsWindowLoaded(window);
}

// The text of the field (or cell) that choice window `window` chooses
// for is selected whole, so that the choice takes its place rather than
// being typed beside what the user had typed.
static void SelectOpenerField(int window)
{
    int opener = WinOpenerOf(window);
    if (!WinIsOpen(opener)) return;
    uint32_t edit = WinTable[opener]->editControl;
    if (edit) EditSetSel(edit, 0, -1);
}

// Event 22: the window was laid out after opening. A choice window fills
// its list, the batch window of quotation rows takes its opener's
// quotation; other types do nothing.
void WindowOpenedEvent(int window)
{
    if (!WinIsOpen(window)) return;
    int type = WinTypeOf(window);
    for (const OpenedAction &a : OpenedActions) {
        if (a.type != type) continue;
        if (a.fill == Fill::QuotationBatch) {
            QuotationBatchFill(window);
            return;
        }
        if (WinListBox(window) == 0) return;
        SelectOpenerField(window);
        switch (a.fill) {
        case Fill::Kind:
            if (a.kind == ContactKind) ContactKeyFromOpener(window);
            if (a.kind == SerialNumberKind) DocRowItemCode(window);
            ChoiceListStartRange(window, a.kind, 0);
            break;
        case Fill::OwnList: ChoiceListStart(window); break;
        case Fill::Special: ChoiceListStartSpecial(window, type); break;
        case Fill::RowItems: RowItemListFill(window); break;
        case Fill::OpenerCodes: CodeListFill(window); break;
        case Fill::QuotationBatch: break;
        }
        return;
    }
}
