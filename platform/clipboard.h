// The clipboard of the platform layer: plain 8-bit text. It is kept inside
// the process; while the screen back end runs it is also shared with the
// display's clipboard (as UTF-8).
#pragma once

#include <string>
#include <string_view>

void ClipboardSetText(std::string_view text);
// False when the clipboard holds no text.
bool ClipboardGetText(std::string *text);
bool ClipboardHasText();
void ClipboardClear();
