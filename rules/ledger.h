// ledger.h - object lists, the months and period blocks of the balances,
// posting to the balances (register 17) and register 18, the rows of
// vouchers, and storing vouchers.
#pragma once

#include <cstdint>

#include "rules/rules_types.h"

// ---- Object lists (object_lists.cpp) ----
// An object list is a PString of codes separated by "," or "."; parsed,
// its first five codes (five characters each) fill the slots sorted.

// From the 1-based *position takes the next code of list into code (at most
// five characters kept) and leaves *position on the code after it.
void NextObjectCode(const uint8_t *list, int *position, uint8_t *code);
// Parses list into slots: its first five codes, sorted ascending.
void ParseObjectList(const uint8_t *list, ObjectSlots *slots);
// The slots' codes joined by "," in slot order.
void ObjectSlotsToText(const ObjectSlots *s, uint8_t *text);
// Rewrites list in slot order; repeated codes stay.
void NormalizeObjectList(uint8_t *list);
// list sorted, repeated codes dropped, joined by ",".
void JoinObjectList(const uint8_t *list, uint8_t *text);
// The codes of the slots whose flag is set, joined by ","; true when none is.
bool ObjectSubsetToText(const ObjectSlots *s, uint8_t *text, const bool flags[ObjectSlotCount]);
// out = the codes of a and b together, sorted, each once, joined by ",";
// false (out empty) when they name more than five codes.
bool ObjectListMerge(const uint8_t *a, const uint8_t *b, uint8_t *out);
// True when code is one of the list's codes.
bool ObjectListContains(const uint8_t *code, const uint8_t *list);
// True when every filled slot's code is in list.
bool ObjectListContainsAll(const ObjectSlots *s, const uint8_t *list);
bool IsSingleCode(const uint8_t *text);                       // no "," and no "."
bool IsPlainCode(const uint8_t *text);                        // none of "-", "+", ".", "*"
bool IsAllDigits(const uint8_t *text);                        // an empty text passes
void LeadingDigitsOf(const uint8_t *text, uint8_t *out);      // at most 6 digits
void TextAfterListSeparator(const uint8_t *text, uint8_t *out);   // after the first "," or "."
// True when list may be booked on account; shows 1043, 1071, 1083 or 1084
// itself when not.
bool CheckObjectList(const uint8_t *account, const uint8_t *list);
// True when list holds an object of every type block 175 requires for the
// account; shows 1083 naming the type when not.
bool RequiredObjectTypes(const uint8_t *account, const uint8_t *types);

// ---- Months and period blocks (period_amounts.cpp) ----

// The month of date counted from January 1980; saturates to 0 and
// MonthIndexLast outside January 1980 .. April 7441 (for report reads).
uint16_t MonthIndex(const DateRec *date);
// The same for bookings: false for a date outside that range.
bool MonthIndexChecked(const DateRec *date, uint16_t *month);
// True when date is one the balances can hold.
bool DateAllowed(const DateRec *date);
// Adds amount at (month, kind) of a period block of kinds amounts per
// month, growing it; false when memory could not be had.
bool AddToPeriodAmount(MemBlock *block, int kinds, int kind, uint16_t month, const PackedDecimal *amount);
// The balance of kind at the end of month.
void PeriodBalanceAt(MemBlock block, int kinds, int kind, uint16_t month, PackedDecimal *result);
// The balance of kind before month (the opening balance).
void PeriodBalanceBefore(MemBlock block, int kinds, int kind, uint16_t month, PackedDecimal *result);
// The balance at m2 less the balance before m1.
void PeriodBalanceChange(MemBlock block, int kinds, int kind, uint16_t m1, uint16_t m2, PackedDecimal *result);

// ---- Balances and posting (balances.cpp) ----
// Posting gives false only when a store failed (the caller fails its hold);
// a date the balances cannot hold posts nothing, sets
// BalanceDateOutsideFlag and gives true.

// Reads the balance record of (account, objects) into record, or prepares
// a new one; *recid 0 for a new one. false when it could not be read.
bool GetOrCreateBalance(const uint8_t *account, const uint8_t *objects, uint8_t *record, uint32_t *recid);
// Adds amount at (month, kind) of the balance record of (account, objects)
// and stores it.
bool UpdateBalanceRecord(const uint8_t *account, const uint8_t *objects, uint16_t month, const PackedDecimal *amount,
                         int kind);
