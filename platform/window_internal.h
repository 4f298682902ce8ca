// Internal state of the window system shared by window.cpp, window_paint.cpp,
// window_frame.cpp, queue.cpp, mdi.cpp and menu.cpp. Not for the program.
#pragma once

#include <cairo.h>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/geometry.h"
#include "platform/window.h"

struct PlFont;

struct WinClassRec {
    std::string name;
    PlWndProc proc;
    int icon;
    uint32_t background;
    uint32_t style;
    int extraBytes;
    bool builtIn;
};

enum class WinState : uint8_t { Normal, Minimized, Maximized };

// A scroll bar of a window's own frame (the vertical one at the right, the
// horizontal one at the bottom); shown while its range is wider than a page.
struct WinBar {
    int min = 0, max = 0, page = 0, pos = 0;
    bool shown = false;
};

struct WinRec {
    uint32_t id = 0;
    int cls = -1;                        // index into the class table
    uint32_t parent = 0;
    std::vector<uint32_t> children;      // z-order, topmost first
    PlRect rect{};                       // window rect in parent client coordinates
    PlRect restore{};                    // rect to return to from min/max
    uint32_t style = 0;
    bool visible = false;
    bool enabled = true;
    bool destroying = false;
    WinState state = WinState::Normal;
    int controlId = 0;
    std::string title;
    std::vector<uint8_t> extra;
    PlFont *font = nullptr;
    uint32_t menu = 0;                   // menu bar (top-level windows)
    std::vector<PlRect> invalid;         // client coordinates
    bool eraseNeeded = false;
    bool ncDirty = false;                // frame, caption or menu bar to redraw
    bool redrawOff = false;              // message 11 with 0
    bool captionActive = false;          // child caption drawn in the active colour
    WinBar hbar, vbar;                   // scroll bars of the frame (HScroll / VScroll styles)
    cairo_surface_t *surface = nullptr;  // top-level windows only
    bool surfaceChanged = false;
};

struct WinSystem {
    std::vector<WinClassRec> classes;
    std::unordered_map<uint32_t, std::unique_ptr<WinRec>> windows;
    uint32_t nextId = 0x10001;
    std::vector<uint32_t> topLevels;     // z-order, topmost first
    uint32_t active = 0;
    uint32_t focus = 0;
    uint32_t capture = 0;
    PlRect desktop{0, 0, 1024, 768};
};

WinSystem &WinSys();
WinRec *WinGet(uint32_t win);
const WinClassRec *WinClassOf(const WinRec *w);
int WinFindClassIndex(std::string_view name);
void WinEnsureBuiltInClasses();

// Non-client metrics of a window (frame widths, caption and menu heights).
struct WinNcMetrics {
    int left, top, right, bottom;  // total insets of the client area
    int frame;                     // frame width
    int caption;                   // caption height (0 = none)
    int menu;                      // menu bar height (0 = none)
    int vbar, hbar;                // widths of the shown scroll bars (0 = none)
};
WinNcMetrics WinNcMetricsOf(const WinRec *w);
constexpr int kWinCaptionHeight = 19;
constexpr int kWinMenuHeight = 20;
constexpr int kWinMinimizedWidth = 160;
// Frame-sizing: the corner parts reach this far along each edge, and a window
// cannot be made smaller than the minimum track size.
constexpr int kWinSizeCorner = 16;
constexpr int kWinMinTrackWidth = 112;
constexpr int kWinMinTrackHeight = 2 * 4 + kWinCaptionHeight + 8;

// Draws a child's caption in the active colour (MDI children, dialogs).
void WinSetCaptionActive(uint32_t win, bool on);

// Rectangles relative to the top-level surface.
PlRect WinSurfaceRect(const WinRec *w);        // window rect
PlRect WinSurfaceClientRect(const WinRec *w);  // client rect
// Visible parts of the window (client only or whole) in surface coordinates,
// after clipping by ancestors, siblings above and (client) its children.
std::vector<PlRect> WinVisibleRects(const WinRec *w, bool clientOnly);

// Rectangle lists.
void RectListSubtract(std::vector<PlRect> &list, const PlRect &cut);
void RectListAdd(std::vector<PlRect> &list, const PlRect &r);
PlRect RectListBox(const std::vector<PlRect> &list);

