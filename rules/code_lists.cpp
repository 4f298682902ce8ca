// code_lists.cpp - code lists of report selections.
//
// A code list is written as an account formula: words (codes) separated
// by runs of the characters ":" "-" "+" "*" "," "."; "a:b" is the range
// from a to b in either order, bounds included and compared as texts.
// Blanks are skipped before a word and end it; a word cannot begin with
// ";" ":" "," "-" "+", so such a character where a word should start, or
// a blank followed by a separator, ends the list. Signs do not matter
// here: a subtracted code is still in the list.
#include <utility>

#include "core/pstring.h"
#include "rules/code_budgets.h"

namespace {

// Only the first 60 characters of a list are read.
constexpr int CodeListMax = 60;

bool IsRunChar(uint8_t c) { return c == ':' || c == '-' || c == '+' || c == '*' || c == ',' || c == '.'; }
bool EndsWord(uint8_t c) { return c == ' ' || c == ';' || c == ':' || c == ',' || c == '-' || c == '+'; }

struct Reader {
    const uint8_t *text;
    int length;
    int at;   // 1-based position of the next character
};

// Reads a run of separator characters; true when it is exactly ":".
bool ReadRun(Reader *r) {
    int start = r->at;
    while (r->at <= r->length && IsRunChar(r->text[r->at])) r->at++;
    return r->at - start == 1 && r->text[start] == ':';
}

// Reads the next word into word (blanks before it skipped); empty when
// the list ends here.
void ReadWord(Reader *r, uint8_t *word) {
    word[0] = 0;
    while (r->at <= r->length && r->text[r->at] == ' ') r->at++;
    while (r->at <= r->length && !EndsWord(r->text[r->at])) word[++word[0]] = r->text[r->at++];
}

}  // namespace

// True when code equals a word of list or lies in one of its ranges.
bool CodeListContains(const uint8_t *code, const uint8_t *list) {
    Reader r{list, list[0] > CodeListMax ? CodeListMax : list[0], 1};
    ReadRun(&r);
    for (;;) {
        PString word;
        ReadWord(&r, word);
        if (word[0] == 0) return false;
        if (!ReadRun(&r)) {
            if (PStringEqual(code, word)) return true;
            continue;
        }
        PString end;
        ReadWord(&r, end);
        if (end[0] == 0) return PStringEqual(code, word);   // "a:" then the list ends
        ReadRun(&r);
        const uint8_t *low = word, *high = end;
        if (PStringCompare(low, high) > 0) std::swap(low, high);
        if (PStringCompare(code, low) >= 0 && PStringCompare(code, high) <= 0) return true;
    }
}
