// forms.h - printing documents on form definitions: the document types
// (what each negative doctype prints, its rows and its field values) and
// the form print run (passes, copies, pages, the form's items).
//
// A print run is one PrintForm call. Its state lives in the globals
// below (form_globals.cpp): DocLoad fills the side records, the run moves
// FormFirstRow by FormRowsPerPage per page, and the value providers read
// both. Nothing here outlives the call.
//
// Texts are PStrings; amounts PackedDecimal. A form definition is a
// register-91 record (DocVc) with its items as rows; fonts are
// register-93 records (FontVc).
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/memblock.h"
#include "dict_offsets.h"
#include "operations/invoice_notice.h"
#include "operations/statement.h"
#include "output/output_job.h"
#include "rules/approval.h"

// ---- The print run's state (form_globals.cpp) ----

extern const uint8_t *FormDocRecord;   // the record being printed
extern int16_t FormFirstRow;           // first row of the current page
extern int16_t FormRowsPerPage;        // rows per page (RowsPerPageInit, the form's word)
extern int16_t FormRowCount;           // rows of the document
extern int16_t FormCopyCount;          // copies the run prints
extern int16_t FormCopyNr;             // the copy being printed, from 1
extern int16_t FormPageNr;             // the page of the copy, from 1
extern int16_t FormPageSeq;            // pages printed in the run
extern int16_t FormDefLoaded;          // 1 while FormDefBuffer holds the chosen form
extern int16_t FormLabelStepX;         // a label sheet's column pitch
extern int16_t FormLabelStepY;         // a label sheet's row pitch
extern bool FormLastPage;              // the page being printed is the document's last
extern uint8_t FormDefBuffer[DocVc::Size];
// The side records DocLoad reads for the document; empty when not found.
extern uint8_t FormCustomer[CUVc::Size];
extern uint8_t FormInvoice[IVVc::Size];
extern uint8_t FormOrder[ORVc::Size];
extern uint8_t FormDelivery[SHVc::Size];
extern uint8_t FormVendor[VEVc::Size];
// Whether DocLoad found the invoice's delivery (FormDelivery).
extern bool FormDeliveryFound;

// Sets FormRowsPerPage to 20, or to the number UI text 2051 holds when
// that text is a positive number.
void RowsPerPageInit();

// ---- Document types (doc_types.cpp, doc_field_range.cpp, doc_field_value.cpp,
// doc_form_select.cpp) ----

// One document type: the register of the record it prints (0: none), its
// rows' size (0: none), the UI text its print-job title starts with, the
// form-selection block (0: chosen by the record, see DocFormSelectBlock)
// and the byte of the record's language code (-1: none).
struct DocTypeRec {
    int16_t doctype;
    uint16_t reg;
    uint16_t rowSize;
    uint16_t title;
    uint16_t block;
};
// The entry of doctype; null for a doctype outside -29..-2 or one that
// prints no document (-9, -5).
const DocTypeRec *DocTypeOf(int16_t doctype);
// The form-selection block of doctype for the record (the invoice's kind
// and the shipment's word pick one of several); 0 when none.
uint16_t DocFormSelectBlock(int16_t doctype, const uint8_t *record);
// Reads into rec the record of reg whose key field (the text field its
// "Code" index sorts by) holds code; false, with rec cleared, when code
// is empty or no record has it. rec is only written: rows it held before
// are the caller's to free.
bool DocReadByCodeAt(int reg, size_t keyAt, int keyMax, const uint8_t *code, uint8_t *rec);
template <int N>
bool DocReadByCode(int reg, TextField<N> key, const uint8_t *code, uint8_t *rec) {
    return DocReadByCodeAt(reg, key.offset, N, code, rec);
}

// The rows field code of doctype prints over: *first..*last (unchanged
// when the code is not a row code of the doctype).
void DocFieldRowRange(int16_t doctype, int16_t code, int16_t *first, int16_t *last);
// The text a field (code, its own text, the row) of doctype prints into out.
void DocFieldValue(int16_t doctype, const uint8_t *fieldText, int16_t code, int16_t row, uint8_t *out,
                   const uint8_t *formDef);
// The value of a code every document shares (54-65, 67, 335) into out.
void SharedFieldValue(const uint8_t *param, int16_t row, int16_t code, uint8_t *out);
// True when doctype prints a label sheet: its columns and rows.
bool LabelGrid(int16_t doctype, int16_t *columns, int16_t *rows);
// Reads what doctype prints besides FormDocRecord and its title into the
// PString title; false when the document cannot be printed.
bool DocLoad(int16_t doctype, uint8_t *title);
// Frees what DocLoad took.
void DocUnload(int16_t doctype);
// Chooses the form definition of doctype for pass `pass` (into formDef),
// its name, the printer's text and destination word.
void DocFormSelect(int16_t doctype, uint8_t *formName, uint8_t *printerText, uint16_t *destWord, int16_t pass,
                   uint8_t *formDef);
