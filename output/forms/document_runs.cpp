// document_runs.cpp - the document batch runs (report numbers -29 to -2):
// a walk over a range of document numbers (project codes for -24) that
// prints each document's form or approves it with the kind that prints
// it, and the payment-reminder run over overdue open items.
//
// A run shows the document it is at and stops before the next one when
// the user presses Esc, and at the first record that cannot be read. It
// ends with one line of what it printed, posted or could not do, and
// where the output went, or why it printed nothing (run_outcome.h), so
// no document is skipped unseen. A reminder's level is raised in the
// printed copy and stored only when the reminder printed; the reminder
// run ends with one line of what it printed and where, or why it
// printed nothing.
#include <cassert>
#include <cstring>
#include <filesystem>
#include <string>

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
#include "operations/reminder_outcome.h"
#include "operations/run_outcome.h"
#include "operations/invoice_printed.h"
#include "output/devices/report_output.h"
#include "output/forms/forms.h"
#include "output/forms/print_form_call.h"
#include "output/output_windows.h"
#include "output/output_job.h"
#include "rules/approval.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"

namespace {
constexpr int CodeMax = 20, CategoryMax = 5;
// The reminder run's closing line.
constexpr int TextRemindSubject = 14450, TextRemindPrintedTo = 14451, TextRemindShown = 14452,
              TextRemindFailed = 14453, TextRemindNoRange = 14454, TextRemindNoOpenItem = 14455,
              TextRemindOtherCustomer = 14456, TextRemindNotOverdue = 14457, TextRemindTooFewDays = 14458,
              TextRemindDaysOrMore = 14459, TextRemindOtherLevel = 14460, TextRemindTimes = 14461,
              TextRemindCredits = 14462, TextRemindNonePrinted = 14463, TextRemindPrinted = 14464;

// UI text n as a string.
std::string UiTextString(int n) {
    char text[256];
    GetUiTextC(text, n);
    return text;
}

// The runs' names in their progress: their selection windows' titles.
constexpr int TitleTimeSheets = 12351, TitleProductions = 12352, TitleProjects = 12353, TitlePurchaseOrders = 12354,
              TitleInvoices2 = 12355, TitleInvoices3 = 12356, TitleInvoices4 = 12357, TitleOrders2 = 12358,
              TitleQuotations = 12359, TitleDeliveries2 = 12360, TitleDeliveries = 12361, TitleOrders = 12362,
              TitleShipments = 12364, TitleInvoiceRun = 12365, TitleReminders = 12363;

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

// Walks the records of the range typed in the selection's first
// text, from its first end (the start when open) through its last end
// (the register's end when open), calling act(record, recid) for each.
// An empty range walks nothing. With a run, the run's progress names
// each record before it is begun and Esc stops the walk there; without,
// Esc ends the walk after the record in hand. Returns how many records
// lay in the range.
template <typename Act>
int32_t RangeWalk(const uint8_t *selection, const RangeWalkDef &w, Act act, RunOutcome *run = nullptr) {
    uint8_t range[256], fromCode[256], toCode[256];
    GetText(selection, ReportParamsVc::SelText1, range);
    if (range[0] == 0) return 0;
    int32_t from = -1, to = -1;
    fromCode[0] = toCode[0] = 0;
    if (w.codeKey) RangeSplit(range, fromCode, toCode);
    else RangeSplitNumber(range, &from, &to);
    RuleRecord rec(w.reg);
    if (!rec.record) return 0;
    if (w.codeKey) PutPString(rec.record, w.keyAt, CodeMax, fromCode);
    else PutI32(rec.record, w.keyAt, from < 0 ? 0 : from);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(w.reg, w.index, rec.record, 1, 0, &recid, &position)) return 0;
    int32_t walked = 0;
    for (uint32_t p = position;; p++) {
        if (p != position) {
            RecFreeMatrix(w.reg, rec.record);
            if (!RecReadAtIndex(w.reg, w.index, (int32_t)p, rec.record, &recid)) break;
        }
        if (PastUpperEnd(w, rec.record, to, toCode)) break;
        if (run) {
            uint8_t key[256];
            if (w.codeKey) GetPString(rec.record, w.keyAt, CodeMax, key);
            else LongToDigitText(GetI32(rec.record, w.keyAt), key);
            if (!RunGoesOn(run, key)) break;
        }
        walked++;
        act(rec.record, recid);
        if (!run && ReportCancelled()) break;
    }
    RecFreeMatrix(w.reg, rec.record);
    return walked;
}

