// bank_file_name.cpp - the bank payment file export's default file name.
//
// Not built yet: the name is left as it is.
#include "core/field_access.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "exchange/exchange.h"

namespace {

// The run number of the bank payment file export.
constexpr int16_t BankFileRun = 15;

}  // namespace

// The bank format's default name; not built yet: the name stays.
void TelepayDefaultFileName(uint8_t *) {}

// True when the job record is the bank payment file export.
bool JobIsBankFileExport()
{
    return ReportParams && GetI16(ReportParams, ReportParamsVc::ReportNumber) == BankFileRun;
}
