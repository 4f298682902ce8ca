// vat_journals.cpp - the sales-invoice journal (report 94) and the
// purchase-invoice journal (report 95): each invoice of the selection
// with its amounts broken down by the VAT codes of block 208, then the
// VAT summary of the whole run. Amounts are in home currency, converted
// at each invoice's own rate; a credit note counts negative.
//
// The purchase journal also keeps the amounts of rows without a VAT code
// as the invoice's VAT-free amount. An invoice with no VAT-coded row at
// all is printed and counted in the VAT-free total like any other: a
// purchase wholly free of VAT is still a purchase.
#include <algorithm>
#include <cassert>
#include <cstring>
#include <vector>

#include "core/company_variant.h"
#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/kind_boxes.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_frame.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/sales/sales_lists.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15, RuleEnd = 1, RuleThick = 4;
constexpr DocRowKind PricedKinds[] = {DocRowKind::Item, DocRowKind::Amount, DocRowKind::DownPayment};
using Sums = std::vector<PackedDecimal>;

PackedDecimal Blank()
{
    PackedDecimal d;
    DecSetBlank(&d);
    return d;
}

bool Option(const uint8_t *selection, uint32_t field) { return GetU16(selection, field) != 0; }

// Per-code amounts of one invoice: gathered in a sums block of block 208
// (unknown codes in the first row's slot), negated for a credit note,
// converted at the invoice's rate, and handed back as plain values.
struct CodeSums {
    MemBlock handle = 0;
    CodeSums()
    {
        if (VatSumsNew(&handle)) MemUnlock(handle);
    }
    ~CodeSums()
    {
        if (handle) MemFree(&handle);
    }
    CodeSums(const CodeSums &) = delete;
    CodeSums &operator=(const CodeSums &) = delete;
    void Add(const uint8_t *code, const PackedDecimal *amount) { VatSumsAdd(handle, code, amount); }
    // The slots, negated when credit, converted at rate.
    Sums Take(bool credit, const PackedDecimal *rate)
    {
        Sums out;
        uint8_t *data = nullptr;
        int32_t count = 0;
        if (handle) MemArrayLock(handle, sizeof(PackedDecimal), &data, &count);
        for (int32_t i = 0; data && i < count; i++) {
            PackedDecimal s = GetDec(data, (size_t)i * sizeof(PackedDecimal));
            if (credit && !DecIsBlank(&s)) DecNegateInto(&s, &s);
            PutDec(data, (size_t)i * sizeof(PackedDecimal), s);
        }
        if (data) MemUnlock(handle);
        VatSumsConvert(handle, rate);
        data = nullptr;
        if (handle) MemArrayLock(handle, sizeof(PackedDecimal), &data, &count);
        for (int32_t i = 0; data && i < count; i++) out.push_back(GetDec(data, (size_t)i * sizeof(PackedDecimal)));
        if (data) MemUnlock(handle);
        return out;
    }
};

int32_t VatCodeCount()
{
    SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
    return rows.count;
}

void VatHeading()
{
    ReportHeadings(LineHeight, {{120, 5208}, {340, 5209, 1}, {400, 5210, 1}, {480, 5211, 1}});
}

void EmptyLine()
{
    RepStartLine(10);
    RepEndLine();
}

// The first address line joined with the second and third by ", " where
// they are not empty, at x.
void AddressLine(int x, const uint8_t *record, uint32_t a1, uint32_t a2, uint32_t a3)
{
    PString joined, part;
    GetPString(record, a1, 60, joined);
    for (uint32_t at : {a2, a3}) {
        GetPString(record, at, 60, part);
        if (part[0] == 0 || joined[0] + 2 + part[0] > 255) continue;
        PStringAppendC(joined, ", ");
        PStringAppend(joined, part);
    }
    RepText(x, 0, joined, 0);
}

