// object_lists.cpp - object lists: parsing, joining, tests of codes, and the
// check of a list against its account.
//
// An object list is a PString of codes separated by "," (a "." separates
// too when a list is read). Parsed, it fills five slots of at most five
// characters each, sorted ascending bytewise; codes beyond the fifth and
// characters of a code beyond the fifth are dropped. Every reader here
// stays within the list's own length byte, so a list longer than a field
// holds is cut, never read past.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "rules/code_budgets.h"
#include "rules/ledger.h"

namespace {

bool IsListSeparator(uint8_t c) { return c == ',' || c == '.'; }

// Sets the slot to the PString code (at most ObjectCodeMax characters).
void SlotSet(std::array<uint8_t, ObjectCodeMax + 1> *slot, const uint8_t *code) {
    int n = code[0] > ObjectCodeMax ? ObjectCodeMax : code[0];
    (*slot)[0] = (uint8_t)n;
    std::memcpy(slot->data() + 1, code + 1, (size_t)n);
}

// Appends the slot's code to text, after a "," when text is not empty.
void AppendCode(uint8_t *text, const uint8_t *code) {
    if (text[0] > 0) PStringAppendChar(text, ',');
    PStringAppend(text, code);
}

void ClearSlots(ObjectSlots *slots) {
    for (auto &slot : *slots) slot[0] = 0;
}

}  // namespace

// From the 1-based *position of list takes the code up to the next "," or
// "." (its first five characters), then skips the run of separators after
// it, so *position is left on the next code. Past the end: an empty code.
void NextObjectCode(const uint8_t *list, int *position, uint8_t *code) {
    code[0] = 0;
    int length = list[0];
    int p = *position < 1 ? 1 : *position;
    while (p <= length && !IsListSeparator(list[p])) {
        if (code[0] < ObjectCodeMax) code[++code[0]] = list[p];
        p++;
    }
    while (p <= length && IsListSeparator(list[p])) p++;
    *position = p;
}

// Parses list into the slots: its first five codes, sorted ascending by
// insertion. Empty codes (separators in a row) are not codes.
void ParseObjectList(const uint8_t *list, ObjectSlots *slots) {
    ClearSlots(slots);
    int filled = 0, position = 1;
    while (filled < ObjectSlotCount && position <= list[0]) {
        uint8_t code[ObjectCodeMax + 1];
        NextObjectCode(list, &position, code);
        if (code[0] == 0) continue;
        int at = 0;
        while (at < filled && PStringCompare((*slots)[at].data(), code) <= 0) at++;
        for (int i = filled; i > at; i--) (*slots)[i] = (*slots)[i - 1];
        SlotSet(&(*slots)[at], code);
        filled++;
    }
}

// The codes of the filled slots joined by "," in slot order.
void ObjectSlotsToText(const ObjectSlots *s, uint8_t *text) {
    text[0] = 0;
    for (const auto &slot : *s)
        if (slot[0] > 0) AppendCode(text, slot.data());
}

// Rewrites list as its parsed codes in sorted order; repeated codes stay.
// The result is never longer than ObjectListMax characters.
void NormalizeObjectList(uint8_t *list) {
    ObjectSlots slots;
    ParseObjectList(list, &slots);
    ObjectSlotsToText(&slots, list);
}

// text = list's codes sorted, each once, joined by ",".
void JoinObjectList(const uint8_t *list, uint8_t *text) {
    ObjectSlots slots;
    ParseObjectList(list, &slots);
    text[0] = 0;
    for (int i = 0; i < ObjectSlotCount; i++) {
        const uint8_t *code = slots[i].data();
        if (code[0] == 0) continue;
        if (i > 0 && PStringEqual(code, slots[i - 1].data())) continue;   // sorted: repeats are neighbours
        AppendCode(text, code);
    }
}

// out = every code of a and of b, sorted bytewise, each once, joined by
// "," (at most five codes of five characters: 29 characters). false, and
// out empty, when more than five distinct codes are named: a voucher row
// must not lose an object silently.
bool ObjectListMerge(const uint8_t *a, const uint8_t *b, uint8_t *out) {
    assert(a && b && out);
    ObjectSlots slots;
    ClearSlots(&slots);
    int used = 0;
    for (const uint8_t *list : {a, b}) {
        int position = 1;
        while (position <= list[0]) {
            uint8_t code[ObjectCodeMax + 1];
            NextObjectCode(list, &position, code);
            if (code[0] == 0) continue;
            int at = 0;
            while (at < used && PStringCompare(slots[at].data(), code) < 0) at++;
            if (at < used && PStringEqual(slots[at].data(), code)) continue;   // named twice
            if (used == ObjectSlotCount) {
                out[0] = 0;
                return false;
            }
            for (int k = used; k > at; k--) slots[k] = slots[k - 1];
            SlotSet(&slots[at], code);
            used++;
        }
    }
    out[0] = 0;
    for (int i = 0; i < used; i++) AppendCode(out, slots[i].data());
    return true;
}

