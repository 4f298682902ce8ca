// project_prices.cpp - the prices of project work: customers' own prices,
// price classes of customers and persons, the price of an item on a
// project.
#include "rules/projects.h"

// Finds no price: false.
bool CustDiscPrice(const uint8_t *customer, const uint8_t *item, PackedDecimal *price, PackedDecimal *percent) {
    return false;
}

// Knows no class: 0, priceList and group empty.
int CustomerPriceClass(const uint8_t *customer, uint8_t *priceList, uint8_t *group) {
    priceList[0] = 0;
    group[0] = 0;
    return 0;
}

// Knows no price: price blank.
void PersonPriceClass(const uint8_t *timeItem, const uint8_t *person, int cls, PackedDecimal *price) {
    DecSetBlank(price);
}

// Knows no price: price and percent blank.
void ProjectItemPrice(const uint8_t *project, const uint8_t *item, const uint8_t *person, PackedDecimal *price,
                      PackedDecimal *percent) {
    DecSetBlank(price);
    DecSetBlank(percent);
}
