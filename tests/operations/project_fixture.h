// project_fixture.h - the fixture of the project tests: the rules
// installed over a fresh company, and helpers that store persons,
// projects, time sheets and budgets and read them back.
#pragma once

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "core/ui_text.h"
#include "operations/project_ops.h"
#include "rules/hooks.h"
#include "rules/projects.h"
#include "tests/rules/rules_fixture.h"

class ProjectFixture : public RulesFixture {
protected:
    bool InstallRules() override {
        RulesInstall();
        return true;
    }

    // One time-sheet row.
    struct SheetRow {
        const char *person, *project, *item;
        double quantity;
        DateRec date = {};
    };

    uint32_t StorePerson(const char *code, double costRate, const char *empType = "",
                         std::vector<const char *> projects = {}) {
        return StoreRecord(PEVc::Number, [&](uint8_t *r) {
            PutText(r, PEVc::Code, 5, code);
            PutText(r, PEVc::EmpType, 5, empType);
            PutDec(r, PEVc::CostRate, Dec(costRate));
            PutU16(r, PEVc::OnlyListed, projects.empty() ? 0 : 1);
            for (const char *p : projects) {
                uint8_t row[PEVc::Rows::Size] = {};
                PutText(row, PEVc::Rows::Project, 20, p);
                MatrixRowPut(PEVc::Number, 0, r, MatrixRowCount(PEVc::Number, 0, r), row);
            }
        });
    }
    // A project record filled by fill after its code and customer.
    template <typename Fill>
    uint32_t StoreProject(const char *code, const char *customer, Fill fill) {
        return StoreRecord(ProjectVc::Number, [&](uint8_t *p) {
            PutText(p, ProjectVc::Code, 20, code);
            PutText(p, ProjectVc::CustCode, 20, customer);
            fill(p);
        });
    }
    uint32_t StoreProject(const char *code, const char *customer = "C1") {
        return StoreProject(code, customer, [](uint8_t *) {});
    }
    // Builds a sheet record in rec: today, not numbered, the rows given.
    void MakeSheet(uint8_t *rec, uint16_t transferred, std::initializer_list<SheetRow> rows) {
        RecClear(TimeSheetVc::Number, rec);
        PutU32(rec, TimeSheetVc::SerNr, SerialNone);
        PutDate(rec, TimeSheetVc::RegDate, TodayDate);
        PutU16(rec, TimeSheetVc::Transferred, transferred);
        for (const SheetRow &s : rows) {
            uint8_t row[TimeSheetVc::Rows::Size] = {};
            PutDate(row, TimeSheetVc::Rows::RowDate, s.date);
            PutText(row, TimeSheetVc::Rows::Person, 5, s.person);
            PutText(row, TimeSheetVc::Rows::Project, 20, s.project);
            PutText(row, TimeSheetVc::Rows::ItemCode, 20, s.item);
            PutDec(row, TimeSheetVc::Rows::Quantity, Dec(s.quantity));
            ASSERT_TRUE(MatrixRowPut(TimeSheetVc::Number, 0, rec, MatrixRowCount(TimeSheetVc::Number, 0, rec), row));
        }
    }
    // The stored budget of reg for (project, item) into rec; false when none.
    static bool ReadBudget(int reg, uint8_t *rec, const char *project, const char *item, uint32_t *recid = nullptr) {
        uint8_t p[256], i[256];
        PStringFromC(p, project);
        PStringFromC(i, item);
        uint32_t id = 0;
        bool found = ProjectBudgetFind(reg, rec, p, i, &id);
        if (recid) *recid = id;
        return found;
    }
    // What a message of text n shows.
    static std::string TextOf(int n) {
        PString t;
        GetUiText(t, n);
        return std::string((const char *)t + 1, t[0]);
    }
    static double Amount(const uint8_t *base, uint32_t at) {
        PackedDecimal d = GetDec(base, at);
        return DecIsBlank(&d) ? 0 : DecToDouble(&d);
    }
    static bool Blank(const uint8_t *base, uint32_t at) {
        PackedDecimal d = GetDec(base, at);
        return DecIsBlank(&d);
    }
    static std::vector<uint8_t> Row(int reg, const uint8_t *rec, int32_t i) {
        std::vector<uint8_t> row(RecRowSize(reg));
        EXPECT_TRUE(MatrixRowGet(reg, 0, rec, i, row.data())) << i;
        return row;
    }
    // A time-budget row of person with qty to invoice at price.
    static void TimeRow(uint8_t *budget, const char *person, double toInvoice, double price, double cost = 0) {
        uint8_t row[TimeBudgetVc::Rows::Size] = {};
        PutText(row, TimeBudgetVc::Rows::Person, 5, person);
        PutDec(row, TimeBudgetVc::Rows::QtyToInvoice, Dec(toInvoice));
        PutDec(row, TimeBudgetVc::Rows::QtySpent, Dec(toInvoice));
        PutDec(row, TimeBudgetVc::Rows::Price, Dec(price));
        PutDec(row, TimeBudgetVc::Rows::CostSpent, Dec(cost));
        ASSERT_TRUE(MatrixRowPut(TimeBudgetVc::Number, 0, budget, MatrixRowCount(TimeBudgetVc::Number, 0, budget), row));
    }
    uint32_t StoreTimeBudget(const char *project, const char *item, std::initializer_list<SheetRow> rows,
                             double price = 100, uint16_t detail = 0) {
        return StoreRecord(TimeBudgetVc::Number, [&](uint8_t *b) {
            PutText(b, TimeBudgetVc::Project, 20, project);
            PutText(b, TimeBudgetVc::ItemCode, 20, item);
            PutText(b, TimeBudgetVc::ItemName, 60, item);
            PutU16(b, TimeBudgetVc::Detail, detail);
            for (const SheetRow &r : rows) TimeRow(b, r.person, r.quantity, price);
            TimeBudgetTotals(b);
        });
    }
    uint32_t StoreCostBudget(const char *project, const char *item, const char *text, double qty, double amount) {
        return StoreRecord(CostBudgetVc::Number, [&](uint8_t *b) {
            PutText(b, CostBudgetVc::Project, 20, project);
            PutText(b, CostBudgetVc::ItemCode, 20, item);
            PutText(b, CostBudgetVc::ItemName, 60, item);
            uint8_t t[256];
            PStringFromC(t, text);
            PackedDecimal q = Dec(qty), a = Dec(amount);
            CostBudgetAddRow(t, &q, &a, b, nullptr);
        });
    }
    // Inserts a sheet through the checked insert (a window's OK); the result.
    int InsertSheet(uint8_t *rec, uint32_t *recid) {
        int result = RecRefused;
        RecInsertChecked(TimeSheetVc::Number, rec, recid, &result);
        return result;
    }
};
