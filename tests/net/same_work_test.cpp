// same_work_test.cpp - one piece of scripted work run twice: once on a
// company of the test's own (stand-alone) and once as the client of a
// server in a process of its own, each from a new company. The work is
// what a user does through the record layer and the output commands: the
// shipped defaults imported, a customer and a posted sales invoice
// stored, the invoice printed on its form, report 65 written to a text
// file and the whole company exported as text (kind 0). Every byte the
// two runs produce must be the same: the export, the report file and the
// printed PDF (less the time it was made).
//
// Beside it, where a server's print goes: to the asking client, or to
// the client a printer's device names.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/file_form.h"
#include "core/server_hooks.h"
#include "database/access/settings_blocks.h"
#include "exchange/text_exchange.h"
#include "features/program_start.h"
#include "output/output_job.h"
#include "outputwin/output_windows_install.h"
#include "platform/script.h"
#include "reports/frame/report_run.h"
#include "rules/approval.h"
#include "rules/hooks.h"
#include "shell/database_open.h"
#include "shell/net_services.h"
#include "tests/net/net_fixture.h"
#include "tests/output/test_job.h"

using namespace nettest;
namespace fs = std::filesystem;

namespace {

constexpr uint16_t SalesInvoicesByDate = 65;

// The services start-up installs, on either side.
void InstallServices() {
    RepOutputInit();
    ProgramInstall();
}

// The export with each password verifier's text replaced by a mark: a
// verifier's salt is random, so two companies made alike differ there.
std::string VerifiersMasked(std::string text) {
    const std::string mark = "SCRAM-SHA-256$";
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) {
        size_t end = text.find_first_of("\t\r\n", at);
        text.replace(at, (end == std::string::npos ? text.size() : end) - at, "<verifier>");
    }
    return text;
}

