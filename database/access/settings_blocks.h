// settings_blocks.h - company settings kept as numbered blocks 129..227 of
// the database: binding them to program memory, loading on demand,
// reloading after a database is opened, and their text-backup lines.
//
// The interface file describes each block (descriptor: number, kind 1 one
// record or 0 a table of rows, size of the record or of one row). The
// start-up code binds a fixed buffer (kind 1) or a handle variable (kind 0)
// to the blocks the program reads through globals; the run-time state of
// each descriptor entry is SettingsBlockStates (core/interface_load.h):
// binding, bound size, lazy flag, loaded flag. SettingsBlockLoad does
// nothing for a loaded entry, so callers call it before every use.
//
// Reading, fetching and storing the stored block itself are dispatchers
// of the record layer (record_access.h).
#pragma once

#include <cstdint>

#include "core/memblock.h"

// The numbers a settings block may have.
constexpr int SettingsBlockFirst = 129, SettingsBlockLast = 227;

// Binds every kind-1 entry of block to buffer (size bytes).
void SettingsBlockBind(int block, uint8_t *buffer, uint32_t size, int lazy);
// A new zero-filled buffer of size bytes that lives for the run, bound;
// null when memory cannot be had.
uint8_t *SettingsBlockBindNew(int block, uint32_t size, int lazy);
// Sets *var to 0 and binds every kind-0 entry of block to it.
void SettingsBlockBindHandle(int block, MemBlock *var, int lazy);

// Loads the first entry of block unless it is loaded.
void SettingsBlockLoad(int block);
// Loads descriptor entry i into its binding; unbound entries are left
// alone. false when the entry is unbound or could not be loaded.
bool SettingsBlockLoadEntry(int i);
// Marks every entry unloaded, loads the bound eager ones (lazy flag 0) and
// rebuilds the window-type menu.
void SettingsBlocksReload();
// true when number names a settings block whose first descriptor entry
// has no bound buffer or handle.
bool SettingsBlockIsUnbound(int number);
// Brings the bound copy of block up to date from a stored rows handle
// (after a client's store was accepted).
void SettingsBlockBindingRefresh(int block, MemBlock handle);
// The stored size of block (0 when absent).
uint32_t SettingsBlockSizeLocal(int block);

// ---- Text backup ----
// The line forms are fixed here; the writing and reading of values belong
// to the text exchange, which installs these entries. Entries left null
// make export write nothing and import read nothing.
struct SettingsTextExchange {
    // The block's section tag (PString, 256 bytes); empty when none.
    void (*blockTextTag)(int block, uint8_t *tag);
    // Writes a PString as a text value of the current export line.
    void (*exportText)(const uint8_t *text);
    // Ends the current export line (a line feed).
    void (*exportLineFeed)();
    // Writes one block record or row (memory form) as export fields.
    void (*writeBlockText)(int block, const uint8_t *data);
    // Import: skips the rest of the current line.
    void (*importSkipLine)();
    // Import: skips to the end of the line; true when the next line holds data.
    bool (*importNextLineHasData)();
    // Import: skips the rest of the line and reads the next section tag.
    void (*importNextTag)();
    // Import: reads one block record or row into data (memory form);
    // false when its line is damaged (the import is stopped then).
    bool (*readBlockText)(int block, uint8_t *data);
    // Import: marks that the reader already holds the next section tag.
    void (*importTagHeld)();
    // Opens a text file for import in a mode; 0 when open, else the
    // reader's error (it has told the user).
    int (*importFileOpen)(const uint8_t *path, int mode);
    // Closes the import file; 0, or the reader's error of the run.
    int (*importFileClose)();
    // Reads the next section tag.
    void (*importReadTag)();
    // True at the end of the file or when the import was aborted.
    bool (*importAtEnd)();
    // Imports the section or record the reader stands on.
    void (*importTextStep)();
    // Reads the current field as a 32-bit value.
    uint32_t (*importReadLong)();
    // Writes a zero-terminated string as a text value.
    void (*exportCString)(const char *text);
    // Writes a 32-bit value (data type 5).
    void (*exportLong)(uint32_t value);
    // The register's section tag (PString, 256 bytes); empty when none.
    void (*registerTextTag)(int reg, uint8_t *tag);
    // Clears the result flags of an import run.
    void (*resetImportFlags)();
    // Tells the user the result of an import run.
    void (*reportImportResult)();
};
extern SettingsTextExchange SettingsText;

// The tag line: the block's tag (in the stored character set) as a text
// value and a line feed.
void ExportTagLine(int block);
// Writes block from the local database: a record as its tag line, its
// fields and two line feeds; rows as the tag line, each row and a line
// feed, and one more line feed; a block without rows writes nothing.
void SettingsBlockExport(int block);
// The same from given data (rows: length / row size rows).
void SettingsBlockExportData(int block, const uint8_t *data, uint32_t length);
// Reads the section of block whose tag the reader is on and stores it:
// a record through SettingsBlockStore (with its check), rows unchecked.
// Returns the store's result.
int SettingsBlockImport(int block);
