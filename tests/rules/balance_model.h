// balance_model.h - an independent recomputation of the balances
// (register 17) for tests: every posting a test makes is also booked here,
// by its own reading of the rules (object subsets, the "code::" record,
// the month range), and MatchesStore compares every stored balance
// record, month by month and kind by kind, with the model.
//
// It reads the period blocks itself (u16 base month, then 12-byte slots,
// two kinds per month, a blank slot repeating the one before), so a fault
// of the posting code cannot hide behind the same fault in the reader.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "rules/rules_types.h"

struct BalanceModel {
    using Key = std::pair<std::string, std::string>;               // account, object list
    std::map<Key, std::map<std::pair<int, int>, __int128>> moves;   // (month, kind) -> thousandths

    static std::string Str(const uint8_t *base, uint32_t offset, int max) {
        int n = std::min<int>(base[offset], max);
        return std::string((const char *)base + offset + 1, (size_t)n);
    }
    static __int128 Thousandths(const PackedDecimal &d) {
        __int128 v = 0;
        return DecToThousandths(&d, &v) ? v : 0;
    }
    // The month of a booking, or -1 when the balances cannot hold it.
    static int Month(const DateRec &d) {
        if (d.year == 0 || d.month < 1 || d.month > 12) return -1;
        long m = ((long)d.year - 1980) * 12 + d.month - 1;
        return m < 0 || m > 65535 ? -1 : (int)m;
    }
    // The distinct codes of a list (first five, five characters each), sorted.
    static std::vector<std::string> Codes(const std::string &list) {
        std::vector<std::string> codes;
        std::string code;
        auto flush = [&] {
            if (!code.empty() && codes.size() < 5) codes.push_back(code.substr(0, 5));
            code.clear();
        };
        for (char c : list) {
            if (c == ',' || c == '.') flush();
            else code += c;
        }
        flush();
        std::sort(codes.begin(), codes.end());
        codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
        return codes;
    }
    static std::string Join(const std::vector<std::string> &codes) {
        std::string s;
        for (const std::string &c : codes) s += (s.empty() ? "" : ",") + c;
        return s;
    }

    void Book(const Key &key, int month, int kind, __int128 amount) { moves[key][{month, kind}] += amount; }

    // A posting of one row: every subset of its objects (or the list alone
    // when subsets is false), and code + "::" when extra is not empty.
    void Post(const DateRec &date, const std::string &account, const std::string &objects, __int128 amount, int kind,
              const std::string &extra, bool subsets = true) {
        int month = Month(date);
        if (month < 0 || account.empty()) return;
        std::vector<std::string> codes = Codes(objects);
        if (!subsets) {
            Book({account, Join(codes)}, month, kind, amount);
            return;
        }
        for (unsigned mask = 0; mask < (1u << codes.size()); mask++) {
            std::vector<std::string> pick;
            for (size_t i = 0; i < codes.size(); i++)
                if (mask & (1u << i)) pick.push_back(codes[i]);
            Book({account, Join(pick)}, month, kind, amount);
        }
        if (!extra.empty()) Book({account, extra + "::"}, month, kind, amount);
    }

    // Books the rows of a record of reg (sign -1 takes them out again):
    // account, objects and amount at the rows' offsets, the VAT code as the
    // extra code when vatAt is not 0; recordObjectsAt > 0 posts every row
    // on the record's own list, without subsets.
    void PostRows(int reg, const uint8_t *r, uint32_t dateAt, int kind, int sign, uint32_t accountAt,
                  uint32_t objectsAt, uint32_t amountAt, uint32_t vatAt, uint32_t recordObjectsAt = 0) {
        DateRec date = GetDate(r, dateAt);
        uint8_t row[256];
        for (int32_t i = 0; MatrixRowRead(reg, r, i, row); i++) {
            if (reg == TRVc::Number && (GetU16(row, TRVc::Rows::Kind) != 1 || GetU16(row, TRVc::Rows::Flag) != 0))
                continue;
            std::string objects = recordObjectsAt ? Str(r, recordObjectsAt, 30) : Str(row, objectsAt, 30);
            Post(date, Str(row, accountAt, 10), objects, sign * Thousandths(GetDec(row, amountAt)), kind,
                 vatAt ? Str(row, vatAt, 2) : "", recordObjectsAt == 0);
        }
    }
    void PostVoucher(const uint8_t *r, int sign) {
        PostRows(TRVc::Number, r, TRVc::TransDate, 0, sign, TRVc::Rows::Account, TRVc::Rows::Objects,
                 TRVc::Rows::Amount, TRVc::Rows::VatCode);
    }
    void PostSm1(const uint8_t *r, int sign) {
        PostRows(SMVc::Number, r, SMVc::Date, 1, sign, SMVc::Rows::Account, SMVc::Rows::Objects, SMVc::Rows::Amount,
                 SMVc::Rows::VatCode);
    }
    void PostSp1(const uint8_t *r, int sign) {
        PostRows(PersEntryVc::Number, r, PersEntryVc::TransDate, 0, sign, PersEntryVc::Rows::Account,
                 PersEntryVc::Rows::Objects, PersEntryVc::Rows::Amount, 0);
    }
    void PostFb1(const uint8_t *r, int sign) {
        PostRows(OpenBalVc::Number, r, OpenBalVc::TransDate, GetU16(r, OpenBalVc::PostKind) ? 1 : 0, sign,
                 OpenBalVc::Rows::Account, 0, OpenBalVc::Rows::Amount, 0, OpenBalVc::Objects);
    }

