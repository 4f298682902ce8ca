// document_codes_test.cpp - each document's provider answers every field
// code a form of that document may carry (none prints the field's own
// text, as a code nothing serves does), and leaves the codes it does not
// serve to the field's text. Every served code also has its name in
// choice list 101, so that a form's data field can carry it by name.
#include "tests/output/document_values_fixture.h"

#include <set>
#include <vector>

#include "core/pstring.h"
#include "core/choice_lists.h"

namespace {

struct CodeSpan {
    int16_t first, last;
};

std::set<int16_t> Codes(std::initializer_list<CodeSpan> spans) {
    std::set<int16_t> out;
    for (CodeSpan s : spans)
        for (int16_t c = s.first; c <= s.last; c++) out.insert(c);
    return out;
}

class DocumentCodes : public DocumentValues {
protected:
    // Every served code gives something other than the field's text on
    // the last page's first row; the codes not served (outside the
    // shared ones) keep it.
    void ExpectServed(int16_t type, const uint8_t *record, const std::set<int16_t> &served) {
        ASSERT_NO_FATAL_FAILURE(Load(type, record));
        FormLastPage = true;
        const std::set<int16_t> shared = Codes({{54, 65}, {67, 67}, {335, 335}});
        for (int16_t code = 1; code <= 372; code++) {
            if (shared.count(code)) continue;
            const std::string v = Value(code, served.count(code) && (code == 2 || code == 3) ? 1 : 0);
            if (served.count(code)) EXPECT_NE(v, " A own") << "document " << type << " code " << code;
            else EXPECT_EQ(v, " A own") << "document " << type << " code " << code;
        }
        Unload();
        for (int16_t code : served) ExpectNamed(code);
    }
    // Code has a non-empty name in list 101, and the name leads back to
    // the code (no other code of the list takes it first).
    static void ExpectNamed(int16_t code) {
        uint8_t name[256];
        int index = -1;
        ASSERT_TRUE(ChoiceTextOf(FormFieldNamesList, (uint16_t)code, &index, name)) << "code " << code;
        EXPECT_GT(name[0], 0) << "code " << code;
        uint16_t back = 0;
        ASSERT_TRUE(ChoiceValueOf(FormFieldNamesList, name, &back, &index)) << "code " << code;
        EXPECT_EQ(back, (uint16_t)code) << "the name of code " << code << " leads to code " << back;
        // The form designer labels the field by the same text.
        uint8_t label[256];
        ASSERT_TRUE(ChoiceTextOf(FormFieldLabelsList, (uint16_t)code, &index, label)) << "no label for code " << code;
        EXPECT_EQ(PStringToStd(label), PStringToStd(name)) << "code " << code;
    }
    static constexpr int FormFieldLabelsList = 102;
    static constexpr int FormFieldNamesList = 101;
    // Every code the document's provider answers (anything but the
    // field's own text, on the last page) has its name in list 101.
    void ExpectEveryServedCodeNamed(int16_t type, const uint8_t *record, size_t atLeast) {
        ASSERT_NO_FATAL_FAILURE(Load(type, record));
        FormLastPage = true;
        const std::set<int16_t> shared = Codes({{54, 65}, {67, 67}, {335, 335}});
        std::set<int16_t> served;
        for (int16_t code = 1; code <= 372; code++)
            if (!shared.count(code) && Value(code, code == 2 || code == 3 ? 1 : 0) != " A own") served.insert(code);
        Unload();
        EXPECT_GE(served.size(), atLeast) << "document " << type;
        for (int16_t code : served) ExpectNamed(code);
    }
};

TEST_F(DocumentCodes, OrderQuotationAndPurchaseOrder) {
    RuleRecord o(ORVc::Number);
    uint8_t row[ORVc::Rows::Size] = {};
    PutText(row, ORVc::Rows::ItemCode, 20, "ITEM1");
    ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, o.record, 0, row));
    const std::set<int16_t> order = Codes({{2, 3}, {8, 11}, {13, 20}, {28, 30}, {37, 39}, {43, 43}, {47, 48},
                                           {51, 51}, {53, 53}, {73, 74}, {77, 90}, {92, 97}, {107, 107},
                                           {109, 110}, {136, 148}, {152, 177}, {347, 348}});
    ExpectServed(-6, o.record, order);
    ExpectServed(-15, o.record, order);

    RuleRecord q(QuotationVc::Number);
    uint8_t qrow[QuotationVc::Rows::Size] = {};
    ASSERT_TRUE(MatrixRowPut(QuotationVc::Number, 0, q.record, 0, qrow));
    ExpectServed(-14, q.record,
                 Codes({{2, 3}, {8, 11}, {13, 20}, {29, 30}, {37, 39}, {68, 97}, {347, 348}}));

    RuleRecord p(PurchOrderVc::Number);
    uint8_t prow[PurchOrderVc::Rows::Size] = {};
    ASSERT_TRUE(MatrixRowPut(PurchOrderVc::Number, 0, p.record, 0, prow));
    ExpectServed(-19, p.record,
                 Codes({{2, 3}, {8, 11}, {13, 16}, {18, 20}, {73, 74}, {77, 77}, {81, 86}, {88, 90}, {95, 95},
                        {149, 151}, {167, 167}, {178, 182}}));
}

