// definitions.h - lookups into the loaded interface file.
//
// Registers, settings blocks, window types, texts and lists are reached
// by number through these functions; nothing else reads the loaded
// blocks' bytes (layout in core/interface_write.h). The loader checked
// every count and offset, so the lookups trust the structure; they check
// only the numbers their callers pass. With no interface file loaded
// every lookup gives its "none" answer.
//
// Also here: the whole-run allocation, pointer offsetting, and the two
// rectangle operations on the four 16-bit values of a MacRect.
#pragma once

#include <cstdint>

// ---- Little-endian values inside the loaded blocks ----

inline uint16_t DefU16(const uint8_t *p) { return (uint16_t)(p[0] | p[1] << 8); }
inline uint32_t DefU32(const uint8_t *p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

// ---- Texts ----

// Binary search of the text index for n, the numbers ordered as signed
// 16-bit values. *found tells whether entry *position holds n; when it
// does not, *position is where n would stand (0..count).
void UiTextIndexFind(int16_t n, int32_t *position, bool *found);
// Text number n as a PString inside the text pool, or null when the
// loaded file lacks it (or n is not a 16-bit number).
const uint8_t *UiTextFind(int n);

// ---- Field lists and row layouts ----

struct FieldInfo {
    uint32_t offset;
    uint16_t type;    // FieldType
    uint16_t size;    // for a text its maximum length
};

struct RowFieldInfo {
    uint16_t kind;    // row kind the field applies to (1 with one kind)
    uint32_t offset;
    uint16_t type;
    uint16_t size;
};

// A field list: its first entry and the number of entries (0: no fields).
struct FieldListRef {
    const uint8_t *first = nullptr;
    uint16_t count = 0;
};

// A row layout, or none (null).
struct RowLayoutRef {
    const uint8_t *layout = nullptr;
};

// Walks the entries of a field list or of a row layout in order.
struct FieldCursor {
    const uint8_t *next = nullptr;
    int left = 0;
};

FieldCursor FieldListBegin(FieldListRef list);
// The next field into *out; false after the last.
bool FieldListNext(FieldCursor *c, FieldInfo *out);
// Field i (0-based) into *out; false when there is no field i.
bool FieldListEntry(FieldListRef list, int i, FieldInfo *out);

uint32_t RowLayoutRowSize(RowLayoutRef rows);     // 0 for none
uint16_t RowLayoutKindCount(RowLayoutRef rows);   // 0 for none
int RowLayoutFieldCount(RowLayoutRef rows);
FieldCursor RowLayoutBegin(RowLayoutRef rows);
bool RowLayoutNext(FieldCursor *c, RowFieldInfo *out);
bool RowLayoutField(RowLayoutRef rows, int i, RowFieldInfo *out);

// ---- Registers (numbers 1..132; 0 and others give "none") ----

// The register's name as a PString (the empty text for none).
const uint8_t *RegName(int reg);
uint32_t RegRecordSize(int reg);          // 0 for register 0
int32_t RegMatrixOffset(int reg);         // -1: the register has no rows
int32_t RegUserCodeOffset(int reg);       // -1: none
bool RegIsSimple(int reg);
// The register whose name equals name (compared exactly, as a PString),
// trying 1..132 in order; 0 when none. Undefined numbers have an empty
// name and are never found, not even for "" .
int RegByName(const char *name);
FieldListRef RegFieldList(int reg);
RowLayoutRef RegRowLayout(int reg);

// Index definitions: the register's first IndexDef (null when it has
// none), their number, and definition i (null when there is no i).
const uint8_t *RegIndexDefs(int reg);
int RegIndexCount(int reg);
const uint8_t *RegIndexDef(int reg, int i);

// Reading one IndexDef (also the engine's own definitions, which have
// the same form).
struct KeyPartInfo {
    uint16_t word;
    uint32_t recordOffset;
    uint32_t keyOffset;
    uint16_t length;
    uint16_t type;
};
uint16_t IndexDefHead(const uint8_t *def);
uint16_t IndexDefPartCount(const uint8_t *def);
uint16_t IndexDefKeyLength(const uint8_t *def);
uint16_t IndexDefMaxEntries(const uint8_t *def);
uint32_t IndexDefNodeSize(const uint8_t *def);
uint16_t IndexDefWord(const uint8_t *def, int k);          // the three words, k = 0..2
const uint8_t *IndexDefName(const uint8_t *def);           // PString
KeyPartInfo IndexDefPart(const uint8_t *def, int i);        // i < IndexDefPartCount
const uint8_t *IndexDefNext(const uint8_t *def);           // the definition after def

// ---- Settings blocks ----

// The first descriptor whose block number is block, or null; its index
// (0 when none) goes to *index when index is not null.
const uint8_t *SettingsBlockDesc(int block, int *index);
int SettingsBlockDescCount();
const uint8_t *SettingsBlockDescAt(int i);               // null out of range
uint16_t SettingsDescNumber(const uint8_t *desc);
uint16_t SettingsDescKind(const uint8_t *desc);          // 0: a table of rows
uint32_t SettingsDescSize(const uint8_t *desc);          // of the record, or of one row
FieldListRef SettingsDescFields(const uint8_t *desc);
RowLayoutRef SettingsDescRows(const uint8_t *desc);

// ---- Window types ----

// Word (0..22) of window type type's entry. An unknown type, or no file
// loaded, reads as undefined: word 0 is 65535, the others 0.
uint16_t WinTypeWord(int type, int word);
// The first window type of kind `kind` (core/window_kind.h) that keeps
// register `number` (a list or record window) or settings block `number`
// (a settings window); 0 when none does. Messages name the window a user
// opens to mend what they tell of by its title (word 10).
int WinTypeKeeping(int kind, int number);
// The layout (WinDefinition) of window type type, or null when it has
// none. The window code writes resolved positions back into it.
uint8_t *WinTypeDef(int type);

// The 11 parts of a WinDefinition.
enum WinPart : int {
    WinPartDataFields, WinPartStaticTexts, WinPartControls, WinPartListPanes,
    WinPartMatrixColumns, WinPartMatrixAreas, WinPartFieldList, WinPartBoxes,
    WinPartIconButtons, WinPartPages, WinPartMenuItems
};
// Entries of part part (0 when the part is absent).
int WinDefPartCount(const uint8_t *def, int part);
// Entry i of the part, with its size in bytes in *size; null when there
// is no entry i.
uint8_t *WinDefPartEntry(uint8_t *def, int part, int i, uint16_t *size);

// ---- List tables ----

// Entries of list slot 0..8 or 11 (0 when absent); entry i of it (null
// when there is none; choice-list entries begin with their own length).
int ListTableCount(int slot);
const uint8_t *ListTableEntry(int slot, int i);

// Menu definitions (slot 10): the first menu, the next one, null at the
// end mark. A menu's number, title (PString), item count, and item i
// (its u16 length first; title PString at +8).
const uint8_t *MenuDefFirst();
const uint8_t *MenuDefNext(const uint8_t *menu);
uint16_t MenuDefNumber(const uint8_t *menu);
const uint8_t *MenuDefTitle(const uint8_t *menu);
uint16_t MenuDefItemCount(const uint8_t *menu);
const uint8_t *MenuDefItem(const uint8_t *menu, int i);

// ---- Memory and rectangles ----

// A zero-filled block of n bytes, locked, that lives for the whole run;
// null when memory cannot be had.
uint8_t *MemAllocFixed(uint32_t n);
inline uint8_t *PtrAdd(uint8_t *p, uint32_t n) { return p + n; }
inline const uint8_t *PtrAdd(const uint8_t *p, uint32_t n) { return p + n; }

struct MacRect {
    int16_t top, left, bottom, right;
};

// Moves every side outward by d (inward for a negative d): top and left
// decrease, bottom and right increase. Values stay within 16 bits.
void RectInflate(MacRect *r, int d);
bool RectEqual(const MacRect *a, const MacRect *b);
