// type_rules.cpp - rules by window type that the framework consults:
// edit-command states, the title text, the address list's copy.
#include "recordwin/record_windows.h"
#include "recordwin/inquiry_lists.h"

#include <cstring>
#include <string>

#include "core/field_access.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/window_kind.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "rules/series_terms.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {
// Types whose windows may not open a record nor start a new one.
constexpr int NoOpenTypeA = 353, NoOpenTypeB = 354;
// The address lists, whose marked records Edit > Copy copies: the
// customer address list, and the customer list, which has copied them
// since before the address list had a window.
constexpr int AddressListType = WinTypes::CustomerAddressList, CustomerListType = WinTypes::CustomerList;
// The form designer's windows carry a title text in their record.
constexpr int DesignerTitleOffset = 4;
}  // namespace

// Window types 353 and 354 withdraw open and new; the inquiry lists
// offer OK; others change nothing.
void EditCommandsTypeRule(int window, bool *open, bool *nw, bool *ok, bool *cancel)
{
    (void)ok;
    (void)cancel;
    if (!WinIsOpen(window)) return;
    int type = WinTypeOf(window);
    if (type == NoOpenTypeA || type == NoOpenTypeB) *open = *nw = false;
    // An inquiry list keeps no record window of its own, but its OK opens
    // the document of the selected row.
    if (IsInquiryListType(type)) *ok = true;
}

// The record's text for the window's title: in a designer window (kind
// 11) the PString after the record's first 32-bit word; otherwise empty.
void WinTitleRecordText(int window, uint8_t *text)
{
    text[0] = 0;
    if (!WinIsOpen(window) || WinKindOf(window) != KindCode(WindowKind::Designer)) return;
    const WindowRec *w = WinTable[window];
    uint32_t size = WinTypeWord(w->windowType, 2);
    const uint8_t *s = w->record ? w->record + DesignerTitleOffset : nullptr;
    // The text must lie inside the record buffer.
    if (!s || size <= DesignerTitleOffset || s[0] >= size - DesignerTitleOffset) return;
    for (int i = 0; i <= s[0]; i++) text[i] = s[i];
}

// Repaints what window type 1 lays out. No window of type 1 is ever open:
// its layout is the frame's two bars, so those are redrawn.
void WindowType1Refresh() { RedrawWindowOne(); }

// True when the window lists addresses (the customer address list or the
// customer list).
bool WinIsAddressList(int window)
{
    if (!WinIsOpen(window)) return false;
    int type = WinTypeOf(window);
    return type == AddressListType || type == CustomerListType;
}

namespace {
// Appends the text field at `offset` of a customer record and a line end.
// Lines end with LF: the clipboard is shared with the programs of this
// platform, for which a lone CR ends no line.
void AppendLine(std::string *text, const uint8_t *customer, uint32_t offset)
{
    PString line;
    GetPString(customer, offset, 60, line);
    text->append(reinterpret_cast<const char *>(line + 1), line[0]);
    text->push_back('\n');
}
}  // namespace

// Puts into *text (a new block, zero-terminated; 0 when nothing is marked)
// the addresses of the address list's marked customers in the order they
// were marked: for each its name, its second name when set, its three
// address lines and a line holding one space. A marked record that can
// no longer be read (deleted meanwhile) is left out. Other windows leave
// *text as it is.
void ListCopyMarkedAddresses(int window, MemBlock *text)
{
    if (!WinIsAddressList(window)) return;
    MemBlock ids = ListMarkedFirst(window);
    if (!MemIsValid(ids)) return;
    uint32_t count = MemSize(ids) / sizeof(int32_t);
    MemBlock h = 0;
    uint8_t *customer = RecBufferNew(CUVc::Number, &h);
    std::string all;
    for (uint32_t i = 0; customer && i < count; i++) {
        int32_t id;
        std::memcpy(&id, MemLock(ids) + i * sizeof id, sizeof id);
        MemUnlock(ids);
        RecClear(CUVc::Number, customer);
        if (id < 0 || !RecReadById(CUVc::Number, uint32_t(id), customer)) continue;
        AppendLine(&all, customer, CUVc::Name);
        if (customer[CUVc::Name2] != 0) AppendLine(&all, customer, CUVc::Name2);
        for (uint32_t at : {CUVc::Addr1, CUVc::Addr2, CUVc::Addr3}) AppendLine(&all, customer, at);
        all += " \n";
    }
    if (customer) RecBufferFree(CUVc::Number, &h);
    MemFree(&ids);
    if (all.empty()) return;
    MemBlock block = MemAlloc(uint32_t(all.size() + 1));
    uint8_t *p = block ? MemLock(block) : nullptr;
    if (!p) {
        MemFree(&block);
        return;
    }
    std::memcpy(p, all.c_str(), all.size() + 1);
    MemUnlock(block);
    if (MemIsValid(*text)) MemFree(text);
    *text = block;
}

// Window types whose windows start on field 2: their field 1 is filled
// by the program.
constexpr int SecondFieldTypes[] = {41, 117, 155, 157, 164, 197, 255, 268, 272, 290, 347, 352, 426};

// The voucher list finds by its second key.
constexpr int VoucherListType = 118, VoucherListKeyParts = 2, VoucherListFindMax = 20;

// Focuses the field a new record of the type starts on: field 2 for the
// types whose first field the program fills, else field 1.
void WinFocusFirstField(int type, int window)
{
    if (!WinIsOpen(window)) return;
    int F = 1;
    for (int t : SecondFieldTypes)
        if (t == type) F = 2;
    WinGotoField(window, F, true);
}

// The key parts and key text a window's typed key finds its record by:
// the voucher list (118) finds by two parts, year and number, read from
// the given text or else from the list's find field ("A.12"); other
// types keep both.
void FindKeyByType(int window, int *keyParts, uint8_t *text)
{
    if (!WinIsOpen(window) || WinTypeOf(window) != VoucherListType) return;
    *keyParts = VoucherListKeyParts;
    uint8_t *record = WinRecordBuffer(window);
    if (!record || WinRegisterOf(window) != TRVc::Number) return;
    uint8_t typed[256];
    if (text)
        PStringCopy(typed, text);
    else
        GetText(record, TRVc::Text2, typed);
    (void)VoucherKeyFromText(typed, record);
}

// The row text list column `column` of the window's own text shows: in
// the voucher list (type 118) the voucher's year code and number; in the
// customer transactions and the sales-invoice list a document's kind in
// words and its signed amount; in the lists of kept period sums a name or
// a year's sum (inquiry_lists.h);
// empty for every other type. The type is the window type, not the
// register.
void RowExtraText(int windowType, int column, const uint8_t *record, uint8_t *text)
{
    text[0] = 0;
    if (windowType == VoucherListType && record)
        VoucherYearCodeText(text, record);
    else if (!DocumentListColumnText(windowType, column, record, text))
        InquiryColumnText(windowType, column, record, text);
}
