// okfakt_import_test.cpp - the invoice import that creates what its
// invoices name: a customer named twice is made once, items that exist
// make nothing and give rows their cost and gross profit, salespersons
// become users that cannot log in and are listed, every invoice is posted
// once; an import of the same file again changes nothing; a hold whose
// writes fail loses none of the invoices read in it, and writes that keep
// failing are told with the invoices' lines.
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/person_password.h"
#include "database/access/record_access.h"
#include "database/engine/engine.h"
#include "exchange/old_company_sections.h"
#include "exchange/text_exchange.h"
#include "features/program_start.h"
#include "rules/hooks.h"
#include "shell/database_open.h"
#include "shell/login.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/output/test_job.h"

namespace {

// A line of columns joined by TABs, ending its line.
std::string Line(const std::vector<std::string> &cols)
{
    std::string s;
    for (size_t i = 0; i < cols.size(); i++) s += (i ? "\t" : "") + cols[i];
    return s + "\r\n";
}

struct OkRow {
    const char *item;
    const char *qty, *sum, *cost;
};

// An invoice of the "fakt1" layout dated 10.06.2024: header lines, a line
// per item row, the closing empty line.
std::string Invoice(int number, const char *customer, const char *name, const char *salesman, bool approved,
                    std::initializer_list<OkRow> rows)
{
    std::vector<std::string> line1(28);
    line1[0] = std::to_string(number);
    line1[1] = line1[24] = "10.06.2024";
    line1[5] = "30";
    line1[11] = approved ? "1" : "0";
    line1[14] = "1";
    line1[25] = "1";
    std::string s = Line(line1) + Line({customer, name, "Street 9", "Town"}) + Line({"our ref", "", "", salesman}) +
                    Line({"0"});
    for (const OkRow &r : rows)
        s += Line({"1", r.item, r.qty, std::string("row ") + r.item, "", r.sum, "", "3010", "", "", r.cost, "", "",
                   "1"});
    return s + "\r\n";
}

class OkInvoiceImport : public InvoiceCompanyFixture {
protected:
    std::string source;

