// roads_by_menu_test.cpp - the list of roads by module and menu in
// docs/road_tests.md holds to the roads: every road file is listed, every
// file listed is a road, and each menu entry listed for a road is named
// in that road's opening comment, which also names its menus and its
// windows. A reader going from a menu entry to the road that walks it
// finds the road, and the road says the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path TestsDir = fs::path(ORVEL_TEST_DATA_DIR);

// The road files of tests/roads.
std::set<std::string> RoadFiles()
{
    std::set<std::string> out;
    for (const auto &e : fs::directory_iterator(TestsDir / "roads")) {
        const std::string name = e.path().filename().string();
        if (name.rfind("road_", 0) == 0 && name.size() > 9 && name.substr(name.size() - 9) == "_test.cpp")
            out.insert(name);
    }
    return out;
}

// A file's opening comment, its lines joined by single spaces without
// their "// ".
std::string OpeningComment(const fs::path &file)
{
    std::ifstream in(file);
    std::string line, out;
    while (std::getline(in, line) && line.rfind("//", 0) == 0) {
        std::string text = line.substr(2);
        if (!text.empty() && text[0] == ' ') text.erase(0, 1);
        if (!out.empty()) out += ' ';
        out += text;
    }
    return out;
}

struct Entry {
    std::string menu;                // "File > Job queue...", "(no menu)"
    std::vector<std::string> roads;  // the files named after it
    int line = 0;
};

// The entries of the section "Roads by module and menu":
// "- MENU: `file`, `file`".
std::vector<Entry> ListedEntries(std::string *error)
{
    std::ifstream in(TestsDir / ".." / "docs" / "road_tests.md");
    if (!in) {
        *error = "docs/road_tests.md cannot be read";
        return {};
    }
    std::vector<Entry> out;
    std::string line;
    bool inSection = false;
    for (int n = 1; std::getline(in, line); n++) {
        if (line.rfind("## ", 0) == 0) {
            inSection = line == "## Roads by module and menu";
            continue;
        }
        if (!inSection || line.rfind("- ", 0) != 0) continue;
        size_t colon = line.find(": `");
        if (colon == std::string::npos) {
            *error = "docs/road_tests.md line " + std::to_string(n) + " names no road: " + line;
            return {};
        }
        Entry e{line.substr(2, colon - 2), {}, n};
        for (size_t at = line.find('`', colon); at != std::string::npos;) {
            size_t end = line.find('`', at + 1);
            if (end == std::string::npos) break;
            e.roads.push_back(line.substr(at + 1, end - at - 1));
            at = line.find('`', end + 1);
        }
        out.push_back(e);
    }
    if (out.empty()) *error = "docs/road_tests.md has no section \"Roads by module and menu\" with entries";
    return out;
}

TEST(RoadsByMenu, EveryRoadIsListedByItsMenusAndSaysTheSameInItsOpeningComment)
{
    std::string error;
    const std::vector<Entry> entries = ListedEntries(&error);
    ASSERT_TRUE(error.empty()) << error;
    const std::set<std::string> files = RoadFiles();
    ASSERT_GT(files.size(), 50u);

    std::map<std::string, std::string> comments;
    for (const std::string &f : files) comments[f] = OpeningComment(TestsDir / "roads" / f);

    std::set<std::string> listed;
    for (const Entry &e : entries) {
        EXPECT_FALSE(e.roads.empty()) << "line " << e.line << ": " << e.menu;
        for (const std::string &road : e.roads) {
            listed.insert(road);
            if (!files.count(road)) {
                ADD_FAILURE() << "line " << e.line << " lists " << road << ", which is no road of tests/roads";
                continue;
            }
            if (e.menu == "(no menu)") {
                EXPECT_NE(comments[road].find("Menus: none"), std::string::npos) << road;
                continue;
            }
            EXPECT_NE(comments[road].find(e.menu), std::string::npos)
                << road << "'s opening comment does not name " << e.menu << " (docs/road_tests.md line " << e.line
                << ")";
        }
    }
    for (const std::string &f : files) {
        EXPECT_TRUE(listed.count(f)) << f << " is not listed in docs/road_tests.md";
        EXPECT_NE(comments[f].find("Menus: "), std::string::npos) << f << "'s opening comment names no menus";
        EXPECT_NE(comments[f].find("Windows: "), std::string::npos) << f << "'s opening comment names no windows";
    }
}

}  // namespace
