// statement_lines.cpp - a customer statement: its lines from the
// customer's transactions (register 49) over the report period, the
// running balance, the open items by age, and its print.
//
// Invoices raise the balance by their total; a cash invoice is listed
// but settled on the spot; a credit note lowers it (unless it credits a
// cash invoice); a payment lowers it by the rows it paid for this
// customer on the transaction's date. A payment that pays several
// invoices has one transaction per invoice: with the report's option to
// count all of a payment's rows, it is counted once, at its first
// transaction, not once per transaction.
#include <cassert>
#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/statement.h"
#include "rules/invoice_kind.h"
#include "rules/payment_kinds.h"
#include "rules/print_services.h"
#include "rules/rules_types.h"

namespace {
constexpr int CustomerCodeMax = 20;
constexpr int16_t StatementDoc = -11;
// The job record's option of which payment rows count: 0 the rows of the
// transaction's invoice, 1 every row of the customer, other values none.
constexpr size_t PaymentRowsOption = ReportParamsVc::ReportLayout;
// The job record's option to print only customers with open items.
constexpr size_t OpenItemsOnlyOption = ReportParamsVc::Option2;

bool ReadByNumber(int reg, const char *index, size_t at, int32_t number, uint8_t *rec) {
    RecClear(reg, rec);
    PutI32(rec, at, number);
    uint32_t recid = 0, position = 0;
    return number >= 0 && RecFindByIndex(reg, index, rec, 1, 1, &recid, &position);
}

bool SameCode(const uint8_t *rec, size_t at, const uint8_t *code) {
    uint8_t got[256];
    GetPString(rec, at, CustomerCodeMax, got);
    return PStringEqual(got, code);
}

// The sum of the payment's counted rows (kinds 1, 5, 6, flag 0) of the
// customer dated the transaction's date: those of the transaction's
// invoice (option 0), all (option 1), none (other options).
PackedDecimal PaymentSum(const uint8_t *payment, const uint8_t *trans, const uint8_t *code, int16_t option) {
    PackedDecimal sum;
    DecSetBlank(&sum);
    DateRec paid = GetDate(payment, IPVc::TransDate), on = GetDate(trans, CustTransVc::TransDate);
    if (std::memcmp(&paid, &on, sizeof paid) != 0 || (option != 0 && option != 1)) return sum;
    int32_t invoice = GetI32(trans, CustTransVc::InvoiceNr);
    uint8_t row[IPVc::Rows::Size];
    int32_t rows = MatrixRowCount(IPVc::Number, 0, payment);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowRead(IPVc::Number, payment, i, row)) continue;
        const PaidRowKind kind = PaidRowKind(GetU16(row, IPVc::Rows::Kind));
        if ((kind != PaidRowKind::Paid && kind != PaidRowKind::Discount && kind != PaidRowKind::Fee) ||
            GetU16(row, IPVc::Rows::Flag) != 0)
            continue;
        if (!SameCode(row, IPVc::Rows::CustCode, code)) continue;
        if (option == 0 && GetI32(row, IPVc::Rows::InvoiceNr) != invoice) continue;
        PackedDecimal amount = GetDec(row, IPVc::Rows::Amount);
        DecAdd(&sum, &amount, &sum);
    }
    return sum;
}

// The invoice transaction's line and its effect on the balance; false
// when the lines could not grow.
bool InvoiceLine(const uint8_t *invoice, MemBlock *lines, PackedDecimal *balance) {
    const InvoiceKind kind = InvoiceKind(GetU16(invoice, IVVc::InvType));
    const StatementLineKind lineKind = StatementLineKind(kind);
    int32_t number = GetI32(invoice, IVVc::SerNr);
    DateRec date = GetDate(invoice, IVVc::InvDate), due = GetDate(invoice, IVVc::PayDate), none{};
    PackedDecimal total = GetDec(invoice, IVVc::Total), negated;
    DecNegateInto(&total, &negated);
    if (kind == InvoiceKind::Cash) return InterestRowAdd(lines, lineKind, number, &date, &none, &total, balance);
    if (kind == InvoiceKind::CreditNote) {
        RuleRecord credited(IVVc::Number);
        bool ofCash = credited.record &&
                      ReadByNumber(IVVc::Number, "SerNr", IVVc::SerNr, GetI32(invoice, IVVc::CredInv), credited.record) &&
                      InvoiceKind(GetI16(credited.record, IVVc::InvType)) == InvoiceKind::Cash;
        if (credited.record) RecFreeMatrix(IVVc::Number, credited.record);
        if (!ofCash) DecSub(balance, &total, balance);
        return InterestRowAdd(lines, ofCash ? StatementLineKind::CreditOfCashInvoice : lineKind, number, &date, &none,
                              &negated, balance);
    }
    DecAdd(balance, &total, balance);
    return InterestRowAdd(lines, lineKind, number, &date, &due, &total, balance);
}
}  // namespace

