// page_setup_bytes.cpp - reads a stored page set-up's bytes; the printer
// job uses it for the user's own set-up and for one a server sent.
#include "output/page_setup_bytes.h"

#include <span>

// Reads the set-up stored in block `handle` into *setup; false, *setup
// unchanged, for a null block or bytes that are no stored set-up.
bool PageSetupFromHandle(MemBlock handle, PlPrintSetup *setup)
{
    if (handle == 0 || !MemIsValid(handle)) return false;
    const uint8_t *p = MemLock(handle);
    bool ok = DlgPrintSetupFromBytes(std::span<const uint8_t>(p, MemSize(handle)), setup);
    MemUnlock(handle);
    return ok;
}
