// window_table.h - the table of open windows and the record of one window.
//
// Every open window has a number 1..100 and a WindowRec in WinTable (slot
// 0 is never used). A WindowRec is never stored or sent, so it is a plain
// struct on the heap, owned by its slot from WinSlotAlloc to WinClose; it
// is not a MemBlock, whose bytes are only 4-byte aligned while the record
// holds pointers. It holds the state of every window framework routine. The accessors are
// plain indexed reads without checks: callers pass an open window.
//
// A window is an instance of a window type of the interface file: its
// 23 words (WinTypeWord) and its layout (WinTypeDef), core/definitions.h.
#pragma once

#include <array>
#include <cstdint>
#include <type_traits>

#include "core/definitions.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/window_kind.h"
#include "core/window_entries.h"
#include "platform/geometry.h"

constexpr int WinFirst = 1, WinLast = 100, WinSlots = 101;  // slot 0 unused
constexpr int WinTableFull = 101;                           // WinSlotAlloc: no free slot
constexpr int ControlSlotCount = 31, PageCount = 10;
constexpr uint32_t NoOffset = 0xFFFFFFFF;
constexpr int EditedBindingSize = FieldEntry::BindingSize;  // the binding's first bytes
constexpr int EditedBindingOffsetAt = FieldEntry::Offset;   // its record offset, NoOffset at alloc

// One per entry of the window's control list. A list pane's scroll state
// lives in the slot of its pane's control: position is its top row,
// minimum and maximum the range the top may take, rowsShown its rows.
struct ControlSlot {
    uint32_t control;            // created platform control (scroll bar), 0 none; 0 at alloc
    int32_t position;            // scroll position; list and matrix panes: their top row
    int32_t minimum, maximum;    // scroll range
    int32_t pageSize;
    int16_t rowsShown;           // pane: inner height / row height + 1
    int16_t selectedRow;         // matrix slot: selected row, -1 none
    int16_t selection;           // selection word, -1 none
    uint8_t drawn, enabled;
    uint8_t pressed;             // push button drawn pressed; 0 at alloc
};

struct PageState {
    uint8_t shown;               // page 0 shown at alloc
    int16_t offset;
};

// A list limited to the rows whose first index part is one code
// (list_filter.cpp). first and count place those rows in the current
// column's index; they are taken anew before the rows are read, as other
// rows may have come or gone.
struct ListFilterState {
    uint8_t on;                  // 0: every row of the register
    PString code;                // the value of the index's first part
    PString label;               // whose rows they are, for the title
    int32_t first;               // index position of the code's first row (1-based)
    int32_t count;               // the code's rows
};

