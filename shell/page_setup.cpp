// page_setup.cpp - the page set-up a user keeps per window type, and the
// print set-up dialog that edits it.
#include "shell/page_setup.h"

#include "core/ui_text.h"
#include "dict_offsets.h"

// Loads a stored set-up; not built yet: none is found (a null handle, so
// the defaults apply).
void PageSetupLoad(int windowType, int orderFlag, MemBlock *handle) { *handle = 0; }

// Stores a set-up; not built yet: the user is told and nothing is stored (false).
bool PageSetupStore(int windowType, int orderFlag, const MemBlock *device)
{
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}

// The print set-up dialog; not built yet: the user is told and nothing is
// stored (false).
bool PrintSetupDialog(int unused, int windowType)
{
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}

// Deletes a stored set-up; not built yet: nothing is deleted (false).
bool PageSetupRecordSave(int windowType) { return false; }

// Copies a block; not built yet: nothing is copied (a null block).
void CopyGlobalToMem(const MemBlock *from, MemBlock *to) { *to = 0; }

// Copies a block; not built yet: nothing is copied (a null block).
void CopyMemToGlobal(const MemBlock *from, MemBlock *to) { *to = 0; }

// Reads a stored set-up; not built yet: nothing is read (false, defaults).
bool PageSetupFromHandle(MemBlock handle, PlPrintSetup *setup) { return false; }
