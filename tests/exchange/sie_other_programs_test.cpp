// sie_other_programs_test.cpp - SIE files in the shapes other accounting
// programs write them (LF, CR LF and CR line ends, runs of TABs, series
// that share voucher numbers, #IB of two years, an empty #ORGNR, object
// codes too long or shared by two dimensions, objects without #OBJEKT, a
// voucher file without #RAR), each imported into an empty company and
// compared with the file: every account's balance per year and every
// voucher, by the test's own reading of the file's lines.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "rules/series_terms.h"
#include "tests/exchange/sie_fixture.h"

namespace {

// The words of a line: runs of blanks and TABs separate them, a quoted
// text or a braced list is one word (its quotes dropped, a list kept).
std::vector<std::string> Words(const std::string &line)
{
    std::vector<std::string> out;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            i++;
            continue;
        }
        size_t e = i;
        if (line[i] == '"') {
            e = line.find('"', i + 1);
            out.push_back(line.substr(i + 1, e - i - 1));
            i = e + 1;
            continue;
        }
        if (line[i] == '{') e = line.find('}', i) + 1;
        while (e < line.size() && line[e] != ' ' && line[e] != '\t') e++;
        out.push_back(line.substr(i, e - i));
        i = e;
    }
    return out;
}

long Cents(const std::string &amount) { return std::lround(std::stod(amount) * 100); }

DateRec DateOf(const std::string &t)
{
    return DateRec{uint16_t(std::stoi(t.substr(6, 2))), uint16_t(std::stoi(t.substr(4, 2))),
                   uint16_t(std::stoi(t.substr(0, 4)))};
}

// What the file says, counted by the test: years, balances and vouchers.
struct FileFacts {
    std::map<long, std::pair<DateRec, DateRec>> years;          // #RAR
    std::map<long, std::map<std::string, long>> ib, ub, moves;  // by year number, account
    struct Voucher {
        DateRec date;
        std::map<std::string, long> rows;
    };
    std::map<std::string, Voucher> vouchers;   // by text (the files here give each its own)

    explicit FileFacts(const std::string &file)
    {
        std::string text = file, line;
        std::vector<std::string> lines;
        for (size_t i = 0; i <= text.size(); i++) {
            if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
                lines.push_back(line);
                line.clear();
                if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') i++;
            } else {
                line += text[i];
            }
        }
        std::string open;   // the text of the open #VER
        for (const std::string &l : lines) {
            std::vector<std::string> w = Words(l);
            if (w.empty()) continue;
            if (w[0] == "#RAR") years[std::stol(w[1])] = {DateOf(w[2]), DateOf(w[3])};
            if (w[0] == "#IB") ib[std::stol(w[1])][w[2]] += Cents(w[3]);
            if (w[0] == "#UB") ub[std::stol(w[1])][w[2]] += Cents(w[3]);
            if (w[0] == "#PSALDO" && w[4].find_first_not_of("{} \t") == std::string::npos)
                moves[std::stol(w[1])][w[3]] += Cents(w[5]);
            if (w[0] == "#VER") vouchers[open = w[4]].date = DateOf(w[3]);
            if (w[0] == "#TRANS") {
                vouchers[open].rows[w[1]] += Cents(w[3]);
                for (auto &[year, bounds] : years)
                    if (DateInRange(&vouchers[open].date, &bounds.first, &bounds.second))
                        moves[year][w[1]] += Cents(w[3]);
            }
        }
    }
};

