// dict_lexer.cpp - tokeniser of the dictionary source.
#include "tools/dict_lexer.h"

#include <cstdio>

#include "tools/dict_cp1252.h"

static bool IsWordStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
static bool IsWordChar(char c) { return IsWordStart(c) || IsDigit(c) || c == '.' || c == '@'; }

static int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Numbers beyond this are refused: every stored value is at most 32 bits.
constexpr int64_t NumberLimit = 0xFFFFFFFFll;

// Reads a number at src[*i]; false when it is malformed or too large.
static bool LexNumber(std::string_view src, size_t *i, int64_t *value, std::string *why) {
    bool negative = false;
    if (src[*i] == '-') { negative = true; (*i)++; }
    int64_t v = 0;
    size_t start = *i;
    if (*i + 1 < src.size() && src[*i] == '0' && (src[*i + 1] == 'x' || src[*i + 1] == 'X')) {
        *i += 2;
        start = *i;
        while (*i < src.size() && HexValue(src[*i]) >= 0) {
            v = v * 16 + HexValue(src[*i]);
            if (v > NumberLimit) { *why = "number too large"; return false; }
            (*i)++;
        }
    } else {
        while (*i < src.size() && IsDigit(src[*i])) {
            v = v * 10 + (src[*i] - '0');
            if (v > NumberLimit) { *why = "number too large"; return false; }
            (*i)++;
        }
    }
    if (*i == start || (*i < src.size() && IsWordChar(src[*i]))) {
        *why = "malformed number";
        return false;
    }
    *value = negative ? -v : v;
    return true;
}

// Reads a string whose opening quote is at src[*i]; converts its UTF-8
// runs to cp1252 and its escapes to bytes.
static bool LexString(std::string_view src, size_t *i, std::string *out, std::string *why) {
    out->clear();
    size_t run = ++*i;
    auto flush = [&](size_t end) {
        std::string part;
        if (!Utf8ToCp1252(src.substr(run, end - run), &part, why)) return false;
        *out += part;
        return true;
    };
    while (true) {
        if (*i >= src.size() || src[*i] == '\n') { *why = "unterminated string"; return false; }
        char c = src[*i];
        if (c == '"') {
            if (!flush(*i)) return false;
            (*i)++;
            return true;
        }
        if ((uint8_t)c < 0x20) {
            *why = "control character in a string (write it as \\xNN)";
            return false;
        }
        if (c != '\\') { (*i)++; continue; }
        if (!flush(*i)) return false;
        char e = *i + 1 < src.size() ? src[*i + 1] : 0;
        *i += 2;
        if (e == '"' || e == '\\') out->push_back(e);
        else if (e == 'n') out->push_back('\n');
        else if (e == 't') out->push_back('\t');
        else if (e == 'x' && *i + 1 < src.size() && HexValue(src[*i]) >= 0 && HexValue(src[*i + 1]) >= 0) {
            out->push_back((char)(HexValue(src[*i]) * 16 + HexValue(src[*i + 1])));
            *i += 2;
        } else {
            *why = "unknown escape in a string";
            return false;
        }
        run = *i;
    }
}

bool DictLex(std::string_view src, std::vector<DictToken> *out, int *errorLine, std::string *why) {
    out->clear();
    int line = 1;
    size_t i = 0;
    auto add = [&](DictTok kind, std::string text = {}, int64_t number = 0) {
        out->push_back(DictToken{kind, line, std::move(text), number});
    };
    while (i < src.size()) {
        char c = src[i];
        if (c == '\n') {
            add(DictTok::Eol);
            line++;
            i++;
        } else if (c == ' ' || c == '\t' || c == '\r') {
            i++;
        } else if (c == '#') {
            while (i < src.size() && src[i] != '\n') i++;
        } else if (c == '\\') {
            size_t j = i + 1;
            while (j < src.size() && (src[j] == ' ' || src[j] == '\t' || src[j] == '\r')) j++;
            if (j < src.size() && src[j] != '\n') {
                *errorLine = line;
                *why = "\"\\\" must end its line";
                return false;
            }
            i = j + 1;   // the line break is skipped: the lines join
            line++;
        } else if (c == '{') {
            add(DictTok::Open, "{");
            i++;
        } else if (c == '}') {
            add(DictTok::Close, "}");
            i++;
        } else if (c == '-' && i + 1 < src.size() && src[i + 1] == '>') {
            add(DictTok::Arrow, "->");
            i += 2;
        } else if (IsDigit(c) || (c == '-' && i + 1 < src.size() && IsDigit(src[i + 1]))) {
            int64_t v;
            if (!LexNumber(src, &i, &v, why)) { *errorLine = line; return false; }
            add(DictTok::Number, {}, v);
        } else if (IsWordStart(c)) {
            size_t start = i;
            while (i < src.size() && IsWordChar(src[i])) i++;
            add(DictTok::Word, std::string(src.substr(start, i - start)));
        } else if (c == '"') {
            std::string s;
            if (!LexString(src, &i, &s, why)) { *errorLine = line; return false; }
            add(DictTok::String, std::move(s));
        } else {
            *errorLine = line;
            char buf[48];
            if ((uint8_t)c >= 0x21 && (uint8_t)c < 0x7F) std::snprintf(buf, sizeof buf, "unexpected character '%c'", c);
            else std::snprintf(buf, sizeof buf, "unexpected byte 0x%02X", (unsigned)(uint8_t)c);
            *why = buf;
            return false;
        }
    }
    add(DictTok::Eol);
    add(DictTok::End);
    return true;
}

std::string DictTokenText(const DictToken &t) {
    switch (t.kind) {
    case DictTok::Word: return "'" + t.text + "'";
    case DictTok::Number: return "number " + std::to_string(t.number);
    case DictTok::String: return "a string";
    case DictTok::Open: return "'{'";
    case DictTok::Close: return "'}'";
    case DictTok::Arrow: return "'->'";
    case DictTok::Eol: return "end of line";
    case DictTok::End: return "end of file";
    }
    return "?";
}
