// preview_window.cpp - the preview window (type 5) as an output device:
// its opening, its device routines, search, scrolling, clicks and its end.
//
// A job on output kind 6 opens a preview whose record starts with the
// job record (PreviewWin, dict/) and stores every text and rule as an
// item (preview_store.cpp); nothing is drawn while the job runs but the
// page header, which shows at once in its band. The job's end lays the
// store out (preview_layout.cpp) and the window paints from it until the
// user closes it, which frees the store and its index.
#include <algorithm>
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/output_kind.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/window_kind.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/layer_operations.h"
#include "output/output_job.h"
#include "platform/control.h"
#include "platform/window.h"
#include "recordwin/report_defaults.h"
#include "shell/draw_port.h"
#include "shell/field_editing.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

constexpr int PrintEntry = 1;        // the window's operations entry "Print"
constexpr int HeaderPosShift = 500;  // header items are stored this far above the line
constexpr int DrillDownLink = 16;    // a text whose double click runs a report for it
constexpr uint16_t PreviewOutputKind = OutputCode(OutputKind::ToPreview);
constexpr int DrillTextMax = 21;     // the slot the drill-down's text goes into
constexpr int32_t BarPositionMax = 32767;  // the highest position a bar's report carries

// The job's preview window, 0 when it has none (or it was closed).
int JobWindow()
{
    int n = RepOutputState.previewWindow;
    return PreviewIsOpen(n) ? n : 0;
}

// Copies the job's position table into window n's record.
void KeepPositions(int n)
{
    uint8_t *rec = WinRecordBuffer(n);
    for (size_t i = 0; i < RepOutputState.positions.size(); i++)
        PutU16(rec, PreviewWin::Positions + 2 * i, RepOutputState.positions[i]);
}

// The device's job start: a preview window for the job.
bool OpenJob(const uint8_t *title) { return PreviewOpen(title) != 0; }

// A text of the report: stored at the line, or while the header is
// defined as a header item, which shows at once in the band.
void Text(int x, int font, int link, int align, int style, const uint8_t *text)
{
    int n = JobWindow();
    if (!n) {
        RepStopped = 1;
        return;
    }
    if (!text[0]) return;
    if (!RepOutputState.headerMode) {
        (void)PreviewAddItem(n, RepOutputState.linePos, x, font, ItemText, link, align, style, text);
        return;
    }
    if (!PreviewAddItem(n, RepOutputState.linePos - HeaderPosShift, x, font, ItemText, link, align, style, text))
        return;
    KeepPositions(n);   // the job's column layout, taken after the window opened
    PreviewDrawAbove(n);
}

// The advance: the line position moves, the line's columns start again.
void Advance(int32_t by)
{
    RepOutputState.linePos += by;
    RepOutputState.lineColumn = 0;
    RepOutputState.charColumnEnd = 0;
}

// A rule from position 0 to end at the line, then an advance of 8.
void RuleFull(int end, int thickness)
{
    int n = JobWindow();
    if (!n) {
        RepStopped = 1;
        return;
    }
    if (PreviewAddItem(n, RepOutputState.linePos, 0, end, ItemRule, thickness, 0, 0, nullptr)) RepAdvance(8);
}

// A rule from x1 to x2 just above the line, then a line feed.
void Rule(int x1, int x2, int thickness)
{
    int n = JobWindow();
    if (!n) {
        RepStopped = 1;
        return;
    }
    if (PreviewAddItem(n, RepOutputState.linePos - 3, x1, x2, ItemRule, thickness, 0, 0, nullptr)) RepLineFeed();
}

// The header's definition starts: texts become header items.
void HeaderClear() { RepOutputState.headerMode = 1; }

// Header line n: the line position moves down to it (15 a line), then
// the left text at position 0 or the right text ending at position 1.
void HeaderLine(int n, bool right, const uint8_t *text)
{
    OutputJobStateRec &s = RepOutputState;
    while (s.headerLine == 65535 || n > s.headerLine) {
        s.linePos += 15;
        s.lineColumn = 0;
        s.charColumnEnd = 0;
        s.headerLine = uint16_t(s.headerLine + 1);   // 65535 + 1 is line 0
    }
    if (RepStopped) return;
    Text(right ? 1 : 0, -1, 0, right ? 1 : 0, 0, text);
}

