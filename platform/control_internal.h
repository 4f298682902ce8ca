// Helpers shared by the built-in controls, menus and dialogs.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "platform/draw.h"
#include "platform/font.h"

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
