// window_pages.cpp - the pages of a record window: which are shown and
// where, choosing one, and stepping through them.
//
// Page 0 stands at the top of the window, always shown. The chosen page
// stands below it; the pages after it (wrapping round past the last)
// follow while they fit, until one that reaches to the bottom of the
// window.
#include <cassert>

#include "core/window_entries.h"
#include "shell/edit_control.h"
#include "shell/field_editing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

// The height of page p of n, and in *last its last-page flag.
int PageHeight(int n, int p, bool *last)
{
    const uint8_t *e = WinDefEntry(n, WinPartPages, p);
    assert(e);
    *last = DefU16(e + PageEntry::Last) != 0;
    return DefU16(e + PageEntry::Height);
}

// Shows page p of n at offset y.
void PageAt(int n, int p, int y)
{
    WinTable[n]->pages[p].shown = 1;
    WinTable[n]->pages[p].offset = int16_t(y);
}

}  // namespace

// Commits the field under edit, then lays out n's pages with page
// `page` below page 0 and the others after it while they fit. With
// `redraw` the window is repainted and its controls made anew.
void WinShowPage(int n, int page, bool redraw)
{
    assert(WinIsOpen(n));
    WinCommitField(n);
    if (!WinIsOpen(n)) return;
    int count = WinDefCount(n, WinPartPages);
    if (count == 0) return;
    int last = count < PageCount ? count - 1 : PageCount - 1;
    WindowRec *w = WinTable[n];
    w->currentPage = uint16_t(page);
    if (redraw) InvalidateWindowNumber(n);
    for (int p = 1; p <= last; p++) w->pages[p].shown = 0;
    bool lastPage;
    int y = PageHeight(n, 0, &lastPage);
    MacRect client;
    WindowClientRect(n, &client);
    int bottom = client.bottom - client.top;
    bool ended = false;
    if (page >= 1 && page <= last) {
        PageAt(n, page, y);
        int height = PageHeight(n, page, &lastPage);
        if (lastPage) ended = true;
        y += height;
    }
    for (int k = 1; !ended && k <= last - 1; k++) {
        int q = page + k;
        if (q > last) q -= last;
        if (q <= 0 || q == page) continue;
        int height = PageHeight(n, q, &lastPage);
        if (y + height > bottom) break;
        PageAt(n, q, y);
        if (lastPage) break;
        y += height;
    }
    w->pages[0].shown = 1;
    w->pages[0].offset = 0;
    if (redraw) {
        WinControlsCreate(n);
        WinFieldsSync(n);
    }
}

// Chooses page `page` of n (0 stands for 1): lays it out and repaints;
// the focus stays on the focused field when the page was already the
// current one, else moves to the field the page names, if any.
void WinChoosePage(int n, int page)
{
    assert(WinIsOpen(n));
    if (page == 0) page = 1;
    bool current = WinTable[n]->currentPage == page;
    WinShowPage(n, page, true);
    if (!WinIsOpen(n)) return;
    if (current) {
        WinGotoField(n, WinFocusFieldNumber(n), true);
        return;
    }
    const uint8_t *e = WinDefEntry(n, WinPartPages, page);
    if (!e || DefU16(e + PageEntry::Focus) == NoEntryOffset) return;
    int F = WinScreenFieldOfOffset(n, DefU16(e + PageEntry::Focus));
    if (F != NoField) WinGotoField(n, F, true);
}

// Chooses page i + 1 of n when i is below its last page index. False
// when the field under edit refuses what was typed: the page stays, and
// the user in the field with his text.
bool WinPageStep(int n, int i)
{
    if (i < 0 || i >= WinDefCount(n, WinPartPages) - 1) return true;
    if (WinTable[n]->currentPage != i + 1 && WinTypedTextRefused(n)) return false;
    WinChoosePage(n, i + 1);
    return true;
}
