// dict_parse.cpp - reading a dictionary source file: the statement
// dispatch, the shared helpers, texts, and the record layouts of
// registers, settings blocks and the program's own layouts.

#include "tools/dict.h"
#include "tools/dict_parser.h"
#include "tools/dict_types.h"

void DictError(DictSource *src, DictPos pos, const std::string &message) {
    std::string file = pos.file >= 0 && pos.file < (int)src->files.size() ? src->files[pos.file] : "?";
    src->errors.push_back(file + ":" + std::to_string(pos.line) + ": " + message);
}

bool ParseFail(DictParser &p, const DictToken &t, const std::string &message) {
    DictError(p.src, PosOf(p, t), message);
    return false;
}

void SkipEols(DictParser &p) {
    while (Peek(p).kind == DictTok::Eol) Next(p);
}

bool ExpectEol(DictParser &p) {
    const DictToken &t = Peek(p);
    if (t.kind == DictTok::Eol) { Next(p); return true; }
    if (t.kind == DictTok::Close || t.kind == DictTok::End) return true;
    return ParseFail(p, t, "unexpected " + DictTokenText(t) + " (expected end of line)");
}

bool ExpectOpen(DictParser &p) {
    const DictToken &t = Next(p);
    if (t.kind == DictTok::Open) return true;
    return ParseFail(p, t, "expected '{', found " + DictTokenText(t));
}

static bool IsPlainName(std::string_view s) {
    return s.find('.') == std::string_view::npos && s.find('@') == std::string_view::npos;
}

bool ExpectName(DictParser &p, const char *what, std::string *out) {
    const DictToken &t = Next(p);
    if (t.kind != DictTok::Word || !IsPlainName(t.text))
        return ParseFail(p, t, std::string("expected ") + what + ", found " + DictTokenText(t));
    *out = t.text;
    return true;
}

bool ExpectNumber(DictParser &p, const char *what, int64_t lo, int64_t hi, int64_t *out) {
    const DictToken &t = Next(p);
    if (t.kind != DictTok::Number)
        return ParseFail(p, t, std::string("expected ") + what + ", found " + DictTokenText(t));
    if (t.number < lo || t.number > hi)
        return ParseFail(p, t, std::string(what) + " " + std::to_string(t.number) + " is outside " +
                                   std::to_string(lo) + ".." + std::to_string(hi));
    *out = t.number;
    return true;
}

bool ExpectString(DictParser &p, const char *what, std::string *out) {
    const DictToken &t = Next(p);
    if (t.kind != DictTok::String)
        return ParseFail(p, t, std::string("expected ") + what + " in double quotes, found " + DictTokenText(t));
    *out = t.text;
    return true;
}

bool ExpectNumberedHead(DictParser &p, const char *what, int64_t lo, int64_t hi, DictPos *pos, uint16_t *number) {
    *pos = PosOf(p, Next(p));
    int64_t v;
    if (!ExpectNumber(p, what, lo, hi, &v)) return false;
    *number = (uint16_t)v;
    return true;
}

bool ExpectNamedHead(DictParser &p, const char *keyword, DictPos *pos, std::string *name) {
    *pos = PosOf(p, Next(p));
    const DictToken &t = Next(p);
    if (t.kind != DictTok::Word && t.kind != DictTok::String)
        return ParseFail(p, t, std::string("expected a name after '") + keyword + "', found " + DictTokenText(t));
    *name = t.text;
    return true;
}

bool ExpectWordNumber(DictParser &p, const char *word, const char *usage, const char *what, int64_t lo, int64_t hi,
                      uint16_t *number) {
    const DictToken &t = Next(p);
    if (!IsWord(t, word)) return ParseFail(p, t, usage);
    int64_t v;
    if (!ExpectNumber(p, what, lo, hi, &v)) return false;
    *number = (uint16_t)v;
    return true;
}

bool ExpectValue(DictParser &p, const char *what, DictRefKind kind, DictValue *out) {
    const DictToken &t = Next(p);
    out->kind = kind;
    out->pos = PosOf(p, t);
    out->name.clear();
    out->number = 0;
    if (t.kind == DictTok::Number) {
        out->number = t.number;
        return true;
    }
    bool nameOk = t.kind == DictTok::Word && kind != DictRefKind::Number &&
                  (kind == DictRefKind::Offset || IsPlainName(t.text));
    if (!nameOk) return ParseFail(p, t, std::string("expected ") + what + ", found " + DictTokenText(t));
    out->name = t.text;
    return true;
}

