// work_blocks.h - the global work records that live for the whole run and
// the globals through which the program reads its settings blocks.
//
// AllocWorkBlocks makes the work records before the interface file is
// loaded. The settings-block globals stay null (0 for handles) until
// SettingsStartup (database/access/settings_binding.h) binds them after
// loading; the settings layer then loads each block into its place on
// first use. Nothing here is ever freed.
#pragma once

#include <cstdint>

#include "core/memblock.h"
#include "dict_offsets.h"

// ---- Work records ----

// The size of a job record (register 99 of the dictionary, whose fields
// ReportParamsVc:: names): a report's selection and its output device.
// No job record is global: each run holds its own (core/report_job.h).
constexpr uint32_t ReportParamsSize = ReportParamsVc::Size;

// The logged-in user record; +68 holds the handle of the user's access list.
constexpr uint32_t LoggedInUserSize = 72;
constexpr uint32_t LoggedInUserAccessList = 68;
extern uint8_t *LoggedInUser;

// One 72-byte entry per session (50), the user of that session.
constexpr int SessionUserEntries = 50;
constexpr uint32_t SessionUserEntrySize = 72;
// The name's 21 bytes end at 41; the three further choices start on the
// next even byte (42, 46, 50, the first being the user's voucher series
// start), the user code follows them at 54 and the 10-character code at
// 60 fills the entry up to its last, spare byte.
namespace SU {
constexpr uint32_t SeriesA = 0;     // five u32 number-series choices
constexpr uint32_t FullName = 20;   // PString of at most 20 characters
constexpr uint32_t SeriesB = 42;    // three further u32 choices
constexpr uint32_t UserCode = 54;   // text of at most 5 characters
constexpr uint32_t Code10 = 60;     // text of at most 10 characters
}  // namespace SU
static_assert(SU::Code10 + 12 == SessionUserEntrySize);
extern uint8_t *SessionUserInfo;
// The session whose user is current: the program's own entry stand-alone,
// the client's on a server; below 0 when none.
extern int16_t CurrentSessionIndex;
// The entry of session i, or null.
uint8_t *SessionUserEntry(int i);

// The voucher work record; +84 holds its rows handle.
constexpr uint32_t PendingVoucherSize = 152;
constexpr uint32_t PendingVoucherRows = 84;
extern uint8_t *PendingVoucher;

// The form printer's work block; its first u32 is cleared at start.
constexpr uint32_t FormPrintWorkSize = 486;
extern uint8_t *FormPrintWork;

// Small start-up state read elsewhere.
extern uint16_t ListWindowFlag;       // list-window flag cleared at start
extern uint16_t ReportListBlock;      // settings block of the report list (163)
extern uint16_t ReportRunWords[2];    // two report words cleared at start
extern uint16_t CurrentModule;        // 0: no module selected
// Esc in a child window; long loops (reports, ledger walks, runs on a
// server) poll it.
extern uint8_t UserCancelFlag;
// Steps of the last import run whose hold failed (nothing of them stored);
// the import readers count them, the shell's run reports them.
extern uint32_t ImportFailedSteps;

// Allocates every work record (zero-filled, for the run) and sets the
// start-up words; false when memory could not be had.
bool AllocWorkBlocks();

// Start-up flags: program byte order 1, no pending message, a fresh
// random seed, the server's session table.
void StartupFlags();

// Copies the current session user's code (a PString of at most 5
// characters) into buffer (6 bytes); empty when no session is current.
void CurrentUserCode(uint8_t *buffer);

// ---- Settings blocks bound to fixed buffers (null before SettingsStartup) ----

extern uint8_t *CompanyBlock;          // 129, 666 bytes
extern uint8_t *SeriesStateBlock;      // 132 "serier2", 120
extern uint8_t *SalesAccountsBlock;    // 133, 268
extern uint8_t *InvoiceRateBlock;      // 134 "faktranta1", 84
extern uint8_t *Block153;              // 153 "vit", 22
extern uint8_t *VendorAccountsBlock;   // 155 "levkonton1", 186
extern uint8_t *PrintOnSaveBlock;      // 170, 12
extern uint8_t *DownPaymentBlock;      // 179 "downpay", 288
extern uint8_t *RoundOffBlockData;     // 182 "roundoff", 4
extern uint8_t *DateLockBlockData;     // 137 "dblock", 42
extern uint8_t *Block199;              // 199 "trgen", 56
extern uint8_t *Block186;              // 186, 34
extern uint8_t *CostAccountsBlock;     // 202, 260
extern uint8_t *MainStockBlock;        // 203 "mainstock", 14
extern uint8_t *CreditLimitBlock;      // 205 "creditlimit", 10
extern uint8_t *FormatBlockData;       // 145, 14 (CurrentFormat points here)
extern uint8_t *Block219;              // 219, 8
extern uint8_t *Block220;              // 220, 64

// ---- Row-table settings blocks bound to handle variables ----

extern MemBlock PaymentModeRows;       // 131
extern MemBlock VatCodeRows;           // 208 "vatcode"
extern MemBlock Block130Rows;          // 130 "momskod1"
extern MemBlock PrinterRows;           // 162 "printers"
extern MemBlock CurrencyRows;          // 172 "currency1"
extern MemBlock Block173Rows;          // 173
extern MemBlock ReportListRows;        // 163
extern MemBlock ObjTypeControlRows;    // 175 "objtypecontrol"
extern MemBlock FiscalYearRows;        // 149
extern MemBlock Block136Rows;          // 136
extern MemBlock Block216Rows;          // 216
extern MemBlock Block214Rows;          // 214

