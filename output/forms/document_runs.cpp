// document_runs.cpp - the document batch runs (report numbers -29 to -2):
// a walk over a range of document numbers (project codes for -24) that
// prints each document's form or approves it with the kind that prints
// it, and the payment-reminder run over overdue open items.
//
// A run stops after the document in hand when the user presses Esc, and
// at the first record that cannot be read. The approve runs count the
// documents the approval refused, could not store or did not print, and
// tell the count at the end, so none is skipped unseen. A reminder's level is raised in
// the printed copy and stored only when the reminder printed.
#include <cassert>
#include <cstring>

#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "operations/invoice_notice.h"
#include "output/forms/forms.h"
#include "output/forms/print_form_call.h"
#include "reports/sales/report_run.h"
#include "rules/rules_types.h"

namespace {
constexpr int RangeMax = 255, CodeMax = 20, CategoryMax = 5;
constexpr int TextRunRefused = 12350;   // "Documents not printed or not approved: "
constexpr ApproveKind KindInvoice = 11, KindOrder = 13, KindShipment = 14, KindInvoiceAgain = 17,
                      KindQuotation = 25, KindOrder2 = 26, KindPurchaseOrder = 33;

// The register a run walks, the index that orders it by number (or
// code) and where the record holds that key.
struct RangeWalkDef {
    int reg;
    const char *index;
    size_t keyAt;
    bool codeKey;   // a text key (project codes) instead of a 32-bit number
};
constexpr RangeWalkDef TimeSheetWalk{TimeSheetVc::Number, "SerNr", TimeSheetVc::SerNr, false};
constexpr RangeWalkDef ProductionWalk{ProductionVc::Number, "SerNr", ProductionVc::SerNr, false};
constexpr RangeWalkDef ProjectWalk{ProjectVc::Number, "Code", ProjectVc::Code, true};
constexpr RangeWalkDef PurchaseOrderWalk{PurchOrderVc::Number, "SerNr", PurchOrderVc::SerNr, false};
constexpr RangeWalkDef InvoiceWalk{IVVc::Number, "SerNr", IVVc::SerNr, false};
constexpr RangeWalkDef OrderWalk{ORVc::Number, "SerNr", ORVc::SerNr, false};
constexpr RangeWalkDef QuotationWalk{QuotationVc::Number, "SerNr", QuotationVc::SerNr, false};
constexpr RangeWalkDef DeliveryWalk{SHVc::Number, "SerNr", SHVc::SerNr, false};
constexpr RangeWalkDef OpenItemWalk{ARVc::Number, "InvoiceNr", ARVc::InvoiceNr, false};

// True when the record's key lies beyond the range's upper end.
bool PastUpperEnd(const RangeWalkDef &w, const uint8_t *rec, int32_t toNumber, const uint8_t *toCode) {
    if (!w.codeKey) return toNumber >= 0 && GetI32(rec, w.keyAt) > toNumber;
    if (toCode[0] == 0) return false;
    uint8_t key[256];
    GetPString(rec, w.keyAt, CodeMax, key);
    return PStringCompareNoCase(key, toCode) > 0;   // as the index orders the codes
}

// Walks the records of the range typed in the report's first selection
// text, from its first end (the start when open) through its last end
// (the register's end when open), calling act(record, recid) for each.
// An empty range walks nothing. Ends after the record in hand on Esc.
template <typename Act> void RangeWalk(const RangeWalkDef &w, Act act) {
    uint8_t range[256], fromCode[256], toCode[256];
    GetPString(ReportParams, ReportParamsVc::SelText1, RangeMax, range);
    if (range[0] == 0) return;
    int32_t from = -1, to = -1;
    fromCode[0] = toCode[0] = 0;
    if (w.codeKey) RangeSplit(range, fromCode, toCode);
    else RangeSplitNumber(range, &from, &to);
    RuleRecord rec(w.reg);
    if (!rec.record) return;
    if (w.codeKey) PutPString(rec.record, w.keyAt, CodeMax, fromCode);
    else PutI32(rec.record, w.keyAt, from < 0 ? 0 : from);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(w.reg, w.index, rec.record, 1, 0, &recid, &position)) return;
    for (uint32_t p = position;; p++) {
        if (p != position) {
            RecFreeMatrix(w.reg, rec.record);
            if (!RecReadAtIndex(w.reg, w.index, (int32_t)p, rec.record, &recid)) break;
        }
        if (PastUpperEnd(w, rec.record, to, toCode)) break;
        act(rec.record, recid);
        if (ReportCancelled()) break;
    }
    RecFreeMatrix(w.reg, rec.record);
}

