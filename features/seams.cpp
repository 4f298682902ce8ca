// seams.cpp - the list of the tables the start fills and the check that
// it filled every entry it must.
#include "features/seams.h"

#include <cstdint>
#include <cstring>
#include <iterator>

#include "core/msg_buffer.h"
#include "core/server_hooks.h"
#include "database/access/register_hooks.h"
#include "database/access/remote_calls.h"
#include "database/access/settings_blocks.h"
#include "database/engine/engine.h"
#include "database/engine/engine_state.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "net/net.h"
#include "operations/person_entries.h"
#include "operations/run_outcome.h"
#include "output/devices/bank_file_hooks.h"
#include "output/devices/device_table.h"
#include "output/formula/formula.h"
#include "output/output_job.h"
#include "output/output_windows.h"
#include "output/report_hooks.h"
#include "platform/queue.h"
#include "rules/ledger_print.h"
#include "rules/print_services.h"
#include "rules/settings_checks.h"
#include "rules/stock_cost_lines.h"
#include "shell/feature_commands.h"
#include "shell/net_services.h"
#include "shell/window_event_handlers.h"

namespace {

// A table the check reads slot by slot must hold nothing but function
// pointers, each as wide as any other.
template <typename T> constexpr bool OnlyPointers = sizeof(T) % sizeof(SeamFn) == 0 && alignof(T) == alignof(SeamFn);

#define SEAM(table, filler)                                                                   \
    Seam { #table, &table, sizeof(table), SeamFiller::filler, 0, nullptr, nullptr, nullptr }

// The ledger's balance functions of the formula machine: entry i is
// function LedgerBalanceFunctionFirst + i.
SeamFn BalanceEntry(size_t i)
{
    return reinterpret_cast<SeamFn>(VmBalanceFunctionOf(LedgerBalanceFunctionFirst + int(i)));
}
void BalanceEntrySet(size_t i, SeamFn fn)
{
    VmSetBalanceFunction(LedgerBalanceFunctionFirst + int(i), reinterpret_cast<VmBalanceFunction>(fn));
}
constexpr size_t BalanceEntries = LedgerBalanceFunctionLast - LedgerBalanceFunctionFirst + 1;

// The window types whose handler the ui layer's install sets at run time
// rather than the record windows' built-in table holding it.
constexpr int RunTimeHandlerTypes[] = {WinTypes::JobQueue};
SeamFn HandlerEntry(size_t i) { return reinterpret_cast<SeamFn>(WindowEventHandlerSetFor(RunTimeHandlerTypes[i])); }
void HandlerEntrySet(size_t i, SeamFn fn)
{
    WindowEventHandlerSet(RunTimeHandlerTypes[i], reinterpret_cast<WindowEventHandler>(fn));
}
// The output kinds' devices: entry i is kind i's (a pointer to a constant
// structure, read and set as an entry through its address's number, as a
// cast straight to a function pointer would cast away its constness).
SeamFn DeviceEntry(size_t i) { return reinterpret_cast<SeamFn>(reinterpret_cast<uintptr_t>(RepDeviceOf(uint16_t(i)))); }
void DeviceEntrySet(size_t i, SeamFn fn)
{
    RepDeviceInstall(uint16_t(i), reinterpret_cast<const RepDevice *>(fn));
}

// The tables of one function that their layer keeps behind a setter: the
// engine's rescue export, the end of a job the server pushed, the text of
// a list row's own column, and the network's turn in the message wait.
SeamFn RawExportEntry(size_t) { return reinterpret_cast<SeamFn>(Db.rawExport); }
void RawExportEntrySet(size_t, SeamFn fn) { D4SetRawExportRunner(reinterpret_cast<D4RawExportRunner>(fn)); }
SeamFn JobEndEntry(size_t) { return reinterpret_cast<SeamFn>(RemoteJobEndInstalled()); }
void JobEndEntrySet(size_t, SeamFn fn) { RemoteJobEndInstall(reinterpret_cast<RemoteJobEndFn>(fn)); }
SeamFn RowTextEntry(size_t) { return reinterpret_cast<SeamFn>(RowExtraTextInstalled()); }
void RowTextEntrySet(size_t, SeamFn fn) { RowExtraTextInstall(reinterpret_cast<RowExtraTextFn>(fn)); }
SeamFn TimerEntry(size_t) { return reinterpret_cast<SeamFn>(MsgTimer()); }
void TimerEntrySet(size_t, SeamFn fn) { MsgSetTimer(reinterpret_cast<PlTimerFn>(fn)); }

// What the server's start fills beside its hooks: the push of a job's
// output to its client, the export's questions of the asking client's
// rights and the connection table's handlers (a client's connect fills
// them too); the serving flag is a seam of its own kind.
SeamFn PushEntry(size_t) { return reinterpret_cast<SeamFn>(MsgPushInstalled()); }
void PushEntrySet(size_t, SeamFn fn) { MsgSetPush(reinterpret_cast<MsgPushFn>(fn)); }
SeamFn ExportReadEntry(size_t) { return reinterpret_cast<SeamFn>(ExportMayRead); }
void ExportReadEntrySet(size_t, SeamFn fn) { ExportMayRead = reinterpret_cast<decltype(ExportMayRead)>(fn); }
SeamFn VerifiersEntry(size_t) { return reinterpret_cast<SeamFn>(ExportMayWriteVerifiers); }
void VerifiersEntrySet(size_t, SeamFn fn)
{
    ExportMayWriteVerifiers = reinterpret_cast<decltype(ExportMayWriteVerifiers)>(fn);
}
SeamFn ConnectionEntry(size_t i)
{
    return i == 0 ? reinterpret_cast<SeamFn>(NetFrameHandlerInstalled())
                  : reinterpret_cast<SeamFn>(NetCloseHandlerInstalled());
}
void ConnectionEntrySet(size_t i, SeamFn fn)
{
    if (i == 0) NetFrameHandlerInstall(reinterpret_cast<NetFrameHandler>(fn));
    else NetCloseHandlerInstall(reinterpret_cast<NetCloseHandler>(fn));
}
#define ONE(name, filler, get, set) Seam{name, nullptr, 0, SeamFiller::filler, 1, get, set, nullptr}
#define FLAG(flag, filler) Seam{#flag, nullptr, 0, SeamFiller::filler, 1, nullptr, nullptr, &flag}

static_assert(OnlyPointers<AccessServiceHooks> && OnlyPointers<AccessUiHooksRec> &&
              OnlyPointers<SettingsTextExchange> && OnlyPointers<ServerHooksRec> &&
              OnlyPointers<PrintServicesRec> && OnlyPointers<LedgerPrintRec> &&
              OnlyPointers<StockCostLinesRec> && OnlyPointers<RunOutcomeUiRec> &&
              OnlyPointers<PersonRunBusyRec> && OnlyPointers<OutputWindowsRec> &&
              OnlyPointers<OutputRunServicesRec> && OnlyPointers<ReportHooksRec> &&
              OnlyPointers<BankFileHooksRec> && OnlyPointers<NetServicesRec> &&
              OnlyPointers<FeatureCommandsRec> && OnlyPointers<ImportEffectsRec>);
// The registers' hooks end each entry in a flag, whose word is read and
// put back with the pointers.
static_assert(sizeof(RegisterHookTable) % sizeof(SeamFn) == 0);


const Seam SeamList[] = {
    // Declared by the ground, filled above it.
    SEAM(AccessServices, Business),
    SEAM(AccessUiHooks, Ui),
    SEAM(SettingsText, Features),
    SEAM(ServerHooks, Server),
    SEAM(RegisterHookTable, InPart),
    ONE("RawExport", Features, RawExportEntry, RawExportEntrySet),
    ONE("RemoteJobEnd", Output, JobEndEntry, JobEndEntrySet),
    ONE("RowExtraText", Ui, RowTextEntry, RowTextEntrySet),
    ONE("MessageTimer", Features, TimerEntry, TimerEntrySet),
    ONE("MessagePush", Server, PushEntry, PushEntrySet),
    // Declared by the business layer.
    SEAM(PrintServices, Output),
    SEAM(LedgerPrint, Features),
    SEAM(StockCostLines, Features),
    SEAM(RunOutcomeUi, Ui),
    SEAM(PersonRunBusy, Ui),
    SEAM(CompanyDetailsShownHook, Ui),
    // Declared by the output layer.
    SEAM(OutputWindows, Ui),
    SEAM(OutputRunServices, Features),
    SEAM(ReportHooks, Features),
    SEAM(BankFileHooks, Features),
    Seam{"BalanceTable", nullptr, 0, SeamFiller::Features, BalanceEntries, BalanceEntry, BalanceEntrySet, nullptr},
    Seam{"Devices", nullptr, 0, SeamFiller::InPart, DeviceKinds, DeviceEntry, DeviceEntrySet, nullptr},
    // Declared by the ui layer.
    SEAM(NetServices, Features),
    SEAM(FeatureCommands, Features),
    Seam{"RunTimeHandlers", nullptr, 0, SeamFiller::Ui, std::size(RunTimeHandlerTypes), HandlerEntry, HandlerEntrySet,
         nullptr},
    // Declared by the features for their own callers.
    SEAM(ImportEffects, Features),
    ONE("ExportMayRead", Server, ExportReadEntry, ExportReadEntrySet),
    ONE("ExportMayWriteVerifiers", Server, VerifiersEntry, VerifiersEntrySet),
    Seam{"ConnectionHandlers", nullptr, 0, SeamFiller::Server, 2, ConnectionEntry, ConnectionEntrySet, nullptr},
    FLAG(ServerServing, Server),
};
#undef SEAM
#undef ONE
#undef FLAG

}  // namespace

std::span<const Seam> Seams() { return SeamList; }

bool SeamFilledWhole(const Seam &s) { return s.filler != SeamFiller::Server && s.filler != SeamFiller::InPart; }

size_t SeamEntryCount(const Seam &s) { return s.table ? s.size / sizeof(SeamFn) : s.count; }

SeamValue SeamEntry(const Seam &s, size_t i)
{
    if (s.flag) return {.flag = *s.flag};
    if (!s.table) return {.fn = s.entry(i)};
    SeamFn fn;
    std::memcpy(&fn, static_cast<const uint8_t *>(s.table) + i * sizeof(SeamFn), sizeof fn);
    return {.fn = fn};
}

void SeamEntrySet(const Seam &s, size_t i, SeamValue value)
{
    if (s.flag) *s.flag = value.flag;
    else if (!s.table) s.setEntry(i, value.fn);
    else std::memcpy(static_cast<uint8_t *>(s.table) + i * sizeof(SeamFn), &value.fn, sizeof value.fn);
}

std::string SeamsEmptyEntry()
{
    for (const Seam &s : SeamList) {
        if (!SeamFilledWhole(s)) continue;
        for (size_t i = 0; i < SeamEntryCount(s); i++)
            if (SeamEntry(s, i).Empty()) return std::string(s.name) + " entry " + std::to_string(i);
    }
    return {};
}