// Why a run over the range printed nothing and failed at nothing: no
// range given, or none in it.
int WhyNothingWalked(const uint8_t *selection) {
    uint8_t range[256];
    GetText(selection, ReportParamsVc::SelText1, range);
    return range[0] == 0 ? Texts::RunWhyNoRange : Texts::RunWhyNoneInRange;
}

// Counts one document printed, or not printed.
void CountPrinted(RunOutcome *run, bool printed) {
    if (printed) RunCount(run, 1, Texts::RunDocumentPrinted, Texts::RunDocumentsPrinted);
    else RunFailed(run, 1, Texts::RunNotPrinted, Texts::RunNotPrinted);
}

// Ends a run over the range: the closing line, with where the output went.
void FinishRange(const uint8_t *selection, RunOutcome *run) {
    if (run->why == 0) RunNothing(run, WhyNothingWalked(selection), Texts::RunNothingToPrint);
    RunFinish(run, RunWhereOfOutput(selection));
}

// Prints each document of the range as doctype; title names the run.
void PrintRange(const uint8_t *selection, const RangeWalkDef &w, int16_t doctype, int title) {
    RunDeviceKept device;
    RunOutcome run;
    RunStart(&run, title);
    RangeWalk(selection, w, [&](const uint8_t *rec, uint32_t) { CountPrinted(&run, PrintForm(doctype, rec) == 1); }, &run);
    FinishRange(selection, &run);
}

// The flag a printing approve kind sets in a document it printed; 0
// for the kinds that mark nothing.
size_t PrintedFlagOf(ApproveKind kind) {
    switch (kind) {
    case ApproveKindPrintInvoice: case ApproveKindPrintInvoiceAgain: return IVVc::Printed;
    case ApproveKindPrintOrder: return ORVc::Printed;
    case ApproveKindPrintDelivery: return SHVc::Printed;
    case ApproveKindPrintPurchaseOrder: return PurchOrderVc::Printed;
    default: return 0;
    }
}

// Approves the document with kind; false when the approval refused it,
// could not store it, or did not print it (a form print that failed, or
// the printed flag of a kind that marks one left clear).
bool ApproveCounted(ApproveKind kind, int reg, const uint8_t *rec, uint32_t recid) {
    uint32_t failedBefore = FormPrintsFailed;
    if (!ApproveAllowed(kind, reg, rec) || !ApproveRecord(kind, reg, recid)) return false;
    if (FormPrintsFailed != failedBefore) return false;
    size_t flag = PrintedFlagOf(kind);
    if (flag == 0) return true;
    RuleRecord stored(reg);
    if (!stored.record || !RecReadById(reg, recid, stored.record)) return false;
    bool printed = GetI16(stored.record, flag) != 0;
    RecFreeMatrix(reg, stored.record);
    return printed;
}

// Approves each document of the range with kind and tells what printed;
// title names the run.
void ApproveRange(const uint8_t *selection, const RangeWalkDef &w, ApproveKind kind, int title) {
    RunDeviceKept device;
    RunOutcome run;
    RunStart(&run, title);
    RangeWalk(
        selection, w,
        [&](const uint8_t *rec, uint32_t recid) { CountPrinted(&run, ApproveCounted(kind, w.reg, rec, recid)); }, &run);
    FinishRange(selection, &run);
}

// The print modes of the invoice run: invoices not printed before, every
// invoice, every invoice printed again as an original.
constexpr int16_t ModeNotPrinted = 0, ModeAll = 1, ModeAgain = 2;

// The option word that lets invoices of this kind into the run.
uint16_t InvoiceKindOption(const uint8_t *selection, InvoiceKind kind) {
    switch (kind) {
    case InvoiceKind::Cash: return GetU16(selection, ReportParamsVc::Option3);
    case InvoiceKind::CreditNote: return GetU16(selection, ReportParamsVc::Option4);
    case InvoiceKind::Interest: return GetU16(selection, ReportParamsVc::Option5);
    default: return GetU16(selection, ReportParamsVc::Option2);
    }
}

