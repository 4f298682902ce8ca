// bench_invoice.cpp - the cost of the sales invoice's road through the
// record layer with the rules installed: an invoice of 10, 100 and 300
// rows saved unposted (checks, numbering, insert steps) and saved posted
// (checks, voucher, open item, stock, item history, order of the hooks).
//
// The peer is the same invoice written as a plain record in a hold of its
// own, without hooks: ratio = the road's time / the plain write's (what
// the rules cost on top of the disk). A posted save the rules refuse (a
// step not built in this tree) is reported as an error, not measured.
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "bench/bench_company.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "rules/hooks.h"
#include "rules/rules_types.h"

namespace {

using Clock = std::chrono::steady_clock;
int32_t nextSerial = 1;

// Puts text into a PString field of at most max characters.
void PutText(uint8_t *base, uint32_t at, int max, const char *text) {
    PString p;
    PStringFromC(p, text);
    PutPString(base, at, max, p);
}

// Stores one record of reg filled by fill, no hooks; false when it failed.
template <typename Fill> bool StorePlain(int reg, Fill fill) {
    RuleRecord r(reg);
    if (!r.record) return false;
    fill(r.record);
    uint32_t recid = 0;
    return RecStoreByKey(reg, r.record, 1, &recid);
}

// Stores the rows of a settings table block.
bool StoreRows(int block, const std::vector<uint8_t> &rows) {
    return SettingsBlockStore(block, rows.data(), (uint32_t)rows.size()) == RecDone;
}

// The company: a customer, a stocked item with plenty of stock, VAT code
// 1 at 25 %, the accounts, fiscal year 2024, an invoice series, the rules.
// Once per program.
bool Company() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("invoice")) return false;
    std::vector<uint8_t> year(FiscalYearEntry::Size), series(SeriesRow::Size), vat(VatCodeRow::Size);
    PutU16(year.data(), FiscalYearEntry::OrderCode, 1);
    PutDate(year.data(), FiscalYearEntry::StartDate, DateRec{1, 1, 2024});
    PutDate(year.data(), FiscalYearEntry::EndDate, DateRec{31, 12, 2024});
    PutU32(series.data(), SeriesRow::FirstNr, 1);
    PutU32(series.data(), SeriesRow::LastNr, 9999999);
    PackedDecimal rate;
    DecFromLong(&rate, 25);
    PutText(vat.data(), VatCodeRow::Code, 2, "1");
    PutDec(vat.data(), VatCodeRow::Rate, rate);
    PutText(vat.data(), VatCodeRow::Account1, 10, "2610");
    std::vector<uint8_t> accounts(SalesAccountsBlk::Size), stock(MainStockBlk::Size);
    PutText(accounts.data(), SalesAccountsBlk::ARAcc, 10, "1510");
    PutText(accounts.data(), SalesAccountsBlk::SalesAcc0, 10, "3010");
    PutText(stock.data(), MainStockBlk::MainLocation, 10, "MAIN");
    if (!StoreRows(FiscalYearBlk::Number, year) || !StoreRows(InvSeriesBlk::Number, series) ||
        !StoreRows(VatCodeBlk::Number, vat) ||
        SettingsBlockStore(SalesAccountsBlk::Number, accounts.data(), SalesAccountsBlk::Size) != RecDone ||
        SettingsBlockStore(MainStockBlk::Number, stock.data(), MainStockBlk::Size) != RecDone)
        return false;
    DbHoldBegin();
    PackedDecimal plenty;
    DecFromLong(&plenty, 100000000);
    bool ok = StorePlain(CUVc::Number, [](uint8_t *r) { PutText(r, CUVc::Code, 20, "C1"); }) &&
              StorePlain(INVc::Number, [](uint8_t *r) {
                  PutText(r, INVc::Code, 20, "ITEM1");
                  PutU16(r, INVc::Stocked, 1);
              }) &&
              StorePlain(LSVc::Number, [&](uint8_t *r) {
                  PutText(r, LSVc::ItemCode, 20, "ITEM1");
                  PutText(r, LSVc::Location, 10, "MAIN");
                  PutDec(r, LSVc::InStock, plenty);
              });
    for (const char *code : {"1510", "2610", "3010"})
        ok = ok && StorePlain(ACVc::Number, [&](uint8_t *r) { PutText(r, ACVc::Code, 10, code); });
    if (!ok) DbHoldFail();
    if (!DbHoldEnd()) return false;
    RulesInstall();
    ready = 1;
    return true;
}

