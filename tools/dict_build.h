// dict_build.h - the steps of DictBuild that turn a parsed DictSource into
// InterfaceDefs, and the symbol tables they share. dict_build.cpp runs
// them in order; each step adds its own "file:line: message" errors.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "core/interface_defs.h"
#include "tools/dict_model.h"

struct DictSymbols {
    std::map<std::string, int64_t> textNames;
    std::map<int64_t, const DictText *> texts;
    std::map<std::string, const DictRecord *> recordNames;   // registers and blocks
    std::map<std::string, const DictLayout *> layoutNames;
    std::map<int64_t, const DictRecord *> registers, blocks;
    std::map<std::string, uint16_t> winTypeNames;
    std::map<int64_t, const DictWinType *> winTypes;
    std::map<std::string, uint16_t> choiceNames;
    std::map<int64_t, const DictChoice *> choices;
};

// Resolves a value to its number: a name through the symbols, a number
// checked where the kind demands a definition (a text, register, block or
// window type that exists; 0 always passes). False after an error.
bool DictResolve(DictSource *src, const DictSymbols &sym, const DictValue &v, int64_t *out);

// Registers and settings blocks: layouts, checks, index definitions.
void DictBuildRecords(DictSource *src, const DictSymbols &sym, InterfaceDefs *out);
// The program's own layouts: base register, fields and names.
void DictBuildLayouts(DictSource *src, const DictSymbols &sym);
// Window types, window layouts, list tables, menus and choice lists.
void DictBuildInterface(DictSource *src, const DictSymbols &sym, InterfaceDefs *out);
// The window layouts against the records they show (dict_window_checks.cpp);
// runs on a build without errors.
void DictCheckWindows(DictSource *src, const DictSymbols &sym, const InterfaceDefs &built);
// Character tables, collation and the name table.
void DictBuildTables(DictSource *src, InterfaceDefs *out);

// The hash of a formula name: the sum of its upper-cased bytes mod 256.
uint8_t DictNameHash(const std::string &name);

// True when name can stand as a C++ name in the generated header: not a
// keyword, no leading "_" and no "__". *why says what is wrong.
bool DictHeaderNameOk(const std::string &name, std::string *why);
