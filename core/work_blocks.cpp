// work_blocks.cpp - allocating the global work records at start-up, and
// the settings-block globals that the start-up binding fills.
#include "core/work_blocks.h"

#include <cstring>

#include "core/field_access.h"
#include "core/file_form.h"
#include "core/server_hooks.h"
#include "core/system.h"
#include "core/ui_text.h"

uint8_t *LoggedInUser = nullptr;
uint8_t *SessionUserInfo = nullptr;
int16_t CurrentSessionIndex = 0;
uint8_t *PendingVoucher = nullptr;
uint8_t *FormPrintWork = nullptr;

uint16_t ListWindowFlag = 0;
uint16_t ReportListBlock = 0;
uint16_t ReportRunWords[2] = {0, 0};
uint16_t CurrentModule = 0;
uint8_t UserCancelFlag = 0;
uint32_t ImportFailedSteps = 0;
ServerHooksRec ServerHooks;

uint8_t *CompanyBlock = nullptr;
uint8_t *SeriesStateBlock = nullptr;
uint8_t *SalesAccountsBlock = nullptr;
uint8_t *InvoiceRateBlock = nullptr;
uint8_t *Block153 = nullptr;
uint8_t *VendorAccountsBlock = nullptr;
uint8_t *PrintOnSaveBlock = nullptr;
uint8_t *DownPaymentBlock = nullptr;
uint8_t *RoundOffBlockData = nullptr;
uint8_t *DateLockBlockData = nullptr;
uint8_t *Block199 = nullptr;
uint8_t *Block186 = nullptr;
uint8_t *CostAccountsBlock = nullptr;
uint8_t *MainStockBlock = nullptr;
uint8_t *CreditLimitBlock = nullptr;
uint8_t *FormatBlockData = nullptr;
uint8_t *Block219 = nullptr;
uint8_t *Block220 = nullptr;

MemBlock PaymentModeRows = 0;
MemBlock VatCodeRows = 0;
MemBlock Block130Rows = 0;
MemBlock PrinterRows = 0;
MemBlock CurrencyRows = 0;
MemBlock Block173Rows = 0;
MemBlock ReportListRows = 0;
MemBlock ObjTypeControlRows = 0;
MemBlock FiscalYearRows = 0;
MemBlock Block136Rows = 0;
MemBlock Block216Rows = 0;
MemBlock Block214Rows = 0;

bool AllocWorkBlocks() {
    ListWindowFlag = 0;
    ReportListBlock = 163;
    // The register count is fixed at 133 (RegisterCount): the per-register
    // tables that the interface loader fills are sized from it.
    ReportRunWords[0] = ReportRunWords[1] = 0;
    LoggedInUser = MemAllocFixed(LoggedInUserSize);
    if (LoggedInUser) PutU32(LoggedInUser, LoggedInUserAccessList, 0);
    // The business rules' initialisation hook does nothing here.
    SessionUserInfo = MemAllocFixed(SessionUserEntries * SessionUserEntrySize);
    PendingVoucher = MemAllocFixed(PendingVoucherSize);
    if (PendingVoucher) PutU32(PendingVoucher, PendingVoucherRows, 0);
    FormPrintWork = MemAllocFixed(FormPrintWorkSize);
    if (FormPrintWork) PutU32(FormPrintWork, 0, 0);
    return LoggedInUser && SessionUserInfo && PendingVoucher && FormPrintWork;
}

void StartupFlags() {
    ByteOrder.program = ProgramByteOrder;
    ServerRequestState.pendingText = NoPendingText;
    ServerRequestState.pendingExtra[0] = 0;
    SeedRandom();
    if (ServerHooks.sessionTableInit) ServerHooks.sessionTableInit();
}

uint8_t *SessionUserEntry(int i) {
    if (!SessionUserInfo || i < 0 || i >= SessionUserEntries) return nullptr;
    return SessionUserInfo + (size_t)i * SessionUserEntrySize;
}

void CurrentUserCode(uint8_t *buffer) {
    buffer[0] = 0;
    const uint8_t *entry = SessionUserEntry(CurrentSessionIndex);
    if (!entry) return;
    const uint8_t *code = entry + SU::UserCode;
    uint8_t n = code[0] > 5 ? 5 : code[0];
    buffer[0] = n;
    std::memcpy(buffer + 1, code + 1, n);
}
