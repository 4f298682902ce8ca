// document_details.cpp - one document printed in full for layout 1 of
// the document lists: a sales order (report 58) with its item rows at
// home-currency prices, a quotation (59) with its address block and
// totals, a goods receipt (53) with its rows and value.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/line_values.h"
#include "reports/sales/sales_lists.h"
#include "rules/invoice_kind.h"
#include "rules/vat_currency.h"

namespace {

constexpr int LineHeight = 15;

bool FieldEmpty(const uint8_t *record, uint32_t offset, int m)
{
    PString text;
    GetPString(record, offset, m, text);
    return text[0] == 0;
}

// A line of one text field at x (right-aligned with align), only when the
// field is not empty.
void LineIfFilled(int x, const uint8_t *record, uint32_t offset, int m, int align)
{
    if (FieldEmpty(record, offset, m)) return;
    RepStartLine(LineHeight);
    RepTextField(x, record, offset, m, 0, align);
    RepEndLine();
}

// The head line shared by orders and quotations: number, date, terms.
void HeadLine(const uint8_t *doc, uint32_t number, uint32_t date, uint32_t terms)
{
    RepStartLine(LineHeight);
    RepValue(0, 0, doc + number, FtLongOrEmpty, 0);
    RepValue(130, 0, doc + date, FtDate, 0);
    RepTextField(220, doc, terms, 2);
    RepEndLine();
}

}  // namespace

void OrderDetail(const uint8_t *order, PackedDecimal *prices, PackedDecimal *sums)
{
    assert(order && prices && sums);
    HeadLine(order, ORVc::SerNr, ORVc::OrdDate, ORVc::PayTerms);
    RepStartLine(LineHeight);
    RepTextField(50, order, ORVc::CustCode);
    RepTextField(200, order, ORVc::Addr0);
    RepEndLine();
    const PackedDecimal rate = GetDec(order, ORVc::Rate);
    uint8_t row[ORVc::Rows::Size];
    const int32_t rows = MatrixRowCount(ORVc::Number, 0, order);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowGet(ORVc::Number, 0, order, i, row) ||
            DocRowKind(GetU16(row, ORVc::Rows::Kind)) != DocRowKind::Item) continue;
        const PackedDecimal price = GetDec(row, ORVc::Rows::Price), sum = GetDec(row, ORVc::Rows::Sum);
        PackedDecimal converted;
        AmountTimesRate(&price, &rate, &converted);
        DecAdd(prices, &converted, prices);
        DecAdd(sums, &sum, sums);
        RepStartLine(LineHeight);
        RepTextField(20, row, ORVc::Rows::ItemCode);
        RepValue(124, 0, row + ORVc::Rows::Quantity, FtAmount3, 1);
        RepTextField(130, row, ORVc::Rows::Text);
        RepValue(380, 0, converted.b, FtAmount2, 1);
        RepValue(480, 0, sum.b, FtAmount2, 1);
        RepEndLine();
    }
    RepStartLine(LineHeight);
    RepRule(300, 480, 2);
    RepEndLine();
    RepStartLine(LineHeight);
    RepTextField(100, order, ORVc::Objects);
    RepValue(380, 0, prices->b, FtAmount2, 1);
    RepValue(480, 0, sums->b, FtAmount2, 1);
    RepEndLine();
}

