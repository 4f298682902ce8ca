// report_at_client_test.cpp - a report run for a client lays out on the
// client's device as it does stand-alone. Reports of every module run over
// the sales history twice on each device a client offers (the preview, the
// printer's PDF, a text file): once here, and once as a server runs them
// for a client, their output commands then run by the client on its own
// device. The reader must not see a difference: the preview's texts where
// it laid them out, the PDF's pages and the file's bytes are the same.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "core/msg_buffer.h"
#include "core/server_hooks.h"
#include "output/devices/device_table.h"
#include "reports/frame/report_modules.h"
#include "tests/output/output_fixture.h"
#include "tests/reports/preview_lines.h"
#include "tests/reports/report_fixture.h"

namespace {

namespace fs = std::filesystem;
namespace P = ReportParamsVc;

std::vector<std::vector<uint8_t>> Pushes;

// The device the client tells the server it opened its job on: as the
// same device opened here stand-alone (kind 0: a device that tells none).
ClientDeviceRec Told;
bool TellDevice(uint16_t *kind, int32_t *width)
{
    *kind = Told.kind;
    *width = Told.width;
    return Told.kind != 0;
}

// A file's bytes; for a PDF without the lines that carry when it was made.
std::string FileText(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    std::string line, out;
    while (std::getline(in, line))
        if (line.find("CreationDate") == std::string::npos && line.find("ModDate") == std::string::npos)
            out += line + "\n";
    return out;
}

// The preview's texts as a reader sees them: each on its line, from its
// left end to its right end.
std::string PreviewShown(int n)
{
    std::ostringstream s;
    for (const PlacedText &t : PreviewTexts(n)) s << t.line << " " << t.left << ".." << t.right << " " << t.text << "\n";
    return s.str();
}

class ReportAtClientTest : public ReportFixture {
protected:
    TempPrintDir out;
    MsgPushFn savedPush = nullptr;
    fs::path savedDir;

    void SetUp() override
    {
        ReportFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreSalesHistory();
        if (HasFatalFailure()) return;
        RenameCustomer("C1", LongName);
        InvoiceFrameUp();
        savedDir = fs::current_path();
        fs::current_path(out.path);   // where the default printer writes its PDFs
        Pushes.clear();
        savedPush = MsgSetPush([](MsgBuffer *m) { Pushes.emplace_back(MsgData(m), MsgData(m) + MsgLength(m)); });
        ServerHooks.clientDevice = TellDevice;
    }
    void TearDown() override
    {
        MsgSetPush(savedPush);
        ServerHooks.clientDevice = nullptr;
        RemoteOutput = 0;
        RemoteJobActive = 0;
        fs::current_path(savedDir);
        InvoiceFrameDown();
        ReportFixture::TearDown();
    }

    // A name as long as a customer's name takes: a report cuts it where
    // it would run into the next column on a device that draws.
    static constexpr const char *LongName = "Northern Lights Consolidated Trading and Shipping Company AB";

    static void RenameCustomer(const char *code, const char *name)
    {
        MemBlock h = 0;
        uint8_t *r = RecBufferNew(CUVc::Number, &h);
        ASSERT_NE(r, nullptr);
        PutText(r, CUVc::Code, 20, code);
        uint32_t id = 0, position = 0;
        ASSERT_TRUE(RecFind(CUVc::Number, r, 1, 1, &id, &position));
        PutText(r, CUVc::Name, 60, name);
        int result = -1;
        RecUpdateChecked(CUVc::Number, r, id, &result);
        RecBufferFree(CUVc::Number, &h);
        ASSERT_EQ(result, RecDone);
    }

    // What the device of `kind` shows of the job that just ended: the
    // preview's texts (the window closed after), the PDF's bytes or the
    // text file's.
    std::string Shown(uint16_t kind)
    {
        if (kind == OutPreview) {
            const int n = OpenPreviewWindow();
            if (!n) return "(no preview)";
            std::string texts = PreviewShown(n);
            WinClose(n);
            return texts;
        }
        if (kind == OutTextFile) return FileText(outPath);
        std::string pdf;
        for (const auto &e : fs::recursive_directory_iterator(out.path))
            if (e.path().extension() == ".pdf") {
                pdf = FileText(e.path());
                fs::remove(e.path());
            }
        return pdf;
    }

    // The client's side of a job: the file chosen before it asks.
    void OpenClientFile(uint16_t kind)
    {
        if (kind != OutTextFile) return;
        std::remove(outPath.c_str());
        ScriptAnswerFile(outPath);
        RepOpenFileDevice();
    }

    // Report `number` over the selection in the job record on `kind`: run
    // here, then for a client. What each showed.
    std::pair<std::string, std::string> RunBoth(int number, uint16_t kind)
    {
        SetWord(P::ReportNumber, uint16_t(number));
        SetWord(P::OutputKind, kind);
        SetWord(P::SetupDialog, 0);
        const std::vector<uint8_t> selection(JobBytes(), JobBytes() + ReportParamsSize);

        ResetOutputJobState();
        OpenClientFile(kind);
        {
            std::vector<uint8_t> own = selection;
            ReportJob job{own.data()};
            RunReport(job);
        }
        const int32_t width = RepOutputState.positions[10];
        Told = kind == OutTextFile ? ClientDeviceRec{} : ClientDeviceRec{kind, width};
        const std::string alone = Shown(kind);

        // At the server: every command pushed, nothing drawn.
        Pushes.clear();
        ResetOutputJobState();
        RemoteOutput = 1;
        {
            std::vector<uint8_t> own = selection;
            ReportJob job{own.data()};
            RunReport(job);
            if (MsgLength(&OutputMessage)) MsgSend();
        }
        RemoteOutput = 0;
        // At the client: its own job record, which the received one replaces.
        ResetOutputJobState();
        std::vector<uint8_t> client = selection;
        OutputJobAttach attached(client.data());
        OpenClientFile(kind);
        for (const std::vector<uint8_t> &b : Pushes) EXPECT_TRUE(RepExecRemote(b.data(), uint32_t(b.size())));
        RepRemoteJobEnd(RemoteJobEnd::Full);
        return {alone, Shown(kind)};
    }
};

TEST_F(ReportAtClientTest, ReportsOfEveryModuleLayOutAtAClientAsStandAlone)
{
    const ReportModuleRows modules[] = {LedgerReportRows(), SalesReportRows(), PurchaseReportRows(),
                                        StockReportRows(),  AssetReportRows(), ProjectReportRows()};
    int cut = 0;       // runs that cut the long name to fit the device
    int printed = 0;   // runs that printed a PDF
    for (const ReportModuleRows &m : modules) {
        for (uint32_t i = 0; i < m.count; i++) {
            const int number = m.entries[i].number;
            for (uint16_t kind : {OutPreview, OutPrinter, OutTextFile}) {
                SCOPED_TRACE(std::string(m.module) + " report " + std::to_string(number) + " on device " +
                             std::to_string(kind));
                ResetParams();
                SetPeriod({1, 1, 2024}, {31, 12, 2024});
                auto [alone, client] = RunBoth(number, kind);
                EXPECT_EQ(client, alone);
                if (alone.find("Northern") != std::string::npos && alone.find(LongName) == std::string::npos) cut++;
                if (kind == OutPrinter && !alone.empty()) printed++;
            }
        }
    }
    EXPECT_GT(cut, 0) << "no report cut the long name: nothing was measured";
    EXPECT_GT(printed, 80) << "the printer wrote few of the reports";
}

}  // namespace
