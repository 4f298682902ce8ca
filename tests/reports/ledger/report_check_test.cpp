// Tests of the job-record check that runs before every report: its
// refusals, each with exactly one message and the field the window goes
// to, and what it writes back into the record.
#include <gtest/gtest.h>

#include "database/access/record_access.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/ledger.h"
#include "tests/output/test_job.h"
#include "tests/reports/report_fixture.h"

namespace {

namespace P = ReportParamsVc;
constexpr uint16_t None = RecFocusNone;

struct CheckCase {
    const char *what;
    int16_t report;
    DateRec from, to;
    uint16_t periodGiven;      // 0: DateTo's year word is cleared after the dates are set
    const char *selText1, *objects, *objectType;
    uint16_t detail, kind;
    bool twin;                 // ReportParamsCheckBody instead of CheckReportParameters
    bool ok;
    int text;                  // the one message told, 0: none
    uint16_t field;            // FieldErrorPos.field after the check
};

constexpr DateRec J1{1, 1, 2024}, J2{2, 1, 2024}, J31{31, 1, 2024}, M30{30, 3, 2024}, M31{31, 3, 2024};

const CheckCase Cases[] = {
    {"reversed period, given", 1, M31, J1, 1, "", "", "", 0, 2, false, false, 1142, P::DateTo},
    {"reversed period, not given", 1, M31, J1, 0, "", "", "", 0, 2, false, true, 0, None},
    {"reversed period, twin", 7, M31, J1, 1, "", "", "", 0, 2, true, false, 1142, P::DateTo},
    {"whole months 1.1-31.3", 14, J1, M31, 1, "", "", "", 0, 2, false, true, 0, None},
    {"1.1-30.3 not whole", 14, J1, M30, 1, "", "", "", 0, 2, false, false, 1163, P::DateTo},
    {"2.1-31.1 not whole", 93, J2, J31, 1, "", "", "", 0, 2, false, false, 1163, P::DateTo},
    {"month 13 not whole", 30, J1, DateRec{31, 13, 2024}, 1, "", "", "", 0, 2, false, false, 1163, P::DateTo},
    {"day 0 not whole", 34, DateRec{0, 1, 2024}, J31, 1, "", "", "", 0, 2, false, false, 1163, P::DateTo},
    {"empty period not whole", 35, DateRec{}, DateRec{}, 0, "", "", "", 0, 2, false, false, 1163, P::DateTo},
    {"20 without a title passes", 20, J2, M30, 1, "", "P1", "", 0, 2, false, true, 0, None},
    {"20 titled, part month", 20, J2, M30, 1, "T", "P1", "", 0, 2, false, false, 1163, P::DateTo},
    {"20 titled, objects", 20, J1, M31, 1, "T", "P1", "", 0, 2, false, false, 1166, P::ObjectSel},
    {"20 titled, sound", 20, J1, M31, 1, "T", "", "", 0, 2, false, true, 0, None},
    {"21 sums with a type", 21, J1, M31, 1, "", "", "X", 2, 2, false, false, 1072, None},
    {"21 sums, no type", 21, J2, M30, 1, "", "", "", 2, 2, false, true, 0, None},
    {"22 lines with a type", 22, J1, M31, 1, "", "", "X", 1, 2, false, true, 0, None},
    {"25 to the preview", 25, J1, M31, 1, "", "", "", 0, 6, false, false, 1048, None},
    {"36 to a file", 36, J1, M31, 1, "", "", "", 0, 2, false, false, 1048, None},
    {"25 to the printer", 25, J1, M31, 1, "", "", "", 0, 1, false, true, 0, None},
    {"twin: 21 part month", 21, J2, M30, 1, "", "", "", 0, 2, true, false, 1163, P::DateTo},
    {"twin: 14 part month passes", 14, J2, M30, 1, "", "", "", 0, 2, true, true, 0, None},
    {"twin: 25 to the preview passes", 25, J1, M31, 1, "", "", "", 0, 6, true, true, 0, None},
};

class ReportCheckTest : public ReportFixture {};

// Each case: the result, exactly one message (or none) and the field.
TEST_F(ReportCheckTest, RefusesWithOneMessageOnItsField)
{
    for (const CheckCase &c : Cases) {
        SCOPED_TRACE(c.what);
        ResetParams();
        SetWord(P::ReportNumber, uint16_t(c.report));
        SetWord(P::OutputKind, c.kind);
        SetWord(P::DetailLevel, c.detail);
        SetPeriod(c.from, c.to);
        if (!c.periodGiven) SetWord(P::PeriodGiven, 0);
        SetText(P::SelText1, c.selText1);
        SetText(P::ObjectSel, c.objects);
        SetText(P::ObjectType, c.objectType);
        FieldErrorPos = ErrorPosition{P::DateTo, 0, 0};   // a stale field from an earlier refusal
        shown.clear();
        bool ok = c.twin ? ReportParamsCheckBody(TestJob) : CheckReportParameters(TestJob);
        EXPECT_EQ(ok, c.ok);
        if (c.text) {
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_TRUE(WasShown(c.text));
        } else {
            EXPECT_TRUE(shown.empty());
        }
        EXPECT_EQ(FieldErrorPos.field, c.field);
    }
}

// The check writes the month numbers unclamped and the object list
// sorted without repeats; a damaged list length reads no further than
// its slot.
TEST_F(ReportCheckTest, CompletesTheRecord)
{
    SetWord(P::ReportNumber, 1);
    DateRec from{15, 3, 2024}, to{31, 12, 2030};
    SetPeriod(from, to);
    SetText(P::ObjectSel, "B,A,B");
    ASSERT_TRUE(CheckReportParameters(TestJob));
    EXPECT_EQ(GetU16(TestJob, P::MonthFrom), MonthIndex(&from));
    EXPECT_EQ(GetU16(TestJob, P::MonthTo) - GetU16(TestJob, P::MonthFrom), 81);   // not clamped
    uint8_t list[256];
    ::GetText(TestJob, P::ObjectSel, list);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(list + 1), list[0]), "A,B");

    TestJob[P::ObjectSel] = 255;   // a client's damaged length
    EXPECT_TRUE(CheckReportParameters(TestJob));
    EXPECT_LE(TestJob[P::ObjectSel], 30);
}

}  // namespace
