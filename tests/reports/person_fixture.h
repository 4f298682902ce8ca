// person_fixture.h - the report company grown with what the person
// entries are made from: departments D1 and D2, the accounts of the
// entries, the base-amount table, the period (March 2024), the listed
// accounts (bank and tax), the bracket tables TAX and SOC, the entry
// types SAL and BON and three employees:
//   E1 Anna Berg     D1  Clerk  SAL, base row 1 column 2 (3200); rows:
//                    BON 500 on 15.3 (in the period), BON 700 on 15.4
//                    (outside), BON 100 under row code "X"
//   E2 Bo Carlsson   D2  Smith  SAL, base row 2 column 1 (4000)
//   E3 Cecilia Dahl  D1  Intern no entry type, no rows: no entry
// TAX (whole units, text on the debit row): 0-1000 at 0 %, 1000 and up
// at 30 %, debit bank 1930, credit tax 2710. SOC: 31.42 % from 0 up,
// debit 7510, credit 2730.
#pragma once

#include <initializer_list>

#include "operations/person_entries.h"
#include "tests/reports/report_fixture.h"

class PersonFixture : public ReportFixture {
protected:
    struct BracketRow {
        double from, to, percent, fixed;   // to < 0: no upper limit
    };
    struct EmployeeRow {
        const char *type, *code2;
        double amount;
        DateRec date;
        uint16_t dated;
    };

    void StorePersonCompany() {
        for (auto [code, name, kind] : {std::tuple{"7010", "Salaries", 4}, {"1930", "Bank", 1},
                                        {"2710", "Tax withheld", 2}, {"7510", "Social charges", 4},
                                        {"2730", "Social charges due", 2}})
            StoreAccount(code, name, uint16_t(kind));
        for (auto [code, name] : {std::pair{"D1", "Office"}, {"D2", "Workshop"}})
            StoreRecord(DepartmentVc::Number, [&](uint8_t *r) {
                PutText(r, DepartmentVc::Code, 5, code);
                PutText(r, DepartmentVc::Name, 60, name);
            });
        for (auto cols : {std::array<const char *, 4>{"3000", "3200", "3400", "3600"},
                          std::array<const char *, 4>{"4000", "4200", "4400", "4600"}})
            AddRow(PayMatrixBlk::Number, PayMatrixBlk::Rows::Size, [&](uint8_t *r) {
                PutText(r, PayMatrixBlk::Rows::Col1, 11, cols[0]);
                PutText(r, PayMatrixBlk::Rows::Col2, 11, cols[1]);
                PutText(r, PayMatrixBlk::Rows::Col3, 11, cols[2]);
                PutText(r, PayMatrixBlk::Rows::Col4, 11, cols[3]);
            });
        uint8_t period[PersonPeriodBlk::Size] = {};
        PutDate(period, PersonPeriodBlk::FromDate, DateRec{1, 3, 2024});
        PutDate(period, PersonPeriodBlk::ToDate, DateRec{31, 3, 2024});
        StoreBlock(PersonPeriodBlk::Number, period, PersonPeriodBlk::Size);
        for (auto [acc, text] : {std::pair{"1930", "Paid out"}, {"2710", "Tax"}})
            AddRow(CashBlk::Number, CashBlk::Rows::Size, [&](uint8_t *r) {
                PutText(r, CashBlk::Rows::Account, 10, acc);
                PutText(r, CashBlk::Rows::Text, 60, text);
            });
        StoreBracket("TAX", "1930", "2710", 1, 1, {{0, 1000, 0, 0}, {1000, -1, 30, 0}});
        StoreBracket("SOC", "7510", "2730", 0, 0, {{0, -1, 31.42, 0}});
        StoreEntryType("SAL", "7010", "1930", "Salary", 0, {"TAX", "SOC"});
        StoreEntryType("BON", "7010", "1930", "Bonus", 1, {"TAX"});
        StoreEmployee("E1", "Anna Berg", "D1", "Clerk", "SAL", 1, 2, "March pay",
                      {{"BON", "", 500, {15, 3, 2024}, 1}, {"BON", "", 700, {15, 4, 2024}, 1},
                       {"BON", "X", 100, {}, 0}});
        StoreEmployee("E2", "Bo Carlsson", "D2", "Smith", "SAL", 2, 1, "", {});
        StoreEmployee("E3", "Cecilia Dahl", "D1", "Intern", "", 0, 0, "", {});
    }

