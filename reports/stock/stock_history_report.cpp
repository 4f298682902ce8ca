// stock_history_report.cpp - reports 73 and 84, item by item the stock
// movements recorded up to a date: from the item history with a running
// balance of quantities or values (73), and from the serial-number
// history one line per unit moved (84). Both go back from the history
// record to the document that made it and print that document's own rows.
#include <cassert>
#include <cstdio>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/kind_boxes.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/stock/stock_reports.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15, GapHeight = 10;
constexpr int OrderCode = 0, OrderGroup = 1;
constexpr uint16_t KindPurchase = PUVc::Number, KindInvoice = IVVc::Number, KindDelivery = SHVc::Number,
                   KindProduction = ProductionVc::Number, KindMoveIn = StockMoveVc::Number, KindMoveOut = 0xFFFF;
constexpr uint32_t NoOrder = 0xFFFFFFFFu;

// One row of a source document as the history reports show it.
struct SourceRow {
    PackedDecimal qty, unit;
    PString serial;
    bool component;   // a delivered structure that holds the item
};

// Where the columns of a report's layout stand.
struct Columns {
    int source, number, location, qty, unit, value;
};
constexpr Columns QtyColumns{100, 200, 300, 410, -1, 480}, ValueColumns{70, 150, 220, 300, 380, 480},
                  SerialColumns{100, 180, 260, 480, -1, -1};

int SourceText(uint16_t kind) {
    switch (kind) {
    case KindPurchase: return 5002;
    case KindInvoice: return 5004;
    case KindDelivery: return 5003;
    case KindProduction: return 5016;
    default: return 5012;
    }
}

void ZeroIfBlank(PackedDecimal *p) {
    if (DecIsBlank(p)) DecSetZero(p);
}

void Negate(PackedDecimal *p) { DecNegateInto(p, p); }

// The register a history kind's document lives in; 0 for a kind not known.
int SourceRegister(uint16_t kind) {
    switch (kind) {
    case KindPurchase: case KindInvoice: case KindDelivery: case KindProduction: return kind;
    case KindMoveIn: case KindMoveOut: return StockMoveVc::Number;
    default: return 0;
    }
}

uint32_t SerialField(int reg) {
    switch (reg) {
    case IVVc::Number: return IVVc::SerNr;
    case SHVc::Number: return SHVc::SerNr;
    case ProductionVc::Number: return ProductionVc::SerNr;
    case StockMoveVc::Number: return StockMoveVc::SerNr;
    default: return PUVc::SerNr;
    }
}

