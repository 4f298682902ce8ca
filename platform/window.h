// The window system of the platform layer: window classes with procedures,
// the window tree (parent, children in z-order, clipping), geometry, show and
// hide, activation and focus, titles, extra words, and painting into the
// pixels of each top-level window.
//
// Windows are named by 32-bit ids (0 = none), never by pointers, so that the
// program may keep them in 32-bit record fields. Ids are not reused while the
// process runs (a stale id simply names no window).
//
// Coordinates: a child's window rectangle is relative to its parent's client
// area; a top-level window's rectangle is relative to the desktop ("screen").
// Every top-level window owns a CAIRO_FORMAT_RGB24 image surface of its
// window size; its children draw into that surface.
//
// Message numbers, key codes and parameter layouts are in queue.h.
#pragma once

#include <cairo.h>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/draw.h"
#include "platform/geometry.h"

using PlWndProc = intptr_t (*)(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam);

// Window styles. The high half holds the general styles, the low half the
// styles of the built-in control classes (control.h).
namespace PlStyle {
constexpr uint32_t Child = 1u << 16;
constexpr uint32_t Visible = 1u << 17;
constexpr uint32_t Disabled = 1u << 18;
constexpr uint32_t ClipChildren = 1u << 19;   // children are always clipped; kept for callers
constexpr uint32_t ClipSiblings = 1u << 20;   // siblings are always clipped; kept for callers
constexpr uint32_t Border = 1u << 21;         // one-pixel black frame
constexpr uint32_t ThickFrame = 1u << 22;     // sizing frame
constexpr uint32_t Caption = 1u << 23;        // title bar (drawn for child windows)
constexpr uint32_t SysMenu = 1u << 24;        // close box in the title bar
constexpr uint32_t MinBox = 1u << 25;
constexpr uint32_t MaxBox = 1u << 26;
constexpr uint32_t DlgFrame = 1u << 27;       // fixed three-pixel frame, no sizing
constexpr uint32_t VScroll = 1u << 28;        // a vertical bar in the frame (list boxes make their own)
constexpr uint32_t HScroll = 1u << 29;        // a horizontal bar in the frame
constexpr uint32_t TabStop = 1u << 30;
constexpr uint32_t Maximize = 1u << 31;       // start maximised
constexpr uint32_t OverlappedWindow = Caption | SysMenu | ThickFrame | MinBox | MaxBox;
}  // namespace PlStyle

// Class styles.
namespace PlClassStyle {
constexpr uint32_t DblClks = 1u << 0;  // mouse double-clicks become message 515
}

// Width of a thin window border in pixels.
constexpr int kPlBorderWidth = 1;

// Special background: the class erases nothing.
constexpr uint32_t kPlNoBackground = 0xFFFFFFFFu;

struct PlWindowClass {
    std::string_view name;   // looked up without regard to case
    PlWndProc proc;
    int icon;                // icon number of the program's icon set (0 = none)
    uint32_t background;     // 0xRRGGBB, or kPlNoBackground
    uint32_t style;          // PlClassStyle bits
    int extraBytes;          // per-window extra bytes (0..64)
};

// Show commands (WinShow).
enum class PlShow : uint8_t { Hide, Normal, Minimized, Maximized, Show, Restore, ShowNoActivate };

// Size kinds in wParam of message 5 (size).
constexpr uintptr_t kPlSizeRestored = 0;
constexpr uintptr_t kPlSizeMinimized = 1;
constexpr uintptr_t kPlSizeMaximized = 2;

// ---------------------------------------------------------------------------
// Classes.

// Registers a class. False when the name is empty or taken, the procedure is
// null or the extra bytes are out of range.
bool WinRegisterClass(const PlWindowClass &cls);
bool WinClassExists(std::string_view name);

// ---------------------------------------------------------------------------
// Creation and the tree.

// Creates a window of class `className`. `rect` is the window rectangle in the
// parent's client coordinates (screen for parent 0). `id` is the control id a
// child reports in its notifications. `param` reaches the create message (1)
// as lParam. Message order: create (1), size (5), move (3); then, when the
// style has Visible: show and (top-level) activate (6) and set-focus (7).
// A create procedure that returns -1 makes the creation fail (result 0).
// Returns the new window's id, 0 on failure.
uint32_t WinCreate(std::string_view className, std::string_view title, uint32_t style, const PlRect &rect,
                   uint32_t parent, int id, intptr_t param);

// Destroys a window and its descendants: focus and activation move away, the
// window is hidden, destroy (2) reaches the window and then each descendant
// (parents first), and the ids become invalid. False for an unknown id.
bool WinDestroy(uint32_t win);

