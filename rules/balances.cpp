// balances.cpp - posting amounts to the balance records (register 17) and to
// register 18.
#include "rules/ledger.h"

// Reads or prepares the balance record of an account and object list.
bool GetOrCreateBalance(const uint8_t *account, const uint8_t *objects, uint8_t *record, uint32_t *recid) {
    if (recid) *recid = 0;
    return false;
}

// Adds an amount into a balance record and stores it.
bool UpdateBalanceRecord(const uint8_t *account, const uint8_t *objects, uint16_t month, const PackedDecimal *amount,
                         int kind) {
    return false;
}

// The object list of a code's extra balance record.
void ExtraObjectKey(const uint8_t *code, uint8_t *objects) {
    if (objects) objects[0] = 0;
}

// Posts an amount to the balances of an account's object subsets.
bool PostToBalances(const DateRec *date, const uint8_t *account, const uint8_t *objects, const PackedDecimal *amount,
                    int kind, const uint8_t *extraCode) {
    return false;
}

// Posts an amount at a date.
bool PostAmountAtDate(const DateRec *date, const uint8_t *account, const uint8_t *objects, const PackedDecimal *amount,
                      int kind) {
    return false;
}

// Posts the rows of a voucher.
bool PostTransaction(const uint8_t *voucher) {
    return false;
}

// Posts the rows of an sm1 record.
bool PostAccountRows(const uint8_t *sm1, bool negate) {
    return false;
}

// Posts the rows of an sp1 record.
bool PostAccountRows118(const uint8_t *sp1, bool negate) {
    return false;
}

// Posts the rows of an fb1 record.
bool PostSingleObjectRows(const uint8_t *fb1, bool negate) {
    return false;
}

// Writes the register-18 link between two vouchers.
bool AddLinkRow(uint32_t serial, uint16_t yearCode, const DateRec *transDate, uint32_t linkedSerial,
                uint16_t linkedYearCode) {
    return false;
}
