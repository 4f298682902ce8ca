// choice_lists.cpp - lookups of choice-list values and texts in the list
// tables of the loaded interface file (see core/choice_lists.h).
//
// The loader checked every table against its block, so an entry's pairs
// lie inside it; the lookups only bound themselves by each table's own
// count.
#include "core/choice_lists.h"

#include "core/decimal.h"
#include "core/definitions.h"
#include "core/interface_write.h"
#include "core/list_slot.h"
#include "core/pstring.h"
#include "core/ui_text.h"

namespace {


// Which words of an 8-byte entry of the module or register-window table
// hold the value and the text number.
struct TableWords {
    int slot;
    int valueWord;
    int textWord;
};
constexpr TableWords ModuleWords = {SlotCode(ListSlot::ModuleWindows), 0, 1};
constexpr TableWords RegWinWords = {SlotCode(ListSlot::ModuleMenu), 2, 0};

uint16_t Word(const uint8_t *entry, int w) { return DefU16(entry + 2 * w); }

bool TableText(const TableWords &t, uint16_t value, int *index, uint8_t *out) {
    for (int i = 0, n = ListTableCount(t.slot); i < n; i++) {
        const uint8_t *e = ListTableEntry(t.slot, i);
        if (Word(e, t.valueWord) != value) continue;
        GetUiText(out, Word(e, t.textWord));
        *index = i;
        return true;
    }
    return false;
}

bool TableValue(const TableWords &t, const uint8_t *text, uint16_t *value, int *index) {
    PString entryText;
    for (int i = 0, n = ListTableCount(t.slot); i < n; i++) {
        const uint8_t *e = ListTableEntry(t.slot, i);
        GetUiText(entryText, Word(e, t.textWord));
        if (PStringCompareNoCase(entryText, text) != 0) continue;
        *value = Word(e, t.valueWord);
        *index = i;
        return true;
    }
    return false;
}

bool TableTextAt(const TableWords &t, int i, uint8_t *out, uint16_t *value) {
    const uint8_t *e = ListTableEntry(t.slot, i);   // null outside the table
    if (!e) return false;
    GetUiText(out, Word(e, t.textWord));
    *value = Word(e, t.valueWord);
    return true;
}

uint16_t PairCount(const uint8_t *entry) { return DefU16(entry + 4); }
uint16_t PairValue(const uint8_t *entry, int i) { return DefU16(entry + 6 + 4 * i); }
uint16_t PairText(const uint8_t *entry, int i) { return DefU16(entry + 8 + 4 * i); }

}  // namespace

const uint8_t *ChoiceListFind(int list) {
    if (list <= 0 || list > 0xFFFF) return nullptr;
    for (int i = 0, n = ListTableCount(ListSlotChoiceLists); i < n; i++) {
        const uint8_t *e = ListTableEntry(ListSlotChoiceLists, i);
        if (DefU16(e + 2) == list) return e;
    }
    return nullptr;
}

bool ChoiceTextOf(int list, uint16_t value, int *index, uint8_t *out) {
    LongToDigitText(static_cast<int16_t>(value), out);
    *index = 0;
    if (list == -2) return RegWinChoiceText(value, index, out);
    if (list == -1) return ModuleChoiceText(value, index, out);
    const uint8_t *e = ChoiceListFind(list);
    if (!e) return false;
    for (int i = 0, n = PairCount(e); i < n; i++) {
        if (PairValue(e, i) != value) continue;
        GetUiText(out, PairText(e, i));
        *index = i;
        return true;
    }
    return false;
}

bool ChoiceValueOf(int list, const uint8_t *text, uint16_t *value, int *index) {
    *value = static_cast<uint16_t>(TextToLong(text));
    *index = 0;
    if (list == -2) return RegWinChoiceValue(text, value, index);
    if (list == -1) return ModuleChoiceValue(text, value, index);
    const uint8_t *e = ChoiceListFind(list);
    if (!e) return false;
    PString pairText;
    for (int i = 0, n = PairCount(e); i < n; i++) {
        GetUiText(pairText, PairText(e, i));
        if (PStringCompareNoCase(pairText, text) != 0) continue;
        *value = PairValue(e, i);
        *index = i;
        return true;
    }
    return false;
}

bool ChoiceTextAt(int list, int i, uint8_t *out, uint16_t *value) {
    out[0] = 0;
    if (list == -2) return RegWinChoiceTextAt(i, out, value);
    if (list == -1) return ModuleChoiceTextAt(i, out, value);
    if (list == 0) return false;
    const uint8_t *e = ChoiceListFind(list);
    if (!e || i < 0 || i >= PairCount(e)) {
        *value = 0;
        return false;
    }
    GetUiText(out, PairText(e, i));
    *value = PairValue(e, i);
    return true;
}

bool ModuleChoiceText(uint16_t value, int *index, uint8_t *out) {
    return TableText(ModuleWords, value, index, out);
}
bool ModuleChoiceValue(const uint8_t *text, uint16_t *value, int *index) {
    return TableValue(ModuleWords, text, value, index);
}
bool ModuleChoiceTextAt(int i, uint8_t *out, uint16_t *value) {
    return TableTextAt(ModuleWords, i, out, value);
}
bool RegWinChoiceText(uint16_t value, int *index, uint8_t *out) {
    return TableText(RegWinWords, value, index, out);
}
bool RegWinChoiceValue(const uint8_t *text, uint16_t *value, int *index) {
    return TableValue(RegWinWords, text, value, index);
}
bool RegWinChoiceTextAt(int i, uint8_t *out, uint16_t *value) {
    return TableTextAt(RegWinWords, i, out, value);
}
