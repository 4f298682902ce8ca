// dict_tables.cpp - building the character tables, the collation table
// and the hashed name table of the formula language.
#include <cstdio>
#include <map>

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

// Header (u16 count, u16, u32, u32), two empty kept blocks, 256 bucket
// heads, 8-byte entries (next, name offset, class, index) and the pool.
// A bucket's chain follows the source order.
void BuildNames(DictSource *src, InterfaceDefs *out) {
    NameTableSource &t = out->names;
    std::map<std::string, DictPos> seen;
    std::array<uint16_t, 256> heads, tails;
    heads.fill(ChainEnd);
    tails.fill(ChainEnd);
    std::vector<uint8_t> &entries = t.entries;
    for (const DictName &n : src->names) {
        if (n.name.empty() || n.name.find('\0') != std::string::npos) {
            DictError(src, n.pos, "a name must be non-empty and hold no NUL");
            continue;
        }
        if (!seen.emplace(n.name, n.pos).second) {
            DictError(src, n.pos, "name " + n.name + " is defined twice");
            continue;
        }
        uint16_t number = (uint16_t)(entries.size() / 8);
        if (number >= ChainEnd || t.pool.size() + n.name.size() + 1 > 0xFFFF) {
            DictError(src, n.pos, "the name table is full");
            return;
        }
        uint8_t h = DictNameHash(n.name);
        if (heads[h] == ChainEnd) heads[h] = number;
        else {
            entries[tails[h] * 8] = (uint8_t)number;
            entries[tails[h] * 8 + 1] = (uint8_t)(number >> 8);
        }
        tails[h] = number;
        Append16(&entries, ChainEnd);
        Append16(&entries, (uint16_t)t.pool.size());
        Append16(&entries, n.cls);
        Append16(&entries, n.index);
        t.pool.insert(t.pool.end(), n.name.begin(), n.name.end());
        t.pool.push_back(0);
    }
    Append16(&t.header, (uint16_t)(entries.size() / 8));
    t.header.resize(12, 0);
    for (uint16_t h : heads) Append16(&t.buckets, h);
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
