// A small demonstration of the platform layer: a frame with a menu bar and
// an MDI client holding a document window with an edit control, a list box
// and a push button. Headless (the default) it saves a PNG screenshot of the
// frame; with --screen it shows the frame on the display and runs until the
// window is closed or File > Exit is chosen.
//
//   platform_demo [--screen] [--out file.png]
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace {
constexpr int kCmdNew = 101, kCmdExit = 112, kCmdAbout = 100;
constexpr int kCmdCascade = 801, kCmdTileH = 802, kCmdTileV = 803;
constexpr int kIdButton = 10;

uint32_t gClient = 0;
int gDocs = 0;

intptr_t FrameProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    switch (msg) {
    case PlMsg::Create:
        gClient = MdiCreateClient(win, WinClientRect(win), PlStyle::ClipChildren | PlStyle::HScroll | PlStyle::VScroll,
                                  3244, 1);
        return 0;
    case PlMsg::Command:
        switch (PlLoWord(intptr_t(wParam))) {
        case kCmdNew: {
            ++gDocs;
            std::string title = "Document " + std::to_string(gDocs);
            PlMdiCreate cs{"m4doc", title, {20 * gDocs, 20 * gDocs, 20 * gDocs + 380, 20 * gDocs + 260},
                           PlStyle::OverlappedWindow | PlStyle::ClipChildren, 0};
            MdiCreateChild(gClient, cs);
            return 0;
        }
        case kCmdExit:
            WinDestroy(win);
            return 0;
        case kCmdCascade:
            MdiCascade(gClient, 0);
            return 0;
        case kCmdTileH:
            MdiTile(gClient, kPlTileHorizontal);
            return 0;
        case kCmdTileV:
            MdiTile(gClient, kPlTileVertical);
            return 0;
        case kCmdAbout:
            DlgMessageBox(win, "Platform layer demonstration.", "About", PlMbButtons::Ok, PlMbIcon::Information);
            return 0;
        default:
            return 0;
        }
    case PlMsg::Destroy:
        MsgPostQuit(0);
        return 0;
    default:
        return MdiDefFrameProc(win, gClient, msg, wParam, lParam);
    }
}

intptr_t DocProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    switch (msg) {
    case PlMsg::Create: {
        uint32_t edit = WinCreate("Edit", "", PlStyle::Child | PlStyle::Visible | PlStyle::Border | PlEditStyle::AutoHScroll,
                                  {90, 12, 330, 32}, win, 1, 0);
        EditSetText(edit, "Orvel platform layer");
        uint32_t list = WinCreate("ListBox", "",
                                  PlStyle::Child | PlStyle::Visible | PlStyle::Border | PlStyle::VScroll | PlListStyle::Notify,
                                  {90, 44, 330, 170}, win, 2, 0);
        WinSend(list, PlMsg::SetFont, reinterpret_cast<uintptr_t>(FontUiSemibold()), 0);
        const char *rows[] = {"Customers", "Suppliers", "Articles", "Invoices", "Orders", "Vouchers",
                              "Accounts", "Projects", "Fixed assets", "Reports"};
        for (const char *r : rows) ListBoxAdd(list, r);
        ListBoxSetCurSel(list, 0);
        WinCreate("Button", "&OK", PlStyle::Child | PlStyle::Visible | PlButtonStyle::Default, {255, 180, 330, 203}, win,
                  kIdButton, 0);
        return 0;
    }
    case PlMsg::Paint: {
        PlPaint ps;
        if (WinBeginPaint(win, &ps)) {
            DcSelectFont(ps.dc, FontUiRegular());
            DcSetBkMode(ps.dc, PlBkMode::Transparent);
            DcTextOut(ps.dc, 12, 15, "Name:");
            DcTextOut(ps.dc, 12, 47, "Register:");
            DcDrawIcon(ps.dc, kIconDocument, 20, 110);
            WinEndPaint(win, &ps);
        }
        return 0;
    }
    case PlMsg::Command:
        if (PlLoWord(intptr_t(wParam)) == kIdButton) WinSend(win, PlMsg::Close, 0, 0);
        return 0;
    default:
        return MdiDefChildProc(win, msg, wParam, lParam);
    }
}

uint32_t BuildMenu()
{
    uint32_t bar = MenuCreateBar();
    uint32_t file = MenuCreatePopup();
    MenuAppend(file, 0, kCmdNew, "&New window\tCtrl+N");
    MenuAppend(file, PlMenuFlag::Separator, 0, "");
    MenuAppend(file, PlMenuFlag::Grayed, 107, "&Print\tCtrl+P");
    MenuAppend(file, 0, kCmdExit, "E&xit");
    uint32_t window = MenuCreatePopup();
    MenuAppend(window, 0, kCmdCascade, "&Cascade");
    MenuAppend(window, 0, kCmdTileH, "Tile &horizontally");
    MenuAppend(window, 0, kCmdTileV, "Tile &vertically");
    uint32_t help = MenuCreatePopup();
    MenuAppend(help, 0, kCmdAbout, "&About...");
    MenuAppend(bar, PlMenuFlag::Popup, file, "&File");
    MenuAppend(bar, PlMenuFlag::Popup, window, "&Window");
    MenuAppend(bar, PlMenuFlag::Popup, help, "&Help");
    return bar;
}
}  // namespace

int main(int argc, char **argv)
{
    bool screen = false;
    std::string out = "platform_demo.png";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screen") == 0) screen = true;
        else if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) out = argv[++i];
        else {
            std::fprintf(stderr, "usage: %s [--screen] [--out file.png]\n", argv[0]);
            return 2;
        }
    }
    if (screen) {
        std::string error;
        if (!DisplayOpen(PlDisplayKind::Screen, &error)) {
            std::fprintf(stderr, "platform_demo: %s\n", error.c_str());
            return 1;
        }
    }
    if (!WinRegisterClass({"m4frame", FrameProc, kIconFrame, kPlWorkspace, PlClassStyle::DblClks, 0}) ||
        !WinRegisterClass({"m4doc", DocProc, kIconDocument, kPlLightGrey, PlClassStyle::DblClks, 4})) {
        std::fprintf(stderr, "platform_demo: window classes cannot be registered\n");
        return 1;
    }
    uint32_t frame = WinCreate("m4frame", "Orvel platform demo", 0, {0, 0, 800, 560}, 0, 0, 0);
    if (!frame) return 1;
    WinSetMenu(frame, BuildMenu());
    WinShow(frame, PlShow::Show);
    FrameProc(frame, PlMsg::Command, kCmdNew, 0);
    FrameProc(frame, PlMsg::Command, kCmdNew, 0);

    if (!screen) {
        MsgPumpPending();
        if (!WinSavePng(frame, out)) {
            std::fprintf(stderr, "platform_demo: cannot write %s\n", out.c_str());
            return 1;
        }
        std::printf("%s\n", out.c_str());
        WinDestroy(frame);
        return 0;
    }
    PlMessage m;
    for (;;) {
        PlGet g = MsgGet(&m);
        if (g != PlGet::Message) break;
        if (MdiTranslateAccel(gClient, m)) continue;
        MsgTranslate(m);
        MsgDispatch(m);
    }
    DisplayClose();
    return 0;
}
