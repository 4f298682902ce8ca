// stock_lists.cpp - the plain stock registers as reports: stock items by
// inventory code (74), stock movements in full (96), locations (98),
// recipes with their rows (78), and the purchase-invoice rows of items
// by vendor (114).
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/index_walk.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/stock/stock_reports.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"
#include "rules/stock.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15;

// The from and to of a code range of the job record.
void CodeRange(const uint8_t *selection, uint32_t field, uint8_t *from, uint8_t *to) {
    PString range;
    GetPString(selection, field, 255, range);
    RangeSplit(range, from, to);
}

bool InRange(const uint8_t *value, const uint8_t *from, const uint8_t *to) {
    return !(from[0] && PStringCompare(value, from) < 0) && !(to[0] && PStringCompare(value, to) > 0);
}

void EmptyLine() {
    RepStartLine(LineHeight);
    RepEndLine();
}

}  // namespace

// Report 74. Layout 1 walks by inventory code from the lower one and
// stops past the upper one, as layout 0 does by item code.
void ItemInvCodeReport(ReportJob &job) {
    assert(job.selection);
    const bool byInvCode = GetU16(job.selection, P::ReportLayout) != 0;
    PString codeFrom, codeTo, invFrom, invTo, groupFrom, groupTo, location, code, inv, group, lastInv;
    CodeRange(job.selection, P::SelText1, codeFrom, codeTo);
    CodeRange(job.selection, P::SelText2, invFrom, invTo);
    CodeRange(job.selection, P::SelText3, groupFrom, groupTo);
    GetTextPrefix(job.selection, P::SelText7, 10, location);
    RepBeginJobNr(2761);
    ReportHeadings(LineHeight, {{0, 2767}, {50, 2762}, {110, 2763}, {280, 2764}, {380, 2765, -1}});
    RuleRecord item(INVc::Number), stock(LSVc::Number);
    if (item.record && stock.record) {
        bool first = true;
        PutPString(item.record, byInvCode ? INVc::InvCode : INVc::Code, 20, byInvCode ? invFrom : codeFrom);
        IndexWalkFrom(INVc::Number, byInvCode ? "InvCode" : "Code", item.record, 1, [&](uint8_t *r) {
            GetText(r, INVc::Code, code);
            GetText(r, INVc::InvCode, inv);
            GetText(r, INVc::Group, group);
            if (!byInvCode && codeTo[0] && PStringCompare(code, codeTo) > 0) return false;
            if (byInvCode && invTo[0] && PStringCompare(inv, invTo) > 0) return false;
            if (GetU16(r, INVc::Stocked) == 0 || !InRange(group, groupFrom, groupTo)) return true;
            if (!byInvCode && (!InRange(code, codeFrom, codeTo) || !InRange(inv, invFrom, invTo))) return true;
            if (byInvCode && (first || !PStringEqual(inv, lastInv))) {
                if (!first) RepRuleFull(1, 4);
                EmptyLine();
                RepStartLine(LineHeight);
                RepTextEx(0, -1, 0, 0, 0, inv);
                RepEndLine();
                EmptyLine();
                PStringCopy(lastInv, inv);
            }
            first = false;
            Register6Lookup(code, location, stock.record);
            const PackedDecimal qty = GetDec(stock.record, LSVc::InStock);
            RepStartLine(LineHeight);
            if (!byInvCode) RepTextEx(0, -1, 0, 0, 0, inv);
            RepTextEx(40, -1, 0, 0, 0, code);
            StockFieldAt(110, r, INVc::Name);
            StockFieldAt(280, r, INVc::Unit);
            StockValueAt(380, &qty, FtAmount3);
            RepTextNr(480, 0, 2766, -1);
            RepEndLine();
            return true;
        });
    }
    RepRuleFull(1, 4);
    RepEndJob();
}

