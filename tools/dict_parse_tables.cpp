// dict_parse_tables.cpp - reading the character tables, the collation
// and the names of the formula language's name table.
#include <array>

#include "tools/dict.h"
#include "tools/dict_parser.h"

// chartable read|write|printer|overstrike identity|blank|empty [{ from -> to }]
bool ParseCharTable(DictParser &p) {
    static constexpr std::array<const char *, CharTableCount> names = {"read", "write", "printer", "overstrike"};
    const DictToken &head = Next(p);
    const DictToken &which = Next(p);
    int id = -1;
    for (int i = 0; i < CharTableCount; i++)
        if (IsWord(which, names[i])) id = i;
    if (id < 0) return ParseFail(p, which, "expected read, write, printer or overstrike after 'chartable'");
    DictCharTable &table = p.src->charTables[id];
    if (table.given) return ParseFail(p, head, std::string("character table ") + names[id] + " given twice");
    table.given = true;
    table.pos = PosOf(p, head);
    const DictToken &base = Next(p);
    if (IsWord(base, "identity")) {
        for (int i = 0; i < 256; i++) table.bytes[i] = (uint8_t)i;
    } else if (IsWord(base, "blank")) {
        table.bytes.fill(' ');
    } else if (IsWord(base, "empty") && (id == CharPrinter || id == CharOverstrike)) {
        table.empty = true;
    } else {
        return ParseFail(p, base, "expected identity, blank or empty (printer and overstrike tables only)");
    }
    if (Peek(p).kind != DictTok::Open) return ExpectEol(p);
    if (table.empty) return ParseFail(p, Peek(p), "an empty table takes no mappings");
    bool ok = ParseBody(p, [&] {
        int64_t from, to;
        if (!ExpectChar(p, "a character", &from)) return false;
        const DictToken &arrow = Next(p);
        if (arrow.kind != DictTok::Arrow) return ParseFail(p, arrow, "expected 'from -> to'");
        if (!ExpectChar(p, "a character", &to)) return false;
        table.bytes[from] = (uint8_t)to;
        return ExpectEol(p);
    });
    return ok && ExpectEol(p);
}

// collation { "chars of one weight" ... / rest }
bool ParseCollation(DictParser &p) {
    const DictToken &head = Next(p);
    DictCollation &c = p.src->collation;
    if (c.given) return ParseFail(p, head, "a second collation table");
    c.given = true;
    c.pos = PosOf(p, head);
    bool ok = ParseBody(p, [&] {
        while (Peek(p).kind == DictTok::String || IsWord(Peek(p), "rest")) {
            const DictToken &t = Next(p);
            if (t.kind == DictTok::Word) {
                if (c.restAt >= 0) return ParseFail(p, t, "'rest' given twice");
                c.restAt = (int)c.groups.size();
            } else if (t.text.empty()) {
                return ParseFail(p, t, "an empty collation group");
            } else {
                c.groups.push_back(t.text);
                c.groupPos.push_back(PosOf(p, t));
            }
        }
        return ExpectEol(p);
    });
    return ok && ExpectEol(p);
}

// name NAME class C index I
bool ParseName(DictParser &p) {
    DictName n;
    const DictToken &head = Next(p);
    n.pos = PosOf(p, head);
    const DictToken &t = Next(p);
    if (t.kind != DictTok::Word && t.kind != DictTok::String)
        return ParseFail(p, t, "expected a name after 'name', found " + DictTokenText(t));
    n.name = t.text;
    int64_t v;
    if (!IsWord(Next(p), "class")) return ParseFail(p, t, "expected 'name NAME class C index I'");
    if (!ExpectNumber(p, "class", 0, 65535, &v)) return false;
    n.cls = (uint16_t)v;
    if (!IsWord(Next(p), "index")) return ParseFail(p, t, "expected 'name NAME class C index I'");
    if (!ExpectNumber(p, "index", 0, 65535, &v)) return false;
    n.index = (uint16_t)v;
    p.src->names.push_back(std::move(n));
    return ExpectEol(p);
}