std::string FileBytes(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string DefaultsText() {
    return FileBytes(fs::path(ORVEL_TEST_DATA_DIR) / ".." / "dict" / "DEFAULT.TXT");
}

// A PDF's bytes without the lines that carry the time it was made.
std::string PdfWithoutDates(const std::string &pdf) {
    std::istringstream in(pdf);
    std::string line, out;
    while (std::getline(in, line))
        if (line.find("CreationDate") == std::string::npos && line.find("ModDate") == std::string::npos)
            out += line + "\n";
    return out;
}

struct WorkResult {
    std::string exportText, report, pdf;
    int invoiceResult = -100;
    uint32_t invoiceSerial = 0;
    size_t pdfs = 0;
    std::vector<std::string> told;
};

std::vector<std::string> *Told = nullptr;
void Record(const char *text) {
    if (Told) Told->emplace_back(text);
}

void PutText(uint8_t *base, uint32_t offset, int max, const char *text) {
    uint8_t p[256];
    PStringFromC(p, text);
    PutPString(base, offset, max, p);
}

PackedDecimal Number(double x) {
    PackedDecimal d;
    DecFromDouble(&d, x);
    return d;
}

// A fresh job record in job (the test's job record for the import and the
// export, which still read it) for run `number` on device `kind`.
void ResetParams(uint8_t *job, uint16_t number, uint16_t kind) {
    std::memset(job, 0, ReportParamsSize);
    PutU16(job, ReportParamsVc::ReportNumber, number);
    PutU16(job, ReportParamsVc::OutputKind, kind);
    PutI16(job, ReportParamsVc::SetupDialog, 0);
}

// The work, in the folder `dir` (the printer writes under its print/).
// Everything goes through the record layer and the output commands, so
// the run mode alone decides where it runs.
void Work(const fs::path &dir, WorkResult *out) {
    fs::create_directories(dir);
    fs::path saved = fs::current_path();
    fs::current_path(dir);
    Told = &out->told;

    // The shipped defaults, read by the import (at the server for a client).
    std::string defaults = DefaultsText();
    ResetParams(TestJob, 0, ImportSourceMemory);
    if (RunModeIsClient()) {
        EXPECT_TRUE(ImportRunRemote(TestJob, ReportParamsSize, (const uint8_t *)defaults.data(),
                                    (uint32_t)defaults.size()));
        SettingsBlocksReload();
    } else {
        ImportMemorySource((const uint8_t *)defaults.data(), (uint32_t)defaults.size());
        ImportRun();
        ImportFileClose();
    }
    EXPECT_EQ(RegRecordCount(CUVc::Number), 3u);

    // A customer and a posted invoice for C1 with two item rows.
    MemBlock h = 0;
    uint8_t *cu = RecBufferNew(CUVc::Number, &h);
    PutText(cu, CUVc::Code, 20, "K9");
    PutText(cu, CUVc::Name, 60, "Ninth Customer");
    uint32_t id = 0;
    int result = -100;
    RecInsertChecked(CUVc::Number, cu, &id, &result);
    EXPECT_EQ(result, RecDone);
    RecBufferFree(CUVc::Number, &h);

    uint8_t *iv = RecBufferNew(IVVc::Number, &h);
    RecNewDefaults(IVVc::Number, iv);
    PutText(iv, IVVc::CustCode, 20, "C1");
    PutText(iv, IVVc::Addr0, 60, "First Customer");
    PutU16(iv, IVVc::Posted, 1);
    const struct {
        const char *item;
        double qty, price;
    } rows[] = {{"ITEM1", 2, 100}, {"ITEM2", 3, 50}};
    for (const auto &x : rows) {
        uint8_t row[IVVc::Rows::Size] = {};
        PutText(row, IVVc::Rows::ItemCode, 20, x.item);
        PutText(row, IVVc::Rows::Text, 100, x.item);
        PutDec(row, IVVc::Rows::Quantity, Number(x.qty));
        PutDec(row, IVVc::Rows::Price, Number(x.price));
        PutDec(row, IVVc::Rows::Sum, Number(x.qty * x.price));
        PutI32(row, IVVc::Rows::Link, -1);
        PutText(row, IVVc::Rows::VatCode, 2, "1");
        EXPECT_TRUE(MatrixRowPut(IVVc::Number, 0, iv, MatrixRowCount(IVVc::Number, 0, iv), row));
    }
    uint32_t invoice = 0;
    RecInsertChecked(IVVc::Number, iv, &invoice, &out->invoiceResult);
    out->invoiceSerial = GetU32(iv, IVVc::SerNr);
    RecBufferFree(IVVc::Number, &h);

    // Printed on its form (at the server for a client: the pages come
    // back as pushed output and print here).
    ResetParams(TestJob, 0, 1);   // the device a form print outside a run takes
    PlPrintChoice choice;
    ScriptAnswerPrint(true, choice);
    EXPECT_TRUE(ApproveRecordList(IVVc::Number, ApproveKindPrintInvoice, &invoice, 1));
    std::vector<fs::path> pdfs;
    if (fs::exists(dir / "print"))
        for (const auto &e : fs::directory_iterator(dir / "print")) pdfs.push_back(e.path());
    out->pdfs = pdfs.size();
    if (!pdfs.empty()) out->pdf = PdfWithoutDates(FileBytes(pdfs[0]));

    // Report 65 over the defaults' years to a text file.
    OwnedJob report;
    ResetParams(report.job.selection, SalesInvoicesByDate, OutTextFile);
    PutDate(report.job.selection, ReportParamsVc::DateFrom, DateRec{1, 1, 2020});
    PutDate(report.job.selection, ReportParamsVc::DateTo, DateRec{31, 12, 2035});
    ScriptAnswerFile((dir / "report.txt").string());
    EXPECT_TRUE(ReportRunCommand(report.job));
    out->report = FileBytes(dir / "report.txt");

    // The whole company as text.
    ResetParams(TestJob, 0, OutTextFile);
    ScriptAnswerFile((dir / "export.txt").string());
    ReportJob job{TestJob};   // the job the test attached, which the output reads
    EXPECT_TRUE(RunTextExportBody(job, 0));
    out->exportText = VerifiersMasked(FileBytes(dir / "export.txt"));

    Told = nullptr;
    fs::current_path(saved);
}

void ServerServices() {
    InstallServices();
    ServerReportRun = RunReport;
    // The server's own job record never asks for a dialog.
    PutI16(TestJob, ReportParamsVc::SetupDialog, 0);
}

class SameWorkTest : public NetServerTest {
protected:
    nettest::ServerSetup ServerExtra() override { return ServerServices; }
    OutputRunServicesRec savedRuns{};
    fs::path folder;

    void SetUp() override {
        NetServerTest::SetUp();
        if (HasFatalFailure()) return;
        savedRuns = OutputRunServices;
        InstallServices();
        MessageSinkSet(Record);
        folder = fs::path(::testing::TempDir()) / ("orvel_same_" + std::to_string(getpid()));
        fs::remove_all(folder);
    }
    void TearDown() override {
        ImportFileClose();
        ImportResult = ImportResultRec{};
        OutputRunServices = savedRuns;
        ResetOutputJobState();
        D4SetRawExportRunner(nullptr);
        RegisterHooksClear();
        ScriptReset();
        if (D4IsOpen()) D4Close();
        fs::remove_all(folder);
        NetServerTest::TearDown();
    }
};

}  // namespace

