// login.h - logging in to a company, the modules, and what the user may use.
#pragma once

#include "core/memblock.h"

// ---- login_loop.cpp ----
// Logs a user in to the open company; true when one may work in it.
bool LoginLoop();
// Makes the current module current again (a server after an open).
void ModuleReactivate();
// Switches to module m.
void SwitchModule(int m, int flag);
// Opens entry n of the module menu; -1 the compact variant's window.
void OpenModuleEntry(int n);
// True when module-table entry `code` belongs to the current module.
bool ModuleMatches(int code);
// True when the user may open windows of the type.
bool MayOpenWindowType(int type);

// ---- user_rights.cpp ----
// True when the user may use windows of the type.
bool MayUseWindowItem(int type);
// True when the user may use module m.
bool MayUseModule(int m);
// The right an access list gives for an item of a kind (3: a window type).
int UserAccessRight(MemBlock list, int type, int item);
// The right an access list gives for module `module`.
int UserAccessRightType1(MemBlock list, int module);
