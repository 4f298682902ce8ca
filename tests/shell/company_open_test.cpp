// company_open_test.cpp - a new company filled from its defaults before
// the login (none on a server), failed defaults told while the company
// stays usable, the import window and its status line, the client's
// import, the export's DOS letters and the lookup of form definitions.
#include "../database/access/company_fixture.h"

#include <functional>

#include "core/field_access.h"
#include "core/field_types.h"
#include "database/access/remote_calls.h"
#include "platform/menu.h"
#include "shell/company.h"
#include "tests/output/output_fixture.h"

namespace {

// A text reader over a small file of sections: a line "[Name]" starts the
// section of the register of that name, every other line is the code of
// one record stored there, one record a step. It opens the path it is
// given, so a cut path is a file it cannot open.
struct ScriptedReader {
    std::vector<std::string> lines;
    size_t at = 0;
    int reg = 0;
    int openResult = 0;   // forced error of the open (0: open the file)
    int failAt = 0;       // the step whose hold fails (0 none)
    int steps = 0, closes = 0;
    std::vector<int> flushModes;       // the flush mode seen at each end test
    std::function<void()> onStep;      // what the test looks at during a step
} Reader;

// The key field of each register a test file fills.
struct KeyField {
    const char *name;
    int reg;
    uint32_t offset;
    uint16_t type;
    int length;
};
constexpr KeyField Keys[] = {{"CSVc", CSVc::Number, CSVc::CustCode, 17, 20},
                             {"DocVc", DocVc::Number, DocVc::Code, 27, 20},
                             {"PEVc", PEVc::Number, PEVc::Code, 27, 5}};

// Stores one record of reg with the code as its key; false when not stored.
bool StoreCode(int reg, const std::string &code)
{
    for (const KeyField &k : Keys) {
        if (k.reg != reg) continue;
        std::vector<uint8_t> record(RegRecordSize(reg), 0);
        PString text;
        PStringFromC(text, code.c_str());
        uint32_t recid = 0;
        return FieldFromText(record.data() + k.offset, k.type, k.length, text) &&
               RecInsertUnchecked(reg, record.data(), &recid);
    }
    return false;
}

// Whether reg holds a record with the code as its key.
bool HasCode(int reg, const std::string &code)
{
    for (const KeyField &k : Keys) {
        if (k.reg != reg) continue;
        std::vector<uint8_t> record(RegRecordSize(reg), 0);
        PString text;
        PStringFromC(text, code.c_str());
        return FieldFromText(record.data() + k.offset, k.type, k.length, text) && RecExists(reg, record.data());
    }
    return false;
}

void InstallReader()
{
    SettingsText.importFileOpen = [](const uint8_t *path, int) {
        if (Reader.openResult) return Reader.openResult;
        std::ifstream in(PStringToStd(path));
        if (!in) return 2;
        for (std::string line; std::getline(in, line);) Reader.lines.push_back(line);
        return 0;
    };
    SettingsText.importFileClose = [] { Reader.closes++; return 0; };
    SettingsText.importAtEnd = [] {
        Reader.flushModes.push_back(D4FlushMode());
        return Reader.at >= Reader.lines.size();
    };
    SettingsText.importTextStep = [] {
        const std::string &line = Reader.lines[Reader.at++];
        ++Reader.steps;
        if (Reader.onStep) Reader.onStep();
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            Reader.reg = RegByName(line.substr(1, line.size() - 2).c_str());
            return;
        }
        if (Reader.steps == Reader.failAt || !StoreCode(Reader.reg, line)) DbHoldFail();
    };
}

class CompanyOpen : public CompanyFixture {
protected:
    void SetUp() override
    {
        CompanyFixture::SetUp();
        if (HasFatalFailure()) return;
        MakeFrame();
        Reader = ScriptedReader{};
        InstallReader();
    }
    void WriteFile(const char *name, const std::string &text) { std::ofstream(dir / name) << text; }
    // Creates a company of the name in the folder; what OpenCompany said.
    bool Create(const char *name)
    {
        PString path;
        PathOf(name, path);
        return OpenCompany(path, 0);
    }
    // Items of the register popup, which the login fills.
    static int RegisterMenuCount() { return MenuItemCount(MenuHandles.registerPopup); }
    // A customer of the code stored after the import, checked.
    static bool CustomerStores(const char *code)
    {
        std::vector<uint8_t> record(CSVc::Size, 0);
        PString text;
        PStringFromC(text, code);
        uint32_t recid = 0;
        int result = -99;
        if (!FieldFromText(record.data() + CSVc::CustCode, 17, 20, text)) return false;
        RecInsertChecked(CSVc::Number, record.data(), &recid, &result);
        return result == RecDone && HasCode(CSVc::Number, code);
    }
};