TEST_F(SameWorkTest, StandAloneAndClientProduceTheSameBytes) {
    // As a client of the server process.
    WorkResult client;
    RunMode = RunModeClient;
    NetClientStart();
    ASSERT_TRUE(ConnectLoop("127.0.0.1", (uint16_t)port, nullptr));
    uint8_t name[256], pw[256], access[AccessVc::Size + 8] = {0};
    PStringFromC(name, "ANY");
    PStringFromC(pw, "");
    ASSERT_TRUE(LoginRemote(AccessVc::Number, name, pw, access));
    Work(folder / "client", &client);
    NetClientClose();
    ServerEnd end = Stop();
    EXPECT_TRUE(end.integrity) << end.report;
    NetShutdown();
    TransportInstall(nullptr, nullptr);

    // Stand-alone, on a company of its own.
    WorkResult alone;
    RunMode = 0;
    std::string local = (folder / "alone.VDB").string();
    fs::create_directories(folder);
    ASSERT_TRUE(DbLayerInit());
    ASSERT_EQ(D4Create(local.c_str(), 0), D4OpenOk);
    ASSERT_TRUE(SettingsStartup());
    Work(folder / "alone", &alone);

    EXPECT_EQ(alone.invoiceResult, RecDone) << ::testing::PrintToString(alone.told);
    EXPECT_EQ(client.invoiceResult, alone.invoiceResult) << ::testing::PrintToString(client.told);
    EXPECT_EQ(client.invoiceSerial, alone.invoiceSerial);
    EXPECT_EQ(alone.pdfs, 1u) << ::testing::PrintToString(alone.told);
    EXPECT_EQ(client.pdfs, alone.pdfs) << ::testing::PrintToString(client.told);
    EXPECT_NE(alone.report.find(std::to_string(alone.invoiceSerial)), std::string::npos) << alone.report;
    EXPECT_NE(alone.pdf.find("%PDF"), std::string::npos);
    EXPECT_NE(alone.exportText.find("Ninth Customer"), std::string::npos);
    EXPECT_TRUE(client.exportText == alone.exportText) << "the kind-0 exports differ";
    EXPECT_TRUE(client.report == alone.report) << "client:\n" << client.report << "\nalone:\n" << alone.report;
    EXPECT_TRUE(client.pdf == alone.pdf) << "the printed invoices differ";
    EXPECT_EQ(client.told, alone.told);
}

namespace {

// The server of the printer test: the defaults imported and one printer,
// whose device is the client named "STATION7".
void PrinterStationServer() {
    ServerServices();
    std::string defaults = DefaultsText();
    ResetParams(TestJob, 0, ImportSourceMemory);
    ImportMemorySource((const uint8_t *)defaults.data(), (uint32_t)defaults.size());
    ImportRun();
    ImportFileClose();
    std::vector<uint8_t> row(PrintersBlk::Rows::Size);
    PutText(row.data(), PrintersBlk::Rows::Name, 20, "OFFICE");
    PutText(row.data(), PrintersBlk::Rows::DeviceText, 20, "STATION7");
    PutText(row.data(), PrintersBlk::Rows::PrinterText, 20, "P");
    SettingsBlockStore(PrintersBlk::Number, row.data(), (uint32_t)row.size());
}

class PrintStationTest : public NetServerTest {
protected:
    nettest::ServerSetup ServerExtra() override { return PrinterStationServer; }

    // Request 26: the invoice form (document type -2) for a record of C1.
    static std::vector<uint8_t> FormPrint(uint32_t session) {
        MemBlock h = 0;
        uint8_t *iv = RecBufferNew(IVVc::Number, &h);
        PutText(iv, IVVc::CustCode, 20, "C1");
        PutU32(iv, IVVc::SerNr, 2600001);
        MsgBuffer body;
        MsgPutWord(&body, IVVc::Number);
        MsgPutWord(&body, (uint16_t)-2);
        MsgPutRecord(&body, IVVc::Number, iv);
        RecBufferFree(IVVc::Number, &h);
        return Request(session, ReqPrintForm, &body);
    }
    static uint32_t OpenNamed(const RawConn &c, const char *client) {
        MsgBuffer body;
        uint8_t addr[256];
        PStringFromC(addr, client);
        MsgPutPString(&body, addr);
        MsgPutWord(&body, 1);
        if (!c.Send(Request(0, ReqSessionOpen, &body))) return 0;
        MsgBuffer m;
        uint32_t id = 0;
        if (!ReplyBody(c.Frame(), &m) || !MsgGetLong(&m, &id)) return 0;
        return id;
    }
    // The shipped defaults' administrator logs in on session id.
    static bool Admin(const RawConn &c, uint32_t id) { return Login(c, id, "ADMIN", "orvel") == LoginOutcome::Accepted; }
    static uint16_t Code(const std::vector<uint8_t> &f) { return f.size() >= 6 ? uint16_t(f[4] | f[5] << 8) : 0xFFFF; }
};

}  // namespace

