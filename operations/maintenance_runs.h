// maintenance_runs.h - the maintenance routines that delete a number
// range of documents (routine 22) and clear the budgets (routines 1 and
// 2); maintenance_runs.cpp. Each reads its selection from the job it is
// handed; false when a delete or a store failed or the selection was
// refused.
#pragma once

#include "core/report_job.h"

// Routine 22: deletes the deletable documents whose number lies in
// SelText1's range of the sales invoices (Option1), receipts (Option2),
// purchase invoices (Option3) and outgoing payments (Option4), in this
// order, and says how many it deleted and kept (posted, or used by
// another record), or why it deleted nothing. An empty range is refused
// with a message.
bool DeleteRangesBySelection(const ReportJob &job);
// Routine 1: the amounts and row texts of the budgets (register 20), all
// of them or (Option2 = 1) those of the object list in ObjectSel, cleared.
bool BudgetClear(const ReportJob &job);
// Routine 2: the same for the budgets by period dates (register 21).
bool Budget2Clear(const ReportJob &job);
