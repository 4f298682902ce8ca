// item_info_window.cpp - the item-information window (type 242,
// "ArtStatIClass"): the item of a document row, the item's two cost
// figures and their difference, and the row's gross profit and its
// percentage. The document windows fill it; nothing in it is typed.
#include <cassert>

#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "rules/prices.h"
#include "shell/field_editing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {
constexpr int ItemInfoType = WinTypes::ItemInfo;
}

// When a window of type 242 is open: commits its current field and shows
// item (a PString code), the two cost figures the cost determination
// gives for the item with costKey (both blank for an empty code or an
// unknown item), the first less the second, the gross profit gp and its
// percentage pct. Nothing when no such window is open.
void ItemInfoWindowUpdate(const uint8_t *item, const uint8_t *costKey, const PackedDecimal *gp,
                          const PackedDecimal *pct)
{
    assert(item && costKey && gp && pct);
    int w = WinFindByDef(ItemInfoType);
    if (w == 0 || !WinIsOpen(w)) return;
    WinCommitField(w);
    if (!WinIsOpen(w)) return;
    PackedDecimal first, second, difference;
    DecSetBlank(&first);
    DecSetBlank(&second);
    if (item[0] != 0 && !ItemCostCall(item, costKey, &first, &second)) {
        DecSetBlank(&first);
        DecSetBlank(&second);
    }
    if (DecIsBlank(&first) && DecIsBlank(&second))
        DecSetBlank(&difference);
    else
        DecSub(&first, &second, &difference);
    WinSetFieldValue(w, int(ItemInfoWin::ItemCode), item);
    WinSetFieldValue(w, int(ItemInfoWin::Cost1), first.b);
    WinSetFieldValue(w, int(ItemInfoWin::Cost2), second.b);
    WinSetFieldValue(w, int(ItemInfoWin::GrossProfit), gp->b);
    WinSetFieldValue(w, int(ItemInfoWin::ProfitPct), pct->b);
    WinSetFieldValue(w, int(ItemInfoWin::CostDiff), difference.b);
}
