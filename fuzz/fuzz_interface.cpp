// fuzz_interface.cpp - fuzz target of the interface-file loader.
//
// Any input must be either refused with a message or loaded; a loaded
// file is then walked through every lookup, so that a check the loader
// missed shows up as a read outside the loaded blocks.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/definitions.h"
#include "core/interface_load.h"
#include "core/message_sink.h"
#include "core/name_table.h"
#include "core/pstring.h"
#include "core/ui_text.h"

// Reads every byte a reader of the loaded tables can reach, folding them
// into a sum so that the reads are not optimised away.
static uint32_t WalkLoaded() {
    uint32_t sum = 0;
    for (int reg = 0; reg <= RegisterCount; reg++) {
        sum += RegRecordSize(reg) + (uint32_t)RegMatrixOffset(reg) + (uint32_t)RegUserCodeOffset(reg);
        sum += RegIsSimple(reg) + RegName(reg)[0];
        FieldCursor c = FieldListBegin(RegFieldList(reg));
        FieldInfo f;
        while (FieldListNext(&c, &f)) sum += f.offset + f.type + f.size;
        RowLayoutRef rows = RegRowLayout(reg);
        sum += RowLayoutRowSize(rows) + RowLayoutKindCount(rows);
        c = RowLayoutBegin(rows);
        RowFieldInfo rf;
        while (RowLayoutNext(&c, &rf)) sum += rf.kind + rf.offset + rf.type + rf.size;
        for (int i = 0; i < RegIndexCount(reg); i++) {
            const uint8_t *def = RegIndexDef(reg, i);
            sum += IndexDefHead(def) + IndexDefKeyLength(def) + IndexDefNodeSize(def) + IndexDefWord(def, 2);
            sum += PStringLength(IndexDefName(def));
            for (int k = 0; k < IndexDefPartCount(def); k++) sum += IndexDefPart(def, k).length;
        }
    }
    for (int i = 0; i < SettingsBlockDescCount(); i++) {
        const uint8_t *d = SettingsBlockDescAt(i);
        sum += SettingsDescNumber(d) + SettingsDescKind(d) + SettingsDescSize(d);
        FieldCursor c = FieldListBegin(SettingsDescFields(d));
        FieldInfo f;
        while (FieldListNext(&c, &f)) sum += f.offset;
        c = RowLayoutBegin(SettingsDescRows(d));
        RowFieldInfo rf;
        while (RowLayoutNext(&c, &rf)) sum += rf.offset;
    }
    for (int type = -1; type <= WinTypeCount; type++) {
        for (int w = 0; w < WinTypeWords; w++) sum += WinTypeWord(type, w);
        uint8_t *def = WinTypeDef(type);
        for (int part = 0; part < WinDefParts; part++)
            for (int i = 0; i < WinDefPartCount(def, part); i++) {
                uint16_t size = 0;
                const uint8_t *e = WinDefPartEntry(def, part, i, &size);
                if (size > 0) sum += e[0] + e[size - 1];
            }
    }
    for (int slot = 0; slot < 12; slot++)
        for (int i = 0; i < ListTableCount(slot); i++) sum += ListTableEntry(slot, i)[0];
    for (const uint8_t *m = MenuDefFirst(); m; m = MenuDefNext(m)) {
        sum += MenuDefNumber(m) + PStringLength(MenuDefTitle(m));
        for (int i = 0; i < MenuDefItemCount(m); i++) sum += PStringLength(MenuDefItem(m, i) + 8);
    }
    PString text;
    for (uint32_t i = 0; i < TextCount; i++) {
        GetUiText(text, (int16_t)DefU16(TextIndex + i * 6));
        sum += text[0];
    }
    for (uint16_t e = 0; e < NameTableCount(); e++) sum += (uint8_t)NameTableName(e)[0];
    return sum;
}

static void Quiet(const char *) {}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    MessageSinkSet(Quiet);
    std::string error;
    if (LoadDefinitionsFromBytes(data, size, &error, "fuzz input")) {
        volatile uint32_t sum = WalkLoaded();
        (void)sum;
        InterfaceUnload();
    } else if (error.empty()) {
        __builtin_trap();   // a refusal must say why
    }
    return 0;
}
