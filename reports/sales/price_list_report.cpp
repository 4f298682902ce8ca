// price_list_report.cpp - report 90: one item's stock (in total and by
// location) and its price without and with VAT, its own and in every
// price list (the list's own price for the item, else the item's).
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
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/sales/register_list_reports.h"
#include "rules/rules_types.h"
#include "rules/stock.h"
#include "rules/vat_currency.h"

namespace {

namespace P = ReportParamsVc;
namespace S = LSVc;
constexpr int LineHeight = 15, Stop3 = 3;

void Amount(int x, const PackedDecimal &v, int type) {
    uint8_t slot[sizeof(PackedDecimal)];
    PutDec(slot, 0, v);
    RepValue(x, 0, slot, type, -1);
}
void Text(int x, const uint8_t *t, int align = 0) { RepTextEx(x, -1, 0, align, 0, t); }
void EmptyLine() {
    RepStartLine(LineHeight);
    RepEndLine();
}

// The price without and with VAT of price, which includes VAT or not.
void PricePair(const uint8_t *vatCode, const PackedDecimal &price, bool inclVat, PackedDecimal *net,
               PackedDecimal *gross) {
    PackedDecimal vat;
    VatAmountDec(vatCode, &price, &vat, inclVat ? 1 : 0);
    if (inclVat) {
        *gross = price;
        DecSub(&price, &vat, net);
    } else {
        *net = price;
        DecAdd(&price, &vat, gross);
    }
}

// A price line: the VAT code at 270, without VAT at 360, with VAT at 450.
void PriceTail(const uint8_t *vatCode, const PackedDecimal &price, bool inclVat) {
    PackedDecimal net, gross;
    PricePair(vatCode, price, inclVat, &net, &gross);
    Text(270, vatCode, -1);
    Amount(360, net, FtAmount3Drop);
    Amount(450, gross, FtAmount3Drop);
}

// The item's stock records one a location, on hand in stop 3.
void StockByLocation(const uint8_t *code) {
    RuleRecord stock(S::Number);
    if (!stock.record) return;
    PutText(stock.record, S::ItemCode, code);
    PString item, location;
    IndexWalkFrom(S::Number, "ItemLocation", stock.record, 1, [&](const uint8_t *r) {
        GetText(r, S::ItemCode, item);
        if (!PStringEqual(item, code)) return false;
        GetText(r, S::Location, location);
        RepStartLine(LineHeight);
        Text(120, location);
        RepValue(Stop3, 0, r + S::InStock, FtAmount3Drop, -1);
        RepEndLine();
        return true;
    });
}

}  // namespace

void PriceListReport(ReportJob &job) {
    PString code, name, vatCode, text;
    GetTextPrefix(job.selection, P::SelText1, 20, code);
    RuleRecord item(INVc::Number);
    if (!item.record) return;
    if (code[0] == 0) {
        ReportPrintsNothing(Texts::ReportNoItemGiven);
        return;
    }
    PutText(item.record, INVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (!RecFind(INVc::Number, item.record, 1, 1, &recid, &position)) {   // no item: no job at all
        ReportPrintsNothing(Texts::ReportNoSuchItem);
        return;
    }

    RepBeginJobNr(5120);
    GetText(item.record, INVc::Name, name);
    RepStartLine(LineHeight);
    RepTextNr(15, 0, 5121, 0);
    Text(100, code);
    Text(200, name);
    RepEndLine();
    RepRuleFull(1, 1);
    EmptyLine();

    uint8_t stock[S::Size];
    PString all;
    all[0] = 0;
    Register6Lookup(code, all, stock);
    RepStartLine(LineHeight);
    RepTextNr(15, 0, 5122, 0);
    RepValue(140, 0, stock + S::InStock, FtAmount3Drop, -1);
    RepTextNr(160, 0, 5123, 0);
    RepValue(250, 0, stock + S::Reserved, FtAmount3Drop, -1);
    RepTextNr(300, 0, 5124, 0);
    RepValue(450, 0, stock + S::ToReceive, FtAmount3Drop, -1);
    RepEndLine();

    EmptyLine();
    ReportHeadings(LineHeight, {{120, 2768}, {Stop3, 2765, -1}});
    RepRuleFull(1, 1);
    StockByLocation(code);
    RepRuleFull(1, 1);

    ItemVatCode(code, 0, vatCode);
    EmptyLine();
    ReportHeadings(LineHeight, {{15, 5125}, {360, 5127, -1}, {450, 5128, -1}});
    RepRuleFull(1, 1);

    uint8_t prices[SalesAccountsBlk::Size] = {};
    SettingsBlockRead(SalesAccountsBlk::Number, prices, SalesAccountsBlk::Size);
    const PackedDecimal own = GetDec(item.record, INVc::BasePrice);
    RepStartLine(LineHeight);
    RepTextNr(70, 0, 5130, 0);
    PriceTail(vatCode, own, GetU16(prices, SalesAccountsBlk::PricesInclVat) != 0);
    RepEndLine();

    RuleRecord list(PriceListVc::Number), price(PriceVc::Number);
    if (list.record && price.record) {
        for (int32_t p = 1; RecReadAt(PriceListVc::Number, p, list.record, &recid); p++) {
            PString listCode;
            GetText(list.record, PriceListVc::Code, listCode);
            PutText(price.record, PriceVc::PriceList, listCode);
            PutText(price.record, PriceVc::ItemCode, code);
            uint32_t id = 0, at = 0;
            const PackedDecimal value =
                RecFindByIndex(PriceVc::Number, "PriceList", price.record, 2, 1, &id, &at) ? GetDec(price.record, PriceVc::Price)
                                                                                          : own;
            RepStartLine(LineHeight);
            Text(15, listCode);
            GetText(list.record, PriceListVc::Name, text);
            Text(70, text);
            PriceTail(vatCode, value, GetU16(list.record, PriceListVc::InclVat) != 0);
            GetText(list.record, PriceListVc::CurncyCode, text);
            Text(480, text, -1);
            RepEndLine();
            RecFreeMatrix(PriceListVc::Number, list.record);
            if (ReportCancelled()) break;
        }
    }
    RepEndJob();
}
