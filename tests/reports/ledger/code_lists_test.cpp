// code_lists_test.cpp - code lists of report selections: words, ranges in
// either direction, signs that do not matter, where a list ends, and the
// 60 characters read.
#include <gtest/gtest.h>

#include <string>

#include "core/pstring.h"
#include "reports/ledger/ledger_reports.h"

namespace {

bool In(const char *code, const std::string &list) {
    PString c, l;
    PStringFromC(c, code);
    PStringFromView(l, list);
    return CodeListContains(c, l);
}

TEST(CodeListTest, WordsRangesAndTheEndOfTheList) {
    EXPECT_TRUE(In("300", "300:399-350"));
    EXPECT_TRUE(In("399", "300:399-350"));
    EXPECT_TRUE(In("350", "300:399-350"));   // subtracted, still in the list
    EXPECT_TRUE(In("3500", "300:399"));      // compared as texts
    EXPECT_FALSE(In("400", "300:399-350"));
    EXPECT_FALSE(In("299", "300:399"));
    EXPECT_TRUE(In("310", "399:300"));       // a reversed range
    EXPECT_FALSE(In("400", "399:300"));

    EXPECT_TRUE(In("300", "300 -350"));
    EXPECT_FALSE(In("350", "300 -350"));     // a blank before a separator ends the list
    EXPECT_TRUE(In("400", "300 400"));       // blanks alone separate words
    EXPECT_FALSE(In("400", "300;400"));      // so does ";"
    EXPECT_TRUE(In("1.5", "+1.5,2"));        // a dot belongs to the word
    EXPECT_TRUE(In("2", "+1.5,2"));
    EXPECT_FALSE(In("", "300"));
    EXPECT_FALSE(In("300", ""));

    std::string longList(58, ' ');
    longList = "1," + longList.substr(2) + "77,88";   // 88 lies past the 60th character
    EXPECT_TRUE(In("1", longList));
    EXPECT_TRUE(In("77", longList));
    EXPECT_FALSE(In("88", longList));
}

}  // namespace
