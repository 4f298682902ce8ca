// fuzz_rep_exec.cpp - fuzz target over the client's run of received
// output commands: arbitrary bytes run as a buffer of commands inside an
// open job, on recording devices in place of every output device, then
// the job's end. The target is a client with the reports' frame, as the
// program is: a report job's columns (command 42) are laid out on the
// device and its width told to the server (request 44), which a
// recording transport takes. Nothing may read outside the buffer, leak a
// block or leave a received job open; the sanitizers and the checks below
// catch it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/interface_load.h"
#include "core/interface_write.h"
#include "core/memblock.h"
#include "core/message_sink.h"
#include "core/msg_buffer.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_frame.h"

namespace {

uint32_t DeviceCalls = 0;   // calls the recording device took (kept so they are not optimised away)
uint32_t DevicesTold = 0;   // requests 44 the client sent with a width

void Quiet(const char *) {}

void Check(bool ok) {
    if (!ok) std::abort();
}

// The recording device: counts its calls, advances the line position.
const RepDevice CountingDevice = {
    .openJob = [](const uint8_t *) { return ++DeviceCalls != 0; },
    .endJob = [] { DeviceCalls++; },
    .pageStart = [] { DeviceCalls++; },
    .pageEnd = [](int) { DeviceCalls++; },
    .lineBreaks = [](int32_t h) { return RepOutputState.linePos + h > 1000; },
    .lineStart = [] { DeviceCalls++; },
    .advance = [](int32_t n) { RepOutputState.linePos += n; },
    .text = [](int, int, int, int, int, const uint8_t *t) { DeviceCalls += t[0]; },
    .ruleFull = [](int, int) { DeviceCalls++; },
    .rule = [](int, int, int) { DeviceCalls++; },
    .headerClear = [] { DeviceCalls++; },
    .headerLine = [](int, bool, const uint8_t *t) { DeviceCalls += t[0]; },
    .headerDone = [] { DeviceCalls++; },
    .flushLine = [] { DeviceCalls++; },
};

// The target's job record, which the output prints from while it is
// attached: its device word decides which device the commands reach.
uint8_t *Job() {
    static uint8_t record[ReportParamsSize];
    return record;
}

// The client's transport: takes a request as the server would and
// serves it with an empty reply; counts the devices told with a width.
bool TakeRequest(uint16_t code, MsgBuffer *request, MsgBuffer *) {
    if (code == ReqJobDevice) {
        uint16_t kind = 0;
        uint32_t width = 0;
        MsgGetWord(request, &kind);
        MsgGetLong(request, &width);
        Check(!MsgFailed(request) && kind == CurrentOutputKind());
        if (width > 0) DevicesTold++;
    }
    return true;
}

// Once: a quiet message sink, an interface with the font register, the
// recording device for every kind, the reports' frame and the client's
// transport.
void Setup() {
    static bool done = false;
    if (done) return;
    done = true;
    MessageSinkSet(Quiet);
    InterfaceDefs d;
    d.registers = {{.number = 93, .name = "FontVc", .recordSize = FontVc::Size, .fields = {}, .rows = {},
                    .indexes = {}}};
    std::vector<uint8_t> file;
    std::string error;
    if (!InterfaceWrite(d, &file, &error) || !LoadDefinitionsFromBytes(file.data(), file.size(), &error)) std::abort();
    for (uint16_t k = 0; k < DeviceKinds; k++) RepDeviceInstall(k, &CountingDevice);
    ReportFrameInstall();
    RunMode = RunModeClient;
    TransportInstall(TakeRequest, nullptr);
}

// The server's output of a job of report `report` built by `job`, as one
// buffer of commands.
std::vector<uint8_t> Encoded(uint16_t kind, void (*job)(), uint16_t report = 0) {
    static std::vector<uint8_t> *sink = nullptr;
    std::vector<uint8_t> out;
    sink = &out;
    MsgPushFn old = MsgSetPush([](MsgBuffer *m) { sink->insert(sink->end(), MsgData(m), MsgData(m) + MsgLength(m)); });
    PutU16(Job(), ReportParamsVc::OutputKind, kind);
    PutU16(Job(), ReportParamsVc::ReportNumber, report);
    OutputJobAttach attached(Job());
    RemoteOutput = 1;
    job();
    MsgSend();
    RemoteOutput = 0;
    PutU16(Job(), ReportParamsVc::ReportNumber, 0);
    MsgSetPush(old);
    sink = nullptr;
    return out;
}

// A text-and-values job with a header.
void TextJob() {
    PString t;
    PStringFromView(t, "Report");
    RepOpenJob(t);
    RepHeaderClear();
    RepHeaderLeft(0, t);
    RepHeaderDone();
    RepStartLine(12);
    RepCText(10, 0, "Name", 0);
    uint8_t date[6], stamp[14], dec[12];
    PutDate(date, 0, DateRec{24, 12, 2025});
    PutDateTime(stamp, 0, DateTimeRec{2025, 12, 24, 13, 45, 7, 0});
    PackedDecimal v;
    DecFromDouble(&v, -1234.5);
    PutDec(dec, 0, v);
    RepValue(100, 0, date, FtDate, -1);
    RepValue(200, 0, stamp, FtDateTime, -1);
    RepValue(300, 0, dec, FtAmount2, -1);
    RepEndLine();
    RepRuleFull(480, 6);
    RepNewPage(0);
    RepEndJob();
}

// A report's job: its start and columns (commands 1 and 42), its
// selection header, a row and its end.
void OneRowReport() {
    PString t;
    PStringFromView(t, "Report");
    RepBeginJob(t);
    RepStartLine(12);
    RepCText(10, 0, "Row", 0);
    RepEndLine();
    RepEndJob();
}

// A form page job.
void FormJob() {
    PString t, dest;
    PStringFromView(t, "Invoice");
    PStringFromView(dest, "1");
    PrintOpenCall(1, 0, t, dest);
    FormPageStart(t);
    FormPageGeometry(66, 0, 0, 1);
    PackedDecimal r[4], th;
    for (int i = 0; i < 4; i++) DecFromDouble(&r[i], 10.0 * (i + 1));
    DecFromDouble(&th, 0.5);
    FormLineOut(r, th);
    FormBoxOut(r, th, 1);
    uint8_t font[FontVc::Size] = {};
    FormTextOut(t, r, font, 1, 12, -1);
    FormPageEnd();
    RepOp30();
}

// A picture gathered from three chunks (commands 38, 38, 39).
std::vector<uint8_t> ChunkedPicture() {
    MsgBuffer body, cmds;
    MemBlock eps = MemAlloc(8);
    std::memcpy(MemLock(eps), "%!PS-EPS", 8);
    MemUnlock(eps);
    PackedDecimal r[4];
    for (int i = 0; i < 4; i++) DecFromDouble(&r[i], 100.0 * i);
    PString t;
    PStringFromView(t, "picture.eps");
    MsgPutHandle(&body, eps);
    MsgPutHandle(&body, 0);
    MsgPutDecRect(&body, r);
    MsgPutDecRect(&body, r);
    MsgPutPString(&body, t);
    MsgPutWord(&body, 1);
    MemFree(&eps);
    uint32_t n = MsgLength(&body), a = n / 3, b = 2 * n / 3;
    const uint8_t *p = MsgData(&body);
    MsgPutWord(&cmds, RepOp::EpsChunk);
    MsgPutWord(&cmds, 1);
    MsgPutSized(&cmds, p, a);
    MsgPutWord(&cmds, RepOp::EpsChunk);
    MsgPutWord(&cmds, 2);
    MsgPutSized(&cmds, p + a, b - a);
    MsgPutWord(&cmds, RepOp::EpsLastChunk);
    MsgPutSized(&cmds, p + b, n - b);
    return std::vector<uint8_t>(MsgData(&cmds), MsgData(&cmds) + MsgLength(&cmds));
}

}  // namespace