    // The rules come after the company is laid down, as in a company in use.
    void SetUp() override
    {
        InvoiceCompanyFixture::SetUp();
        if (HasFatalFailure()) return;
        RulesInstall();
        FeaturesInstall();
        ImportHoldRecords = 10;
    }
    void TearDown() override
    {
        D4TestHooks = D4FileHooks{};
        ImportHoldRecords = 10;
        ImportFileClose();
        InvoiceCompanyFixture::TearDown();
    }
    void Import(const std::string &bytes)
    {
        source = bytes;
        PutU16(TestJob, ReportParamsVc::OutputKind, ImportSourceMemory);
        PutU16(TestJob, ReportParamsVc::ReportNumber, 0);
        ImportMemorySource(reinterpret_cast<const uint8_t *>(source.data()), uint32_t(source.size()));
        ImportRun();
    }
    // Starts reading bytes for a reader called directly; on its tag.
    void Source(const std::string &bytes)
    {
        source = bytes;
        ImportMemorySource(reinterpret_cast<const uint8_t *>(source.data()), uint32_t(source.size()));
        ImportReadTag();
    }
    // The stored record of reg whose key (code, or serial number) is given.
    std::vector<uint8_t> Find(int reg, uint32_t keyAt, const char *code, int32_t serial = 0)
    {
        std::vector<uint8_t> r(RegRecordSize(reg), 0);
        if (code) PutText(r.data(), keyAt, 20, code);
        else PutI32(r.data(), keyAt, serial);
        uint32_t id = 0, pos = 0;
        if (!RecFind(reg, r.data(), 1, 1, &id, &pos)) r.clear();
        return r;
    }
    std::vector<uint8_t> InvoiceRow(int32_t serial, int32_t row)
    {
        std::vector<uint8_t> iv = Find(IVVc::Number, IVVc::SerNr, nullptr, serial), out(RecRowSize(IVVc::Number));
        EXPECT_FALSE(iv.empty()) << serial;
        if (iv.empty()) return out;
        EXPECT_TRUE(MatrixRowGet(IVVc::Number, 0, iv.data(), row, out.data()));
        RecFreeMatrix(IVVc::Number, iv.data());
        return out;
    }
    static double Amount(const uint8_t *base, uint32_t at)
    {
        PackedDecimal d = GetDec(base, at);
        return DecIsBlank(&d) ? -999 : DecToDouble(&d);
    }
    int ShownWith(int n)
    {
        PString t;
        GetUiText(t, n);
        std::string want((const char *)t + 1, t[0]);
        int count = 0;
        for (const std::string &m : shown) count += m.find(want) != std::string::npos;
        return count;
    }
    std::string LastWith(int n)
    {
        PString t;
        GetUiText(t, n);
        std::string want((const char *)t + 1, t[0]);
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
            if (it->find(want) != std::string::npos) return *it;
        return "";
    }
    void StorePerson(const char *code, const char *password)
    {
        StoreRecord(PEVc::Number, [&](uint8_t *r) {
            PutText(r, PEVc::Code, 5, code);
            PutText(r, PEVc::Password, 20, password);
        });
    }
};

// Four invoices: a new customer named twice is made once, with the
// invoice's name and address; a new item is made, an existing item's
// row with a blank cost takes the item's cost and a gross profit; the
// salesperson becomes a user who cannot log in, listed once; every
// invoice ends posted, the approved one without a voucher of its own.
// The same file again stores, makes and posts nothing.
TEST_F(OkInvoiceImport, MakesMastersOnceAndPostsEachInvoice)
{
    StorePerson("ADM", "secret");
    const uint32_t customers = RegRecordCount(CUVc::Number), items = RegRecordCount(INVc::Number);
    std::string file = "okfakt\r\n" +
                       Invoice(501, "NEWC", "New Customer", "JS", false,
                               {{"ITEM1", "2", "200", ""}, {"NEWITEM", "1", "50", ""}}) +
                       Invoice(502, "NEWC", "Other Name", "JS", false, {{"ITEM2", "1", "50", "7"}}) +
                       Invoice(504, "C2", "Euro Customer", "KB", false, {{"ITEM2", "1", "50", "7"}}) +
                       Invoice(503, "C1", "First Customer", "", true, {{"ITEM1", "1", "100", ""}}) + "\r\n" +
                       "ot\r\nA\tAlpha\r\n\r\n";
    Import(file);
    EXPECT_EQ(ImportResult.damageLine, 0u);
    EXPECT_EQ(ImportResult.read, 5u);     // four invoices and the "ot" record
    EXPECT_EQ(ImportResult.stored, 5u);
    EXPECT_EQ(RegRecordCount(IVVc::Number), 4u);
    EXPECT_EQ(RegRecordCount(CUVc::Number), customers + 1);
    EXPECT_EQ(RegRecordCount(INVc::Number), items + 1);
    std::vector<uint8_t> c = Find(CUVc::Number, CUVc::Code, "NEWC");
    ASSERT_FALSE(c.empty());
    EXPECT_EQ(Text(c.data(), CUVc::Name), "New Customer");
    EXPECT_EQ(Text(c.data(), CUVc::Addr1), "Street 9");
    EXPECT_EQ(Text(c.data(), CUVc::Name2), "our ref");
    EXPECT_EQ(Text(c.data(), CUVc::PayTerms), "30");
    std::vector<uint8_t> item = Find(INVc::Number, INVc::Code, "NEWITEM");
    ASSERT_FALSE(item.empty());
    EXPECT_EQ(Text(item.data(), INVc::Name), "row NEWITEM");
    PackedDecimal price = GetDec(item.data(), INVc::BasePrice);
    EXPECT_TRUE(DecIsBlank(&price));
    RecFreeMatrix(INVc::Number, item.data());

    // ITEM1 costs 60: 2 x 60 against 200 net; ITEM2's row kept its 7.
    std::vector<uint8_t> row = InvoiceRow(501, 0);
    EXPECT_DOUBLE_EQ(Amount(row.data(), IVVc::Rows::UnitCost), 60);
    EXPECT_DOUBLE_EQ(Amount(row.data(), IVVc::Rows::GrossProfit), 80);
    row = InvoiceRow(502, 0);
    EXPECT_DOUBLE_EQ(Amount(row.data(), IVVc::Rows::UnitCost), 7);

    for (int32_t n : {501, 502, 503, 504}) {
        std::vector<uint8_t> iv = Find(IVVc::Number, IVVc::SerNr, nullptr, n);
        ASSERT_FALSE(iv.empty()) << n;
        EXPECT_EQ(GetU16(iv.data(), IVVc::Posted), 1) << n;
        RecFreeMatrix(IVVc::Number, iv.data());
    }
    const uint32_t vouchers = RegRecordCount(TRVc::Number);
    EXPECT_EQ(vouchers, 3u);   // the three approved here; 503 came approved

    // The salesperson: a user with no access group and a password nobody
    // was told (each user its own), kept only as its verifier; an empty
    // password does not log in as it.
    std::vector<uint8_t> user = Find(PEVc::Number, PEVc::Code, "JS");
    ASSERT_FALSE(user.empty());
    EXPECT_EQ(Text(user.data(), PEVc::AccessCode), "");
    EXPECT_EQ(Text(user.data(), PEVc::Password), "");
    PasswordVerifier mine, theirs;
    ASSERT_TRUE(PersonVerifierGet(user.data(), &mine));
    EXPECT_FALSE(VerifierMatches(mine, ""));
    RecFreeMatrix(PEVc::Number, user.data());
    std::vector<uint8_t> other = Find(PEVc::Number, PEVc::Code, "KB");
    ASSERT_FALSE(other.empty());
    ASSERT_TRUE(PersonVerifierGet(other.data(), &theirs));
    EXPECT_NE(std::memcmp(mine.storedKey, theirs.storedKey, ScramKeySize), 0);
    RecFreeMatrix(PEVc::Number, other.data());
    PString name, empty = {0};
    std::vector<uint8_t> access(RegRecordSize(AccessVc::Number), 0);
    PStringFromC(name, "JS");
    EXPECT_FALSE(UserLogin(name, empty, access.data()));
    EXPECT_EQ(ShownWith(Texts::ImportUsersWithoutRights), 1);
    EXPECT_NE(LastWith(Texts::ImportUsersWithoutRights).find("Users: JS, KB"), std::string::npos);
    EXPECT_NE(LastWith(Texts::ImportCreatedPrefix).find("customers, items"), std::string::npos);

    shown.clear();
    Import(file);
    EXPECT_EQ(ImportResult.read, 5u);
    EXPECT_EQ(ImportResult.stored, 1u);   // only "ot", whose records are replaced
    EXPECT_EQ(RegRecordCount(IVVc::Number), 4u);
    EXPECT_EQ(RegRecordCount(TRVc::Number), vouchers);
    EXPECT_EQ(ShownWith(Texts::ImportCreatedPrefix), 0);
    EXPECT_EQ(ShownWith(Texts::ImportUsersWithoutRights), 0);
}

// Invoices whose customer and items exist make nothing and tell nothing;
// in a company without users a salesperson is not made a user (the first
// user would lock everyone out) and the code is told instead.
TEST_F(OkInvoiceImport, ExistingMastersMakeNothingAndNoUsersMakeNone)
{
    const uint32_t customers = RegRecordCount(CUVc::Number), items = RegRecordCount(INVc::Number);
    Import("okfakt\r\n" + Invoice(601, "C1", "First Customer", "KB", false, {{"ITEM2", "3", "150", ""}}) + "\r\n");
    EXPECT_EQ(RegRecordCount(IVVc::Number), 1u);
    EXPECT_EQ(RegRecordCount(CUVc::Number), customers);
    EXPECT_EQ(RegRecordCount(INVc::Number), items);
    EXPECT_EQ(RegRecordCount(PEVc::Number), 0u);
    EXPECT_EQ(ShownWith(Texts::ImportCreatedPrefix), 0);
    EXPECT_EQ(ShownWith(Texts::ImportUsersWithoutRights), 0);
    EXPECT_NE(LastWith(Texts::ImportUsersNotMade).find("KB"), std::string::npos);
    std::vector<uint8_t> row = InvoiceRow(601, 0);   // ITEM2 costs 20: 150 - 3 x 20
    EXPECT_DOUBLE_EQ(Amount(row.data(), IVVc::Rows::UnitCost), 20);
    EXPECT_DOUBLE_EQ(Amount(row.data(), IVVc::Rows::GrossProfit), 90);
}

// A full invoice series: the "S" invoice is not stored and its line told;
// the numbered one after it is.
TEST_F(OkInvoiceImport, FullSeriesStoresNoneUnderMinusOne)
{
    std::vector<uint8_t> block(42, 0);   // one series row 1 to 1, always valid
    PutU32(block.data(), 0, 1);
    PutU32(block.data(), 4, 1);
    ASSERT_EQ(SettingsBlockStore(187, block.data(), uint32_t(block.size())), RecDone);
    StoreRecord(IVVc::Number, [](uint8_t *r) { PutI32(r, IVVc::SerNr, 1); });
    std::string s = Invoice(0, "C1", "First Customer", "", false, {{"ITEM1", "1", "100", ""}});
    s.replace(0, 1, "S");
    Import("okfakt\r\n" + s + Invoice(7, "C1", "First Customer", "", false, {{"ITEM1", "1", "100", ""}}) + "\r\n");
    EXPECT_EQ(ImportResult.unnumbered, 1u);
    EXPECT_EQ(ImportResult.unnumberedLines[0], 2u);
    EXPECT_EQ(RegRecordCount(IVVc::Number), 2u);
    EXPECT_TRUE(Find(IVVc::Number, IVVc::SerNr, nullptr, -1).empty());
    EXPECT_FALSE(Find(IVVc::Number, IVVc::SerNr, nullptr, 7).empty());
}

// Twelve invoices in holds of five: the first hold's writes fail once;
// its invoices are stored again one by one, so all twelve are stored,
// each once, and nothing is told. When the writes keep failing, the
// invoices of the failed hold are told with their lines, the import
// stops, and what earlier holds stored stays.
TEST_F(OkInvoiceImport, FailedHoldLosesNothingAlreadyRead)
{
    ImportHoldRecords = 5;
    auto file = [](int first, int count) {
        std::string s = "okfakt\r\n";
        for (int i = 0; i < count; i++)
            s += Invoice(first + i, "NEWC", "New Customer", "", false, {{"ITEM1", "1", "100", ""}});
        return s + "\r\n";
    };
    ImportResult = ImportResultRec{};
    ImportMastersForget();
    Source(file(700, 12));
    DbHoldBegin();
    D4TestHooks.failWriteAt = D4TestHooks.writesDone + 1;
    ImportInvoicesCreatingMasters();
    EXPECT_TRUE(DbHoldEnd());
    D4TestHooks = D4FileHooks{};
    EXPECT_EQ(ImportAbortFlag, 0);
    EXPECT_EQ(OkInvoicesNotStored.count, 0u);
    EXPECT_EQ(ImportResult.stored, 12u);
    EXPECT_EQ(RegRecordCount(IVVc::Number), 12u);
    EXPECT_EQ(RegRecordCount(TRVc::Number), 12u);
    EXPECT_FALSE(Find(CUVc::Number, CUVc::Code, "NEWC").empty());

    // Every write after a good one fails: the next section's first hold
    // and each of its invoices alone fail.
    ImportResult = ImportResultRec{};
    ImportMastersForget();
    Source(file(800, 7));
    DbHoldBegin();
    D4TestHooks.failWriteAt = D4TestHooks.writesDone + 1;
    D4TestHooks.onWrite = [](uint64_t, const uint8_t *, uint32_t) {
        D4TestHooks.failWriteAt = D4TestHooks.writesDone + 1;
    };
    ImportInvoicesCreatingMasters();
    DbHoldEnd();
    D4TestHooks = D4FileHooks{};
    EXPECT_EQ(ImportAbortFlag, 1);
    ImportAbortFlag = 0;
    EXPECT_EQ(OkInvoicesNotStored.count, 5u);
    EXPECT_EQ(OkInvoicesNotStored.lines[0], 2u);
    EXPECT_EQ(RegRecordCount(IVVc::Number), 12u);
    EXPECT_TRUE(Find(IVVc::Number, IVVc::SerNr, nullptr, 800).empty());
    ImportMastersReport();
    EXPECT_NE(LastWith(Texts::ImportOkInvoicesNotStored).find("2, "), std::string::npos);
}

// The lines named in the import's messages: those kept, comma separated,
// and ", ..." only when more were counted than kept; a list of none is
// empty, whatever the tail held before.
TEST(ImportLineList, KeptLinesAndAMarkForTheRest)
{
    const uint32_t lines[8] = {2, 14, 15, 90, 91, 92, 93, 94};
    PString tail;
    PStringFromC(tail, "old");
    ImportLineListText(std::span(lines, 3), 3, tail);
    EXPECT_EQ(PStringToStd(tail), "2, 14, 15");
    ImportLineListText(lines, 8, tail);
    EXPECT_EQ(PStringToStd(tail), "2, 14, 15, 90, 91, 92, 93, 94");
    ImportLineListText(lines, 9, tail);
    EXPECT_EQ(PStringToStd(tail), "2, 14, 15, 90, 91, 92, 93, 94, ...");
    ImportLineListText(std::span(lines, 1), 4000000000u, tail);
    EXPECT_EQ(PStringToStd(tail), "2, ...");
    ImportLineListText(lines, 0, tail);
    EXPECT_EQ(PStringToStd(tail), "");
}

}  // namespace
