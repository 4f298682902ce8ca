// label_runs.cpp - the document batch prints of label_runs.h.
//
// The number runs (-20, -22, -23, -27) walk their register by number over
// the range in the first selection text; the label runs (-21, -13, -25)
// fill a sheet of records and print it when full, and the partly filled
// last sheet at the end. Every run sets the sheet it prints on, so a
// sheet left by an earlier label run never makes the form printer read
// cells past the one record a number run hands it. A run shows the record
// it is at; Esc stops a walk before the next record, and a partly filled
// sheet is still printed. Each run ends with the count of what printed
// and where it went, or why nothing did (run_outcome.h).
#include <cassert>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/run_outcome.h"
#include "output/devices/report_output.h"
#include "output/forms/forms.h"
#include "output/output_job.h"
#include "reports/frame/index_walk.h"
#include "reports/frame/report_run.h"
#include "reports/sales/label_runs.h"
#include "rules/rules_types.h"

LabelSheetRec LabelSheet;
uint8_t (*LabelFormPrint)(int16_t doctype, const uint8_t *record) = PrintForm;

namespace {

namespace P = ReportParamsVc;
constexpr uint32_t CountUnset = 0xFFFFFFFFu;

enum class Sheet : uint8_t { Single, TwoAcross, ThreeAcross };

void SetSheet(Sheet s) {
    switch (s) {
    case Sheet::Single: LabelSheet.columns = 1, LabelSheet.rows = 1; break;
    case Sheet::TwoAcross: LabelSheet = {2, 8, 280, 103}; break;
    case Sheet::ThreeAcross: LabelSheet = {3, 8, 195, 103}; break;
    }
}

// The run in progress and the texts it counts each print with.
RunOutcome *Outcome = nullptr;
int CountOne = 0, CountMany = 0;

// One run of this file from start to closing line: what each print
// counts as ("document printed", "label printed", "sheet of labels
// printed"). A run that found nothing to print says so.
struct LabelRun {
    RunDeviceKept device;
    RunOutcome run;
    LabelRun(int title, int one, int many) {
        RunStart(&run, title);
        Outcome = &run;
        CountOne = one;
        CountMany = many;
    }
    ~LabelRun() {
        Outcome = nullptr;
        if (run.why == 0) RunNothing(&run, Texts::RunWhyNoneInRange, Texts::RunNothingToPrint);
        RunFinish(&run, RunWhereOfOutput(CurrentJobRecord()));
    }
    LabelRun(const LabelRun &) = delete;
    LabelRun &operator=(const LabelRun &) = delete;
};

// The run's progress before record number `number` (or code) is begun;
// false on Esc. True outside a run.
bool GoesOn(int32_t number) { return !Outcome || RunGoesOnNumber(Outcome, number); }
bool GoesOn(const uint8_t *code) { return !Outcome || RunGoesOn(Outcome, code); }

// Prints record (or a sheet of count records) as form doctype with the
// current sheet's pitch, and counts it for the run.
void PrintWithSheet(int16_t doctype, const void *record, int32_t count) {
    FormItemCount = count;
    FormLabelStepX = LabelSheet.cellWidth;
    FormLabelStepY = LabelSheet.cellHeight;
    const uint8_t printed = LabelFormPrint(doctype, static_cast<const uint8_t *>(record));
    FormItemCount = 1;
    if (!Outcome) return;
    if (printed == 1) RunCount(Outcome, 1, CountOne, CountMany);
    else RunFailed(Outcome, 1, Texts::RunNotPrinted, Texts::RunNotPrinted);
}

// Walks reg by its first index from the lower number of the range in
// SelText1 while the number is at most the upper one (open: to the end),
// calling act(record). Nothing for an empty range.
template <typename Act> void NumberWalk(const uint8_t *selection, int reg, uint32_t numberAt, Act act) {
    PString range;
    GetText(selection, P::SelText1, range);
    if (range[0] == 0) return;
    int32_t from = -1, to = -1;
    RangeSplitNumber(range, &from, &to);
    RuleRecord rec(reg);
    if (!rec.record) return;
    PutI32(rec.record, numberAt, from < 0 ? 0 : from);
    uint32_t recid = 0, position = 0;
    if (!RecFind(reg, rec.record, 1, 0, &recid, &position)) return;
    for (uint32_t p = position;; p++) {
        if (p != position) {
            RecFreeMatrix(reg, rec.record);
            if (!RecReadAt(reg, int32_t(p), rec.record, &recid)) break;
        }
        if (to >= 0 && GetI32(rec.record, numberAt) > to) break;
        if (!GoesOn(GetI32(rec.record, numberAt))) break;
        act(rec.record);
    }
    RecFreeMatrix(reg, rec.record);
}

// What a label run walks: the index, where the record's code and group
// lie, and how long they are.
struct LabelWalk {
    int reg;
    uint32_t codeAt, nameAt, groupAt;
    int codeMax, groupMax;
};

// The sheet array of a label run: columns x rows cleared records.
struct SheetArray {
    std::vector<uint8_t> bytes;
    int32_t cells = 0, used = 0;
    size_t size = 0;
};

// Fills the sheet from the walk and prints each full sheet and the last
// partly filled one. The copies carry no rows: the walk's record frees
// them.
void LabelSheetRun(const uint8_t *selection, const LabelWalk &w, int16_t doctype, bool byName, const uint8_t *group) {
    SheetArray sheet;
    sheet.size = RegRecordSize(w.reg);
    sheet.cells = int32_t(LabelSheet.columns) * LabelSheet.rows;
    if (sheet.size == 0 || sheet.cells <= 0) return;
    sheet.bytes.assign(sheet.size * size_t(sheet.cells), 0);
    const int32_t matrixAt = RegMatrixOffset(w.reg);

    PString range, from, to, value;
    GetText(selection, P::SelText1, range);
    RangeSplit(range, from, to);
    const char *index = byName ? "Name" : group[0] != 0 ? (w.reg == AssetVc::Number ? "ATClass" : "Group") : "Code";
    RuleRecord rec(w.reg);
    if (!rec.record) return;
    if (byName) PutPString(rec.record, w.nameAt, 60, from);
    else {
        if (group[0] != 0) PutPString(rec.record, w.groupAt, w.groupMax, group);
        PutPString(rec.record, w.codeAt, w.codeMax, from);
    }
    const int parts = group[0] != 0 && !byName ? 2 : 1;
    IndexWalkFrom(w.reg, index, rec.record, parts, [&](const uint8_t *r) {
        if (byName) {
            GetPString(r, w.nameAt, 60, value);
            if (to[0] != 0 && PStringCompareNoCase(value, to) > 0) return false;
        } else {
            if (group[0] != 0) {
                GetPString(r, w.groupAt, w.groupMax, value);
                if (!PStringEqual(value, group)) return false;
            }
            GetPString(r, w.codeAt, w.codeMax, value);
            if (to[0] != 0 && PStringCompareNoCase(value, to) > 0) return false;
        }
        GetPString(r, byName ? w.nameAt : w.codeAt, byName ? 60 : w.codeMax, value);
        if (!GoesOn(value)) return false;
        if (sheet.cells == 1) {
            // One record a form: the record itself, with its rows.
            PrintWithSheet(doctype, r, 1);
            return true;
        }
        uint8_t *cell = sheet.bytes.data() + size_t(sheet.used) * sheet.size;
        std::memcpy(cell, r, sheet.size);
        if (matrixAt >= 0) PutU32(cell, uint32_t(matrixAt), 0);
        if (++sheet.used == sheet.cells) {
            PrintWithSheet(doctype, sheet.bytes.data(), sheet.used);
            std::fill(sheet.bytes.begin(), sheet.bytes.end(), 0);
            sheet.used = 0;
        }
        return true;
    });
    if (sheet.used > 0) PrintWithSheet(doctype, sheet.bytes.data(), sheet.used);
}

// The sheet of runs -13 and -25 by the layout: two across, three across;
// any other layout two across. The form printer reads the same choice
// from the running job's layout word, so it is set to match while the
// run prints.
void CustomerOrAssetLabels(uint8_t *selection, const LabelWalk &w, int16_t doctype, bool byName, const uint8_t *group) {
    const uint16_t layout = GetU16(selection, P::ReportLayout);
    SetSheet(layout == 1 ? Sheet::ThreeAcross : Sheet::TwoAcross);
    PutU16(selection, P::ReportLayout, layout == 1 ? 1 : 0);
    LabelSheetRun(selection, w, doctype, byName, group);
    PutU16(selection, P::ReportLayout, layout);
}

}  // namespace