// text = the codes of the filled slots whose flag is set, in slot order;
// true when the subset is empty.
bool ObjectSubsetToText(const ObjectSlots *s, uint8_t *text, const bool flags[ObjectSlotCount]) {
    text[0] = 0;
    for (int i = 0; i < ObjectSlotCount; i++)
        if (flags[i] && (*s)[i][0] > 0) AppendCode(text, (*s)[i].data());
    return text[0] == 0;
}

// True when the non-empty code equals one of the codes of list (every code
// of the list, not only the first five).
bool ObjectListContains(const uint8_t *code, const uint8_t *list) {
    if (code[0] == 0) return false;
    int position = 1;
    while (position <= list[0]) {
        uint8_t item[ObjectCodeMax + 1];
        NextObjectCode(list, &position, item);
        if (item[0] > 0 && PStringEqual(item, code)) return true;
    }
    return false;
}

// True when every filled slot's code is in list.
bool ObjectListContainsAll(const ObjectSlots *s, const uint8_t *list) {
    for (const auto &slot : *s)
        if (slot[0] > 0 && !ObjectListContains(slot.data(), list)) return false;
    return true;
}

// True when text holds no "," and no ".".
bool IsSingleCode(const uint8_t *text) {
    for (int i = 1; i <= text[0]; i++)
        if (IsListSeparator(text[i])) return false;
    return true;
}

// True when text holds none of "-", "+", ".", "*".
bool IsPlainCode(const uint8_t *text) {
    for (int i = 1; i <= text[0]; i++)
        if (text[i] == '-' || text[i] == '+' || text[i] == '.' || text[i] == '*') return false;
    return true;
}

// True when every character of text is a digit; an empty text passes.
bool IsAllDigits(const uint8_t *text) {
    for (int i = 1; i <= text[0]; i++)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

// out = the digits text begins with, at most six.
void LeadingDigitsOf(const uint8_t *text, uint8_t *out) {
    out[0] = 0;
    for (int i = 1; i <= text[0] && out[0] < 6 && text[i] >= '0' && text[i] <= '9'; i++) out[++out[0]] = text[i];
}

// out = what follows the first "," or "." of text, at most 31 characters;
// empty when text has no separator.
void TextAfterListSeparator(const uint8_t *text, uint8_t *out) {
    out[0] = 0;
    int i = 1;
    while (i <= text[0] && !IsListSeparator(text[i])) i++;
    for (i++; i <= text[0] && out[0] < 31; i++) out[++out[0]] = text[i];
}

// True when list may be booked on account: every object exists and is not
// blocked, no two objects share a type, and block 175's required types
// are there. Shows 1084, 1071, 1043 or 1083 itself when not.
bool CheckObjectList(const uint8_t *account, const uint8_t *list) {
    ObjectSlots slots;
    ParseObjectList(list, &slots);
    RuleRecord object(OBVc::Number);
    if (!object.record) return false;
    ObjectSlots types{};
    PString missing, typeList;
    missing[0] = 0;
    typeList[0] = 0;
    for (int i = 0; i < ObjectSlotCount; i++) {
        const uint8_t *code = slots[i].data();
        if (code[0] == 0) continue;
        PutText(object.record, OBVc::Code, code);
        uint32_t recid = 0, position = 0;
        if (!RecFind(OBVc::Number, object.record, 1, 1, &recid, &position)) {
            PStringAppendC(missing, missing[0] == 0 ? "  " : ",");
            PStringAppend(missing, code);
            continue;
        }
        if (GetU16(object.record, OBVc::Blocked) != 0) {
            ShowMessage(Texts::Blocked, code);
            return false;
        }
        uint8_t type[256];
        GetText(object.record, OBVc::ObjType, type);
        SlotSet(&types[i], type);
        if (type[0] == 0) continue;
        for (int j = 0; j < i; j++) {
            if (!PStringEqual(types[j].data(), type)) continue;
            PString both;
            PStringCopy(both, slots[j].data());
            PStringAppendChar(both, ',');
            PStringAppend(both, code);
            ShowMessage(Texts::ObjectsSameType, both);
            return false;
        }
        AppendCode(typeList, type);
    }
    if (missing[0] > 0) {
        ShowMessage(Texts::ObjectsMissing, missing);
        return false;
    }
    return RequiredObjectTypes(account, typeList);
}

// True when, for every row of block 175 whose account list holds account,
// types (object types joined by ",") holds the row's type; else shows 1083
// naming the first type missing.
bool RequiredObjectTypes(const uint8_t *account, const uint8_t *types) {
    SettingsRows rows(ObjTypeControlBlk::Number, &ObjTypeControlRows, ObjTypeControlBlk::Rows::Size);
    for (int32_t i = 0; i < rows.count; i++) {
        const uint8_t *row = rows.data + (size_t)i * ObjTypeControlBlk::Rows::Size;
        uint8_t accounts[256], type[256];
        GetText(row, ObjTypeControlBlk::Rows::AccountList, accounts);
        GetText(row, ObjTypeControlBlk::Rows::ObjType, type);
        if (type[0] == 0 || !CodeListContains(account, accounts)) continue;
        if (ObjectListContains(type, types)) continue;
        ShowMessage(Texts::ObjectTypeRequired, type);
        return false;
    }
    return true;
}
