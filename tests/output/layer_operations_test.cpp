// layer_operations_test.cpp - the output layer's small operations: the
// fixed-width export field (a number is never cut into another amount),
// line feeds made carriage returns and the designer's selection lists.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/message_sink.h"
#include "core/pstring.h"
#include "output/devices/report_output.h"
#include "output/layer_operations.h"

namespace {

// The field PaddedField builds; "refused" when it gives false.
std::string Padded(const uint8_t *value, int type, int width, int fill, int right)
{
    PString field;
    if (!PaddedField(value, type, width, fill, right, field)) return "refused";
    return PStringToStd(field);
}

std::string PaddedText(const char *text, int width, int fill, int right)
{
    uint8_t value[256];
    PStringFromC(value, text);
    return Padded(value, FtText, width, fill, right);
}

TEST(PaddedValue, TextsAreCutOrFilledAsWritten)
{
    EXPECT_EQ(PaddedText("ABCDE", 3, ' ', 0), "ABC");
    EXPECT_EQ(PaddedText("ABCDE", 3, ' ', 1), "ABC");
    EXPECT_EQ(PaddedText("ABCDE", 7, '0', 1), "00ABCDE");
    EXPECT_EQ(PaddedText("ABCDE", 7, ' ', 0), "ABCDE  ");
    EXPECT_EQ(PaddedText("", 2, '*', 1), "**");
    EXPECT_EQ(PaddedText("ABC", 0, ' ', 0), "");
}

TEST(PaddedValue, ANumberTooWideIsRefusedAndTheJobStopsWritingNothing)
{
    PackedDecimal amount;
    DecFromDouble(&amount, 12345.67);
    const uint8_t *value = reinterpret_cast<const uint8_t *>(&amount);
    EXPECT_EQ(Padded(value, FtAmount2, 10, ' ', 1), "  12345,67");
    EXPECT_EQ(Padded(value, FtAmount2, 8, '0', 0), "12345,67");
    EXPECT_EQ(Padded(value, FtAmount2, 5, ' ', 1), "refused");   // not "45.67"
    EXPECT_EQ(Padded(value, FtAmount2, 5, ' ', 0), "refused");   // not "12345"
    uint8_t number[4];
    PutI32(number, 0, 123456);
    EXPECT_EQ(Padded(number, FtLong, 6, ' ', 1), "123456");
    EXPECT_EQ(Padded(number, FtLong, 3, ' ', 1), "refused");

    std::vector<std::string> told;
    static std::vector<std::string> *sink;
    sink = &told;
    MessageSinkSet([](const char *t) { sink->push_back(t); });
    RepStopped = 0;
    RepPaddedValue(value, FtAmount2, 5, ' ', 1);
    EXPECT_EQ(RepStopped, 1);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("12345,67"), std::string::npos) << told[0];
    RepPaddedValue(value, FtAmount2, 5, ' ', 1);   // a stopped job says nothing more
    EXPECT_EQ(told.size(), 1u);
    MessageSinkSet(nullptr);
    RepStopped = 0;
}

TEST(LayerText, LineFeedsBecomeCarriageReturns)
{
    char text[] = "a\nb\n\nc\r";
    LfToCr(text);
    EXPECT_STREQ(text, "a\rb\r\rc\r");
}

TEST(DesignerSelection, ItemsAreFoundInTheirListOnly)
{
    MemBlock list = MemAlloc(6);
    uint8_t *p = MemLock(list);
    PutU16(p, 0, 7);
    PutU16(p, 2, 65534);
    PutU16(p, 4, 3);
    MemUnlock(list);
    EXPECT_TRUE(DesignerItemInList(7, list));
    EXPECT_TRUE(DesignerItemInList(3, list));
    EXPECT_FALSE(DesignerItemInList(4, list));
    EXPECT_FALSE(DesignerItemInList(7, 0));
    MemFree(&list);
    EXPECT_EQ(DesignerFirstSelected(0), 65535);
    EXPECT_FALSE(DesignerItemSelected(0, 7));
}

}  // namespace
