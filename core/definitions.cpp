// definitions.cpp - lookups into the loaded interface file.
//
// Every offset and count these functions follow was checked against its
// block when the file was loaded (interface_load.cpp), so the walks here
// test only the numbers the callers give.
#include "core/definitions.h"

#include <algorithm>
#include <cassert>
#include <climits>

#include "core/interface_load.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/window_kind.h"

static const uint8_t EmptyName[1] = {0};

static size_t EntryCount(uint16_t lastIndex) { return lastIndex == LastIndexNone ? 0 : (size_t)lastIndex + 1; }

// ---- Texts ----

void UiTextIndexFind(int16_t n, int32_t *position, bool *found) {
    int32_t lo = 0, hi = (int32_t)TextCount - 1;
    *found = false;
    while (lo <= hi) {
        int32_t mid = (lo + hi) / 2;
        int16_t number = (int16_t)DefU16(TextIndex + (size_t)mid * TextEntrySize);
        if (number == n) {
            *found = true;
            *position = mid;
            return;
        }
        if (n < number) {
            hi = mid - 1;
            if (hi < lo) {
                *position = mid;
                return;
            }
        } else {
            lo = mid + 1;
        }
    }
    *position = lo;
}

const uint8_t *UiTextFind(int n) {
    if (!TextIndex || n < INT16_MIN || n > INT16_MAX) return nullptr;
    int32_t position;
    bool found;
    UiTextIndexFind((int16_t)n, &position, &found);
    if (!found) return nullptr;
    return TextPool + DefU32(TextIndex + (size_t)position * TextEntrySize + 2);
}

// ---- Field lists and row layouts ----

static FieldListRef FieldListAt(const uint8_t *block, uint32_t off) {
    if (!block || off == DefNone) return {};
    return FieldListRef{block + off + 2, (uint16_t)EntryCount(DefU16(block + off))};
}

FieldCursor FieldListBegin(FieldListRef list) { return FieldCursor{list.first, list.first ? list.count : 0}; }

bool FieldListNext(FieldCursor *c, FieldInfo *out) {
    if (c->left <= 0) return false;
    const uint8_t *e = c->next;
    *out = FieldInfo{DefU32(e + 2), DefU16(e + 6), DefU16(e + 8)};
    c->next = e + DefU16(e);
    c->left--;
    return true;
}

bool FieldListEntry(FieldListRef list, int i, FieldInfo *out) {
    if (i < 0 || i >= list.count) return false;
    FieldCursor c = FieldListBegin(list);
    for (int k = 0; k < i; k++) c.next += DefU16(c.next);
    return FieldListNext(&c, out);
}

uint32_t RowLayoutRowSize(RowLayoutRef rows) { return rows.layout ? DefU32(rows.layout + 4) : 0; }
uint16_t RowLayoutKindCount(RowLayoutRef rows) { return rows.layout ? DefU16(rows.layout + 8) : 0; }
int RowLayoutFieldCount(RowLayoutRef rows) { return rows.layout ? DefU16(rows.layout + 2) : 0; }

FieldCursor RowLayoutBegin(RowLayoutRef rows) {
    if (!rows.layout) return {};
    return FieldCursor{rows.layout + DefU16(rows.layout), DefU16(rows.layout + 2)};
}

bool RowLayoutNext(FieldCursor *c, RowFieldInfo *out) {
    if (c->left <= 0) return false;
    const uint8_t *e = c->next;
    *out = RowFieldInfo{DefU16(e + 2), DefU32(e + 4), DefU16(e + 8), DefU16(e + 10)};
    c->next = e + DefU16(e);
    c->left--;
    return true;
}

bool RowLayoutField(RowLayoutRef rows, int i, RowFieldInfo *out) {
    if (i < 0 || i >= RowLayoutFieldCount(rows)) return false;
    FieldCursor c = RowLayoutBegin(rows);
    for (int k = 0; k < i; k++) c.next += DefU16(c.next);
    return RowLayoutNext(&c, out);
}

// ---- Registers ----

// The register's 70-byte entry, or null for 0, an unknown number, or no
// file loaded.
static const uint8_t *RegEntry(int reg) {
    if (!RegisterTable || reg < 1 || reg >= RegisterCount) return nullptr;
    return RegisterTable + (size_t)reg * RegisterDefSize;
}

const uint8_t *RegName(int reg) {
    const uint8_t *e = RegEntry(reg);
    return e ? e : EmptyName;
}

uint32_t RegRecordSize(int reg) {
    const uint8_t *e = RegEntry(reg);
    return e ? DefU32(e + 42) : 0;
}

int32_t RegMatrixOffset(int reg) {
    const uint8_t *e = RegEntry(reg);
    return e ? (int32_t)DefU32(e + 46) : DefAbsent;
}

