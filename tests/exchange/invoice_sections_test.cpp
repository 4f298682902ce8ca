// invoice_sections_test.cpp - sales invoices and customer receipts in the
// text exchange: written by the full export and read back equal, row by
// row kind; the invoice reader's numbering and repairs; the older receipt
// layout; a full series stores nothing and names the line; a second
// import of the same file stores nothing twice.
#include <string>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/definitions.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "exchange/section_readers.h"
#include "rules/hooks.h"
#include "shell/database_open.h"
#include "tests/exchange/exchange_fixture.h"
#include "tests/exchange/test_job_export.h"
#include "tests/output/test_job.h"

namespace {

namespace fs = std::filesystem;
namespace IR = IVVc::Rows;
namespace PR = IPVc::Rows;

void PutTextAt(uint8_t *base, uint32_t at, int max, const char *text)
{
    PString t;
    PStringFromC(t, text);
    PutPString(base, at, max, t);
}

std::string TextAt(const uint8_t *base, uint32_t at, int max)
{
    PString t;
    GetPString(base, at, max, t);
    return PStringToStd(t);
}

void PutAmount(uint8_t *base, uint32_t at, double v)
{
    PackedDecimal d;
    DecFromDouble(&d, v);
    PutDec(base, at, d);
}

double AmountAt(const uint8_t *base, uint32_t at)
{
    PackedDecimal d = GetDec(base, at);
    return DecIsBlank(&d) ? -999 : DecToDouble(&d);
}

// A line of columns joined by TABs, ending its line.
std::string Line(const std::vector<std::string> &cols)
{
    std::string s;
    for (size_t i = 0; i < cols.size(); i++) s += (i ? "\t" : "") + cols[i];
    return s + "\r\n";
}

// Header line 1 of an invoice: 28 columns, those given set (1-based).
std::string InvoiceLine1(std::initializer_list<std::pair<int, std::string>> set)
{
    std::vector<std::string> cols(28);
    for (const auto &p : set) cols[size_t(p.first - 1)] = p.second;
    return Line(cols);
}

class InvoiceSectionsTest : public ExchangeFixture {
protected:
    std::vector<uint8_t> Record(int reg) { return std::vector<uint8_t>(RegRecordSize(reg), 0); }
    std::vector<uint8_t> Row(int reg) { return std::vector<uint8_t>(RecRowSize(reg), 0); }
    void EmptyCompany(const char *name)
    {
        D4Close();
        ASSERT_EQ(D4Create((dir / name).c_str(), 0), D4OpenOk);
        ASSERT_TRUE(SettingsStartup());
    }
    std::string FullExport(const char *name)
    {
        PutU16(TestJob, ReportParamsVc::OutputKind, OutTextFile);
        ScriptAnswerFile((dir / name).string());
        EXPECT_TRUE(ExportOverTestJob(0));
        return FileBytes(dir / name);
    }
    // An invoice of rows of kinds 1 to 5 (type 1) or a credit note of one
    // item row (type 3), stored raw.
    void StoreInvoice(int32_t number, uint16_t type)
    {
        std::vector<uint8_t> iv = Record(IVVc::Number), row = Row(IVVc::Number);
        PutI32(iv.data(), IVVc::SerNr, number);
        PutDate(iv.data(), IVVc::InvDate, DateRec{3, 2, 2025});
        PutDate(iv.data(), IVVc::TransDate, DateRec{3, 2, 2025});
        PutDate(iv.data(), IVVc::PayDate, DateRec{5, 3, 2025});
        PutTextAt(iv.data(), IVVc::CustCode, 20, "C1");
        PutTextAt(iv.data(), IVVc::Addr0, 60, "Customer One");
        PutTextAt(iv.data(), IVVc::CurncyCode, 5, "EUR");
        PutAmount(iv.data(), IVVc::Rate, 11.25);
        PutTextAt(iv.data(), IVVc::ARAcc, 10, "1510");
        PutTextAt(iv.data(), IVVc::RefStr, 30, "REF");
        PutI32(iv.data(), IVVc::OrderNr, 77);
        PutU16(iv.data(), IVVc::InvType, type);
        PutU16(iv.data(), IVVc::UpdStock, 1);
        PutAmount(iv.data(), IVVc::Total, type == 3 ? -50 : 430);
        PutTextAt(iv.data(), IVVc::DelAddr3, 60, "Harbour 3");
        PutTextAt(iv.data(), IVVc::CustPhone, 20, "last");
        const uint16_t kinds[] = {1, 2, 3, 4, 5};
        int rows = type == 3 ? 1 : 5;
        for (int r = 0; r < rows; r++) {
            std::fill(row.begin(), row.end(), 0);
            uint16_t kind = kinds[r];
            PutU16(row.data(), IR::Kind, kind);
            PutI32(row.data(), IR::Link, 10 + r);
            if (kind != 3) {
                PutTextAt(row.data(), IR::Text, 100, ("row " + std::to_string(r)).c_str());
                PutAmount(row.data(), IR::Sum, 100 + r);
                PutTextAt(row.data(), IR::SalesAcc, 10, "3010");
                PutTextAt(row.data(), IR::VatCode, 2, "1");
            }
            if (kind == 1 || kind == 2 || kind == 4) {
                PutTextAt(row.data(), IR::ItemCode, 20, "IT1");
                PutAmount(row.data(), IR::Quantity, 70.946);   // a third decimal the file must keep
                PutAmount(row.data(), IR::Discount, 1.5);
                PutAmount(row.data(), IR::UnitCost, 7);
            }
            if (kind == 1 || kind == 2) {
                PutAmount(row.data(), IR::Price, 40.125);
                PutTextAt(row.data(), IR::StructCode, 20, "_");
                PutTextAt(row.data(), IR::Objects, 30, "OBJ");
                PutAmount(row.data(), IR::PriceUnit, 1);
            }
            ASSERT_TRUE(MatrixRowPut(IVVc::Number, 0, iv.data(), r, row.data()));
        }
        uint32_t id = 0;
        ASSERT_TRUE(RecInsertLocal(IVVc::Number, iv.data(), &id));
        RecFreeMatrix(IVVc::Number, iv.data());
    }
    // A receipt with rows of kinds 1, 5 and 6, stored raw.
    void StoreReceipt(int32_t number)
    {
        std::vector<uint8_t> rc = Record(IPVc::Number), row = Row(IPVc::Number);
        PutI32(rc.data(), IPVc::SerNr, number);
        PutDate(rc.data(), IPVc::TransDate, DateRec{10, 3, 2025});
        PutDate(rc.data(), IPVc::RegDate, DateRec{10, 3, 2025});
        PutTextAt(rc.data(), IPVc::PayMode, 2, "BG");
        PutAmount(rc.data(), IPVc::Total, 150);
        const uint16_t kinds[] = {1, 5, 6};
        for (int r = 0; r < 3; r++) {
            std::fill(row.begin(), row.end(), 0);
            PutU16(row.data(), PR::Kind, kinds[r]);
            PutI32(row.data(), PR::InvoiceNr, 101);
            PutTextAt(row.data(), PR::CustCode, 20, "C1");
            PutDate(row.data(), PR::PayDate, DateRec{10, 3, 2025});
            PutTextAt(row.data(), PR::Text, 60, "paid");
            PutAmount(row.data(), PR::Amount, 50);
            PutI32(row.data(), PR::Link, kinds[r] == 1 ? 4 : -1);
            ASSERT_TRUE(MatrixRowPut(IPVc::Number, 0, rc.data(), r, row.data()));
        }
        uint32_t id = 0;
        ASSERT_TRUE(RecInsertLocal(IPVc::Number, rc.data(), &id));
        RecFreeMatrix(IPVc::Number, rc.data());
    }
    // The record of reg numbered number (offset at) read back; empty when missing.
    std::vector<uint8_t> Find(int reg, uint32_t at, int32_t number)
    {
        std::vector<uint8_t> r = Record(reg);
        PutI32(r.data(), at, number);
        uint32_t recid = 0, position = 0;
        if (!RecFind(reg, r.data(), 1, 1, &recid, &position)) return {};
        return r;
    }
    std::vector<uint8_t> RowOf(int reg, uint8_t *record, int32_t r)
    {
        std::vector<uint8_t> row = Row(reg);
        EXPECT_TRUE(MatrixRowRead(reg, record, r, row.data()));
        return row;
    }
};

// Invoices with every row kind, a credit note and a receipt of three row
// kinds: exported, imported into an empty company and exported again give
// the same bytes; the fields come back as stored.
TEST_F(InvoiceSectionsTest, InvoicesAndReceiptsRoundTripByRowKind)
{
    RegisterHooksClear();
    StoreInvoice(101, 1);
    StoreInvoice(102, 3);
    StoreReceipt(201);
    std::string first = FullExport("first.txt");
    ASSERT_NE(first.find("fakt1\t"), std::string::npos) << first.substr(first.size() > 3000 ? first.size() - 3000 : 0);
    ASSERT_NE(first.find("betal3\t"), std::string::npos);
    EmptyCompany("empty.VDB");
    ImportBytes(first);
    EXPECT_EQ(ImportResult.damageLine, 0u);
    EXPECT_EQ(ImportResult.stored, 3u);
    EXPECT_EQ(FullExport("second.txt"), first);

    std::vector<uint8_t> iv = Find(IVVc::Number, IVVc::SerNr, 101);
    ASSERT_FALSE(iv.empty());
    EXPECT_EQ(TextAt(iv.data(), IVVc::CustCode, 20), "C1");
    EXPECT_EQ(TextAt(iv.data(), IVVc::CurncyCode, 5), "EUR");
    EXPECT_EQ(AmountAt(iv.data(), IVVc::Rate), 11.25);
    EXPECT_EQ(TextAt(iv.data(), IVVc::DelAddr3, 60), "Harbour 3");
    EXPECT_EQ(TextAt(iv.data(), IVVc::CustPhone, 20), "last");
    EXPECT_EQ(GetI32(iv.data(), IVVc::OrderNr), 77);
    ASSERT_EQ(MatrixRowCount(IVVc::Number, 0, iv.data()), 5);
    for (int r = 0; r < 5; r++) {
        SCOPED_TRACE(r);
        std::vector<uint8_t> row = RowOf(IVVc::Number, iv.data(), r);
        uint16_t kind = GetU16(row.data(), IR::Kind);
        EXPECT_EQ(kind, r + 1);
        EXPECT_EQ(GetI32(row.data(), IR::Link), kind == 5 ? 0 : 10 + r);
        if (kind != 3) {
            EXPECT_EQ(AmountAt(row.data(), IR::Sum), 100 + r);
        }
        if (kind == 1 || kind == 2) {
            EXPECT_DOUBLE_EQ(AmountAt(row.data(), IR::Price), 40.125);
            EXPECT_EQ(TextAt(row.data(), IR::Objects, 30), "OBJ");
        }
        if (kind == 1 || kind == 2 || kind == 4) {
            EXPECT_DOUBLE_EQ(AmountAt(row.data(), IR::Quantity), 70.946);
        }
        if (kind == 4) {
            EXPECT_EQ(AmountAt(row.data(), IR::UnitCost), 7);
        }
    }
    RecFreeMatrix(IVVc::Number, iv.data());
    std::vector<uint8_t> credit = Find(IVVc::Number, IVVc::SerNr, 102);
    ASSERT_FALSE(credit.empty());
    EXPECT_EQ(GetU16(credit.data(), IVVc::InvType), 3);
    EXPECT_EQ(AmountAt(credit.data(), IVVc::Total), -50);
    RecFreeMatrix(IVVc::Number, credit.data());

    std::vector<uint8_t> rc = Find(IPVc::Number, IPVc::SerNr, 201);
    ASSERT_FALSE(rc.empty());
    EXPECT_EQ(TextAt(rc.data(), IPVc::PayMode, 2), "BG");
    ASSERT_EQ(MatrixRowCount(IPVc::Number, 0, rc.data()), 3);
    std::vector<uint8_t> row = RowOf(IPVc::Number, rc.data(), 0);
    EXPECT_EQ(GetI32(row.data(), PR::InvoiceNr), 101);
    EXPECT_EQ(GetI32(row.data(), PR::Link), 4);
    EXPECT_EQ(AmountAt(row.data(), PR::Amount), 50);
    row = RowOf(IPVc::Number, rc.data(), 2);
    EXPECT_EQ(GetU16(row.data(), PR::Kind), 6);
    EXPECT_EQ(GetI32(row.data(), PR::Link), -1);
    RecFreeMatrix(IPVc::Number, rc.data());
}

// With the rules installed, a second import of the same file keeps what
// the first stored: nothing is stored (and so posted) twice.
TEST_F(InvoiceSectionsTest, SecondImportOfTheSameFileStoresNothingTwice)
{
    RegisterHooksClear();
    StoreInvoice(101, 1);
    StoreReceipt(201);
    std::string first = FullExport("first.txt");
    EmptyCompany("empty.VDB");
    RulesInstall();
    ImportBytes(first);
    EXPECT_EQ(ImportResult.damageLine, 0u);
    EXPECT_EQ(RegRecordCount(IVVc::Number), 1u);
    EXPECT_EQ(RegRecordCount(IPVc::Number), 1u);
    uint32_t vouchers = RegRecordCount(TRVc::Number);
    ImportBytes(first);
    EXPECT_EQ(ImportResult.stored, 0u);
    EXPECT_GE(ImportResult.kept, 2u);
    EXPECT_EQ(RegRecordCount(IVVc::Number), 1u);
    EXPECT_EQ(RegRecordCount(IPVc::Number), 1u);
    EXPECT_EQ(RegRecordCount(TRVc::Number), vouchers);
    RegisterHooksClear();   // the next test in this process starts without rules
}

// The invoice reader: "S" takes the next free number; a kind outside 1 to
// 4 reads as 1; a row without a structure code takes the structure item's
// code, "_" for another or a missing item; an empty transaction date takes
// the invoice date; an older writer's "1" before the currency clears it.
TEST_F(InvoiceSectionsTest, InvoiceReaderNumbersAndRepairs)
{
    RegisterHooksClear();
    std::vector<uint8_t> item = Record(INVc::Number);
    PutTextAt(item.data(), INVc::Code, 20, "ST");
    PutTextAt(item.data(), INVc::StructCode, 20, "KIT");
    PutU16(item.data(), INVc::StructFlag, 1);
    uint32_t recid = 0;
    ASSERT_TRUE(RecStoreByKey(INVc::Number, item.data(), 0, &recid));
    PutTextAt(item.data(), INVc::Code, 20, "PLAIN");
    PutU16(item.data(), INVc::StructFlag, 0);
    ASSERT_TRUE(RecStoreByKey(INVc::Number, item.data(), 0, &recid));
    std::vector<uint8_t> old = Record(IVVc::Number);
    PutI32(old.data(), IVVc::SerNr, 5);
    ASSERT_TRUE(RecStoreByKey(IVVc::Number, old.data(), 0, &recid));

    std::string text = InvoiceLine1({{1, "S"}, {2, "01.04.2025"}, {3, "01.05.2025"}, {15, "7"}, {22, "1"},
                                     {23, "USD"}, {24, "9"}}) +
                       Line({"C9", "Nine"}) + Line({"x"}) + Line({"", "", "", "", "100"}) +
                       Line({"1", "ST", "1", "kit row"}) + Line({"1", "PLAIN", "70.94", "plain row"}) +
                       Line({"2", "GONE", "1", "gone row"}) + "\r\n";
    SourceOf(text);
    std::vector<uint8_t> iv = Record(IVVc::Number);
    ASSERT_TRUE(ReadInvoiceText(IVVc::Number, 1, iv.data()));
    EXPECT_EQ(GetI32(iv.data(), IVVc::SerNr), 6);
    EXPECT_EQ(GetU16(iv.data(), IVVc::InvType), 1);
    EXPECT_EQ(TextAt(iv.data(), IVVc::CurncyCode, 5), "");
    EXPECT_EQ(AmountAt(iv.data(), IVVc::Rate), -999);
    DateRec trans = GetDate(iv.data(), IVVc::TransDate);
    EXPECT_EQ(trans.year, 2025);
    EXPECT_EQ(trans.month, 4);
    EXPECT_EQ(TextAt(iv.data(), IVVc::CustCode, 20), "C9");
    EXPECT_EQ(GetU16(iv.data(), IVVc::UpdStock), 0);   // empty column, no order: -1 at 382
    ASSERT_EQ(MatrixRowCount(IVVc::Number, 0, iv.data()), 3);
    const char *want[] = {"KIT", "_", "_"};
    for (int r = 0; r < 3; r++) {
        std::vector<uint8_t> row = RowOf(IVVc::Number, iv.data(), r);
        EXPECT_EQ(TextAt(row.data(), IR::StructCode, 20), want[r]) << r;
        EXPECT_EQ(GetI32(row.data(), IR::Link), -1) << r;
    }
    // An older writer's quantity with two decimals reads as it was written.
    EXPECT_DOUBLE_EQ(AmountAt(RowOf(IVVc::Number, iv.data(), 1).data(), IR::Quantity), 70.94);
    EXPECT_FALSE(TextAt(iv.data(), IVVc::RefStr, 30).empty());
    RecFreeMatrix(IVVc::Number, iv.data());

    // A number that is no number is damage at its line.
    ImportResult = ImportResultRec{};
    SourceOf(InvoiceLine1({{1, "12x"}}));
    std::vector<uint8_t> bad = Record(IVVc::Number);
    EXPECT_FALSE(ReadInvoiceText(IVVc::Number, 1, bad.data()));
    EXPECT_EQ(ImportResult.damageLine, 1u);
    EXPECT_EQ(ImportResult.damageColumn, 1u);
}

// An invoice read over a stored one keeps the stored payment reference,
// which the customer may hold already; a stored invoice without one gets
// none from the import while it is unposted, and a built one when the
// file posts it.
TEST_F(InvoiceSectionsTest, InvoiceReadOverAStoredOneKeepsItsReference)
{
    RegisterHooksClear();
    std::vector<uint8_t> stored = Record(IVVc::Number);
    uint32_t recid = 0;
    PutTextAt(stored.data(), IVVc::CustCode, 20, "C1");
    PutI32(stored.data(), IVVc::SerNr, 7);
    ASSERT_TRUE(RecStoreByKey(IVVc::Number, stored.data(), 0, &recid));   // unposted, no reference
    PutI32(stored.data(), IVVc::SerNr, 8);
    PutTextAt(stored.data(), IVVc::RefStr, 30, "126000017");
    ASSERT_TRUE(RecStoreByKey(IVVc::Number, stored.data(), 0, &recid));

    struct Case {
        const char *what;
        const char *number, *posted;
        bool built;            // a new reference is expected
        const char *reference; // else this one
    } cases[] = {
        {"unposted over one without a reference", "7", "0", false, ""},
        {"posted over one with a reference", "8", "1", false, "126000017"},
        {"unposted over one with a reference", "8", "0", false, "126000017"},
        {"posted over one without a reference", "7", "1", true, nullptr},
        {"new to the company", "9", "0", true, nullptr},
    };
    for (const Case &c : cases) {
        SourceOf(InvoiceLine1({{1, c.number}, {2, "01.04.2025"}, {12, c.posted}}) + Line({"C1", "One"}) +
                 Line({"x"}) + Line({"", "", "", "", "100"}) + "\r\n");
        std::vector<uint8_t> iv = Record(IVVc::Number);
        ASSERT_TRUE(ReadInvoiceText(IVVc::Number, 1, iv.data())) << c.what;
        const std::string reference = TextAt(iv.data(), IVVc::RefStr, 30);
        if (c.built)
            EXPECT_NE(reference.find(c.number), std::string::npos) << c.what << ": " << reference;
        else
            EXPECT_EQ(reference, c.reference) << c.what;
        RecFreeMatrix(IVVc::Number, iv.data());
    }
}

// A full series: the "S" documents are read past, not stored, and their
// lines told in one message; the records around them are stored.
TEST_F(InvoiceSectionsTest, FullSeriesStoresNoneAndTellsTheLines)
{
    RegisterHooksClear();
    std::vector<uint8_t> block(42, 0);   // one series row: 1 to 2, always valid
    PutU32(block.data(), 0, 1);
    PutU32(block.data(), 4, 2);
    ASSERT_EQ(SettingsBlockStore(187, block.data(), uint32_t(block.size())), RecDone);
    std::vector<uint8_t> iv = Record(IVVc::Number);
    PutI32(iv.data(), IVVc::SerNr, 2);
    uint32_t recid = 0;
    ASSERT_TRUE(RecStoreByKey(IVVc::Number, iv.data(), 0, &recid));
    // Lines 2 to 7: "S" with a row; 8 to 12: number 1; 13 to 17: "S".
    std::string one = InvoiceLine1({{1, "S"}, {2, "01.04.2025"}}) + Line({"C1"}) + Line({"x"}) + Line({"", "1"});
    std::string text = "fakt1\r\n" + one + Line({"1", "A", "1"}) + "\r\n" +
                       InvoiceLine1({{1, "1"}, {2, "01.04.2025"}}) + Line({"C1"}) + Line({"x"}) + Line({"", "1"}) +
                       "\r\n" + one + "\r\n\r\n";
    ImportBytes(text);
    EXPECT_EQ(ImportResult.damageLine, 0u);
    EXPECT_EQ(ImportResult.unnumbered, 2u);
    EXPECT_EQ(ImportResult.unnumberedLines[0], 2u);
    EXPECT_EQ(ImportResult.unnumberedLines[1], 13u);
    EXPECT_EQ(RegRecordCount(IVVc::Number), 2u);   // 2 stored before, 1 read
    EXPECT_TRUE(Find(IVVc::Number, IVVc::SerNr, -1).empty());
    EXPECT_EQ(Shown(Texts::ImportSeriesFull), 1);
}

// Receipts: layout 2 makes rows of the amounts that are not zero (kinds
// 1 and 6 for A1 and A2), the receipt date from D when empty; layout 3
// gives a kind-1 row without a date the receipt's date.
TEST_F(InvoiceSectionsTest, ReceiptLayoutsMakeRowsAndDates)
{
    RegisterHooksClear();
    std::vector<std::string> cols(26);
    cols[0] = "31";
    cols[1] = "old";
    cols[2] = "30.12.2024";
    cols[6] = "700";
    cols[7] = "80";
    cols[8] = "20";
    cols[9] = "0";
    cols[13] = "9";
    cols[15] = "K1";
    cols[16] = "note";
    SourceOf(Line(cols));
    std::vector<uint8_t> rc = Record(IPVc::Number);
    ASSERT_TRUE(ReadReceiptV2(IPVc::Number, 2, rc.data()));
    DateRec date = GetDate(rc.data(), IPVc::TransDate);
    EXPECT_EQ(date.day, 30);
    ASSERT_EQ(MatrixRowCount(IPVc::Number, 0, rc.data()), 2);
    std::vector<uint8_t> a = RowOf(IPVc::Number, rc.data(), 0), b = RowOf(IPVc::Number, rc.data(), 1);
    EXPECT_EQ(GetU16(a.data(), PR::Kind), 1);
    EXPECT_EQ(AmountAt(a.data(), PR::Amount), 80);
    EXPECT_EQ(GetI32(a.data(), PR::InvoiceNr), 700);
    EXPECT_EQ(GetI32(a.data(), PR::Link), 9);
    EXPECT_EQ(TextAt(a.data(), PR::CustCode, 20), "K1");
    EXPECT_EQ(GetU16(b.data(), PR::Kind), 6);
    EXPECT_EQ(AmountAt(b.data(), PR::Amount), 20);
    EXPECT_EQ(AmountAt(rc.data(), IPVc::AmountRec), AmountAt(rc.data(), IPVc::Total));
    RecFreeMatrix(IPVc::Number, rc.data());

    std::vector<std::string> head(13);
    head[0] = "40";
    head[8] = "15.01.2025";
    SourceOf(Line(head) + Line({"1", "0", "5", "C1", "", "t", "12", "3"}) +
             Line({"5", "0", "5", "C1", "t", "4"}) + "\r\n");
    std::vector<uint8_t> r3 = Record(IPVc::Number);
    ASSERT_TRUE(ReadReceiptV3(IPVc::Number, 3, r3.data()));
    ASSERT_EQ(MatrixRowCount(IPVc::Number, 0, r3.data()), 2);
    for (int r = 0; r < 2; r++) {
        std::vector<uint8_t> row = RowOf(IPVc::Number, r3.data(), r);
        DateRec paid = GetDate(row.data(), PR::PayDate);
        EXPECT_EQ(paid.day, 15) << r;
        EXPECT_EQ(GetI32(row.data(), PR::Link), r == 0 ? 3 : -1) << r;
    }
    RecFreeMatrix(IPVc::Number, r3.data());
}

// The lines of an export of kind, each its TAB-separated fields.
std::vector<std::vector<std::string>> Fields(const std::string &bytes)
{
    std::vector<std::vector<std::string>> out;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find("\r\n", at);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(at, end - at);
        at = end + 2;
        if (line.empty()) continue;
        std::vector<std::string> f;
        size_t p = 0;
        for (;;) {
            size_t t = line.find('\t', p);
            f.push_back(line.substr(p, t == std::string::npos ? std::string::npos : t - p));
            if (t == std::string::npos) break;
            p = t + 1;
        }
        if (f.size() > 1 && f.back().empty()) f.pop_back();   // every field ends with its TAB
        out.push_back(f);
    }
    return out;
}