// Reads the stored invoice recid into a fresh buffer; false when gone.
bool StoredInvoice(uint32_t recid, RuleRecord &into) {
    return into.record && RecReadById(IVVc::Number, recid, into.record);
}

// One invoice of the print-and-approve run: an unposted invoice is
// approved (posted) first, so what prints is the invoice itself and not
// a draft; one that cannot be posted is not printed (the approval told
// why). Then it prints with kind `printKind`, unless its posting printed
// it already (the company may print each invoice as it is posted).
void InvoicePrintAndApprove(RunOutcome *run, const uint8_t *inv, uint32_t recid, ApproveKind printKind) {
    if (GetI16(inv, IVVc::Posted) == 0) {
        const uint32_t failedBefore = FormPrintsFailed;
        RuleRecord stored(IVVc::Number);
        const bool approved = ApproveRecord(ApproveKindPostInvoice, IVVc::Number, recid);
        if (!approved || !StoredInvoice(recid, stored) || GetI16(stored.record, IVVc::Posted) == 0) {
            if (stored.record) RecFreeMatrix(IVVc::Number, stored.record);
            RunFailed(run, 1, Texts::RunNotPostedNorPrinted, Texts::RunNotPostedNorPrinted);
            return;
        }
        RunCount(run, 1, Texts::RunPosted, Texts::RunPosted);
        const bool printedOnPosting = GetI16(stored.record, IVVc::Printed) != 0 && FormPrintsFailed == failedBefore;
        if (printedOnPosting) {
            RecFreeMatrix(IVVc::Number, stored.record);
            RunCount(run, 1, Texts::RunInvoicePrinted, Texts::RunInvoicesPrinted);
            return;
        }
        const bool printed = ApproveCounted(printKind, IVVc::Number, stored.record, recid);
        RecFreeMatrix(IVVc::Number, stored.record);
        if (printed) RunCount(run, 1, Texts::RunInvoicePrinted, Texts::RunInvoicesPrinted);
        else RunFailed(run, 1, Texts::RunNotPrinted, Texts::RunNotPrinted);
        return;
    }
    if (ApproveCounted(printKind, IVVc::Number, inv, recid)) RunCount(run, 1, Texts::RunInvoicePrinted, Texts::RunInvoicesPrinted);
    else RunFailed(run, 1, Texts::RunNotPrinted, Texts::RunNotPrinted);
}

// How far an open item came through the reminder run's selection, in
// the order the selection tests it; the furthest any item came says why
// a run made nothing.
enum class RemindStage { OtherCustomer, NotOverdue, TooFewDays, OtherLevel, Credit, Wanted };

// What a reminder run met and made, for its closing line.
struct ReminderTally {
    int32_t walked = 0;                          // open items in the range
    RemindStage furthest = RemindStage::OtherCustomer;
    int32_t printed = 0, failed = 0;
    std::string folder;                          // where the printed files went
};

