// keys.cpp - the keys the shell takes before the controls, the key
// commands and the help file.
#include "shell/procedures.h"

// Takes a key message before its control does; true when taken.
bool KeyPreTranslate(const PlMessage &m) { return false; }

// Runs the shell's command for character c; true when taken.
bool KeyCharCommand(int c) { return false; }

// Runs the key table entry of character c in window n.
void KeyActionTable(int n, int c) {}

// Opens the help file.
void HelpOpen() {}
