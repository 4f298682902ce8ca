// dict_tables.cpp - building the character tables, the collation table
// and the hashed name table of the formula language.
#include <cstdio>
#include <array>
#include <map>
#include <string>

#include "tools/dict_build.h"
#include "tools/dict_cp1252.h"

namespace {

constexpr uint16_t ChainEnd = 0xFFFF;

void Append16(std::vector<uint8_t> *b, uint16_t v) {
    b->push_back((uint8_t)v);
    b->push_back((uint8_t)(v >> 8));
}

std::string CharName(uint8_t c) {
    char buf[16];
    if (c > 0x20 && c < 0x7F) std::snprintf(buf, sizeof buf, "'%c'", c);
    else std::snprintf(buf, sizeof buf, "0x%02X", c);
    return buf;
}

// Weights ascend in the order of the groups; every character of a group
// shares its weight. The characters no group names take one weight each,
// in code order, where 'rest' stands.
void BuildCollation(DictSource *src, InterfaceDefs *out) {
    const DictCollation &c = src->collation;
    if (!c.given) {
        for (int i = 0; i < 256; i++) out->collation[i] = (uint8_t)i;
        return;
    }
    std::array<int, 256> group;
    group.fill(-1);
    bool ok = true;
    for (size_t g = 0; g < c.groups.size(); g++)
        for (char ch : c.groups[g]) {
            uint8_t b = (uint8_t)ch;
            if (group[b] >= 0) {
                DictError(src, c.groupPos[g], "collation: character " + CharName(b) + " is placed twice");
                ok = false;
            }
            group[b] = (int)g;
        }
    int unplaced = 0;
    for (int b = 0; b < 256; b++) unplaced += group[b] < 0;
    if (unplaced > 0 && c.restAt < 0) {
        DictError(src, c.pos, "collation: " + std::to_string(unplaced) + " characters are not placed; add 'rest'");
        ok = false;
    }
    if (!ok) return;
    int weight = 0;
    auto placeRest = [&] {
        for (int b = 0; b < 256; b++)
            if (group[b] < 0) out->collation[b] = (uint8_t)weight++;
    };
    for (size_t g = 0; g <= c.groups.size(); g++) {
        if ((int)g == c.restAt) placeRest();
        if (g == c.groups.size()) break;
        for (char ch : c.groups[g]) out->collation[(uint8_t)ch] = (uint8_t)weight;
        weight++;
    }
}

// The machine operation each operator number stands for: its class and
// arity, and the scanner's spelling (empty for word operators 13..15).
// An operator's sub-operation is the machine operation of its number.
struct OperatorMeaning {
    uint16_t cls, arity;
    const char *spelling;
};
const OperatorMeaning *MeaningOf(uint16_t n) {
    static const OperatorMeaning table[18] = {
        {0, 0, nullptr}, {1, 2, "*"}, {1, 2, "/"}, {1, 2, "+"}, {1, 2, "-"}, {2, 2, "&"},
        {0, 0, nullptr}, {3, 2, "="}, {3, 2, ">"}, {3, 2, ">="}, {3, 2, "<"}, {3, 2, "<="},
        {3, 2, "<>"}, {4, 1, ""}, {4, 2, ""}, {4, 2, ""}, {0, 0, nullptr}, {1, 1, "-"}};
    return n < 18 && table[n].spelling ? &table[n] : nullptr;
}

// The name table under construction: entries chained into their
// buckets in the order they are added.
struct NameBuilder {
    NameTableSource &t;
    std::array<uint16_t, 256> heads, tails;
    std::map<std::string, DictPos> seen;

