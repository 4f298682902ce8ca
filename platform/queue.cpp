// The message queue: posted messages, quit, paint generation, waiting on the
// display and the sockets with an optional time-out, key translation, input
// routing (hit-testing, double-clicks, capture, activation), key state,
// cursor position and the tick count.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <thread>

#include "platform/control.h"
#include "platform/display.h"
#include "platform/instance.h"
#include "platform/queue.h"
#include "platform/socket.h"
#include "platform/window.h"
#include "platform/window_internal.h"

namespace {
struct QueueState {
    std::deque<PlMessage> posted;
    bool quitPending = false;
    int quitCode = 0;
    uint32_t tickOffset = 0;
    uint8_t keys[256] = {};       // as of the input message being handled
    uint8_t asyncKeys[256] = {};  // as of the latest input
    PlPoint cursor{0, 0};
    uint32_t modal = 0;
    // Double-click detection.
    uint32_t lastClickWin = 0;
    uint32_t lastClickTime = 0;
    PlPoint lastClickPos{0, 0};
    bool altAlone = false;
    // Wheel turns smaller than a notch, kept until they make one (per window).
    uint32_t wheelWin = 0;
    int wheelRest = 0;
    PlSocketPollFn socketPoll = PlSocketPoll;
    PlSocketsActiveFn socketsActive = PlSocketsActive;
    PlIdleFn idle = nullptr;
    PlTimerFn timer = nullptr;
    uint32_t timerLast = 0;    // tick of the timer's last call
    uint32_t timerDelay = 0;   // the wait it asked for then
    bool timerRunning = false;
    bool holdKeys = false;     // keys and characters stay queued raw (MsgHoldKeys)
};

QueueState &Q()
{
    static QueueState q;
    return q;
}

constexpr uint32_t kDoubleClickMs = 500;
constexpr int kDoubleClickSlop = 4;

void SocketPost(uint32_t window, int socket, int eventBits)
{
    MsgPost(window, PlMsg::Socket, uintptr_t(socket), intptr_t(eventBits));
}

bool SocketsActive() { return Q().socketPoll && Q().socketsActive && Q().socketsActive(); }

int SocketPoll(int timeoutMs)
{
    if (!SocketsActive()) return 0;
    return Q().socketPoll(timeoutMs, SocketPost);
}

PlMessage Make(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    return PlMessage{win, msg, wParam, lParam, PlTickCount(), Q().cursor, 0};
}

bool Down(uint32_t vkey) { return (Q().keys[vkey & 0xFF] & 0x80) != 0; }

// Input waits in the queue in raw form and is turned into a message for a
// window only when it is taken, so that focus, capture and activation
// changes made by earlier messages decide where it goes.
constexpr uint32_t kRawMouse = 0xFFFF0001u;
constexpr uint32_t kRawKey = 0xFFFF0002u;
constexpr uint32_t kRawChar = 0xFFFF0003u;
constexpr uint32_t kRawWheel = 0xFFFF0004u;
constexpr uint32_t kSnapKeys[] = {PlKey::Shift, PlKey::Control, PlKey::Menu, 1, 2};

uint32_t Snapshot()
{
    uint32_t bits = 0;
    for (size_t i = 0; i < std::size(kSnapKeys); ++i)
        if (Q().asyncKeys[kSnapKeys[i]] & 0x80) bits |= 1u << i;
    return bits;
}

void ApplySnapshot(uint32_t bits)
{
    for (size_t i = 0; i < std::size(kSnapKeys); ++i) Q().keys[kSnapKeys[i]] = (bits >> i) & 1 ? 0x80 : 0;
}

void PostFront(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam, uint32_t charCode)
{
    PlMessage m = PlMessage{win, msg, wParam, lParam, PlTickCount(), Q().cursor, charCode};
    Q().posted.push_front(m);
}

void RouteRaw(const PlMessage &raw);

// The control character a key gives, 0 for none.
uint32_t ControlChar(uint32_t vkey)
{
    bool ctrl = Down(PlKey::Control), shift = Down(PlKey::Shift);
    switch (vkey) {
    case PlKey::Back: return 8;
    case PlKey::Tab: return 9;
    case PlKey::Return: return ctrl ? 10 : 13;
    case PlKey::Escape: return 27;
    default: break;
    }
    if (ctrl && vkey >= 'A' && vkey <= 'Z') return vkey - 'A' + 1;
    if (ctrl && shift && vkey == '6') return 30;
    if (ctrl && shift && vkey == 189) return 31;  // the minus key: Ctrl+_
    return 0;
}

// A window inside the modal window (or no modal window set).
bool ModalAllows(uint32_t win)
{
    uint32_t modal = Q().modal;
    if (!WinGet(modal)) return true;
    return win == modal || WinIsChildOf(win, modal);
}

bool IsRaw(const PlMessage &m)
{
    return m.win == 0 && (m.msg == kRawMouse || m.msg == kRawKey || m.msg == kRawChar || m.msg == kRawWheel);
}

// True for raw input that a hold of the keys leaves queued.
bool HeldNow(const PlMessage &m) { return Q().holdKeys && (m.msg == kRawKey || m.msg == kRawChar); }

// The first message to take: raw input is routed on the way (and what it
// posts taken first); while keys are held they are passed over and stay
// where they stand, in their order.
bool TakePosted(PlMessage *out, bool remove)
{
    auto &posted = Q().posted;
    for (size_t i = 0; i < posted.size();) {
        PlMessage m = posted[i];
        if (IsRaw(m)) {
            if (HeldNow(m)) {
                i++;
                continue;
            }
            posted.erase(posted.begin() + std::ptrdiff_t(i));
            RouteRaw(m);
            i = 0;
            continue;
        }
        // Messages for windows destroyed since they were posted are dropped.
        if (m.win != 0 && !WinGet(m.win)) {
            posted.erase(posted.begin() + std::ptrdiff_t(i));
            continue;
        }
        if (out) *out = m;
        if (remove) posted.erase(posted.begin() + std::ptrdiff_t(i));
        return true;
    }
    return false;
}

// Milliseconds until the timer is due (0: now); UINT32_MAX without one.
uint32_t TimerLeft()
{
    QueueState &q = Q();
    if (!q.timer || q.timerRunning) return UINT32_MAX;
    uint32_t elapsed = PlTickCount() - q.timerLast;  // unsigned: wrap-safe
    return elapsed >= q.timerDelay ? 0 : q.timerDelay - elapsed;
}

void RunTimerIfDue()
{
    QueueState &q = Q();
    if (TimerLeft() != 0) return;
    q.timerRunning = true;
    uint32_t delay = q.timer();
    q.timerRunning = false;
    q.timerLast = PlTickCount();
    q.timerDelay = delay;
}

PlGet Wait(PlMessage *out, bool hasTimeout, uint32_t timeoutMs)
{
    QueueState &q = Q();
    uint32_t start = PlTickCount();
    for (;;) {
        // First, so that a stream of messages never keeps it waiting.
        RunTimerIfDue();
        if (TakePosted(out, true)) return PlGet::Message;
        if (q.quitPending) {
            q.quitPending = false;
            *out = Make(0, PlMsg::Quit, uintptr_t(q.quitCode), 0);
            return PlGet::Quit;
        }
        if (DisplayPump(0)) continue;
        if (SocketPoll(0) > 0) continue;
        if (InstancePoll()) continue;
        uint32_t target = WinFindPaintTarget();
        if (target) {
            *out = Make(target, PlMsg::Paint, 0, 0);
            return PlGet::Message;
        }
        DisplayPresent();
        // Everything that was there is handled: whoever drives the program
        // by script may give it the next input now.
        if (q.idle && q.idle()) continue;
        int wait = -1;
        if (hasTimeout) {
            uint32_t elapsed = PlTickCount() - start;  // unsigned: wrap-safe
            if (elapsed >= timeoutMs) return PlGet::Timeout;
            wait = int(timeoutMs - elapsed);
        }
        // The timer's time comes within this wait: it ends then.
        uint32_t timerLeft = TimerLeft();
        if (timerLeft != UINT32_MAX && (wait < 0 || uint32_t(wait) > timerLeft)) wait = int(timerLeft);
        bool screen = DisplayIsScreen();
        bool sockets = SocketsActive();
        bool instance = InstanceHeld();
        if (!screen && !sockets) {
            if (instance) {
                InstanceWait(wait);
                continue;
            }
            if (!hasTimeout) return PlGet::Idle;
            std::this_thread::sleep_for(std::chrono::milliseconds(wait));
            continue;
        }
        if (screen && sockets) {
            // The wait sleeps in the sockets' poll, so a request wakes the
            // loop at once; the screen's input is looked at between short
            // slices (a few milliseconds are nothing to a hand on a key).
            int slice = (wait < 0 || wait > 8) ? 8 : wait;
            if (SocketPoll(slice) == 0) DisplayPump(0);
        } else if (screen) {
            DisplayPump(wait);
        } else {
            // A waiting show request is looked at at least four times a second.
            SocketPoll(instance && (wait < 0 || wait > 250) ? 250 : wait);
        }
    }
}
}  // namespace

