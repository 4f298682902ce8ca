// company_open_test.cpp - a new company's defaults, imports and their
// window, the client's import, DOS letters and form-definition lookup.
#include "tests/shell/shell_fixture.h"

#include <filesystem>
#include <functional>

#include "core/field_access.h"
#include "core/field_types.h"
#include "database/access/remote_calls.h"
#include "core/work_blocks.h"
#include "platform/menu.h"
#include "shell/company.h"
#include "dict_offsets.h"
#include "shell/database_open.h"
#include "tests/output/test_job.h"

namespace {

namespace fs = std::filesystem;
constexpr int LoginType = 15;

// A text reader over a small file of sections: a line "[Name]" starts the
// section of the register of that name, any other line is the code of one
// record stored there; one line a step. It opens the path it is given.
struct ScriptedReader {
    std::vector<std::string> lines;
    int reg = 0, openResult = 0, failAt = 0, steps = 0, closes = 0;
    std::function<void()> onStep;   // what the test looks at during a step
} Reader;

// A record of reg (customers, persons or form definitions) keyed by code;
// empty for another register.
std::vector<uint8_t> Keyed(int reg, const std::string &code)
{
    uint32_t at = reg == CSVc::Number ? CSVc::CustCode : reg == DocVc::Number ? uint32_t(DocVc::Code) : PEVc::Code;
    if (reg != CSVc::Number && reg != DocVc::Number && reg != PEVc::Number) return {};
    std::vector<uint8_t> r(RegRecordSize(reg), 0);
    PString text;
    PStringFromC(text, code.c_str());
    EXPECT_TRUE(FieldFromText(r.data() + at, reg == CSVc::Number ? 17 : 27, reg == PEVc::Number ? 5 : 20, text));
    return r;
}
bool Store(int reg, std::vector<uint8_t> r)
{
    uint32_t recid = 0;
    return !r.empty() && RecInsertUnchecked(reg, r.data(), &recid);
}
bool Has(int reg, const std::string &code) { return RecExists(reg, Keyed(reg, code).data()); }

void InstallReader()
{
    SettingsText.importFileOpen = [](const uint8_t *path, int) {
        std::ifstream in(PStringToStd(path));
        if (Reader.openResult || !in) return Reader.openResult ? Reader.openResult : 2;
        for (std::string line; std::getline(in, line);) Reader.lines.push_back(line);
        return 0;
    };
    SettingsText.importFileClose = [] { return ++Reader.closes, 0; };
    SettingsText.importAtEnd = [] { return size_t(Reader.steps) >= Reader.lines.size(); };
    SettingsText.importTextStep = [] {
        const std::string &line = Reader.lines[size_t(Reader.steps++)];
        if (Reader.onStep) Reader.onStep();
        if (line.front() == '[') Reader.reg = RegByName(line.substr(1, line.size() - 2).c_str());
        else if (Reader.steps == Reader.failAt || !Store(Reader.reg, Keyed(Reader.reg, line))) DbHoldFail();
    };
}

class CompanyOpen : public ShellCompanyFixture {
protected:
    void SetUp() override
    {
        ShellCompanyFixture::SetUp();
        if (HasFatalFailure()) return;
        MakeFrame();
        Reader = ScriptedReader{};
        InstallReader();
    }
    void Write(const std::string &name, const std::string &text) { std::ofstream(dir / name) << text; }
    bool Create(const char *name)
    {
        PString path;
        PathOf(name, path);
        return OpenCompany(path, 0);
    }
    static int RegisterMenuCount() { return MenuItemCount(MenuHandles.registerPopup); }
    static std::vector<uint32_t> BarFlags()
    {
        std::vector<uint32_t> f;
        for (int i = 0; i < MenuItemCount(MenuHandles.bar); i++) f.push_back(MenuItemFlags(MenuHandles.bar, i));
        return f;
    }
    static uint8_t Lookup(const char *name)
    {
        std::vector<uint8_t> r(DocVc::Size, 0);
        PString t;
        PStringFromC(t, name);
        MessagesShown.clear();
        EXPECT_EQ(DocDefLookup(t, r.data()), 0);
        return DocumentState;
    }
};

TEST_F(CompanyOpen, ANewCompanyIsFilledFromItsDefaultsAndThenAsksForTheLogin)
{
    Write("DEFAULT.TXT", "[CSVc]\nC100\nC200\n[DocVc]\nINVOICE\nINVOICE_LONG_NAME_20\n[PEVc]\nANNA\n");
    int menuDuringImport = -1;
    bool loginDuringImport = false;
    Reader.onStep = [&] {
        menuDuringImport = RegisterMenuCount();
        loginDuringImport |= WinFindByDef(LoginType) != 0;
    };
    // The person the defaults bring is asked for by the login window.
    ScriptText("anna");
    ScriptKey(PlKey::Tab);
    ScriptKey(PlKey::Tab);
    ScriptKey(PlKey::Return);

    ASSERT_TRUE(Create("new.VDB"));
    EXPECT_TRUE(Has(CSVc::Number, "C100") && Has(CSVc::Number, "C200") && RegRecordCount(CSVc::Number) == 2);
    EXPECT_TRUE(MessagesShown.empty());
    EXPECT_EQ(std::tuple(menuDuringImport, loginDuringImport, Reader.closes, TransferBuffer),
              std::tuple(0, false, 1, 0u));
    uint8_t user[6];
    CurrentUserCode(user);
    EXPECT_EQ(PStringToStd(user), "ANNA");   // only the login window could give it
    EXPECT_TRUE(LoggedInFlag && WinFindByDef(LoginType) == 0 && RegisterMenuCount() > 0);

    // The imported form definitions: usable unless aliased; a name too
    // long finds none by its cut; a missing one is told by name.
    EXPECT_EQ(Lookup("INVOICE"), 3);
    EXPECT_TRUE(MessagesShown.empty());
    std::vector<uint8_t> copy = Keyed(DocVc::Number, "COPY");
    copy[DocVc::Alias] = 7;
    ASSERT_TRUE(Store(DocVc::Number, copy));
    EXPECT_EQ(Lookup("COPY"), 0);
    EXPECT_EQ(MessagesShown, std::vector<std::string>{TextOf(1546) + "COPY"});
    EXPECT_EQ(Lookup("INVOICE_LONG_NAME_20X"), 0);
    EXPECT_EQ(Lookup("ORDER"), 0);
    EXPECT_EQ(MessagesShown, std::vector<std::string>{TextOf(1546) + "ORDER"});
    // A print run names the form choice it looked in: the message names
    // the documents and the window that chooses their form, for that one
    // lookup.
    DocDefLookupFor(141);
    EXPECT_EQ(Lookup(""), 0);
    EXPECT_EQ(MessagesShown, std::vector<std::string>{"No form is chosen for payment reminders: choose one in the "
                                                      "window \"Forms: reminders\" under Settings > Forms."});
    DocDefLookupFor(151);
    EXPECT_EQ(Lookup("ORDER"), 0);
    EXPECT_EQ(MessagesShown, std::vector<std::string>{TextOf(1546) + "ORDER for orders, chosen in the window "
                                                      "\"Forms: orders\" under Settings > Forms."});
    EXPECT_EQ(Lookup("ORDER"), 0);
    EXPECT_EQ(MessagesShown, std::vector<std::string>{TextOf(1546) + "ORDER"});
    EXPECT_EQ(Lookup(""), 0);
    EXPECT_EQ(MessagesShown, std::vector<std::string>{"No form definition name was given."});
    DocDefLookupFor(151);
    EXPECT_EQ(Lookup("INVOICE"), 3);
    EXPECT_TRUE(MessagesShown.empty());

    // On a server the same defaults ask for no login: nothing is typed,
    // and a login window would have been cancelled for want of input.
    Write("DEFAULT.TXT", "[PEVc]\nANNA\n");
    static int serving;
    serving = 0;
    NetServices.serverRunModeOn = [] { serving++; };
    RunMode = RunModeServer;
    MessagesShown.clear();
    Reader = ScriptedReader{};
    ASSERT_TRUE(Create("served.VDB"));
    EXPECT_TRUE(serving == 1 && Has(PEVc::Number, "ANNA") && MessagesShown.empty());
    EXPECT_EQ(WinFindByDef(LoginType), 0);
}

// Without a defaults file the company starts empty, and is told so. A
// defaults file that fails to import makes no company: no file is left
// (nor its temporary one), the failure is told once with the company's
// path and what failed, and the next attempt starts afresh.
TEST_F(CompanyOpen, FailedDefaultsLeaveNoCompanyAndAreToldOnce)
{
    ASSERT_TRUE(Create("none.VDB"));   // no defaults file
    EXPECT_EQ(MessagesShown, std::vector<std::string>{TextOf(9504)});
    DbClose();

    auto failure = [&](const char *name, const std::string &why) {
        return TextOf(Texts::CompanyCreateFailed) + (dir / name).string() + " - " + why;
    };
    auto nothingLeft = [&](const char *name) {
        return !fs::exists(dir / name) && !fs::exists(dir / (std::string(name) + ".new")) && !DbOpenFlag &&
               !D4IsOpen();
    };
    Write("DEFAULT.TXT", "[CSVc]\nC100\n");
    MessagesShown.clear();
    Reader.openResult = 7;
    EXPECT_FALSE(Create("refused.VDB"));
    EXPECT_EQ(MessagesShown, std::vector<std::string>{failure("refused.VDB", TextOf(9950) + "7).")});
    EXPECT_TRUE(nothingLeft("refused.VDB"));
    EXPECT_EQ(Reader.closes, 0);

    // Two steps whose holds fail (one refused, one of no register).
    Write("DEFAULT.TXT", "[CSVc]\nC100\nC200\n[NoSuchVc]\nX\n");
    MessagesShown.clear();
    Reader = ScriptedReader{};
    Reader.failAt = 3;
    EXPECT_FALSE(Create("partly.VDB"));
    EXPECT_EQ(MessagesShown, std::vector<std::string>{failure("partly.VDB", "2" + TextOf(9951))});
    EXPECT_TRUE(nothingLeft("partly.VDB"));

    // The same name again, the defaults now whole: the company is made.
    Write("DEFAULT.TXT", "[CSVc]\nC100\nC200\n");
    MessagesShown.clear();
    Reader = ScriptedReader{};
    ASSERT_TRUE(Create("partly.VDB"));
    EXPECT_TRUE(MessagesShown.empty());
    EXPECT_TRUE(Has(CSVc::Number, "C100") && Has(CSVc::Number, "C200") && DbOpenFlag);
    EXPECT_FALSE(fs::exists(dir / "partly.VDB.new"));
}

TEST_F(CompanyOpen, AnImportOpensTheWholePathAndShowsItsStatusOnlyInItsWindow)
{
    ASSERT_TRUE(Create("company.VDB"));
    const std::string name = "a_rather_long_import_file_name.TXT";
    Write(name, "[CSVc]\nC300\n");
    PString path;
    PathOf(name.c_str(), path);
    PutU16(TestJob, ReportParamsVc::OutputKind, 2);
    auto band = [](int n) {   // the status line's pixels
        std::vector<uint32_t> px;
        for (int y = 44; y < 64; y++)
            for (int x = 20; x < 220; x++) px.push_back(Pixel(n, x, y));
        return px;
    };
    PString other;
    PStringFromC(other, "something else");
    std::string title;
    bool inked = false, otherKindDrawsNothing = false, drawn = false, openedWithShortName = false;
    Reader.onStep = [&] {
        int n = ImportWindowNumber;
        if (Reader.steps > 1 || !WinIsOpen(n)) return;   // the window as it opened
        title = WinTitle(WinTable[n]->mdiChild);
        std::vector<uint32_t> shown = band(n);
        for (uint32_t p : shown) inked |= p != shown.front();
        PutU16(TestJob, ReportParamsVc::OutputKind, 1);
        ImportStatusText(other);
        otherKindDrawsNothing = band(n) == shown;
        PutU16(TestJob, ReportParamsVc::OutputKind, 2);
        ImportStatusText(other);
        drawn = band(n) != shown;
        ImportStatusText(ImportFileShortName);
        openedWithShortName = band(n) == shown;
    };

    EXPECT_EQ(ImportFile(path, 0), 0);
    EXPECT_EQ(PStringToStd(ImportFileShortName), name.substr(0, 20));
    EXPECT_TRUE(Has(CSVc::Number, "C300"));
    EXPECT_EQ(title, TextOf(1517));
    EXPECT_TRUE(inked && otherKindDrawsNothing && drawn && openedWithShortName);
    EXPECT_EQ(std::tuple(ImportWindowNumber, ImportingFlag), std::tuple(0, 0));

    // With no import window a status text draws nowhere, not even in the port.
    int n = Bare(WinTypeByName("ImpWClass"));
    SetPortWindow(n);
    std::vector<uint32_t> before = band(n);
    ImportStatusText(other);
    EXPECT_EQ(band(n), before);

    // A file the reader cannot open: no run, no success.
    Reader = ScriptedReader{};
    PathOf("missing.TXT", path);
    EXPECT_EQ(ImportFile(path, 0), 2);
    EXPECT_EQ(Reader.closes + Reader.steps, 0);

    // A client sends the file; the connection goes during the send: the
    // bars are off while it is sent and on again after, nothing imports here.
    static std::vector<uint16_t> requests;
    static std::vector<uint32_t> barWhileSending;
    requests.clear();
    TransportInstall(
        [](uint16_t code, MsgBuffer *, MsgBuffer *) {
            requests.push_back(code);
            barWhileSending = BarFlags();
            return false;
        },
        nullptr);
    RunMode = RunModeClient;
    PathOf(name.c_str(), path);
    PutU16(TestJob, ReportParamsVc::OutputKind, 0);
    std::vector<uint32_t> bar = BarFlags();
    EXPECT_EQ(ImportFile(path, 0), RecConnectionLost);
    EXPECT_EQ(requests, std::vector<uint16_t>{ReqImportRun});
    EXPECT_TRUE(barWhileSending != bar && BarFlags() == bar);
    EXPECT_EQ(GetU16(TestJob, ReportParamsVc::OutputKind), 2);
    EXPECT_EQ(std::tuple(Reader.steps, Reader.closes, ImportWindowNumber), std::tuple(0, 1, 0));

    SettingsText = SettingsTextExchange{};   // no reader is no success
    EXPECT_NE(ImportFile(path, 0), 0);
}

TEST_F(CompanyOpen, DosLettersOfTheWesternLetters)
{
    auto dos = [](const char *s) {
        PString t;
        PStringFromC(t, s);
        AnsiToDosLetters(t);
        return PStringToStd(t);
    };
    EXPECT_EQ(std::tuple(dos(""), dos("\xE4"), dos("x\xC5\xF6y\xE5\xC4\xD6")),
              std::tuple("", "\x84", "x\x8F\x94y\x86\x8E\x99"));
}

}  // namespace

namespace {

// A company file the program did not close (it ended without, and the
// file's in-use word stayed set) opens, and the log says so in its own
// line; once closed, the next open is logged by name.
TEST_F(CompanyOpen, ACompanyLeftOpenIsLoggedAsSuch)
{
    ASSERT_TRUE(Create("left.VDB"));
    DbClose();
    constexpr long InUseWord = 44;   // in the file's header
    {
        std::fstream f(dir / "left.VDB", std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(InUseWord);
        f.put(1);
    }
    std::string notClosed = TextOf(Texts::DatabaseNotClosed);
    EXPECT_EQ(notClosed.rfind("Internal error", 0), std::string::npos);
    EXPECT_EQ(LogLines(notClosed), 0);

    PString path;
    PathOf("left.VDB", path);
    ASSERT_TRUE(DbOpen(path, 0));
    EXPECT_EQ(LogLines(notClosed), 1);
    int byName = LogLines("Open database " + (dir / "left.VDB").string());
    DbClose();
    ASSERT_TRUE(DbOpen(path, 0));
    EXPECT_EQ(LogLines(notClosed), 1);
    EXPECT_EQ(LogLines("Open database " + (dir / "left.VDB").string()), byName + 1);
    DbClose();
}

}  // namespace
