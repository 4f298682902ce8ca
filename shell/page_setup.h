// page_setup.h - the page set-up a user keeps per window type: the print
// set-up dialog and its stored form, a record of register "PageSetupVc"
// keyed by the user, an order flag and the window type, whose device-mode
// handle holds the set-up's bytes.
#pragma once

#include <cstdint>

#include "core/memblock.h"
#include "output/page_setup_bytes.h"   // PageSetupFromHandle, PageSetupDialogFlag
#include "platform/dialog.h"


// The stored set-up of the current user for a window type into *handle
// (a new block the caller frees); a null handle when none is stored, and
// then the defaults apply.
void PageSetupLoad(int windowType, int orderFlag, MemBlock *handle);
// Stores a set-up's block for the current user and a window type; false
// when it was not stored (the user has been told).
bool PageSetupStore(int windowType, int orderFlag, const MemBlock *device);
// The print set-up dialog for a window type; true when a set-up was stored.
bool PrintSetupDialog(int unused, int windowType);
// Deletes the stored set-up of the current user for a window type; true when deleted.
bool PageSetupRecordSave(int windowType);
// Copies a block into a new one (a null block gives null).
void CopyGlobalToMem(const MemBlock *from, MemBlock *to);
void CopyMemToGlobal(const MemBlock *from, MemBlock *to);