// The object list of the extra balance record of code: code + "::".
void ExtraObjectKey(const uint8_t *code, uint8_t *objects);
// Posts amount at date to every subset of the objects of account, and to
// the extra record of extraCode when it is not empty.
bool PostToBalances(const DateRec *date, const uint8_t *account, const uint8_t *objects, const PackedDecimal *amount,
                    int kind, const uint8_t *extraCode);
// PostToBalances with no extra code.
bool PostAmountAtDate(const DateRec *date, const uint8_t *account, const uint8_t *objects, const PackedDecimal *amount,
                      int kind);
// Posts the rows of a voucher.
bool PostTransaction(const uint8_t *voucher);
// Posts the rows of an sm1 (register 9) record, negated when asked.
bool PostAccountRows(const uint8_t *sm1, bool negate);
// Posts the rows of an sp1 (register 126) record, negated when asked.
bool PostAccountRows118(const uint8_t *sp1, bool negate);
// Posts the rows of an fb1 (register 51) record on its single object list.
bool PostSingleObjectRows(const uint8_t *fb1, bool negate);
// Gives the voucher (linkedSerial, linkedYearCode) a link row back to the
// voucher (serial, yearCode) unless it has one; false when its rewrite failed.
bool AddLinkRow(uint32_t serial, uint16_t yearCode, const DateRec *transDate, uint32_t linkedSerial,
                uint16_t linkedYearCode);

// ---- Voucher rows (voucher_rows.cpp) ----
// Row builders take the record, not its rows handle, so that the record's
// rows slot follows the handle when the rows grow.

// Appends an account row; debit books amount, else its negation, which is
// also added to *total. flag is not read.
void AddVoucherRow(uint8_t *voucher, const uint8_t *account, const uint8_t *objects, const uint8_t *vatCode,
                   const uint8_t *text, const PackedDecimal *amount, int flag, bool debit, PackedDecimal *total);
// As AddVoucherRow, adding into an equal row when search is set.
void FindVoucherRow(uint8_t *voucher, const uint8_t *account, const uint8_t *objects, const uint8_t *vatCode,
                    const uint8_t *text, const PackedDecimal *amount, bool search, bool debit, PackedDecimal *total);
// As FindVoucherRow on an account that must exist: a null text takes the
// account's name. false, and no row, when the account is missing.
bool FindNamedVoucherRow(uint8_t *voucher, const uint8_t *account, const uint8_t *objects, const uint8_t *vatCode,
                         const uint8_t *text, const PackedDecimal *amount, bool search, bool debit,
                         PackedDecimal *total);
// The same for the rows of an sm1 record, merging equal rows when merge is set.
void AddAccountRow(uint8_t *sm1, const uint8_t *account, const uint8_t *objects, const uint8_t *vatCode,
                   const uint8_t *text, const PackedDecimal *amount, bool merge, bool debit, PackedDecimal *total);
// Writes the voucher's debit, credit and balance totals from its account
// rows.
void VoucherRowsBalance(uint8_t *voucher);
// The sum of the amounts of the voucher's rows.
void VoucherRowsSum(const uint8_t *voucher, PackedDecimal *sum);
// Negates the amounts of the rows from firstRow on.
void VoucherRowsNegate(uint8_t *voucher, int32_t firstRow);
// Deletes every row whose amount is zero.
void RemoveZeroVoucherRows(uint8_t *voucher);
// Appends source's account rows to target with their signs reversed, then
// drops the rows of target whose amount is zero. unused is not read.
void CopyVoucherRowsReversed(uint8_t *target, const uint8_t *source, int unused);

// ---- Budgets and ledger queries (budget_rows.cpp, ledger_queries.cpp) ----

// Spreads a budget record's amount over its period rows by its
// distribution key and adds the rows' own amounts; sets the total.
void BudgetRowsByKey(uint8_t *budget);
// Sets each period row of a budget record from the account's budget over
// the row's dates and the record's percentage; sets the total.
void BudgetRowsByDates(uint8_t *budget);
// The change of account on the objects of list objects between from and
// to, summed from the entries of register 18, into result. false when the
// user cancelled the walk or a source record's rows could not be read:
// result then holds what was summed so far. unused is not read.
bool AccountObjectsBalance(const uint8_t *account, const uint8_t *objects, const DateRec *from, const DateRec *to,
                           const void *unused, PackedDecimal *result);
