// purchase_order_report.cpp - report 75, the purchase orders of a number
// range, vendor and period: a line each (layout 0 with the order total,
// layout 2 with the net total) or the order printed out with its rows
// (layout 1), and the amounts summed per currency.
#include <cassert>

#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "reports/purchase/purchase_reports.h"
#include "reports/purchase/purchase_walk.h"
#include "reports/sales/sales_reports.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"

namespace {

constexpr int LineHeight = 12;
constexpr int StopRight = 1;

// A line with one text field of the order, only when it is not empty.
void TextLineIfAny(int x, const uint8_t *order, uint32_t at, int max) {
    uint8_t text[256];
    GetPString(order, at, max, text);
    if (!text[0]) return;
    RepStartLine(LineHeight);
    RepTextEx(x, -1, 0, 0, 0, text);
    RepEndLine();
}

// The order printed out: its head, its item rows and its amounts.
void PrintOrderDetail(const uint8_t *order) {
    namespace O = PurchOrderVc;
    RepStartLine(LineHeight);
    RepValue(0, 0, order + O::SerNr, FtLong, 0);
    RepValue(130, 0, order + O::PODate, FtDate, 0);
    RepTextField(220, order, O::PayTerms);
    RepEndLine();
    RepStartLine(LineHeight);
    RepTextField(50, order, O::VendCode);
    RepTextField(200, order, O::VendName);
    RepEndLine();
    RepStartLine(LineHeight);
    RepTextField(200, order, O::Addr1);
    RepEndLine();
    RepStartLine(LineHeight);
    RepTextField(50, order, O::Reference);
    RepTextField(200, order, O::Addr2);
    RepEndLine();
    TextLineIfAny(200, order, O::Addr3, 60);
    TextLineIfAny(200, order, O::Contact, 60);
    TextLineIfAny(460, order, O::CurncyCode, 5);
    uint8_t row[O::Rows::Size];
    const int32_t rows = MatrixRowCount(O::Number, 0, order);
    for (int32_t i = 0; i < rows && MatrixRowRead(O::Number, order, i, row); i++) {
        if (DocRowKind(GetU16(row, O::Rows::Kind)) != DocRowKind::Item) continue;
        RepStartLine(LineHeight);
        RepTextField(20, row, O::Rows::ItemCode);
        RepTextField(130, row, O::Rows::Text);
        RepValue(124, 0, row + O::Rows::Quantity, FtAmount3, -1);
        RepValue(340, 0, row + O::Rows::Price, FtAmount3Drop, -1);
        RepValue(370, 0, row + O::Rows::Discount, FtAmount1, -1);
        RepValue(460, 0, row + O::Rows::Sum, FtAmount2, -1);
        RepTextField(480, row, O::Rows::VatCode, 0, -1);
        RepEndLine();
    }
    RepStartLine(LineHeight);
    RepTextNr(20, 0, 4948, 0);
    RepValue(260, 0, order + O::NetTotal, FtAmount2, -1);
    RepValue(360, 0, order + O::VatTotal, FtAmount2, -1);
    RepValue(460, 0, order + O::Total, FtAmount2, -1);
    RepEndLine();
}

}  // namespace

// Report 75: the purchase orders of SelText1's number range, of the
// vendor in SelText2 when given, dated within the period. Esc stops the
// walk after the order at hand; the totals and the job's end still come.
void PurchaseOrderReport(ReportJob &job) {
    assert(job.selection);
    namespace O = PurchOrderVc;
    const int layout = GetU16(job.selection, ReportParamsVc::ReportLayout);
    uint8_t vendor[256];
    GetText(job.selection, ReportParamsVc::SelText2, vendor);
    const DateRec dateFrom = GetDate(job.selection, ReportParamsVc::DateFrom);
    const DateRec dateTo = GetDate(job.selection, ReportParamsVc::DateTo);
    TotalsTableReset();

    RepBeginJobNr(4941);
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 4942, 0);
    if (layout == 1) {
        RepTextNr(130, 0, 4943, 0);
    } else {
        RepTextNr(60, 0, 4943, 0);
        RepTextNr(140, 0, 4944, 0);
        RepTextNr(StopRight, 0, 4947, -1);
    }
    RepEndLine();
    if (layout == 0) RepRuleFull(1, 1);

    SerialRangeWalk(job.selection, O::Number, O::SerNr, [&](const uint8_t *order, uint32_t) {
        uint8_t code[256], currency[256];
        GetText(order, O::VendCode, code);
        const DateRec date = GetDate(order, O::PODate);
        if ((vendor[0] && !PStringEqual(code, vendor)) || !DateInRange(&date, &dateFrom, &dateTo)) return true;
        const uint32_t amountAt = layout == 2 ? O::NetTotal : O::Total;
        const PackedDecimal amount = GetDec(order, amountAt);
        GetText(order, O::CurncyCode, currency);
        TotalsTableAdd(currency, &amount, nullptr, nullptr);
        if (layout == 1) {
            RepRuleFull(1, 1);
            PrintOrderDetail(order);
            return true;
        }
        RepStartLine(LineHeight);
        RepValue(0, 0, order + O::SerNr, FtLong, 0);
        RepValue(60, 0, order + O::PODate, FtDate, 0);
        RepTextField(140, order, O::VendName);
        RepValue(440, 0, order + amountAt, FtAmount2, -1);
        RepTextEx(445, -1, 0, 0, 0, currency);
        RepEndLine();
        return true;
    });
    RepRuleFull(1, 1);
    TotalsTablePrint(layout == 1 ? 460 : 440, -1, -1, 140, 1);
    RepEndJob();
}
