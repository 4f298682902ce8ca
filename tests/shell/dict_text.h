// dict_text.h - loads an interface file compiled from dictionary source
// text, for tests that need window types or menus the real dictionary
// does not define.
#pragma once

#include <string>
#include <vector>

#include "core/interface_load.h"
#include "core/interface_write.h"
#include "tools/dict.h"

// Compiles `source` and loads the result in place of the current
// interface file; false with the reasons in *error.
inline bool LoadDictText(const std::string &source, std::string *error)
{
    InterfaceDefs defs;
    std::string header;
    std::vector<std::string> errors;
    if (!DictCompile({{"test.dict", source}}, &defs, &header, &errors)) {
        *error = errors.empty() ? "refused" : errors.front();
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!InterfaceWrite(defs, &bytes, error)) return false;
    InterfaceUnload();
    return LoadDefinitionsFromBytes(bytes.data(), bytes.size(), error, "test.WIN");
}
