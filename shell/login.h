// login.h - logging in to a company, the modules, and what the user may use.
#pragma once

#include <cstdint>

#include "core/list_slot.h"
#include "core/memblock.h"
#include "core/password_verifier.h"

// ---- module_switch.cpp ----
// A server, after it opens a company: makes the server's module current (menus, lists, bars follow).
void ModuleReactivate();
// Switches to module m (65535 or -1: the module list); flag as the caller gives it.
void SwitchModule(int m, int flag);
// Makes `module` current after `previous`: menus, lists, bars and the network follow.
void ActivateModule(int module, int previous);
// Opens entry n of the module menu; -1 the compact variant's window.
void OpenModuleEntry(int n);
// True when module-table entry `code` belongs to the current module.
bool ModuleMatches(int code);
// The k-th (from 1) module-table entry of the current module whose window
// the user may use; null when none.
const uint8_t *PermittedModuleEntry(int k);

// ---- login_loop.cpp ----
// Logs a user in to the open company; true when one may work in it.
bool LoginLoop();
// Ends the login window's nested loop: DialogDoneFlag set; cancel also sets LoginCancelFlag.
void LoginWindowDone(bool cancel);
// Forgets the login when the company closes: LoggedInFlag 0, the access list freed.
void LoginStateReset();

// ---- user_login.cpp ----
// Checks name and password against the company's persons; true when accepted,
// the access record read into `access` and the session entry filled. `name`
// (a PString buffer of 256 bytes) becomes the person's code.
bool UserLogin(uint8_t *name, const uint8_t *password, uint8_t *access);
// Whom a login name names, as a challenge-response login needs it before
// the proof: a company without persons (any pair enters), the master
// password of "ADMIN", or a person and its verifier.
struct LoginTarget {
    enum Kind { Nobody, Open, Master, Person } kind = Nobody;
    PasswordVerifier verifier;
    uint8_t code[6] = {0};   // the person's code (PString)
};
// The person the name names (by code, else by name) with its verifier;
// false when there is none or it has no verifier.
bool UserLoginTarget(const uint8_t *name, LoginTarget *target);
// UserLogin's acceptance for a target whose password was proven.
bool UserLoginAcceptTarget(const LoginTarget &target, uint8_t *name, uint8_t *access);
// UserLogin with the logged-in user's work record as the access record.
bool UserLoginCurrent(uint8_t *name, const uint8_t *password);
// Logs in locally, or at the server in client mode; true when accepted.
bool UserLoginCall(uint8_t *name, const uint8_t *password);

// ---- user_rights.cpp ----
// The rights a login gave: the access list's rows (three u16 each) and
// whether the user is the administrator, whose empty list allows all.
struct UserRightsRec {
    const uint8_t *rows = nullptr;
    uint32_t count = 0;
    bool administrator = false;
};
// The logged-in user is the administrator (set by each accepted login).
extern bool UserIsAdministrator;
// The right explicit rights give for an item of a kind (3: a window
// type), and for module `module`.
int UserAccessRight(const UserRightsRec &r, int type, int item);
int UserAccessRightType1(const UserRightsRec &r, int module);
// What the server checks before it serves a request (see user_rights.cpp).
bool RightsMayWriteRegister(const UserRightsRec &r, int reg);
bool RightsMayReadRegister(const UserRightsRec &r, int reg);
bool RightsMayWriteBlock(const UserRightsRec &r, int block);
bool RightsMayChangeGroups(const UserRightsRec &r);
bool RightsMayUpdatePerson(const UserRightsRec &r, const uint8_t *ownCode, const uint8_t *stored, const uint8_t *person);
// The one answer to a write by a user with rights r (ownCode: the user's
// person code, a PString): a client's request at its server, or the
// user's own write in a program that keeps the company itself. `request`
// names the write as a client's request code would (insert, update,
// delete, a record lock, a conversion, an approval). 0 allows; otherwise
// the refusal is told (text 16001) and returned as the write's result.
int RightsRefuseWrite(const UserRightsRec &r, const uint8_t *ownCode, uint16_t request, int reg, const uint8_t *record,
                      uint32_t recid);
// The same for a settings block's store or lock.
int RightsRefuseBlock(const UserRightsRec &r, int block);
// The same for a run (job_rights.cpp): a client's run request `code` (a
// report or document run, an export of number `kind`, a maintenance
// routine, the runs 46..50, an import) with its job record: allowed when
// the menus would offer it and the user may write what it writes.
int RightsRefuseRun(const UserRightsRec &r, uint16_t code, int kind, const uint8_t *job);
// The same questions asked of the user at this program's screen, as the
// record layer's hooks (AccessUiHooks): a write, a settings block's lock,
// a run.
int LocalRefuseWrite(uint16_t request, int reg, const uint8_t *record, uint32_t recid);
int LocalRefuseBlock(int block);
int LocalRefuseRun(uint16_t code, int kind, const uint8_t *job);
// True while a company is open and no one is logged in to it (the login
// window waits, or a server's own frame serves): nobody has a right then,
// and the frame answers nothing but the login window and the way out.
bool NobodyLoggedIn();

// True when the person record is the administrator's: its code is
// "ADMIN", its group is the non-empty one of the person "ADMIN", or the
// company keeps no access groups.
bool PersonIsAdministrator(const uint8_t *person);
// The same checks of the logged-in user before a window stores, in a
// program that keeps the company itself: true when allowed, else the
// refusal is told. A person's update gives the stored record and the new
// one; an insert or a delete gives neither.
bool MayStorePersonHere(const uint8_t *stored, const uint8_t *person);
bool MayStoreBlockHere(int block);
// True when the user may run a text import (it can write persons and
// access groups: only one who may change the groups); told when not.
bool MayImportHere();
// True when the user at this program's screen may read register reg: the
// persons and the access groups by their windows' rights, any other
// always (nobody reads none of the two).
bool MayReadRegisterHere(int reg);
// True when the user at this program's screen is the administrator.
bool AdministratorHere();
// The kinds of an access group's right rows (a row's first word): a
// module, a window's item, a window type, and the runs of the first and
// the second list of a module's functions.
enum class RightKind : int { Module = 1, WindowItem = 2, WindowType = 3, FirstList = 4, SecondList = 5 };
constexpr int RightCode(RightKind k) { return static_cast<int>(k); }
// True when the menus would offer the run of list table `slot` with the number.
bool RightsMayUseListed(const UserRightsRec &r, ListSlot slot, RightKind right, int number);
// True when the user may use windows of the type (type-2 right).
bool MayUseWindowItem(int type);
// True when the user may use module m (type-1 right).
bool MayUseModule(int m);
// True when the user may open windows of the type: its register's right, else its type-3 right.
bool MayOpenWindowType(int type);
// True when a window of the type may be open for the user: a register's
// or a settings block's by MayOpenWindowType; any other window type.
bool MayOpenWindow(int type);
// True when the user may choose a field's value from a list of the type
// opened for it: the register may be read (persons and access groups by
// their windows' rights, any other always).
bool MayChooseFrom(int type);
// True when the type-3 right of the window type allows.
bool MayOpenWindowTypeRight(int type);
// True when the type-4 right of entry `item` of the first offered list allows; n is not used.
bool MayUseType4Item(int n, int item);
bool MayUseType4(int n, int item);
// True when the type-5 right of entry `item` of the second offered list allows; n is not used.
bool MayUseType5Item(int n, int item);
bool MayUseType5(int n, int item);
// False for list kind 3, true for every other kind.
bool MayUseType4Or5(int kind);
