// interface_load.h - loading the interface file: the tables it brings and
// the run-time tables made beside them.
//
// LoadDefinitions reads the 20 blocks (layout in core/interface_write.h),
// checks every count and offset in them against the bytes present, and
// only then sets the table pointers below. A file that fails any check is
// refused with one message and changes nothing. The blocks stay in
// memory, locked, until the next successful load replaces them (at
// start-up there is only one) or InterfaceUnload. Code reaches the tables
// through the lookups of core/definitions.h rather than these pointers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/interface_defs.h"
#include "core/interface_write.h"
#include "core/memblock.h"

// Block handles of the loaded file, kept for the run, and their sizes.
extern std::array<MemBlock, InterfaceBlockCount> DefBlocks;
extern std::array<uint32_t, InterfaceBlockCount> DefBlockSizes;

// The interface version word of the loaded file (0 when none is loaded).
extern uint32_t InterfaceVersionLoaded;

// The twelve list tables (null where the directory gives -1) and the
// bytes each was checked to hold.
extern std::array<const uint8_t *, ListSlotCount> ListDirectory;
extern std::array<uint32_t, ListSlotCount> ListTableSize;

extern const uint8_t *WinTypeTable;          // 600 x 23 u16
extern const uint8_t *SettingsBlockDefs;     // the first 18-byte descriptor
extern uint16_t SettingsBlockDefCount;
extern const uint8_t *SettingsFieldLists;    // block 5
extern uint32_t SettingsFieldListsSize;
extern const uint8_t *RegisterTable;         // block 6
extern uint32_t RegisterTableSize;
extern const uint8_t *TextIndex;             // the first 6-byte entry
extern uint32_t TextCount;
extern const uint8_t *TextPool;
extern std::array<const uint8_t *, 2> CharTranslationTables;   // read, write
extern uint8_t *WinDefinitionBlock;          // block 12: offsets, then layouts (written by window code)
extern uint32_t WinDefinitionBlockSize;
extern const uint8_t *PrinterCharTable;      // null when the file has none
extern const uint8_t *OverstrikeTable;       // null when the file has none

// Run-time state of one settings block descriptor (filled by the
// settings-block code): where its data are bound, their size, and whether
// they are loaded lazily and loaded now.
struct SettingsBlockState {
    void *binding;      // buffer, or the variable holding the rows handle
    uint32_t size;
    uint8_t lazy;
    uint16_t loaded;
};

// Run-time use of a window type: whether a window of it is open, and its
// menu.
struct WinTypeUseEntry {
    uint16_t inUse;
    uint16_t word;
    uint32_t menu;
};

// Run-time state of a register: opened on first use, and its key
// definitions (the first IndexDef inside the register table, or null).
struct RegisterState {
    uint16_t opened;
    const uint8_t *keyDefs;
};

constexpr int WinTypeUseEntries = 601;   // types 0..600

// One entry per settings-block descriptor; all zero after a load.
extern std::vector<SettingsBlockState> SettingsBlockStates;
extern std::array<WinTypeUseEntry, WinTypeUseEntries> WinTypeUseTable;
extern std::array<RegisterState, RegisterCount + 1> RegisterStates;
extern std::array<uint32_t, RegisterCount + 1> RecordCounts;

// Finds the interface file (core/language_file.h), reads its 20 blocks
// and loads them as LoadDefinitionsFromBytes does. On failure the message
// ("No language file available", or the file name and the fault) goes to
// *error, or to the message sink when error is null; start-up must stop.
bool LoadDefinitions(std::string *error = nullptr);

// Loads an interface file held in memory; name is the file name that
// messages give. Refuses a file that is not exactly 20 blocks, has bytes
// after the last, or fails any check of its contents; then nothing
// changes. On success the collation table is made current, texts are
// handed to GetUiText, the name table is loaded, ThousandsFlag is cleared
// and the run-time tables are cleared.
bool LoadDefinitionsFromBytes(const uint8_t *data, size_t size, std::string *error,
                              const char *name = "interface file");

// Forgets the loaded file: frees its blocks and clears every pointer, the
// text lookup, the collation table and the name table.
void InterfaceUnload();
