// report_defaults_table_test.cpp - the sets of selection defaults against
// the built interface file: each set's window is the one the report (or
// document run, export) it names opens, no two sets claim the same window
// and report, and every word a set fills is one its window shows, so
// that a user sees every default and can change it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/definitions.h"
#include "core/window_entries.h"
#include "dict_offsets.h"
#include "recordwin/report_defaults_table.h"
#include "shell/menu_lists.h"
#include "tests/core/built_interface.h"

namespace {

namespace Rp = ReportParamsVc;

// The lists whose entries open a selection window for a number: reports,
// exports, maintenance runs and document runs.
constexpr int ListSlots[] = {1, 2, 4, 5};

class ReportDefaultsTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
    }

    // The numbers the lists open window `window` for.
    static std::vector<int16_t> NumbersOf(int window)
    {
        std::vector<int16_t> numbers;
        for (int slot : ListSlots)
            for (int i = 0; i < ListTableCount(slot); i++) {
                const uint8_t *e = ListTableEntry(slot, i);
                if (e && DefU16(e + MenuTableEntry::WinType) == window)
                    numbers.push_back(int16_t(DefU16(e + MenuTableEntry::Number)));
            }
        return numbers;
    }

    // Whether window type `type` shows record offset `at` as a data field
    // or as a check box, radio button or other control of its own.
    static bool Shows(int type, uint32_t at)
    {
        uint8_t *def = WinTypeDef(type);
        if (!def) return false;
        uint16_t size = 0;
        for (int i = 0; i < WinDefPartCount(def, WinPartDataFields); i++)
            if (DefU32(WinDefPartEntry(def, WinPartDataFields, i, &size) + FieldEntry::Offset) == at) return true;
        for (int i = 0; i < WinDefPartCount(def, WinPartControls); i++)
            if (DefU16(WinDefPartEntry(def, WinPartControls, i, &size) + ControlEntry::Offset) == at) return true;
        return false;
    }

    // The values of the radio buttons of window `type` at offset `at`;
    // false when something else (a box, a field) shows it too, or nothing.
    static bool RadioValues(int type, uint32_t at, std::vector<int> *values)
    {
        uint8_t *def = WinTypeDef(type);
        if (!def) return false;
        uint16_t size = 0;
        for (int i = 0; i < WinDefPartCount(def, WinPartDataFields); i++)
            if (DefU32(WinDefPartEntry(def, WinPartDataFields, i, &size) + FieldEntry::Offset) == at) return false;
        for (int i = 0; i < WinDefPartCount(def, WinPartControls); i++) {
            const uint8_t *e = WinDefPartEntry(def, WinPartControls, i, &size);
            if (DefU16(e + ControlEntry::Offset) != at) continue;
            if (DefU16(e + ControlEntry::Kind) != CtlRadio) return false;
            values->push_back(int16_t(DefU16(e + ControlEntry::Value)));
        }
        return !values->empty();
    }

    // The record offsets a set gives a value other than the common one.
    static std::vector<uint32_t> FilledBy(const SelectionDefaults &row)
    {
        std::vector<uint32_t> at;
        if (row.layout > 0) at.push_back(Rp::ReportLayout);
        for (const OptionRun &run : row.runs)
            for (int k = run.first; k >= 0 && k <= run.last; k++)
                if (run.value != 0) at.push_back(Rp::Option1 + 2 * uint32_t(k));
        switch (row.extra) {
        case DefaultsExtra::None: break;
        case DefaultsExtra::ReportTitle: at.push_back(Rp::SelText1); break;
        case DefaultsExtra::AltOptions:
            at.push_back(Rp::Option1 + 2 * 3);   // set under the variant
            at.push_back(Rp::Option1 + 2 * 4);
            break;
        case DefaultsExtra::BatchByVariant:
        case DefaultsExtra::BatchModeZero: at.push_back(Rp::BatchMode); break;
        case DefaultsExtra::PeriodInSecondDates:
            at.push_back(Rp::Date2From);
            at.push_back(Rp::Date2To);
            break;
        }
        return at;
    }
};

TEST_F(ReportDefaultsTable, EverySetIsOnTheWindowOfItsReport)
{
    size_t count = 0;
    const SelectionDefaults *table = SelectionDefaultsTable(&count);
    ASSERT_GT(count, 20u);
    std::set<std::pair<int, int>> seen;
    for (size_t i = 0; i < count; i++) {
        const SelectionDefaults &row = table[i];
        SCOPED_TRACE("set of window " + std::to_string(row.window) + ", report " + std::to_string(row.report));
        EXPECT_TRUE(seen.insert({row.window, row.report}).second) << "a second set for the same window and report";
        const std::vector<int16_t> numbers = NumbersOf(row.window);
        if (row.report == EveryReportOfWindow) {
            // A set for every report only where the window is shared.
            EXPECT_GT(numbers.size(), 1u);
        } else {
            EXPECT_NE(std::find(numbers.begin(), numbers.end(), row.report), numbers.end())
                << "no list opens this window for this report";
        }
        // The lookup the windows use finds this very set.
        const int report = row.report == EveryReportOfWindow && !numbers.empty() ? numbers[0] : row.report;
        EXPECT_EQ(SelectionDefaultsFor(row.window, report), &row);
    }
}

