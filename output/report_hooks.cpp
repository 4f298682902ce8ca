// report_hooks.cpp - the report hooks' table and the checks of its
// callers (see report_hooks.h).
#include "output/report_hooks.h"

#include "core/ui_text.h"
#include "dict_offsets.h"

ReportHooksRec ReportHooks = {};

bool ReportFrameReady()
{
    if (ReportHooks.columnLayout && ReportHooks.selectionHeader) return true;
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}

bool PrintVoucherForm(int16_t doctype, const uint8_t *record)
{
    if (!ReportHooks.voucherForm) {
        ShowTextMessage(Texts::FunctionNotYet);
        return false;
    }
    return ReportHooks.voucherForm(doctype, record);
}
