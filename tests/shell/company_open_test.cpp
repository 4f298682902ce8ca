// company_open_test.cpp - the import of a new company's defaults: one
// quick flush before the steps and one full flush after them, failed
// steps reported instead of ignored, and a reader that refuses the file.
#include "../database/access/company_fixture.h"

#include "shell/company.h"

namespace {

struct FakeReader {
    int steps = 0;         // steps before the file's end
    int failAt = 0;        // the step whose hold fails (0 none)
    int openResult = 0;
    int done = 0, closes = 0;
    std::vector<int> flushModes;   // the flush mode seen at each end test
} Reader;

void InstallReader()
{
    SettingsText.importFileOpen = [](const uint8_t *, int) { return Reader.openResult; };
    SettingsText.importFileClose = [] { Reader.closes++; return 0; };
    SettingsText.importAtEnd = [] {
        Reader.flushModes.push_back(D4FlushMode());
        return Reader.done >= Reader.steps;
    };
    SettingsText.importTextStep = [] {
        if (++Reader.done == Reader.failAt) DbHoldFail();
    };
}

using CompanyImport = CompanyFixture;

TEST_F(CompanyImport, EmptyImportFlushesQuickThenFullAndStoresNothing)
{
    PString path, text;
    PathOf("empty.VDB", path);
    ASSERT_TRUE(OpenCompany(path, 0));
    ASSERT_EQ(D4FlushMode(), 1);
    uint32_t before = D4FreeSectorCount();
    Reader = FakeReader{};
    InstallReader();
    PathOf("empty.TXT", text);

    EXPECT_EQ(ImportFile(text, 0), 0);
    EXPECT_EQ(Reader.flushModes, std::vector<int>{0});
    EXPECT_EQ(D4FlushMode(), 1);
    EXPECT_EQ(Reader.closes, 1);
    EXPECT_EQ(D4FreeSectorCount(), before);
    EXPECT_EQ(RegRecordCount(CSVc::Number), 0u);
    EXPECT_EQ(TransferBuffer, 0u);   // the transfer buffer lives for one run
}

TEST_F(CompanyImport, FailedStepsAndRefusedFilesAreReported)
{
    PString path, text;
    PathOf("fail.VDB", path);
    ASSERT_TRUE(OpenCompany(path, 0));
    PathOf("x.TXT", text);

    Reader = FakeReader{};
    InstallReader();
    Reader.steps = 3;
    Reader.failAt = 2;
    EXPECT_EQ(ImportFile(text, 0), RecStoreFailed);
    EXPECT_EQ(Reader.done, 3);             // the other steps still ran
    EXPECT_EQ(ImportFailedSteps, 1u);

    Reader = FakeReader{};
    Reader.openResult = 7;
    EXPECT_EQ(ImportFile(text, 0), 7);
    EXPECT_EQ(Reader.closes, 0);
    EXPECT_TRUE(Reader.flushModes.empty());

    SettingsText = SettingsTextExchange{};
    EXPECT_NE(ImportFile(text, 0), 0);     // no reader is no success
}

TEST_F(CompanyImport, NewCompanyWhoseDefaultsFailSaysSoAndStaysOpen)
{
    { std::ofstream defaults(dir / "DEFAULT.TXT"); defaults << "x"; }
    Reader = FakeReader{};
    InstallReader();
    Reader.steps = 1;
    Reader.failAt = 1;
    PString path;
    PathOf("defaults.VDB", path);
    ASSERT_TRUE(OpenCompany(path, 0));
    EXPECT_EQ(Reader.done, 1);
    EXPECT_TRUE(Said(TextOf(9504)));
    EXPECT_TRUE(DbOpenFlag && D4IsOpen());
}

}  // namespace
