// sie_import_test.cpp - the SIE import: a type-4 file round-trips through
// an empty company; the type 1, 2 and 4 readers on files written as other
// programs write them (blank-separated, CR LF, #KSUMMA, #RTRANS and
// #BTRANS, empty voucher numbers, series that share numbers); a voucher
// in the ledger's lock left out; malformed files refused with their line
// and the company left as it was.
#include <gtest/gtest.h>

#include "exchange/company_text.h"
#include "exchange/run_outcome.h"
#include "database/access/settings_blocks.h"
#include "rules/accounts.h"
#include "rules/documents.h"
#include "rules/series_terms.h"
#include "tests/exchange/test_job_export.h"
#include "tests/exchange/sie_fixture.h"
#include "tests/output/test_job.h"

namespace {

class SieImport : public SieFixture {
protected:
    // The sum of the rows of the stored voucher (serial, year of date)
    // on account, and the voucher's row count; -1 rows when not stored.
    static int VoucherRows(uint32_t serial, uint16_t yearCode, const char *account, double *sum)
    {
        MemBlock h = 0;
        uint8_t *v = RecBufferNew(TRVc::Number, &h);
        PutU32(v, TRVc::SerNr, serial);
        PutU16(v, TRVc::YearCode, yearCode);
        uint32_t recid = 0, position = 0;
        int n = -1;
        *sum = 0;
        if (RecFind(TRVc::Number, v, 2, 1, &recid, &position)) {
            n = MatrixRowCount(TRVc::Number, 0, v);
            uint8_t row[TransRow::Size];
            for (int i = 0; i < n; i++) {
                MatrixRowRead(TRVc::Number, v, i, row);
                if (Get(row, TransRow::Account, 10) != account) continue;
                PackedDecimal d = GetDec(row, TransRow::Amount);
                *sum += DecToDouble(&d);
            }
        }
        RecBufferFree(TRVc::Number, &h);
        return n;
    }
    static uint16_t YearCodeOf(DateRec d) { return YearCodeOfDate(&d); }
    std::string FullExport()
    {
        PutU16(TestJob, ReportParamsVc::OutputKind, OutTextFile);
        ScriptAnswerFile((dir / "full.txt").string());
        EXPECT_TRUE(ExportOverTestJob(0));
        return FileBytes(dir / "full.txt");
    }
};

// The lines of a file without the previous year's balances.
std::string WithoutPreviousYear(const std::string &bytes)
{
    std::string out;
    size_t i = 0;
    while (i < bytes.size()) {
        size_t e = bytes.find("\r\n", i);
        e = e == std::string::npos ? bytes.size() : e + 2;
        std::string line = bytes.substr(i, e - i);
        if (line.rfind("#IB\t-1\t", 0) != 0 && line.rfind("#UB\t-1\t", 0) != 0 && line.rfind("#RES\t-1\t", 0) != 0)
            out += line;
        i = e;
    }
    return out;
}

TEST_F(SieImport, TypeFourRoundTripsThroughAnEmptyCompany)
{
    MakeCompany();
    const std::string first = Sie(4);
    EmptyCompany("copy.VDB");
    RulesInstall();
    ImportSie(first);
    ASSERT_TRUE(MessagesShown.empty()) << MessagesShown.front();
    EXPECT_EQ(SieImportResult.notStored, 0u);
    const std::string second = Sie(4);
    EXPECT_EQ(WithoutPreviousYear(second), WithoutPreviousYear(first));
    // The voucher of the fixed series and the ledger voucher of the same
    // number are both there, with their objects and second amounts.
    double sum = 0;
    EXPECT_EQ(VoucherRows(1, YearCodeFixedFirst, "1930", &sum), 2);
    EXPECT_EQ(sum, 300);
    EXPECT_EQ(VoucherRows(1, YearCodeOf({15, 1, 2024}), "1910", &sum), 2);
    EXPECT_EQ(Get(CompanyBlock, CompanyBlk::CompanyName, 60), "Testbolaget \xC5kesson AB");
    EXPECT_EQ(Get(CompanyBlock, CompanyBlk::Telephone, 20), "08-123 45");
}

// A company without an organisation number: the export writes the empty
// number as an empty text, and reading the file back keeps it empty (a
// bare empty field let the next one, "1", take its place).
TEST_F(SieImport, EmptyOrganisationNumberRoundTripsEmpty)
{
    MakeCompany();
    Put(CompanyBlock, CompanyBlk::OrgNr, 30, "");
    ASSERT_EQ(SettingsBlockStore(CompanyBlk::Number, CompanyBlock, CompanyBlk::Size), RecDone);
    const std::string first = Sie(4);
    EXPECT_NE(first.find("#ORGNR\t\"\"\t1\t1\t\r\n"), std::string::npos) << first.substr(0, 300);
    EmptyCompany("no_orgnr.VDB");
    RulesInstall();
    ImportSie(first);
    ASSERT_TRUE(MessagesShown.empty()) << MessagesShown.front();
    EXPECT_EQ(Get(CompanyBlock, CompanyBlk::OrgNr, 30), "");
    EXPECT_EQ(Get(CompanyBlock, CompanyBlk::CompanyName, 60), "Testbolaget \xC5kesson AB");
    EXPECT_EQ(WithoutPreviousYear(Sie(4)), WithoutPreviousYear(first));
}

// Type 1: the opening balance of 1910 and the year voucher's rows -100
// and +150 at the year's end; no #RAR -1, so the opening row is year 0's,
// and the previous year's voucher, which has no year, is told not stored.
// The row that balances the year voucher stands on 9999, which this chart
// lacks and the file never names: it is told as that voucher's balancing
// row, not among the file's accounts.
TEST_F(SieImport, TypeOneBooksYearBalancesIntoAVoucher)
{
    ImportSie("#FLAGGA 0\r\n#RAR 0 20240101 20241231\r\n#KONTO 1910 Kassa\r\n"
              "#IB 0 1910 100.00\r\n#UB 0 1910 150.00\r\n#IB -1 1910 70.00\r\n");
    EXPECT_EQ(SieImportResult.notStored, 1u);
    ASSERT_EQ(MessagesShown.size(), 2u);
    EXPECT_TRUE(SieImportResult.accountsMissing.empty());
    ASSERT_EQ(SieImportResult.balancingMissing.size(), 1u);
    EXPECT_EQ(SieImportResult.balancingMissing[0].account, "9999");
    EXPECT_EQ(SieImportResult.balancingMissing[0].vouchers, std::vector<std::string>{"1"});
    EXPECT_EQ(MessagesShown[1],
              TextOf(Texts::SieAccountsMissing) + "9999, " + TextOf(Texts::SieBalancingRow) + "1");
    double sum = 0;
    uint16_t code = YearCodeOf({31, 12, 2024});
    ASSERT_EQ(VoucherRows(1, code, "1910", &sum), 3);   // with the balancing row
    EXPECT_EQ(sum, 50);
    EXPECT_EQ(RegRecordCount(OpenBalVc::Number), 1u);
    uint8_t fb[OpenBalVc::Size] = {};
    uint32_t recid = 0;
    ASSERT_TRUE(RecReadAt(OpenBalVc::Number, 1, fb, &recid));
    EXPECT_EQ(MatrixRowCount(OpenBalVc::Number, 0, fb), 1);
    EXPECT_EQ(GetDate(fb, OpenBalVc::TransDate).day, 31);
    RecFreeMatrix(OpenBalVc::Number, fb);
}

// Two #PSALDO lines of a period make one voucher; a line of one object's
// part of the balance is not counted again; another period its own.
TEST_F(SieImport, TypeTwoPeriodBalancesMakeOneVoucherAPeriod)
{
    ImportSie("#SIETYP 2\r\n#RAR 0 20240101 20241231\r\n#KONTO 1910 Kassa\r\n#KONTO 3010 Sales\r\n"
              "#PSALDO 0 202401 1910 {} 100.00\r\n#PSALDO 0 202401 3010 {} -100.00\r\n"
              "#PSALDO 0 202401 3010 {1 \"P1\"} -40.00\r\n#PSALDO 0 202402 1910 {} 5.00\r\n");
    // The February voucher is balanced on 9999, which this chart lacks.
    ASSERT_EQ(MessagesShown, std::vector<std::string>{TextOf(Texts::SieAccountsMissing) + "9999, " +
                                                      TextOf(Texts::SieBalancingRow) + "2"});
    EXPECT_EQ(RegRecordCount(TRVc::Number), 2u);
    double sum = 0;
    EXPECT_EQ(VoucherRows(1, YearCodeOf({31, 1, 2024}), "3010", &sum), 2);
    EXPECT_EQ(sum, -100);
}

// The export's own type-2 file (lists as "{" and "}" fields) gives one
// voucher a month of the current and the previous year.
TEST_F(SieImport, TypeTwoFileOfTheExportReadsBack)
{
    MakeCompany();
    const std::string file = Sie(2);
    EmptyCompany("copy2.VDB");
    RulesInstall();
    ImportSie(file);
    ASSERT_TRUE(MessagesShown.empty()) << MessagesShown.front();
    // 2023-06, 2024-01, 2024-02 and 2024-03, numbered in the order first
    // met (the file writes each account's months from the last).
    EXPECT_EQ(RegRecordCount(TRVc::Number), 4u);
    double sum = 0;
    EXPECT_EQ(VoucherRows(3, YearCodeOf({29, 2, 2024}), "4010", &sum), 4);
    EXPECT_EQ(sum, 200);
}

// A file as other programs write it: blank-separated fields, quoted texts
// with blanks, lists with and without blanks, #KSUMMA, #RTRANS/#BTRANS,
// an unknown tag, no #SIETYP before the data of type 4... and empty
// voucher numbers, which take the next free ones.
TEST_F(SieImport, BlankSeparatedFilesOfOtherPrograms)
{
    Account("1910", "Kept name", 0);
    uint8_t ac[ACVc::Size] = {};
    Put(ac, ACVc::Code, 10, "1910");
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFind(ACVc::Number, ac, 1, 1, &recid, &position));
    Put(ac, ACVc::VatCode, 2, "1");
    ASSERT_TRUE(RecStoreByKey(ACVc::Number, ac, 1, &recid));
    ImportSie("#FLAGGA 0\r\n#KSUMMA\r\n#SIETYP 4\r\n#FNAMN \"Other \\\"Co\\\"\"\r\n#RAR 0 20240101 20241231\r\n"
              "#KONTO 1910 \"Kassa och bank\"\r\n#KONTO 3010 \"F\x94rs\x84ljning\"\r\n#KTYP 3010 I\r\n"
              "#DIM 1 \"Kst\"\r\n#OBJEKT 1 \"K1\" \"Kostnadsst\xE4lle 1\"\r\n#UNKNOWN x y z\r\n"
              "#VER A \"\" 20240110 \"First\"\r\n{\r\n   #TRANS 1910 {} 100.00\r\n   #TRANS 3010 {1 \"K1\"} -100.00 20240110 \"Row text\"\r\n"
              "   #RTRANS 3010 {} -1.00\r\n   #BTRANS 3010 {} 1.00\r\n}\r\n"
              "#VER A \"\" 20240111 \"Second\"\r\n{\r\n\t#TRANS\t1910\t{}\t7.50\r\n\t#TRANS\t3010\t{ }\t-7.50\r\n}\r\n"
              "#KSUMMA 123456\r\n");
    ASSERT_TRUE(MessagesShown.empty()) << MessagesShown.front();
    EXPECT_EQ(RegRecordCount(TRVc::Number), 2u);
    uint16_t code = YearCodeOf({10, 1, 2024});
    double sum = 0;
    EXPECT_EQ(VoucherRows(1, code, "3010", &sum), 2);
    EXPECT_EQ(sum, -100);
    EXPECT_EQ(VoucherRows(2, code, "1910", &sum), 2);
    EXPECT_EQ(sum, 7.5);
    // The existing account kept its VAT code; its name changed.
    ASSERT_TRUE(RecFind(ACVc::Number, ac, 1, 1, &recid, &position));
    EXPECT_EQ(Get(ac, ACVc::Name, 60), "Kassa och bank");
    EXPECT_EQ(Get(ac, ACVc::VatCode, 2), "1");
    Put(ac, ACVc::Code, 10, "3010");
    ASSERT_TRUE(RecFind(ACVc::Number, ac, 1, 1, &recid, &position));
    EXPECT_EQ(Get(ac, ACVc::Name, 60), "F\xF6rs\xE4ljning");
    EXPECT_EQ(GetU16(ac, ACVc::AccType), 3);
    EXPECT_EQ(Get(CompanyBlock, CompanyBlk::CompanyName, 60), "Other \"Co\"");
    uint8_t ob[OBVc::Size] = {};
    Put(ob, OBVc::Code, 5, "K1");
    ASSERT_TRUE(RecFind(OBVc::Number, ob, 1, 1, &recid, &position));
    EXPECT_EQ(Get(ob, OBVc::ObjType, 5), "1");
}

