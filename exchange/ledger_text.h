// ledger_text.h - the ledger's sections of the text exchange: vouchers
// ("trans3", "trans4", "transfix", "BFO"), the voucher drafts ("sm1") and
// the opening balances ("fb1").
#pragma once

#include <cstdint>

#include "core/report_job.h"

void ExportVouchersText(const ReportJob &job);
void WriteVoucherText(const uint8_t *voucher);
bool ReadVoucherText(uint8_t *voucher, int version);   // false: damaged
// The version ReadVoucherText reads the older "transfix" layout in.
constexpr int VoucherTextOld = 1;
void ImportVouchersText();
void ImportOldVouchersText();
void ImportBfoText();
void WriteSm1Text(const uint8_t *r);
bool ReadSm1Text(uint8_t *r);
void WriteFb1Text(const uint8_t *r);
bool ReadFb1Text(uint8_t *r);
bool StoreFb1Record(uint8_t *r);
bool StoreImportedSm1(const uint8_t *voucher);
bool ImportVoucherToSm1(const uint8_t *voucher);
extern uint32_t ImportHoldVouchers;   // vouchers per hold: 5
extern bool ImportSeriesTest;         // set by a later series reader; off here
