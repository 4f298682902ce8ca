// built_interface.h - loads the QVENG.WIN that the build compiled from
// dict/ and copied beside the tests, for the tests of the dictionary.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/interface_load.h"

// Loads the built interface file; false with the reason in *error when it
// is missing or refused.
inline bool LoadBuiltInterface(std::string *error) {
    std::ifstream in("QVENG.WIN", std::ios::binary);
    if (!in) {
        *error = "QVENG.WIN is not in the tests' working directory";
        return false;
    }
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return LoadDefinitionsFromBytes(file.data(), file.size(), error, "QVENG.WIN");
}
