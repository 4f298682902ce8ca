// dictionary_facts_test.cpp - the field positions that the program's code
// relies on, checked against the interface file the build compiled.
//
// Every tests/dict/*.facts file lists, one per line and tab-separated,
//   KIND NUMBER OFFSET TYPECODE WHAT
// where KIND is R (a field of a register's record), RR (a field of its
// rows), B (a field of a one-record settings block) or BR (a field of the
// rows of a table block). Each line must find a field at that offset with
// that type code in QVENG.WIN; lines starting with '#' and empty lines are
// skipped. Each file is its own test case, so that one owner's file can be
// run alone (--gtest_filter='*DictionaryFacts*settings*').
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "core/definitions.h"
#include "core/interface_load.h"
#include "core/pstring.h"
#include "tests/core/built_interface.h"

namespace {

namespace fs = std::filesystem;

// The folder of the facts files: given by the build when it defines
// ORVEL_TEST_DATA_DIR (the tests' source folder), else this file's own.
fs::path FactsFolder() {
#ifdef ORVEL_TEST_DATA_DIR
    return fs::path(ORVEL_TEST_DATA_DIR) / "dict";
#else
    return fs::path(__FILE__).parent_path();
#endif
}

std::vector<std::string> FactsFiles() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry &e : fs::directory_iterator(FactsFolder(), ec))
        if (e.is_regular_file() && e.path().extension() == ".facts") names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct Fact {
    std::string kind;
    int number = 0;
    uint32_t offset = 0;
    uint16_t type = 0;
};

bool ParseNumber(const std::string &s, int64_t lo, int64_t hi, int64_t *out) {
    const char *end = s.data() + s.size();
    auto [p, ec] = std::from_chars(s.data(), end, *out);
    return ec == std::errc() && p == end && *out >= lo && *out <= hi;
}

// Splits a line at tabs; false with a reason when it is not a fact.
bool ParseFact(const std::string &line, Fact *f, std::string *why) {
    std::vector<std::string> cols;
    std::stringstream ss(line);
    for (std::string c; std::getline(ss, c, '\t');) cols.push_back(c);
    if (cols.size() < 5) {
        *why = "needs five tab-separated columns, has " + std::to_string(cols.size());
        return false;
    }
    f->kind = cols[0];
    if (f->kind != "R" && f->kind != "RR" && f->kind != "B" && f->kind != "BR") {
        *why = "unknown kind '" + f->kind + "' (R, RR, B or BR)";
        return false;
    }
    int64_t number, offset, type;
    bool block = f->kind[0] == 'B';
    if (!ParseNumber(cols[1], block ? 129 : 1, block ? 227 : 132, &number)) {
        *why = "bad " + std::string(block ? "settings-block" : "register") + " number '" + cols[1] + "'";
        return false;
    }
    if (!ParseNumber(cols[2], 0, 65535, &offset)) {
        *why = "bad offset '" + cols[2] + "'";
        return false;
    }
    if (!ParseNumber(cols[3], 0, 33, &type)) {
        *why = "bad type code '" + cols[3] + "'";
        return false;
    }
    f->number = (int)number;
    f->offset = (uint32_t)offset;
    f->type = (uint16_t)type;
    return true;
}

// The types of the fields at f's offset in the list or layout f names;
// false with a reason when the register or block is missing or has no
// such list.
bool TypesAtOffset(const Fact &f, std::vector<uint16_t> *types, std::string *why) {
    auto fromList = [&](FieldListRef list) {
        FieldCursor c = FieldListBegin(list);
        for (FieldInfo fi; FieldListNext(&c, &fi);)
            if (fi.offset == f.offset) types->push_back(fi.type);
    };
    auto fromRows = [&](RowLayoutRef rows) {
        FieldCursor c = RowLayoutBegin(rows);
        for (RowFieldInfo ri; RowLayoutNext(&c, &ri);)
            if (ri.offset == f.offset) types->push_back(ri.type);
    };
    if (f.kind[0] == 'R') {
        if (RegName(f.number)[0] == 0) {
            *why = "register " + std::to_string(f.number) + " is not defined";
            return false;
        }
        if (f.kind == "R") {
            fromList(RegFieldList(f.number));
            return true;
        }
        RowLayoutRef rows = RegRowLayout(f.number);
        if (!rows.layout) {
            *why = "register " + std::to_string(f.number) + " (" + PStringToStd(RegName(f.number)) + ") has no rows";
            return false;
        }
        fromRows(rows);
        return true;
    }
    const uint8_t *desc = SettingsBlockDesc(f.number, nullptr);
    if (!desc) {
        *why = "settings block " + std::to_string(f.number) + " is not defined";
        return false;
    }
    bool table = SettingsDescKind(desc) == 0;
    if (table != (f.kind == "BR")) {
        *why = "settings block " + std::to_string(f.number) + (table ? " is a table of rows" : " is one record");
        return false;
    }
    if (table) fromRows(SettingsDescRows(desc));
    else fromList(SettingsDescFields(desc));
    return true;
}

