// amount_rows.cpp - the lines of the ledger's statements: one line of a
// label and three amounts laid out by report, column layout and amount
// unit (reports 6, 20, 63 and 65 use it too), an account broken down by
// the objects of one type, and the company's statement sign flags.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/ledger/statement_reports.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15, ColName = 2, ColA = 3, ColB = 4, ColC = 5, StyleFirstLabel = 16, ObjectX = 6;

int Word(uint32_t field) { return GetU16(CurrentJobRecord(), field); }

// The field type amounts print with in the job record's amount unit.
int UnitType() {
    switch (Word(P::AmountUnit)) {
    case 1: return FtThousands;
    case 2: return FtMillions;
    case 3: return FtAmount1;
    case 4: return FtAmount0;
    default: return FtAmount2;
    }
}

// (a - base) / base x 100 as a percentage; nothing when base is zero.
void Percent(int x, const PackedDecimal *a, const PackedDecimal *base) {
    if (DecIsZero(base)) return;
    PackedDecimal diff, ratio, hundred;
    DecFromLong(&hundred, 100);
    DecSub(a, base, &diff);
    DecMul(&diff, &hundred, &diff);
    DecDiv(&diff, base, &ratio);
    RepAmountAt(x, &ratio, FtPercent);
}

bool BalanceStatement(int report) { return report == 21 || (report >= 42 && report <= 46); }
bool ResultStatement(int report) { return report == 22 || (report >= 47 && report <= 51); }

void BalanceStatementColumns(const PackedDecimal *v) {
    const int type = UnitType(), layout = Word(P::ColumnLayout);
    RepAmountAt(ColA, &v[0], type);
    RepAmountAt(ColB, &v[1], type);
    if ((layout == 2 || layout == 3) && Word(P::Option2) == 1) Percent(ColC, &v[1], &v[2]);
    else RepAmountAt(ColC, &v[2], type);
}

void ResultStatementColumns(PackedDecimal *v, const PackedDecimal *keyFigure) {
    const int type = UnitType(), layout = Word(P::ColumnLayout);
    if (Word(P::AmountUnit) == 3 && keyFigure)
        for (int c = 0; c < 3; c++) DecDiv(&v[c], keyFigure, &v[c]);
    const bool firstShown = layout == 0 || !DecIsZero(&v[0]);
    if (layout == 0) {
        if (YearToDate) RepAmountAt(ColB, &v[0], type);
        RepAmountAt(ColC, &v[1], type);
        return;
    }
    if (layout < 1 || layout > 3) return;
    if (firstShown) RepAmountAt(ColA, &v[0], type);
    RepAmountAt(ColB, &v[1], type);
    if (Word(P::Option2) == 1) {
        Percent(ColC, &v[1], &v[0]);
    } else {
        PackedDecimal change;
        DecSub(&v[1], &v[0], &change);
        RepAmountAt(ColC, &change, type);
    }
}

bool AnyNonZero(const PackedDecimal *v) { return !DecIsZero(&v[0]) || !DecIsZero(&v[1]) || !DecIsZero(&v[2]); }

void TextRow(int text, const PackedDecimal *amounts, int sign, const PackedDecimal *keyFigure) {
    PString label, none = {0};
    GetUiText(label, text);
    PrintAmountRow(ObjectX, label, none, amounts, sign, keyFigure);
}

}  // namespace

int StatementSignFlag(int index) {
    if (index < 0 || index > 4) return 0;
    const uint8_t *company = SettingsRecord(CompanyBlk::Number, CompanyBlock);
    return company && GetU16(company, CompanyBlk::SignA0 + 2u * uint32_t(index)) != 0 ? 1 : 0;
}

void PrintAmountRow(int x, const uint8_t *first, const uint8_t *second, const PackedDecimal *amounts, int sign,
                    const PackedDecimal *keyFigure) {
    assert(first && second && amounts && CurrentJobRecord());
    PackedDecimal v[3];
    for (int c = 0; c < 3; c++) {
        v[c] = amounts[c];
        if (sign) DecNegateInto(&amounts[c], &v[c]);
    }
    RepStartLine(LineHeight);
    RepTextEx(x, -1, 0, 0, StyleFirstLabel, first);
    // An empty second label is not written: a long first label (a sum
    // line's) runs past its column, and the printer would wrap.
    if (second[0] != 0) RepTextEx(ColName, -1, 0, 0, 0, second);
    const int report = int16_t(Word(P::ReportNumber));
    if (report == 6 || report == 20 || report == 63 || report == 65) {
        for (int c = 0; c < 3; c++) RepAmountAt(ColA + c, &v[c], FtAmount2);
    } else if (BalanceStatement(report)) {
        BalanceStatementColumns(v);
    } else if (ResultStatement(report)) {
        ResultStatementColumns(v, keyFigure);
    }
    RepEndLine();
}

void PrintAccountByObjects(const uint8_t *account, const uint8_t *name, PackedDecimal *amounts, int sign,
                           const PackedDecimal *keyFigure) {
    assert(account && name && amounts && CurrentJobRecord());
    PString type, code, objectType, objectName;
    GetText(CurrentJobRecord(), P::ObjectType, type);
    GetText(account, ACVc::Code, code);
    PackedDecimal rest[3], objectSums[3];
    for (int c = 0; c < 3; c++) {
        rest[c] = amounts[c];
        DecSetZero(&objectSums[c]);
    }
    bool printed = false;
    RuleRecord object(OBVc::Number);
    if (!object.record) return;
    PutText(object.record, OBVc::ObjType, type);
    uint32_t recid = 0, position = 0;
    bool more = RecFindByIndex(OBVc::Number, "OTCode", object.record, 2, 0, &recid, &position);
    for (int32_t p = int32_t(position); more; p++) {
        if (p != int32_t(position) && !RecReadAtIndex(OBVc::Number, "OTCode", p, object.record, &recid)) break;
        GetText(object.record, OBVc::ObjType, objectType);
        if (!PStringEqual(objectType, type)) break;
        PString objectCode;
        GetText(object.record, OBVc::Code, objectCode);
        PackedDecimal own[3];
        AccountColumnAmounts(code, objectCode, &own[0], &own[1], &own[2]);
        for (int c = 0; c < 3; c++) {
            DecSub(&rest[c], &own[c], &rest[c]);
            DecAdd(&objectSums[c], &own[c], &objectSums[c]);
        }
        if (AnyNonZero(own)) {
            if (!printed) {
                RepStartLine(LineHeight);
                RepTextEx(0, -1, 0, 0, 0, code);
                RepTextEx(ColName, -1, 0, 0, 0, name);
                RepEndLine();
            }
            printed = true;
            GetText(object.record, OBVc::Name, objectName);
            PrintAmountRow(ObjectX, objectCode, objectName, own, sign, keyFigure);
        }
        if (ReportCancelled()) break;
    }
    if (Word(P::Option3) != 0) {
        if (!printed) {
            PrintAmountRow(0, code, name, amounts, sign, keyFigure);
            return;
        }
        if (AnyNonZero(rest)) TextRow(Texts::StatementNoObjectPart, rest, sign, keyFigure);
        TextRow(Texts::StatementAccountTotal, amounts, sign, keyFigure);
        return;
    }
    // Without the remainder the row counts what its objects carry: an
    // account none of whose objects moved adds nothing.
    if (printed) TextRow(Texts::StatementAccountTotal, objectSums, sign, keyFigure);
    for (int c = 0; c < 3; c++) amounts[c] = objectSums[c];
}
