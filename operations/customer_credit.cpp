// customer_credit.cpp - a customer's credit limit and open balance, the
// figures the credit checks of orders and invoices compare.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "database/access/record_access.h"
#include "operations/operations.h"
#include "rules/rules_types.h"

namespace {

constexpr int CustomerCodeMax = 20;

}  // namespace

// Reads customer (register 2) by its code. The limit and open balance are
// the paying customer's when the customer names one (the limit only when
// that customer exists), else its own; both start blank. false, with the
// record cleared, when there is no such customer.
bool CustomerBalanceCredit(uint8_t *customer, PackedDecimal *limit, PackedDecimal *balance) {
    assert(customer && limit && balance);
    DecSetBlank(limit);
    DecSetBlank(balance);
    uint8_t code[256];
    GetText(customer, CUVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (code[0] == 0 || !RecFind(CUVc::Number, customer, 1, 1, &recid, &position)) {
        RecClear(CUVc::Number, customer);
        return false;
    }
    uint8_t payer[256];
    GetText(customer, CUVc::PayerCode, payer);
    if (payer[0] == 0) {
        *limit = GetDec(customer, CUVc::CreditLimit);
        CustomerOpenBalance(code, balance);
        return true;
    }
    CustomerOpenBalance(payer, balance);
    RuleRecord paying(CUVc::Number);
    if (paying.record) {
        PutText(paying.record, CUVc::Code, payer);
        if (RecFind(CUVc::Number, paying.record, 1, 1, &recid, &position))
            *limit = GetDec(paying.record, CUVc::CreditLimit);
    }
    return true;
}

// Adds to sum the open amounts of every open item (register 13) of the
// customer with this code.
void CustomerOpenBalance(const uint8_t *code, PackedDecimal *sum) {
    assert(code && sum);
    if (code[0] == 0 || code[0] > CustomerCodeMax) return;
    constexpr const char *index = "CustCode";   // customer, invoice number
    RuleRecord item(ARVc::Number);
    if (!item.record) return;
    PutText(item.record, ARVc::CustCode, code);
    uint8_t want[256], got[256];
    GetText(item.record, ARVc::CustCode, want);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(ARVc::Number, index, item.record, 1, 0, &recid, &position)) return;
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAtIndex(ARVc::Number, index, (int32_t)p, item.record, &recid)) break;
        GetText(item.record, ARVc::CustCode, got);
        if (!PStringEqual(got, want)) break;
        PackedDecimal open = GetDec(item.record, ARVc::OpenAmount);
        if (!DecIsBlank(&open)) DecAdd(sum, &open, sum);
    }
}