// The document's rows of item (a delivery: only row rowNr, which may be a
// structure holding the item) into rows.
void SourceRows(uint16_t kind, const uint8_t *doc, const uint8_t *item, int32_t rowNr, std::vector<SourceRow> &rows) {
    PString code;
    const int reg = SourceRegister(kind);
    const int32_t count = MatrixRowCount(reg, 0, doc);
    std::vector<uint8_t> row(4096);
    for (int32_t i = 0; i < count; i++) {
        if (kind == KindDelivery && i != rowNr) continue;
        if (!MatrixRowRead(reg, doc, i, row.data())) break;
        SourceRow out{};
        switch (kind) {
        case KindPurchase:
            GetText(row.data(), PUVc::Rows::ItemCode, code);
            out.qty = GetDec(row.data(), PUVc::Rows::Quantity);
            out.unit = GetDec(row.data(), PUVc::Rows::UnitCost);
            GetText(row.data(), PUVc::Rows::SerialNr, out.serial);
            break;
        case KindInvoice:
            if (DocRowKind(GetU16(row.data(), IVVc::Rows::Kind)) != DocRowKind::Item) continue;
            GetText(row.data(), IVVc::Rows::ItemCode, code);
            out.qty = GetDec(row.data(), IVVc::Rows::Quantity);
            ZeroIfBlank(&out.qty);
            if (InvoiceKind(GetU16(doc, IVVc::InvType)) != InvoiceKind::CreditNote) Negate(&out.qty);
            out.unit = GetDec(row.data(), IVVc::Rows::UnitCost);
            break;
        case KindDelivery: {
            GetText(row.data(), SHVc::Rows::ItemCode, code);
            out.qty = GetDec(row.data(), SHVc::Rows::ToDeliver);
            ZeroIfBlank(&out.qty);
            Negate(&out.qty);
            out.unit = GetDec(row.data(), SHVc::Rows::UnitCost);
            GetText(row.data(), SHVc::Rows::SerialNr, out.serial);
            if (!PStringEqual(code, item)) {
                PackedDecimal per;
                StructureComponentQty(code, item, &per);
                if (DecIsBlank(&per)) continue;
                DecMul(&out.qty, &per, &out.qty);
                out.component = true;
                PStringCopy(code, item);
            }
            break;
        }
        case KindMoveIn: case KindMoveOut:
            GetText(row.data(), StockMoveVc::Rows::ItemCode, code);
            out.qty = GetDec(row.data(), StockMoveVc::Rows::Quantity);
            ZeroIfBlank(&out.qty);
            if (kind == KindMoveOut) Negate(&out.qty);
            out.unit = GetDec(row.data(), kind == KindMoveOut ? StockMoveVc::Rows::BaseCost : StockMoveVc::Rows::UnitCost);
            GetText(row.data(), StockMoveVc::Rows::SerialNr, out.serial);
            break;
        case KindProduction: {
            GetText(row.data(), ProductionVc::Rows::ItemCode, code);
            out.qty = GetDec(row.data(), ProductionVc::Rows::QtyMade);
            if (DecIsBlank(&out.qty)) {
                out.qty = GetDec(row.data(), ProductionVc::Rows::QtyUsed);
                ZeroIfBlank(&out.qty);
                Negate(&out.qty);
            }
            const PackedDecimal cost = GetDec(row.data(), ProductionVc::Rows::UnitCost),
                                extra = GetDec(row.data(), ProductionVc::Rows::ExtraCost);
            DecAdd(&cost, &extra, &out.unit);
            GetText(row.data(), ProductionVc::Rows::SerialNr, out.serial);
            break;
        }
        default: return;
        }
        if (!PStringEqual(code, item)) continue;
        rows.push_back(out);
    }
}

// "number" or "number/order" as the number column shows a delivery; a
// delivery made without an order shows its number alone.
void NumberText(uint32_t number, uint32_t order, bool withOrder, uint8_t *out) {
    char digits[32];
    if (withOrder && order != NoOrder) std::snprintf(digits, sizeof digits, "%u/%u", unsigned(number), unsigned(order));
    else std::snprintf(digits, sizeof digits, "%u", unsigned(number));
    PStringFromC(out, digits);
}

// What a history report's run reads of the selection, and its running total.
struct HistoryRun {
    int layout;
    bool serials;
    uint16_t kinds[5];   // the source options: invoices, deliveries, purchases, movements, productions
    PString location, serial;
    DateRec from, to;
    PackedDecimal total;
};

// The source box at index `which`, or no source box ticked (every source).
bool Admits(const HistoryRun &run, size_t which) {
    const uint16_t *k = run.kinds;
    return KindBoxesAdmit({k[0], k[1], k[2], k[3], k[4]}, which);
}

bool KindSelected(const HistoryRun &run, uint16_t kind) {
    if (run.serials) return kind != KindInvoice;
    switch (kind) {
    case KindInvoice: return Admits(run, 0);
    case KindDelivery: return Admits(run, 1);
    case KindPurchase: return Admits(run, 2);
    case KindMoveIn: case KindMoveOut: return Admits(run, 3);
    case KindProduction: return Admits(run, 4);
    default: return false;
    }
}