// How far the open item (with its invoice in FormInvoice when found)
// comes through the reminder run's selection; Wanted when it is one to
// remind.
RemindStage ReminderStage(const uint8_t *selection, const uint8_t *open, bool invoiceFound) {
    uint8_t want[256], code[256];
    GetText(open, ARVc::CustCode, code);
    GetTextPrefix(selection, ReportParamsVc::SelText2, CodeMax, want);
    if (want[0] != 0 && PStringCompare(want, code) != 0) return RemindStage::OtherCustomer;
    GetTextPrefix(selection, ReportParamsVc::SelText3, CategoryMax, want);
    if (want[0] != 0) {
        uint8_t customer[CUVc::Size] = {}, category[256];
        if (DocReadByCode(CUVc::Number, CUVc::Code, code, customer)) {
            RecFreeMatrix(CUVc::Number, customer);
            GetText(customer, CUVc::CustGroup, category);
            if (PStringCompare(category, want) != 0) return RemindStage::OtherCustomer;
        }
    }
    TodayToGlobals();
    DateRec due = GetDate(open, ARVc::DueDate);
    int32_t days = DateDiffDays(&due, &TodayDate);   // negative: overdue that many days
    if (days >= 0) return RemindStage::NotOverdue;
    int32_t minimum = GetI32(selection, ReportParamsVc::NumberFrom);
    if (minimum != -1 && -days < minimum) return RemindStage::TooFewDays;
    int32_t level = GetI32(selection, ReportParamsVc::NumberTo);
    if (level != -1 && level != -2 && invoiceFound && NoticeLevel(FormInvoice) != level)
        return RemindStage::OtherLevel;
    PackedDecimal amount = GetDec(open, ARVc::OpenAmount), zero;
    DecSetZero(&zero);
    if (!DecIsBlank(&amount) && DecCompare(&amount, &zero) < 0) return RemindStage::Credit;
    return RemindStage::Wanted;
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

// The folder of the file the last print wrote, from the status line
// that names it; empty when it names none.
std::string PrintedFolder() {
    char prefix[256];
    GetUiTextC(prefix, Texts::PrintedTo);
    std::string line = OutStatusLineText();
    if (prefix[0] == 0 || line.rfind(prefix, 0) != 0) return "";
    return std::filesystem::path(line.substr(std::strlen(prefix))).parent_path().string();
}

// One reminder: the invoice is FormInvoice while it prints, so the form
// is chosen by its language; with the raise option its level is raised
// in the printed copy and stored only when the reminder printed.
void RemindOpenItem(const uint8_t *selection, const uint8_t *open, ReminderTally *tally) {
    int32_t number = GetI32(open, ARVc::InvoiceNr);
    bool found = ReadFormInvoice(number);
    tally->walked++;
    RemindStage stage = ReminderStage(selection, open, found);
    if (stage > tally->furthest) tally->furthest = stage;
    if (stage != RemindStage::Wanted) {
        RecFreeMatrix(IVVc::Number, FormInvoice);
        std::memset(FormInvoice, 0, sizeof FormInvoice);
        return;
    }
    bool raise = GetU16(selection, ReportParamsVc::Option2) != 0 && found;
    if (raise) {
        TodayToGlobals();
        PutI32(FormInvoice, IVVc::NoticeCount, NoticeLevel(FormInvoice) + 1);
        PutDate(FormInvoice, IVVc::NoticeDate, TodayDate);
    }
    uint8_t printed = PrintForm(-4, open);
    RecFreeMatrix(IVVc::Number, FormInvoice);
    std::memset(FormInvoice, 0, sizeof FormInvoice);
    if (printed == 1) {
        tally->printed++;
        if (std::string folder = PrintedFolder(); !folder.empty()) tally->folder = folder;
    } else {
        tally->failed++;
    }
    if (raise && printed == 1) InvoiceNoticeCount(number);
}

// The reminder run's closing line: the reminders printed and where they
// went, or why none was.
void TellReminderOutcome(const uint8_t *selection, const ReminderTally &t, bool rangeGiven, bool stopped) {
    ReminderOutcome o;
    o.subject = TextRemindSubject;
    o.made = t.printed;
    o.failed = t.failed;
    o.failedText = TextRemindFailed;
    o.stopped = stopped;
    const bool screen = GetU16(selection, ReportParamsVc::OutputKind) == OutputCode(OutputKind::ToPreview);
    o.whereText = screen || t.folder.empty() ? (screen ? TextRemindShown : TextRemindPrinted) : TextRemindPrintedTo;
    if (!screen) o.whereExtra = t.folder;
    auto number = [selection](size_t at) { return std::to_string(GetI32(selection, at)); };
    if (!rangeGiven) o.whyText = TextRemindNoRange;
    else if (t.walked == 0) o.whyText = TextRemindNoOpenItem;
    else switch (t.furthest) {
    case RemindStage::OtherCustomer: o.whyText = TextRemindOtherCustomer; break;
    case RemindStage::NotOverdue: o.whyText = TextRemindNotOverdue; break;
    case RemindStage::TooFewDays:
        o.whyText = TextRemindTooFewDays;
        o.whyExtra = number(ReportParamsVc::NumberFrom) + UiTextString(TextRemindDaysOrMore);
        break;
    case RemindStage::OtherLevel:
        o.whyText = TextRemindOtherLevel;
        o.whyExtra = number(ReportParamsVc::NumberTo) + UiTextString(TextRemindTimes);
        break;
    case RemindStage::Credit: o.whyText = TextRemindCredits; break;
    case RemindStage::Wanted: o.whyText = TextRemindNonePrinted; break;
    }
    ReminderOutcomeTell(o);
}
}  // namespace

