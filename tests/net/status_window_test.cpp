// The server's status window as a user sees it: each label ends before
// its value begins, read from the painted pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/pstring.h"
#include "net/net.h"
#include "platform/window.h"
#include "shell/window_table.h"
#include "tests/shell/record_fixture.h"

namespace {

class NetStatusWindow : public RecordFixture {};

// The columns of the window's client area holding ink in rows top..bottom.
std::vector<bool> InkColumns(uint32_t win, int top, int bottom, int width) {
    uint32_t paper = WinClientPixel(win, width - 2, top);
    std::vector<bool> ink((size_t)width, false);
    for (int x = 0; x < width; x++)
        for (int y = top; y <= bottom; y++)
            if (WinClientPixel(win, x, y) != paper) ink[(size_t)x] = true;
    return ink;
}

// The widest run of blank columns between the first and the last ink.
int WidestInnerGap(const std::vector<bool> &ink) {
    int first = -1, last = -1;
    for (int x = 0; x < (int)ink.size(); x++)
        if (ink[(size_t)x]) {
            if (first < 0) first = x;
            last = x;
        }
    int widest = 0, run = 0;
    for (int x = first; x >= 0 && x <= last; x++) {
        run = ink[(size_t)x] ? 0 : run + 1;
        if (run > widest) widest = run;
    }
    return widest;
}

}  // namespace

TEST_F(NetStatusWindow, LabelsEndBeforeTheirValuesBegin) {
    int n = Open(423);
    ASSERT_GT(n, 0);
    uint32_t win = WinTable[n]->mdiChild;
    ServerStatusPaint(n);
    WinSavePng(win, ::testing::TempDir() + "orvel_status_window.png");
    // The two labelled lines stand at 80 and 100; text reaches a little
    // above its line and not quite to the next.
    for (int line : {80, 100}) {
        std::vector<bool> ink = InkColumns(win, line - 11, line + 3, 360);
        // Word gaps within a label are a few pixels; the label and its
        // value stand further apart.
        EXPECT_GE(WidestInnerGap(ink), 6) << "the label of line " << line << " runs into its value";
    }
}

// The module line names the current module: the server's own module 1
// (which has no entry in the module menu) and any other by its name.
TEST_F(NetStatusWindow, TheModuleLineNamesTheCurrentModule) {
    const int saved = CurrentModule;
    uint8_t text[256];
    CurrentModule = 1;
    ServerStatusModuleText(text);
    EXPECT_EQ(PStringToStd(text).rfind("Server", 0), 0u) << PStringToStd(text);
    CurrentModule = 3;
    ServerStatusModuleText(text);
    EXPECT_EQ(PStringToStd(text), "Sales");
    CurrentModule = uint16_t(saved);
}