bool ExpectChar(DictParser &p, const char *what, int64_t *out) {
    const DictToken &t = Next(p);
    if (t.kind == DictTok::String && t.text.size() == 1) {
        *out = (uint8_t)t.text[0];
        return true;
    }
    if (t.kind == DictTok::Number && t.number >= 0 && t.number <= 255) {
        *out = t.number;
        return true;
    }
    return ParseFail(p, t, std::string("expected ") + what + " (a one-character string or a code 0..255)");
}

bool ExpectFieldType(DictParser &p, uint16_t *out) {
    const DictToken &t = Next(p);
    const DictFieldType *type = nullptr;
    if (t.kind == DictTok::Word) type = DictTypeByName(t.text);
    else if (t.kind == DictTok::Number) type = DictTypeByCode(t.number);
    else return ParseFail(p, t, "expected a field type, found " + DictTokenText(t));
    if (!type) {
        std::string shown = t.kind == DictTok::Word ? t.text : std::to_string(t.number);
        return ParseFail(p, t, "unknown field type '" + shown + "'");
    }
    *out = type->code;
    return true;
}

// number [Name] "text"
bool ParseText(DictParser &p) {
    DictText text;
    const DictToken &first = Next(p);
    text.pos = PosOf(p, first);
    text.number = first.number;
    if (Peek(p).kind == DictTok::Word && !ExpectName(p, "a text name", &text.name)) return false;
    if (!ExpectString(p, "the text", &text.text)) return false;
    if (!ExpectEol(p)) return false;
    p.src->texts.push_back(std::move(text));
    return true;
}

// Name offset type [size] [overlay]
static bool ParseField(DictParser &p, uint16_t kind, std::vector<DictField> *fields) {
    DictField f;
    f.pos = PosOf(p, Peek(p));
    f.kind = kind;
    int64_t offset;
    if (!ExpectName(p, "a field name", &f.name)) return false;
    if (!ExpectNumber(p, "field offset", 0, 0xFFFFFFFFll, &offset)) return false;
    f.offset = (uint32_t)offset;
    if (!ExpectFieldType(p, &f.type)) return false;
    const DictToken &t = Peek(p);
    if (t.kind == DictTok::Number || (t.kind == DictTok::Word && t.text != "overlay")) {
        if (!ExpectValue(p, "a size", DictRefKind::Choice, &f.arg)) return false;
        f.hasArg = true;
    }
    if (IsWord(Peek(p), "overlay")) {
        Next(p);
        f.overlay = true;
    }
    if (!ExpectEol(p)) return false;
    fields->push_back(std::move(f));
    return true;
}

// A field line starts with a name followed by its offset.
static bool AtField(const DictParser &p) {
    return Peek(p).kind == DictTok::Word && Peek(p, 1).kind == DictTok::Number &&
           Peek(p, 2).kind != DictTok::Open;
}

// rows size N { fields, kind K { fields } }
static bool ParseRows(DictParser &p, DictRecord *r) {
    const DictToken &head = Next(p);
    if (r->rows) return ParseFail(p, head, "a second rows layout in " + r->name);
    DictRows rows;
    rows.pos = PosOf(p, head);
    int64_t size;
    if (!IsWord(Next(p), "size")) return ParseFail(p, head, "expected 'rows size N {'");
    if (!ExpectNumber(p, "row size", 1, RecordSizeMax, &size)) return false;
    rows.size = (uint32_t)size;
    rows.kinds = 1;
    bool ok = ParseBody(p, [&] {
        if (IsWord(Peek(p), "kind") && Peek(p, 2).kind == DictTok::Open) {
            Next(p);
            int64_t kind;
            if (!ExpectNumber(p, "row kind", 1, 65535, &kind)) return false;
            if (kind > rows.kinds) rows.kinds = (uint16_t)kind;
            return ParseBody(p, [&] {
                if (!AtField(p)) return ParseFail(p, Peek(p), "expected a field line: name offset type [size]");
                return ParseField(p, (uint16_t)kind, &rows.fields);
            }) && ExpectEol(p);
        }
        if (!AtField(p)) return ParseFail(p, Peek(p), "expected a field line or 'kind N {'");
        return ParseField(p, 0, &rows.fields);
    });
    if (!ok || !ExpectEol(p)) return false;
    r->rows = std::move(rows);
    return true;
}

