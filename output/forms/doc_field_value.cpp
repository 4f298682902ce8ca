// doc_field_value.cpp - the text a form's field prints: the document
// type's provider, the codes every document shares, label sheets, the
// page preamble and the copy label.
//
// Not built yet: each does nothing; LabelGrid refuses (the user is told).
#include "core/ui_text.h"
#include "output/forms/forms.h"

// The text a field of doctype prints. Not built yet: does nothing.
void DocFieldValue(int16_t doctype, const uint8_t *fieldText, int16_t code, int16_t row, uint8_t *out,
                   const uint8_t *formDef) {}

// The value of a shared code. Not built yet: does nothing.
void SharedFieldValue(const uint8_t *param, int16_t row, int16_t code, uint8_t *out) {}

// A label sheet's columns and rows. Not built yet: tells the user and
// gives false.
bool LabelGrid(int16_t doctype, int16_t *columns, int16_t *rows) {
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}

// What a page prints before its items. Not built yet: does nothing.
void DocPagePreamble(int16_t doctype) {}

// The copy label of the copy being printed. Not built yet: does nothing.
void CopyWordText(uint8_t *out) {}
