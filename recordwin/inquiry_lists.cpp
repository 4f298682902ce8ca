// inquiry_lists.cpp - the read-only lists of the kept registers: which
// document each row came from and opening it, and opening a record
// window's own rows from its operations menu. See inquiry_lists.h.
#include "recordwin/inquiry_lists.h"

#include "recordwin/record_windows.h"

#include <algorithm>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/window_entries.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

// The documents a kept record may point at: their register, the window
// that shows them and where their serial number lies.
struct SourceWindow {
    int reg;
    int type;
    uint32_t serNrAt;
};

constexpr SourceWindow SourceWindows[] = {
    {IVVc::Number, WinTypes::SalesInvoice, IVVc::SerNr},
    {IPVc::Number, WinTypes::Receipt, IPVc::SerNr},
    {VIVc::Number, WinTypes::PurchaseInvoice, VIVc::SerNr},
    {OPVc::Number, WinTypes::OutPayment, OPVc::SerNr},
    {PUVc::Number, WinTypes::GoodsReceipt, PUVc::SerNr},
    {SHVc::Number, WinTypes::Delivery, SHVc::SerNr},
    {ProductionVc::Number, WinTypes::Production, ProductionVc::SerNr},
    {StockMoveVc::Number, WinTypes::StockMovement, StockMoveVc::SerNr},
    {ExpenseVc::Number, WinTypes::ExpenseClaim, ExpenseVc::SerNr},
    {PersPayVc::Number, WinTypes::PersonPayment, PersPayVc::SerNr},
    {TimeSheetVc::Number, WinTypes::TimeSheet, TimeSheetVc::SerNr},
    {TRVc::Number, WinTypes::Voucher, TRVc::SerNr},
    {SMVc::Number, WinTypes::AccountRows, SMVc::SerNr},
    {PersEntryVc::Number, WinTypes::PersonEntry, PersEntryVc::SerNr},
    {OpenBalVc::Number, WinTypes::OpeningBalances, OpenBalVc::SerNr},
};

const SourceWindow *SourceWindowOf(int reg)
{
    for (const SourceWindow &s : SourceWindows)
        if (s.reg == reg) return &s;
    return nullptr;
}

// The inquiry list types, each with its register.
constexpr int InquiryTypes[] = {
    WinTypes::CustOpenItemList,  WinTypes::VendOpenItemList,  WinTypes::BalanceList,
    WinTypes::AccountPostingList, WinTypes::LocationStockList, WinTypes::ItemHistoryList,
    WinTypes::CustTransList,     WinTypes::ProjTransList,     WinTypes::ProjLinkList,
    WinTypes::CustItemStatList,  WinTypes::PersonLedgerList,  WinTypes::VendLedgerList,
    WinTypes::InvHistoryList,    WinTypes::SerialHistoryList, WinTypes::SerialStockList,
};

// The registers' own word for "the issuing side of a stock movement" in
// the document-kind fields of the item and serial-number histories.
constexpr uint16_t MovementOut = 65535;

// A record window's operations-menu items that open its inquiry list:
// the window type, the item's number in the layout, the list, and the
// code field of the window's record (and its length) the list is selected
// on. The menu hands over an item's place, not its number; the number
// keeps the item found when other items come before it.
struct InquiryButtonEntry {
    int windowType;
    int opNumber;
    int listType;
    uint32_t codeAt;
    int codeLength;
};

constexpr InquiryButtonEntry InquiryButtons[] = {
    {WinTypes::Customers, 40, WinTypes::CustOpenItemList, CUVc::Code, 20},
    {WinTypes::Vendors, 40, WinTypes::VendOpenItemList, VEVc::Code, 20},
    {WinTypes::Item, 40, WinTypes::LocationStockList, INVc::Code, 20},
    {WinTypes::Item, 41, WinTypes::ItemHistoryList, INVc::Code, 20},
    {WinTypes::Accounts, 40, WinTypes::AccountPostingList, ACVc::Code, 10},
    // A project's time-sheet rows and deliveries: the project links are
    // kept by project, the person-keyed transactions are not.
    {WinTypes::Project, 40, WinTypes::ProjLinkList, ProjectVc::Code, 20},
};