// The printer definition of block 162 named name (row 0 for an empty
// name): its device and paper texts; false when none has the name.
bool PrinterDefLookup(const uint8_t *name, uint8_t *device, uint8_t *printerText);
// What a page of doctype prints before its items (the invoice's draft or
// copy mark).
void DocPagePreamble(int16_t doctype);
// The copy label of FormCopyNr from the form definition into out.
void CopyWordText(uint8_t *out);

// ---- The value operations the providers share (doc_text_ops.cpp); each
// writes a PString out ----

void BracketText(const uint8_t *value, uint8_t *out);
void Ean13Digits(const uint8_t *value, uint8_t *out);
void KindText(int16_t kind, uint8_t *out);
void StatementKindText(StatementLineKind kind, uint8_t *out);
void PaymentTermsText(const uint8_t *code, const uint8_t *language, uint8_t *out);
void Register23Text(const uint8_t *code, const uint8_t *language, uint8_t *out);
void Register123Text(const uint8_t *code, const uint8_t *language, uint8_t *out);
void Register44Text(const uint8_t *code, uint8_t *out);
void UnitTextByLanguage(const uint8_t *language, const uint8_t *unit, uint8_t *out);
void DueDateText(const uint8_t *invoice, uint8_t *out);
void DateRangeText(const uint8_t *from, const uint8_t *to, uint8_t *out);
void GroupByThrees(const uint8_t *text, uint8_t *out);
void InvoiceText290(int32_t number, uint8_t *out);
void SplitPostalCity(const uint8_t *text, uint8_t *postal, uint8_t *town);
void PadNumber(const uint8_t *value, int16_t type, int16_t width, uint8_t fill, bool right, uint8_t *out);

// ---- Lookups and check digits of the documents (doc_lookups.cpp,
// check_digits.cpp) ----

// The name of the object (register 15) whose code is the first of the
// comma-separated list codes; empty when missing.
void Register15Name(const uint8_t *codes, uint8_t *out);
// The name of the order class (register 128) of code; empty when missing.
void Register128Name(const uint8_t *code, uint8_t *out);
// The Luhn check digit of the nine digits of text; -1 unless the text
// holds exactly nine digits.
int16_t CheckDigitMod10(const uint8_t *text);
// "929", the order number and its check digit in groups of three; empty
// for no order (-1) or a number that does not make nine digits.
void OrderReference(int32_t order, uint8_t *out);

// ---- The sales invoice's values (invoice_values.cpp, invoice_totals.cpp,
// invoice_extras.cpp) ----

// The VAT summary of the invoice being printed: sums per VAT code.
extern MemBlock InvoiceVatSums;
// Builds the side rows and the VAT summary of the invoice (DocLoad).
void InvoiceRowExtras(const uint8_t *invoice);
// A row with neither an item nor an amount (a heading or a blank line
// between item rows): it prints its text only and adds nothing to the
// VAT summary.
bool InvoiceRowIsBare(const uint8_t *row);
// Frees them (DocUnload).
void InvoiceExtrasFree();
// Whether the VAT summary's slot is the line whose VAT today's table no
// longer gives: its rate and VAT then as the invoice's own VAT makes them.
bool InvoiceVatLineHeld(int32_t slot, PackedDecimal *rate, PackedDecimal *vat);
// The side row (InvoiceSideRow) of invoice row `row`; null outside them.
const uint8_t *InvoiceSideRowOf(int32_t row);
int32_t InvoiceSideRowCount();
// The value of the invoice's field code for row into out; param is the
// field's parameter text.
void InvoiceFieldValue(const uint8_t *invoice, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);
// The field code of the VAT summary's headings, a code of this program's
// own beside the summary's 32-36: its text prints over a summary that has
// a line, and nothing over an invoice without VAT.
constexpr int16_t VatSummaryHeadingCode = 351;
// The last page's codes (totals, VAT summary, bar code) into out.
void InvoiceTotalsValue(const uint8_t *invoice, const uint8_t *param, int16_t code, int16_t row, uint8_t *out);
// The payment bar code of the invoice paid to account, as bar-code font
// characters; empty when it cannot be made right.
void InvoicePaymentBarcode(const uint8_t *invoice, const uint8_t *account, uint8_t *out);
// Whether the sales invoice asks its customer to pay: not a cash invoice
// (paid when it was made), not a credit note (paid to the customer), and
// a total above zero.
bool InvoiceAsksPayment(const uint8_t *invoice);
// The field codes that tell a customer where and how to pay: the
// company's bank account and bank giro and the two payment bar codes.
bool PaymentFieldCode(int16_t code);

// ---- The customer statement's values (statement_values.cpp) ----

