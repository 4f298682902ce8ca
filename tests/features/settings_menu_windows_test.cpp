// settings_menu_windows_test.cpp - the Settings menu of each module and the
// Forms and Series windows, in the demo company: the menu follows the
// current module and opens its windows; the group windows list their
// members, open the one chosen (by its line or its operation) and
// nothing for a line they do not have; a window whose block another
// window stored meanwhile shows it anew at its first change.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "platform/menu.h"
#include "recordwin/settings_group_windows.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/settings_menu.h"
#include "tests/features/demo_company_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

constexpr int KindSettingsRows = 9;

class SettingsMenuWindows : public LoggedIn {
protected:
    // Enters the module whose popup item reads `text`.
    void EnterModule(int text)
    {
        for (int i = 0; i < MenuItemCount(MenuHandles.modulePopup); i++)
            if (MenuItemText(MenuHandles.modulePopup, i) == TextOf(text)) {
                Menu(MenuItemId(MenuHandles.modulePopup, i));
                return;
            }
        ADD_FAILURE() << "no module " << TextOf(text);
    }
    // The Settings popup's item texts, separators as "-".
    static std::vector<std::string> Items()
    {
        std::vector<std::string> texts;
        for (int i = 0; i < MenuItemCount(SettingsMenuHandle); i++)
            texts.push_back(MenuItemId(SettingsMenuHandle, i) == 0 ? "-" : MenuItemText(SettingsMenuHandle, i));
        return texts;
    }
    // Chooses the Settings item that reads `text`; false when there is none.
    static bool Choose(const std::string &text)
    {
        for (int i = 0; i < MenuItemCount(SettingsMenuHandle); i++)
            if (MenuItemText(SettingsMenuHandle, i) == text) {
                Menu(MenuItemId(SettingsMenuHandle, i));
                return true;
            }
        return false;
    }
    static bool Has(const std::vector<std::string> &items, const std::string &text)
    {
        return std::find(items.begin(), items.end(), text) != items.end();
    }
    // The blocks the members of group type `group` keep, one each.
    static std::set<int> MemberBlocks(int group, int *count)
    {
        int types[64];
        *count = SettingsGroupMembers(group, types, 64);
        std::set<int> blocks;
        for (int i = 0; i < *count; i++) {
            EXPECT_EQ(WinTypeWord(types[i], 0), KindSettingsRows) << "member " << types[i];
            blocks.insert(WinTypeWord(types[i], 9));
        }
        return blocks;
    }
};

// Each module's Settings menu holds its own blocks; every item opens a
// defined window, and separators never stand first, last or together.
TEST_F(SettingsMenuWindows, TheMenuFollowsTheModule)
{
    ASSERT_NE(SettingsMenuHandle, 0u);
    EnterModule(Texts::ModuleLedger);
    std::vector<std::string> ledger = Items();
    EXPECT_TRUE(Has(ledger, "&Fiscal years...")) << ::testing::PrintToString(ledger);
    EXPECT_TRUE(Has(ledger, "&VAT codes..."));
    EXPECT_FALSE(Has(ledger, "Sales &accounts..."));
    EnterModule(Texts::ModuleSales);
    std::vector<std::string> sales = Items();
    EXPECT_TRUE(Has(sales, "Sales &accounts...")) << ::testing::PrintToString(sales);
    EXPECT_TRUE(Has(sales, "&VAT codes...")) << "sales reads the VAT codes too";
    EXPECT_FALSE(Has(sales, "&Fiscal years..."));

    for (int module : {Texts::ModuleLedger, Texts::ModuleSales, Texts::ModulePurchasing, Texts::ModuleStock,
                       Texts::ModuleProjects}) {
        EnterModule(module);
        std::vector<std::string> items = Items();
        ASSERT_FALSE(items.empty()) << TextOf(module);
        EXPECT_EQ(items.front(), "&Company...") << TextOf(module);
        EXPECT_NE(items.back(), "-") << TextOf(module);
        EXPECT_TRUE(Has(items, "Fo&rms...") && Has(items, "&Number series...")) << TextOf(module);
        for (size_t i = 1; i < items.size(); i++) EXPECT_FALSE(items[i] == "-" && items[i - 1] == "-");
        for (int i = 0; i < MenuItemCount(SettingsMenuHandle); i++) {
            int id = MenuItemId(SettingsMenuHandle, i);
            if (id == 0) continue;
            int type = SettingsMenuWindowType(id);
            EXPECT_TRUE(type > 0 && WinDefExists(type)) << TextOf(module) << " item " << items[size_t(i)];
        }
    }
}

