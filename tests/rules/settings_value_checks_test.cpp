// The blocks read as closed sets or pairs are checked as they are stored:
// a date order or layout or value kind out of its set, equal decimal and
// thousands separators, a period ending before it begins, a currency
// without a code or given twice. Each refusal names its field (or row and
// column), says why, and leaves the stored block as it was.
#include <string>
#include <vector>

#include "core/ui_text.h"
#include "rules/hooks.h"
#include "rules/settings_checks.h"
#include "tests/rules/rules_fixture.h"

namespace {

class SettingsValueChecks : public RulesFixture {
protected:
    bool InstallRules() override {
        RulesInstall();
        return true;
    }
    static std::pair<int, int> At() { return {FieldErrorPos.row, FieldErrorPos.column}; }
    // A format block as the demo has it: day-month-year with ".", the
    // decimal comma and no thousands separator.
    static std::vector<uint8_t> Format() {
        std::vector<uint8_t> b(FormatBlk::Size, 0);
        PutU16(b.data(), FormatBlk::DateOrder, 1);
        PutText(b.data(), FormatBlk::DateSep, 1, ".");
        PutText(b.data(), FormatBlk::DecimalSep, 1, ",");
        return b;
    }
    static std::vector<uint8_t> Currencies(std::initializer_list<const char *> codes) {
        std::vector<uint8_t> rows;
        for (const char *code : codes) {
            rows.resize(rows.size() + CurrencyBlk::Rows::Size, 0);
            PutText(rows.data() + rows.size() - CurrencyBlk::Rows::Size, CurrencyBlk::Rows::Code, 5, code);
        }
        return rows;
    }
    static std::vector<uint8_t> Period(DateRec from, DateRec to) {
        std::vector<uint8_t> row(PeriodsBlk::Rows::Size, 0);
        PutDate(row.data(), PeriodsBlk::Rows::FromDate, from);
        PutDate(row.data(), PeriodsBlk::Rows::ToDate, to);
        return row;
    }
    static int Store(int block, const std::vector<uint8_t> &b) {
        return SettingsBlockStore(block, b.data(), uint32_t(b.size()));
    }
};

// The formats: every order 0..5 passes and 6 is refused at the order; a
// thousands separator equal to the decimal one is refused at it, while
// an empty pair (no separators at all) passes. A refused block is not
// stored: the stored order stays the one before.
TEST_F(SettingsValueChecks, FormatsKeepTheirOrderAndTwoSeparators) {
    std::vector<uint8_t> b = Format();
    for (uint16_t order = 0; order <= 5; order++) {
        PutU16(b.data(), FormatBlk::DateOrder, order);
        EXPECT_EQ(CheckFormatBlock(b.data(), uint32_t(b.size())), 0) << order;
    }
    ASSERT_EQ(Store(FormatBlk::Number, Format()), RecDone);
    PutU16(b.data(), FormatBlk::DateOrder, 6);
    EXPECT_EQ(Store(FormatBlk::Number, b), RecRefused);
    EXPECT_EQ(FieldErrorPos.field, FormatBlk::DateOrder);
    uint8_t stored[FormatBlk::Size] = {};
    ASSERT_TRUE(SettingsBlockRead(FormatBlk::Number, stored, sizeof stored));
    EXPECT_EQ(GetU16(stored, FormatBlk::DateOrder), 1);

    b = Format();
    PutText(b.data(), FormatBlk::ThousandsSep, 1, ",");
    EXPECT_NE(CheckFormatBlock(b.data(), uint32_t(b.size())), 0);
    EXPECT_EQ(FieldErrorPos.field, FormatBlk::ThousandsSep);
    PutText(b.data(), FormatBlk::ThousandsSep, 1, " ");
    EXPECT_EQ(CheckFormatBlock(b.data(), uint32_t(b.size())), 0);
    PutText(b.data(), FormatBlk::DecimalSep, 1, "");
    PutText(b.data(), FormatBlk::ThousandsSep, 1, "");
    EXPECT_EQ(CheckFormatBlock(b.data(), uint32_t(b.size())), 0);
    EXPECT_NE(CheckFormatBlock(b.data(), FormatBlk::Size - 2), 0) << "a short block cannot be read";

    // Separators dates or amounts could not be read back with are refused
    // at their field; any other character passes.
    struct Sep {
        uint32_t at;
        const char *text;
        int told;
    };
    for (const Sep &c : {Sep{FormatBlk::DateSep, "", Texts::DateSepUnreadable},
                         Sep{FormatBlk::DateSep, "0", Texts::DateSepUnreadable},
                         Sep{FormatBlk::DecimalSep, "9", Texts::NumberSepDigit},
                         Sep{FormatBlk::ThousandsSep, "1", Texts::NumberSepDigit}}) {
        SCOPED_TRACE(std::to_string(c.at) + " \"" + c.text + "\"");
        b = Format();
        PutText(b.data(), c.at, 1, c.text);
        shown.clear();
        EXPECT_EQ(Store(FormatBlk::Number, b), RecRefused);
        EXPECT_EQ(FieldErrorPos.field, c.at);
        char told[256];
        GetUiTextC(told, c.told);
        EXPECT_EQ(shown, std::vector<std::string>{told});
        PutText(b.data(), c.at, 1, "/");
        EXPECT_EQ(CheckFormatBlock(b.data(), uint32_t(b.size())), 0);
    }
    // A block without a decimal separator formats with the defaults, as an
    // unset one does: its other separators are not judged.
    b = std::vector<uint8_t>(FormatBlk::Size, 0);
    EXPECT_EQ(Store(FormatBlk::Number, b), RecDone);
}

// The foreign-payment layout is 0 or 1 (a negative word too is refused);
// the value kind is 0..3. Each refusal names its field.
TEST_F(SettingsValueChecks, LayoutAndValueKindStayInTheirSets) {
    std::vector<uint8_t> bank(BankFileBlk::Size, 0);
    for (int16_t layout : {0, 1}) {
        PutU16(bank.data(), BankFileBlk::ForeignLayout, uint16_t(layout));
        EXPECT_EQ(Store(BankFileBlk::Number, bank), RecDone) << layout;
    }
    for (int16_t layout : {2, -1}) {
        PutU16(bank.data(), BankFileBlk::ForeignLayout, uint16_t(layout));
        EXPECT_EQ(Store(BankFileBlk::Number, bank), RecRefused) << layout;
        EXPECT_EQ(FieldErrorPos.field, BankFileBlk::ForeignLayout);
    }
    std::vector<uint8_t> kind(ValueKindBlk::Size, 0);
    PutU16(kind.data(), ValueKindBlk::ValueKind, 3);
    EXPECT_EQ(CheckValueKindBlock(kind.data(), uint32_t(kind.size())), 0);
    PutU16(kind.data(), ValueKindBlk::ValueKind, 4);
    EXPECT_NE(CheckValueKindBlock(kind.data(), uint32_t(kind.size())), 0);
    EXPECT_EQ(FieldErrorPos.field, ValueKindBlk::ValueKind);
}

// Periods: one that ends before it begins is refused at its to-date, on
// its own row; one day long, or without an end, passes.
TEST_F(SettingsValueChecks, APeriodEndsOnOrAfterItsStart) {
    std::vector<uint8_t> rows = Period({1, 1, 2024}, {31, 12, 2024});
    std::vector<uint8_t> bad = Period({1, 2, 2024}, {31, 1, 2024});
    rows.insert(rows.end(), bad.begin(), bad.end());
    EXPECT_EQ(Store(PeriodsBlk::Number, rows), RecRefused);
    EXPECT_EQ(At(), std::make_pair(1, (int)PeriodsBlk::Rows::ToDate));
    EXPECT_EQ(CheckPeriodsBlock(Period({5, 5, 2024}, {5, 5, 2024}).data(), PeriodsBlk::Rows::Size), 0);
    EXPECT_EQ(CheckPeriodsBlock(Period({5, 5, 2024}, {0, 0, 0}).data(), PeriodsBlk::Rows::Size), 0);
}

// Currencies: a row without a code and a code given again are refused at
// that row's code; distinct codes are stored.
TEST_F(SettingsValueChecks, CurrenciesHaveOneRowACode) {
    EXPECT_EQ(Store(CurrencyBlk::Number, Currencies({"EUR", "USD"})), RecDone);
    EXPECT_EQ(Store(CurrencyBlk::Number, Currencies({"EUR", "USD", "EUR"})), RecRefused);
    EXPECT_EQ(At(), std::make_pair(2, (int)CurrencyBlk::Rows::Code));
    std::vector<uint8_t> rows = Currencies({"EUR", ""});
    EXPECT_NE(CheckCurrencyBlock(rows.data(), uint32_t(rows.size())), 0);
    EXPECT_EQ(At(), std::make_pair(1, (int)CurrencyBlk::Rows::Code));
    MemBlock stored = 0;
    ASSERT_TRUE(SettingsBlockFetch(&stored, CurrencyBlk::Number));
    EXPECT_EQ(MemSize(stored), 2 * CurrencyBlk::Rows::Size) << "a refused block leaves the stored one";
    MemFree(&stored);
}

}  // namespace