// A document by number: register reg, serial number nr (-1 and below is
// no number: an unnumbered document or a payment on account).
InquirySource ByNumber(int reg, int32_t nr)
{
    InquirySource s;
    if (nr < 0 || !SourceWindowOf(reg)) return s;
    s.reg = reg;
    s.serNr = nr;
    return s;
}

// The document register a history's document-kind word names: the
// register number itself, or the issuing side of a stock movement.
int HistoryDocRegister(uint16_t kind) { return kind == MovementOut ? int(StockMoveVc::Number) : int(kind); }

// The id of the document s points at, 0 when it is not in the company: a
// kept record id must still hold a document with the serial number the
// posting names (an id of a deleted record may be given to another).
uint32_t FindSource(const InquirySource &s)
{
    const SourceWindow *w = SourceWindowOf(s.reg);
    uint32_t size = RegRecordSize(s.reg);
    if (!w || size < w->serNrAt + 4) return 0;
    MemBlock h = 0;
    uint8_t *rec = RecBufferNew(s.reg, &h);
    if (!rec) return 0;
    uint32_t id = 0, position = 0;
    bool found;
    if (s.recordId != 0) {
        found = RecReadById(s.reg, s.recordId, rec) && GetI32(rec, w->serNrAt) == s.serNr;
        id = s.recordId;
    } else {
        PutI32(rec, w->serNrAt, s.serNr);
        found = RecFindByIndex(s.reg, "SerNr", rec, 1, 1, &id, &position) && GetI32(rec, w->serNrAt) == s.serNr;
    }
    RecBufferFree(s.reg, &h);
    return found ? id : 0;
}

// The number the layout gives operations item `button` (1 the first) of
// window type `type`; -1 when the type has no such item.
int OpNumberAt(int type, int button)
{
    uint8_t *def = WinTypeDef(type);
    if (!def || button < 1 || button > WinDefPartCount(def, WinPartMenuItems)) return -1;
    uint16_t size = 0;
    const uint8_t *entry = WinDefPartEntry(def, WinPartMenuItems, button - 1, &size);
    if (!entry || size < OpEntry::Number + 2) return -1;
    return DefU16(entry + OpEntry::Number);
}

}  // namespace

InquirySource InquirySourceOf(int listReg, const uint8_t *r, uint32_t size)
{
    if (!r || size < RegRecordSize(listReg) || RegRecordSize(listReg) == 0) return {};
    switch (listReg) {
    case ARVc::Number: return ByNumber(IVVc::Number, GetI32(r, ARVc::InvoiceNr));
    case APVc::Number: return ByNumber(VIVc::Number, GetI32(r, APVc::InvoiceNr));
    case InvHistVc::Number: return ByNumber(IVVc::Number, GetI32(r, InvHistVc::InvoiceNr));
    case CustTransVc::Number:
        switch (GetU16(r, CustTransVc::Kind)) {
        case 0: return ByNumber(IVVc::Number, GetI32(r, CustTransVc::DocNr));
        case 1: return ByNumber(IPVc::Number, GetI32(r, CustTransVc::DocNr));
        default: return {};
        }
    case VLVc::Number:
        switch (GetU16(r, VLVc::Kind)) {
        case 0: return ByNumber(VIVc::Number, GetI32(r, VLVc::DocSerNr));
        case 1: return ByNumber(OPVc::Number, GetI32(r, VLVc::DocSerNr));
        default: return {};
        }
    case PersLedgerVc::Number:
        switch (GetU16(r, PersLedgerVc::Kind)) {
        case 0: return ByNumber(ExpenseVc::Number, GetI32(r, PersLedgerVc::DocNr));
        case 1: return ByNumber(PersPayVc::Number, GetI32(r, PersLedgerVc::DocNr));
        default: return {};
        }
    case ProjTransVc::Number: return ByNumber(TimeSheetVc::Number, GetI32(r, ProjTransVc::SheetNr));
    case ProjLinkVc::Number:
        switch (GetU16(r, ProjLinkVc::Kind)) {
        case 1: return ByNumber(TimeSheetVc::Number, GetI32(r, ProjLinkVc::SourceNr));
        case 2: return ByNumber(SHVc::Number, GetI32(r, ProjLinkVc::SourceNr));
        default: return {};
        }
    case ItemHistVc::Number:
        return ByNumber(HistoryDocRegister(GetU16(r, ItemHistVc::DocType)), GetI32(r, ItemHistVc::DocNr));
    case SerialHistVc::Number:
        return ByNumber(HistoryDocRegister(GetU16(r, SerialHistVc::SourceReg)), GetI32(r, SerialHistVc::SourceNr));
    case ATVc::Number: {
        InquirySource s = ByNumber(GetU16(r, ATVc::SourceReg), GetI32(r, ATVc::SourceSerNr));
        int32_t id = GetI32(r, ATVc::SourceRecId);
        if (s.reg == 0 || id <= 0) return {};
        s.recordId = uint32_t(id);
        return s;
    }
    default: return {};
    }
}

