// Page stacking: the chosen page under page 0, the pages after it in
// turn (wrapping past the last) while they fit, none after one that
// passes the bottom or reaches to it; choosing and stepping pages.
#include <string>

#include "shell/window_layout.h"
#include "tests/shell/record_fixture.h"

namespace {
// A window of five pages: page 0 of 40 and pages 1-4 of 100 each, the
// last reaching to the bottom; its client area is about 300 high.
std::string StackedDict()
{
    std::string dict = TestRecordDict;
    dict += R"(
wintype 583 { kind plain rect 60 20 360 400 title 9603 }
window 583 {
  page    height 40
  page    height 100
  page    height 100
  page    height 100
  page    height 0 last 1
}
)";
    return dict;
}
}  // namespace

class WindowPages : public RecordFixture {
protected:
    std::string InterfaceSource() override { return StackedDict(); }
    // The pages of n shown, as digits in page order.
    static std::string Shown(int n)
    {
        std::string s;
        for (int p = 0; p < 5; p++)
            if (WinPageShown(n, p)) s += char('0' + p);
        return s;
    }
};

TEST_F(WindowPages, PagesFollowTheChosenOneWhileTheyFit)
{
    int n = Open(583);
    ASSERT_GT(n, 0);
    MacRect client;
    WindowClientRect(n, &client);
    ASSERT_GE(client.bottom - client.top, 240);
    ASSERT_LT(client.bottom - client.top, 340);

    WinShowPage(n, 1, false);
    EXPECT_EQ(Shown(n), "012") << "page 3 would pass the bottom, so neither it nor 4 shows";
    EXPECT_EQ(WinTable[n]->pages[1].offset, 40);
    EXPECT_EQ(WinTable[n]->pages[2].offset, 140);
    EXPECT_EQ(WinTable[n]->currentPage, 1);

    // Page 4 reaches to the bottom: nothing follows it.
    WinShowPage(n, 4, false);
    EXPECT_EQ(Shown(n), "04");
    EXPECT_EQ(WinTable[n]->pages[4].offset, 40);

    // After page 3 comes page 4, which ends the stack.
    WinShowPage(n, 3, false);
    EXPECT_EQ(Shown(n), "034");
    EXPECT_EQ(WinTable[n]->pages[4].offset, 140);

    // Stepping chooses the page after the index; past the last, nothing.
    WinPageStep(n, 1);
    EXPECT_EQ(WinTable[n]->currentPage, 2);
    EXPECT_EQ(Shown(n), "0234");
    WinPageStep(n, 4);
    EXPECT_EQ(WinTable[n]->currentPage, 2);
    WinChoosePage(n, 0);
    EXPECT_EQ(WinTable[n]->currentPage, 1) << "page 0 stands for 1";
}
