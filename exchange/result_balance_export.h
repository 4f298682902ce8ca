// result_balance_export.h - export kind 22: the balance records of an
// account and object range with the three amounts of a result statement.
#pragma once

// Writes a line per balance record (register 17) of the job record's
// account range (SelText7) and object range (ObjectSel, "from:to") whose
// objects are a single object or none: account, objects and the three
// column amounts of report 22 under the job record's column layout.
void BalanceExport();