struct WindowRec {
    uint16_t windowType;         // 0 once closed
    uint32_t recordId;           // record shown; the key of its record lock
    uint16_t editState;          // 0..5, shown in the title
    MemBlock recordHandle;       // record buffer, type word 2 bytes; 0 when word 2 is 0
    uint8_t *record;
    MemBlock storedHandle;       // copy of the record as read
    uint8_t *stored;
    PString browseText;          // key text of record browsing; empty at open
    // the field under edit
    uint32_t editControl;        // the one EDIT control, 0 none
    std::array<uint8_t, EditedBindingSize> editedBinding;  // copy of the binding entry
    MemBlock editedRecord;       // block holding the field (record or rows), 0 at open
    uint16_t editedRow;
    uint8_t editFlag;            // cleared when the edit control opens
    uint8_t editFirstClick;      // set when the edit control opens; the first click on it clears it
    uint8_t editRectMoved;       // the edit rectangle grew
    MacRect editRect;
    uint16_t editFieldType, editFieldAccess, editFieldLength;
    uint32_t editFieldOffset;    // NoOffset when none
    uint16_t lookupKind;
    int16_t chooser;
    uint16_t editFieldPage;
    PString editOpenText;        // text when the edit control opened (change test)
    PString editText;
    std::array<uint8_t, 256> oldValue;  // field value before the commit
    int16_t currentField;        // focused screen-field number, 0 at alloc
    uint16_t currentRow;         // current matrix row, 0 at alloc
    int16_t selectedMatrixRow;   // -1 at alloc
    uint16_t matrixColumnPage;
    uint16_t listRowHeight;      // 16 at open
    uint8_t changed;             // repainted by the main loop
    uint32_t listBox;            // LISTBOX of list windows, 0 none
    std::array<ControlSlot, ControlSlotCount> controls;
    std::array<PageState, PageCount> pages;
    uint16_t currentPage;        // 1 at open
    uint16_t pageScroll;         // 1 when the type has pages
    // list state: positions 1-based, -1 none; selCurrent -2 picks the first row on refill
    int32_t selStart, selCurrent, selEnd;  // -1 at alloc
    MemBlock rowIds;             // i32 record id per visible row
    MemBlock markedIds;          // the marked set, empty at open; at most 101 ids
    MemBlock listScratch;        // empty list scratch block of kinds 1, 2, 4 and 11
    uint16_t listColumn;         // current list column
    uint16_t choiceList;         // current choice-list number
    int16_t reportPaneWidth, reportPaneHeight;  // type 5: client w - 15, h - 21; width -1 at alloc
    uint32_t attachedSize;       // byte size of the record's attached rows, 0 none
    uint16_t opener;             // window that opened this one, 0 none
    uint32_t mdiChild;           // the MDI child window
    MacRect contentRect, scrollRect;
    MemBlock designerSelection;  // form designer (kind 11)
    int32_t paneScroll, paneHeight;
    uint16_t parentDesigner;
    int32_t registerCount;       // kinds 1, 2: the register's record count + 1 (ListPrepare); 0 at alloc
    uint16_t dialogChoice;       // type 23: the last button 1..5 pressed (DialogButton); 0 at alloc
    ListFilterState filter;      // kinds 1, 2: limited to one code's rows (list_filter.cpp); off at alloc
};
static_assert(std::is_trivially_copyable_v<WindowRec> && std::is_standard_layout_v<WindowRec>);

extern std::array<WindowRec *, WinSlots> WinTable;   // null = free

inline int WinTypeOf(int n) { return WinTable[n]->windowType; }
inline int WinKindOf(int n) { return n ? WinTypeWord(WinTypeOf(n), 0) : 0; }
inline int WinTypeRegister(int type) { return WinTypeWord(type, 8); }
// The type's related window type (word 1), 0 none.
inline int WinTypeRelated(int type) { return WinTypeWord(type, 1); }
// The type's menu kind (word 22); MenuKindEditOnly greys File, Record and both popups.
constexpr int MenuKindEditOnly = 1;
inline int WinTypeMenuKind(int type) { return WinTypeWord(type, 22); }
inline int WinRegisterOf(int n) { return WinTypeRegister(WinTypeOf(n)); }
inline int WinModeOf(int n) { return int(WinTable[n]->recordId & 0xFFFF); }
inline uint8_t *WinRecordBuffer(int n) { return WinTable[n]->record; }
inline uint8_t *WinStoredRecord(int n) { return WinTable[n]->stored; }
inline int WinRecState(int n) { return WinTable[n]->editState; }
// The edit states a record window's code tells apart: a stored record
// shown unchanged, a new record, a stored record being changed.
constexpr int StateShown = 0, StateNew = 1, StateChanging = 2;
inline int WinListColumn(int n) { return WinTable[n]->listColumn; }
inline int WinOpenerOf(int n) { return WinTable[n]->opener; }
inline int WinOpenerOf2(int n) { return WinTable[n]->opener; }
inline int WinFocusFieldNumber(int n) { return n ? WinTable[n]->currentField : 0; }
inline int WinSelectedRow(int n) { return WinTable[n]->selectedMatrixRow; }
inline uint32_t WinListBox(int n) { return WinTable[n]->listBox; }
inline uint32_t WinAttachedSize(int n) { return WinTable[n]->attachedSize; }
inline int32_t WinRegisterCount(int n) { return WinTable[n]->registerCount; }
inline bool WinDefExists(int type) { return WinTypeWord(type, 0) < 65535; }
// The one checked accessor: n names an open window.
inline bool WinIsOpen(int n) { return n >= WinFirst && n <= WinLast && WinTable[n]; }
// True for an open list of a register's records or list to choose from.
inline bool WinIsList(int n) {
    const int kind = WinIsOpen(n) ? WinKindOf(n) : -1;
    return kind == KindCode(WindowKind::List) || kind == KindCode(WindowKind::ChoiceList);
}