// The header's definition ends: the band takes its height, the body
// starts at line 0, the marks show.
void HeaderDone()
{
    OutputJobStateRec &s = RepOutputState;
    s.headerMode = 0;
    int n = JobWindow();
    if (n) {
        PutI16(WinRecordBuffer(n), PreviewWin::HeaderHeight, int16_t(s.linePos + 7));
        KeepPositions(n);
        WinContentRect(n);
        PreviewDrawMarks(n);
    }
    s.linePos = 0;
}

// The job's end: the store laid out, the window shown with its print
// entry back; the busy message goes.
void EndJob()
{
    int n = JobWindow();
    CloseBusyMessage();
    RepOutputState.previewWindow = 0;
    if (!n) return;
    KeepPositions(n);
    PreviewLayout(n);
    // The bar takes the laid-out height, so that it reaches the last line.
    PreviewScroll(n, 0, 0);
    ActivateWindowNumber(n);
    WinMarkChanged(n);
    EnableWindowMenuItem(n, PrintEntry, true);
    RedrawMenuBar();
}

// The scroll limit of window n: its laid-out height plus 50 less the pane.
int32_t ScrollLimit(int n)
{
    int32_t total = GetI32(WinRecordBuffer(n), PreviewWin::TotalHeight) + 50;
    int32_t limit = total - WinTable[n]->paneHeight;
    return limit > 0 ? limit : 0;
}

// Pixels per step of the scroll bar for a scroll limit: 1, unless the
// limit is past the 16-bit position a bar reports when its thumb is let
// go; then as many as keep the bar's range within it.
int32_t BarUnit(int32_t limit) { return 1 + limit / BarPositionMax; }

// The drill-down of preview n on a text: a copy of the preview's job
// record becomes the job with the defaults of the drill-down's report
// window, keeping the job's second-kind word and period and taking the
// text, and the drill-down report runs into a new preview. The run tells
// the user when it cannot run.
void PreviewDrillDown(int n, const uint8_t *text)
{
    const uint8_t *rec = WinRecordBuffer(n);
    if (!rec) return;
    OwnedJob own;
    uint8_t *job = own.job.selection;
    std::memcpy(job, rec, ReportParamsSize);
    PutU16(job, ReportParamsVc::ReportNumber, DrillDownReport);
    ReportSelectionDefaults(job, DrillDownDefaultsType);
    PutU16(job, ReportParamsVc::OutputKind, PreviewOutputKind);
    PutU16(job, ReportParamsVc::SecondKind, GetU16(rec, ReportParamsVc::SecondKind));
    PutText(job, ReportParamsVc::SelText7, text);
    PutDate(job, ReportParamsVc::DateFrom, GetDate(rec, ReportParamsVc::DateFrom));
    PutDate(job, ReportParamsVc::DateTo, GetDate(rec, ReportParamsVc::DateTo));
    RunReportCommand(own.job);
}

}  // namespace

const RepDevice PreviewDevice = {.openJob = OpenJob,
                                 .endJob = EndJob,
                                 .advance = Advance,
                                 .text = Text,
                                 .ruleFull = RuleFull,
                                 .rule = Rule,
                                 .headerClear = HeaderClear,
                                 .headerLine = HeaderLine,
                                 .headerDone = HeaderDone};

// Opens a preview for the job titled `title`: the job record copied in,
// an empty store and index, the print entry off until the job ends, the
// busy message. Its number, 0 when the window did not open.
int PreviewOpen(const uint8_t *title)
{
    int n = OpenWindow(5, 0);
    if (!PreviewIsOpen(n)) return 0;
    uint8_t *rec = WinRecordBuffer(n);
    const uint8_t *job = CurrentJobRecord();
    if (job) std::memcpy(rec, job, ReportParamsSize);
    PutU32(rec, PreviewWin::Store, 0);
    PutI32(rec, PreviewWin::StoreUsed, 0);
    PutU32(rec, PreviewWin::Index, 0);
    PutI32(rec, PreviewWin::IndexUsed, 0);
    PutI32(rec, PreviewWin::TotalHeight, 0);
    PutI32(rec, PreviewWin::FoundItem, -1);
    PutI16(rec, PreviewWin::HeaderHeight, 0);
    PutI16(rec, PreviewWin::ReportNumber, job ? GetI16(job, ReportParamsVc::ReportNumber) : 0);
    PutI16(rec, PreviewWin::FormPages, 0);
    KeepPositions(n);
    if (title) SetWindowTitle(n, title);
    EnableWindowMenuItem(n, PrintEntry, false);
    RedrawMenuBar();
    WinContentRect(n);
    PString busy;
    GetUiText(busy, Texts::PrintStarting);
    ShowBusyMessage(busy);
    RepOutputState.charUnit = 6;
    RepOutputState.previewWindow = uint16_t(n);
    return n;
}

