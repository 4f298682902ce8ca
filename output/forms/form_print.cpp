// form_print.cpp - the form print run: passes, copies and pages of a
// document on its form definitions.
//
// Not built yet: nothing prints (the user is told).
#include "core/ui_text.h"
#include "output/forms/forms.h"

// Prints record as document doctype. Not built yet: tells the user and
// gives 0.
uint8_t PrintForm(int16_t doctype, const uint8_t *record) {
    ShowTextMessage(Texts::FunctionNotYet);
    return 0;
}

// Prints one page of the form. Not built yet: tells the user and gives
// false.
bool PrintFormPage(const uint8_t *formDef, int16_t doctype) {
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}

// Sets the rows per page from the form's word. Not built yet: does nothing.
void FormSetRowsPerPage(int16_t n) {}