// Painting helpers (window_paint.cpp).
void WinPaintNonClient(WinRec *w);
void WinMarkSurfaceChanged(WinRec *w);
void WinSurfaceResize(WinRec *w);
void WinSurfaceFree(WinRec *w);
// Invalidates everything of `parent` and its descendants under rect (parent
// client coordinates; for parent 0, screen).
void WinInvalidateArea(uint32_t parent, const PlRect &rect);
// The first window (parents before children) with something to paint.
uint32_t WinFindPaintTarget();
// Non-client hit test and handling (window_frame.cpp).
enum class WinNcHit : uint8_t {
    None, Caption, Close, Minimize, Maximize, Restore, MenuBar, Frame, SysMenu,
    // The sizing parts of a thick frame.
    Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight,
    HScroll, VScroll,  // the frame's scroll bars
};
WinNcHit WinNcHitTest(const WinRec *w, PlPoint screen);
void WinNcButtonDown(uint32_t win, WinNcHit hit, PlPoint screen);
void WinNcMouseMove(PlPoint screen, bool leftDown);
void WinNcButtonUp(PlPoint screen);
bool WinNcDragging();

// The frame's scroll bars (window_bars.cpp).
// Paints the shown bars into the non-client area (window dc).
void WinBarsPaint(const WinRec *w, DrawContext *dc);
// The bar rectangles in window coordinates (empty when not shown).
PlRect WinBarRect(const WinRec *w, bool vertical);
// A press on a bar at window point p: an arrow or the track scrolls by a line
// or a page (message 276/277 to the window, lParam 0); on the thumb it starts
// a drag and returns true.
bool WinBarButtonDown(uint32_t win, bool vertical, PlPoint p);
// The thumb follows the pointer (thumb track); at the end the position is
// reported (thumb position, then end scroll).
void WinBarDragMove(PlPoint p);
void WinBarDragEnd(PlPoint p);

// Hooks the MDI and menu modules set so the core can call them without a
// dependency cycle.
struct WinHooks {
    // Drawing of a menu bar into the window's non-client band.
    void (*drawMenuBar)(uint32_t win, DrawContext *dc, const PlRect &band) = nullptr;
    // A click in the menu bar (screen point).
    void (*menuBarClick)(uint32_t win, PlPoint screen) = nullptr;
    // Alt or F10 pressed with the window active: keyboard menu mode.
    bool (*menuKey)(uint32_t win, uint32_t vkey, uint32_t charCode) = nullptr;
    // A mouse press in window `win` (client): the MDI layer activates its child.
    void (*mouseActivate)(uint32_t win) = nullptr;
    // A caption button of a child window (minimise, maximise, restore).
    bool (*captionCommand)(uint32_t win, WinNcHit hit) = nullptr;
    // The maximised MDI child of a frame changed (0 = none is maximised): the
    // menu bar shows the child's system item and buttons while one is.
    void (*mdiMaxChanged)(uint32_t frame, uint32_t child) = nullptr;
    // A window is about to be destroyed (before focus and destroy messages):
    // the MDI layer passes the activation on from a child destroyed directly.
    void (*destroying)(uint32_t win) = nullptr;
    // A top-level window with a menu bar is destroyed: the bar goes with it.
    void (*destroyMenu)(uint32_t menu) = nullptr;
    // A child of `parent` was moved, sized, shown, hidden or destroyed: the
    // MDI layer fits the workspace's scroll bars to its children.
    void (*childLayout)(uint32_t parent) = nullptr;
    // Brings a top-level window to the front on the display (restores it
    // when the display had minimised it, raises it and gives it the input).
    void (*raiseOnDisplay)(uint32_t topLevel) = nullptr;
};
WinHooks &WinHooksRef();

// Procedures of the built-in classes.
intptr_t MdiClientProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam);
intptr_t EditProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam);
intptr_t ListBoxProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam);
intptr_t ScrollBarProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam);
intptr_t ButtonProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam);
intptr_t DialogBoxProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam);
intptr_t MenuPopupProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam);