// Reads the history record's document into doc; false when it is gone or,
// for an invoice, when its stock moved with its deliveries instead.
bool ReadSource(uint16_t kind, uint32_t number, RuleRecord &doc) {
    const int reg = SourceRegister(kind);
    if (reg == 0 || !doc.record) return false;
    if (!StockReadBySerial(reg, SerialField(reg), number, doc.record)) return false;
    if (kind == KindInvoice)
        return GetU32(doc.record, IVVc::OrderNr) == NoOrder && GetU16(doc.record, IVVc::UpdStock) != 0;
    return true;
}

void HistoryLine(HistoryRun &run, const Columns &c, const uint8_t *entry, uint32_t dateOffset,
                 uint32_t locationOffset, const uint8_t *source, const uint8_t *number, const SourceRow &row) {
    RepStartLine(LineHeight);
    RepValue(0, 0, entry + dateOffset, FtDate, 0);
    RepTextEx(c.source, -1, 0, 0, 0, source);
    RepTextEx(c.number, -1, 0, 0, 0, number);
    StockFieldAt(c.location, entry, locationOffset, 10);
    if (run.serials) {
        RepTextEx(340, -1, 0, 0, 0, row.serial);
        StockValueAt(c.qty, &row.qty, FtAmount3);
    } else if (run.layout == 0) {
        DecAdd(&run.total, &row.qty, &run.total);
        StockValueAt(c.qty, &row.qty, FtAmount3);
        StockValueAt(c.value, &run.total, FtAmount3);
    } else {
        StockValueAt(c.qty, &row.qty, FtAmount3);
        if (!row.component) {
            PackedDecimal value;
            DecMul(&row.qty, &row.unit, &value);
            DecAdd(&run.total, &value, &run.total);
            StockValueAt(c.unit, &row.unit, FtAmount2);
            StockValueAt(c.value, &value, FtAmount2);
        }
    }
    RepEndLine();
}

// A production's lines of a serial-numbered unit: the quantity made and
// the quantity used of each row naming the unit, times the production's
// quantity, each when given.
void SerialProductionLines(HistoryRun &run, const uint8_t *entry, const uint8_t *production, const uint8_t *item,
                           const uint8_t *serial, const uint8_t *source) {
    const PackedDecimal made = GetDec(production, ProductionVc::Quantity);
    if (DecIsBlank(&made)) return;
    PString numberText, code, unitSerial;
    NumberText(GetU32(production, ProductionVc::SerNr), 0, false, numberText);
    uint8_t r[ProductionVc::Rows::Size];
    const int32_t count = MatrixRowCount(ProductionVc::Number, 0, production);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(ProductionVc::Number, production, i, r)) break;
        GetText(r, ProductionVc::Rows::ItemCode, code);
        GetText(r, ProductionVc::Rows::SerialNr, unitSerial);
        if (!PStringEqual(code, item) || !PStringEqual(unitSerial, serial)) continue;
        for (uint32_t field : {ProductionVc::Rows::QtyMade, ProductionVc::Rows::QtyUsed}) {
            SourceRow line{};
            line.qty = GetDec(r, field);
            if (DecIsBlank(&line.qty)) continue;
            DecMul(&line.qty, &made, &line.qty);
            if (field == ProductionVc::Rows::QtyUsed) Negate(&line.qty);
            HistoryLine(run, SerialColumns, entry, SerialHistVc::HistDate, SerialHistVc::Location, source, numberText,
                        line);
        }
    }
}

