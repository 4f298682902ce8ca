// The key text of a record: the register's key in its form, nothing for
// registers without one, and a damaged length byte that cannot read past
// the key's field.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/pstring.h"
#include "dict_offsets.h"
#include "rules/record_key_text.h"

namespace {

// The key text of a record of reg as a std::string.
std::string KeyOf(int reg, const std::vector<uint8_t> &record)
{
    PString text;
    memset(text, 0xAA, sizeof text);
    RecordKeyText(reg, record.data(), text);
    return PStringToStd(text);
}

// Puts a PString at offset `at` of record.
void PutText(std::vector<uint8_t> *record, uint32_t at, const char *s)
{
    size_t n = strlen(s);
    (*record)[at] = uint8_t(n);
    memcpy(record->data() + at + 1, s, n);
}

// Puts a 32-bit number at offset `at` of record.
void PutLong(std::vector<uint8_t> *record, uint32_t at, int32_t v) { memcpy(record->data() + at, &v, 4); }

TEST(RecordKeyText, EachRegisterShowsItsKeyInItsForm)
{
    std::vector<uint8_t> record(1200, 0);
    PutText(&record, CUVc::Code, "ACME_1");
    EXPECT_EQ(KeyOf(CUVc::Number, record), "ACME_1");

    // A sales invoice's key is its serial number at 22, not the bytes at 0.
    std::vector<uint8_t> invoice(1200, 0);
    PutLong(&invoice, 0, 77);
    PutLong(&invoice, IVVc::SerNr, 10452);
    EXPECT_EQ(KeyOf(IVVc::Number, invoice), "10452");
    PutLong(&invoice, IVVc::SerNr, -1);
    EXPECT_EQ(KeyOf(IVVc::Number, invoice), "") << "-1 is an empty serial number";

    // A copied key keeps what a code would change.
    std::vector<uint8_t> list(1200, 0);
    PutText(&list, TrPriceListVc::KeyText, "a b,c");
    EXPECT_EQ(KeyOf(TrPriceListVc::Number, list), "a b,c");

    // Registers with no key text, unlisted numbers and no record at all.
    PutText(&record, 0, "XYZ");
    for (int reg : {0, 1, 129, 131, 133, -1, 5000}) EXPECT_EQ(KeyOf(reg, record), "") << reg;
    PString text = {3, 'a', 'b', 'c'};
    RecordKeyText(CUVc::Number, nullptr, text);
    EXPECT_EQ(text[0], 0);
}

TEST(RecordKeyText, DamagedLengthByteIsCutToTheKeysField)
{
    // A key of at most 5 characters at the end of a short buffer: a length
    // byte of 250 must not read the bytes behind the field.
    std::vector<uint8_t> record(AccessVc::Code + 6, 'Q');
    record[AccessVc::Code] = 250;
    EXPECT_EQ(KeyOf(AccessVc::Number, record), "QQQQQ");
    std::vector<uint8_t> bank(BankVc::Code + 6, 'B');
    bank[BankVc::Code] = 255;
    EXPECT_EQ(KeyOf(BankVc::Number, bank), "BBBBB");
}

}  // namespace
