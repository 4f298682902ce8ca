// doc_form_select.cpp - the form definition a document prints on, chosen
// by document type, language and pass, and the printer it names.
//
// Not built yet: no printer definition is found (the user is told).
#include "core/ui_text.h"
#include "output/forms/forms.h"

// Chooses the form definition of doctype for a pass. Not built yet: does
// nothing.
void DocFormSelect(int16_t doctype, uint8_t *formName, uint8_t *printerText, uint16_t *destWord, int16_t pass,
                   uint8_t *formDef) {}

// The printer definition named name. Not built yet: tells the user and
// gives false.
bool PrinterDefLookup(const uint8_t *name, uint8_t *device, uint8_t *printerText) {
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}