// The settings page of the docs tells a user where each settings window
// is reached: what it says of a module's Settings menu and of the Forms
// and Series windows holds for every block it lists.
TEST_F(SettingsMenuWindows, TheSettingsPageSaysWhereEachWindowIs)
{
    std::map<std::string, std::set<int>> menus;   // module name (no "&") -> window types
    for (int module : {Texts::ModuleLedger, Texts::ModuleSales, Texts::ModulePurchasing, Texts::ModuleStock,
                       Texts::ModuleProjects}) {
        EnterModule(module);
        std::string name = TextOf(module);
        name.erase(std::remove(name.begin(), name.end(), '&'), name.end());
        for (int i = 0; i < MenuItemCount(SettingsMenuHandle); i++)
            if (int id = MenuItemId(SettingsMenuHandle, i)) menus[name].insert(SettingsMenuWindowType(id));
    }
    auto members = [](int group) {
        int types[64];
        const int count = SettingsGroupMembers(group, types, 64);
        return std::set<int>(types, types + std::max(count, 0));
    };
    const std::set<int> forms = members(WinTypes::SetForms), series = members(WinTypes::SetSeries);

    std::ifstream page(std::string(ORVEL_TEST_DATA_DIR) + "/../docs/settings.md");
    ASSERT_TRUE(page.good());
    int checked = 0;
    for (std::string line; std::getline(page, line);) {
        // | block | name | window type "title" | where it is reached |
        if (line.rfind("| ", 0) != 0 || line.size() < 3 || line[2] < '0' || line[2] > '9') continue;
        std::vector<std::string> cells;
        std::stringstream split(line.substr(1));
        for (std::string cell; std::getline(split, cell, '|');) cells.push_back(cell);
        if (cells.size() < 4 || cells[2].find_first_of("0123456789") != 1) continue;
        const int type = std::stoi(cells[2]);
        const std::string where = cells[3].substr(1);
        if (where.rfind("Forms window", 0) == 0) {
            EXPECT_TRUE(forms.count(type)) << line;
        } else if (where.rfind("Series window", 0) == 0) {
            EXPECT_TRUE(series.count(type)) << line;
        } else if (where.rfind("Settings menu: ", 0) == 0) {
            std::stringstream modules(where.substr(15));
            for (std::string module; std::getline(modules, module, ',');) {
                while (!module.empty() && module.front() == ' ') module.erase(0, 1);
                while (!module.empty() && module.back() == ' ') module.pop_back();
                EXPECT_TRUE(menus.count(module) && menus[module].count(type)) << module << ": " << line;
            }
        } else {
            continue;
        }
        checked++;
    }
    EXPECT_GT(checked, 80) << "the page's table was not read";
}

// An item opens its window once: chosen again it brings the open one up.
// An id that names no item (a separator's place, past the last, outside
// the range) opens nothing.
TEST_F(SettingsMenuWindows, AnItemOpensItsWindowAndOtherIdsNothing)
{
    EnterModule(Texts::ModuleLedger);
    ASSERT_TRUE(Choose("&Fiscal years..."));
    int n = Find(WinTypes::SetFiscalYears);
    ASSERT_GT(n, 0);
    ASSERT_TRUE(Choose("&Fiscal years..."));
    EXPECT_EQ(Find(WinTypes::SetFiscalYears), n);
    EXPECT_EQ(OpenWindows().size(), 1u);
    CloseAll();

    // Item 7 of the ledger's menu is a separator.
    for (int id : {SettingsMenuFirstId + 6, SettingsMenuLastId, SettingsMenuFirstId - 1, SettingsMenuLastId + 1})
        EXPECT_EQ(SettingsMenuWindowType(id), 0) << id;
    Menu(SettingsMenuFirstId + 6);
    Menu(SettingsMenuLastId);
    EXPECT_TRUE(OpenWindows().empty());
}

// The Forms window keeps a line for every form-choice block and the
// Series window one for every number series, each a settings window of
// its own block.
TEST_F(SettingsMenuWindows, TheGroupsCoverEveryFormAndSeriesBlock)
{
    int count = 0;
    std::set<int> forms = MemberBlocks(WinTypes::SetForms, &count);
    EXPECT_EQ(count, 29);
    EXPECT_EQ(forms.size(), 29u) << "two lines keep the same block";
    for (int block : {140, 141, 142, 143, 144, 146, 147, 148, 151, 154, 157, 158, 160, 174, 178, 180, 183, 184, 185,
                      207, 209, 210, 212, 215, 217, 221, 222, 225, 226})
        EXPECT_TRUE(forms.count(block)) << "no form window for block " << block;
    std::set<int> series = MemberBlocks(WinTypes::SetSeries, &count);
    EXPECT_EQ(count, 14);
    EXPECT_EQ(series, (std::set<int>{152, 187, 188, 189, 190, 191, 192, 193, 194, 195, 196, 197, 198, 204}));
}

