// write_gate.cpp - the access group's write check of every write a
// person's actions start where this program writes the company's file
// (see write_gate.h).
#include "database/access/write_gate.h"

#include <utility>

#include "core/ui_text.h"
#include "database/access/register_hooks.h"
#include "database/access/remote_calls.h"

namespace {

int AllowedDepth = 0;      // allowed writes, operations and own writes under way
int RunDepth = 0;          // runs under way (a run may start another)
bool RunRefused = false;   // a write of the outermost run under way was refused

// The refusal of a write inside a run that met one already: not asked
// and not told again, so that the run writes nothing more and the user
// reads the reason once.
constexpr int RefusedBefore = Texts::NoRight;

// After a refusal, told: a run under way writes nothing more, and a
// server's reply tells the refusal whatever the request tells after it.
void Refused()
{
    if (RunDepth > 0) RunRefused = true;
    ServerMessageKeep();
}

// The question of a write or an operation: none inside an allowed one.
int Ask(uint16_t request, int reg, const uint8_t *record, uint32_t recid)
{
    if (AllowedDepth > 0) return 0;
    if (RunDepth > 0 && RunRefused) return RefusedBefore;
    int refused = LocalWriteRefused(request, reg, record, recid);
    if (refused) Refused();
    return refused;
}

}  // namespace

WriteOperation::WriteOperation(uint16_t request, int reg, const uint8_t *record, uint32_t recid)
    : refused(Ask(request, reg, record, recid))
{
    if (!refused) AllowedDepth++;
}

WriteOperation::~WriteOperation()
{
    if (!refused) AllowedDepth--;
}

RunWrites::RunWrites(uint16_t code, int kind, const uint8_t *job)
{
    if (AllowedDepth == 0) refused = LocalRunRefused(code, kind, job);
    if (refused) {
        ServerMessageKeep();
        return;
    }
    if (RunDepth++ == 0) RunRefused = false;
    // An import is run only by one who may change the access groups, and
    // so give himself any right: what it writes passes, as at a server.
    passes = code == ReqImportRun;
    if (passes) AllowedDepth++;
}

RunWrites::RunWrites()
{
    if (RunDepth++ == 0) RunRefused = false;
}

RunWrites::~RunWrites()
{
    if (refused) return;
    if (passes) AllowedDepth--;
    if (--RunDepth == 0) RunRefused = false;
}

ProgramWrites::ProgramWrites() { AllowedDepth++; }

ProgramWrites::~ProgramWrites() { AllowedDepth--; }

WriteGateRequest::WriteGateRequest()
    : allowedDepth(std::exchange(AllowedDepth, 0)), runDepth(std::exchange(RunDepth, 0)),
      runRefused(std::exchange(RunRefused, false))
{
}

WriteGateRequest::~WriteGateRequest()
{
    AllowedDepth = allowedDepth;
    RunDepth = runDepth;
    RunRefused = runRefused;
}
