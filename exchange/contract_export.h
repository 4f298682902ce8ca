// contract_export.h - export kind 32: the periods of contracts to invoice.
#pragma once

#include "core/report_job.h"

// Writes one line for every period to invoice of the selected contracts
// whose invoice date falls in the selected period: the contract's number
// and its four address lines, as fields or as one quoted, comma-separated
// text (word 894 of the job record), in number, customer or postal-code
// order (word 46).
void ExportContractsText(const ReportJob &job);
