// vendor_reports_test.cpp - the purchase-invoice journal (26), the vendor
// ageing report (31) with the amounts it rebuilds from the vendor ledger,
// and the transaction journal (15): goldens of every layout, the filters,
// the day limits of the buckets, payments on the report date, empty
// registers, selections that take nothing and Esc mid-run; the vendor
// walk by code, name and group.
#include <algorithm>
#include <string>

#include "core/company_variant.h"
#include "platform/queue.h"
#include "reports/frame/party_walk.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/purchase/purchase_reports.h"
#include "reports/purchase/vendor_reports.h"
#include "tests/output/output_recorder.h"
#include "tests/output/test_job.h"
#include "tests/reports/preview_lines.h"
#include "tests/reports/purchase/vendor_report_fixture.h"

namespace {

namespace P = ReportParamsVc;

class VendorReportsTest : public VendorHistoryFixture {
protected:
    void SetUp() override {
        VendorHistoryFixture::SetUp();
        if (HasFatalFailure()) return;
        StorePurchaseHistory();
    }
    // Report 26 with every kind and both approval states.
    static void JournalAll() {
        ResetParams();
        SetWord(P::ReportNumber, 26);
        for (uint32_t at : {P::Option2, P::Option3, P::Option4, P::Option5, P::Option6}) SetWord(at, 1);
    }
    static void Ageing(uint16_t layout, DateRec reportDate = {}) {
        ResetParams();
        SetWord(P::ReportNumber, 31);
        SetWord(P::ReportLayout, layout);
        PutDate(TestJob, P::Date2From, reportDate);
    }
    static double Open(int32_t serial, DateRec date, double start) {
        PackedDecimal amount = Dec(start);
        InvoiceOpenAtDate(serial, &date, &amount);
        return DecToDouble(&amount);
    }
};

// True when text holds the line made of the given tab-separated cells.
bool HasLine(const std::string &text, const std::string &line) { return text.find(line + "\t\r\n") != std::string::npos; }

// ---- The vendor-ledger amounts ----

// What was open of an invoice on a date: invoice 1 less payment 1 from
// 31.1 (the day itself counts) and its credit note from 15.2; invoice 4
// less payment 3 in euros; a serial without entries keeps its amount.
TEST_F(VendorReportsTest, OpenAmountOnADate) {
    EXPECT_EQ(Open(1, {30, 1, 2024}, 1000), 1000);
    EXPECT_EQ(Open(1, {31, 1, 2024}, 1000), 600);
    EXPECT_EQ(Open(1, {14, 2, 2024}, 1000), 600);
    EXPECT_EQ(Open(1, {15, 2, 2024}, 1000), 500);
    EXPECT_EQ(Open(2, {4, 3, 2024}, 500), 500);
    EXPECT_EQ(Open(2, {5, 3, 2024}, 500), 300);
    EXPECT_EQ(Open(4, {15, 3, 2024}, 200), 150);
    EXPECT_EQ(Open(77, {1, 1, 2030}, 5), 5);

    uint8_t entry[VLVc::Size] = {};
    PutI32(entry, VLVc::DocSerNr, 2);
    PutI32(entry, VLVc::InvoiceNr, 2);
    PackedDecimal paid;
    PaymentRowsForInvoice(entry, &paid);
    EXPECT_EQ(DecToDouble(&paid), 200);
    PutI32(entry, VLVc::InvoiceNr, 1);   // payment 2 paid nothing on invoice 1
    PaymentRowsForInvoice(entry, &paid);
    EXPECT_TRUE(DecIsZero(&paid));
    PutI32(entry, VLVc::DocSerNr, 99);   // a payment that is gone
    PaymentRowsForInvoice(entry, &paid);
    EXPECT_TRUE(DecIsZero(&paid));
    EXPECT_FALSE(DecIsBlank(&paid));
}

// The payment on account counts on its own date and after, not before; a
// vendor without one gets zeros.
TEST_F(VendorReportsTest, OnAccountUpToAndOnTheDate) {
    PString v1, v2;
    PStringFromC(v1, "V1");
    PStringFromC(v2, "V2");
    PackedDecimal home, currency;
    VendorOnAccount(v1, nullptr, &home, &currency);
    EXPECT_EQ(DecToDouble(&home), -60);
    EXPECT_EQ(DecToDouble(&currency), -60);
    const DateRec same{5, 3, 2024}, before{4, 3, 2024};
    VendorOnAccount(v1, &same, &home, &currency);
    EXPECT_EQ(DecToDouble(&home), -60);
    VendorOnAccount(v1, &before, &home, &currency);
    EXPECT_TRUE(DecIsZero(&home) && DecIsZero(&currency));
    VendorOnAccount(v2, nullptr, &home, &currency);
    EXPECT_TRUE(DecIsZero(&home) && DecIsZero(&currency));
}

// ---- Report 31 ----

// Every layout of today's open items and rebuilt at two report dates,
// in the invoice currency, past due only, by name, by group and a range
// of nobody, as goldens.
TEST_F(VendorReportsTest, AgeingByLayoutAndDate) {
    SetLimits(30, 60);
    const struct {
        const char *golden;
        uint16_t layout, pastDue, byName, inCurrency;
        DateRec date;
        const char *range, *group;
    } runs[] = {
        {"report31_layout0", 0, 0, 0, 0, {}, "", ""},
        {"report31_layout1", 1, 0, 0, 0, {}, "", ""},
        {"report31_layout2", 2, 0, 0, 0, {}, "", ""},
        {"report31_layout3", 3, 0, 0, 0, {}, "", ""},
        {"report31_layout4", 4, 0, 0, 0, {}, "", ""},
        {"report31_date_layout0", 0, 0, 0, 0, {20, 2, 2024}, "", ""},
        {"report31_date_layout1", 1, 0, 0, 0, {5, 3, 2024}, "", ""},
        {"report31_date_layout2", 2, 0, 0, 0, {5, 3, 2024}, "", ""},
        {"report31_date_layout3", 3, 0, 0, 0, {4, 3, 2024}, "", ""},
        {"report31_date_layout4", 4, 0, 0, 0, {15, 3, 2024}, "", ""},
        {"report31_currency0", 0, 0, 0, 1, {}, "", ""},
        {"report31_currency2", 2, 0, 0, 1, {}, "", ""},
        {"report31_currency3", 3, 0, 0, 1, {}, "", ""},
        {"report31_past_due", 1, 1, 0, 0, {}, "", ""},
        {"report31_by_name", 3, 0, 1, 0, {}, "E:F", ""},
        {"report31_group", 1, 0, 0, 0, {}, "", "G2"},
        {"report31_nobody", 0, 0, 0, 0, {}, "X1:X9", ""},
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.golden);
        Ageing(r.layout, r.date);
        SetWord(P::Option1, r.pastDue);
        SetWord(P::Option2, r.byName);
        SetWord(P::Option3, r.inCurrency);
        SetText(P::SelText1, r.range);
        SetText(P::SelText3, r.group);
        ExpectGolden(r.golden, RunText(VendorAgeingReport));
    }
}

