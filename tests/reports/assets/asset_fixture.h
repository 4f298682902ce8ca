// asset_fixture.h - a company with fixed assets, for the tests of the
// depreciation and the asset reports.
//
// StoreAssetCompany() lays down, on top of the report fixture's company
// (fiscal year 2024, today 15.3.2024), then the rules' entries installed:
// accounts 1220 (machines), 1229 (accumulated depreciation) and 7830
// (depreciation cost); objects "K1" and "P1"; asset groups "MACH"
// (objects "K1") and "CARS" in block 200; models "SL20" (straight line 20 %, 2 decimals), "DB20"
// (declining balance 20 %, 2 decimals) and "SL30" (straight line 30 %,
// whole units); and the assets
//   A1  MACH  bought 1.1.2024 for 12 000, SL20 (book 2: DB20)
//   A2  CARS  bought 1.1.2023 for 10 000, DB20, objects "P1"
//   A3  MACH  bought 1.4.2024 for 6 000, SL20; raised to 9 000 on 1.7.2024
//   A4  MACH  bought 1.1.2020 for 1 000, SL30 (wholly depreciated)
//   A5  CARS  excluded from depreciation
//   A6  MACH  bought 1.1.2022 for 4 000, disposed of 1.2.2024
#pragma once

#include "operations/asset_depreciation.h"
#include "rules/hooks.h"
#include "tests/output/test_job.h"
#include "tests/reports/report_fixture.h"

namespace AssetCo {
constexpr const char *Machines = "1220", *Accumulated = "1229", *Cost = "7830";
}  // namespace AssetCo

class AssetFixture : public ReportFixture {
protected:
    // Settings rows go in without the rules' checks (the invoice company's
    // blocks are laid down so); the rules are installed when the company is
    // laid down, so that stored vouchers post.
    template <typename Change> void WithoutRules(Change change) {
        RegisterHooksClear();
        change();
        RulesInstall();
    }

    // One row of an asset: date, the two books' models, a new value
    // (below 0: none).
    struct AssetRow {
        DateRec date;
        const char *model1;
        const char *model2 = "";
        double newValue = -1;
    };

    void StoreModel(const char *code, uint16_t method, double rate, uint16_t decimals) {
        StoreRecord(DeprModelVc::Number, [&](uint8_t *r) {
            PutText(r, DeprModelVc::Code, 5, code);
            PutText(r, DeprModelVc::Name, 60, code);
            PutU16(r, DeprModelVc::Method, method);
            PutDec(r, DeprModelVc::RatePct, Dec(rate));
            PutU16(r, DeprModelVc::Decimals, decimals);
        });
    }
    void AddGroup(const char *code, const char *objects) {
        AddRow(AssetGroupBlk::Number, AssetGroupBlk::Rows::Size, [&](uint8_t *r) {
            PutText(r, AssetGroupBlk::Rows::Group, 5, code);
            PutText(r, AssetGroupBlk::Rows::Account6, 10, AssetCo::Machines);
            PutText(r, AssetGroupBlk::Rows::AccDeprAcc, 10, AssetCo::Accumulated);
            PutText(r, AssetGroupBlk::Rows::Objects, 30, objects);
            PutText(r, AssetGroupBlk::Rows::Text, 60, code);
            PutText(r, AssetGroupBlk::Rows::DeprCostAcc, 10, AssetCo::Cost);
        });
    }
    void StoreAsset(const char *code, const char *group, DateRec bought, double value,
                    std::initializer_list<AssetRow> rows, const char *objects = "", DateRec disposed = {},
                    uint16_t excluded = 0) {
        StoreRecord(AssetVc::Number, [&](uint8_t *r) {
            PutText(r, AssetVc::Code, 10, code);
            PutText(r, AssetVc::Name, 60, (std::string("Asset ") + code).c_str());
            PutText(r, AssetVc::Class, 5, group);
            PutDate(r, AssetVc::AcqDate, bought);
            PutDec(r, AssetVc::AcqValue, Dec(value));
            PutDate(r, AssetVc::DispDate, disposed);
            PackedDecimal blank;
            DecSetBlank(&blank);
            PutDec(r, AssetVc::DispValue, blank);
            PutText(r, AssetVc::Objects, 5, objects);
            PutU16(r, AssetVc::Excluded, excluded);
            int32_t i = 0;
            for (const AssetRow &x : rows) {
                uint8_t row[AssetVc::Rows::Size] = {};
                PutDate(row, AssetVc::Rows::RowDate, x.date);
                PutText(row, AssetVc::Rows::Model1, 5, x.model1);
                PutText(row, AssetVc::Rows::Model2, 5, x.model2);
                PackedDecimal v = Dec(x.newValue);
                if (x.newValue < 0) DecSetBlank(&v);
                PutDec(row, AssetVc::Rows::NewValue, v);
                ASSERT_TRUE(MatrixRowPut(AssetVc::Number, 0, r, i++, row));
            }
        });
    }

