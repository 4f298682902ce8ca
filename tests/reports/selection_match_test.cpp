// Tests of the selection match: an empty selection admits every record,
// a given one only the records whose field holds exactly it, and a field
// is read at its own length even when its length byte is damaged.
#include <gtest/gtest.h>

#include <cstring>

#include "core/pstring.h"
#include "reports/frame/selection_match.h"

namespace {

constexpr TextField<5> Code{0};

void Store(uint8_t *record, const char *text) {
    PString p;
    PStringFromC(p, text);
    PutText(record, Code, p);
}

TEST(SelectionMatch, EmptyWantAdmitsEveryRecordAndAGivenOneOnlyItsOwn) {
    uint8_t record[16] = {};
    PString want;
    PStringFromC(want, "");
    EXPECT_TRUE(TextFieldAdmits(want, record, Code));
    Store(record, "AB1");
    EXPECT_TRUE(TextFieldAdmits(want, record, Code));

    PStringFromC(want, "AB1");
    EXPECT_TRUE(TextFieldAdmits(want, record, Code));
    PStringFromC(want, "AB");
    EXPECT_FALSE(TextFieldAdmits(want, record, Code));
    PStringFromC(want, "AB12");
    EXPECT_FALSE(TextFieldAdmits(want, record, Code));
    PStringFromC(want, "ab1");
    EXPECT_FALSE(TextFieldAdmits(want, record, Code));
    Store(record, "");
    PStringFromC(want, "AB1");
    EXPECT_FALSE(TextFieldAdmits(want, record, Code));
}

TEST(SelectionMatch, ADamagedLengthIsReadAtTheFieldsOwnLength) {
    uint8_t record[16];
    std::memset(record, 'Z', sizeof record);
    record[0] = 200;  // a length far past the field
    PString want;
    PStringFromC(want, "ZZZZZ");
    EXPECT_TRUE(TextFieldAdmits(want, record, Code));
    PStringFromC(want, "ZZZZZZ");
    EXPECT_FALSE(TextFieldAdmits(want, record, Code));
}

}  // namespace
