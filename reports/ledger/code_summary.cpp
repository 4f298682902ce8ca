// code_summary.cpp - sums per code kept in the order the codes are first
// met: the VAT-code and account summaries at the end of a journal.
#include <cassert>
#include <cstring>

#include "core/pstring.h"
#include "reports/ledger/journal_reports.h"

void CodeSummaryAdd(CodeSummary &summary, const uint8_t *code, const PackedDecimal *amount) {
    assert(code && amount);
    if (code[0] == 0 || DecIsBlank(amount)) return;
    uint8_t key[12] = {0};
    const size_t n = code[0] > 10 ? 10 : code[0];
    key[0] = uint8_t(n);
    std::memcpy(key + 1, code + 1, n);
    CodeSummaryEntry *entry = nullptr;
    for (CodeSummaryEntry &e : summary)
        if (PStringEqual(e.code, key)) {
            entry = &e;
            break;
        }
    if (!entry) {
        CodeSummaryEntry fresh{};
        std::memcpy(fresh.code, key, sizeof key);
        DecSetZero(&fresh.plus);
        DecSetZero(&fresh.minus);
        summary.push_back(fresh);
        entry = &summary.back();
    }
    if (DecSign(amount) >= 0) {
        DecAdd(&entry->plus, amount, &entry->plus);
    } else {
        PackedDecimal magnitude;
        DecNegateInto(amount, &magnitude);
        DecAdd(&entry->minus, &magnitude, &entry->minus);
    }
}
