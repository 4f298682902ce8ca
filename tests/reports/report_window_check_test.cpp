// Tests of a report window's OK: the job record's check runs before the
// window closes, so a refused selection keeps the window, its record and
// the caret on the field at fault, and runs nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/report_commands.h"
#include "shell/window_table.h"
#include "tests/output/output_fixture.h"
#include "tests/reports/report_window_fixture.h"

namespace {

constexpr int TypeReport = 60;

const char *const ReportWindowDict = R"(
1048 "Print this report on the printer."
1142 "The from-date is after the to-date."
wintype 60 { kind reportparams recsize 1238 rect 60 60 300 400 }
window 60 {
  field rect 10 90 26 190 type text format 20 offset 48 access always page 0 label "Title"
  field rect 30 90 46 190 type date offset 1162 access always page 0 label "From"
  field rect 50 90 66 190 type date offset 1168 access always page 0 label "To"
}
)";

class ReportWindowCheck : public ReportWindowFixture {
protected:
    std::string InterfaceSource() override { return ReportWindowDict; }
    RunServicesDouble runs;
    // A report window for report on device, the period typed into its
    // date fields as a user types it; the caret is left in "To", so OK
    // commits the to-date's text.
    int Window(int16_t report, const char *from, const char *to, uint16_t device)
    {
        int n = OpenOrActivateWindow(TypeReport, 0, 0, true, 0);
        uint8_t *r = n > 0 ? WinRecordBuffer(n) : nullptr;
        if (!r) return 0;
        std::memset(r, 0, ReportParamsSize);
        PutU16(r, ReportParamsVc::ReportNumber, uint16_t(report));   // as the report list hands them over
        PutU16(r, ReportParamsVc::OutputKind, device);
        WinRecordRefresh(n);
        if (!WinGotoField(n, 2, true)) return 0;
        Type(from);
        Key(PlKey::Tab);
        Type(to);
        return n;
    }
    // The job record the window should give: the words the list set and
    // the period as typed.
    static std::vector<uint8_t> Expected(int16_t report, DateRec from, DateRec to, uint16_t device)
    {
        std::vector<uint8_t> r(ReportParamsSize, 0);
        PutU16(r.data(), ReportParamsVc::ReportNumber, uint16_t(report));
        PutU16(r.data(), ReportParamsVc::OutputKind, device);
        PutDate(r.data(), ReportParamsVc::DateFrom, from);
        PutDate(r.data(), ReportParamsVc::DateTo, to);
        return r;
    }
};

TEST_F(ReportWindowCheck, RefusedSelectionKeepsTheWindowOnTheFieldAtFault)
{
    struct Case {
        const char *what;
        int16_t report;
        const char *fromText, *toText;
        DateRec from, to;
        uint16_t device;
        bool runs;
        const char *told;
        int caret;          // the screen field focused when refused (2 From, 3 To), 0: not checked
    } cases[] = {
        {"from after to", 1, "31.03.2024", "01.01.2024", {31, 3, 2024}, {1, 1, 2024}, 2, false,
         "The from-date is after the to-date.", 3},
        {"voucher list to the preview", 25, "01.01.2024", "31.03.2024", {1, 1, 2024}, {31, 3, 2024}, 6, false,
         "Print this report on the printer.", 0},
        {"sound period", 1, "01.01.2024", "31.03.2024", {1, 1, 2024}, {31, 3, 2024}, 2, true, nullptr, 0},
        {"one day, two-digit year", 1, "5.3.24", "05.03.2024", {5, 3, 2024}, {5, 3, 2024}, 2, true, nullptr, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        runs.calls.clear();
        MessagesShown.clear();
        int n = Window(c.report, c.fromText, c.toText, c.device);
        ASSERT_GT(n, 0);
        const std::vector<uint8_t> want = Expected(c.report, c.from, c.to, c.device);
        WindowOkAction(n);
        if (c.runs) {
            EXPECT_FALSE(WinIsOpen(n));
            ASSERT_EQ(runs.Names(), (std::vector<std::string>{"runReportCommand"}));
            // The job record is the window's record with the typed period,
            // years whole; the check's completions stay out of it.
            EXPECT_EQ(runs.calls[0].params, want);
            EXPECT_TRUE(MessagesShown.empty());
            continue;
        }
        EXPECT_TRUE(WinIsOpen(n));
        EXPECT_TRUE(runs.calls.empty());
        ASSERT_EQ(MessagesShown.size(), 1u);
        EXPECT_EQ(MessagesShown[0], c.told);
        EXPECT_EQ(std::vector<uint8_t>(WinRecordBuffer(n), WinRecordBuffer(n) + ReportParamsSize), want);
        if (c.caret) {
            EXPECT_EQ(WinTable[n]->currentField, c.caret);
        }
        WinClose(n);
    }
}

}  // namespace
