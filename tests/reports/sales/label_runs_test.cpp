// label_runs_test.cpp - the document batch prints of single records and
// label sheets through a form printer that records what it is given:
// customer labels in sheets of 16 and 24 (full sheets and the partly
// filled last one), by group and by name, the sheet of an unknown layout,
// the copies of customer forms and delivery labels (unset, zero, rounded,
// capped), the purchase labels of rows by quantity, the single sheet
// set again by a number run after a label run, and Esc mid-sheet (not
// one left from before the run).
#include "tests/output/test_job_body.h"
#include "tests/output/test_job.h"
#include "tests/reports/report_fixture.h"

#include <string>
#include <vector>

#include "output/forms/forms.h"
#include "operations/run_outcome.h"
#include "reports/sales/label_runs.h"

namespace {

namespace P = ReportParamsVc;

// One form printed: its type, the sheet, the records it was handed (the
// codes of a customer array, else the record's first number) and, for a
// purchase label, the row.
struct Printed {
    int16_t doctype;
    int16_t columns, rows;
    int32_t count;
    std::vector<std::string> codes;
    int32_t number, row;
};
std::vector<Printed> Prints;
int CancelAfter = -1;

uint8_t Record(int16_t doctype, const uint8_t *record) {
    Printed p{doctype, LabelSheet.columns, LabelSheet.rows, FormItemCount, {}, 0, -1};
    if (doctype == -13 || doctype == -26) {
        for (int32_t i = 0; i < FormItemCount; i++) {
            PString code;
            ::GetText(record + size_t(i) * CUVc::Size, CUVc::Code, code);
            p.codes.push_back(PStringToStd(code));
        }
    } else if (doctype == -23) {
        const PurchaseLabelRec *label = reinterpret_cast<const PurchaseLabelRec *>(record);
        p.number = GetI32(label->purchase, PUVc::SerNr);
        p.row = label->row;
    } else {
        p.number = GetI32(record, 0);
    }
    Prints.push_back(p);
    if (CancelAfter >= 0 && int(Prints.size()) >= CancelAfter) CancelFlag = 1;
    return 1;
}

// The poll of a user who presses Esc as the run reaches its second record.
int PollCount = 0;
void EscAtSecondPoll() {
    if (++PollCount == 2) CancelFlag = 1;
}

class LabelRunsTest : public ReportFixture {
protected:
    void SetUp() override {
        ReportFixture::SetUp();
        if (HasFatalFailure()) return;
        Prints.clear();
        CancelAfter = -1;
        PollCount = 0;
        LabelFormPrint = Record;
        LabelSheet = LabelSheetRec{};
    }
    void TearDown() override {
        LabelFormPrint = PrintForm;
        LabelSheet = LabelSheetRec{};
        ReportFixture::TearDown();
    }
    // Customers L01..Lnn, every third of group "G3".
    void StoreCustomers(int n) {
        for (int i = 1; i <= n; i++) {
            char code[16], name[32];
            std::snprintf(code, sizeof code, "L%02d", i);
            std::snprintf(name, sizeof name, "Labelcust%02d", n + 1 - i);
            StoreRecord(CUVc::Number, [&](uint8_t *r) {
                PutText(r, CUVc::Code, 20, code);
                PutText(r, CUVc::Name, 60, name);
                PutText(r, CUVc::CustGroup, 5, i % 3 == 0 ? "G3" : "");
            });
        }
    }
    static void Select(const char *range, uint16_t layout, const char *group = "", uint16_t byName = 0) {
        ResetParams();
        SetText(P::SelText1, range);
        SetText(P::SelText3, group);
        SetWord(P::ReportLayout, layout);
        SetWord(P::Option2, byName);
    }
    static std::vector<int32_t> Counts() {
        std::vector<int32_t> out;
        for (const Printed &p : Prints) out.push_back(p.count);
        return out;
    }
};

// 33 customers two across give two full sheets of 16 and one of a single
// label; 17 give a full sheet and one label; three across 24 a sheet.
TEST_F(LabelRunsTest, CustomerLabelsInSheets) {
    StoreCustomers(33);
    Select("L01:L33", 0);
    OverTestJob<PrintCustomerForms13>();
    EXPECT_EQ(Counts(), (std::vector<int32_t>{16, 16, 1}));
    ASSERT_EQ(Prints.size(), 3u);
    EXPECT_EQ(Prints[0].columns, 2);
    EXPECT_EQ(Prints[0].rows, 8);
    EXPECT_EQ(Prints[0].codes.front(), "L01");
    EXPECT_EQ(Prints[1].codes.front(), "L17");
    EXPECT_EQ(Prints[2].codes, (std::vector<std::string>{"L33"}));
    Prints.clear();
    Select("L01:L17", 0);
    OverTestJob<PrintCustomerForms13>();
    EXPECT_EQ(Counts(), (std::vector<int32_t>{16, 1}));
    Prints.clear();
    Select("L01:L30", 1);
    OverTestJob<PrintCustomerForms13>();
    EXPECT_EQ(Counts(), (std::vector<int32_t>{24, 6}));
    EXPECT_EQ(Prints[0].columns, 3);
    EXPECT_EQ(LabelSheet.cellWidth, 195);
    // A layout without a sheet of its own prints two across; the layout
    // word is given back as chosen.
    Prints.clear();
    Select("L01:L03", 2);
    OverTestJob<PrintCustomerForms13>();
    ASSERT_EQ(Counts(), (std::vector<int32_t>{3}));
    EXPECT_EQ(Prints[0].columns, 2);
    EXPECT_EQ(GetU16(TestJob, P::ReportLayout), 2);
}

// By group the walk keeps to the group; by name it runs in name order
// and stops after the upper name; a range of nobody prints nothing.
TEST_F(LabelRunsTest, CustomerLabelsByGroupAndName) {
    StoreCustomers(12);
    Select("", 0, "G3");
    OverTestJob<PrintCustomerForms13>();
    ASSERT_EQ(Prints.size(), 1u);
    EXPECT_EQ(Prints[0].codes, (std::vector<std::string>{"L03", "L06", "L09", "L12"}));
    Prints.clear();
    Select("Labelcust10:Labelcust12", 0, "", 1);
    OverTestJob<PrintCustomerForms13>();
    ASSERT_EQ(Prints.size(), 1u);
    EXPECT_EQ(Prints[0].codes, (std::vector<std::string>{"L03", "L02", "L01"}));
    Prints.clear();
    Select("X1:X9", 0);
    OverTestJob<PrintCustomerForms13>();
    EXPECT_TRUE(Prints.empty());
}

// Esc after the first label still prints the partly filled sheet.
// Esc pressed while the run is at its second customer: the first is on
// the part sheet, which still prints. An Esc left from before the run
// does not stop it.
TEST_F(LabelRunsTest, EscPrintsThePartSheet) {
    StoreCustomers(20);
    CancelFlag = 1;
    const RunOutcomeUiRec saved = RunOutcomeUi;
    RunOutcomeUi = RunOutcomeUiRec{};
    RunOutcomeUi.poll = EscAtSecondPoll;
    Select("L01:L20", 0);
    OverTestJob<PrintCustomerForms13>();
    RunOutcomeUi = saved;
    CancelFlag = 0;
    ASSERT_EQ(Counts(), (std::vector<int32_t>{1}));
    EXPECT_EQ(Prints[0].codes.front(), "L01");
}

// Customer forms: the count as given; zero prints nothing; the unset
// count (all ones) prints one; a huge count is capped.
TEST_F(LabelRunsTest, CustomerFormCopies) {
    EXPECT_EQ(CustomerFormCopies(0), 0);
    EXPECT_EQ(CustomerFormCopies(3), 3);
    EXPECT_EQ(CustomerFormCopies(0xFFFFFFFFu), 1);
    EXPECT_EQ(CustomerFormCopies(0xFFFFFFFEu), LabelCopyCap);
    Select("C1:C2", 0);
    PutU32(TestJob, P::NumberFrom, 2);
    OverTestJob<PrintCustomerForms26>();
    EXPECT_EQ(Prints.size(), 4u);
    Prints.clear();
    PutU32(TestJob, P::NumberFrom, 0);
    OverTestJob<PrintCustomerForms26>();
    EXPECT_TRUE(Prints.empty());
    PutU32(TestJob, P::NumberFrom, 0xFFFFFFFFu);
    OverTestJob<PrintCustomerForms26>();
    ASSERT_EQ(Prints.size(), 2u);
    EXPECT_EQ(Prints[0].columns, 1);
}

// Delivery labels: at least one; 2.4 two, 2.5 three; capped. Each form
// gets the delivery alone on the single sheet, even after a label run
// left a sheet of 16.
TEST_F(LabelRunsTest, DeliveryLabelCopies) {
    EXPECT_EQ(LabelCopies(0, true), 1);
    EXPECT_EQ(LabelCopies(-5, true), 1);
    EXPECT_EQ(LabelCopies(2.4, true), 2);
    EXPECT_EQ(LabelCopies(2.5, true), 3);
    EXPECT_EQ(LabelCopies(0.4, false), 0);
    EXPECT_EQ(LabelCopies(1e12, true), LabelCopyCap);
    StoreSalesHistory();
    ASSERT_FALSE(HasFatalFailure());
    for (auto [serial, qty] : {std::pair{1, 2.5}, {2, 0.0}}) {
        RuleRecord d(SHVc::Number);
        PutI32(d.record, SHVc::SerNr, serial);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFind(SHVc::Number, d.record, 1, 1, &recid, &position));
        PutDec(d.record, SHVc::LabelQty, Dec(qty));
        ASSERT_TRUE(RecStore(SHVc::Number, d.record, 1, &recid));
    }
    StoreCustomers(3);
    Select("L01:L03", 0);
    OverTestJob<PrintCustomerForms13>();
    Prints.clear();
    Select("1:2", 0);
    OverTestJob<PrintDeliveryLabels>();
    ASSERT_EQ(Prints.size(), 4u);
    for (const Printed &p : Prints) {
        EXPECT_EQ(p.columns, 1);
        EXPECT_EQ(p.count, 1);
    }
    EXPECT_EQ(Prints[2].number, 1);
    EXPECT_EQ(Prints[3].number, 2);
    Prints.clear();
    Select("", 0);
    OverTestJob<PrintDeliveryLabels>();
    EXPECT_TRUE(Prints.empty());
}