class InvoiceExportsTest : public InvoiceSectionsTest {
protected:
    std::string Run(int kind, const char *numbers = "", const char *customers = "", const char *items = "")
    {
        for (auto [at, text] : {std::pair{ReportParamsVc::SelText1, numbers}, {ReportParamsVc::SelText2, customers},
                                {ReportParamsVc::SelText3, items}}) {
            PString p;
            PStringFromC(p, text);
            PutPString(TestJob, at, 255, p);
        }
        PutU16(TestJob, ReportParamsVc::OutputKind, OutTextFile);
        std::string name = "kind" + std::to_string(kind) + ".txt";
        ScriptAnswerFile((dir / name).string());
        EXPECT_TRUE(ExportOverTestJob(kind));
        return FileBytes(dir / name);
    }
};

// Kind 13: rows of kinds 3 and 4 are never written, the item range passes
// over rows outside it, a credit note's quantity and sum are negated, the
// kind options choose the invoices.
TEST_F(InvoiceExportsTest, InvoiceRowsByKindItemAndInvoiceKind)
{
    RegisterHooksClear();
    StoreInvoice(101, 1);
    StoreInvoice(102, 3);
    auto lines = Fields(Run(13));
    ASSERT_EQ(lines.size(), 4u);   // kinds 1, 2, 5 of 101 and the credit's row
    for (const auto &l : lines) EXPECT_EQ(l.size(), 14u);
    EXPECT_EQ(lines[2][7], "row 4");
    EXPECT_EQ(lines[3][0], "102");
    EXPECT_NE(lines[3][6].find("-70"), std::string::npos) << lines[3][6];
    EXPECT_NE(lines[3][9].find("-100"), std::string::npos);
    lines = Fields(Run(13, "", "", "IT1:IT1"));
    EXPECT_EQ(lines.size(), 3u);
    PutU16(TestJob, ReportParamsVc::Option3, 1);
    lines = Fields(Run(13));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0][0], "102");
    PutU16(TestJob, ReportParamsVc::Option3, 0);
}

