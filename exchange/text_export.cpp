// text_export.cpp - the text export's run: the whole database, the
// vouchers, the groups of settings, the customer list and the records of
// a number range, by export kind, on the text-file device.
#include <cstring>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/settings_blocks.h"
#include "database/access/transport.h"
#include "dict_offsets.h"
#include "exchange/balance_sections.h"
#include "exchange/bank_file.h"
#include "exchange/contract_export.h"
#include "exchange/result_balance_export.h"
#include "exchange/run_outcome.h"
#include "exchange/section_table.h"
#include "exchange/selective_exports.h"
#include "exchange/sie.h"
#include "exchange/exchange.h"
#include "exchange/text_exchange.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "rules/ledger.h"
#include "exchange/ledger_text.h"
#include "shell/shell.h"
#include "shell/text_file_dialogs.h"

namespace {

// The last export kind that has a meaning; above it nothing is written.
constexpr int LastExportKind = 33;

// A kind whose writer belongs to a later version: told, the job stopped.
void RefuseKind()
{
    ShowTextMessage(Texts::ExportKindRefused);
    OutputJobState.stopFlag = 1;
}

// Writes the full export's sections in their order until the job stops.
void ExportAll()
{
    ExportHeaderWrite();
    RepOp18();
    for (const ExportStep &s : FullExportOrder) {
        for (int n = s.first; n <= s.last && !OutputJobState.stopFlag; n++) {
            switch (s.kind) {
            case ExportStepKind::Block: SettingsBlockExport(n); break;
            case ExportStepKind::Register: RegExportAll(n); break;
            case ExportStepKind::DefBlock: WriteDefBlockText(n); break;
            case ExportStepKind::KeyBlock: KeyBlockExport(n); break;
            case ExportStepKind::SerialBlocks: SerialBlocksExport(); n = s.last; break;
            }
        }
        if (OutputJobState.stopFlag) return;
    }
}

// One group of export kind 2: what is written when its option word is set.
struct SettingsGroup {
    uint16_t option;                       // offset of the option word in the selection
    uint8_t blocks[6], registers[12], keyBlocks[5];   // 0 ends each list
};

// The fifteen groups in their order; the option word after the sixth
// group's is not used.
const SettingsGroup Groups[] = {
    {ReportParamsVc::Option1, {130}, {}, {}},
    {ReportParamsVc::Option2, {}, {57}, {}},
    {ReportParamsVc::Option3, {}, {16}, {}},
    {ReportParamsVc::Option4, {}, {66}, {}},
    {ReportParamsVc::Option5, {}, {124}, {}},
    {ReportParamsVc::Option6, {}, {123}, {}},
    {ReportParamsVc::Option8, {129, 149}, {}, {}},
    {ReportParamsVc::Option9, {}, {}, {150}},
    {ReportParamsVc::Option10, {}, {24}, {}},
    {ReportParamsVc::Option11, {208}, {}, {}},
    {ReportParamsVc::Option12, {}, {25, 26, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43}, {164, 165, 166, 167, 168}},
    {ReportParamsVc::Option13, {}, {19}, {}},
    {ReportParamsVc::Option14, {}, {22}, {}},
    {ReportParamsVc::Option15, {}, {20}, {}},
    {ReportParamsVc::Option16, {}, {21}, {}},
};

// Writes the groups whose option words are set (kind 2); the eleventh
// group ends with block 156 after its key tables.
void ExportGroups(const ReportJob &job)
{
    RepOp18();
    for (const SettingsGroup &g : Groups) {
        if (OutputJobState.stopFlag) return;
        if (GetU16(job.selection, g.option) == 0) continue;
        for (uint8_t r : g.registers)
            if (r) RegExportAll(r);
        for (uint8_t k : g.keyBlocks)
            if (k) KeyBlockExport(k);
        if (g.option == ReportParamsVc::Option12) SettingsBlockExport(156);
        for (uint8_t b : g.blocks)
            if (b) SettingsBlockExport(b);
    }
}

// The kinds that write nothing of their own.
bool KindWritesNothing(int kind)
{
    static const uint8_t none[] = {5, 6, 14, 16, 17, 20, 23, 24, 25, 26};
    for (uint8_t k : none)
        if (k == kind) return true;
    return false;
}

}  // namespace

// The export's line on the status strip: the file it wrote, or that it
// stopped with the file incomplete. A job the user cancelled before any
// file was chosen wrote nothing and says nothing.
static void ExportOutcomeTell(bool ok)
{
    if (!ok) {
        PString text;
        GetUiText(text, Texts::OutcomeExportStopped);
        RunOutcomeTell(PStringToStd(text));
        return;
    }
    PString text;
    GetUiText(text, Texts::OutcomeExportDone);
    std::string file = ExportFileChosen();
    RunOutcomeTell(PStringToStd(text) + (file.empty() ? std::string("-") : file));
}

// A client's export its server did not serve, or not to the end: the file
// the client chose keeps nothing of it, so that no part of an export is
// taken for one. Before a login the reason is told here, as the server's
// refusal carries none; otherwise the connection's end was told where it
// was found, and the status strip says no file was kept.
static void ClientExportNotServed()
{
    RepDiscardFileDevice();
    if (!LoggedInFlag) {
        ShowTextMessage(Texts::ExportNotLoggedIn);
        return;
    }
    PString text;
    GetUiText(text, Texts::ExportNotServed);
    RunOutcomeTell(PStringToStd(text));
}

