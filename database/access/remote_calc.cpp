// remote_calc.cpp - client stubs of the calculations a client asks the
// server for (request 34 and its sub-requests 1, 2, 4, 5 and 7 of
// docs/protocol.md): item price, item cost, customer balance and credit,
// currency rate and a document row's percentage sum.
#include <cstring>

#include "database/access/remote_calls.h"
#include "database/access/remote_internal.h"

namespace {

void PutCalc(MsgBuffer *request, CalcSubRequest sub) { MsgPutWord(request, sub); }

}  // namespace

bool ItemPriceRemote(const ItemPriceQuery *q, uint8_t *itemRecord, ItemPriceAnswer *answer) {
    MsgBuffer request, reply;
    PutCalc(&request, CalcItemPrice);
    MsgPutPString(&request, q->itemCode);
    MsgPutBlock12(&request, &q->quantity);
    MsgPutPString(&request, q->currency);
    MsgPutBlock12(&request, &q->rate);
    MsgPutPString(&request, q->textCode);
    MsgPutPString(&request, q->customer);
    MsgPutPString(&request, q->priceList);
    MsgPutPString(&request, q->discountCode);
    MsgPutWord(&request, q->vatZone);
    MsgPutBlock12(&request, &q->price);
    MsgPutBlock12(&request, &q->discount);
    if (!RemoteExchange(ReqCalc, &request, &reply)) return false;
    ScratchRecord item(CalcItemRegister);
    ItemPriceAnswer got{};
    uint8_t found = 0;
    MsgGetByte(&reply, &found);
    RemoteGetRecord(&reply, &item);
    MsgGetBlock12(&reply, &got.price);
    MsgGetPString(&reply, got.text);
    MsgGetBlock12(&reply, &got.discount);
    MsgGetPString(&reply, got.vatCode);
    MsgGetPString(&reply, got.account);
    MsgGetBlock12(&reply, &got.cost);
    MsgGetByte(&reply, &got.flag);
    if (!RemoteReplyDone(&reply)) return false;
    RemoteRecordTake(&item, itemRecord);
    *answer = got;
    return found != 0;
}

bool ItemCostRemote(const uint8_t *itemCode, const uint8_t *location, PackedDecimal *first, PackedDecimal *second) {
    MsgBuffer request, reply;
    PutCalc(&request, CalcItemCost);
    MsgPutPString(&request, itemCode);
    MsgPutPString(&request, location);
    if (!RemoteExchange(ReqCalc, &request, &reply)) return false;
    uint8_t found = 0;
    PackedDecimal a{}, b{};
    MsgGetByte(&reply, &found);
    MsgGetBlock12(&reply, &a);
    MsgGetBlock12(&reply, &b);
    if (!RemoteReplyDone(&reply)) return false;
    *first = a;
    *second = b;
    return found != 0;
}

bool CustomerBalanceCreditRemote(uint8_t *customer, PackedDecimal *balance, PackedDecimal *creditLimit) {
    MsgBuffer request, reply;
    PutCalc(&request, CalcCustomerBalance);
    MsgPutRecord(&request, CalcCustomerRegister, customer);
    if (!RemoteExchange(ReqCalc, &request, &reply)) return false;
    ScratchRecord got(CalcCustomerRegister);
    PackedDecimal a{}, b{};
    RemoteGetRecord(&reply, &got);
    MsgGetBlock12(&reply, &a);
    MsgGetBlock12(&reply, &b);
    if (!RemoteReplyDone(&reply)) return false;
    RemoteRecordTake(&got, customer);
    *balance = a;
    *creditLimit = b;
    return customer[0] != 0;
}

bool CurrencyRateRemote(const uint8_t *currency, const DateRec *date, PackedDecimal *rate) {
    MsgBuffer request, reply;
    PutCalc(&request, CalcCurrencyRate);
    MsgPutPString(&request, currency);
    MsgPutDate(&request, date);
    if (!RemoteExchange(ReqCalc, &request, &reply)) return false;
    PackedDecimal got{};
    MsgGetBlock12(&reply, &got);
    if (!RemoteReplyDone(&reply)) return false;
    *rate = got;
    return true;
}

bool RowSumRemote(int reg, uint8_t *record, int row, PackedDecimal *total) {
    MsgBuffer request, reply;
    PutCalc(&request, CalcRowSum);
    MsgPutWord(&request, (uint16_t)reg);
    MsgPutRecord(&request, reg, record);
    MsgPutWord(&request, (uint16_t)row);
    if (!RemoteExchange(ReqCalc, &request, &reply)) return false;
    ScratchRecord got(reg);
    PackedDecimal sum{};
    RemoteGetRecord(&reply, &got);
    MsgGetBlock12(&reply, &sum);
    if (!RemoteReplyDone(&reply)) return false;
    RemoteRecordTake(&got, record);
    if (total) *total = sum;
    return true;
}

bool StockAvailableRemote(uint8_t *delivery) {
    MsgBuffer request, reply;
    PutCalc(&request, CalcStockAvailable);
    MsgPutRecord(&request, CalcDeliveryRegister, delivery);
    if (!RemoteExchange(ReqCalc, &request, &reply)) return false;
    ScratchRecord got(CalcDeliveryRegister);
    RemoteGetRecord(&reply, &got);
    if (!RemoteReplyDone(&reply)) return false;
    RemoteRecordTake(&got, delivery);
    return true;
}
