// posting_follow_ups.cpp - what follows when a sales invoice is posted or
// a delivery shipped, wherever that happens: in its window (the register
// hooks of the update or insert that posts or ships it) or by approve
// kinds 1 and 15 from a list, a batch routine or a document run.
//
// Both roads call these routines once the posted or shipped record is
// stored, so a list's "Post marked" enters and prints what posting in the
// window enters and prints.
#include "operations/posting_follow_ups.h"

#include "core/field_access.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "rules/approval.h"
#include "rules/rules_types.h"

namespace {

// Block 170's word at `at`; 0 while the block is not bound.
uint16_t PrintOnSaveWord(uint32_t at)
{
    const uint8_t *block = SettingsRecord(PrintOnSaveBlk::Number, PrintOnSaveBlock);
    return block ? GetU16(block, at) : 0;
}

}  // namespace

// The stored invoice recid was just posted: it goes into the customer
// ledger unless it is there (posting itself enters it, so this is
// mostly nothing), then it prints when block 170 asks for invoices on
// posting and printing is allowed (an import posts without a print-out).
// false when a store failed; the caller's hold then fails.
bool InvoicePostedFollowUps(uint32_t recid, bool printAllowed)
{
    if (!ApproveRecord(ApproveKindInvoiceToLedger, IVVc::Number, recid)) return false;
    if (!printAllowed || PrintOnSaveWord(PrintOnSaveBlk::InvoiceForm) != 1) return true;
    return ApproveRecord(ApproveKindPrintInvoice, IVVc::Number, recid);
}

// The stored delivery recid was just shipped: it prints when block 170
// asks for deliveries on shipping and printing is allowed. false when a
// store failed.
bool DeliveryShippedFollowUps(uint32_t recid, bool printAllowed)
{
    if (!printAllowed || PrintOnSaveWord(PrintOnSaveBlk::DeliveryForm) != 1) return true;
    return ApproveRecord(ApproveKindPrintDelivery, SHVc::Number, recid);
}
