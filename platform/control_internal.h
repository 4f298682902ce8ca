// Helpers shared by the built-in controls, menus and dialogs.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "platform/draw.h"
#include "platform/font.h"
#include "platform/queue.h"
#include "platform/window.h"

// The states of all windows of one kind of control, by window id: each
// control's procedure makes a window's state on create and erases it on
// destroy. State is the control's own (file-local) struct, so every kind
// has its own table.
template <typename State>
std::unordered_map<uint32_t, State> &CtlStates()
{
    static std::unordered_map<uint32_t, State> m;
    return m;
}

// A window's state, or nullptr when it has none (not a control of this
// kind, or already destroyed: a message handler that sent a message must
// look it up again, since the table may have changed).
template <typename State>
State *CtlStateOf(uint32_t win)
{
    auto &m = CtlStates<State>();
    auto it = m.find(win);
    return it == m.end() ? nullptr : &it->second;
}

// The messages every control answers alike, at the head of its procedure:
// Create makes the window's state (a default State, then made(win, state)
// for what the control sets up on creation), Destroy erases it, Paint
// paints it and EraseBkgnd is answered, since the paint covers everything.
// Returns the window's state for any other message; null when the message
// was answered here (the answer in *result), which includes a window that
// has no state (passed to WinDefProc).
template <typename State, typename PaintFn, typename MadeFn>
State *CtlCommonMessages(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam, intptr_t *result,
                         PaintFn paint, MadeFn made)
{
    *result = 0;
    if (msg == PlMsg::Create) {
        made(win, CtlStates<State>()[win] = State{});
        return nullptr;
    }
    State *s = CtlStateOf<State>(win);
    if (!s) {
        *result = WinDefProc(win, msg, wParam, lParam);
        return nullptr;
    }
    switch (msg) {
    case PlMsg::Destroy: CtlStates<State>().erase(win); return nullptr;
    case PlMsg::Paint: paint(win, *s); return nullptr;
    case PlMsg::EraseBkgnd: *result = 1; return nullptr;
    default: return s;
    }
}
template <typename State, typename PaintFn>
State *CtlCommonMessages(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam, intptr_t *result,
                         PaintFn paint)
{
    return CtlCommonMessages<State>(win, msg, wParam, lParam, result, paint, [](uint32_t, State &) {});
}

// Sends command (273) with `code` to the control's parent.
void CtlNotify(uint32_t win, int code);
// The control's font (the regular UI font when none was set).
PlFont *CtlFont(uint32_t win);
// Width of text in the font.
int CtlTextWidth(PlFont *font, std::string_view text);
// A raised (or, pressed, sunken) three-dimensional box filled light grey.
void CtlDraw3dBox(DrawContext *dc, const PlRect &r, bool pressed);
// Text centred in r.
void CtlDrawCentred(DrawContext *dc, PlFont *font, const PlRect &r, std::string_view text, PlColor color);
// Text with "&" mnemonics: the "&" is left out and the next letter is
// underlined ("&&" gives one "&"). Draws at (x, y) top-left; returns the width.
int CtlDrawMnemonic(DrawContext *dc, PlFont *font, int x, int y, std::string_view text, PlColor color);
int CtlMnemonicWidth(PlFont *font, std::string_view text);
// The mnemonic letter (upper case) of a text, 0 when none.
char CtlMnemonicOf(std::string_view text);