// ---------------------------------------------------------------------------

bool MsgPost(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (win != 0 && !WinGet(win)) return false;
    Q().posted.push_back(Make(win, msg, wParam, lParam));
    return true;
}

bool MsgPostKey(uint32_t win, uint32_t msg, uint32_t vkey, uint32_t charCode)
{
    if (win != 0 && !WinGet(win)) return false;
    PlMessage m = Make(win, msg, vkey, 0);
    m.charCode = charCode;
    Q().posted.push_back(m);
    return true;
}

intptr_t MsgSend(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    return WinSend(win, msg, wParam, lParam);
}

void MsgPostQuit(int exitCode)
{
    Q().quitPending = true;
    Q().quitCode = exitCode;
}

PlGet MsgGet(PlMessage *out) { return Wait(out, false, 0); }

PlGet MsgGetTimeout(PlMessage *out, uint32_t timeoutMs) { return Wait(out, true, timeoutMs); }

bool MsgPeek(PlMessage *out, bool remove)
{
    QueueState &q = Q();
    if (TakePosted(out, remove)) return true;
    if (DisplayPump(0) || SocketPoll(0) > 0)
        if (TakePosted(out, remove)) return true;
    if (q.quitPending) {
        if (out) *out = Make(0, PlMsg::Quit, uintptr_t(q.quitCode), 0);
        if (remove) q.quitPending = false;
        return true;
    }
    uint32_t target = WinFindPaintTarget();
    if (target) {
        if (out) *out = Make(target, PlMsg::Paint, 0, 0);
        return true;
    }
    return false;
}

