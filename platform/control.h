// The built-in controls: EDIT (class "Edit": one line, or several by its
// style), LISTBOX ("ListBox"), vertical SCROLLBAR ("ScrollBar") and push
// BUTTON ("Button"). Create them with WinCreate as children; their control
// id comes back in notifications.
//
// Notifications reach the parent as message 273 (command) with
// wParam = control id | code << 16 and lParam = the control's window id.
// A scroll bar reports to its parent with message 277 (vertical scroll):
// wParam = code | position << 16, lParam = the scroll bar's window id.
//
// Text is 8-bit (the program's character set).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/geometry.h"

// Control styles (the low half of the window style).
namespace PlEditStyle {
constexpr uint32_t Password = 1u << 0;     // shows '*' for every character
constexpr uint32_t AutoHScroll = 1u << 1;  // scrolls sideways instead of refusing text
constexpr uint32_t ReadOnly = 1u << 2;
// Several lines: Return (and a pasted line break) starts a new line, held
// as '\n' in the text; lines wrap at the width and stand from the top; Up
// and Down move between lines, Home and End to a line's ends (with Ctrl
// the text's). AutoHScroll does not apply.
constexpr uint32_t MultiLine = 1u << 3;
}  // namespace PlEditStyle
namespace PlListStyle {
constexpr uint32_t Notify = 1u << 0;           // selection changes and double-clicks are reported
constexpr uint32_t DisableNoScroll = 1u << 1;  // the bar stays, disabled, when not needed
}  // namespace PlListStyle
namespace PlButtonStyle {
constexpr uint32_t Default = 1u << 0;  // drawn with a heavier frame
}

// Edit messages.
namespace PlEm {
constexpr uint32_t GetSel = 176;       // returns start | end << 16; wParam/lParam may point at uint32_t
constexpr uint32_t SetSel = 177;       // wParam start, lParam end; (0, -1) selects all; start -1 removes it
constexpr uint32_t LineLength = 193;   // length of the text (all its lines)
constexpr uint32_t ReplaceSel = 194;   // lParam = const char *
constexpr uint32_t LimitText = 197;    // wParam = limit (0 or above 255 = 255)
}  // namespace PlEm
namespace PlEn {
constexpr int SetFocus = 256;
constexpr int KillFocus = 512;
constexpr int Change = 768;
}  // namespace PlEn

// List box messages. Results of -1 mean an error or "none".
namespace PlLb {
constexpr uint32_t AddString = 384;     // lParam = const char *; returns the index
constexpr uint32_t InsertString = 385;  // wParam = index (-1 = end), lParam = text
constexpr uint32_t DeleteString = 386;  // wParam = index; returns the count left
constexpr uint32_t ResetContent = 388;
constexpr uint32_t SetCurSel = 390;     // wParam = index (-1 = none); no notification
constexpr uint32_t GetSel = 391;        // wParam = index; 1 when selected
constexpr uint32_t GetCurSel = 392;
constexpr uint32_t GetText = 393;       // wParam = index, lParam = char buffer (256 bytes is enough)
constexpr uint32_t GetTextLen = 394;
constexpr uint32_t GetCount = 395;
constexpr uint32_t GetTopIndex = 398;
constexpr uint32_t GetSelCount = 400;   // 1 when a row is selected, else 0
constexpr uint32_t SetTopIndex = 407;
}  // namespace PlLb
namespace PlLbn {
constexpr int SelChange = 1;
constexpr int DblClk = 2;
}  // namespace PlLbn

namespace PlBn {
constexpr int Clicked = 0;
}

// Scroll codes of message 277.
namespace PlSb {
constexpr int LineUp = 0;
constexpr int LineDown = 1;
constexpr int PageUp = 2;
constexpr int PageDown = 3;
constexpr int ThumbPosition = 4;
constexpr int ThumbTrack = 5;
constexpr int Top = 6;
constexpr int Bottom = 7;
constexpr int EndScroll = 8;
}  // namespace PlSb

constexpr int kPlEditMaxText = 255;
constexpr int kPlScrollBarWidth = 16;

// Convenience forms of the messages above.
std::string EditGetText(uint32_t edit);
void EditSetText(uint32_t edit, std::string_view text);
void EditSetSel(uint32_t edit, int start, int end);
void EditGetSel(uint32_t edit, int *start, int *end);
void EditReplaceSel(uint32_t edit, std::string_view text);
int EditCaret(uint32_t edit);
// Pixel offset of the first shown character (horizontal scroll).
int EditScrollOffset(uint32_t edit);

int ListBoxAdd(uint32_t list, std::string_view text);
std::string ListBoxText(uint32_t list, int index);
int ListBoxCount(uint32_t list);
int ListBoxCurSel(uint32_t list);
void ListBoxSetCurSel(uint32_t list, int index);
int ListBoxTopIndex(uint32_t list);
uint32_t ListBoxScrollBar(uint32_t list);  // its own vertical bar (0 = none)
int ListBoxRowHeight(uint32_t list);

// Scroll bar range and position (position is clamped into the range). A
// range with max <= min disables the bar. `redraw` repaints it.
void ScrollBarSetRange(uint32_t bar, int min, int max, bool redraw);
void ScrollBarSetPos(uint32_t bar, int pos, bool redraw);
int ScrollBarPos(uint32_t bar);
void ScrollBarRange(uint32_t bar, int *min, int *max);
// The thumb rectangle in the bar's client coordinates (tests, tracking).
PlRect ScrollBarThumbRect(uint32_t bar);

bool ButtonIsPressed(uint32_t button);
