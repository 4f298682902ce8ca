// fuzz_net_server.cpp - fuzz target over the server's handling of what a
// connection sends: the input is the byte stream of one connection,
// framed, checked against the session and login rules and dispatched
// against a small company, exactly as a socket's bytes would be. Every
// frame the server sends back must be well formed; at the end the
// connection closes and its session, locks and slot must be gone.
//
// The server's login nonce is fixed here (AuthNonceSource), so that the
// seeds' recorded final step answers the challenge and the streams reach
// the requests behind the login. A push leaves the input's later frames
// to the connection's next turn, as a socket's bytes arriving meanwhile
// would be, so that the server's wait for the push's acknowledgement
// answers the requests among them (the client's device, request 44)
// and takes the acknowledgement; each input's connection has a loopback
// socket of its own, which the wait finds empty.
#include <unistd.h>

#include "core/record_buffer.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/settings_binding.h"
#include "database/access/transport.h"
#include "database/engine/engine.h"
#include "fuzz/fuzz_net_common.h"
#include "net/auth.h"
#include "net/net.h"
#include "net/raw_login.h"
#include "output/devices/report_output.h"
#include "platform/socket.h"
#include "reports/frame/report_run.h"
#include "rules/convert_document.h"

using fuzznet::Check;

namespace {

std::string CompanyPath;
uint32_t ServedReplies = 0;
uint32_t ServedLoggedIn = 0;   // served replies to a logged-in session (its login's own among them)
uint32_t InputsRun = 0;
uint32_t InputsLoggedIn = 0;
// The input being run: whether a reply went to its session logged in, and
// whether its last reply served the request (not a refusal).
bool InputSawLogin = false;
bool InputLastServed = false;
// Requests served while a report waited for an acknowledgement, and
// report jobs laid out on the width their client told.
uint32_t ServedWhileWaiting = 0;
uint32_t LaidOutForClient = 0;
// The listening socket each input's connection comes through.
int Listener = -1;

constexpr uint8_t NonceByte = 0xA5, ClientNonceByte = 0x3C;

bool FixedNonce(uint8_t *out, size_t n) {
    std::memset(out, NonceByte, n);
    return true;
}

bool SlotLoggedIn(int slot) {
    int s = SessionForSlot(slot);
    return s >= 0 && SessionTable[s].loggedIn;
}

// A reply or push as the client would frame it.
bool CheckFrame(int slot, const uint8_t *bytes, uint32_t length) {
    Check(length >= 6);
    uint32_t n = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | (uint32_t)bytes[3] << 24;
    Check(n == length);
    uint16_t code = bytes[4] | bytes[5] << 8;
    Check(code <= 1);
    if (code == 0) {
        Check(length >= 14);
        InputLastServed = (bytes[6] | bytes[7] << 8) == 0;
        if (InputLastServed && ServerReportWaiting) ServedWhileWaiting++;
        if (SlotLoggedIn(slot)) InputSawLogin = true;
        if (InputLastServed) {
            ServedReplies++;
            if (SlotLoggedIn(slot)) ServedLoggedIn++;
        }
        Check((bytes[6] | bytes[7] << 8) <= 2);
    } else {
        ConnSlot &c = ConnTable[slot];
        if (c.taken < c.received.size()) c.waiting = true;
    }
    return true;
}

// A report job as a report body opens one (commands 1 and 42, then the
// wait for the client's device), three lines and its end.
void SmallReport(ReportJob &job) {
    OutputJobAttach attached(job);
    PString title;
    PStringFromView(title, "Fuzz");
    RepBeginJob(title);
    if (ClientDevice.width > 0) LaidOutForClient++;
    for (int i = 0; i < 3 && !RepStopped; i++) {
        RepStartLine(12);
        RepCText(10, 0, "Line", 0);
        RepEndLine();
        MsgSend();
    }
    RepEndJob();
}

void Setup() {
    static bool done = false;
    if (done) return;
    done = true;
    MessageSinkSet(fuzznet::Quiet);
    Check(fuzznet::LoadInterface() && AllocWorkBlocks() && DbLayerInit());
    CompanyPath = "/tmp/orvel_fuzz_net_" + std::to_string(getpid()) + ".VDB";
    Listener = PlSocketListen(0, 4);
    Check(Listener >= 0);
    std::remove(CompanyPath.c_str());
    Check(D4Create(CompanyPath.c_str(), 0) == D4OpenOk && SettingsStartup());
    std::atexit([] {
        if (std::getenv("ORVEL_FUZZ_VERBOSE"))
            std::fprintf(stderr, "served replies: %u, to a logged-in session: %u; inputs that logged in: %u\n",
                         ServedReplies, ServedLoggedIn, InputsLoggedIn);
        NetShutdown();
        if (D4IsOpen()) D4Close();
        std::remove(CompanyPath.c_str());
    });
    NetServerStart();
    ReportsInstall();
    // An acknowledgement comes with the input or never: a push the input
    // does not acknowledge stops its job after one short wait.
    NetLimits.ackMs = 1;
    NetSendOverride = CheckFrame;
    ServerReportRun = SmallReport;
    AuthNonceSource = FixedNonce;
}

void Request(std::vector<uint8_t> *out, uint32_t session, uint16_t code, MsgBuffer *body) {
    MsgBuffer head;
    MsgPutLong(&head, session);
    MsgPutWord(&head, code);
    fuzznet::AppendFrame(out, &head, body);
}

}  // namespace

