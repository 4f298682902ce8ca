// object_lists_test.cpp - object lists: parsing into sorted slots, joining,
// cutting what does not fit, and the check of a list against its account
// with the message each refusal shows.
#include "core/ui_text.h"
#include "rules/ledger.h"
#include "tests/rules/rules_fixture.h"

namespace {

using ObjectLists = RulesFixture;

std::string P(const uint8_t *s) { return PStringToStd(s); }

std::string Normalized(const char *list) {
    PString p;
    PStringFromC(p, list);
    NormalizeObjectList(p);
    return P(p);
}

std::string Joined(const char *list) {
    PString p, out;
    PStringFromC(p, list);
    JoinObjectList(p, out);
    return P(out);
}

// The text ShowMessage shows for text n followed by extra.
std::string Said(int n, const char *extra) {
    PString t;
    GetUiText(t, n);
    return P(t) + extra;
}

// Lists are sorted, repeated codes kept by the normalisation and dropped
// by the join; what does not fit (a sixth code, a sixth character, a list
// far longer than a field) is cut, and separators in a row make no code.
TEST_F(ObjectLists, ParseSortsAndCutsWhatDoesNotFit) {
    EXPECT_EQ(Normalized("K2,P1,K2"), "K2,K2,P1");
    EXPECT_EQ(Joined("K2,P1,K2"), "K2,P1");
    EXPECT_EQ(Joined("F,E,D,C,B,A"), "B,C,D,E,F");          // first five codes, then sorted
    EXPECT_EQ(Joined("ABCDEFG.B"), "ABCDE,B");               // "." separates; a code keeps five characters
    EXPECT_EQ(Joined(",,.P1,.,K2,,"), "K2,P1");
    PString longList;
    longList[0] = 255;
    for (int i = 1; i <= 255; i++) longList[i] = 'Z';
    PString out;
    JoinObjectList(longList, out);
    EXPECT_EQ(P(out), "ZZZZZ");

    PString list, code;
    PStringFromC(list, "AB,,CD.E");
    int position = 1;
    NextObjectCode(list, &position, code);
    EXPECT_EQ(P(code), "AB");
    EXPECT_EQ(position, 5);
    NextObjectCode(list, &position, code);
    NextObjectCode(list, &position, code);
    NextObjectCode(list, &position, code);
    EXPECT_EQ(P(code), "");   // past the end
}

// Membership looks at whole codes of the whole list; the text helpers
// stop at their limits.
TEST_F(ObjectLists, MembershipAndTextHelpers) {
    PString list, text, code;
    PStringFromC(list, "P1,K2,X9");
    ObjectSlots slots;
    ParseObjectList(list, &slots);
    PStringFromC(list, "X9.P1,K2,Q,Z,Y");
    EXPECT_TRUE(ObjectListContainsAll(&slots, list));
    PStringFromC(list, "X9,P1,K");
    EXPECT_FALSE(ObjectListContainsAll(&slots, list));
    PStringFromC(text, "1234567x,B.C");
    LeadingDigitsOf(text, code);
    EXPECT_EQ(P(code), "123456");
    TextAfterListSeparator(text, code);
    EXPECT_EQ(P(code), "B.C");
}

// Each refusal of the check shows its own text naming the codes: missing
// objects all together, a blocked one at once, two of one type, and an
// object type that block 175 requires for the account.
TEST_F(ObjectLists, CheckRefusesWithItsMessage) {
    StoreObject("P1", "PRJ");
    StoreObject("K2", "CC");
    StoreObject("K3", "CC");
    StoreObject("B1", "", 1);
    StoreObject("N1", "");
    AddRow(ObjTypeControlBlk::Number, ObjTypeControlBlk::Rows::Size, [&](uint8_t *r) {
        PutText(r, ObjTypeControlBlk::Rows::ObjType, 5, "PRJ");
        PutText(r, ObjTypeControlBlk::Rows::AccountList, 60, "3000:3999");
    });
    PString account, other, list;
    PStringFromC(account, "3010");
    PStringFromC(other, "4010");
    auto check = [&](const uint8_t *acc, const char *objects) {
        PStringFromC(list, objects);
        shown.clear();
        return CheckObjectList(acc, list);
    };

    EXPECT_TRUE(check(account, "P1,K2,N1"));
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(check(other, "K2"));   // no rule for 4010
    EXPECT_FALSE(check(account, "K2"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], Said(Texts::ObjectTypeRequired, "PRJ"));
    EXPECT_FALSE(check(account, "Z1,P1,Y2"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], Said(Texts::ObjectsMissing, "  Y2,Z1"));
    EXPECT_FALSE(check(account, "P1,B1"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], Said(Texts::Blocked, "B1"));
    EXPECT_FALSE(check(account, "P1,K3,K2"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], Said(Texts::ObjectsSameType, "K2,K3"));
}

}  // namespace