// Two series that share a number: the fixed series keeps its own; the
// second ledger series' voucher gets the next free number and is told. A
// voucher dated outside every fiscal year refuses the whole file.
TEST_F(SieImport, VouchersOfSeriesSharingNumbersAreKeptAndTold)
{
    const std::string three = "#SIETYP 4\r\n#RAR 0 20240101 20241231\r\n"
                              "#VER A 1 20240110 \"a\"\r\n{\r\n#TRANS 1910 {} 1.00\r\n#TRANS 3010 {} -1.00\r\n}\r\n"
                              "#VER 201 1 20240110 \"b\"\r\n{\r\n#TRANS 1910 {} 2.00\r\n#TRANS 3010 {} -2.00\r\n}\r\n"
                              "#VER B 1 20240110 \"c\"\r\n{\r\n#TRANS 1910 {} 3.00\r\n#TRANS 3010 {} -3.00\r\n}\r\n";
    ImportSie(three);
    EXPECT_EQ(RegRecordCount(TRVc::Number), 3u);
    EXPECT_EQ(SieImportResult.notStored, 0u);
    EXPECT_EQ(SieImportResult.renumbered.count, 1u);
    EXPECT_EQ(SieImportResult.renumbered.first, "B 1 -> 2");
    EXPECT_EQ(Shown(Texts::SieVouchersRenumbered), 1);
    double sum = 0;
    EXPECT_EQ(VoucherRows(2, YearCodeOf({10, 1, 2024}), "1910", &sum), 2);
    EXPECT_EQ(sum, 3);
    EXPECT_EQ(VoucherRows(1, YearCodeFixedFirst, "1910", &sum), 2);
    EXPECT_EQ(sum, 2);
    ImportSie(three + "#VER A 9 20300110 \"no year\"\r\n{\r\n#TRANS 1910 {} 3.00\r\n#TRANS 3010 {} -3.00\r\n}\r\n");
    EXPECT_EQ(SieImportResult.refusedFault, Texts::SieFaultNoYear);
    EXPECT_EQ(SieImportResult.refusedLine, 18u);
    EXPECT_EQ(RegRecordCount(TRVc::Number), 3u);
    EXPECT_EQ(Shown(Texts::SieVouchersRenumbered), 0);
}

