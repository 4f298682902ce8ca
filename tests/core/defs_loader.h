// defs_loader.h - small interface files made inside tests: InterfaceDefs
// written by the real writer and loaded as the current definitions.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/definitions.h"
#include "core/interface_load.h"
#include "core/interface_write.h"

// Sets the read, write and collation tables of d to the identity.
inline void IdentityTables(InterfaceDefs *d) {
    for (int i = 0; i < 256; i++) d->collation[i] = d->readTable[i] = d->writeTable[i] = (uint8_t)i;
}

// Writes d, lets patch change the bytes, and loads the result; a refusal
// of either side is a fatal failure of the calling test.
template <typename Patch>
void LoadDefs(const InterfaceDefs &d, Patch patch) {
    std::vector<uint8_t> file;
    std::string error;
    ASSERT_TRUE(InterfaceWrite(d, &file, &error)) << error;
    patch(file);
    ASSERT_TRUE(LoadDefinitionsFromBytes(file.data(), file.size(), &error)) << error;
}

inline void LoadDefs(const InterfaceDefs &d) {
    LoadDefs(d, [](std::vector<uint8_t> &) {});
}

// Byte offset of block n's contents (1-based) in a written file.
inline size_t BlockAt(const std::vector<uint8_t> &f, int n) {
    size_t at = 0;
    for (int i = 1; i < n; i++) at += 4 + DefU32(&f[at]);
    return at + 4;
}
