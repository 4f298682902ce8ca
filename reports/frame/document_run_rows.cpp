// document_run_rows.cpp - the report numbers of the document runs (forms
// printed and ranges of documents approved) and the body each runs.
// The bodies live with the forms in output/forms; their rows are stated
// here because the output layer sits below the report frame and cannot
// name it.
#include "output/forms/forms.h"
#include "reports/frame/report_modules.h"
#include "reports/frame/report_run.h"

namespace {

constexpr ReportRowEntry Rows[] = {
    BodyRow(-29, PrintTimeSheetForms),
    BodyRow(-28, PrintProductionForms),
    BodyRow(-24, PrintProjectForms),
    BodyRow(-19, ApprovePORange),
    ArgRow(-18, PrintInvoiceForms, -18),
    ArgRow(-17, PrintInvoiceForms, -17),
    ArgRow(-16, PrintInvoiceForms, -16),
    BodyRow(-15, ApproveOrderRange26),
    BodyRow(-14, ApproveQuoteRange),
    ArgRow(-12, PrintDeliveryForms, -12),
    ArgRow(-7, PrintDeliveryForms, -7),
    BodyRow(-6, ApproveOrderRange),
    BodyRow(-4, PrintCustomerForms),
    BodyRow(-3, ApproveDeliveryRange),
    BodyRow(-2, ApproveInvoiceRange),
};

}  // namespace

ReportModuleRows DocumentRunRows() { return ModuleRows("documents", Rows); }