// The search of the Find field: the next text item after the found one
// (or from the top) that holds the search text becomes the found item
// and is scrolled to; with none the found item is cleared and it beeps.
void PreviewFind(int n)
{
    if (!PreviewIsOpen(n)) return;
    uint8_t *rec = WinRecordBuffer(n);
    PString pattern;
    uint8_t len = rec[PreviewWin::SearchText];
    pattern[0] = len > 40 ? 40 : len;
    std::memcpy(pattern + 1, rec + PreviewWin::SearchText + 1, pattern[0]);
    MemBlock store = GetU32(rec, PreviewWin::Store);
    uint32_t used = uint32_t(GetI32(rec, PreviewWin::StoreUsed));
    int32_t found = GetI32(rec, PreviewWin::FoundItem);
    const uint8_t *base = used ? MemLock(store) : nullptr;
    int32_t hit = -1, hitPos = 0;
    if (base) {
        uint32_t off = PreviewIndexSeek(n, -20);
        if (found >= 0 && uint32_t(found) < used) off = uint32_t(found) + GetU16(base + found, PreviewItemAt::Size);
        while (off < used && hit < 0) {
            const uint8_t *p = base + off;
            if (GetU16(p, PreviewItemAt::Kind) == ItemText && GetI32(p, PreviewItemAt::Pos) >= 0 &&
                PStringFind(p + PreviewItemAt::Text, pattern) > 0) {
                hit = int32_t(off);
                hitPos = GetI32(p, PreviewItemAt::LayoutPos);
            }
            off += GetU16(p, PreviewItemAt::Size);
        }
        MemUnlock(store);
    }
    PutI32(rec, PreviewWin::FoundItem, hit);
    if (hit >= 0)
        PreviewScroll(n, 0, hitPos);
    else
        Beep();
    WinMarkChanged(n);
}

// Follows a new window size: the content rectangle again and, unless its
// job still runs, the layout (the scroll stays inside the new range).
void PreviewResized(int n)
{
    if (!PreviewIsOpen(n)) return;
    WinContentRect(n);
    if (RepOutputState.previewWindow == n) return;
    PreviewLayout(n);
    PreviewScroll(n, 0, WinTable[n]->paneScroll);
}

// Frees window n's store and index before its record goes; a job still
// writing into it stops.
void PreviewFree(int n)
{
    if (!PreviewIsOpen(n)) return;
    uint8_t *rec = WinRecordBuffer(n);
    MemBlock h = GetU32(rec, PreviewWin::Store);
    MemFree(&h);
    h = GetU32(rec, PreviewWin::Index);
    MemFree(&h);
    PutU32(rec, PreviewWin::Store, 0);
    PutI32(rec, PreviewWin::StoreUsed, 0);
    PutU32(rec, PreviewWin::Index, 0);
    PutI32(rec, PreviewWin::IndexUsed, 0);
    if (RepOutputState.previewWindow == n) {
        RepOutputState.previewWindow = 0;
        RepStopped = 1;
    }
}

// Scrolls the preview to `top` (kept within 0 and the laid-out height
// plus 50 less the pane), sets its scroll bar to match and marks it for
// repainting. The slot keeps pixels; the bar counts BarUnit steps.
void PreviewScroll(int n, int slot, int32_t top)
{
    if (!PreviewIsOpen(n)) return;
    assert(slot >= 0 && slot < ControlSlotCount);
    int32_t limit = ScrollLimit(n);
    if (top > limit) top = limit;
    if (top < 0) top = 0;
    WindowRec *w = WinTable[n];
    w->paneScroll = top;
    ControlSlot &c = w->controls[size_t(slot)];
    c.minimum = 0;
    c.maximum = limit;
    c.pageSize = w->paneHeight;
    c.position = top;
    PreviewBarUpdate(n);
    WinMarkChanged(n);
}

// Sets the scroll bar of preview n (control 0) to its pane's scroll
// range and top, in BarUnit steps; the pane is left as it is.
void PreviewBarUpdate(int n)
{
    if (!PreviewIsOpen(n)) return;
    const ControlSlot &c = WinTable[n]->controls[0];
    if (!c.control) return;
    const int32_t limit = c.maximum > 0 ? c.maximum : 0, unit = BarUnit(limit), steps = (limit + unit - 1) / unit;
    ScrollBarSetRange(c.control, 0, int(steps), true);
    ScrollBarSetPos(c.control, int(c.position >= limit ? steps : c.position / unit), true);
}

