// register_hooks_install.cpp - installing the rules' entries in the register
// hook table, and the record actions.
#include "rules/hooks.h"

// Fills the register hook table with the rules' entries.
void RulesInstall() {}

// Tells whether a register has an entry of the rules.
bool RegisterHasRules(int reg) {
    return false;
}

// Runs a record action.
bool RunRecordAction(int slot, ApproveKind kind, int reg, uint32_t recid) {
    return false;
}

// Lets other work in during long loops; does nothing.
void PumpServerNoop() {}

// The rules' part of allocating the work blocks; does nothing.
void BizInitNoop() {}
