// window_driver.h - what the record-window tests do to an open window in
// place of the frame: leave a field (window event 6, as after a commit),
// find a matrix cell's screen field, give the matrix empty rows, reach a
// row's bytes and read an amount. A fixture derives from it beside its
// data fixture and sets w when it opens the window.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/memblock.h"
#include "recordwin/record_windows.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

struct WindowDriver {
    int w = 0;

    // What Num gives for a blank amount: a value no field of the tests holds.
    static constexpr double BlankNum = -999999;

    uint8_t *Rec() { return WinRecordBuffer(w); }

    // Leaves screen field F as the framework does after a commit.
    void Leave(int F, uint8_t changed = 1)
    {
        int16_t field = int16_t(F);
        EXPECT_EQ(WindowEvent(w, 6, &field, &changed), 1);
    }
    void LeaveField(uint32_t at, uint8_t changed = 1) { Leave(WinScreenFieldOfOffset(w, at), changed); }

    // The screen field of a cell, by the window's own matrix geometry,
    // which must have cellsPerRow cells a row.
    int CellAt(int row, int column, int cellsPerRow)
    {
        int first = 0, cells = 0;
        MatrixGeometry(w, &first, &cells);
        EXPECT_EQ(cells, cellsPerRow);
        return first + row * cells + column;
    }

    // Gives the window n empty rows, cleared as the framework clears them.
    void Rows(int n)
    {
        ASSERT_TRUE(MatrixResize(w, n));
        MatrixRowsClear(w, 1, 0, n - 1);
    }

    // Row `row` of rows `size` bytes long.
    uint8_t *RowBytes(int row, uint32_t size)
    {
        MemBlock h = WinMatrixRows(w);
        uint8_t *p = MemLock(h);
        MemUnlock(h);   // the rows stay put while the test reads them
        return p + uint32_t(row) * size;
    }

    static double Num(const uint8_t *base, uint32_t at)
    {
        PackedDecimal d = GetDec(base, at);
        return DecIsBlank(&d) ? BlankNum : DecToDouble(&d);
    }
};