// The Forms window's lines are its members' labels; Return opens the line
// chosen, an operation of its menu opens its own member, and a line the
// list lacks opens nothing.
TEST_F(SettingsMenuWindows, TheFormsWindowOpensTheChosenDocument)
{
    EnterModule(Texts::ModuleSales);
    ASSERT_TRUE(Choose("Fo&rms..."));
    int forms = Find(WinTypes::SetForms);
    ASSERT_GT(forms, 0);
    std::vector<std::string> rows = ListBoxRows(forms);
    ASSERT_EQ(rows.size(), 29u);
    EXPECT_EQ(rows.front(), "Sales invoices");
    ASSERT_TRUE(ChooseRow(forms, "Credit notes"));
    int credit = Find(WinTypes::SetForms144);
    ASSERT_GT(credit, 0) << "Return opened no window";
    EXPECT_EQ(WinTypeWord(WinTypes::SetForms144, 9), CreditNoteFormBlk::Number);

    // The operations are numbered from 1 in the layout's order: the third
    // is the third invoice form.
    ActivateWindowNumber(forms);
    Drain();
    Menu(700 + 3);
    EXPECT_GT(Find(WinTypes::SetForms184), 0);

    size_t open = OpenWindows().size();
    EXPECT_FALSE(SettingsGroupOpen(forms, 29));
    EXPECT_FALSE(SettingsGroupOpen(forms, -1));
    EXPECT_EQ(OpenWindows().size(), open);
}

// Two windows keep the company block: the company window stores a new
// name while the ledger options stand open unchanged. The first change in
// the ledger options shows the block as it is now stored and tells so,
// and their store keeps the new name. The company window's own first
// change, with nothing stored meanwhile, tells nothing.
TEST_F(SettingsMenuWindows, AWindowShowsItsBlockAnewWhenAnotherStoredIt)
{
    int options = OpenOrActivateWindow(WinTypes::SetLedgerOptions, 0, 0, false, 0);
    ASSERT_GT(options, 0);
    int company = OpenOrActivateWindow(WinTypes::Company, 0, 0, false, 0);
    ASSERT_GT(company, 0);
    Type("Orchard Ltd");
    ASSERT_EQ(WinRecState(company), 2);
    EXPECT_FALSE(Said(TextOf(Texts::RecordChangedMeanwhile))) << "nothing was stored since it was read";
    ToolbarCommand(company, 8, 0);
    ASSERT_FALSE(WinIsOpen(company));

    ActivateWindowNumber(options);
    Drain();
    EXPECT_EQ(TextAt(WinRecordBuffer(options), CompanyBlk::CompanyName), "Demo Company AB");
    Type("NO");
    EXPECT_TRUE(Said(TextOf(Texts::RecordChangedMeanwhile)));
    EXPECT_EQ(TextAt(WinRecordBuffer(options), CompanyBlk::CompanyName), "Orchard Ltd");
    ToolbarCommand(options, 8, 0);
    ASSERT_FALSE(WinIsOpen(options));
    EXPECT_EQ(TextAt(CompanyBlock, CompanyBlk::CompanyName), "Orchard Ltd") << "the second store lost the first";
    std::vector<uint8_t> block(CompanyBlk::Size);
    ASSERT_TRUE(SettingsBlockRead(CompanyBlk::Number, block.data(), CompanyBlk::Size));
    EXPECT_EQ(TextAt(block.data(), CompanyBlk::CompanyName), "Orchard Ltd");
}

// A value the block's check refuses is refused on OK: the window stays
// open with what was typed, the cursor on the field, the block as stored.
TEST_F(SettingsMenuWindows, ARefusedValueKeepsTheWindowAndTheCursorOnIt)
{
    EnterModule(Texts::ModuleLedger);
    ASSERT_TRUE(Choose("Number and date formats..."));
    int n = Find(WinTypes::SetFormats);
    ASSERT_GT(n, 0);
    ASSERT_EQ(WinTable[n]->currentField, 1) << "the date order is the first field";
    Type("7");
    ToolbarCommand(n, 8, 0);
    ASSERT_TRUE(WinIsOpen(n)) << "a refused store closed the window";
    EXPECT_TRUE(Said(TextOf(Texts::DateOrderRange)));
    EXPECT_EQ(WinTable[n]->currentField, 1);
    EXPECT_EQ(GetU16(WinRecordBuffer(n), FormatBlk::DateOrder), 7);
    uint8_t stored[FormatBlk::Size] = {};
    ASSERT_TRUE(SettingsBlockRead(FormatBlk::Number, stored, sizeof stored));
    EXPECT_EQ(GetU16(stored, FormatBlk::DateOrder), 1);

    // Mended, it is stored and the window closes.
    WinGotoField(n, 1, true);
    Key(PlKey::End);
    Key(PlKey::Home, true);
    Type("2");
    ToolbarCommand(n, 8, 0);
    EXPECT_FALSE(WinIsOpen(n));
    ASSERT_TRUE(SettingsBlockRead(FormatBlk::Number, stored, sizeof stored));
    EXPECT_EQ(GetU16(stored, FormatBlk::DateOrder), 2);
}

}  // namespace
