// sie_fixture.h - the fixture of the SIE tests: an empty company with the
// rules installed (stored vouchers and opening balances post), helpers
// that make fiscal years, accounts, objects, vouchers and an opening
// balance, the SIE export of the open company as bytes, and the SIE
// import of bytes as the program runs it (import mode 2).
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "exchange/sie.h"
#include "rules/hooks.h"
#include "rules/ledger.h"
#include "exchange/ledger_text.h"
#include "database/access/register_hooks.h"
#include "rules/rules_types.h"
#include "tests/exchange/exchange_fixture.h"
#include "tests/output/test_job.h"

class SieFixture : public ExchangeFixture {
protected:
    struct Row {
        const char *account;
        const char *objects;
        double amount;
        const char *text = "";
        double amount2 = 0;
    };

    void SetUp() override
    {
        ExchangeFixture::SetUp();
        if (HasFatalFailure()) return;
        RulesInstall();
        TodayDate = DateRec{7, 12, 2026};
        SieImportResult = SieImportResultRec{};
    }

    // The rules installed above are this fixture's: the next test in the
    // process starts without them.
    void TearDown() override
    {
        RegisterHooksClear();
        ExchangeFixture::TearDown();
    }

    static PackedDecimal Dec(double x)
    {
        PackedDecimal d;
        DecFromDouble(&d, x);
        return d;
    }
    static void Put(uint8_t *base, uint32_t offset, int max, const std::string &s)
    {
        PString p;
        PStringFromC(p, s.c_str());
        PutPString(base, offset, max, p);
    }
    static std::string Get(const uint8_t *base, uint32_t offset, int max)
    {
        PString p;
        GetPString(base, offset, max, p);
        return PStringToStd(p);
    }
    static void Year(DateRec start, DateRec end)
    {
        PString code;
        PStringFromC(code, std::to_string(start.year).c_str());
        ASSERT_TRUE(InsertYear(code, &start, &end));
        ASSERT_EQ(SettingsBlockStoreHandle(FiscalYearBlk::Number, FiscalYearRows), RecDone);
    }
    static void Account(const char *code, const std::string &name, int kind)
    {
        uint8_t ac[ACVc::Size] = {};
        Put(ac, ACVc::Code, 10, code);
        Put(ac, ACVc::Name, 60, name);
        PutU16(ac, ACVc::AccType, uint16_t(kind));
        PutU16(ac, ACVc::DebitAllowed, 1);
        PutU16(ac, ACVc::CreditAllowed, 1);
        uint32_t recid = 0;
        ASSERT_TRUE(RecStoreByKey(ACVc::Number, ac, 1, &recid));
    }
    static void ObjectType(const char *code, const char *name)
    {
        uint8_t ot[OTVc::Size] = {};
        Put(ot, OTVc::Code, 5, code);
        Put(ot, OTVc::Name, 60, name);
        uint32_t recid = 0;
        ASSERT_TRUE(RecStoreByKey(OTVc::Number, ot, 1, &recid));
    }
    static void Object(const char *code, const char *name, const char *type)
    {
        uint8_t ob[OBVc::Size] = {};
        Put(ob, OBVc::Code, 5, code);
        Put(ob, OBVc::Name, 60, name);
        Put(ob, OBVc::ObjType, 5, type);
        uint32_t recid = 0;
        ASSERT_TRUE(RecStoreByKey(OBVc::Number, ob, 1, &recid));
    }
    static void Voucher(uint32_t serial, uint16_t series, DateRec date, const char *text, std::vector<Row> rows)
    {
        MemBlock h = 0;
        uint8_t *v = RecBufferNew(TRVc::Number, &h);
        ASSERT_NE(v, nullptr);
        PutU32(v, TRVc::SerNr, serial);
        PutU16(v, TRVc::YearCode, series);
        PutDate(v, TRVc::RegDate, date);
        PutDate(v, TRVc::TransDate, date);
        Put(v, TRVc::Text, 60, text);
        for (const Row &r : rows) {
            PString a, o, t;
            PStringFromC(a, r.account);
            PStringFromC(o, r.objects);
            PStringFromC(t, r.text);
            PackedDecimal amount = Dec(r.amount), amount2 = Dec(r.amount2);
            int32_t at = MatrixRowCount(TRVc::Number, 0, v);
            AddVoucherRow(v, a, o, EmptyPString, t, &amount, 0, true, nullptr);
            MatrixFieldPut(TRVc::Number, v, at, TransRow::Amount2, &amount2);
        }
        EXPECT_TRUE(StoreVoucher(v));
        RecBufferFree(TRVc::Number, &h);
    }
    static void Opening(DateRec date, std::vector<std::pair<const char *, double>> rows)
    {
        MemBlock h = 0;
        uint8_t *r = RecBufferNew(OpenBalVc::Number, &h);
        ASSERT_NE(r, nullptr);
        PutDate(r, OpenBalVc::TransDate, date);
        PutU32(r, OpenBalVc::SerNr, 1);
        for (auto &[account, amount] : rows) {
            PString a, n;
            PStringFromC(a, account);
            PStringFromC(n, "");
            PackedDecimal d = Dec(amount);
            AddOpeningBalanceRow(r, a, n, &d);
        }
        EXPECT_TRUE(StoreFb1Record(r));
        RecBufferFree(OpenBalVc::Number, &h);
    }
    // The company of the round trip: accounts of every kind, two object
    // types, objects, an opening balance, vouchers of two series in 2024
    // and one in 2023.
    void MakeCompany()
    {
        Put(CompanyBlock, CompanyBlk::CompanyName, 60, "Testbolaget \xC5kesson AB");
        Put(CompanyBlock, CompanyBlk::Address1, 60, "Storgatan 1");
        Put(CompanyBlock, CompanyBlk::Address2, 60, "111 22 Stockholm");
        Put(CompanyBlock, CompanyBlk::Telephone, 20, "08-123 45");
        Put(CompanyBlock, CompanyBlk::OrgNr, 30, "556677 8899");
        ASSERT_EQ(SettingsBlockStore(CompanyBlk::Number, CompanyBlock, CompanyBlk::Size), RecDone);
        Year(DateRec{1, 1, 2023}, DateRec{31, 12, 2023});
        Year(DateRec{1, 1, 2024}, DateRec{31, 12, 2024});
        Account("1910", "Kassa", 0);
        Account("1930", "Bank", 0);
        Account("2440", "Leverant\xF6rsskulder", 1);
        Account("2990", "Upplupna kostnader", 2);
        Account("3010", "F\xF6rs\xE4ljning", 3);
        Account("4010", "Ink\xF6p", 4);
        Account("5010", "Lokal \"hyra\" \\ kontor", 4);
        ObjectType("DEP", "Avdelning");
        ObjectType("PROJ", "Projekt");
        Object("D1", "Avdelning 1", "DEP");
        Object("D2", "Avdelning 2", "DEP");
        Object("P1", "Projekt 1", "PROJ");
        Object("P2", "Projekt 2", "PROJ");
        Object("X1", "Extra", "DEP");
        Opening(DateRec{31, 12, 2022}, {{"1910", 1000}, {"2440", -1000}});
        Voucher(1, 0, DateRec{1, 6, 2023}, "Old sale", {{"1910", "", 100}, {"3010", "", -100}});
        Voucher(1, 0, DateRec{15, 1, 2024}, "Cash sale", {{"1910", "D1,P1,X1", 500, "Kassa in", 125}, {"3010", "D2,P2", -500, "Sale"}});
        Voucher(2, 0, DateRec{10, 2, 2024}, "Purchase", {{"4010", "", 200}, {"1930", "", -200}, {"2990", "", 50}, {"5010", "", -50}});
        Voucher(1, YearCodeFixedFirst, DateRec{5, 3, 2024}, "Invoice 1", {{"1930", "", 300}, {"3010", "P1", -300}});
    }
    // The SIE file of the open company.
    std::string Sie(int type, DateRec from = {1, 1, 2024}, DateRec to = {31, 12, 2024}, const char *range = "")
    {
        PutU16(TestJob, ReportParamsVc::ReportLayout, uint16_t(type));
        PString p;
        PStringFromC(p, "Prosa text");
        PutText(TestJob, ReportParamsVc::SelText1, p);
        PStringFromC(p, range);
        PutText(TestJob, ReportParamsVc::SelText2, p);
        PutDate(TestJob, ReportParamsVc::DateFrom, from);
        PutDate(TestJob, ReportParamsVc::DateTo, to);
        // Over the test's job record, which the output device reads too.
        return ExportBytes([] { ExportSie(ReportJob{TestJob}); }, "export.se");
    }
    // Imports bytes as an SIE file (import mode 2), from memory as the
    // server has a client's file, or from a file of the company folder.
    void ImportSie(const std::string &bytes, bool fromFile = false)
    {
        ResetImportFlags();
        MessagesShown.clear();
        PutU16(TestJob, ReportParamsVc::OutputKind, ImportSourceMemory);
        PutU16(TestJob, ReportParamsVc::ReportNumber, 2);
        SourceOf(bytes, fromFile);
        ImportRun();   // which tells the result at its end
        ImportFileClose();
    }
    // Closes the company and opens an empty one.
    void EmptyCompany(const char *name)
    {
        D4Close();
        ASSERT_EQ(D4Create((dir / name).c_str(), 0), D4OpenOk);
        ASSERT_TRUE(SettingsStartup());
    }
    // The golden file's bytes; ORVEL_GOLDEN_UPDATE=1 writes it instead.
    static std::string Golden(const char *name, const std::string &actual)
    {
        std::filesystem::path p = std::filesystem::path(ORVEL_TEST_DATA_DIR) / "exchange" / "sie_golden" / name;
        const char *update = std::getenv("ORVEL_GOLDEN_UPDATE");
        if (update && *update == '1') std::ofstream(p, std::ios::binary) << actual;
        return FileBytes(p);
    }
};
