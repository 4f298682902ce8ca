// road_invoice_reference_test.cpp - an invoice's payment reference as the
// customer pays with it and the company keeps it. A sales invoice is
// typed and printed without being posted (so it stores no reference
// yet), the whole company is exported and imported into a new company,
// where the invoice is printed again. The reference the first page
// prints, the one the second company stores for the invoice and the one
// its page prints are the same.
// Menus: File > Windows... > "Sales invoices", File > Print (Ctrl+P), File
// > Maintenance... > "full", File > Company..., File > Maintenance... >
// text import.
// Windows: Sales invoice.
#include "tests/roads/road_fixture.h"

#include <fstream>
#include <memory>
#include <sstream>

#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int SalesInvoice = 347, Login = 15, ColItem = 1;
namespace fs = std::filesystem;

// The reference a printed invoice shows: the last word of the page's line
// that holds "Reference" (the label is on its left); empty when none.
std::string PrintedReference(const std::string &page) {
    std::istringstream in(page);
    for (std::string line; std::getline(in, line);) {
        if (line.find("Reference") == std::string::npos) continue;
        std::istringstream words(line);
        std::string word, last;
        while (words >> word) last = word;
        return last == "Reference" ? "" : last;
    }
    return "";
}

class InvoiceReferenceRoad : public RoadTest {
protected:
    // File > Windows..., the sales invoices' list.
    void InvoiceList() {
        Menu("File", "Windows...");
        ClickRow("Sales invoices");
        Key(PlKey::Return);
    }
    // File > Print of the open invoice; the reference its page shows goes
    // into printed once the step ran.
    void PrintReference(std::shared_ptr<std::string> printed) {
        AnswerPrint(true);
        Key('P', false, true);
        Check("the invoice prints its reference", [this, printed] {
            std::vector<fs::path> pdfs = FilesIn("print");
            if (pdfs.empty()) {
                ADD_FAILURE() << "nothing printed; told " << ::testing::PrintToString(Messages());
                return false;
            }
            const std::string page = PdfText(pdfs.back());
            *printed = PrintedReference(page);
            EXPECT_NE(*printed, "") << page;
            for (char c : *printed) EXPECT_TRUE(c >= '0' && c <= '9') << "a reference is digits: " << *printed;
            return true;
        });
    }
};

TEST_F(InvoiceReferenceRoad, TheReferencePrintedIsTheOneKeptAfterExportAndImport) {
    const fs::path file = dir / "full.txt";
    const std::string one = StartNewCompany("one.VDB");
    InvoiceList();
    ClickButton("New");
    Check("the invoice window opens on a new invoice", Opened(SalesInvoice));
    auto number = TypeOneRowDocument("C1", ColItem, "ITEM1", "2");
    auto first = std::make_shared<std::string>();
    PrintReference(first);
    Menu("Window", "Close all");
    ChooseTextExport("full", file);
    Check("the export is written", [file] {
        EXPECT_TRUE(fs::exists(file)) << ::testing::PrintToString(Messages());
        return fs::exists(file);
    });

    const std::string two = (dir / "two.VDB").string();
    AnswerBox(kPlIdNo);   // leaving windows open with nothing to store
    AnswerFile(two);
    Menu("File", "Company...");
    Check("the second company asks for a login", Opened(Login));
    ClickField("User code");
    Type("ADMIN");
    ClickField("Password");
    Type("orvel");
    ClickOk();
    ImportTextFile(file);
    InvoiceList();
    FindRow("the invoice by its number", number);
    Key(PlKey::Return);
    Check("the imported invoice opens", Opened(SalesInvoice));
    auto second = std::make_shared<std::string>();
    PrintReference(second);
    EXPECT_EQ(Run(), 0);

    EXPECT_EQ(*second, *first) << "the page prints the same reference after the round trip";
    ASSERT_TRUE(OpenForCheck(two));
    std::vector<uint8_t> invoice(IVVc::Size);
    uint32_t id = 0;
    ASSERT_EQ(RegRecordCount(IVVc::Number), 1u);
    ASSERT_TRUE(RecReadAt(IVVc::Number, 1, invoice.data(), &id));
    EXPECT_EQ(std::to_string(GetU32(invoice.data(), IVVc::SerNr)), *number);
    EXPECT_EQ(TextAt(invoice.data(), IVVc::RefStr), *first) << "the reference kept is the one printed";
    CloseForCheck();
    ASSERT_TRUE(OpenForCheck(one));
    ASSERT_TRUE(RecReadAt(IVVc::Number, 1, invoice.data(), &id));
    const std::string kept = TextAt(invoice.data(), IVVc::RefStr);
    EXPECT_TRUE(kept.empty() || kept == *first) << kept << " against the printed " << *first;
    CloseForCheck();
}

}  // namespace
