// road_assets_test.cpp - a fixed asset as a new user keeps and depreciates
// it: in the General ledger module the register popup opens the model
// list, New makes the straight-line model SL20 at 20 %; the asset list's
// New opens an asset, bought 1.1.2024 for 12 000 with a row on SL20, and
// OK stores it. File > Reports lists the asset reports: the depreciation
// of January to June 2024 shows in the preview and prints 1 200 of
// depreciation to a PDF, and report 109 the voucher it would make, its
// rows naming their accounts whole. File > Maintenance lists the depreciation run,
// whose window stores the half year's voucher. Then the company file
// holds the model, the asset and the voucher.
// Menus: in General ledger, Registers > Accounts, Settings > Asset
// groups..., Registers > Depreciation models, Registers > Fixed assets; in
// Purchasing, Registers > Vendors; File > Reports (Ctrl+R) > "Depreciation
// of fixed assets", File > Reports (Ctrl+R) > "Depreciation voucher",
// File > Print (Ctrl+P), File > Maintenance... >
// "depreciation voucher".
// Windows: Reports, Functions (exports, imports, maintenance), Fixed asset,
// Fixed asset list, Depreciation model, Depreciation model list, Asset
// depreciation selection, Depreciation run selection, Account list,
// Account, Asset groups.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <fstream>
#include <memory>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/toolbar.h"