// Report 96.
void StockMovementReport(ReportJob &job) {
    assert(job.selection);
    PString range;
    GetText(job.selection, P::SelText1, range);
    int32_t from = -1, to = -1;
    RangeSplitNumber(range, &from, &to);
    RepBeginJobNr(5240);
    ReportHeadings(LineHeight, {{0, 5241}, {130, 5242}, {220, 5243}});
    ReportHeadings(LineHeight, {{50, 5244}, {200, 5245}});
    ReportHeadings(LineHeight, {{130, 5246}, {480, 5247, -1}});
    ReportHeadings(LineHeight, {{20, 5248}, {124, 5249, -1}, {130, 5250}, {340, 5251, -1}, {370, 5252, -1}});
    RepRuleFull(1, 4);
    RuleRecord movement(StockMoveVc::Number);
    if (movement.record) {
        PutU32(movement.record, StockMoveVc::SerNr, from == -1 ? 0u : uint32_t(from));
        IndexWalkFrom(StockMoveVc::Number, "SerNr", movement.record, 1, [&](uint8_t *r) {
            if (to != -1 && GetU32(r, StockMoveVc::SerNr) > uint32_t(to)) return false;
            StockMovementDetail(r);
            RepRuleFull(1, 4);
            return true;
        });
    }
    RepEndJob();
}

// Report 98. Codes compare without regard to case.
void LocationReport(ReportJob &job) {
    assert(job.selection);
    PString from, to, code, upperTo;
    CodeRange(job.selection, P::SelText1, from, to);
    PStringCopy(upperTo, to);
    UpperPString(upperTo);
    RepBeginJobNr(5360);
    ReportHeadings(LineHeight, {{0, 5361}, {130, 5362}, {330, 5363}});
    ReportHeadings(LineHeight, {{130, 5364}, {330, 5365}});
    RepRuleFull(1, 4);
    RuleRecord location(LocationVc::Number);
    if (location.record) {
        PutText(location.record, LocationVc::Code, from);
        IndexWalkFrom(LocationVc::Number, "Code", location.record, 1, [&](uint8_t *r) {
            GetText(r, LocationVc::Code, code);
            UpperPString(code);
            if (upperTo[0] && PStringCompare(code, upperTo) > 0) return false;
            const uint32_t lines[][2] = {{LocationVc::Addr0, LocationVc::Addr1},
                                         {LocationVc::Addr2, LocationVc::Addr3},
                                         {LocationVc::Text266, LocationVc::Text328}};
            for (int i = 0; i < 3; i++) {
                RepStartLine(LineHeight);
                if (i == 0) StockFieldAt(0, r, LocationVc::Code);
                StockFieldAt(130, r, lines[i][0], 60);
                StockFieldAt(330, r, lines[i][1], 60);
                RepEndLine();
            }
            RepStartLine(LineHeight);
            StockFieldAt(130, r, LocationVc::Text350);
            RepEndLine();
            RepRuleFull(1, 4);
            return true;
        });
    }
    RepEndJob();
}

// Report 78. With a component range, only recipes that use a component
// in it.
void RecipeReport(ReportJob &job) {
    assert(job.selection);
    PString from, to, partFrom, partTo, code, part;
    CodeRange(job.selection, P::SelText1, from, to);
    CodeRange(job.selection, P::SelText2, partFrom, partTo);
    const bool byPart = partFrom[0] || partTo[0];
    RepBeginJobNr(5380);
    ReportHeadings(LineHeight, {{0, 5381}, {60, 5104}, {320, 5382, -1}, {410, 5383, -1}, {460, 5384, -1}});
    RuleRecord recipe(StructureVc::Number);
    if (recipe.record) {
        PutText(recipe.record, StructureVc::Code, from);
        IndexWalkFrom(StructureVc::Number, "Code", recipe.record, 1, [&](uint8_t *r) {
            GetText(r, StructureVc::Code, code);
            if (to[0] && PStringCompare(code, to) > 0) return false;
            uint8_t row[StructureVc::Rows::Size];
            const int32_t rows = MatrixRowCount(StructureVc::Number, 0, r);
            bool uses = !byPart;
            for (int32_t i = 0; i < rows && !uses; i++) {
                if (!MatrixRowRead(StructureVc::Number, r, i, row)) break;
                GetText(row, StructureVc::Rows::ItemCode, part);
                uses = InRange(part, partFrom, partTo);
            }
            if (!uses) return true;
            const PackedDecimal made = GetDec(r, StructureVc::Total94), batch = GetDec(r, StructureVc::Total106);
            RepRuleFull(1, 4);
            RepStartLine(LineHeight);
            RepTextEx(0, -1, 0, 0, 0, code);
            StockFieldAt(60, r, StructureVc::Text);
            StockValueAt(320, &made, FtAmount2);
            StockValueAt(410, &batch, FtAmount2);
            StockFieldAt(460, r, StructureVc::Code, -1);
            RepEndLine();
            EmptyLine();
            ReportHeadings(LineHeight, {{0, 5107}, {280, 5108, -1}, {340, 5109, -1}, {400, 5111, -1}, {460, 5112, -1}});
            for (int32_t i = 0; i < rows; i++) {
                if (!MatrixRowRead(StructureVc::Number, r, i, row)) break;
                const PackedDecimal used = GetDec(row, StructureVc::Rows::Quantity),
                                    madeQty = GetDec(row, StructureVc::Rows::QuantityIn),
                                    cost = GetDec(row, StructureVc::Rows::Cost),
                                    cost2 = GetDec(row, StructureVc::Rows::Cost2);
                RepStartLine(LineHeight);
                StockFieldAt(0, row, StructureVc::Rows::ItemCode);
                StockFieldAt(70, row, StructureVc::Rows::ItemName);
                StockValueAt(280, &used, FtAmount3);
                StockValueAt(340, &madeQty, FtAmount3);
                StockValueAt(400, &cost, FtAmount2);
                StockValueAt(460, &cost2, FtAmount2);
                RepEndLine();
            }
            return true;
        });
    }
    RepRuleFull(1, 4);
    RepEndJob();
}

