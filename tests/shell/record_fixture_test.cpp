// record_fixture_test.cpp - the record windows of the built interface
// file and of the test dictionary open in a company with records of
// their size, the built layouts carry the words their fields rely on, and
// the fixture's keys take the main loop's way.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>

#include "core/window_entries.h"
#include "dict_offsets.h"
#include "platform/script.h"
#include "tests/shell/record_fixture.h"

namespace {

using namespace WinTypes;

// Entry i of part `part` of window type `type`; null when missing.
const uint8_t *Entry(int type, int part, int i)
{
    uint8_t *def = WinTypeDef(type);
    uint16_t size;
    return def ? WinDefPartEntry(def, part, i, &size) : nullptr;
}

// The data field of the type at a record offset; null when none.
const uint8_t *FieldAt(int type, uint32_t offset)
{
    for (int i = 0; const uint8_t *e = Entry(type, WinPartDataFields, i); i++) {
        uint32_t at;
        memcpy(&at, e + FieldEntry::Offset, 4);
        if (at == offset) return e;
    }
    return nullptr;
}

using BuiltRecordWindows = RecordFixture;

TEST_F(BuiltRecordWindows, OpenInACompanyWithRecordsOfTheirSize)
{
    struct Expect {
        int type, kind;
        uint32_t size;
    };
    for (Expect e : {Expect{Customers, 3, CUVc::Size}, Expect{AccessGroups, 3, AccessVc::Size},
                     Expect{Company, 8, CompanyBlk::Size}, Expect{Notes, 0, 256}}) {
        int n = Open(e.type);
        ASSERT_GT(n, 0) << e.type;
        EXPECT_EQ(WinKindOf(n), e.kind) << e.type;
        EXPECT_EQ(MemSize(WinTable[n]->recordHandle), e.size) << e.type;
        WinClose(n);
    }
    EXPECT_EQ(WinTypeByName("CustomerWindow"), Customers);
    EXPECT_EQ(WinTypeByName("CompanyWindow"), Company);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(BuiltRecordWindows, LayoutsCarryAccessChooserReturnAndModuleWords)
{
    const uint8_t *code = FieldAt(Customers, CUVc::Code), *name = FieldAt(Customers, CUVc::Name);
    const uint8_t *payer = FieldAt(Customers, CUVc::PayerCode), *start = FieldAt(Company, CompanyBlk::YearStart);
    ASSERT_TRUE(code && name && payer && start);
    EXPECT_EQ(DefU16(code + FieldEntry::Access), AccessNewOnly);
    EXPECT_EQ(DefU16(name + FieldEntry::Access), AccessAlways);
    EXPECT_EQ(DefU16(name + FieldEntry::ReturnLink), CUVc::Addr1);
    EXPECT_EQ(DefU16(code + FieldEntry::ReturnLink), NoEntryOffset);
    EXPECT_EQ(int16_t(DefU16(payer + FieldEntry::Chooser)), CustomerList);
    EXPECT_EQ(int16_t(DefU16(start + FieldEntry::Chooser)), ChooserToday);
    // Every field of the three windows may be typed into but the keys.
    for (int type : {Customers, AccessGroups, Company})
        for (int i = 0; const uint8_t *e = Entry(type, WinPartDataFields, i); i++)
            EXPECT_EQ(DefU16(e + FieldEntry::Access), i == 0 && type != Company ? AccessNewOnly : AccessAlways)
                << type << " field " << i;

    // The module table names the list windows and the company of every
    // module, then the sales invoices', receipts', orders' and quotations'
    // lists and windows, the contract window and the sales documents' list
    // of the Sales module; the bottom bar's module buttons 5 to 8 open its
    // permitted entries 1 to 4. The Projects module (6) follows with its
    // six windows, then the Stock module (5) with its eight (the item list last), then the
    // General ledger (2) with the fixed assets and depreciation models,
    // Purchasing (4) with its invoices, payments, expenses and purchase
    // orders, the General ledger's voucher list and window and its
    // account rows' list and window, the person-entry and opening-balance
    // windows, the form list of every module, the General ledger's
    // employee list and window, and last the lists of the ledger's
    // registers: accounts, objects, object types, voucher templates, the
    // two budgets, distribution keys, opening balances, exchange rates,
    // interest rates, rate accounts and the twelve statements' rows; the
    // departments of every module; then the item groups and the items by group in Stock, and the item list,
    // prices, price lists, formulas, customer prices, customer groups,
    // discount matrices and quantity steps in Sales; the payment terms,
    // delivery terms and modes, units and countries of every module, the
    // Stock module's locations, and Purchasing's vendors, purchase items
    // and banks; the customer address list, the lists of the smaller
    // registers and those of the record windows that stood alone, by module.
    const int listed[] = {CustomerList, AccessGroupList, PersonList, Company, SalesInvoiceList, SalesInvoice,
                          ReceiptList, Receipt, 351, 352, 273, 272, 468, 405, 260, 259, 269, 268, 362, 360, 196, 426,
                          121, 353, 367, 195, 284, 42, 542, 325, 548, 543, 154, 155, 156, 157, 477, 476, 474, 475, 289, 290, 118,
                          117, 254, 255, 533, 164, 566, 504, 500, 361, 357, 253, 365, 366, 369, 371, 270, 258, 387,
                          285, 391, 393, 396, 398, 410, 420, 524, 528, 534, 551, 558, 251, 92,
                          105, 106, 107, 108, 109, 114, 115, 120, 113, 116, 119, 123, 126, 127, 128, 129, 130, 131,
                          52, 194, 42, 58, 46, 48, 59, 55, 57, 50,
                          349, 66, 82, 71, 73, 89, 84, 69, 76, 80, 78, 87, 88, 64, 65, 85, 86,
                          16, 39, 44, 20, 37, 33, 3, 4, 35};
    const int module[] = {0, 0, 0, 0, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 6, 6, 6, 6, 6, 6, 5, 5, 5, 5, 5, 5, 5, 5, 2, 2, 2, 2,
                          4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 2, 2, 2, 2, 2, 2, 0, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2,
                          2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 0,
                          3, 4, 2, 2, 5, 5, 3, 6, 6, 3, 4, 4, 3, 5, 5, 3, 5, 4,
                          5, 5, 3, 3, 3, 3, 3, 3, 3, 3,
                          0, 0, 0, 2, 2, 2, 3, 3, 3, 3, 3, 5, 5, 6, 6, 6, 6,
                          0, 0, 0, 0, 0, 5, 4, 4, 4};
    static_assert(std::size(listed) == std::size(module));
    ASSERT_EQ(ListTableCount(7), int(std::size(listed)));
    for (int i = 0; i < int(std::size(listed)); i++)
        EXPECT_EQ(std::tuple(DefU16(ListTableEntry(7, i)), DefU16(ListTableEntry(7, i) + 6)),
                  std::tuple(listed[i], module[i]));
    for (int i = 0; i < 4; i++) {
        const uint8_t *button = Entry(1, WinPartIconButtons, 5 + i);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(std::tuple(DefU16(button + IconEntry::Command), DefU16(button + IconEntry::Argument)),
                  std::tuple(10, i + 1));
    }
}

TEST_F(TestRecordWindows, OpenFromTheTestDictionaryAndKeysRunTheMainLoop)
{
    for (int type : {TypeRows, TypeRowsSettings, TypeRowsPlain}) {
        int n = Open(type);
        ASSERT_GT(n, 0) << type;
        EXPECT_EQ(MemSize(WinTable[n]->recordHandle), WinTypeWord(type, 2)) << type;
    }
    EXPECT_EQ(WinDefPartCount(WinTypeDef(TypeRows), WinPartPages), 3);
    // F1 reaches the shell's keys before the window: the help is asked for.
    Key(PlKey::F1);
    bool help = false;
    for (const PlScriptRecord &r : ScriptRecords()) help = help || r.kind == "help";
    EXPECT_TRUE(help);
    // A question takes the queued answers in order, then Cancel.
    Answer({4, 1});
    PString q;
    PStringFromC(q, "Store?");
    int first = AskYesNoCancel(q), second = AskYesNoCancel(q), third = AskYesNoCancel(q);
    EXPECT_EQ(std::tuple(first, second, third), std::tuple(4, 1, 2));
    EXPECT_EQ(Asked().size(), 3u);
}

}  // namespace
