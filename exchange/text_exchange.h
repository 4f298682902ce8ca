// text_exchange.h - the text export and import of the database: the file
// layer (values written as fields of the output job; a source read through
// a 16 KB window as lines of TAB-separated fields), the column engine that
// writes and reads records by their field lists, the section dispatch, and
// the format, register, ledger, group and definition sections built on them.
#pragma once

#include <cstdint>
#include <span>

#include "core/date.h"
#include "core/report_job.h"
#include "core/text_files.h"
#include "exchange/field_lists.h"

// ---- Export side (text_writer.cpp; the files themselves core/text_files.h) ----
// Writes a value of a field type as one field of the export line; nothing
// for a null value. ExportValueEx does the same (its third word is unused).
void ExportValue(const void *value, uint16_t type);
void ExportValueEx(const void *value, uint16_t type, int unused);
// Writes a PString (or a zero-terminated text) as a text field.
void ExportText(const uint8_t *text);
void ExportCString(const char *text);
// Writes a 32-bit value as a field (the "seqnr" value).
void ExportLong(uint32_t value);
// Ends the export line.
void ExportLineFeed();
// Shows a value, formatted by its type, as the export's status text.
void ExportNumber(const void *value, uint16_t type);
// Writes a PString and CR LF; 0 when all was written.
int FileDeviceWriteLine(OutStream *s, const uint8_t *text);
// Called for each output file made; 0.
int FileCreatedNoOp();
// Copies at most count characters of src from the 1-based start into dst.
void PStrSubstr(const uint8_t *src, uint8_t *dst, int start, int count);

// ---- Import side (text_reader.cpp, import_progress.cpp) ----
// Source modes of the reader. A server imports a client's file from memory:
// the client sends the whole file (ImportMemorySource).
constexpr uint16_t ImportSourceFile = 2, ImportSourceNone = 9, ImportSourceMemory = 12;
// Opens a file (PString path) read-only as the source; 0, else told and not 0.
int ImportFileOpen(const ReportJob &job, const uint8_t *path, int unused);
// Closes the source; 0, or the run's reader error.
int ImportFileClose();
// Makes n bytes (kept by the caller until the import ends) the source.
void ImportMemorySource(const uint8_t *bytes, uint32_t n);
// True when aborted or the source is read to its end.
bool ImportAtEnd();
// Reads the next field of the line; with dst parses it by type and max
// (FieldFromText). False when the text is refused or the line holds a
// control byte: damaged (ImportDamage called).
bool ImportReadField(void *dst, uint16_t type, uint16_t max);
// Reads the next field as the section tag (translated when the program's
// byte-order flag is 1; drawn in the import window).
void ImportReadTag();
// ImportSkipLine, then ImportReadTag.
void ImportNextTag();
// Reads up to and past the next line end.
void ImportSkipLine();
// ImportSkipLine, then looks ahead: true when the next line holds data.
bool ImportNextLineHasData();
// Polls Esc; draws the value and the free sectors in the import window.
void ImportShowProgress(const void *value, uint16_t type);
// Reads the next field as a 32-bit value.
uint32_t ImportReadLong();
// The current tag (PString).
const uint8_t *ImportCurrentTag();
// Marks that the reader already holds the next section's tag.
void ImportTagHeld();
// True once after ImportTagHeld (the mark is taken).
bool ImportTagIsHeld();
// The 1-based line of the read position.
uint32_t ImportLineNumber();
// A damaged column (1-based) of the current line: aborts the import, the
// line and column kept for the result.
void ImportDamage(uint16_t column);
// A record read whole whose number series is full: it is not stored (a
// second record would collide under -1); its line is kept for the result.
void ImportRefuseUnnumbered();
// True once after ImportRefuseUnnumbered for the record just read.
bool ImportTakeUnnumbered();
// Counts such a record, whose lines begin at line.
void ImportCountUnnumbered(uint32_t line);
// Counts a record not stored because the stored copy is newer, named for
// the result by the section's tag and its key (a PString): the first few
// are named, so the user can find what the file did not bring.
void ImportCountKept(const uint8_t *key);
// A reader's check of the field list it was given: true when shape holds;
// else the import stops as damaged at the next column (a list the reader
// cannot use is never read past its end, in any build).
bool ImportListFits(bool shape);
// The 1-based column of the last field read on the current line.
uint16_t ImportColumnNumber();
// The tag drawing and progress bar of the import window.
void ImportProgressBar();
void ImportTagDraw(const uint8_t *tag);
// Forgets the bar drawn for the last source.
void ImportProgressReset();
// The path of the file being read (PString), empty when the source is
// memory (the server's copy of a client's file).
const uint8_t *ImportSourcePath();
// The source mode, file length and read position of the reader.
uint16_t ImportSourceMode();
uint32_t ImportFileLength();
uint32_t ImportReadPosition();
// The windows loaded since the source was opened.
uint32_t ImportWindowLoads();
extern uint8_t ImportAbortFlag, ImportFileCharFlag;
extern uint16_t ImportDosLetters;

