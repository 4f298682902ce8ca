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

bool Admits(const char *want, const uint8_t *record) {
    PString w;
    PStringFromC(w, want);
    return TextFieldAdmits(w, record, Code);
}

TEST(SelectionMatch, EmptyWantAdmitsEveryRecordAndAGivenOneOnlyItsOwn) {
    uint8_t record[16] = {};
    EXPECT_TRUE(Admits("", record));
    Store(record, "AB1");
    EXPECT_TRUE(Admits("", record));
    EXPECT_TRUE(Admits("AB1", record));
    EXPECT_FALSE(Admits("AB", record));
    EXPECT_FALSE(Admits("AB12", record));
    EXPECT_FALSE(Admits("ab1", record));
    Store(record, "");
    EXPECT_FALSE(Admits("AB1", record));
}

TEST(SelectionMatch, ADamagedLengthIsReadAtTheFieldsOwnLength) {
    uint8_t record[16];
    std::memset(record, 'Z', sizeof record);
    record[0] = 200;  // a length far past the field
    EXPECT_TRUE(Admits("ZZZZZ", record));
    EXPECT_FALSE(Admits("ZZZZZZ", record));
}

}  // namespace
