// print_services.h - what the business layer prints: document forms,
// payment documents, a report run from a record, the lines of a report the
// operations write themselves, and the lines of a choice list.
//
// Printing is the output layer's; the rules and operations run on a
// server and in batch routines too, so they reach it only through this
// table, which the output layer fills at start-up. Until it is filled a
// print asked for tells the user that it is not available and reports
// that nothing printed, so that no caller marks a document printed or
// counts a run as done.
#pragma once

#include <cstdint>

#include "core/msg_buffer.h"
#include "core/report_job.h"

struct PrintServicesRec {
    // Prints record (of register reg) as document doctype, here or on
    // the server when this program is a client; 1 when it printed in full.
    int (*form)(int reg, int16_t doctype, uint8_t *record);
    // Prints record as document doctype here with customer (a register
    // of customers record) as the form's customer; 1 when printed in full.
    uint8_t (*customerForm)(int16_t doctype, const uint8_t *customer, const uint8_t *record);
    // Prints the payment documents of an outgoing payment; 1 when every
    // one printed.
    uint8_t (*paymentDocuments)(const uint8_t *payment);
    // Runs the report the job selects on its device; false when it did
    // not run (the run told why).
    bool (*report)(ReportJob &job);

    // The lines of a report job. Texts are PStrings; x is a report
    // position on a 480-unit line; align non-zero puts the right edge at x.
    void (*beginJob)(int title);                       // opens the job with interface text `title`
    void (*startLine)(int height);
    void (*textNr)(int x, int text, int align);         // an interface text by number
    void (*text)(int x, const uint8_t *text);           // in the device's report font
    void (*value)(int x, const uint8_t *value, int type, int align);   // formatted by field type
    void (*rule)(int end, int thickness);               // across the page
    void (*endLine)();
    void (*endJob)();
    bool (*pollStop)();   // lets Esc reach the job; true when the job was cancelled or failed

    // Adds a line (a PString) to the current choice list, or at a server
    // into reply; false when there is no list to take it.
    bool (*listLine)(MsgBuffer *reply, const uint8_t *text);
};
extern PrintServicesRec PrintServices;

// How many document prints did not come out in full since the start,
// asked for here or by the output layer's own runs. A run over documents
// whose printing kind marks nothing in the record compares it before and
// after each document to count what did not print.
extern uint32_t FormPrintsFailed;

// Prints record as document doctype (PrintServices.form); 0 and counted
// in FormPrintsFailed when it did not print, the user told when no
// printing is installed.
int PrintDocumentForm(int reg, int16_t doctype, uint8_t *record);
// Prints record as document doctype for customer; 0 (the user told) when
// no printing is installed.
uint8_t PrintCustomerForm(int16_t doctype, const uint8_t *customer, const uint8_t *record);
// Prints a payment's documents; 0 (the user told) when no printing is
// installed.
uint8_t PrintPaymentDocuments(const uint8_t *payment);
// Runs the report of the job; false (the user told) when no report run
// is installed.
bool RunRecordReport(ReportJob &job);

// True when the report line writers are installed; false, the user told,
// when not. A job that writes lines asks once before it begins; the line
// writers below then write, and without an installer do nothing.
bool ReportLinesReady();
void ReportBeginJob(int title);
void ReportStartLine(int height);
void ReportTextNr(int x, int text, int align);
void ReportText(int x, const uint8_t *text);
void ReportValue(int x, const uint8_t *value, int type, int align);
void ReportRule(int end, int thickness);
void ReportEndLine();
void ReportEndJob();
// Lets Esc reach the running job (and UserCancelFlag); true when the job
// was cancelled or failed. Without an installer nothing is polled: false.
bool ReportPollStop();

// True when a choice list can take lines; false, the user told, when not.
bool ChoiceListReady();
// Adds a line to the current choice list (PrintServices.listLine); false
// when it was not added.
bool ChoiceListAddLine(MsgBuffer *reply, const uint8_t *text);