TEST_F(ReportDefaultsTable, EveryDefaultIsShownOnItsWindow)
{
    size_t count = 0;
    const SelectionDefaults *table = SelectionDefaultsTable(&count);
    for (size_t i = 0; i < count; i++) {
        const SelectionDefaults &row = table[i];
        for (uint32_t at : FilledBy(row))
            EXPECT_TRUE(Shows(row.window, at)) << "window " << row.window << " (report " << row.report
                                               << ") does not show offset " << at << " that its set fills";
    }
}

// A word a window shows as radio buttons only takes a value one of them
// has: another would leave the group with no button on.
TEST_F(ReportDefaultsTable, ARadioWordTakesTheValueOfOneOfItsButtons)
{
    size_t count = 0;
    const SelectionDefaults *table = SelectionDefaultsTable(&count);
    int radios = 0;
    for (size_t i = 0; i < count; i++) {
        const SelectionDefaults &row = table[i];
        std::vector<std::pair<uint32_t, int>> words;
        if (row.layout > 0) words.push_back({Rp::ReportLayout, row.layout});
        for (const OptionRun &run : row.runs)
            for (int k = run.first; k >= 0 && k <= run.last; k++)
                if (run.value != 0) words.push_back({Rp::Option1 + 2 * uint32_t(k), run.value});
        for (auto [at, value] : words) {
            std::vector<int> values;
            if (!RadioValues(row.window, at, &values)) continue;
            radios++;
            EXPECT_NE(std::find(values.begin(), values.end(), value), values.end())
                << "window " << row.window << " offset " << at << " has no button of value " << value;
        }
    }
    EXPECT_GT(radios, 0);   // the journal's layout, the document kind of 501 ...
}

// The windows that queue one job per object show the object list their
// jobs are split by, and open only reports that read that list as the
// objects an amount or row must carry (the general ledger, the balance
// and result statements). The numbers the queueing was first drawn up
// under name no window and queue nothing.
TEST_F(ReportDefaultsTable, PerCodeWindowsShowTheObjectListTheirReportsRead)
{
    auto readsObjects = [](int report) { return report == 6 || report == 21 || report == 22 || (report >= 42 && report <= 51); };
    int windows = 0;
    for (int type = 1; type < 600; type++) {
        if (!SelectionQueuesPerCode(type)) continue;
        windows++;
        SCOPED_TRACE("window " + std::to_string(type));
        EXPECT_TRUE(Shows(type, Rp::ObjectSel));
        const std::vector<int16_t> numbers = NumbersOf(type);
        EXPECT_FALSE(numbers.empty()) << "no list opens it";
        for (int16_t report : numbers) EXPECT_TRUE(readsObjects(report)) << "report " << report;
    }
    EXPECT_EQ(windows, 3);
    for (int stale : {110, 111, 112}) EXPECT_EQ(WinTypeDef(stale), nullptr) << stale;
    for (int stale : {110, 111, 112, 137, 148}) EXPECT_FALSE(SelectionQueuesPerCode(stale)) << stale;
}

// The check itself: a window that serves other reports, a report that
// opens another window, and a word no box shows are each found out.
TEST_F(ReportDefaultsTable, TheChecksFindAWrongSet)
{
    EXPECT_TRUE(NumbersOf(401).size() > 1);
    const std::vector<int16_t> journal = NumbersOf(570);
    EXPECT_EQ(std::find(journal.begin(), journal.end(), int16_t(94)), journal.end());
    EXPECT_FALSE(Shows(425, Rp::Option1 + 2 * 7));   // the ledger shows no eighth word
    EXPECT_TRUE(Shows(570, Rp::Option1 + 2 * 2));    // but the journal its "Posted"
    EXPECT_EQ(SelectionDefaultsFor(570, 94), nullptr);
    EXPECT_EQ(SelectionDefaultsFor(441, 30), nullptr);   // its other report keeps the common defaults
    ASSERT_NE(SelectionDefaultsFor(441, 35), nullptr);
    EXPECT_EQ(SelectionDefaultsFor(441, 35)->report, 35);
}

}  // namespace