// The ageing layout in the preview, a six-digit amount in a bucket and
// a long vendor name: no text of a line begins before the one left of it
// ends, so every vendor stays one line.
TEST_F(VendorReportsTest, AgeingColumnsDoNotOverlapInThePreview) {
    SetLimits(30, 60);
    RuleRecord item(APVc::Number);
    uint32_t recid = 0;
    ASSERT_TRUE(RecReadAt(APVc::Number, 1, item.record, &recid));
    PutDec(item.record, APVc::OpenAmount, Dec(123456));
    ASSERT_TRUE(RecStore(APVc::Number, item.record, 1, &recid));
    InvoiceFrameUp();
    ASSERT_FALSE(HasFatalFailure());
    for (uint16_t inCurrency : {0, 1}) {
        SCOPED_TRACE(inCurrency ? "in currency" : "at home");
        Ageing(2);
        SetWord(P::Option3, inCurrency);
        SetWord(P::OutputKind, OutPreview);
        ResetOutputJobState();
        OverTestJob<VendorAgeingReport>();
        const int n = OpenPreviewWindow();
        ASSERT_TRUE(PreviewIsOpen(n));
        const std::vector<PlacedText> texts = PreviewTexts(n);
        EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const PlacedText &t) { return t.text.find("123") == 0; }));
        ExpectNoOverlap(texts);
        WinClose(n);
    }
    InvoiceFrameDown();
}

