// settings_binding.h - binding the settings blocks that the program reads
// through globals to their buffers and handle variables at start-up.
//
// The globals themselves (CompanyBlock, CurrencyRows, ...) are declared
// in core/work_blocks.h, so that core code may read them; this file
// fills them once the interface file is loaded, through the settings
// layer (settings_blocks.h), which then loads each block into its place
// on first use.
#pragma once

#include <cstdint>

#include "core/memblock.h"

// One fixed-buffer binding: block, size, lazy flag and the global.
struct FixedBlockBinding {
    uint16_t block;
    uint16_t size;
    uint8_t lazy;
    uint8_t **global;
};
// One handle binding: block and the handle variable (lazy flag 1).
struct HandleBlockBinding {
    uint16_t block;
    MemBlock *variable;
};
extern const FixedBlockBinding FixedBlockBindings[18];
extern const HandleBlockBinding HandleBlockBindings[12];

// After the interface file is loaded: refuses (false, after the message)
// when no definitions of this program's version are loaded; otherwise
// binds the blocks of the two tables above, fills the format block with
// the default formats and clears the current module. false too when a
// buffer could not be had (the memory layer has said so).
bool SettingsStartup();

// Stores settings block `block` from the data of handle through the
// settings store (with its check); that result.
int SettingsBlockStoreMem(int block, MemBlock handle);
