// fuzz_bank_import.cpp - fuzz target of the import of a bank's file of
// incoming payments (import mode 1): the input's first byte chooses the
// company's bank-file format (reference payments or invoice-number
// payments), the rest is the file, read from memory into a real company
// (made afresh every 200 inputs) that holds one sales invoice. Whatever
// the bytes, the run ends; a file the check refuses stores no receipt;
// faults show as sanitizer reports or traps.
//
// BankImportFuzzSeeds is shared with the replay program.
#include <cstdint>
#include <string>
#include <vector>

#include "core/company_variant.h"
#include "core/definitions.h"
#include "core/field_access.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/bank_file.h"
#include "exchange/bank_payments_in.h"
#include "exchange/text_exchange.h"
#include "fuzz/fuzz_setup.h"
#include "shell/database_open.h"

namespace {

using fuzzsetup::Check;

// The hooks the target needs: the exchange, and the company block's
// variant word bound.
void Install() {
    TextExchangeInstall();
    CompanyVariantBind(CompanyBlock);
}

// A fresh company's sales invoice 1001 with the reference 1234.
void AddInvoice() {
    std::vector<uint8_t> iv(RegRecordSize(IVVc::Number), 0);
    PutI32(iv.data(), IVVc::SerNr, 1001);
    const uint8_t ref[] = {4, '1', '2', '3', '4'};
    PutText(iv.data(), IVVc::RefStr, ref);
    uint32_t id = 0;
    RecInsertLocal(IVVc::Number, iv.data(), &id);
}

}  // namespace

// Files for the corpus and the replay's mutations, each behind its format
// byte: reference payments of one and two dates, a skipped record, and
// invoice-number payments; and broken ones (short, letters, bad dates).
std::vector<std::vector<uint8_t>> BankImportFuzzSeeds() {
    auto ref = [](const std::string &date, const std::string &reference, const std::string &amount) {
        return "3" + std::string("42345670000085") + date + date + std::string(16, ' ') + reference +
               std::string(20 - reference.size(), ' ') + "PAYER        " + " " + amount + "0\r\n";
    };
    const std::string a = ref("050301", "0001234", "0000010000"), b = ref("050302", "1001", "0000000500");
    const std::string files[] = {
        std::string(1, char(BankFormatLm)) + a + a + b,
        std::string(1, char(BankFormatLm)) + "00 header\r\n" + a.substr(0, 87) + "1\r\n" + b,
        std::string(1, char(BankFormatLm)) + a.substr(0, 50) + "\r\n",
        std::string(1, char(BankFormatLm)) + ref("051301", "1", "00000000x0"),
        std::string(1, char(BankFormatTelepay)) + "1010305000111100000000000000001001 00000020000\r\n"
                                                  "1311299423456700000000000000777777 00000001234\r\n",
        std::string(1, char(BankFormatTelepay)) + "1320205000111100000000000000001001 00000020000\r\n",
    };
    std::vector<std::vector<uint8_t>> seeds;
    for (const std::string &s : files) seeds.emplace_back(s.begin(), s.end());
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (fuzzsetup::BeforeInput("orvel_fuzz_bank_", Install)) AddInvoice();
    if (size == 0) return 0;
    PutU16(CompanyBlock, CompanyBlk::CompanyVariant, data[0] % 2 ? BankFormatTelepay : BankFormatLm);
    const uint32_t receipts = RegRecordCount(IPVc::Number);
    fuzzsetup::ImportFromMemory(1, data + 1, uint32_t(size - 1));
    Check(ImportAtEnd());
    // A refused or damaged file stores nothing.
    if (BankImportResult.refusedFault != 0 || ImportResult.damageLine != 0)
        Check(RegRecordCount(IPVc::Number) == receipts);
    Check(RegRecordCount(IPVc::Number) <= receipts + BankImportResult.read);
    return 0;
}