// The buckets by the limits of block 219: invoice 1 (35 days past due)
// lies in the second span with 30/60, in the first with 60/30 (the
// second span then takes nothing) and beyond both with the limits unset
// (15/30); every amount lands in one bucket only, so the buckets add up
// to the debt.
TEST_F(VendorReportsTest, AgeingBucketsByLimits) {
    const struct {
        const char *golden;
        int32_t l1, l2;
        const char *heading, *v1;
    } runs[] = {
        {"report31_limits_30_60", 30, 60, "Vendor\tName\tNot due\t0 - 30\t31 - 60\t61 - \tAmount",
         "V1\tFirst Vendor\t-60,00\t300,00\t500,00\t0,00\t740,00"},
        {"report31_limits_60_30", 60, 30, "Vendor\tName\tNot due\t0 - 60\t61 - \tAmount",
         "V1\tFirst Vendor\t-60,00\t800,00\t0,00\t0,00\t740,00"},
        {"report31_limits_unset", -1, -1, "Vendor\tName\tNot due\t0 - 15\t16 - 30\t31 - \tAmount",
         "V1\tFirst Vendor\t-60,00\t300,00\t0,00\t500,00\t740,00"},
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.golden);
        SetLimits(r.l1, r.l2);
        Ageing(2);
        const std::string out = RunText(VendorAgeingReport);
        EXPECT_TRUE(HasLine(out, r.heading)) << out;
        EXPECT_TRUE(HasLine(out, r.v1)) << out;
        ExpectGolden(r.golden, out);
    }
}

// A payment on account made on the report date counts there as a payment
// on an invoice made that day does: the balance of V1 on 5.3 is
// 500 + 300 - 60, on 4.3 it is 500 + 500.
TEST_F(VendorReportsTest, OnAccountPaymentOnTheReportDate) {
    Ageing(3, {5, 3, 2024});
    std::string out = RunText(VendorAgeingReport);
    EXPECT_TRUE(HasLine(out, "V1\tFirst Vendor\t740,00")) << out;
    Ageing(3, {4, 3, 2024});
    out = RunText(VendorAgeingReport);
    EXPECT_TRUE(HasLine(out, "V1\tFirst Vendor\t1000,00")) << out;
    Ageing(1, {5, 3, 2024});
    out = RunText(VendorAgeingReport);
    EXPECT_TRUE(HasLine(out, "On account\t-60,00")) << out;
}

// Past-due amounts of every layout count in the total past due, not only
// those of the layout that prints a vendor's past-due line: V1's 800 and
// V2's credit note of -562.50 (5 days past its date).
TEST_F(VendorReportsTest, PastDueTotalInEveryLayout) {
    SetLimits(30, 60);
    for (uint16_t layout : {0, 1, 2, 3}) {
        SCOPED_TRACE(layout);
        Ageing(layout);
        const std::string out = RunText(VendorAgeingReport);
        EXPECT_TRUE(HasLine(out, "Past due\t237,50")) << out;
    }
}

// Layout 4 gives a vendor with nothing open its on-account line of zeros,
// and revalues V2's euros at today's rate (1130) while booking them at the
// invoice's (1125): the invoices, and the 20 euros paid on account at 1125
// as well, at the rate of the vendor's currency. With a report date before
// the new rate, the rate of that date (1125) revalues.
TEST_F(VendorReportsTest, RevaluationLinesOfEveryVendor) {
    StorePayment(4, {12, 3, 2024}, "EUR", 1125, {{-1, "V2", 20}});
    ASSERT_FALSE(HasFatalFailure());
    StoreRate("EUR", {1, 3, 2024}, 1130);
    Ageing(4);
    std::string out = RunText(VendorAgeingReport);
    EXPECT_TRUE(HasLine(out, "Quiet Vendor\tOn account\t0,00\t0,00")) << out;
    EXPECT_TRUE(HasLine(out, "Euro Vendor\t4, (E-7)\t1687,50\t1695,00")) << out;
    EXPECT_TRUE(HasLine(out, "Euro Vendor\t7, (E-8)\t-562,50\t-565,00")) << out;
    EXPECT_TRUE(HasLine(out, "Euro Vendor\tOn account\t-225,00\t-226,00")) << out;
    Ageing(4, {12, 3, 2024});
    out = RunText(VendorAgeingReport);
    EXPECT_TRUE(HasLine(out, "Euro Vendor\tOn account\t-225,00\t-226,00")) << out;
    Ageing(4, {29, 2, 2024});
    out = RunText(VendorAgeingReport);
    EXPECT_TRUE(HasLine(out, "Euro Vendor\t4, (E-7)\t2250,00\t2250,00")) << out;
    EXPECT_TRUE(HasLine(out, "Euro Vendor\tOn account\t0,00\t0,00")) << out;
}

