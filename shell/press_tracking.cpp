// press_tracking.cpp - a press on a drawn control, icon button, list
// header or record arrow: started by the button going down, followed
// while the pointer moves (the item is drawn pressed only while the
// pointer is inside it), and run when the button goes up inside.
//
// There is one press at a time (PressState). The window that started it
// holds the mouse until the release, so a release outside the window
// still ends it; a new press first ends one left unfinished. The form
// designer's presses (drag, rubber band, resize) are started, followed
// and ended by the designer (output/forms/designer_press.cpp).
#include <cassert>

#include "core/field_access.h"
#include "core/window_kind.h"
#include "outputwin/designer.h"
#include "platform/icon.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/edit_control.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/menu_lists.h"
#include "shell/record_commands.h"
#include "shell/window_drawing.h"
#include "shell/window_layout.h"
#include "shell/window_mouse.h"
#include "shell/window_table.h"

PressStateRec PressState;

namespace {

// A box's icon stands where WinDrawControls draws it: centred 8 pixels
// right of and below the control's top-left corner.
constexpr int BoxIconDx = 8, BoxIconDy = 8;
constexpr int PressedIconStep = 2;   // a box's pressed icon follows its normal one by 2
constexpr int IconHalf = 16;         // icon buttons are hit in the 32 x 32 square round their centre
constexpr int MainWindowType = 1;
constexpr int ArrowCentreY = 14, ArrowTop = -2, ArrowBottom = 30, ArrowLeft = 4, ArrowRight = 36;
constexpr int CommandNext = 1, CommandPrev = 2;

// The value word of control entry e in n's record into *value; false
// when the control has none or it lies outside the record.
bool ControlWord(int n, const uint8_t *e, uint16_t *value)
{
    uint16_t offset = DefU16(e + ControlEntry::Offset);
    const uint8_t *record = WinRecordBuffer(n);
    if (offset == NoEntryOffset || !record || uint32_t(offset) + 2 > WinTypeWord(WinTypeOf(n), 2)) return false;
    *value = GetU16(record, offset);
    return true;
}

// Draws the item of press s with its pressed or its normal face, in its
// window's port.
void PressDraw(const PressStateRec &s, bool pressed)
{
    int n = s.window;
    if (!WinIsOpen(n)) return;
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    const uint8_t *e = s.controlEntry;
    switch (s.kind) {
    case PressPush:
        WinTable[n]->controls[s.control].pressed = pressed ? 1 : 0;
        PushButtonDraw(n, &s.rect, e + ControlEntry::Label, false, pressed);
        break;
    case PressTab:
        PageTabDraw(n, &s.rect, e + ControlEntry::Label, false, pressed, DefU16(e + ControlEntry::Command));
        break;
    case PressMatrixTab:
        SecondTabDraw(n, &s.rect, e + ControlEntry::Label, false, pressed, DefU16(e + ControlEntry::Value));
        break;
    case PressCheck:
    case PressRadio:
        DrawIconAt(pressed ? s.pressedIcon : s.normalIcon, s.rect.left + BoxIconDx, s.rect.top + BoxIconDy);
        break;
    case PressIcon:
        DrawIconAt(pressed ? s.pressedIcon : s.normalIcon, s.rect.left + IconHalf, s.rect.top + IconHalf);
        break;
    case PressHeader: InvertRectPort(&s.rect); break;   // inverting again puts it back
    case PressPrevArrow:
    case PressNextArrow: DrawIconAt(pressed ? s.pressedIcon : s.normalIcon, RecordArrowX(), ArrowCentreY); break;
    default: break;
    }
    RestorePortWindow(saved);
}

// Starts a press of the kind on n's item in rectangle r: remembered,
// drawn pressed, and the mouse held by n's window until the release.
void PressStart(int n, PressKind kind, const MacRect &r, int control)
{
    PressStateRec &s = PressState;
    s.kind = kind;
    s.window = n;
    s.rect = r;
    s.control = control;
    s.inside = true;
    PressDraw(s, true);
    if (WinTable[n]->mdiChild) WinSetCapture(WinTable[n]->mdiChild);
}

// Starts a press on the drawn control of n's shown pages under point: an
// enabled push button, an enabled check box or radio button whose type
// lets it change, a page tab or a matrix-column tab. True when one started.
bool ControlPress(int n, int32_t point)
{
    for (int i = 0; i < ControlSlotCount; i++) {
        const uint8_t *e = WinControlByIndex(n, i);
        if (!e) break;
        if (!WinPageShown(n, DefU16(e + ControlEntry::Page))) continue;
        MacRect r;
        WinFieldRect(n, i, &r);
        if (!PtInMacRect(point, &r)) continue;
        PressStateRec &s = PressState;
        s.controlEntry = e;
        s.iconEntry = nullptr;
        s.field = DefU16(e + ControlEntry::Offset);
        s.radioValue = DefU16(e + ControlEntry::Value);
        switch (DefU16(e + ControlEntry::Kind)) {
        case CtlPush:
            if (!WinTable[n]->controls[i].enabled) continue;
            PressStart(n, PressPush, r, i);
            return true;
        case CtlCheck:
        case CtlRadio: {
            if (!WinTable[n]->controls[i].enabled) continue;
            if (!WindowFieldChanged(n, i)) {
                if (!WinIsOpen(n)) return false;
                continue;
            }
            if (!WinIsOpen(n)) return false;
            bool check = DefU16(e + ControlEntry::Kind) == CtlCheck;
            uint16_t value = 0;
            (void)ControlWord(n, e, &value);
            s.normalIcon = check ? (value ? kIconCheckOn : kIconCheckOff)
                                 : (value == s.radioValue ? kIconRadioOn : kIconRadioOff);
            s.pressedIcon = uint16_t(s.normalIcon + PressedIconStep);
            PressStart(n, check ? PressCheck : PressRadio, r, i);
            return true;
        }
        case CtlPageTab: PressStart(n, PressTab, r, i); return true;
        case CtlMatrixTab: PressStart(n, PressMatrixTab, r, i); return true;
        default: break;   // scroll bars are platform controls
        }
    }
    return false;
}

// Runs what the press on a push button or tab asks, in n.
void PushRelease(int n, const PressStateRec &s)
{
    int command = DefU16(s.controlEntry + ControlEntry::Command);
    // The push buttons of an output window run bar commands.
    if (WinKindOf(n) == KindCode(WindowKind::Output))
        ToolbarCommand(n, command, 0);
    else
        DialogButton(n, s.control, command, 1);
}

}  // namespace