// Fills invoice with `rows` item rows of one unit at 100 and its totals,
// numbered with the next serial, posted as asked.
void FillInvoice(uint8_t *invoice, int rows, bool posted) {
    RecFreeMatrix(IVVc::Number, invoice);
    RecClear(IVVc::Number, invoice);
    PutText(invoice, IVVc::CustCode, 20, "C1");
    PutU32(invoice, IVVc::SerNr, (uint32_t)nextSerial++);
    PutDate(invoice, IVVc::InvDate, DateRec{15, 6, 2024});
    PutDate(invoice, IVVc::TransDate, DateRec{15, 6, 2024});
    PutDate(invoice, IVVc::PayDate, DateRec{15, 7, 2024});
    PutU16(invoice, IVVc::InvType, 1);
    PutU16(invoice, IVVc::UpdStock, 1);
    PutU16(invoice, IVVc::Posted, posted ? 1 : 0);
    for (uint32_t at : {IVVc::OrderNr, IVVc::CredInv, IVVc::CashDiscDays}) PutU32(invoice, at, SerialNone);
    PackedDecimal one, price, total, vat;
    DecFromLong(&one, 1);
    DecFromLong(&price, 100);
    DecFromLong(&total, 125 * rows);
    DecFromLong(&vat, 25 * rows);
    PutDec(invoice, IVVc::Total, total);
    PutDec(invoice, IVVc::Vat, vat);
    uint8_t row[IVVc::Rows::Size] = {};
    PutU16(row, IVVc::Rows::Kind, 1);
    PutText(row, IVVc::Rows::ItemCode, 20, "ITEM1");
    PutDec(row, IVVc::Rows::Quantity, one);
    PutDec(row, IVVc::Rows::Price, price);
    PutDec(row, IVVc::Rows::Sum, price);
    PutText(row, IVVc::Rows::SalesAcc, 10, "3010");
    PutText(row, IVVc::Rows::VatCode, 2, "1");
    PutU32(row, IVVc::Rows::Link, SerialNone);
    for (int i = 0; i < rows; i++) MatrixRowPut(IVVc::Number, 0, invoice, i, row);
}

// Saves invoices of state.range(0) rows through the record layer, posted
// when state.range(1) is 1, beside the same invoice written plainly.
void BM_InvoiceSave(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    const int rows = (int)state.range(0);
    const bool posted = state.range(1) == 1;
    RuleRecord invoice(IVVc::Number);
    double road = 0, plain = 0;
    for (auto _ : state) {
        FillInvoice(invoice.record, rows, posted);
        uint32_t recid = 0;
        int result = -1;
        Clock::time_point t = Clock::now();
        RecInsertChecked(IVVc::Number, invoice.record, &recid, &result);
        double spent = std::chrono::duration<double>(Clock::now() - t).count();
        if (result != RecDone) {
            state.SkipWithError("the rules refused the invoice");
            return;
        }
        road += spent;
        FillInvoice(invoice.record, rows, posted);
        t = Clock::now();
        DbHoldBegin();
        bool stored = RecStore(IVVc::Number, invoice.record, 0, &recid);
        if (!DbHoldEnd() || !stored) {
            state.SkipWithError("the plain write failed");
            return;
        }
        double peer = std::chrono::duration<double>(Clock::now() - t).count();
        plain += peer;
        state.SetIterationTime(spent);
    }
    if (plain > 0) state.counters["ratio"] = road / plain;
}
BENCHMARK(BM_InvoiceSave)
    ->ArgsProduct({{10, 100, 300}, {0, 1}})
    ->ArgNames({"rows", "posted"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
