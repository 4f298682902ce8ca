// start_tables.cpp - the tables of functions as the test program started,
// and putting them back.
#include "tests/features/start_tables.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "database/access/register_hooks.h"
#include "database/engine/engine.h"
#include "database/engine/engine_state.h"
#include "features/seams.h"
#include "output/devices/device_table.h"

namespace {

// Output kinds past the last that may have a device have none.
constexpr uint16_t OutputKinds = 32;

struct StartTablesRec {
    std::vector<std::vector<SeamFn>> seams;   // entry i of seam s: seams[s][i]
    std::array<RegisterHooks, RegisterCount> registerHooks{};
    std::array<const RepDevice *, OutputKinds> devices{};
    D4RawExportRunner rawExport = nullptr;   // what damage offers
};
StartTablesRec Start;

bool SameHooks(const RegisterHooks &a, const RegisterHooks &b)
{
    return a.insertKeyExists == b.insertKeyExists && a.validateRecord == b.validateRecord &&
           a.preserveStoredFields == b.preserveStoredFields && a.beforeInsert == b.beforeInsert &&
           a.afterInsert == b.afterInsert && a.beforeUpdate == b.beforeUpdate && a.afterUpdate == b.afterUpdate &&
           a.beforeStore == b.beforeStore && a.afterStore == b.afterStore && a.canDelete == b.canDelete &&
           a.beforeDelete == b.beforeDelete && a.newRecordDefaults == b.newRecordDefaults &&
           a.newRecordDefaultsOther == b.newRecordDefaultsOther && a.recordCheck == b.recordCheck &&
           a.rulesWaiting == b.rulesWaiting;
}

}  // namespace

void StartTablesTake()
{
    Start.seams.clear();
    for (const Seam &s : Seams()) {
        std::vector<SeamFn> &entries = Start.seams.emplace_back();
        for (size_t i = 0; i < SeamEntryCount(s); i++) entries.push_back(SeamEntry(s, i));
    }
    Start.registerHooks = RegisterHookTable;
    for (uint16_t kind = 0; kind < OutputKinds; kind++) Start.devices[kind] = RepDeviceOf(kind);
    Start.rawExport = Db.rawExport;
}

void StartTablesPutBack()
{
    std::span<const Seam> seams = Seams();
    for (size_t s = 0; s < seams.size() && s < Start.seams.size(); s++)
        for (size_t i = 0; i < Start.seams[s].size(); i++) SeamEntrySet(seams[s], i, Start.seams[s][i]);
    RegisterHookTable = Start.registerHooks;
    for (uint16_t kind = 0; kind < OutputKinds; kind++) RepDeviceInstall(kind, Start.devices[kind]);
    D4SetRawExportRunner(Start.rawExport);
}

std::string StartTablesChanged()
{
    std::span<const Seam> seams = Seams();
    for (size_t s = 0; s < seams.size() && s < Start.seams.size(); s++)
        for (size_t i = 0; i < Start.seams[s].size(); i++)
            if (SeamEntry(seams[s], i) != Start.seams[s][i])
                return std::string(seams[s].name) + " entry " + std::to_string(i);
    for (size_t reg = 0; reg < RegisterHookTable.size(); reg++)
        if (!SameHooks(RegisterHookTable[reg], Start.registerHooks[reg]))
            return "RegisterHookTable entry " + std::to_string(reg);
    for (uint16_t kind = 0; kind < OutputKinds; kind++)
        if (RepDeviceOf(kind) != Start.devices[kind]) return "Devices entry " + std::to_string(kind);
    if (Db.rawExport != Start.rawExport) return "the raw export runner";
    return {};
}
