// bench_okfakt.cpp - the invoice import "okfakt" of 10,000 invoices of
// three item rows each (half of them approved, half approved on the way
// in) into a company that lacks their 500 customers, 200 items and 20
// salespersons, so that the import makes them as it goes.
//
// The peer is the same invoices read as a "fakt1" section, the ordinary
// register import, whose store makes the same customers, items and users
// and posts the approved invoices: ratio = okfakt's time / fakt1's (what
// approving the others and their customer-ledger entries cost on top). A
// run that does not store every invoice skips with the reason: no figure is
// given for work that was not done. Full runs (ORVEL_BENCH_FULL, set by
// scripts/bench) use the full size; smoke runs a small one, for the test
// build's smoke run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_company.h"
#include "bench/bench_store.h"
#include "bench/bench_sizes.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/message_sink.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "database/engine/engine.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "output/output_job.h"
#include "rules/hooks.h"
#include "rules/rules_types.h"
#include "shell/database_open.h"

namespace {

const int Invoices = BenchSize<int>(10000, 40);
constexpr int Customers = 500, Items = 200, Salespersons = 20, RowsEach = 3;

using Clock = std::chrono::steady_clock;

// The invoices as a section under tag: each dated 15.06.2024, every
// second one approved, with three item rows of 100 and a blank cost.
std::string InvoiceFile(const char *tag)
{
    std::string s = std::string(tag) + "\r\n";
    for (int i = 0; i < Invoices; i++) {
        std::string n = std::to_string(i + 1);
        // Line 1: number, dates, terms, approved, kind, transaction date, stock.
        s += n + "\t15.06.2024\t15.07.2024\t\t\t30\t\t\t\t\t\t" + (i % 2 ? "1" : "0") +
             "\t\t\t1\t\t\t\t\t\t\t\t\t\t15.06.2024\t1\t\t\r\n";
        s += "K" + std::to_string(i % Customers) + "\tCustomer " + std::to_string(i % Customers) + "\tStreet\tTown\r\n";
        s += "ref\t\t\tS" + std::to_string(i % Salespersons) + "\r\n0\r\n";
        for (int r = 0; r < RowsEach; r++)
            s += "1\tA" + std::to_string((i + r) % Items) + "\t1\trow\t100\t100\t\t3010\t\t\t\t\t\t1\r\n";
        s += "\r\n";
    }
    return s + "\r\n";
}

// A fresh company with what posting needs: fiscal year 2024, the invoice
// and voucher series, VAT code 1 at 25 %, the sales accounts, the main
// location and the accounts, invoices posted from 1.1.2024, one user; no
// customers, items or salespersons. The rules are installed. false when a
// step failed.
bool FreshCompany()
{
    static bool opened = false;
    if (!opened && !BenchCompanyOpen("okfakt")) return false;
    if (!opened) TextExchangeInstall();
    opened = true;
    const std::string path = BenchCompanyPath("okfakt");
    RegisterHooksClear();   // the settings go in unchecked, as the rules come last
    AccessServices = AccessServiceHooks{};
    if (D4IsOpen()) D4Close();
    std::remove(path.c_str());
    if (D4Create(path.c_str(), 0) != D4OpenOk || !SettingsStartup()) return false;
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
    std::vector<uint8_t> vatAccounts(VatAccountsBlk::Rows::Size);
    BenchPutText(vatAccounts.data(), VatAccountsBlk::Rows::VatCode, 2, "1");
    for (uint32_t at : {VatAccountsBlk::Rows::AccOther, VatAccountsBlk::Rows::AccZone1, VatAccountsBlk::Rows::AccZone2})
        BenchPutText(vatAccounts.data(), at, 10, "2610");
    std::vector<uint8_t> accounts(SalesAccountsBlk::Size), stock(MainStockBlk::Size), posting(PostingBlk::Size);
    PutU16(posting.data(), PostingBlk::PostInvoices, 1);
    PutDate(posting.data(), PostingBlk::InvoiceStart, DateRec{1, 1, 2024});
    BenchPutText(accounts.data(), SalesAccountsBlk::ARAcc, 10, "1510");
    BenchPutText(accounts.data(), SalesAccountsBlk::SalesAcc0, 10, "3010");
    BenchPutText(accounts.data(), SalesAccountsBlk::RoundingAcc, 10, "3740");
    BenchPutText(stock.data(), MainStockBlk::MainLocation, 10, "MAIN");
    if (!BenchStoreRows(FiscalYearBlk::Number, year) || !BenchStoreRows(InvSeriesBlk::Number, series) ||
        !BenchStoreRows(VatCodeBlk::Number, vat) || !BenchStoreRows(VatAccountsBlk::Number, vatAccounts) ||
        SettingsBlockStore(SalesAccountsBlk::Number, accounts.data(), SalesAccountsBlk::Size) != RecDone ||
        SettingsBlockStore(MainStockBlk::Number, stock.data(), MainStockBlk::Size) != RecDone ||
        SettingsBlockStore(PostingBlk::Number, posting.data(), PostingBlk::Size) != RecDone)
        return false;
    DbHoldBegin();
    bool ok = BenchStorePlain(PEVc::Number, [](uint8_t *r) { BenchPutText(r, PEVc::Code, 5, "ADM"); });
    for (const char *code : {"1510", "2610", "3010", "3740"})
        ok = ok && BenchStorePlain(ACVc::Number, [&](uint8_t *r) { BenchPutText(r, ACVc::Code, 10, code); });
    if (!ok) DbHoldFail();
    if (!DbHoldEnd()) return false;
    RulesInstall();
    return true;
}

// Imports bytes from memory as the program does, from job (attached as
// the import command attaches it: its steps read it); false when the run
// stopped, a step failed or not every invoice was stored.
bool ImportFile(ReportJob &job, const std::string &bytes)
{
    PutU16(job.selection, ReportParamsVc::OutputKind, ImportSourceMemory);
    PutU16(job.selection, ReportParamsVc::ReportNumber, 0);
    OutputJobAttach attached(job);
    ImportMemorySource(reinterpret_cast<const uint8_t *>(bytes.data()), uint32_t(bytes.size()));
    ImportFailedSteps = 0;
    ImportRun();
    const uint32_t customers = std::min(Invoices, Customers), items = std::min(Invoices + RowsEach - 1, Items);
    bool ok = ImportAbortFlag == 0 && ImportFailedSteps == 0 && RegRecordCount(IVVc::Number) == uint32_t(Invoices) &&
              RegRecordCount(CUVc::Number) == customers && RegRecordCount(INVc::Number) == items;
    ImportFileClose();
    return ok;
}

// The invoices of the company that are posted.
int PostedInvoices()
{
    RuleRecord r(IVVc::Number);
    int posted = 0;
    for (int32_t i = 1; r.record && i <= int32_t(RegRecordCount(IVVc::Number)); i++) {
        uint32_t id = 0;
        RecFreeMatrix(IVVc::Number, r.record);
        if (RecReadAt(IVVc::Number, i, r.record, &id) && GetU16(r.record, IVVc::Posted) == 1) posted++;
    }
    return posted;
}

double PeerSeconds = 0;   // seconds per run of the "fakt1" import (it runs first)

// Runs the import of the invoices under tag, each iteration into a fresh
// company; seconds per run, or a negative value when a run failed.
double Run(benchmark::State &state, const char *tag)
{
    MessageSinkSet([](const char *) {});
    const std::string file = InvoiceFile(tag);
    double seconds = 0;
    OwnedJob own;
    for (auto _ : state) {
        state.PauseTiming();
        bool fresh = FreshCompany();
        state.ResumeTiming();
        auto start = Clock::now();
        if (!fresh || !ImportFile(own.job, file)) return -1;
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
    }
    state.counters["invoices/s"] = benchmark::Counter(double(Invoices), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["vouchers"] = double(RegRecordCount(TRVc::Number));
    state.counters["posted"] = double(PostedInvoices());
    return seconds / double(state.iterations());
}

void BM_Fakt1Import(benchmark::State &state)
{
    PeerSeconds = Run(state, "fakt1");
    if (PeerSeconds < 0) state.SkipWithError("the fakt1 import did not store every invoice");
}

void BM_OkfaktImport(benchmark::State &state)
{
    double seconds = Run(state, "okfakt");
    if (seconds < 0) return state.SkipWithError("the okfakt import did not store every invoice");
    if (PeerSeconds > 0) state.counters["okfakt/fakt1"] = seconds / PeerSeconds;
}

BENCHMARK(BM_Fakt1Import)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_OkfaktImport)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