class SieOtherPrograms : public SieFixture {
protected:
    // The company's balance of account at the end of date, in cents.
    static long Balance(const std::string &account, DateRec date)
    {
        PString a;
        PStringFromC(a, account.c_str());
        PackedDecimal d;
        SieAccountBalance(a, &date, 0, &d);
        return std::lround(DecToDouble(&d) * 100);
    }
    // The stored vouchers by text: date and rows (zero sums dropped).
    static std::map<std::string, FileFacts::Voucher> StoredVouchers()
    {
        std::map<std::string, FileFacts::Voucher> out;
        MemBlock h = 0;
        uint8_t *v = RecBufferNew(TRVc::Number, &h);
        uint8_t row[TransRow::Size];
        for (uint32_t pos = 1; pos <= RegOpenCount(TRVc::Number); pos++) {
            uint32_t recid = 0;
            RecFreeMatrix(TRVc::Number, v);
            if (!RecReadAt(TRVc::Number, int32_t(pos), v, &recid)) continue;
            FileFacts::Voucher &x = out[Get(v, TRVc::Text, 60)];
            x.date = GetDate(v, TRVc::TransDate);
            for (int32_t i = 0; i < MatrixRowCount(TRVc::Number, 0, v); i++) {
                MatrixRowRead(TRVc::Number, v, i, row);
                PackedDecimal d = GetDec(row, TransRow::Amount);
                x.rows[Get(row, TransRow::Account, 10)] += std::lround(DecToDouble(&d) * 100);
            }
        }
        RecFreeMatrix(TRVc::Number, v);
        RecBufferFree(TRVc::Number, &h);
        return out;
    }
    // Imports file into a fresh empty company and compares it with the
    // file: each year's opening (#IB) and its end (#IB and the year's
    // movements, and #UB where given), and every voucher.
    void ImportAndCompare(const std::string &what, const std::string &file, void (*prepare)() = nullptr)
    {
        SCOPED_TRACE(what);
        EmptyCompany((what + ".VDB").c_str());
        RulesInstall();
        if (prepare) prepare();
        ImportSie(file);
        EXPECT_EQ(SieImportResult.refusedFault, 0) << SieImportResult.refusedLine;
        EXPECT_EQ(SieImportResult.notStored, 0u);
        const FileFacts f(file);
        ASSERT_FALSE(f.years.empty());
        for (const auto &[year, bounds] : f.years) {
            std::set<std::string> accounts;
            for (const auto &m : {f.ib, f.ub})
                if (m.count(year))
                    for (const auto &[a, c] : m.at(year)) accounts.insert(a);
            DateRec before = bounds.first;
            DateAddDays(&bounds.first, -1, &before);
            for (const std::string &a : accounts) {
                const long ib = f.ib.count(year) && f.ib.at(year).count(a) ? f.ib.at(year).at(a) : 0;
                const long moved = f.moves.count(year) && f.moves.at(year).count(a) ? f.moves.at(year).at(a) : 0;
                EXPECT_EQ(Balance(a, before), ib) << "opening of " << a << " in year " << year;
                if (f.ub.count(year) && f.ub.at(year).count(a)) {
                    EXPECT_EQ(Balance(a, bounds.second), f.ub.at(year).at(a)) << "end of " << a << " in " << year;
                }
                if (f.moves.count(year)) {
                    EXPECT_EQ(Balance(a, bounds.second), ib + moved) << "moves of " << a << " in " << year;
                }
            }
        }
        const auto stored = StoredVouchers();
        if (f.vouchers.empty() && f.moves.empty()) {
            EXPECT_TRUE(stored.empty());
        }
        if (f.vouchers.empty()) return;   // a file of balances only: its vouchers are the company's own
        EXPECT_EQ(stored.size(), f.vouchers.size());
        for (const auto &[text, v] : f.vouchers) {
            auto at = stored.find(text);
            ASSERT_NE(at, stored.end()) << text;
            EXPECT_EQ(DateCompare(&at->second.date, &v.date), 0) << text;
            EXPECT_EQ(at->second.rows, v.rows) << text;
        }
    }
    // The refusal of file by fault, shown once, with nothing stored.
    void ExpectRefused(const std::string &file, int fault, uint32_t line)
    {
        const uint32_t accounts = RegRecordCount(ACVc::Number), vouchers = RegRecordCount(TRVc::Number);
        ImportSie(file);
        EXPECT_EQ(SieImportResult.refusedFault, fault);
        EXPECT_EQ(SieImportResult.refusedLine, line);
        EXPECT_GE(Shown(Texts::SieRefused), 1);
        EXPECT_EQ(RegRecordCount(ACVc::Number), accounts);
        EXPECT_EQ(RegRecordCount(TRVc::Number), vouchers);
        EXPECT_EQ(RegRecordCount(OpenBalVc::Number), 0u);
    }
};

