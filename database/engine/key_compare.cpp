// key_compare.cpp - comparing index keys part by part by the parts'
// field types, and checking that an index definition can describe a
// usable index (definition layout in format.h).
//
// Keys are in the file's form. When the open file's byte order is not
// the program's, each part is copied and turned into program order first
// (FieldConvert: numbers swapped, texts through the read table, packed
// decimals unchanged), so that keys order the same on every machine.
#include <algorithm>

#include "core/date.h"
#include "core/decimal.h"
#include "core/definitions.h"
#include "core/file_form.h"
#include "core/interface_load.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/engine/engine_state.h"

using namespace dbformat;

namespace {

bool IsText(uint16_t t) { return t == 1 || t == 17 || t == 27; }
bool IsDecimal(uint16_t t) {
    return t == 2 || t == 8 || t == 9 || t == 14 || t == 15 || t == 16 || t == 20 || t == 21 || t == 23 || t == 29;
}
bool IsLong(uint16_t t) { return t == 5 || t == 19; }
bool IsWord(uint16_t t) { return t == 10 || t == 11 || t == 18 || t == 30; }

// Turns one key part of a foreign-order file into program order, as a
// record read from the file is turned (core/file_form.h). The copy has
// room for any field the part's type may convert.
void PartToProgram(uint16_t type, uint16_t length, const uint8_t *src, uint8_t *dst) {
    std::memcpy(dst, src, length);
    FieldConvert(type, -1, dst, ConvertSelector(ConvertToMemory));
}

int Sign(int v) { return (v > 0) - (v < 0); }

// The text comparison of PStringCompareN over a part of n bytes: lengths
// of n or more count as n - 1, characters by the collation table (or
// upper-cased when no interface file is loaded).
int CompareText(uint16_t n, const uint8_t *a, const uint8_t *b) {
    int cut = n > 0 ? n - 1 : 0;
    int la = std::min<int>(a[0], cut), lb = std::min<int>(b[0], cut);
    int m = std::min(la, lb);
    // Equal bytes weigh the same: the common start is skipped eight bytes
    // at a time (keys of one index often share long prefixes).
    int i = 1;
    for (uint64_t x, y; i + 7 <= m; i += 8) {
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x != y) break;
    }
    for (; i <= m; i++) {
        if (a[i] == b[i]) continue;
        int wa, wb;
        if (CollationTable) {
            wa = CollationTable[a[i]];
            wb = CollationTable[b[i]];
        } else {
            wa = UpperChar(a[i]);
            wb = UpperChar(b[i]);
        }
        if (wa != wb) return wa < wb ? -1 : 1;
    }
    return Sign(la - lb);
}

std::array<bool, 65536> &UnknownTypeShown() {
    static std::array<bool, 65536> shown{};
    return shown;
}

}  // namespace

int D4CompareWord(const uint8_t *a, const uint8_t *b) {
    int16_t x, y;
    std::memcpy(&x, a, 2);
    std::memcpy(&y, b, 2);
    return Sign((int)x - (int)y);
}

int D4CompareLong(const uint8_t *a, const uint8_t *b) {
    int32_t x, y;
    std::memcpy(&x, a, 4);
    std::memcpy(&y, b, 4);
    return x < y ? -1 : (x > y ? 1 : 0);
}

// Date-times: the first six words in order, each by the sign of their
// 16-bit difference (which wraps).
int D4CompareType7(const uint8_t *a, const uint8_t *b) {
    for (int i = 0; i < 6; i++) {
        uint16_t x, y;
        std::memcpy(&x, a + 2 * i, 2);
        std::memcpy(&y, b + 2 * i, 2);
        int16_t d = (int16_t)(uint16_t)(x - y);
        if (d != 0) return d < 0 ? -1 : 1;
    }
    return 0;
}

int D4DataCompare(uint16_t type, uint16_t length, const uint8_t *a, const uint8_t *b) {
    if (IsText(type)) return length ? CompareText(length, a, b) : 0;
    if (IsDecimal(type)) {
        if (length < sizeof(PackedDecimal)) return 0;
        PackedDecimal x, y;
        std::memcpy(&x, a, sizeof x);
        std::memcpy(&y, b, sizeof y);
        return DecCompare(&x, &y);
    }
    if (IsLong(type)) return length >= 4 ? D4CompareLong(a, b) : 0;
    if (type == 6) {
        if (length < sizeof(DateRec)) return 0;
        DateRec x, y;
        std::memcpy(&x, a, sizeof x);
        std::memcpy(&y, b, sizeof y);
        return DateCompare(&x, &y);
    }
    if (type == 7) return length >= 12 ? D4CompareType7(a, b) : 0;
    if (IsWord(type)) return length >= 2 ? D4CompareWord(a, b) : 0;
    // Shown once per type: a definition with such a part would otherwise
    // show it on every comparison.
    if (!UnknownTypeShown()[type]) {
        UnknownTypeShown()[type] = true;
        D4Message("Unkown datatype in D4DataCompare ", type);
    }
    return 0;
}

int D4KeyComparePrefix(const uint8_t *def, const uint8_t *a, const uint8_t *b, int parts) {
    int count = IndexDefPartCount(def);
    if (parts <= 0 || parts > count) parts = count;
    for (int i = 0; i < parts; i++) {
        KeyPartInfo part = IndexDefPart(def, i);
        const uint8_t *pa = a + part.keyOffset, *pb = b + part.keyOffset;
        int c;
        if (Db.swap) {
            uint8_t ca[PlainDataMax + 256], cb[PlainDataMax + 256];
            PartToProgram(part.type, part.length, pa, ca);
            PartToProgram(part.type, part.length, pb, cb);
            c = D4DataCompare(part.type, part.length, ca, cb);
        } else {
            c = D4DataCompare(part.type, part.length, pa, pb);
        }
        if (c != 0) return c;
    }
    return 0;
}

// Compares key a with key b over the first `parts` parts. With fewer
// parts than the definition has, the rest count as equal in a leaf; in
// an inner node a counts as smaller (times the direction), so that a
// forward descent reaches the first entry of the equal range.
int D4KeyCompare(const uint8_t *def, const uint8_t *a, const uint8_t *b, int parts, int direction, bool leaf) {
    if (!def) {
        D4MessageText("D4IndexNodeCompare Kdp = NIL");
        return 0;
    }
    int count = IndexDefPartCount(def);
    int c = D4KeyComparePrefix(def, a, b, parts);
    if (c != 0) return c;
    if (parts >= 1 && parts < count && !leaf) return -direction;
    return 0;
}

bool D4IndexDefValid(const uint8_t *def) {
    bool ok = def != nullptr;
    if (ok) {
        uint32_t k = IndexDefKeyLength(def), m = IndexDefMaxEntries(def), size = IndexDefNodeSize(def);
        uint16_t head = IndexDefHead(def), parts = IndexDefPartCount(def);
        ok = k >= 1 && m >= 2 && size <= PlainDataMax && NodeEntries + m * (k + EntryFixed) <= size && head >= 1 &&
             head < IndexHeads && parts >= 1;
        for (int i = 0; ok && i < parts; i++) {
            KeyPartInfo part = IndexDefPart(def, i);
            ok = part.length >= 1 && (uint64_t)part.keyOffset + part.length <= k;
        }
    }
    if (!ok) {
        PString text;
        PStringFromC(text, "Error in key ");
        if (def) PStringAppend(text, IndexDefName(def));
        ShowMessage(0, text);
        D4HoldFail();
    }
    return ok;
}
