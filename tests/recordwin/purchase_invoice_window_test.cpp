// purchase_invoice_window_test.cpp - the purchase-invoice window (type
// 155) driven as the framework drives it: fields committed (event 6), new
// rows (event 3), the edit and row questions (events 1, 4, 9), Enter
// (event 7) and button 1, over the purchase company of purchase_fixture.h
// in a headless frame.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "core/company_variant.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "platform/script.h"
#include "platform/window.h"
#include "recordwin/purchase_invoice_window.h"
#include "recordwin/record_windows.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "tests/operations/purchase_fixture.h"
#include "tests/shell/invoice_frame.h"

namespace {

namespace Row = VIVc::Rows;

// Screen fields of window 155: the row cells start at 24, seven a row
// (account, objects, text, amount, VAT code, project, credited invoice).
constexpr int FirstCell = 30, CellsPerRow = 7;
constexpr int ColAccount = 0, ColObjects = 1, ColAmount = 3;

class PurchaseInvoiceWindowTest : public PurchaseFixture {
protected:
    int w = 0;

    void SetUp() override {
        PurchaseFixture::SetUp();
        if (HasFatalFailure()) return;
        InvoiceFrameUp();
        if (HasFatalFailure()) return;
        w = OpenOrActivateWindow(WinTypes::PurchaseInvoice, 0, 0, false, 0);
        ASSERT_GT(w, 0);
        PutI32(Pi(), VIVc::SerNr, -1);
        PutText(Pi(), VIVc::VendCode, 20, "V1");
        PutDate(Pi(), VIVc::InvDate, DateRec{10, 6, 2024});
        PutDate(Pi(), VIVc::TransDate, DateRec{10, 6, 2024});
        WinSetRecState(w, 1);
        shown.clear();
    }
    void TearDown() override {
        CompanyVariantBind(CompanyBlock);
        InvoiceFrameDown();
        PurchaseFixture::TearDown();
    }

