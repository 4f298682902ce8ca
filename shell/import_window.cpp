// import_window.cpp - the window that shows an import's progress and the
// run behind it, locally or at the server.
//
// The window (the type named "ImpWClass") lives only while one import
// runs; ImportWindowNumber names it then. Its one status line is drawn at
// (20, 60): the file's short name when the window opens, then whatever
// the text reader reports as the import goes on.
#include "shell/company.h"

#include <algorithm>
#include <cassert>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/field_access.h"
#include "core/output_kind.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/settings_blocks.h"
#include "database/engine/engine.h"
#include "dict_offsets.h"
#include "output/output_job.h"
#include "recordwin/record_windows.h"
#include "shell/database_open.h"
#include "shell/draw_port.h"
#include "shell/menus.h"
#include "shell/shell.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

uint16_t ImportWindowNumber;
uint8_t ImportFileShortName[21];
int ImportRunResult;

namespace {

constexpr int StatusX = 20, StatusY = 60;
constexpr uint16_t OutputToTextFile = OutputCode(OutputKind::ToTextFile);   // the job record's output kind of an import
constexpr int LineAscent = 14, LineDescent = 4;   // the band a text line covers about its baseline
constexpr int GlyphOverhang = 4;                  // pixels a bold glyph may reach left of its origin
constexpr int BarLeft = 20, BarTop = 150, BarBottom = 166, BarInner = 198;

// Clears the import window and draws text as its status line; the port
// is restored afterwards.
void StatusDraw(int window, const uint8_t *text)
{
    assert(WinIsOpen(window));
    int saved = 0;
    GetPortWindow(&saved);
    SetPortWindow(window);
    MacRect all;
    WindowClientRect(window, &all);
    EraseRectWhite(&all);
    DrawPString(StatusX, StatusY, text);
    RestorePortWindow(saved);
}

// Opens the import window with its title, the file's short name as its
// first status line. Its number, 0 when the interface file has no such
// window or it did not open (the import then runs without one).
int ImportWindowOpen()
{
    int type = WinTypeByName("ImpWClass");
    int window = type > 0 ? OpenWindow(type, 0) : 0;
    if (!WinIsOpen(window)) return 0;
    PString title;
    GetUiText(title, Texts::ImportTitle);
    SetWindowTitle(window, title);
    ImportWindowNumber = uint16_t(window);
    StatusDraw(window, ImportFileShortName);
    return window;
}

// Closes the import window, when one is open, and forgets it.
void ImportWindowClose(int window)
{
    if (window && WinIsOpen(window)) WinClose(window);
    ImportWindowNumber = 0;
}

// Runs the import the reader has opened in the import window, which is
// the drawing port meanwhile, then redraws the main windows. Steps that
// stored nothing make the run's result RecStoreFailed.
void ImportRunLocal()
{
    ImportingFlag = 1;
    // A write the disk refused undoes its hold (the engine tells the
    // user); what the import read then is not stored, so it failed.
    const uint64_t refusals = D4DiskRefusals();
    int saved = 0, window = 0;
    GetPortWindow(&saved);
    if (DbOpenFlag) window = ImportWindowOpen();
    if (window) SetPortWindow(window);
    ImportRun();
    WindowType1Refresh();
    ImportWindowClose(window);
    RestorePortWindow(saved);
    ImportingFlag = 0;
    ImportRunResult = ImportFailedSteps > 0 || D4DiskRefusals() != refusals ? RecStoreFailed : 0;
}

// Reads the whole file at a PString path into *bytes; false when it cannot
// be read or is too large to send.
bool ImportFileBytes(const uint8_t *path, std::vector<uint8_t> *bytes)
{
    std::ifstream in(PStringToStd(path), std::ios::binary);
    if (!in) return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad() && bytes->size() <= UINT32_MAX;
}

// A client sends the whole file to the server, which imports it, and then
// reloads the settings the import may have changed. The bars are off
// while the file is sent and on again on every way out. The run's result
// is RecStoreFailed when the file could not be read or the server did not
// take it, RecConnectionLost when the connection went.
void ImportRunClient(const uint8_t *path)
{
    std::vector<uint8_t> file;
    uint8_t *job = CurrentJobRecord();
    if (!job || !ImportFileBytes(path, &file)) {
        ImportRunResult = RecStoreFailed;
        return;
    }
    ToolbarEnable(false);
    int saved = 0;
    GetPortWindow(&saved);
    int window = ImportWindowOpen();
    RemoteConnectionLost = false;
    bool sent = ImportRunRemote(job, ReportParamsSize, file.data(), uint32_t(file.size()));
    if (sent) SettingsBlocksReload();
    ImportWindowClose(window);
    RestorePortWindow(saved);
    ToolbarEnable(true);
    ImportRunResult = sent ? 0 : RemoteConnectionLost ? RecConnectionLost : RecStoreFailed;
}

}  // namespace

// Runs the import the reader has opened (the file at a PString path) in
// the import window: at the server in client mode, here otherwise. Its
// result is left in ImportRunResult.
void ImportRunWindow(const uint8_t *path)
{
    ImportRunResult = 0;
    if (RunModeIsClient()) ImportRunClient(path);
    else ImportRunLocal();
}

// Shows a status text (PString) in the import window: only while an
// import to the text-file output kind runs with its window open; any
// other time nothing is drawn, so no other window is drawn over.
void ImportStatusText(const uint8_t *text)
{
    if (!ImportWindowNumber || !WinIsOpen(ImportWindowNumber)) return;
    const uint8_t *job = CurrentJobRecord();
    if (!job || GetU16(job, ReportParamsVc::OutputKind) != OutputToTextFile) return;
    StatusDraw(ImportWindowNumber, text);
}

// Draws a text (PString) in bold at (x, y) of the open import window; the
// band of that line from just left of x (a bold glyph overhangs its start)
// to the window's right edge is erased first, so a shorter text leaves
// nothing of a longer one. Nothing without a window.
void ImportWindowText(int x, int y, const uint8_t *text)
{
    if (!ImportWindowNumber || !WinIsOpen(ImportWindowNumber)) return;
    PortScope port(ImportWindowNumber);
    MacRect all, line;
    WindowClientRect(ImportWindowNumber, &all);
    MakeRect(&line, std::max(int(all.left), x - GlyphOverhang), y - LineAscent, all.right, y + LineDescent);
    EraseRectWhite(&line);
    UseSemiboldFont(ImportWindowNumber);
    DrawPString(x, y, text);
}

// Draws the progress bar of the open import window: a frame from x 20 to
// 220 and y 150 to 166, filled from its left edge by width (0..198).
void ImportWindowBar(int width)
{
    if (!ImportWindowNumber || !WinIsOpen(ImportWindowNumber)) return;
    assert(width >= 0 && width <= BarInner);
    PortScope port(ImportWindowNumber);
    MacRect frame, filled, rest;
    MakeRect(&frame, BarLeft, BarTop, BarLeft + BarInner + 2, BarBottom);
    FrameRectBlack(&frame);
    MakeRect(&filled, BarLeft + 1, BarTop + 1, BarLeft + 1 + width, BarBottom - 1);
    MakeRect(&rest, BarLeft + 1 + width, BarTop + 1, BarLeft + 1 + BarInner, BarBottom - 1);
    if (width > 0) FillRectMode(&filled, FillBlack);
    if (width < BarInner) FillRectMode(&rest, FillWhite);
}
