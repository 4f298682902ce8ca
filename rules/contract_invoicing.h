// contract_invoicing.h - contracts (register 45) invoiced period by
// period: the selection the batch run, its preview report, the contract
// listing and the export share; the walk over the selected contracts and
// over a contract's periods to invoice; the invoice made from a contract
// and the batch run that numbers and stores those invoices.
#pragma once

#include <cstdint>

#include "core/date.h"
#include "core/report_job.h"

// What a contract run was asked, read from the job record: the customer
// code range (text slot 1), the contract number range (slot 2), the
// filter code (slot 3) and the invoicing period (the second date range).
struct ContractSelection {
    uint8_t codeFrom[256], codeTo[256];
    bool codeRanged;
    int32_t numberFrom, numberTo;   // -1: an open end
    uint8_t filter[256];
    DateRec periodFrom, periodTo;
};

// Reads the selection from a job record (ReportParamsVc layout). With
// needPeriod, false when the period is not given whole (told so) or its
// first date is after its last (told by text 1142): nothing may be made
// then. Without, an empty period is taken as none and only a reversed one
// is refused.
bool ContractSelectionRead(const uint8_t *selection, ContractSelection *sel, bool needPeriod);
// True when the selection's period lacks its first or its last date.
bool ContractPeriodOpen(const ContractSelection &sel);

// Whether a contract passes the selection's customer range, filter code,
// last-invoice date (when a period is given) and interval tests (not the number range, which the
// walks test as they go).
bool ContractSelected(const ContractSelection &sel, const uint8_t *contract);

// Calls visit(contract, recid) for each selected contract in number
// order from the first number of the range, until the range's last
// number, the register's end, cancelled() answers true or visit gives
// false. contract is a register-45 record buffer the walk reads into.
// False when visit did.
using ContractVisit = bool (*)(void *ctx, uint8_t *contract, uint32_t recid);
bool ContractWalk(const ContractSelection &sel, uint8_t *contract, bool (*cancelled)(), ContractVisit visit,
                  void *ctx);

// Calls visit(contract, invoice date, period start, period end) for each
// period of the contract whose invoice date lies in the selection's
// period and after the contract's last-invoice date: a period invoiced
// once is never offered again. The periods run from the contract's next
// period start while on or before its end date (when it has one) and the
// selection's period end. A contract whose interval is below 1 has none.
// False when visit did.
using ContractPeriodVisit = bool (*)(void *ctx, uint8_t *contract, const DateRec &invoiceDate,
                                     const DateRec &from, const DateRec &to);
bool ContractPeriods(const ContractSelection &sel, uint8_t *contract, ContractPeriodVisit visit, void *ctx);

// Fills invoice (a register-5 record buffer) in memory as a new sales
// invoice of contract for the period from..to dated invoiceDate: the head
// filled from the contract's customer as a typed invoice is and the
// contract's own head copied over it, payment terms applied, three text rows naming
// the contract and the period, the contract's rows (their quantities
// multiplied by the contract's multiplier when it has one) and the
// totals. Nothing is stored; the serial number is left empty.
void ContractToInvoice(const uint8_t *contract, uint8_t *invoice, const DateRec &invoiceDate, const DateRec &from,
                       const DateRec &to);

// Batch routine 15: an invoice for every period to invoice of the
// selected contracts, numbered from the contract-invoice hint and stored
// unchecked, each contract's last-invoice date set to the invoice date. A
// zero invoice is not stored; a period without a free number is left for
// a later run and told at the end. False when a store failed or the
// selection was refused.
bool InvoiceContracts(const ReportJob &job);
