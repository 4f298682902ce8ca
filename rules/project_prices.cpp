// project_prices.cpp - the prices of project work: customers' own prices,
// price classes of customers and persons, the price of an item on a
// project.
#include <cassert>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "rules/prices.h"
#include "rules/projects.h"

namespace {

constexpr int CodeMax20 = 20, CodeMax5 = 5;
constexpr int ClassMax = 5, PersonClassMax = 6;

// Reads the record of rec's register whose key field (at most max
// characters at offset) is code by the current index; false for an empty
// or overlong code or when there is none.
bool ReadByKey(RuleRecord &rec, uint32_t offset, int max, const uint8_t *code) {
    if (!rec.record || !code || code[0] == 0 || code[0] > max) return false;
    PutPString(rec.record, offset, max, code);
    return RecFindByFirstKey(rec.reg, rec.record);
}

}  // namespace

// The price and percentage of item in customer's own price list (register
// 71); false, both blank, when the customer has no list or the list no row
// of the item.
bool CustDiscPrice(const uint8_t *customer, const uint8_t *item, PackedDecimal *price, PackedDecimal *percent) {
    assert(customer && item && price && percent);
    DecSetBlank(price);
    DecSetBlank(percent);
    RuleRecord list(CustPriceVc::Number);
    if (item[0] == 0 || !ReadByKey(list, CustPriceVc::CustCode, CodeMax20, customer)) return false;
    int32_t n = MatrixRowCount(CustPriceVc::Number, 0, list.record);
    uint8_t row[CustPriceVc::Rows::Size], code[256];
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowGet(CustPriceVc::Number, 0, list.record, i, row)) break;
        GetText(row, CustPriceVc::Rows::ItemCode, code);
        if (!PStringEqual(code, item)) continue;
        *price = GetDec(row, CustPriceVc::Rows::Price);
        *percent = GetDec(row, CustPriceVc::Rows::Percentage);
        return true;
    }
    return false;
}

// The price class of customer: its group's price-list code read as a
// number, 1 when the customer or group is missing or the number is not
// 1..5. The group's price-list code and the group code go to priceList
// and group (PString buffers of 256 bytes; empty when missing).
int CustomerPriceClass(const uint8_t *customer, uint8_t *priceList, uint8_t *group) {
    assert(customer && priceList && group);
    priceList[0] = 0;
    group[0] = 0;
    RuleRecord cust(CUVc::Number);
    if (!ReadByKey(cust, CUVc::Code, CodeMax20, customer)) return 1;
    GetText(cust.record, CUVc::CustGroup, group);
    RuleRecord grp(CustGroupVc::Number);
    if (!ReadByKey(grp, CustGroupVc::Code, CodeMax5, group)) return 1;
    GetText(grp.record, CustGroupVc::PriceList, priceList);
    int cls = 0;
    for (int i = 1; i <= priceList[0]; i++) {
        if (priceList[i] < '0' || priceList[i] > '9') return 1;
        cls = cls * 10 + (priceList[i] - '0');
    }
    return cls >= 1 && cls <= ClassMax ? cls : 1;
}

// The price of class cls (1..6; any other class is taken as 1) in the
// row of timeItem (a register-73 record) for person's category; price is
// left as it was when the person or the row is missing.
void PersonPriceClass(const uint8_t *timeItem, const uint8_t *person, int cls, PackedDecimal *price) {
    assert(timeItem && person && price);
    if (cls < 1 || cls > PersonClassMax) cls = 1;
    RuleRecord pe(PEVc::Number);
    if (!ReadByKey(pe, PEVc::Code, CodeMax5, person)) return;
    uint8_t category[256], code[256];
    GetText(pe.record, PEVc::EmpType, category);
    int32_t n = MatrixRowCount(TimeItemVc::Number, 0, timeItem);
    uint8_t row[TimeItemVc::Rows::Size];
    constexpr uint32_t PriceStep = TimeItemVc::Rows::Price2 - TimeItemVc::Rows::Price1;
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowGet(TimeItemVc::Number, 0, timeItem, i, row)) return;
        GetText(row, TimeItemVc::Rows::Category, code);
        if (!PStringEqual(code, category)) continue;
        *price = GetDec(row, TimeItemVc::Rows::Price1 + PriceStep * (uint32_t)(cls - 1));
        return;
    }
}

// The price and percentage of item worked by person on project: the
// project's customer's own price list first; then, for a time item, the
// person's price in the customer's price class; then the item's price
// for the customer's group and price list (quantity 1, rate 100). Blank
// when the project is missing or nothing gives a price.
void ProjectItemPrice(const uint8_t *project, const uint8_t *item, const uint8_t *person, PackedDecimal *price,
                      PackedDecimal *percent) {
    assert(project && item && person && price && percent);
    DecSetBlank(price);
    DecSetBlank(percent);
    RuleRecord pr(ProjectVc::Number);
    if (!ReadByKey(pr, ProjectVc::Code, CodeMax20, project)) return;
    uint8_t customer[256];
    GetText(pr.record, ProjectVc::CustCode, customer);
    CustDiscPrice(customer, item, price, percent);
    if (!DecIsBlank(price)) return;
    uint8_t priceList[256], group[256];
    int cls = CustomerPriceClass(customer, priceList, group);
    RuleRecord timeItem(TimeItemVc::Number);
    if (ReadByKey(timeItem, TimeItemVc::ItemCode, CodeMax20, item)) {
        PersonPriceClass(timeItem.record, person, cls, price);
        if (!DecIsBlank(price)) return;
    }
    RuleRecord it(INVc::Number);
    if (!ReadByKey(it, INVc::Code, CodeMax20, item)) return;
    static const uint8_t empty[1] = {0};
    ItemPriceQuery q{};
    q.itemCode = item;
    DecFromLong(&q.quantity, 1);
    q.currency = empty;
    DecFromLong(&q.rate, 100);
    q.textCode = empty;
    q.customer = group;
    q.priceList = priceList;
    q.discountCode = empty;
    DecSetBlank(&q.price);
    DecSetBlank(&q.discount);
    ItemPriceAnswer a{};
    if (!ItemPriceCall(&q, it.record, &a)) return;
    *price = a.price;
    *percent = a.discount;
}
