// report_fixture.h - a company with a short sales history, for the tests
// of the reports: its invoices, receipts, an order and its deliveries,
// a report body run into a text file, and the comparison of what a
// report wrote with a kept copy (a golden).
//
// StoreSalesHistory() lays down, on top of the invoice company (fiscal
// year 2024, VAT codes, items, customers C1, C2 in EUR and C3):
//   invoice 1  C1  10.1.2024  kind 1  ITEM1 2 x 100, a text row, objects
//              "P1" and salesman "S1"; total 250
//   invoice 2  C1  20.1.2024  kind 2 (cash)  SERVICE 1 x 700; total 784
//   invoice 3  C2   5.2.2024  kind 1 in EUR at 1125  ITEM2 4 x 50 at VAT
//              code 0, objects "P2", salesman "S2"; total 200
//   invoice 4  C1  15.2.2024  kind 3, crediting invoice 2  SERVICE 1 x 350;
//              total 392
//   invoice 5  C1   1.3.2024  kind 4 (interest)  40 at VAT code 0, posted
//              while block 199 posts no invoices: no voucher
//   invoice 6  C1  10.3.2024  kind 1 not posted  ITEM1 1 x 100 and a
//              freight of 50; total 187.50
// invoices 1-5 posted (open items of 1, 3 and 5; vouchers of 1-4);
// receipt 1 (31.1.2024, mode "K") pays 240 of invoice 1 with a cash
// discount row (kind 5) of 5 and bank charges (kind 6) of 5; receipt 2
// (20.2.2024, EUR at 1125) pays invoice 3 with its row dated like the
// receipt; order 1 (C1, 1.3.2024, ITEM1 5 x 100 and ITEM2 2 x 50,
// objects "P1") and its deliveries 1 (5.3.2024, 3 of its first row,
// shipped) and 2 (12.3.2024, 2 of its second row). Today is 15.3.2024;
// dates print day first with "." and four-digit years.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/format_block.h"
#include "core/work_blocks.h"
#include "operations/sales_invoice.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "platform/script.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/sales/sales_reports.h"
#include "rules/ledger_print.h"
#include "rules/stock_cost_lines.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/output/printing_fixture.h"
#include "tests/output/test_job.h"
#include "tests/output/test_job_body.h"
#include "tests/shell/invoice_frame.h"

namespace ReportCo {
constexpr DateRec Today{15, 3, 2024};
constexpr int32_t Invoices = 6, Receipts = 2;
}  // namespace ReportCo

class ReportFixture : public Printing<InvoiceCompanyFixture> {
protected:
    FormatBlock format = DefaultFormatBlock;   // dates day first, fixed for the goldens
    std::string outPath;                       // RunText's file

    void SetUp() override {
        InvoiceCompanyFixture::SetUp();
        if (HasFatalFailure()) return;
        TodayDate = ReportCo::Today;
        FormatBlockBind(&format);
        ResetOutputJobState();
        ASSERT_NE(LoggedInUser, nullptr);
        ResetParams();
        StockCostLinesInstall();   // as start-up installs the stock reports' lines
        LedgerPrintInstall();      // and the ledger printouts
        outPath = ::testing::TempDir() + "orvel_report_" + std::to_string(getpid()) + ".txt";
    }
    void TearDown() override {
        std::remove(outPath.c_str());
        OutputRunServices = OutputRunServicesRec{};
        StockCostLines = StockCostLinesRec{};
        LedgerPrint = LedgerPrintRec{};
        ResetOutputJobState();
        CancelFlag = 0;
        InvoiceCompanyFixture::TearDown();
    }

    // ---- The sales history of the header comment ----

