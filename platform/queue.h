// The single-threaded message queue of the window system: message numbers,
// post, send, get (blocking or with a time-out), peek, quit, translation of
// key-downs to characters, mouse routing (hit-testing, double-clicks,
// capture), key state, cursor position and the tick count.
//
// Order in which a get returns things: posted messages (input included, in
// arrival order), then the quit request, then paint (15) for windows with an
// invalid region. While nothing is there it waits on the display and on the
// sockets (message 2000 is posted for each socket event).
//
// Parameter layouts (the program relies on them):
//   size (5):      wParam = kPlSize*, lParam = width | height << 16
//   move (3):      lParam = x | y << 16 (client origin in parent coordinates)
//   activate (6):  wParam = 1 active, 0 inactive
//   command (273): wParam = id | code << 16, lParam = control window id (0 for menus)
//   vscroll (277): wParam = code | position << 16, lParam = scroll bar window id
//   mouse (512-517): wParam = PlMouseKey bits, lParam = x | y << 16 (client, signed 16-bit)
//   wheel (522):   wParam = PlMouseKey bits | delta << 16 (signed; kPlWheelDelta per
//                  notch, positive away from the user), lParam = x | y << 16 (screen)
//   key (256/257): wParam = virtual key; char (258): wParam = character (8-bit)
//   MDI activate (546): wParam = child being deactivated, lParam = child being activated
//   socket (2000): wParam = socket, lParam = event bits | error << 16
#pragma once

#include <cstdint>

#include "platform/geometry.h"

namespace PlMsg {
constexpr uint32_t Null = 0;
constexpr uint32_t Create = 1;
constexpr uint32_t Destroy = 2;
constexpr uint32_t Move = 3;
constexpr uint32_t Size = 5;
constexpr uint32_t Activate = 6;
constexpr uint32_t SetFocus = 7;
constexpr uint32_t KillFocus = 8;
constexpr uint32_t Enable = 10;
constexpr uint32_t SetRedraw = 11;
constexpr uint32_t SetText = 12;        // lParam = const char * (zero-terminated)
constexpr uint32_t GetText = 13;        // wParam = buffer size, lParam = char *; returns length
constexpr uint32_t GetTextLength = 14;
constexpr uint32_t Paint = 15;
constexpr uint32_t Close = 16;
constexpr uint32_t QueryEndSession = 17;
constexpr uint32_t Quit = 18;
constexpr uint32_t EraseBkgnd = 20;     // wParam = DrawContext *
constexpr uint32_t ShowWindow = 24;     // wParam = 1 shown, 0 hidden
constexpr uint32_t ActivateApp = 28;
constexpr uint32_t SetFont = 48;        // wParam = PlFont *, lParam = redraw
constexpr uint32_t GetFont = 49;
constexpr uint32_t KeyDown = 256;
constexpr uint32_t KeyUp = 257;
constexpr uint32_t Char = 258;
constexpr uint32_t SysKeyDown = 260;    // a key with Alt held
constexpr uint32_t SysKeyUp = 261;
constexpr uint32_t Command = 273;
constexpr uint32_t HScroll = 276;
constexpr uint32_t VScroll = 277;
constexpr uint32_t InitMenu = 278;
constexpr uint32_t MouseMove = 512;
constexpr uint32_t LButtonDown = 513;
constexpr uint32_t LButtonUp = 514;
constexpr uint32_t LButtonDblClk = 515;
constexpr uint32_t RButtonDown = 516;
constexpr uint32_t RButtonUp = 517;
constexpr uint32_t MouseWheel = 522;     // see the layout above
constexpr uint32_t MdiCreate = 544;      // lParam = const PlMdiCreate *; returns the child
constexpr uint32_t MdiDestroy = 545;     // wParam = child
constexpr uint32_t MdiActivate = 546;    // to the client: wParam = child; to children: see above
constexpr uint32_t MdiRestore = 547;     // wParam = child
constexpr uint32_t MdiNext = 548;
constexpr uint32_t MdiMaximize = 549;    // wParam = child
constexpr uint32_t MdiTile = 550;        // wParam = kPlTile*
constexpr uint32_t MdiCascade = 551;
constexpr uint32_t MdiIconArrange = 552;
constexpr uint32_t MdiGetActive = 553;
constexpr uint32_t Cut = 768;
constexpr uint32_t Copy = 769;
constexpr uint32_t Paste = 770;
constexpr uint32_t Clear = 771;
constexpr uint32_t User = 1024;
constexpr uint32_t Socket = 2000;
}  // namespace PlMsg

