// hooks.h - installing the business rules' entries in the record layer's
// register hook table, and the record actions the hooks run.
#pragma once

#include <cstdint>

#include "rules/approval.h"

// Fills RegisterHookTable with the entries of the registers the rules
// handle; running it again changes nothing.
void RulesInstall();
// True when reg has an entry of the rules.
bool RegisterHasRules(int reg);
// Runs ApproveRecord (kind, reg, recid) at once and gives its result; slot
// is not read.
bool RunRecordAction(int slot, ApproveKind kind, int reg, uint32_t recid);
// Called by long loops where other work could be let in; does nothing.
void PumpServerNoop();
// The rules' part of allocating the work blocks; does nothing.
void BizInitNoop();
