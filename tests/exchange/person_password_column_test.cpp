// person_password_column_test.cpp - a person's password in the text
// exchange: the export writes the verifier's text and never a password;
// an import of that text keeps the verifier, an import of any other text
// makes it a password whose verifier the store makes, and a verifier text
// cut short is never taken for one. Only the administrator's export holds
// the verifiers, and one who may not read the persons gets none of them.
#include "tests/exchange/exchange_fixture.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/record_buffer.h"
#include "database/access/person_password.h"
#include "database/access/record_access.h"
#include "exchange/section_table.h"
#include "rules/hooks.h"
#include "shell/login.h"
#include "shell/shell.h"

namespace {

class PersonPasswordColumn : public ExchangeFixture {
protected:
    void SetUp() override
    {
        ExchangeFixture::SetUp();
        RulesInstall();
        saved = VerifierIterations;
        VerifierIterations = VerifierIterationsMin;
    }
    void TearDown() override
    {
        VerifierIterations = saved;
        RegisterHooksClear();
        ExchangeFixture::TearDown();
    }
    uint32_t saved = 0;

    // The person with the code as stored now (empty when there is none).
    static std::vector<uint8_t> Amy(const char *who = "AMY")
    {
        std::vector<uint8_t> p(PEVc::Size, 0);
        PString code;
        PStringFromC(code, who);
        PutText(p.data(), PEVc::Code, code);
        uint32_t id = 0, pos = 0;
        if (!RecFindLocal(PEVc::Number, p.data(), 1, 1, &id, &pos)) return {};
        RecFreeMatrix(PEVc::Number, p.data());
        return p;
    }
    static bool Proves(const std::vector<uint8_t> &p, const char *password)
    {
        PasswordVerifier v;
        return PersonVerifierGet(p.data(), &v) && VerifierMatches(v, password);
    }
    void Import(const std::string &password, const std::string &code = "AMY")
    {
        ImportBytes("user1\t\r\n" + code + "\tAmy\t" + password + "\t\r\n\r\n");
    }
};

}  // namespace

TEST_F(PersonPasswordColumn, ExportWritesTheVerifierAndImportKeepsIt)
{
    Import("tulip-77");
    std::vector<uint8_t> amy = Amy();
    ASSERT_FALSE(amy.empty());
    EXPECT_EQ(amy[PEVc::Password], 0) << "the imported password stayed as text";
    EXPECT_TRUE(Proves(amy, "tulip-77"));

    std::string text = ExportBytes([] { RegExportAll(PEVc::Number); });
    EXPECT_EQ(text.find("tulip-77"), std::string::npos);
    PasswordVerifier v;
    ASSERT_TRUE(PersonVerifierGet(amy.data(), &v));
    std::string verifier = VerifierToText(v);
    EXPECT_NE(text.find("AMY\tAmy\t" + verifier + "\t"), std::string::npos) << text;

    // Into an empty company: the verifier comes back as it was, not as
    // the verifier of its own text.
    D4Close();
    ASSERT_EQ(D4Create((dir / "other.VDB").c_str(), 0), D4OpenOk);
    ASSERT_TRUE(SettingsStartup());
    ImportBytes(text);
    std::vector<uint8_t> back = Amy();
    ASSERT_FALSE(back.empty());
    EXPECT_EQ(std::string(back.begin() + PEVc::PassVerifier, back.begin() + PEVc::PassVerifier + VerifierBytes),
              std::string(amy.begin() + PEVc::PassVerifier, amy.begin() + PEVc::PassVerifier + VerifierBytes));
    EXPECT_TRUE(Proves(back, "tulip-77"));
    EXPECT_FALSE(Proves(back, verifier.c_str()));
}

TEST_F(PersonPasswordColumn, AnyOtherTextIsAPasswordAndADamagedVerifierIsNoVerifier)
{
    Import("tulip-77");
    std::vector<uint8_t> amy = Amy();
    PasswordVerifier v;
    ASSERT_TRUE(PersonVerifierGet(amy.data(), &v));
    std::string verifier = VerifierToText(v);

    // A verifier's text cut short by a character: a password (cut to the
    // field's 20 characters) replaces the verifier; it is never taken whole.
    std::string damaged = verifier.substr(0, verifier.size() - 1);
    Import(damaged, "BEA");
    std::vector<uint8_t> after = Amy("BEA");
    ASSERT_FALSE(after.empty());
    EXPECT_FALSE(std::equal(after.begin() + PEVc::PassVerifier, after.begin() + PEVc::PassVerifier + VerifierBytes,
                            amy.begin() + PEVc::PassVerifier));
    EXPECT_TRUE(Proves(after, damaged.substr(0, 20).c_str()));

    // An empty column is the empty password, as it was before verifiers.
    Import("", "CID");
    after = Amy("CID");
    ASSERT_FALSE(after.empty());
    EXPECT_TRUE(Proves(after, ""));
    EXPECT_EQ(after[PEVc::Password], 0);
}

TEST_F(PersonPasswordColumn, AnExportLeavesOutTheRegistersItsUserMayNotRead)
{
    Import("tulip-77");
    ExportMayRead = [](int reg) { return reg != PEVc::Number; };
    std::string refused = ExportBytes([] { RegExportAll(PEVc::Number); });
    ExportMayRead = nullptr;
    EXPECT_EQ(refused.find("AMY"), std::string::npos) << refused;
    EXPECT_NE(ExportBytes([] { RegExportAll(PEVc::Number); }).find("AMY\tAmy\t"), std::string::npos);
}

// The user at this program's screen: a person logged in who may read the
// persons (a group with rows, none refusing them) exports them with an
// empty password column, the administrator with the verifiers; a person
// whose group has no row allows nothing, and the persons are left out of
// the export, which says so once.
TEST_F(PersonPasswordColumn, OnlyTheAdministratorsExportHoldsTheVerifiers)
{
    Import("tulip-77");
    const uint8_t open = DbOpenFlag, in = LoggedInFlag;
    const bool administrator = UserIsAdministrator;
    auto exportAs = [this](bool admin, bool withRows) {
        DbOpenFlag = LoggedInFlag = 1;
        UserIsAdministrator = admin;
        ExportRightsReset();
        MemBlock rows = withRows ? MemAlloc(6) : 0;
        if (rows) {
            uint8_t *p = MemLock(rows);
            const uint16_t row[3] = {1, 2, 1};   // module 2 allowed: a list of rows, none for the persons
            std::memcpy(p, row, 6);
            MemUnlock(rows);
        }
        PutU32(LoggedInUser, LoggedInUserAccessList, rows);
        std::string text = ExportBytes([] { RegExportAll(PEVc::Number); });
        LoginStateReset();
        return text;
    };
    const std::string limited = exportAs(false, true), admin = exportAs(true, false), nobody = exportAs(false, false);
    DbOpenFlag = open;
    LoggedInFlag = in;
    UserIsAdministrator = administrator;
    EXPECT_NE(limited.find("AMY\tAmy\t\t"), std::string::npos) << limited;
    EXPECT_EQ(limited.find("SCRAM-SHA-256$"), std::string::npos) << limited;
    EXPECT_NE(admin.find("SCRAM-SHA-256$"), std::string::npos) << admin;
    EXPECT_EQ(nobody.find("AMY"), std::string::npos) << nobody;
    EXPECT_EQ(Shown(Texts::ExportLeftOut), 1);
}
