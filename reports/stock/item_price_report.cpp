// item_price_report.cpp - reports 10, 11, 12 and 77 over the items of the
// selection: sales prices with and without VAT or the margins over the
// cost (10, mode 0), the stock position with the quantity to order (11,
// and 77 per vendor with only the items a vendor supplies; mode 2), and
// the item list (12, mode 3).
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "reports/stock/stock_reports.h"
#include "rules/documents.h"
#include "rules/replenishment_qty.h"
#include "rules/rules_types.h"
#include "rules/stock.h"
#include "rules/vat_currency.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15;
constexpr int ColLast = 1, ColName = 2, ColInner = 4;
constexpr int ModePrices = 0, ModeStock = 2, ModeList = 3;
constexpr int ReportPerVendor = 77;
// Our own headings where the shared texts already say something else.
constexpr int TextPriceExVat = 13202;

struct PriceRun {
    int mode;
    bool margins, perVendor, vendorGiven, skipEmpty;
    PString priceList, language;
    uint16_t listInclVat;   // the price list's (or the items') prices include VAT
    const uint8_t *selection;   // the job's, for the items' supplier
};

void Headings(const PriceRun &run) {
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 2325, 0);
    if (run.mode == ModePrices && run.margins) {
        RepTextNr(60, 0, 2326, 0);
        RepTextNr(270, 0, TextPriceExVat, -1);
        RepTextNr(345, 0, 2331, -1);
        RepTextNr(420, 0, 5401, -1);
        RepTextNr(480, 0, 5402, -1);
    } else if (run.mode == ModePrices) {
        RepTextNr(ColName, 0, 2326, 0);
        RepTextNr(ColInner, 0, TextPriceExVat, -1);
        RepTextNr(ColLast, 0, 2329, -1);
    } else if (run.mode == ModeStock) {
        RepTextNr(ColName, 0, 2326, 0);
        RepTextNr(280, 0, 2342, -1);
        RepTextNr(330, 0, 2343, -1);
        RepTextNr(380, 0, 2348, -1);
        RepTextNr(430, 0, 2347, -1);
        RepTextNr(ColLast, 0, 2334, -1);
    } else {
        RepTextNr(ColName, 0, 2326, 0);
        RepTextNr(280, 0, 2338, 0);
        RepTextNr(330, 0, 2327, 0);
        RepTextNr(ColInner, 0, 2337, 0);
        RepTextNr(ColLast, 0, 2335, -1);
    }
    RepEndLine();
}

// The item's text in the selection's language, else its name.
void ItemText(const uint8_t *item, const PriceRun &run, uint8_t *out) {
    PString name;
    GetText(item, INVc::Name, name);
    PStringCopy(out, name);
    if (run.language[0]) NthRowWithCode(1, out, GetU32(item, INVc::TextRows), run.language, name);
}

// The price of the item in the selection's price list; false when the
// list has no row for it.
bool PriceListPrice(const uint8_t *code, const PriceRun &run, PackedDecimal *price) {
    RuleRecord row(PriceVc::Number);
    if (!row.record) return false;
    PutText(row.record, PriceVc::PriceList, run.priceList);
    PutText(row.record, PriceVc::ItemCode, code);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(PriceVc::Number, "PriceList", row.record, 2, 1, &recid, &position)) return false;
    *price = GetDec(row.record, PriceVc::Price);
    return true;
}

void PriceLine(const uint8_t *item, const PriceRun &run) {
    PString code, vatCode, text;
    GetText(item, INVc::Code, code);
    PackedDecimal price = GetDec(item, INVc::BasePrice);
    if (run.priceList[0] && !PriceListPrice(code, run, &price)) return;
    if (DecIsBlank(&price)) DecSetZero(&price);
    ItemVatCode(code, 0, vatCode);
    PackedDecimal vat, without, with;
    VatAmountDec(vatCode, &price, &vat, run.listInclVat ? 1 : 0);
    if (run.listInclVat) {
        with = price;
        DecSub(&price, &vat, &without);
    } else {
        without = price;
        DecAdd(&price, &vat, &with);
    }
    ItemText(item, run, text);
    RepStartLine(LineHeight);
    StockFieldAt(0, item, INVc::Code);
    if (!run.margins) {
        RepTextEx(ColName, -1, 0, 0, 0, text);
        StockValueAt(ColInner, &without, FtAmount3Drop);
        StockValueAt(ColLast, &with, FtAmount3Drop);
    } else {
        const PackedDecimal cost = GetDec(item, INVc::CostPrice);
        PackedDecimal margin, percent, hundred;
        DecSub(&without, &cost, &margin);
        DecFromLong(&hundred, 100);
        DecMul(&margin, &hundred, &percent);
        DecDiv(&percent, &without, &percent);
        DecRound(&percent, 2, &percent);
        RepTextEx(60, -1, 0, 0, 0, text);
        StockValueAt(270, &without, FtAmount2);
        StockValueAt(345, &cost, FtAmount2);
        StockValueAt(420, &margin, FtAmount2);
        StockValueAt(480, &percent, FtAmount2);
    }
    RepEndLine();
}