class DictionaryFacts : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
    }
    void TearDown() override { InterfaceUnload(); }
};

TEST_P(DictionaryFacts, EveryLineMatchesTheBuiltFile) {
    fs::path path = FactsFolder() / GetParam();
    std::ifstream in(path);
    ASSERT_TRUE(in) << path;
    int lineNr = 0, checked = 0;
    for (std::string line; std::getline(in, line);) {
        lineNr++;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::string where = GetParam() + ":" + std::to_string(lineNr) + ": ";
        Fact f;
        std::string why;
        if (!ParseFact(line, &f, &why)) {
            ADD_FAILURE() << where << why;
            continue;
        }
        checked++;
        std::vector<uint16_t> types;
        if (!TypesAtOffset(f, &types, &why)) {
            ADD_FAILURE() << where << why;
            continue;
        }
        if (types.empty()) {
            ADD_FAILURE() << where << "no field at offset " << f.offset << " of " << f.kind << " " << f.number;
        } else if (std::find(types.begin(), types.end(), f.type) == types.end()) {
            std::string have;
            for (uint16_t t : types) have += (have.empty() ? "" : ", ") + std::to_string(t);
            ADD_FAILURE() << where << "the field at offset " << f.offset << " of " << f.kind << " " << f.number
                          << " has type " << have << ", not " << f.type;
        }
    }
    EXPECT_GT(checked, 0) << GetParam() << " holds no facts";
}

std::string ParamName(const ::testing::TestParamInfo<std::string> &info) {
    std::string name = fs::path(info.param).stem().string();
    for (char &c : name)
        if (!std::isalnum((unsigned char)c)) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Files, DictionaryFacts, ::testing::ValuesIn(FactsFiles()), ParamName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(DictionaryFacts);

// The facts folder is found and a file with a bad line is caught: a fact
// whose field is elsewhere or of another type fails, one that is right
// passes.
TEST(DictionaryFactsFolder, HoldsFactsAndCatchesWrongOnes) {
    EXPECT_FALSE(FactsFiles().empty()) << "no .facts files in " << FactsFolder();

    std::string error;
    ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
    auto matches = [](const std::string &line) {
        Fact f;
        std::string why;
        std::vector<uint16_t> types;
        return ParseFact(line, &f, &why) && TypesAtOffset(f, &types, &why) &&
               std::find(types.begin(), types.end(), f.type) != types.end();
    };
    // The number and date format block is part of every build.
    EXPECT_TRUE(matches("B\t145\t0\t10\tdate order"));
    EXPECT_TRUE(matches("B\t145\t12\t1\tthousands separator"));
    EXPECT_FALSE(matches("B\t145\t12\t10\twrong type"));
    EXPECT_FALSE(matches("B\t145\t1\t10\tinside another field"));
    EXPECT_FALSE(matches("BR\t145\t0\t10\tnot a table"));
    EXPECT_FALSE(matches("B\t145\t0\tx\tbad type"));
    EXPECT_FALSE(matches("B\t128\t0\t10\tnot a block number"));
    EXPECT_FALSE(matches("Q\t145\t0\t10\tunknown kind"));
    EXPECT_FALSE(matches("B\t145\t0\t10"));
    InterfaceUnload();
}

}  // namespace