// The value of the statement's (a StatementRec's) field code for row.
void StatementFieldValue(const uint8_t *statement, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);
// Line 0..2 of the reminder texts of level 1..3; empty otherwise.
void ReminderLevelText(int32_t level, int16_t line, uint8_t *out);

// ---- The payment document (payment_document.cpp) ----

// The outgoing payment whose documents print (null otherwise).
extern const uint8_t *FormPayment;
// The bank of the document's vendor text (its first five characters).
void PaymentDocBank(uint8_t *document);
// Prints a payment document per vendor of the payment; 1 when all printed.
uint8_t PaymentDocPrint(const uint8_t *payment);
// The rows of the payment document being printed.
int32_t PaymentDocRowCount();
// The value of the payment document's field code for row (from 1).
void PaymentDocFieldValue(const uint8_t *document, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);

// ---- Stock, purchase, label and reminder documents
// (stock_purchase_values.cpp) ----

// What a purchase label (-23) prints from: the purchase and the row of
// it the label is for.
struct PurchaseLabelRec {
    const uint8_t *purchase;
    int32_t row;
};
// How many item records an item-label run (-21) hands in its array; the
// labels print the first unless the sheet asks for one item a label.
extern int32_t FormItemCount;
// Reads the stock movement's two locations for its print (DocLoad).
void StockMoveLoad(const uint8_t *move);
void StockMoveFieldValue(const uint8_t *move, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);
void PurchaseDocFieldValue(const uint8_t *purchase, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);
void PurchaseLabelFieldValue(const uint8_t *label, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);
void ItemLabelFieldValue(const uint8_t *items, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);
void ReminderFieldValue(const uint8_t *open, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);
// The invoice's reminder level (its notice count; -1 and -2 count as 0).
int32_t InvoiceReminderLevel(const uint8_t *invoice);
// Whether the item has a default-choice record (register 56, into rec).
bool DefaultChoiceExists(const uint8_t *itemCode, uint8_t *rec);
// True when it has one and its vendor exists (into vendor).
bool FindDefaultChoice(const uint8_t *itemCode, uint8_t *vendor);

// ---- The order documents' side rows (order_item_table.cpp) ----

// Builds the side rows (OrderSideRow) of the order (DocLoad of -6, -15).
void OrderRowItemTable(const uint8_t *order);
// Frees them (DocUnload).
void OrderRowItemTableFree();
// The side row of order row `row`; null outside them.
const uint8_t *OrderSideRowOf(int32_t row);

// ---- What the document providers share (doc_value_parts.cpp) ----

// The field at `at` of base formatted by its field type into out.
void DocTyped(const uint8_t *base, size_t at, uint16_t type, uint8_t *out);
// The amount at `at` of side row side; blank when the row has no side
// row (side null).
PackedDecimal DocSideAmount(const uint8_t *side, size_t at);
// An amount formatted by a field type into out.
void DocDecText(const PackedDecimal &value, uint16_t type, uint8_t *out);
// Address line `row` (1..4) of the four 62-byte lines from byte at;
// empty for other rows.
void DocAddressRow(const uint8_t *base, size_t at, int16_t row, uint8_t *out);
// The text field `field` of rec, or the text field `other` of alt when
// that is empty; each read with its own length.
template <int N, int M>
void DocTextOr(const uint8_t *rec, TextField<N> field, const uint8_t *alt, TextField<M> other, uint8_t *out) {
    GetText(rec, field, out);
    if (out[0] == 0) GetText(alt, other, out);
}
// The negated discount percentage (3 decimals) followed by "%"; empty
// for a blank discount.
void DocNegatedPercent(const PackedDecimal &discount, uint8_t *out);
// The price unit (blank or zero means 1) as a quantity.
void DocPriceUnitText(const PackedDecimal &unit, uint8_t *out);
// The price per price unit (the price itself when the unit is blank).
void DocPricePerUnitText(const PackedDecimal &price, const PackedDecimal &unit, uint8_t *out);
// The first amount of the interest block (134) as an amount; empty
// without the block.
void DocInterestRateText(uint8_t *out);
// Reads row `row` of the record of reg into out when it lies in
// 0 .. FormRowCount - 1; false otherwise.
bool DocRowRead(int reg, const uint8_t *record, int16_t row, uint8_t *out);
// a x b.
PackedDecimal DocTimes(const PackedDecimal &a, const PackedDecimal &b);

// ---- The delivery, quotation and order documents' side rows
// (doc_load_documents.cpp) ----

