// form_print_test.cpp - the form print run: pages per copy, the form's
// rows-per-page word, items drawn last row first with their fonts and
// thicknesses, a stopped page ending the run, the run's refusals and the
// invoice print kinds when nothing prints.
//
// The run prints through the output operations on the server road: each
// operation becomes an output command, which the tests decode back into
// the calls the run made.
#include "tests/operations/invoice_fixture.h"
#include "tests/output/printing_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/format_block.h"
#include "core/msg_buffer.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "operations/sales_invoice.h"
#include "output/forms/doc_def_lookup.h"
#include "output/devices/device_table.h"
#include "output/forms/forms.h"
#include "tests/output/test_job.h"

namespace {

using Bytes = std::vector<uint8_t>;
std::vector<Bytes> Pushes;
bool StopAfterFirstPage = false;

// One decoded form operation.
struct FormCall {
    uint16_t op;
    std::string text;      // text of a text item or page start
    double top = 0;        // rectangle top
    double thickness = 0;  // line or box
    std::string font;      // the font record's name
};

class FormPrint : public Printing<InvoiceFixture> {
protected:
    void SetUp() override
    {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        ResetOutputJobState();
        MsgReset(&OutputMessage);
        Pushes.clear();
        StopAfterFirstPage = false;
        savedPush_ = MsgSetPush([](MsgBuffer *m) {
            Pushes.emplace_back(MsgData(m), MsgData(m) + MsgLength(m));
            // A message ending in a page end: Esc seen as page 1 ends.
            MsgBuffer end;
            MsgPutWord(&end, RepOp::FormPageEnd);
            const Bytes &b = Pushes.back();
            if (StopAfterFirstPage && b.size() >= 2 && std::equal(b.end() - 2, b.end(), MsgData(&end)))
                RepStopped = 1;
            MsgClear(&end);
        });
        RemoteOutput = 1;
        FormRowsPerPage = 20;
        FormFirstRow = FormRowCount = 0;
        FormCopyCount = 1;
        FormDefLoaded = 3;
    }
    void TearDown() override
    {
        RemoteOutput = 0;
        RunMode = 0;
        MsgSetPush(savedPush_);
        MsgReset(&OutputMessage);
        ResetOutputJobState();
        FormDefLoaded = 0;
        InvoiceFixture::TearDown();
    }

    // A font record named name with face.
    void StoreFont(const char *name, const char *face)
    {
        StoreRecord(FontVc::Number, [&](uint8_t *r) {
            PutText(r, FontVc::Name, 20, name);
            PutText(r, FontVc::WinFontName, 20, face);
        });
    }
    // A form definition named name, its rows-per-page word and items.
    template <typename Items>
    void StoreForm(const char *name, int16_t rowsPerPage, Items items)
    {
        StoreRecord(DocVc::Number, [&](uint8_t *r) {
            PutText(r, DocVc::Code, 20, name);
            PutI16(r, DocVc::RowsPerPage, rowsPerPage);
            items(r);
        });
    }
    // The form definition named name, read as the run reads it (rows
    // freed by the caller through Free).
    std::vector<uint8_t> Load(const char *name)
    {
        std::vector<uint8_t> def(DocVc::Size, 0);
        uint8_t n[32];
        PStringFromC(n, name);
        DocDefLookup(n, def.data());
        EXPECT_EQ(DocumentState, 3) << name;
        return def;
    }
    static void Free(std::vector<uint8_t> &def) { RecFreeMatrix(DocVc::Number, def.data()); }

