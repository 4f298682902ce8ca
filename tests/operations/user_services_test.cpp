// Tests of the current user's person record and users' names.
#include "operations/operations.h"
#include "tests/rules/rules_fixture.h"

namespace {

class UserServicesTest : public RulesFixture {
protected:
    void SetUp() override {
        RulesFixture::SetUp();
        StoreRecord(PEVc::Number, [](uint8_t *p) {
            PutText(p, PEVc::Code, 5, "AN");
            PutText(p, PEVc::Name, 60, "Ann Smith");
            PutText(p, PEVc::Location, 10, "MAIN");
            PutText(p, PEVc::Objects, 30, "DEP1");
        });
        savedSession = CurrentSessionIndex;
    }
    void TearDown() override {
        CurrentSessionIndex = savedSession;
        RulesFixture::TearDown();
    }
    int16_t savedSession = 0;
};

TEST_F(UserServicesTest, CurrentUserRecordReadsTheSessionsPerson) {
    CurrentSessionIndex = 0;
    uint8_t *entry = SessionUserEntry(0);
    ASSERT_NE(entry, nullptr);
    RuleRecord person(PEVc::Number);
    struct Case { const char *code; bool found; } cases[] = {{"AN", true}, {"ZZ", false}, {"", false}};
    for (const Case &c : cases) {
        PutText(entry, SU::UserCode, 5, c.code);
        PutText(person.record, PEVc::Name, 60, "left over");
        EXPECT_EQ(CurrentUserRecord(person.record), c.found) << c.code;
        EXPECT_EQ(Text(person.record, PEVc::Location), c.found ? "MAIN" : "") << c.code;
        if (!c.found) {
            EXPECT_EQ(Text(person.record, PEVc::Name), "") << c.code;   // cleared, not stale
        }
    }
    CurrentSessionIndex = -1;   // no session
    EXPECT_FALSE(CurrentUserRecord(person.record));
}

TEST_F(UserServicesTest, UserNameByCodeGivesTheNameOrNothing) {
    struct Case { const char *code, *name; } cases[] = {
        {"AN", "Ann Smith"}, {"ZZ", ""}, {"", ""}, {"TOOLONGCODE", ""},
    };
    for (const Case &c : cases) {
        uint8_t code[256], out[256];
        PStringFromC(code, c.code);
        PStringFromC(out, "stale");
        UserNameByCode(code, out);
        EXPECT_EQ(PStringToStd(out), c.name) << c.code;
    }
}

}  // namespace