// index Name head H node N [entries E] [words a b c] { key parts }
static bool ParseIndex(DictParser &p, DictRecord *r) {
    Next(p);
    DictIndex x;
    x.pos = PosOf(p, Peek(p));
    if (!ExpectName(p, "an index name", &x.name)) return false;
    bool haveHead = false, haveNode = false;
    while (Peek(p).kind == DictTok::Word) {
        const DictToken &attr = Next(p);
        int64_t v;
        if (attr.text == "head") {
            if (!ExpectNumber(p, "index head", 0, 65535, &v)) return false;
            x.head = (uint16_t)v;
            haveHead = true;
        } else if (attr.text == "node") {
            if (!ExpectNumber(p, "node size", 0, 0xFFFFFFFFll, &v)) return false;
            x.node = (uint32_t)v;
            haveNode = true;
        } else if (attr.text == "entries") {
            if (!ExpectNumber(p, "entries", 0, 65535, &v)) return false;
            x.entries = v;
        } else if (attr.text == "words") {
            for (int i = 0; i < 3; i++) {
                if (!ExpectNumber(p, "index word", 0, 65535, &v)) return false;
                x.words[i] = (uint16_t)v;
            }
        } else {
            return ParseFail(p, attr, "unknown index attribute '" + attr.text + "'");
        }
    }
    if (!haveHead || !haveNode) return ParseFail(p, Peek(p), "index " + x.name + " needs 'head' and 'node'");
    bool ok = ParseBody(p, [&] {
        while (Peek(p).kind == DictTok::Word || Peek(p).kind == DictTok::Number) {
            DictKeyPart k;
            k.pos = PosOf(p, Peek(p));
            if (Peek(p).kind == DictTok::Word) {
                if (!ExpectName(p, "a field name", &k.field)) return false;
            } else {
                int64_t off, len;
                if (!ExpectNumber(p, "key part offset", 0, 0xFFFFFFFFll, &off)) return false;
                if (!ExpectNumber(p, "key part length", 1, 65535, &len)) return false;
                if (!ExpectFieldType(p, &k.type)) return false;
                k.offset = (uint32_t)off;
                k.length = (uint32_t)len;
            }
            x.parts.push_back(std::move(k));
        }
        return ExpectEol(p);
    });
    if (!ok || !ExpectEol(p)) return false;
    r->indexes.push_back(std::move(x));
    return true;
}

// register N Name size S [matrix X] [usercode X] [simple] { ... }
// settings N Name size S { ... }   settings N Name table { rows ... }
bool ParseRecord(DictParser &p, bool block) {
    DictRecord r;
    r.block = block;
    const DictToken &head = Next(p);
    r.pos = PosOf(p, head);
    int64_t number;
    if (!ExpectNumber(p, block ? "settings-block number" : "register number", 1, 65535, &number)) return false;
    r.number = (uint16_t)number;
    if (!ExpectName(p, block ? "a block name" : "a register name", &r.name)) return false;
    bool haveSize = false;
    while (Peek(p).kind == DictTok::Word) {
        const DictToken &attr = Next(p);
        int64_t v;
        if (attr.text == "size") {
            if (!ExpectNumber(p, "record size", 1, RecordSizeMax, &v)) return false;
            r.size = (uint32_t)v;
            haveSize = true;
        } else if (block && attr.text == "table") {
            r.table = true;
        } else if (!block && attr.text == "matrix") {
            r.matrix.emplace();
            if (!ExpectValue(p, "a field name or offset", DictRefKind::Offset, &*r.matrix)) return false;
        } else if (!block && attr.text == "usercode") {
            r.userCode.emplace();
            if (!ExpectValue(p, "a field name or offset", DictRefKind::Offset, &*r.userCode)) return false;
        } else if (!block && attr.text == "simple") {
            r.simple = true;
        } else {
            return ParseFail(p, attr, "unknown attribute '" + attr.text + "' of " + r.name);
        }
    }
    if (r.table && haveSize) return ParseFail(p, head, "a table block takes its size from its rows");
    if (!r.table && !haveSize) return ParseFail(p, head, r.name + " needs 'size N'");
    bool ok = ParseBody(p, [&] {
        const DictToken &t = Peek(p);
        if (IsWord(t, "rows") && Peek(p, 1).kind == DictTok::Word) return ParseRows(p, &r);
        if (!block && IsWord(t, "index") && Peek(p, 1).kind == DictTok::Word) return ParseIndex(p, &r);
        if (AtField(p)) {
            if (r.table) return ParseFail(p, t, "a table block holds only its 'rows' layout");
            return ParseField(p, 0, &r.fields);
        }
        return ParseFail(p, t, "expected a field line (name offset type [size])" +
                                   std::string(block ? " or 'rows'" : ", 'rows' or 'index'"));
    });
    if (!ok || !ExpectEol(p)) return false;
    if (r.table && !r.rows) return ParseFail(p, head, "table block " + r.name + " has no 'rows' layout");
    if (r.table) r.size = r.rows->size;
    p.src->records.push_back(std::move(r));
    return true;
}

