// register_sections_test.cpp - a register's section written whole, by
// number range and by key range, and read back with its holds renewed;
// a hold that fails stops the import.
#include "tests/exchange/exchange_fixture.h"

#include <vector>

#include "database/access/record_access.h"
#include "exchange/section_table.h"
#include "shell/database_open.h"
#include "tests/output/test_job.h"

namespace {

class RegisterSections : public ExchangeFixture {
protected:
    void TearDown() override
    {
        ImportHoldRecords = 10;
        D4TestHooks.failWriteAt = -1;
        ImportAbortFlag = 0;
        ExchangeFixture::TearDown();
    }
    // Stores "ot" records (register 24) whose code and name are code.
    static void StoreOt(std::initializer_list<const char *> codes)
    {
        for (const char *code : codes) {
            uint8_t r[OTVc::Size] = {};
            PString t;
            PStringFromC(t, code);
            PutText(r, OTVc::Code, t);
            PutText(r, OTVc::Name, t);
            ASSERT_TRUE(RecImportStore(OTVc::Number, r, 1, 0));
        }
    }
    // The lines "code\tcode\t" of the codes: the records as written.
    static std::string OtLines(std::initializer_list<const char *> codes)
    {
        std::string s;
        for (const char *c : codes) s += std::string(c) + "\t" + c + "\t\r\n";
        return s;
    }
    static std::string Section(const std::string &tag, const std::string &records)
    {
        return records.empty() ? "" : tag + "\t\r\n" + records + "\r\n";
    }
};

// Every record once, under one tag line; positions that hold no record
// are passed over; an empty register writes no section at all.
TEST_F(RegisterSections, WholeRegister)
{
    EXPECT_EQ(ExportBytes([] { RegExportAll(OTVc::Number); }), "\r\n");
    StoreOt({"A", "B"});
    RegSetRecordCount(OTVc::Number, 4);   // two positions beyond the last record
    EXPECT_EQ(ExportBytes([] { RegExportAll(OTVc::Number); }), Section("ot", OtLines({"A", "B"})) + "\r\n");
}

struct RangeCase {
    const char *range;
    std::vector<uint32_t> numbers;   // serial numbers of register 4 written, in order
};

// Number ranges of register 4: the walk starts at the first number and
// ends above the last; an open end runs to the last record; a register
// word of 0 writes nothing.
TEST_F(RegisterSections, NumberRanges)
{
    for (uint32_t n : {99u, 100u, 150u, 199u, 200u}) {
        uint8_t r[PUVc::Size] = {};
        PutU32(r, PUVc::SerNr, n);
        uint32_t id = 0;
        ASSERT_TRUE(RecInsertLocal(PUVc::Number, r, &id));
    }
    PString tag;
    RegisterTextTag(PUVc::Number, tag);
    const RangeCase cases[] = {
        {"100:199", {100, 150, 199}}, {"150:", {150, 199, 200}}, {"300:400", {}}, {"0:99", {99}}, {"", {99, 100, 150, 199, 200}},
    };
    for (const RangeCase &c : cases) {
        PutU16(TestJob, ReportParamsVc::ExportWord, PUVc::Number);
        PString sel;
        PStringFromC(sel, c.range);
        PutText(TestJob, ReportParamsVc::SelText1, sel);
        // The section: the tag line, then each record's line and its
        // blank line; the serial number is the first column.
        std::string bytes = ExportBytes([] { RegExportNumberRange(ReportJob{TestJob}); });
        std::vector<uint32_t> written;
        size_t at = bytes.find("\r\n");
        if (!c.numbers.empty()) {
            EXPECT_EQ(bytes.substr(0, at), PStringToStd(tag) + "\t") << c.range;
        }
        while (at != std::string::npos && at + 2 < bytes.size()) {
            size_t end = bytes.find("\r\n", at + 2);
            std::string line = bytes.substr(at + 2, end - at - 2);
            if (!line.empty()) written.push_back(uint32_t(std::stoul(line.substr(0, line.find('\t')))));
            at = end;
        }
        EXPECT_EQ(written, c.numbers) << c.range;
        if (c.numbers.empty()) {
            EXPECT_EQ(bytes, "\r\n") << c.range;
        }
    }
    PutU16(TestJob, ReportParamsVc::ExportWord, 0);
    EXPECT_EQ(ExportBytes([] { RegExportNumberRange(ReportJob{TestJob}); }), "\r\n");
}

// Key ranges, compared without regard to case; a from text after every
// key writes nothing, not even the tag line.
TEST_F(RegisterSections, KeyRanges)
{
    StoreOt({"A", "B", "C", "D"});
    const struct {
        const char *range;
        std::string records;
    } cases[] = {
        {"B:C", OtLines({"B", "C"})}, {"b:c", OtLines({"B", "C"})}, {"C:", OtLines({"C", "D"})},
        {"ZZ:", ""},                  {"E:ZZ", ""},                 {":A", OtLines({"A"})},
    };
    for (const auto &c : cases) {
        PString sel;
        PStringFromC(sel, c.range);
        PutText(TestJob, ReportParamsVc::SelText1, sel);
        EXPECT_EQ(ExportBytes([] { RegExportKeyRange(ReportJob{TestJob}, OTVc::Number); }),
                  Section("ot", c.records) + "\r\n")
            << c.range;
    }
    EXPECT_EQ(ExportBytes([] { RegExportKeyRange(ReportJob{TestJob}, 0); }), "\r\n");
}

// 25 records renew the hold twice and are all stored; a hold whose write
// fails stops the import, is counted, and what follows is not read.
TEST_F(RegisterSections, HoldsAreRenewedAndAFailedOneStops)
{
    std::string records;
    for (int i = 0; i < 25; i++) records += "K" + std::to_string(i) + "\tname\r\n";
    const std::string file = "ot\r\n" + records + "\r\norderclass\r\nZ\tz\r\n\r\n";
    ImportBytes(file);
    EXPECT_EQ(ImportHoldsRenewed, 2u);
    EXPECT_EQ(ImportResult.stored, 26u);
    EXPECT_EQ(RegRecordCount(OTVc::Number), 25u);
    EXPECT_EQ(RegRecordCount(OrderClassVc::Number), 1u);
    EXPECT_EQ(ImportFailedSteps, 0u);

    ASSERT_TRUE(RegDeleteAll(OTVc::Number));
    ASSERT_TRUE(RegDeleteAll(OrderClassVc::Number));
    ImportResult = ImportResultRec{};
    ImportHoldsRenewed = ImportFailedSteps = 0;
    SourceOf(file);
    ImportReadTag();
    DbHoldBegin();
    D4TestHooks.failWriteAt = D4TestHooks.writesDone + 1;   // the first hold's writes fail
    RegImportRecords(OTVc::Number, 1, 1);
    DbHoldEnd();
    D4TestHooks.failWriteAt = -1;
    EXPECT_EQ(ImportFailedSteps, 1u);
    EXPECT_EQ(ImportHoldsRenewed, 1u);
    EXPECT_TRUE(ImportAtEnd());
    EXPECT_EQ(RegRecordCount(OTVc::Number), 0u);   // the failed hold kept nothing
    EXPECT_EQ(RegRecordCount(OrderClassVc::Number), 0u);
}

// A store the disk refuses in the middle of a section (the file had to
// grow for it) fails the hold: the import stops there with a failed step,
// and the refused record is not told as one kept for a newer stored copy.
TEST_F(RegisterSections, AStoreTheDiskRefusesStopsAndIsNotKept)
{
    constexpr uint32_t many = 3000;   // more than the new file's room: it grows under them
    ImportHoldRecords = many + 1;     // one hold, so no commit writes inside the section
    std::string records;
    for (uint32_t i = 0; i < many; i++) records += "K" + std::to_string(i) + "\tname\r\n";
    ImportResult = ImportResultRec{};
    ImportHoldsRenewed = ImportFailedSteps = 0;
    ImportAbortFlag = 0;
    SourceOf("ot\r\n" + records + "\r\n");
    ImportReadTag();
    const uint64_t refusals = D4DiskRefusals();
    DbHoldBegin();
    D4TestHooks.failWriteAt = D4TestHooks.writesDone + 1;
    RegImportRecords(OTVc::Number, 1, 1);
    D4TestHooks.failWriteAt = -1;
    ASSERT_EQ(D4DiskRefusals(), refusals + 1);   // a store of the section met the refusal
    EXPECT_FALSE(DbHoldEnd());
    EXPECT_EQ(ImportResult.kept, 0u);
    EXPECT_EQ(ImportFailedSteps, 1u);
    EXPECT_EQ(ImportAbortFlag, 1);
    EXPECT_LT(ImportResult.read, many);   // nothing after the refused record was read
    EXPECT_EQ(RegRecordCount(OTVc::Number), 0u);
    EXPECT_TRUE(Said("The disk refused the write"));
}

}  // namespace
