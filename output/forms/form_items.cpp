// form_items.cpp - the items of a form definition on one page: texts,
// lines, boxes, pictures and data fields with their fonts.
//
// Not built yet: no item prints (the user is told).
#include "core/ui_text.h"
#include "output/forms/forms.h"

// Prints the form's items. Not built yet: tells the user and gives 0.
uint8_t PrintFormItems(const uint8_t *formDef, int16_t doctype) {
    ShowTextMessage(Texts::FunctionNotYet);
    return 0;
}

// Prints one data field. Not built yet: does nothing.
void PrintFormField(int16_t doctype, const uint8_t *fieldText, int16_t code, const PackedDecimal rect[4],
                    const uint8_t *font, int16_t pitch, int16_t align) {}

// The font record named name. Not built yet: does nothing.
void FontRecordLoad(uint8_t *out, const uint8_t *name) {}