// layout Name [base Register] size S { fields }
bool ParseLayout(DictParser &p) {
    DictLayout l;
    const DictToken &head = Next(p);
    l.pos = PosOf(p, head);
    if (!ExpectName(p, "a layout name", &l.name)) return false;
    bool haveSize = false;
    while (Peek(p).kind == DictTok::Word) {
        const DictToken &attr = Next(p);
        int64_t v;
        if (attr.text == "size") {
            if (!ExpectNumber(p, "layout size", 1, RecordSizeMax, &v)) return false;
            l.size = (uint32_t)v;
            haveSize = true;
        } else if (attr.text == "base") {
            l.base.emplace();
            if (!ExpectValue(p, "a register", DictRefKind::Register, &*l.base)) return false;
        } else {
            return ParseFail(p, attr, "unknown attribute '" + attr.text + "' of layout " + l.name);
        }
    }
    if (!haveSize) return ParseFail(p, head, "layout " + l.name + " needs 'size N'");
    bool ok = ParseBody(p, [&] {
        if (!AtField(p)) return ParseFail(p, Peek(p), "expected a field line (name offset type [size])");
        return ParseField(p, 0, &l.fields);
    });
    if (!ok || !ExpectEol(p)) return false;
    p.src->layouts.push_back(std::move(l));
    return true;
}

void DictParse(DictSource *src, std::string_view fileName, std::string_view text) {
    DictParser p{src, (int)src->files.size(), {}};
    src->files.emplace_back(fileName);
    int errorLine = 0;
    std::string why;
    if (!DictLex(text, &p.toks, &errorLine, &why)) {
        DictError(src, DictPos{p.file, errorLine}, why);
        return;
    }
    for (;;) {
        SkipEols(p);
        const DictToken &t = Peek(p);
        if (t.kind == DictTok::End) return;
        bool ok;
        if (t.kind == DictTok::Number) ok = ParseText(p);
        else if (IsWord(t, "register")) ok = ParseRecord(p, false);
        else if (IsWord(t, "settings")) ok = ParseRecord(p, true);
        else if (IsWord(t, "layout")) ok = ParseLayout(p);
        else if (IsWord(t, "wintype")) ok = ParseWinType(p);
        else if (IsWord(t, "window")) ok = ParseWindow(p);
        else if (IsWord(t, "menu")) ok = ParseMenu(p);
        else if (IsWord(t, "list")) ok = ParseList(p);
        else if (IsWord(t, "choice")) ok = ParseChoice(p);
        else if (IsWord(t, "chartable")) ok = ParseCharTable(p);
        else if (IsWord(t, "collation")) ok = ParseCollation(p);
        else if (IsWord(t, "name")) ok = ParseName(p);
        else if (IsWord(t, "builtin")) ok = ParseBuiltin(p);
        else if (IsWord(t, "operator")) ok = ParseOperator(p);
        else ok = ParseFail(p, t, "unexpected " + DictTokenText(t) + " at the start of a statement");
        if (!ok) return;
    }
}