    void StoreBracket(const char *code, const char *debit, const char *credit, uint16_t whole, uint16_t useText,
                      std::initializer_list<BracketRow> rows) {
        StoreRecord(BracketVc::Number, [&](uint8_t *r) {
            PutText(r, BracketVc::Code, 12, code);
            PutText(r, BracketVc::DebitAcc, 10, debit);
            PutText(r, BracketVc::CreditAcc, 10, credit);
            PutU16(r, BracketVc::WholeUnits, whole);
            PutU16(r, BracketVc::UseText, useText);
            for (const BracketRow &b : rows) {
                uint8_t row[BracketVc::Rows::Size] = {};
                PutDec(row, BracketVc::Rows::From, Dec(b.from));
                PackedDecimal to = Dec(b.to);
                if (b.to < 0) DecSetBlank(&to);
                PutDec(row, BracketVc::Rows::To, to);
                PutDec(row, BracketVc::Rows::Percent, Dec(b.percent));
                PutDec(row, BracketVc::Rows::Fixed, Dec(b.fixed));
                ASSERT_TRUE(MatrixRowPut(BracketVc::Number, 0, r, MatrixRowCount(BracketVc::Number, 0, r), row));
            }
        });
    }
    void StoreEntryType(const char *code, const char *debit, const char *credit, const char *text, uint16_t flag,
                        std::initializer_list<const char *> brackets) {
        StoreRecord(EntryTypeVc::Number, [&](uint8_t *r) {
            PutText(r, EntryTypeVc::Code, 10, code);
            PutText(r, EntryTypeVc::DebitAcc, 10, debit);
            PutText(r, EntryTypeVc::CreditAcc, 10, credit);
            PutText(r, EntryTypeVc::Text, 60, text);
            PutU16(r, EntryTypeVc::TextFlag, flag);
            for (const char *b : brackets) {
                uint8_t row[EntryTypeVc::Rows::Size] = {};
                PutText(row, EntryTypeVc::Rows::Bracket, 12, b);
                ASSERT_TRUE(
                    MatrixRowPut(EntryTypeVc::Number, 0, r, MatrixRowCount(EntryTypeVc::Number, 0, r), row));
            }
        });
    }
    void StoreEmployee(const char *code, const char *name, const char *dep, const char *position, const char *type,
                       int16_t baseRow, int16_t baseCol, const char *text, std::initializer_list<EmployeeRow> rows) {
        StoreRecord(EmployeeVc::Number, [&](uint8_t *r) {
            PutText(r, EmployeeVc::PerCode, 10, code);
            PutText(r, EmployeeVc::Name, 60, name);
            PutText(r, EmployeeVc::DepCode, 5, dep);
            PutText(r, EmployeeVc::Position, 60, position);
            PutText(r, EmployeeVc::EntryType, 10, type);
            PutI16(r, EmployeeVc::BaseRow, baseRow);
            PutI16(r, EmployeeVc::BaseCol, baseCol);
            PutText(r, EmployeeVc::Text, 60, text);
            for (const EmployeeRow &e : rows) {
                uint8_t row[EmployeeVc::Rows::Size] = {};
                PutText(row, EmployeeVc::Rows::EntryType, 10, e.type);
                PutText(row, EmployeeVc::Rows::Code2, 10, e.code2);
                PutDec(row, EmployeeVc::Rows::Amount, Dec(e.amount));
                PutDate(row, EmployeeVc::Rows::RowDate, e.date);
                PutU16(row, EmployeeVc::Rows::Dated, e.dated);
                ASSERT_TRUE(MatrixRowPut(EmployeeVc::Number, 0, r, MatrixRowCount(EmployeeVc::Number, 0, r), row));
            }
        });
    }

    // Reads employee `code` into the scope's record; false when missing.
    static bool ReadEmployee(const char *code, uint8_t *record) {
        PutText(record, EmployeeVc::PerCode, 10, code);
        uint32_t recid = 0, position = 0;
        return RecFind(EmployeeVc::Number, record, 1, 1, &recid, &position);
    }
    // The account rows of an entry as "account|text|amount" lines.
    static std::vector<std::string> EntryRows(const uint8_t *entry) {
        std::vector<std::string> out;
        uint8_t row[PersEntryVc::Rows::Size];
        for (int32_t i = 0, n = MatrixRowCount(PersEntryVc::Number, 0, entry); i < n; i++) {
            if (!MatrixRowRead(PersEntryVc::Number, entry, i, row)) break;
            PString a, t;
            ::GetText(row, PersEntryVc::Rows::Account, a);
            ::GetText(row, PersEntryVc::Rows::Objects, t);
            PackedDecimal amount = GetDec(row, PersEntryVc::Rows::Amount);
            char num[64];
            std::snprintf(num, sizeof num, "%.2f", DecToDouble(&amount));
            out.push_back(PStringToStd(a) + "|" + PStringToStd(t) + "|" + num);
        }
        return out;
    }
};
