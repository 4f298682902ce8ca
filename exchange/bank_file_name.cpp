// bank_file_name.cpp - the bank payment file export's default file name.
#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "exchange/bank_file.h"
#include "exchange/exchange.h"

// The bank format's default name: "TILTB.TBD" for the format that
// expects it, else the name stays as the output layer proposed it.
void TelepayDefaultFileName(uint8_t *name)
{
    if (CompanyVariant() == BankFormatTelepay) PStringFromView(name, "TILTB.TBD");
}

bool BankFileExportRunning = false;

// True while the bank payment file export runs (the text export sets the
// flag for its job of that run number alone).
bool JobIsBankFileExport() { return BankFileExportRunning; }

bool BankFileExportJob(const ReportJob &job, int kind)
{
    return kind == BankFileRun && job.selection &&
           GetI16(job.selection, ReportParamsVc::ReportNumber) == BankFileRun;
}
