// doc_field_range.cpp - the rows a field code of a document type prints
// over, page by page.
//
// Not built yet: the range is left as it is.
#include "output/forms/forms.h"

// The rows field code of doctype prints over. Not built yet: does nothing.
void DocFieldRowRange(int16_t doctype, int16_t code, int16_t *first, int16_t *last) {}