// Virtual keys (wParam of 256/257).
namespace PlKey {
constexpr uint32_t Back = 8;
constexpr uint32_t Tab = 9;
constexpr uint32_t Return = 13;
constexpr uint32_t Shift = 16;
constexpr uint32_t Control = 17;
constexpr uint32_t Menu = 18;   // Alt
constexpr uint32_t Escape = 27;
constexpr uint32_t Space = 32;
constexpr uint32_t PageUp = 33;
constexpr uint32_t PageDown = 34;
constexpr uint32_t End = 35;
constexpr uint32_t Home = 36;
constexpr uint32_t Left = 37;
constexpr uint32_t Up = 38;
constexpr uint32_t Right = 39;
constexpr uint32_t Down = 40;
constexpr uint32_t Insert = 45;
constexpr uint32_t Delete = 46;
// '0'..'9' are 48..57 and 'A'..'Z' are 65..90.
constexpr uint32_t F1 = 112;
constexpr uint32_t F10 = 121;
}  // namespace PlKey

// Mouse key bits in wParam of mouse messages.
namespace PlMouseKey {
constexpr uintptr_t LButton = 1;
constexpr uintptr_t RButton = 2;
constexpr uintptr_t Shift = 4;
constexpr uintptr_t Control = 8;
}  // namespace PlMouseKey

// The wheel: the delta of one notch, and the lines one notch scrolls.
constexpr int kPlWheelDelta = 120;
constexpr int kPlWheelLines = 3;

struct PlMessage {
    uint32_t win;
    uint32_t msg;
    uintptr_t wParam;
    intptr_t lParam;
    uint32_t time;     // tick count when posted
    PlPoint pt;        // cursor position (screen) when posted
    uint32_t charCode; // key-down only: the character translation gives (0 = none)
};

constexpr intptr_t PlMakeLong(int lo, int hi)
{
    return intptr_t(uint32_t(uint16_t(lo)) | (uint32_t(uint16_t(hi)) << 16));
}
constexpr int PlLoWord(intptr_t v) { return int(uint16_t(uint32_t(v))); }
constexpr int PlHiWord(intptr_t v) { return int(uint16_t(uint32_t(v) >> 16)); }
// Signed halves (mouse coordinates may be negative under capture).
constexpr int PlLoShort(intptr_t v) { return int(int16_t(uint16_t(uint32_t(v)))); }
constexpr int PlHiShort(intptr_t v) { return int(int16_t(uint16_t(uint32_t(v) >> 16))); }

enum class PlGet : uint8_t {
    Message,  // *out holds a message
    Quit,     // the quit request (message 18) was taken; wParam = exit code
    Timeout,  // the time-out passed with no message
    Idle,     // nothing is queued and nothing can arrive (headless, no sockets)
};

// Posts a message to the queue (win 0 = a thread message). False when win is
// not 0 and not a window.
bool MsgPost(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam);
// Posts a key-down with the character the translation should give.
bool MsgPostKey(uint32_t win, uint32_t msg, uint32_t vkey, uint32_t charCode);
// Sends a message: a direct call of the window procedure.
intptr_t MsgSend(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam);
// Asks the loop to end: the next get without posted messages returns Quit.
void MsgPostQuit(int exitCode);

// Waits for a message. Never waits when nothing can arrive (returns Idle).
PlGet MsgGet(PlMessage *out);
// Waits at most timeoutMs (unsigned elapsed ticks, so the wrap of the tick
// count is harmless) and returns Timeout when nothing came.
PlGet MsgGetTimeout(PlMessage *out, uint32_t timeoutMs);
// Drops the queued socket messages (2000) of `socket`. Called when the
// socket is closed: the system gives its number to the next socket at once,
// and an old event must not be taken as the new socket's.
void MsgDropSocketEvents(int socket);
// Looks at the next message without waiting; `remove` takes it out. Paint is
// returned (never removed: painting validates). False when there is none.
bool MsgPeek(PlMessage *out, bool remove);
// Posts the character message for a key-down (Return 13, Esc 27, Backspace 8,
// Tab 9, Ctrl+letter 1..26, Ctrl+Return 10, printable characters). True when
// one was posted.
bool MsgTranslate(const PlMessage &m);
// Calls the procedure of m.win (paint without a procedure just validates).
intptr_t MsgDispatch(const PlMessage &m);
// Number of posted messages waiting (tests).
int MsgPendingCount();
// While set, keys and typed characters stay queued as they came: a get
// takes what stands behind them and leaves them, in their order, for the
// first get after the hold ends. A client waiting for its server holds
// them, so that what the user types meanwhile lands where it was typed
// once the reply is in. Returns the setting it replaces.
bool MsgHoldKeys(bool hold);
// Takes the first held press of key vkey, and its release, out of the
// queue; true when there was one (Esc stops a job while keys are held).
bool MsgTakeHeldKeyDown(uint32_t vkey);
// Drops every posted message and the quit request.
void MsgClear();
// Runs get/translate/dispatch until the queue is idle or quit/timeout; used by
// tests and modal loops. Returns the number of messages dispatched.
int MsgPumpPending();