// What the registers point at but is gone is left out: an open item
// whose invoice was deleted, and ledger entries of a credit note and a
// payment that no longer exist; the balances stay those of the history.
TEST_F(VendorReportsTest, MissingDocumentsAreSkipped) {
    StoreRecord(APVc::Number, [](uint8_t *r) {
        PutI32(r, APVc::InvoiceNr, 99);
        PutText(r, APVc::VendCode, 20, "V1");
        PutDate(r, APVc::DueDate, DateRec{1, 1, 2024});
        PutDec(r, APVc::OpenAmount, Dec(5000));
    });
    for (uint16_t kind : {0, 1})
        StoreRecord(VLVc::Number, [kind](uint8_t *r) {
            PutText(r, VLVc::VendCode, 20, "V1");
            PutDate(r, VLVc::Date, DateRec{1, 3, 2024});
            PutU16(r, VLVc::Kind, kind);
            PutI32(r, VLVc::DocSerNr, 98);
            PutI32(r, VLVc::InvoiceNr, 2);
        });
    EXPECT_EQ(Open(2, {15, 3, 2024}, 500), 300);
    for (DateRec date : {DateRec{}, DateRec{15, 3, 2024}}) {
        SCOPED_TRACE(date.year);
        Ageing(3, date);
        const std::string out = RunText(VendorAgeingReport);
        EXPECT_TRUE(HasLine(out, "V1\tFirst Vendor\t740,00")) << out;
    }
    Ageing(0, {15, 3, 2024});
    const std::string out = RunText(VendorAgeingReport);
    EXPECT_EQ(out.find("\t98\t"), std::string::npos) << out;
}

// ---- Esc ----

// Lines started in an Esc test's job; the line given posts Esc, as a
// user pressing it while the report prints.
int LinesStarted = 0, EscAtLine = 0;

const RepDevice EscDevice = [] {
    RepDevice d = RecorderDevice;
    d.lineStart = [] {
        RecorderDevice.lineStart();
        if (++LinesStarted == EscAtLine) {
            EXPECT_TRUE(MsgPost(0, PlMsg::KeyDown, PlKey::Escape, 0));
        }
    };
    return d;
}();

// Runs body to the recording preview with Esc at line `at`; the texts
// written.
std::vector<std::string> RunWithEsc(void (*body)(), int at) {
    PutU16(TestJob, P::OutputKind, OutPreview);
    RecLog.clear();
    LinesStarted = 0;
    EscAtLine = at;
    body();
    std::vector<std::string> texts;
    for (const RecCall &call : RecLog) texts.push_back(call.text);
    return texts;
}

bool Holds(const std::vector<std::string> &texts, const std::string &t) {
    for (const std::string &s : texts)
        if (s == t) return true;
    return false;
}

// Esc while the first vendor prints: the second vendor is never reached,
// the end lines still print and the job ends stopped; in both modes.
TEST_F(VendorReportsTest, EscStopsTheAgeingAfterTheRecordAtHand) {
    const RepDevice *saved = RepDeviceInstall(OutPreview, &EscDevice);
    for (DateRec date : {DateRec{}, DateRec{15, 3, 2024}}) {
        SCOPED_TRACE(date.year);
        Ageing(1, date);
        CancelFlag = 0;
        const auto texts = RunWithEsc(OverTestJob<VendorAgeingReport>, 3);
        EXPECT_TRUE(Holds(texts, "First Vendor"));
        EXPECT_FALSE(Holds(texts, "Euro Vendor"));
        EXPECT_EQ(RecLog.back().name, "end");
        EXPECT_EQ(RepStopped, 1);
    }
    JournalAll();
    CancelFlag = 0;
    auto texts = RunWithEsc(OverTestJob<ReportPurchInvoicesByVendor>, 2);
    EXPECT_TRUE(Holds(texts, "A-100"));
    EXPECT_FALSE(Holds(texts, "A-101"));
    EXPECT_EQ(RecLog.back().name, "end");
    RepDeviceInstall(OutPreview, saved);
    CancelFlag = 0;
}

