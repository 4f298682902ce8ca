// user_rights.cpp - what the logged-in user may use. An empty access
// list allows everything, and no company has users yet.
#include "shell/login.h"

// True when the user may use windows of the type.
bool MayUseWindowItem(int type) { return true; }

// True when the user may use module m.
bool MayUseModule(int m) { return true; }

// The right an access list gives for an item of a kind; 0 (refused) here.
int UserAccessRight(MemBlock list, int type, int item) { return 0; }

// The right an access list gives for a module; 0 (refused) here.
int UserAccessRightType1(MemBlock list, int module) { return 0; }
