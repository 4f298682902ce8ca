// exchange_install.cpp - puts the text exchange in the places through
// which the rest of the program reaches it: the settings blocks' text
// entries, the output layer's text export run, the engine's rescue and
// the shell's commands (what an import read, the payment suggestion).
#include "database/access/settings_blocks.h"
#include "database/engine/engine.h"
#include "exchange/exchange.h"
#include "exchange/run_outcome.h"
#include "exchange/section_table.h"
#include "exchange/text_exchange.h"
#include "output/devices/bank_file_hooks.h"
#include "output/output_job.h"
#include "shell/feature_commands.h"

namespace {

// Whether the import just run held nothing an export of this program writes.
bool LastImportReadNoExport() { return ImportResult.notAnExport; }

}  // namespace

// Lets the text-file device know the bank payment file and its name.
void BankFileHooksInstall()
{
    BankFileHooks.jobIsBankFile = JobIsBankFileExport;
    BankFileHooks.defaultName = TelepayDefaultFileName;
}

// Installs every entry of the text exchange.
void TextExchangeInstall()
{
    BankFileHooksInstall();
    SettingsTextExchange &x = SettingsText;
    x.blockTextTag = BlockTextTag;
    x.exportText = ExportText;
    x.exportLineFeed = ExportLineFeed;
    x.writeBlockText = WriteBlockText;
    x.importSkipLine = ImportSkipLine;
    x.importNextLineHasData = ImportNextLineHasData;
    x.importNextTag = ImportNextTag;
    x.readBlockText = ReadBlockText;
    x.importTagHeld = ImportTagHeld;
    x.importFileOpen = ImportFileOpen;
    x.importFileClose = ImportFileClose;
    x.importReadTag = ImportReadTag;
    x.importAtEnd = ImportAtEnd;
    x.importTextStep = ImportTextStep;
    x.importReadLong = ImportReadLong;
    x.exportCString = ExportCString;
    x.exportLong = ExportLong;
    x.registerTextTag = RegisterTextTag;
    x.resetImportFlags = ResetImportFlags;
    x.reportImportResult = ReportImportResult;
    OutputRunServices.runTextExport = RunTextExportBody;
    D4SetRawExportRunner(RescueExportRun);
    FeatureCommands.importReadNoExport = LastImportReadNoExport;
    FeatureCommands.paymentSuggestion = PaymentSuggestionTold;
}
