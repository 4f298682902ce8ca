// document_list_columns.cpp - the kind and amount columns of the customer
// transactions list (type 115) and of the sales-invoice list (type 348):
// a document's kind in words and its amount with the sign it moves the
// customer's balance by, as the customer statement prints them. A credit
// note shows "Credit note" and -784,00 beside its invoice's 784,00, and a
// receipt its minus too, so the rows of a customer add up to what the
// customer owes.
//
// Only the shown text turns: a credit note's stored total and the ledger
// entries' amounts stay as they are, the kind telling that they lower
// what is owed (the ledger reports read them so). The columns are list
// columns of type lookup whose offset names the field they are made from.
#include "recordwin/inquiry_lists.h"

#include "core/decimal.h"
#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/ui_text.h"
#include "core/window_entries.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "rules/invoice_kind.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"

namespace {

// The words of a receipt's entry (dict/win_inquiry_lists.dict).
constexpr int ReceiptWords = 19610;

// The kind of the stored sales invoice numbered serial; 0 when there is
// none (it then shows as an ordinary invoice).
uint16_t StoredInvoiceKind(uint32_t serial)
{
    RuleRecord invoice(IVVc::Number);
    if (!invoice.record) return 0;
    PutU32(invoice.record, IVVc::SerNr, serial);
    uint32_t recid = 0, position = 0;
    bool found = RecFind(IVVc::Number, invoice.record, 1, 1, &recid, &position) &&
                 GetU32(invoice.record, IVVc::SerNr) == serial;
    return found ? GetU16(invoice.record, IVVc::InvType) : 0;
}

// The amount at `at` of record, negated for a document that lowers what
// is owed, as an amount column shows it; empty for a blank amount.
void SignedAmountText(const uint8_t *record, uint32_t at, bool credit, uint8_t *text)
{
    PackedDecimal amount = GetDec(record, at);
    text[0] = 0;
    if (DecIsBlank(&amount)) return;
    if (credit) DecNegateInto(&amount, &amount);
    uint8_t value[sizeof(PackedDecimal)];
    PutDec(value, 0, amount);
    FieldFormat(value, uint16_t(FtAmount2), 0, text);
}

// The offset list column `column` of window type windowType is made from;
// false when it is no lookup column.
bool LookupColumnOffset(int windowType, int column, uint32_t *at)
{
    uint8_t *def = WinTypeDef(windowType);
    uint16_t size = 0;
    const uint8_t *e = def ? WinDefPartEntry(def, WinPartFieldList, column, &size) : nullptr;
    if (!e || size < ListColEntry::Offset + 4 || DefU16(e + ListColEntry::Type) != FtSpare28) return false;
    *at = DefU32(e + ListColEntry::Offset);
    return true;
}

// A customer-ledger entry: a receipt, which lowers what the customer owes,
// with its minus; an invoice entry by the kind of the invoice it came from.
void CustTransText(uint32_t at, const uint8_t *entry, uint8_t *text)
{
    const LedgerEntryKind kind = LedgerEntryKind(GetU16(entry, CustTransVc::Kind));
    const InvoiceKind invoiceKind =
        InvoiceKind(kind == LedgerEntryKind::Invoice ? StoredInvoiceKind(GetU32(entry, CustTransVc::DocNr)) : 0);
    if (at == CustTransVc::Kind) {
        if (kind == LedgerEntryKind::Payment) GetUiText(text, ReceiptWords);
        else if (kind == LedgerEntryKind::Invoice) InvoiceKindWords(uint16_t(invoiceKind), text);
    } else if (at == CustTransVc::Amount) {
        const bool lowers = kind == LedgerEntryKind::Payment || invoiceKind == InvoiceKind::CreditNote;
        SignedAmountText(entry, CustTransVc::Amount, lowers, text);
    }
}

// A sales invoice of the invoice list.
void InvoiceListText(uint32_t at, const uint8_t *invoice, uint8_t *text)
{
    const InvoiceKind kind = InvoiceKind(GetU16(invoice, IVVc::InvType));
    if (at == IVVc::InvType) InvoiceKindWords(uint16_t(kind), text);
    else if (at == IVVc::Total) SignedAmountText(invoice, IVVc::Total, kind == InvoiceKind::CreditNote, text);
}

}  // namespace

void InvoiceKindWords(uint16_t kind, uint8_t *text)
{
    GetUiText(text, InvoiceKind(kind) == InvoiceKind::CreditNote ? Texts::StatementCreditNote
                    : InvoiceKind(kind) == InvoiceKind::Cash     ? Texts::StatementCashInvoice
                                                                 : Texts::StatementInvoice);
}

bool DocumentListColumnText(int windowType, int column, const uint8_t *record, uint8_t *text)
{
    text[0] = 0;
    uint32_t at = 0;
    if (!record) return false;
    if (windowType == WinTypes::CustTransList) {
        if (LookupColumnOffset(windowType, column, &at)) CustTransText(at, record, text);
        return true;
    }
    if (windowType == WinTypes::SalesInvoiceList) {
        if (LookupColumnOffset(windowType, column, &at)) InvoiceListText(at, record, text);
        return true;
    }
    return false;
}
