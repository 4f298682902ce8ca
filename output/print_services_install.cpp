// print_services_install.cpp - the output layer's forms, report lines and
// choice-list lines put into the business layer's print table.
#include "output/print_services_install.h"

#include <cstring>

#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/forms/forms.h"
#include "output/forms/print_form_call.h"
#include "output/output_job.h"
#include "rules/print_services.h"

namespace {

// The form's customer is the one given, not the one the document names.
uint8_t CustomerForm(int16_t doctype, const uint8_t *customer, const uint8_t *record)
{
    std::memcpy(FormCustomer, customer, CUVc::Size);
    return PrintForm(doctype, record);
}

void TextNr(int x, int text, int align) { RepTextNr(x, 0, text, align); }
void Text(int x, const uint8_t *text) { RepTextEx(x, -1, 0, 0, 0, text); }
void Value(int x, const uint8_t *value, int type, int align) { RepValue(x, 0, value, type, align); }
// A report run from a record by the business layer, on its own job.
bool ReportOfJob(ReportJob &job) { return job.selection && RunReportCommand(job); }

bool PollStop()
{
    RepPollStop();
    return RepStopped != 0;
}

}  // namespace

void PrintServicesInstall()
{
    PrintServices = PrintServicesRec{
        .form = PrintFormCall,
        .customerForm = CustomerForm,
        .paymentDocuments = PaymentDocPrint,
        .report = ReportOfJob,
        .beginJob = RepBeginJobNr,
        .startLine = RepStartLine,
        .textNr = TextNr,
        .text = Text,
        .value = Value,
        .rule = RepRuleFull,
        .endLine = RepEndLine,
        .endJob = RepEndJob,
        .pollStop = PollStop,
        .listLine = RepListAddLine,
    };
}
