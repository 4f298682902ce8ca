// fuzz_sie_import.cpp - fuzz target of the SIE import: the input is an
// SIE file read from memory into a real company (the built interface, a
// database in a folder of its own, made afresh every 200 inputs) as the
// program reads one (import mode 2). Whatever the bytes, the run ends; a
// file the check refuses changes no record; faults show as sanitizer
// reports or traps.
//
// SieImportFuzzSeeds is shared with the replay program.
#include <cstdint>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/format_block.h"
#include "dict_offsets.h"
#include "exchange/sie.h"
#include "exchange/text_exchange.h"
#include "database/access/record_access.h"
#include "shell/database_open.h"
#include "fuzz/fuzz_setup.h"

namespace {

using fuzzsetup::Check;

uint32_t InputsMeetingTheLock = 0;

}  // namespace

uint32_t SieImportFuzzInputsMeetingTheLock() { return InputsMeetingTheLock; }

// SIE files for the corpus and the replay's mutations: each type, blank
// and TAB forms, quoted texts with escapes, object lists, a voucher
// block, and broken ones (an open block, an unbalanced voucher, a stray
// row, a bad date); then vouchers dated in the voucher lock the target
// sets (the end of 2023) beside one after it, numbered and not.
std::vector<std::vector<uint8_t>> SieImportFuzzSeeds() {
    const std::string head = "#FLAGGA 0\r\n#FORMAT PC8\r\n#FNAMN \"F\x94retag \\\"AB\\\"\"\r\n"
                             "#RAR 0 20240101 20241231\r\n#RAR -1 20230101 20231231\r\n"
                             "#KONTO 1910 Kassa\r\n#KONTO 3010 \"F\x94rs\x84ljning\"\r\n#KTYP 3010 I\r\n";
    const char *bodies[] = {
        "#SIETYP 1\r\n#IB 0 1910 100.00\r\n#UB 0 1910 150.00\r\n#RES 0 3010 -50.00\r\n",
        "#SIETYP 2\r\n#PSALDO 0 202401 1910 {} 10.00\r\n#PSALDO 0 202401 3010 {1 \"A\"} -1.00\r\n",
        "#SIETYP 3\r\n#DIM 1 \"Kst\"\r\n#OBJEKT 1 \"K1\" \"One\"\r\n#IB 0 1910 5\r\n",
        "#SIETYP 4\r\n#DIM 1 Kst\r\n#OBJEKT 1 K1 One\r\n#VER A 1 20240110 \"T\"\r\n{\r\n"
        "#TRANS 1910 {1 \"K1\"} 100.00 20240110 \"r\" 2.5\r\n#RTRANS 3010 {} -1\r\n#TRANS 3010 {} -100.00\r\n}\r\n",
        "#SIETYP\t4\t\r\n#VER\t\"A\"\t\"\"\t20240111\t\"x\"\t\r\n{\t\r\n\t#TRANS\t1910\t{\t\"1\"\t\"K1\"\t}\t1.00\t\r\n"
        "\t#TRANS\t3010\t{\t}\t-1.00\t\r\n}\t\r\n",
        "#SIETYP 4\r\n#VER A 2 20240110 x\r\n{\r\n#TRANS 1910 {} 1.00\r\n",
        "#SIETYP 4\r\n#VER A 3 20240110 x\r\n{\r\n#TRANS 1910 {} 1.00\r\n}\r\n",
        "#TRANS 1910 {} 1.00\r\n#RAR 0 20240230 20241231\r\n",
        "#SIETYP 4\r\n#VER A 5 20231215 \"Locked\"\r\n{\r\n#TRANS 1910 {} 10.00\r\n#TRANS 3010 {} -10.00\r\n}\r\n"
        "#VER A 6 20240102 \"Open\"\r\n{\r\n#TRANS 1910 {} 20.00\r\n#TRANS 3010 {} -20.00\r\n}\r\n",
        "#SIETYP 4\r\n#VER A \"\" 20231231 x\r\n{\r\n#TRANS 1910 {1 \"K1\"} 5.00\r\n#TRANS 3010 {} -5.00\r\n}\r\n"
        "#VER B \"\" 20230601 y\r\n{\r\n#TRANS 1910 {} 1.00\r\n#TRANS 3010 {} -1.00\r\n}\r\n",
    };
    std::vector<std::vector<uint8_t>> seeds;
    for (const char *b : bodies) {
        std::string s = head + b;
        seeds.emplace_back(s.begin(), s.end());
    }
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzzsetup::BeforeInput("orvel_fuzz_sie_", TextExchangeInstall);
    fuzzsetup::SetVoucherLock(fuzzsetup::SeedVoucherLock);
    const uint32_t accounts = RegRecordCount(ACVc::Number), vouchers = RegRecordCount(TRVc::Number);
    ResetImportFlags();
    fuzzsetup::ImportFromMemory(2, data, uint32_t(size));
    Check(ImportAtEnd());
    if (fuzzsetup::ImportMetTheSeedLock()) InputsMeetingTheLock++;
    Check(ImportDosLetters == 0);
    // A refused or damaged file stores nothing.
    if (SieImportResult.refusedFault != 0 || ImportResult.damageLine != 0)
        Check(RegRecordCount(ACVc::Number) == accounts && RegRecordCount(TRVc::Number) == vouchers);
    return 0;
}