TEST_F(CompanyOpen, ANewCompanyIsFilledFromItsDefaultsBeforeTheLogin)
{
    WriteFile("DEFAULT.TXT", "[CSVc]\nC100\nC200\n[DocVc]\nINVOICE\n");
    int menuDuringImport = -1;
    Reader.onStep = [&] { menuDuringImport = RegisterMenuCount(); };
    ASSERT_EQ(RegisterMenuCount(), 0);

    ASSERT_TRUE(Create("new.VDB"));
    EXPECT_TRUE(DbOpenFlag && D4IsOpen());
    EXPECT_TRUE(HasCode(CSVc::Number, "C100") && HasCode(CSVc::Number, "C200"));
    EXPECT_EQ(RegRecordCount(CSVc::Number), 2u);
    EXPECT_TRUE(HasCode(DocVc::Number, "INVOICE"));
    EXPECT_EQ(Reader.closes, 1);
    EXPECT_EQ(menuDuringImport, 0);      // no login yet while importing
    EXPECT_GT(RegisterMenuCount(), 0);   // the login ran afterwards
    EXPECT_TRUE(MessagesShown.empty());
    EXPECT_EQ(TransferBuffer, 0u);       // the transfer buffer lives for one run
    EXPECT_EQ(Reader.flushModes.front(), 0);
    EXPECT_EQ(D4FlushMode(), 1);

    // With a person in the defaults the login, now after the import, sees
    // users: the login is asked for (here it still refuses).
    WriteFile("DEFAULT.TXT", "[PEVc]\nANNA\n");
    Reader = ScriptedReader{};
    EXPECT_FALSE(Create("users.VDB"));
    EXPECT_TRUE(Said(TextOf(9512)));
    EXPECT_FALSE(DbOpenFlag);
}

TEST_F(CompanyOpen, OnAServerANewCompanyGetsNoLogin)
{
    static int serving = 0;
    serving = 0;
    NetServices.serverRunModeOn = [] { serving++; };
    RunMode = RunModeServer;
    WriteFile("DEFAULT.TXT", "[PEVc]\nANNA\n");

    ASSERT_TRUE(Create("served.VDB"));
    EXPECT_EQ(serving, 1);
    EXPECT_TRUE(DbOpenFlag && HasCode(PEVc::Number, "ANNA"));
    EXPECT_FALSE(Said(TextOf(9512)));   // a user is defined, yet no login ran
}

TEST_F(CompanyOpen, FailedDefaultsAreToldAndTheCompanyStaysUsable)
{
    // No file: the company starts without defaults, as the user is told.
    ASSERT_TRUE(Create("none.VDB"));
    EXPECT_EQ(MessagesShown, std::vector<std::string>{TextOf(9504)});
    EXPECT_EQ(Reader.steps, 0);

    // The reader refuses the file: its error is named.
    WriteFile("DEFAULT.TXT", "[CSVc]\nC100\n");
    MessagesShown.clear();
    Reader = ScriptedReader{};
    Reader.openResult = 7;
    ASSERT_TRUE(Create("refused.VDB"));
    EXPECT_EQ(MessagesShown, std::vector<std::string>{TextOf(9950) + "7). " + TextOf(9952)});
    EXPECT_EQ(Reader.closes, 0);
    EXPECT_TRUE(CustomerStores("AFTER"));

    // Two steps whose holds fail: the count is named, the rest is kept.
    WriteFile("DEFAULT.TXT", "[CSVc]\nC100\nC200\n[NoSuchVc]\nX\n");
    MessagesShown.clear();
    Reader = ScriptedReader{};
    Reader.failAt = 3;
    ASSERT_TRUE(Create("partly.VDB"));
    EXPECT_EQ(MessagesShown, std::vector<std::string>{"2" + TextOf(9951) + " " + TextOf(9952)});
    EXPECT_TRUE(HasCode(CSVc::Number, "C100"));
    EXPECT_FALSE(HasCode(CSVc::Number, "C200"));
    EXPECT_TRUE(DbOpenFlag && D4IsOpen());
    EXPECT_TRUE(CustomerStores("AFTER"));
}

