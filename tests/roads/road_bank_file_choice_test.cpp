// road_bank_file_choice_test.cpp - a new user of the demo company pays a
// vendor through the bank: the company window takes the bank-file format, the enterprise number and the
// company's account; a purchase invoice is typed and approved, and an
// outgoing payment typed from it takes the vendor's account. The bank
// payment file in Telepay then holds the payment's transfer and invoice
// records and the run says what it wrote and where, its Save As dialog
// having proposed Telepay's own file name. A run halted by a
// number too wide for its field leaves no file on disk, and the Estonian
// format asks for its file like the others and names the files it wrote.
// Menus: in Purchasing, Registers > Vendors, Registers > Purchase invoices,
// Registers > Outgoing payments; File > Windows... > "Company", File >
// Maintenance... > "Bank payment file".
// Windows: Company, Windows, Purchase invoice list, Outgoing payment list,
// Outgoing payment, Bank payment file selection.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_text.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int CompanyWindow = 592, WindowList = 12, PurchaseInvoiceList = 154, OutPaymentList = 156,
              OutPayment = 157, BankFileSelection = 415;
namespace fs = std::filesystem;

// The name the last file dialog proposed.
std::string LastFileDialogProposed()
{
    std::string proposed = "(no file dialog)";
    for (const PlScriptRecord &r : ScriptRecords())
        if (r.kind == "file") proposed = r.proposed;
    return proposed;
}

class BankFileChoiceRoad : public RoadTest {
protected:
    // Opens the company window from File > Windows.
    void OpenCompanyWindow()
    {
        Menu("File", "Windows...");
        Check("the window list opens", [] { return ActiveType() == WindowList; });
        ClickRow("Company");
        Key(PlKey::Return);
        Check("the company window opens", [] {
            EXPECT_EQ(ActiveType(), CompanyWindow) << ActiveTitle();
            return ActiveType() == CompanyWindow;
        });
    }
};