bool MsgTranslate(const PlMessage &m)
{
    if (m.msg != PlMsg::KeyDown) return false;
    uint32_t ch = m.charCode ? m.charCode : ControlChar(uint32_t(m.wParam));
    if (ch == 0) return false;
    // The character goes right after the key-down, before later input.
    PlMessage c = Make(m.win, PlMsg::Char, ch, 0);
    Q().posted.push_front(c);
    return true;
}

intptr_t MsgDispatch(const PlMessage &m)
{
    if (m.win == 0 || !WinGet(m.win)) return 0;
    intptr_t r = WinSend(m.win, m.msg, m.wParam, m.lParam);
    // A paint handler that did not validate would be asked again forever.
    if (m.msg == PlMsg::Paint && WinHasInvalid(m.win)) WinValidate(m.win, nullptr);
    return r;
}

void MsgDropSocketEvents(int socket)
{
    auto &posted = Q().posted;
    posted.erase(std::remove_if(posted.begin(), posted.end(),
                                [socket](const PlMessage &m) {
                                    return m.msg == PlMsg::Socket && m.wParam == uintptr_t(socket);
                                }),
                 posted.end());
}

int MsgPendingCount() { return int(Q().posted.size()); }

bool MsgHoldKeys(bool hold)
{
    bool was = Q().holdKeys;
    Q().holdKeys = hold;
    return was;
}