// Starts a press in n at point (y high, x low): a press still in progress
// is first released there; then a drawn control, an icon button, a list
// header or a record arrow under the point. True when a press started.
bool WinMousePress(int n, int32_t point, bool shift, bool dbl)
{
    if (PressState.kind != PressNone) WinMouseRelease(n, point);
    PressState.shift = shift;
    PressState.dbl = dbl;
    if (!WinIsOpen(n)) return false;
    if (ControlPress(n, point)) return true;
    if (!WinIsOpen(n)) return false;
    return IconButtonPress(n, point) || ListHeaderPress(n, point) || RecordArrowPress(n, point) ||
           DesignerPress(n, point, shift);
}

// Starts a press on the icon button of n whose 32 x 32 square round its
// centre holds point; true when one did. The main window (type 1) is
// never opened as a window: its icons are the bars', pressed there.
bool IconButtonPress(int n, int32_t point)
{
    if (!WinIsOpen(n) || WinTypeOf(n) == MainWindowType) return false;
    MacRect client;
    WindowClientRect(n, &client);
    for (int i = 0; const uint8_t *e = WinDefEntry(n, WinPartIconButtons, i); i++) {
        int x = RectXResolve(&client, int16_t(DefU16(e + IconEntry::X)));
        int y = RectYResolve(&client, int16_t(DefU16(e + IconEntry::Y)));
        MacRect r{int16_t(y - IconHalf), int16_t(x - IconHalf), int16_t(y + IconHalf), int16_t(x + IconHalf)};
        if (!PtInMacRect(point, &r)) continue;
        PressState.iconEntry = e;
        PressState.controlEntry = nullptr;
        PressState.normalIcon = DefU16(e + IconEntry::Icon);
        PressState.pressedIcon = DefU16(e + IconEntry::Pressed);
        PressStart(n, PressIcon, r, i);
        return true;
    }
    return false;
}

// Starts a press on the header of a shown list column of n that has an
// index to sort by; the header is inverted while pressed. True when one did.
bool ListHeaderPress(int n, int32_t point)
{
    if (!WinIsOpen(n)) return false;
    for (int i = 0; const uint8_t *e = WinDefEntry(n, WinPartFieldList, i); i++) {
        if (e[ListColEntry::Index] == 0 || DefU16(e + ListColEntry::Shown) != 1) continue;
        MacRect r;
        ListColumnHeadRect(n, i, &r);
        if (r.bottom <= r.top || !PtInMacRect(point, &r)) continue;
        PressState.controlEntry = nullptr;
        PressState.iconEntry = nullptr;
        PressStart(n, PressHeader, r, i);
        return true;
    }
    return false;
}

