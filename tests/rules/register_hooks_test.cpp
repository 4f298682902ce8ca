// register_hooks_test.cpp - the rules' register entries: which registers
// they reach, the defaults of new records (their prices with or without
// VAT among them), the block-132 state the hooks keep, and a hook whose
// posting is not stored failing its caller's hold.
#include <set>

#include "operations/operations.h"
#include "rules/checks.h"
#include "rules/entry_state.h"
#include "rules/hooks.h"
#include "database/access/record_locks.h"
#include "rules/ledger.h"
#include "tests/rules/balance_model.h"
#include "tests/rules/rules_fixture.h"

namespace {

class RegisterEntries : public RulesFixture {
protected:
    bool InstallRules() override {
        RulesInstall();
        return true;
    }
};

// Exactly the registers the rules are built for have an entry; the other
// registers' entries are left as they were, and a second install changes
// nothing.
TEST_F(RegisterEntries, InstalledRegisters) {
    const std::set<int> installed = {2, 3, 4, 7, 8, 9, 10, 11, 14, 15, 16, 19, 20, 21, 23, 24, 26, 27, 28, 30, 39, 40,
                                     41, 42, 43, 44, 45, 47, 50, 51, 52, 53, 54, 55, 56, 57, 58, 60, 61, 62, 63, 64,
                                     65, 66, 68, 71, 72, 73, 74, 77, 78, 91, 92, 101, 109, 110, 116, 118, 120, 122, 123,
                                     124, 125, 126, 127, 128, 130, 132};
    RegisterHookTable[5].canDelete = [](int, uint8_t *, int) { return 0; };
    RulesInstall();
    for (int reg = -1; reg <= RegisterCount; reg++)
        EXPECT_EQ(RegisterHasRules(reg), installed.count(reg) == 1 || reg == 5) << reg;
    EXPECT_NE(RegisterHookTable[5].canDelete, nullptr);
}

// Each register's own hooks sit over the record layer's checks: a register
// that brings no validation, delete check or kept fields of its own has the
// record layer's, and one that brings its own validation keeps it.
TEST_F(RegisterEntries, OwnHooksOverTheRecordLayersChecks) {
    RulesInstall();
    for (int reg : {int(IPVc::Number), int(VIVc::Number), int(OPVc::Number), int(PUVc::Number), int(ORVc::Number),
                    int(SHVc::Number), int(ExpenseVc::Number), int(PersPayVc::Number), int(TRVc::Number),
                    int(SMVc::Number), int(ContractVc::Number), int(QuotationVc::Number), int(IVVc::Number)}) {
        const RegisterHooks &h = RegisterHookTable[size_t(reg)];
        EXPECT_EQ(h.canDelete, &CanDeleteRecordOf) << reg;
        EXPECT_EQ(h.preserveStoredFields, &PreserveStoredFieldsOf) << reg;
        EXPECT_NE(h.validateRecord, nullptr) << reg;
        EXPECT_TRUE(h.beforeInsert || h.afterInsert || h.newRecordDefaults) << reg << ": its own hooks are gone";
        if (reg != IVVc::Number) {
            EXPECT_EQ(h.validateRecord, &ValidateRecordOf) << reg;
        }
    }
    EXPECT_NE(RegisterHookTable[IVVc::Number].validateRecord, &ValidateRecordOf);   // the invoice's own
    EXPECT_NE(RegisterHookTable[IVVc::Number].beforeDelete, nullptr);
}

// A new vendor's code follows the last one when it is a number and stays
// empty when it is not or when its successor would not fit 32 bits.
TEST_F(RegisterEntries, NewVendorCodeFollowsTheLastNumber) {
    uint8_t *series = SettingsRecord(SeriesDefaultsBlk::Number, SeriesStateBlock);
    ASSERT_NE(series, nullptr);
    for (auto [last, next] : {std::pair{"1099", "1100"}, std::pair{"4294967295", ""}, std::pair{"V12", ""}}) {
        PutText(series, SeriesDefaultsBlk::LastVendorCode, 20, last);
        RuleRecord vendor(VEVc::Number);
        RecNewDefaults(VEVc::Number, vendor.record);
        EXPECT_EQ(Text(vendor.record, VEVc::Code), next) << last;
    }
}

// Inserted customers and vendors become the last codes of block 132, and a
// new item gets its stock record at its default location once.
TEST_F(RegisterEntries, InsertsKeepLastCodesAndMakeStock) {
    RuleRecord customer(CUVc::Number), vendor(VEVc::Number), item(INVc::Number);
    PutText(customer.record, CUVc::Code, 20, "C77");
    PutText(vendor.record, VEVc::Code, 20, "2001");
    PutText(item.record, INVc::Code, 20, "BOLT");
    PutText(item.record, INVc::DefLocation, 10, "MAIN");
    uint32_t id = 0;
    ASSERT_TRUE(RecInsertUnchecked(CUVc::Number, customer.record, &id));
    ASSERT_TRUE(RecInsertUnchecked(VEVc::Number, vendor.record, &id));
    ASSERT_TRUE(RecInsertUnchecked(INVc::Number, item.record, &id));
    EXPECT_EQ(Text(SeriesStateBlock, SeriesDefaultsBlk::LastCustCode), "C77");
    EXPECT_EQ(Text(SeriesStateBlock, SeriesDefaultsBlk::LastVendorCode), "2001");
    uint8_t stock[LSVc::Size] = {};
    ASSERT_TRUE(RecReadAt(LSVc::Number, 1, stock, &id));
    EXPECT_EQ(Text(stock, LSVc::ItemCode), "BOLT");
    EXPECT_EQ(Text(stock, LSVc::Location), "MAIN");
    EXPECT_EQ(RegRecordCount(LSVc::Number), 1u);
}

// A new quotation, order, invoice and contract each take block 133's
// "prices include VAT" word, on or off.
TEST_F(RegisterEntries, NewSalesDocumentsTakeThePricesWithVatWord) {
    struct Doc {
        int reg;
        uint32_t inclVat;
    };
    const Doc docs[] = {{QuotationVc::Number, QuotationVc::InclVat},
                        {ORVc::Number, ORVc::InclVat},
                        {IVVc::Number, IVVc::InclVat},
                        {ContractVc::Number, ContractVc::InclVat}};
    for (uint16_t word : {1, 0}) {
        std::vector<uint8_t> block(SalesAccountsBlk::Size, 0);
        PutU16(block.data(), SalesAccountsBlk::PricesInclVat, word);
        StoreBlock(SalesAccountsBlk::Number, block.data(), SalesAccountsBlk::Size);
        for (const Doc &d : docs) {
            RuleRecord r(d.reg);
            RecNewDefaults(d.reg, r.record);
            EXPECT_EQ(GetU16(r.record, d.inclVat), word) << "register " << d.reg;
        }
    }
}

// A new voucher is booked on the default transaction date when that lies
// in a fiscal year, else today; in run mode 0 it is numbered from the
// series at once, elsewhere it stays "not numbered" until its insert.
TEST_F(RegisterEntries, VoucherDefaults) {
    AddFiscalYear(2, "2023", {1, 1, 2023}, {31, 12, 2023});
    AddSeriesRow(VoucherSeriesBlk::Number, 41, 999);
    struct Case {
        uint16_t runMode;
        DateRec entered, trans;
        uint32_t serial;
    };
    for (const Case &c : {Case{1, {9, 9, 1990}, TodayDate, SerialNone}, Case{0, {9, 9, 2023}, {9, 9, 2023}, 41}}) {
        RunMode = c.runMode;
        DefaultTransDate = c.entered;
        RuleRecord v(Voucher::Number);
        RecNewDefaults(Voucher::Number, v.record);
        EXPECT_EQ(GetU32(v.record, Voucher::SerNr), c.serial) << c.runMode;
        DateRec got = GetDate(v.record, Voucher::TransDate);
        EXPECT_EQ(DateCompare(&got, &c.trans), 0) << c.runMode;
        got = GetDate(v.record, Voucher::RegDate);
        EXPECT_EQ(DateCompare(&got, &TodayDate), 0);
    }
}

// An insert posts a voucher, copies its rows to register 18 and makes its
// dates and number the entry defaults; an update takes the stored rows out
// of the balances and posts the new ones; a delete takes them out. The
// balances follow the model at every step.
TEST_F(RegisterEntries, VoucherSavesMoveItsPostings) {
    AddFiscalYear(2, "2024", {1, 1, 2024}, {31, 12, 2024});
    AddSeriesRow(VoucherSeriesBlk::Number, 1, 999);
    StoreAccount("1910", "Cash", 0);
    StoreAccount("3010", "Sales", 3);
    StoreObjectType("PR");
    StoreObject("P1", "PR");
    AllowVoucherDeletesAfter({31, 12, 2023});
    BalanceModel model;
    RuleRecord v(Voucher::Number);
    RecNewDefaults(Voucher::Number, v.record);
    PutDate(v.record, Voucher::TransDate, DateRec{10, 3, 2024});
    AddLedgerRow(Voucher::Number, v.record, "1910", "P1", 100);
    AddLedgerRow(Voucher::Number, v.record, "3010", "", -100);
    uint32_t recid = 0;
    int result = 0;
    RecInsertChecked(Voucher::Number, v.record, &recid, &result);
    ASSERT_EQ(result, RecDone);
    ASSERT_TRUE(RecReadById(Voucher::Number, recid, v.record));
    EXPECT_EQ(GetU16(v.record, Voucher::Posted), 1);
    EXPECT_EQ(GetU16(v.record, Voucher::Reg18Done), 1);
    EXPECT_EQ(RegRecordCount(ATVc::Number), 2u);
    model.PostVoucher(v.record, 1);
    EXPECT_TRUE(model.MatchesStore());
    DateRec want{10, 3, 2024}, got = DefaultTransDate;
    EXPECT_EQ(DateCompare(&got, &want), 0);
    got = GetDate(SeriesStateBlock, SeriesDefaultsBlk::LastVoucherDate);
    EXPECT_EQ(DateCompare(&got, &TodayDate), 0);
    EXPECT_EQ(GetU32(SeriesStateBlock, SeriesDefaultsBlk::LastVoucherNr), 1u);

    model.PostVoucher(v.record, -1);
    RecFreeMatrix(Voucher::Number, v.record);
    PutDate(v.record, Voucher::TransDate, DateRec{20, 5, 2024});
    AddLedgerRow(Voucher::Number, v.record, "1910", "", 30);
    AddLedgerRow(Voucher::Number, v.record, "3010", "P1", -30);
    ASSERT_TRUE(RecordLockAdd(LockOwnerId, Voucher::Number, recid));
    RecUpdateChecked(Voucher::Number, v.record, recid, &result);
    ASSERT_EQ(result, RecDone);
    ASSERT_TRUE(RecReadById(Voucher::Number, recid, v.record));
    EXPECT_EQ(GetU16(v.record, Voucher::Posted), 1);
    model.PostVoucher(v.record, 1);
    EXPECT_TRUE(model.MatchesStore());

    model.PostVoucher(v.record, -1);
    ASSERT_EQ(RecDeleteChecked(Voucher::Number, v.record, &recid, ""), RecDone);
    EXPECT_TRUE(model.MatchesStore());
}

// A hook that must store the pending voucher and cannot (its date lies in
// no fiscal year) fails the write, and with it the caller's hold: the
// object written before it in the same hold is not stored either. The
// pending voucher starts empty, whatever a test before left in it (a
// fixed year code would hold any date).
TEST_F(RegisterEntries, UnstoredPendingVoucherFailsTheCallersHold) {
    PendingVoucherClear();
    RegisterHookTable[DKVc::Number].beforeInsert = [](int, uint8_t *) { return StorePendingVoucher() ? 1 : 0; };
    PutU32(PendingVoucher, Voucher::SerNr, 1);
    PutDate(PendingVoucher, Voucher::TransDate, DateRec{1, 1, 1990});
    uint8_t row[TransRow::Size] = {};
    PutU16(row, TransRow::Kind, RowAccount);
    PutText(row, TransRow::Account, 10, "1910");
    PutDec(row, TransRow::Amount, Dec(1));
    ASSERT_TRUE(MatrixRowPut(Voucher::Number, 0, PendingVoucher, 0, row));

    RuleRecord object(OBVc::Number), key(DKVc::Number);
    PutText(object.record, OBVc::Code, 5, "P1");
    PutText(key.record, DKVc::Code, 5, "K1");
    uint32_t id = 0;
    DbHoldBegin();
    EXPECT_TRUE(RecInsertUnchecked(OBVc::Number, object.record, &id));
    EXPECT_FALSE(RecInsertUnchecked(DKVc::Number, key.record, &id));
    EXPECT_FALSE(DbHoldEnd());
    EXPECT_EQ(RegRecordCount(OBVc::Number), 0u);
    EXPECT_EQ(RegRecordCount(DKVc::Number), 0u);
    EXPECT_EQ(RegRecordCount(Voucher::Number), 0u);
}

}  // namespace
