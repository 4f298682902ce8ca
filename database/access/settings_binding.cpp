// settings_binding.cpp - binding the settings blocks the program reads
// through globals (core/work_blocks.h) at start-up.
#include "database/access/settings_binding.h"

#include <cstring>

#include "core/field_types.h"
#include "core/format_block.h"
#include "core/interface_defs.h"
#include "core/interface_load.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"

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
    {ReportSelectionBlk::Number, &ReportListRows},
    {ObjTypeControlBlk::Number, &ObjTypeControlRows},
    {FiscalYearBlk::Number, &FiscalYearRows},
    {PeriodsBlk::Number, &Block136Rows},
    {CashBlk::Number, &Block216Rows},
    {PayMatrixBlk::Number, &Block214Rows},
};

static_assert(FormatBlk::Size >= sizeof(FormatBlock), "the format block's buffer holds a FormatBlock");

bool SettingsStartup() {
    if (InterfaceVersionLoaded != InterfaceVersion) {
        // Nothing to bind against: the loader refused the file or none was
        // loaded. Start-up must stop.
        int32_t version = (int32_t)InterfaceVersionLoaded;
        ShowMessageValue("Interface and program are not of the same version!!!", (const uint8_t *)&version,
                         FtLong);
        return false;
    }
    bool bound = true;
    for (const FixedBlockBinding &b : FixedBlockBindings) {
        *b.global = SettingsBlockBindNew(b.block, b.size, b.lazy);
        bound = bound && *b.global;
    }
    if (!bound) return false;
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
