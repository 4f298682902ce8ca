// sie.h - the SIE files (the Swedish accounting exchange format, types 1
// to 4): their fields as this program reads and writes them, the export
// (export kind 21) and the import (import mode 2).
//
// A file line ends in LF, CR LF or CR; it is a tag ("#KONTO") and its
// fields, separated by runs of blanks and TABs. A field is a word, a
// quoted text ("..." with \" and \\ as the escapes of a quotation mark
// and a backslash) or an object list in braces ("{20 \"P1\" 21 \"D2\"}").
// Dates are YYYYMMDD, periods YYYYMM, amounts a sign, digits and "."
// with at most three decimals, never a grouping character. The series of
// a voucher (#VER) names the program's series: "201".."210" a fixed
// series, anything else the ledger series of the voucher's fiscal year,
// where a voucher whose number is taken gets a new one. The choices are
// written down in docs/sie.md.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"
#include "core/report_job.h"
#include "core/decimal.h"

// ---- Fields (sie_fields.cpp) ----
struct SieField {
    std::string text;   // the word, the unquoted text, or a list's inside
    bool list = false;  // the field was an object list in braces
};
// Splits a line into its fields; a run of blanks and TABs outside quotes
// and braces is one separator.
void SieSplitLine(std::string_view line, std::vector<SieField> *fields);
// Splits the inside of an object list into (dimension, object) pairs;
// false when a dimension has no object.
bool SieObjectPairs(std::string_view list, std::vector<std::pair<std::string, std::string>> *pairs);
// Reads YYYYMMDD into *date; false (date empty) for anything else or a
// day that does not exist.
bool SieDateRead(std::string_view text, DateRec *date);
// Reads YYYYMM into *date as the period's last day; false for anything else.
bool SiePeriodRead(std::string_view text, DateRec *date);
// Reads an amount ("-1234.5"); false for anything else, more than three
// decimals or beyond the range of an amount.
bool SieAmountRead(std::string_view text, PackedDecimal *amount);
// Reads a whole number within lo..hi; false for anything else.
bool SieIntegerRead(std::string_view text, long lo, long hi, long *value);
// The field forms the export writes: YYYYMMDD, YYYYMM, an amount with
// two decimals (blank as 0.00), and a text quoted and escaped, cut to
// width characters of the text.
std::string SieDateText(const DateRec *date);
std::string SiePeriodText(const DateRec *date);
std::string SieAmountText(const PackedDecimal *amount);
std::string SieQuoted(std::string_view text, size_t width);
// A word field: the text as it is, but quoted when it is empty or holds
// a blank, a TAB, a quotation mark or a brace, so that it reads back as
// one field (an empty field left bare would let the next one take its
// place).
std::string SieWord(std::string_view text);
// The characters of a PString as a string, and back (cut to 255).
std::string SieFromPString(const uint8_t *p);
void SieToPString(std::string_view s, uint8_t *p);

// ---- Export (sie_export.cpp) ----
// Writes the general ledger as an SIE file of the selection's type into
// the open export job.
void ExportSie(const ReportJob &job);
// The dimension number of an object-type code in this export: 20 for the
// first code met, one more for each new one.
int SieDimensionNumber(const uint8_t *code);
// The balance of account (no objects) at the end of the day offset days
// after date.
void SieAccountBalance(const uint8_t *account, const DateRec *date, int offset, PackedDecimal *out);

// ---- Import (sie_check.cpp, sie_import.cpp) ----
// The tags a line may carry that the import reads.
enum class SieTag : uint8_t { SieType, OrgNr, Address, CompanyName, Year, Account, AccountType, Dimension, Object,
                              Opening, Closing, Result, PeriodBalance, Voucher };
struct SieRow {
    std::string account, objects, text;   // objects: the codes joined by ","
    PackedDecimal amount, amount2;
};
// One line the import reads, its values checked.
struct SieItem {
    SieTag tag;
    uint32_t line;              // 1-based line of the file
    long number = 0;            // #SIETYP type, year number, voucher number (-1 empty)
    std::string a, b, c, d;     // the texts in field order
    DateRec date1{}, date2{};   // #RAR start and end, #VER date, #PSALDO period end
    PackedDecimal amount{};
    std::vector<SieRow> rows;   // #VER
};
// The first pass: reads every line of the source, checks the lines of
// the tags the import reads and gives them as items. False when the
// file is refused: *line and *fault (a text number) say where and why.
bool SieCheckSource(std::vector<SieItem> *items, uint32_t *line, int *fault, std::string *detail);
// The same on lines already read (the fuzz target and tests).
bool SieCheckLines(const std::vector<std::string> &lines, std::vector<SieItem> *items, uint32_t *line, int *fault,
                   std::string *detail);
// Vouchers given a new number by the plan below: how many, and the first
// as "series old -> new".
struct SieRenumberedRec {
    uint32_t count = 0;
    std::string first;
};
// The second pass (sie_voucher_numbers.cpp): gives every #VER item the
// number it is stored under (a taken or empty number becomes the next free
// one of its series) and checks that every voucher's date lies in a fiscal
// year of the company or the file. False, nothing changed in the company,
// when one does not: *line, *fault and *detail say which.
bool SiePlanVoucherNumbers(std::vector<SieItem> *items, uint32_t *line, int *fault, std::string *detail,
                           SieRenumberedRec *renumbered);
// The import of the open source: checked first, then stored; a refused
// file stores nothing and is told with its line and fault.
void ImportSieRun();
void ImportSieBegin();
void ImportSieLine(const SieItem &item);
void ImportSieEnd();
// An account the chart lacks that only the import's own balancing rows
// use (a type 1 or type 2 voucher whose balances do not balance gets one
// on 9999), with the vouchers those rows balance, in the order stored.
struct SieBalancingRec {
    std::string account;
    std::vector<std::string> vouchers;   // "number", or "series number"
};
// Vouchers the last SIE import did not store, and the first of them;
// the accounts its stored vouchers and opening balances use that the
// chart lacks; the vouchers it gave new numbers; the fault that refused
// the file.
struct SieImportResultRec {
    uint32_t read = 0;            // the file's lines read (a voucher with its rows is one)
    uint32_t stored = 0;          // accounts, objects, vouchers and opening balances stored
    uint32_t notStored = 0;
    std::string firstNotStored;   // "series number"
    std::vector<std::string> accountsMissing;   // the file's own, in order, each once
    std::vector<SieBalancingRec> balancingMissing;   // in account order
    SieRenumberedRec renumbered;
    uint32_t refusedLine = 0;
    int refusedFault = 0;
    std::string refusedDetail;
};
extern SieImportResultRec SieImportResult;
// Tells what the last SIE import refused or did not store.
void SieReportResult();
// Appends an opening-balance row to a register-51 record: nothing for an
// empty account or a zero amount.
void AddOpeningBalanceRow(uint8_t *record, const uint8_t *account, const uint8_t *name, const PackedDecimal *amount);
