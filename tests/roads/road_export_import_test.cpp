// road_export_import_test.cpp - a company carried to another by text
// export and import, from the menus: a customer added by keys, a vendor
// with two approved purchase invoices and a posted payment of one, a full
// export from File > Maintenance's function list to a text file, a
// second new company made from File > Company that imports the file, and
// its own full export, which is the first byte for byte but for the
// verifier of ADMIN's password that each company salted itself. The
// vendor's ledger entries and period balance read the same in both.
// Menus: in Sales, Registers > Customers (Ctrl+1); in Purchasing,
// Registers > Vendors, Registers > Purchase invoices, Registers > Outgoing
// payments, Operations > Post marked, Registers > Vendor ledger entries,
// Registers > Vendor period balances; File > Maintenance... > "full", File > Company..., File >
// Maintenance... > text import.
// Windows: those its menu entries open.
#include "tests/roads/road_fixture.h"

#include <fstream>
#include <iterator>

#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "tests/exchange/demo_defaults.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ExportImportRoad : public RoadTest {
protected:
    // Purchasing > Registers > `list`: the rows the list shows, in order,
    // into *rows once the step ran.
    void ReadList(const std::string &list, int type, std::shared_ptr<std::vector<std::string>> rows)
    {
        Menu("Module", "Purchasing");
        Menu("Registers", list);
        Check("the list " + list + " opens", [type, rows] {
            EXPECT_EQ(ActiveType(), type) << ActiveTitle();
            *rows = ListRowsShown();
            return ActiveType() == type;
        });
        Menu("Window", "Close all");
    }

    // File > Maintenance, the function list's exports, the full export
    // to the text file `file`.
    void FullExport(const fs::path &file)
    {
        ChooseTextExport("full", file);
        Check("the export is written", [file] {
            EXPECT_TRUE(fs::exists(file)) << file << "; told " << ::testing::PrintToString(Messages());
            return fs::exists(file);
        });
    }
};

TEST_F(ExportImportRoad, FullExportImportedIntoANewCompanyExportsTheSame)
{
    const fs::path first = dir / "first.txt", second = dir / "second.txt";
    StartNewCompany("one.VDB");
    // A customer of this company's own, so the carried file is more than the defaults.
    Key('1', false, true);
    Key('N', false, true);
    Type("C9");
    Key(PlKey::Tab);
    Type("Carried Customer");
    ClickOk();
    Check("the customer is stored", [] {
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return true;
    });
    // A vendor owed two approved invoices, one of them paid by a posted
    // payment: each reaches the vendor's ledger.
    TypeVendor({"V1", "Carried Vendor", "Kai 1", "", "", "", "5012345-6789"});
    auto rent = TypeApprovedPurchaseInvoice("V1", "F-1", "5010", "250,00");
    auto cleaning = TypeApprovedPurchaseInvoice("V1", "F-2", "5010", "100,00");
    auto paid = TypeApprovedPayment("B", cleaning);
    Menu("Registers", "Outgoing payments");
    Check("the payment list opens", Opened(WinTypes::OutPaymentList));
    FindRow("the payment to post", paid);
    Menu("Operations", "Post marked");
    Menu("Window", "Close all");
    auto ledger = std::make_shared<std::vector<std::string>>(), balances = std::make_shared<std::vector<std::string>>();
    ReadList("Vendor ledger entries", WinTypes::VendLedgerList, ledger);
    Check("the vendor's ledger holds both invoices and the payment", [ledger] {
        EXPECT_EQ(ledger->size(), 3u) << ::testing::PrintToString(*ledger);
        return true;
    });
    ReadList("Vendor period balances", WinTypes::VendBalanceList, balances);
    FullExport(first);
    Check("the export starts as a full export", [first] {
        std::string text = ReadAll(first);
        EXPECT_EQ(text.rfind("tb\t\r\n", 0), 0u) << text.substr(0, 40);
        EXPECT_NE(text.find("Carried Customer"), std::string::npos);
        return true;
    });

    // A second company, by File > Company: the defaults, the login, then
    // the import of the first company's file.
    const std::string two = (dir / "two.VDB").string();
    AnswerBox(kPlIdNo);   // leaving windows open with nothing to store
    AnswerFile(two);
    Menu("File", "Company...");
    Check("the second company asks for a login", [] {
        EXPECT_EQ(ActiveType(), 15) << ActiveTitle();
        return ActiveType() == 15;
    });
    ClickField("User code");
    Type("ADMIN");
    ClickField("Password");
    Type("orvel");
    ClickOk();
    Menu("File", "Maintenance...");
    ClickButton("Imports");
    ClickButton("Text file");
    Check("the import list offers the text import", [] {
        EXPECT_FALSE(ListRows().empty());
        return !ListRows().empty();
    });
    ClickRow("");   // its first row
    AnswerFile(first.string());
    Key(PlKey::Return);
    Check("the import ran", [] {
        EXPECT_FALSE(Told("not imported")) << ::testing::PrintToString(Messages());
        return true;
    });
    Check("the record kept as newer is named: the second company's own ADMIN", [] {
        EXPECT_TRUE(Told("Records kept because the stored copy is newer: 1 (user1 ADMIN)"))
            << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");
    auto ledgerTwo = std::make_shared<std::vector<std::string>>(), balancesTwo = std::make_shared<std::vector<std::string>>();
    ReadList("Vendor ledger entries", WinTypes::VendLedgerList, ledgerTwo);
    ReadList("Vendor period balances", WinTypes::VendBalanceList, balancesTwo);
    Check("the restored vendor's ledger and balance read as the first", [=] {
        EXPECT_EQ(*ledgerTwo, *ledger);
        EXPECT_EQ(*balancesTwo, *balances);
        EXPECT_EQ(balances->size(), 1u) << ::testing::PrintToString(*balances);
        return true;
    });
    FullExport(second);
    EXPECT_EQ(Run(), 0);

    std::string a = ReadAll(first), b = ReadAll(second);
    EXPECT_GT(a.size(), 1000u);
    // Each company salted its own verifier of ADMIN's password, and the
    // second keeps its own ADMIN: the exports differ there alone.
    const std::string verifierA = demodefaults::AdminPassword(a), verifierB = demodefaults::AdminPassword(b);
    for (const std::string &text : {verifierA, verifierB}) {
        PasswordVerifier v;
        EXPECT_TRUE(VerifierFromText(text, &v) && VerifierMatches(v, "orvel")) << text;
    }
    a = demodefaults::WithAdminPassword(a, verifierB);
    EXPECT_TRUE(a == b) << "the exports differ first at byte "
                        << std::distance(a.begin(), std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first);

    ASSERT_TRUE(OpenForCheck(two));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "C9", &r));
    EXPECT_EQ(TextAt(r.data(), CUVc::Name), "Carried Customer");
    EXPECT_EQ(RegRecordCount(CUVc::Number), 4u);
    EXPECT_EQ(RegRecordCount(VLVc::Number), 3u) << "both invoices and the payment in the vendor ledger";
    CloseForCheck();
}

}  // namespace
