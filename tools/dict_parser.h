// dict_parser.h - the token cursor and helpers that the parsers of the
// dictionary source share (dict_parse.cpp for texts and record layouts,
// dict_parse_ui.cpp for window types, layouts, menus and lists,
// dict_parse_tables.cpp for character tables, collation and names).
// Every helper reports its own error and returns false; a parser gives up
// on the file at its first error.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/dict_lexer.h"
#include "tools/dict_model.h"

struct DictParser {
    DictSource *src;
    int file;
    std::vector<DictToken> toks;
    size_t pos = 0;
};

inline const DictToken &Peek(const DictParser &p, size_t ahead = 0) {
    size_t i = p.pos + ahead;
    return p.toks[i < p.toks.size() ? i : p.toks.size() - 1];
}
inline const DictToken &Next(DictParser &p) {
    const DictToken &t = Peek(p);
    if (t.kind != DictTok::End) p.pos++;
    return t;
}
inline DictPos PosOf(const DictParser &p, const DictToken &t) { return DictPos{p.file, t.line}; }
inline bool IsWord(const DictToken &t, std::string_view w) { return t.kind == DictTok::Word && t.text == w; }

// Adds "file:line: message" at token t and returns false.
bool ParseFail(DictParser &p, const DictToken &t, const std::string &message);
void SkipEols(DictParser &p);
// The end of a statement: an end of line (consumed), or a "}" or the end
// of the file (left for the caller).
bool ExpectEol(DictParser &p);
bool ExpectOpen(DictParser &p);
// A plain name: a word without "." or "@".
bool ExpectName(DictParser &p, const char *what, std::string *out);
bool ExpectNumber(DictParser &p, const char *what, int64_t lo, int64_t hi, int64_t *out);
bool ExpectString(DictParser &p, const char *what, std::string *out);
// A statement that begins "KEYWORD N": the keyword's place into *pos,
// then N (lo..hi, at most 65535) into *number.
bool ExpectNumberedHead(DictParser &p, const char *what, int64_t lo, int64_t hi, DictPos *pos, uint16_t *number);
// A statement that begins "KEYWORD NAME", the name a word or a string:
// the keyword's place into *pos, the name into *name.
bool ExpectNamedHead(DictParser &p, const char *keyword, DictPos *pos, std::string *name);
// "WORD N" inside a statement: the word (else usage is reported where it
// should stand), then N, called what, (lo..hi, at most 65535) into *number.
bool ExpectWordNumber(DictParser &p, const char *word, const char *usage, const char *what, int64_t lo, int64_t hi,
                      uint16_t *number);
// A number, or a name of the given kind (resolved later).
bool ExpectValue(DictParser &p, const char *what, DictRefKind kind, DictValue *out);
// A character: a one-character string or its code.
bool ExpectChar(DictParser &p, const char *what, int64_t *out);
// A field type by name or code.
bool ExpectFieldType(DictParser &p, uint16_t *out);
// Walks a "{ ... }" body: calls item for every line that does not start
// with "}", until the closing "}" (consumed).
template <typename F> bool ParseBody(DictParser &p, F item) {
    if (!ExpectOpen(p)) return false;
    for (;;) {
        SkipEols(p);
        const DictToken &t = Peek(p);
        if (t.kind == DictTok::Close) { Next(p); return true; }
        if (t.kind == DictTok::End) return ParseFail(p, t, "missing '}'");
        if (!item()) return false;
    }
}

// Statement parsers, each called with the cursor on its first token.
bool ParseText(DictParser &p);
bool ParseRecord(DictParser &p, bool block);
bool ParseLayout(DictParser &p);
bool ParseWinType(DictParser &p);
bool ParseWindow(DictParser &p);
bool ParseMenu(DictParser &p);
bool ParseList(DictParser &p);
bool ParseChoice(DictParser &p);
bool ParseCharTable(DictParser &p);
bool ParseCollation(DictParser &p);
bool ParseName(DictParser &p);
bool ParseBuiltin(DictParser &p);
bool ParseOperator(DictParser &p);
