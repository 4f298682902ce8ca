// window_rows.cpp - where a screen field of a record window lies: a
// header field by its record byte, a row cell by row, column and byte.
#include "recordwin/window_rows.h"

#include "dict_offsets.h"
#include "shell/matrix_editing.h"
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

int WinCurrentRow(int window)
{
    if (!WinIsOpen(window)) return -1;
    int first = 0, cells = 0, row = -1, column = 0;
    MatrixGeometry(window, &first, &cells);
    int F = WinFocusFieldNumber(window);
    if (WinHasMatrix(window) && F >= first) MatrixRowAt(window, F, &row, &column);
    else row = WinSelectedRow(window);
    return row >= 0 && row < WinMatrixRowCount(window) ? row : -1;
}

bool WinRowInsertAt(int window, int row, int kind)
{
    if (!WinIsOpen(window) || !WinHasMatrix(window)) return false;
    int count = WinMatrixRowCount(window);
    if (row < 0 || row > count) return false;
    if (row < count) WinMatrixInsertRow(window, row, kind);
    else if (MatrixResize(window, count + 1)) MatrixRowsClear(window, kind, row, row);
    return WinMatrixRowCount(window) == count + 1;
}
