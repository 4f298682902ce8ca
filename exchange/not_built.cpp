// not_built.cpp - how a part of the text exchange that is not built yet
// answers: it tells the user once per run that the function is not
// available and gives failure, never success.
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "output/output_job.h"

namespace {
bool Told;   // FunctionNotYet was shown in this run
}  // namespace

// Tells FunctionNotYet, once per run; false.
bool ExchangeNotBuilt()
{
    if (!Told) ShowTextMessage(Texts::FunctionNotYet);
    Told = true;
    return false;
}

// An export step that is not built: told once, the output job stopped.
void ExchangeExportNotBuilt()
{
    ExchangeNotBuilt();
    OutputJobState.stopFlag = 1;
}

// An import reader that is not built: told once, the import aborted (an
// aborted import is at its end, so nothing after it is read as if it
// were this section's).
void ExchangeImportNotBuilt()
{
    ExchangeNotBuilt();
    ImportAbortFlag = 1;
}

// Starts a new run: the next refusal is told again.
void ExchangeNotBuiltReset()
{
    Told = false;
}
