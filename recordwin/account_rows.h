// account_rows.h - the row layouts of the windows that enter account
// postings row by row (the voucher, 117; sub-ledger account rows, 255;
// person entries, 533; opening balances, 164), and the row steps they
// share: field changes, account look-ups, balancing, totals and Enter.
//
// Every window of this kind has rows holding an account code, the
// account's name and one signed amount (positive debit, negative credit)
// shown in a debit and a credit column, and a header with the debit,
// credit and balance totals of those rows. What differs between them is
// only where these lie, which the layout below says once per type.
#pragma once

#include <cstdint>

#include "core/decimal.h"
#include "core/memblock.h"

struct AccountRowLayout {
    int type;             // window type
    int reg;              // register of the window's records
    uint32_t rowSize;     // bytes of a row
    int kindAt;           // row kind word (1 = an account row); -1: rows have no kinds
    uint32_t accountAt;   // account code, keycode of 10
    uint32_t nameAt;      // the account's name drawn by the look-up
    int nameMax;          // characters of that name
    uint32_t amountAt;    // the signed amount
    int amount2At;        // a second amount a new row starts blank; -1 none
    int vatAt;            // VAT code drawn from the account (2); -1 none
    int colSecond;        // column Enter steps to from the account under word 239; -1 none
    int colName, colDebit, colCredit;
    uint32_t debitTotal, creditTotal, balanceTotal;
    int dateAt;           // the date field tested when changed; -1 none
    uint32_t entryDateAt; // the date an empty date takes
    int lockReg;          // register whose date locks the date test asks
    bool templates;       // a typed account may be a voucher template
    bool enterFromAccount;// Enter in the account cell goes on to the amount
    bool creditAlwaysOn;  // Enter in the credit cell always goes to the next row
    void (*balance)(uint8_t *record);                          // header totals from the rows
    void (*sum)(const uint8_t *record, PackedDecimal *sum);    // sum of the counted rows, from zero
};

// The layout of window type `type`; null for a type that enters no
// account rows.
const AccountRowLayout *AccountRowLayoutOf(int type);

// The layout of the window when its records are of the layout's
// register; null otherwise.
const AccountRowLayout *WinAccountRowLayout(int window);

// True when a name cell (a PString of `width` characters) shows the text
// drawn for an unknown account.
bool AccountNameIsUnknownAt(const uint8_t *name, int width);

// The shared row steps, each taking the window's layout.
void LayoutFieldChanged(const AccountRowLayout &L, int window, int field, uint8_t changed);
bool LayoutRowAccountLookup(const AccountRowLayout &L, int window, MemBlock rows, int row, int noExtraRow);
void LayoutTotalsRefresh(const AccountRowLayout &L, int window);
bool LayoutRowSetBalancing(const AccountRowLayout &L, uint8_t *record, int row);
void LayoutBalanceRow(const AccountRowLayout &L, int window);
int LayoutEnterTarget(const AccountRowLayout &L, int window, int field);
