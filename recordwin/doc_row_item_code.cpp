// doc_row_item_code.cpp - the item a choice list of serial numbers starts
// from: the item code of the row selected in the document window that
// opened the list (or the code of the standard text that opened it).
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "rules/choice_list_fill.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

#include <vector>

namespace {

constexpr int ItemCodeMax = 20;

// Where an opener of a register keeps the item code: in its selected
// row (rowSize not 0) or in its own record.
struct ItemSource {
    int reg;
    uint32_t rowSize;
    uint32_t at;
};
constexpr ItemSource Sources[] = {
    {StockMoveVc::Number, StockMoveVc::Rows::Size, StockMoveVc::Rows::ItemCode},
    {StdTextVc::Number, 0, StdTextVc::Code},
    {SHVc::Number, SHVc::Rows::Size, SHVc::Rows::ItemCode},
    {PUVc::Number, PUVc::Rows::Size, PUVc::Rows::ItemCode},
    {IVVc::Number, IVVc::Rows::Size, IVVc::Rows::ItemCode},
    {ORVc::Number, ORVc::Rows::Size, ORVc::Rows::ItemCode},
};

}  // namespace

// Sets the item the serial-number list of choice window `window` starts
// from: emptied, then taken from its opener by the opener's register. A
// row is read only when the opener's selected row is one of its rows; an
// opener of another register leaves the item empty.
void DocRowItemCode(int window)
{
    ChoiceItem[0] = 0;
    if (!WinIsOpen(window)) return;
    int opener = WinOpenerOf2(window);
    if (!WinIsOpen(opener)) return;
    const uint8_t *record = WinRecordBuffer(opener);
    if (!record) return;
    const int reg = WinRegisterOf(opener);
    for (const ItemSource &s : Sources) {
        if (s.reg != reg) continue;
        if (s.rowSize == 0) {
            GetPString(record, s.at, ItemCodeMax, ChoiceItem);
            return;
        }
        int row = WinSelectedRow(opener);
        if (row < 0 || row >= MatrixRowCount(reg, 0, record)) return;
        std::vector<uint8_t> r(s.rowSize);
        if (!MatrixRowGet(reg, 0, record, row, r.data())) return;
        GetPString(r.data(), s.at, ItemCodeMax, ChoiceItem);
        return;
    }
}