// The operations popup of n's window type, 0 none.
uint32_t WinOpsMenu(int n);
// Attached size divided by the row size of matrix column 0; 0 when that is below 1.
int MatrixRowsPerUnit(int n);
// Offset of the attached-rows handle in n's record: 0 for kind 9, -1 without register.
int32_t WinRecordHandleOffset(int n);
// Entry i of n's field list, of n's control list; null when there is none.
uint8_t *WinFieldDef(int n, int i);
uint8_t *WinControlByIndex(int n, int i);
// Client rectangle of n's child window.
void WindowClientRect(int n, MacRect *out);
// Invalidates n's child with erasing; 0 invalidates the desktop.
void InvalidateWindowNumber(int n);
// Empties n's list box.
void ListBoxReset(int n);
// Appends a PString row to n's list box.
void ListBoxAddString(int n, const uint8_t *text);
// The last selected row of n's list box; -1 when none or no list box.
int ListSelectedIndex(int n);
// True when point (y in the high half, x in the low half) lies in r.
bool PtInMacRect(int32_t point, const MacRect *r);
// Converts a top, left, bottom, right rectangle to the platform's form.
void RectToWin(const MacRect *r, PlRect *out);
// Converts a platform rectangle to top, left, bottom, right.
void RectFromWin(const PlRect *r, MacRect *out);
// Resolves a stored rectangle against an area (window_rects.cpp): a
// coordinate >= 0 counts from the area's left or top edge, a negative one
// from its right or bottom edge, which stays exclusive, so (10, 5, -20,
// -5) leaves 5 pixels free at the right and 20 at the bottom.
void WinRectResolve(const MacRect *stored, const MacRect *area, MacRect *out);
// The list-box rectangle of n's type resolved against n's client area;
// false when the type has none (its bottom word is 0).
bool WinListBoxRect(int n, MacRect *out);

// Empties the table, freeing the record of every window still in it.
void WinTableInit();
// Takes and initialises the first free slot; WinTableFull when none is free.
int WinSlotAlloc();
// Marks a window type in use, building its operations popup once.
void WinTypeUse(int type);
// Opens a window of the type; its number, or 0 when refused.
int OpenWindow(int type, int unused);
// The MDI child's rectangle (relative to the MDI client) of a window of
// the type opened at rectangle r of the type's form, and the inverse.
PlRect WinTypeRectToChild(int type, const MacRect &r);
MacRect WinChildToTypeRect(int type, const PlRect &c);
// Sets n's caption from its type's title, record text and edit state.
void WinTitleUpdate(int n);
// The resolved rectangle of control i of n's control list.
void WinFieldRect(int n, int control, MacRect *out);
// Brings n's title, controls and attached size up to a replaced record.
void WinRecordRefresh(int n);
// Resets n's value controls to their initial values and marks n changed.
void WinFieldsSync(int n);
// The first open window of the type; 0 when none.
int WinFindByDef(int type);
// The first open window whose type has this name text; 0 when none.
int WinFindByName(const char *name);
// The first defined type whose non-empty name text equals name; 0 when none.
int WinTypeByName(const char *name);
// Closes window n and frees its record and slot.
void WinClose(int n);
// Gives back the record or settings lock n holds while changing (state 2).
void WinReleaseLock(int n);
