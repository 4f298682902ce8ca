// layer_operations_test.cpp - the output layer's small operations: the
// fixed-width export field (a number is never cut into another amount),
// line feeds made carriage returns, the title of a saved report
// definition, the designer's selection lists and the printer-definition
// row stored by its name.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "output/devices/report_output.h"
#include "output/layer_operations.h"
#include "outputwin/printer_windows.h"
#include "shell/record_commands.h"
#include "tests/shell/record_fixture.h"

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

const char *const PrinterRowDict = R"(
settings 162 PrintersBlk table {
  rows size 66 {
    Name 0 text 20
    DeviceText 22 text 20
    PrinterText 44 text 20
  }
}
settings 163 ReportSelectionBlk table {
  rows size 86 {
    Name 0 text 20
    Title 22 text 60
    ReportNr 84 short
  }
}
11713 "A printer needs a name."
wintype 583 { kind plain recsize 66 rect 60 60 200 400 }
)";

class PrinterRows : public RecordFixture {
protected:
    std::string InterfaceSource() override { return PrinterRowDict; }
    // A row window with the name and device typed in.
    static int RowWindow(const char *name, const char *device)
    {
        int n = OpenOrActivateWindow(583, 0, 0, true, 0);
        if (n > 0) {
            PutText(WinRecordBuffer(n), PrintersBlk::Rows::Name, name);
            PutText(WinRecordBuffer(n), PrintersBlk::Rows::DeviceText, device);
        }
        return n;
    }
    static void PutText(uint8_t *base, uint32_t at, const char *text)
    {
        PString p;
        PStringFromC(p, text);
        PutPString(base, at, 20, p);
    }
    // The stored rows as "name=device".
    static std::vector<std::string> Stored()
    {
        std::vector<std::string> out;
        MemBlock rows = 0;
        SettingsBlockFetch(&rows, PrintersBlk::Number);
        for (uint32_t r = 0; rows && r < MemSize(rows) / PrintersBlk::Rows::Size; r++) {
            const uint8_t *row = MemLock(rows) + r * PrintersBlk::Rows::Size;
            PString a, b;
            ::GetText(row, PrintersBlk::Rows::Name, a);
            ::GetText(row, PrintersBlk::Rows::DeviceText, b);
            out.push_back(PStringToStd(a) + "=" + PStringToStd(b));
            MemUnlock(rows);
        }
        MemFree(&rows);
        return out;
    }
};

TEST_F(PrinterRows, TheEditedRowIsStoredByItsNameAndANamelessOneIsRefused)
{
    int n = RowWindow("LASER", "LPT1");
    ASSERT_GT(n, 0);
    EXPECT_TRUE(PrinterRowWindowOk(n));
    EXPECT_FALSE(WinIsOpen(n));
    EXPECT_TRUE(PrinterRowWindowOk(RowWindow("MATRIX", "COM1")));
    EXPECT_TRUE(PrinterRowWindowOk(RowWindow("LASER", "LPT2")));   // replaces its row
    EXPECT_EQ(Stored(), (std::vector<std::string>{"LASER=LPT2", "MATRIX=COM1"}));

    int nameless = RowWindow("", "LPT1");
    EXPECT_FALSE(PrinterRowWindowOk(nameless));
    EXPECT_TRUE(WinIsOpen(nameless));   // nothing typed is lost
    ASSERT_FALSE(Shown().empty());
    EXPECT_NE(Shown().back().find("A printer needs a name."), std::string::npos);
    EXPECT_EQ(Stored().size(), 2u);
}

TEST_F(PrinterRows, ASavedDefinitionsTitleIsFoundByItsNumber)
{
    std::vector<uint8_t> rows(2 * ReportSelectionBlk::Rows::Size, 0);
    PString t;
    PStringFromC(t, "Monthly sales");
    ::PutText(rows.data(), ReportSelectionBlk::Rows::Title, t);
    PutU16(rows.data(), ReportSelectionBlk::Rows::ReportNr, 65);
    PStringFromC(t, "Stock");
    ::PutText(rows.data() + ReportSelectionBlk::Rows::Size, ReportSelectionBlk::Rows::Title, t);
    PutU16(rows.data() + ReportSelectionBlk::Rows::Size, ReportSelectionBlk::Rows::ReportNr, 12);
    ASSERT_EQ(SettingsBlockStore(ReportSelectionBlk::Number, rows.data(), uint32_t(rows.size())), RecDone);
    PString out;
    RepWindowText(12, out);
    EXPECT_EQ(PStringToStd(out), "Stock");
    RepWindowText(65, out);
    EXPECT_EQ(PStringToStd(out), "Monthly sales");
    RepWindowText(13, out);
    EXPECT_EQ(PStringToStd(out), "");
}

}  // namespace
