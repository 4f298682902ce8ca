// server_calc.cpp - the server's side of a client's calculation request
// (request 34): the sub-request number, its arguments, the rule it runs
// and the reply (docs/protocol.md section 5).
//
// The request comes from a client and is trusted in nothing. It is read
// whole before anything runs: a message that ends early, carries bytes
// after its last argument, names a register sub-request 7 does not serve,
// a row the record does not have, or a record the codec refuses (short,
// rows that are no whole number of rows or run past the message) is
// refused with an empty reply, and the dispatcher answers status 2. Each
// code is cut to the width of the field it is looked up in.
#include <cassert>

#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "operations/operations.h"
#include "rules/prices.h"
#include "rules/stock.h"

namespace {

// Widths of the fields the codes of the requests are looked up in.
constexpr int ItemCodeMax = 20, CurrencyMax = 5, TextCodeMax = 5, GroupMax = 5, ListMax = 5, DiscCodeMax = 5,
              LocationMax = 10;

// Reads a PString into s (256 bytes) and cuts it to max characters.
void GetCode(MsgBuffer *m, uint8_t *s, int max) {
    MsgGetPString(m, s);
    if (s[0] > max) s[0] = (uint8_t)max;
}

// True when the request was read whole and exactly.
bool ReadWhole(const MsgBuffer *m) { return !MsgFailed(m) && MsgRemaining(m) == 0; }

bool ServeItemPrice(MsgBuffer *request, MsgBuffer *reply) {
    uint8_t item[256], currency[256], textCode[256], customer[256], list[256], discCode[256];
    ItemPriceQuery q{};
    GetCode(request, item, ItemCodeMax);
    MsgGetBlock12(request, &q.quantity);
    GetCode(request, currency, CurrencyMax);
    MsgGetBlock12(request, &q.rate);
    GetCode(request, textCode, TextCodeMax);
    GetCode(request, customer, GroupMax);
    GetCode(request, list, ListMax);
    GetCode(request, discCode, DiscCodeMax);
    MsgGetWord(request, &q.vatZone);
    MsgGetBlock12(request, &q.price);
    MsgGetBlock12(request, &q.discount);
    if (!ReadWhole(request)) return false;
    q.itemCode = item, q.currency = currency, q.textCode = textCode, q.customer = customer, q.priceList = list;
    q.discountCode = discCode;
    RuleRecord rec(INVc::Number);
    if (!rec.record) return false;
    ItemPriceAnswer a;
    bool found = ItemPrice(&q, rec.record, &a);
    MsgPutByte(reply, found ? 1 : 0);
    MsgPutRecord(reply, INVc::Number, rec.record);
    MsgPutBlock12(reply, &a.price);
    MsgPutPString(reply, a.text);
    MsgPutBlock12(reply, &a.discount);
    MsgPutPString(reply, a.vatCode);
    MsgPutPString(reply, a.account);
    MsgPutBlock12(reply, &a.cost);
    return MsgPutByte(reply, a.flag);
}

bool ServeItemCost(MsgBuffer *request, MsgBuffer *reply) {
    uint8_t item[256], location[256];
    GetCode(request, item, ItemCodeMax);
    GetCode(request, location, LocationMax);
    if (!ReadWhole(request)) return false;
    PackedDecimal cost, value;
    bool found = ItemCost(item, location, &cost, &value);
    MsgPutByte(reply, found ? 1 : 0);
    MsgPutBlock12(reply, &cost);
    return MsgPutBlock12(reply, &value);
}

bool ServeStockAvailable(MsgBuffer *request, MsgBuffer *reply) {
    RuleRecord delivery(CalcDeliveryRegister);
    if (!delivery.record) return false;
    MsgGetRecord(request, CalcDeliveryRegister, delivery.record);
    if (!ReadWhole(request)) return false;
    OrderRowsAvailable(delivery.record);
    return MsgPutRecord(reply, CalcDeliveryRegister, delivery.record);
}

bool ServeCustomerBalance(MsgBuffer *request, MsgBuffer *reply) {
    RuleRecord customer(CalcCustomerRegister);
    if (!customer.record) return false;
    MsgGetRecord(request, CalcCustomerRegister, customer.record);
    if (!ReadWhole(request)) return false;
    PackedDecimal limit, balance;
    CustomerBalanceCredit(customer.record, &limit, &balance);
    MsgPutRecord(reply, CalcCustomerRegister, customer.record);
    MsgPutBlock12(reply, &balance);
    return MsgPutBlock12(reply, &limit);
}

bool ServeCurrencyRate(MsgBuffer *request, MsgBuffer *reply) {
    uint8_t currency[256];
    DateRec date{};
    GetCode(request, currency, CurrencyMax);
    MsgGetDate(request, &date);
    if (!ReadWhole(request)) return false;
    PackedDecimal rate;
    CurrencyRateLocal(currency, &date, &rate);
    return MsgPutBlock12(reply, &rate);
}

bool ServeRowSum(MsgBuffer *request, MsgBuffer *reply) {
    uint16_t reg = 0, row = 0;
    MsgGetWord(request, &reg);
    if (MsgFailed(request)) return false;
    if (reg != IVVc::Number && reg != ORVc::Number && reg != ContractVc::Number && reg != QuotationVc::Number)
        return false;
    RuleRecord record(reg);   // freed with its rows as a record of reg
    if (!record.record) return false;
    MsgGetRecord(request, reg, record.record);
    MsgGetWord(request, &row);
    if (!ReadWhole(request)) return false;
    if (row >= MatrixRowCount(reg, 0, record.record)) return false;
    PackedDecimal total;
    DecSetBlank(&total);
    if (!DocRowSum(reg, record.record, row, &total)) return false;
    MsgPutRecord(reply, reg, record.record);
    return MsgPutBlock12(reply, &total);
}

}  // namespace

// Serves one calculation request: reads the sub-request and its arguments
// from request and writes the answer into reply. Sub-requests 0, 6 and
// numbers without a calculation are served with an empty reply. false,
// with reply empty, when the request is refused (see the file comment) or
// the reply could not be built.
bool ServerCalcRequest(MsgBuffer *request, MsgBuffer *reply) {
    assert(request && reply);
    MsgReset(reply);
    uint16_t sub = 0;
    if (!MsgGetWord(request, &sub)) return false;
    bool ok = true;
    switch (sub) {
    case CalcItemPrice: ok = ServeItemPrice(request, reply); break;
    case CalcItemCost: ok = ServeItemCost(request, reply); break;
    case CalcStockAvailable: ok = ServeStockAvailable(request, reply); break;
    case CalcCustomerBalance: ok = ServeCustomerBalance(request, reply); break;
    case CalcCurrencyRate: ok = ServeCurrencyRate(request, reply); break;
    case CalcRowSum: ok = ServeRowSum(request, reply); break;
    default: break;   // nothing to calculate
    }
    if (!ok || MsgFailed(reply)) {
        MsgReset(reply);
        return false;
    }
    return true;
}
