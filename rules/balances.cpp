// balances.cpp - posting amounts to the balance records (register 17) and
// the links between vouchers.
//
// A balance record is keyed by account and object list (empty: the
// account as a whole) and holds the period block of its running balances,
// two kinds per month (ledger and sub-ledger). Posting one row books its
// amount on every subset of the row's objects, so any combination of
// objects has its balance stored, and on the record "code::" of the row's
// VAT code. Undoing a posting is posting the same rows negated.
//
// A record's rows are gathered first: the amounts that fall on one
// balance record, month and kind are summed and each balance record is
// read and stored once per record posted, not once per row (a voucher of
// thousands of rows books most of them on the same few records), in the
// order of the records' keys.
//
// Posting gives false only when a store failed; the caller then fails its
// hold, so nothing of a half-made posting is kept. A date the balances
// cannot hold posts nothing and raises BalanceDateOutsideFlag.
#include <algorithm>
#include <cassert>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "rules/accounts.h"
#include "rules/ledger.h"

namespace {

// What one row posts: account, object list, VAT code (texts cut to their
// fields) and amount.
struct PostingRow {
    PString account, objects, vatCode;
    PackedDecimal amount;
};

// The month of a booking on account at date into *month and its objects
// (null: none) sorted and joined into joined; false when nothing is to be
// posted: an empty date or account, or a date the balances cannot hold
// (which raises BalanceDateOutsideFlag).
bool BookingMonth(const DateRec *date, const uint8_t *account, const uint8_t *objects, uint16_t *month,
                  uint8_t *joined) {
    if (DateIsEmpty(date) || account[0] == 0) return false;
    if (!MonthIndexChecked(date, month)) {
        BalanceDateOutsideFlag = true;
        return false;
    }
    JoinObjectList(objects ? objects : EmptyPString, joined);
    return true;
}

// out = amount, or its negation when negate is set.
void Negated(const PackedDecimal *amount, bool negate, PackedDecimal *out) {
    if (negate) DecNegateInto(amount, out);
    else DecCopy(out, amount);
}

// Reads the balance record of (account, objects) into record (a
// register-17 buffer) with its id; when there is none, *recid is 0 and
// record holds the two keys alone. false only when the register could
// not be asked.
bool FindBalance(const uint8_t *account, const uint8_t *objects, uint8_t *record, uint32_t *recid) {
    *recid = 0;
    RecClear(BalanceRecord::Number, record);
    PutText(record, BalanceRecord::Account, account);
    PutText(record, BalanceRecord::Objects, objects);
    uint32_t position = 0;
    if (RecFind(BalanceRecord::Number, record, 2, 1, recid, &position)) return true;
    *recid = 0;
    return !RemoteConnectionLost;
}

// Prepares record as the new balance record of (account, objects) named
// name: an empty period block.
void PrepareNewBalance(const uint8_t *account, const uint8_t *objects, const uint8_t *name, uint8_t *record) {
    RecClear(BalanceRecord::Number, record);
    PutText(record, BalanceRecord::Account, account);
    PutText(record, BalanceRecord::Objects, objects);
    PutText(record, BalanceRecord::Name, name);
}

// The name a new balance record of account takes: empty for an account
// that is gone.
void BalanceName(const uint8_t *account, PString name) {
    if (!AccountNameOf(account, name, 60)) name[0] = 0;
}

// One balance record's pending change: amount at (month, kind) of the
// record whose account and object list `record` holds (the two texts
// with their length bytes, one after the other, so that records sort by
// account first).
struct PendingBalance {
    std::string record;
    uint16_t month;
    int kind;
    PackedDecimal amount;
};

// The changes a record's rows make.
struct BalanceBatch {
    std::vector<PendingBalance> pending;
    std::unordered_map<std::string, size_t> at;   // record, month and kind -> pending
};

// Adds amount at (month, kind) of (account, objects) to batch.
void BatchAdd(BalanceBatch *batch, const uint8_t *account, const uint8_t *objects, uint16_t month,
              const PackedDecimal *amount, int kind) {
    std::string key;
    key.reserve((size_t)account[0] + objects[0] + 5);
    key.append((const char *)account, (size_t)account[0] + 1);
    key.append((const char *)objects, (size_t)objects[0] + 1);
    key.push_back((char)(month & 0xFF));
    key.push_back((char)(month >> 8));
    key.push_back((char)kind);
    auto [it, added] = batch->at.try_emplace(std::move(key), batch->pending.size());
    if (!added) {
        PackedDecimal &sum = batch->pending[it->second].amount;
        DecAdd(&sum, amount, &sum);
        return;
    }
    PendingBalance p;
    p.record.assign(it->first, 0, it->first.size() - 3);
    p.month = month;
    p.kind = kind;
    DecCopy(&p.amount, amount);
    batch->pending.push_back(std::move(p));
}

// Adds the changes order[from, to) of one balance record to its record
// buffer and stores it (recid 0: as a new record); false when it could
// not be grown or stored.
bool StoreGroup(const BalanceBatch &batch, const std::vector<size_t> &order, size_t from, size_t to,
                uint8_t *record, uint32_t recid) {
    MemBlock periods = GetU32(record, BalanceRecord::Periods);
    bool grown = true;
    for (size_t k = from; k < to && grown; k++) {
        const PendingBalance &p = batch.pending[order[k]];
        grown = AddToPeriodAmount(&periods, BalanceKinds, p.kind, p.month, &p.amount);
    }
    PutU32(record, BalanceRecord::Periods, periods);   // freed with the record either way
    if (!grown) return false;
    return RecStore(BalanceRecord::Number, record, recid ? 1 : 0, &recid);
}

// Books every change of batch on its balance record, each record read
// and stored once; false when a store failed. The records go in the
// order of their keys, so that one search or insert after the other
// reads the index nodes the last one read (a voucher of thousands of
// rows names tens of thousands of records, which read in the rows' order
// would each read other nodes).
bool BatchStore(const BalanceBatch &batch) {
    std::vector<size_t> order(batch.pending.size());
    for (size_t i = 0; i < order.size(); i++) order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t x, size_t y) {
        int c = batch.pending[x].record.compare(batch.pending[y].record);
        return c != 0 ? c < 0 : x < y;
    });
    RuleRecord balance(BalanceRecord::Number);
    if (!balance.record) return false;
    PString account, objects, name, nameOf;
    nameOf[0] = 0;   // the account whose name `name` holds
    for (size_t from = 0, to; from < order.size(); from = to) {
        const std::string &record = batch.pending[order[from]].record;
        to = from + 1;
        while (to < order.size() && batch.pending[order[to]].record == record) to++;
        const uint8_t *texts = (const uint8_t *)record.data();
        PStringCopy(account, texts);
        PStringCopy(objects, texts + texts[0] + 1);
        uint32_t recid = 0;
        if (!FindBalance(account, objects, balance.record, &recid)) return false;
        if (recid == 0) {
            if (nameOf[0] == 0 || !PStringEqual(nameOf, account)) {
                BalanceName(account, name);
                PStringCopy(nameOf, account);
            }
            PrepareNewBalance(account, objects, name, balance.record);
        }
        if (!StoreGroup(batch, order, from, to, balance.record, recid)) return false;
    }
    return true;
}

