// window_rows.cpp - where a screen field of a record window lies: a
// header field by its record byte, a row cell by row, column and byte.
#include "recordwin/window_rows.h"

#include "dict_offsets.h"
#include "shell/window_table.h"

namespace {

// The register whose layout the field and row rules of a window type read.
struct TypeRegister {
    int type, reg;
};
constexpr TypeRegister RuleRegisters[] = {
    {117, TRVc::Number},      {122, ProductionVc::Number}, {155, VIVc::Number},        {157, OPVc::Number},
    {197, PUVc::Number},      {268, TimeSheetVc::Number},  {272, QuotationVc::Number}, {290, PurchOrderVc::Number},
    {347, IVVc::Number},      {352, ORVc::Number},         {354, SHVc::Number},        {426, StockMoveVc::Number},
    {475, ExpenseVc::Number}, {476, PersPayVc::Number},
};

}  // namespace

bool WinRulesApply(int window)
{
    if (!WinIsOpen(window)) return false;
    int type = WinTypeOf(window);
    for (const TypeRegister &t : RuleRegisters)
        if (t.type == type) return WinRegisterOf(window) == t.reg;
    return true;
}

// Screen field F of an open window: a field before the matrix's first
// item (or any field of a window without a matrix) is a header field;
// the others are cells.
FieldPlace WinFieldPlace(int window, int F)
{
    FieldPlace p;
    if (!WinIsOpen(window)) return p;
    int first = 0, cells = 0;
    MatrixGeometry(window, &first, &cells);
    if (!WinHasMatrix(window) || first == 0 || cells == 0 || F < first) {
        p.id = WinFieldIdAt(window, F);
        return p;
    }
    MatrixRowAt(window, F, &p.row, &p.column);
    p.cell = WinFieldIdAtCell(window, F);
    return p;
}

void FieldChangedSplit(int window, int field, uint8_t changed, HeaderFieldStep header, RowCellStep cell)
{
    int first = 0, cells = 0;
    MatrixGeometry(window, &first, &cells);
    if (!WinHasMatrix(window) || field < first) {
        int id = WinFieldIdAt(window, field);
        if (id != NoField) header(window, id, changed);
        return;
    }
    cell(window, field, changed);
}

bool WinRowCellAt(int window, int F, int *row, int *column, int *cell)
{
    *row = *column = NoField;
    MatrixRowAt(window, F, row, column);
    *cell = WinFieldIdAtCell(window, F);
    return *row != NoField && *cell != NoField && *row >= 0 && *row < WinMatrixRowCount(window);
}
