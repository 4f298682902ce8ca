// shell_windows.h - shell tests that need real windows: a small
// interface file of their own (window types of the kinds the tests tell
// apart, the bottom bar's icon part of type 1, the module table), a
// headless frame with its MDI client, and windows numbered in WinTable
// over MDI children that record what they are sent.
#pragma once

#include <cstring>
#include <vector>

#include "core/interface_write.h"
#include "platform/mdi.h"
#include "platform/queue.h"
#include "shell/draw_port.h"
#include "shell_fixture.h"

// Window types of the test interface and their kinds.
constexpr int TypeBar = 1, TypeBusy = 19, TypeList = 30, TypeRecord = 31, TypeNoEdit = 32, TypePane = 33;
// Bottom-bar icon entries 0..6 stand at these x; module texts.
constexpr int ButtonX[7] = {400, 40, 100, 160, 220, 280, 340};
constexpr int ModuleText = 900;

struct SentMessage {
    uint32_t win, msg;
    uintptr_t wParam;
};
inline std::vector<SentMessage> Sent;   // what the test windows were sent

// The procedure of the test frame and of its children.
inline intptr_t TestFrameProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    return MdiDefFrameProc(win, MdiClientWindow, msg, wParam, lParam);
}
inline intptr_t TestChildProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg == PlMsg::User || msg == PlMsg::VScroll) Sent.push_back({win, msg, wParam});
    return MdiDefChildProc(win, msg, wParam, lParam);
}

inline void Put16(std::vector<uint8_t> &v, uint16_t x)
{
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}

// An icon-button entry: size, icon, pressed icon, x, y, ..., label at +18.
inline std::vector<uint8_t> IconEntry(uint16_t icon, int x, const char *label)
{
    std::vector<uint8_t> e;
    for (uint16_t w : {uint16_t(0), icon, icon, uint16_t(x), uint16_t(99), uint16_t(0), uint16_t(0), uint16_t(0), uint16_t(0)})
        Put16(e, w);
    e.push_back(uint8_t(std::strlen(label)));
    e.insert(e.end(), label, label + std::strlen(label));
    e[0] = uint8_t(e.size());
    return e;
}

class ShellWindows : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        LoadTestInterface();
        Sent.clear();
        ASSERT_TRUE(WinRegisterClass({"testframe", TestFrameProc, 13, kPlWorkspace, 0, 0}));
        ASSERT_TRUE(WinRegisterClass({"testdoc", TestChildProc, 15, kPlWhite, 0, 4}));
        FrameWindow = WinCreate("testframe", "Orvel", PlStyle::Visible, {0, 0, 800, 600}, 0, 0, 0);
        MdiClientWindow = MdiCreateClient(FrameWindow, {0, 32, 800, 560}, 0, 3244, 1);
        ASSERT_NE(MdiClientWindow, 0u);
    }
    void TearDown() override
    {
        SetPortWindow(0);
        MsgClear();
        ShellFixture::TearDown();
    }
    // The built interface gives way to one with the types the tests use.
    void LoadTestInterface()
    {
        InterfaceDefs d;
        auto type = [&](int number, uint16_t kind) {
            WinTypeSource t{};
            t.number = uint16_t(number);
            t.words[0] = kind;
            d.winTypes.push_back(t);
        };
        type(TypeBar, 0);
        type(TypeBusy, 0);
        type(TypeList, 1);
        type(TypeRecord, 3);
        type(TypeNoEdit, 25);
        type(TypePane, 4);
        WinDefinitionSource bar{};
        bar.number = TypeBar;
        std::vector<std::vector<uint8_t>> icons;
        const char *labels[7] = {"Spare", "Firm", "Jobs", "Wins", "Quit", "", ""};
        for (int i = 0; i < 7; i++) icons.push_back(IconEntry(i == 0 ? 3 : 13 + i, ButtonX[i], labels[i]));
        bar.parts[WinPartIconButtons] = icons;
        d.winDefinitions = {bar};
        // Module table: (type, text, second text, module); the current module is 3.
        std::vector<uint8_t> modules;
        Put16(modules, 3);
        for (uint16_t x : {40, 0, ModuleText, 2, 41, 0, ModuleText, 0, 42, 0, ModuleText, 3, 43, 0, ModuleText, 3})
            Put16(modules, x);
        d.lists.tables[7] = modules;
        d.texts = {{1571, "&Operations"}, {ModuleText, "WWWWW"}};
        std::vector<uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(InterfaceWrite(d, &bytes, &error)) << error;
        ASSERT_TRUE(LoadDefinitionsFromBytes(bytes.data(), bytes.size(), &error)) << error;
    }
    // A window of the type in the next free slot over a new MDI child.
    int Open(int type, PlRect r = {10, 10, 310, 210})
    {
        int n = WinSlotAlloc();
        EXPECT_NE(n, WinTableFull);
        PlMdiCreate cs{"testdoc", "doc", r, PlStyle::OverlappedWindow, 0};
        WinTable[n]->windowType = uint16_t(type);
        WinTable[n]->mdiChild = MdiCreateChild(MdiClientWindow, cs);
        EXPECT_NE(WinTable[n]->mdiChild, 0u);
        return n;
    }
    uint32_t Pixel(int n, int x, int y) { return WinClientPixel(WinTable[n]->mdiChild, x, y); }
};