// The sums the report rebuilds from the vendor ledger stay whole when Esc
// is pressed: only the report's own walks stop on it.
TEST_F(VendorReportsTest, LedgerSumsIgnoreEsc) {
    CancelFlag = 1;
    EXPECT_EQ(Open(1, {15, 2, 2024}, 1000), 500);
    EXPECT_EQ(Open(4, {15, 3, 2024}, 200), 150);
    PString v1;
    PStringFromC(v1, "V1");
    PackedDecimal home, currency;
    VendorOnAccount(v1, nullptr, &home, &currency);
    EXPECT_EQ(DecToDouble(&home), -60);
    CancelFlag = 0;
}

// ---- The vendor walk ----

// The codes of the vendors PartyWalk takes from..to (codes, or names with
// byName) of group; act stops after stopAfter vendors.
std::vector<std::string> Walked(const char *from, const char *to, const char *group, bool byName,
                                size_t stopAfter = 99) {
    PString f, t, g;
    PStringFromC(f, from);
    PStringFromC(t, to);
    PStringFromC(g, group);
    std::vector<std::string> codes;
    PartyWalk(VendorParty, {f, t, g, byName}, [&](const uint8_t *vendor) {
        PString code;
        GetText(vendor, VEVc::Code, code);
        codes.push_back(PStringToStd(code));
        return codes.size() < stopAfter;
    });
    return codes;
}

// V1 First Vendor (G1), V2 Euro Vendor (G2), V3 Quiet Vendor (G1): by code
// with open ends, a group read by its own index from the range's start,
// by name (a group there skips the others), act stopping the walk, and
// Esc after the vendor at hand.
TEST_F(VendorReportsTest, VendorWalkByCodeNameAndGroup) {
    using S = std::vector<std::string>;
    EXPECT_EQ(Walked("", "", "", false), (S{"V1", "V2", "V3"}));
    EXPECT_EQ(Walked("V2", "", "", false), (S{"V2", "V3"}));
    EXPECT_EQ(Walked("", "V2", "", false), (S{"V1", "V2"}));
    EXPECT_EQ(Walked("", "", "G1", false), (S{"V1", "V3"}));
    EXPECT_EQ(Walked("V2", "", "G1", false), (S{"V3"}));
    EXPECT_EQ(Walked("", "V2", "G1", false), (S{"V1"}));
    EXPECT_EQ(Walked("", "", "G9", false), S{});
    EXPECT_EQ(Walked("", "", "", true), (S{"V2", "V1", "V3"}));
    EXPECT_EQ(Walked("F", "Q", "", true), (S{"V1"}));
    EXPECT_EQ(Walked("", "", "G1", true), (S{"V1", "V3"}));
    EXPECT_EQ(Walked("", "", "", false, 2), (S{"V1", "V2"}));
    CancelFlag = 1;
    EXPECT_EQ(Walked("", "", "", false), (S{"V1"}));
    EXPECT_EQ(Walked("", "", "G1", true), (S{"V1"}));
    CancelFlag = 0;
}

// ---- Report 26 ----