std::string Joined(const std::vector<std::string> &lines, const char *end)
{
    std::string out;
    for (const std::string &l : lines) out += l + end;
    return out;
}

// Each blank outside quotes becomes a run of TABs and blanks, the first
// of a line two TABs: the shapes of TAB-writing programs.
std::string Tabbed(const std::string &line)
{
    std::string out;
    bool quoted = false, first = true;
    for (char c : line) {
        if (c == '"') quoted = !quoted;
        if (c != ' ' || quoted) {
            out += c;
            continue;
        }
        out += first ? "\t\t" : "\t \t";
        first = false;
    }
    return out;
}

// A ledger of two years whose series A, B and C each number from 1, with
// #IB of both years that differ (money moved between the years).
const std::vector<std::string> Ledger = {
    "#FLAGGA 0", "#PROGRAM \"Other books\" 2.1", "#FORMAT PC8", "#SIETYP 4", "#ORGNR 556000-1111",
    "#FNAMN \"Annan AB\"", "#RAR 0 20240101 20241231", "#RAR -1 20230101 20231231", "#KONTO 1510 \"Kundfordringar\"",
    "#KONTO 1930 \"Bank\"", "#KONTO 2440 \"Leverantorsskulder\"", "#KONTO 3010 \"Forsaljning\"", "#KONTO 4010 \"Inkop\"",
    "#DIM 1 \"Kostnadsstalle\"", "#OBJEKT 1 \"K1\" \"Butik\"", "#IB -1 1510 378035.90", "#IB -1 1930 1000.00",
    "#IB -1 2440 -379035.90", "#IB 0 1510 372260.90", "#IB 0 1930 6775.00", "#IB 0 2440 -379035.90",
    "#VER A 1 20240105 \"A one\"", "{", "#TRANS 1510 {} 1250.00", "#TRANS 3010 {1 \"K1\"} -1250.00", "}",
    "#VER A 2 20240210 \"A two\"", "{", "#TRANS 1930 {} 500.00", "#TRANS 1510 {} -500.00", "}",
    "#VER B 1 20240115 \"B one\"", "{", "#TRANS 4010 {1 \"K1\"} 300.00", "#TRANS 2440 {} -300.00", "}",
    "#VER B 2 20240301 \"B two\"", "{", "#TRANS 2440 {} 300.00", "#TRANS 1930 {} -300.00", "}",
    "#VER C 1 20240320 \"C one\"", "{", "#TRANS 1930 {} 20.50", "#TRANS 3010 {} -20.50", "}",
    "#UB 0 1510 373010.90", "#UB 0 1930 6995.50", "#UB 0 2440 -379035.90"};

TEST_F(SieOtherPrograms, LedgerReadsWholeInEveryLineEndAndSeparatorShape)
{
    ImportAndCompare("lf", Joined(Ledger, "\n"));
    ImportAndCompare("crlf", Joined(Ledger, "\r\n"));
    ImportAndCompare("cr", Joined(Ledger, "\r"));
    std::vector<std::string> tabbed;
    for (const std::string &l : Ledger) tabbed.push_back(Tabbed(l));
    ImportAndCompare("tabs", Joined(tabbed, "\r\n"));
    // The series that shared numbers: B 1, B 2 and C 1 were given new
    // numbers after A's, and the closing message says so.
    EXPECT_EQ(SieImportResult.renumbered.count, 3u);
    EXPECT_EQ(SieImportResult.renumbered.first, "B 1 -> 3");
    EXPECT_EQ(Shown(Texts::SieVouchersRenumbered), 1);
    // The file's last line needs no line end.
    ImportAndCompare("no last end", Joined(Ledger, "\n") + "#KONTO 9999 Last");
}