// ---- Column engine and dispatch (field_columns.cpp, record_text.cpp) ----
// Writes the columns of a list from base.
void WriteColumns(std::span<const Column> cols, const uint8_t *base);
// Reads the columns of a list into base (size bytes); false: damaged.
bool ReadColumns(std::span<const Column> cols, uint8_t *base, uint32_t size);
// Writes a record by a list: header, and for rows the line end and one line a row.
void WriteListRecord(int number, const FieldList &l, const uint8_t *record);
// The text one more column of an empty row's line holds, so that the
// line is not read as the end of the rows (field_columns.cpp).
constexpr char EmptyRowMark[] = "-";
// WriteColumns for one row line: an all-empty row also writes EmptyRowMark.
void WriteRowColumns(std::span<const Column> cols, const uint8_t *base);
// Reads a record by a list; false: damaged.
bool ReadListRecord(int number, const FieldList &l, int version, uint8_t *record);
// The writer and reader of a register's record (9, 11 and 51: the ledger's).
void WriteRecordText(int reg, const uint8_t *record);
// flag ReadTextOnly reads a record that will not be stored: the list's
// after-reading effect (marks, created items, stock) is not run.
constexpr int ReadTextOnly = 1;
bool ReadRecordText(int reg, int version, uint8_t *record, int flag);   // false: damaged or no list
// The writer and reader of one settings block record or row.
void WriteBlockText(int block, const uint8_t *data);
bool ReadBlockText(int block, uint8_t *data);

