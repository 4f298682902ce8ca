// document_run_rows.cpp - the report numbers of the document runs (forms
// printed and ranges of documents approved) and the body each runs.
// The bodies live with the forms in output/forms; their rows are stated
// here because the output layer sits below the report frame and cannot
// name it.
//
// Every body here is OnGlobalParams<...>: it runs on the global job
// record with the job's record lent to it (report_run.h), because the
// forms and the approvals below the reports read the global record.
#include "output/forms/forms.h"
#include "reports/frame/report_modules.h"
#include "reports/frame/report_run.h"

namespace {

constexpr ReportRowEntry Rows[] = {
    BodyRow(-29, OnGlobalParams<PrintTimeSheetForms>),
    BodyRow(-28, OnGlobalParams<PrintProductionForms>),
    BodyRow(-24, OnGlobalParams<PrintProjectForms>),
    BodyRow(-19, OnGlobalParams<ApprovePORange>),
    ArgRow(-18, OnGlobalParamsArg<PrintInvoiceForms>, -18),
    ArgRow(-17, OnGlobalParamsArg<PrintInvoiceForms>, -17),
    ArgRow(-16, OnGlobalParamsArg<PrintInvoiceForms>, -16),
    BodyRow(-15, OnGlobalParams<ApproveOrderRange26>),
    BodyRow(-14, OnGlobalParams<ApproveQuoteRange>),
    ArgRow(-12, OnGlobalParamsArg<PrintDeliveryForms>, -12),
    ArgRow(-7, OnGlobalParamsArg<PrintDeliveryForms>, -7),
    BodyRow(-6, OnGlobalParams<ApproveOrderRange>),
    BodyRow(-4, OnGlobalParams<PrintCustomerForms>),
    BodyRow(-3, OnGlobalParams<ApproveDeliveryRange>),
    BodyRow(-2, OnGlobalParams<ApproveInvoiceRange>),
};

}  // namespace

ReportModuleRows DocumentRunRows() { return ModuleRows("documents", Rows); }