// Books amount at (month, kind) of (account, objects): into batch when
// there is one, else on the record at once.
bool BookBalance(BalanceBatch *batch, const uint8_t *account, const uint8_t *objects, uint16_t month,
                 const PackedDecimal *amount, int kind) {
    if (!batch) return UpdateBalanceRecord(account, objects, month, amount, kind);
    BatchAdd(batch, account, objects, month, amount, kind);
    return true;
}

// PostToBalances, booking into batch when there is one.
bool PostRowToBalances(const DateRec *date, const uint8_t *account, const uint8_t *objects,
                       const PackedDecimal *amount, int kind, const uint8_t *extraCode, BalanceBatch *batch);

}  // namespace

// Reads the balance record of (account, objects) into record (a register-17
// buffer) with its id, or prepares a new one (id 0) with an empty period
// block and the account's name. false only when the register could not be
// asked.
bool GetOrCreateBalance(const uint8_t *account, const uint8_t *objects, uint8_t *record, uint32_t *recid) {
    if (!FindBalance(account, objects, record, recid)) return false;
    if (*recid != 0) return true;
    PString name;
    BalanceName(account, name);
    PrepareNewBalance(account, objects, name, record);
    return true;
}

// Adds amount at (month, kind) of the balance record of (account,
// objects), creating it, and stores it; false when it could not be read,
// grown or stored.
bool UpdateBalanceRecord(const uint8_t *account, const uint8_t *objects, uint16_t month, const PackedDecimal *amount,
                         int kind) {
    RuleRecord balance(BalanceRecord::Number);
    if (!balance.record) return false;
    uint32_t recid = 0;
    if (!GetOrCreateBalance(account, objects, balance.record, &recid)) return false;
    MemBlock periods = GetU32(balance.record, BalanceRecord::Periods);
    bool grown = AddToPeriodAmount(&periods, BalanceKinds, kind, month, amount);
    PutU32(balance.record, BalanceRecord::Periods, periods);   // freed with the record either way
    if (!grown) return false;
    return RecStore(BalanceRecord::Number, balance.record, recid ? 1 : 0, &recid);
}