// A voucher dated in the ledger's lock is not stored, as the voucher
// window refuses its date: it is counted among the vouchers not stored
// and the lock is told; the voucher after the lock is stored.
// A voucher on accounts the chart lacks is stored as the file has it, and
// the result names those accounts once each, in order: an account the
// file names later than its voucher is in the chart by the end, and one
// the opening balances use is named too. A 9999 of the file's own rows
// is one of them like any other.
TEST_F(SieImport, VouchersOnAccountsTheChartLacksAreStoredAndTheAccountsNamed)
{
    ImportSie("#SIETYP 4\r\n#RAR 0 20240101 20241231\r\n#KONTO 1910 Kassa\r\n#IB 0 1998 5.00\r\n"
              "#VER A 1 20240110 \"one\"\r\n{\r\n#TRANS 1910 {} 1.00\r\n#TRANS 1999 {} -1.00\r\n}\r\n"
              "#VER A 2 20240120 \"two\"\r\n{\r\n#TRANS 3010 {} 2.00\r\n#TRANS 1999 {} -2.00\r\n}\r\n"
              "#VER A 3 20240130 \"three\"\r\n{\r\n#TRANS 1910 {} 4.00\r\n#TRANS 9999 {} -4.00\r\n}\r\n"
              "#KONTO 3010 Sales\r\n");
    EXPECT_EQ(RegRecordCount(TRVc::Number), 3u);
    EXPECT_EQ(SieImportResult.notStored, 0u);
    double sum = 0;
    EXPECT_EQ(VoucherRows(1, YearCodeOf({10, 1, 2024}), "1999", &sum), 2);
    EXPECT_EQ(sum, -1);
    EXPECT_TRUE(SieImportResult.balancingMissing.empty());
    EXPECT_EQ(MessagesShown, std::vector<std::string>{TextOf(Texts::SieAccountsMissing) + "1998, 1999, 9999"});
}