// Purchase labels: per row with an item, its quantity rounded; a row of
// 0.4 prints none; a text row none. Purchase forms: one per purchase of
// the range, on the single sheet.
TEST_F(LabelRunsTest, PurchaseLabelsByRow) {
    StoreRecord(PUVc::Number, [&](uint8_t *r) {
        PutI32(r, PUVc::SerNr, 7);
        for (auto [item, qty] : {std::pair{"ITEM1", 2.0}, {"ITEM2", 0.4}, {"", 5.0}, {"ITEM2", 1.5}}) {
            uint8_t row[PUVc::Rows::Size] = {};
            PutText(row, PUVc::Rows::ItemCode, 20, item);
            PutDec(row, PUVc::Rows::Quantity, Dec(qty));
            ASSERT_TRUE(MatrixRowPut(PUVc::Number, 0, r, MatrixRowCount(PUVc::Number, 0, r), row));
        }
    });
    StoreRecord(PUVc::Number, [&](uint8_t *r) { PutI32(r, PUVc::SerNr, 9); });
    Select("7", 0);
    OverTestJob<PrintPurchaseLabels>();
    std::vector<int32_t> rows;
    for (const Printed &p : Prints) rows.push_back(p.row);
    EXPECT_EQ(rows, (std::vector<int32_t>{0, 0, 3, 3}));
    Prints.clear();
    LabelSheet = {3, 8, 195, 103};
    Select("1:9", 0);
    OverTestJob<PrintPurchaseForms>();
    ASSERT_EQ(Prints.size(), 2u);
    EXPECT_EQ(Prints[1].number, 9);
    EXPECT_EQ(Prints[0].columns, 1);
    EXPECT_EQ(Prints[0].count, 1);
}

}  // namespace
