// company_window.cpp - the company window (type 592) once its block is read.
//
// The company's current fiscal year is kept twice: as the years of block
// 149 and as the two dates of block 129 that this window shows. A
// company made from the demo data has the years but not the two dates,
// so the window would show two empty fields while every report proposes
// the year that holds today. The window offers that year instead; it is
// stored when the user stores the window, as anything else it shows.
#include "recordwin/record_windows.h"

#include "core/date.h"
#include "core/field_access.h"
#include "core/memblock.h"
#include "dict_offsets.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

// Fills an empty current fiscal year of company window `window` with the
// fiscal year holding today, without marking the window changed: the
// user has changed nothing. A year already set is shown as stored. The
// caller draws the window.
void CompanyWindowLoaded(int window)
{
    uint8_t *company = WinIsOpen(window) ? WinRecordBuffer(window) : nullptr;
    if (!company || MemSize(WinTable[window]->recordHandle) < CompanyBlk::YearEnd + sizeof(DateRec)) return;
    DateRec start = GetDate(company, CompanyBlk::YearStart), end = GetDate(company, CompanyBlk::YearEnd);
    if (!DateIsEmpty(&start) || !DateIsEmpty(&end)) return;
    if (!CurrentFiscalYearDates(&start, &end)) return;
    PutDate(company, CompanyBlk::YearStart, start);
    PutDate(company, CompanyBlk::YearEnd, end);
}
