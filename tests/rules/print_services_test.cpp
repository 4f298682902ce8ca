// print_services_test.cpp - the approve kinds and choice lists that print
// through the business layer's print table: with nothing installed the
// user is told, nothing is marked printed and the print counts as failed;
// installed, only what printed is marked.
#include <string>
#include <vector>

#include "core/ui_text.h"
#include "rules/approval.h"
#include "rules/choice_list_fill.h"
#include "rules/print_services.h"
#include "tests/rules/rules_fixture.h"

namespace {

struct FormCall {
    int16_t doctype;
    int16_t printedWhilePrinting;   // the invoice's printed flag as the form saw it
};
std::vector<FormCall> Forms;
int FormAnswer = 1;
std::vector<std::string> Lines;

int FakeForm(int, int16_t doctype, uint8_t *record) {
    Forms.push_back({doctype, GetI16(record, IVVc::Printed)});
    if (FormAnswer != 1) FormPrintsFailed++;
    return FormAnswer;
}

bool FakeLine(MsgBuffer *, const uint8_t *text) {
    Lines.emplace_back(reinterpret_cast<const char *>(text + 1), text[0]);
    return true;
}

class PrintServicesTest : public RulesFixture {
protected:
    void SetUp() override {
        RulesFixture::SetUp();
        PrintServices = PrintServicesRec{};
        Forms.clear();
        Lines.clear();
        FormAnswer = 1;
    }
    void TearDown() override {
        PrintServices = PrintServicesRec{};
        RulesFixture::TearDown();
    }
    static bool ToldNotAvailable() {
        char text[256];
        GetUiTextC(text, Texts::FunctionNotYet);
        for (const std::string &s : shown)
            if (s == text) return true;
        return false;
    }
    uint32_t StoreInvoice(int32_t serial, int16_t printed) {
        return StoreRecord(IVVc::Number, [&](uint8_t *r) {
            PutI32(r, IVVc::SerNr, serial);
            PutI16(r, IVVc::Printed, printed);
        });
    }
    uint32_t StorePayment(int32_t serial) {
        return StoreRecord(OPVc::Number, [&](uint8_t *r) { PutI32(r, OPVc::SerNr, serial); });
    }
    static int16_t Stored(int reg, uint32_t recid, uint32_t at) {
        RuleRecord r(reg);
        if (!RecReadById(reg, recid, r.record)) return -1;
        return GetI16(r.record, at);
    }
};

TEST_F(PrintServicesTest, WithoutPrintingNothingIsMarkedPrintedAndTheUserIsTold) {
    const uint32_t fresh = StoreInvoice(1, 0), printed = StoreInvoice(2, 1), payment = StorePayment(7);
    const uint32_t failedBefore = FormPrintsFailed;

    EXPECT_TRUE(ApproveRecord(11, IVVc::Number, fresh));
    EXPECT_TRUE(ToldNotAvailable());
    EXPECT_EQ(Stored(IVVc::Number, fresh, IVVc::Printed), 0);
    EXPECT_EQ(FormPrintsFailed, failedBefore + 1) << "a run must count it as not printed";

    // Printing again keeps the stored flag: the clearing for the print
    // is not stored when nothing printed.
    EXPECT_TRUE(ApproveRecord(17, IVVc::Number, printed));
    EXPECT_EQ(Stored(IVVc::Number, printed, IVVc::Printed), 1);
    EXPECT_EQ(FormPrintsFailed, failedBefore + 2);

    // The payment is approved, its documents are not, so it stays to be printed.
    shown.clear();
    EXPECT_TRUE(ApproveRecord(27, OPVc::Number, payment));
    EXPECT_TRUE(ToldNotAvailable());
    EXPECT_EQ(Stored(OPVc::Number, payment, OPVc::Approved), 1);
    EXPECT_EQ(Stored(OPVc::Number, payment, OPVc::Printed), 0);

    // A report of the record: told, the record as it was.
    shown.clear();
    EXPECT_TRUE(ApproveRecord(45, IVVc::Number, fresh));
    EXPECT_TRUE(ToldNotAvailable());
    EXPECT_EQ(Stored(IVVc::Number, fresh, IVVc::Printed), 0);
    EXPECT_TRUE(Forms.empty());
}

TEST_F(PrintServicesTest, InstalledFormsMarkOnlyWhatPrinted) {
    PrintServices.form = FakeForm;
    PrintServices.paymentDocuments = [](const uint8_t *) -> uint8_t { return FormAnswer == 1 ? 1 : 0; };
    const uint32_t first = StoreInvoice(1, 0), second = StoreInvoice(2, 0), again = StoreInvoice(3, 1);
    const uint32_t paid = StorePayment(7), unpaid = StorePayment(8);

    EXPECT_TRUE(ApproveRecord(11, IVVc::Number, first));
    EXPECT_EQ(Stored(IVVc::Number, first, IVVc::Printed), 1);
    EXPECT_TRUE(ApproveRecord(27, OPVc::Number, paid));
    EXPECT_EQ(Stored(OPVc::Number, paid, OPVc::Printed), 1);

    FormAnswer = 0;   // the print is cancelled or fails
    const uint32_t failedBefore = FormPrintsFailed;
    EXPECT_TRUE(ApproveRecord(11, IVVc::Number, second));
    EXPECT_EQ(Stored(IVVc::Number, second, IVVc::Printed), 0);
    EXPECT_TRUE(ApproveRecord(17, IVVc::Number, again));
    EXPECT_EQ(Stored(IVVc::Number, again, IVVc::Printed), 1);
    EXPECT_EQ(FormPrintsFailed, failedBefore + 2);
    EXPECT_TRUE(ApproveRecord(27, OPVc::Number, unpaid));
    EXPECT_EQ(Stored(OPVc::Number, unpaid, OPVc::Approved), 1);
    EXPECT_EQ(Stored(OPVc::Number, unpaid, OPVc::Printed), 0);

    ASSERT_EQ(Forms.size(), 3u);
    for (const FormCall &f : Forms) EXPECT_EQ(f.doctype, -2);
    EXPECT_EQ(Forms[2].printedWhilePrinting, 0) << "printed again as an original, without the copy mark";
    EXPECT_FALSE(ToldNotAvailable());
}

TEST_F(PrintServicesTest, ChoiceListsNeedALineWriter) {
    AddRow(CurrencyBlk::Number, CurrencyBlk::Rows::Size, [](uint8_t *r) {
        PutText(r, 0, 5, "EUR");
        PutText(r, CurrencyBlk::Rows::Name, 60, "Euro");
    });
    FillChoiceList(nullptr, 4, 0);
    EXPECT_TRUE(ToldNotAvailable());
    EXPECT_TRUE(Lines.empty());

    shown.clear();
    PrintServices.listLine = FakeLine;
    FillChoiceList(nullptr, 4, 0);
    EXPECT_EQ(Lines, std::vector<std::string>{"EUR    Euro"});
    EXPECT_FALSE(ToldNotAvailable());
}

}  // namespace

