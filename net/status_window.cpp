// status_window.cpp - the server's status window (window type 423,
// "ServStatClass"): the program, the company, the current module, the
// database's free sectors and open read snapshots. It is opened when the
// server's module 1 becomes current, and while it is the current module
// the server serves requests.
#include <cstring>

#include "core/field_types.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"
#include "database/engine/engine.h"
#include "database/engine/engine_path.h"
#include "dict_offsets.h"
#include "net/net.h"
#include "net/tls.h"
#include "shell/draw_port.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

constexpr int StatusWindowType = 423;
constexpr int TextNoServerKey = 16204;
constexpr int LabelLeft = 20, LabelGap = 8;
constexpr const char *LabelFree = "DB Free sectors:";
constexpr const char *LabelMasters = "DB Master count:";

// Where values start: after the widest label in the window's font, so a
// label never runs into its value whatever the font measures.
int ValueLeft() {
    int widest = 0;
    for (const char *label : {LabelFree, LabelMasters}) {
        uint8_t l[256];
        PStringFromC(l, label);
        int w = PStringWidth(l);
        if (w > widest) widest = w;
    }
    return LabelLeft + widest + LabelGap;
}

void Line(int y, const char *label, const uint8_t *value, const char *blanks, int valueLeft) {
    if (label) {
        uint8_t l[256];
        PStringFromC(l, label);
        DrawPString(LabelLeft, y, l);
    }
    uint8_t v[256];
    PStringCopy(v, value);
    PStringAppendC(v, blanks);
    DrawPString(label ? valueLeft : LabelLeft, y, v);
}

// The server's channel needs its key, made beside the company file at
// the first start: without it no client is served (and the user is told).
// Another company opened later brings its own key.
bool ServerKeyReady() {
    static std::string keyCompany;
    std::string company = D4OpenFileName();
    if (TlsServerReady() && company == keyCompany) return true;
    std::string why;
    keyCompany = company;
    if (TlsServerKeyLoad(company, &why)) return true;
    NetReport(why.c_str(), 0);
    uint8_t extra[256];
    PStringFromC(extra, (" " + why.substr(0, 200)).c_str());
    ShowMessage(TextNoServerKey, extra);
    return false;
}

}  // namespace

// The server module's name on the status window (win_server.dict).
constexpr int TextServerModule = 10762;

void ServerStatusModuleText(uint8_t *out) {
    // The module's own name from the module menu; module 1, the
    // server's, has no entry there and is named by its own text. (Read
    // as a window type the module number names no module, or another
    // window's type, so that road is the last.)
    uint8_t menu[256] = {0};
    ModuleMenuText(CurrentModule, menu);
    if (menu[0] == 0 && CurrentModule == 1) GetUiText(menu, TextServerModule);
    if (menu[0] == 0) WindowTypeMenuText(CurrentModule, menu);
    out[0] = 0;
    for (int i = 1; i <= menu[0]; i++)
        if (menu[i] != '&') PStringAppendChar(out, menu[i]);
}

void ServerStatusPaint(int window) {
    if (window <= 0) return;
    PortScope port(window);
    SetTextNormal();
    UseSemiboldFontOpaque(window);
    uint8_t text[256];
    GetUiText(text, Texts::ProgramTitle);
    int valueLeft = ValueLeft();
    Line(20, nullptr, text, "     ", valueLeft);
    uint8_t company[256] = {0};
    SettingsBlockReadLocal(SettingsBlockFirst, company, 64);
    company[0] = company[0] > 60 ? 60 : company[0];
    Line(40, nullptr, company, "     ", valueLeft);
    uint8_t module[256] = {0};
    ServerStatusModuleText(module);
    Line(60, nullptr, module, "     ", valueLeft);
    uint32_t free = D4IsOpen() ? D4FreeSectorCount() : 0;
    FieldToText(reinterpret_cast<const uint8_t *>(&free), FtLongOrEmpty, text);
    Line(80, LabelFree, text, "       ", valueLeft);
    int16_t masters = (int16_t)(D4IsOpen() ? D4MasterCount() : 0);
    FieldToText(reinterpret_cast<const uint8_t *>(&masters), FtShort, text);
    Line(100, LabelMasters, text, "       ", valueLeft);
}

// Module 1 is the server's own: entering it closes every window, opens
// the status window and starts serving; leaving it stops serving and
// closes the status window.
void ModuleOneSwitch(int module, int previous) {
    if (module == 1) {
        CloseAllWindows(1);
        OpenWindow(StatusWindowType, 0);
        ServerServing = RunMode == RunModeServer && ServerKeyReady();
        return;
    }
    if (previous == 1) {
        ServerServing = false;
        int n = WinFindByName("ServStatClass");
        if (n > 0) WinClose(n);
    }
}