int32_t LabelCopies(double q, bool atLeastOne) {
    if (!std::isfinite(q)) return atLeastOne ? 1 : 0;
    if (atLeastOne && q + 0.5 < 1.0) q = 1.0;
    const double n = std::trunc(q + 0.5);
    if (n <= 0) return 0;
    return n >= LabelCopyCap ? LabelCopyCap : int32_t(n);
}

int32_t CustomerFormCopies(uint32_t count) {
    if (count == CountUnset) return 1;
    return count >= uint32_t(LabelCopyCap) ? LabelCopyCap : int32_t(count);
}

void PrintStockMoveForms(ReportJob &job) {
    LabelRun run(Texts::ListStockMoveForms, Texts::RunDocumentPrinted, Texts::RunDocumentsPrinted);
    SetSheet(Sheet::Single);
    NumberWalk(job.selection, StockMoveVc::Number, StockMoveVc::SerNr, [](const uint8_t *r) { PrintWithSheet(-20, r, 1); });
}

void PrintPurchaseForms(ReportJob &job) {
    LabelRun run(Texts::ListPurchaseForms, Texts::RunDocumentPrinted, Texts::RunDocumentsPrinted);
    SetSheet(Sheet::Single);
    NumberWalk(job.selection, PUVc::Number, PUVc::SerNr, [](const uint8_t *r) { PrintWithSheet(-22, r, 1); });
}

