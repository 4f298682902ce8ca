// amount_words_english_test.cpp - amounts worded through the interface
// file the build compiled, exactly as a printed document will show them,
// so that a slip in the English word texts shows here.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "core/amount_words.h"
#include "core/company_variant.h"
#include "core/decimal.h"
#include "core/interface_load.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "tests/core/built_interface.h"

namespace {

class EnglishAmountWords : public ::testing::Test {
protected:
    std::array<uint8_t, 552> company{};
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
        CompanyVariantBind(company.data());   // the general routine
    }
    void TearDown() override {
        CompanyVariantBind(nullptr);
        InterfaceUnload();
    }
    static std::string Words(long long thousandths) {
        PackedDecimal d;
        DecFromThousandths(&d, thousandths);
        PString out;
        AmountToWords(&d, WordsKindAmount, out);
        return PStringToStd(out);
    }
};

TEST_F(EnglishAmountWords, AsPrinted) {
    const std::pair<long long, const char *> cases[] = {
        {500, "Zero and 50/100"},   // an amount below one is not the cents alone
        {830, "Zero and 83/100"},
        {1000, "One and 00/100"},
        {21000, "Twenty one and 00/100"},
        {115000, "One hundred fifteen and 00/100"},
        {1000000, "One thousand and 00/100"},
        {2345678090, "Two million three hundred forty five thousand six hundred seventy eight and 09/100"},
        {1000000000000, "One billion and 00/100"},
        {-21000, "Twenty one and 00/100"},
    };
    for (auto [amount, want] : cases) EXPECT_EQ(Words(amount), want) << amount;
    EXPECT_EQ(Words(1000000000000000), "");   // 10^12 and more is not worded
}

// The forint routine's own numbers stay without English words: no
// English amount may reach them.
TEST_F(EnglishAmountWords, ForintNumbersHaveNoEnglishWords) {
    for (int n = 2850; n <= 2858; n++) {
        if (n == 2851 || n == 2852) continue;   // shared with the thousands group
        PString t;
        GetUiText(t, n);
        EXPECT_EQ(t[0], 0) << n;
    }
}

}  // namespace
