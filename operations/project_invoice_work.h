// project_invoice_work.h - what the files of project invoicing share
// while one project is invoiced: the run's state and its work list of
// grouped invoice rows.
#pragma once

#include <cstdint>
#include <vector>

#include "core/decimal.h"
#include "dict_offsets.h"
#include "operations/project_ops.h"

// Groupings of budget amounts on the invoice (project bytes 382, 384).
constexpr int GroupPerAccount = 0, GroupPerGroup = 1, GroupPerItem = 2;

// One entry of the work list: the invoice row that takes the amounts of
// budget rows with the same project, VAT code, account and key.
struct ProjectInvoiceRowKey {
    uint8_t project[22];
    uint8_t item[22];      // per item only
    uint8_t group[32];     // per item group only
    int16_t kind;          // 0 time, 1 cost; -1 for per-item and per-group rows
    bool detail;           // a row of one budget row only, never shared
    bool priced;           // a time row: shared only by hours of one item at one price
    PackedDecimal price, discount;   // priced rows only
    uint8_t vat[32];
    uint8_t account[32];
    int32_t row;           // the invoice row
};

// The state of invoicing one project.
struct ProjectRun {
    const uint8_t *selection;   // the run's job selection; null: none
    const uint8_t *project;
    uint8_t *inv;
    bool final;
    bool detailAll;
    uint8_t defaults[ProjectBlk::Size];   // settings block 201
    std::vector<ProjectInvoiceRowKey> keys;
};

// What a detailed row shows of its budget row.
struct ProjectRowDetail {
    uint8_t item[22];
    PackedDecimal quantity, price, discount;
    uint8_t note[64];   // the person code or the cost text
};

void CutText(uint8_t *text, int max);
int32_t DownPaymentRow(ProjectRun &run, const PackedDecimal &amount, const uint8_t *text);
// The invoice row that takes a budget row's amount of the item with this
// code, by the project's grouping: per sales account and budget kind, per
// item group, per item; found in the work list unless detail, else
// appended. With priced (the hours of a time-budget row) the row is
// shared only by hours of the same item, price and discount, so that it
// reads as hours times price. -1 when no row could be appended.
int32_t ProjectInvoiceAccountRow(ProjectRun &run, const uint8_t *itemCode, int16_t kind, bool detail,
                                 const ProjectRowDetail *priced = nullptr);
int32_t ProjectInvoiceGroupRow(ProjectRun &run, const uint8_t *itemCode, bool detail,
                               const ProjectRowDetail *priced = nullptr);
int32_t ProjectInvoiceItemRow(ProjectRun &run, const uint8_t *itemCode, bool detail, const uint8_t *itemName,
                              const ProjectRowDetail *priced = nullptr);
void ProjectInvoiceRowFill(ProjectRun &run, const ProjectInvoiceRowKey &key);
// Adds amount to invoice row r. With what (the budget row's item,
// quantity, price and discount) the row names the item, price and
// discount and its quantity grows by the quantity; with note also ", "
// and the budget row's note join the row's text.
void ProjectInvoiceRowAdd(ProjectRun &run, int32_t r, const PackedDecimal &amount, const ProjectRowDetail *what,
                          bool note);