// The session this process's first handshake gets is 1; every seed opens
// a session, logs in with both steps and then sends one kind of request:
// the record requests, a settings block, a report run, the import of a
// small text file, the print of an invoice on its form and two
// conversions (a budget's rows by its key, an order to a delivery); the
// last two run the report and answer it as a client does, the second
// holding each push first.
std::vector<std::vector<uint8_t>> NetServerFuzzSeeds() {
    Setup();
    std::vector<uint8_t> start;
    MsgBuffer open;
    uint8_t text[256];
    PStringFromC(text, "10.0.0.1");
    MsgPutPString(&open, text);
    MsgPutWord(&open, 1);
    Request(&start, 0, ReqVersion, nullptr);
    Request(&start, 0, ReqSessionOpen, &open);
    // The two login steps as a client answers the fixed challenge of a
    // company without persons: no proof is asked.
    RawLogin l;
    l.user = "ANY";
    std::memset(l.clientNonce, ClientNonceByte, ScramNonceSize);
    std::memset(l.serverNonce, NonceByte, ScramNonceSize);
    MsgBuffer first, final;
    Check(RawLoginFirst(&l, &first, true) && RawLoginFinal(&l, &final));
    Request(&start, 1, ReqLogin, &first);
    Request(&start, 1, ReqLogin, &final);

    std::vector<std::vector<uint8_t>> seeds;
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(CUVc::Number, &h);
    PStringFromC(text, "C1");
    PutText(r, CUVc::Code, text);
    auto add = [&](uint16_t code, MsgBuffer *body) {
        std::vector<uint8_t> s = start;
        Request(&s, 1, code, body);
        seeds.push_back(s);
    };
    MsgBuffer ins, find, count, read, lock, rows, block, end, job, ack, import, form, budget, order, device;
    MsgPutWord(&ins, CUVc::Number);
    MsgPutRecord(&ins, CUVc::Number, r);
    add(ReqInsertChecked, &ins);
    MsgPutWord(&find, CUVc::Number);
    MsgPutWord(&find, 0);
    MsgPutByte(&find, 1);
    MsgPutRecord(&find, CUVc::Number, r);
    add(ReqFind, &find);
    MsgPutWord(&count, CUVc::Number);
    add(ReqRecordCount, &count);
    MsgPutWord(&read, CUVc::Number);
    MsgPutLong(&read, 1);
    MsgPutCString(&read, "");
    add(ReqReadAt, &read);
    MsgPutWord(&lock, CUVc::Number);
    MsgPutLong(&lock, 1);
    add(ReqRecordLockTake, &lock);
    MsgPutWord(&rows, CUVc::Number);
    MsgPutLong(&rows, 1);
    MsgPutWord(&rows, 3);
    MsgPutWord(&rows, 594);
    MsgPutCString(&rows, "");
    add(ReqListRows, &rows);
    MsgPutWord(&block, 129);
    add(ReqSettingsRead, &block);
    std::vector<uint8_t> jobRecord(ReportParamsSize, 0), reportRecord(ReportParamsSize, 0);
    PutU16(reportRecord.data(), ReportParamsVc::ReportNumber, 1);
    PutU16(reportRecord.data(), ReportParamsVc::OutputKind, OutPreview);
    MsgPutPString(&job, EmptyPString);
    MsgPutJobRecord(&job, reportRecord.data(), (uint32_t)reportRecord.size());
    add(ReqReportRun, &job);
    const std::vector<uint8_t> reportRun = seeds.back();
    std::vector<uint8_t> answered = reportRun;
    // The import's file travels in one chunk after its job record.
    static const char importText[] = "tb\t\r\n\r\n\r\nformat\t\r\n0\t46\t0\t\r\n\r\not\t\r\nA\tAlpha\t\r\n\r\n";
    const uint32_t importLength = uint32_t(sizeof importText - 1);
    MsgPutLong(&import, importLength);
    MsgPutJobRecord(&import, jobRecord.data(), (uint32_t)jobRecord.size());
    MsgPutWord(&import, ImportChunkMark);
    MsgPutLong(&import, 0);
    MsgPutLong(&import, importLength);
    MsgPutBytes(&import, reinterpret_cast<const uint8_t *>(importText), importLength);
    add(ReqImportRun, &import);
    MemBlock invoiceHandle = 0;
    uint8_t *invoice = RecBufferNew(IVVc::Number, &invoiceHandle);
    PutText(invoice, IVVc::CustCode, text);
    MsgPutWord(&form, IVVc::Number);
    MsgPutWord(&form, uint16_t(int16_t(-1)));   // the invoice's document type
    MsgPutRecord(&form, IVVc::Number, invoice);
    add(ReqPrintForm, &form);
    RecBufferFree(IVVc::Number, &invoiceHandle);
    MemBlock budgetHandle = 0;
    uint8_t *budgetRecord = RecBufferNew(BUVc::Number, &budgetHandle);
    MsgPutWord(&budget, BUVc::Number);
    MsgPutWord(&budget, ConvertBudgetByKey);
    MsgPutRecord(&budget, BUVc::Number, budgetRecord);
    add(ReqConvertDocument, &budget);
    RecBufferFree(BUVc::Number, &budgetHandle);
    MemBlock orderHandle = 0;
    uint8_t *orderRecord = RecBufferNew(ORVc::Number, &orderHandle);
    PutText(orderRecord, ORVc::CustCode, text);
    MsgPutWord(&order, ORVc::Number);
    MsgPutWord(&order, ConvertOrderToDelivery);
    MsgPutRecord(&order, ORVc::Number, orderRecord);
    add(ReqConvertDocument, &order);
    RecBufferFree(ORVc::Number, &orderHandle);
    MsgPutWord(&ack, 0);
    add(AckCode, &ack);
    MsgPutLong(&end, 1);
    add(ReqSessionEnd, &end);
    // The report's run as a client answers it: its device and width
    // (request 44) before it acknowledges the job's start, then an
    // acknowledgement of each push.
    MsgPutWord(&device, OutPreview);
    MsgPutLong(&device, 19000);
    Request(&answered, 1, ReqJobDevice, &device);
    for (int i = 0; i < 6; i++) {
        MsgBuffer each;
        MsgPutWord(&each, 0);
        Request(&answered, 1, AckCode, &each);
    }
    seeds.push_back(answered);
    // The same run answered by a client whose user sits in the job's
    // Print dialog: a hold (an acknowledgement with word 2) before each
    // acknowledgement, and one before the run, which no push awaits.
    MsgBuffer hold;
    MsgPutWord(&hold, AckHold);
    std::vector<uint8_t> held = start;
    Request(&held, 1, AckCode, &hold);
    held.insert(held.end(), reportRun.begin() + start.size(), reportRun.end());
    Request(&held, 1, ReqJobDevice, &device);
    for (int i = 0; i < 6; i++) {
        MsgBuffer each;
        MsgPutWord(&each, 0);
        Request(&held, 1, AckCode, &hold);
        Request(&held, 1, AckCode, &each);
    }
    seeds.push_back(held);
    RecBufferFree(CUVc::Number, &h);
    return seeds;
}

