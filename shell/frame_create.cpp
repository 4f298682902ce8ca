// frame_create.cpp - the window classes, the frame with its menu, fonts,
// bars and MDI client, and the frame's clean-up.
#include "shell/startup.h"

#include <array>
#include <cstdio>

#include "core/pstring.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "core/company_variant.h"
#include "database/access/record_access.h"
#include "database/access/settings_binding.h"
#include "dict_offsets.h"
#include "platform/font.h"
#include "platform/mdi.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/company.h"
#include "shell/draw_port.h"
#include "shell/menus.h"
#include "shell/net_services.h"
#include "shell/procedures.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "shell/window_table.h"

uint8_t FrameCleanupDone;

constexpr int TextFaceNormal = 2006, TextFaceBold = 2007;
constexpr uint32_t AppWorkspaceColour = 0x808080;
constexpr uint32_t LightGrey = 0xC0C0C0, White = 0xFFFFFF;

// Fonts made here from the interface file's face names (null: the
// platform's UI font is used and nothing is to be freed).
static PlFont *OwnedNormalFont, *OwnedBoldFont;

// Registers the shell's ten window classes in their fixed order and
// stops at the first refusal; true when all are registered. The record
// windows' background is light grey once InitInstance asked for it.
bool RegisterWindowClasses()
{
    uint32_t grey = LightGreyLook ? LightGrey : White;
    const std::array<PlWindowClass, 10> classes = {{
        {"m4frame", MPFrameWndProc, 13, AppWorkspaceColour, PlClassStyle::DblClks, 0},
        {"m4toolbar", MPToolWndProc, 0, White, PlClassStyle::DblClks, 0},
        {"m4child", MPMDIChildWndProc, 20, grey, PlClassStyle::DblClks, 4},
        {"m4maint", MPMDIChildWndProc, 17, grey, PlClassStyle::DblClks, 4},
        {"m4doc", MPMDIChildWndProc, 15, grey, PlClassStyle::DblClks, 4},
        {"m4report", MPMDIChildWndProc, 14, grey, PlClassStyle::DblClks, 4},
        {"m4mlist", MPMDIChildWndProc, 16, grey, PlClassStyle::DblClks, 4},
        {"m4settings", MPMDIChildWndProc, 18, grey, PlClassStyle::DblClks, 4},
        {"m4repw", MPMDIChildWndProc, 19, White, PlClassStyle::DblClks, 4},
        {"m4default", MPMDIChildWndProc, 20, grey, PlClassStyle::DblClks, 4},
    }};
    for (const PlWindowClass &c : classes)
        if (!WinRegisterClass(c)) return false;
    return true;
}

// The UI font of the face named by text n, 12 pixels high; the platform's
// UI font when the text is empty or the face cannot be made.
static PlFont *UiFontFromText(int n, int weight, PlFont **owned)
{
    PString face;
    GetUiText(face, n);
    *owned = face[0] ? FontCreate(PStringView(face), 12, weight, false) : nullptr;
    if (*owned) return *owned;
    return weight >= 600 ? FontUiSemibold() : FontUiRegular();
}

// Creates the frame, its menu, bars and MDI client, shown as asked, and
// starts listening when this is a server; false with *why on failure
// (the database layer, the settings or the frame could not be made).
bool CreateFrameWindow(PlShow show, std::string *why)
{
    CurrentWindow = 0;
    FrameCleanupDone = 0;
    StartupFlags();
    WinTableInit();
    DbOpenFlag = 0;
    QuitFlag = 0;
    DialogDoneFlag = 0;
    MenuBarBuild();
    if (!DbLayerInit()) {
        *why = StartupText(Texts::StartNoDatabase, "The database layer could not be started.");
        return false;
    }
    if (!SettingsStartup()) {
        *why = StartupText(Texts::StartNoDatabase, "The database layer could not be started.");
        return false;
    }
    CompanyVariantBind(CompanyBlock);
    DottedPen = PlPen{PlPenStyle::Dot, 1, kPlBlack};
    GreyPatternBrush = kPlBrushGreyPattern;
    UiFontNormal = UiFontFromText(TextFaceNormal, 400, &OwnedNormalFont);
    UiFontBold = UiFontFromText(TextFaceBold, 600, &OwnedBoldFont);

    std::string title = StartupText(Texts::ProgramTitle, "Orvel");
    uint32_t style = PlStyle::OverlappedWindow | PlStyle::ClipChildren;
    FrameWindow = WinCreate("m4frame", title, style, WinDesktopRect(), 0, 0, 0);
    if (FrameWindow && MenuHandles.bar) WinSetMenu(FrameWindow, MenuHandles.bar);
    if (!FrameWindow || !MdiClientWindow || !WinIsWindow(MdiClientWindow)) {
        *why = StartupText(Texts::StartNoFrame, "The main window could not be made.");
        return false;
    }
    WinShow(FrameWindow, show);
    WinUpdate(FrameWindow);

    if (NetServices.tcpSettingsLoad) NetServices.tcpSettingsLoad();
    // A server that cannot listen serves no one: start-up ends.
    if (RunMode != RunModeClient && SocketsActive && NetServices.serverListen &&
        !NetServices.serverListen(TcpListenPort, FrameWindow)) {
        *why = "Unable to listen on server port " + std::to_string(TcpListenPort);
        return false;
    }
    return true;
}

// The frame's clean-up, run once whichever way the frame goes: the
// company is closed first (its last changes written), then the fonts,
// the client's connection, and the loop is asked to end.
void FrameCleanup()
{
    if (FrameCleanupDone) return;
    FrameCleanupDone = 1;
    CompanyClose();
    UiFontNormal = UiFontBold = nullptr;
    if (OwnedNormalFont) FontDestroy(OwnedNormalFont);
    if (OwnedBoldFont) FontDestroy(OwnedBoldFont);
    OwnedNormalFont = OwnedBoldFont = nullptr;
    if (SocketsActive && NetServices.clientClose) NetServices.clientClose();
    MsgPostQuit(0);
}
