// printer_row.cpp - the OK of the window that edits one printer
// definition (a 66-byte row of settings block 162: name, device text and
// printer text).
#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/layer_operations.h"
#include "shell/window_table.h"

namespace {

// Told when the row has no name to be found by.
constexpr int TextPrinterNeedsName = 11713;
constexpr uint32_t RowSize = PrintersBlk::Rows::Size;

}  // namespace

// Stores the row window n edits into block 162: in place of the stored
// row of the same name, or after the rows when none has it; then the
// window closes. A row without a name is refused, and a refused or failed
// store leaves the window open with its row, so nothing typed is lost.
// True when stored.
bool PrinterRowWindowOk(int n)
{
    if (!WinIsOpen(n)) return false;
    const uint8_t *row = WinRecordBuffer(n);
    if (!row || MemSize(WinTable[n]->recordHandle) < RowSize) return false;
    PString name, other;
    GetPString(row, PrintersBlk::Rows::Name, 20, name);
    if (name[0] == 0) {
        FieldError(TextPrinterNeedsName, nullptr, uint16_t(PrintersBlk::Rows::Name));
        return false;
    }
    MemBlock stored = 0;
    SettingsBlockFetch(&stored, PrintersBlk::Number);
    std::vector<uint8_t> rows;
    if (MemIsValid(stored) && MemSize(stored) >= RowSize) {
        const uint8_t *p = MemLock(stored);
        if (p) rows.assign(p, p + MemSize(stored) / RowSize * RowSize);
        if (p) MemUnlock(stored);
    }
    MemFree(&stored);
    size_t at = rows.size();
    for (size_t r = 0; r < rows.size(); r += RowSize) {
        GetPString(rows.data() + r, PrintersBlk::Rows::Name, 20, other);
        if (PStringEqual(name, other)) at = r;
    }
    if (at == rows.size()) rows.resize(rows.size() + RowSize);
    std::memcpy(rows.data() + at, row, RowSize);
    if (SettingsBlockStore(PrintersBlk::Number, rows.data(), uint32_t(rows.size())) != RecDone) return false;
    WinClose(n);
    return true;
}
