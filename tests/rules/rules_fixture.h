// rules_fixture.h - the fixture of the business rules' tests: the interface
// file the build compiled, the work blocks, a fresh database with the
// settings blocks bound, a fixed today, a record of the messages shown,
// and helpers that store the settings rows and records the rules read.
//
// The rules' register entries are not installed unless a test class
// overrides InstallRules.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/format_block.h"
#include "core/interface_load.h"
#include "core/message_sink.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "database/access/settings_binding.h"
#include "database/access/settings_blocks.h"
#include "database/engine/engine.h"
#include "rules/rules_types.h"
#include "tests/core/built_interface.h"

// The fields of an item that prices, stock and structures read.
struct FixtureItem {
    const char *group = "";
    double price = 0;           // base price
    double cost = 0;            // cost price
    uint16_t stocked = 1;
    uint16_t serialMode = 0;    // 0 none, else serial-tracked
    const char *structure = "";
    const char *pctTable = "";
    const char *vatCode = "";
    const char *name = "";
};
// A structure row: a component used qty per unit made; a row naming
// the structure's own item gives the batch size in qtyIn.
struct FixtureStructureRow {
    const char *item;
    double qty;
    double qtyIn = 0;
};

class RulesFixture : public ::testing::Test {
protected:
    static inline std::vector<std::string> shown;   // texts shown, oldest first
    std::string path;
    std::map<int, std::vector<uint8_t>> tableRows;  // rows stored so far, by block

    static void RecordShown(const char *text) { shown.emplace_back(text); }

