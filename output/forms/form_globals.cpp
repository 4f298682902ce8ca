// form_globals.cpp - the state of the form print run that the document
// types' providers and the run share (see forms.h), and its rows per page.
#include <cassert>

#include "core/decimal.h"
#include "core/ui_text.h"
#include "output/forms/forms.h"

namespace {
constexpr int16_t DefaultRowsPerPage = 20;
// The greatest rows per page a page can hold: more would make the page
// arithmetic of a 16-bit row count overflow for no document worth printing.
constexpr int32_t MaxRowsPerPage = 1000;
}  // namespace

const uint8_t *FormDocRecord;
int16_t FormFirstRow, FormRowsPerPage = DefaultRowsPerPage, FormRowCount, FormCopyCount, FormCopyNr, FormPageNr,
    FormPageSeq, FormDefLoaded, FormLabelStepX, FormLabelStepY;
bool FormLastPage;
uint8_t FormDefBuffer[DocVc::Size];
uint8_t FormCustomer[CUVc::Size];
uint8_t FormInvoice[IVVc::Size];
uint8_t FormOrder[ORVc::Size];
uint8_t FormDelivery[SHVc::Size];
uint8_t FormVendor[VEVc::Size];
bool FormDeliveryFound;
int32_t FormItemCount = 1;

// Sets FormRowsPerPage to 20, or to the number in UI text 2051 when that
// text holds one. A text that is no number, or a number below 1 or above
// MaxRowsPerPage, keeps 20: the page count divides by it, and a wrong
// interface text must not stop every form from printing.
void RowsPerPageInit() {
    uint8_t text[256];
    GetUiText(text, Texts::FormRowsPerPageText);
    int32_t n = 0;
    if (text[0] != 0 && TextToLongChecked(text, &n) && n >= 1 && n <= MaxRowsPerPage) FormRowsPerPage = (int16_t)n;
    else FormRowsPerPage = DefaultRowsPerPage;
    assert(FormRowsPerPage >= 1);
}