    uint8_t *Pi() { return WinRecordBuffer(w); }
    void Commit(int F, uint8_t changed = 1) {
        int16_t field = int16_t(F);
        EXPECT_EQ(WindowEvent(w, 6, &field, &changed), 1);
    }
    void CommitHeader(uint32_t offset) { Commit(WinScreenFieldOfOffset(w, offset)); }
    static int Cell(int row, int column) { return FirstCell + row * CellsPerRow + column; }
    uint8_t *RowAt(int row) {
        MemBlock h = WinMatrixRows(w);
        uint8_t *p = MemLock(h);
        MemUnlock(h);
        return p + uint32_t(row) * Row::Size;
    }
    // Types an account and an amount with a VAT code into row `row`.
    void TypeRow(int row, const char *account, double amount, const char *vat = "1") {
        if (WinMatrixRowCount(w) <= row) {
            ASSERT_TRUE(MatrixResize(w, row + 1));
            MatrixRowsClear(w, 1, row, row);
        }
        PutText(RowAt(row), Row::Account, 10, account);
        Commit(Cell(row, ColAccount));
        PutText(RowAt(row), Row::VatCode, 2, vat);
        PutDec(RowAt(row), Row::Amount, Dec(amount));
        Commit(Cell(row, ColAmount));
    }
    static PackedDecimal Blank() {
        PackedDecimal b;
        DecSetBlank(&b);
        return b;
    }
};

// A vendor invoice number that the vendor's other invoice has is told
// (1547) and kept; another vendor's, or the invoice's own once stored, is
// not.
TEST_F(PurchaseInvoiceWindowTest, DuplicateVendorInvoiceNumberIsToldAndKept) {
    uint32_t serial = 0;
    ASSERT_EQ(InsertPurchase({.vendor = "V1"}, {{.amount = 100}}, nullptr, &serial), RecDone);
    PutText(Pi(), VIVc::VendInvNr, 20, "VI-1");
    CommitHeader(VIVc::VendInvNr);
    EXPECT_TRUE(Told(Texts::RecordKeyExists));
    EXPECT_EQ(Text(Pi(), VIVc::VendInvNr), "VI-1");

    shown.clear();
    PutText(Pi(), VIVc::VendCode, 20, "V3");
    CommitHeader(VIVc::VendInvNr);
    EXPECT_FALSE(Told(Texts::RecordKeyExists)) << "another vendor may use the same number";

    shown.clear();
    PutText(Pi(), VIVc::VendCode, 20, "V1");
    PutI32(Pi(), VIVc::SerNr, int32_t(serial));
    CommitHeader(VIVc::VendInvNr);
    EXPECT_FALSE(Told(Texts::RecordKeyExists)) << "the stored invoice itself is no duplicate";
}

// The rows' VAT follows them into the computed VAT, by VAT code; with VAT
// treatment 2 the computed VAT is the typed one and stays.
TEST_F(PurchaseInvoiceWindowTest, RowsVatFollowsTheRowsExceptUnderTreatmentTwo) {
    TypeRow(0, PurchaseCo::Costs, 400);
    TypeRow(1, PurchaseCo::Costs, 100, "2");
    TypeRow(2, PurchaseCo::Costs, 50, "");
    EXPECT_EQ(Num(Pi(), VIVc::VatComputed), 112);

    PutU16(Pi(), VIVc::VatTreatment, 2);
    PutDec(Pi(), VIVc::VatComputed, Dec(77));
    TypeRow(0, PurchaseCo::Costs, 800);
    int16_t row = 0;
    EXPECT_EQ(WindowEvent(w, 12, &row, nullptr), 1);
    EXPECT_EQ(Num(Pi(), VIVc::VatComputed), 77);
}

// Button 1 gives the current row what is left to distribute: without VAT
// entered, less the VAT part of its code; with VAT entered, all of it.
TEST_F(PurchaseInvoiceWindowTest, BalancingARowLeavesItsVatOutUnlessVatWasEntered) {
    PutDec(Pi(), VIVc::InvAmount, Dec(1250));
    PutDec(Pi(), VIVc::VatEntered, Blank());
    TypeRow(0, PurchaseCo::Costs, 400);
    TypeRow(1, PurchaseCo::Costs, 0);
    ASSERT_TRUE(WinGotoField(w, Cell(1, ColAccount), false));
    int16_t button = 1;
    EXPECT_EQ(WindowEvent(w, 23, nullptr, &button), 1);
    EXPECT_EQ(Num(RowAt(1), Row::Amount), 600);
    EXPECT_EQ(Num(Pi(), VIVc::VatComputed), 250);
    EXPECT_EQ(WinFocusFieldNumber(w), Cell(1, ColAmount));

    PutDec(Pi(), VIVc::VatEntered, Dec(200));
    ASSERT_TRUE(WinGotoField(w, Cell(1, ColAccount), false));
    EXPECT_EQ(WindowEvent(w, 23, nullptr, &button), 1);
    EXPECT_EQ(Num(RowAt(1), Row::Amount), 650);

    // Enter on a blank amount balances the row and stays there.
    PutDec(Pi(), VIVc::VatEntered, Blank());
    PutDec(RowAt(1), Row::Amount, Blank());
    ASSERT_TRUE(WinGotoField(w, Cell(1, ColAmount), false));
    uint16_t F = uint16_t(Cell(1, ColAmount));
    EXPECT_EQ(WindowEvent(w, 7, &F, nullptr), 0);
    EXPECT_EQ(Num(RowAt(1), Row::Amount), 600);
    EXPECT_EQ(WinFocusFieldNumber(w), Cell(1, ColAmount));
}

// A new row of any kind names no credited invoice; rows of a stored approved
// invoice, and its credited-invoice row, cannot be deleted; rows are
// inserted only in a new invoice.
TEST_F(PurchaseInvoiceWindowTest, CreditedRowsAndRowQuestions) {
    uint8_t rows[2 * Row::Size] = {};
    PutU16(rows + Row::Size, Row::Kind, 3);
    int16_t row = 1;
    EXPECT_EQ(WindowEvent(w, 3, rows, &row), 1);
    EXPECT_EQ(GetI32(rows + Row::Size, Row::CredSerNr), -1);
    row = 0;
    EXPECT_EQ(WindowEvent(w, 3, rows, &row), 1);
    EXPECT_EQ(GetI32(rows, Row::CredSerNr), -1) << "an account row credits no invoice either";

    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 1);
    ASSERT_TRUE(MatrixResize(w, 2));
    MatrixRowsClear(w, 1, 0, 1);
    PutU16(RowAt(0), Row::Kind, 3);
    PutU16(RowAt(1), Row::Kind, 1);
    uint8_t stored[VIVc::Size] = {};
    std::memcpy(stored, Pi(), VIVc::Size);
    WinTable[w]->stored = stored;
    WinSetRecState(w, 2);
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 0);
    row = 0;
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 0) << "the credited-invoice row stays";
    row = 1;
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 1);
    PutU16(stored, VIVc::Approved, 1);
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 0) << "an approved invoice keeps its rows";

    // Approved (stored): neither flag may change; the VAT treatment only
    // under company variant 15.
    int16_t field = 1;
    uint16_t offset = VIVc::Approved;
    EXPECT_EQ(Win155Event(w, 1, &field, &offset), 0);
    offset = VIVc::Preliminary;
    EXPECT_EQ(Win155Event(w, 1, &field, &offset), 0);
    offset = VIVc::VendName;
    EXPECT_EQ(Win155Event(w, 1, &field, &offset), 1);
    offset = VIVc::VatTreatment;
    EXPECT_EQ(Win155Event(w, 1, &field, &offset), 0);
    uint8_t company[CompanyBlk::Size] = {};
    PutU16(company, CompanyBlk::CompanyVariant, 15);
    CompanyVariantBind(company);
    EXPECT_EQ(Win155Event(w, 1, &field, &offset), 1);
    CompanyVariantBind(CompanyBlock);
    WinTable[w]->stored = nullptr;
    WinSetRecState(w, 1);
}

