// login.h - logging in to a company, the modules, and what the user may use.
#pragma once

// ---- login_loop.cpp ----
// Logs a user in to the open company; true when one may work in it.
bool LoginLoop();
// Makes the current module current again (a server after an open).
void ModuleReactivate();
// Switches to module m.
void SwitchModule(int m, int flag);
// Opens entry n of the module menu; -1 the compact variant's window.
void OpenModuleEntry(int n);

// ---- user_rights.cpp ----
// True when the user may use windows of the type.
bool MayUseWindowItem(int type);
// True when the user may use module m.
bool MayUseModule(int m);