// The run's walk over register reg: by "TransDate" from the from-date
// with Option8, else by "SerNr" from the lower number; both filter by
// the other bound as well. each gets every record in the ranges.
template <typename Each>
void InvoiceWalk(const uint8_t *selection, int reg, uint32_t serial, uint32_t transDate, Each each)
{
    PString range;
    GetText(selection, P::SelText1, range);
    int32_t low = -1, high = -1;
    RangeSplitNumber(range, &low, &high);
    const DateRec from = GetDate(selection, P::DateFrom), to = GetDate(selection, P::DateTo);
    const bool byDate = Option(selection, P::Option8);
    const char *index = byDate ? "TransDate" : "SerNr";
    RuleRecord r(reg);
    if (!r.record) return;
    if (byDate) PutDate(r.record, transDate, from);
    else PutI32(r.record, serial, low < 0 ? 0 : low);
    uint32_t recid = 0, position = 0;
    bool more = RecFindByIndex(reg, index, r.record, 1, 0, &recid, &position);
    for (int32_t at = (int32_t)position; more; at++) {
        if (at != (int32_t)position) {
            RecFreeMatrix(reg, r.record);
            if (!RecReadAtIndex(reg, index, at, r.record, &recid)) break;
        }
        const int32_t number = GetI32(r.record, serial);
        const DateRec date = GetDate(r.record, transDate);
        if (byDate && to.year != 0 && DateCompare(&date, &to) > 0) break;
        if (!byDate && high >= 0 && number > high) break;
        if ((low < 0 || number >= low) && (high < 0 || number <= high) && DateInRange(&date, &from, &to))
            each(r.record);
        if (ReportCancelled()) break;
    }
    RecFreeMatrix(reg, r.record);
}

// The count of invoices and the two sums of the country line.
struct CountryLine {
    bool on = CompanyVariantIs(CountryVariant::V37);
    int32_t printed = 0;
    PackedDecimal taxed, untaxed;
    CountryLine()
    {
        DecSetZero(&taxed);
        DecSetZero(&untaxed);
    }
    // One invoice of total; taxed when a code with a rate has a sum. The
    // total counts as its VAT sums do: at the invoice's rate, negative for
    // a credit note.
    void Add(const Sums &sums, PackedDecimal total, bool credit, const PackedDecimal *rate)
    {
        if (!on) return;
        if (credit) DecNegateInto(&total, &total);
        AmountTimesRate(&total, rate, &total);
        printed++;
        bool hasTax = false;
        SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
        for (size_t i = 0; i < sums.size() && (int32_t)i < rows.count; i++) {
            const PackedDecimal vatRate = GetDec(rows.data + i * VatCodeRow::Size, VatCodeRow::Rate);
            hasTax = hasTax || (!DecIsZero(&sums[i]) && !DecIsZero(&vatRate));
        }
        PackedDecimal *sum = hasTax ? &taxed : &untaxed;
        DecAdd(sum, &total, sum);
        RepStartLine(LineHeight);
        RepValue(15, 0, (const uint8_t *)&printed, FtLong, 0);
        RepValue(hasTax ? 200 : 300, 0, total.b, FtAmount2, 0);
        RepEndLine();
    }
    void Close()
    {
        if (!on) return;
        RepRuleFull(RuleEnd, RuleThick);
        RepStartLine(LineHeight);
        RepValue(200, 0, taxed.b, FtAmount2, 0);
        RepValue(300, 0, untaxed.b, FtAmount2, 0);
        RepEndLine();
    }
};

// Begins the job with the title taken from the selection where one is given.
void BeginJob(int title)
{
    TitleFromSelection = 1;
    RepBeginJobNr(title);
    TitleFromSelection = 0;
}

// The part of each invoice both journals print after its two lines.
void InvoiceVatHead()
{
    EmptyLine();
    VatHeading();
    RepStartLine(LineHeight);
    RepRule(120, 480, RuleThick);
    RepEndLine();
}

void SummaryHead()
{
    RepRuleFull(RuleEnd, RuleThick);
    EmptyLine();
    VatHeading();
    RepRuleFull(RuleEnd, RuleThick);
}

}  // namespace

void VatJournalLine(const uint8_t *selection, PackedDecimal *amount, int32_t index, int inclusive, PackedDecimal *vat)
{
    assert(amount && vat);
    if (!Option(selection, P::Option10) && DecIsBlank(amount)) return;
    SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
    if (index < 0 || index >= rows.count) return;
    const uint8_t *row = rows.data + (size_t)index * VatCodeRow::Size;
    PString code, name;
    GetText(row, VatCodeRow::Code, code);
    GetText(row, VatCodeRow::Name, name);
    PackedDecimal computed = Blank();
    if (!DecIsBlank(amount)) {
        VatAmount(code, amount, &computed, inclusive);
        DecRound(&computed, 2, &computed);
        if (inclusive) DecSub(amount, &computed, amount);
    }
    if (DecIsBlank(vat)) *vat = computed;
    RepStartLine(LineHeight);
    RepText(120, 0, code, 0);
    RepText(160, 0, name, 0);
    RepValue(340, 0, amount->b, FtAmount2, 1);
    RepValue(400, 0, row + VatCodeRow::Rate, FtAmount2, 1);
    RepValue(480, 0, vat->b, FtAmount2, 1);
    RepEndLine();
}

