// doc_types.cpp - the document types a form prints (-29..-2): each one's
// register, rows, title and providers, and the side records read before
// a print run and freed after it.
//
// Not built yet: no document type can be loaded (the user is told).
#include "core/ui_text.h"
#include "output/forms/forms.h"

// Reads what doctype prints and its title. Not built yet: tells the user
// and gives false.
bool DocLoad(int16_t doctype, uint8_t *title) {
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}

// Frees what DocLoad took. Not built yet: does nothing.
void DocUnload(int16_t doctype) {}