int32_t RegUserCodeOffset(int reg) {
    const uint8_t *e = RegEntry(reg);
    return e ? (int32_t)DefU32(e + 50) : DefAbsent;
}

bool RegIsSimple(int reg) {
    const uint8_t *e = RegEntry(reg);
    return e && DefU16(e + 68) == 1;
}

int RegByName(const char *name) {
    if (!name) return 0;
    PString wanted;
    PStringFromC(wanted, name);
    for (int reg = 1; reg < RegisterCount; reg++) {
        const uint8_t *e = RegEntry(reg);
        if (e && e[0] != 0 && PStringEqual(e, wanted)) return reg;   // an empty name is no register
    }
    return 0;
}

FieldListRef RegFieldList(int reg) {
    const uint8_t *e = RegEntry(reg);
    return e ? FieldListAt(RegisterTable, DefU32(e + 54)) : FieldListRef{};
}

RowLayoutRef RegRowLayout(int reg) {
    const uint8_t *e = RegEntry(reg);
    if (!e || DefU32(e + 60) == DefNone) return {};
    return RowLayoutRef{RegisterTable + DefU32(e + 60)};
}

int RegIndexCount(int reg) {
    const uint8_t *e = RegEntry(reg);
    return e ? (int)EntryCount(DefU16(e + 58)) : 0;
}

const uint8_t *RegIndexDefs(int reg) {
    if (RegIndexCount(reg) == 0) return nullptr;
    return RegisterTable + DefU32(RegEntry(reg) + 64);
}

const uint8_t *RegIndexDef(int reg, int i) {
    if (i < 0 || i >= RegIndexCount(reg)) return nullptr;
    const uint8_t *def = RegIndexDefs(reg);
    for (int k = 0; k < i; k++) def = IndexDefNext(def);
    return def;
}

uint16_t IndexDefHead(const uint8_t *def) { return DefU16(def + 2); }
uint16_t IndexDefPartCount(const uint8_t *def) { return DefU16(def + 4); }
uint16_t IndexDefKeyLength(const uint8_t *def) { return DefU16(def + 6); }
uint16_t IndexDefMaxEntries(const uint8_t *def) { return DefU16(def + 8); }
uint32_t IndexDefNodeSize(const uint8_t *def) { return DefU32(def + 10); }
uint16_t IndexDefWord(const uint8_t *def, int k) { return k >= 0 && k < 3 ? DefU16(def + 14 + 2 * k) : 0; }
const uint8_t *IndexDefName(const uint8_t *def) { return def + IndexDefHeaderSize; }

KeyPartInfo IndexDefPart(const uint8_t *def, int i) {
    assert(def && i >= 0 && i < IndexDefPartCount(def));
    const uint8_t *p = def + DefU16(def) + (size_t)i * KeyPartSize;
    return KeyPartInfo{DefU16(p), DefU32(p + 2), DefU32(p + 6), DefU16(p + 10), DefU16(p + 12)};
}

const uint8_t *IndexDefNext(const uint8_t *def) {
    return def + DefU16(def) + (size_t)IndexDefPartCount(def) * KeyPartSize;
}

// ---- Settings blocks ----

const uint8_t *SettingsBlockDesc(int block, int *index) {
    for (int i = 0; i < SettingsBlockDefCount; i++) {
        const uint8_t *d = SettingsBlockDefs + (size_t)i * SettingsDescEntrySize;
        if (DefU16(d) == block) {
            if (index) *index = i;
            return d;
        }
    }
    if (index) *index = 0;
    return nullptr;
}

int SettingsBlockDescCount() { return SettingsBlockDefCount; }

const uint8_t *SettingsBlockDescAt(int i) {
    if (i < 0 || i >= SettingsBlockDefCount) return nullptr;
    return SettingsBlockDefs + (size_t)i * SettingsDescEntrySize;
}

// desc is a descriptor of the loaded file (never null: the lookups above
// give null for "none", and the caller tests it).
uint16_t SettingsDescNumber(const uint8_t *desc) { return DefU16(desc); }
uint16_t SettingsDescKind(const uint8_t *desc) { return DefU16(desc + 2); }
uint32_t SettingsDescSize(const uint8_t *desc) { return DefU32(desc + 4); }
FieldListRef SettingsDescFields(const uint8_t *desc) { return FieldListAt(SettingsFieldLists, DefU32(desc + 8)); }

RowLayoutRef SettingsDescRows(const uint8_t *desc) {
    uint32_t off = DefU32(desc + 12);
    return off == DefNone ? RowLayoutRef{} : RowLayoutRef{RegisterTable + off};
}

// ---- Window types ----