    // Installs the rules' register entries; the base installs none.
    virtual bool InstallRules() { return false; }

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
        if (!PendingVoucher) {
            ASSERT_TRUE(AllocWorkBlocks());
        }
        // No user is logged in: a session user left by an earlier test in
        // this process would bring its own voucher series start.
        std::memset(SessionUserInfo, 0, SessionUserEntries * SessionUserEntrySize);
        CurrentSessionIndex = 0;
        shown.clear();
        MessageSinkSet(RecordShown);
        AccessServices = AccessServiceHooks{};
        RegisterHooksClear();
        RunMode = 0;
        LockOwnerId = 1;
        TodayDate = DateRec{15, 6, 2024};
        ASSERT_TRUE(DbLayerInit());
        path = ::testing::TempDir() + "orvel_rules_" + std::to_string(getpid()) + ".VDB";
        std::remove(path.c_str());
        ASSERT_EQ(D4Create(path.c_str(), 0), D4OpenOk);
        ASSERT_TRUE(SettingsStartup());
        tableRows.clear();
        InstallRules();
    }

    void TearDown() override {
        if (D4IsOpen()) {
            std::string report;
            EXPECT_TRUE(D4IntegrityCheck(&report)) << report;
            D4Close();
        }
        std::remove(path.c_str());
        RegisterHooksClear();
        AccessServices = AccessServiceHooks{};
        for (const HandleBlockBinding &b : HandleBlockBindings) MemFree(b.variable);
        FormatBlockBind(nullptr);
        MessageSinkSet(nullptr);
        InterfaceUnload();
    }

    // ---- Values ----

    static PackedDecimal Dec(double x) {
        PackedDecimal d;
        DecFromDouble(&d, x);
        return d;
    }
    static void PutText(uint8_t *base, uint32_t offset, int max, const char *text) {
        uint8_t p[256];
        PStringFromC(p, text);
        PutPString(base, offset, max, p);
    }
    static std::string Text(const uint8_t *base, uint32_t offset) {
        return std::string((const char *)base + offset + 1, base[offset]);
    }

    // ---- Settings ----

    // Appends one row (rowSize bytes, filled by fill) to table block `block`
    // and stores the whole table through the settings layer.
    template <typename Fill>
    void AddRow(int block, uint32_t rowSize, Fill fill) {
        std::vector<uint8_t> &rows = tableRows[block];
        rows.resize(rows.size() + rowSize, 0);
        fill(rows.data() + rows.size() - rowSize);
        ASSERT_EQ(SettingsBlockStore(block, rows.data(), (uint32_t)rows.size()), RecDone) << block;
    }
    void AddVatCode(const char *code, double rate, double rate2, const char *acc1, const char *acc2) {
        AddRow(VatCodeBlk::Number, VatCodeRow::Size, [&](uint8_t *r) {
            PutText(r, VatCodeRow::Code, 2, code);
            PutDec(r, VatCodeRow::Rate, Dec(rate));
            if (rate2 >= 0) PutDec(r, VatCodeRow::Rate2, Dec(rate2));
            else { PackedDecimal blank; DecSetBlank(&blank); PutDec(r, VatCodeRow::Rate2, blank); }
            PutText(r, VatCodeRow::Account1, 10, acc1);
            PutText(r, VatCodeRow::Account2, 10, acc2);
        });
    }
    void AddFiscalYear(uint16_t code, const char *name, DateRec start, DateRec end) {
        AddRow(FiscalYearBlk::Number, FiscalYearEntry::Size, [&](uint8_t *r) {
            PutU16(r, FiscalYearEntry::OrderCode, code);
            PutText(r, FiscalYearEntry::YearCode, 5, name);
            PutDate(r, FiscalYearEntry::StartDate, start);
            PutDate(r, FiscalYearEntry::EndDate, end);
        });
    }
    void AddSeriesRow(int block, uint32_t first, uint32_t last, DateRec from = {}, DateRec to = {}) {
        AddRow(block, SeriesRow::Size, [&](uint8_t *r) {
            PutU32(r, SeriesRow::FirstNr, first);
            PutU32(r, SeriesRow::LastNr, last);
            PutDate(r, SeriesRow::ValidFrom, from);
            PutDate(r, SeriesRow::ValidTo, to);
        });
    }
    // Stores a one-record settings block.
    void StoreBlock(int block, const uint8_t *data, uint32_t size) {
        ASSERT_EQ(SettingsBlockStore(block, data, size), RecDone) << block;
    }

    // Lets vouchers dated after lock be deleted (the company's date lock on,
    // the delete lock at lock).
    void AllowVoucherDeletesAfter(DateRec lock) {
        std::vector<uint8_t> company(CompanyBlk::Size), locks(DateLockBlk::Size);
        PutU16(company.data(), CompanyBlk::DateLockOn, 1);
        PutDate(locks.data(), DateLockBlk::DeleteLock, lock);
        StoreBlock(CompanyBlk::Number, company.data(), CompanyBlk::Size);
        StoreBlock(DateLockBlk::Number, locks.data(), DateLockBlk::Size);
    }

    // ---- Records ----

    // Appends an account row to a record of reg (9, 11, 51 or 126): for a
    // voucher kind 1 with the flag given; objects and VAT code where the
    // row has them.
    static void AddLedgerRow(int reg, uint8_t *r, const char *account, const char *objects, double amount,
                             const char *vat = "", uint16_t flag = 0) {
        uint8_t row[TRVc::Rows::Size] = {};
        uint32_t accountAt = 0, objectsAt = 0, amountAt = 0, vatAt = 0;
        switch (reg) {
        case TRVc::Number:
            PutU16(row, TRVc::Rows::Kind, RowAccount);
            PutU16(row, TRVc::Rows::Flag, flag);
            accountAt = TRVc::Rows::Account, objectsAt = TRVc::Rows::Objects, amountAt = TRVc::Rows::Amount;
            vatAt = TRVc::Rows::VatCode;
            break;
        case SMVc::Number:
            accountAt = SMVc::Rows::Account, objectsAt = SMVc::Rows::Objects, amountAt = SMVc::Rows::Amount;
            vatAt = SMVc::Rows::VatCode;
            break;
        case PersEntryVc::Number:
            accountAt = PersEntryVc::Rows::Account, objectsAt = PersEntryVc::Rows::Objects;
            amountAt = PersEntryVc::Rows::Amount;
            break;
        default:
            ASSERT_EQ(reg, OpenBalVc::Number);
            accountAt = OpenBalVc::Rows::Account, amountAt = OpenBalVc::Rows::Amount;
            break;
        }
        PutText(row, accountAt, 10, account);
        if (objectsAt) PutText(row, objectsAt, 30, objects);
        if (vatAt) PutText(row, vatAt, 2, vat);
        PutDec(row, amountAt, Dec(amount));
        ASSERT_TRUE(MatrixRowPut(reg, 0, r, MatrixRowCount(reg, 0, r), row));
    }

    // Stores a record of reg filled by fill; its record id.
    template <typename Fill>
    uint32_t StoreRecord(int reg, Fill fill) {
        RuleRecord r(reg);
        EXPECT_NE(r.record, nullptr);
        if (!r.record) return 0;
        fill(r.record);
        uint32_t recid = 0;
        EXPECT_TRUE(RecStoreByKey(reg, r.record, 1, &recid)) << reg;
        return recid;
    }
    // The stored record `recid` saved again unchanged, as a window would
    // save it: its register's check, 0 when it passes. A record the
    // program made itself must pass the check a user's save runs.
    static int CheckedAsSaved(int reg, uint32_t recid) {
        RuleRecord stored(reg), edited(reg);
        if (!RecReadById(reg, recid, stored.record) || !RecReadById(reg, recid, edited.record)) return -2;
        return ValidateRecord(reg, edited.record, stored.record, 2);
    }
    uint32_t StoreAccount(const char *code, const char *name, uint16_t kind, uint16_t blocked = 0) {
        return StoreRecord(ACVc::Number, [&](uint8_t *r) {
            PutText(r, ACVc::Code, 10, code);
            PutText(r, ACVc::Name, 60, name);
            PutU16(r, ACVc::AccType, kind);
            PutU16(r, ACVc::DebitAllowed, 1);
            PutU16(r, ACVc::CreditAllowed, 1);
            PutU16(r, ACVc::Blocked, blocked);
        });
    }
    uint32_t StoreObjectType(const char *code) {
        return StoreRecord(OTVc::Number, [&](uint8_t *r) { PutText(r, OTVc::Code, 5, code); });
    }
    uint32_t StoreObject(const char *code, const char *type, uint16_t blocked = 0) {
        return StoreRecord(OBVc::Number, [&](uint8_t *r) {
            PutText(r, OBVc::Code, 5, code);
            PutText(r, OBVc::ObjType, 5, type);
            PutU16(r, OBVc::Blocked, blocked);
        });
    }
    uint32_t StoreTerms(const char *code, uint16_t kind, int32_t days) {
        return StoreRecord(PayTermsVc::Number, [&](uint8_t *r) {
            PutText(r, PayTermsVc::Code, 2, code);
            PutU16(r, PayTermsVc::Kind, kind);
            PutI32(r, PayTermsVc::Days, days);
        });
    }

    // ---- Items, stock, customers and rates ----

    uint32_t StoreItem(const char *code, const FixtureItem &f = {}) {
        return StoreRecord(INVc::Number, [&](uint8_t *r) {
            PutText(r, INVc::Code, 20, code);
            PutText(r, INVc::Name, 60, f.name);
            PutText(r, INVc::Group, 5, f.group);
            PutDec(r, INVc::BasePrice, Dec(f.price));
            PutDec(r, INVc::CostPrice, Dec(f.cost));
            PutU16(r, INVc::Stocked, f.stocked);
            PutU16(r, INVc::SerialMode, f.serialMode);
            PutText(r, INVc::StructCode, 20, f.structure);
            PutText(r, INVc::PctTable, 5, f.pctTable);
            PutText(r, INVc::VatCode, 2, f.vatCode);
        });
    }
    uint32_t StoreLocation(const char *code, const char *stockAccount = "") {
        return StoreRecord(LocationVc::Number, [&](uint8_t *r) {
            PutText(r, LocationVc::Code, 10, code);
            PutText(r, LocationVc::StockAcc, 10, stockAccount);
        });
    }
    // Inserts the register-6 record of item at location (one per pair: the
    // register's current index is the item alone, so no key replaces it).
    uint32_t StoreStock(const char *item, const char *location, double inStock, double reserved = 0) {
        RuleRecord r(LSVc::Number);
        EXPECT_NE(r.record, nullptr);
        if (!r.record) return 0;
        PutText(r.record, LSVc::ItemCode, 20, item);
        PutText(r.record, LSVc::Location, 10, location);
        PutDec(r.record, LSVc::InStock, Dec(inStock));
        PutDec(r.record, LSVc::Reserved, Dec(reserved));
        uint32_t recid = 0;
        EXPECT_TRUE(RecStore(LSVc::Number, r.record, 0, &recid));
        return recid;
    }
    // Inserts a receipt of qty into the history of item at location (a
    // FIFO layer), made by row rowNr of document docNr of type docType.
    uint32_t StoreFifoLayer(const char *item, const char *location, DateRec date, double qty, uint16_t docType,
                            uint32_t docNr, uint16_t rowNr = 0) {
        RuleRecord r(ItemHistVc::Number);
        EXPECT_NE(r.record, nullptr);
        if (!r.record) return 0;
        PutText(r.record, ItemHistVc::ItemCode, 20, item);
        PutText(r.record, ItemHistVc::Location, 10, location);
        PutU16(r.record, ItemHistVc::DocType, docType);
        PutU32(r.record, ItemHistVc::DocNr, docNr);
        PutDate(r.record, ItemHistVc::HistDate, date);
        PutU16(r.record, ItemHistVc::Receipt, 1);
        PutDec(r.record, ItemHistVc::Quantity, Dec(qty));
        PutU16(r.record, ItemHistVc::Direction, 1);
        PutU16(r.record, ItemHistVc::RowNr, rowNr);
        uint32_t recid = 0;
        EXPECT_TRUE(RecStore(ItemHistVc::Number, r.record, 0, &recid));
        return recid;
    }
    uint32_t StoreCustomer(const char *code, const char *group = "", const char *payer = "", double limit = 0) {
        return StoreRecord(CUVc::Number, [&](uint8_t *r) {
            PutText(r, CUVc::Code, 20, code);
            PutText(r, CUVc::CustGroup, 5, group);
            PutText(r, CUVc::PayerCode, 20, payer);
            PutDec(r, CUVc::CreditLimit, Dec(limit));
        });
    }
    // The rate of currency from date on (home currency per 100 units).
    uint32_t StoreRate(const char *currency, DateRec date, double rate) {
        return StoreRecord(ExchRateVc::Number, [&](uint8_t *r) {
            PutText(r, ExchRateVc::CurncyCode, 5, currency);
            PutDate(r, ExchRateVc::RateDate, date);
            PutDec(r, ExchRateVc::Rate, Dec(rate));
        });
    }
    uint32_t StoreStructure(const char *code, std::initializer_list<FixtureStructureRow> rows) {
        return StoreRecord(StructureVc::Number, [&](uint8_t *r) {
            PutText(r, StructureVc::Code, 20, code);
            for (const FixtureStructureRow &x : rows) {
                uint8_t row[StructureVc::Rows::Size] = {};
                PutText(row, StructureVc::Rows::ItemCode, 20, x.item);
                PutDec(row, StructureVc::Rows::Quantity, Dec(x.qty));
                PutDec(row, StructureVc::Rows::QuantityIn, Dec(x.qtyIn));
                ASSERT_TRUE(MatrixRowPut(StructureVc::Number, 0, r, MatrixRowCount(StructureVc::Number, 0, r), row));
            }
        });
    }
};
