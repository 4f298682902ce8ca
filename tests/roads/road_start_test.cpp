// road_start_test.cpp - the first road of a new user: the program starts
// without a company and asks for one in the Open dialog, a new name makes
// a new company filled from DEFAULT.TXT, the login window takes ADMIN and
// the password orvel typed by keys, and the frame shows the demo
// company's name. A wrong password is refused first and changes nothing.
// Menus: none (the road walks no menu).
// Windows: the frame and its dialogs.
#include "tests/roads/road_fixture.h"

#include "database/access/person_password.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/shell.h"

namespace {

constexpr int LoginWindow = 15;

TEST_F(RoadTest, StartMakesTheDemoCompanyAndLogsInAsAdmin)
{
    const std::string company = (dir / "demo.VDB").string();
    ScriptAnswerFile(company);   // the Open dialog WinMain shows first
    Check("the login window asks", [] {
        EXPECT_EQ(ActiveType(), LoginWindow) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "User code");
        return ActiveType() == LoginWindow;
    });
    Type("ADMIN");
    ClickField("Password");
    Type("wrong");
    ClickOk();
    Check("a wrong password is refused and the login asks again", [] {
        EXPECT_TRUE(Told("The user name or the password is wrong."));
        EXPECT_EQ(ActiveType(), LoginWindow);
        EXPECT_EQ(Shown("Password"), "");
        return ActiveType() == LoginWindow;
    });
    ClickField("Password");
    Type("orvel");
    Key(PlKey::Return);
    Check("the frame shows the demo company", [] {
        EXPECT_NE(ActiveType(), LoginWindow);
        EXPECT_EQ(LoggedInFlag, 1);
        EXPECT_EQ(CompanyShown(), "Demo Company AB");
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_FALSE(ScriptRecords().empty());
    EXPECT_EQ(ScriptRecords().front().kind, "file") << "the company was asked for in the Open dialog";
    // One refusal only: DEFAULT.TXT imported without a word.
    EXPECT_EQ(Messages().size(), 1u) << ::testing::PrintToString(Messages());

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(PEVc::Number, PEVc::Code, 5, "ADMIN", &r));
    // The README's password is kept only as its verifier.
    EXPECT_EQ(TextAt(r.data(), PEVc::Password), "");
    PasswordVerifier v;
    ASSERT_TRUE(PersonVerifierGet(r.data(), &v));
    EXPECT_TRUE(VerifierMatches(v, "orvel"));
    EXPECT_FALSE(VerifierMatches(v, "Orvel"));
    for (const char *code : {"C1", "C2", "C3"}) EXPECT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, code, &r)) << code;
    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "C1", &r));
    // Typed in the program (cp1252), the address would store these bytes.
    EXPECT_EQ(TextAt(r.data(), CUVc::Addr1), "Kundv\xe4gen 2");
    for (const char *code : {"ITEM1", "ITEM2", "SERVICE"})
        EXPECT_TRUE(FindByCode(INVc::Number, INVc::Code, 20, code, &r)) << code;
}

}  // namespace
