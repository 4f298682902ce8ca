// printer_row.cpp - the printer definitions as stored (settings block
// 162, rows of 66 bytes: name, device text and printer text): reading
// and storing the rows whole. The window that edits one row stores
// through these (outputwin/printer_windows.cpp).
//
// Every change reads the block as stored, changes that copy and stores
// it whole, so a change never works on a copy older than the file. A
// block that cannot be read is never stored over: the rows that were not
// read would be lost.
#include "output/printer_rows.h"

#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"
#include "dict_offsets.h"
#include "output/layer_operations.h"

namespace {

constexpr uint32_t RowSize = PrintersBlk::Rows::Size;
constexpr int NameMax = 20;

// A handle freed when it goes out of scope.
struct OwnedHandle {
    MemBlock h = 0;
    OwnedHandle() = default;
    OwnedHandle(const OwnedHandle &) = delete;
    OwnedHandle &operator=(const OwnedHandle &) = delete;
    ~OwnedHandle() { MemFree(&h); }
};

}  // namespace

// Reads the stored rows of block 162 into rows (whole rows only; empty
// when none are stored). False, the user told, when the stored block
// could not be read; a lost connection the access layer has told.
bool PrinterRowsRead(std::vector<uint8_t> *rows)
{
    rows->clear();
    OwnedHandle stored;
    bool read = SettingsBlockFetch(&stored.h, PrintersBlk::Number);
    if (!read) {
        bool none = stored.h == 0 &&
                    (RunModeIsClient() ? !RemoteConnectionLost : SettingsBlockSizeLocal(PrintersBlk::Number) == 0);
        if (!none && !(RunModeIsClient() && RemoteConnectionLost)) ShowTextMessage(Texts::PrinterRowsUnread);
        return none;
    }
    uint32_t size = MemIsValid(stored.h) ? MemSize(stored.h) / RowSize * RowSize : 0;
    if (size == 0) return true;
    const uint8_t *p = MemLock(stored.h);
    if (!p) {
        ShowTextMessage(Texts::PrinterRowsUnread);
        return false;
    }
    rows->assign(p, p + size);
    MemUnlock(stored.h);
    return true;
}

// Stores rows (whole 66-byte rows) as block 162; the copy the program
// keeps of the block follows a store that was done, on a client as well.
// True when stored; a refusal the access layer has told.
bool PrinterRowsStore(const std::vector<uint8_t> &rows)
{
    OwnedHandle h;
    if (!rows.empty()) {
        h.h = MemAlloc(uint32_t(rows.size()));
        uint8_t *p = h.h ? MemLock(h.h) : nullptr;
        if (!p) return false;
        std::memcpy(p, rows.data(), rows.size());
        MemUnlock(h.h);
    }
    return SettingsBlockStoreHandle(PrintersBlk::Number, h.h) == RecDone;
}

// The index of the first of rows whose name is name without regard to
// case, as a form's printer name finds it; -1 when none is.
int PrinterRowByName(const std::vector<uint8_t> &rows, const uint8_t *name)
{
    PString other;
    for (size_t r = 0; r + RowSize <= rows.size(); r += RowSize) {
        GetText(rows.data() + r, PrintersBlk::Rows::Name, other);
        if (PStringCompareNoCase(name, other) == 0) return int(r / RowSize);
    }
    return -1;
}