// Encoded jobs for the corpus and the replay's mutations.
std::vector<std::vector<uint8_t>> RepExecFuzzSeeds() {
    Setup();
    std::vector<std::vector<uint8_t>> seeds;
    seeds.push_back(Encoded(OutTextFile, TextJob));
    seeds.push_back(Encoded(OutCharPrinter, TextJob));
    seeds.push_back(Encoded(OutTabFile, TextJob));
    seeds.push_back(Encoded(OutCharPrinter, FormJob));
    seeds.push_back(ChunkedPicture());
    seeds.push_back(Encoded(OutCharPrinter, OneRowReport, 1));
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// Runs one input as the target does; true when it told the server a
// device with its width.
bool RepExecFuzzTellsDevice(const std::vector<uint8_t> &input) {
    const uint32_t told = DevicesTold;
    LLVMFuzzerTestOneInput(input.data(), input.size());
    return DevicesTold > told;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Setup();
    uint32_t blocks = MemBlockCount();
    PutU16(Job(), ReportParamsVc::OutputKind, (size & 1) ? OutCharPrinter : OutTextFile);
    OutputJobAttach attached(Job());
    PString t;
    PStringFromView(t, "Fuzz");
    RepOpenJob(t);
    RemoteJobActive = 1;
    RepExecRemote(data, uint32_t(size));
    Check(RemoteOutput == 0);
    RepRemoteJobEnd(RemoteJobEnd::Full);
    Check(RemoteJobActive == 0 && PrintOpenOk == 0);
    MemFree(&ReceivedPageSetup);
    MemFree(&PageHeaderLines.block);   // a header defined after the job's end waits for the next job
    Check(MemBlockCount() == blocks);
    return 0;
}
