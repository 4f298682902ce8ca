// voucher_link_field_test.cpp - the reference of a voucher's link rows as
// the voucher window supplies it: typed as "year.number" into the row,
// shown back the same way, and refused (the reference kept) when the text
// names no voucher.
#include <gtest/gtest.h>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "dict_offsets.h"
#include "platform/display.h"
#include "recordwin/record_windows.h"
#include "rules/series_terms.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/shell/invoice_frame.h"

namespace {

namespace Row = TRVc::Rows;

class VoucherLinkFieldTest : public InvoiceFixture {
protected:
    int w = 0, first = 0, cells = 0;
    void SetUp() override
    {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreInvoiceCompany();
        InvoiceFrameUp();
        if (HasFatalFailure()) return;
        w = OpenOrActivateWindow(117, 0, 0, false, 0);
        ASSERT_GT(w, 0);
        WinSetRecState(w, 1);
        MatrixGeometry(w, &first, &cells);
        ASSERT_GT(first, 0);
    }
    void TearDown() override
    {
        InvoiceFrameDown();
        InvoiceFixture::TearDown();
    }
    void PutKind(int row, uint16_t kind, uint16_t code, int32_t number)
    {
        uint8_t r[Row::Size] = {};
        PutU16(r, Row::Kind, kind);
        PutU16(r, Row::LinkYearCode, code);
        PutI32(r, Row::LinkSerNr, number);
        ASSERT_TRUE(MatrixRowPut(TRVc::Number, 0, WinRecordBuffer(w), row, r));
    }
    uint8_t RowByte(int row, uint32_t at, uint8_t *r)
    {
        EXPECT_TRUE(MatrixRowGet(TRVc::Number, 0, WinRecordBuffer(w), row, r));
        return r[at];
    }
    bool Take(int F, const char *typed)
    {
        uint8_t text[256];
        PStringFromC(text, typed);
        return WinFieldFromTextByType(w, WinRecordBuffer(w), F, text);
    }
    std::string ShownCell(int F)
    {
        uint8_t text[256];
        MatrixCellDisplayText(w, F, text);
        return PStringToStd(text);
    }
};

TEST_F(VoucherLinkFieldTest, ReferenceTypedShownAndRefused)
{
    uint8_t name[256];
    PStringFromC(name, "2024");
    uint16_t year = YearCodeByName(name);
    ASSERT_NE(year, 0);
    PutKind(0, 1, 0, 0);
    PutKind(1, 4, 0, 0);
    PutKind(2, 3, year, 7);
    int link = first + 1 * cells + 1, reference = first + 2 * cells + 1, account = first + 1;

    EXPECT_TRUE(Take(link, "2024:12"));
    uint8_t r[Row::Size];
    RowByte(1, 0, r);
    EXPECT_EQ(GetU16(r, Row::LinkYearCode), year);
    EXPECT_EQ(GetI32(r, Row::LinkSerNr), 12);
    EXPECT_EQ(GetU16(r, Row::Kind), 4);
    // Shown back as it reads again.
    std::string text = ShownCell(link);
    ASSERT_FALSE(text.empty());
    EXPECT_TRUE(Take(reference, text.c_str()));
    RowByte(2, 0, r);
    EXPECT_EQ(GetI32(r, Row::LinkSerNr), 12);

    // A year no fiscal year has, or no number: a beep, the reference kept.
    int beeps = PlBeepCount();
    EXPECT_FALSE(Take(link, "NOYEAR.5"));
    EXPECT_FALSE(Take(link, "2024.x"));
    EXPECT_EQ(PlBeepCount(), beeps + 2);
    RowByte(1, 0, r);
    EXPECT_EQ(GetI32(r, Row::LinkSerNr), 12);

    // An account row, another window type and a row beyond the rows supply nothing.
    EXPECT_FALSE(Take(account, "2024.3"));
    EXPECT_EQ(ShownCell(account), "");
    EXPECT_FALSE(Take(first + 9 * cells, "2024.3"));
    EXPECT_EQ(ShownCell(first + 9 * cells), "");
    RowByte(0, 0, r);
    EXPECT_EQ(GetI32(r, Row::LinkSerNr), 0);
    int other = OpenOrActivateWindow(347, 0, 0, false, 0);
    ASSERT_GT(other, 0);
    uint8_t typed[256];
    PStringFromC(typed, "2024.3");
    EXPECT_FALSE(WinFieldFromTextByType(other, WinRecordBuffer(other), first + 1, typed));
}

// The window gives each row kind its own cells: a link row's first cell
// shows the voucher it names, a reference row's also its date, and a
// correction row its user code, which only the program writes.
TEST_F(VoucherLinkFieldTest, CorrectionReferenceAndLinkRowsHaveCells)
{
    PutKind(0, 4, 0, 0);
    PutKind(1, 3, 0, 0);
    PutKind(2, 2, 0, 0);
    PutKind(3, 1, 0, 0);
    EXPECT_EQ(WinFieldIdAtCell(w, first), int(Row::LinkSerNr));
    EXPECT_EQ(WinFieldIdAtCell(w, first + cells), int(Row::LinkSerNr));
    EXPECT_EQ(WinFieldIdAtCell(w, first + cells + 1), int(Row::LinkDate));
    EXPECT_EQ(WinFieldIdAtCell(w, first + 2 * cells), int(Row::Code));
    EXPECT_EQ(WinFieldIdAtCell(w, first + 3 * cells), int(Row::Account));
    for (int state : {1, 2}) {
        EXPECT_EQ(WinFieldEditRules(w, first + 2 * cells, state, 0, 0), 0) << state;
        EXPECT_EQ(WinFieldEditRules(w, first + cells + 1, state, 0, 0), 0) << state;
    }
    EXPECT_EQ(WinFieldEditRules(w, first, 1, 0, 0), 1);
    EXPECT_EQ(WinFieldEditRules(w, first + 3 * cells, 1, 0, 0), 1);
}

}  // namespace
