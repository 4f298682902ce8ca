// Tests of choice-list lookups over a small interface file: table lists
// by value, text and position, the module (-1) and register-window (-2)
// tables, list 0 and missing lists, and lookups with no file loaded.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "core/choice_lists.h"
#include "core/interface_load.h"
#include "core/pstring.h"
#include "tests/core/defs_loader.h"

namespace {

// Appends 16-bit words low byte first.
void Put(std::vector<uint8_t> &v, std::initializer_list<uint16_t> words) {
    for (uint16_t w : words) {
        v.push_back(static_cast<uint8_t>(w));
        v.push_back(static_cast<uint8_t>(w >> 8));
    }
}

// Lists 5 and 6; modules (window type, text) 20 Sales and 30 Ledger;
// register-window entries (text, -, module) Invoices 3 and Orders 5.
InterfaceDefs ChoiceDefs() {
    InterfaceDefs d;
    for (int c = 0; c < 256; c++) d.collation[c] = UpperChar(static_cast<uint8_t>(c));   // sort without case
    d.texts = {{3000, "Open"}, {3001, "Closed"}, {3002, "Pending"}, {4001, "Sales"},
               {4002, "Ledger"}, {4101, "Invoices"}, {4102, "Orders"}};
    Put(d.lists.tables[ListSlotChoiceLists], {1, 18, 5, 3, 7, 3000, 9, 3001, 7, 3002, 10, 6, 1, 1, 3002});
    Put(d.lists.tables[7], {1, 20, 4001, 0, 0, 30, 4002, 0, 0});
    Put(d.lists.tables[6], {1, 4101, 0, 3, 0, 4102, 0, 5, 0});
    return d;
}

// Each lookup as one text: "+" or "-" for found, then the outputs.
std::string TextOf(int list, uint16_t value) {
    PString out;
    int index = -1;
    bool found = ChoiceTextOf(list, value, &index, out);
    return (found ? "+" : "-") + PStringToStd(out) + "@" + std::to_string(index);
}

std::string ValueOf(int list, const char *text) {
    PString t;
    PStringFromC(t, text);
    uint16_t value = 1;
    int index = -1;
    bool found = ChoiceValueOf(list, t, &value, &index);
    return (found ? "+" : "-") + std::to_string(value) + "@" + std::to_string(index);
}

std::string TextAt(int list, int i) {
    PString out;
    uint16_t value = 999;
    bool found = ChoiceTextAt(list, i, out, &value);
    return (found ? "+" : "-") + PStringToStd(out) + "=" + std::to_string(value);
}

struct ChoiceLists : ::testing::Test {
    void SetUp() override {
        LoadDefs(ChoiceDefs());
    }
    void TearDown() override { InterfaceUnload(); }
};

}  // namespace

TEST_F(ChoiceLists, TableListsListZeroAndMissingLists) {
    EXPECT_EQ(TextOf(5, 9), "+Closed@1");
    EXPECT_EQ(TextOf(5, 7), "+Open@0") << "the first pair with the value wins";
    EXPECT_EQ(TextOf(5, 8), "-8@0");
    EXPECT_EQ(TextOf(5, 65535), "--1@0") << "digits of the value as a signed 16-bit number";
    EXPECT_EQ(TextOf(0, 7), "-7@0");
    EXPECT_EQ(TextOf(77, 3001), "-3001@0");

    EXPECT_EQ(ValueOf(5, "pENDING"), "+7@2");
    EXPECT_EQ(ValueOf(5, "Opened"), "-0@0");
    EXPECT_EQ(ValueOf(5, "12"), "-12@0") << "no text matched: the typed number stays";
    EXPECT_EQ(ValueOf(0, "Open"), "-0@0") << "list 0 has no texts";
    EXPECT_EQ(ValueOf(77, "-2"), "-65534@0");

    EXPECT_EQ(TextAt(5, 2), "+Pending=7");
    EXPECT_EQ(TextAt(5, 3), "-=0") << "a position beyond the pairs gives value 0";
    EXPECT_EQ(TextAt(5, -1), "-=0");
    EXPECT_EQ(TextAt(0, 0), "-=999") << "list 0 gives nothing";
    EXPECT_NE(ChoiceListFind(6), nullptr);
    for (int list : {99, 0, -1, -2}) EXPECT_EQ(ChoiceListFind(list), nullptr) << list;
}

TEST_F(ChoiceLists, ModuleAndRegisterWindowTables) {
    EXPECT_EQ(TextOf(-1, 30), "+Ledger@1");
    EXPECT_EQ(TextOf(-1, 4001), "-4001@0") << "the text word is not a value";
    EXPECT_EQ(ValueOf(-1, "SALES"), "+20@0");
    EXPECT_EQ(ValueOf(-1, "Invoices"), "-0@0");
    EXPECT_EQ(TextAt(-1, 1), "+Ledger=30");
    EXPECT_EQ(TextAt(-1, 2), "-=999") << "no entry: the outputs are left as they were";
    EXPECT_EQ(TextOf(-2, 5), "+Orders@1");
    EXPECT_EQ(ValueOf(-2, "invoices"), "+3@0");
    EXPECT_EQ(TextAt(-2, 0), "+Invoices=3");
    PString out;
    int index = 8;
    EXPECT_FALSE(ModuleChoiceText(99, &index, out));
    EXPECT_EQ(index, 8);
}

TEST_F(ChoiceLists, WithoutInterfaceFileEveryListIsDigits) {
    InterfaceUnload();
    EXPECT_EQ(TextOf(5, 7), "-7@0");
    EXPECT_EQ(TextOf(-1, 20), "-20@0");
    EXPECT_EQ(ValueOf(-2, "42"), "-42@0");
    EXPECT_EQ(TextAt(-1, 0), "-=999");
    EXPECT_EQ(ChoiceListFind(5), nullptr);
}
