// database_open_test.cpp - opening and closing a company: the company
// dialog creates only where no file is, a client falls back to a local
// company, a client's close ends its session, and writes made under the
// quick flush mode survive the program's end.
#include "tests/shell/shell_fixture.h"

#include "core/date.h"
#include "core/decimal.h"
#include "shell/company.h"

namespace {

using DatabaseOpen = ShellCompanyFixture;

TEST_F(DatabaseOpen, DialogCreatesOnlyWhereNoFileIs)
{
    std::filesystem::create_directory(dir / "folder.VDB");
    { std::ofstream junk(dir / "junk.VDB"); junk << "not a company, and must stay so"; }
    ScriptAnswerFile((dir / "folder.VDB").string());
    ScriptAnswerFile((dir / "junk.VDB").string());
    ScriptAnswerFile((dir / "new.VDB").string());

    DbConnectCommand();

    EXPECT_TRUE(DbOpenFlag && D4IsOpen());
    EXPECT_FALSE(QuitFlag);
    // Each refusal is told once, and the dialog asked again.
    ASSERT_EQ(MessagesShown.size(), 3u);
    EXPECT_EQ(MessagesShown[0], D4OpenResultText(D4OpenNotAFile) + (dir / "folder.VDB").string());
    EXPECT_EQ(MessagesShown[1], D4OpenResultText(D4OpenNotDatabase) + (dir / "junk.VDB").string());
    EXPECT_TRUE(Said(TextOf(9504)));   // no text reader: the new company starts empty
    std::ifstream junk(dir / "junk.VDB");
    std::string kept;
    std::getline(junk, kept);
    EXPECT_EQ(kept, "not a company, and must stay so");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.VDB"));

    CompanyClose();
    EXPECT_FALSE(D4IsOpen());
    EXPECT_FALSE(DbOpenFlag);
    EXPECT_EQ(LogLines("Close database " + (dir / "new.VDB").string()), 1);   // the created file named
    CompanyClose();   // nothing open: no second close line
    EXPECT_EQ(LogLines("Close database "), 1);
}

bool ConnectFails() { return false; }
int Connects = 0;

TEST_F(DatabaseOpen, ClientFallsBackToALocalCompanyButNotInTheCompactVariant)
{
    NetServices.connectLoop = [] { Connects++; return ConnectFails(); };
    Connects = 0;
    RunMode = RunModeClient;
    ScriptAnswerFile((dir / "local.VDB").string());
    DbConnectCommand();
    EXPECT_EQ(Connects, 1);
    EXPECT_EQ(RunMode, 0);
    EXPECT_TRUE(DbOpenFlag && D4IsOpen());
    DbClose();

    CompactVariant = true;
    RunMode = RunModeClient;
    ScriptReset();
    DbConnectCommand();
    EXPECT_EQ(Connects, 1);   // not tried
    EXPECT_TRUE(ScriptRecords().empty());   // no dialog either
    EXPECT_TRUE(QuitFlag);
    EXPECT_EQ(RunMode, RunModeClient);
}

std::vector<uint16_t> Sent;
bool Busy = false;

TEST_F(DatabaseOpen, ClientCloseEndsTheSessionUnlessARequestRuns)
{
    Sent.clear();
    TransportInstall([](uint16_t code, MsgBuffer *, MsgBuffer *) { Sent.push_back(code); return false; },
                     nullptr);
    NetServices.requestInProgress = [] { return Busy; };
    RunMode = RunModeClient;

    Busy = true;
    DbOpenFlag = 1;
    DbClose();
    EXPECT_TRUE(Sent.empty());
    EXPECT_FALSE(DbOpenFlag);

    Busy = false;
    DbOpenFlag = 1;
    DbClose();
    ASSERT_EQ(Sent.size(), 1u);
    EXPECT_EQ(Sent[0], 24);
    EXPECT_FALSE(DbOpenFlag);
    EXPECT_EQ(LogLines("Close database "), 0);   // a client has no file to close
}

TEST_F(DatabaseOpen, QuickFlushedWritesSurviveTheEnd)
{
    PString path;
    PathOf("quick.VDB", path);
    ASSERT_TRUE(OpenCompany(path, 0));
    DbFlushQuick();
    ASSERT_EQ(D4FlushMode(), 0);
    std::vector<uint8_t> customer(CSVc::Size);
    for (int i = 0; i < 40; i++) {
        std::fill(customer.begin(), customer.end(), 0);
        std::string code = "C" + std::to_string(1000 + i);
        PStringFromC(&customer[CSVc::CustCode], code.c_str());
        uint32_t id = 0;
        DbHoldBegin();
        ASSERT_TRUE(RecInsertLocal(CSVc::Number, customer.data(), &id));
        ASSERT_TRUE(DbHoldEnd());
    }
    CompanyClose();
    ASSERT_FALSE(D4IsOpen());

    ASSERT_TRUE(DbLayerInit());
    ASSERT_TRUE(DbOpen(path, 0));
    std::string report;
    EXPECT_TRUE(D4IntegrityCheck(&report)) << report;
    EXPECT_EQ(RegRecordCount(CSVc::Number), 40u);
}

TEST_F(DatabaseOpen, ANewCompanyFormatsNumbersAndDatesWithTheDefaults)
{
    PString path;
    PathOf("formats.VDB", path);
    ASSERT_TRUE(OpenCompany(path, 0));
    // No default settings were imported: block 145 is not stored, and
    // amounts and dates still show their separators.
    PackedDecimal amount;
    ASSERT_TRUE(TextToDecChecked(reinterpret_cast<const uint8_t *>("\x07" "1250,50"), &amount));
    uint8_t text[256];
    DecFormat(&amount, 2, text);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(text + 1), text[0]), "1250,50");
    DateRec day{15, 6, 2024};
    DateToText(&day, text);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(text + 1), text[0]), "15.06.2024");
    CompanyClose();
}

}  // namespace