bool MsgTakeHeldKeyDown(uint32_t vkey)
{
    auto &posted = Q().posted;
    for (auto it = posted.begin(); it != posted.end(); ++it) {
        if (!IsRaw(*it) || it->msg != kRawKey || it->wParam != vkey || it->lParam == 0) continue;
        it = posted.erase(it);
        // Its release goes with it, so no key-up arrives for a press never seen.
        for (; it != posted.end(); ++it) {
            if (IsRaw(*it) && it->msg == kRawKey && it->wParam == vkey && it->lParam == 0) {
                posted.erase(it);
                break;
            }
        }
        return true;
    }
    return false;
}

void MsgClear()
{
    Q().posted.clear();
    Q().quitPending = false;
    Q().lastClickWin = 0;
}

int MsgPumpPending()
{
    int count = 0;
    PlMessage m;
    for (int guard = 0; guard < 100000; ++guard) {
        if (!MsgPeek(&m, true)) break;
        if (m.msg == PlMsg::Quit && m.win == 0) {
            MsgPostQuit(int(m.wParam));
            break;
        }
        MsgTranslate(m);
        MsgDispatch(m);
        ++count;
    }
    return count;
}

// ---------------------------------------------------------------------------

uint32_t PlTickCount()
{
    using namespace std::chrono;
    static const steady_clock::time_point start = steady_clock::now();
    uint64_t ms = uint64_t(duration_cast<milliseconds>(steady_clock::now() - start).count());
    return uint32_t(ms) + Q().tickOffset;
}

void PlTickSetOffset(uint32_t offset) { Q().tickOffset = offset; }

int16_t PlKeyState(uint32_t vkey) { return Down(vkey) ? int16_t(-128) : int16_t(0); }

void PlSetKeyDown(uint32_t vkey, bool down)
{
    Q().keys[vkey & 0xFF] = down ? 0x80 : 0;
    Q().asyncKeys[vkey & 0xFF] = down ? 0x80 : 0;
}

PlPoint PlCursorPos() { return Q().cursor; }
void PlSetCursorPos(PlPoint p) { Q().cursor = p; }

uint32_t MsgSetModal(uint32_t win)
{
    uint32_t old = Q().modal;
    Q().modal = win;
    return old;
}

void MsgSetSocketHooks(PlSocketPollFn poll, PlSocketsActiveFn active)
{
    Q().socketPoll = poll ? poll : PlSocketPoll;
    Q().socketsActive = active ? active : PlSocketsActive;
}

PlIdleFn MsgSetIdleHook(PlIdleFn hook)
{
    PlIdleFn old = Q().idle;
    Q().idle = hook;
    return old;
}

PlTimerFn MsgTimer() { return Q().timer; }

PlTimerFn MsgSetTimer(PlTimerFn timer)
{
    PlTimerFn old = Q().timer;
    Q().timer = timer;
    Q().timerLast = PlTickCount();
    Q().timerDelay = 0;
    return old;
}

// ---------------------------------------------------------------------------
// Input routing.

static uint32_t HitIn(uint32_t win, PlPoint screen)
{
    WinRec *w = WinGet(win);
    if (!w || !w->visible || !w->enabled) return 0;
    if (!PlRectContains(WinScreenRect(win), screen)) return 0;
    if (PlRectContains(WinClientScreenRect(win), screen)) {
        for (uint32_t c : w->children) {
            uint32_t hit = HitIn(c, screen);
            if (hit) return hit;
        }
    }
    return win;
}

uint32_t MsgHitTest(PlPoint screen, PlPoint *client, bool *nonClient)
{
    uint32_t hit = 0;
    for (uint32_t t : WinSys().topLevels) {
        hit = HitIn(t, screen);
        if (hit) break;
    }
    if (client) *client = hit ? WinScreenToClient(hit, screen) : PlPoint{0, 0};
    if (nonClient) *nonClient = hit && !PlRectContains(WinClientScreenRect(hit), screen);
    return hit;
}

uint32_t MsgKeyTarget()
{
    uint32_t f = WinFocus();
    if (f && WinIsVisible(f)) return f;
    uint32_t a = WinActiveWindow();
    return WinGet(a) ? a : 0;
}