void PrintTimeSheetForms(ReportJob &job) { PrintRange(job.selection, TimeSheetWalk, -29, TitleTimeSheets); }
void PrintProductionForms(ReportJob &job) { PrintRange(job.selection, ProductionWalk, -28, TitleProductions); }
void PrintProjectForms(ReportJob &job) { PrintRange(job.selection, ProjectWalk, -24, TitleProjects); }
void ApprovePORange(ReportJob &job) {
    ApproveRange(job.selection, PurchaseOrderWalk, ApproveKindPrintPurchaseOrder, TitlePurchaseOrders);
}
void PrintInvoiceForms(ReportJob &job, int doctype) {
    const int title = doctype == -18 ? TitleInvoices2 : doctype == -17 ? TitleInvoices3 : TitleInvoices4;
    PrintRange(job.selection, InvoiceWalk, (int16_t)doctype, title);
}
void ApproveOrderRange26(ReportJob &job) {
    ApproveRange(job.selection, OrderWalk, ApproveKindPrintOrderSecondForm, TitleOrders2);
}
void ApproveQuoteRange(ReportJob &job) {
    ApproveRange(job.selection, QuotationWalk, ApproveKindPrintQuotation, TitleQuotations);
}
void PrintDeliveryForms(ReportJob &job, int doctype) {
    PrintRange(job.selection, DeliveryWalk, (int16_t)doctype, doctype == -12 ? TitleDeliveries2 : TitleDeliveries);
}
void ApproveOrderRange(ReportJob &job) { ApproveRange(job.selection, OrderWalk, ApproveKindPrintOrder, TitleOrders); }
void ApproveDeliveryRange(ReportJob &job) {
    ApproveRange(job.selection, DeliveryWalk, ApproveKindPrintDelivery, TitleShipments);
}

void PrintCustomerForms(ReportJob &job) {
    const uint8_t *selection = job.selection;
    uint8_t range[256];
    GetText(selection, ReportParamsVc::SelText1, range);
    ReminderTally tally;
    RunOutcome progress;
    RunStart(&progress, TitleReminders);
    RangeWalk(
        selection, OpenItemWalk, [&](const uint8_t *open, uint32_t) { RemindOpenItem(selection, open, &tally); },
        &progress);
    RunProgressEnd(&progress);
    TellReminderOutcome(selection, tally, range[0] != 0, progress.cancelled);
}

void ApproveInvoiceRange(ReportJob &job) {
    const uint8_t *selection = job.selection;
    const int16_t mode = GetI16(selection, ReportParamsVc::BatchMode);
    RunDeviceKept device;
    RunOutcome run;
    RunStart(&run, TitleInvoiceRun);
    // What printed is told before what was posted.
    RunCount(&run, 0, Texts::RunInvoicePrinted, Texts::RunInvoicesPrinted);
    RunCount(&run, 0, Texts::RunPosted, Texts::RunPosted);
    if (mode != ModeNotPrinted && mode != ModeAll && mode != ModeAgain) {
        RunNothing(&run, Texts::RunWhyBadMode, Texts::RunNothingToPrint);
        RunFinish(&run, 0);
        return;
    }
    int32_t ofKind = 0, printedBefore = 0;
    int32_t walked = RangeWalk(
        selection, InvoiceWalk,
        [&](const uint8_t *inv, uint32_t recid) {
            if (InvoiceKindOption(selection, InvoiceKind(GetU16(inv, IVVc::InvType))) == 0) return;
            ofKind++;
            if (mode == ModeNotPrinted && InvoicePrintedBefore(inv)) {
                printedBefore++;
                return;
            }
            const ApproveKind print = mode == ModeAgain ? ApproveKindPrintInvoiceAgain : ApproveKindPrintInvoice;
            InvoicePrintAndApprove(&run, inv, recid, print);
        },
        &run);
    if (!RunMadeSomething(run)) {
        if (walked > 0 && ofKind == 0) RunNothing(&run, Texts::RunWhyNoKind, Texts::RunNothingToPrint);
        else if (ofKind > 0 && printedBefore == ofKind) RunNothing(&run, Texts::RunWhyAllPrinted, Texts::RunNothingToPrint);
    }
    FinishRange(selection, &run);
}
