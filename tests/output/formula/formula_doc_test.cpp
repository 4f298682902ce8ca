// formula_doc_test.cpp - docs/formulas.md against the language the
// compiler reads: every built-in of the interface file's name table
// (dict/names.dict) is in the guide's function table under the name a
// user types, and the table names no function the compiler lacks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

fs::path Source(const std::string &file) { return fs::path(ORVEL_TEST_DATA_DIR) / ".." / file; }

// The names of the built-ins: the word after "builtin" on each line.
std::set<std::string> CompilerNames()
{
    std::set<std::string> names;
    std::ifstream in(Source("dict/names.dict"));
    for (std::string line; std::getline(in, line);) {
        std::istringstream s(line);
        std::string word, name;
        if (s >> word >> name && word == "builtin") names.insert(name);
    }
    return names;
}

// The names of the guide's function table: each row's first cell, every
// `NAME` in it (a cell may name two).
std::set<std::string> GuideNames(std::string *table)
{
    std::set<std::string> names;
    std::ifstream in(Source("docs/formulas.md"));
    bool inFunctions = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("## ", 0) == 0) inFunctions = line == "## Functions";
        if (!inFunctions || line.rfind("| `", 0) != 0) continue;
        *table += line + "\n";
        std::string cell = line.substr(1, line.find('|', 1) - 1);
        for (size_t at = cell.find('`'); at != std::string::npos; at = cell.find('`', at + 1)) {
            size_t end = cell.find('`', at + 1);
            if (end == std::string::npos) break;
            names.insert(cell.substr(at + 1, end - at - 1));
            at = end;
        }
    }
    return names;
}

TEST(FormulaGuide, ListsEveryFunctionTheCompilerKnowsAndNoOther)
{
    const std::set<std::string> compiler = CompilerNames();
    ASSERT_GE(compiler.size(), 13u) << "dict/names.dict was not read";
    std::string table;
    const std::set<std::string> guide = GuideNames(&table);
    for (const std::string &name : compiler) EXPECT_TRUE(guide.count(name)) << name << " is not in docs/formulas.md";
    for (const std::string &name : guide)
        EXPECT_TRUE(compiler.count(name)) << "docs/formulas.md names " << name << ", which the compiler lacks";
    // Each row gives its arguments and an example that calls the function.
    std::istringstream rows(table);
    for (std::string row; std::getline(rows, row);) {
        int cells = 0;
        for (char c : row) cells += c == '|';
        EXPECT_EQ(cells, 5) << row;
        EXPECT_NE(row.rfind("| `"), 0u) << "an example in its last cell: " << row;
    }
}

}  // namespace
