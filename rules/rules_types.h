// rules_types.h - what every file of the business rules shares: the names
// of the record and row layouts the rules read, the constants of numbering,
// fiscal-year codes, balances and object lists, and small scope helpers for
// records and settings blocks.
//
// Layouts are never restated here: each alias below names the generated
// namespace of the dictionary (dict_offsets.h), so that Voucher::TransDate
// or VatCodeRow::Rate2 is the one offset dict/ gives.
#pragma once

#include <array>
#include <cstdint>

#include "core/date.h"
#include "core/decimal.h"
#include "core/memblock.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"

// ---- Record and row layouts ----

namespace Voucher = TRVc;                 // register 11; its rows handle at Voucher::Matrix
namespace TransRow = TRVc::Rows;          // voucher rows of four kinds (RowAccount .. RowReference)
namespace AccountRow = SMVc::Rows;        // rows of register 9 (sm1)
namespace Sp1Row = PersEntryVc::Rows;     // rows of register 126 (sp1)
namespace Fb1Row = OpenBalVc::Rows;       // rows of register 51 (fb1)
namespace BalanceRecord = BLVc;           // register 17; BLVc::Periods holds the period block's handle
namespace VatCodeRow = VatCodeBlk::Rows;  // rows of block 208; row 0 answers unknown codes
namespace CurrencyRow = CurrencyBlk::Rows;
namespace SeriesRow = VoucherSeriesBlk::Rows;   // every number-series block has this row layout
namespace FiscalYearEntry = FiscalYearBlk::Rows;
namespace DateLockBlock = DateLockBlk;
namespace RoundOffBlock = RoundOffBlk;

// The voucher work record is a voucher.
static_assert(PendingVoucherSize == Voucher::Size && PendingVoucherRows == Voucher::Matrix);

// True when a series block's rows lie as SeriesRow says.
constexpr bool SameSeriesLayout(uint32_t size, uint32_t first, uint32_t last, uint32_t from, uint32_t to) {
    return size == SeriesRow::Size && first == SeriesRow::FirstNr && last == SeriesRow::LastNr &&
           from == SeriesRow::ValidFrom && to == SeriesRow::ValidTo;
}
#define ORVEL_SERIES_LAYOUT(B) \
    static_assert(SameSeriesLayout(B::Rows::Size, B::Rows::FirstNr, B::Rows::LastNr, B::Rows::ValidFrom, B::Rows::ValidTo))
ORVEL_SERIES_LAYOUT(ProdSeriesBlk);        // 152
ORVEL_SERIES_LAYOUT(InvSeriesBlk);         // 187
ORVEL_SERIES_LAYOUT(ReceiptSeriesBlk);     // 188
ORVEL_SERIES_LAYOUT(PurchInvSeriesBlk);    // 189
ORVEL_SERIES_LAYOUT(OutPaySeriesBlk);      // 190
ORVEL_SERIES_LAYOUT(SubLedgerSeriesBlk);   // 191
ORVEL_SERIES_LAYOUT(OrderSeriesBlk);       // 192
ORVEL_SERIES_LAYOUT(DeliverySeriesBlk);    // 193
ORVEL_SERIES_LAYOUT(PurchSeriesBlk);       // 194
ORVEL_SERIES_LAYOUT(QuotationSeriesBlk);   // 195
ORVEL_SERIES_LAYOUT(TimeSheetSeriesBlk);   // 196
ORVEL_SERIES_LAYOUT(PurchOrderSeriesBlk);  // 198
ORVEL_SERIES_LAYOUT(StockMoveSeriesBlk);   // 204
#undef ORVEL_SERIES_LAYOUT

// ---- Numbering ----

constexpr uint32_t SerialNone = 0xFFFFFFFFu;   // a record not numbered
constexpr uint32_t SerialAsk = 0xFFFFFFFEu;    // a record that asks for a number
constexpr int32_t NoFreeNumber = -1;           // the range or series is used up

// True when a record's serial still asks for a number.
constexpr bool NeedsNumber(uint32_t serial) { return serial == SerialAsk || serial == SerialNone; }

// Voucher row kinds (the first word of a voucher row).
enum : uint16_t { RowAccount = 1, RowDated = 2, RowLink = 3, RowReference = 4 };

// ---- Balances ----

// A balance record keeps two kinds of amounts per month: the ledger's and
// the sub-ledger's.
constexpr int BalanceKinds = 2, KindLedger = 0, KindSubLedger = 1;

// Fiscal-year codes: 1 means "in no year", 2..200 name the company's years,
// 201..210 the fixed codes of the sub-ledgers' vouchers, one per kind of
// document that posts: its voucher is stored under that code and the
// document's own number.
constexpr uint16_t YearCodeNone = 1, YearCodeMin = 2, YearCodeMax = 200;
constexpr uint16_t YearCodeFixedFirst = 201, YearCodeFixedLast = 210;
constexpr uint16_t YearCodeInvoice = 201, YearCodeReceipt = 202, YearCodePurchInvoice = 203,
                   YearCodeVendorPayment = 204, YearCodePurchase = 205, YearCodeDelivery = 206,
                   YearCodeExpense = 207, YearCodePersonPayment = 208, YearCodeStockMove = 209,
                   YearCodePurchPreliminary = 210;

// Months are counted from January 1980 (0); 16 bits reach April 7441.
constexpr uint16_t MonthIndexLast = 65535;

// ---- Object lists ----

// An object list holds at most five codes of at most five characters, one
// per object type, in a text of at most 30 characters.
constexpr int ObjectSlotCount = 5, ObjectCodeMax = 5, ObjectListMax = 30;
using ObjectSlots = std::array<std::array<uint8_t, ObjectCodeMax + 1>, ObjectSlotCount>;   // PStrings

// ---- Session series hints ----

// The session user's own series starts: the voucher series at 42 and the
// purchase series at 12 of the user's SessionUserInfo entry.
constexpr uint32_t SuVoucherHint = SU::SeriesB, SuPurchaseHint = SU::SeriesA + 12;

// ---- Scope helpers (rules_support.cpp) ----

// A zero-filled record of register reg for one scope; its rows and the
// record are freed when the scope ends. record is null when the register
// has no record size or memory could not be had.
struct RuleRecord {
    int reg;
    MemBlock handle = 0;
    uint8_t *record = nullptr;
    explicit RuleRecord(int r);
    ~RuleRecord();
    RuleRecord(const RuleRecord &) = delete;
    RuleRecord &operator=(const RuleRecord &) = delete;
};

// The rows of a row-table settings block, loaded into its bound handle
// variable and locked for one scope: data and count (whole rows of
// rowSize bytes only). No rows: handle 0, data null, count 0.
struct SettingsRows {
    MemBlock handle;
    uint8_t *data;
    int32_t count;
    uint32_t rowSize;
    SettingsRows(int block, MemBlock *var, uint32_t rowSize);
    ~SettingsRows();
    SettingsRows(const SettingsRows &) = delete;
    SettingsRows &operator=(const SettingsRows &) = delete;
};

// The bound buffer of a one-record settings block, loaded first; null while
// the block is unbound (before SettingsStartup).
uint8_t *SettingsRecord(int block, uint8_t *bound);
