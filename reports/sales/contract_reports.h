// contract_reports.h - the reports of the contracts invoiced period by
// period: the invoices a run would make, and the contract listing.
#pragma once

#include <cstdint>

struct ReportJob;

// Report 89: the invoices the contract run would make over its selection,
// each as its summary block, with the totals at the end; nothing stored.
void ContractReport5540(ReportJob &job);
// Report 88: the selected contracts, one line each; layout 1 adds their
// names, addresses and rows.
void ContractReport5541(ReportJob &job);
// The name and address lines and the rows of a contract under their
// headings (report 88's layout 1).
void ContractReport5541Lines(const uint8_t *contract);
