// road_start_test.cpp - the first road of a new user: the program starts
// without a company and asks for one in the Open dialog, a new name makes
// a new company filled from DEFAULT.TXT, the login window takes ADMIN and
// the password orvel typed by keys, and the frame shows the demo
// company's name. A wrong password is refused first and changes nothing.
// Then the README's first hour, steps 3 and 4, walked by the keys its
// words give: a new voucher opens with the caret in its Date, two Tabs
// reach its Text and one more its first row; in the list of windows the
// beginning of "Sales invoices" typed and Return open the invoice list.
// Menus: in General ledger, Registers > Vouchers, Operations > Balance
// row; File > Windows... > "Sales invoices".
// Windows: the frame and its dialogs, Voucher list, Voucher, Windows,
// Sales invoice list.
#include "tests/roads/road_fixture.h"

#include "database/access/person_password.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/shell.h"

namespace {

constexpr int LoginWindow = 15, VoucherList = 118, Voucher = 117, SalesInvoiceList = 348;
constexpr int ColDebit = 3, ColCredit = 4;

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

// A company named on the command line that has no file is not made: the
// user is told, and the Open dialog asks; a new name there makes the new
// company (as `orvel --help` says).
TEST_F(RoadTest, ANameWithNoFileIsToldAndTheOpenDialogMakesTheCompany)
{
    const std::string named = (dir / "nosuch.VDB").string();
    const std::string company = StartNewCompany("made.VDB");
    Check("the name with no file was told before the dialog asked", [named] {
        EXPECT_TRUE(Told("There is no database file by this name: " + named)) << ::testing::PrintToString(Messages());
        EXPECT_EQ(CompanyShown(), "Demo Company AB");
        return true;
    });
    EXPECT_EQ(Run(named), 0);
    EXPECT_FALSE(std::filesystem::exists(named));
    EXPECT_TRUE(std::filesystem::exists(company));
}

// The README's first hour, steps 3 and 4, as its words tell a user to
// walk them.
TEST_F(RoadTest, TheFirstHoursVoucherAndInvoiceListGoAsTheReadmeSays)
{
    const std::string company = StartNewCompany();
    Menu("Module", "General ledger");
    Menu("Registers", "Vouchers");
    Check("Registers > Vouchers opens the voucher list", Opened(VoucherList));
    ClickButton("New");
    Check("New opens a voucher with the caret in its Date, today's date proposed", [] {
        EXPECT_EQ(ActiveType(), Voucher) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "Date");
        EXPECT_NE(Shown("Date"), "");
        return ActiveType() == Voucher;
    });
    Key(PlKey::Tab);
    Key(PlKey::Tab);
    Check("two Tabs, past the Code, reach the Text", [] {
        EXPECT_EQ(FocusLabel(), "Text");
        return FocusLabel() == "Text";
    });
    Type("Cash sale");
    Key(PlKey::Tab);
    Check("Tab goes into the rows", [] {
        EXPECT_EQ(FocusLabel(), "cell");
        return FocusLabel() == "cell";
    });
    Type("1910");
    Key(PlKey::Tab);
    ClickCell(0, ColDebit);
    Type("1250");
    Key(PlKey::Tab);
    for (int row : {1, 2}) {
        ClickCell(row, 0);
        Type(row == 1 ? "3010" : "2610");
        Key(PlKey::Tab);
        if (row == 1) {
            ClickCell(row, ColCredit);
            Type("1000");
            Key(PlKey::Tab);
        }
    }
    ClickCell(2, ColCredit);
    Menu("Operations", "Balance row");
    ClickOk();
    Check("OK stores the voucher", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return TitleTells("viewing");
    });
    Menu("Window", "Close all");

    Menu("File", "Windows...");
    Type("Sales inv");
    Key(PlKey::Return);
    Check("the beginning of \"Sales invoices\" and Return open the invoice list", [] {
        EXPECT_EQ(ActiveType(), SalesInvoiceList) << ActiveTitle();
        return ActiveType() == SalesInvoiceList;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(TRVc::Number), 1u);
    std::vector<uint8_t> voucher(TRVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(TRVc::Number, 1, voucher.data(), &id));
    EXPECT_EQ(TextAt(voucher.data(), TRVc::Text), "Cash sale");
    EXPECT_NEAR(AmountAt(voucher.data(), TRVc::DebitTotal), 1250, 0.005);
    EXPECT_NEAR(AmountAt(voucher.data(), TRVc::CreditTotal), -1250, 0.005);
}

}  // namespace
