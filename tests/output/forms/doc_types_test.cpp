// doc_types_test.cpp - document types: field values and row ranges,
// label grids, form selection and the shared value operations.
#include <gtest/gtest.h>

#include <vector>

#include <string>

#include "core/barcode_tables.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"
#include "output/forms/forms.h"
#include "output/output_job.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/output/test_job.h"

namespace {
std::string S(const uint8_t *p) { return PStringToStd(p); }

class DocTypesTest : public InvoiceCompanyFixture {
protected:
    void SetUp() override {
        InvoiceCompanyFixture::SetUp();
        if (!HasFatalFailure()) SettingsBlockLoad(CompanyBlk::Number);
    }
    // Stores invoice f with rows and reads it back into inv as the forms
    // read it (its rows freed by the caller).
    void StoredInvoice(const FixtureInvoice &f, std::initializer_list<FixtureInvoiceRow> rows, uint8_t *inv) {
        ASSERT_NE(StoreInvoice(f, rows), 0u);
        RecClear(IVVc::Number, inv);
        PutI32(inv, IVVc::SerNr, f.serial);
        uint32_t id = 0, pos = 0;
        ASSERT_TRUE(RecFindByIndex(IVVc::Number, "SerNr", inv, 1, 1, &id, &pos));
    }
    // The value of field code (own text text) for doctype and row.
    std::string Value(int16_t doctype, int16_t code, const char *text = " A own", int16_t row = 0) {
        uint8_t field[256], out[256];
        PStringFromC(field, text);
        DocFieldValue(doctype, field, code, row, out, FormDefBuffer);
        return S(out);
    }
};

TEST_F(DocTypesTest, FieldValuesByDoctypeAndCode) {
    FormPageNr = 1;
    FormRowsPerPage = 20;
    struct Case { int16_t doctype, code, row, rows; const char *text, *want; } cases[] = {
        {-2, 1, 0, 1, " A own", " A own"},               // a code no provider knows
        {-9, 55, 0, 1, " A own", " A own"},              // -9 and -5 keep their text
        {-5, 64, 0, 1, " A own", " A own"},
        {-1, 55, 0, 1, " A own", " A own"},              // outside the table
        {-2, 62, 1, 1, " A own", "Orvel Test AB"},
        {-2, 62, 3, 1, " A own", "111 22 Stockholm"},
        {-2, 62, 4, 1, " A own", ""},
        {-2, 64, 0, 20, " A own", "1/1"},
        {-2, 64, 0, 21, " A own", "1/2"},
        {-2, 64, 0, 0, " A own", "1/1"},
        {-2, 335, 0, 1, " T  Paid with thanks", "Paid with thanks"},
        {-2, 54, 0, 1, " A own", ""},                    // no copy label
    };
    for (const Case &c : cases) {
        FormRowCount = c.rows;
        EXPECT_EQ(Value(c.doctype, c.code, c.text, c.row), c.want) << c.doctype << " code " << c.code;
    }
}

TEST_F(DocTypesTest, RowRangesOfInvoicePagesAndFixedCodes) {
    uint8_t inv[IVVc::Size];
    ASSERT_NO_FATAL_FAILURE(StoredInvoice({}, {{"ITEM1", 1, 100}, {"ITEM2", 1, 50, "2"}, {"SERVICE", 1, 700}}, inv));
    FormDocRecord = inv;
    InvoiceRowExtras(inv);   // the VAT summary, as the print's start builds it
    FormRowsPerPage = 2;
    struct Case { int16_t doctype, code, firstRow, first, last; } cases[] = {
        {-2, 8, 0, 0, 1},      // page 1 of rows 0..2 at 2 a page
        {-2, 8, 2, 2, 2},      // page 2 stops at the last row
        {-2, 4, 0, 1, 4},      // fixed address lines
        {-2, 33, 0, 1, 2},     // VAT summary: two codes used
        {-2, 62, 0, 1, 4},     // address codes for every doctype
        {-2, 63, 0, 2, 4},
        {-9, 63, 0, 2, 4},
        {-2, 99, 0, 0, 0},     // not ranged
        {-9, 8, 0, 0, 0},
        {-10, 3, 0, 1, 4},
    };
    for (const Case &c : cases) {
        FormFirstRow = c.firstRow;
        int16_t first = 0, last = 0;
        DocFieldRowRange(c.doctype, c.code, &first, &last);
        EXPECT_EQ(first, c.first) << c.doctype << " code " << c.code;
        EXPECT_EQ(last, c.last) << c.doctype << " code " << c.code;
    }
    InvoiceExtrasFree();
    RecFreeMatrix(IVVc::Number, inv);
    FormDocRecord = nullptr;
}

TEST_F(DocTypesTest, LabelGridsByLayoutWord) {
    struct Case { int16_t doctype, layout; bool grid; int16_t cols, rows; } cases[] = {
        {-25, 0, true, 2, 8}, {-25, 1, true, 3, 8}, {-13, 5, true, 0, 0}, {-21, 2, true, 3, 8},
        {-27, 9, true, 1, 1}, {-2, 0, false, 0, 0},
    };
    for (const Case &c : cases) {
        PutI16(TestJob, ReportParamsVc::ReportLayout, c.layout);
        int16_t cols = -1, rows = -1;
        EXPECT_EQ(LabelGrid(c.doctype, &cols, &rows), c.grid) << c.doctype;
        EXPECT_EQ(cols, c.cols) << c.doctype;
        EXPECT_EQ(rows, c.rows) << c.doctype;
    }
}

// A run over a job record of its own prints its labels by that record's
// layout, not the test's job's, and the test's job's again once it ends.
TEST_F(DocTypesTest, LabelGridFollowsTheRunningJob) {
    PutI16(TestJob, ReportParamsVc::ReportLayout, 0);
    std::vector<uint8_t> own(ReportParamsSize, 0);
    PutI16(own.data(), ReportParamsVc::ReportLayout, 1);
    int16_t cols = -1, rows = -1;
    {
        OutputJobAttach running(own.data());
        ASSERT_TRUE(LabelGrid(-25, &cols, &rows));
        EXPECT_EQ(cols, 3);
    }
    ASSERT_TRUE(LabelGrid(-25, &cols, &rows));
    EXPECT_EQ(cols, 2);
}

TEST_F(DocTypesTest, LoadReadsCustomerAndCountsRows) {
    uint8_t inv[IVVc::Size];
    ASSERT_NO_FATAL_FAILURE(StoredInvoice({.customer = "C2"}, {{"ITEM1", 1, 100}, {"ITEM2", 2, 50}}, inv));
    FormDocRecord = inv;
    FormCopyCount = 3;
    uint8_t title[256];
    ASSERT_TRUE(DocLoad(-2, title));
    EXPECT_EQ(FormRowCount, 2);
    EXPECT_EQ(FormCopyCount, 1);   // not posted: one copy
    EXPECT_EQ(S(title).substr(S(title).size() - 5), " 1001");
    uint8_t code[256];
    ::GetText(FormCustomer, CUVc::Code, code);
    EXPECT_EQ(S(code), "C2");
    DocUnload(-2);
    ::GetText(FormCustomer, CUVc::Code, code);
    EXPECT_EQ(S(code), "");
    // A missing customer leaves its values empty; no record cannot load.
    ::PutText(inv, IVVc::CustCode, (const uint8_t *)"\x04NONE");
    ASSERT_TRUE(DocLoad(-2, title));
    ::GetText(FormCustomer, CUVc::Code, code);
    EXPECT_EQ(S(code), "");
    DocUnload(-2);
    FormDocRecord = nullptr;
    EXPECT_FALSE(DocLoad(-2, title));
    EXPECT_TRUE(DocLoad(-5, title));
    RecFreeMatrix(IVVc::Number, inv);
}

TEST_F(DocTypesTest, FormSelectionByPassAndLanguage) {
    // Rows: 0 the fixture's (any language, first pass); 1 language "EN"
    // for pass 1; 2 any language for pass 2.
    auto row = [&](const char *lang, int32_t pass, const char *form) {
        AddRow(InvoiceFormBlk::Number, InvoiceFormBlk::Rows::Size, [&](uint8_t *r) {
            PutText(r, InvoiceFormBlk::Rows::LangCode, 5, lang);
            PutI32(r, InvoiceFormBlk::Rows::SeriesStart, -1);
            PutText(r, InvoiceFormBlk::Rows::FormName, 20, form);
            PutI32(r, InvoiceFormBlk::Rows::CopyPass, pass);
        });
    };
    row("EN", 1, "ENGLISH");
    row("", 2, "SECOND");
    StoreRecord(DocVc::Number, [&](uint8_t *r) {
        PutText(r, DocVc::Code, 20, "ENGLISH");
        PutU16(r, DocVc::RowsPerPage, 10);
        PutU16(r, DocVc::Copies, 2);
        PutText(r, DocVc::CopyLabel2, 60, "Copy");
    });
    uint8_t inv[IVVc::Size] = {};
    PutI32(inv, IVVc::SerNr, 5);
    PutU16(inv, IVVc::InvType, 1);
    FormDocRecord = inv;
    struct Case { const char *lang; int16_t pass; const char *form; int16_t copies; } cases[] = {
        {"EN", 1, "ENGLISH", 2}, {"SV", 1, "INVOICE", 1}, {"SV", 2, "SECOND", 1}, {"SV", 3, "", 1},
    };
    for (const Case &c : cases) {
        ::PutText(inv, IVVc::LangCode, (const uint8_t *)std::string(1, (char)strlen(c.lang)).append(c.lang).c_str());
        uint8_t name[256], printer[256];
        uint16_t dest = 0;
        FormRowsPerPage = 20;
        DocFormSelect(-2, name, printer, &dest, c.pass, FormDefBuffer);
        EXPECT_EQ(S(name), c.form) << c.lang << " pass " << c.pass;
        EXPECT_EQ(FormCopyCount, c.copies) << c.lang << " pass " << c.pass;
        if (std::string(c.form) == "ENGLISH") {
            EXPECT_EQ(FormRowsPerPage, 10);
            FormCopyNr = 2;
            EXPECT_EQ(Value(-2, 54), "Copy");
        }
    }
    RecFreeMatrix(DocVc::Number, FormDefBuffer);
    std::memset(FormDefBuffer, 0, sizeof FormDefBuffer);
    FormDocRecord = nullptr;
}

TEST_F(DocTypesTest, SharedTextOperations) {
    uint8_t in[256], out[256], want[256], bars[256];
    // EAN: short digits padded and checked; 13 digits need a right check
    // digit; anything else prints as plain text.
    PStringFromC(in, "1234");
    Ean13Digits(in, out);
    PStringFromC(want, "0000000012348");
    ASSERT_TRUE(Ean13BarcodeText(want, bars));
    EXPECT_EQ(S(out), S(bars));
    for (const char *plain : {"12A4", "0000000012340", "12345678901234", ""}) {
        PStringFromC(in, plain);
        Ean13Digits(in, out);
        EXPECT_EQ(S(out), plain);
    }
    PStringFromC(in, "0000000012348");
    Ean13Digits(in, out);
    EXPECT_EQ(S(out), S(bars));

    struct TextCase { void (*op)(const uint8_t *, uint8_t *); const char *in, *want; } texts[] = {
        {BracketText, "123", "*123*"}, {BracketText, "", ""},
        {GroupByThrees, "1234567", " 123 456 7"}, {GroupByThrees, "", ""},
    };
    for (const TextCase &c : texts) {
        PStringFromC(in, c.in);
        c.op(in, out);
        EXPECT_EQ(S(out), c.want) << c.in;
    }
    uint8_t postal[256], town[256];
    PStringFromC(in, "111 22 Stockholm");
    SplitPostalCity(in, postal, town);
    EXPECT_EQ(S(postal), "111 22");
    EXPECT_EQ(S(town), "Stockholm");

    int32_t v = 42;
    PadNumber((const uint8_t *)&v, 19, 5, '0', true, out);
    EXPECT_EQ(S(out), "00042");
    v = 1234567;
    PadNumber((const uint8_t *)&v, 19, 3, ' ', false, out);
    EXPECT_EQ(S(out), "123");

    KindText(3, out);
    EXPECT_FALSE(S(out).empty());
    KindText(7, out);
    EXPECT_EQ(S(out), "");
    // Lookups of codes nobody has give empty texts (the unit its code).
    PStringFromC(in, "XX");
    uint8_t lang[256] = {0};
    Register23Text(in, lang, out);
    EXPECT_EQ(S(out), "");
    UnitTextByLanguage(lang, in, out);
    EXPECT_EQ(S(out), "XX");
    // No terms "K": block 131's payment mode, found also when nothing has
    // read the modes since the company's settings were (re)loaded.
    MemFree(&PaymentModeRows);
    SettingsBlocksReload();
    PStringFromC(in, "K");
    PaymentTermsText(in, lang, out);
    EXPECT_EQ(S(out), "Cash");
    InvoiceText290(424242, out);
    EXPECT_EQ(S(out), "");
}
}  // namespace