// Prints each document of the range as doctype.
void PrintRange(const RangeWalkDef &w, int16_t doctype) {
    RangeWalk(w, [&](const uint8_t *rec, uint32_t) { PrintForm(doctype, rec); });
}

// Tells how many documents of a run its approval refused or could not
// store; nothing when none.
void TellRefused(int32_t refused) {
    if (refused <= 0) return;
    uint8_t count[256];
    LongToDigitText(refused, count);
    ShowMessage(TextRunRefused, count);
}

// The flag a printing approve kind sets in a document it printed; 0
// for the kinds that mark nothing.
size_t PrintedFlagOf(ApproveKind kind) {
    switch (kind) {
    case KindInvoice: case KindInvoiceAgain: return IVVc::Printed;
    case KindOrder: return ORVc::Printed;
    case KindShipment: return SHVc::Printed;
    case KindPurchaseOrder: return PurchOrderVc::Printed;
    default: return 0;
    }
}

// Approves the document with kind; false when the approval refused it,
// could not store it, or did not print it (read from the printed flag of
// a kind that marks one, else from the count of failed form prints).
bool ApproveCounted(ApproveKind kind, int reg, const uint8_t *rec, uint32_t recid) {
    uint32_t failedBefore = FormPrintsFailed;
    if (!ApproveAllowed(kind, reg, rec) || !ApproveRecord(kind, reg, recid)) return false;
    size_t flag = PrintedFlagOf(kind);
    if (flag == 0) return FormPrintsFailed == failedBefore;
    RuleRecord stored(reg);
    if (!stored.record || !RecReadById(reg, recid, stored.record)) return false;
    bool printed = GetI16(stored.record, flag) != 0;
    RecFreeMatrix(reg, stored.record);
    return printed;
}

// Approves each document of the range with kind and tells the refusals.
void ApproveRange(const RangeWalkDef &w, ApproveKind kind) {
    int32_t refused = 0;
    RangeWalk(w, [&](const uint8_t *rec, uint32_t recid) {
        if (!ApproveCounted(kind, w.reg, rec, recid)) refused++;
    });
    TellRefused(refused);
}

// The approve kind print mode `mode` gives an invoice printed or not;
// 0 when the mode skips it.
ApproveKind InvoiceKindByMode(int16_t mode, bool printed) {
    if (mode == 0) return printed ? 0 : KindInvoice;
    if (mode == 1) return KindInvoice;
    if (mode == 2) return KindInvoiceAgain;
    return 0;
}

// The option word that lets invoices of this kind into the run.
uint16_t InvoiceKindOption(int16_t kind) {
    switch (kind) {
    case 2: return GetU16(ReportParams, ReportParamsVc::Option3);
    case 3: return GetU16(ReportParams, ReportParamsVc::Option4);
    case 4: return GetU16(ReportParams, ReportParamsVc::Option5);
    default: return GetU16(ReportParams, ReportParamsVc::Option2);
    }
}

// A counter of -1 or -2 means no reminder yet.
int32_t NoticeLevel(const uint8_t *invoice) {
    int32_t n = GetI32(invoice, IVVc::NoticeCount);
    return n == -1 || n == -2 ? 0 : n;
}

// Whether the open item (with its invoice in FormInvoice when found) is
// one the reminder run's selection takes.
bool ReminderWanted(const uint8_t *open, bool invoiceFound) {
    uint8_t want[256], code[256];
    GetPString(open, ARVc::CustCode, CodeMax, code);
    GetPString(ReportParams, ReportParamsVc::SelText2, CodeMax, want);
    if (want[0] != 0 && PStringCompare(want, code) != 0) return false;
    GetPString(ReportParams, ReportParamsVc::SelText3, CategoryMax, want);
    if (want[0] != 0) {
        uint8_t customer[CUVc::Size] = {}, category[256];
        if (DocReadByCode(CUVc::Number, "Code", CUVc::Code, CodeMax, code, customer)) {
            RecFreeMatrix(CUVc::Number, customer);
            GetPString(customer, CUVc::CustGroup, CategoryMax, category);
            if (PStringCompare(category, want) != 0) return false;
        }
    }
    TodayToGlobals();
    DateRec due = GetDate(open, ARVc::DueDate);
    int32_t days = DateDiffDays(&due, &TodayDate);   // negative: overdue that many days
    if (days >= 0) return false;
    int32_t minimum = GetI32(ReportParams, ReportParamsVc::NumberFrom);
    if (minimum != -1 && -days < minimum) return false;
    int32_t level = GetI32(ReportParams, ReportParamsVc::NumberTo);
    if (level != -1 && level != -2 && invoiceFound && NoticeLevel(FormInvoice) != level) return false;
    PackedDecimal amount = GetDec(open, ARVc::OpenAmount), zero;
    DecSetZero(&zero);
    return DecIsBlank(&amount) || DecCompare(&amount, &zero) >= 0;
}