// Runs export kind on the text-file device: at the server for a client,
// else as a job of its own. False when the job stopped (cancelled, a kind
// not in this version, a refused write) or did not run.
bool RunTextExportBody(ReportJob &job, int kind)
{
    struct BankFlag {
        explicit BankFlag(bool on) { BankFileExportRunning = on; }
        ~BankFlag() { BankFileExportRunning = false; }
    } bankFlag(BankFileExportJob(job, kind));
    // What reads the running job without it at hand (the formulas' period
    // and column layout, the device) reads this one.
    OutputJobAttach running(job);
    OutputJobState.stopFlag = 0;
    OutputJobState.writeFailed = 0;
    // The file is the client's: it chose it before asking (a client), or
    // its pushed commands open it (a server serving one).
    if (!RemoteOutputActive && !RemoteOutput) RepOpenFileDevice();
    if (OutputJobState.stopFlag) return false;
    if (RunModeIsClient()) {
        bool served = job.selection && TextExportRemote(kind, job.selection, ReportParamsSize);
        if (!served) ClientExportNotServed();
        return served;
    }
    PString title = {0};
    RepOpenJob(title);
    ExportDatabaseText(job, kind);
    bool ok = !OutputJobState.stopFlag && !OutputJobState.writeFailed;
    RepEndJob();
    ok = ok && !OutputJobState.writeFailed;
    // Payments are marked sent only in a whole file; the bank run says its
    // own closing line (a file with no payment is not written at all).
    if (kind == 15) BankFileJobEnded(ok);
    else ExportOutcomeTell(ok);
    return ok;
}

// Writes what an export kind names, after keeping the month indexes of
// the report's dates in the job's selection.
void ExportDatabaseText(ReportJob &job, int kind)
{
    OutputJobAttach running(job);
    ExportRightsReset();
    if (job.selection) {
        DateRec from = GetDate(job.selection, ReportParamsVc::DateFrom);
        DateRec to = GetDate(job.selection, ReportParamsVc::DateTo);
        PutU16(job.selection, ReportParamsVc::MonthFrom, MonthIndex(&from));
        PutU16(job.selection, ReportParamsVc::MonthTo, MonthIndex(&to));
    }
    if (kind < 0 || kind > LastExportKind || KindWritesNothing(kind)) return;
    switch (kind) {
    case 0: ExportAll(); return;
    case 1:
        RepOp18();
        ExportVouchersText(job);
        return;
    case 2:
        if (job.selection) ExportGroups(job);
        return;
    case 3: SelectedRegistersExport(job); return;
    case 4: InvoiceExport(job); return;
    case 7: PeriodStatsExport5(job); return;
    case 8: PeriodStatsExport3(job); return;
    case 9: CustomerListExport(job); return;
    case 10: BalanceMonthsExport(job); return;
    case 11: AccountBalanceListExport(job); return;
    case 12: KeyFigureExport(job); return;
    case 13: InvoiceRowsExport(job); return;
    case 18: OpenOrderRowsExport(job); return;
    case 27: CustomerItemStatsExport(job); return;
    case 31: ItemInfoExport(job); return;
    case 32: ExportContractsText(job); return;
    case 33: OpenPurchaseRowsExport(job); return;
    case 15: WriteBankFile(job); return;
    case 19: TimeSheetExport(job); return;
    case 30: QueuedInvoiceExport(); return;
    case 21: ExportSie(job); return;
    case 22: BalanceExport(job); return;
    case 28: RescueExportText(); return;
    case 29:
        RepOp18();
        RegExportNumberRange(job);
        return;
    default: RefuseKind(); return;
    }
}

// Writes the header of a full export: "tb" and two empty lines.
void ExportHeaderWrite()
{
    ExportCString("tb");
    ExportLineFeed();
    ExportLineFeed();
    ExportLineFeed();
}

// Writes the customer list (kind 9): customers whose code lies in the
// first selection's range and, when the third selection is given, whose
// customer group equals it; one line each of the code, the group and
// nine texts; an empty line at the end.
void CustomerListExport(const ReportJob &job)
{
    if (!job.selection) return;
    PString from = {0}, to = {0}, group = {0};
    RangeSplit(job.selection + ReportParamsVc::SelText1, from, to);
    GetText(job.selection, ReportParamsVc::SelText3, group);
    MemBlock h = 0;
    uint8_t *cu = RecBufferNew(CUVc::Number, &h);
    if (!cu) return;
    RecFieldPut(CUVc::Number, cu, CUVc::Code, from);
    uint32_t recid = 0, position = 0;
    bool found = RecFind(CUVc::Number, cu, 1, 0, &recid, &position) && position > 0;
    static const uint16_t texts[] = {CUVc::Name,     CUVc::Addr1,    CUVc::Addr2, CUVc::Addr3,  CUVc::DelAddr1,
                                     CUVc::DelAddr2, CUVc::DelAddr3, CUVc::Name2, CUVc::Phone};
    for (uint32_t pos = position; found && !OutputJobState.stopFlag; pos++) {
        RecFreeMatrix(CUVc::Number, cu);
        if (!RecReadAt(CUVc::Number, int32_t(pos), cu, &recid)) break;
        PString code = {0}, value = {0};
        GetText(cu, CUVc::Code, code);
        if (to[0] != 0 && PStringCompareNoCase(code, to) > 0) break;
        GetText(cu, CUVc::CustGroup, value);
        if (group[0] != 0 && PStringCompareNoCase(value, group) != 0) continue;
        ExportValue(cu + CUVc::Code, FtCode);
        ExportValue(cu + CUVc::CustGroup, FtCode);
        for (uint16_t t : texts) ExportValue(cu + t, FtText);
        ExportLineFeed();
        ExportNumber(code, FtText);
    }
    ExportLineFeed();
    RecBufferFree(CUVc::Number, &h);
}
