// dict_types.cpp - the table of field types that the dictionary source
// names. The codes are the stored FieldType numbers; the names are ours.
#include "tools/dict_types.h"

#include <array>

static constexpr std::array<DictFieldType, DictFieldTypeMax + 1> Types = {{
    {"none", 0, DictArg::Bytes, 0},
    {"text", 1, DictArg::Length, 0},
    {"amount", 2, DictArg::Fixed, 12},
    {"none3", 3, DictArg::Bytes, 0},
    {"none4", 4, DictArg::Bytes, 0},
    {"long", 5, DictArg::Fixed, 4},
    {"date", 6, DictArg::Fixed, 6},
    {"stamp", 7, DictArg::Fixed, 14},
    {"debit", 8, DictArg::Fixed, 12},
    {"credit", 9, DictArg::Fixed, 12},
    {"short", 10, DictArg::Fixed, 2},
    {"short11", 11, DictArg::Fixed, 2},
    {"label", 12, DictArg::Bytes, 0},
    {"bool", 13, DictArg::Fixed, 1},
    {"percent", 14, DictArg::Fixed, 12},
    {"thousands", 15, DictArg::Fixed, 12},
    {"millions", 16, DictArg::Fixed, 12},
    {"code", 17, DictArg::Length, 0},
    {"mark", 18, DictArg::Fixed, 2},
    {"long0", 19, DictArg::Fixed, 4},
    {"amount1", 20, DictArg::Fixed, 12},
    {"amount0", 21, DictArg::Fixed, 12},
    {"code22", 22, DictArg::Length, 0},
    {"amount3", 23, DictArg::Fixed, 12},
    {"handle", 24, DictArg::Fixed, 4},
    {"hidden", 25, DictArg::Length, 0},
    {"longdate", 26, DictArg::Fixed, 6},
    {"keycode", 27, DictArg::Length, 0},
    {"lookup", 28, DictArg::Bytes, 0},
    {"amount3z", 29, DictArg::Fixed, 12},
    {"choice", 30, DictArg::Choice, 2},
    {"none31", 31, DictArg::Bytes, 0},
    {"balance", 32, DictArg::Bytes, 0},
    {"spaced", 33, DictArg::Length, 0},
}};

const DictFieldType *DictTypeByName(std::string_view name) {
    for (const DictFieldType &t : Types)
        if (name == t.name) return &t;
    return nullptr;
}

const DictFieldType *DictTypeByCode(int64_t code) {
    if (code < 0 || code > DictFieldTypeMax) return nullptr;
    return &Types[(size_t)code];
}
