// asset_reports_test.cpp - the asset reports 99, 105, 106, 108 and 109
// over the asset company, compared with their kept text-file output; the
// report run reaching them by number; a cancelled walk.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/queue.h"
#include "reports/assets/asset_reports.h"
#include "tests/output/output_recorder.h"
#include "tests/output/test_job.h"
#include "tests/reports/assets/asset_fixture.h"

namespace {

namespace P = ReportParamsVc;

class AssetReportsTest : public AssetFixture {
protected:
    void SetUp() override {
        AssetFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreAssetCompany();
        // Card fields for reports 105, 106 and 108.
        ChangeAsset("A1", [](uint8_t *r) {
            PutText(r, AssetVc::VendCode, 20, "Lathe");
            PutText(r, AssetVc::Department, 5, "D1");
            PutDate(r, AssetVc::InspectDate, DateRec{1, 2, 2024});
            PutDec(r, AssetVc::Value320, Dec(11000));
            PutDec(r, AssetVc::Value302, Dec(9000));
        });
        ChangeAsset("A2", [](uint8_t *r) {
            PutDate(r, AssetVc::InspectDate, DateRec{1, 6, 2024});
            PutDec(r, AssetVc::Value320, Dec(8000));
            PutDec(r, AssetVc::Value302, Dec(7000));
        });
    }
    template <typename Change> void ChangeAsset(const char *code, Change change) {
        RuleRecord r(AssetVc::Number);
        PutText(r.record, AssetVc::Code, 10, code);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFind(AssetVc::Number, r.record, 1, 1, &recid, &position)) << code;
        change(r.record);
        ASSERT_TRUE(RecStore(AssetVc::Number, r.record, 1, &recid)) << code;
        RecFreeMatrix(AssetVc::Number, r.record);
    }
    void Year() {
        ResetParams();
        SetPeriod(InvoiceCo::YearStart, InvoiceCo::YearEnd);
    }
};

// Each report over the whole company, and report 99 in the second book,
// over a code range and for one group.
TEST_F(AssetReportsTest, Goldens) {
    struct Case {
        const char *golden;
        ReportBody body;
        uint16_t secondBook;
        const char *range, *group;
        DateRec date;
    } cases[] = {
        {"asset99", AssetDepreciationReport, 0, "", "", {}},
        {"asset99_book2", AssetDepreciationReport, 1, "", "", {}},
        {"asset99_range", AssetDepreciationReport, 0, "A2:A3", "", {}},
        {"asset99_group", AssetDepreciationReport, 0, "", "cars", {}},
        {"asset105", AssetDateReport, 0, "", "", {}},
        {"asset105_date", AssetDateReport, 0, "", "", {1, 3, 2024}},
        {"asset106", AssetValueReport, 0, "", "", {}},
        {"asset108", AssetRowsReport, 0, "", "", {}},
        {"asset109", DepreciationVoucherReport, 0, "", "", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.golden);
        Year();
        SetWord(P::Option2, c.secondBook);
        SetText(P::SelText1, c.range);
        SetText(P::SelText3, c.group);
        PutDate(TestJob, P::Date2From, c.date);
        ExpectGolden(c.golden, RunText(c.body));
    }
    // Printing the voucher stores nothing.
    EXPECT_EQ(RegRecordCount(SMVc::Number), 0u);
}

// Two jobs over their own records, run one after the other while the
// test's job record holds another period: each prints what it prints as
// the test's job record, and the test's job record is left as it was.
TEST_F(AssetReportsTest, JobsPrintFromTheirOwnRecords) {
    for (int n : {99, 106, 108, 109}) {
        SCOPED_TRACE(n);
        Year();
        SetWord(P::ReportNumber, uint16_t(n));
        SetWord(P::OutputKind, OutTextFile);
        std::vector<uint8_t> whole(TestJob, TestJob + ReportParamsSize);
        std::vector<uint8_t> part = whole;
        PutText(part.data(), P::SelText1, 255, "A2:A3");
        PutDate(part.data(), P::DateFrom, DateRec{1, 1, 2024});
        PutDate(part.data(), P::DateTo, DateRec{30, 6, 2024});
        std::vector<uint8_t> other = whole;
        PutText(other.data(), P::SelText1, 255, "A1");
        PutU16(other.data(), P::Option2, 1);

        std::memcpy(TestJob, whole.data(), ReportParamsSize);
        const std::string wholeText = RunRowText(n, TestJob);
        std::memcpy(TestJob, part.data(), ReportParamsSize);
        const std::string partText = RunRowText(n, TestJob);
        ASSERT_NE(wholeText, partText) << "the two jobs print alike: the case proves nothing";

        std::memcpy(TestJob, other.data(), ReportParamsSize);
        EXPECT_EQ(RunRowText(n, whole.data()), wholeText);
        EXPECT_EQ(RunRowText(n, part.data()), partText);
        EXPECT_EQ(std::vector<uint8_t>(TestJob, TestJob + ReportParamsSize), other);
    }
    EXPECT_EQ(RegRecordCount(SMVc::Number), 0u);   // the printed voucher stores nothing
}

// Report 109 prints the rows the run stores.
TEST_F(AssetReportsTest, VoucherReportPrintsStoredRows) {
    Year();
    const std::string printed = RunText(DepreciationVoucherReport);
    for (const char *s : {"7830", "1229", "K1", "P1", "3600,00", "1600,00", "5200,00"})
        EXPECT_NE(printed.find(s), std::string::npos) << s << "\n" << printed;
    Year();
    ASSERT_TRUE(DepreciationVoucherRows(TestJob, 1));
    EXPECT_EQ(RegRecordCount(SMVc::Number), 1u);
}

// The report run reaches each asset report by its number.
TEST_F(AssetReportsTest, ReachedByNumber) {
    for (int n : {99, 105, 106, 108, 109}) {
        const ReportRowRec *row = ReportRow(n);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->kind, ReportRowKind::Body) << n;
        EXPECT_NE(row->body, nullptr) << n;
    }
    EXPECT_EQ(ReportRow(99)->body, AssetDepreciationReport);
    EXPECT_EQ(ReportRow(109)->body, DepreciationVoucherReport);
}

// Lines started in the cancel test's job; the second (the first asset's)
// posts Esc, as a user pressing it while that asset prints.
int LinesStarted = 0;

const RepDevice EscDevice = [] {
    RepDevice d = RecorderDevice;
    d.lineStart = [] {
        RecorderDevice.lineStart();
        if (++LinesStarted == 2) {
            EXPECT_TRUE(MsgPost(0, PlMsg::KeyDown, PlKey::Escape, 0));
        }
    };
    return d;
}();

// Esc while the first asset prints: that asset is printed whole, then the
// walk ends; no later asset and no total that would look whole.
TEST_F(AssetReportsTest, EscEndsAfterTheAssetAtHand) {
    const RepDevice *saved = RepDeviceInstall(OutPreview, &EscDevice);
    for (ReportBody body : {AssetValueReport, AssetDepreciationReport}) {
        Year();
        SetWord(P::OutputKind, OutPreview);
        RecLog.clear();
        LinesStarted = 0;
        ReportJob job{TestJob};
        body(job);
        ASSERT_FALSE(RecLog.empty());
        EXPECT_EQ(RecLog.back().name, "end");
        bool first = false, second = false;
        for (const RecCall &call : RecLog) {
            first |= call.text == "A1";
            second |= call.text == "A2";
        }
        EXPECT_TRUE(first);
        EXPECT_FALSE(second);
    }
    RepDeviceInstall(OutPreview, saved);
    CancelFlag = 0;
}

}  // namespace
