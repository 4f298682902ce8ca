// rescue_export.cpp - the export of every intact record and block of a
// damaged database to a text file (kind 28), which a new company can
// import; and the runner that the engine offers at the first damage.
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/format_block.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "database/access/settings_blocks.h"
#include "database/engine/engine.h"
#include "dict_offsets.h"
#include "exchange/section_table.h"
#include "exchange/text_exchange.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "shell/database_open.h"

namespace {

// True when the exchange writes records of reg (a tag and a writer).
bool RegisterWritten(int reg)
{
    PString tag = {0};
    RegisterTextTag(reg, tag);
    if (tag[0] == 0) return false;
    return reg == 9 || reg == 11 || reg == 51 || FieldListFor(false, reg, ListNewest) != nullptr;
}

// One intact record: its serial, its tag line, the record, an empty line.
void RescueRecord(int reg, uint32_t serial, uint8_t *record)
{
    if (OutputJobState.stopFlag || !RegisterWritten(reg)) return;
    ExportSeqNr(serial);
    ExportRegisterHeader(reg);
    WriteRecordText(reg, record);
    ExportLineFeed();
    ExportLineFeed();
}

// One intact block the exchange has a list for: its serial, then the
// block's section.
void RescueBlock(int block, uint32_t serial, const uint8_t *data, uint32_t size)
{
    if (OutputJobState.stopFlag || !FieldListFor(true, block, ListNewest)) return;
    ExportSeqNr(serial);
    SettingsBlockExportData(block, data, size);
}

// The scan's position as the export's status text.
void RescueProgress(int, uint32_t offset, uint32_t)
{
    ExportNumber(&offset, FtLong);
}

}  // namespace

// Writes the rescue export: the header and the format line in the fixed
// format (date order 0, decimal point), then every intact record and
// block the raw scan finds; the user's format is back on every way out.
// A scan that fails stops the job.
void RescueExportText()
{
    struct Rescuing {
        Rescuing() { ExportRescueRunning = true; }
        ~Rescuing() { ExportRescueRunning = false; }
    } rescuing;
    const uint16_t order = CurrentFormat->dateOrder;
    const uint8_t sep = CurrentFormat->decimalSep[1];
    CurrentFormat->dateOrder = 0;
    CurrentFormat->decimalSep[1] = '.';
    ExportHeaderWrite();
    RepOp18();
    D4RescueSink sink;
    sink.registerClass = RescueRegisterClass;
    sink.blockClass = RescueBlockClass;
    sink.record = RescueRecord;
    sink.block = RescueBlock;
    sink.progress = RescueProgress;
    if (!D4RawRescue(sink)) OutputJobState.stopFlag = 1;
    CurrentFormat->dateOrder = order;
    CurrentFormat->decimalSep[1] = sep;
}

// The rescue offered at damage: export kind 28 to a text file the user
// names; true only when it ran to its end.
bool RescueExportRun()
{
    OwnedJob own;
    PutU16(own.job.selection, ReportParamsVc::OutputKind, OutTextFile);
    PutU16(own.job.selection, ReportParamsVc::ReportNumber, 28);
    return RunTextExport(own.job, 28);
}