// Makes FormDelivery the print copy of the delivery (its rows with item
// structures expanded for doctype), reads its customer and order and
// builds the copy's side rows; false when the copy cannot be made.
bool DeliveryPrintLoad(int16_t doctype, const uint8_t *delivery);
// Builds the side rows (DeliverySideRow) of the rows of the print copy
// from each row's item, in language.
void DeliveryRowExtras(const uint8_t *copy, const uint8_t *language);
// The side-row columns a delivery's or an order's row takes from its item,
// in the delivery's side-row layout (an order's side row begins with the
// same columns): the item's vendor code, step amounts and those amounts
// times qty, text, location, unit in language and cost price. The blank
// form puts blank amounts in, for a row whose item is missing.
void ItemSideColumns(uint8_t *side, const uint8_t *item, const PackedDecimal &qty, const uint8_t *language);
void ItemSideColumnsBlank(uint8_t *side);
// The side row of print-copy row `row`; null outside them.
const uint8_t *DeliverySideRowOf(int32_t row);
int32_t DeliverySideRowCount();
// Builds the quotation's side rows (QuoteSideRow) from each row's item.
void QuoteRowExtras(const uint8_t *quote);
// The side row of quotation row `row`; null outside them.
const uint8_t *QuoteSideRowOf(int32_t row);
int32_t QuoteSideRowCount();
// Frees the delivery and quotation side rows (DocUnload).
void DocumentExtrasFree();
// FormVendor: the vendor of the default choice of the order's first
// row's item; empty when there is none.
void OrderVendorLoad(const uint8_t *order);

// ---- Order, quotation, purchase-order and delivery values
// (order_values.cpp, quote_values.cpp, delivery_values.cpp; the codes
// orders and quotations share: sales_doc_values.h) ----

void OrderFieldValue(const uint8_t *order, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);
void QuoteFieldValue(const uint8_t *quote, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);
void PurchaseOrderFieldValue(const uint8_t *po, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);
// The delivery's values read the print copy (FormDelivery); the record
// handed in is the stored delivery.
void DeliveryFieldValue(const uint8_t *delivery, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);

// ---- Time sheet, production, project, asset and customer documents
// (register_doc_values.cpp) ----

void TimeSheetFieldValue(const uint8_t *sheet, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);
void ProductionFieldValue(const uint8_t *prod, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);
void ProjectFieldValue(const uint8_t *project, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);
// The asset and customer label documents print from an array of
// FormItemCount records; the row picks the record, a row beyond them
// prints empty.
void AssetFieldValue(const uint8_t *assets, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);
void CustomerFieldValue26(const uint8_t *customer, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);
void CustomerFieldValue13(const uint8_t *customers, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);

// ---- The document batch runs (document_runs.cpp) ----
// Each walks the range of document numbers (project codes) in the
// job's first selection text and prints or approves each document;
// the approve runs tell how many documents were refused.

void PrintTimeSheetForms(ReportJob &job);               // -29
void PrintProductionForms(ReportJob &job);              // -28
void PrintProjectForms(ReportJob &job);                 // -24
void ApprovePORange(ReportJob &job);                    // -19, approve kind 33
void PrintInvoiceForms(ReportJob &job, int doctype);    // -18, -17, -16
void ApproveOrderRange26(ReportJob &job);               // -15, approve kind 26
void ApproveQuoteRange(ReportJob &job);                 // -14, approve kind 25
void PrintDeliveryForms(ReportJob &job, int doctype);   // -12, -7
void ApproveOrderRange(ReportJob &job);                 // -6, approve kind 13
void PrintCustomerForms(ReportJob &job);                // -4, the payment reminders
void ApproveDeliveryRange(ReportJob &job);              // -3, approve kind 14
void ApproveInvoiceRange(ReportJob &job);               // -2, approve kind 11 or 17

// ---- The form print run (form_print.cpp, form_items.cpp) ----

// Prints record as document doctype on its form definitions; 1 when the
// last pass printed all its copies and pages, else 0 (or the print
// open's result).
uint8_t PrintForm(int16_t doctype, const uint8_t *record);
// Prints the copies of one pass on an opened print (FormCopyCount copies,
// each of its pages, at least one); false when a page was stopped.
bool PrintFormCopies(const uint8_t *formDef, int16_t doctype);
// Prints one page of the form; false when the run must stop.
bool PrintFormPage(const uint8_t *formDef, int16_t doctype);
// Prints the form's items on the current page; 0 when the run must stop.
uint8_t PrintFormItems(const uint8_t *formDef, int16_t doctype);
// Prints one data field in rect (top, left, bottom, right) with font,
// pitch and alignment.
void PrintFormField(int16_t doctype, const uint8_t *fieldText, int16_t code, const PackedDecimal rect[4],
                    const uint8_t *font, int16_t pitch, int16_t align);
// Sets FormRowsPerPage from the form definition's word when it gives one.
void FormSetRowsPerPage(int16_t n);
// The font record (register 93) named name into out, else the first, else
// the defaults.
void FontRecordLoad(uint8_t *out, const uint8_t *name);