    void StoreSalesHistory() {
        const FixtureInvoiceRow item1{.item = "ITEM1", .qty = 2, .price = 100};
        PostInvoice({.serial = 1, .date = {10, 1, 2024}}, {item1}, "Thank you", "P1", "S1", 200, 50);
        PostInvoice({.serial = 2, .date = {20, 1, 2024}, .kind = 2},
                    {{.item = "SERVICE", .qty = 1, .price = 700, .vatCode = "2"}}, "", "", "", 700, 84);
        PostInvoice({.serial = 3, .customer = "C2", .date = {5, 2, 2024}, .currency = "EUR", .rate = 1125, .vatZone = 1},
                    {{.item = "ITEM2", .qty = 4, .price = 50, .vatCode = "0"}}, "", "P2", "S2", 200, 0);
        PostInvoice({.serial = 4, .date = {15, 2, 2024}, .kind = 3},
                    {{.item = "SERVICE", .qty = 1, .price = 350, .vatCode = "2", .link = 2}}, "", "", "", 350, 42);
        ChangeBlock(PostingBlk::Number, PostingBlk::Size, [](uint8_t *b) { PutU16(b, PostingBlk::PostInvoices, 0); });
        PostInvoice({.serial = 5, .date = {1, 3, 2024}, .kind = 4, .updStock = 0},
                    {{.qty = 1, .price = 40, .vatCode = "0"}}, "", "", "", 40, 0);
        ChangeBlock(PostingBlk::Number, PostingBlk::Size, [](uint8_t *b) { PutU16(b, PostingBlk::PostInvoices, 1); });
        StoreInvoiceAsIs({.serial = 6, .date = {10, 3, 2024}}, {{.item = "ITEM1", .qty = 1, .price = 100}}, 50, 150,
                         37.5);

        StoreReceipt(1, {31, 1, 2024}, "", 0,
                     {{1, 1, "C1", {0, 0, 0}, 240}, {5, -1, "C1", {0, 0, 0}, 5}, {6, -1, "C1", {0, 0, 0}, 5}}, 240);
        StoreReceipt(2, {20, 2, 2024}, "EUR", 1125, {{1, 3, "C2", {20, 2, 2024}, 200}}, 200);

        StoreOrder();
        StoreDelivery(1, {5, 3, 2024}, 0, "ITEM1", 3, 1);
        StoreDelivery(2, {12, 3, 2024}, 1, "ITEM2", 2, 0);
    }

    // Posts an invoice as the invoice's own check does (its voucher built
    // as block 199 says, then open item, stock and voucher) and stores it; a text
    // row, objects and a salesman where given; net and VAT as computed by
    // hand from its rows.
    void PostInvoice(FixtureInvoice f, std::initializer_list<FixtureInvoiceRow> rows, const char *textRow,
                     const char *objects, const char *salesman, double net, double vat) {
        RuleRecord r(IVVc::Number);
        ASSERT_NE(r.record, nullptr);
        f.posted = 0;
        FillInvoice(r.record, f);
        for (const FixtureInvoiceRow &x : rows) AddInvoiceRow(r.record, x);
        if (*textRow) AddTextRow(r.record, textRow);
        PutText(r.record, IVVc::Objects, 30, objects);
        PutText(r.record, IVVc::SalesMan, 5, salesman);
        if (f.kind == 3) PutI32(r.record, IVVc::CredInv, 2);
        PutDec(r.record, IVVc::Net, Dec(net));
        PutDec(r.record, IVVc::Vat, Dec(vat));
        PutDec(r.record, IVVc::Total, Dec(net + vat));
        ASSERT_TRUE(InvoiceVoucher(r.record, 0)) << f.serial;
        InvoicePosting(r.record, 1);
        ASSERT_EQ(GetU16(r.record, IVVc::Posted), 1) << f.serial;
        uint32_t recid = 0;
        ASSERT_TRUE(RecStoreByKey(IVVc::Number, r.record, 0, &recid)) << f.serial;
    }
    // Stores an invoice unposted, with a freight amount.
    void StoreInvoiceAsIs(const FixtureInvoice &f, std::initializer_list<FixtureInvoiceRow> rows, double freight,
                          double net, double vat) {
        RuleRecord r(IVVc::Number);
        ASSERT_NE(r.record, nullptr);
        FillInvoice(r.record, f);
        for (const FixtureInvoiceRow &x : rows) AddInvoiceRow(r.record, x);
        PutText(r.record, IVVc::FreightItem, 20, "SERVICE");
        PutDec(r.record, IVVc::Freight, Dec(freight));
        PutDec(r.record, IVVc::FreightHome, Dec(freight));
        PutText(r.record, IVVc::FreightVat, 2, "1");
        PutDec(r.record, IVVc::Net, Dec(net));
        PutDec(r.record, IVVc::Vat, Dec(vat));
        PutDec(r.record, IVVc::Total, Dec(net + vat));
        uint32_t recid = 0;
        ASSERT_TRUE(RecStoreByKey(IVVc::Number, r.record, 0, &recid)) << f.serial;
    }
    // Appends a text row (kind 3) to an invoice record.
    static void AddTextRow(uint8_t *r, const char *text) {
        uint8_t row[IVVc::Rows::Size] = {};
        PutU16(row, IVVc::Rows::Kind, 3);
        PutText(row, IVVc::Rows::Text, 100, text);
        PutI32(row, IVVc::Rows::Link, -1);
        ASSERT_TRUE(MatrixRowPut(IVVc::Number, 0, r, MatrixRowCount(IVVc::Number, 0, r), row));
    }

