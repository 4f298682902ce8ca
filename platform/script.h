// Scripted input for tests and demos: keys, characters, clicks at window
// coordinates and menu commands go into the queue as if a user made them;
// answers for message boxes and dialogs are queued in advance; every modal
// service records what it asked so that tests can read it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog.h"

// A key pressed and released (with Shift and/or Ctrl held around it). Letters,
// digits and space carry their character for the translation (none with Ctrl).
void ScriptKey(uint32_t vkey, bool shift = false, bool ctrl = false);
// Alt+key (menu mnemonics) and Alt alone (vkey 0).
void ScriptAltKey(uint32_t vkey);
// Typed characters (8-bit), each as a character message to the focus window.
void ScriptText(std::string_view text);
// A click of the left (1) or right (2) button at client coordinates of win;
// `dbl` makes it a double-click.
void ScriptClick(uint32_t win, int x, int y, int button = 1, bool dbl = false);
void ScriptMouseMove(uint32_t win, int x, int y, bool leftDown = false);
// The wheel turned `notches` (positive away from the user, scrolling up)
// with the pointer at client coordinates of win.
void ScriptWheel(uint32_t win, int x, int y, int notches);
// A menu command as if chosen: command (273) posted to win's top-level window.
void ScriptMenuCommand(uint32_t win, int id);

// Answers, taken in order by the next services of that kind.
void ScriptAnswerMessageBox(int result);
void ScriptAnswerFile(std::string_view path);  // empty = cancel
void ScriptAnswerPrintSetup(bool ok, const PlPrintSetup &setup);
void ScriptAnswerPrint(bool ok, const PlPrintChoice &choice);
// Run the real modal dialogs also headless (their input then comes from the
// queue; when it runs dry the dialog takes its default).
void ScriptSetInteractive(bool on);
bool ScriptInteractive();

struct PlScriptRecord {
    std::string kind;     // "message", "file", "printsetup", "print", "help"
    std::string caption;  // message caption or dialog title
    std::string text;     // message text; the filter for a file dialog
    int answer = 0;       // the result given (message boxes), 1/0 otherwise
    bool scripted = false;
    int icon = 0;         // message boxes: the PlMbIcon shown (0 none)
    std::string proposed; // file dialogs: the name the dialog proposed
};
const std::vector<PlScriptRecord> &ScriptRecords();
// Text of the last message box, empty when none.
std::string ScriptLastMessage();
// Forgets queued answers, records and the interactive flag.
void ScriptReset();

// Used by the dialogs: take a queued answer of a kind.
bool ScriptTakeMessageBox(int *result);
bool ScriptTakeFile(std::string *path, bool *ok);
bool ScriptTakePrintSetup(PlPrintSetup *setup, bool *ok);
bool ScriptTakePrint(PlPrintChoice *choice, bool *ok);
void ScriptRecord(const PlScriptRecord &record);
