// vendor_open_items.cpp - what an approved purchase invoice and the
// payments of it leave behind: the vendor open items (register 29), the
// vendor ledger (register 32) and the vendors' period balances (register
// 31, four amounts a month: invoice totals in the invoice currency, net in
// home currency, payments in the document currency, totals in home
// currency).
//
// A store that fails is told to the user and fails the caller's hold, so
// the document that asked for it is not stored either.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/project_ops.h"
#include "operations/purchase_ledger.h"
#include "operations/sales_invoice.h"
#include "operations/statistics_slots.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

namespace PI = VIVc;
namespace OI = APVc;

// A new open item made from invoice under serial: nothing open yet.
void OpenItemStart(uint8_t *item, const uint8_t *invoice, uint32_t serial) {
    RecClear(OI::Number, item);
    uint8_t text[256];
    PutU32(item, OI::InvoiceNr, serial);
    PackedDecimal zero;
    DecSetZero(&zero);
    PutDec(item, OI::OpenAmount, zero);
    DateRec due = GetDate(invoice, PI::DueDate), disc = GetDate(invoice, PI::DiscDate);
    PutDate(item, OI::DueDate, due);
    PutDate(item, OI::DiscDate, disc.year != 0 ? disc : due);
    GetText(invoice, PI::VendCode, text);
    PutText(item, OI::VendCode, text);
    GetText(invoice, PI::VendName, text);
    PutText(item, OI::VendName, text);
    GetText(invoice, PI::VendInvNr, text);
    PutText(item, OI::VendInvNr, text);
    GetText(invoice, PI::CurncyCode, text);
    PutText(item, OI::CurncyCode, text);
}

// Adds change to the open item of serial (started from invoice when
// missing); deletes it when nothing is left open.
bool OpenItemAdd(uint32_t serial, const uint8_t *invoice, const PackedDecimal *change) {
    RuleRecord item(OI::Number);
    if (!item.record) return PurchaseStoreFailed();
    uint32_t recid = 0;
    bool existed = VendorOpenItemRead(serial, item, &recid);
    if (!existed) OpenItemStart(item.record, invoice, serial);
    PackedDecimal open = GetDec(item.record, OI::OpenAmount);
    if (DecIsBlank(&open)) DecSetZero(&open);
    DecAdd(&open, change, &open);
    PutDec(item.record, OI::OpenAmount, open);
    if (DecIsZero(&open)) {
        if (existed && !RecDeleteHooked(OI::Number, item.record, recid)) return PurchaseStoreFailed();
        return true;
    }
    if (!RecStore(OI::Number, item.record, existed ? 1 : 0, &recid)) return PurchaseStoreFailed();
    return true;
}

// The credited serial of a credit note's first row (all ones: none).
uint32_t CreditedSerial(const uint8_t *invoice) {
    uint8_t row[PI::Rows::Size];
    if (MatrixRowCount(PI::Number, 0, invoice) < 1 || !MatrixRowRead(PI::Number, invoice, 0, row)) return SerialNone;
    if (PurchaseRowKind(GetU16(row, PI::Rows::Kind)) != PurchaseRowKind::Credited) return SerialNone;
    return GetU32(row, PI::Rows::CredSerNr);
}

}  // namespace

// The invoice's total added to its open item; a credit note subtracts it
// from the credited invoice's item when it names one. Nothing for a zero
// total.
bool VendorOpenItemFromInvoice(const uint8_t *invoice) {
    assert(invoice);
    PackedDecimal total = GetDec(invoice, PI::InvAmount), change = total;
    if (DecIsZero(&total)) return true;
    uint32_t serial = GetU32(invoice, PI::SerNr);
    if (InvoiceKind(GetU16(invoice, PI::InvType)) == InvoiceKind::CreditNote) {
        DecNegateInto(&total, &change);
        uint32_t credited = GetU32(invoice, PI::CredInv);
        if (credited != SerialNone) serial = credited;
    }
    return OpenItemAdd(serial, invoice, &change);
}

// Lowers an open item by amount; see the header.
bool VendorOpenItemReduce(uint32_t serial, const uint8_t *vendorCode, const DateRec *date,
                          const PackedDecimal *amount, int noBalance) {
    assert(amount && date);
    if (DecIsZero(amount)) return true;
    PackedDecimal home = *amount;
    uint8_t vendor[256];
    vendor[0] = 0;
    if (vendorCode) PStringCopy(vendor, vendorCode);
    if (serial != SerialNone) {
        RuleRecord invoice(PI::Number);
        if (!PurchaseInvoiceRead(serial, invoice)) return false;
        PackedDecimal change, rate = RatePer100(invoice.record, PI::Rate);
        DecNegateInto(amount, &change);
        if (!OpenItemAdd(serial, invoice.record, &change)) return false;
        AmountTimesRate(amount, &rate, &home);
        GetText(invoice.record, PI::VendCode, vendor);
    }
    if (noBalance) return true;
    PackedDecimal blank;
    DecSetBlank(&blank);
    return AddVendorPeriodBalance(vendor, date, &blank, &blank, amount, &home, true);
}

// The invoice's current due and discount dates on its open item.
bool OpenItemDatesFromInvoice(const uint8_t *invoice) {
    assert(invoice);
    RuleRecord item(OI::Number);
    uint32_t recid = 0;
    if (!VendorOpenItemRead(GetU32(invoice, PI::SerNr), item, &recid)) return true;
    PutDate(item.record, OI::DueDate, GetDate(invoice, PI::DueDate));
    PutDate(item.record, OI::DiscDate, GetDate(invoice, PI::DiscDate));
    if (!RecStore(OI::Number, item.record, 1, &recid)) return PurchaseStoreFailed();
    return true;
}

