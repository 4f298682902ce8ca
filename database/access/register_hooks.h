// register_hooks.h - the per-register hooks that the record layer calls
// around inserts, updates, import stores and deletes, and the few services
// of other subsystems that the layer needs.
//
// The record layer knows nothing of what a register means. At fixed points
// it calls the named hooks below with the register number; each looks up
// the register's entry in RegisterHookTable and calls the function there.
// A register whose entry is empty passes every hook unchanged: the key
// test alone decides InsertKeyExists, validation and delete checks accept,
// the before- and after-hooks do nothing. The business rules fill the
// entries of the registers they care about.
//
// A register whose rules are not built yet is marked waiting: its
// validated inserts and updates are refused with text 9503 (as its own
// check would refuse), and so are its import stores, so that no window,
// import line or client's request stores its records unchecked. The
// unchecked insert stays open for program code and tests. The entry that
// brings the register's rules replaces the marked one and so lifts the
// refusal.
//
// Order of the calls (record_local.cpp):
//   checked insert   InsertKeyExists, ValidateRecord (mode 1), BeforeInsertHook,
//                    write, AfterInsertHook (save flag 1)
//   unchecked insert BeforeInsertHook, write, AfterInsertHook (save flag 1)
//   checked update   read the stored record, PreserveStoredFields,
//                    ValidateRecord (mode 2), BeforeUpdateHook, rewrite,
//                    AfterUpdateHook; the caller's lock goes once stored
//   import store     (refused when waiting) BeforeStoreHook, write, AfterStoreHook
//   checked delete   CanDeleteRecord (show 1), read again, BeforeDeleteHook, delete
//
// Results: a validation or check refuses with any non-zero value after
// reporting through FieldError / FieldErrorAt (the layer passes it on as
// RecRefused). The before- and after-hooks of inserts, updates and
// deletes give non-zero when done and 0 when something they had to store
// (a posting) could not be stored; the write then fails and with it the
// outermost hold, so nothing of the hold is stored (record_access.h).
#pragma once

#include <array>
#include <cstdint>

#include "core/interface_defs.h"

struct RegisterHooks {
    // true when the record's key exists; null: the key test (RecExistsLocal).
    bool (*insertKeyExists)(int reg, uint8_t *record) = nullptr;
    // 0 accepts; anything else refuses (the error position in FieldErrorPos).
    int (*validateRecord)(int reg, uint8_t *record, uint8_t *stored, int mode) = nullptr;
    // Copies the fields the program maintains from the stored record.
    void (*preserveStoredFields)(int reg, const uint8_t *stored, uint8_t *record) = nullptr;
    int (*beforeInsert)(int reg, uint8_t *record) = nullptr;
    int (*afterInsert)(int reg, uint8_t *record, uint32_t recid, int saveFlag) = nullptr;
    int (*beforeUpdate)(int reg, uint8_t *record, uint8_t *stored, uint32_t recid) = nullptr;
    int (*afterUpdate)(int reg, uint8_t *record, uint8_t *stored, uint32_t recid) = nullptr;
    void (*beforeStore)(int reg, uint8_t *record) = nullptr;
    void (*afterStore)(int reg, uint8_t *record, uint32_t recid) = nullptr;
    // 1 allowed, 0 refused (the refusal shown when show is 1).
    int (*canDelete)(int reg, uint8_t *record, int show) = nullptr;
    int (*beforeDelete)(int reg, uint8_t *record) = nullptr;
    void (*newRecordDefaults)(int reg, uint8_t *record) = nullptr;
    void (*newRecordDefaultsOther)(int reg, uint8_t *record) = nullptr;
    // The record check request: 0 no error, else refused as validation.
    int (*recordCheck)(int reg, uint8_t *data, uint32_t size, int mode) = nullptr;
    // The register's rules are not built: validated and import stores are refused.
    bool rulesWaiting = false;
};

// One entry per register 0..132; all empty at start.
extern std::array<RegisterHooks, RegisterCount> RegisterHookTable;

// Empties every entry (tests, and before the rules fill the table).
void RegisterHooksClear();

// True when reg is marked waiting (see above).
bool RegisterRulesWaiting(int reg);
bool InsertKeyExists(int reg, uint8_t *record);
int ValidateRecord(int reg, uint8_t *record, uint8_t *stored, int mode);
void PreserveStoredFields(int reg, const uint8_t *stored, uint8_t *record);
int BeforeInsertHook(int reg, uint8_t *record);
int AfterInsertHook(int reg, uint8_t *record, uint32_t recid, int saveFlag);
int BeforeUpdateHook(int reg, uint8_t *record, uint8_t *stored, uint32_t recid);
int AfterUpdateHook(int reg, uint8_t *record, uint8_t *stored, uint32_t recid);
void BeforeStoreHook(int reg, uint8_t *record);
void AfterStoreHook(int reg, uint8_t *record, uint32_t recid);
int CanDeleteRecord(int reg, uint8_t *record, int show);
int BeforeDeleteHook(int reg, uint8_t *record);
void NewRecordDefaults(int reg, uint8_t *record);
void NewRecordDefaultsOther(int reg, uint8_t *record);

// Services of other subsystems the layer calls; null entries give the
// stated default. They are installed by the subsystems that own them.
// The business layer fills it (BusinessInstall); what a server's start
// fills is in core/server_hooks.h.
struct AccessServiceHooks {
    // The settings-block check before a store: 0 accepts (none: 0). data is
    // the copy about to be stored: what the check writes there is stored.
    int (*settingsBlockCheck)(int block, uint8_t *data, uint32_t size);
    // Runs after a settings block was stored.
    void (*settingsBlockAfterChange)(int block, const uint8_t *data, uint32_t size);
    // The rule every store of a table's rows passes, checked or not (an
    // import's rows too): 0 when the rows keep every code that a record or
    // a setting names (none: 0); else the refusal, told.
    int (*settingsCodesKept)(int block, const uint8_t *rows, uint32_t size);
};
extern AccessServiceHooks AccessServices;
// What the ui layer fills (UiInstall): the window-type menu rebuilt after
// the settings were reloaded (none: a program without a menu bar), and
// the rights of the user at this program's own screen (see
// LocalWriteRefused; none: every write allowed).
struct AccessUiHooksRec {
    void (*rebuildWindowTypeMenu)();
    // 0 when that user may make the write `request` names (a client's
    // request code) of register reg; else the refusal, told, as the result.
    int (*refuseWrite)(uint16_t request, int reg, const uint8_t *record, uint32_t recid);
    // The same for a store of settings block `block`.
    int (*refuseBlock)(int block);
    // The same for a run the user starts (a client's run request `code`;
    // kind: an export's number; job: the run's job record).
    int (*refuseRun)(uint16_t code, int kind, const uint8_t *job);
};
extern AccessUiHooksRec AccessUiHooks;

// The rights asked where this program writes the company's file, before
// the writes a user's action makes there: the checked inserts, updates
// and deletes, a record's lock taken to edit it, a settings block's lock,
// a conversion, an approval and a run; every write of the record layer
// asks through write_gate.h. Stand-alone they ask the user at this
// program's screen (AccessUiHooks); at a server the person whose request
// it serves, as that request's own entry does (ServerHooks), and nothing
// of the server's own work; a client leaves them to its server. So a
// person gets the same answer to the same write in every mode. 0 allows;
// anything else refuses (told) and is the write's result.
int LocalWriteRefused(uint16_t request, int reg, const uint8_t *record, uint32_t recid);
int LocalBlockRefused(int block);
int LocalRunRefused(uint16_t code, int kind, const uint8_t *job);
