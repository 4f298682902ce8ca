// sales_journal_test.cpp - reports 1, 57 and 111 over the sales history,
// compared with their kept text-file output, and the walks' bounds and
// cancel.
#include <string>

#include "platform/queue.h"
#include "reports/sales/sales_reports.h"
#include "tests/output/output_recorder.h"
#include "tests/reports/report_fixture.h"

namespace {

namespace P = ReportParamsVc;

class SalesJournalTest : public ReportFixture {
protected:
    void SetUp() override {
        ReportFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreSalesHistory();
    }
    // Every invoice kind, posted and not.
    static void AllInvoices() {
        for (uint32_t f : {P::Option2, P::Option3, P::Option4, P::Option5, P::Option6, P::Option7}) SetWord(f, 1);
    }
};

// Report 1 in each layout by transaction date over the whole year, and
// over a number range; the range walk starts at its from-number and stops
// after its to-number, whatever the dates; kind and posted filters drop
// what they do not admit.
TEST_F(SalesJournalTest, Report1Layouts)
{
    const struct {
        const char *golden;
        uint16_t layout;
        const char *range;
        bool creditNotes;   // Option6
        bool unposted;      // Option2
    } cases[] = {
        {"report1_layout0", 0, "", true, true},
        {"report1_layout1", 1, "", true, true},
        {"report1_layout2", 2, "", true, true},
        {"report1_layout3", 3, "", true, false},   // marks invoice 5 only
        {"report1_range", 0, "2:4", true, true},
        {"report1_filtered", 0, "", false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.golden);
        ResetParams();
        AllInvoices();
        SetWord(P::Option6, c.creditNotes);
        SetWord(P::Option2, c.unposted);
        SetWord(P::ReportLayout, c.layout);
        SetText(P::SelText1, c.range);
        SetPeriod({1, 1, 2024}, {31, 12, 2024});
        ExpectGolden(c.golden, RunText(SalesJournalReport));
        EXPECT_EQ(RepStopped, 0);
    }
}

// Report 57 in both layouts with and without an item filter; an item
// group no item has leaves every row sum at zero; report 111 in both
// layouts, and with an order filter its deliveries' order does not meet.
TEST_F(SalesJournalTest, Report57And111)
{
    const struct {
        const char *golden;
        void (*body)();
        uint16_t layout;
        const char *item, *group, *objects;
    } cases[] = {
        {"report57_layout0", OverTestJob<InvoiceJournalReport>, 0, "", "", ""},
        {"report57_layout1_item", OverTestJob<InvoiceJournalReport>, 1, "ITEM1", "", ""},
        {"report57_no_group", OverTestJob<InvoiceJournalReport>, 0, "", "NOGRP", ""},
        {"report111_layout0", OverTestJob<ShipDateReport>, 0, "", "", ""},
        {"report111_layout1", OverTestJob<ShipDateReport>, 1, "", "", ""},
        {"report111_other_objects", OverTestJob<ShipDateReport>, 0, "", "", "P2"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.golden);
        ResetParams();
        AllInvoices();
        SetWord(P::ReportLayout, c.layout);
        SetText(P::SelText5, c.item);
        SetText(P::SelText6, c.group);
        SetText(P::ObjectSel, c.objects);
        SetPeriod({1, 1, 2024}, {31, 12, 2024});
        ExpectGolden(c.golden, RunText(c.body));
        EXPECT_EQ(RepStopped, 0);
    }
}

// Lines started in the cancel test's job; the second (the first record's)
// posts Esc, as a user pressing it while that record prints.
int LinesStarted = 0;

// The recorder with an Esc posted at the first record's line.
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

// Esc while the first record prints: that record is printed whole, then
// the output stops (the output layer prints nothing more once stopped)
// and the body still ends its job; no record after it is printed, and no
// total either: a list cut short never carries a total that looks whole.
TEST_F(SalesJournalTest, EscStopsAfterTheRecordAtHand)
{
    const struct {
        void (*body)();
        const char *first, *second;   // a text of the first and the second record
        int firstCount;               // how often the first's text prints: once, not again as a total
    } cases[] = {
        {OverTestJob<SalesJournalReport>, "250,00", "784,00", 1},
        {OverTestJob<InvoiceJournalReport>, "10.01.2024", "20.01.2024", 1},
        {OverTestJob<ShipDateReport>, "05.03.2024", "12.03.2024", 1},
    };
    const RepDevice *saved = RepDeviceInstall(OutPreview, &EscDevice);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.first);
        ResetParams();
        AllInvoices();
        SetWord(P::OutputKind, OutPreview);
        SetPeriod({1, 1, 2024}, {31, 12, 2024});
        RecLog.clear();
        LinesStarted = 0;
        c.body();
        ASSERT_FALSE(RecLog.empty());
        EXPECT_EQ(RecLog.back().name, "end");
        EXPECT_EQ(RepStopped, 1);
        int first = 0;
        bool second = false, total = false;
        const std::string totalText = UiText(2365);
        for (const RecCall &call : RecLog) {
            first += call.text == c.first;
            second |= call.text == c.second;
            total |= call.text == totalText;
        }
        EXPECT_EQ(first, c.firstCount);
        EXPECT_FALSE(second);
        EXPECT_FALSE(total);
    }
    RepDeviceInstall(OutPreview, saved);
}

}  // namespace
