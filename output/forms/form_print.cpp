// form_print.cpp - the form print run: passes, copies and pages of a
// document on its form definitions.
//
// One PrintForm call prints one record. Each pass lets the document type
// choose a form (DocFormSelect), reads that form definition, opens the
// print output and prints FormCopyCount copies of as many pages as the
// document's rows need. The pass ends the output; a stop (Esc, a failed
// page or device) ends the run. The print-run globals of forms.h live
// from the start of the call to its end.
#include <cassert>
#include <cstring>
#include <optional>

#include "core/field_access.h"
#include "core/file_form.h"
#include "core/format_block.h"
#include "core/memblock.h"
#include "core/output_kind.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "database/engine/engine.h"
#include "output/devices/report_output.h"
#include "output/forms/doc_def_lookup.h"
#include "output/forms/forms.h"
#include "output/output_job.h"
#include "output/output_windows.h"
#include "output/report_hooks.h"
#include "rules/ledger_print.h"

namespace {

constexpr uint8_t FormPrintable = 3;     // DocumentState of a form that may print

// Loads the page set-up the user keeps for the document type so the
// print open takes it: on a server it goes to the client with the run,
// locally the printer takes it once as a received set-up. None stored:
// the printer's own set-up holds.
void LoadDocPageSetup(int16_t doctype)
{
    MemBlock setup = 0;
    if (RemoteOutput) {
        OutPageSetupLoad(doctype, OutSessionOrderFlag(), &setup);
        if (setup) RepSendHandle(setup);
        MemFree(&setup);
        return;
    }
    OutPageSetupLoad(doctype, ByteOrder.program, &setup);
    if (!setup) return;
    MemFree(&ReceivedPageSetup);
    ReceivedPageSetup = setup;
}

}  // namespace

// Prints the copies of one pass on an opened print, each in as many
// pages as the document's rows need. True when every copy printed all
// its pages; false when a page was stopped.
bool PrintFormCopies(const uint8_t *formDef, int16_t doctype)
{
    FormPageSeq = 1;
    for (int32_t copy = 1; copy <= FormCopyCount; copy++) {   // wide: a count of 32767 must end
        FormCopyNr = int16_t(copy);
        FormFirstRow = 0;
        FormPageNr = 1;
        // Every copy prints at least its one page, also of a rowless
        // document: a second copy of it must not come out blank. The next
        // page's first row is reckoned wide, so a document near the
        // greatest row count cannot wrap it round and never end.
        for (;;) {
            assert(FormRowsPerPage >= 1);
            FormLastPage = FormFirstRow + FormRowsPerPage >= FormRowCount;
            if (!PrintFormPage(formDef, doctype)) return false;
            FormPageSeq++;
            FormPageNr++;
            int32_t next = int32_t(FormFirstRow) + FormRowsPerPage;
            if (next >= FormRowCount) break;
            FormFirstRow = int16_t(next);
        }
    }
    return true;
}

// Prints record as document doctype on the forms its passes choose.
// Returns 1 when the last pass that opened its output printed every copy
// and page; 0 when no pass opened, the open failed, or the pass was
// stopped (Esc or a failed page: a stopped print is not a printed one, so
// callers that mark a document printed do not). Doctype 25 prints the
// voucher (1 when it printed); any other positive doctype prints nothing.
uint8_t PrintForm(int16_t doctype, const uint8_t *record)
{
    // A form printed outside any run (a button of its window, an approve
    // that prints, a client's request) prints on the printer, as File >
    // Print would, from a job of its own.
    std::optional<OwnedJob> own;
    std::optional<OutputJobAttach> onPrinter;
    if (!CurrentJobRecord()) {
        own.emplace();
        PutU16(own->job.selection, ReportParamsVc::OutputKind, OutputCode(OutputKind::ToPrinter));
        onPrinter.emplace(own->job);
    }
    uint8_t result = 0;
    // A job whose client is gone stays stopped: the next document of a
    // run must not start printing again (its pages would go nowhere).
    RepStopped = RemoteOutputLost;
    FormDocRecord = record;
    ThousandsFlag = 1;
    uint8_t formDef[DocVc::Size] = {};
    if (doctype > 0) {
        if (doctype == VoucherPrintReport) result = PrintVoucherForm(doctype, record) ? 1 : 0;
    } else {
        PString title = {0};
        for (int16_t pass = 1;; pass++) {
            PString formName = {0}, printerText = {0};
            uint16_t destWord = 0;
            FormCopyCount = 1;
            RecFreeMatrix(DocVc::Number, FormDefBuffer);
            DocFormSelect(doctype, formName, printerText, &destWord, pass, FormDefBuffer);
            if (pass > 1 && formName[0] == 0) break;
            DocDefLookupFor(DocFormSelectBlock(doctype, record));
            DocDefLookup(formName, formDef);
            FormDefLoaded = DocumentState;
            if (FormDefLoaded != FormPrintable) break;   // missing or an alias: told by the lookup
            LoadDocPageSetup(doctype);
            if (pass == 1 && !DocLoad(doctype, title)) break;
            RepStopped = RemoteOutputLost;
            FormPageNr = 0;
            result = uint8_t(PrintOpenCall(doctype, destWord, title, printerText));
            if (result && !RepStopped) {
                if (!PrintFormCopies(formDef, doctype)) result = 0;
            }
            if (RepStopped) result = 0;
            RepOp30();
            OutBusyClose();
            if (!RemoteOutput) MemFree(&ReceivedPageSetup);   // a set-up no printer took
            if (RepStopped) break;
        }
    }
    DocUnload(doctype);
    ThousandsFlag = 0;
    RecFreeMatrix(DocVc::Number, formDef);
    RecFreeMatrix(DocVc::Number, FormDefBuffer);
    FormDefLoaded = 0;
    FormDocRecord = nullptr;
    return result;
}

// Prints one page of the current copy: its start with the copy's page
// text, the form's items while the run goes on and a form is loaded, its
// end. False when the items were not drawn, which ends the run's copies.
bool PrintFormPage(const uint8_t *formDef, int16_t doctype)
{
    // A database fault told on an earlier page must not stop this one.
    D4ClearAbortFlag();
    PString pageText = {0};
    CopyWordText(pageText);
    FormPageStart(pageText);
    bool drawn = false;
    if (!RepStopped && FormDefLoaded == FormPrintable) drawn = PrintFormItems(formDef, doctype) != 0;
    FormPageEnd();
    return drawn;
}

// Sets the rows per page to n when n is at least 1 (not in client mode,
// where the server runs the pages) and recomputes whether the current
// page is the document's last.
void FormSetRowsPerPage(int16_t n)
{
    if (RunModeIsClient() || n < 1) return;
    FormRowsPerPage = n;
    FormLastPage = FormFirstRow + FormRowsPerPage >= FormRowCount;
}
