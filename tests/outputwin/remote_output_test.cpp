// remote_output_test.cpp - the output commands between a server and its
// client: their exact bytes, when a message leaves, a job run on the
// server and replayed on the client giving the same device calls as run
// locally, the gathered EPS picture, and damaged buffers that run what
// came before the damage and nothing after it.
#include "tests/shell/shell_fixture.h"
#include "tests/output/output_fixture.h"
#include "tests/output/output_recorder.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/format_block.h"
#include "core/msg_buffer.h"
#include "core/pstring.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "platform/print.h"
#include "platform/script.h"
#include "tests/output/test_job.h"

namespace {

using Bytes = std::vector<uint8_t>;
std::vector<Bytes> Pushes;
std::vector<std::string> PassedTexts;

class RemoteOutputTest : public ShellCompanyFixture {
protected:
    void SetUp() override
    {
        ShellCompanyFixture::SetUp();
        ResetOutputJobState();
        MsgReset(&OutputMessage);
        Pushes.clear();
        PassedTexts.clear();
        savedPush_ = MsgSetPush([](MsgBuffer *m) { Pushes.emplace_back(MsgData(m), MsgData(m) + MsgLength(m)); });
        PostScriptPassThrough = [](const uint8_t *t) { PassedTexts.emplace_back(reinterpret_cast<const char *>(t + 1), t[0]); };
    }
    void TearDown() override
    {
        RemoteOutput = 0;
        RemoteJobActive = 0;
        DosCodePage = 0;
        CharPortConfigure("LPT1", "");
        PostScriptPassThrough = nullptr;
        MsgSetPush(savedPush_);
        MsgReset(&OutputMessage);
        MemFree(&PageHeaderLines.block);
        ResetOutputJobState();
        ShellCompanyFixture::TearDown();
    }
    // The bytes of the message being built on the server.
    static Bytes Pending() { return Bytes(MsgData(&OutputMessage), MsgData(&OutputMessage) + MsgLength(&OutputMessage)); }
    // Runs every captured push on the client; false when one was refused.
    static bool RunPushes()
    {
        RemoteOutput = 0;
        bool ok = true;
        for (const Bytes &b : Pushes) ok = RepExecRemote(b.data(), uint32_t(b.size())) && ok;
        return ok;
    }
    // One report job through the operations: header, texts, values of
    // four kinds, a rule, a page break, the end.
    static void Job()
    {
        PString t;
        RepOpenJob(P(t, "Report"));
        RepHeaderClear();
        RepHeaderLeft(0, P(t, "Title"));
        RepHeaderRight(0, P(t, "Right"));
        RepHeaderDone();
        RepStartLine(12);
        RepTextEx(10, 1, 0, 0, 1, P(t, "Name"));
        DateRec d{24, 12, 2025};
        uint8_t date[6];
        PutDate(date, 0, d);
        RepValue(100, 0, date, FtDate, -1);
        PackedDecimal amount;
        DecFromDouble(&amount, -1234.5);
        uint8_t dec[12];
        PutDec(dec, 0, amount);
        RepValueFmt(200, 0, dec, FtAmount2, -1, 1);
        DateTimeRec stamp{2025, 12, 24, 13, 45, 7, 0};
        uint8_t st[14];
        PutDateTime(st, 0, stamp);
        RepValue(300, 0, st, FtDateTime, 0);
        uint8_t shortValue[2];
        PutI16(shortValue, 0, 321);
        RepValue(400, 0, shortValue, FtShort, -1);
        RepTextNr(420, 0, 1533, 0);
        RepEndLine();
        RepRuleFull(480, 6);
        RepRule(10, 200, 1);
        RepNewPage(0);
        RepStartLine(12);
        RepCText(0, 0, "Last", 0);
        RepEndLine();
        RepEndJob();
    }

private:
    MsgPushFn savedPush_ = nullptr;
};

// The calls of a log reduced to what a TAB file writes: names and texts.
std::vector<std::string> NamesAndTexts(const std::vector<RecCall> &log)
{
    std::vector<std::string> out;
    for (const RecCall &c : log) out.push_back(c.name + ":" + c.text);
    return out;
}

// The bytes of a file; empty when it cannot be read.
Bytes ReadFile(const std::filesystem::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(RemoteOutputTest, CommandBytesAndTheSendRule)
{
    OutKind(OutTextFile);
    RemoteOutput = 1;
    DosCodePage = 1;
    PString t;
    RepOpenJob(P(t, "Job"));
    ASSERT_EQ(Pushes.size(), 1u);
    Bytes open = {1, 0, 3, 'J', 'o', 'b', 0xD6, 0x04, 0, 0};
    open.insert(open.end(), TestJob, TestJob + ReportParamsSize);
    EXPECT_EQ(Pushes[0], open);
    // A report's job: command 42 follows in the same message.
    RepOpenReportJob(P(t, "Job"));
    ASSERT_EQ(Pushes.size(), 2u);
    open.insert(open.end(), {42, 0});
    EXPECT_EQ(Pushes[1], open);
    Pushes.erase(Pushes.begin() + 1);

    RepTextEx(10, -1, 16, 1, 0, P(t, "ab"));
    EXPECT_EQ(Pending(), (Bytes{4, 0, 10, 0, 0xFF, 0xFF, 16, 0, 1, 0, 0, 0, 2, 'a', 'b', 0, 1, 0}));
    MsgReset(&OutputMessage);
    PackedDecimal v;
    DecFromDouble(&v, 1234.5);
    uint8_t dec[12];
    PutDec(dec, 0, v);
    RepValue(20, 0, dec, FtAmount2, -1);
    Bytes cmd15 = {15, 0, 20, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0, 2, 0};
    cmd15.insert(cmd15.end(), dec, dec + 12);
    EXPECT_EQ(Pending(), cmd15);
    EXPECT_EQ(Pushes.size(), 1u);

    // Sent at once: 27, 28, 32, 30, 12; the others only past 10000 bytes.
    PackedDecimal rect[4] = {v, v, v, v};
    FormLineOut(rect, v);
    RepStartLine(12);
    EXPECT_EQ(Pushes.size(), 1u);
    FormPageEnd();
    EXPECT_EQ(Pushes.size(), 2u);
    EXPECT_EQ(PrintOpenCall(1, 2, P(t, "T"), P(t, "P")), 1);
    EXPECT_EQ(Pushes.size(), 3u);
    FormPageGeometry(66, 0, 0, 1);
    EXPECT_EQ(Pushes.size(), 4u);
    RepOp30();
    EXPECT_EQ(Pushes.size(), 5u);
    size_t before = Pushes.size();
    for (int i = 0; i < 600 && Pushes.size() == before; i++) RepCText(0, 0, "twelve chars", 0);
    ASSERT_EQ(Pushes.size(), before + 1);
    EXPECT_GT(Pushes.back().size(), MsgFlushLimit);
    EXPECT_LT(Pushes.back().size(), MsgFlushLimit + 40);
    RepEndJob();
    ASSERT_EQ(Pushes.size(), before + 2);
    EXPECT_EQ(Pushes.back(), (Bytes{12, 0}));
    EXPECT_EQ(MsgLength(&OutputMessage), 0u);
}

TEST_F(RemoteOutputTest, AJobThroughServerAndClientGivesTheSameBytesOnTheRealDevices)
{
    TempPrintDir out;
    MakeFrame();
    ASSERT_FALSE(HasFatalFailure());
    // Runs the job on kind k locally (server false) or encoded on a server
    // and run by the client; what the device wrote: the file's or port's
    // bytes, or the preview's store.
    auto run = [&](uint16_t k, bool server, const char *name) {
        std::filesystem::path file = out.path / name;
        auto prepare = [&] {
            ResetOutputJobState();
            OutKind(k);
            DosCodePage = 1;
            if (k == OutCharPrinter) {
                EXPECT_TRUE(CharPortConfigure("LPT1", file.string()));
            }
            if (k == OutTextFile || k == OutTabFile) {
                ScriptAnswerFile(file.string());
                RepOpenFileDevice();
                EXPECT_EQ(RepStopped, 0) << k;
            }
        };
        Pushes.clear();
        if (server) {
            OutKind(k);
            RemoteOutput = 1;
            Job();
            for (const Bytes &b : Pushes)   // a TAB-file job still sends only commands
                EXPECT_EQ(std::search(b.begin(), b.end(), std::begin("Name\t"), std::end("Name\t") - 1), b.end());
            DosCodePage = 0;
            prepare();
            EXPECT_TRUE(RunPushes()) << k;
            EXPECT_EQ(DosCodePage, 1) << "the server's setting stays on the client";
            EXPECT_EQ(RemoteJobActive, 0);
        } else {
            prepare();
            Job();
        }
        EXPECT_EQ(RepStopped, 0) << k;
        if (k != OutPreview) return ReadFile(file);
        int n = 0;   // the one preview open: each is closed once read
        for (int w = WinFirst; w <= WinLast; w++)
            if (WinIsOpen(w) && PreviewIsOpen(w)) n = w;
        if (!n) {
            ADD_FAILURE() << "no preview window";
            return Bytes();
        }
        const uint8_t *rec = WinRecordBuffer(n);
        MemBlock h = rec ? GetU32(rec, PreviewWin::Store) : 0;
        const uint8_t *p = h ? MemLock(h) : nullptr;
        if (!p) return Bytes();
        Bytes store(p, p + GetU32(rec, PreviewWin::StoreUsed));
        MemUnlock(h);
        EXPECT_GT(GetU16(rec, PreviewWin::HeaderHeight), 0) << "the header reached the preview";
        WinClose(n);
        return store;
    };
    for (uint16_t kind : {OutTextFile, OutCharPrinter, OutTabFile, OutPreview}) {
        Bytes local = run(kind, false, "local.out");
        Bytes remote = run(kind, true, "remote.out");
        EXPECT_GT(local.size(), 40u) << kind;
        EXPECT_EQ(remote, local) << kind;
    }
    EXPECT_EQ(ThousandsFlag, 1) << "the preview formats with thousands";
}

TEST_F(RemoteOutputTest, GatheredEpsPictureRunsOnceInOrderAndFirstChunkRestarts)
{
    PackedDecimal r1[4], r2[4];
    double c1[4] = {100, 50, 300, 250}, c2[4] = {20, 10, 120, 210};
    for (int i = 0; i < 4; i++) {
        DecFromDouble(&r1[i], c1[i]);
        DecFromDouble(&r2[i], c2[i]);
    }
    const std::vector<std::string> prologueEnd = {" } bind def ", " BeginEPSF ", " 50.0000 300.0000 translate "};
    for (int mode : {1, 2}) {
        MsgBuffer body;   // command 31's arguments
        MemBlock eps = MemAlloc(7);
        std::memcpy(MemLock(eps), "%!PS-EP", 7);
        MemUnlock(eps);
        MsgPutHandle(&body, eps);
        MsgPutHandle(&body, 0);
        MsgPutDecRect(&body, r1);
        MsgPutDecRect(&body, r2);
        PString t;
        MsgPutPString(&body, P(t, "doc.eps"));
        MsgPutWord(&body, uint16_t(mode));
        MemFree(&eps);
        Bytes all(MsgData(&body), MsgData(&body) + MsgLength(&body));
        uint32_t blocks = MemBlockCount();

        MsgBuffer cmds;
        auto chunk = [&](uint16_t op, int number, const Bytes &part) {
            MsgPutWord(&cmds, op);
            if (op == RepOp::EpsChunk) MsgPutWord(&cmds, uint16_t(number));
            MsgPutSized(&cmds, part.data(), uint32_t(part.size()));
        };
        chunk(RepOp::EpsChunk, 1, Bytes{'j', 'u', 'n', 'k'});   // discarded by the next first chunk
        size_t a = all.size() / 3, b = 2 * all.size() / 3;
        chunk(RepOp::EpsChunk, 1, Bytes(all.begin(), all.begin() + a));
        chunk(RepOp::EpsChunk, 2, Bytes(all.begin() + a, all.begin() + b));
        chunk(RepOp::EpsLastChunk, 0, Bytes(all.begin() + b, all.end()));
        PassedTexts.clear();
        EXPECT_TRUE(RepExecRemote(MsgData(&cmds), MsgLength(&cmds)));
        EXPECT_EQ(MemBlockCount(), blocks) << "the handles and the gathered bytes are freed";

        ASSERT_EQ(PassedTexts.size(), 28u) << mode;
        EXPECT_EQ(PassedTexts[0], " /BeginEPSF {%def ");
        EXPECT_EQ(std::vector<std::string>(PassedTexts.begin() + 20, PassedTexts.begin() + 23), prologueEnd);
        std::vector<std::string> tail(PassedTexts.begin() + 23, PassedTexts.end());
        EXPECT_EQ(tail, (std::vector<std::string>{mode == 1 ? " 1.0000 2.0000 scale " : "1 -1 scale ",
                                                  " -10.0000 -20.0000 translate ", "%%BeginDocument: doc.eps",
                                                  " %%EndDocument ", " EndEPSF "}));
    }
}

TEST_F(RemoteOutputTest, DamagedBuffersRunWhatCameBeforeAndNothingAfter)
{
    RecorderInstall rec({OutTextFile});
    OutKind(OutTextFile);
    // Command 1 (the job) and a command 4 text, as a server writes them.
    RemoteOutput = 1;
    PString t;
    RepOpenJob(P(t, "Job"));
    RepCText(0, 0, "ok", 0);
    MsgSend();
    RepCText(0, 0, "after", 0);
    Bytes after(MsgData(&OutputMessage), MsgData(&OutputMessage) + MsgLength(&OutputMessage));
    MsgReset(&OutputMessage);
    ASSERT_EQ(Pushes.size(), 2u);
    ASSERT_TRUE(RunPushes());
    ASSERT_EQ(RecNames(), (std::vector<std::string>{"open", "text"}));
    uint32_t blocks = MemBlockCount();

    struct Case {
        const char *what;
        Bytes fault;
        bool last = false;   // a cut command can only be seen at the buffer's end
    } cases[] = {
        {"truncated argument", {4, 0, 10, 0, 0, 0}, true},
        {"text longer than the buffer", {16, 0, 200, 'a', 'b'}},
        {"handle of 2^31 bytes", {36, 0, 0, 0, 0, 0x80}},
        {"page-setup handle past the cap", {37, 0, 0, 0, 0, 0x01, 1, 2}},
        {"line count 60000", {32, 0, 0x60, 0xEA, 0, 0, 0, 0, 1, 0}},
        {"odd tail", {35}},
        {"raw text forming a command", {4, 0, 'x', 'y', 9, 'z'}, true},
        {"gathered bytes that are no picture", {38, 0, 1, 0, 3, 0, 0, 0, 'a', 'b', 'c', 0, 39, 0, 1, 0, 0, 0, 'd', 0}},
    };
    for (const Case &c : cases) {
        RecLog.clear();
        Bytes buf = {4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 'o', 'k', 0, 0, 0};   // a whole command 4 first
        buf.insert(buf.end(), c.fault.begin(), c.fault.end());
        if (!c.last) buf.insert(buf.end(), after.begin(), after.end());
        RepStopped = 0;
        EXPECT_FALSE(RepExecRemote(buf.data(), uint32_t(buf.size()))) << c.what;
        EXPECT_EQ(NamesAndTexts(RecLog), (std::vector<std::string>{"text:ok"})) << c.what;
        EXPECT_EQ(RepStopped, 1) << c.what;
        EXPECT_EQ(MemBlockCount(), blocks) << c.what;
    }
    const std::string damaged = TextOf(Texts::RemoteOutputDamaged);
    EXPECT_EQ(std::count(MessagesShown.begin(), MessagesShown.end(), damaged), 1) << "told once a job";

    // The job still ends and closes its device.
    RecLog.clear();
    const uint8_t end[] = {12, 0};
    EXPECT_TRUE(RepExecRemote(end, 2));
    EXPECT_EQ(RecNames(), (std::vector<std::string>{"end"}));
    EXPECT_EQ(RemoteJobActive, 0);

    // Damage after the job, with none open, is told each time: no job's
    // end would ever clear a mark left by it.
    for (int i = 0; i < 2; i++) {
        const uint8_t cut[] = {4, 0, 10, 0};
        EXPECT_FALSE(RepExecRemote(cut, sizeof cut));
    }
    EXPECT_EQ(std::count(MessagesShown.begin(), MessagesShown.end(), damaged), 3) << "damage outside a job went untold";
}

// A value command (15) carries a field type and 12 bytes. The client takes
// exactly the types a server sends as command 15 and refuses every other
// (a text type would read the first byte as a length, past the 12): the
// refused command draws nothing, stops the job and is told once.
TEST_F(RemoteOutputTest, ValueCommandsOfTypesNoServerSendsAreRefused)
{
    RecorderInstall rec({OutTextFile});
    OutKind(OutTextFile);
    RemoteOutput = 1;
    PString t;
    RepOpenJob(P(t, "Job"));
    ASSERT_TRUE(RunPushes());
    MessagesShown.clear();
    int accepted = 0;
    for (int type = 0; type <= 40; type++) {
        // What a server sends for a value of this type.
        uint8_t value[16] = {3, 'a', 'b', 'c'};
        MsgReset(&OutputMessage);
        RemoteOutput = 1;
        RepStopped = 0;
        RepValueEx(10, -1, 0, value, type, -1, 0);
        Bytes sent = Pending();
        RemoteOutput = 0;
        bool asValue = sent.size() >= 2 && sent[0] == RepOp::DecimalValue && sent[1] == 0;
        if (asValue) {
            accepted++;
            RecLog.clear();
            EXPECT_TRUE(RepExecRemote(sent.data(), uint32_t(sent.size()))) << type;
            EXPECT_EQ(RecNames(), (std::vector<std::string>{"text"})) << type;
            continue;
        }
        // The same command forged with this type and a first byte of 255.
        Bytes forged = {RepOp::DecimalValue, 0, 10, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0, uint8_t(type), 0};
        forged.insert(forged.end(), 12, 0);
        forged[14] = 0xFF;
        RecLog.clear();
        RepStopped = 0;
        EXPECT_FALSE(RepExecRemote(forged.data(), uint32_t(forged.size()))) << type;
        EXPECT_TRUE(RecLog.empty()) << type;
        EXPECT_EQ(RepStopped, 1) << type;
    }
    EXPECT_EQ(accepted, 10) << "the ten decimal types travel as command 15";
    const std::string damaged = TextOf(Texts::RemoteOutputDamaged);
    EXPECT_EQ(std::count(MessagesShown.begin(), MessagesShown.end(), damaged), 1) << "told once a job";
    RecLog.clear();
    const uint8_t end[] = {12, 0};
    EXPECT_TRUE(RepExecRemote(end, 2));
    EXPECT_EQ(RecNames(), (std::vector<std::string>{"end"}));
}

}  // namespace