// Types 2 and 3 with a previous year: year 0 opens with #IB 0, the
// previous year with #IB -1; an empty #ORGNR is stored empty.
TEST_F(SieOtherPrograms, EachYearOpensWithItsOwnOpeningBalances)
{
    const std::vector<std::string> head = {"#FLAGGA 0", "#ORGNR", "#FNAMN \"Balans AB\"", "#RAR 0 20240101 20241231",
                                           "#RAR -1 20230101 20231231", "#KONTO 1510 Kund", "#KONTO 2440 Lev",
                                           "#KONTO 3010 Sales", "#IB -1 1510 378035.90", "#IB -1 2440 -378035.90",
                                           "#IB 0 1510 372260.90", "#IB 0 2440 -372260.90"};
    std::vector<std::string> type3 = head;
    type3.insert(type3.begin() + 1, "#SIETYP 3");
    ImportAndCompare("type3", Joined(type3, "\n"), [] { Put(CompanyBlock, CompanyBlk::OrgNr, 30, "was here"); });
    EXPECT_EQ(Get(CompanyBlock, CompanyBlk::OrgNr, 30), "");
    EXPECT_EQ(Get(CompanyBlock, CompanyBlk::CompanyName, 60), "Balans AB");
    std::vector<std::string> type2 = head;
    type2[1] = "#ORGNR \"\"";
    type2.insert(type2.begin() + 1, "#SIETYP 2");
    for (const char *l : {"#PSALDO 0 202401 1510 {} 1000.00", "#PSALDO 0 202401 3010 {} -1000.00",
                          "#PSALDO 0 202403 1510 {} -250.25", "#PSALDO 0 202403 2440 {} 250.25"})
        type2.push_back(l);
    ImportAndCompare("type2", Joined(type2, "\r\n"));
}

TEST_F(SieOtherPrograms, ObjectCodesTooLongOrSharedAreNamedAndRefused)
{
    const std::string head = "#SIETYP 4\n#RAR 0 20240101 20241231\n#KONTO 1930 Bank\n#DIM 1 Kst\n#DIM 6 Projekt\n";
    const std::string ver = "#VER A 1 20240110 x\n{\n";
    // Every code too long is named, from #OBJEKT lines and rows alike.
    ExpectRefused(head + "#OBJEKT 1 \"LONGCODE1\" a\n" + ver + "#TRANS 1930 {6 \"SIXSIX\"} 1.00\n#TRANS 1930 {} -1.00\n}\n",
                  Texts::SieFaultObjectCodesLong, 6);
    EXPECT_EQ(SieImportResult.refusedDetail, "LONGCODE1, SIXSIX");
    ASSERT_FALSE(MessagesShown.empty());
    EXPECT_NE(MessagesShown[0].find("LONGCODE1, SIXSIX"), std::string::npos) << MessagesShown[0];
    // Codes that two dimensions share, by #OBJEKT and by a row.
    ExpectRefused(head + "#OBJEKT 1 \"10\" a\n#OBJEKT 6 \"10\" b\n#OBJEKT 1 \"20\" c\n" + ver +
                      "#TRANS 1930 {6 \"20\"} 1.00\n#TRANS 1930 {1 \"10\"} -1.00\n}\n",
                  Texts::SieFaultObjectShared, 7);
    EXPECT_EQ(SieImportResult.refusedDetail, "10, 20");
    // One dimension naming a code twice is no fault.
    ImportSie(head + "#OBJEKT 1 \"10\" a\n" + ver + "#TRANS 1930 {1 \"10\"} 1.00\n#TRANS 1930 {1 10} -1.00\n}\n");
    EXPECT_EQ(SieImportResult.refusedFault, 0);
    EXPECT_EQ(RegRecordCount(TRVc::Number), 1u);
}

