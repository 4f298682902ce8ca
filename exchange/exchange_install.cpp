// exchange_install.cpp - puts the text exchange in the places through
// which the rest of the program reaches it: the settings blocks' text
// entries, the output layer's text export run, the engine's rescue and
// the shell's commands (what an import read, the payment suggestion), and
// the stock and project effects an imported document has.
#include "database/access/settings_blocks.h"
#include "core/work_blocks.h"
#include "database/engine/engine.h"
#include "exchange/exchange.h"
#include "exchange/run_outcome.h"
#include "exchange/section_table.h"
#include "exchange/text_exchange.h"
#include "output/devices/bank_file_hooks.h"
#include "output/output_job.h"
#include "shell/feature_commands.h"

// Whether the import just run held nothing an export of this program writes.
bool LastImportReadNoExport() { return ImportResult.notAnExport; }

// Lets the text-file device know the bank payment file and its name.
void BankFileHooksInstall()
{
    BankFileHooks = BankFileHooksRec{
        .jobIsBankFile = JobIsBankFileExport,
        .defaultName = TelepayDefaultFileName,
    };
}

// Installs every entry of the text exchange.
void TextExchangeInstall()
{
    BankFileHooksInstall();
    ImportEffectsInstall();
    SettingsText = SettingsTextExchange{
        .blockTextTag = BlockTextTag,
        .exportText = ExportText,
        .exportLineFeed = ExportLineFeed,
        .writeBlockText = WriteBlockText,
        .importSkipLine = ImportSkipLine,
        .importNextLineHasData = ImportNextLineHasData,
        .importNextTag = ImportNextTag,
        .readBlockText = ReadBlockText,
        .importTagHeld = ImportTagHeld,
        // The import's job is the one attached to the output by whoever
        // started the import (the import command, the server, the new
        // company's defaults).
        .importFileOpen = [](const uint8_t *path, int mode) {
            return ImportFileOpen(ReportJob{CurrentJobRecord()}, path, mode);
        },
        .importFileClose = ImportFileClose,
        .importReadTag = ImportReadTag,
        .importAtEnd = ImportAtEnd,
        .importTextStep = [] { ImportTextStep(ReportJob{CurrentJobRecord()}); },
        .importReadLong = ImportReadLong,
        .exportCString = ExportCString,
        .exportLong = ExportLong,
        .registerTextTag = RegisterTextTag,
        .resetImportFlags = ResetImportFlags,
        .reportImportResult = [] { ReportImportResult(ReportJob{CurrentJobRecord()}); },
    };
    D4SetRawExportRunner(RescueExportRun);
}