uint32_t NetServerFuzzInputsRun() { return InputsRun; }
uint32_t NetServerFuzzServedWhileWaiting() { return ServedWhileWaiting; }
uint32_t NetServerFuzzLaidOutForClient() { return LaidOutForClient; }
uint32_t NetServerFuzzInputsLoggedIn() { return InputsLoggedIn; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// Runs one input as the target does; true when it logged in and its last
// reply served the request it ends with.
bool NetServerFuzzServedLoggedIn(const std::vector<uint8_t> &input) {
    LLVMFuzzerTestOneInput(input.data(), input.size());
    return InputSawLogin && InputLastServed;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Setup();
    // Each input starts as the process's first connection to a fresh
    // server: the seeds' session id is the first one given, and no failed
    // login of an earlier input makes this one's address wait (every input
    // comes from the same address, so one failure would keep every later
    // login out and the requests behind it unfuzzed).
    SessionTableInit();
    SessionIdCounter = 0;
    LoginLimitsReset();
    InputsRun++;
    InputSawLogin = InputLastServed = false;
    const int client = PlSocketConnect("127.0.0.1", PlSocketLocalPort(Listener));
    Check(client >= 0 && PlSocketConnectWait(client, 5000) == 0);
    const int accepted = PlSocketAccept(Listener);
    Check(accepted >= 0);
    int slot = NetSlotAttach(accepted);
    Check(slot >= 0);
    NetFeedBytes(slot, data, size);
    if (InputSawLogin || SlotLoggedIn(slot)) {
        InputSawLogin = true;
        InputsLoggedIn++;
    }
    NetConnClose(slot);
    PlSocketClose(client);
    Check(NetSlotsInUse() == 0);
    Check(SessionsInUse() == 0);
    Check(ServerRunningClass == 0 && ServerCurrentSession == -1);
    return 0;
}
