// The selection-text builders against the sentence and range rules, over
// the report company (texts from the interface file, registers 15 and 24).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/pstring.h"
#include "reports/frame/report_frame.h"
#include "tests/reports/report_fixture.h"

namespace {

class SelectionTextsTest : public ReportFixture {
protected:
    // The texts n... one after the other.
    static std::string Texts(std::initializer_list<int> ns) {
        std::string s;
        for (int n : ns) s += UiText(n);
        return s;
    }
    static std::string Str(const uint8_t *p) { return PStringToStd(p); }
    static void P(const char *c, uint8_t *out) { PStringFromC(out, c); }
};

// Code and number ranges: empty ends give the empty text, equal ends the
// prefix and the code once, different ends "from : to", a number range a
// blank after its prefix and the all-ones end left out.
TEST_F(SelectionTextsTest, RangesByTheirEnds) {
    struct Row { const char *range; bool number; std::string want; };
    const std::vector<Row> rows = {
        {"", false, UiText(1104)},
        {"C1", false, UiText(1105) + "C1"},
        {"C1:C1", false, UiText(1105) + "C1"},
        {"C1:C3", false, UiText(1105) + "C1 : C3"},
        {"", true, UiText(1111)},
        {"4294967295", true, UiText(1111)},
        {"7", true, UiText(1112) + " 7"},
        {"7:7", true, UiText(1112) + " 7"},
        {"7:9", true, UiText(1112) + " 7 : 9"},
    };
    for (const Row &r : rows) {
        PString range, out;
        P(r.range, range);
        if (r.number) ReportNumberRangeText(range, out);
        else SelectionRangeText(range, 1104, 1105, out);
        EXPECT_EQ(Str(out), r.want) << r.range;
    }
    PString range, text, out;
    P("A:B", range);
    P("X", text);
    SelectionRangeWithText(range, text, out);
    EXPECT_EQ(Str(out), UiText(1107) + "A : B" + Texts({1186, 1135}) + "X");
    text[0] = 0;
    SelectionRangeWithText(range, text, out);
    EXPECT_EQ(Str(out), UiText(1107) + "A : B");
}

// Prefixed fields: empty stays empty except 1156 and 3010 (3009 alone);
// 2338 and 4830 put their literal between.
TEST_F(SelectionTextsTest, PrefixedMembers) {
    struct Row { const char *field; int text; std::string want; };
    const std::vector<Row> rows = {
        {"", 1824, ""},
        {"S1", 1824, UiText(1824) + "S1"},
        {"S1", 2338, UiText(2338) + ": S1"},
        {"S1", 4830, UiText(4830) + " S1"},
        {"", 1156, UiText(1156)},
        {"", 3010, UiText(3009)},
        {"S1", 3010, UiText(3010) + "S1"},
    };
    for (const Row &r : rows) {
        PString field, out;
        P(r.field, field);
        PrefixedText(field, r.text, out);
        EXPECT_EQ(Str(out), r.want) << r.text << " " << r.field;
    }
}

// A choice after a listed value writes the empty text for an unlisted
// one, in every table: nothing of the earlier text stays behind.
TEST_F(SelectionTextsTest, ChoiceUnlistedIsEmpty) {
    struct Row { ChoiceTable table; int listed, listedText, unlisted; };
    const std::vector<Row> rows = {
        {ChoiceTable::LayoutA, 1, 1160, 2},   {ChoiceTable::LayoutC, 4, 1183, 5},
        {ChoiceTable::C2421, 2, 2427, 1},     {ChoiceTable::C1187b, 2, 1190, 3},
        {ChoiceTable::C1313, 0, 1313, -1},    {ChoiceTable::C3005, 1, 3004, 70},
    };
    for (const Row &r : rows) {
        PString out;
        ChoiceText(r.listed, r.table, out);
        EXPECT_EQ(Str(out), UiText(r.listedText)) << r.listed;
        ChoiceText(r.unlisted, r.table, out);
        EXPECT_EQ(out[0], 0) << r.unlisted;
    }
}

// The flag sentences of members 1330 (every combination) and 1326 by the
// joiner rules, and those of the kind-box pairs; a flag counts only when
// it is 1.
TEST_F(SelectionTextsTest, FlagSentences) {
    struct Row { int member, a, b, c, d; std::vector<int> texts; };
    constexpr int P = Texts::PaymentStatesHead;
    const std::vector<Row> rows = {
        {1330, 0, 0, 0, 0, {}},                 {1330, 1, 0, 0, 0, {1330}},
        {1330, 0, 1, 0, 0, {1331}},             {1330, 0, 0, 1, 0, {1332}},
        {1330, 0, 0, 0, 1, {1333}},             {1330, 1, 1, 0, 0, {1330, 1319, 1331}},
        {1330, 1, 0, 1, 0, {1330, 1319, 1332}}, {1330, 1, 0, 0, 1, {1330, 1319, 1333}},
        {1330, 0, 1, 1, 0, {1331, 1319, 1332}}, {1330, 0, 1, 0, 1, {1331, 1319, 1333}},
        {1330, 0, 0, 1, 1, {1332, 1319, 1333}}, {1330, 1, 1, 1, 0, {1330, 1319, 1331, 1319, 1332}},
        {1330, 1, 1, 0, 1, {1330, 1319, 1331, 1319, 1333}},
        {1330, 1, 0, 1, 1, {1330, 1327, 1332, 1319, 1333}},
        {1330, 0, 1, 1, 1, {1331, 1327, 1332, 1319, 1333}},
        {1330, 1, 1, 1, 1, {1330, 1327, 1331, 1327, 1332, 1319, 1333}},
        // The payment journals' states, after the word that they are.
        {1326, 0, 0, 0, 0, {}},                        {1326, 1, 0, 0, 0, {P, 1326}},
        {1326, 0, 1, 0, 0, {P, 1328}},                 {1326, 0, 0, 1, 0, {P, 1329}},
        {1326, 1, 1, 0, 0, {P, 1326, 1319, 1328}},     {1326, 1, 0, 1, 0, {P, 1326, 1319, 1329}},
        {1326, 0, 1, 1, 0, {P, 1328, 1319, 1329}},     {1326, 2, 1, 1, 0, {P, 1328, 1319, 1329}},
        {1326, 1, 1, 1, 0, {P, 1326, 1327, 1328, 1319, 1329}},
        // A pair of kind boxes: none ticked takes both kinds, as both do.
        {1323, 0, 0, 0, 0, {1323}},             {1323, 1, 1, 0, 0, {1323}},
        {1323, 1, 0, 0, 0, {1324}},             {1323, 0, 1, 0, 0, {1325}},
        {1318, 0, 0, 0, 0, {1318}},             {1318, 0, 1, 0, 0, {1322}},
    };
    for (const Row &r : rows) {
        std::string want;
        for (int n : r.texts) want += UiText(n);
        PString out;
        FlagListText(r.member, r.a, r.b, r.c, r.d, out);
        EXPECT_EQ(Str(out), want) << r.member << ": " << r.a << r.b << r.c << r.d;
    }
}

// The lock mark follows a period only when the ledger has a lock date and
// the period ends on or before it.
TEST_F(SelectionTextsTest, PeriodLockMark) {
    const DateRec from{1, 2, 2024};
    struct Row { DateRec lock, to; bool marked; };
    const std::vector<Row> rows = {
        {{0, 0, 0}, {29, 2, 2024}, false},
        {{29, 2, 2024}, {28, 2, 2024}, true},
        {{29, 2, 2024}, {29, 2, 2024}, true},
        {{29, 2, 2024}, {1, 3, 2024}, false},
    };
    ASSERT_FALSE(UiText(3014).empty());
    const std::string period = UiText(3013) + "01.02.2024 : ";
    for (const Row &r : rows) {
        std::vector<uint8_t> block(DateLockBlk::Size, 0);
        PutDate(block.data(), DateLockBlk::LedgerLock, r.lock);
        StoreBlock(DateLockBlk::Number, block.data(), DateLockBlk::Size);
        PString out;
        DateRangeText(&from, &r.to, 3013, out);
        const std::string s = Str(out);
        EXPECT_EQ(s.rfind(period, 0), 0u) << s;
        EXPECT_EQ(s.size() >= UiText(3014).size() && s.ends_with(UiText(3014)), r.marked) << s;
    }
}

// One stored object shows with its name; two codes, or one not stored,
// show as typed; a register-24 code not stored gives nothing.
TEST_F(SelectionTextsTest, CodesWithNames) {
    StoreRecord(OBVc::Number, [](uint8_t *r) {
        PutText(r, OBVc::Code, 5, "P1");
        PutText(r, OBVc::Name, 60, "Project one");
    });
    StoreRecord(OTVc::Number, [](uint8_t *r) {
        PutText(r, OTVc::Code, 5, "DEP");
        PutText(r, OTVc::Name, 60, "Departments");
    });
    struct Row { const char *code; bool type24; std::string want; };
    const std::vector<Row> rows = {
        {"P1", false, UiText(3015) + "P1  Project one"},
        {"P1,P2", false, UiText(3015) + "P1,P2"},
        {"P9", false, UiText(3015) + "P9"},
        {"DEP", true, UiText(3016) + "DEP  Departments"},
        {"XX", true, ""},
        {"", true, ""},
    };
    for (const Row &r : rows) {
        PString code, out;
        P(r.code, code);
        if (r.type24) Register24CodeText(code, out);
        else ObjectListText(code, out);
        EXPECT_EQ(Str(out), r.want) << r.code;
    }
}

}  // namespace