    // The operations sent so far, decoded; an undecodable one fails the test.
    static std::vector<FormCall> Calls()
    {
        std::vector<Bytes> all = Pushes;
        all.emplace_back(MsgData(&OutputMessage), MsgData(&OutputMessage) + MsgLength(&OutputMessage));
        std::vector<FormCall> out;
        for (const Bytes &b : all) {
            MsgBuffer m;
            if (b.empty()) continue;
            EXPECT_TRUE(MsgLoad(&m, b.data(), uint32_t(b.size())));
            while (MsgRemaining(&m) > 0) {
                FormCall c{};
                uint8_t t[256] = {0}, ff = 0;
                uint16_t w = 0;
                PackedDecimal rect[4], dec;
                uint8_t font[FontVc::Size] = {};
                MsgGetWord(&m, &c.op);
                switch (c.op) {
                case RepOp::FormPageStart: MsgGetPString(&m, t); break;
                case RepOp::FormPageEnd: break;
                case RepOp::FormGeometry:
                    MsgGetWord(&m, &w);
                    EXPECT_TRUE(w >= 1 && w <= 2000) << "a client refuses " << w << " lines";
                    MsgGetWord(&m, &w), MsgGetWord(&m, &w), MsgGetByte(&m, &ff);
                    break;
                case RepOp::FormLine:
                case RepOp::FormBox:
                    MsgGetDecRect(&m, rect);
                    MsgGetBlock12(&m, &dec);
                    if (c.op == RepOp::FormBox) MsgGetWord(&m, &w);
                    c.top = DecToDouble(&rect[0]);
                    c.thickness = DecToDouble(&dec);
                    break;
                case RepOp::FormText:
                    MsgGetPString(&m, t);
                    MsgGetDecRect(&m, rect);
                    MsgGetRecord(&m, FontVc::Number, font);
                    for (int i = 0; i < 3; i++) MsgGetWord(&m, &w);   // line index, pitch, alignment
                    c.top = DecToDouble(&rect[0]);
                    c.font = Text(font, FontVc::Name);
                    break;
                default: ADD_FAILURE() << "unexpected output command " << c.op; MsgSetEnd(&m, m.readPos);
                }
                EXPECT_FALSE(MsgFailed(&m)) << c.op;
                c.text = std::string((const char *)t + 1, t[0]);
                out.push_back(c);
            }
            MsgClear(&m);
        }
        return out;
    }
    static int Count(const std::vector<FormCall> &calls, uint16_t op)
    {
        int n = 0;
        for (const FormCall &c : calls) n += c.op == op;
        return n;
    }

private:
    MsgPushFn savedPush_ = nullptr;
};

// Pages per copy follow the rows, the rows per page and the form's own
// word; every copy prints at least one page, also of a rowless document;
// the run ends on its last page.
TEST_F(FormPrint, CopiesPrintTheirPagesByRowsAndTheFormsWordWins)
{
    struct Case {
        int16_t rows, copies, formWord;
        uint16_t runMode;
        int pages;
        int16_t lastFirstRow;
    } cases[] = {
        {40, 1, 0, 0, 2, 20},   {41, 1, 0, 0, 3, 40},   // rows 0, 20, 40
        {45, 1, 10, 0, 5, 40},  // the form's word of 10
        {45, 1, -4, 0, 3, 40},  // a word below 1 leaves 20
        {45, 1, 10, 3, 3, 40},  // a client keeps its rows per page
        {0, 2, 0, 0, 2, 0},     // a rowless document: one page a copy
        {45, 2, 0, 0, 6, 40},   {32767, 1, 1000, 0, 33, 32000},   // the greatest count ends
    };
    for (const Case &c : cases) {
        char name[16];
        snprintf(name, sizeof name, "F%d", int(&c - cases));
        StoreForm(name, c.formWord, [&](uint8_t *) {});
        std::vector<uint8_t> def = Load(name);
        MsgReset(&OutputMessage);
        Pushes.clear();
        RunMode = c.runMode;
        FormRowsPerPage = 20;
        FormRowCount = c.rows;
        FormCopyCount = c.copies;
        EXPECT_TRUE(PrintFormCopies(def.data(), -5)) << name;
        RunMode = 0;
        std::vector<FormCall> calls = Calls();
        EXPECT_EQ(Count(calls, RepOp::FormPageStart), c.pages) << name;
        EXPECT_EQ(Count(calls, RepOp::FormPageEnd), c.pages) << name;
        EXPECT_EQ(Count(calls, RepOp::FormGeometry), c.pages) << name;
        EXPECT_EQ(FormPageSeq, c.pages + 1) << name;
        EXPECT_EQ(FormFirstRow, c.lastFirstRow) << name;
        EXPECT_TRUE(FormLastPage) << name;
        Free(def);
    }
}

// Items print last row first; texts sharing a font name keep it, and a
// field of another font between them makes the next text read its own
// again; an unknown font falls back to the first font record;
// thicknesses that are blank, no number, negative or above 10 print as 1.
TEST_F(FormPrint, ItemsPrintInOrderWithTheirFontsAndSaneThicknesses)
{
    StoreFont("ARIAL", "Liberation Sans");
    StoreFont("BOLD", "Liberation Sans Bold");
    StoreForm("ITEMS", 0, [&](uint8_t *r) {
        // Rows are added last first: row 0 prints last.
        AddFormItem(r, 1, 0, 90, 10, 95, "ARIAL", "Last");
        AddFormItem(r, 1, 0, 80, 10, 85, "NOSUCH", "Unknown font");
        AddFormItem(r, 1, 0, 70, 10, 75, "ARIAL", "After field");
        AddFormItem(r, 4, 0, 60, 10, 65, "BOLD", "", 55);
        AddFormItem(r, 1, 0, 50, 10, 55, "ARIAL", "Second");
        AddFormItem(r, 1, 0, 40, 10, 45, "ARIAL", "First");
        AddFormItem(r, 9, 0, 35, 10, 35, "ARIAL", "unknown kind");
        const char *thick[] = {"10", "abc", "-1", "", "2.5", "12"};
        for (int i = 0; i < 6; i++) AddFormItem(r, uint16_t(i % 2 ? 3 : 2), 0, 30 - i, 10, 30 - i, thick[i], "");
    });
    std::vector<uint8_t> def = Load("ITEMS");
    ASSERT_EQ(PrintFormItems(def.data(), -5), 1);
    std::vector<FormCall> calls = Calls();
    std::vector<std::pair<double, double>> frames;
    std::vector<std::pair<std::string, std::string>> texts;
    for (const FormCall &c : calls) {
        if (c.op == RepOp::FormLine || c.op == RepOp::FormBox) frames.push_back({c.top, c.thickness});
        // The field's value is the document type's; only the texts are checked.
        if (c.op == RepOp::FormText && c.font != "BOLD") texts.push_back({c.text, c.font});
    }
    std::vector<std::pair<double, double>> wantFrames = {{25, 1}, {26, 2.5}, {27, 1}, {28, 1}, {29, 1}, {30, 10}};
    EXPECT_EQ(frames, wantFrames);
    EXPECT_EQ(Count(calls, RepOp::FormBox), 3);
    std::vector<std::pair<std::string, std::string>> wantTexts = {
        {"First", "ARIAL"}, {"Second", "ARIAL"}, {"After field", "ARIAL"}, {"Unknown font", "ARIAL"}, {"Last", "ARIAL"}};
    EXPECT_EQ(texts, wantTexts);
    Free(def);
}

// The font lookup: the exact record, else the first by name, else the
// built-in defaults.
TEST_F(FormPrint, FontsFallBackToTheFirstRecordThenToTheDefaults)
{
    uint8_t font[FontVc::Size], name[32];
    struct Case {
        const char *ask, *want;
    } cases[] = {{"ANY", "Times New Roman"}, {"ZED", "Z face"}, {"BETA", "B face"},
                 {"", "B face"}, {"A NAME LONGER THAN TWENTY", "B face"}};
    for (const Case &c : cases) {
        if (&c == cases + 1) StoreFont("ZED", "Z face"), StoreFont("BETA", "B face");
        PStringFromC(name, c.ask);
        FontRecordLoad(font, name);
        EXPECT_EQ(Text(font, FontVc::WinFontName), c.want) << c.ask;
    }
}

// Esc seen while page 1 ends: page 2 starts and ends but draws no item,
// and the pass reports that it did not print.
TEST_F(FormPrint, AStopDuringThePassEndsItWithoutDrawingLaterPages)
{
    StoreForm("STOP", 0, [&](uint8_t *r) { AddFormItem(r, 1, 0, 10, 50, 15, "", "Page item"); });
    std::vector<uint8_t> def = Load("STOP");
    FormRowCount = 45;
    StopAfterFirstPage = true;
    EXPECT_FALSE(PrintFormCopies(def.data(), -5));
    std::vector<FormCall> calls = Calls();
    EXPECT_EQ(Count(calls, RepOp::FormPageStart), 2);
    EXPECT_EQ(Count(calls, RepOp::FormPageEnd), 2);
    EXPECT_EQ(Count(calls, RepOp::FormText), 1);
    // A form that did not load draws nothing either.
    RepStopped = 0;
    FormDefLoaded = 0;
    EXPECT_FALSE(PrintFormPage(def.data(), -5));
    Free(def);
}

// The run's refusals: a positive doctype other than the voucher's prints
// nothing; a missing form is told and gives 0; the thousands flag never outlives the run; the
// invoice kinds report Unchanged and keep the printed flag as it was.
TEST_F(FormPrint, RunsThatPrintNothingGiveZeroAndLeaveTheInvoiceAlone)
{
    uint8_t missing[256];
    GetUiText(missing, Texts::DocDefMissing);
    struct Case {
        int16_t doctype;
        bool tellsMissing;
    } cases[] = {{7, false}, {-5, true}, {-2, true}};
    std::vector<uint8_t> record(IVVc::Size, 0);
    for (const Case &c : cases) {
        shown.clear();
        Pushes.clear();
        MsgReset(&OutputMessage);
        EXPECT_EQ(PrintForm(c.doctype, record.data()), 0) << c.doctype;
        EXPECT_EQ(ThousandsFlag, 0) << c.doctype;
        EXPECT_EQ(FormDocRecord, nullptr);
        // Told by name, or, without one, as the form choice that gave none.
        bool told = false;
        for (const std::string &s : shown)
            told |= s.rfind(PStringToStd(missing), 0) == 0 || s.rfind("No form", 0) == 0;
        EXPECT_EQ(told, c.tellsMissing) << c.doctype;
        EXPECT_EQ(Count(Calls(), RepOp::FormPageStart), 0) << c.doctype;
    }
    std::vector<uint8_t> invoice(IVVc::Size, 0);
    for (int16_t printed : {0, 1}) {
        PutI16(invoice.data(), IVVc::Printed, printed);
        EXPECT_EQ(PrintInvoiceForm(5, invoice.data(), 1), ApproveResult::Unchanged);
        EXPECT_EQ(GetI16(invoice.data(), IVVc::Printed), printed);
        EXPECT_EQ(PrintInvoiceFormAgain(5, invoice.data(), 1), ApproveResult::Unchanged);
        EXPECT_EQ(GetI16(invoice.data(), IVVc::Printed), printed);
    }
}

}  // namespace