// The journal's layouts and filters: all invoices in both layouts and as
// totals only; one serial alone; the unapproved; the credit notes alone;
// the posted of a vendor in a period; and nothing when no approval state
// (or no kind) is asked for, which still prints the heading and totals.
TEST_F(VendorReportsTest, PurchaseJournalByLayoutAndFilter) {
    const struct {
        const char *golden;
        uint16_t layout;
        const char *range, *vendor;
        uint16_t unapproved, approved, k1, k2, k3, posted;
        DateRec from, to;
    } runs[] = {
        {"report26_layout0", 0, "", "", 1, 1, 1, 1, 1, 0, {}, {}},
        {"report26_layout1", 1, "", "", 1, 1, 1, 1, 1, 0, {}, {}},
        {"report26_layout2", 2, "", "", 1, 1, 1, 1, 1, 0, {}, {}},
        {"report26_one", 0, "2", "", 1, 1, 1, 1, 1, 0, {}, {}},
        {"report26_unapproved", 0, "", "", 1, 0, 1, 1, 1, 0, {}, {}},
        {"report26_credit_notes", 0, "", "", 1, 1, 0, 0, 1, 0, {}, {}},
        {"report26_vendor_period", 0, "2:", "V1", 1, 1, 1, 1, 1, 1, {1, 2, 2024}, {29, 2, 2024}},
        {"report26_nothing", 0, "", "", 0, 0, 1, 1, 1, 0, {}, {}},
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.golden);
        ResetParams();
        SetWord(P::ReportNumber, 26);
        SetWord(P::ReportLayout, r.layout);
        SetText(P::SelText1, r.range);
        SetText(P::SelText2, r.vendor);
        SetWord(P::Option2, r.unapproved);
        SetWord(P::Option3, r.approved);
        SetWord(P::Option4, r.k1);
        SetWord(P::Option5, r.k2);
        SetWord(P::Option6, r.k3);
        SetWord(P::Option11, r.posted);
        SetPeriod(r.from, r.to);
        ExpectGolden(r.golden, RunText(ReportPurchInvoicesByVendor));
    }
}

// A credit note prints and totals negated; an invoice kind of 0 is taken
// as kind 1 by the kind filter.
TEST_F(VendorReportsTest, PurchaseJournalKinds) {
    StorePurchase({8, "V1", {11, 3, 2024}, {11, 4, 2024}, 0, 70, "A-200"}, {{1, "5010", "", "Odd kind", 70, -1}});
    ASSERT_FALSE(HasFatalFailure());
    JournalAll();
    SetWord(P::Option5, 0);
    SetWord(P::Option6, 0);
    std::string out = RunText(ReportPurchInvoicesByVendor);
    EXPECT_TRUE(HasLine(out, "8\t11.03.2024\tA-200\tFirst Vendor\t70,00\t")) << out;
    JournalAll();
    SetText(P::SelText1, "3");
    out = RunText(ReportPurchInvoicesByVendor);
    EXPECT_TRUE(HasLine(out, "3\t15.02.2024\t\tFirst Vendor\t-100,00\t")) << out;
}

// ---- Report 15 ----

class TransJournalTest : public VendorHistoryFixture {
protected:
    void SetUp() override {
        VendorHistoryFixture::SetUp();
        if (!HasFatalFailure()) StoreSalesHistory();
    }
    static void Journal(uint16_t order) {
        ResetParams();
        SetWord(P::ReportNumber, 15);
        SetWord(P::Option11, order);
    }
};

// The journal by number, by date, with an order value other than 0 or 1
// (walked by number), within a period, over a voucher range, by a VAT
// code and by one nobody uses.
TEST_F(TransJournalTest, JournalByOrderAndSelection) {
    const struct {
        const char *golden;
        uint16_t order;
        const char *range, *vat;
        uint16_t codeFrom, codeTo;
        uint32_t numberFrom, numberTo;
        DateRec from, to;
    } runs[] = {
        {"report15_by_number", 0, "", "", 0, 0, 0, 0, {}, {}},
        {"report15_by_date", 1, "", "", 0, 0, 0, 0, {}, {}},
        {"report15_february", 0, "", "", 0, 0, 0, 0, {1, 2, 2024}, {29, 2, 2024}},
        {"report15_range_by_date", 1, "x", "", 201, 201, 2, 3, {}, {}},
        {"report15_range_by_number", 0, "x", "", 201, 201, 2, 3, {}, {}},
        {"report15_vat_code", 0, "", "2", 0, 0, 0, 0, {}, {}},
        {"report15_vat_nobody", 0, "", "9", 0, 0, 0, 0, {}, {}},
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.golden);
        Journal(r.order);
        SetText(P::SelText1, r.range);
        SetText(P::SelText2, r.vat);
        SetWord(P::Option1, r.codeFrom);
        SetWord(P::Option2, r.codeTo);
        PutU32(TestJob, P::NumberFrom, r.numberFrom);
        PutU32(TestJob, P::NumberTo, r.numberTo);
        SetPeriod(r.from, r.to);
        ExpectGolden(r.golden, RunText(TransJournalReport));
    }
    // Any order but 1 walks by number.
    Journal(0);
    const std::string byNumber = RunText(TransJournalReport);
    Journal(7);
    EXPECT_EQ(RunText(TransJournalReport), byNumber);
    // A VAT code nobody uses: no voucher, a count of 0 and a blank sum.
    Journal(0);
    SetText(P::SelText2, "9");
    const std::string none = RunText(TransJournalReport);
    EXPECT_NE(none.find("Sum\t\t\r\n"), std::string::npos) << none;
    EXPECT_NE(none.find("Account rows\t0\t\r\n"), std::string::npos) << none;
}

