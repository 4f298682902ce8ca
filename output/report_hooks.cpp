// report_hooks.cpp - the report hooks' table and the checks of its
// callers (see report_hooks.h).
#include "output/report_hooks.h"

#include "core/ui_text.h"

ReportHooksRec ReportHooks = {};

bool ReportFrameReady()
{
    return ServiceInstalled(ReportHooks.columnLayout && ReportHooks.selectionHeader);
}

bool PrintVoucherForm(int16_t doctype, const uint8_t *record)
{
    if (!ServiceInstalled(ReportHooks.voucherForm != nullptr)) return false;
    return ReportHooks.voucherForm(doctype, record);
}
