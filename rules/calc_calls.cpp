// calc_calls.cpp - the dispatchers of the calculations a client asks the
// server for (request 34): the local rule, or in client mode the stub.
//
// In client mode a failed stub leaves the caller's values as they were
// and RemoteConnectionLost set, and the dispatcher gives false, so a
// caller can tell "no such item" from "no server" by that flag.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "operations/operations.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/stock.h"

namespace {

// Runs a stub with the lost-connection flag cleared first; the stub's
// result, and the flag set when it failed for want of the server.
template <typename Stub>
bool RunRemote(Stub stub) {
    RemoteConnectionLost = false;
    bool ok = stub();
    return ok && !RemoteConnectionLost;
}

}  // namespace

// ItemPrice, or sub-request 1.
bool ItemPriceCall(const ItemPriceQuery *q, uint8_t *item, ItemPriceAnswer *a) {
    assert(q && item && a);
    if (!RunModeIsClient()) return ItemPrice(q, item, a);
    return RunRemote([&] { return ItemPriceRemote(q, item, a); });
}

// ItemCost, or sub-request 2.
bool ItemCostCall(const uint8_t *item, const uint8_t *location, PackedDecimal *cost, PackedDecimal *value) {
    assert(item && location && cost && value);
    if (!RunModeIsClient()) return ItemCost(item, location, cost, value);
    return RunRemote([&] { return ItemCostRemote(item, location, cost, value); });
}

// DocRowSum, or sub-request 7. A register or row DocRowSum would refuse is
// refused here too, before anything is sent.
bool RowSumCall(int reg, uint8_t *record, int row, PackedDecimal *total) {
    assert(record);
    if (!RunModeIsClient()) return DocRowSum(reg, record, row, total);
    if (reg != IVVc::Number && reg != ORVc::Number && reg != ContractVc::Number && reg != QuotationVc::Number)
        return false;
    if (row < 0 || row >= MatrixRowCount(reg, 0, record)) return false;
    return RunRemote([&] { return RowSumRemote(reg, record, row, total); });
}

// CustomerBalanceCredit, or sub-request 4 (whose reply gives the balance
// before the limit).
bool CustomerBalanceCreditCall(uint8_t *customer, PackedDecimal *limit, PackedDecimal *balance) {
    assert(customer && limit && balance);
    if (!RunModeIsClient()) return CustomerBalanceCredit(customer, limit, balance);
    return RunRemote([&] { return CustomerBalanceCreditRemote(customer, balance, limit); });
}

// True when the customer of code (a PString) is over a credit limit above
// zero: its open balance exceeds the limit. False when the customer or its
// figures cannot be had, so that a missing answer never blocks a sale.
bool CustomerOverCreditLimit(const uint8_t *code) {
    RuleRecord customer(CUVc::Number);
    if (!customer.record) return false;
    PutText(customer.record, CUVc::Code, code);   // a customer code's size
    PackedDecimal limit, balance;
    if (!CustomerBalanceCreditCall(customer.record, &limit, &balance)) return false;
    if (DecIsBlank(&limit) || DecCompareDouble(&limit, 0.0) <= 0) return false;
    return !DecIsBlank(&balance) && DecCompare(&balance, &limit) > 0;
}

// OrderRowsAvailable, or sub-request 3. Locally always true.
bool OrderRowsAvailableCall(uint8_t *delivery) {
    assert(delivery);
    if (!RunModeIsClient()) {
        OrderRowsAvailable(delivery);
        return true;
    }
    return RunRemote([&] { return StockAvailableRemote(delivery); });
}