bool InterestRowAdd(MemBlock *lines, StatementLineKind kind, int32_t number, const DateRec *date1,
                    const DateRec *date2, const PackedDecimal *amount1, const PackedDecimal *amount2) {
    assert(lines && date1 && date2 && amount1 && amount2);
    uint32_t size = *lines ? MemSize(*lines) : 0;
    MemBlock h = *lines;
    if (h == 0) {
        h = MemAlloc(StatementLine::Size);
        if (!h) return false;
    } else if (!MemRealloc(&h, size + StatementLine::Size)) {
        return false;
    }
    uint8_t *data = MemLock(h);
    if (!data) {
        if (*lines == 0) MemFree(&h);
        return false;
    }
    uint8_t *line = data + size;
    std::memset(line, 0, StatementLine::Size);
    PutI32(line, StatementLine::DocNr, number);
    PutDate(line, StatementLine::Date, *date1);
    PutDate(line, StatementLine::Date2, *date2);
    PutI32(line, StatementLine::Word16, -1);
    PutDec(line, StatementLine::Amount, *amount1);
    PutDec(line, StatementLine::Balance, *amount2);
    PutI32(line, StatementLine::Level, -1);
    PutI16(line, StatementLine::Kind, int16_t(kind));
    MemUnlock(h);
    *lines = h;
    return true;
}

// Ages against TodayDate as the caller holds it, so that every customer
// of a run is aged on the day the run started, also past midnight.
void CustomerAgeing(const uint8_t *customerCode, PackedDecimal ages[6]) {
    assert(customerCode && ages);
    for (int i = 0; i < 6; i++) DecSetZero(&ages[i]);
    if (customerCode[0] == 0 || customerCode[0] > CustomerCodeMax) return;
    RuleRecord item(ARVc::Number);
    if (!item.record) return;
    PutText(item.record, ARVc::CustCode, customerCode);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(ARVc::Number, "CustCode", item.record, 1, 0, &recid, &position)) return;
    for (uint32_t p = position; !UserCancelFlag; p++) {
        if (p != position && !RecReadAtIndex(ARVc::Number, "CustCode", (int32_t)p, item.record, &recid)) break;
        if (!SameCode(item.record, ARVc::CustCode, customerCode)) break;
        PackedDecimal open = GetDec(item.record, ARVc::OpenAmount);
        if (DecIsBlank(&open)) continue;
        DateRec due = GetDate(item.record, ARVc::DueDate);
        int32_t overdue = DateDiffDays(&TodayDate, &due);
        int bucket = overdue <= 0 ? 1 : overdue <= 15 ? 2 : overdue <= 30 ? 3 : overdue <= 60 ? 4 : 5;
        DecAdd(&ages[0], &open, &ages[0]);
        DecAdd(&ages[bucket], &open, &ages[bucket]);
    }
}

