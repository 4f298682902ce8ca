// fuzz_text_import.cpp - fuzz target of the text import: the input is an
// import file read from memory into a real company (the built interface,
// a database in a folder of its own, made afresh every 200 inputs) as the
// program reads one, through every section reader. Whatever the bytes,
// the run ends and the program formats with the stored number and date
// format (never one without a decimal separator); faults show as
// sanitizer reports or traps.
//
// TextImportFuzzSeeds is shared with the replay program.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/format_block.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "fuzz/fuzz_setup.h"
#include "shell/database_open.h"

namespace {

using fuzzsetup::Check;

uint32_t InputsMeetingTheLock = 0;

}  // namespace

uint32_t TextImportFuzzInputsMeetingTheLock() { return InputsMeetingTheLock; }

// Import files for the corpus and the replay's mutations: a header and
// format line before a section of every reader kind, an unknown tag, an
// over-long field, a damaged number, a key table, a voucher, cp1252
// letters, a stray LF, VT and control characters in fields, and records
// dated in the voucher lock.
std::vector<std::vector<uint8_t>> TextImportFuzzSeeds() {
    const std::string head = "tb\t\r\n\r\n\r\nformat\t\r\n0\t46\t0\t\r\n\r\n";
    const char *bodies[] = {
        "ot\t\r\nA\tAlpha\t\r\nB\tBeta\t\r\n\r\norderclass\t\r\nK\tKlass\t\r\n\r\n",
        "objtypecontrol\t\r\nP\tProjects\t\r\n\r\nlanguage1\t\r\nEN\tEnglish\t\r\n\r\n",
        "seqnr\t7\t\r\not\t\r\nS\tSeq\t\r\n\r\n",
        "nosuchtag\t\r\not\t\r\nX\tx\t\r\n\r\nfakt1\t\r\n1\t2\t\r\n\r\ndefblock\t\r\n1\t\r\n\r\n",
        "nyckel1\t150\t\r\n1\t2\t\r\n\r\n",
        "trans3\t\r\nS1\t2024-01-05\tText\t\r\n1930\t100.00\t\r\n3010\t-100.00\t\r\n\r\n",
        "yearcode1\t\r\n50\t2024-01-01\t2024-12-31\t\r\n\r\nkgrupp2\t26\t\r\nG\tGroup\t\r\n\r\n",
        "defblock2\t140\t\r\n1\t2\t\r\n\r\ntransfix\t\r\n1\t\r\n\r\nBFO\t\r\n1\t\r\n\r\n",
    };
    std::vector<std::vector<uint8_t>> seeds;
    for (const char *b : bodies) {
        std::string s = head + b;
        seeds.emplace_back(s.begin(), s.end());
    }
    std::string longField = head + "ot\t\r\n" + std::string(300, 'L') + "\tname\t\r\n\r\n";
    seeds.emplace_back(longField.begin(), longField.end());
    std::string damaged = "tb\t\r\n\r\n\r\nformat\t\r\n2x\t44\t0\t\r\n\r\not\t\r\nA\ta\t\r\n\r\n";
    seeds.emplace_back(damaged.begin(), damaged.end());
    std::string control = head + "ot\t\r\nA\tK\xE4p\t\r\nB\tBe\nta\vC\tEs\x1b\t\r\nD\tDel\x7f\t\r\n\r\n";
    seeds.emplace_back(control.begin(), control.end());
    // Files that once stored half-read settings, crashed the reader or
    // were refused although valid: damaged number formats and company and
    // table blocks, an empty and a changed format, the older form and
    // purchase layouts with one row, an empty row and a voucher row
    // without an account.
    const char *found[] = {
        "sysformat\r\n1x\t1\t1\t1\t-\t.\t \r\n\r\not\r\nA\tAlpha\r\n\r\n",
        "sysformat\r\n0\t0\t0\t0\t\t\t\r\n\r\not\r\nA\tAlpha\r\n\r\n",
        "sysformat\r\n2\t0\t0\t1\t/\t.\t,\r\n\r\not\r\nA\t1.5\r\n\r\n",
        "company4\r\nNew\r\nA1\r\nA2\r\nA3\r\n\r\nOrg\x01\tTel\r\n\r\n",
        "currency1\r\nUSD\tDollar\t2\r\nNOK\tKrone\tx\r\n\r\n",
        "doc\r\nF\r\n1\r\n\r\n",
        "purchase1\r\n1\r\nI\r\n\r\n",
        "pd2\r\n30\t30\t\t\tNet\t0\t\r\nEN\tThirty\t\r\n\t\t-\t\r\n\tNet\t\r\n\r\n\r\n",
        "trans4\r\n7\t2024-06-15\tV\t2024-06-15\t\t\t\t\r\n\t1\tP1\t\t\t0\t\t\t\r\n\r\n\r\n",
        // Invoices and receipts: "S" numbers, every row kind, the older
        // receipt layout.
        "fakt1\r\nS\t01.04.2025\t\t\t\t\t\t\t\t\t\t\t\t\t7\t\t\t\t\t\t\t1\tUSD\t9\r\nC1\tName\r\nx\r\n\t1\r\n"
        "1\tIT\t1\trow\r\n2\tIT\t2\r\n3\t\t\t\t\t\t5\r\n4\tIT\t1\tt\t\t9\r\n5\ttext\t10\r\n\r\n\r\n",
        "betal3\r\nS\tt\tBG\t10\t\t\t\t\t15.01.2025\r\n1\t0\t5\tC1\t\tt\t12\t3\r\n6\t0\t5\tC1\tt\t4\r\n\r\n\r\n",
        "betal2\r\n31\told\t30.12.2024\t\t\t\t700\t80\t20\t0\t\t\t\t9\t\tK1\tnote\r\n\r\n",
        // The older sections: invoices that make their
        // customer, item and salesperson; the company in one line; series
        // hints; reminder texts and statistics; a discount section.
        "okfakt\r\n5\t10.06.2024\t\t\t\t30\t\t\t\t\t\t1\t\t\t1\r\nNC\tNew\r\nref\t\t\tJS\r\n0\r\n"
        "1\tNEW\t2\trow\t\t20\r\n1\tNEW\t1\r\n\r\nS\t01.01.2025\r\nNC\r\nx\r\n0\r\n\r\n\r\n",
        "f\xF6retag1\r\nName\tA1\tA2\tA3\tOrg\tTel\tFax\tB1\tB2\r\n\r\nserier1\r\n1\r\n2\r\n3\r\n\r\n",
        "p\xE5mtext1\r\n0\tFirst\r\n9\tNine\r\n8\tLast\r\n\r\np\xE5mstat\r\n5\t2\t0\t01.02.2025\r\n\r\n"
        "rabatt1\r\nA\t10\r\not\r\n\r\n",
        // The older person, price, price-list and series sections.
        "signs1\r\nAB\tName\r\n\tNone\r\n\r\nsalesman\r\nAB\tSeller\t3\t12\r\n\r\n"
        "anv\r\nCD\tC\tpw\tadm\tFull\t1\t2\t3\t4\t5\t6\t7\t8\t9\r\n\r\n",
        "price1\r\nI1\t20\t\t5\t1\r\nNO\t1\r\n\r\nprislista1\r\nx\t0\tRetail\t1\r\n\r\n",
        "levSR1\r\n1\t2\t3\t4\tV1\t2024-03-05\r\n\r\nserier3\r\n10\t1\t99\t0\tT\r\n0\t1\t2\t0\t\r\n\r\n"
        "verserier\r\n12\t5\t9\t0\tR\r\n\r\nmlc\r\nx\r\n\r\n",
    };
    for (const char *f : found) {
        std::string s = head + f;
        seeds.emplace_back(s.begin(), s.end());
    }
    // Vouchers, drafts and person entries dated in the voucher lock the
    // target sets (the end of 2023) beside ones after it: in a voucher
    // section and in the register sections; then a file whose own lock
    // block moves the lock on, before a voucher section (held to the lock
    // as it is now) and a register section (held to the lock the import
    // began with).
    const char *locked[] = {
        "trans3\r\n31\t15.12.2023\tLocked\t15.12.2023\t\t\t\r\n1910\t\t\t5.00\t0\t\t\r\n3010\t\t\t-5.00\t0\t\t\r\n\r\n"
        "32\t05.01.2024\tOpen\t05.01.2024\t\t\t\r\n1910\t\t\t5.00\t0\t\t\r\n\r\n\r\n",
        "trans4\r\n33\t30.11.2023\tx\t30.11.2023\t\t\t\r\n1910\t\t\t5.00\t0\t\t\r\n\r\n\r\n"
        "sm1\r\n34\tDraft\t10.10.2023\t\t\r\n1910\t\tx\t5.00\t\r\n\r\n\r\n"
        "sp1\r\n35\t10.10.2023\t10.10.2023\tEntry\tP1\t\t\t\t0\t0\t\r\n7010\t\tx\t5.00\r\n\r\n\r\n",
        "dblock\r\n\t31.03.2024\t\t\t\t\t\t\r\n\r\n"
        "trans3\r\n36\t01.02.2024\tx\t01.02.2024\t\t\t\r\n1910\t\t\t5.00\t0\t\t\r\n\r\n\r\n"
        "trans4\r\n37\t02.02.2024\tx\t02.02.2024\t\t\t\r\n1910\t\t\t5.00\t0\t\t\r\n\r\n\r\n",
    };
    for (const char *f : locked) {
        std::string s = head + f;
        seeds.emplace_back(s.begin(), s.end());
    }
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzzsetup::BeforeInput("orvel_fuzz_text_", TextExchangeInstall);
    fuzzsetup::SetVoucherLock(fuzzsetup::SeedVoucherLock);
    fuzzsetup::ImportFromMemory(0, data, uint32_t(size));
    Check(ImportAtEnd());
    if (fuzzsetup::ImportMetTheSeedLock()) InputsMeetingTheLock++;
    // The file's own format line is forgotten after the run; a "sysformat"
    // section may change the format, and the program then formats with
    // what is stored (the defaults for an empty block), never without a
    // decimal separator: every amount it writes can be read back.
    FormatBlock stored{};
    SettingsBlockReadLocal(FormatBlk::Number, reinterpret_cast<uint8_t *>(&stored), sizeof stored);
    const FormatBlock &expected = stored.decimalSep[0] == 0 ? DefaultFormatBlock : stored;
    Check(std::memcmp(CurrentFormat, &expected, sizeof expected) == 0);
    Check(CurrentFormat->decimalSep[0] == 1 && CurrentFormat->decimalSep[1] != 0);
    return 0;
}