    explicit NameBuilder(NameTableSource &table) : t(table) {
        heads.fill(ChainEnd);
        tails.fill(ChainEnd);
    }
    // Adds an entry; chained entries are found by name, the others (the
    // argument-type lists) only by number. False when the table is full.
    bool Add(const std::string &name, uint16_t cls, uint16_t index, bool chained, uint16_t *number) {
        *number = (uint16_t)(t.entries.size() / 8);
        if (*number >= ChainEnd || t.pool.size() + name.size() + 1 > 0xFFFF) return false;
        if (chained) {
            uint8_t h = DictNameHash(name);
            if (heads[h] == ChainEnd) heads[h] = *number;
            else {
                t.entries[tails[h] * 8] = (uint8_t)*number;
                t.entries[tails[h] * 8 + 1] = (uint8_t)(*number >> 8);
            }
            tails[h] = *number;
        }
        Append16(&t.entries, ChainEnd);
        Append16(&t.entries, (uint16_t)t.pool.size());
        Append16(&t.entries, cls);
        Append16(&t.entries, index);
        t.pool.insert(t.pool.end(), name.begin(), name.end());
        t.pool.push_back(0);
        return true;
    }
    // A name of the source: refused when empty, holding a NUL or twice.
    bool AddName(DictSource *src, const std::string &name, DictPos pos, uint16_t cls, uint16_t index) {
        if (name.empty() || name.find('\0') != std::string::npos) {
            DictError(src, pos, "a name must be non-empty and hold no NUL");
            return true;
        }
        if (!seen.emplace(name, pos).second) {
            DictError(src, pos, "name " + name + " is defined twice");
            return true;
        }
        uint16_t number;
        if (Add(name, cls, index, true, &number)) return true;
        DictError(src, pos, "the name table is full");
        return false;
    }
};

// The built-in rows (10 bytes: u16 code byte 1, u16 code byte 2, u16 the
// entry of the argument-type list, u16 0, u8 result type, u8 0); their
// names are class 23 with the row as index.
bool BuildBuiltins(DictSource *src, NameBuilder *b) {
    NameTableSource &t = b->t;
    std::map<std::string, uint16_t> lists;
    for (size_t row = 0; row < src->builtins.size(); row++) {
        const DictBuiltin &f = src->builtins[row];
        if (!b->AddName(src, f.name, f.pos, 23, (uint16_t)row)) return false;
        auto found = lists.find(f.args);
        uint16_t entry;
        if (found != lists.end()) entry = found->second;
        else if (b->Add(f.args, 0, 0, false, &entry)) lists[f.args] = entry;
        else {
            DictError(src, f.pos, "the name table is full");
            return false;
        }
        Append16(&t.kept1, f.code1);
        Append16(&t.kept1, f.code2);
        Append16(&t.kept1, entry);
        Append16(&t.kept1, 0);
        t.kept1.push_back(f.result);
        t.kept1.push_back(0);
    }
    return true;
}

// The operator rows by number (10 bytes: u16 precedence, class, arity,
// sub-operation, u16 0); word operators are names of class 28. A row
// whose class, arity, spelling or sub-operation is not that of the
// machine operation of its number is refused: its code would compute
// something else than it says.
bool BuildOperators(DictSource *src, NameBuilder *b) {
    NameTableSource &t = b->t;
    std::map<uint16_t, DictPos> numbers;
    for (const DictOperator &o : src->operators) {
        std::string n = std::to_string(o.number);
        const OperatorMeaning *m = MeaningOf(o.number);
        if (!m) {
            DictError(src, o.pos, "operator " + n + " has no machine operation (1..5, 7..15, 17)");
            continue;
        }
        if (!numbers.emplace(o.number, o.pos).second) {
            DictError(src, o.pos, "operator " + n + " is defined twice");
            continue;
        }
        if (o.sub != o.number) {
            DictError(src, o.pos, "operator " + n + ": sub-operation " + std::to_string(o.sub) +
                                      " is not the machine operation of the same meaning (" + n + ")");
            continue;
        }
        if (o.cls != m->cls || o.arity != m->arity) {
            DictError(src, o.pos, "operator " + n + ": class or arity differs from its machine operation");
            continue;
        }
        bool wordWanted = *m->spelling == 0;
        if (o.word != wordWanted || (!wordWanted && o.spelling != m->spelling)) {
            DictError(src, o.pos, "operator " + n + " is spelt " +
                                      (wordWanted ? std::string("by a word") : "\"" + std::string(m->spelling) + "\""));
            continue;
        }
        if (o.word && !b->AddName(src, o.spelling, o.pos, 28, o.number)) return false;
        if (t.kept2.size() < (o.number + 1u) * 10) t.kept2.resize((o.number + 1u) * 10, 0);
        uint8_t *row = &t.kept2[o.number * 10];
        uint16_t words[4] = {o.precedence, o.cls, o.arity, o.sub};
        for (int i = 0; i < 4; i++) {
            row[2 * i] = (uint8_t)words[i];
            row[2 * i + 1] = (uint8_t)(words[i] >> 8);
        }
    }
    return true;
}

// Header (u16 entry count, u16 built-in row count, u32, u32), the
// built-in rows, the operator rows, 256 bucket heads, 8-byte entries
// (next, name offset, class, index) and the pool. A bucket's chain
// follows the source order: names, built-ins, word operators.
void BuildNames(DictSource *src, InterfaceDefs *out) {
    NameTableSource &t = out->names;
    NameBuilder b(t);
    for (const DictName &n : src->names)
        if (!b.AddName(src, n.name, n.pos, n.cls, n.index)) return;
    if (!BuildBuiltins(src, &b) || !BuildOperators(src, &b)) return;
    Append16(&t.header, (uint16_t)(t.entries.size() / 8));
    Append16(&t.header, (uint16_t)src->builtins.size());
    t.header.resize(12, 0);
    for (uint16_t h : b.heads) Append16(&t.buckets, h);
}

}  // namespace

uint8_t DictNameHash(const std::string &name) {
    unsigned sum = 0;
    for (char c : name) sum += Cp1252Upper((uint8_t)c);
    return (uint8_t)(sum & 255);
}

void DictBuildTables(DictSource *src, InterfaceDefs *out) {
    std::array<std::vector<uint8_t>, CharTableCount> tables;
    for (int id = 0; id < CharTableCount; id++) {
        const DictCharTable &c = src->charTables[id];
        if (c.given && c.empty) continue;
        std::vector<uint8_t> &b = tables[id];
        if (c.given) b.assign(c.bytes.begin(), c.bytes.end());
        else if (id == CharOverstrike) b.assign(256, ' ');
        else for (int i = 0; i < 256; i++) b.push_back((uint8_t)i);
    }
    std::copy(tables[CharRead].begin(), tables[CharRead].end(), out->readTable.begin());
    std::copy(tables[CharWrite].begin(), tables[CharWrite].end(), out->writeTable.begin());
    out->printerTable = tables[CharPrinter];
    out->overstrikeTable = tables[CharOverstrike];
    BuildCollation(src, out);
    BuildNames(src, out);
}
