// print_form_call.cpp - a document form printed here or by the server.
//
// A client has no form values of its own (they are the server's records),
// so it sends the record and lets the server print; the server's answer
// says whether the print came out.
#include "output/forms/print_form_call.h"

#include <cassert>

#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "output/forms/forms.h"

// PrintForm, or request 26 in client mode; a lost connection counts as
// not printed. What did not print is counted in FormPrintsFailed.
int PrintFormCall(int reg, int16_t doctype, uint8_t *record) {
    assert(record);
    int result = 0;
    if (RunModeIsClient()) result = PrintFormRemote(reg, doctype, record) == 1 ? 1 : 0;
    else result = PrintForm(doctype, record) == 1 ? 1 : 0;
    if (!result) FormPrintsFailed++;
    return result;
}
