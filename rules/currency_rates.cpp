// currency_rates.cpp - the rate of a currency on a date, read locally from
// the rates register (47) or asked of the server.
//
// Rates are home currency per 100 units of the foreign currency. A rate is
// valid from its date until the next rate of the same currency, so the
// rate of a date is the latest one dated on or before it.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "database/access/record_access.h"
#include "rules/prices.h"

// The rate of currency on date into rate: blank for an empty code, 100 for
// a currency that has no rate on or before the date (it then counts as
// home currency), else the latest rate not after the date.
void CurrencyRateLocal(const uint8_t *currency, const DateRec *date, PackedDecimal *rate) {
    assert(currency && date && rate);
    DecSetBlank(rate);
    if (currency[0] == 0) return;
    DecFromLong(rate, 100);
    RuleRecord probe(ExchRateVc::Number);
    if (!probe.record) return;
    PutText(probe.record, ExchRateVc::CurncyCode, currency);
    PutDate(probe.record, ExchRateVc::RateDate, *date);
    uint8_t wanted[256], found[256];
    GetText(probe.record, ExchRateVc::CurncyCode, wanted);
    uint32_t recid = 0, position = 0;
    // The last key not above (code, date); a miss leaves the probe as it was.
    if (!RecFindKeep(ExchRateVc::Number, probe.record, 2, 0, &recid, &position)) return;
    GetText(probe.record, ExchRateVc::CurncyCode, found);
    if (!PStringEqual(found, wanted)) return;
    *rate = GetDec(probe.record, ExchRateVc::Rate);
}

// CurrencyRateLocal, or in client mode the server's answer (sub-request 5).
// A client that cannot reach the server gets false and a blank rate: a
// lost connection must not pass for a currency without a rate.
bool CurrencyRate(const uint8_t *currency, const DateRec *date, PackedDecimal *rate) {
    assert(currency && date && rate);
    if (!RunModeIsClient()) {
        CurrencyRateLocal(currency, date, rate);
        return true;
    }
    RemoteConnectionLost = false;
    PackedDecimal got;
    if (!CurrencyRateRemote(currency, date, &got)) {
        RemoteConnectionLost = true;
        DecSetBlank(rate);
        return false;
    }
    *rate = got;
    return true;
}

void HomeCurrencyRate(PackedDecimal *rate) {
    assert(rate);
    DecSetBlank(rate);
}

// A given rate of zero counts as none: a document copied from one whose
// rate was cleared to zero must not post at a rate of zero.
bool DocumentRate(const uint8_t *currency, const DateRec *date, const PackedDecimal *given, PackedDecimal *rate) {
    assert(currency && date && rate);
    if (currency[0] == 0) {
        HomeCurrencyRate(rate);
        return true;
    }
    if (given && !DecIsZero(given)) {
        *rate = *given;
        return true;
    }
    return CurrencyRate(currency, date, rate);
}

bool RateFitsCurrency(const uint8_t *currency, const PackedDecimal *rate) {
    assert(currency && rate);
    if (currency[0] != 0 || DecIsZero(rate)) return true;
    PackedDecimal hundred;
    DecFromLong(&hundred, 100);
    return DecCompare(rate, &hundred) == 0;
}
