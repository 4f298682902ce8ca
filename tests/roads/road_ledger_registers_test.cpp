// road_ledger_registers_test.cpp - the ledger's registers kept in their
// windows, as a new user keeps them: in the General ledger module the
// register popup opens the account list, whose New makes account 6990, a
// cost account; an account without a number, or with a "." in it, is
// refused with the cursor on the number and nothing typed lost. Then an
// object, an exchange rate and a balance-sheet row are made from their
// lists the same way; a second row under the same number is refused.
// The account list finds 6990 again and opens it, the rate list shows
// the new rate, and the company file holds every record as typed. A
// distribution key and a voucher template keep their rows.
// Menus: in General ledger, Registers > Accounts, Registers > Objects,
// Registers > Exchange rates, Registers > Balance sheet rows, Registers >
// Distribution keys, Registers > Voucher templates.
// Windows: Account list, Account, Object list, Object, Exchange rate list,
// Exchange rate, Balance sheet row list, Balance sheet row, Distribution
// key list, Distribution key, Voucher template list, Voucher template.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <initializer_list>
#include <utility>
#include <memory>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/window_entries.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/list_windows.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

namespace fs = std::filesystem;

// The records of register `reg` in the order of its current index.
std::vector<std::vector<uint8_t>> AllRecords(int reg)
{
    std::vector<std::vector<uint8_t>> all;
    uint32_t count = RegRecordCount(reg);
    for (uint32_t p = 1; p <= count; p++) {
        std::vector<uint8_t> r(RegRecordSize(reg));
        uint32_t id = 0;
        if (RecReadAt(reg, int32_t(p), r.data(), &id)) all.push_back(std::move(r));
    }
    return all;
}

// The lines list window n shows: each visible row's columns formatted as
// the list draws them, joined by blanks.
std::vector<std::string> ListLinesShown(int n)
{
    std::vector<std::string> lines;
    int reg = WinRegisterOf(n);
    std::vector<uint8_t> record(RegRecordSize(reg));
    for (int row = 0; row < ListRowCount(n); row++) {
        int32_t id = ListRowId(n, row);
        if (id < 0 || !RecReadById(reg, uint32_t(id), record.data())) continue;
        std::string line;
        for (int c = 0; const uint8_t *e = WinDefEntry(n, WinPartFieldList, c); c++) {
            PString text;
            FieldFormat(record.data() + DefU32(e + ListColEntry::Offset), DefU16(e + ListColEntry::Type),
                        DefU16(e + ListColEntry::Format), text);
            line += (c ? " " : "") + PStringToStd(text);
        }
        RecFreeMatrix(reg, record.data());
        lines.push_back(line);
    }
    return lines;
}

bool SameDate(const DateRec &d, int year, int month, int day)
{
    return d.year == year && d.month == month && d.day == day;
}

class LedgerRegistersRoad : public RoadTest {};

