// Tests of the system services: time stamps, random ranges, unique
// output file names, the export file and the log file.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "core/pstring.h"
#include "core/system.h"

namespace fs = std::filesystem;

namespace {

// Runs a test in a fresh temporary directory and goes back afterwards.
struct TempDir {
    fs::path old = fs::current_path();
    fs::path dir;
    TempDir() {
        char pattern[] = "/tmp/orvel_system_XXXXXX";
        dir = mkdtemp(pattern);
        fs::current_path(dir);
    }
    ~TempDir() {
        fs::current_path(old);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

std::string ReadFile(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(SystemClock, TimeStampsAndRandomRanges) {
    std::tm t{};
    t.tm_mday = 5, t.tm_mon = 11, t.tm_year = 126, t.tm_hour = 4, t.tm_min = 3, t.tm_sec = 9;
    char buf[NowStringSize];
    FormatTimeStamp(&t, buf, true);
    EXPECT_STREQ(buf, "05 Dec 26 04:03:09");
    t.tm_mon = 0, t.tm_year = 100;
    FormatTimeStamp(&t, buf, false);
    EXPECT_STREQ(buf, "05-Jan-00");
    FormatNowString(buf, false);
    EXPECT_TRUE(strlen(buf) == 9 && buf[2] == '-' && buf[6] == '-') << buf;

    SeedRandom();
    std::set<int32_t> seen;
    for (int i = 0; i < 5000; ++i) {
        EXPECT_EQ(RandomRange(1, 1), 1);
        int32_t r = RandomRange(10, 14);  // 14 itself is never drawn
        EXPECT_TRUE(r >= 10 && r < 14) << r;
        seen.insert(r);
        r = RandomRange(INT32_MIN / 2, INT32_MAX / 2);  // a span that needs 32 bits
        EXPECT_TRUE(r >= INT32_MIN / 2 && r < INT32_MAX / 2) << r;
    }
    EXPECT_EQ(seen.size(), 4u);
    PackedDecimal dec;
    RandomDec(-7, -7, &dec);
    EXPECT_EQ(DecToLong(&dec), -7);
    EXPECT_EQ(ShortAbs(-5) + ShortAbs(7), 12);
    EXPECT_EQ(ShortAbs(INT16_MIN), INT16_MAX);
}

TEST(SystemFiles, UniqueNamesNeverRepeatOrOverwrite) {
    TempDir tmp;
    PString saved, name;
    PStringCopy(saved, OutFileDirectory);
    std::set<std::string> names;
    uint16_t word = 7;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(UniqueOutFileName(name, &word));
        std::string s = PStringToStd(name);  // out/<upper-case hex>.EEP
        EXPECT_TRUE(s.rfind("out/", 0) == 0 && s.find_first_not_of("0123456789ABCDEF", 4) == s.size() - 4 &&
                    s.ends_with(".EEP")) << s;
        EXPECT_TRUE(names.insert(s).second) << s;
    }
    EXPECT_EQ(word, 0);
    EXPECT_TRUE(fs::is_directory("out"));

    // Existing files are passed over: take the next 40 names in advance.
    PStringFromC(OutFileDirectory, "other");  // no trailing slash given
    fs::create_directories("other");
    for (long long stamp = time(nullptr); stamp < time(nullptr) + 40; ++stamp) {
        char n[32];
        snprintf(n, sizeof n, "other/%llX.EEP", stamp);
        std::ofstream(n) << "x";
    }
    ASSERT_TRUE(UniqueOutFileName(name, &word));
    EXPECT_EQ(PStringToStd(name).rfind("other/", 0), 0u);
    EXPECT_FALSE(fs::exists(PStringToStd(name)));

    std::ofstream("plainfile") << "x";
    PStringFromC(OutFileDirectory, "plainfile/sub/");  // cannot be made
    EXPECT_FALSE(UniqueOutFileName(name, &word));
    EXPECT_EQ(name[0], 0);
    PStringCopy(OutFileDirectory, saved);
}

TEST(SystemFiles, ExportFileAndLogFile) {
    TempDir tmp;
    EXPECT_NE(ExportFileWrite("x", 1), 0);  // nothing open
    PStringFromC(ExportFileName, "export.txt");
    ASSERT_TRUE(ExportFileOpen());
    EXPECT_EQ(ExportFileWrite("abc", 3) + ExportFileWrite("de", 2), 0);
    EXPECT_TRUE(ExportFileClose());
    EXPECT_EQ(ReadFile("export.txt"), "abcde");
    PStringFromC(ExportFileName, "missing/dir/export.txt");
    EXPECT_FALSE(ExportFileOpen());
    EXPECT_NE(ExportFileWrite("x", 1), 0);

    PString line;
    for (const char *text : {"first entry", "second", ""}) {
        PStringFromC(line, text);
        LogAppend(line);
    }
    CompactVariant = true;
    LogAppend(line);
    CompactVariant = false;
    EXPECT_EQ(ReadFile("orvel.log"), "first entry\r\nsecond\r\n\r\n");
    // A log that cannot be opened is skipped without harm.
    fs::remove("orvel.log");
    fs::create_directory("orvel.log");
    LogAppend(line);
    EXPECT_TRUE(fs::is_directory("orvel.log"));
}
