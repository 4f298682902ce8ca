// order_report_lines.cpp - the small pieces the order, purchase-order and
// salesman reports print their lines with: an amount by field type, a
// text field of a record, a number, an empty line.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/index_walk.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_run.h"
#include "reports/sales/order_reports.h"

void OrderLineAmount(int x, const PackedDecimal *amount, int type, int align) {
    assert(amount);
    RepAmountAt(x, amount, type, align);
}

void OrderItemRowPieces(const uint8_t *row, const ItemRowAmounts &a, int amountX) {
    namespace R = ORVc::Rows;
    RepTextField(20, row, R::ItemCode);
    OrderLineAmount(124, &a.qty, FtAmount3, 1);
    RepTextField(130, row, R::Text);
    OrderLineAmount(340, &a.price, FtAmount3Drop, 1);
    OrderLineAmount(370, &a.discount, FtAmount1, 1);
    OrderLineAmount(amountX, &a.amount, FtAmount2, 1);
}

void OrderLineNumber(int x, int32_t n, int align) {
    uint8_t slot[4];
    PutI32(slot, 0, n);
    RepValue(x, 0, slot, FtLongOrEmpty, align);
}

void OrderLineGap(int h) {
    RepStartLine(h);
    RepEndLine();
}

// The quantity columns of the status reports.
constexpr int StatusQtyX[4] = {260, 330, 410, 480};

void OrderStatusRowAmounts(const uint8_t *order, uint32_t currencyAt, const PackedDecimal *left,
                           const PackedDecimal *price, const PackedDecimal *value, PackedDecimal *sums) {
    assert(order && left && price && value && sums);
    OrderLineAmount(270, left, FtAmount3, 1);
    OrderLineAmount(380, price, FtAmount3Drop, 1);
    OrderLineAmount(450, value, FtAmount2, 1);
    RepTextField(480, order, currencyAt, 5, 0, 1);
    DecAdd(&sums[0], left, &sums[0]);
}

void OrderStatusRowQuantities(const PackedDecimal *cols, int count, PackedDecimal *sums) {
    assert(cols && sums && count >= 0 && count <= 4);
    for (int c = 0; c < count; c++) {
        OrderLineAmount(StatusQtyX[c], &cols[c], FtAmount3, 1);
        DecAdd(&sums[c], &cols[c], &sums[c]);
    }
}

void OrderStatusSumsLine(const PackedDecimal *sums, int count, bool quantities) {
    assert(sums && count >= 1 && count <= 4);
    RepStartLine(15);
    if (!quantities) {
        OrderLineAmount(270, &sums[0], FtAmount3, 1);
    } else {
        for (int c = 0; c < count; c++) OrderLineAmount(StatusQtyX[c], &sums[c], FtAmount3, 1);
    }
    RepEndLine();
}

void ReportIndexWalk(int reg, const char *index, uint8_t *record, int parts,
                     bool (*each)(const uint8_t *record, void *context), void *context) {
    assert(record && each);
    IndexWalkFrom(reg, index, record, parts, [&](const uint8_t *r) { return each(r, context); });
}

void OrderLineRule(int x1, int x2, int thickness) {
    RepStartLine(15);
    RepRule(x1, x2, thickness);
    RepEndLine();
}

void OrderLineFields(const uint8_t *record, std::initializer_list<LinePiece> pieces, bool skipEmpty) {
    assert(record);
    if (skipEmpty) {
        bool any = false;
        for (const LinePiece &p : pieces) any = any || (p.type == FtText && record[p.offset] != 0);
        if (!any) return;
    }
    RepStartLine(15);
    for (const LinePiece &p : pieces) {
        if (p.type == FtText) RepTextField(p.x, record, p.offset, p.width, 0, p.align);
        else RepValue(p.x, 0, record + p.offset, p.type, p.align);
    }
    RepEndLine();
}

void OrderHeadLines(const uint8_t *order) {
    constexpr int T = FtText;
    OrderLineFields(order, {{0, ORVc::SerNr, FtLongOrEmpty, 0, 0}, {130, ORVc::OrdDate, FtDate, 0, 0},
                            {210, ORVc::CustCode, T, 20, 0}, {300, ORVc::Addr0, T, 60, 0},
                            {480, ORVc::DelivText, T, 10, 1}});
    for (uint32_t line : {ORVc::Addr1, ORVc::Addr2, ORVc::Addr3}) OrderLineFields(order, {{300, line, T, 60, 0}}, true);
}

PackedDecimal OrderQty(const uint8_t *record, uint32_t offset) {
    PackedDecimal q = GetDec(record, offset);
    if (DecIsBlank(&q)) DecSetZero(&q);
    return q;
}
