// print_form_call.h - printing a document's form where the run mode says:
// here, or on the server when this program is a client.
#pragma once

#include <cstdint>

#include "rules/print_services.h"   // FormPrintsFailed, which PrintFormCall counts

// Prints record (of register reg) as document doctype: PrintForm here,
// request 26 to the server in client mode. 1 when the form printed in
// full; 0 when it did not (or the server could not be reached).
int PrintFormCall(int reg, int16_t doctype, uint8_t *record);
