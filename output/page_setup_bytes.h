// page_setup_bytes.h - a stored page set-up's bytes read back into the
// printer's set-up (page_setup_bytes.cpp). The set-ups themselves are
// kept per user and window type by the shell's page set-up.
#pragma once

#include "core/memblock.h"
#include "platform/dialog.h"

// The one order flag under which a set-up is stored, loaded and deleted.
constexpr int PageSetupDialogFlag = 1;

// Bytes of a stored set-up read into *setup; false (defaults) for a null or foreign block.
bool PageSetupFromHandle(MemBlock handle, PlPrintSetup *setup);
