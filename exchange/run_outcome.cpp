// run_outcome.cpp - see run_outcome.h.
#include "exchange/run_outcome.h"

#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/purchase_ledger.h"
#include "platform/dialog.h"
#include "shell/shell.h"
#include "shell/toolbar.h"

namespace {
std::string LastLine;
}  // namespace

void RunOutcomeTell(const std::string &line)
{
    if (ServerRequestState.handling) return;
    LastLine = line;
    StatusLineSet(line);
}

std::string RunOutcomeLast() { return LastLine; }

void RunInfoMessage(const uint8_t *text) { TellOutcome(MessageOutcome::Done, 0, text); }

std::string RunTextNumber(int n, uint32_t number)
{
    PString text;
    GetUiText(text, n);
    return PStringToStd(text) + std::to_string(number);
}

// The payments are counted in the register rather than inside the run, so
// that a run made by the server for a client is counted the same way.
bool PaymentSuggestionTold(uint8_t *selection)
{
    const uint32_t before = RegRecordCount(OPVc::Number);
    const bool ok = PaymentSuggestionCall(selection);
    const uint32_t after = RegRecordCount(OPVc::Number);
    const uint32_t made = after > before ? after - before : 0;
    RunOutcomeTell(RunTextNumber(ok ? Texts::OutcomePaymentsMade : Texts::OutcomePaymentsStopped, made));
    return ok;
}