// Tick count in milliseconds since an arbitrary start; wraps at 2^32.
uint32_t PlTickCount();
// Shifts the tick count (tests of the wrap).
void PlTickSetOffset(uint32_t offset);

// Key state: bit 7 (0x80, and the sign of the 16-bit value) set while down.
int16_t PlKeyState(uint32_t vkey);
void PlSetKeyDown(uint32_t vkey, bool down);

// Cursor position in screen coordinates.
PlPoint PlCursorPos();
void PlSetCursorPos(PlPoint p);

// Input from a back end or a script, in screen coordinates: routed to the
// capturing window or the deepest visible enabled window under the point;
// clicks activate MDI children and top-level windows, non-client clicks work
// the caption buttons and the menu bar. `button` 0 = move, 1 = left, 2 = right.
void MsgInputMouse(PlPoint screen, int button, bool down);
// A key from a back end: key-down/up to the focus (or active) window, with
// the character the translation should give; tracks Shift/Ctrl/Alt state.
void MsgInputKey(uint32_t vkey, bool down, uint32_t charCode);
// A typed character (8-bit) to the focus window.
void MsgInputChar(uint32_t ch);
// The mouse wheel turned by `delta` (kPlWheelDelta per notch, positive away
// from the user) with the pointer at a screen point: message 522 to the
// window under the pointer, else to the focus window.
void MsgInputWheel(PlPoint screen, int delta);
// The default handling of message 522 (WinDefProc): edit fields and buttons
// pass it to the window they sit in; any other window is sent vertical scroll
// messages (277: kPlWheelLines line up or line down per notch, then end
// scroll) as if its scroll bar had been clicked.
intptr_t MsgWheelDefault(uint32_t win, uintptr_t wParam, intptr_t lParam);
// Lines a wheel message asks window `win` to scroll, positive up (toward the
// start); the parts of a notch that fine-grained wheels send add up.
int MsgWheelLines(uint32_t win, uintptr_t wParam);
// The window that gets keys now (focus, else the active top-level window).
uint32_t MsgKeyTarget();
// Deepest visible enabled window under the screen point (0 = none); *client
// receives the point in its client coordinates and *nonClient whether the
// point is in its frame, caption or menu bar.
uint32_t MsgHitTest(PlPoint screen, PlPoint *client, bool *nonClient);

// While set, input for windows outside `win` (and its descendants) is dropped
// (modal dialogs). 0 = none. Returns the previous one.
uint32_t MsgSetModal(uint32_t win);

// The socket wait. By default the queue calls PlSocketPoll and
// PlSocketsActive of the socket layer (socket.h); tests may put their own
// functions in place (null restores the socket layer's).
using PlSocketPostFn = void (*)(uint32_t window, int socket, int eventBits);
using PlSocketPollFn = int (*)(int timeoutMs, PlSocketPostFn post);
using PlSocketsActiveFn = bool (*)();
void MsgSetSocketHooks(PlSocketPollFn poll, PlSocketsActiveFn active);

// Called by a waiting get when the queue is idle: nothing posted, no quit
// request and nothing to paint. A script that drives the program gives it
// its next input from here, so each input meets the program at rest, as
// a user's does; it returns true when it posted something (the get then
// looks again) and false to let the get wait as usual. Peeks never call
// it. Null (the default) is none. Returns the previous hook.
using PlIdleFn = bool (*)();
PlIdleFn MsgSetIdleHook(PlIdleFn hook);

// Work a higher layer does on the program's own clock (the network's
// time-outs): every waiting get calls it once its time has come, whether
// messages are queued or not, and sleeps no longer than until then. It
// returns the milliseconds until it wants to run again (0: at the next
// get, without sleeping in between). It is never called inside itself,
// and not by peeks. Null (the default) is none. Returns the previous one.
using PlTimerFn = uint32_t (*)();
PlTimerFn MsgSetTimer(PlTimerFn timer);
// The function MsgSetTimer installed; null for none.
PlTimerFn MsgTimer();
