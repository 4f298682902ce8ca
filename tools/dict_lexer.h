// dict_lexer.h - splits a dictionary source file into tokens.
//
// Words are ASCII names ([A-Za-z_] then letters, digits, "_", "." and
// "@"); numbers are decimal (with an optional "-") or 0x hexadecimal;
// strings are double-quoted UTF-8 with the escapes \" \\ \n \t and \xNN
// (one raw cp1252 byte) and come out in cp1252. "#" starts a comment to
// the end of the line; a "\" at the end of a line joins the next line to
// it. Ends of lines are tokens: statements are line-based.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class DictTok : uint8_t { Word, Number, String, Open, Close, Arrow, Eol, End };

struct DictToken {
    DictTok kind;
    int line;
    std::string text;   // the word, or the string's cp1252 bytes
    int64_t number = 0;
};

// Tokenises src. On a lexical error returns false with the line and the
// reason; *out then holds the tokens before it.
bool DictLex(std::string_view src, std::vector<DictToken> *out, int *errorLine, std::string *why);

// A readable description of a token for messages ("word 'size'", "end of line").
std::string DictTokenText(const DictToken &t);