// Report 114: the rows naming an item of purchase invoices in the vendor
// range and the invoice period, a credit note's amounts negated.
void PurchInvoiceByVendorCode(ReportJob &job) {
    assert(job.selection);
    PString from, to, vendor, item, project, wantItem, wantProject, text;
    CodeRange(job.selection, P::SelText1, from, to);
    GetTextPrefix(job.selection, P::SelText2, 20, wantItem);
    GetTextPrefix(job.selection, P::SelText3, 20, wantProject);
    const DateRec dateFrom = GetDate(job.selection, P::DateFrom), dateTo = GetDate(job.selection, P::DateTo);
    RepBeginJobNr(5580);
    ReportHeadings(LineHeight, {{11, 5581}, {100, 5582}, {200, 5583, -1}, {210, 5584}, {480, 5585, -1}});
    PackedDecimal sum;
    DecSetZero(&sum);
    bool listed = false;
    RuleRecord invoice(VIVc::Number);
    if (invoice.record) {
        PutText(invoice.record, VIVc::VendCode, from);
        IndexWalkFrom(VIVc::Number, "VECode", invoice.record, 1, [&](uint8_t *r) {
            GetText(r, VIVc::VendCode, vendor);
            if (to[0] && PStringCompare(vendor, to) > 0) return false;
            const DateRec date = GetDate(r, VIVc::InvDate);
            if (dateFrom.year != 0 && DateCompare(&date, &dateFrom) < 0) return true;
            if (dateTo.year != 0 && DateCompare(&date, &dateTo) > 0) return true;
            const bool credit = InvoiceKind(GetU16(r, VIVc::InvType)) == InvoiceKind::CreditNote;
            uint8_t row[VIVc::Rows::Size];
            const int32_t rows = MatrixRowCount(VIVc::Number, 0, r);
            for (int32_t i = 0; i < rows; i++) {
                if (!MatrixRowRead(VIVc::Number, r, i, row)) break;
                GetText(row, VIVc::Rows::ItemCode, item);
                GetText(row, VIVc::Rows::Project, project);
                if (item[0] == 0) continue;
                if (wantItem[0] && !PStringEqual(item, wantItem)) continue;
                if (wantProject[0] && !PStringEqual(project, wantProject)) continue;
                PackedDecimal amount = GetDec(row, VIVc::Rows::Amount);
                const PackedDecimal qty = GetDec(row, VIVc::Rows::Quantity);
                if (DecIsBlank(&amount)) DecSetZero(&amount);
                if (credit) DecNegateInto(&amount, &amount);
                DecAdd(&sum, &amount, &sum);
                listed = true;
                GetTextPrefix(row, VIVc::Rows::Text, 30, text);
                RepStartLine(LineHeight);
                RepTextEx(11, -1, 0, 0, 0, item);
                RepTextEx(100, -1, 0, 0, 0, project);
                StockValueAt(200, &qty, FtAmount3);
                RepTextEx(210, -1, 0, 0, 0, text);
                StockValueAt(480, &amount, FtAmount2);
                RepEndLine();
            }
            return true;
        });
    }
    RepRuleFull(1, 4);
    // The sum only under rows it adds: with none, the job's end says that
    // no row matched instead of a bare zero.
    if (listed) {
        RepStartLine(LineHeight);
        StockValueAt(480, &sum, FtAmount2);
        RepEndLine();
    }
    RepEndJob();
}