// The VAT codes' list shows each code's rate between the code and its
// name (a code without a rate shows none), and the chosen line gives back
// the code alone: its first two characters with the blanks cut.
TEST_F(PrintServicesTest, VatCodeListShowsTheRateBesideTheCode) {
    PrintServices.listLine = FakeLine;
    AddRow(VatCodeBlk::Number, VatCodeBlk::Rows::Size, [](uint8_t *r) {
        PutText(r, VatCodeBlk::Rows::Code, 2, "1");
        PutText(r, VatCodeBlk::Rows::Name, 30, "Sales VAT");
        PackedDecimal rate;
        DecFromLong(&rate, 25);
        PutDec(r, VatCodeBlk::Rows::Rate, rate);
    });
    AddRow(VatCodeBlk::Number, VatCodeBlk::Rows::Size, [](uint8_t *r) {
        PutText(r, VatCodeBlk::Rows::Code, 2, "10");
        PutText(r, VatCodeBlk::Rows::Name, 30, "Exempt");
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutDec(r, VatCodeBlk::Rows::Rate, blank);
    });
    FillChoiceList(nullptr, 14, 0);
    ASSERT_EQ(Lines.size(), 2u);
    EXPECT_EQ(Lines[0], "1  25,00 %   Sales VAT");
    EXPECT_EQ(Lines[1], "10    Exempt");
}
