// object_lists.cpp - object lists: parsing, joining, tests of codes, and the
// check of a list against its account.
#include "rules/ledger.h"

// Takes the next code of an object list.
void NextObjectCode(const uint8_t *list, int *position, uint8_t *code) {
    if (code) code[0] = 0;
}

// Parses an object list into slots.
void ParseObjectList(const uint8_t *list, ObjectSlots *slots) {
    if (slots)
        for (auto &slot : *slots) slot[0] = 0;
}

// Joins the slots' codes.
void ObjectSlotsToText(const ObjectSlots *s, uint8_t *text) {
    if (text) text[0] = 0;
}

// Rewrites an object list in slot order.
void NormalizeObjectList(uint8_t *list) {}

// An object list sorted without repeated codes.
void JoinObjectList(const uint8_t *list, uint8_t *text) {
    if (text) text[0] = 0;
}

// The codes of the flagged slots; true when none.
bool ObjectSubsetToText(const ObjectSlots *s, uint8_t *text, const bool flags[ObjectSlotCount]) {
    if (text) text[0] = 0;
    return true;
}

// Tells whether a code is in an object list.
bool ObjectListContains(const uint8_t *code, const uint8_t *list) {
    return false;
}

// Tells whether every slot's code is in an object list.
bool ObjectListContainsAll(const ObjectSlots *s, const uint8_t *list) {
    return false;
}

// Tells whether a text is one code.
bool IsSingleCode(const uint8_t *text) {
    return false;
}

// Tells whether a text has no sign or separator characters.
bool IsPlainCode(const uint8_t *text) {
    return false;
}

// Tells whether a text is all digits.
bool IsAllDigits(const uint8_t *text) {
    return false;
}

// The leading digits of a text.
void LeadingDigitsOf(const uint8_t *text, uint8_t *out) {
    if (out) out[0] = 0;
}

// What follows the first list separator of a text.
void TextAfterListSeparator(const uint8_t *text, uint8_t *out) {
    if (out) out[0] = 0;
}

// Tells whether an object list may be booked on an account.
bool CheckObjectList(const uint8_t *account, const uint8_t *list) {
    return false;
}

// Tells whether an object list holds every object type the account requires.
bool RequiredObjectTypes(const uint8_t *account, const uint8_t *types) {
    return false;
}
