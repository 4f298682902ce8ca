// doc_item_rows.cpp - what the document windows share about item rows:
// an item's further text lines put as rows after its row, and a part as
// a percentage of a base (the gross-profit percentage).
#include <cassert>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"
#include "recordwin/record_windows.h"
#include "rules/documents.h"
#include "shell/matrix_editing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

// For n = 2, 3, ... the item's n-th text line in language lang becomes an
// empty row of kind 1 at row + n - 1 with the line in its text cell
// (textCell is the cell's byte in the row); stops at the first n without
// a line, or when the matrix is full.
void DocItemTextRows(int window, const uint8_t *item, const uint8_t *lang, int textCell, int row)
{
    assert(item && lang && textCell >= 0);
    if (!WinIsOpen(window) || row < 0) return;
    MemBlock texts = RecMatrixHandle(INVc::Number, item);
    if (texts == 0) return;
    static const uint8_t none[1] = {0};
    int rowSize, kindAt;
    MatrixColumnInfo(window, 0, &rowSize, &kindAt);
    // The text cell is a text field of the row; its length limits the line.
    constexpr int TextCellMax = 100;
    if (textCell + TextFieldWidth(TextCellMax) > rowSize) return;
    for (int n = 2;; n++) {
        uint8_t line[256];
        if (!NthRowWithCode(n, line, texts, lang, none)) return;
        int at = row + n - 1;
        int before = WinMatrixRowCount(window);
        if (at < before) {
            WinMatrixInsertRow(window, at, 1);
        } else if (at == before && before < MatrixMaxRows(window) && MatrixResize(window, before + 1)) {
            MatrixRowsClear(window, 1, at, at);   // after the last row: the rows grow by one
        }
        if (WinMatrixRowCount(window) != before + 1) return;   // not inserted: full or memory short
        MemBlock rows = WinMatrixRows(window);
        uint8_t *data = MemLock(rows);
        if (!data) return;
        uint8_t *r = data + uint32_t(at) * uint32_t(rowSize);
        // Rows without a kind word of the matrix's own keep their kind in
        // their first word, as the document registers' rows do.
        if (kindAt == NoEntryOffset) PutU16(r, 0, 1);
        PutPString(r, uint32_t(textCell), TextCellMax, line);
        MemUnlock(rows);
        WinMatrixDrawRow(window, at, uint32_t(textCell), 0);
        WinMatrixDrawRow(window, at, 0, 0);
    }
}

// result = part x 100 / base, rounded to 2 decimals; blank when the base
// is zero or blank.
void PercentOf(const PackedDecimal *base, const PackedDecimal *part, PackedDecimal *result)
{
    assert(base && part && result);
    if (DecIsZero(base)) {
        DecSetBlank(result);
        return;
    }
    PackedDecimal hundred, scaled, quotient;
    DecFromLong(&hundred, 100);
    DecMul(part, &hundred, &scaled);
    DecDiv(&scaled, base, &quotient);
    DecRound(&quotient, 2, result);
}