TEST_F(CompanyOpen, AnImportOpensTheWholePathAndShowsTheShortNameInItsWindow)
{
    ASSERT_TRUE(Create("company.VDB"));
    const std::string name = "a_rather_long_import_file_name.TXT";
    WriteFile(name.c_str(), "[CSVc]\nC300\n");
    PString path;
    PathOf(name.c_str(), path);
    ASSERT_GT(path[0], 40);
    PutU16(ReportParams, ReportParamsVc::OutputKind, 2);

    // The status band of the import window, read during a step.
    auto band = [](int n) {
        std::vector<uint32_t> px;
        for (int y = 44; y < 64; y++)
            for (int x = 20; x < 220; x++) px.push_back(Pixel(n, x, y));
        return px;
    };
    std::string title;
    bool inked = false, otherKindDrawsNothing = false, statusDrawn = false, openedWithShortName = false;
    Reader.onStep = [&] {
        int n = ImportWindowNumber;
        ASSERT_TRUE(WinIsOpen(n));
        title = WinTitle(WinTable[n]->mdiChild);
        std::vector<uint32_t> shown = band(n);
        for (uint32_t p : shown) inked |= p != shown.front();
        PString other;
        PStringFromC(other, "something else");
        PutU16(ReportParams, ReportParamsVc::OutputKind, 1);
        ImportStatusText(other);
        otherKindDrawsNothing = band(n) == shown;
        PutU16(ReportParams, ReportParamsVc::OutputKind, 2);
        ImportStatusText(other);
        statusDrawn = band(n) != shown;
        ImportStatusText(ImportFileShortName);
        openedWithShortName = band(n) == shown;
    };

    EXPECT_EQ(ImportFile(path, 0), 0);
    EXPECT_EQ(PStringToStd(ImportFileShortName), name.substr(0, 20));
    EXPECT_TRUE(HasCode(CSVc::Number, "C300"));
    EXPECT_EQ(title, TextOf(1517));
    EXPECT_TRUE(inked && otherKindDrawsNothing && statusDrawn && openedWithShortName);
    EXPECT_EQ(ImportWindowNumber, 0);
    EXPECT_EQ(ImportingFlag, 0);

    // With no import window a status text draws nowhere, not even in the
    // window that is the port.
    int n = Bare(WinTypeByName("ImpWClass"));
    SetPortWindow(n);
    std::vector<uint32_t> before = band(n);
    PString text;
    PStringFromC(text, "status");
    ImportStatusText(text);
    EXPECT_EQ(band(n), before);

    // A file the reader cannot open, or no reader: no window, no success.
    Reader = ScriptedReader{};
    PathOf("missing.TXT", path);
    EXPECT_EQ(ImportFile(path, 0), 2);
    EXPECT_EQ(Reader.closes + Reader.steps, 0);
    SettingsText = SettingsTextExchange{};
    EXPECT_NE(ImportFile(path, 0), 0);
}

// What the fake server saw of the last import request, and the bar's
// item flags at the time.
struct ServerSeen {
    int requests = 0;
    uint16_t code = 0;
    std::vector<uint32_t> barFlags;
    bool answer = true;
} Server;