// objects = code followed by "::", the key of code's extra balance record.
void ExtraObjectKey(const uint8_t *code, uint8_t *objects) {
    objects[0] = 0;
    for (int i = 1; i <= code[0] && objects[0] < ObjectListMax - 2; i++) objects[++objects[0]] = code[i];
    PStringAppendC(objects, "::");
}

// Posts amount at date on account for every subset of its objects (the
// empty one included; a repeated code counts once), then on the extra
// record of extraCode when it is not empty.
bool PostToBalances(const DateRec *date, const uint8_t *account, const uint8_t *objects, const PackedDecimal *amount,
                    int kind, const uint8_t *extraCode) {
    return PostRowToBalances(date, account, objects, amount, kind, extraCode, nullptr);
}

namespace {

bool PostRowToBalances(const DateRec *date, const uint8_t *account, const uint8_t *objects,
                       const PackedDecimal *amount, int kind, const uint8_t *extraCode, BalanceBatch *batch) {
    uint16_t month = 0;
    PString joined;
    if (!BookingMonth(date, account, objects, &month, joined)) return true;
    ObjectSlots slots;
    ParseObjectList(joined, &slots);
    int filled = 0;
    while (filled < ObjectSlotCount && slots[filled][0] > 0) filled++;
    for (uint32_t subset = 0; subset < (1u << filled); subset++) {
        bool flags[ObjectSlotCount];
        for (int i = 0; i < ObjectSlotCount; i++) flags[i] = (subset >> i) & 1u;
        PString text;
        ObjectSubsetToText(&slots, text, flags);
        if (!BookBalance(batch, account, text, month, amount, kind)) return false;
    }
    if (extraCode && extraCode[0] > 0) {
        PString key;
        ExtraObjectKey(extraCode, key);
        if (!BookBalance(batch, account, key, month, amount, kind)) return false;
    }
    return true;
}

}  // namespace

// Posts amount at date on the one record of account and objects (sorted,
// each code once), no subsets.
bool PostAmountAtDate(const DateRec *date, const uint8_t *account, const uint8_t *objects, const PackedDecimal *amount,
                      int kind) {
    uint16_t month = 0;
    PString joined;
    if (!BookingMonth(date, account, objects, &month, joined)) return true;
    return UpdateBalanceRecord(account, joined, month, amount, kind);
}

// Posts the account rows of a voucher (kind 0, their VAT codes as extra
// codes) at its transaction date, and gives every voucher that one of its
// link rows names a link back to this one.
bool PostTransaction(const uint8_t *voucher) {
    DateRec date = GetDate(voucher, Voucher::TransDate);
    uint32_t serial = GetU32(voucher, Voucher::SerNr);
    uint16_t yearCode = GetU16(voucher, Voucher::YearCode);
    int32_t count = MatrixRowCount(Voucher::Number, 0, voucher);
    uint8_t row[TransRow::Size];
    BalanceBatch batch;
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Voucher::Number, voucher, i, row)) return false;
        uint16_t kind = GetU16(row, TransRow::Kind);
        if (GetU16(row, TransRow::Flag) != 0) continue;
        if (kind == RowAccount) {
            PostingRow p;
            GetText(row, TransRow::Account, p.account);
            GetText(row, TransRow::Objects, p.objects);
            GetText(row, TransRow::VatCode, p.vatCode);
            p.amount = GetDec(row, TransRow::Amount);
            if (!PostRowToBalances(&date, p.account, p.objects, &p.amount, KindLedger, p.vatCode, &batch)) return false;
        } else if (kind == RowLink) {
            uint32_t linked = GetU32(row, TransRow::LinkSerNr);
            if (!AddLinkRow(serial, yearCode, &date, linked, GetU16(row, TransRow::LinkYearCode))) return false;
        }
    }
    return BatchStore(batch);
}

