// import_result.cpp - what an import run counts and tells at its end.
// Not built yet: the result is kept but neither cleared nor told.
#include "exchange/text_exchange.h"

ImportResultRec ImportResult;

// Clears the result before a run. Not built yet: does nothing.
void ResetImportFlags()
{
}

// Tells the run's result. Not built yet: does nothing.
void ReportImportResult()
{
}
