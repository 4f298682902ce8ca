// report_hooks.h - what the output layer asks of the reports above it: a
// report's column layout and selection header when its job begins, and
// the voucher a form print run prints. The reports install them at
// start-up (ReportFrameInstall, reports/frame/report_install.cpp; the
// voucher form by the ledger reports). Until then a report job that
// begins is told to the user and stopped, and a voucher form prints
// nothing and counts as not printed.
#pragma once

#include <cstdint>

#include "output/output_job.h"

struct ReportHooksRec {
    // Lays out report `report`'s columns into `stops` for a device
    // `deviceWidth` units wide.
    void (*columnLayout)(int report, PositionTable *stops, int32_t deviceWidth);
    // Writes report `report`'s selection header lines (title `title`)
    // through the page-header operations.
    void (*selectionHeader)(int report, const uint8_t *title);
    // Prints the voucher record of document type doctype; false when
    // nothing was printed.
    bool (*voucherForm)(int16_t doctype, const uint8_t *record);
};
extern ReportHooksRec ReportHooks;

// True when the report frame (column layout and selection header) is
// installed; else the user is told and false.
bool ReportFrameReady();
// Prints the voucher through the installed form; false, the user told,
// when none is installed.
bool PrintVoucherForm(int16_t doctype, const uint8_t *record);
