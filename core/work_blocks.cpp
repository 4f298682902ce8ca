// work_blocks.cpp - allocating the global work records at start-up and
// binding the settings blocks the program reads through globals.
#include "core/work_blocks.h"

#include <cstring>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/file_form.h"
#include "core/format_block.h"
#include "core/interface_defs.h"
#include "core/interface_load.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"

uint8_t *ReportParams = nullptr;
uint8_t *OutputJobRecord = nullptr;
uint32_t OutputJobRecordSize = 0;
uint8_t *LoggedInUser = nullptr;
uint8_t *SessionUserInfo = nullptr;
int16_t CurrentSessionIndex = 0;
uint8_t *PendingVoucher = nullptr;
uint8_t *FormPrintWork = nullptr;

uint16_t ListWindowFlag = 0;
uint16_t ReportListBlock = 0;
uint16_t ReportRunWords[2] = {0, 0};
uint16_t CurrentModule = 0;
void (*SessionTableInitHook)() = nullptr;

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

// In the order SettingsStartup binds them.
const FixedBlockBinding FixedBlockBindings[18] = {
    {CompanyBlk::Number, CompanyBlk::Size, 0, &CompanyBlock},
    {SeriesDefaultsBlk::Number, SeriesDefaultsBlk::Size, 0, &SeriesStateBlock},
    {SalesAccountsBlk::Number, SalesAccountsBlk::Size, 1, &SalesAccountsBlock},
    {InterestBlk::Number, InterestBlk::Size, 1, &InvoiceRateBlock},
    {PurchInvEntryBlk::Number, PurchInvEntryBlk::Size, 1, &Block153},
    {PurchAccountsBlk::Number, PurchAccountsBlk::Size, 1, &VendorAccountsBlock},
    {PrintOnSaveBlk::Number, PrintOnSaveBlk::Size, 1, &PrintOnSaveBlock},
    {DownPayBlk::Number, DownPayBlk::Size, 1, &DownPaymentBlock},
    {RoundOffBlk::Number, RoundOffBlk::Size, 1, &RoundOffBlockData},
    {DateLockBlk::Number, DateLockBlk::Size, 1, &DateLockBlockData},
    {PostingBlk::Number, PostingBlk::Size, 0, &Block199},
    {FreightBlk::Number, FreightBlk::Size, 1, &Block186},
    {CostAccBlk::Number, CostAccBlk::Size, 1, &CostAccountsBlock},
    {MainStockBlk::Number, MainStockBlk::Size, 1, &MainStockBlock},
    {CreditLimitBlk::Number, CreditLimitBlk::Size, 1, &CreditLimitBlock},
    {FormatBlk::Number, FormatBlk::Size, 0, &FormatBlockData},
    {AgedBlk::Number, AgedBlk::Size, 1, &Block219},
    {ValueKindBlk::Number, ValueKindBlk::Size, 1, &Block220},
};

const HandleBlockBinding HandleBlockBindings[12] = {
    {PaymentModeBlk::Number, &PaymentModeRows},
    {VatCodeBlk::Number, &VatCodeRows},
    {VatAccountsBlk::Number, &Block130Rows},
    {PrintersBlk::Number, &PrinterRows},
    {CurrencyBlk::Number, &CurrencyRows},
    {SubLedgerAccBlk::Number, &Block173Rows},
    {ReportSpecBlk::Number, &ReportListRows},
    {ObjTypeControlBlk::Number, &ObjTypeControlRows},
    {FiscalYearBlk::Number, &FiscalYearRows},
    {PeriodsBlk::Number, &Block136Rows},
    {CashBlk::Number, &Block216Rows},
    {PayMatrixBlk::Number, &Block214Rows},
};

bool AllocWorkBlocks() {
    ListWindowFlag = 0;
    ReportListBlock = 163;
    // The register count is fixed at 133 (RegisterCount): the per-register
    // tables that the interface loader fills are sized from it.
    ReportParams = MemAllocFixed(ReportParamsSize);
    OutputJobRecord = ReportParams;
    OutputJobRecordSize = ReportParams ? ReportParamsSize : 0;
    ReportRunWords[0] = ReportRunWords[1] = 0;
    LoggedInUser = MemAllocFixed(LoggedInUserSize);
    if (LoggedInUser) PutU32(LoggedInUser, LoggedInUserAccessList, 0);
    // The business rules' initialisation hook does nothing here.
    SessionUserInfo = MemAllocFixed(SessionUserEntries * SessionUserEntrySize);
    PendingVoucher = MemAllocFixed(PendingVoucherSize);
    if (PendingVoucher) PutU32(PendingVoucher, PendingVoucherRows, 0);
    FormPrintWork = MemAllocFixed(FormPrintWorkSize);
    if (FormPrintWork) PutU32(FormPrintWork, 0, 0);
    return ReportParams && LoggedInUser && SessionUserInfo && PendingVoucher && FormPrintWork;
}

void StartupFlags() {
    ByteOrder.program = ProgramByteOrder;
    ServerRequestState.pendingText = NoPendingText;
    ServerRequestState.pendingExtra[0] = 0;
    SeedRandom();
    if (SessionTableInitHook) SessionTableInitHook();
}

bool SettingsStartup() {
    if (InterfaceVersionLoaded != InterfaceVersion) {
        // Nothing to bind against: the loader refused the file or none was
        // loaded. Start-up must stop.
        int32_t version = (int32_t)InterfaceVersionLoaded;
        ShowMessageValue("Interface and program are not of the same version!!!", (const uint8_t *)&version,
                         FtLong);
        return false;
    }
    for (const FixedBlockBinding &b : FixedBlockBindings)
        *b.global = SettingsBlockBindNew(b.block, b.size, b.lazy);
    // The format block holds the default formats until the company's own
    // block is loaded, so numbers and dates read and print sensibly
    // before a database is open.
    std::memcpy(FormatBlockData, &DefaultFormatBlock, sizeof(FormatBlock));
    FormatBlockBind(reinterpret_cast<FormatBlock *>(FormatBlockData));
    for (const HandleBlockBinding &b : HandleBlockBindings) SettingsBlockBindHandle(b.block, b.variable, 1);
    CurrentModule = 0;
    return true;
}

int SettingsBlockStoreMem(int block, MemBlock handle) {
    uint32_t size = handle ? MemSize(handle) : 0;
    uint8_t *data = handle ? MemLock(handle) : nullptr;
    static const uint8_t none[1] = {0};
    int result = SettingsBlockStore(block, data ? data : none, size);
    if (handle) MemUnlock(handle);
    return result;
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
