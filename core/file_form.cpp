// file_form.cpp - field-by-field conversion between memory form and the
// open database's file form (the rules are in file_form.h).
#include "core/file_form.h"

#include <cstring>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/interface_load.h"
#include "core/record_buffer.h"

ByteOrderFlags ByteOrder;

bool ByteOrderSetDatabase(uint8_t flag) {
    if (flag > 1) return false;
    ByteOrder.database = flag;
    return true;
}

bool ByteOrderDiffers() { return ByteOrder.database != ByteOrder.program; }

int ConvertSelector(int direction) {
    bool toFile = direction == ConvertToFile;
    bool databaseOne = ByteOrder.database == 1;
    return (toFile && !databaseOne) || (!toFile && databaseOne) ? 1 : 0;
}

void SwapWord(uint8_t *p) { PutU16(p, 0, SwapWordValue(GetU16(p))); }
void SwapLong(uint8_t *p) { PutU32(p, 0, SwapLongValue(GetU32(p))); }

void PokeWord(uint8_t *p, uint16_t value) { PutU16(p, 0, value); }
uint16_t PeekWord(const uint8_t *p) { return GetU16(p); }

void TranslateChars(uint8_t *text, int selector) {
    const uint8_t *table = CharTranslationTables[selector == 1 ? 1 : 0];
    if (!table) return;
    for (int i = 1; i <= text[0]; i++) text[i] = table[text[i]];
}

void PStringConvert(uint8_t *text, int direction) {
    if (ByteOrderDiffers()) TranslateChars(text, ConvertSelector(direction));
}

void FieldConvert(uint16_t type, int maxLength, uint8_t *p, int selector) {
    if (FieldTypeIsText(type)) {
        if (maxLength >= 0 && p[0] > maxLength) p[0] = (uint8_t)(maxLength > 255 ? 255 : maxLength);
        TranslateChars(p, selector);
        return;
    }
    switch (type) {
    case FtLongOrEmpty:
    case FtLong:
    case FtValue32:
        SwapLong(p);
        break;
    case FtDate:
    case FtDateLong:
        for (int i = 0; i < 3; i++) SwapWord(p + 2 * i);
        break;
    case FtDateTime:
        for (int i = 0; i < 7; i++) SwapWord(p + 2 * i);
        break;
    case FtShort:
    case FtShortB:
    case FtMark:
    case FtChoice:
        SwapWord(p);
        break;
    default:
        break;
    }
}

void FieldConvertIf(uint16_t type, uint8_t *p, int direction) {
    if (ByteOrderDiffers()) FieldConvert(type, -1, p, ConvertSelector(direction));
}

namespace {

// Whether a field of the type and size at offset lies within limit bytes.
// The loader checks where fields start; this also keeps their ends in.
bool FieldFits(uint32_t offset, uint16_t type, uint16_t size, uint32_t limit) {
    return (uint64_t)offset + (uint64_t)FieldSize(type, size) <= limit;
}

// Converts the fields of list at data (limit bytes), leaving out the
// field at skip (-1: none). Returns whether a field of type 32 (a
// balance-block mark) was seen.
bool FieldListConvert(FieldListRef list, uint8_t *data, uint32_t limit, int64_t skip, int selector) {
    bool balance = false;
    FieldCursor c = FieldListBegin(list);
    FieldInfo f;
    while (FieldListNext(&c, &f)) {
        if (f.type == FtBalanceMark) balance = true;
        if ((int64_t)f.offset == skip || !FieldFits(f.offset, f.type, f.size, limit)) continue;
        FieldConvert(f.type, f.size, data + f.offset, selector);
    }
    return balance;
}

}  // namespace

void MatrixConvert(RowLayoutRef layout, uint8_t *data, uint32_t size, int direction, int selector) {
    uint32_t rowSize = RowLayoutRowSize(layout);
    if (rowSize == 0 || !data) return;
    bool severalKinds = RowLayoutKindCount(layout) > 1 && rowSize >= 2;
    uint32_t rows = size / rowSize;
    for (uint32_t r = 0; r < rows; r++) {
        uint8_t *row = data + (size_t)r * rowSize;
        uint16_t kind = 1;
        if (severalKinds) {
            // The kind word is read in memory form: before its swap when
            // going to file form, after it when coming from there.
            if (direction == ConvertToFile) kind = GetU16(row);
            SwapWord(row);
            if (direction != ConvertToFile) kind = GetU16(row);
        }
        FieldCursor c = RowLayoutBegin(layout);
        RowFieldInfo f;
        while (RowLayoutNext(&c, &f)) {
            if (f.kind != kind || (severalKinds && f.offset == 0)) continue;
            if (!FieldFits(f.offset, f.type, f.size, rowSize)) continue;
            FieldConvert(f.type, f.size, row + f.offset, selector);
        }
    }
}

void RecordConvert(int reg, uint8_t *record, int direction) {
    if (!ByteOrderDiffers() || !record) return;
    int selector = ConvertSelector(direction);
    int32_t slotAt = RegMatrixOffset(reg);
    bool balance = FieldListConvert(RegFieldList(reg), record, RegRecordSize(reg), slotAt, selector);

    MemBlock h = RecMatrixHandle(reg, record);
    if (h == 0) return;
    uint8_t *data = MemLock(h);
    uint32_t size = MemSize(h);
    if (balance) {
        if (size >= 2) SwapWord(data);
    } else {
        RowLayoutRef rows = RegRowLayout(reg);
        if (rows.layout) MatrixConvert(rows, data, size, direction, selector);
    }
    MemUnlock(h);
}

void BlockConvert(int block, uint8_t *data, int direction) {
    if (!ByteOrderDiffers() || !data) return;
    const uint8_t *desc = SettingsBlockDesc(block, nullptr);
    if (!desc) return;
    FieldListConvert(SettingsDescFields(desc), data, SettingsDescSize(desc), -1, ConvertSelector(direction));
}

void BlockMatrixConvert(int block, uint8_t *data, uint32_t size, int direction) {
    if (!ByteOrderDiffers() || !data) return;
    const uint8_t *desc = SettingsBlockDesc(block, nullptr);
    if (!desc) return;
    MatrixConvert(SettingsDescRows(desc), data, size, direction, ConvertSelector(direction));
}
