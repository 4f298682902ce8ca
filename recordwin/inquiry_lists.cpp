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
#include "rules/payment_kinds.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

// The documents a kept record may point at: their register, the window
// that shows them and where their serial number lies (for the customers,
// items and vendors that period sums are kept for, their code).
struct SourceWindow {
    int reg;
    int type;
    uint32_t serNrAt;
    bool byCode = false;
};

constexpr int CodeLength = 20, NameLength = 60;

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
    {CUVc::Number, WinTypes::Customers, CUVc::Code, true},
    {INVc::Number, WinTypes::Item, INVc::Code, true},
    {VEVc::Number, WinTypes::Vendors, VEVc::Code, true},
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
    WinTypes::CustStatList,      WinTypes::ItemStatList,      WinTypes::VendBalanceList,
};

// The registers' own word for "the issuing side of a stock movement" in
// the document-kind fields of the item and serial-number histories.
constexpr uint16_t MovementOut = 65535;

// A record window's operations-menu items that open its inquiry list:
// the window type, the item's number in the layout, the list, the list's
// index whose first part is the window's code, and the code and name
// fields of the window's record (the code's length) the list is limited
// to and titled by. The menu hands over an item's place, not its number;
// the number keeps the item found when other items come before it.
struct InquiryButtonEntry {
    int windowType;
    int opNumber;
    int listType;
    const char *index;
    uint32_t codeAt;
    int codeLength;
    uint32_t nameAt;
};

constexpr InquiryButtonEntry InquiryButtons[] = {
    {WinTypes::Customers, 40, WinTypes::CustOpenItemList, "CustCode", CUVc::Code, 20, CUVc::Name},
    {WinTypes::Customers, 41, WinTypes::CustTransList, "CustTransKey", CUVc::Code, 20, CUVc::Name},
    {WinTypes::Customers, 42, WinTypes::CustStatList, "CustCode", CUVc::Code, 20, CUVc::Name},
    {WinTypes::Vendors, 40, WinTypes::VendOpenItemList, "VECode", VEVc::Code, 20, VEVc::Name},
    {WinTypes::Vendors, 41, WinTypes::VendLedgerList, "MainKey", VEVc::Code, 20, VEVc::Name},
    {WinTypes::Vendors, 42, WinTypes::VendBalanceList, "VendCode", VEVc::Code, 20, VEVc::Name},
    {WinTypes::Item, 40, WinTypes::LocationStockList, "ItemLocation", INVc::Code, 20, INVc::Name},
    {WinTypes::Item, 41, WinTypes::ItemHistoryList, "ItemDate", INVc::Code, 20, INVc::Name},
    {WinTypes::Item, 42, WinTypes::ItemStatList, "ItemCode", INVc::Code, 20, INVc::Name},
    {WinTypes::Accounts, 40, WinTypes::AccountPostingList, "AccDate", ACVc::Code, 10, ACVc::Name},
    {WinTypes::Accounts, 41, WinTypes::BalanceList, "AccKey", ACVc::Code, 10, ACVc::Name},
    // A project's time-sheet rows and deliveries: the project links are
    // kept by project; the transactions are kept by person, with no
    // index by project, so they have no list of one project.
    {WinTypes::Project, 40, WinTypes::ProjLinkList, "Project", ProjectVc::Code, 20, ProjectVc::Name},
};

// A document by number: register reg, serial number nr (-1 and below is
// no number: an unnumbered document or a payment on account).
InquirySource ByNumber(int reg, int32_t nr)
{
    InquirySource s;
    const SourceWindow *w = SourceWindowOf(reg);
    if (nr < 0 || !w || w->byCode) return s;
    s.reg = reg;
    s.serNr = nr;
    return s;
}

// A record of register reg by the code at `at` of record r; none for an
// empty code (the sums kept under no code).
InquirySource ByCode(int reg, const uint8_t *r, uint32_t at)
{
    InquirySource s;
    uint8_t code[256];
    GetPString(r, at, CodeLength, code);
    if (code[0] == 0 || code[0] >= sizeof s.code) return s;
    s.reg = reg;
    PStringCopy(s.code, code);
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
    if (w->byCode) {
        // By its code, through the register's own index of codes.
        uint8_t code[256];
        PutPString(rec, w->serNrAt, CodeLength, s.code);
        found = RecFind(s.reg, rec, 1, 1, &id, &position);
        GetPString(rec, w->serNrAt, CodeLength, code);
        found = found && PStringEqual(code, s.code);
    } else if (s.recordId != 0) {
        found = RecReadById(s.reg, s.recordId, rec) && GetI32(rec, w->serNrAt) == s.serNr;
        id = s.recordId;
    } else {
        PutI32(rec, w->serNrAt, s.serNr);
        found = RecFindByIndex(s.reg, "SerNr", rec, 1, 1, &id, &position) && GetI32(rec, w->serNrAt) == s.serNr;
    }
    RecBufferFree(s.reg, &h);
    return found ? id : 0;
}