// Starts a press on the record arrows of the main window (type 1): the
// halves of one icon at (RecordArrowX, 14), each only when its step is
// possible. The main window is never opened as a window - the bars carry
// the arrows - so this never starts a press; it stays for the day it is.
bool RecordArrowPress(int n, int32_t point)
{
    if (!WinIsOpen(n) || WinTypeOf(n) != MainWindowType) return false;
    bool prev, next;
    int icon;
    RecordMoveState(n, &prev, &next, &icon);
    int x = RecordArrowX();
    MacRect left{ArrowTop, ArrowLeft, ArrowBottom, int16_t(x)}, right{ArrowTop, int16_t(x), ArrowBottom, ArrowRight};
    PressState.controlEntry = PressState.iconEntry = nullptr;
    PressState.normalIcon = uint16_t(icon);
    if (prev && PtInMacRect(point, &left)) {
        PressState.pressedIcon = next ? kIconArrowsPrevPressedNext : kIconArrowsPrevPressed;
        PressStart(n, PressPrevArrow, left, 0);
        return true;
    }
    if (next && PtInMacRect(point, &right)) {
        PressState.pressedIcon = prev ? kIconArrowsNextPressedPrev : kIconArrowsNextPressed;
        PressStart(n, PressNextArrow, right, 0);
        return true;
    }
    return false;
}

// One move step of the press in progress: the item is drawn pressed when
// the pointer came back inside it, normal when it left (only the pressed
// window counts).
void WinMouseTrack(int n, int32_t point)
{
    PressStateRec &s = PressState;
    if (s.kind == PressNone || DesignerTrack(n, point)) return;
    bool inside = n == s.window && WinIsOpen(n) && PtInMacRect(point, &s.rect);
    if (inside == s.inside) return;
    s.inside = inside;
    PressDraw(s, inside);
}

// Ends the press in progress at point: the item is drawn up again and,
// when the pointer is inside it in the pressed window, its action runs -
// a button or tab its command, a box its value, an icon its bar command,
// a header makes its column current, an arrow steps the record. The
// press is over before the action runs, which may open windows or a
// nested loop of its own.
void WinMouseRelease(int n, int32_t point)
{
    if (PressState.kind == PressNone || DesignerRelease(n, point)) return;
    PressStateRec s = PressState;
    PressState.kind = PressNone;
    int w = s.window;
    if (WinIsOpen(w) && WinTable[w]->mdiChild && WinCapture() == WinTable[w]->mdiChild) WinReleaseCapture();
    if (!WinIsOpen(w)) return;
    bool inside = n == w && PtInMacRect(point, &s.rect);
    // The face goes up: a header only when it is still inverted, the others always.
    if (s.kind != PressHeader || s.inside) PressDraw(s, false);
    if (!inside) return;
    switch (s.kind) {
    case PressPush: PushRelease(w, s); break;
    case PressTab: WinPageSwitchFocus(w, DefU16(s.controlEntry + ControlEntry::Command)); break;
    case PressMatrixTab: MatrixTabChoose(w, DefU16(s.controlEntry + ControlEntry::Value)); break;
    case PressCheck:
    case PressRadio: (void)WinControlChoose(w, s.control, false); break;
    case PressIcon:
        ToolbarCommand(w, DefU16(s.iconEntry + IconEntry::Command), DefU16(s.iconEntry + IconEntry::Argument));
        break;
    case PressHeader: SetWindowStateWord(w, s.control); break;
    case PressPrevArrow: ToolbarCommand(w, CommandPrev, 0); break;
    case PressNextArrow: ToolbarCommand(w, CommandNext, 0); break;
    default: break;
    }
}

// True while a press is in progress.
bool PressRunning() { return PressState.kind != PressNone; }

// Works check box or radio button `control` of n (see window_mouse.h).
// A check box always changes; a radio button only when it was not set,
// and only then are the controls redrawn.
bool WinControlChoose(int n, int control, bool askType)
{
    if (!WinIsOpen(n)) return false;
    const uint8_t *e = WinControlByIndex(n, control);
    if (!e) return false;
    int kind = DefU16(e + ControlEntry::Kind);
    if (kind != CtlCheck && kind != CtlRadio) return false;
    if (WinRecState(n) == 0) WinBeginEdit(n);
    if (!WinIsOpen(n) || WinRecState(n) == 0) return false;
    if (askType && (!WindowFieldChanged(n, control) || !WinIsOpen(n))) return false;
    uint16_t value;
    if (!ControlWord(n, e, &value)) return false;
    uint16_t offset = DefU16(e + ControlEntry::Offset);
    uint16_t next = kind == CtlCheck ? uint16_t(value ? 0 : 1) : DefU16(e + ControlEntry::Value);
    bool changed = kind == CtlCheck || next != value;
    PutU16(WinRecordBuffer(n), offset, next);
    WindowListChoice(n, control, offset, changed);
    if (!changed || !WinIsOpen(n)) return changed;
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    WinDrawControls(n, false);
    RestorePortWindow(saved);
    return true;
}

// Shows matrix-column page `page` of n: the field under edit goes into
// the record first, then n is repainted with the columns of that page. A
// text the field refuses keeps the user in it and the columns as they
// were.
void MatrixTabChoose(int n, int page)
{
    if (!WinIsOpen(n) || WinTypedTextRefused(n)) return;
    WinCommitField(n);
    if (!WinIsOpen(n)) return;
    WinTable[n]->matrixColumnPage = uint16_t(page);
    WinMarkChanged(n);
}
