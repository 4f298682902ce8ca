// field_list_versions_test.cpp - every section's column list in every
// layout version, as FieldListFor hands it to the writer and the reader,
// against a listing kept beside the test. The export file's bytes and what
// an import accepts follow from these lists alone, so any change to a
// column (its field, type, length, kind or place), to a list's rows or to
// its special writer, reader or after-reading effect shows here first.
// ORVEL_GOLDEN_UPDATE=1 writes the listing instead of checking it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <tuple>

#include "exchange/field_lists.h"

namespace {

std::string ColumnsText(std::span<const Column> cols)
{
    std::string s;
    for (const Column &c : cols)
        s += " " + std::to_string(c.pos) + ":" + std::to_string(c.type) + ":" + std::to_string(c.len) + ":" +
             std::to_string(int(c.kind));
    return s;
}

// One list as FieldListFor gives it: who it is, its hooks, its columns.
std::string ListText(const FieldList &l)
{
    std::ostringstream s;
    s << (l.block ? "B" : "R") << l.first << "-" << l.last << " v" << int(l.version) << " hooks "
      << (l.write ? "W" : "-") << (l.read ? "R" : "-") << (l.after ? "A" : "-") << " rowSize " << l.rowSize
      << "\n  head" << ColumnsText(l.header) << "\n  rows" << ColumnsText(l.rows) << "\n";
    return s.str();
}

// Every (kind, number, version) that some list serves, each asked for
// through FieldListFor, with the newest of each number marked: the
// listing does not depend on how the lists are stored.
std::string AllListsText()
{
    std::set<std::tuple<bool, int, int>> asked;
    for (const FieldList &l : FieldLists)
        for (int n = l.first; n <= l.last; n++) asked.insert({l.block, n, l.version});
    std::string out;
    for (const auto &[block, number, version] : asked) {
        const FieldList *l = FieldListFor(block, number, version);
        if (!l) {
            out += "missing " + std::to_string(number) + " v" + std::to_string(version) + "\n";
            continue;
        }
        bool newest = FieldListFor(block, number, ListNewest) == l;
        out += std::string(block ? "block " : "register ") + std::to_string(number) + (newest ? " newest " : " ") +
               ListText(*l);
    }
    return out;
}

std::string Golden(const std::string &actual)
{
    std::filesystem::path p =
        std::filesystem::path(ORVEL_TEST_DATA_DIR) / "exchange" / "field_list_golden" / "versions.txt";
    const char *update = std::getenv("ORVEL_GOLDEN_UPDATE");
    if (update && *update == '1') std::ofstream(p, std::ios::binary) << actual;
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(FieldListVersions, EverySectionAndVersionKeepsItsColumns)
{
    std::string actual = AllListsText();
    std::string golden = Golden(actual);
    ASSERT_FALSE(golden.empty()) << "the listing is missing";
    if (actual == golden) return;
    // Name the first list that differs rather than dumping both.
    std::istringstream a(actual), g(golden);
    std::string la, lg;
    int line = 1;
    while (std::getline(a, la) && std::getline(g, lg) && la == lg) line++;
    ADD_FAILURE() << "line " << line << "\n now:  " << la << "\n kept: " << lg;
}

// Asking for a version no list has gives nothing, and the newest of a
// number is the list with the highest version of all that serve it.
TEST(FieldListVersions, UnknownVersionsAreRefusedAndNewestIsTheHighest)
{
    EXPECT_EQ(FieldListFor(false, 2, 9), nullptr);
    EXPECT_EQ(FieldListFor(false, 1, ListNewest), nullptr) << "no section for register 1";
    EXPECT_EQ(FieldListFor(true, 2, ListNewest), nullptr);
    for (const FieldList &l : FieldLists) {
        const FieldList *newest = FieldListFor(l.block, l.first, ListNewest);
        ASSERT_NE(newest, nullptr);
        EXPECT_GE(newest->version, l.version) << l.first;
        EXPECT_EQ(FieldListFor(l.block, l.last, l.version), FieldListFor(l.block, l.first, l.version)) << l.first;
    }
}

}  // namespace
