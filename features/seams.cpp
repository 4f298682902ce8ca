// seams.cpp - the list of the tables between the layers and the check
// that the start filled every entry it must.
#include "features/seams.h"

#include <cstdint>
#include <cstring>

#include "core/server_hooks.h"
#include "database/access/register_hooks.h"
#include "database/access/settings_blocks.h"
#include "operations/person_entries.h"
#include "operations/run_outcome.h"
#include "output/devices/bank_file_hooks.h"
#include "output/output_job.h"
#include "output/output_windows.h"
#include "output/report_hooks.h"
#include "rules/ledger_print.h"
#include "rules/print_services.h"
#include "rules/settings_checks.h"
#include "rules/stock_cost_lines.h"
#include "shell/feature_commands.h"
#include "shell/net_services.h"

namespace {

using AnyFn = void (*)();

// A table the check reads slot by slot must hold nothing but function
// pointers, each as wide as any other.
template <typename T> constexpr bool OnlyPointers = sizeof(T) % sizeof(AnyFn) == 0 && alignof(T) == alignof(AnyFn);

#define SEAM(table, filler)                                                                   \
    Seam { #table, &table, sizeof(table), SeamFiller::filler }
static_assert(OnlyPointers<AccessServiceHooks> && OnlyPointers<AccessUiHooksRec> &&
              OnlyPointers<SettingsTextExchange> && OnlyPointers<ServerHooksRec> &&
              OnlyPointers<PrintServicesRec> && OnlyPointers<LedgerPrintRec> &&
              OnlyPointers<StockCostLinesRec> && OnlyPointers<RunOutcomeUiRec> &&
              OnlyPointers<PersonRunBusyRec> && OnlyPointers<OutputWindowsRec> &&
              OnlyPointers<OutputRunServicesRec> && OnlyPointers<ReportHooksRec> &&
              OnlyPointers<BankFileHooksRec> && OnlyPointers<NetServicesRec> &&
              OnlyPointers<FeatureCommandsRec>);


const Seam SeamList[] = {
    // Declared by the ground, filled above it.
    SEAM(AccessServices, Business),
    SEAM(AccessUiHooks, Ui),
    SEAM(SettingsText, Features),
    SEAM(ServerHooks, Server),
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
    // Declared by the ui layer.
    SEAM(NetServices, Features),
    SEAM(FeatureCommands, Features),
};
#undef SEAM

}  // namespace

std::span<const Seam> Seams() { return SeamList; }

std::string SeamsEmptyEntry()
{
    for (const Seam &s : SeamList) {
        if (s.filler == SeamFiller::Server) continue;
        for (size_t at = 0, i = 0; at + sizeof(AnyFn) <= s.size; at += sizeof(AnyFn), i++) {
            uintptr_t slot;
            std::memcpy(&slot, static_cast<const uint8_t *>(s.table) + at, sizeof slot);
            if (slot == 0) return std::string(s.name) + " entry " + std::to_string(i);
        }
    }
    return {};
}