// Kind 4 writes a "fakt1" section that reads back; a customer range that
// holds no invoice writes nothing. Kind 30 writes the invoices the open
// items name, passing over one whose invoice is gone.
TEST_F(InvoiceExportsTest, InvoiceSectionsBySelectionAndByOpenItems)
{
    RegisterHooksClear();
    StoreInvoice(101, 1);
    StoreInvoice(102, 3);
    EXPECT_TRUE(Fields(Run(4, "", "C2:C3")).empty());
    std::string one = Run(4, "102:102");
    ASSERT_NE(one.find("fakt1"), std::string::npos);
    ASSERT_NE(one.find("sysformat"), std::string::npos);
    for (int32_t number : {102, 999}) {
        std::vector<uint8_t> open = Record(ARVc::Number);
        PutI32(open.data(), ARVc::InvoiceNr, number);
        uint32_t recid = 0;
        ASSERT_TRUE(RecStoreByKey(ARVc::Number, open.data(), 0, &recid));
    }
    EXPECT_EQ(Run(30), one);
    EmptyCompany("other.VDB");
    ImportBytes(one);
    EXPECT_EQ(ImportResult.damageLine, 0u);
    EXPECT_EQ(RegRecordCount(IVVc::Number), 1u);
    EXPECT_FALSE(Find(IVVc::Number, IVVc::SerNr, 102).empty());
}