namespace {

constexpr int ReportList = 6, FunctionList = 7, Preview = 5;
constexpr int Asset = 325, AssetList = 542, DeprModel = 543, DeprModelList = 548, AssetDeprSel = 527,
              DeprRunSel = 539, DeprVoucherSel = 535;
namespace fs = std::filesystem;

TEST_F(RoadTest, AnAssetKeptInItsWindowDepreciatesInReport99) {
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    // The demo company has no asset groups: the group books on the demo
    // chart's accumulated depreciation and a cost account typed in the
    // account window.
    Menu("Module", "General ledger");
    NewFromList("Accounts", WinTypes::AccountList, WinTypes::Accounts);
    TypeAccounts({{"7830", "Depreciation of machines", "Costs", ""}});
    Menu("Window", "Close all");
    SettingsRowsStored("Asset groups...", WinTypes::SetAssetGroups, {{"G1", "1229", "7830", "", "Machines"}});
    // The machine's seller, named on the asset card.
    TypeVendor({"V7", "Lathe Works AB", "", "", "", "", ""});
    Menu("Module", "General ledger");

    Menu("Registers", "Depreciation models");
    Check("the model list opens", Opened(DeprModelList));
    ClickButton("New");
    Check("New opens the model window", Opened(DeprModel));
    ClickField("Code");
    Type("SL20");
    ClickField("Name");
    Type("Machines, 5 years");
    ClickField("Rate %");
    Type("20");
    ClickField("Decimals");
    Type("2");
    ClickButton("Straight line");
    Do("keep a picture of the model", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "depr_model.png"));
        return true;
    });
    OkStores("model");

    Menu("Registers", "Fixed assets");
    Check("the asset list opens", Opened(AssetList));
    ClickButton("New");
    Check("New opens the asset window", Opened(Asset));
    ClickField("Code");
    Type("M1");
    ClickField("Name");
    Type("Lathe");
    ClickField("Group");
    Type("G1");
    ClickField("Acquired");
    Type("01.01.2024");
    ClickField("Value");
    Type("12000");
    ClickField("Vendor");
    Type("V7");
    Key(PlKey::Tab);
    Check("leaving the vendor code shows the vendor's name", [] {
        EXPECT_EQ(Shown("Vendor name"), "Lathe Works AB");
        return true;
    });
    ClickCell(0, 0);
    Type("01.01.2024");
    Key(PlKey::Tab);
    Type("SL20");
    Key(PlKey::Tab);
    Do("keep a picture of the asset", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "asset.png"));
        return true;
    });
    OkStores("asset");
    Menu("Window", "Close all");

    // Report 99 to the preview, then to the printer's PDF.
    auto chooseReport = [this] {
        Key('R', false, true);
        Check("Ctrl+R opens the report list", Opened(ReportList));
        ClickRow("Depreciation of fixed assets");
    };
    auto period = [this] {
        ClickField("From");
        // The window proposes a date: it is selected and typed over.
        Key(PlKey::End);
        Key(PlKey::Home, true);
        Type("01.01.2024");
        ClickField("To");
        Type("30.06.2024");
    };
    chooseReport();
    Key(PlKey::Return);
    Check("its selection window opens", Opened(AssetDeprSel));
    period();
    Do("keep a picture of the selection", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "asset_depr_sel.png"));
        return true;
    });
    ClickButton("OK");
    Check("the preview shows it", [this, shots] {
        EXPECT_EQ(ActiveType(), Preview) << ActiveTitle() << " told " << ::testing::PrintToString(Messages());
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "asset_depr_preview.png"));
        return true;
    });
    Menu("Window", "Close all");
    auto before = std::make_shared<std::vector<fs::path>>();
    Do("note the PDFs", [this, before] {
        *before = FilesIn("print");
        return true;
    });
    chooseReport();
    AnswerPrint(true);
    Key('P', false, true);
    Check("the print selection opens", Opened(AssetDeprSel));
    period();
    ClickButton("OK");
    Check("printed to a PDF with the half year's depreciation", [this, before, shots] {
        std::vector<fs::path> pdfs = NewFilesIn("print", *before);
        if (pdfs.size() != 1) {
            ADD_FAILURE() << pdfs.size() << " PDFs; told " << ::testing::PrintToString(Messages());
            return true;
        }
        if (shots) fs::copy_file(pdfs[0], fs::path(shots) / "asset_depr.pdf", fs::copy_options::overwrite_existing);
        const std::string text = PdfText(pdfs.back());
        EXPECT_NE(text.find("Depreciation of fixed assets"), std::string::npos) << text;
        EXPECT_NE(text.find("Lathe"), std::string::npos) << text;
        EXPECT_NE(text.find("1200,00"), std::string::npos) << text;
        EXPECT_NE(text.find("10800,00"), std::string::npos) << text;   // the book value at the end
        // The sums of every asset stand under a line that names them.
        EXPECT_NE(text.find("Total"), std::string::npos) << text;
        return true;
    });
    Menu("Window", "Close all");

    // Report 109: the voucher the run would store, printed; each row names
    // its account whole, though a row keeps 20 characters of it.
    auto printed = ReportToPreviewAndPdf("Depreciation voucher", DeprVoucherSel, period, "asset_depr_voucher");
    Check("the depreciation voucher's rows name their accounts whole", [printed] {
        EXPECT_NE(printed->find("Depreciation of machines"), std::string::npos) << *printed;
        EXPECT_NE(printed->find("1200,00"), std::string::npos) << *printed;
        return true;
    });

    // The depreciation run's window from the function list.
    Menu("File", "Maintenance...");
    Check("the function list opens", Opened(FunctionList));
    ClickButton("Maintenance");
    ClickRow("depreciation voucher");
    Key(PlKey::Return);
    Check("the run's window opens", [this, shots] {
        EXPECT_EQ(ActiveType(), DeprRunSel) << ActiveTitle() << " told " << ::testing::PrintToString(Messages());
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "depr_run_sel.png"));
        return true;
    });
    period();
    ClickButton("OK");
    Check("the run stores its voucher and says so on the status line, without a box", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_EQ(StatusLineText().rfind("1 depreciation voucher made, numbers ", 0), 0u) << StatusLineText();
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> model, asset;
    ASSERT_TRUE(FindByCode(DeprModelVc::Number, DeprModelVc::Code, 5, "SL20", &model));
    EXPECT_EQ(GetU16(model.data(), DeprModelVc::Method), 1);
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(model.data(), DeprModelVc::RatePct), 20);
    ASSERT_TRUE(FindByCode(AssetVc::Number, AssetVc::Code, 10, "M1", &asset));
    EXPECT_EQ(TextAt(asset.data(), AssetVc::Name), "Lathe");
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(asset.data(), AssetVc::AcqValue), 12000);
    EXPECT_EQ(TextAt(asset.data(), AssetVc::VendCode), "V7");
    EXPECT_EQ(TextAt(asset.data(), AssetVc::VendName), "Lathe Works AB");
    // The run's voucher: the half year's 1 200 from the group's cost
    // account to its accumulated depreciation, balanced.
    ASSERT_EQ(RegRecordCount(SMVc::Number), 1u);
    std::vector<uint8_t> voucher(SMVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(SMVc::Number, 1, voucher.data(), &id));
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(voucher.data(), SMVc::Debit), 1200);
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(voucher.data(), SMVc::Balance), 0);
    CloseForCheck();
}

}  // namespace
