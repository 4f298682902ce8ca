// script_scanner.cpp - the formula compiler's scanner: turns the formula
// text into tokens (numbers, string literals, names with their class in
// the name table, operators and punctuation) and reads the raw-text
// arguments of built-ins. Reads stop at the formula's zero byte and no
// token text passes 255 characters.
#include <cstring>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/name_table.h"
#include "core/pstring.h"
#include "output/formula/formula_internal.h"

namespace {

uint8_t Peek(int ahead = 0) {
    int i = Script.srcPos + ahead;
    return i < (int)sizeof Script.src ? Script.src[i] : 0;
}

bool IsLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == 175 || c == 191 || c == '_'; }
bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

void AddText(uint8_t c) {
    if (Script.textLength < PStringMax) Script.text[Script.textLength++] = c;
    Script.text[Script.textLength] = 0;
}

void Operator(int op, int length) {
    Script.kind = ScriptTok::Operator;
    Script.op = op;
    Script.srcPos += length;
}

void StringLiteral(uint8_t quote) {
    Script.srcPos++;
    for (;;) {
        uint8_t c = Peek();
        if (c == 0 || c == '\r' || c == '\n') break;
        Script.srcPos++;
        if (c == quote) {
            if (Peek() != quote) break;
            Script.srcPos++;
        }
        AddText(c);
    }
    Script.kind = ScriptTok::String;
}

void NumberLiteral() {
    while (IsDigit(Peek())) AddText(Script.src[Script.srcPos++]);
    if (Peek() == '.') {
        AddText('.');
        Script.srcPos++;
        while (IsDigit(Peek())) AddText(Script.src[Script.srcPos++]);
    }
    PString text;
    PStringFromView(text, std::string_view((const char *)Script.text, Script.textLength));
    Script.number = TextToDouble(text);
    Script.kind = ScriptTok::Number;
}

void NameToken() {
    unsigned hash = 0;
    while (IsLetter(Peek()) || IsDigit(Peek())) {
        uint8_t c = UpperChar(Script.src[Script.srcPos++]);
        hash += c;
        AddText(c);
    }
    Script.kind = ScriptTok::Name;
    Script.cls = ScriptUnknownClass;
    Script.index = 0;
    uint16_t e = NameTableLookup((const char *)Script.text, (int)(hash & 255));
    if (const uint8_t *entry = e == NameTableEnd ? nullptr : NameTableEntry(e)) {
        Script.cls = GetU16(entry, 4);
        Script.index = GetU16(entry, 6);
    }
}

}  // namespace

void ScriptNextToken() {
    Script.textLength = 0;
    Script.text[0] = 0;
    Script.op = 0;
    while (Peek() == ' ') Script.srcPos++;
    uint8_t c = Peek();
    switch (c) {
    case 0: Script.kind = ScriptTok::End; return;
    case '\r': case '\n':
        Script.srcPos++;
        Script.kind = ScriptTok::LineEnd;
        return;
    case '!':
        Script.srcPos++;
        while (Peek() != 0 && Peek() != '\r' && Peek() != '\n') {
            if (Script.src[Script.srcPos++] == '!') break;
        }
        Script.kind = ScriptTok::Comment;
        return;
    case '"': case '\'': StringLiteral(c); return;
    case '&': Operator(5, 1); return;
    case '*': Operator(1, 1); return;
    case '+': Operator(3, 1); return;
    case '-': Operator(4, 1); return;
    case '/': Operator(2, 1); return;
    case '=': Operator(7, 1); return;
    case '<':
        if (Peek(1) == '=') Operator(11, 2);
        else if (Peek(1) == '>') Operator(12, 2);
        else Operator(10, 1);
        return;
    case '>':
        if (Peek(1) == '=') Operator(9, 2);
        else Operator(8, 1);
        return;
    case '(': Script.kind = ScriptTok::Open; break;
    case ')': Script.kind = ScriptTok::Close; break;
    case ',': Script.kind = ScriptTok::Comma; break;
    case ':': Script.kind = ScriptTok::Colon; break;
    case ';': Script.kind = ScriptTok::Semicolon; break;
    default:
        if (IsDigit(c)) {
            NumberLiteral();
            return;
        }
        if (IsLetter(c)) {
            NameToken();
            return;
        }
        Script.kind = ScriptTok::Unknown;
        break;
    }
    Script.srcPos++;
}

void ScriptAdvance() {
    do ScriptNextToken();
    while (Script.kind == ScriptTok::Comment || Script.kind == ScriptTok::LineEnd);
}

void ScriptRawArg() {
    Script.textLength = 0;
    Script.text[0] = 0;
    while (Peek() == ' ') Script.srcPos++;
    for (uint8_t c = Peek(); c != 0 && c != ')' && c != ',' && c != '\r' && c != '\n'; c = Peek()) {
        Script.srcPos++;
        if (c != '"' && c != '\'') AddText(c);
    }
}
