// user_rights.cpp - what the logged-in user may use. An empty access
// list allows everything, and no company has users yet.
#include "shell/login.h"

// True when the user may use windows of the type.
bool MayUseWindowItem(int type) { return true; }

// True when the user may use module m.
bool MayUseModule(int m) { return true; }
