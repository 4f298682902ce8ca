// dict.h - the dictionary compiler as a library: reads the text source of
// the interface file (dict/*.dict, syntax in dict/README.md), checks it,
// and builds the InterfaceDefs that InterfaceWrite lays out, together with
// the generated header of named offsets. dictc.cpp is its command line;
// the tests drive these functions directly.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/interface_defs.h"
#include "tools/dict_model.h"

// Reads one source file's UTF-8 text into src. fileName is used in
// messages only. A syntax error stops the reading of this file and is
// added to src->errors as "file:line: message".
void DictParse(DictSource *src, std::string_view fileName, std::string_view text);

// Once every file is read: resolves names across files, runs every check
// and fills *out. False when src->errors holds any message (then *out is
// not to be written).
bool DictBuild(DictSource *src, InterfaceDefs *out);

// The text of the generated header of named offsets and numbers. Only
// meaningful after a successful DictBuild.
std::string DictHeaderText(const DictSource &src);

// Parses, builds and renders the header in one call: files are (name,
// text) pairs. Returns false with the messages in *errors.
bool DictCompile(const std::vector<std::pair<std::string, std::string>> &files, InterfaceDefs *out,
                 std::string *header, std::vector<std::string> *errors);
