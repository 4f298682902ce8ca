// old_company_sections.cpp - sections of older text exchange files that are
// read only on import and laid out unlike a register's or a block's:
// the company in one line ("företag1"), the seven series hints one a line
// ("serier1"), the reminder texts by number ("påmtext1") and the reminder
// statistics of sales invoices ("påmstat").
//
// Each reader starts on its tag line and ends holding the next section's
// tag. A damaged value stops the import (ImportDamage); a block whose
// section was not read whole is not stored, so the stored one stays.
#include <cstring>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/old_company_sections.h"
#include "exchange/text_exchange.h"
#include "operations/invoice_notice.h"
#include "shell/database_open.h"

uint32_t NoticeHoldLines = 25;

namespace {

// Stores a settings block read whole; a store that fails fails the hold.
void StoreBlock(int block, const uint8_t *data, uint32_t size)
{
    if (SettingsBlockStore(block, data, size) != RecDone) DbHoldFail();
}

// Ends a section: on its closing empty line (atEnd) the next tag is
// read; inside a data line the rest of the section is passed over first.
void SectionEnd(bool atEnd)
{
    if (ImportAbortFlag) return;
    if (!atEnd) {
        ImportSkipSection();
        return;
    }
    ImportNextTag();
    ImportTagHeld();
}

}  // namespace

// "företag1": one line of nine texts, the company's name and three
// address lines, then the organisation number, the telephone and one
// more text of 20, then the two bank accounts (the order of the later
// company layouts' sixth line). The rest of the block stays as stored.
void CompanyV1Import()
{
    if (!CompanyBlock) {
        ImportSkipSection();
        return;
    }
    if (!ImportNextLineHasData()) {
        SectionEnd(true);
        return;
    }
    std::vector<uint8_t> block(CompanyBlock, CompanyBlock + CompanyBlk::Size);
    const struct {
        uint32_t at;
        uint16_t max;
    } fields[] = {
        {CompanyBlk::CompanyName, 60}, {CompanyBlk::Address1, 60}, {CompanyBlk::Address2, 60},
        {CompanyBlk::Address3, 60},    {CompanyBlk::OrgNr, 20},    {CompanyBlk::Telephone, 20},
        {CompanyBlk::Fax, 20},     {CompanyBlk::BankAccount, 60}, {CompanyBlk::BankAccount2, 60},
    };
    for (const auto &f : fields)
        if (!ImportReadField(block.data() + f.at, FtText, f.max)) return;   // damaged: nothing stored
    if (SettingsBlockStore(CompanyBlk::Number, block.data(), CompanyBlk::Size) == RecDone)
        std::memcpy(CompanyBlock, block.data(), CompanyBlk::Size);
    else
        DbHoldFail();
    SectionEnd(false);
}

// "serier1": the seven number hints of block 132, each the first field
// of a line of its own, into the stored block (its other fields, which
// this layout does not carry, are kept). Fewer lines leave the hints not
// given as they were.
void SeriesV1Import()
{
    uint8_t block[SeriesDefaultsBlk::Size] = {0};
    (void)SettingsBlockRead(SeriesDefaultsBlk::Number, block, sizeof block);   // absent: all zero
    static const uint32_t hints[] = {
        SeriesDefaultsBlk::OrderHint,   SeriesDefaultsBlk::DeliveryHint, SeriesDefaultsBlk::InvoiceHint,
        SeriesDefaultsBlk::PurchHint,   SeriesDefaultsBlk::ReceiptHint,  SeriesDefaultsBlk::Hint20,
        SeriesDefaultsBlk::InterestHint,
    };
    bool read = false, atEnd = false;
    for (uint32_t at : hints) {
        if (!ImportNextLineHasData()) {
            atEnd = true;
            break;
        }
        if (!ImportReadField(block + at, FtLongOrEmpty, 0)) return;   // damaged: nothing stored
        read = true;
    }
    if (ImportAbortFlag) return;
    if (read) StoreBlock(SeriesDefaultsBlk::Number, block, sizeof block);
    SectionEnd(atEnd);
}

// "påmtext1": a line per text, its number 0 to 8 and the text. A number
// outside 0..8 passes its line over; texts the section does not give are
// empty. The block is stored with the texts read.
void ReminderTextsImport()
{
    uint8_t block[ReminderTextBlk::Size] = {0};
    constexpr uint32_t step = ReminderTextBlk::Level1Line2 - ReminderTextBlk::Level1Line1;
    constexpr int16_t texts = ReminderTextBlk::Size / step;
    static_assert(texts == 9 && step == 62);
    while (ImportNextLineHasData()) {
        int16_t number = -1;
        if (!ImportReadField(&number, FtShort, 0)) return;   // damaged: nothing stored
        if (number < 0 || number >= texts) continue;
        if (!ImportReadField(block + ReminderTextBlk::Level1Line1 + uint32_t(number) * step, FtText, 60)) return;
    }
    if (ImportAbortFlag) return;
    StoreBlock(ReminderTextBlk::Number, block, sizeof block);
    SectionEnd(true);
}

// "påmstat": a line per invoice, its serial number, reminder count, a
// value this layout keeps no field for, and the reminder date; each is
// written into the stored invoice (InvoiceNoticeStore). The hold is
// renewed every NoticeHoldLines lines; a hold that fails stops the import.
void ReminderStatsImport()
{
    MemBlock h = 0;
    uint8_t *invoice = RecBufferNew(IVVc::Number, &h);
    if (!invoice) {
        ImportAbortFlag = 1;
        return;
    }
    uint32_t lines = 0;
    while (!ImportAbortFlag && ImportNextLineHasData()) {
        if (lines > 0 && lines % NoticeHoldLines == 0 && !ImportRenewHold()) break;
        lines++;
        RecFreeMatrix(IVVc::Number, invoice);
        RecClear(IVVc::Number, invoice);
        int32_t unused = 0;
        if (!ImportReadField(invoice + IVVc::SerNr, FtLongOrEmpty, 0) ||
            !ImportReadField(invoice + IVVc::NoticeCount, FtLongOrEmpty, 0) ||
            !ImportReadField(&unused, FtLongOrEmpty, 0) || !ImportReadField(invoice + IVVc::NoticeDate, FtDate, 0))
            break;   // damaged: told at the end
        ImportShowProgress(invoice + IVVc::SerNr, FtLongOrEmpty);
        ImportResult.read++;
        switch (InvoiceNoticeStore(invoice)) {
        case NoticeResult::Stored: ImportResult.stored++; break;
        case NoticeResult::Kept: {
            PString key = {0};
            PStringFromView(key, std::to_string(GetI32(invoice, IVVc::SerNr)));
            ImportCountKept(key);
            break;
        }
        case NoticeResult::Missing: break;   // no such invoice: nothing to write
        case NoticeResult::Failed: ImportAbortFlag = 1; break;
        }
    }
    RecBufferFree(IVVc::Number, &h);
    SectionEnd(true);
}