TEST_F(LedgerRegistersRoad, AccountObjectRateAndStatementRowAreKeptInTheirWindows)
{
    const std::string company = StartNewCompany();
    Menu("Module", "General ledger");

    // The account: refused twice for its number, then stored.
    NewFromList("Accounts", WinTypes::AccountList, WinTypes::Accounts);
    ClickField("Name");
    Type("Other costs");
    ClickButton("Costs");
    ClickOk();
    Check("an account without a number is refused on its number", [] {
        EXPECT_TRUE(Told("at least 3 characters")) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "Number");
        EXPECT_EQ(Shown("Name"), "Other costs");
        return true;
    });
    Retype("Number", "69.1");
    ClickOk();
    Check("a number with a range sign is refused and keeps what was typed", [] {
        EXPECT_TRUE(Told("cannot contain")) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "Number");
        EXPECT_EQ(Shown("Number"), "69.1");
        EXPECT_EQ(Shown("Name"), "Other costs");
        return true;
    });
    Retype("Number", "6990");
    KeepPicture("account");
    OkStoresQuietly("the account");

    NewFromList("Objects", WinTypes::ObjectList, WinTypes::Objects);
    TypeFields({{"Code", "D1"}, {"Name", "Sales department"}});
    OkStoresQuietly("the object");

    NewFromList("Exchange rates", WinTypes::ExchangeRateList, WinTypes::ExchangeRates);
    ClickField("Currency");
    Type("EUR");
    Retype("Date", "01.02.2024");
    ClickField("Rate per 100");
    Type("1150");
    OkStoresQuietly("the rate");

    NewFromList("Balance sheet rows", WinTypes::BalanceRowList21, WinTypes::BalanceRow21);
    Retype("Row", "905");   // a new row shows number 0
    TypeFields({{"Label", "Cash and bank"}, {"Formula", "1910:1930"}});
    ClickButton("Account formula");
    KeepPicture("balance_row");
    OkStoresQuietly("the row");
    // A second row under the same number is refused; the first stays.
    Key('N', false, true);
    Check("Ctrl+N starts a new row", [] { return TitleTells("new"); });
    Retype("Row", "905");
    ClickField("Label");
    Type("Again");
    ClickOk();
    Check("the number that exists is refused", [] {
        EXPECT_TRUE(Told("exists")) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        EXPECT_EQ(Shown("Label"), "Again");
        return true;
    });
    ClickButton("Cancel");
    AnswerBox(kPlIdNo);   // the refused row is not kept

    // Reopened from the lists as a user finds them again.
    Menu("Window", "Close all");
    Menu("Registers", "Accounts");
    Check("the account list opens", Opened(WinTypes::AccountList));
    ClickField("Find");
    Type("6990");
    Key(PlKey::Return);   // finds the row
    Key(PlKey::Return);   // opens it
    Check("6990 opens in the account window as stored", [] {
        EXPECT_EQ(Shown("Number"), "6990");
        EXPECT_EQ(Shown("Name"), "Other costs");
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return Opened(WinTypes::Accounts)();
    });
    Menu("Window", "Close all");
    Menu("Registers", "Exchange rates");
    Check("the rate list shows both rates of EUR", [] {
        std::vector<std::string> rows = ListLinesShown(Active());
        int eur = 0;
        bool february = false;
        for (const std::string &row : rows) {
            eur += row.find("EUR") != std::string::npos;
            february = february || row.find("01.02.2024") != std::string::npos;
        }
        EXPECT_EQ(eur, 2) << ::testing::PrintToString(rows);
        EXPECT_TRUE(february) << ::testing::PrintToString(rows);
        return true;
    });
    KeepPicture("exchange_rate_list");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(ACVc::Number, ACVc::Code, 10, "6990", &r));
    EXPECT_EQ(TextAt(r.data(), ACVc::Name), "Other costs");
    EXPECT_EQ(GetU16(r.data(), ACVc::AccType), 4);
    EXPECT_EQ(GetU16(r.data(), ACVc::DebitAllowed), 1);   // a new account's defaults kept
    EXPECT_FALSE(FindByCode(ACVc::Number, ACVc::Code, 10, "69.1", &r));

    ASSERT_TRUE(FindByCode(OBVc::Number, OBVc::Code, 5, "D1", &r));
    EXPECT_EQ(TextAt(r.data(), OBVc::Name), "Sales department");

    int february = 0;
    for (const std::vector<uint8_t> &rate : AllRecords(ExchRateVc::Number)) {
        if (!SameDate(GetDate(rate.data(), ExchRateVc::RateDate), 2024, 2, 1)) continue;
        february++;
        EXPECT_EQ(TextAt(rate.data(), ExchRateVc::CurncyCode), "EUR");
        PackedDecimal d = GetDec(rate.data(), ExchRateVc::Rate);
        EXPECT_DOUBLE_EQ(DecToDouble(&d), 1150);
    }
    EXPECT_EQ(february, 1);

    int rows905 = 0;
    for (const std::vector<uint8_t> &row : AllRecords(SR21Vc::Number)) {
        if (GetI32(row.data(), SR21Vc::RowNr) != 905) continue;
        rows905++;
        EXPECT_EQ(TextAt(row.data(), SR21Vc::Label), "Cash and bank");
        EXPECT_EQ(TextAt(row.data(), SR21Vc::Formula), "1910:1930");
        EXPECT_EQ(GetU16(row.data(), SR21Vc::RowKind), 1);
    }
    EXPECT_EQ(rows905, 1);
    CloseForCheck();
}

