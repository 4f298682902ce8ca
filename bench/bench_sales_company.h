// bench_sales_company.h - the settings a benchmark company needs to post
// sales invoices as a real company does: fiscal year 2024, an invoice
// number series, VAT code 1 at 25 %, the receivables, sales and rounding
// accounts, invoices posting to the ledger (block 199, so that each
// posted invoice makes its voucher), main location "MAIN", customer "C1"
// and the accounts the vouchers post to.
#pragma once

#include <vector>

#include "bench/bench_store.h"
#include "database/access/record_access.h"

// Stores the settings and records above into the open company; false
// when one was not stored.
inline bool BenchSalesSettings()
{
    std::vector<uint8_t> year(FiscalYearEntry::Size), series(SeriesRow::Size), vat(VatCodeRow::Size);
    PutU16(year.data(), FiscalYearEntry::OrderCode, 1);
    PutDate(year.data(), FiscalYearEntry::StartDate, DateRec{1, 1, 2024});
    PutDate(year.data(), FiscalYearEntry::EndDate, DateRec{31, 12, 2024});
    PutU32(series.data(), SeriesRow::FirstNr, 1);
    PutU32(series.data(), SeriesRow::LastNr, 9999999);
    PackedDecimal rate;
    DecFromLong(&rate, 25);
    BenchPutText(vat.data(), VatCodeRow::Code, 2, "1");
    PutDec(vat.data(), VatCodeRow::Rate, rate);
    BenchPutText(vat.data(), VatCodeRow::Account1, 10, "2610");
    std::vector<uint8_t> accounts(SalesAccountsBlk::Size), stock(MainStockBlk::Size);
    BenchPutText(accounts.data(), SalesAccountsBlk::ARAcc, 10, "1510");
    BenchPutText(accounts.data(), SalesAccountsBlk::SalesAcc0, 10, "3010");
    BenchPutText(accounts.data(), SalesAccountsBlk::RoundingAcc, 10, "3740");
    BenchPutText(stock.data(), MainStockBlk::MainLocation, 10, "MAIN");
    std::vector<uint8_t> posting(PostingBlk::Size);
    PutU16(posting.data(), PostingBlk::PostInvoices, 1);
    if (!BenchStoreRows(FiscalYearBlk::Number, year) || !BenchStoreRows(InvSeriesBlk::Number, series) ||
        !BenchStoreRows(VatCodeBlk::Number, vat) ||
        SettingsBlockStore(SalesAccountsBlk::Number, accounts.data(), SalesAccountsBlk::Size) != RecDone ||
        SettingsBlockStore(MainStockBlk::Number, stock.data(), MainStockBlk::Size) != RecDone ||
        SettingsBlockStore(PostingBlk::Number, posting.data(), PostingBlk::Size) != RecDone)
        return false;
    DbHoldBegin();
    bool ok = BenchStorePlain(CUVc::Number, [](uint8_t *r) { BenchPutText(r, CUVc::Code, 20, "C1"); });
    for (const char *code : {"1510", "2610", "3010", "3740"})
        ok = ok && BenchStorePlain(ACVc::Number, [&](uint8_t *r) { BenchPutText(r, ACVc::Code, 10, code); });
    if (!ok) DbHoldFail();
    return DbHoldEnd() && ok;
}
