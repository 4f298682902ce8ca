// net_of_tax.cpp - an amount without the VAT of a VAT code, for the
// gross profit of document rows whose prices may include VAT.
#include <cassert>

#include "operations/sales_invoice.h"
#include "rules/vat_currency.h"

// net = amount less its VAT part at vatCode (rounded to 2 decimals) when
// withTax is set (the amount includes VAT), else the amount unchanged.
void NetOfTax(const uint8_t *vatCode, const PackedDecimal *amount, uint16_t withTax, PackedDecimal *net)
{
    assert(vatCode && amount && net);
    PackedDecimal value = *amount;
    if (withTax == 0) {
        *net = value;
        return;
    }
    PackedDecimal vat, rate;
    VatAmountRound2(vatCode, &value, &vat, &rate, 1);
    DecSub(&value, &vat, net);
}
