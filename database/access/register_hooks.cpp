// register_hooks.cpp - calls into the per-register hook table, with the
// behaviour of a register that has no hooks.
#include "database/access/register_hooks.h"

#include "core/server_hooks.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"

std::array<RegisterHooks, RegisterCount> RegisterHookTable;
AccessServiceHooks AccessServices;
AccessUiHooksRec AccessUiHooks;

namespace {

// The entry of reg, or null for a number outside the table.
const RegisterHooks *Hooks(int reg) {
    if (reg < 0 || reg >= RegisterCount) return nullptr;
    return &RegisterHookTable[(size_t)reg];
}

}  // namespace

void RegisterHooksClear() { RegisterHookTable.fill(RegisterHooks{}); }

// Each asks the rights of the person whose action the write is, where
// this program writes the company's file: stand-alone the user at its
// screen, at a server the person whose request it serves (none for its
// own work). A client asks nothing: its server asks.
int LocalWriteRefused(uint16_t request, int reg, const uint8_t *record, uint32_t recid) {
    if (RunModeIsClient()) return 0;
    auto refuse = RunMode == RunModeServer ? ServerHooks.refuseWrite : AccessUiHooks.refuseWrite;
    return refuse ? refuse(request, reg, record, recid) : 0;
}

int LocalBlockRefused(int block) {
    if (RunModeIsClient()) return 0;
    auto refuse = RunMode == RunModeServer ? ServerHooks.refuseBlock : AccessUiHooks.refuseBlock;
    return refuse ? refuse(block) : 0;
}

int LocalRunRefused(uint16_t code, int kind, const uint8_t *job) {
    if (RunModeIsClient()) return 0;
    auto refuse = RunMode == RunModeServer ? ServerHooks.refuseRun : AccessUiHooks.refuseRun;
    return refuse ? refuse(code, kind, job) : 0;
}

bool InsertKeyExists(int reg, uint8_t *record) {
    const RegisterHooks *h = Hooks(reg);
    if (h && h->insertKeyExists) return h->insertKeyExists(reg, record);
    return RecExistsLocal(reg, record);
}

bool RegisterRulesWaiting(int reg) {
    const RegisterHooks *h = Hooks(reg);
    return h && h->rulesWaiting;
}

// A waiting register refuses as its own check would, with no field to
// go to; any other without a check accepts.
int ValidateRecord(int reg, uint8_t *record, uint8_t *stored, int mode) {
    const RegisterHooks *h = Hooks(reg);
    if (h && h->rulesWaiting) return FieldError(Texts::RecordNotStored, nullptr, RecFocusNone);
    return h && h->validateRecord ? h->validateRecord(reg, record, stored, mode) : 0;
}

void PreserveStoredFields(int reg, const uint8_t *stored, uint8_t *record) {
    const RegisterHooks *h = Hooks(reg);
    if (h && h->preserveStoredFields) h->preserveStoredFields(reg, stored, record);
}

int BeforeInsertHook(int reg, uint8_t *record) {
    const RegisterHooks *h = Hooks(reg);
    return h && h->beforeInsert ? h->beforeInsert(reg, record) : 1;
}

int AfterInsertHook(int reg, uint8_t *record, uint32_t recid, int saveFlag) {
    const RegisterHooks *h = Hooks(reg);
    return h && h->afterInsert ? h->afterInsert(reg, record, recid, saveFlag) : 1;
}

int BeforeUpdateHook(int reg, uint8_t *record, uint8_t *stored, uint32_t recid) {
    const RegisterHooks *h = Hooks(reg);
    return h && h->beforeUpdate ? h->beforeUpdate(reg, record, stored, recid) : 1;
}

int AfterUpdateHook(int reg, uint8_t *record, uint8_t *stored, uint32_t recid) {
    const RegisterHooks *h = Hooks(reg);
    return h && h->afterUpdate ? h->afterUpdate(reg, record, stored, recid) : 1;
}

void BeforeStoreHook(int reg, uint8_t *record) {
    const RegisterHooks *h = Hooks(reg);
    if (h && h->beforeStore) h->beforeStore(reg, record);
}

void AfterStoreHook(int reg, uint8_t *record, uint32_t recid) {
    const RegisterHooks *h = Hooks(reg);
    if (h && h->afterStore) h->afterStore(reg, record, recid);
}

int CanDeleteRecord(int reg, uint8_t *record, int show) {
    const RegisterHooks *h = Hooks(reg);
    return h && h->canDelete ? h->canDelete(reg, record, show) : 1;
}

int BeforeDeleteHook(int reg, uint8_t *record) {
    const RegisterHooks *h = Hooks(reg);
    return h && h->beforeDelete ? h->beforeDelete(reg, record) : 1;
}

void NewRecordDefaults(int reg, uint8_t *record) {
    const RegisterHooks *h = Hooks(reg);
    if (h && h->newRecordDefaults) h->newRecordDefaults(reg, record);
}

void NewRecordDefaultsOther(int reg, uint8_t *record) {
    const RegisterHooks *h = Hooks(reg);
    if (h && h->newRecordDefaultsOther) h->newRecordDefaultsOther(reg, record);
}

// Any refusal of the check is RecRefused, so a check's own number never
// passes for a text number or a field.
int RecCheckLocal(int reg, uint8_t *data, uint32_t size, int mode) {
    RecFocusClear();
    const RegisterHooks *h = Hooks(reg);
    int check = h && h->recordCheck ? h->recordCheck(reg, data, size, mode) : 0;
    return check == 0 ? RecDone : RecRefused;
}