    // The stored balances of kind at the end of each month from the raw
    // block's base month on: a blank slot repeats the one before, zero
    // before the first.
    static std::vector<__int128> StoredRun(const std::vector<uint8_t> &block, int kind) {
        std::vector<__int128> run;
        if (block.size() < 2) return run;
        size_t n = (block.size() - 2) / 12;
        __int128 last = 0;
        for (size_t i = (size_t)kind; i < n + 1; i += 2) {
            if (i < n) {
                PackedDecimal d;
                std::memcpy(&d, block.data() + 2 + i * 12, 12);
                if (!DecIsBlank(&d)) last = Thousandths(d);
            }
            run.push_back(last);
        }
        return run;
    }

    // Every stored balance record against the model: every posted key is
    // stored, and per kind every stored record has the model's running
    // balance (zero for a key the model does not know) at every month from
    // before the first either side holds to after the last.
    ::testing::AssertionResult MatchesStore() const {
        std::set<Key> seen;
        uint32_t count = RegRecordCount(BLVc::Number);
        MemBlock h = 0;
        uint8_t *rec = RecBufferNew(BLVc::Number, &h);
        ::testing::AssertionResult result = ::testing::AssertionSuccess();
        for (uint32_t pos = 1; pos <= count && result; pos++) {
            uint32_t recid = 0;
            if (!RecReadAt(BLVc::Number, (int32_t)pos, rec, &recid)) {
                result = ::testing::AssertionFailure() << "balance record " << pos << " unreadable";
                break;
            }
            Key key{Str(rec, BLVc::Account, 10), Str(rec, BLVc::Objects, 30)};
            seen.insert(key);
            std::vector<uint8_t> block;
            MemBlock periods = RecMatrixHandle(BLVc::Number, rec);
            if (periods) {
                uint8_t *p = MemLock(periods);
                block.assign(p, p + MemSize(periods));
                MemUnlock(periods);
            }
            // A record whose postings were all taken out again stays, at zero.
            static const std::map<std::pair<int, int>, __int128> none;
            auto it = moves.find(key);
            const auto &booked = it == moves.end() ? none : it->second;
            // From before the first month either side knows to after the last.
            int first = 65536, last = -1;
            if (!booked.empty()) {
                first = booked.begin()->first.first;
                last = booked.rbegin()->first.first;
            }
            int base = block.size() >= 2 ? GetU16(block.data(), 0) : 0;
            if (block.size() >= 2) {
                int months = (int)((block.size() - 2) / 12 + 1) / 2;
                first = std::min(first, base);
                last = std::max(last, base + months - 1);
            }
            first--, last++;
            for (int kind = 0; kind < 2 && result; kind++) {
                std::vector<__int128> run = StoredRun(block, kind);
                __int128 running = 0;
                auto move = booked.begin();
                for (int m = first; m <= last; m++) {
                    for (; move != booked.end() && move->first.first <= m; ++move)
                        if (move->first.second == kind) running += move->second;
                    if (m < 0) continue;
                    size_t at = m < base ? 0 : std::min<size_t>((size_t)(m - base), run.size() - 1);
                    __int128 stored = m < base || run.empty() ? 0 : run[at];
                    if (stored != running) {
                        result = ::testing::AssertionFailure()
                                 << key.first << " [" << key.second << "] kind " << kind << " month " << m
                                 << ": stored " << (long long)stored << " model " << (long long)running
                                 << " (thousandths)";
                        break;
                    }
                }
            }
        }
        RecBufferFree(BLVc::Number, &h);
        for (auto it = moves.begin(); result && it != moves.end(); ++it)
            if (!seen.count(it->first))
                result = ::testing::AssertionFailure()
                         << "posted but not stored: " << it->first.first << " [" << it->first.second << "]";
        return result;
    }
};
