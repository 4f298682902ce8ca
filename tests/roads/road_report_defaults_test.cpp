// road_report_defaults_test.cpp - report selections open with the
// defaults of their report: a new user opens reports from Ctrl+R's list
// and finds the boxes of the report ticked and a statement's title filled
// in, each window with its own report's set, a box untouched where a
// shared window's other report has none, and a group of boxes that takes
// everything when none is ticked left unticked.
// Menus: in General ledger, Settings > Periods...; File > Reports (Ctrl+R)
// > "General Ledger".
// Windows: General ledger selection, Period choice (from a report
// selection's period), Balance statement selection, Result statement
// selection, Receipt journal selection, Sales journal selection, Day
// journals selection, Vendor statement and turnover selection, Overdue
// items selection, Project list selection, Periods.
#include "tests/roads/road_fixture.h"

#include <memory>
#include <string>
#include <vector>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/window_entries.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

constexpr int GeneralLedgerSel = 425, PeriodChoice = 150;
constexpr int BalanceSel = 401, ResultSel = 402, ReceiptJournalSel = 571, SalesJournalSel = 570, DayJournalSel = 486,
              VendorSel = 441, OverdueSel = 519, ProjectListSel = 521;

class ReportDefaultsRoad : public RoadTest {
protected:
    // Whether check box `label` of the active window shows a tick: the
    // record word it draws from is not 0. *found false without such a box.
    static bool Ticked(const std::string &label, bool *found)
    {
        *found = false;
        int n = Active();
        if (!n) return false;
        for (int i = 0; i < WinDefCount(n, WinPartControls); i++) {
            const uint8_t *e = WinDefEntry(n, WinPartControls, i);
            if (!e || TextAt(e, ControlEntry::Label) != label) continue;
            *found = true;
            return GetU16(WinRecordBuffer(n), DefU16(e + ControlEntry::Offset)) != 0;
        }
        return false;
    }

    // Ctrl+R, the report's row, Return: its window (type sel) opens and
    // shows `title` in its Title field (none: not checked), each box of
    // `ticked` ticked and each of `clear` not; every window closed
    // afterwards.
    void OpensWithBoxes(const std::string &report, int sel, const std::vector<std::string> &ticked,
                        const std::vector<std::string> &clear, const std::string &title = "")
    {
        Key('R', false, true);
        ClickRow(report);
        Key(PlKey::Return);
        Check(report + "'s selection window opens", Opened(sel));
        Check(report + " opens with its defaults", [ticked, clear, report, title] {
            if (!title.empty()) {
                EXPECT_EQ(Shown("Title"), title);
            }
            for (const auto &[labels, want] : {std::pair{ticked, true}, std::pair{clear, false}})
                for (const std::string &label : labels) {
                    bool found = false;
                    EXPECT_EQ(Ticked(label, &found), want) << report << ": " << label;
                    EXPECT_TRUE(found) << report << " has no box " << label;
                }
            return true;
        });
        Menu("Window", "Close all");
    }
};

TEST_F(ReportDefaultsRoad, SelectionsOpenWithTheirReportsDefaults)
{
    StartNewCompany("defaults.VDB");

    Menu("Module", "General ledger");
    // A window shared by six statements shows the title of the one chosen;
    // report 22's is its own, not the document kind of that number.
    OpensWithBoxes("Balance Statement 43", BalanceSel, {}, {"Budget in %"}, "Balance Statement 43");
    OpensWithBoxes("Income Statement", ResultSel, {"Change in %"}, {"Without object"}, "Income Statement");

    Menu("Module", "Sales");
    OpensWithBoxes("Customer-receipt journal", ReceiptJournalSel, {"Posted"}, {"Not posted"});
    // The journal lists posted invoices; its kind boxes, which take every
    // kind when none is ticked, start unticked: one click narrows them.
    OpensWithBoxes("Sales transaction journal", SalesJournalSel, {"Posted"},
                   {"Not posted", "Invoices", "Cash invoices", "Credit notes", "Interest invoices"});
    // The overdue items take what the reminders take.
    OpensWithBoxes("Overdue Items and Interest", OverdueSel, {"Overdue items only", "Customers owing only", "Customer currency"},
                   {"Interest customers"});
    OpensWithBoxes("Day Journals", DayJournalSel,
                   {"Sales journal", "Customer payments", "Purchase invoices", "Purchase payments"},
                   {"Purchases", "Deliveries", "Summary"});

    // One window, two reports: the statements leave vendors without a
    // balance out, the turnover list has no set and starts unticked.
    Menu("Module", "Purchasing");
    OpensWithBoxes("Vendor Statements", VendorSel, {"Skip empty"}, {"Vendor currency"});
    OpensWithBoxes("Vendor Turnover", VendorSel, {}, {"Skip empty", "Vendor currency"});

    // The project list prints what an invoice made now would hold, of
    // every project: the filter of what is left to invoice stays clear.
    Menu("Module", "Projects");
    OpensWithBoxes("Project list", ProjectListSel, {"Invoice now, every row", "Budget rows as values"},
                   {"Budgets", "Invoice now, grouped", "Only what is left to invoice"});
    EXPECT_EQ(Run(), 0);
}

// A named period of the ledger's settings, chosen into the general
// ledger's Period field with Ctrl+J, sets the dates the report runs over;
// Esc in the list leaves the field as it was.
TEST_F(ReportDefaultsRoad, APeriodChosenSetsTheSelectionsDates)
{
    StartNewCompany("periods.VDB");

    Menu("Module", "General ledger");
    SettingsRowsStored("Periods...", WinTypes::SetPeriods, {{"01.02.2024", "29.02.2024", "February"}});
    Key('R', false, true);
    ClickRow("General Ledger");
    Key(PlKey::Return);
    Check("the general ledger's selection opens", Opened(GeneralLedgerSel));
    ClickField("Period");
    auto before = std::make_shared<std::string>();
    Check("the Period field shows the proposed period", [before] {
        *before = Shown("Period");
        return true;
    });
    Key('J', false, true);
    Check("Ctrl+J on the Period field lists the periods of the settings", [] {
        EXPECT_EQ(ActiveType(), PeriodChoice) << ActiveTitle();
        EXPECT_EQ(ListRows(), (std::vector<std::string>{"01.02.2024:29.02.2024"}));
        return ActiveType() == PeriodChoice;
    });
    Key(PlKey::Escape);
    Check("Esc goes back with the field as it was", [before] {
        EXPECT_EQ(ActiveType(), GeneralLedgerSel) << ActiveTitle();
        EXPECT_EQ(Shown("Period"), *before);
        return ActiveType() == GeneralLedgerSel && Shown("Period") == *before;
    });
    Key('J', false, true);
    Key(PlKey::Return);
    Check("the chosen period is typed back and sets From and To", [] {
        EXPECT_EQ(ActiveType(), GeneralLedgerSel) << ActiveTitle();
        EXPECT_EQ(Shown("Period"), "01.02.2024:29.02.2024");
        EXPECT_EQ(Shown("From"), "01.02.2024");
        EXPECT_EQ(Shown("To"), "29.02.2024");
        return Shown("To") == "29.02.2024";
    });
    Menu("Window", "Close all");
    EXPECT_EQ(Run(), 0);
}

}  // namespace