void PrintPurchaseLabels(ReportJob &job) {
    LabelRun run(Texts::ListPurchaseLabels, Texts::RunLabelPrinted, Texts::RunLabelsPrinted);
    SetSheet(Sheet::Single);
    NumberWalk(job.selection, PUVc::Number, PUVc::SerNr, [](const uint8_t *r) {
        uint8_t row[PUVc::Rows::Size];
        for (int32_t i = 0, n = MatrixRowCount(PUVc::Number, 0, r); i < n; i++) {
            if (!MatrixRowRead(PUVc::Number, r, i, row) || row[PUVc::Rows::ItemCode] == 0) continue;
            PackedDecimal q = GetDec(row, PUVc::Rows::Quantity);
            const PurchaseLabelRec label{r, i};
            for (int32_t k = 0, copies = LabelCopies(DecIsBlank(&q) ? 0 : DecToDouble(&q), false); k < copies; k++)
                PrintWithSheet(-23, &label, 1);
        }
    });
}

void PrintDeliveryLabels(ReportJob &job) {
    LabelRun run(Texts::ListDeliveryLabels, Texts::RunLabelPrinted, Texts::RunLabelsPrinted);
    SetSheet(Sheet::Single);
    NumberWalk(job.selection, SHVc::Number, SHVc::SerNr, [](const uint8_t *r) {
        PackedDecimal q = GetDec(r, SHVc::LabelQty);
        for (int32_t k = 0, copies = LabelCopies(DecIsBlank(&q) ? 0 : DecToDouble(&q), true); k < copies; k++)
            PrintWithSheet(-27, r, 1);
    });
}

void PrintCustomerForms26(ReportJob &job) {
    LabelRun run(Texts::ListCustomerForms, Texts::RunDocumentPrinted, Texts::RunDocumentsPrinted);
    SetSheet(Sheet::Single);
    PString range, from, to, code;
    GetText(job.selection, P::SelText1, range);
    RangeSplit(range, from, to);
    const int32_t copies = CustomerFormCopies(GetU32(job.selection, P::NumberFrom));
    RuleRecord rec(CUVc::Number);
    if (!rec.record) return;
    PutText(rec.record, CUVc::Code, from);
    IndexWalkFrom(CUVc::Number, "Code", rec.record, 1, [&](const uint8_t *r) {
        GetText(r, CUVc::Code, code);
        if (to[0] != 0 && PStringCompareNoCase(code, to) > 0) return false;
        if (!GoesOn(code)) return false;
        for (int32_t k = 0; k < copies; k++) PrintWithSheet(-26, r, 1);
        return true;
    });
}

void PrintItemForms(ReportJob &job) {
    const uint16_t layout = GetU16(job.selection, P::ReportLayout);
    LabelRun run(Texts::ListItemLabels, layout == 0 ? Texts::RunDocumentPrinted : Texts::RunSheetPrinted,
                 layout == 0 ? Texts::RunDocumentsPrinted : Texts::RunSheetsPrinted);
    PString group;
    GetTextPrefix(job.selection, P::SelText2, 5, group);
    const bool byName = GetU16(job.selection, P::Option2) == 1;
    const LabelWalk w{INVc::Number, INVc::Code, INVc::Name, INVc::Group, 20, 5};
    if (layout == 0) {
        // One form a record, no sheet: a sheet of one cell does the same.
        SetSheet(Sheet::Single);
    } else {
        SetSheet(layout == 1 ? Sheet::TwoAcross : Sheet::ThreeAcross);
    }
    LabelSheetRun(job.selection, w, -21, byName, byName ? reinterpret_cast<const uint8_t *>("") : group);
}

void PrintCustomerForms13(ReportJob &job) {
    LabelRun run(Texts::ListCustomerLabels, Texts::RunSheetPrinted, Texts::RunSheetsPrinted);
    PString group;
    GetTextPrefix(job.selection, P::SelText3, 5, group);
    const bool byName = GetU16(job.selection, P::Option2) == 1;
    const LabelWalk w{CUVc::Number, CUVc::Code, CUVc::Name, CUVc::CustGroup, 20, 5};
    CustomerOrAssetLabels(job.selection, w, -13, byName, byName ? reinterpret_cast<const uint8_t *>("") : group);
}

void PrintAssetForms(ReportJob &job) {
    LabelRun run(Texts::ListAssetLabels, Texts::RunSheetPrinted, Texts::RunSheetsPrinted);
    PString cls;
    GetTextPrefix(job.selection, P::SelText3, 5, cls);
    const LabelWalk w{AssetVc::Number, AssetVc::Code, AssetVc::Name, AssetVc::Class, 10, 5};
    CustomerOrAssetLabels(job.selection, w, -25, false, cls);
}