// The inquiry list that the operations item numbered `number` of window
// type `type` opens; null when the number names none.
const InquiryButtonEntry *InquiryItemEntry(int type, int number)
{
    for (const InquiryButtonEntry &b : InquiryButtons)
        if (b.windowType == type && b.opNumber == number) return &b;
    return nullptr;
}

}  // namespace

int InquiryListOfItem(int type, int number)
{
    const InquiryButtonEntry *e = InquiryItemEntry(type, number);
    return e ? e->listType : 0;
}

InquirySource InquirySourceOf(int listReg, const uint8_t *r, uint32_t size)
{
    if (!r || size < RegRecordSize(listReg) || RegRecordSize(listReg) == 0) return {};
    switch (listReg) {
    case ARVc::Number: return ByNumber(IVVc::Number, GetI32(r, ARVc::InvoiceNr));
    case APVc::Number: return ByNumber(VIVc::Number, GetI32(r, APVc::InvoiceNr));
    case InvHistVc::Number: return ByNumber(IVVc::Number, GetI32(r, InvHistVc::InvoiceNr));
    case CustTransVc::Number:
        switch (LedgerEntryKind(GetU16(r, CustTransVc::Kind))) {
        case LedgerEntryKind::Invoice: return ByNumber(IVVc::Number, GetI32(r, CustTransVc::DocNr));
        case LedgerEntryKind::Payment: return ByNumber(IPVc::Number, GetI32(r, CustTransVc::DocNr));
        default: return {};
        }
    case VLVc::Number:
        switch (LedgerEntryKind(GetU16(r, VLVc::Kind))) {
        case LedgerEntryKind::Invoice: return ByNumber(VIVc::Number, GetI32(r, VLVc::DocSerNr));
        case LedgerEntryKind::Payment: return ByNumber(OPVc::Number, GetI32(r, VLVc::DocSerNr));
        default: return {};
        }
    case PersLedgerVc::Number:
        switch (GetU16(r, PersLedgerVc::Kind)) {
        case 0: return ByNumber(ExpenseVc::Number, GetI32(r, PersLedgerVc::DocNr));
        case 1: return ByNumber(PersPayVc::Number, GetI32(r, PersLedgerVc::DocNr));
        default: return {};
        }
    case ProjTransVc::Number: return ByNumber(TimeSheetVc::Number, GetI32(r, ProjTransVc::SheetNr));
    case CSVc::Number: return ByCode(CUVc::Number, r, CSVc::CustCode);
    case ISVc::Number: return ByCode(INVc::Number, r, ISVc::ItemCode);
    case VBVc::Number: return ByCode(VEVc::Number, r, VBVc::VendCode);
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
    const InquiryButtonEntry *e = InquiryItemEntry(type, OpNumberAt(type, button));
    if (!e) return false;
    if (!WinDefExists(e->listType) || !WinTypeMayOpen(e->listType)) return true;
    // The code and name are read before the list opens: opening may move
    // the record window's buffers.
    PString code, label, name;
    code[0] = name[0] = 0;
    const uint8_t *rec = WinRecordBuffer(window);
    uint32_t size = MemSize(WinTable[window]->recordHandle);
    if (rec && size >= e->codeAt + uint32_t(e->codeLength) + 1) GetPString(rec, e->codeAt, e->codeLength, code);
    if (rec && size >= e->nameAt + uint32_t(NameLength) + 1) GetPString(rec, e->nameAt, NameLength, name);
    PStringCopy(label, code);
    if (name[0]) {
        PStringAppendC(label, " ");
        PStringAppend(label, name);
    }
    int list = OpenOrActivateWindow(e->listType, 0, 0, false, 0);
    if (!list) return true;
    // A record not stored yet has no code: the whole list, as it was.
    if (code[0] == 0) {
        ListFilterClear(list);
        return true;
    }
    if (ListFilterSet(list, e->index, code, label)) return true;
    // A code the index cannot be searched by: the list is selected on the
    // first row at or after it, as a code typed into its Find field finds it.
    if (!WinGotoField(list, 1, true) || !WinTable[list]->editControl) return true;
    WinTypeText(list, code);
    (void)ListFindTypedKey(list);
    return true;
}