TEST_F(SieImport, AVoucherInTheLedgersLockIsNotStored)
{
    uint8_t locks[DateLockBlk::Size] = {};
    PutDate(locks, DateLockBlk::LedgerLock, DateRec{15, 1, 2024});
    ASSERT_EQ(SettingsBlockStore(DateLockBlk::Number, locks, sizeof locks), RecDone);
    ImportSie("#SIETYP 4\r\n#RAR 0 20240101 20241231\r\n"
              "#VER A 1 20240110 \"locked\"\r\n{\r\n#TRANS 1910 {} 1.00\r\n#TRANS 3010 {} -1.00\r\n}\r\n"
              "#VER A 2 20240120 \"open\"\r\n{\r\n#TRANS 1910 {} 2.00\r\n#TRANS 3010 {} -2.00\r\n}\r\n");
    EXPECT_EQ(RegRecordCount(TRVc::Number), 1u);
    EXPECT_EQ(SieImportResult.notStored, 1u);
    EXPECT_EQ(Shown(Texts::DateLocked), 1);
    double sum = 0;
    EXPECT_EQ(VoucherRows(2, YearCodeOf({20, 1, 2024}), "1910", &sum), 2);
}

// Malformed files are refused whole with their line; the company does
// not change (its full export stays byte for byte the same).
TEST_F(SieImport, MalformedFilesAreRefusedWithTheirLine)
{
    MakeCompany();
    const std::string before = FullExport();
    const std::string head = "#FLAGGA 0\r\n#SIETYP 4\r\n#FNAMN \"Changed\"\r\n#KONTO 9999 New\r\n"
                             "#RAR 0 20240101 20241231\r\n";
    struct Case {
        const char *what;
        std::string body;
        uint32_t line;
        int fault;
    } cases[] = {
        {"truncated #VER", "#VER A 5 20240110 x\r\n{\r\n#TRANS 1910 {} 1.00\r\n", 6, Texts::SieFaultVerNotClosed},
        {"unbalanced", "#VER A 5 20240110 x\r\n{\r\n#TRANS 1910 {} 1.00\r\n#TRANS 3010 {} -2.00\r\n}\r\n", 6,
         Texts::SieFaultUnbalanced},
        {"bad date", "#VER A 5 20240231 x\r\n{\r\n}\r\n", 6, Texts::SieFaultDate},
        {"letters in an amount", "#IB 0 1910 12a.00\r\n", 6, Texts::SieFaultAmount},
        {"grouped amount", "#IB 0 1910 1,000.00\r\n", 6, Texts::SieFaultAmount},
        {"stray #TRANS", "#TRANS 1910 {} 1.00\r\n", 6, Texts::SieFaultStrayTrans},
        {"#VER without block", "#VER A 5 20240110 x\r\n#KONTO 1 a\r\n", 6, Texts::SieFaultVerOpen},
        {"type 5", "#SIETYP 5\r\n", 6, Texts::SieFaultType},
        {"odd object list", "#VER A 5 20240110 x\r\n{\r\n#TRANS 1910 {1} 1.00\r\n}\r\n", 8, Texts::SieFaultObjects},
        {"year backwards", "#RAR -1 20231231 20230101\r\n", 6, Texts::SieFaultYears},
        {"long line", "#KONTO 1 \"" + std::string(300, 'x') + "\"\r\n", 6, Texts::SieFaultLineTooLong},
    };
    for (const Case &c : cases) {
        ImportSie(head + c.body);
        EXPECT_EQ(SieImportResult.refusedLine, c.line) << c.what;
        EXPECT_EQ(SieImportResult.refusedFault, c.fault) << c.what;
        ASSERT_EQ(MessagesShown.size(), 1u) << c.what;
        EXPECT_NE(MessagesShown[0].find("Line " + std::to_string(c.line) + ": "), std::string::npos) << MessagesShown[0];
        EXPECT_EQ(FullExport(), before) << c.what;
    }
    // Binary garbage: the reader refuses the control bytes, naming the line.
    ImportSie(head + "#KONTO 1 \x01\x02\x03\xFF\r\n");
    EXPECT_EQ(ImportResult.damageLine, 6u);
    EXPECT_EQ(Shown(Texts::ImportDamaged), 1);
    EXPECT_EQ(FullExport(), before);
    // Nothing SIE at all.
    ImportSie("just some text\r\nand more\r\n");
    EXPECT_EQ(SieImportResult.refusedFault, Texts::SieFaultNoLines);
    EXPECT_EQ(FullExport(), before);
    ImportSie("");
    EXPECT_EQ(SieImportResult.refusedFault, Texts::SieFaultNoLines) << "an empty file is refused too";
    // Read from a file, an empty one and one without a #SIETYP line that
    // gives the import nothing are no SIE files: refused by the file's
    // name, in one message, and the run does not say it is done.
    const std::string path = (dir / "import.txt").string();
    for (const std::string &bytes : {std::string(), std::string("just some text\r\n"),
                                     std::string("#FLAGGA 0\r\n#PROGRAM \"Other\" 1.0\r\n")}) {
        ImportSie(bytes, true);
        ASSERT_EQ(MessagesShown.size(), 1u) << bytes;
        EXPECT_EQ(MessagesShown[0], TextOf(Texts::SieNotAnSieFile) + path) << bytes;
        EXPECT_EQ(RunOutcomeLast().rfind("Import done", 0), std::string::npos) << RunOutcomeLast();
        EXPECT_EQ(FullExport(), before) << bytes;
    }
    // One with its #SIETYP that stores nothing is an SIE file, refused by
    // its fault.
    ImportSie("#FLAGGA 0\r\n#SIETYP 4\r\n", true);
    EXPECT_EQ(SieImportResult.refusedFault, Texts::SieFaultNothingRead);
    EXPECT_EQ(Shown(Texts::SieNotAnSieFile), 0);
}