namespace {

// Posts the rows of a record of reg at the date at dateAt, each on its
// own objects, as kind, with the row's VAT code as extra code when vatAt
// is not NoVatField; negated when asked.
constexpr uint32_t NoVatField = 0xFFFFFFFFu;
bool PostOwnObjectRows(int reg, const uint8_t *record, uint32_t dateAt, uint32_t accountAt, uint32_t objectsAt,
                       uint32_t amountAt, uint32_t vatAt, int kind, bool negate) {
    assert(RecRowSize(reg) <= TransRow::Size);
    DateRec date = GetDate(record, dateAt);
    int32_t count = MatrixRowCount(reg, 0, record);
    uint8_t row[TransRow::Size];
    BalanceBatch batch;
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(reg, record, i, row)) return false;
        PostingRow p;
        GetPString(row, accountAt, 10, p.account);
        GetPString(row, objectsAt, ObjectListMax, p.objects);
        if (vatAt != NoVatField) GetPString(row, vatAt, 2, p.vatCode);
        else p.vatCode[0] = 0;
        PackedDecimal amount = GetDec(row, amountAt);
        Negated(&amount, negate, &p.amount);
        if (!PostRowToBalances(&date, p.account, p.objects, &p.amount, kind, p.vatCode, &batch)) return false;
    }
    return BatchStore(batch);
}

}  // namespace

// Posts the rows of an sm1 record (register 9) at its date, kind 1, with
// their VAT codes as extra codes; negated when asked.
bool PostAccountRows(const uint8_t *sm1, bool negate) {
    return PostOwnObjectRows(SMVc::Number, sm1, SMVc::Date, AccountRow::Account, AccountRow::Objects,
                             AccountRow::Amount, AccountRow::VatCode, KindSubLedger, negate);
}

// Posts the rows of an sp1 record (register 126) at its transaction date,
// kind 0, no extra code; negated when asked.
bool PostAccountRows118(const uint8_t *sp1, bool negate) {
    return PostOwnObjectRows(PersEntryVc::Number, sp1, PersEntryVc::TransDate, Sp1Row::Account, Sp1Row::Objects,
                             Sp1Row::Amount, NoVatField, KindLedger, negate);
}

// Posts the rows of an fb1 record (register 51) on the record's own object
// list only, kind 1 when its posting-kind word is set, else 0; negated
// when asked.
bool PostSingleObjectRows(const uint8_t *fb1, bool negate) {
    DateRec date = GetDate(fb1, OpenBalVc::TransDate);
    PString objects;
    GetText(fb1, OpenBalVc::Objects, objects);
    int kind = GetU16(fb1, OpenBalVc::PostKind) != 0 ? KindSubLedger : KindLedger;
    int32_t count = MatrixRowCount(OpenBalVc::Number, 0, fb1);
    uint8_t row[Fb1Row::Size];
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(OpenBalVc::Number, fb1, i, row)) return false;
        PString account;
        GetText(row, Fb1Row::Account, account);
        PackedDecimal amount = GetDec(row, Fb1Row::Amount), signedAmount;
        Negated(&amount, negate, &signedAmount);
        if (!PostAmountAtDate(&date, account, objects, &signedAmount, kind)) return false;
    }
    return true;
}

// Gives the voucher (linkedSerial, linkedYearCode) a link row back to the
// voucher (serial, yearCode) dated transDate, unless it has one already or
// has no rows; the linked voucher is rewritten without its hooks, so its
// postings stay. A linked voucher that does not exist is left alone.
// false only when the rewrite failed.
bool AddLinkRow(uint32_t serial, uint16_t yearCode, const DateRec *transDate, uint32_t linkedSerial,
                uint16_t linkedYearCode) {
    RuleRecord linked(Voucher::Number);
    if (!linked.record) return false;
    PutU32(linked.record, Voucher::SerNr, linkedSerial);
    PutU16(linked.record, Voucher::YearCode, linkedYearCode);
    uint32_t recid = 0, position = 0;
    if (!RecFind(Voucher::Number, linked.record, 2, 1, &recid, &position)) return !RemoteConnectionLost;
    int32_t count = MatrixRowCount(Voucher::Number, 0, linked.record);
    if (count == 0) return true;
    uint8_t row[TransRow::Size];
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Voucher::Number, linked.record, i, row)) return false;
        if (GetU16(row, TransRow::Kind) == RowLink && GetU32(row, TransRow::LinkSerNr) == serial &&
            GetU16(row, TransRow::LinkYearCode) == yearCode)
            return true;
    }
    ClearBytes(row, (int)sizeof row);
    PutU16(row, TransRow::Kind, RowLink);
    PutU32(row, TransRow::LinkSerNr, serial);
    PutDate(row, TransRow::LinkDate, *transDate);
    PutU16(row, TransRow::LinkYearCode, yearCode);
    if (!MatrixRowPut(Voucher::Number, 0, linked.record, count, row)) return false;
    return RecStore(Voucher::Number, linked.record, 1, &recid);
}