TEST_F(BankFileChoiceRoad, ATelepayFileCarriesThePaymentTypedInItsWindow)
{
    const std::string company = StartNewCompany("bankchoice.VDB");
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");

    OpenCompanyWindow();
    ClickField("Bank file format");
    Type("9");
    ClickField("Enterprise no.");
    Type("NO 123 456 789 01");
    Retype("Bank account", "1234.56.78901");
    Do("keep a picture of the company window", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "company_bank_format.png"));
        return true;
    });
    ClickOk();
    Menu("Window", "Close all");

    // The one vendor, with its account number, typed into its window; its
    // accounts are the demo company's.
    TypeVendor({"V1", "Fjord Supply AS", "Kai 1", "", "", "", "1111.22.33333"});

    Menu("Module", "Purchasing");
    Menu("Registers", "Purchase invoices");
    Check("the purchase-invoice list opens", Opened(PurchaseInvoiceList));
    ClickButton("New");
    ClickField("Vendor");
    Type("V1");
    Key(PlKey::Tab);
    ClickField("Vendor's invoice");
    Type("F-501");
    ClickField("Total");
    Type("250");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("5010");
    Key(PlKey::Tab);
    ClickCell(0, 3);
    Type("250");
    Key(PlKey::Tab);
    ClickButton("Approved");
    ClickOk();
    auto invoice = std::make_shared<std::string>();
    Check("the invoice is stored", [invoice] {
        *invoice = DigitsOf(Shown("Number"));
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return !invoice->empty();
    });
    Menu("Window", "Close all");

    Menu("Registers", "Outgoing payments");
    Check("the payment list opens", Opened(OutPaymentList));
    ClickButton("New");
    Check("New opens a payment", Opened(OutPayment));
    ClickField("Payment mode");
    Type("K");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Do("type the invoice's number", [invoice] {
        ScriptText(*invoice);
        return true;
    });
    Key(PlKey::Tab);
    ClickButton("Approved");
    ClickOk();
    auto payment = std::make_shared<std::string>();
    Check("the payment is stored", [payment] {
        *payment = DigitsOf(Shown("Number"));
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return !payment->empty();
    });
    Menu("Window", "Close all");

    const fs::path telepay = dir / "TILTB.TBD";
    auto numbers = std::make_shared<std::string>();
    Do("the range is the payment's number", [payment, numbers] {
        *numbers = *payment + ":" + *payment;
        return true;
    });
    ChooseTextExport("Bank payment file", telepay, true);
    Check("the selection window opens", [] { return ActiveType() == BankFileSelection; });
    ClickField("Payments");
    Type("the payment's number", [numbers] { return *numbers; });
    ClickOk();
    Check("the Save As dialog proposed Telepay's own name; the run says what it wrote and where, and leaves "
          "nothing unsent",
          [telepay] {
              EXPECT_EQ(LastFileDialogProposed(), "TILTB.TBD");
              EXPECT_TRUE(Told("1 payment in " + telepay.string())) << ::testing::PrintToString(Messages());
              EXPECT_FALSE(Told("stay unsent")) << ::testing::PrintToString(Messages());
              return true;
          });
    Menu("Window", "Close all");

    // The same payment again with an enterprise number of twelve digits:
    // the run stops, and the file it had begun is not left behind.
    OpenCompanyWindow();
    ClickField("Enterprise no.");
    Key(PlKey::End);
    for (int i = 0; i < 20; i++) Key(PlKey::Back);
    Type("123456789012");
    ClickOk();
    Menu("Window", "Close all");
    const fs::path halted = dir / "STOPPED.TBD";
    ChooseTextExport("Bank payment file", halted, true);
    ClickField("Payments");
    Type("the payment's number", [numbers] { return *numbers; });
    ClickButton("Send again");
    ClickOk();
    Check("a halted file leaves nothing on disk", [halted] {
        EXPECT_TRUE(Told("not completed")) << ::testing::PrintToString(Messages());
        EXPECT_FALSE(fs::exists(halted));
        EXPECT_FALSE(fs::exists(halted.string() + ".part"));
        return true;
    });
    Menu("Window", "Close all");

    // Estonian payment orders: the file is asked for like the others.
    OpenCompanyWindow();
    ClickField("Bank file format");
    Key(PlKey::End);
    for (int i = 0; i < 20; i++) Key(PlKey::Back);
    Type("27");
    ClickOk();
    Menu("Window", "Close all");
    const fs::path order = dir / "ORDER.TXT";
    ChooseTextExport("Bank payment file", order, true);
    ClickField("Payments");
    Type("the payment's number", [numbers] { return *numbers; });
    ClickButton("Send again");
    ClickOk();
    Check("the order goes to the file chosen, and the run says so", [order] {
        EXPECT_EQ(LastFileDialogProposed(), "") << "the Estonian format has no name of its own";
        EXPECT_TRUE(fs::exists(order)) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told("1 payment in " + order.string())) << ::testing::PrintToString(Messages());
        return true;
    });
    EXPECT_EQ(Run(), 0);

    // Telepay: the opening, the payee's transfer and invoice records and
    // the closing, four lines of 80 each.
    std::vector<std::string> lines = FileLines(telepay);
    ASSERT_EQ(lines.size(), 16u);
    for (const std::string &l : lines) EXPECT_EQ(l.size(), 80u) << l;
    EXPECT_EQ(lines[4].substr(40, 8), "BETFOR21");
    EXPECT_EQ(lines[4].substr(48, 22), "12345678901" + std::string("12345678901"));
    EXPECT_EQ(lines[5].substr(6, payment->size()), *payment);
    EXPECT_EQ(lines[5].substr(37, 11), "11112233333") << "the vendor's account";
    EXPECT_EQ(lines[5].substr(48, 15), "FJORD SUPPLY AS");
    EXPECT_EQ(lines[7].substr(28, 15), "000000000025000");
    EXPECT_EQ(lines[8].substr(40, 8), "BETFOR23");
    EXPECT_EQ(lines[11].substr(17, 16), "000000000025000D");
    EXPECT_EQ(lines[12].substr(40, 8), "BETFOR99");
    std::vector<std::string> message = FileLines(order);
    ASSERT_GE(message.size(), 17u);
    EXPECT_EQ(message[16], ":9 BENEFICIARYS ACCOUNT NO: 1111.22.33333");

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> record(RegRecordSize(OPVc::Number), 0);
    PutI32(record.data(), OPVc::SerNr, std::stoi(*payment));
    uint32_t id = 0, pos = 0;
    ASSERT_TRUE(RecFind(OPVc::Number, record.data(), 1, 1, &id, &pos));
    RecFreeMatrix(OPVc::Number, record.data());
    EXPECT_EQ(GetU16(record.data(), OPVc::Sent), 1);
    uint8_t block[CompanyBlk::Size] = {0};
    ASSERT_TRUE(SettingsBlockRead(CompanyBlk::Number, block, sizeof block));
    EXPECT_EQ(GetU16(block, CompanyBlk::CompanyVariant), 27);
    CloseForCheck();
}

}  // namespace
