// doc_text_ops.cpp - the value operations the document providers share:
// bar-code texts, kind and terms texts in the document's language, dates,
// groups of three and padded numbers.
//
// Not built yet: each does nothing.
#include "output/forms/forms.h"

// Each of these is not built yet and does nothing.
void BracketText(const uint8_t *value, uint8_t *out) {}
void Ean13Digits(const uint8_t *value, uint8_t *out) {}
void KindText(int16_t kind, uint8_t *out) {}
void StatementKindText(int16_t kind, uint8_t *out) {}
void PaymentTermsText(const uint8_t *code, const uint8_t *language, uint8_t *out) {}
void Register23Text(const uint8_t *code, const uint8_t *language, uint8_t *out) {}
void Register123Text(const uint8_t *code, const uint8_t *language, uint8_t *out) {}
void Register44Text(const uint8_t *code, uint8_t *out) {}
void UnitTextByLanguage(const uint8_t *language, const uint8_t *unit, uint8_t *out) {}
void DueDateText(const uint8_t *invoice, uint8_t *out) {}
void DateRangeText(const uint8_t *from, const uint8_t *to, uint8_t *out) {}
void GroupByThrees(const uint8_t *text, uint8_t *out) {}
void InvoiceTextByKind(int32_t number, int16_t kind, uint8_t *out) {}
void InvoiceTextByKind2(int32_t number, int16_t kind, uint8_t *out) {}
void SplitPostalCity(const uint8_t *text, uint8_t *postal, uint8_t *town) {}
void PadNumber(const uint8_t *value, int16_t type, int16_t width, uint8_t fill, bool right, uint8_t *out) {}