TEST_F(PrintStationTest, APrintToAPrinterNamedAfterAClientReachesThatClient) {
    RawConn asking(port), station(port);
    uint32_t sa = OpenNamed(asking, "127.0.0.1");
    ASSERT_NE(sa, 0u);
    ASSERT_TRUE(Admin(asking, sa));
    // Without the station connected the print comes back to the asker.
    asking.Send(FormPrint(sa));
    int own = 0;
    std::vector<uint8_t> f;
    while (!(f = asking.Frame()).empty() && Code(f) == FrameCodePush) {
        own++;
        asking.Send(AckFrame(sa));
    }
    ASSERT_FALSE(f.empty());
    EXPECT_EQ(Status(f), ReplyServed);
    EXPECT_GT(own, 0) << "a printer that names no connected client prints at the asker";

    // With a client named after the printer's device (in any case) the
    // pages go to that client, and the asker gets only the reply.
    uint32_t ss = OpenNamed(station, "station7");
    ASSERT_NE(ss, 0u);
    asking.Send(FormPrint(sa));
    // The station takes as many pages as the asker did; the job ends with
    // the asker's reply, and nothing more reaches the station after it.
    int pushed = 0;
    while (pushed < own && Code(f = station.Frame()) == FrameCodePush) {
        pushed++;
        station.Send(AckFrame(ss));
    }
    EXPECT_EQ(pushed, own);
    f = asking.Frame();
    EXPECT_TRUE(station.Frame(200).empty()) << "the station got more pages than the asker did";
    EXPECT_EQ(Code(f), FrameCodeReply);
    EXPECT_EQ(Status(f), ReplyServed);
    MsgBuffer m;
    uint16_t printed = 0;
    ASSERT_TRUE(ReplyBody(f, &m));
    MsgGetWord(&m, &printed);
    EXPECT_EQ(printed, 1);

    // A station that vanishes mid-print stops the job; the asker is answered
    // and the server serves on.
    asking.Send(FormPrint(sa));
    ASSERT_EQ(Code(station.Frame()), FrameCodePush);
    close(station.fd);
    station.fd = -1;
    f = asking.Frame();
    EXPECT_EQ(Code(f), FrameCodeReply);
    ASSERT_TRUE(ReplyBody(f, &m));
    MsgGetWord(&m, &printed);
    EXPECT_EQ(printed, 0) << "a print that did not come out is not printed";
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
    EXPECT_EQ(e.sessions, 1);
}

TEST(NetSessionOutput, TheOrderFlagIsTheOutputClients) {
    NetServerStart();
    RemoteOutput = 0;
    EXPECT_EQ(SessionOrderFlag(), ByteOrder.program);
    RemoteOutput = 1;
    ServerOutputSession = -1;
    EXPECT_EQ(SessionOrderFlag(), -1);
    EXPECT_FALSE(SessionSelectByName((const uint8_t *)"\x03" "ABC"));
    SessionTable[3].inUse = true;
    SessionTable[3].byteOrder = 7;
    PStringFromC(SessionTable[3].clientName, "abc");
    SessionTable[5].inUse = true;
    SessionTable[5].byteOrder = 2;
    ServerOutputSession = 5;
    EXPECT_EQ(SessionOrderFlag(), 2);
    EXPECT_TRUE(SessionSelectByName((const uint8_t *)"\x03" "ABC"));
    EXPECT_EQ(ServerOutputSession, 3);
    EXPECT_EQ(SessionOrderFlag(), 7);
    // An unknown name leaves the output where it is.
    EXPECT_TRUE(SessionSelectByName((const uint8_t *)"\x04" "LPT1"));
    EXPECT_EQ(ServerOutputSession, 3);
    RemoteOutput = 0;
    ServerOutputSession = -1;
    SessionTable[3] = SessionEntry{};
    SessionTable[5] = SessionEntry{};
    NetShutdown();
    ServerHooks.sessionSelectByName = nullptr;
    ServerHooks.sessionOrderFlag = nullptr;
    RunMode = 0;
}