// Reads the invoice of number into FormInvoice; false, cleared, when
// there is none.
bool ReadFormInvoice(int32_t number) {
    RecFreeMatrix(IVVc::Number, FormInvoice);
    std::memset(FormInvoice, 0, sizeof FormInvoice);
    PutI32(FormInvoice, IVVc::SerNr, number);
    uint32_t recid = 0, position = 0;
    if (RecFindByIndex(IVVc::Number, "SerNr", FormInvoice, 1, 1, &recid, &position)) return true;
    RecFreeMatrix(IVVc::Number, FormInvoice);
    std::memset(FormInvoice, 0, sizeof FormInvoice);
    return false;
}

// One reminder: the invoice is FormInvoice while it prints, so the form
// is chosen by its language; with the raise option its level is raised
// in the printed copy and stored only when the reminder printed.
void RemindOpenItem(const uint8_t *open) {
    int32_t number = GetI32(open, ARVc::InvoiceNr);
    bool found = ReadFormInvoice(number);
    if (!ReminderWanted(open, found)) {
        RecFreeMatrix(IVVc::Number, FormInvoice);
        std::memset(FormInvoice, 0, sizeof FormInvoice);
        return;
    }
    bool raise = GetU16(ReportParams, ReportParamsVc::Option2) != 0 && found;
    if (raise) {
        TodayToGlobals();
        PutI32(FormInvoice, IVVc::NoticeCount, NoticeLevel(FormInvoice) + 1);
        PutDate(FormInvoice, IVVc::NoticeDate, TodayDate);
    }
    uint8_t printed = PrintForm(-4, open);
    RecFreeMatrix(IVVc::Number, FormInvoice);
    std::memset(FormInvoice, 0, sizeof FormInvoice);
    if (raise && printed == 1) InvoiceNoticeCount(number);
}
}  // namespace

int32_t InvoiceNoticeCount(int32_t number) {
    RuleRecord inv(IVVc::Number);
    if (!inv.record) return 0;
    PutI32(inv.record, IVVc::SerNr, number);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(IVVc::Number, "SerNr", inv.record, 1, 1, &recid, &position)) return 0;
    int32_t count = NoticeLevel(inv.record) + 1;
    TodayToGlobals();
    PutI32(inv.record, IVVc::NoticeCount, count);
    PutDate(inv.record, IVVc::NoticeDate, TodayDate);
    DbHoldBegin();
    NoticeResult result = InvoiceNoticeStore(inv.record);
    bool stored = DbHoldEnd() && result == NoticeResult::Stored;
    RecFreeMatrix(IVVc::Number, inv.record);
    return stored ? count : 0;
}

void PrintTimeSheetForms() { PrintRange(TimeSheetWalk, -29); }
void PrintProductionForms() { PrintRange(ProductionWalk, -28); }
void PrintProjectForms() { PrintRange(ProjectWalk, -24); }
void ApprovePORange() { ApproveRange(PurchaseOrderWalk, KindPurchaseOrder); }
void PrintInvoiceForms(int doctype) { PrintRange(InvoiceWalk, (int16_t)doctype); }
void ApproveOrderRange26() { ApproveRange(OrderWalk, KindOrder2); }
void ApproveQuoteRange() { ApproveRange(QuotationWalk, KindQuotation); }
void PrintDeliveryForms(int doctype) { PrintRange(DeliveryWalk, (int16_t)doctype); }
void ApproveOrderRange() { ApproveRange(OrderWalk, KindOrder); }
void ApproveDeliveryRange() { ApproveRange(DeliveryWalk, KindShipment); }

void PrintCustomerForms() {
    RangeWalk(OpenItemWalk, [](const uint8_t *open, uint32_t) { RemindOpenItem(open); });
}

void ApproveInvoiceRange() {
    int16_t mode = GetI16(ReportParams, ReportParamsVc::BatchMode);
    int32_t refused = 0;
    RangeWalk(InvoiceWalk, [&](const uint8_t *inv, uint32_t recid) {
        if (InvoiceKindOption(GetI16(inv, IVVc::InvType)) == 0) return;
        ApproveKind kind = InvoiceKindByMode(mode, GetI16(inv, IVVc::Printed) != 0);
        if (kind != 0 && !ApproveCounted(kind, IVVc::Number, inv, recid)) refused++;
    });
    TellRefused(refused);
}
