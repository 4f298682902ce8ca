// bench_vouchers.h - the ledger data of the report benchmarks: a voucher
// of three rows (account 1000 for 100, 2000 for -60, 3000 for -40, year
// code 2) and its three postings in register 18, stored without hooks as
// posting leaves them.
#pragma once

#include <cstdint>

#include "core/date.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "rules/rules_types.h"

// Stores voucher `serNr` of `date`, with `objects` on its first row (the
// account 1000), and its postings; false when a store failed.
inline bool BenchStoreVoucher(uint32_t serNr, const DateRec &date, const char *objects = "") {
    RuleRecord v(TRVc::Number);
    if (!v.record) return false;
    PutU32(v.record, TRVc::SerNr, serNr);
    PutU16(v.record, TRVc::YearCode, 2);
    PutDate(v.record, TRVc::TransDate, date);
    const char *accounts[3] = {"1000", "2000", "3000"};
    const double amounts[3] = {100, -60, -40};
    for (int i = 0; i < 3; i++) {
        uint8_t row[TRVc::Rows::Size] = {};
        PString text;
        PutU16(row, TRVc::Rows::Kind, 1);
        PStringFromC(text, accounts[i]);
        PutText(row, TRVc::Rows::Account, text);
        PStringFromC(text, i == 0 ? objects : "");
        PutText(row, TRVc::Rows::Objects, text);
        PackedDecimal a;
        DecFromDouble(&a, amounts[i]);
        PutDec(row, TRVc::Rows::Amount, a);
        if (!MatrixRowPut(TRVc::Number, 0, v.record, i, row)) return false;
    }
    uint32_t recid = 0;
    if (!RecStore(TRVc::Number, v.record, 0, &recid)) return false;
    for (const char *acc : accounts) {
        uint8_t e[ATVc::Size] = {};
        PString text;
        PutDate(e, ATVc::Date, date);
        PStringFromC(text, acc);
        PutText(e, ATVc::Account, text);
        PutU32(e, ATVc::SourceSerNr, serNr);
        PutU32(e, ATVc::SourceRecId, recid);
        PutU16(e, ATVc::SourceReg, TRVc::Number);
        PutU16(e, ATVc::YearCode, 2);
        uint32_t id = 0;
        if (!RecStoreByKey(ATVc::Number, e, 1, &id)) return false;
    }
    return true;
}