// The lines of one history entry of item (register 59 or 103).
void EntryLines(HistoryRun &run, const uint8_t *entry, const uint8_t *item) {
    const bool serials = run.serials;
    const uint16_t kind = GetU16(entry, serials ? SerialHistVc::SourceReg : ItemHistVc::DocType);
    const uint32_t number = GetU32(entry, serials ? SerialHistVc::SourceNr : ItemHistVc::DocNr);
    const int reg = SourceRegister(kind);
    if (reg == 0) return;
    RuleRecord doc(reg);
    if (!ReadSource(kind, number, doc)) return;
    const Columns &c = serials ? SerialColumns : run.layout == 0 ? QtyColumns : ValueColumns;
    const uint32_t date = serials ? SerialHistVc::HistDate : ItemHistVc::HistDate;
    const uint32_t location = serials ? SerialHistVc::Location : ItemHistVc::Location;
    PString source, component, numberText, serial;
    GetUiText(source, SourceText(kind));
    if (serials) GetText(entry, SerialHistVc::SerialNr, serial);
    if (serials && kind == KindProduction) {
        SerialProductionLines(run, entry, doc.record, item, serial, source);
        return;
    }
    std::vector<SourceRow> rows;
    if (serials && kind == KindDelivery) {
        // A serial-numbered unit names no delivery row: any row of the item may hold it.
        const int32_t count = MatrixRowCount(SHVc::Number, 0, doc.record);
        for (int32_t i = 0; i < count; i++) SourceRows(kind, doc.record, item, i, rows);
    } else {
        SourceRows(kind, doc.record, item, serials ? -1 : int32_t(GetU16(entry, ItemHistVc::RowNr)), rows);
    }
    const uint32_t order = kind == KindDelivery ? GetU32(doc.record, SHVc::OrderNr) : 0;
    for (const SourceRow &row : rows) {
        if (serials && (row.component || !PStringEqual(row.serial, serial))) continue;
        if (row.component) {
            PStringCopy(component, source);
            PStringAppendC(component, " / ");
            PString part;
            GetUiText(part, 5019);
            PStringAppend(component, part);
        }
        NumberText(number, order, kind == KindDelivery && !serials && (row.component || run.layout == 1), numberText);
        HistoryLine(run, c, entry, date, location, row.component ? component : source, numberText, row);
    }
}

void EachItem(const uint8_t *item, void *context) {
    HistoryRun &run = *static_cast<HistoryRun *>(context);
    if (run.serials && GetU16(item, INVc::SerialMode) == 0) return;
    PString code, got, at;
    GetText(item, INVc::Code, code);
    RepStartLine(LineHeight);
    StockFieldAt(0, item, INVc::Code);
    StockFieldAt(100, item, INVc::Name);
    RepEndLine();
    RepRuleFull(1, 4);
    DecSetBlank(&run.total);
    const int reg = run.serials ? SerialHistVc::Number : ItemHistVc::Number;
    const uint32_t codeField = run.serials ? SerialHistVc::ItemCode : ItemHistVc::ItemCode;
    const uint32_t dateField = run.serials ? SerialHistVc::HistDate : ItemHistVc::HistDate;
    const uint32_t locationField = run.serials ? SerialHistVc::Location : ItemHistVc::Location;
    RuleRecord entry(reg);
    if (!entry.record) return;
    PutPString(entry.record, codeField, 20, code);
    PutDate(entry.record, dateField, run.from);
    uint32_t recid = 0, position = 0;
    bool more = RecFindByIndex(reg, "ItemDate", entry.record, 2, 0, &recid, &position);
    for (int32_t p = (int32_t)position; more; p++) {
        if (p != (int32_t)position && !RecReadAtIndex(reg, "ItemDate", p, entry.record, &recid)) break;
        GetPString(entry.record, codeField, 20, got);
        if (!PStringEqual(got, code)) break;
        const DateRec date = GetDate(entry.record, dateField);
        if (run.to.year != 0 && DateCompare(&date, &run.to) > 0) break;
        if (ReportCancelled()) break;
        GetPString(entry.record, locationField, 10, at);
        if (run.location[0] && !PStringEqual(at, run.location)) continue;
        const uint16_t kind = GetU16(entry.record, run.serials ? SerialHistVc::SourceReg : ItemHistVc::DocType);
        if (!KindSelected(run, kind)) continue;
        if (run.serials && run.serial[0]) {
            PString serial;
            GetText(entry.record, SerialHistVc::SerialNr, serial);
            if (!PStringEqual(serial, run.serial)) continue;
        }
        EntryLines(run, entry.record, code);
    }
    if (run.serials) return;
    RepRuleFull(1, 4);
    RepStartLine(LineHeight);
    StockValueAt(480, &run.total, FtAmount2);
    RepEndLine();
    DecSetBlank(&run.total);
    RepStartLine(GapHeight);
    RepEndLine();
}