// The periods of the older company sections: the century as the dates
// have it, and a July to June year.
TEST_F(SieImport, YearFromPeriodCodeTakesTheCenturyOfItsDates)
{
    YearFromPeriodCode(507, 606);
    EXPECT_EQ(CurrentFiscalYear.number, 2005);
    EXPECT_EQ(PStringToStd(CurrentFiscalYear.code), "2005");
    DateRec start{1, 7, 2005}, end{30, 6, 2006}, before{30, 6, 2005};
    EXPECT_EQ(DateCompare(&CurrentFiscalYear.start, &start), 0);
    EXPECT_EQ(DateCompare(&CurrentFiscalYear.end, &end), 0);
    EXPECT_EQ(DateCompare(&CurrentFiscalYear.dayBefore, &before), 0);
    EXPECT_EQ(CurrentFiscalYear.periods, 12);
    EXPECT_EQ(YearCodeOf({1, 1, 2006}), YearCodeOf({1, 7, 2005}));
    EXPECT_NE(YearCodeOf({1, 1, 2006}), YearCodeNone);
    YearFromPeriodCode(9907, 9912);
    EXPECT_EQ(CurrentFiscalYear.number, 1999);
}

// A "företag2" section: the company, the year from its periods, and its
// range lines appended once however often the file is read.
TEST_F(SieImport, OldCompanySectionAppendsItsRangesOnce)
{
    const std::string file = "f\xF6retag2\t\r\nOld Co\t\r\nStreet 1\t\r\nTown\t\r\n\t\r\nx\t\r\n55-66\t\r\n"
                             "1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\t14\t15\t\r\n1\t0\t1\t\r\nAB\tCD\t\r\n"
                             "2401\t\r\n2412\t\r\n100\t199\tFirst\t\r\n200\t299\tSecond\t\r\n\r\n";
    ImportBytes(file);
    ASSERT_TRUE(MessagesShown.empty()) << MessagesShown.front();
    EXPECT_EQ(Get(CompanyBlock, CompanyBlk::CompanyName, 60), "Old Co");
    EXPECT_EQ(Get(CompanyBlock, CompanyBlk::OrgNr, 30), "55-66");
    EXPECT_EQ(GetU16(CompanyBlock, CompanyBlk::SignC4), 15);
    DateRec start = GetDate(CompanyBlock, CompanyBlk::YearStart);
    EXPECT_EQ(start.year, 2024);
    const int block = SeriesBlockOfRegister(RegisterOfDocKind(1));
    ASSERT_NE(block, 0);
    const uint32_t size = SettingsBlockSizeLocal(block);
    EXPECT_EQ(size % SeriesRow::Size, 0u);
    EXPECT_GE(size, 2 * SeriesRow::Size);
    ImportBytes(file);
    EXPECT_EQ(SettingsBlockSizeLocal(block), size);
}

}  // namespace
