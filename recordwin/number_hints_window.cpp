// number_hints_window.cpp - the Number hints window (type 240) once its
// block is read.
//
// Block 132 is the company's entry state: the program keeps it in memory
// from the open of the company to its close, and each stored voucher,
// customer, vendor and invoicing run writes its last number or code
// there, while the stored block changes only at the close. The window
// reads the stored block; shown as read, it would show a last voucher
// that is no longer the one the next voucher's number starts from, and
// storing it would put that old state back. So the window shows the
// block as the program keeps it. A client keeps no entry state of its
// own (its server does): its window shows the stored block.
#include "recordwin/record_windows.h"

#include <algorithm>
#include <cstring>

#include "core/memblock.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "rules/rules_types.h"
#include "shell/window_table.h"

// Puts the entry state the program keeps into Number hints window
// `window` in place of the stored block it read, without marking the
// window changed. Nothing in a client or while the block is not bound.
void NumberHintsWindowLoaded(int window)
{
    uint8_t *shown = WinIsOpen(window) ? WinRecordBuffer(window) : nullptr;
    if (!shown || RunModeIsClient()) return;
    const uint8_t *kept = SettingsRecord(SeriesDefaultsBlk::Number, SeriesStateBlock);
    if (!kept) return;
    const uint32_t size = std::min<uint32_t>(MemSize(WinTable[window]->recordHandle), SeriesDefaultsBlk::Size);
    std::memcpy(shown, kept, size);
}