TEST_F(CompanyOpen, AClientSendsTheFileWithTheBarsOffOnEveryPath)
{
    auto flags = [] {
        std::vector<uint32_t> f;
        for (int i = 0; i < MenuItemCount(MenuHandles.bar); i++) f.push_back(MenuItemFlags(MenuHandles.bar, i));
        return f;
    };
    Server = ServerSeen{};
    TransportInstall(
        [](uint16_t code, MsgBuffer *, MsgBuffer *) {
            Server.requests++;
            Server.code = code;
            for (int i = 0; i < MenuItemCount(MenuHandles.bar); i++)
                Server.barFlags.push_back(MenuItemFlags(MenuHandles.bar, i));
            return Server.answer;
        },
        nullptr);
    RunMode = RunModeClient;
    WriteFile("send.TXT", "[CSVc]\nC1\n");
    PString path;
    PathOf("send.TXT", path);
    std::vector<uint32_t> before = flags();

    Server.answer = false;   // the connection goes during the send
    EXPECT_EQ(ImportFile(path, 0), RecConnectionLost);
    EXPECT_EQ(Server.requests, 1);
    EXPECT_EQ(Server.code, ReqImportRun);
    EXPECT_NE(Server.barFlags, before);   // off while sending
    EXPECT_EQ(flags(), before);           // and on again
    EXPECT_EQ(GetU16(ReportParams, ReportParamsVc::OutputKind), 2);
    EXPECT_EQ(Reader.steps, 0);           // nothing imported here
    EXPECT_EQ(Reader.closes, 1);
    EXPECT_EQ(ImportWindowNumber, 0);
}

TEST_F(CompanyOpen, ExportTextsTakeDosLettersOnlyWhenSet)
{
    auto dos = [](const std::string &s) {
        PString t;
        PStringFromC(t, s.c_str());
        AnsiToDosLetters(t);
        return PStringToStd(t);
    };
    EXPECT_EQ(dos(""), "");
    EXPECT_EQ(dos("\xE4"), "\x84");
    EXPECT_EQ(dos("x\xC5\xF6y\xE5\xC4\xD6"), "x\x8F\x94y\x86\x8E\x99");

    RunServicesDouble runs;
    PString text;
    PStringFromC(text, "K\xF6p");
    DosLettersSetting = 0;
    ExportPString(text);
    DosLettersSetting = 1;
    ExportPString(text);
    DosLettersSetting = 0;
    std::vector<RunCall> writes = runs.CallsOf("streamWrite");
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].bytes, (std::vector<uint8_t>{'K', 0xF6, 'p'}));
    EXPECT_EQ(writes[1].bytes, (std::vector<uint8_t>{'K', 0x94, 'p'}));
    EXPECT_EQ(PStringToStd(text), "K\xF6p");   // the caller's text stays
    EXPECT_EQ(OutputJobState.stopFlag, 0);
}

TEST_F(CompanyOpen, AFormDefinitionIsUsableOnlyWhenFoundWithoutAlias)
{
    ASSERT_TRUE(Create("forms.VDB"));
    auto store = [](const char *code, const char *alias) {
        std::vector<uint8_t> r(DocVc::Size, 0);
        PString t;
        PStringFromC(t, code);
        ASSERT_TRUE(FieldFromText(r.data() + DocVc::Code, 27, 20, t));
        PStringFromC(t, alias);
        ASSERT_TRUE(FieldFromText(r.data() + DocVc::Alias, 27, 20, t));
        uint32_t recid = 0;
        ASSERT_TRUE(RecInsertUnchecked(DocVc::Number, r.data(), &recid));
    };
    store("INVOICE", "");
    store("COPY", "INVOICE");
    store("INVOICE_LONG_NAME_20", "");
    auto lookup = [](const char *name) {
        std::vector<uint8_t> r(DocVc::Size, 0);
        PString t;
        PStringFromC(t, name);
        MessagesShown.clear();
        DocumentState = 9;
        EXPECT_EQ(DocDefLookup(t, r.data()), 0);
        return DocumentState;
    };
    EXPECT_EQ(lookup("INVOICE"), 3);
    EXPECT_TRUE(MessagesShown.empty());
    EXPECT_EQ(lookup("COPY"), 0);
    EXPECT_EQ(MessagesShown, std::vector<std::string>{TextOf(1546) + "COPY"});
    EXPECT_EQ(lookup("ORDER"), 0);
    EXPECT_EQ(MessagesShown, std::vector<std::string>{TextOf(1546) + "ORDER"});
    EXPECT_EQ(lookup("INVOICE_LONG_NAME_20X"), 0);   // a name too long finds no other by its cut
    EXPECT_EQ(lookup("INVOICE_LONG_NAME_20"), 3);
}

}  // namespace