// The same counting kind-1 postings (sm1 rows, fb1 records of posting kind 1) only when secondKind is set.
bool AccountObjectsBalanceKinds(const uint8_t *account, const uint8_t *objects, const DateRec *from,
                                const DateRec *to, bool secondKind, PackedDecimal *result);
// What the sales invoices in the history of item (register 59) between
// from and to sold, to customer when it is not empty, into result: mode 0
// the quantity, 1 the amount in home currency, 2 the cost. false when the
// user cancelled the walk.
bool StockValueAtDate(const uint8_t *item, const uint8_t *customer, int mode, const DateRec *from, const DateRec *to,
                      PackedDecimal *result);

// ---- Vouchers (vouchers.cpp) ----

// Balances a voucher with a balancing row when its rows do not sum to zero.
void BalanceVoucher(uint8_t *voucher);
// 0 when StoreVoucher would store the voucher, else the text of the
// refusal (NoFiscalYear, RecordKeyExists, BalanceDateOutOfRange,
// DateLocked).
int VoucherWouldStore(uint8_t *voucher);
// The check of a document whose validation built its voucher in the
// pending voucher: 0 when it has no rows or would be stored, else the
// FieldError refusal with VoucherWouldStore's text on serialField (a key
// taken) or dateField, the pending voucher cleared.
int PendingVoucherStorable(uint16_t serialField, uint16_t dateField);
// Balances a voucher its caller numbered and stores it through its insert
// hooks, which post it; true only when it was stored. One dated in the
// voucher lock is refused by the hook (told).
bool StoreVoucher(uint8_t *voucher);

// ---- The voucher lock (voucher_lock.cpp) ----

// True when reg is a register whose records book the ledger (vouchers,
// drafts, person entries) and the record's date is set and lies in the
// voucher lock ("Vouchers locked to"): no road stores it.
bool LedgerRecordDateLocked(int reg, const uint8_t *record);
// The voucher lock's date now; empty when none is set.
DateRec VoucherLockDate();
// True when reg's records book the ledger and the record's date is set
// and on or before lock (an earlier VoucherLockDate; empty: none).
bool LedgerRecordDatedIn(int reg, const uint8_t *record, const DateRec &lock);
// Counts a record of reg an import left out for the lock in
// LockedVouchers (for its closing message).
void CountLockedVoucher(int reg, const uint8_t *record);
// LedgerRecordDateLocked of a voucher (register 11).
bool VoucherDateLocked(const uint8_t *voucher);
// The same, counting the voucher in LockedVouchers when true: for an
// import that leaves it out, as the voucher window refuses the date.
bool VoucherInLock(const uint8_t *voucher);
// Stores the pending voucher when it has rows; true when there was none or
// it was stored. Its rows are freed either way.
bool StorePendingVoucher();
// Frees the pending voucher's rows and clears it.
void PendingVoucherClear();
// Whether block 199 has a document dated date posted: its switch at
// switchAt on, and date not before the start at startAt (an empty start
// holds none back).
bool VoucherDueOn(U16Field switchAt, DateField startAt, const DateRec &date);
// Heads the pending voucher of a document: the series' fixed year code,
// the document's serial, registered today and dated date. With checkKey,
// false (the dates not set) when a voucher is stored under that key
// already: a document's voucher never replaces another one.
bool PendingVoucherHead(uint16_t yearCode, uint32_t serial, const DateRec &date, bool checkKey);
// Clears the VAT codes of rows that block 208 does not know.
void ClearUnknownVatCodes(uint8_t *voucher);
// Creates the accounts that the voucher's rows name and that do not exist.
void CreateMissingAccounts(uint8_t *voucher);
// The account kind 0..4 that an account number's first digits give.
int AccountKindFromNumber(const uint8_t *account);

// Set by the storing of vouchers; the import clears them and reports them.
extern bool VoucherOutsideYearsFlag;   // a voucher lay in no fiscal year
extern bool AccountsCreatedFlag;       // accounts were created
extern bool BalanceDateOutsideFlag;    // a date the balances cannot hold was not posted
// The vouchers an import left out for a date in the ledger's lock: how
// many, and the number of the first.
struct LockedVoucherTally {
    uint32_t count = 0;
    uint32_t first = 0;
};
extern LockedVoucherTally LockedVouchers;
