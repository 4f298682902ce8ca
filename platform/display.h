// Display back ends. Headless is the default: windows live only in their
// surfaces (save them with WinSavePng). The screen back end shows the active
// top-level window's surface in an SDL window, presents after paints and
// feeds the keyboard, text and mouse of that window into the queue.
#pragma once

#include <cstdint>
#include <string>

enum class PlDisplayKind : uint8_t { Headless, Screen };

// Opens a back end. Screen needs DISPLAY or WAYLAND_DISPLAY naming a display
// that answers; otherwise it returns false, stays headless and puts the reason,
// one line naming the display, into *error (the program says it and exits).
// Headless always succeeds.
bool DisplayOpen(PlDisplayKind kind, std::string *error);
void DisplayClose();
bool DisplayIsScreen();
// True when a display seems present (DISPLAY or WAYLAND_DISPLAY set).
bool DisplayAvailable();

// Used by the queue: takes pending events (waiting up to timeoutMs, -1 =
// forever) and posts them as messages; true when something was posted.
bool DisplayPump(int timeoutMs);
// Shows the surfaces that changed since the last present.
void DisplayPresent();
// Reads back a pixel (0xRRGGBB) of what the screen window shows, at window
// coordinates of the shown top-level window. False when nothing is shown.
bool DisplayReadPixel(int x, int y, uint32_t *rgb);

// Mouse cursor shapes (the program shows the hour-glass while it works).
enum class PlCursor : uint8_t { Arrow, Wait };
void PlSetCursorShape(PlCursor shape);
PlCursor PlCursorShape();
// The default beep; counted (tests read the count), silent headless.
void PlBeep();
int PlBeepCount();

// SDL back end (display_sdl.cpp).
union SDL_Event;
bool SdlDisplayOpen(std::string *error);
void SdlDisplayClose();
bool SdlDisplayPump(int timeoutMs);
void SdlDisplayPresent(bool force);
bool SdlDisplayReadPixel(int x, int y, uint32_t *rgb);
void SdlDisplaySetCursor(PlCursor shape);
// Turns one SDL event into queue input (keys, text, mouse, wheel, closing and
// resizing the shown window). Needs no display, so tests feed it events.
void SdlTranslateEvent(const SDL_Event &e);
// True while a key pressed with AltGr waits for the text it may type.
bool SdlTranslateWaiting();
// The end of a run of events: a key still waiting typed nothing.
void SdlTranslateEnd();
