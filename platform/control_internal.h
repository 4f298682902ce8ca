// Helpers shared by the built-in controls, menus and dialogs.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/draw.h"
#include "platform/font.h"

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