bool WinIsWindow(uint32_t win);
uint32_t WinParent(uint32_t win);
// The top-level window (parent 0) that holds win; win itself when top-level.
uint32_t WinTopLevel(uint32_t win);
// Children are kept in z-order, topmost first.
uint32_t WinFirstChild(uint32_t win);
uint32_t WinNextSibling(uint32_t win);
int WinChildCount(uint32_t win);
// The nth child in z-order (0 = topmost), 0 when out of range.
uint32_t WinChildAt(uint32_t win, int index);
bool WinIsChildOf(uint32_t win, uint32_t ancestor);  // strict descendant
// Moves the window to the top of its siblings' z-order.
void WinBringToTop(uint32_t win);
// Top-level window (parent 0) of class `className`, topmost first; 0 when none.
uint32_t WinFindTopLevel(std::string_view className);

std::string WinClassName(uint32_t win);  // the registered spelling; empty for 0
int WinClassIcon(uint32_t win);
int WinControlId(uint32_t win);
uint32_t WinStyle(uint32_t win);
void WinSetStyle(uint32_t win, uint32_t style);  // no redraw, no messages

// ---------------------------------------------------------------------------
// Geometry.

// Window rectangle in the parent's client coordinates.
PlRect WinRect(uint32_t win);
// Window rectangle in screen coordinates.
PlRect WinScreenRect(uint32_t win);
// Client rectangle: {0, 0, width, height} of the client area.
PlRect WinClientRect(uint32_t win);
// The client area in screen coordinates.
PlRect WinClientScreenRect(uint32_t win);
PlPoint WinClientToScreen(uint32_t win, PlPoint p);
PlPoint WinScreenToClient(uint32_t win, PlPoint p);
// Moves and sizes a window (parent client coordinates); sends move (3) and
// size (5) when they change, and repaints what was uncovered.
bool WinMove(uint32_t win, const PlRect &rect);
// Resizes without moving (or changing z-order).
bool WinSetSize(uint32_t win, int width, int height);
// The outer size a window of `style` needs for a client area of w x h.
PlSize WinOuterSizeFor(uint32_t style, bool hasMenu, int w, int h);
// The desktop rectangle (in headless mode 1024 x 768 unless changed).
PlRect WinDesktopRect();
void WinSetDesktopSize(int width, int height);

// ---------------------------------------------------------------------------
// Show, state, enable.

bool WinShow(uint32_t win, PlShow how);
bool WinIsVisible(uint32_t win);    // the window and all its ancestors are visible
bool WinIsIconic(uint32_t win);
bool WinIsZoomed(uint32_t win);
// The rectangle the window returns to on restore (parent client coordinates).
PlRect WinRestoreRect(uint32_t win);
void WinSetRestoreRect(uint32_t win, const PlRect &rect);
// Where a window stands when it is shown normally, and how it is shown: what
// the program saves per window and gives back when the window opens again.
struct PlPlacement {
    PlShow show;    // Normal, Minimized or Maximized
    PlRect normal;  // the rectangle when shown normally (parent client coordinates)
};
// False for an unknown window.
bool WinGetPlacement(uint32_t win, PlPlacement *out);
// Puts the window at the normal rectangle and into the state (an MDI child
// through its client, so the client knows the maximised child). False, and
// nothing changed, for an unknown window, a show other than the three above
// or a rectangle without width or height.
bool WinSetPlacement(uint32_t win, const PlPlacement &placement);

// Brings the top-level window that holds win to the user: restored when
// minimised, shown, activated and, on the screen, raised above other
// programs' windows. What the frame does when a second start of the program
// asks for it (message 1024; the default frame procedure does this).
bool WinBringToFront(uint32_t win);

// Enables or disables a window (message 10 with the new state); returns the
// previous enabled state.
bool WinEnable(uint32_t win, bool on);
bool WinIsEnabled(uint32_t win);

// ---------------------------------------------------------------------------
// Scroll bars of a window's own frame: the vertical bar (style VScroll) at the
// right, the horizontal one (style HScroll) at the bottom. A bar covers the
// range min..max of content units of which `page` are in view from `pos`; it
// is shown, and narrows the client area by kPlFrameBarWidth, while the range
// is larger than a page. Its arrows and track send horizontal (276) or
// vertical (277) scroll to the window, wParam = code | position << 16 (codes
// PlSb in control.h; the position as a signed 16-bit value), lParam = 0; the
// thumb reports where it was let go. The window then sets the new position.
struct PlScrollInfo {
    int min, max, page, pos;
    bool shown;
};
constexpr int kPlFrameBarWidth = 16;
// False for an unknown window or one without the bar's style.
bool WinGetScrollInfo(uint32_t win, bool vertical, PlScrollInfo *out);
// Sets range, page and position (clamped to min..max - page + 1); shows or
// hides the bar and, when that changes the client area, sends size (5).
bool WinSetScrollInfo(uint32_t win, bool vertical, int min, int max, int page, int pos);