    // One row of a receipt: kind, invoice (-1 none), customer, its date
    // (a zero year: the receipt's) and amount.
    struct ReceiptRow {
        uint16_t kind;
        int32_t invoice;
        const char *customer;
        DateRec date;
        double amount;
    };
    // Stores a posted receipt of payment mode "K" through the record layer.
    void StoreReceipt(int32_t serial, DateRec date, const char *currency, double rate,
                      std::initializer_list<ReceiptRow> rows, double total) {
        StoreRecord(IPVc::Number, [&](uint8_t *r) {
            PutI32(r, IPVc::SerNr, serial);
            PutText(r, IPVc::PayMode, 2, "K");
            PutDate(r, IPVc::TransDate, date);
            PutDate(r, IPVc::RegDate, date);
            PutText(r, IPVc::CurncyCode, 5, currency);
            PackedDecimal rt = Dec(rate);
            if (rate == 0) DecSetBlank(&rt);
            PutDec(r, IPVc::Rate, rt);
            PutDec(r, IPVc::AmountRec, Dec(total));
            PutDec(r, IPVc::Total, Dec(total));
            PutU16(r, IPVc::Posted, 1);
            for (const ReceiptRow &x : rows) {
                uint8_t row[IPVc::Rows::Size] = {};
                PutU16(row, IPVc::Rows::Kind, x.kind);
                PutI32(row, IPVc::Rows::InvoiceNr, x.invoice);
                PutText(row, IPVc::Rows::CustCode, 20, x.customer);
                if (x.date.year) PutDate(row, IPVc::Rows::PayDate, x.date);
                PutDec(row, IPVc::Rows::Amount, Dec(x.amount));
                PutI32(row, IPVc::Rows::Link, -1);
                ASSERT_TRUE(MatrixRowPut(IPVc::Number, 0, r, MatrixRowCount(IPVc::Number, 0, r), row));
            }
        });
    }
    // Stores order 1 of the header comment.
    void StoreOrder() {
        StoreRecord(ORVc::Number, [&](uint8_t *r) {
            PutText(r, ORVc::CustCode, 20, "C1");
            PutI32(r, ORVc::SerNr, 1);
            PutDate(r, ORVc::OrdDate, DateRec{1, 3, 2024});
            PutText(r, ORVc::Objects, 30, "P1");
            PutText(r, ORVc::PayTerms, 2, "30");
            PutU16(r, ORVc::Open, 1);
            PutDec(r, ORVc::Net, Dec(600));
            PutDec(r, ORVc::Total, Dec(750));
            for (const FixtureInvoiceRow &x : {FixtureInvoiceRow{.item = "ITEM1", .qty = 5, .price = 100},
                                               FixtureInvoiceRow{.item = "ITEM2", .qty = 2, .price = 50}}) {
                uint8_t row[ORVc::Rows::Size] = {};
                PutU16(row, ORVc::Rows::Kind, 1);
                PutText(row, ORVc::Rows::ItemCode, 20, x.item);
                PutText(row, ORVc::Rows::Text, 100, x.item);
                PutDec(row, ORVc::Rows::Quantity, Dec(x.qty));
                PutDec(row, ORVc::Rows::Price, Dec(x.price));
                PutDec(row, ORVc::Rows::Sum, Dec(x.qty * x.price));
                PutText(row, ORVc::Rows::SalesAcc, 10, x.account);
                ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, r, MatrixRowCount(ORVc::Number, 0, r), row));
            }
        });
    }
    // Stores a delivery of order 1 with one row: qty of item from the
    // order's row orderRow.
    void StoreDelivery(int32_t serial, DateRec date, int32_t orderRow, const char *item, double qty,
                       uint16_t shipped) {
        StoreRecord(SHVc::Number, [&](uint8_t *r) {
            PutI32(r, SHVc::SerNr, serial);
            PutI32(r, SHVc::OrderNr, 1);
            PutDate(r, SHVc::ShipDate, date);
            PutText(r, SHVc::CustCode, 20, "C1");
            PutText(r, SHVc::Location, 10, InvoiceCo::Location);
            PutU16(r, SHVc::Shipped, shipped);
            uint8_t row[SHVc::Rows::Size] = {};
            PutI32(row, SHVc::Rows::OrderRowNr, orderRow);
            PutText(row, SHVc::Rows::ItemCode, 20, item);
            PutText(row, SHVc::Rows::Text, 100, item);
            PutDec(row, SHVc::Rows::ToDeliver, Dec(qty));
            PutText(row, SHVc::Rows::Location, 10, InvoiceCo::Location);
            ASSERT_TRUE(MatrixRowPut(SHVc::Number, 0, r, 0, row));
        });
    }

    // ---- The job record ----

    // The job record the selection helpers fill, and the job over it that
    // the runs are handed.
    static uint8_t *JobBytes() { return TestJob; }
    static ReportJob Job() { return ReportJob{JobBytes()}; }
    // Zeroes the whole job record.
    static void ResetParams() { std::memset(JobBytes(), 0, ReportParamsSize); }
    // A text field of the job record by its ReportParamsVc offset, kept
    // to the field's slot.
    static void SetText(uint32_t field, const char *text) {
        namespace P = ReportParamsVc;
        int width = 0;
        switch (field) {
        case P::SelText1: case P::SelText2: case P::SelText3: width = 255; break;
        case P::PeriodText: case P::SelText4: width = 31; break;
        case P::ObjectSel: width = 30; break;
        case P::ObjectType: width = 5; break;
        case P::SelText5: case P::SelText6: case P::SelText7: case P::SelText8: width = 21; break;
        default: break;
        }
        ASSERT_NE(width, 0) << "not a text field of the job record: " << field;
        PutText(JobBytes(), field, width, text);
    }
    // The period DateFrom..DateTo.
    static void SetPeriod(DateRec from, DateRec to) {
        PutDate(JobBytes(), ReportParamsVc::DateFrom, from);
        PutDate(JobBytes(), ReportParamsVc::DateTo, to);
    }
    // A word of the job record (an option, the layout, the number).
    static void SetWord(uint32_t field, uint16_t v) { PutU16(JobBytes(), field, v); }
    // Runs the report the job record names, as the report command does.
    static void RunJob() {
        ReportJob job = Job();
        RunReport(job);
    }

    // ---- Running a report and comparing its output ----

    // Runs body as a job of output kind `kind` (a text file by default)
    // into a temporary file, the save dialog answered by script; the
    // file's bytes, empty when no file was made.
    // Runs a body that takes its job as the run does: over a job of its
    // own, a copy of the job record the helpers filled, attached to the
    // output; meanwhile the test's job record holds bytes no selection
    // has, so that a body (or a routine it calls) reading the test's
    // job instead of its job prints something else. The job's bytes go back
    // into the job record afterwards, for the tests that read what the
    // body wrote there.
    static void RunOnJob(void (*body)(ReportJob &)) {
        OwnedJob own;
        std::memcpy(own.job.selection, JobBytes(), ReportParamsSize);
        std::memset(TestJob, 0xEE, ReportParamsSize);
        {
            OutputJobAttach attached(own.job);
            body(own.job);
        }
        std::memcpy(JobBytes(), own.job.selection, ReportParamsSize);
    }
    // Report number's row run as the report run runs it, over record (a
    // job record of its own, or the fixture's) into a text file; the file's
    // bytes.
    std::string RunRowText(int number, uint8_t *record) {
        static const ReportRowRec *row;
        static uint8_t *own;
        row = ReportRow(number);
        own = record;
        if (!row) return "";
        PutU16(record, ReportParamsVc::OutputKind, OutTextFile);
        return RunText([] {
            ReportJob job{own};
            RunRowBody(*row, job);
        });
    }
    // A body that takes its job, run as RunOnJob runs it.
    std::string RunText(void (*body)(ReportJob &), uint16_t kind = OutTextFile) {
        static void (*jobBody)(ReportJob &);
        jobBody = body;
        return RunText([] { RunOnJob(jobBody); }, kind);
    }
    std::string RunText(void (*body)(), uint16_t kind = OutTextFile) {
        std::remove(outPath.c_str());
        SetWord(ReportParamsVc::OutputKind, kind);
        ScriptAnswerFile(outPath);
        RepOpenFileDevice();
        if (RepStopped) return "";
        body();
        std::ifstream in(outPath, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // Compares bytes with tests/reports/sales/golden/<name>.txt; on a
    // difference writes <name>.actual into the working (build) folder.
    // ORVEL_GOLDEN_UPDATE=1 rewrites the golden instead.
    static void ExpectGolden(const std::string &name, const std::string &bytes) {
        ExpectGoldenIn("sales", name, bytes);
    }
    // ExpectGolden over the golden files of tests/reports/<folder>/golden.
    static void ExpectGoldenIn(const std::string &folder, const std::string &name, const std::string &bytes) {
        const std::string golden =
            std::string(ORVEL_TEST_DATA_DIR) + "/reports/" + folder + "/golden/" + name + ".txt";
        const char *update = std::getenv("ORVEL_GOLDEN_UPDATE");
        if (update && std::string(update) == "1") {
            std::ofstream out(golden, std::ios::binary);
            out << bytes;
            ASSERT_TRUE(out.good()) << golden;
            return;
        }
        std::ifstream in(golden, std::ios::binary);
        ASSERT_TRUE(in.good()) << "no golden " << golden;
        std::ostringstream want;
        want << in.rdbuf();
        if (want.str() == bytes) return;
        std::ofstream actual(name + ".actual", std::ios::binary);
        actual << bytes;
        ADD_FAILURE() << "report output differs from " << golden << "; written to " << name << ".actual";
    }
};
