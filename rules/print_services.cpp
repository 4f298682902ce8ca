// print_services.cpp - the business layer's prints, through what the
// output layer installed.
#include "rules/print_services.h"

#include <cassert>

#include "core/ui_text.h"

PrintServicesRec PrintServices;
uint32_t FormPrintsFailed = 0;

int PrintDocumentForm(int reg, int16_t doctype, uint8_t *record)
{
    assert(record);
    if (!ServiceInstalled(PrintServices.form != nullptr)) {
        FormPrintsFailed++;
        return 0;
    }
    return PrintServices.form(reg, doctype, record);
}

uint8_t PrintCustomerForm(int16_t doctype, const uint8_t *customer, const uint8_t *record)
{
    assert(customer && record);
    if (!ServiceInstalled(PrintServices.customerForm != nullptr)) return 0;
    return PrintServices.customerForm(doctype, customer, record);
}

uint8_t PrintPaymentDocuments(const uint8_t *payment)
{
    assert(payment);
    if (!ServiceInstalled(PrintServices.paymentDocuments != nullptr)) return 0;
    return PrintServices.paymentDocuments(payment);
}

bool RunRecordReport(ReportJob &job)
{
    if (!ServiceInstalled(PrintServices.report != nullptr)) return false;
    return PrintServices.report(job);
}

// ---- report lines ----

bool ReportLinesReady()
{
    const PrintServicesRec &s = PrintServices;
    return ServiceInstalled(s.beginJob && s.startLine && s.textNr && s.text && s.value && s.rule && s.endLine &&
                     s.endJob && s.pollStop);
}

void ReportBeginJob(int title)
{
    if (PrintServices.beginJob) PrintServices.beginJob(title);
}

void ReportStartLine(int height)
{
    if (PrintServices.startLine) PrintServices.startLine(height);
}

void ReportTextNr(int x, int text, int align)
{
    if (PrintServices.textNr) PrintServices.textNr(x, text, align);
}

void ReportText(int x, const uint8_t *text)
{
    if (PrintServices.text) PrintServices.text(x, text);
}

void ReportValue(int x, const uint8_t *value, int type, int align)
{
    if (PrintServices.value) PrintServices.value(x, value, type, align);
}

void ReportRule(int end, int thickness)
{
    if (PrintServices.rule) PrintServices.rule(end, thickness);
}

void ReportEndLine()
{
    if (PrintServices.endLine) PrintServices.endLine();
}

void ReportEndJob()
{
    if (PrintServices.endJob) PrintServices.endJob();
}

bool ReportPollStop() { return PrintServices.pollStop && PrintServices.pollStop(); }

// ---- choice lists ----

bool ChoiceListReady() { return ServiceInstalled(PrintServices.listLine != nullptr); }

bool ChoiceListAddLine(MsgBuffer *reply, const uint8_t *text)
{
    assert(text);
    return PrintServices.listLine && PrintServices.listLine(reply, text);
}