uint16_t WinTypeWord(int type, int word) {
    if (word < 0 || word >= WinTypeWords) return 0;
    if (!WinTypeTable || type < 0 || type >= WinTypeTableEntries) return word == 0 ? WinTypeUndefined : 0;
    return DefU16(WinTypeTable + (size_t)type * WinTypeEntrySize + 2 * word);
}

int WinTypeKeeping(int kind, int number) {
    // Words: 0 the kind, 8 the register, 9 the settings block.
    const bool settings = kind == KindCode(WindowKind::Settings) || kind == KindCode(WindowKind::SettingsTable);
    for (int type = 1; type < WinTypeTableEntries; type++)
        if (WinTypeWord(type, 0) == kind && WinTypeWord(type, settings ? 9 : 8) == number) return type;
    return 0;
}

uint8_t *WinTypeDef(int type) {
    if (!WinDefinitionBlock || type < 0 || type >= WinTypeTableEntries) return nullptr;
    uint32_t off = DefU32(WinDefinitionBlock + 4 * type);
    return off == DefNone ? nullptr : WinDefinitionBlock + off;
}

// The part's last-index word, or null when the part is absent.
static uint8_t *WinDefPart(uint8_t *def, int part) {
    if (!def || part < 0 || part >= WinDefParts) return nullptr;
    uint32_t off = DefU32(def + 4 * part);
    return off == DefNone ? nullptr : def + off;
}

int WinDefPartCount(const uint8_t *def, int part) {
    const uint8_t *p = WinDefPart(const_cast<uint8_t *>(def), part);
    return p ? (int)EntryCount(DefU16(p)) : 0;
}

uint8_t *WinDefPartEntry(uint8_t *def, int part, int i, uint16_t *size) {
    uint8_t *p = WinDefPart(def, part);
    if (!p || i < 0 || i >= (int)EntryCount(DefU16(p))) return nullptr;
    p += 2;
    uint16_t fixed = WinPartEntrySize[part];
    if (fixed != 0) {
        *size = fixed;
        return p + (size_t)i * fixed;
    }
    for (int k = 0; k < i; k++) p += DefU16(p);
    *size = DefU16(p);
    assert(*size >= 2);   // the loader refuses shorter entries
    return p;
}

// ---- List tables ----

int ListTableCount(int slot) {
    if (slot < 0 || slot >= ListSlotCount || !ListDirectory[slot]) return 0;
    if (ListEntrySize[slot] == 0 && slot != ListSlotChoiceLists) return 0;
    return (int)EntryCount(DefU16(ListDirectory[slot]));
}

const uint8_t *ListTableEntry(int slot, int i) {
    if (i < 0 || i >= ListTableCount(slot)) return nullptr;
    const uint8_t *p = ListDirectory[slot] + 2;
    if (ListEntrySize[slot] != 0) return p + (size_t)i * ListEntrySize[slot];
    for (int k = 0; k < i; k++) p += DefU16(p);
    return p;
}

const uint8_t *MenuDefFirst() {
    const uint8_t *menu = ListDirectory[ListSlotMenus];
    return menu && DefU16(menu + 2) != 0 ? menu : nullptr;
}

const uint8_t *MenuDefNext(const uint8_t *menu) {
    assert(menu && MenuDefNumber(menu) != 0);   // the end mark has no next menu
    const uint8_t *p = menu + DefU16(menu);
    for (int i = 0, n = MenuDefItemCount(menu); i < n; i++) p += DefU16(p);
    return DefU16(p + 2) != 0 ? p : nullptr;
}

uint16_t MenuDefNumber(const uint8_t *menu) { return DefU16(menu + 2); }
const uint8_t *MenuDefTitle(const uint8_t *menu) { return menu + 6; }
uint16_t MenuDefItemCount(const uint8_t *menu) { return DefU16(menu + 4); }

const uint8_t *MenuDefItem(const uint8_t *menu, int i) {
    if (i < 0 || i >= MenuDefItemCount(menu)) return nullptr;
    const uint8_t *p = menu + DefU16(menu);
    for (int k = 0; k < i; k++) p += DefU16(p);
    return p;
}

// ---- Memory and rectangles ----

uint8_t *MemAllocFixed(uint32_t n) {
    MemBlock h = MemAlloc(n);
    return h ? MemLock(h) : nullptr;
}

static int16_t Clamp16(int64_t v) { return (int16_t)std::clamp<int64_t>(v, INT16_MIN, INT16_MAX); }

void RectInflate(MacRect *r, int d) {
    r->top = Clamp16((int64_t)r->top - d);
    r->left = Clamp16((int64_t)r->left - d);
    r->bottom = Clamp16((int64_t)r->bottom + d);
    r->right = Clamp16((int64_t)r->right + d);
}

bool RectEqual(const MacRect *a, const MacRect *b) {
    return a->top == b->top && a->left == b->left && a->bottom == b->bottom && a->right == b->right;
}