// The payment reference is checked by the 7-3-1 rule under company
// variant 13 and by the modulus 10 or 11 rule under 9; other variants
// take any reference.
TEST_F(PurchaseInvoiceWindowTest, ReferenceChecksByCompanyVariant) {
    uint8_t company[CompanyBlk::Size] = {};
    CompanyVariantBind(company);
    struct Case {
        uint16_t variant;
        const char *ref;
        bool told;
    } cases[] = {{13, "12345", true}, {13, "12344", false}, {13, "12343", true}, {9, "12345", true},
                 {9, "12344", false}, {9, "12343", false}, {0, "12345", false}};
    for (const Case &c : cases) {
        PutU16(company, CompanyBlk::CompanyVariant, c.variant);
        shown.clear();
        PutText(Pi(), VIVc::PayRef, 20, c.ref);
        CommitHeader(VIVc::PayRef);
        EXPECT_EQ(Told(Texts::PurchaseRefInvalid), c.told) << c.variant << " " << c.ref;
        EXPECT_EQ(Text(Pi(), VIVc::PayRef), c.ref);
    }
}

// An account fills its row's name and VAT code (the invoice's, else the
// account's, else block 155's); an unknown one shows 1023 and beeps; a
// follow-up account gets a row of its own below.
TEST_F(PurchaseInvoiceWindowTest, AccountLookupNamesVatCodesAndFollowUps) {
    ChangeBlock(PurchAccountsBlk::Number, PurchAccountsBlk::Size,
                [](uint8_t *a) { PutText(a, PurchAccountsBlk::VatCodeT0, 2, "2"); });
    StoreRecord(ACVc::Number, [](uint8_t *r) {
        PutText(r, ACVc::Code, 10, "5020");
        PutText(r, ACVc::Name, 60, "Rent");
        PutText(r, ACVc::VatCode, 2, "0");
        PutText(r, ACVc::FollowUp, 10, PurchaseCo::Costs);
    });
    ASSERT_TRUE(MatrixResize(w, 1));
    MatrixRowsClear(w, 1, 0, 0);
    PutText(RowAt(0), Row::Account, 10, PurchaseCo::Costs);
    Commit(Cell(0, ColAccount));
    EXPECT_EQ(Text(RowAt(0), Row::Text), PurchaseCo::Costs);
    EXPECT_EQ(Text(RowAt(0), Row::VatCode), "2") << "block 155's code for ordinary VAT";

    PutText(RowAt(0), Row::Account, 10, "5020");
    Commit(Cell(0, ColAccount));
    EXPECT_EQ(Text(RowAt(0), Row::Text), "Rent");
    EXPECT_EQ(Text(RowAt(0), Row::VatCode), "0");
    ASSERT_EQ(WinMatrixRowCount(w), 2);
    EXPECT_EQ(Text(RowAt(1), Row::Account), PurchaseCo::Costs);

    PutText(Pi(), VIVc::VatCode, 2, "1");
    PutText(RowAt(1), Row::Account, 10, PurchaseCo::Costs);
    Commit(Cell(1, ColAccount));
    EXPECT_EQ(Text(RowAt(1), Row::VatCode), "1") << "the invoice's own code first";

    int beeps = PlBeepCount();
    PutText(RowAt(1), Row::Account, 10, "9999");
    Commit(Cell(1, ColAccount));
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    uint8_t unknown[256];
    GetUiText(unknown, Texts::AccountNameMissing);
    EXPECT_EQ(Text(RowAt(1), Row::Text), std::string((const char *)unknown + 1, unknown[0]));
    // Committed unchanged with the 1023 name, it is looked up again.
    PutText(RowAt(1), Row::Account, 10, PurchaseCo::Costs);
    Commit(Cell(1, ColAccount), 0);
    EXPECT_EQ(Text(RowAt(1), Row::Text), PurchaseCo::Costs);
}