// ---- Format, dispatch, register sections, rescue ----
// Runs export kind of job on the text-file device; what it settles (the
// month indexes of its dates) it writes into the job's selection.
bool RunTextExportBody(ReportJob &job, int kind);
// Whether the import just run held nothing an export of this program writes.
bool LastImportReadNoExport();
void ExportDatabaseText(ReportJob &job, int kind);
void ExportHeaderWrite();
void ImportFormat();
void ImportTextStep(const ReportJob &job);
void ImportTextSection();
void ImportSkipSection();
void ResetImportFlags();
void ReportImportResult(const ReportJob &job);
// The line numbers an import kept of the `count` it counted, comma
// separated ("12, 40, 41"), with ", ..." when it counted more than it
// kept: into tail (a PString), for the messages that name lines.
void ImportLineListText(std::span<const uint32_t> kept, uint32_t count, uint8_t *tail);
// The status-strip line of the import that just ended (its import mode).
void ImportOutcomeTell(int mode);
bool RescueExportRun();
// Installs the exchange: SettingsText, the text export run, the rescue runner.
void TextExchangeInstall();
void RegExportAll(int reg);
// Asked before a register's records are written: a server sets it to
// leave out what the asking user may not read (null: the user at this
// program's screen asks, MayReadRegisterHere).
extern bool (*ExportMayRead)(int reg);
// Asked before a person's password verifier is written: a server sets it
// to write verifiers only for a client's administrator (null: only the
// administrator at this program's screen gets them, AdministratorHere);
// anyone else's export writes an empty column.
extern bool (*ExportMayWriteVerifiers)();
// Set while the rescue export of a damaged company runs: it saves the
// whole company, verifiers included, whoever is logged in.
extern bool ExportRescueRunning;
// True when the running export writes register reg's records (as above);
// the first register it leaves out is told (text 20000) once an export.
bool ExportReadsRegister(int reg);
// True when the running export writes persons' verifiers (as above).
bool ExportWritesVerifiers();
// Starts an export job's telling afresh.
void ExportRightsReset();
void RegExportNumberRange(const ReportJob &job);
void RegExportKeyRange(const ReportJob &job, int reg);
void RegImportRecords(int reg, uint16_t version, uint8_t replace);
void CustomerListExport(const ReportJob &job);   // kind 9
// The selective exports (selective_exports.cpp).
void SelectedRegistersExport(const ReportJob &job);   // kind 3
void InvoiceExport(const ReportJob &job);             // kind 4
void InvoiceRowsExport(const ReportJob &job);         // kind 13
void QueuedInvoiceExport();                   // kind 30
// The time-sheet rows (time_sheet_export.cpp): kind 19, and one sheet's
// lines (project: a register-53 buffer for the leader lookups).
void TimeSheetExport(const ReportJob &job);
void TimeSheetExportRows(const uint8_t *sheet, uint8_t *project);
// The balance exports (balance_exports.cpp).
void BalanceMonthsExport(const ReportJob &job);        // kind 10
void AccountBalanceListExport(const ReportJob &job);   // kind 11
extern uint32_t ImportHoldRecords;            // records per hold: 10
// Holds the import renewed in the run (ImportRenewHold).
extern uint32_t ImportHoldsRenewed;
// Ends the import's hold and begins the next, so that a long section is
// not one hold; false (the import stopped, a failed step counted) when the
// ended hold failed. Counts in ImportHoldsRenewed.
bool ImportRenewHold();
// Writes the rescue export (kind 28) into the open job.
void RescueExportText();
// Forgets the last file's format line (before an import run).
void ImportFormatForget();
struct ImportResultRec {
    uint32_t read, stored, kept, effectsSkipped, damageLine;
    uint16_t damageColumn;
    // Records of registers whose rules are not built yet: read, not stored;
    // the first such section's tag for the message.
    uint32_t refused;
    uint8_t firstRefusedTag[32];
    uint16_t badGroupSelector;
    // Records not stored because their series was full, and the first lines.
    uint32_t unnumbered;
    uint32_t unnumberedLines[8];
    // The first records kept ("tag key, tag key"; a PString).
    uint8_t keptNames[256];
    uint8_t longBfoObject[8];
    bool seenHeader, formatStored;
    uint32_t sectionsKnown;   // sections whose tag an export of this program writes (the header too)
    bool notAnExport;         // the run read a file holding no such section (set at its end)
    // The voucher lock as it stood when the run began: the register reader
    // holds vouchers, drafts and person entries to it, so that a backup
    // read into an empty company, its lock among its first sections, brings
    // back every voucher of its locked periods.
    DateRec voucherLockAtStart;
};
extern ImportResultRec ImportResult;

// ---- Effects of an import on stock, history and projects ----
// Each null until ImportEffectsInstall (the start's, by TextExchangeInstall)
// fills the table; a null effect is not done and is counted in
// ImportResult.effectsSkipped.
struct ImportEffectsRec {
    bool (*locationStockFromPurchase)(const uint8_t *);
    bool (*stockHistoryFromPurchase)(const uint8_t *);
    bool (*orderReservedStock)(const uint8_t *, int add);
    bool (*purchaseOrderOnOrderStock)(const uint8_t *, int add);
    bool (*orderRowsToLocationStock)(const uint8_t *);
    bool (*stockHistoryFromDelivery)(const uint8_t *);
    bool (*stockMoveEffects)(const uint8_t *);
    bool (*productionStockRows)(const uint8_t *, int add);
    bool (*productionHistory)(const uint8_t *);
    bool (*timeSheetProjectTrans)(const uint8_t *);
    bool (*projectLinkEntries)(const uint8_t *);
};
extern ImportEffectsRec ImportEffects;
void ImportEffectsInstall();

// ---- Fiscal years ----
// Inserts a fiscal year by its dates, its code into *code; false: not inserted (told).
bool InsertYear(uint8_t *code, const DateRec *start, const DateRec *end);
void YearCodeImport();                        // "yearcode1"
// "setuptcp" (net_settings_section.cpp): the network settings' four value
// lines, taken whole or (a value not valid: damaged there) not at all.
void NetSettingsImport();

// ---- Definition, key, series and group sections ----
void WriteDefBlockText(int block);
void ReadDefBlockText();
void SerialBlocksExport();
void KeyBlockExport(int block);
void KeyBlockImport();
void WriteGroupText(int reg, const uint8_t *record);
void GroupImport();