bool StatementBuild(const uint8_t *selection, const uint8_t *customer, PackedDecimal *balance, uint8_t *statement) {
    assert(selection && customer && balance && statement);
    std::memset(statement, 0, StatementRec::Size);
    PackedDecimal blank;
    DecSetBlank(&blank);
    for (uint32_t at : {StatementRec::Amount16, StatementRec::Amount28, StatementRec::Amount40})
        PutDec(statement, at, blank);
    PutDec(statement, StatementRec::Opening, *balance);
    uint8_t code[256];
    GetText(customer, CUVc::Code, code);
    const DateRec to = GetDate(selection, ReportParamsVc::DateTo);
    const int16_t option = GetI16(selection, PaymentRowsOption);
    MemBlock lines = 0;
    bool ok = true;
    std::vector<int32_t> paymentsCounted;
    RuleRecord trans(CustTransVc::Number), invoice(IVVc::Number), payment(IPVc::Number);
    if (!trans.record || !invoice.record || !payment.record) return false;
    PutText(trans.record, CustTransVc::CustCode, code);
    PutDate(trans.record, CustTransVc::TransDate, GetDate(selection, ReportParamsVc::DateFrom));
    uint32_t recid = 0, position = 0;
    bool found = code[0] != 0 && RecFindByIndex(CustTransVc::Number, "CustTransKey", trans.record, 2, 0, &recid, &position);
    for (uint32_t p = position; found && ok && !UserCancelFlag; p++) {
        if (p != position && !RecReadAtIndex(CustTransVc::Number, "CustTransKey", (int32_t)p, trans.record, &recid))
            break;
        if (!SameCode(trans.record, CustTransVc::CustCode, code)) break;
        DateRec date = GetDate(trans.record, CustTransVc::TransDate);
        if (!DateIsEmpty(&to) && DateDiffDays(&date, &to) > 0) break;
        int32_t number = GetI32(trans.record, CustTransVc::DocNr);
        if (LedgerEntryKind(GetU16(trans.record, CustTransVc::Kind)) == LedgerEntryKind::Invoice) {
            if (ReadByNumber(IVVc::Number, "SerNr", IVVc::SerNr, number, invoice.record))
                ok = InvoiceLine(invoice.record, &lines, balance);
            RecFreeMatrix(IVVc::Number, invoice.record);
            continue;
        }
        if (option == 1) {
            bool counted = false;
            for (int32_t n : paymentsCounted) counted = counted || n == number;
            if (counted) continue;
            paymentsCounted.push_back(number);
        }
        if (ReadByNumber(IPVc::Number, "SerNr", IPVc::SerNr, number, payment.record)) {
            PackedDecimal sum = PaymentSum(payment.record, trans.record, code, option), negated;
            if (!DecIsBlank(&sum)) {
                DecSub(balance, &sum, balance);
                DecNegateInto(&sum, &negated);
                DateRec none{};
                ok = InterestRowAdd(&lines, StatementLineKind::Payment, number, &date, &none, &negated, balance);
            }
        }
        RecFreeMatrix(IPVc::Number, payment.record);
    }
    PackedDecimal ages[6];
    CustomerAgeing(code, ages);
    const uint32_t ageAt[6] = {StatementRec::AgeTotal, StatementRec::AgeNotDue, StatementRec::Age1To15,
                               StatementRec::Age16To30, StatementRec::Age31To60, StatementRec::AgeOver60};
    for (int i = 0; i < 6; i++) PutDec(statement, ageAt[i], ages[i]);
    PutDec(statement, StatementRec::Closing, *balance);
    PutU32(statement, StatementRec::Lines, lines);
    if (!ok) StatementFree(statement);
    return ok;
}

void StatementFree(uint8_t *statement) {
    MemBlock lines = GetU32(statement, StatementRec::Lines);
    if (lines && MemIsValid(lines)) MemFree(&lines);
    PutU32(statement, StatementRec::Lines, 0);
}

uint8_t CustomerStatementLines(const uint8_t *selection, const uint8_t *customer, PackedDecimal *balance) {
    uint8_t statement[StatementRec::Size];
    if (!StatementBuild(selection, customer, balance, statement)) return 0;
    uint8_t result = StatementPassedOver;
    PackedDecimal open = GetDec(statement, StatementRec::AgeTotal);
    if (GetI16(selection, OpenItemsOnlyOption) == 0 || !DecIsZero(&open)) {
        // The statement form prints the customer's own fields.
        result = PrintCustomerForm(StatementDoc, customer, statement);
    }
    StatementFree(statement);
    return result;
}