// A distribution key sums its factors while they are typed and after a
// row is deleted; a voucher
// template keeps its rows, and one whose row names an account the chart
// lacks is refused on OK with every row kept until that row is deleted.
TEST_F(LedgerRegistersRoad, KeysAndTemplatesKeepTheirRows)
{
    const std::string company = StartNewCompany();
    Menu("Module", "General ledger");

    NewFromList("Distribution keys", WinTypes::DistributionKeyList, WinTypes::DistributionKeys);
    TypeFields({{"Code", "Q"}, {"Name", "Quarters"}});
    const char *factors[] = {"1", "2", "3", "4"};
    for (int row = 0; row < 4; row++) {
        ClickCell(row, 0);
        Type(factors[row]);
    }
    ClickField("Name");
    Check("the sum follows the factors", [] {
        EXPECT_EQ(Shown("Sum"), "10,00");
        return true;
    });
    // A fifth row deleted again takes its factor out of the sum.
    ClickCell(4, 0);
    Type("5");
    ClickField("Name");
    Check("the fifth factor is summed", [] {
        EXPECT_EQ(Shown("Sum"), "15,00");
        return true;
    });
    ClickCell(4, 0);
    Menu("Edit", "Delete row");
    Check("the sum follows the deleted row", [] {
        EXPECT_EQ(Shown("Sum"), "10,00");
        return true;
    });
    KeepPicture("distribution_key");
    OkStoresQuietly("the key");

    NewFromList("Voucher templates", WinTypes::VoucherTemplateList, WinTypes::VoucherTemplates);
    TypeFields({{"Code", "RENT"}, {"Name", "Monthly rent"}});
    ClickCell(0, 0);
    Type("5010");
    Key(PlKey::Tab);
    Type("Rent");
    ClickCell(1, 0);
    Type("9999");
    Key(PlKey::Tab);
    Type("Paid");
    ClickCell(2, 0);
    Type("2640");
    ClickOk();
    Check("an account the chart lacks is refused", [] {
        EXPECT_TRUE(Told("account does not exist")) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        return true;
    });
    // The row with the unknown account goes: a template's rows may be deleted.
    ClickCell(1, 0);
    Menu("Edit", "Delete row");
    Check("the row is deleted and the others stay", [] {
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        return true;
    });
    KeepPicture("voucher_template");
    OkStoresQuietly("the template");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(DKVc::Number, DKVc::Code, 5, "Q", &r));
    EXPECT_EQ(TextAt(r.data(), DKVc::Name), "Quarters");
    PackedDecimal sum = GetDec(r.data(), DKVc::FactorSum);
    EXPECT_DOUBLE_EQ(DecToDouble(&sum), 10);
    EXPECT_EQ(MatrixRowCount(DKVc::Number, 0, r.data()), 4);
    RecFreeMatrix(DKVc::Number, r.data());

    ASSERT_TRUE(FindByCode(AUVc::Number, AUVc::Code, 10, "RENT", &r));
    EXPECT_EQ(TextAt(r.data(), AUVc::Name), "Monthly rent");
    ASSERT_EQ(MatrixRowCount(AUVc::Number, 0, r.data()), 2);
    const char *accounts[] = {"5010", "2640"}, *texts[] = {"Rent", ""};
    for (int i = 0; i < 2; i++) {
        uint8_t row[AUVc::Rows::Size] = {};
        ASSERT_TRUE(MatrixRowRead(AUVc::Number, r.data(), i, row));
        EXPECT_EQ(TextAt(row, AUVc::Rows::Account), accounts[i]) << "row " << i;
        EXPECT_EQ(TextAt(row, AUVc::Rows::RowText), texts[i]) << "row " << i;
    }
    RecFreeMatrix(AUVc::Number, r.data());
    CloseForCheck();
}

}  // namespace