void SalesInvoiceJournal(ReportJob &job)
{
    assert(job.selection);
    const int32_t codes = VatCodeCount();
    Sums runNet(codes, Blank()), runVat(codes, Blank());
    CountryLine country;
    BeginJob(5200);
    ReportHeadings(LineHeight, {{0, 5201}, {80, 5202}, {160, 5203}, {240, 5204}});
    ReportHeadings(LineHeight, {{80, 5205}, {160, 5206}, {240, 5207}});
    RepRuleFull(RuleEnd, RuleThick);
    InvoiceWalk(job.selection, IVVc::Number, IVVc::SerNr, IVVc::TransDate, [&](const uint8_t *inv) {
        const bool posted = GetU16(inv, IVVc::Posted) != 0, inclusive = GetU16(inv, IVVc::InclVat) != 0;
        const bool credit = InvoiceKind(GetU16(inv, IVVc::InvType)) == InvoiceKind::CreditNote;
        if (!ParamStateAdmits(job.selection, P::Option3, P::Option2, posted) || !ParamStateAdmits(job.selection, P::Option4, P::Option5, inclusive) ||
            !ParamStateAdmits(job.selection, P::Option6, P::Option7, credit))
            return;
        CodeSums gather;
        PString override, code;
        GetText(inv, IVVc::VatCode, override);
        uint8_t row[IVVc::Rows::Size];
        const int32_t rows = MatrixRowCount(IVVc::Number, 0, inv);
        for (int32_t i = 0; i < rows; i++) {
            if (!MatrixRowGet(IVVc::Number, 0, inv, i, row)) continue;
            const DocRowKind kind = DocRowKind(GetU16(row, IVVc::Rows::Kind));
            if (std::find(std::begin(PricedKinds), std::end(PricedKinds), kind) == std::end(PricedKinds)) continue;
            GetText(row, IVVc::Rows::VatCode, code);
            const PackedDecimal sum = GetDec(row, IVVc::Rows::Sum);
            gather.Add(override[0] ? override : code, &sum);
        }
        const PackedDecimal freight = GetDec(inv, IVVc::Freight);
        if (!DecIsZero(&freight)) {
            GetText(inv, IVVc::FreightVat, code);
            gather.Add(override[0] ? override : code, &freight);
        }
        const PackedDecimal rate = GetDec(inv, IVVc::Rate);
        Sums sums = gather.Take(credit, &rate);
        RepRuleFull(RuleEnd, RuleThick);
        RepStartLine(LineHeight);
        RepValue(0, 0, inv + IVVc::SerNr, FtLongOrEmpty, 0);
        RepValue(80, 0, inv + IVVc::TransDate, FtDate, 0);
        RepTextField(160, inv, IVVc::CustCode);
        RepTextField(240, inv, IVVc::Addr0);
        RepEndLine();
        RepStartLine(LineHeight);
        RepValue(80, 0, inv + IVVc::InvDate, FtDate, 0);
        RepTextField(160, inv, IVVc::Text290);
        AddressLine(240, inv, IVVc::Addr1, IVVc::Addr2, IVVc::Addr3);
        RepEndLine();
        country.Add(sums, GetDec(inv, IVVc::Total), credit, &rate);
        InvoiceVatHead();
        for (int32_t i = 0; i < (int32_t)sums.size() && i < codes; i++) {
            PackedDecimal vat = Blank();
            VatJournalLine(job.selection, &sums[i], i, inclusive, &vat);
            if (DecIsBlank(&sums[i])) continue;
            DecAdd(&runNet[i], &sums[i], &runNet[i]);
            DecAdd(&runVat[i], &vat, &runVat[i]);
        }
    });
    SummaryHead();
    for (int32_t i = 0; i < codes; i++) VatJournalLine(job.selection, &runNet[i], i, 0, &runVat[i]);
    country.Close();
    RepEndJob();
}

