// bank_estonian.cpp - the Estonian domestic payment order (bank-file
// format 27): each payment a plain-text message in a file of its own,
// each line as long as its text.
//
// The selection's text fields carry the test-number keys and the closing
// text, in the order of the generic text slots of the job record: K1 is
// SelText2, K3 SelText3, K4 SelText5 with the closing text in SelText6
// (the paired fourth slot) and K2 SelText7 (the fifth slot); SelText1
// holds the payment numbers.
//
// The beneficiary is the first paid row (kind 1, flag 0); a payment
// without one, or whose paid total is negative, is not written.
#include <cstdlib>
#include <string>
#include <vector>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/bank_file.h"
#include "rules/payment_kinds.h"

namespace {

// A key of the test number: the selection text read as a 32-bit number
// (0 when it holds none).
uint32_t TestKey(const uint8_t *selection, uint32_t field)
{
    PString t;
    GetPString(selection, field, 255, t);
    char c[256];
    PStringToC(t, c);
    return uint32_t(std::strtoll(c, nullptr, 10));
}

// The payment's control number: K1 x digits of the total + K2 + K3 x its
// first digit + K4, wrapping in 32 bits.
uint32_t TestNumber(const uint8_t *selection, const uint8_t *totalText)
{
    uint32_t digits = 0;
    for (int i = 1; i <= totalText[0]; i++) digits += totalText[i] >= '0' && totalText[i] <= '9';
    uint32_t first = totalText[0] ? uint32_t(totalText[1] - '0') : 0;
    return TestKey(selection, ReportParamsVc::SelText2) * digits + TestKey(selection, ReportParamsVc::SelText7) +
           TestKey(selection, ReportParamsVc::SelText3) * first + TestKey(selection, ReportParamsVc::SelText5);
}

// The text of the payment-mode row whose code is the payment's mode: the
// address the message goes to; empty when no row has the code.
void ModeAddress(const uint8_t *payment, uint8_t *out)
{
    out[0] = 0;
    PString mode;
    GetText(payment, OPVc::PayMode, mode);
    MemBlock rows = 0;
    SettingsBlockFetch(&rows, PaymentModeBlk::Number);
    constexpr uint32_t RowSize = PaymentModeBlk::Rows::Size;
    const uint8_t *p = MemIsValid(rows) ? MemLock(rows) : nullptr;
    for (uint32_t r = 0, count = p ? MemSize(rows) / RowSize : 0; r < count; r++) {
        PString code;
        GetText(p + r * RowSize, PaymentModeBlk::Rows::Code, code);
        if (!PStringEqual(code, mode)) continue;
        GetText(p + r * RowSize, PaymentModeBlk::Rows::BankAccount, out);
        break;
    }
    if (p) MemUnlock(rows);
    MemFree(&rows);
}

// A line of a label and a value.
void Labelled(const char *label, const uint8_t *value)
{
    PString line;
    PStringFromC(line, label);
    PStringAppend(line, value);
    BankLine(line);
}

void LabelledC(const char *label, const std::string &value)
{
    PString v;
    PStringFromView(v, value);
    Labelled(label, v);
}

}  // namespace

BankWrite EstonianPaymentOrder(const uint8_t *selection, const uint8_t *payment, int written)
{
    namespace PR = OPVc::Rows;
    std::vector<BankRow> rows;
    if (!BankPaidRows(payment, &rows) || rows.empty()) return BankRefuse(Texts::BankWhyNoRows);
    PackedDecimal total{};
    int64_t cents = 0;
    for (const BankRow &r : rows) cents += r.cents;
    if (cents < 0) return BankRefuse(Texts::BankWhyNegative);
    if (cents == 0) return BankRefuse(Texts::BankWhyZero);
    if (rows[0].account[0] == 0) return BankRefuse(Texts::BankWhyNoAccount);
    DecFromThousandths(&total, __int128(cents) * 10);

    // The details text of the first paid row.
    std::vector<uint8_t> row(RecRowSize(OPVc::Number));
    PString details = {0};
    for (int32_t r = 0, n = MatrixRowCount(OPVc::Number, 0, payment); r < n; r++) {
        if (!MatrixRowGet(OPVc::Number, 0, payment, r, row.data())) break;
        if (PaidRowKind(GetU16(row.data(), PR::Kind)) != PaidRowKind::Paid ||
            GetU16(row.data(), PR::Flag) != 0) continue;
        GetText(row.data(), PR::InvPayText, details);
        break;
    }
    std::vector<uint8_t> vendor(RegRecordSize(VEVc::Number)), bank(RegRecordSize(BankVc::Number));
    BankReadByKey(VEVc::Number, VEVc::Code, rows[0].vendor, vendor.data());   // none: empty name
    PString vendorName, bankCode, bankName = {0};
    GetText(vendor.data(), VEVc::Name, vendorName);
    GetText(vendor.data(), VEVc::BankCode, bankCode);
    if (bankCode[0] > 5) bankCode[0] = 5;
    if (bankCode[0] && BankReadByKey(BankVc::Number, BankVc::Code, bankCode, bank.data()))
        GetText(bank.data(), BankVc::Name, bankName);

    uint8_t company[CompanyBlk::Size] = {0};
    SettingsBlockRead(CompanyBlk::Number, company, sizeof company);
    PString companyName, companyAccount, org, address, totalText, empty = {0};
    GetText(company, CompanyBlk::CompanyName, companyName);
    GetText(company, CompanyBlk::BankAccount, companyAccount);
    GetText(company, CompanyBlk::OrgNr, org);
    ModeAddress(payment, address);
    AmountDotText(&total, totalText);
    char now[NowStringSize], day[NowStringSize];
    FormatNowString(now, true);
    FormatNowString(day, false);

    if (written > 0) BankNextFile();
    Labelled("To: ", address);
    Labelled("From: ", companyName);
    LabelledC("Date: ", now);
    LabelledC("Subject: KODUMAINE MAKSEKORRALDUS (1)", "");
    BankLine(empty);
    LabelledC("::1 EEK PAYMENT", "");
    LabelledC(":1 REFERENCE: ", std::to_string(GetI32(payment, OPVc::SerNr)));
    LabelledC(":2 TEST: ", std::to_string(TestNumber(selection, totalText)));
    LabelledC(":3 DATE: ", day);
    LabelledC(":4 VALUE DATE: ", day);
    Labelled(":6 AMOUNT: EEK ", totalText);
    Labelled(":5 FROM ACCOUNT NO: ", companyAccount);
    Labelled(":7 BY ORDER OF: ", companyName);
    Labelled(":33 COMPANY REGISTRATION CODE: ", org);
    Labelled(":8 BENEFICIARY: ", vendorName);
    Labelled(":10 BENEFICIARYS BANK: ", bankName);
    Labelled(":9 BENEFICIARYS ACCOUNT NO: ", rows[0].account);
    Labelled(":11 DETAILS OF PAYMENT: ", details);
    LabelledC("::0", "");
    BankLine(empty);
    PString closing;
    GetText(selection, ReportParamsVc::SelText6, closing);
    BankLine(closing);
    BankShowPayment(GetI32(payment, OPVc::SerNr));
    return BankWrite::Written;
}