int InquirySourceWindowType(int reg)
{
    const SourceWindow *s = SourceWindowOf(reg);
    return s ? s->type : 0;
}

bool IsInquiryListType(int type)
{
    return std::find(std::begin(InquiryTypes), std::end(InquiryTypes), type) != std::end(InquiryTypes);
}

bool InquiryListOpenSource(int n, int32_t id)
{
    if (!WinIsOpen(n) || !IsInquiryListType(WinTypeOf(n))) return false;
    int reg = WinRegisterOf(n);
    if (id <= 0 || reg == 0) return true;
    MemBlock h = 0;
    uint8_t *rec = RecBufferNew(reg, &h);
    if (!rec) return true;
    InquirySource s;
    if (RecReadById(reg, uint32_t(id), rec)) s = InquirySourceOf(reg, rec, RegRecordSize(reg));
    RecBufferFree(reg, &h);
    if (s.reg == 0) return true;
    int type = InquirySourceWindowType(s.reg);
    uint32_t docId = FindSource(s);
    if (docId == 0 || !WinDefExists(type)) {
        ShowTextMessage(Texts::InquiryNoDocument);
        return true;
    }
    if (WinTypeMayOpen(type)) OpenOrActivateWindow(type, 0, docId, true, 0);
    return true;
}

bool InquiryListButton(int window, int button)
{
    if (!WinIsOpen(window)) return false;
    int type = WinTypeOf(window);
    const InquiryButtonEntry *e = nullptr;
    int number = OpNumberAt(type, button);
    for (const InquiryButtonEntry &b : InquiryButtons)
        if (b.windowType == type && b.opNumber == number) e = &b;
    if (!e) return false;
    if (!WinDefExists(e->listType) || !WinTypeMayOpen(e->listType)) return true;
    // The code is read before the list opens: opening may move the
    // record window's buffers.
    PString code;
    code[0] = 0;
    const uint8_t *rec = WinRecordBuffer(window);
    if (rec && MemSize(WinTable[window]->recordHandle) >= e->codeAt + uint32_t(e->codeLength) + 1)
        GetPString(rec, e->codeAt, e->codeLength, code);
    int list = OpenOrActivateWindow(e->listType, 0, 0, false, 0);
    if (!list || code[0] == 0) return true;
    // The list is selected on the first row of the code, as a code typed
    // into its Find field finds it.
    if (!WinGotoField(list, 1, true) || !WinTable[list]->editControl) return true;
    WinTypeText(list, code);
    (void)ListFindTypedKey(list);
    return true;
}
