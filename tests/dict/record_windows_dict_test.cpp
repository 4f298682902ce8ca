// record_windows_dict_test.cpp - every field and matrix column of the
// authored record windows stands on a field of its register, row or
// settings block with the same stored width, and their record and row
// sizes are the dictionary's: a window that wrote other bytes would
// damage the neighbouring field of every record it stores.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/definitions.h"
#include "core/field_types.h"
#include "core/window_entries.h"
#include "tests/core/built_interface.h"

namespace {

// The stored width of the dictionary field at `offset`; -1 when no field starts there.
int ListWidthAt(FieldListRef list, uint32_t offset)
{
    FieldCursor c = FieldListBegin(list);
    for (FieldInfo fi; FieldListNext(&c, &fi);)
        if (fi.offset == offset) return FieldSize(fi.type, fi.size);
    return -1;
}

// The stored width of the row field at `offset`; -1 when none starts there.
int RowWidthAt(RowLayoutRef rows, uint32_t offset)
{
    FieldCursor c = RowLayoutBegin(rows);
    for (RowFieldInfo ri; RowLayoutNext(&c, &ri);)
        if (ri.offset == offset) return FieldSize(ri.type, ri.size);
    return -1;
}

// Checks every data field of window type `type` against a field list;
// the count of fields checked.
int CheckDataFields(int type, FieldListRef list)
{
    uint8_t *def = WinTypeDef(type);
    int checked = 0;
    for (int i = 0; i < WinDefPartCount(def, WinPartDataFields); i++) {
        uint16_t size;
        const uint8_t *e = WinDefPartEntry(def, WinPartDataFields, i, &size);
        uint32_t offset;
        memcpy(&offset, e + FieldEntry::Offset, 4);
        const uint16_t fieldType = DefU16(e + FieldEntry::Type);
        int width = FieldSize(fieldType, DefU16(e + FieldEntry::Format));
        // A field whose text the window supplies (type 28) writes no bytes
        // of its own width: it must still stand on a field of the record.
        if (fieldType == FtSpare28)
            EXPECT_GE(ListWidthAt(list, offset), 0) << "window " << type << " field " << i << " at " << offset;
        else
            EXPECT_EQ(ListWidthAt(list, offset), width) << "window " << type << " field " << i << " at " << offset;
        checked++;
    }
    return checked;
}

TEST(RecordWindowsDict, FieldsStandOnDictionaryFieldsOfTheirWidth)
{
    std::string error;
    ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
    struct Window {
        int type, reg;
    };
    for (Window w : {Window{590, 2}, Window{591, 46}, Window{347, 5}}) {
        ASSERT_NE(WinTypeDef(w.type), nullptr) << w.type;
        EXPECT_EQ(WinTypeWord(w.type, 8), w.reg);
        EXPECT_EQ(WinTypeWord(w.type, 2), RegRecordSize(w.reg)) << w.type;
        EXPECT_GT(CheckDataFields(w.type, RegFieldList(w.reg)), 1) << w.type;
    }
    const uint8_t *company = SettingsBlockDesc(129, nullptr);
    ASSERT_NE(company, nullptr);
    EXPECT_EQ(WinTypeWord(592, 2), SettingsDescSize(company));
    EXPECT_EQ(CheckDataFields(592, SettingsDescFields(company)), 12);   // with the bank giro, bank-file format and enterprise no.

    // The access rows: the matrix's row size is the register's, and each
    // column stands on a row field of its width.
    uint8_t *def = WinTypeDef(591);
    uint16_t size;
    const uint8_t *matrix = WinDefPartEntry(def, WinPartMatrixAreas, 0, &size);
    ASSERT_NE(matrix, nullptr);
    RowLayoutRef rows = RegRowLayout(46);
    EXPECT_EQ(DefU16(matrix + MatrixEntry::RowSize), RowLayoutRowSize(rows));
    ASSERT_EQ(WinDefPartCount(def, WinPartMatrixColumns), 3);
    for (int i = 0; i < 3; i++) {
        const uint8_t *c = WinDefPartEntry(def, WinPartMatrixColumns, i, &size);
        uint32_t offset;
        memcpy(&offset, c + ColumnEntry::Offset, 4);
        EXPECT_EQ(RowWidthAt(rows, offset), FieldSize(DefU16(c + ColumnEntry::Type), DefU16(c + ColumnEntry::Format)))
            << "column " << i;
    }
}

}  // namespace