TEST_F(DocumentCodes, InvoiceAndStatementCodesAreNamed) {
    RuleRecord inv(IVVc::Number);
    uint8_t row[IVVc::Rows::Size] = {};
    PutU16(row, IVVc::Rows::Kind, 1);
    PutText(row, IVVc::Rows::ItemCode, 20, "ITEM1");
    ASSERT_TRUE(MatrixRowPut(IVVc::Number, 0, inv.record, 0, row));
    for (int16_t type : {-2, -16, -17, -18}) ExpectEveryServedCodeNamed(type, inv.record, 120);
    std::vector<uint8_t> statement(StatementRec::Size, 0);
    for (int16_t type : {-11, -8}) ExpectEveryServedCodeNamed(type, statement.data(), 40);
}

// The stock and purchase documents, their labels, the item label, the
// payment reminder and the payment document: a form of each may carry
// every code it serves by name. Each record has one row, so the row
// codes are served too.
TEST_F(DocumentCodes, StockPurchaseReminderAndPaymentCodesAreNamed) {
    RuleRecord move(StockMoveVc::Number);
    uint8_t mrow[StockMoveVc::Rows::Size] = {};
    PutText(mrow, StockMoveVc::Rows::ItemCode, 20, "ITEM1");
    ASSERT_TRUE(MatrixRowPut(StockMoveVc::Number, 0, move.record, 0, mrow));
    ExpectEveryServedCodeNamed(-20, move.record, 30);

    RuleRecord purchase(PUVc::Number);
    uint8_t prow[PUVc::Rows::Size] = {};
    PutText(prow, PUVc::Rows::ItemCode, 20, "ITEM1");
    ASSERT_TRUE(MatrixRowPut(PUVc::Number, 0, purchase.record, 0, prow));
    ExpectEveryServedCodeNamed(-22, purchase.record, 30);
    PurchaseLabelRec label{purchase.record, 0};
    ExpectEveryServedCodeNamed(-23, (const uint8_t *)&label, 23);

    std::vector<uint8_t> item(INVc::Size, 0);
    PutText(item.data(), INVc::Code, 20, "ITEM1");
    ExpectEveryServedCodeNamed(-21, item.data(), 12);
    std::vector<uint8_t> open(ARVc::Size, 0);
    ExpectEveryServedCodeNamed(-4, open.data(), 22);
    std::vector<uint8_t> payment(PaymentDocRec::Size, 0);
    ExpectEveryServedCodeNamed(-10, payment.data(), 25);
}

TEST_F(DocumentCodes, DeliveryAndTheRegisterDocuments) {
    RuleRecord d(SHVc::Number);
    uint8_t row[SHVc::Rows::Size] = {};
    PutText(row, SHVc::Rows::ItemCode, 20, "ITEM1");
    ASSERT_TRUE(MatrixRowPut(SHVc::Number, 0, d.record, 0, row));
    const std::set<int16_t> delivery =
        Codes({{2, 2}, {8, 11}, {14, 16}, {20, 20}, {28, 30}, {38, 53}, {69, 69}, {77, 87}, {89, 90}, {93, 94},
               {96, 127}, {132, 134}, {141, 141}, {336, 336}, {344, 346}});
    for (int16_t type : {-27, -12, -7, -3}) ExpectServed(type, d.record, delivery);

    RuleRecord t(TimeSheetVc::Number);
    ExpectServed(-29, t.record, Codes({{8, 8}, {13, 13}, {69, 69}, {72, 73}, {265, 265}, {270, 270}, {285, 285},
                                       {350, 350}}));
    RuleRecord p(ProductionVc::Number);
    ExpectServed(-28, p.record, Codes({{8, 9}, {48, 48}, {160, 160}, {185, 185}, {204, 204}, {265, 265},
                                       {274, 274}, {337, 343}}));
    RuleRecord j(ProjectVc::Number);
    ExpectServed(-24, j.record, Codes({{2, 2}, {135, 135}, {260, 270}}));
    std::vector<uint8_t> assets(AssetVc::Size, 0);
    ExpectServed(-25, assets.data(), Codes({{69, 69}, {80, 80}, {271, 279}}));
    std::vector<uint8_t> customer(CUVc::Size, 0);
    ExpectServed(-26, customer.data(), Codes({{13, 13}, {79, 80}, {115, 115}, {128, 135}}));
    ExpectServed(-13, customer.data(), Codes({{79, 80}, {128, 135}}));
}

}  // namespace
