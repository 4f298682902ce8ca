// printer_rows_test.cpp - the printer-definition row window's OK, which
// stores the row by its name and refuses a nameless one, and the title of
// a saved report definition found by its report number.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "output/layer_operations.h"
#include "outputwin/printer_windows.h"
#include "shell/record_commands.h"
#include "tests/shell/record_fixture.h"

namespace {

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