void PurchInvoiceJournal(ReportJob &job)
{
    assert(job.selection);
    const int32_t codes = VatCodeCount();
    Sums runSum(codes, Blank());
    PackedDecimal runVatFree = Blank();
    PString vendorClass;
    GetText(job.selection, P::SelText3, vendorClass);
    CountryLine country;
    BeginJob(5220);
    ReportHeadings(LineHeight, {{0, 5221}, {80, 5222}, {160, 5223}, {240, 5224}});
    ReportHeadings(LineHeight, {{15, 5232}, {80, 5225}, {160, 5226}, {240, 5227}});
    RepRuleFull(RuleEnd, RuleThick);
    RuleRecord vendor(VEVc::Number);
    if (!vendor.record) {
        RepEndJob();
        return;
    }
    InvoiceWalk(job.selection, VIVc::Number, VIVc::SerNr, VIVc::TransDate, [&](const uint8_t *inv) {
        const bool approved = GetU16(inv, VIVc::Approved) != 0;
        const bool credit = InvoiceKind(GetU16(inv, VIVc::InvType)) == InvoiceKind::CreditNote;
        if (!ParamStateAdmits(job.selection, P::Option3, P::Option2, approved) || !ParamStateAdmits(job.selection, P::Option6, P::Option7, credit))
            return;
        std::memset(vendor.record, 0, VEVc::Size);
        PString code;
        GetText(inv, VIVc::VendCode, code);
        PutText(vendor.record, VEVc::Code, code);
        uint32_t recid = 0, position = 0;
        const bool found = RecFind(VEVc::Number, vendor.record, 1, 1, &recid, &position);
        if (!found) std::memset(vendor.record, 0, VEVc::Size);
        if (vendorClass[0]) {
            PString own;
            GetText(vendor.record, VEVc::VEGroup, own);
            if (!found || !PStringEqual(own, vendorClass)) return;
        }
        CodeSums gather;
        PackedDecimal vatFree = Blank();
        uint8_t row[VIVc::Rows::Size];
        const int32_t rows = MatrixRowCount(VIVc::Number, 0, inv);
        for (int32_t i = 0; i < rows; i++) {
            if (!MatrixRowGet(VIVc::Number, 0, inv, i, row) ||
                PurchaseRowKind(GetU16(row, VIVc::Rows::Kind)) != PurchaseRowKind::Account) continue;
            const PackedDecimal amount = GetDec(row, VIVc::Rows::Amount);
            GetText(row, VIVc::Rows::VatCode, code);
            if (code[0]) gather.Add(code, &amount);
            else DecAdd(&vatFree, &amount, &vatFree);
        }
        const PackedDecimal rate = GetDec(inv, VIVc::Rate);
        Sums sums = gather.Take(credit, &rate);
        // A credit note takes back VAT-free purchases as it does taxed ones.
        if (!DecIsBlank(&vatFree)) {
            if (credit) DecNegateInto(&vatFree, &vatFree);
            AmountTimesRate(&vatFree, &rate, &vatFree);
        }
        RepRuleFull(RuleEnd, RuleThick);
        RepStartLine(LineHeight);
        RepValue(0, 0, inv + VIVc::SerNr, FtLongOrEmpty, 0);
        RepValue(80, 0, inv + VIVc::TransDate, FtDate, 0);
        RepTextField(160, inv, VIVc::VendCode);
        RepTextField(240, vendor.record, VEVc::Name);
        RepEndLine();
        RepStartLine(LineHeight);
        RepTextField(15, inv, VIVc::VendInvNr);
        RepValue(80, 0, inv + VIVc::InvDate, FtDate, 0);
        RepTextField(160, vendor.record, VEVc::AccountNr);
        AddressLine(240, vendor.record, VEVc::Addr1, VEVc::Addr2, VEVc::Addr3);
        RepEndLine();
        country.Add(sums, GetDec(inv, VIVc::InvAmount), credit, &rate);
        InvoiceVatHead();
        for (int32_t i = 0; i < (int32_t)sums.size() && i < codes; i++) {
            PackedDecimal vat = Blank();
            VatJournalLine(job.selection, &sums[i], i, 0, &vat);
            if (!DecIsBlank(&sums[i])) DecAdd(&runSum[i], &sums[i], &runSum[i]);
        }
        if (!DecIsBlank(&vatFree)) DecAdd(&runVatFree, &vatFree, &runVatFree);
        if (!DecIsBlank(&vatFree) || Option(job.selection, P::Option10)) {
            RepStartLine(LineHeight);
            RepValue(340, 0, vatFree.b, FtAmount2, 1);
            RepEndLine();
        }
    });
    SummaryHead();
    for (int32_t i = 0; i < codes; i++) {
        PackedDecimal vat = Blank();
        VatJournalLine(job.selection, &runSum[i], i, 0, &vat);
    }
    if (!DecIsBlank(&runVatFree) || Option(job.selection, P::Option10)) {
        RepStartLine(LineHeight);
        RepValue(340, 0, runVatFree.b, FtAmount2, 1);
        RepEndLine();
    }
    country.Close();
    RepEndJob();
}
