// The multiple-document interface: a frame window holds an MDI client window
// (class "MDIClient"), which holds the document windows (MDI children). The
// client keeps the active child, maximises, minimises and restores children,
// cascades and tiles them, and arranges the minimised ones.
//
// Message order the program relies on:
//   create:   the child gets create (1), size (5), move (3), show; then the old
//             active child gets MDI activate (546) and the new one gets MDI
//             activate and set-focus (7). A child created while the active
//             child is maximised is maximised too.
//   activate: MDI activate to the old child, then to the new one (wParam =
//             the child being deactivated, lParam = the child being
//             activated), then set-focus to the new one.
//   destroy:  when the child is active the next child is activated first
//             (the same two MDI activate messages), then destroy (2).
//   maximise: size (5) with kPlSizeMaximized; a maximised child covers the
//             client area and its caption lies outside it.
//   keys:     the loops give each message to MdiTranslateAccel first: Ctrl+F4
//             sends close (16) to the active child (which may refuse), Ctrl+F6
//             activates the next child.
//   scroll:   a client with the HScroll / VScroll styles shows scroll bars
//             while children lie outside its client area; their range covers
//             every child and the area, and scrolling moves the children.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/geometry.h"
#include "platform/queue.h"

// Tile kinds (wParam of message 550).
constexpr uintptr_t kPlTileVertical = 0;    // side by side
constexpr uintptr_t kPlTileHorizontal = 1;  // one above the other
constexpr uintptr_t kPlTileSkipDisabled = 2;

struct PlMdiCreate {
    std::string_view className;
    std::string_view title;
    PlRect rect;      // in client coordinates of the MDI client
    uint32_t style;   // PlStyle bits; Child and Visible are added
    intptr_t param;   // reaches the create message as lParam
};

// Creates the MDI client in `frame` at rect (frame client coordinates).
// Children get control ids firstChildId, firstChildId + 1, ...
uint32_t MdiCreateClient(uint32_t frame, const PlRect &rect, uint32_t style, int id, int firstChildId);
// The MDI client of a frame (its first child of class "MDIClient"); 0 = none.
uint32_t MdiClientOf(uint32_t frame);
bool MdiIsChild(uint32_t win);

uint32_t MdiCreateChild(uint32_t client, const PlMdiCreate &create);
bool MdiDestroyChild(uint32_t client, uint32_t child);
void MdiActivate(uint32_t client, uint32_t child);
// The active child (0 = none); *maximized tells whether it is maximised.
uint32_t MdiGetActive(uint32_t client, bool *maximized);
// The child that the last destroy activated in place of the destroyed one
// (0 when none was left or the destroyed child was not active).
uint32_t MdiNextActivated(uint32_t client);
// Activates the next child in z-order (the one below the active one).
void MdiNext(uint32_t client);

void MdiMaximize(uint32_t child);
void MdiMinimize(uint32_t child);
void MdiRestore(uint32_t child);
void MdiCascade(uint32_t client, uintptr_t flags);
void MdiTile(uint32_t client, uintptr_t how);
void MdiArrangeIcons(uint32_t client);

// The keys of the workspace, for the main and modal loops to call before
// translating and dispatching a message: Ctrl+F4 and Ctrl+F6 pressed in a
// window of the client (the active child or a control in it). True when the
// message was taken and is not to be dispatched.
bool MdiTranslateAccel(uint32_t client, const PlMessage &m);

// Fits the workspace's scroll bars to the children (called by the layer
// whenever a child moves, sizes, shows, hides or goes; no bars while a child
// is maximised).
void MdiFitScrollBars(uint32_t client);
// Moves every child by dx, dy (what scrolling the workspace does).
void MdiScrollChildren(uint32_t client, int dx, int dy);
// The client's handling of horizontal (276) and vertical (277) scroll.
void MdiScrollMessage(uint32_t client, bool vertical, uintptr_t wParam);

// Default handling for the frame's procedure (unknown messages, set-focus
// to the active child, size of the client to the frame's client area, and
// message 1024 from a second start: WinBringToFront).
intptr_t MdiDefFrameProc(uint32_t frame, uint32_t client, uint32_t msg, uintptr_t wParam, intptr_t lParam);
// Default handling for a child's procedure (close destroys through the
// client, MDI messages, ...).
intptr_t MdiDefChildProc(uint32_t child, uint32_t msg, uintptr_t wParam, intptr_t lParam);