// Many long codes do not fit one message: the rest follow, none cut.
TEST_F(SieOtherPrograms, EveryLongCodeIsShownHoweverMany)
{
    std::string file = "#SIETYP 3\n";
    for (int i = 0; i < 40; i++) file += "#OBJEKT 1 CODE" + std::to_string(100 + i) + " x\n";
    ImportSie(file);
    EXPECT_EQ(SieImportResult.refusedFault, Texts::SieFaultObjectCodesLong);
    std::string all;
    for (const std::string &m : MessagesShown) all += m;
    EXPECT_GE(MessagesShown.size(), 2u);
    for (int i = 0; i < 40; i++) EXPECT_NE(all.find("CODE" + std::to_string(100 + i)), std::string::npos) << i;
}

// Objects that rows name without an #OBJEKT line are made in the
// company under their row's dimension, and so exported again.
TEST_F(SieOtherPrograms, ObjectsWithoutTheirLineAreKeptAndExported)
{
    ImportSie("#SIETYP 4\n#RAR 0 20240101 20241231\n#KONTO 1930 Bank\n#KONTO 3010 Sales\n#DIM 1 Kst\n"
              "#VER A 1 20240110 \"Sale\"\n{\n#TRANS 1930 {1 \"K9\"} 10.00\n#TRANS 3010 {} -10.00\n}\n");
    ASSERT_EQ(SieImportResult.refusedFault, 0);
    uint8_t ob[OBVc::Size] = {};
    Put(ob, OBVc::Code, 5, "K9");
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFind(OBVc::Number, ob, 1, 1, &recid, &position));
    EXPECT_EQ(Get(ob, OBVc::ObjType, 5), "1");
    const std::string out = Sie(4);
    EXPECT_NE(out.find("#OBJEKT\t20\t\"K9\""), std::string::npos) << out;
    EXPECT_NE(out.find("#TRANS\t1930\t{\t\"20\"\t\"K9\"\t}"), std::string::npos) << out;
}

// A voucher file without #RAR: refused before anything is stored when a
// voucher's date lies in no fiscal year; read whole into a company that
// has the year, a number the company holds given the next free one.
TEST_F(SieOtherPrograms, VoucherFileWithoutYearsNeedsTheCompanysYears)
{
    const std::string file = "#FLAGGA 0\n#SIETYP 4\n#KONTO 1930 Bank\n#KONTO 3010 Sales\n"
                             "#VER A 1 20240110 \"First\"\n{\n#TRANS 1930 {} 10.00\n#TRANS 3010 {} -10.00\n}\n"
                             "#VER A 2 20250110 \"Second\"\n{\n#TRANS 1930 {} 5.00\n#TRANS 3010 {} -5.00\n}\n";
    ExpectRefused(file, Texts::SieFaultNoYear, 5);
    EXPECT_EQ(SieImportResult.refusedDetail, "20240110");
    Year(DateRec{1, 1, 2024}, DateRec{31, 12, 2024});
    ExpectRefused(file, Texts::SieFaultNoYear, 10);   // the second voucher's year is missing still
    Year(DateRec{1, 1, 2025}, DateRec{31, 12, 2025});
    Account("1930", "Bank", 0);
    Voucher(1, 0, DateRec{2, 1, 2024}, "Held", {{"1930", "", 1}, {"3010", "", -1}});
    ImportSie(file);
    EXPECT_EQ(SieImportResult.refusedFault, 0);
    EXPECT_EQ(SieImportResult.notStored, 0u);
    const auto stored = StoredVouchers();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored.at("First").rows.at("1930"), 1000);
    EXPECT_EQ(stored.at("Second").rows.at("3010"), -500);
    EXPECT_EQ(SieImportResult.renumbered.first, "A 1 -> 2");
    EXPECT_EQ(Balance("1930", DateRec{31, 12, 2025}), 1 * 100 + 1000 + 500);
}

}  // namespace