// The content top in pixels that position `position` of the preview's
// scroll bar stands for.
int32_t PreviewBarTop(int n, int position)
{
    if (!PreviewIsOpen(n)) return 0;
    const int32_t limit = ScrollLimit(n);
    return std::min(limit, int32_t(position) * BarUnit(limit));
}

// The content rectangle of window n: the client area below the search
// strip and the header band, less 15 at the bottom and 21 at the right
// for the scroll bars. A form designer's is its own (DesignerContentRect).
void WinContentRect(int n)
{
    if (WinIsOpen(n) && WinKindOf(n) == KindCode(WindowKind::Designer)) {
        DesignerContentRect(n);
        return;
    }
    if (!PreviewIsOpen(n)) return;
    MacRect client;
    WindowClientRect(n, &client);
    WindowRec *w = WinTable[n];
    MacRect &c = w->contentRect;
    c.top = int16_t(client.top + PreviewSearchStrip + GetI16(WinRecordBuffer(n), PreviewWin::HeaderHeight));
    c.left = client.left;
    c.bottom = int16_t(client.bottom - 15);
    c.right = int16_t(client.right - 21);
    if (c.bottom < c.top) c.bottom = c.top;
    if (c.right < c.left) c.right = c.left;
    w->paneHeight = c.bottom - c.top;
    w->reportPaneWidth = int16_t(client.right - client.left - 15);
    w->reportPaneHeight = int16_t(client.bottom - client.top - 21);
    // The scroll bar follows the content: the header band, which arrives
    // with the job, moves its top down.
    if (uint32_t bar = w->controls[0].control) {
        MacRect r;
        PlRect want;
        WinFieldRect(n, 0, &r);
        RectToWin(&r, &want);
        const PlRect is = WinRect(bar);
        if (is.left != want.left || is.top != want.top || is.right != want.right || is.bottom != want.bottom)
            WinMove(bar, want);
    }
}

// The click handler of preview windows: a click on a text of the content
// makes it the found item; a double click on a text with the drill-down
// link runs the drill-down report for that text. False for
// other windows and for clicks outside the content (the Find field's).
bool RepListWindowDraw(int n, int32_t point, bool, bool dbl)
{
    if (!PreviewIsOpen(n)) return false;
    WinContentRect(n);
    WindowRec *w = WinTable[n];
    w->controls[0].maximum = ScrollLimit(n);
    w->controls[0].pageSize = w->paneHeight;
    int px = int16_t(uint32_t(point) & 0xFFFF), py = int16_t(uint32_t(point) >> 16);
    const MacRect &c = w->contentRect;
    if (px < c.left || px >= c.right || py < c.top || py >= c.bottom) return false;
    int32_t y = py - c.top - PreviewTopOffset + w->paneScroll;   // the click in laid-out positions
    int32_t x = px - c.left;
    uint8_t *rec = WinRecordBuffer(n);
    MemBlock store = GetU32(rec, PreviewWin::Store);
    uint32_t used = uint32_t(GetI32(rec, PreviewWin::StoreUsed));
    const uint8_t *base = used ? MemLock(store) : nullptr;
    if (!base) return true;
    int32_t hit = -1;
    uint16_t link = 0;
    PString text{};
    for (uint32_t off = PreviewIndexSeek(n, y - 20); off < used && hit < 0;) {
        const uint8_t *p = base + off;
        int32_t lp = GetI32(p, PreviewItemAt::LayoutPos);
        bool body = GetU16(p, PreviewItemAt::Kind) <= ItemRule && GetI32(p, PreviewItemAt::Pos) >= 0;
        if (body && lp > y + 20) break;
        if (body && GetU16(p, PreviewItemAt::Kind) == ItemText && y >= lp - 12 && y <= lp + 3) {
            int32_t left, right;
            PreviewItemEdges(n, p, &left, &right);
            if (x >= left && x <= right) {
                hit = int32_t(off);
                link = GetU16(p, PreviewItemAt::Link);
                PStringCopy(text, p + PreviewItemAt::Text);
            }
        }
        off += GetU16(p, PreviewItemAt::Size);
    }
    MemUnlock(store);
    if (hit < 0) return true;
    PutI32(rec, PreviewWin::FoundItem, hit);
    WinMarkChanged(n);
    if (dbl && link == DrillDownLink && text[0] != 0) PreviewDrillDown(n, text);
    return true;
}
