// road_contract_invoicing_test.cpp - a contract invoiced as a user does
// it: in the Sales module a contract of customer C1 is typed with one
// row, its next period starting 1 February 2025 and a monthly interval; File >
// Maintenance runs "Invoice contracts" over that day. The company file holds
// one invoice of the contract's row dated that day, and the contract its
// last-invoice date; the run names the invoice on the status line, and a
// second run over the same day makes no other and says why.
// Report 89, printed before the run, shows the invoice the run will make.
// Menus: in Sales, Registers > Contract; File > Maintenance... > "Invoice
// contracts", File > Reports (Ctrl+R) > "Contract invoices to make", File >
// Print (Ctrl+P).
// Windows: Contract, Invoice contracts (routine 15), Reports, Contract
// invoice preview selection (report 89).
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <functional>
#include <memory>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "shell/toolbar.h"

namespace {

constexpr int Contract = 468, ContractInvoiceSel = 487, ReportList = 6, PreviewSel = 493;
constexpr int ColItem = 0;
namespace fs = std::filesystem;

class ContractInvoicingRoad : public RoadTest {
protected:
    // File > Maintenance, "Invoice contracts", the invoice dates from and
    // to the day typed, and OK. With `made` the run says on the status
    // line that it made one invoice, and nothing else; without, it tells
    // in a message why it made none.
    void RunContracts(std::shared_ptr<std::string> day, const char *shot, bool made)
    {
        OpenMaintenanceRun("Invoice contracts", ContractInvoiceSel);
        ClickField("Invoice dates from");
        Type("the first day", [day] { return *day; });
        ClickField("Invoice dates to");
        Type("the last day", [day] { return *day; });
        const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
        Do("keep a picture of the selection window", [this, shots, shot] {
            EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / shot, true));
            return true;
        });
        ClickButton("OK");
        if (made) {
            Check("the run names the invoice it made, without a message", [] {
                EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
                EXPECT_EQ(StatusLineText().rfind("1 invoice made, numbers ", 0), 0u) << StatusLineText();
                return true;
            });
        } else {
            Check("the run tells why it made nothing", [] {
                EXPECT_TRUE(Told("No invoice made: no contract of the selection has a period to invoice"))
                    << ::testing::PrintToString(Messages());
                return true;
            });
        }
    }
    // Report 89 from the report list printed over the day: the PDF's text.
    void PrintPreview(std::shared_ptr<std::string> day, std::shared_ptr<std::string> text)
    {
        Key('R', false, true);
        Check("Ctrl+R opens the report list", [] {
            EXPECT_EQ(ActiveType(), ReportList) << ActiveTitle();
            return ActiveType() == ReportList;
        });
        ClickRow("Contract invoices to make");
        AnswerPrint(true);
        auto before = std::make_shared<std::vector<fs::path>>();
        Do("note the PDFs", [this, before] {
            *before = FilesIn("print");
            return true;
        });
        Key('P', false, true);
        Check("the preview report's window opens", [] {
            EXPECT_EQ(ActiveType(), PreviewSel) << ActiveTitle();
            return ActiveType() == PreviewSel;
        });
        ClickField("Invoice dates from");
        Type("the first day", [day] { return *day; });
        ClickField("Invoice dates to");
        Type("the last day", [day] { return *day; });
        ClickButton("OK");
        Check("the report is printed to a PDF", [this, before, text] {
            std::vector<fs::path> pdfs = NewFilesIn("print", *before);
            EXPECT_EQ(pdfs.size(), 1u) << ::testing::PrintToString(Messages());
            if (pdfs.size() != 1) return true;
            *text = PdfText(pdfs.back());
            const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
            std::error_code ignored;
            if (shots) fs::copy_file(pdfs.back(), fs::path(shots) / "contract_preview_89.pdf",
                                     fs::copy_options::overwrite_existing, ignored);
            return true;
        });
        Menu("Window", "Close all");
    }
};

TEST_F(ContractInvoicingRoad, AContractIsInvoicedOncePerPeriod)
{
    const std::string company = StartNewCompany();
    Menu("Module", "Sales");
    Menu("Registers", "Contract");
    Check("the register popup opens the contract window", [] {
        EXPECT_EQ(ActiveType(), Contract) << ActiveTitle();
        return ActiveType() == Contract;
    });
    Menu("Record", "New");
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    ClickCell(0, ColItem);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    ClickButton("Terms");
    ClickField("Next period");
    Type("01.02.2025");
    Key(PlKey::Tab);
    auto day = std::make_shared<std::string>();
    Check("the next period takes the date typed", [day] {
        *day = Shown("Next period");
        EXPECT_EQ(*day, "01.02.2025");
        return !day->empty();
    });
    ClickField("Interval");
    Type("1");
    Key(PlKey::Tab);
    OkStores("contract");
    Menu("Window", "Close all");
    auto preview = std::make_shared<std::string>();
    PrintPreview(day, preview);
    RunContracts(day, "contract_invoicing_487.png", true);
    RunContracts(day, "contract_invoicing_again.png", false);
    EXPECT_EQ(Run(), 0);
    // The preview printed before the run shows the invoice the run made.
    EXPECT_NE(preview->find("Contract invoices to make"), std::string::npos) << *preview;
    EXPECT_NE(preview->find("Period 01.02.2025:28.02.2025"), std::string::npos) << *preview;
    EXPECT_NE(preview->find("250,00"), std::string::npos) << *preview;

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(IVVc::Number), 1u);
    MemBlock h = 0;
    uint8_t *inv = RecBufferNew(IVVc::Number, &h);
    ASSERT_TRUE(inv);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(IVVc::Number, 1, inv, &id));
    EXPECT_EQ(TextAt(inv, IVVc::CustCode), "C1");
    EXPECT_NE(GetI32(inv, IVVc::SerNr), -1);
    ASSERT_EQ(MatrixRowCount(IVVc::Number, 0, inv), 4);
    uint8_t row[IVVc::Rows::Size];
    ASSERT_TRUE(MatrixRowRead(IVVc::Number, inv, 0, row));
    EXPECT_EQ(TextAt(row, IVVc::Rows::Text).rfind("Contract ", 0), 0u) << TextAt(row, IVVc::Rows::Text);
    ASSERT_TRUE(MatrixRowRead(IVVc::Number, inv, 3, row));
    EXPECT_EQ(TextAt(row, IVVc::Rows::ItemCode), "ITEM1");
    PackedDecimal total = GetDec(inv, IVVc::Total);
    EXPECT_DOUBLE_EQ(DecToDouble(&total), 250);   // 2 x 100 and 25 % VAT
    const DateRec invoiced = GetDate(inv, IVVc::InvDate);
    RecBufferFree(IVVc::Number, &h);

    std::vector<uint8_t> contract(ContractVc::Size);
    ASSERT_TRUE(RecReadAt(ContractVc::Number, 1, contract.data(), &id));
    const DateRec last = GetDate(contract.data(), ContractVc::LastInvDate);
    EXPECT_EQ(DateCompare(&last, &invoiced), 0);
    const DateRec start = GetDate(contract.data(), ContractVc::NextPeriod);
    EXPECT_EQ(DateCompare(&start, &invoiced), 0);
    CloseForCheck();
}

}  // namespace