void StockLine(const uint8_t *item, const PriceRun &run) {
    if (GetU16(item, INVc::Stocked) == 0) return;
    RuleRecord stock(LSVc::Number), supplier(PurchItemVc::Number);
    if (!stock.record || !supplier.record) return;
    PackedDecimal available, toOrder;
    const bool supplied = ItemQtyToOrder(run.selection, item, stock.record, supplier.record, &available, &toOrder);
    if (run.perVendor && !supplied) return;
    PackedDecimal onHand = GetDec(stock.record, LSVc::InStock), reserved = GetDec(stock.record, LSVc::OnOrders),
                  onOrder = GetDec(stock.record, LSVc::ToReceive), free;
    if (run.skipEmpty && DecIsZero(&onHand) && DecIsZero(&reserved) && DecIsZero(&onOrder)) return;
    DecSub(&onHand, &reserved, &free);
    PString text;
    if (run.perVendor) {
        GetText(supplier.record, PurchItemVc::Text, text);
        if (!run.vendorGiven) {
            PString vendor;
            GetText(supplier.record, PurchItemVc::VendCode, vendor);
            PStringAppendC(text, "/");
            PStringAppend(text, vendor);
        }
    } else {
        ItemText(item, run, text);
    }
    RepStartLine(LineHeight);
    StockFieldAt(0, item, INVc::Code);
    RepTextEx(ColName, -1, 0, 0, 0, text);
    StockValueAt(280, &onHand, FtAmount3);
    StockValueAt(330, &reserved, FtAmount3);
    StockValueAt(380, &free, FtAmount3);
    StockValueAt(430, &onOrder, FtAmount3);
    StockValueAt(ColLast, &toOrder, FtAmount3);
    RepEndLine();
}

void ListLine(const uint8_t *item, const PriceRun &run) {
    PString text;
    ItemText(item, run, text);
    const PackedDecimal price = GetDec(item, INVc::BasePrice);
    RepStartLine(LineHeight);
    StockFieldAt(0, item, INVc::Code);
    RepTextEx(ColName, -1, 0, 0, 0, text);
    StockFieldAt(280, item, INVc::Group);
    StockFieldAt(330, item, INVc::Text220);
    StockFieldAt(ColInner, item, INVc::Code242);
    StockValueAt(ColLast, &price, FtAmount3Drop);
    RepEndLine();
}

void EachItem(const uint8_t *item, void *context) {
    const PriceRun &run = *static_cast<const PriceRun *>(context);
    if (run.mode == ModePrices) PriceLine(item, run);
    else if (run.mode == ModeStock) StockLine(item, run);
    else ListLine(item, run);
}

// Whether the prices of the run include VAT: the price list's own word,
// block 133's for the items' prices.
uint16_t PricesIncludeVat(const uint8_t *priceList) {
    if (priceList[0]) {
        RuleRecord list(PriceListVc::Number);
        if (!list.record) return 0;
        PutText(list.record, PriceListVc::Code, priceList);
        uint32_t recid = 0, position = 0;
        if (!RecFind(PriceListVc::Number, list.record, 1, 1, &recid, &position)) return 0;
        return GetU16(list.record, PriceListVc::InclVat);
    }
    const uint8_t *block = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    return block ? GetU16(block, SalesAccountsBlk::PricesInclVat) : 0;
}

int TitleOf(int mode, bool perVendor) {
    if (mode == ModePrices) return 13200;
    if (mode == ModeStock) return perVendor ? 2349 : 2323;
    return 2324;
}

}  // namespace

void ItemPriceReport(ReportJob &job, int mode) {
    assert(job.selection);
    PriceRun run{};
    run.selection = job.selection;
    run.mode = mode == ModeStock || mode == ModeList ? mode : ModePrices;
    run.margins = GetU16(job.selection, P::Option4) == 1;
    run.perVendor = int16_t(GetU16(job.selection, P::ReportNumber)) == ReportPerVendor;
    run.skipEmpty = GetU16(job.selection, P::Option4) != 0;
    PString vendor;
    GetTextPrefix(job.selection, P::SelText2, 20, vendor);
    run.vendorGiven = vendor[0] != 0;
    if (run.mode == ModePrices && int16_t(GetU16(job.selection, P::ReportNumber)) == 10)
        GetTextPrefix(job.selection, P::SelText2, 5, run.priceList);
    GetTextPrefix(job.selection, P::SelText4, 5, run.language);
    run.listInclVat = run.mode == ModePrices ? PricesIncludeVat(run.priceList) : 0;

    RepBeginJobNr(TitleOf(run.mode, run.perVendor));
    Headings(run);
    StockItemWalk(job.selection, GetU16(job.selection, P::Option3), true, EachItem, &run);
    RepRuleFull(1, 4);
    RepEndJob();
}
