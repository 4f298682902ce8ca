// small_windows_fixture.h - the smaller record windows driven as the
// framework drives them, over the invoice company of invoice_fixture.h
// in a headless frame, with the window layouts of small_windows_dict.h.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/interface_load.h"
#include "database/access/settings_binding.h"
#include "database/access/settings_blocks.h"
#include "core/record_buffer.h"
#include "platform/script.h"
#include "recordwin/record_windows.h"
#include "shell/matrix_editing.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/shell/invoice_frame.h"
#include "tests/recordwin/small_windows_dict.h"

class SmallWindowsFixture : public InvoiceFixture {
protected:
    void SetUp() override
    {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreInvoiceCompany();
        const std::vector<uint8_t> &bytes = SmallWindowsInterface();
        ASSERT_FALSE(bytes.empty());
        std::string error;
        InterfaceUnload();
        ASSERT_TRUE(LoadDefinitionsFromBytes(bytes.data(), bytes.size(), &error, "test.WIN")) << error;
        // The settings blocks bind to the descriptors of the file loaded.
        ASSERT_TRUE(SettingsStartup());
        InvoiceFrameUp();
        shown.clear();
    }
    void TearDown() override
    {
        InvoiceFrameDown();
        InvoiceFixture::TearDown();
    }

    // Opens a new record in a window of the type.
    int OpenNew(int type)
    {
        int w = OpenOrActivateWindow(type, 0, 0, false, 0);
        EXPECT_GT(w, 0) << type;
        if (w > 0) WinSetRecState(w, 1);
        return w;
    }
    static uint8_t *Rec(int w) { return WinRecordBuffer(w); }
    // Gives window w n rows, cleared as the framework clears them.
    static void Rows(int w, int n)
    {
        ASSERT_TRUE(MatrixResize(w, n));
        MatrixRowsClear(w, 1, 0, n - 1);
    }
    // Row `row` of window w's rows, laid out in rows of `size` bytes.
    static uint8_t *RowAt(int w, int row, uint32_t size)
    {
        MemBlock h = WinMatrixRows(w);
        uint8_t *p = MemLock(h);
        MemUnlock(h);   // the rows stay put while the test reads them
        return p + uint32_t(row) * size;
    }
    // Leaves screen field F as the framework does after a commit.
    static void Leave(int w, int F, uint8_t changed = 1)
    {
        int16_t field = int16_t(F);
        EXPECT_EQ(WindowEvent(w, 6, &field, &changed), 1);
    }
    // Puts text into the record's text field at `at` (of at most max
    // characters) and leaves screen field F, as typing it would.
    static void TypeAndLeave(int w, uint32_t at, int max, const char *text, int F)
    {
        PutText(WinRecordBuffer(w), at, max, text);
        Leave(w, F);
    }
    // Event `event` about row `row` as the row commands ask it.
    static uint8_t RowAsk(int w, int event, int row)
    {
        int16_t r = int16_t(row);
        return WindowEvent(w, event, &r, nullptr);
    }
};