// Kind 3 writes the registers whose option is set in its own order: items
// before customers, whatever else is chosen.
TEST_F(InvoiceExportsTest, SelectedRegistersInTheirOrder)
{
    RegisterHooksClear();
    std::vector<uint8_t> cu = Record(CUVc::Number), item = Record(INVc::Number);
    PutTextAt(cu.data(), CUVc::Code, 20, "C1");
    PutTextAt(item.data(), INVc::Code, 20, "IT1");
    uint32_t recid = 0;
    ASSERT_TRUE(RecStoreByKey(CUVc::Number, cu.data(), 0, &recid));
    ASSERT_TRUE(RecStoreByKey(INVc::Number, item.data(), 0, &recid));
    PutU16(TestJob, ReportParamsVc::Option1, 1);   // items
    PutU16(TestJob, ReportParamsVc::Option5, 1);   // customers
    std::string out = Run(3);
    size_t items = out.find("artikel2"), customers = out.find("cu2");
    ASSERT_NE(items, std::string::npos);
    ASSERT_NE(customers, std::string::npos);
    EXPECT_LT(items, customers);
    PutU16(TestJob, ReportParamsVc::Option1, 0);
    EXPECT_EQ(Run(3).find("artikel2"), std::string::npos);
    PutU16(TestJob, ReportParamsVc::Option5, 0);
}

}  // namespace