void HistoryRunFromSelection(const uint8_t *selection, HistoryRun &run, bool serials) {
    run.serials = serials;
    run.layout = serials ? 0 : GetU16(selection, P::ReportLayout) != 0 ? 1 : 0;
    const uint32_t options[5] = {P::Option2, P::Option3, P::Option4, P::Option5, P::Option6};
    for (int i = 0; i < 5; i++) run.kinds[i] = GetU16(selection, options[i]);
    GetTextPrefix(selection, P::SelText8, 10, run.location);
    if (serials) GetTextPrefix(selection, P::SelText2, 30, run.serial);
    run.from = GetDate(selection, P::DateFrom);
    run.to = GetDate(selection, P::DateTo);
    DecSetBlank(&run.total);
}

// The items of the selection: a group given walks that group, else the
// code range; each gets its heading (code, name, a rule) first.
void WalkItems(const uint8_t *selection, HistoryRun &run) {
    const bool byGroup = selection[P::SelText3] != 0;
    StockItemWalk(selection, byGroup ? OrderGroup : OrderCode, false, EachItem, &run);
}

}  // namespace

void StructureComponentQty(const uint8_t *structureItem, const uint8_t *component, PackedDecimal *result) {
    assert(structureItem && component && result);
    DecSetBlank(result);
    RuleRecord item(INVc::Number), structure(StructureVc::Number);
    if (!item.record || !structure.record) return;
    PutText(item.record, INVc::Code, structureItem);
    uint32_t recid = 0, position = 0;
    if (!RecFind(INVc::Number, item.record, 1, 1, &recid, &position)) return;
    PString code;
    GetText(item.record, INVc::StructCode, code);
    if (code[0] == 0) return;
    PutText(structure.record, StructureVc::Code, code);
    if (!RecFind(StructureVc::Number, structure.record, 1, 1, &recid, &position)) return;
    uint8_t row[StructureVc::Rows::Size];
    const int32_t rows = MatrixRowCount(StructureVc::Number, 0, structure.record);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowRead(StructureVc::Number, structure.record, i, row)) break;
        GetText(row, StructureVc::Rows::ItemCode, code);
        if (!PStringEqual(code, component)) continue;
        *result = GetDec(row, StructureVc::Rows::Quantity);
        return;
    }
}

void StockHistoryReport(ReportJob &job) {
    assert(job.selection);
    HistoryRun run{};
    HistoryRunFromSelection(job.selection, run, false);
    const Columns &c = run.layout == 0 ? QtyColumns : ValueColumns;
    RepBeginJobNr(5001);
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 5007, 0);
    RepTextNr(c.source, 0, 5006, 0);
    RepTextNr(c.number, 0, 5008, 0);
    RepTextNr(c.location, 0, 5010, 0);
    RepTextNr(c.qty, 0, 5009, -1);
    if (run.layout == 0) {
        RepTextNr(c.value, 0, 5011, -1);
    } else {
        RepTextNr(c.unit, 0, 5013, -1);
        RepTextNr(c.value, 0, 5015, -1);
    }
    RepEndLine();
    RepRuleFull(1, 4);
    WalkItems(job.selection, run);
    RepEndJob();
}

void SerialNumberHistoryReport(ReportJob &job) {
    assert(job.selection);
    HistoryRun run{};
    HistoryRunFromSelection(job.selection, run, true);
    const Columns &c = SerialColumns;
    RepBeginJobNr(5017);
    ReportHeadings(LineHeight, {{0, 5007}, {c.source, 5006}, {c.number, 5008}, {c.location, 5010}, {340, 5018},
                                {c.qty, 5009, -1}});
    RepRuleFull(1, 4);
    WalkItems(job.selection, run);
    RepEndJob();
}