void QuotationDetail(const uint8_t *quote)
{
    assert(quote);
    namespace Q = QuotationVc;
    HeadLine(quote, Q::SerNr, Q::QTDate, Q::PayTerms);
    const struct {
        uint32_t left, right;
        int leftMax, rightMax;
    } pairs[3] = {{Q::CustCode, Q::CustName, 20, 60}, {Q::DiscCode, Q::Addr1, 5, 60}, {Q::Text284, Q::Addr2, 20, 60}};
    for (const auto &p : pairs) {
        RepStartLine(LineHeight);
        RepTextField(50, quote, p.left, p.leftMax);
        RepTextField(200, quote, p.right, p.rightMax);
        RepEndLine();
    }
    LineIfFilled(200, quote, Q::Addr3, 60, 0);
    LineIfFilled(200, quote, Q::Name2, 60, 0);
    LineIfFilled(460, quote, Q::CurncyCode, 5, 1);
    uint8_t row[Q::Rows::Size];
    const int32_t rows = MatrixRowCount(Q::Number, 0, quote);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowGet(Q::Number, 0, quote, i, row) ||
            DocRowKind(GetU16(row, Q::Rows::Kind)) != DocRowKind::Item) continue;
        RepStartLine(LineHeight);
        RepTextField(20, row, Q::Rows::ItemCode);
        RepValue(124, 0, row + Q::Rows::Quantity, FtAmount3, 1);
        RepTextField(130, row, Q::Rows::Text);
        RepValue(340, 0, row + Q::Rows::Price, FtAmount3Drop, 1);
        RepValue(370, 0, row + Q::Rows::Discount, FtAmount1, 1);
        RepValue(460, 0, row + Q::Rows::Sum, FtAmount2, 1);
        RepTextField(480, row, Q::Rows::VatCode, 0, 1);
        RepEndLine();
    }
    RepStartLine(LineHeight);
    RepRule(380, 460, 2);
    RepEndLine();
    RepStartLine(LineHeight);
    if (GetU16(quote, Q::VatZone) != 0) RepTextNr(20, 0, 2568, 0);
    RepTextField(100, quote, Q::Objects);
    RepValue(260, 0, quote + Q::NetTotal, FtAmount2, 1);
    RepValue(360, 0, quote + Q::VatTotal, FtAmount2, 1);
    RepValue(460, 0, quote + Q::Total, FtAmount2, 1);
    RepEndLine();
}

void PurchaseDetail(const uint8_t *purchase, PackedDecimal *grand)
{
    assert(purchase && grand);
    RepStartLine(LineHeight);
    RepValue(0, 0, purchase + PUVc::SerNr, FtLongOrEmpty, 0);
    RepValue(60, 0, purchase + PUVc::TransDate, FtDate, 0);
    RepTextField(160, purchase, PUVc::Text);
    RepValue(400, 0, purchase + PUVc::POSerNr, FtLongOrEmpty, 0);
    RepEndLine();
    RepStartLine(LineHeight);
    RepTextField(0, purchase, PUVc::VendCode);
    RepTextField(100, purchase, PUVc::VendName);
    RepTextField(350, purchase, PUVc::Currency, 0, 1);
    RepEndLine();
    uint8_t row[PUVc::Rows::Size];
    const int32_t rows = MatrixRowCount(PUVc::Number, 0, purchase);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowGet(PUVc::Number, 0, purchase, i, row)) continue;
        RepStartLine(LineHeight);
        RepTextField(0, row, PUVc::Rows::ItemCode);
        RepValue(100, 0, row + PUVc::Rows::Quantity, FtAmount3, 1);
        RepTextField(120, row, PUVc::Rows::Text);
        RepTextField(220, row, PUVc::Rows::SerialNr);
        RepValue(350, 0, row + PUVc::Rows::Price, FtAmount2, 1);
        RepTextField(410, row, PUVc::Rows::Charge, 0, 1);
        RepValue(480, 0, row + PUVc::Rows::UnitCost, FtAmount2, 1);
        RepEndLine();
    }
    RepStartLine(LineHeight);
    RepRule(380, 480, 2);
    RepEndLine();
    const PackedDecimal value = GetDec(purchase, PUVc::ValueSum);
    RepStartLine(LineHeight);
    RepValue(100, 0, purchase + PUVc::QtySum, FtAmount3, 1);
    RepValue(480, 0, value.b, FtAmount2, 1);
    RepEndLine();
    DecAdd(grand, &value, grand);
}