// ---------------------------------------------------------------------------
// Activation and focus.

// Makes a top-level window the active one: activate (6) with wParam 0 to the
// old one and 1 to the new one; the new one gets the focus unless the focus is
// already inside it.
void WinActivate(uint32_t win);
uint32_t WinActiveWindow();
// Gives the keyboard focus to win (0 = none): kill-focus (8, wParam = new) to
// the old focus, set-focus (7, wParam = old) to the new. Returns the old focus.
uint32_t WinSetFocus(uint32_t win);
uint32_t WinFocus();
// Mouse capture: while set, mouse messages go to the capturing window.
void WinSetCapture(uint32_t win);
void WinReleaseCapture();
uint32_t WinCapture();

// ---------------------------------------------------------------------------
// Titles, extra words, user data, fonts, menus.

bool WinSetTitle(uint32_t win, std::string_view text);  // redraws the caption
std::string WinTitle(uint32_t win);
// 32-bit extra words at byte offsets of the class's extra bytes. Get answers 0
// and Set false when the offset is outside them.
uint32_t WinGetExtra(uint32_t win, int offset);
bool WinSetExtra(uint32_t win, int offset, uint32_t value);
// The font a control draws with (message 48 sets it); null = regular UI font.
PlFont *WinFont(uint32_t win);
void WinSetFontRaw(uint32_t win, PlFont *font);
// The menu bar of a top-level window (menu.h ids); 0 = none.
uint32_t WinMenu(uint32_t win);
bool WinSetMenu(uint32_t win, uint32_t menu);

// ---------------------------------------------------------------------------
// Messages to one window.

// Calls the window's procedure directly; 0 for an unknown window.
intptr_t WinSend(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam);
// The default handling of a message (close destroys, erase fills the class
// background, paint validates, set/get text use the title, ...).
intptr_t WinDefProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam);

// ---------------------------------------------------------------------------
// Painting.

// Adds rect (client coordinates; null = the whole client area) to the
// window's invalid region; `erase` asks for the class background first.
void WinInvalidate(uint32_t win, const PlRect *rect, bool erase);
// Invalidates the window's client area and that of all its descendants.
void WinInvalidateTree(uint32_t win, bool erase);
void WinValidate(uint32_t win, const PlRect *rect);
bool WinHasInvalid(uint32_t win);
// Bounding box of the invalid region (client coordinates), empty when none.
PlRect WinInvalidBox(uint32_t win);
// Paints every window that has an invalid region now, without the queue.
void WinUpdate(uint32_t win);

struct PlPaint {
    DrawContext *dc;   // clipped to the invalid region within the visible part
    PlRect box;        // bounding box of what is to be painted (client)
    bool erased;       // the background was erased
};
// Starts painting: a context on the client area clipped to its invalid and
// visible parts; erases first (message 20, default fills the class
// background) when asked. The region becomes valid.
bool WinBeginPaint(uint32_t win, PlPaint *ps);
void WinEndPaint(uint32_t win, PlPaint *ps);

// An immediate context on the client area of any window at any time, clipped
// to the visible parts of the client area (nothing when hidden). Release with
// WinReleaseDc. Null for an unknown window.
DrawContext *WinGetDc(uint32_t win);
// The same on the whole window rectangle, non-client area included.
DrawContext *WinGetWindowDc(uint32_t win);
void WinReleaseDc(uint32_t win, DrawContext *dc);

// Scrolls the pixels of rect (client coordinates; null = client area) by
// dx, dy and invalidates (with erase) the part that was uncovered.
void WinScrollRect(uint32_t win, const PlRect *rect, int dx, int dy);

// The surface of a top-level window (owned by the layer; do not destroy).
cairo_surface_t *WinSurface(uint32_t topLevel);
// Reads a pixel of a window's client area (0xRRGGBB); 0 outside.
uint32_t WinClientPixel(uint32_t win, int x, int y);
// Saves the window's pixels (whole window rectangle) as a PNG file.
bool WinSavePng(uint32_t win, const std::string &path);
// Called by the layer when surface pixels changed; the display presents them.
bool WinTakeSurfaceChanged(uint32_t topLevel);

// Destroys every window and forgets every class except the built-in ones
// (tests start from a clean slate with this).
void WinResetAll();