// A vendor fills the invoice (name, currency, terms) and an unknown one
// beeps and leaves it; a template expands into rows, percentages of the
// row above, "=" balancing and "%%" rounding; the VAT default proposes
// the VAT from block 153's percentage.
TEST_F(PurchaseInvoiceWindowTest, VendorFillTemplatesAndVatDefault) {
    PutText(Pi(), VIVc::VendCode, 20, "V2");
    CommitHeader(VIVc::VendCode);
    EXPECT_EQ(Text(Pi(), VIVc::VendName), "Euro Vendor");
    EXPECT_EQ(Text(Pi(), VIVc::CurncyCode), "EUR");
    int beeps = PlBeepCount();
    PutText(Pi(), VIVc::VendCode, 20, "NOBODY");
    CommitHeader(VIVc::VendCode);
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(Text(Pi(), VIVc::VendName), "Euro Vendor");

    StoreRecord(AUVc::Number, [](uint8_t *t) {
        PutText(t, AUVc::Code, 10, "TPL");
        PutText(t, AUVc::Name, 60, "Split");
        const char *rows[][4] = {{PurchaseCo::Costs, "1000", "", "1"},
                                 {PurchaseCo::Costs, "10%%", "", "1"},
                                 {"#", "x", "", "1"},
                                 {PurchaseCo::Costs, "=", "", "1"}};
        for (int i = 0; i < 4; i++) {
            uint8_t r[AUVc::Rows::Size] = {};
            PutText(r, AUVc::Rows::Account, 10, rows[i][0]);
            PutText(r, AUVc::Rows::DebitText, 20, rows[i][1]);
            PutText(r, AUVc::Rows::CreditText, 20, rows[i][2]);
            PutText(r, AUVc::Rows::VatCode, 2, rows[i][3]);
            ASSERT_TRUE(MatrixRowPut(AUVc::Number, 0, t, i, r));
        }
    });
    PutDec(Pi(), VIVc::InvAmount, Dec(2000));
    PutDec(Pi(), VIVc::VatEntered, Dec(400));
    ASSERT_TRUE(MatrixResize(w, 1));
    MatrixRowsClear(w, 1, 0, 0);
    PutText(RowAt(0), Row::Account, 10, "TPL");
    Commit(Cell(0, ColAccount));
    ASSERT_GE(WinMatrixRowCount(w), 4);
    EXPECT_EQ(Num(RowAt(0), Row::Amount), 1000);
    EXPECT_EQ(Num(RowAt(1), Row::Amount), 100);
    EXPECT_TRUE(DecIsBlank(reinterpret_cast<const PackedDecimal *>(RowAt(2) + Row::Amount)) ||
                Num(RowAt(2), Row::Amount) == 0)
        << "a text that is no number gives no amount";
    EXPECT_EQ(Text(RowAt(2), Row::Account), PurchaseCo::Costs);
    EXPECT_EQ(Num(RowAt(3), Row::Amount), 500) << "what is left of 2000 less 400 VAT";
    EXPECT_EQ(Text(RowAt(3), Row::VatCode), "1");
    // ORVEL_ROAD_SHOTS names a folder for a picture of the window, to look at.
    if (const char *shots = std::getenv("ORVEL_ROAD_SHOTS")) {
        WinRecordRefresh(w);
        EXPECT_TRUE(WinSavePng(WinTable[w]->mdiChild, std::string(shots) + "/purchase_invoice_window.png"));
    }

    uint8_t entry[PurchInvEntryBlk::Size] = {};
    PutU16(entry, PurchInvEntryBlk::VatPctDefault, 1);
    PutText(entry, PurchInvEntryBlk::VatPct, 11, "20");
    StoreBlock(PurchInvEntryBlk::Number, entry, PurchInvEntryBlk::Size);
    PutDec(Pi(), VIVc::InvAmount, Dec(1250));
    CommitHeader(VIVc::InvAmount);
    EXPECT_EQ(Num(Pi(), VIVc::VatEntered), 250);
    PutU16(Pi(), VIVc::VatTreatment, 1);
    PutDec(Pi(), VIVc::InvAmount, Dec(500));
    CommitHeader(VIVc::InvAmount);
    EXPECT_EQ(Num(Pi(), VIVc::VatEntered), 250) << "only ordinary VAT is proposed";
    (void)ColObjects;
}

}  // namespace
