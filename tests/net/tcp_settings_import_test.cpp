// tcp_settings_import_test.cpp - the "setuptcp" section read by the text
// import and by the settings file: the same values from the same lines,
// a value that is not valid refused (the import damaged at its line, the
// file's value at its default), and the section after it still read.
#include <gtest/gtest.h>

#include "net/tcp_settings.h"
#include "shell/net_services.h"
#include "tests/exchange/exchange_fixture.h"

namespace {

class TcpSectionImport : public ExchangeFixture {
protected:
    TcpSettingsRec saved = TcpSettings;
    uint16_t savedPort = TcpPort, savedListen = TcpListenPort, savedMode = RunMode;
    void TearDown() override {
        TcpSettings = saved;
        TcpPort = savedPort;
        TcpListenPort = savedListen;
        RunMode = savedMode;
        ExchangeFixture::TearDown();
    }
    // Marks the settings so that a change shows.
    static void Mark() {
        TcpSettingsRec m;
        m.serverAddress = "mark";
        m.clientPort = 7;
        m.serverPort = 8;
        TcpSettingsTake(m);
    }
};

}  // namespace

TEST_F(TcpSectionImport, TheImportTakesTheSameValuesAsTheFile) {
    const std::string section = "setuptcp\t\r\n10.1.2.3456789012345678901\tnote\r\n4000\r\n4001\r\n3\r\n\r\n";
    TcpSettingsRec file;
    int bad = -1;
    ASSERT_TRUE(TcpSettingsParse(section, &file, &bad));
    EXPECT_EQ(bad, 0);
    Mark();
    RunMode = 0;
    ImportBytes(section + "ot\r\nA\tAlpha\r\n\r\n");
    EXPECT_EQ(ImportResult.damageLine, 0u);
    EXPECT_EQ(TcpSettings.serverAddress, file.serverAddress);
    EXPECT_EQ(TcpSettings.serverAddress, "10.1.2.3456789012345");
    EXPECT_EQ(TcpSettings.clientPort, 4000);
    EXPECT_EQ(TcpPort, 4000);
    EXPECT_EQ(TcpListenPort, 4001);
    EXPECT_EQ(TcpSettings.runMode, 3);
    EXPECT_EQ(RunMode, 0) << "an import never switches the running program's mode";
    EXPECT_EQ(RegRecordCount(24), 1u) << "the section after it was read";

    // An empty run-mode line closes the section: the next tag is still read.
    Mark();
    ImportBytes("setuptcp\t\r\n\r\n1\r\n2\r\n\r\not\r\nB\tBeta\r\n\r\n");
    EXPECT_EQ(ImportResult.damageLine, 0u);
    EXPECT_EQ(TcpSettings.serverAddress, TcpDefaultAddress);
    EXPECT_EQ(TcpSettings.runMode, TcpRunModeNone);
    EXPECT_EQ(TcpListenPort, 2);
    EXPECT_EQ(RegRecordCount(24), 2u);
}

TEST_F(TcpSectionImport, AValueThatIsNotValidIsRefusedAtItsLine) {
    struct Case {
        const char *lines;   // the four value lines
        uint32_t line;       // the import's damaged line, the file's bad value line + 1
    };
    for (Case c : {Case{"h\r\n99999\r\n1\r\n2", 3}, Case{"h\r\n1\r\n0\r\n2", 4}, Case{"h\r\n-5\r\n1\r\n2", 3},
                   Case{"h\r\n12ab\r\n1\r\n", 3}, Case{"h\r\n1\r\n2\r\n7", 5}, Case{"h\r\n1\r\n\r\n", 4}}) {
        const std::string section = std::string("setuptcp\t\r\n") + c.lines + "\r\n\r\n";
        TcpSettingsRec file;
        int bad = 0;
        ASSERT_TRUE(TcpSettingsParse(section, &file, &bad)) << c.lines;
        EXPECT_EQ(uint32_t(bad) + 1, c.line) << c.lines;
        EXPECT_NE(file.clientPort, 0) << "a bad port keeps its default";
        EXPECT_NE(file.serverPort, 0);
        EXPECT_LE(file.runMode == TcpRunModeNone ? 0 : file.runMode, 3);
        Mark();
        MessagesShown.clear();
        ImportBytes(section + "ot\r\nC\tGamma\r\n\r\n");
        EXPECT_EQ(ImportResult.damageLine, c.line) << c.lines;
        EXPECT_EQ(Shown(Texts::ImportDamaged), 1) << c.lines;
        EXPECT_EQ(TcpSettings.serverAddress, "mark") << "nothing of a refused section is taken";
        EXPECT_EQ(TcpPort, 7);
        EXPECT_EQ(RegRecordCount(24), 0u);
    }
}

TEST_F(TcpSectionImport, TheFilesBadPortIsToldAndKeepsItsDefault) {
    std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    std::ofstream("QVTCP.INI") << "setuptcp\r\n10.0.0.2\r\nabc\r\n5001\r\n2\r\n";
    MessagesShown.clear();
    EXPECT_EQ(TcpSettingsLoad(), 0);
    EXPECT_EQ(TcpPort, 1234);
    EXPECT_EQ(TcpListenPort, 5001);
    EXPECT_EQ(RunMode, 2);
    EXPECT_EQ(Shown(10900), 1);
    EXPECT_NE(MessagesShown.empty() ? std::string::npos : MessagesShown[0].find(" 3"), std::string::npos);
    SocketsActive = false;
    std::filesystem::current_path(old);
}
