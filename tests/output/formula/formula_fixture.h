// formula_fixture.h - the built interface file with its formula
// vocabulary (or a vocabulary of the test's own), the messages the
// formula language shows, and byte-code helpers for the machine's tests.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/memblock.h"
#include "core/format_block.h"
#include "core/message_sink.h"
#include "core/name_table.h"
#include "core/pstring.h"
#include "output/formula/formula.h"
#include "tests/core/built_interface.h"
#include "tools/dict.h"

namespace formula_test {

inline std::vector<std::string> Shown;

class FormulaTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
        Shown.clear();
        MessageSinkSet([](const char *t) { Shown.push_back(t); });
        VmTablesAlloc();
        ScriptTablesAlloc();
    }
    void TearDown() override { MessageSinkSet(nullptr); }

    // Replaces the name table by dict/names.dict followed by extra lines.
    void UseVocabulary(const std::string &extra) {
        std::ifstream in(std::string(ORVEL_DICT_SOURCE_DIR) + "/names.dict");
        std::stringstream text;
        text << in.rdbuf() << "\n" << extra << "\n";
        InterfaceDefs defs;
        std::string header;
        std::vector<std::string> errors;
        ASSERT_TRUE(DictCompile({{"names.dict", text.str()}}, &defs, &header, &errors))
            << (errors.empty() ? "" : errors[0]);
        const NameTableSource &n = defs.names;
        ASSERT_TRUE(NameTableSetBlocks(n.header, n.kept1, n.kept2, n.buckets, n.entries, n.pool));
    }

    // CompileScript on text; the messages it showed go to Shown.
    std::string Eval(const std::string &formula) {
        PString t;
        PStringFromView(t, formula);
        Shown.clear();
        int level = VmTopIndex();
        uint32_t blocks = MemBlockCount();
        CompileScript(t);
        EXPECT_EQ(VmTopIndex(), level) << formula;
        EXPECT_EQ(MemBlockCount(), blocks) << formula;
        return PStringToStd(t);
    }
};

// Byte code assembled by the test, run in a frame of its own like a
// formula; the value stack is left as the run left it.
struct Code {
    std::vector<uint8_t> bytes;
    Code &Op(std::initializer_list<int> b) {
        for (int x : b) bytes.push_back((uint8_t)x);
        return *this;
    }
    Code &Real(double d) {
        uint64_t bits;
        std::memcpy(&bits, &d, 8);
        bytes.push_back(35);
        for (int i = 0; i < 8; i++) bytes.push_back((uint8_t)(bits >> (8 * i)));
        return *this;
    }
    Code &Int(int v) { return Op({34, v & 255, (v >> 8) & 255}); }
    Code &Str(const std::string &s) {
        bytes.push_back(32);
        bytes.push_back((uint8_t)s.size());
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    // Runs the code (ended by halt) and returns whether it ran to its end.
    bool Run() {
        Op({128, 13});
        MemBlock h = MemAlloc((uint32_t)bytes.size());
        std::memcpy(MemLock(h), bytes.data(), bytes.size());
        MemUnlock(h);
        bool ok = ScriptRun(0, h);
        MemFree(&h);
        return ok;
    }
};

// An amount text written with a point, in the company's format.
inline std::string Amount(std::string text) {
    for (char &c : text)
        if (c == '.') c = (char)FormatDecimalSep();
    return text;
}

inline std::string TopText() {
    const VmValue *v = VmTop();
    return std::string((const char *)VmText(v), v->length);
}

}  // namespace formula_test