static uintptr_t MouseKeys()
{
    uintptr_t k = 0;
    if (Down(1)) k |= PlMouseKey::LButton;
    if (Down(2)) k |= PlMouseKey::RButton;
    if (Down(PlKey::Shift)) k |= PlMouseKey::Shift;
    if (Down(PlKey::Control)) k |= PlMouseKey::Control;
    return k;
}

static void RouteMouse(PlPoint screen, int button, bool down)
{
    QueueState &q = Q();
    if (WinNcDragging()) {
        if (button == 0) WinNcMouseMove(screen, Down(1));
        else if (button == 1 && !down) WinNcButtonUp(screen);
        return;
    }
    uint32_t target = WinCapture();
    PlPoint pt{0, 0};
    bool nonClient = false;
    if (target) pt = WinScreenToClient(target, screen);
    else target = MsgHitTest(screen, &pt, &nonClient);
    if (!target || !ModalAllows(target)) return;
    if (down && !WinCapture()) {
        WinActivate(target);
        if (WinHooksRef().mouseActivate) WinHooksRef().mouseActivate(target);
        if (!WinGet(target)) return;
    }
    if (nonClient) {
        WinRec *w = WinGet(target);
        if (down && button == 1) WinNcButtonDown(target, WinNcHitTest(w, screen), screen);
        return;
    }
    uint32_t msg = PlMsg::MouseMove;
    if (button == 1) msg = down ? PlMsg::LButtonDown : PlMsg::LButtonUp;
    if (button == 2) msg = down ? PlMsg::RButtonDown : PlMsg::RButtonUp;
    if (msg == PlMsg::LButtonDown) {
        const WinClassRec *c = WinClassOf(WinGet(target));
        // The first press may have put a control under the pointer (a
        // field's edit control opens on its first click): a second press
        // on a child of the window pressed first is the same spot's.
        bool same = q.lastClickWin == target || (q.lastClickWin && WinParent(target) == q.lastClickWin);
        bool dbl = c && (c->style & PlClassStyle::DblClks) && same &&
                   PlTickCount() - q.lastClickTime <= kDoubleClickMs &&
                   std::abs(screen.x - q.lastClickPos.x) <= kDoubleClickSlop &&
                   std::abs(screen.y - q.lastClickPos.y) <= kDoubleClickSlop;
        if (dbl) {
            msg = PlMsg::LButtonDblClk;
            q.lastClickWin = 0;
        } else {
            q.lastClickWin = target;
            q.lastClickTime = PlTickCount();
            q.lastClickPos = screen;
        }
    }
    PostFront(target, msg, MouseKeys(), PlMakeLong(pt.x, pt.y), 0);
}

static void RouteKey(uint32_t vkey, bool down, uint32_t charCode)
{
    QueueState &q = Q();
    uint32_t target = MsgKeyTarget();
    if (vkey == PlKey::Menu) {
        // Alt pressed and released alone enters the menu bar.
        if (down) q.altAlone = true;
        else if (q.altAlone && target && ModalAllows(target)) PostFront(target, PlMsg::SysKeyUp, PlKey::Menu, 1, 0);
        if (!down) q.altAlone = false;
        return;
    }
    q.altAlone = false;
    if (vkey == PlKey::Shift || vkey == PlKey::Control) {
        if (target && ModalAllows(target)) PostFront(target, down ? PlMsg::KeyDown : PlMsg::KeyUp, vkey, 0, 0);
        return;
    }
    if (!target || !ModalAllows(target)) return;
    if (Down(PlKey::Menu) || vkey == PlKey::F10) {
        PostFront(target, down ? PlMsg::SysKeyDown : PlMsg::SysKeyUp, vkey, 0, charCode);
        return;
    }
    if (down) PostFront(target, PlMsg::KeyDown, vkey, 0, charCode ? charCode : ControlChar(vkey));
    else PostFront(target, PlMsg::KeyUp, vkey, 0, 0);
}

