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
    if (!ExpectNamedHead(p, "name", &n.pos, &n.name)) return false;
    const char *usage = "expected 'name NAME class C index I'";
    if (!ExpectWordNumber(p, "class", usage, "class", 0, 65535, &n.cls)) return false;
    if (!ExpectWordNumber(p, "index", usage, "index", 0, 65535, &n.index)) return false;
    p.src->names.push_back(std::move(n));
    return ExpectEol(p);
}

namespace {

// BOOLEAN 1, INTEGER 2, REAL 3, STRING 4, RAW 6 (raw only as an argument).
int FormulaType(const DictToken &t, bool argument) {
    static constexpr std::array<const char *, 4> types = {"BOOLEAN", "INTEGER", "REAL", "STRING"};
    for (int i = 0; i < 4; i++)
        if (IsWord(t, types[i])) return i + 1;
    if (argument && IsWord(t, "RAW")) return 6;
    return 0;
}

}  // namespace

// builtin NAME code C1 C2 [args TYPE...] [result TYPE]
bool ParseBuiltin(DictParser &p) {
    DictBuiltin b;
    if (!ExpectNamedHead(p, "builtin", &b.pos, &b.name)) return false;
    if (!ExpectWordNumber(p, "code", "expected 'builtin NAME code C1 C2 [args ...] [result T]'", "first code byte", 128,
                          129, &b.code1))
        return false;
    int64_t v;
    if (!ExpectNumber(p, "second code byte", 0, 255, &v)) return false;
    b.code2 = (uint16_t)v;
    if (IsWord(Peek(p), "args")) {
        Next(p);
        while (Peek(p).kind == DictTok::Word && !IsWord(Peek(p), "result")) {
            const DictToken &a = Next(p);
            int type = FormulaType(a, true);
            if (!type) return ParseFail(p, a, "an argument type is BOOLEAN, INTEGER, REAL, STRING or RAW");
            b.args.push_back((char)type);
        }
        if (b.args.empty()) return ParseFail(p, Peek(p), "'args' wants at least one type");
    }
    if (IsWord(Peek(p), "result")) {
        Next(p);
        const DictToken &r = Next(p);
        b.result = (uint8_t)FormulaType(r, false);
        if (!b.result) return ParseFail(p, r, "a result type is BOOLEAN, INTEGER, REAL or STRING");
    }
    p.src->builtins.push_back(std::move(b));
    return ExpectEol(p);
}

// operator N SPELLING precedence P class C arity A suboperation S
bool ParseOperator(DictParser &p) {
    static constexpr std::array<const char *, 4> classes = {"arithmetic", "concatenation", "comparison", "logical"};
    DictOperator o;
    if (!ExpectNumberedHead(p, "operator number", 1, 255, &o.pos, &o.number)) return false;
    const DictToken &s = Next(p);
    if (s.kind != DictTok::Word && s.kind != DictTok::String)
        return ParseFail(p, s, "expected the operator's spelling after its number");
    o.spelling = s.text;
    o.word = s.kind == DictTok::Word;
    const char *usage = "expected 'operator N SPELLING precedence P class C arity A suboperation S'";
    if (!ExpectWordNumber(p, "precedence", usage, "precedence", 1, 255, &o.precedence)) return false;
    if (!IsWord(Next(p), "class")) return ParseFail(p, s, usage);
    const DictToken &c = Next(p);
    for (int i = 0; i < 4; i++)
        if (IsWord(c, classes[i])) o.cls = (uint16_t)(i + 1);
    if (!o.cls) return ParseFail(p, c, "an operator class is arithmetic, concatenation, comparison or logical");
    if (!ExpectWordNumber(p, "arity", usage, "arity", 1, 2, &o.arity)) return false;
    if (!ExpectWordNumber(p, "suboperation", usage, "sub-operation", 0, 255, &o.sub)) return false;
    p.src->operators.push_back(std::move(o));
    return ExpectEol(p);
}