// The open-item step of an approved invoice by its kind, then (store) the
// voucher built by the check and the project cost budgets.
bool PurchaseInvoiceSaveSteps(uint8_t *invoice, int store) {
    assert(invoice);
    const InvoiceKind kind = InvoiceKind(GetU16(invoice, PI::InvType));
    bool ok = true;
    if (kind == InvoiceKind::CreditNote) {
        uint32_t credited = CreditedSerial(invoice);
        PutU32(invoice, PI::CredInv, credited);
        if (credited != SerialNone) {
            uint8_t vendor[256];
            GetText(invoice, PI::VendCode, vendor);
            DateRec date = GetDate(invoice, PI::TransDate);
            PackedDecimal total = GetDec(invoice, PI::InvAmount);
            RuleRecord check(PI::Number);
            ok = PurchaseInvoiceRead(credited, check) ? VendorOpenItemReduce(credited, vendor, &date, &total, 1)
                                                      : VendorOpenItemFromInvoice(invoice);
        } else {
            ok = VendorOpenItemFromInvoice(invoice);
        }
    } else if (kind != InvoiceKind::Cash) {
        ok = VendorOpenItemFromInvoice(invoice);
    }
    if (!ok) return false;
    if (!store) return true;
    return StorePendingAndClear() && PurchaseInvoiceToCostBudget(invoice);
}

// Adds the amounts to the vendor's period balance of date's month.
bool AddVendorPeriodBalance(const uint8_t *vendorCode, const DateRec *date, const PackedDecimal *a0,
                            const PackedDecimal *a1, const PackedDecimal *a2, const PackedDecimal *a3, bool negate) {
    assert(vendorCode && date);
    if (date->year == 0) return true;
    PackedDecimal amounts[VendorStatSlot::Count];
    amounts[VendorStatSlot::Invoiced] = *a0;
    amounts[VendorStatSlot::HomeNet] = *a1;
    amounts[VendorStatSlot::PaidNegated] = *a2;
    amounts[VendorStatSlot::HomeBalance] = *a3;
    uint8_t key[VBVc::Size] = {};
    PutText(key, VBVc::VendCode, vendorCode);
    if (AddStatistics({VBVc::Number, nullptr, 1, VBVc::Amounts, VendorStatSlot::Count}, key, VBVc::Amounts, amounts,
                      MonthIndex(date), negate))
        return true;
    DbHoldFail();
    return false;
}

// The invoice's entry in the vendor ledger, replacing one of the same key.
bool VendorLedgerEntryOfInvoice(const uint8_t *invoice) {
    assert(invoice);
    uint8_t entry[VLVc::Size] = {}, vendor[256];
    GetText(invoice, PI::VendCode, vendor);
    PutText(entry, VLVc::VendCode, vendor);
    PutDate(entry, VLVc::Date, GetDate(invoice, PI::TransDate));
    PutU16(entry, VLVc::Kind, uint16_t(LedgerEntryKind::Invoice));
    uint32_t serial = GetU32(invoice, PI::SerNr), owner = serial;
    if (InvoiceKind(GetU16(invoice, PI::InvType)) == InvoiceKind::CreditNote &&
        GetU32(invoice, PI::CredInv) != SerialNone)
        owner = GetU32(invoice, PI::CredInv);
    PutU32(entry, VLVc::DocSerNr, serial);
    PutU32(entry, VLVc::InvoiceNr, owner);
    uint32_t recid = 0;
    if (RecStoreByKey(VLVc::Number, entry, 1, &recid)) return true;
    return PurchaseStoreFailed();
}

// Enters an approved invoice once in the vendor ledger and balances.
int PurchaseInvoiceToVendorLedger(uint8_t *invoice) {
    assert(invoice);
    if (GetU16(invoice, PI::Approved) != 1 || GetU16(invoice, PI::Transferred) != 0) return 0;
    PackedDecimal total = GetDec(invoice, PI::InvAmount), vat = GetDec(invoice, PI::VatEntered), net;
    if (DecIsBlank(&vat)) vat = GetDec(invoice, PI::VatComputed);
    if (DecIsBlank(&total)) DecSetZero(&total);
    if (DecIsBlank(&vat)) DecSetZero(&vat);
    DecSub(&total, &vat, &net);
    PackedDecimal rate = RatePer100(invoice, PI::Rate);
    const InvoiceKind kind = InvoiceKind(GetU16(invoice, PI::InvType));
    if (kind == InvoiceKind::CreditNote) {
        RuleRecord credited(PI::Number);
        uint32_t serial = CreditedSerial(invoice);
        if (serial != SerialNone && PurchaseInvoiceRead(serial, credited)) rate = RatePer100(credited.record, PI::Rate);
    }
    PackedDecimal netHome, totalHome, paid;
    AmountTimesRate(&net, &rate, &netHome);
    AmountTimesRate(&total, &rate, &totalHome);
    DecSetBlank(&paid);
    if (kind == InvoiceKind::Cash) DecNegateInto(&total, &paid);
    uint8_t vendor[256];
    GetText(invoice, PI::VendCode, vendor);
    DateRec date = GetDate(invoice, PI::TransDate);
    if (!AddVendorPeriodBalance(vendor, &date, &total, &netHome, &paid, &totalHome, kind == InvoiceKind::CreditNote))
        return -1;
    if (!VendorLedgerEntryOfInvoice(invoice)) return -1;
    PutU16(invoice, PI::Transferred, 1);
    return 1;
}