static void RouteChar(uint32_t ch)
{
    uint32_t target = MsgKeyTarget();
    if (!target || !ModalAllows(target) || ch == 0 || ch > 255) return;
    PostFront(target, PlMsg::Char, ch, 0, 0);
}

static void RouteWheel(PlPoint screen, int delta)
{
    uint32_t target = MsgHitTest(screen, nullptr, nullptr);
    if (!target) target = MsgKeyTarget();
    if (!target || !ModalAllows(target)) return;
    uintptr_t w = MouseKeys() | (uintptr_t(uint16_t(int16_t(delta))) << 16);
    PostFront(target, PlMsg::MouseWheel, w, PlMakeLong(screen.x, screen.y), 0);
}

namespace {
void RouteRaw(const PlMessage &raw)
{
    ApplySnapshot(raw.charCode >> 16);
    switch (raw.msg) {
    case kRawMouse:
        Q().cursor = raw.pt;
        RouteMouse(raw.pt, int(raw.wParam), raw.lParam != 0);
        break;
    case kRawKey:
        Q().keys[raw.wParam & 0xFF] = raw.lParam ? 0x80 : 0;
        RouteKey(uint32_t(raw.wParam), raw.lParam != 0, raw.charCode & 0xFFFF);
        break;
    case kRawWheel:
        Q().cursor = raw.pt;
        RouteWheel(raw.pt, int(raw.lParam));
        break;
    default:
        RouteChar(uint32_t(raw.wParam));
        break;
    }
}

void PushRaw(uint32_t kind, uintptr_t wParam, intptr_t lParam, PlPoint pt, uint32_t charCode)
{
    PlMessage m{0, kind, wParam, lParam, PlTickCount(), pt, (charCode & 0xFFFF) | (Snapshot() << 16)};
    Q().posted.push_back(m);
}
}  // namespace

void MsgInputMouse(PlPoint screen, int button, bool down)
{
    if (button == 1 || button == 2) Q().asyncKeys[button] = down ? 0x80 : 0;
    Q().cursor = screen;
    PushRaw(kRawMouse, uintptr_t(button), down ? 1 : 0, screen, 0);
}

void MsgInputKey(uint32_t vkey, bool down, uint32_t charCode)
{
    Q().asyncKeys[vkey & 0xFF] = down ? 0x80 : 0;
    PushRaw(kRawKey, vkey, down ? 1 : 0, Q().cursor, charCode);
}

void MsgInputChar(uint32_t ch)
{
    if (ch == 0 || ch > 255) return;
    PushRaw(kRawChar, ch, 0, Q().cursor, 0);
}

void MsgInputWheel(PlPoint screen, int delta)
{
    delta = std::clamp(delta, -32768, 32767);
    if (delta == 0) return;
    Q().cursor = screen;
    PushRaw(kRawWheel, 0, delta, screen, 0);
}

int MsgWheelLines(uint32_t win, uintptr_t wParam)
{
    QueueState &q = Q();
    if (q.wheelWin != win) q.wheelRest = 0;
    q.wheelWin = win;
    q.wheelRest += int(int16_t(uint16_t(wParam >> 16)));
    int notches = q.wheelRest / kPlWheelDelta;  // toward zero: the rest keeps its sign
    q.wheelRest -= notches * kPlWheelDelta;
    return notches * kPlWheelLines;
}

intptr_t MsgWheelDefault(uint32_t win, uintptr_t wParam, intptr_t lParam)
{
    std::string cls = WinClassName(win);
    uint32_t parent = WinParent(win);
    if (parent && (cls == "Edit" || cls == "Button")) return WinSend(parent, PlMsg::MouseWheel, wParam, lParam);
    int lines = MsgWheelLines(win, wParam);
    if (lines == 0) return 0;
    uintptr_t code = uintptr_t(lines > 0 ? PlSb::LineUp : PlSb::LineDown);
    for (int i = 0; i < std::abs(lines) && WinIsWindow(win); ++i) WinSend(win, PlMsg::VScroll, code, 0);
    if (WinIsWindow(win)) WinSend(win, PlMsg::VScroll, uintptr_t(PlSb::EndScroll), 0);
    return 0;
}
