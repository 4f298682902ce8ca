// result_balance_export.h - export kind 22: the balance records of an
// account and object range with the three amounts of a result statement.
#pragma once

#include "core/report_job.h"

// Writes a line per balance record (register 17) of the job's
// account range (SelText7) and object range (ObjectSel, "from:to") whose
// objects are a single object or none: account, objects and the three
// column amounts of report 22 under the job's column layout; the split
// account range goes into the job's SelText5 and SelText6.
void BalanceExport(ReportJob &job);