// Company variant 25 adds the summary per account after the one per VAT
// code; the sums of each equal the journal's debit and credit.
TEST_F(TransJournalTest, AccountSummaryOfVariant25) {
    std::vector<uint8_t> company(CompanyBlk::Size);
    ASSERT_TRUE(SettingsBlockRead(CompanyBlk::Number, company.data(), CompanyBlk::Size));
    PutU16(company.data(), CompanyBlk::CompanyVariant, 25);
    CompanyVariantBind(company.data());
    Journal(0);
    const std::string out = RunText(TransJournalReport);
    CompanyVariantBind(nullptr);
    EXPECT_NE(out.find(UiText(2407)), std::string::npos) << out;
    ExpectGolden("report15_variant25", out);
}

// ---- A company that bought nothing and has no vouchers ----

using EmptyPurchaseTest = VendorHistoryFixture;

// Report 31 over no vendors prints its heading and zero totals in every
// layout; report 26 over no invoices its heading and an empty totals
// table; report 15 over no vouchers a blank sum, a count of 0 and no
// summary.
TEST_F(EmptyPurchaseTest, ReportsOfEmptyRegisters) {
    for (uint16_t layout : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE(layout);
        ResetParams();
        SetWord(P::ReportNumber, 31);
        SetWord(P::ReportLayout, layout);
        const std::string out = RunText(VendorAgeingReport);
        EXPECT_EQ(out.find(UiText(4042)), 0u) << out;
        if (layout == 4) {
            EXPECT_TRUE(HasLine(out, "0,00\t0,00")) << out;
        } else if (layout != 2) {
            EXPECT_TRUE(HasLine(out, UiText(4048) + "\t0,00")) << out;
        }
    }
    ResetParams();
    SetWord(P::ReportNumber, 26);
    ExpectGolden("report26_empty_company", RunText(ReportPurchInvoicesByVendor));
    ResetParams();
    SetWord(P::ReportNumber, 15);
    const std::string out = RunText(TransJournalReport);
    EXPECT_EQ(out.find(UiText(3068)), 0u) << out;
    EXPECT_NE(out.find(UiText(3078) + "\t\t\r\n"), std::string::npos) << out;
    EXPECT_NE(out.find(UiText(3079) + "\t0\t\r\n"), std::string::npos) << out;
    EXPECT_EQ(out.find(UiText(3198)), std::string::npos) << out;
}

// The summaries: a code's positive amounts and the magnitudes of its
// negative ones, codes in the order met; an empty code adds nothing.
TEST(CodeSummary, SumsPerCodeInOrderMet) {
    CodeSummary s;
    PString a, b, none;
    PStringFromC(a, "25");
    PStringFromC(b, "12");
    none[0] = 0;
    PackedDecimal plus, minus, zero;
    DecFromDouble(&plus, 100);
    DecFromDouble(&minus, -30);
    DecFromDouble(&zero, 0);
    CodeSummaryAdd(s, a, &plus);
    CodeSummaryAdd(s, b, &minus);
    CodeSummaryAdd(s, a, &minus);
    CodeSummaryAdd(s, a, &zero);
    CodeSummaryAdd(s, none, &plus);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_TRUE(PStringEqual(s[0].code, a));
    EXPECT_EQ(DecToDouble(&s[0].plus), 100);
    EXPECT_EQ(DecToDouble(&s[0].minus), 30);
    EXPECT_TRUE(PStringEqual(s[1].code, b));
    EXPECT_TRUE(DecIsZero(&s[1].plus));
    EXPECT_EQ(DecToDouble(&s[1].minus), 30);
}

}  // namespace
