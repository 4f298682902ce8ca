// sie_voucher_numbers.cpp - the numbers the vouchers of an SIE file are
// stored under, planned on the checked items before anything is stored.
//
// Other programs keep several voucher series in a year (A, B, C...), each
// numbered from 1; this program keys a ledger voucher by its number and
// its fiscal year only. So every voucher of a series other than the fixed
// series 201..210 goes to the ledger series of its date's fiscal year: the
// first voucher of the file to claim a number there keeps it, and every
// later one whose number is taken (by the file or by the company) or that
// has no number gets the next number after the highest the file claims
// in that series, free in the company too. Renumbered vouchers are
// counted for the closing message. A voucher whose date lies in no fiscal
// year of the company or of the file's #RAR lines refuses the file, so a
// file is stored whole or not at all.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/sie.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

namespace {

// The file's own years are told apart from the company's year codes (at
// most YearCodeMax) and fixed series (up to YearCodeFixedLast).
constexpr long FileYearGroup = 100000;

struct Series {
    bool inCompany = false;   // its numbers may be taken by stored vouchers
    uint16_t code = 0;        // the year code or fixed series probed
    std::set<long> claimed;   // numbers the file's vouchers take
    long highest = 0;
};

// The series a voucher is stored in: a fixed series, the company's year
// of its date, or a year one of the file's #RAR lines makes; -1 for none.
long SeriesOf(const SieItem &it, const std::vector<const SieItem *> &years)
{
    long fixed = 0;
    if (it.tag == SieTag::Voucher && SieIntegerRead(it.a, YearCodeFixedFirst, YearCodeFixedLast, &fixed)) return fixed;
    const uint16_t code = YearCodeOfDate(&it.date1);
    if (code >= YearCodeMin && code <= YearCodeMax) return code;
    for (size_t k = 0; k < years.size(); k++)
        if (DateInRange(&it.date1, &years[k]->date1, &years[k]->date2)) return FileYearGroup + long(k);
    return -1;
}

bool Taken(const Series &s, long number)
{
    if (s.claimed.count(number) != 0) return true;
    if (!s.inCompany) return false;
    uint8_t key[TRVc::Size] = {};
    PutU32(key, TRVc::SerNr, uint32_t(number));
    PutU16(key, TRVc::YearCode, s.code);
    return RecExists(TRVc::Number, key);
}

void Claim(Series &s, long number)
{
    s.claimed.insert(number);
    if (number > s.highest) s.highest = number;
}

}  // namespace

bool SiePlanVoucherNumbers(std::vector<SieItem> *items, uint32_t *line, int *fault, std::string *detail,
                           SieRenumberedRec *renumbered)
{
    *renumbered = SieRenumberedRec{};
    std::vector<const SieItem *> years;
    for (const SieItem &it : *items)
        if (it.tag == SieTag::Year) years.push_back(&it);
    std::map<long, Series> series;
    std::vector<std::pair<SieItem *, long>> later;   // vouchers numbered after the first pass, in file order
    for (SieItem &it : *items) {
        if (it.tag != SieTag::Voucher && it.tag != SieTag::PeriodBalance) continue;
        const long at = SeriesOf(it, years);
        if (at < 0) {
            *line = it.line;
            *fault = Texts::SieFaultNoYear;
            *detail = SieDateText(&it.date1);
            return false;
        }
        if (it.tag != SieTag::Voucher) continue;   // period vouchers are numbered when stored
        Series &s = series[at];
        s.inCompany = at < FileYearGroup;
        s.code = uint16_t(s.inCompany ? at : 0);
        if (it.number > 0 && !Taken(s, it.number))
            Claim(s, it.number);
        else
            later.emplace_back(&it, at);
    }
    for (auto &[it, at] : later) {
        Series &s = series[at];
        long number = s.highest + 1;
        while (Taken(s, number)) number++;
        Claim(s, number);
        if (it->number > 0 && renumbered->count++ == 0)
            renumbered->first = it->a + " " + std::to_string(it->number) + " -> " + std::to_string(number);
        it->number = number;
    }
    return true;
}