    // Gives the stored asset code the objects.
    void ChangeAssetObjects(const char *code, const char *objects) {
        RuleRecord r(AssetVc::Number);
        PutText(r.record, AssetVc::Code, 10, code);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFind(AssetVc::Number, r.record, 1, 1, &recid, &position)) << code;
        PutText(r.record, AssetVc::Objects, 5, objects);
        ASSERT_TRUE(RecStore(AssetVc::Number, r.record, 1, &recid)) << code;
        RecFreeMatrix(AssetVc::Number, r.record);
    }

    void StoreAssetCompany() {
        StoreAccount(AssetCo::Machines, "Machines", 1);
        StoreAccount(AssetCo::Accumulated, "Accumulated depreciation", 1);
        StoreAccount(AssetCo::Cost, "Depreciation cost", 4);
        StoreObject("K1", "");
        StoreObject("P1", "");
        AddGroup("MACH", "K1");
        AddGroup("CARS", "");
        StoreModel("SL20", 1, 20, 2);
        StoreModel("DB20", 2, 20, 2);
        StoreModel("SL30", 1, 30, 0);
        StoreAsset("A1", "MACH", {1, 1, 2024}, 12000, {{{1, 1, 2024}, "SL20", "DB20"}});
        StoreAsset("A2", "CARS", {1, 1, 2023}, 10000, {{{1, 1, 2023}, "DB20"}}, "P1");
        StoreAsset("A3", "MACH", {1, 4, 2024}, 6000, {{{1, 4, 2024}, "SL20"}, {{1, 7, 2024}, "SL20", "", 9000}});
        StoreAsset("A4", "MACH", {1, 1, 2020}, 1000, {{{1, 1, 2020}, "SL30"}});
        StoreAsset("A5", "CARS", {1, 1, 2024}, 5000, {{{1, 1, 2024}, "SL20"}}, "", {}, 1);
        StoreAsset("A6", "MACH", {1, 1, 2022}, 4000, {{{1, 1, 2022}, "SL20"}}, "", {1, 2, 2024});
        RulesInstall();
    }

    // The amounts of the stored asset code over from..to.
    AssetAmounts AmountsOf(const char *code, DateRec from, DateRec to, uint16_t secondBook = 0) {
        AssetAmounts a{};
        RuleRecord r(AssetVc::Number);
        PutText(r.record, AssetVc::Code, 10, code);
        uint32_t recid = 0, position = 0;
        EXPECT_TRUE(RecFind(AssetVc::Number, r.record, 1, 1, &recid, &position)) << code;
        SetPeriod(from, to);
        SetWord(ReportParamsVc::Option2, secondBook);
        // The report fixture keeps its selection in the test's job record.
        AssetPeriodAmounts(TestJob, r.record, false, nullptr, &a);
        RecFreeMatrix(AssetVc::Number, r.record);
        return a;
    }
    static double D(const PackedDecimal &d) { return DecIsBlank(&d) ? 0 : DecToDouble(&d); }
};
