// Tests of the client stubs against the byte layouts of docs/protocol.md,
// through a fake transport that records each request and answers with a
// prepared reply body: the request bytes of every kind of stub, the
// reading of replies into the caller's values, and failures (no
// connection, short replies, lying lengths) that leave those values as
// they were and never report a write as done.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <tuple>
#include <vector>

#include "core/interface_load.h"
#include "core/memblock.h"
#include "core/message_sink.h"
#include "core/password_verifier.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "tests/core/defs_loader.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int DocReg = 5;        // 63 bytes, rows slot at 56, rows of 5 bytes
constexpr int AccessReg = 46;    // 16 bytes, no rows
constexpr uint32_t DocSize = 63;
constexpr uint32_t DocSlot = 56;
constexpr uint16_t OffNone = RecFocusNone;

// Builds expected bytes by hand, independently of the codec.
struct Wire {
    Bytes b;
    Wire &w(uint16_t v) { return raw({(uint8_t)v, (uint8_t)(v >> 8)}); }
    Wire &l(uint32_t v) { return raw({(uint8_t)v, (uint8_t)(v >> 8), (uint8_t)(v >> 16), (uint8_t)(v >> 24)}); }
    Wire &raw(const Bytes &x) {
        b.insert(b.end(), x.begin(), x.end());
        return *this;
    }
    Wire &padded(const Bytes &x) {
        raw(x);
        if (x.size() % 2) b.push_back(0);
        return *this;
    }
    Wire &text(const std::string &s) {
        Bytes x{(uint8_t)s.size()};
        x.insert(x.end(), s.begin(), s.end());
        return padded(x);
    }
    // A DocReg record whose fixed bytes are all `fill` (slot 0), with
    // `rows` rows of 5 bytes (row i filled with 0x40 + i), or no rows.
    Wire &doc(uint8_t fill, int rows) {
        Bytes fixed(DocSize, fill);
        std::memset(fixed.data() + DocSlot, 0, 4);
        padded(fixed);
        if (rows < 0) return l(0xFFFFFFFF);
        Bytes r;
        for (int i = 0; i < rows; i++) r.insert(r.end(), 5, (uint8_t)(0x40 + i));
        return l((uint32_t)r.size()).padded(r);
    }
};

// The fake transport.
struct Sent {
    uint16_t code;
    Bytes body;
    bool longJob;
    bool outputFlag;
};
std::vector<Sent> Requests;
std::deque<Bytes> Replies;   // an empty deque: the send fails
std::vector<RemoteJobEnd> JobEnds;

bool Answer(uint16_t code, MsgBuffer *request, MsgBuffer *reply, bool longJob) {
    const uint8_t *p = MsgData(request);
    Requests.push_back({code, p ? Bytes(p, p + MsgLength(request)) : Bytes{}, longJob, RemoteOutputActive});
    if (Replies.empty()) return false;
    MsgLoad(reply, Replies.front().data(), (uint32_t)Replies.front().size());
    Replies.pop_front();
    return true;
}
bool FakeSend(uint16_t code, MsgBuffer *request, MsgBuffer *reply) { return Answer(code, request, reply, false); }
bool FakeSendLong(uint16_t code, MsgBuffer *request, MsgBuffer *reply) { return Answer(code, request, reply, true); }
void RecordJobEnd(RemoteJobEnd how) { JobEnds.push_back(how); }
void Quiet(const char *) {}

class RemoteStubs : public ::testing::Test {
protected:
    MessageSink sink = nullptr;
    void SetUp() override {
        InterfaceDefs d;
        RowLayoutDef rows{5, 1, {{"Mark", 1, 0, 13, 1}}};
        d.registers = {{.number = 2, .name = "CustVc", .recordSize = 24, .fields = {}, .rows = {}, .indexes = {}},
                       {.number = 3, .name = "ItemVc", .recordSize = 20, .fields = {}, .rows = {}, .indexes = {}},
                       {.number = DocReg, .name = "DocVc", .recordSize = DocSize, .matrixOffset = DocSlot,
                        .fields = {{"Rows", DocSlot, 24, 4}}, .rows = rows, .indexes = {}},
                       {.number = AccessReg, .name = "AccessVc", .recordSize = 16, .fields = {}, .rows = {},
                        .indexes = {}}};
        // Window type 117 lists a text at 0, a window-supplied text and a
        // value beyond the record's end.
        WinDefinitionSource layout{};
        layout.number = 117;
        std::vector<std::vector<uint8_t>> columns;
        for (auto [type, offset] : {std::pair<uint16_t, uint32_t>{1, 0}, {28, 0}, {10, 200}}) {
            Bytes entry = Wire().w(60).raw(Bytes(40, 0)).w(type).w(0).l(offset).raw(Bytes(10, 0)).b;
            columns.push_back(entry);
        }
        layout.parts[6] = columns;
        d.winDefinitions.push_back(layout);
        LoadDefs(d);
        TransportInstall(FakeSend, FakeSendLong);
        RemoteJobEndInstall(RecordJobEnd);
        Requests.clear();
        Replies.clear();
        JobEnds.clear();
        RemoteConnectionLost = false;
        sink = MessageSinkSet(Quiet);
        doc = RecBufferNew(DocReg, &docHandle);
        SetDoc(0x11, 2);
    }
    void TearDown() override {
        RecBufferFree(DocReg, &docHandle);
        TransportInstall(nullptr, nullptr);
        RemoteJobEndInstall(nullptr);
        // A lost connection outlives the test otherwise and refuses every
        // later test's writes in the same process.
        RemoteConnectionLost = false;
        MessageSinkSet(sink);
        InterfaceUnload();
    }
    void SetDoc(uint8_t fill, int rows) {
        RecFreeMatrix(DocReg, doc);
        std::memset(doc, fill, DocSize);
        std::memset(doc + DocSlot, 0, 4);
        for (int i = 0; i < rows; i++) {
            uint8_t row[5];
            std::memset(row, 0x40 + i, 5);
            MatrixRowPut(DocReg, 0, doc, i, row);
        }
    }
    void Reply(const Wire &w) { Replies.push_back(w.b); }
    const Sent &Last() { return Requests.back(); }
    MemBlock docHandle = 0;
    uint8_t *doc = nullptr;
};

}  // namespace

TEST_F(RemoteStubs, RecordReadsSendTheirRequestsAndTakeTheirReplies) {
    uint32_t recid = 0, position = 0;
    // Find (16): the key record goes out; found, position, id, record back.
    Reply(Wire().w(1).l(12).l(345).doc(0x22, 3));
    EXPECT_TRUE(RecFindRemote(DocReg, doc, 2, 1, &recid, &position));
    EXPECT_EQ(Last().code, ReqFind);
    EXPECT_EQ(Last().body, Wire().w(DocReg).w(2).w(1).doc(0x11, 2).b);
    EXPECT_EQ(std::tuple(recid, position, doc[0], MatrixRowCount(DocReg, 0, doc)), std::tuple(345u, 12u, 0x22, 3));
    // A miss of the clearing find takes the (cleared) record; the ids stay.
    Reply(Wire().w(0).l(0).l(0).doc(0x00, -1));
    EXPECT_FALSE(RecFindRemote(DocReg, doc, 0, 0, &recid, &position));
    EXPECT_EQ(std::tuple(doc[0], recid, RemoteConnectionLost), std::tuple(0, 345u, false));

    // Find through a named index (36); the keep form has its own code.
    Reply(Wire().w(1).l(1).l(2).doc(0x33, -1));
    EXPECT_TRUE(RecFindByIndexRemote(DocReg, "Date", doc, 0, 1, &recid, &position));
    EXPECT_EQ(Last().body, Wire().w(DocReg).text("Date").w(0).w(1).doc(0x00, -1).b);
    Reply(Wire().w(0).l(0).l(0).doc(0x33, -1));
    RecFindKeepRemote(DocReg, doc, 0, 0, &recid, &position);
    EXPECT_EQ(Last().code, ReqFindKeep);

    // Read at a position (2, 18): a miss leaves the caller's record.
    SetDoc(0x11, 1);
    Reply(Wire().w(0).l(0).doc(0x00, -1));
    EXPECT_FALSE(RecReadAtRemote(DocReg, "", 7, doc, &recid));
    EXPECT_EQ(Last().body, Wire().w(DocReg).l(7).text("").b);
    EXPECT_EQ(std::tuple(doc[0], MatrixRowCount(DocReg, 0, doc)), std::tuple(0x11, 1));
    Reply(Wire().w(1).l(99).doc(0x44, -1));
    EXPECT_TRUE(RecReadAtIndexCRemote(DocReg, 3, doc, "Code", &recid));
    EXPECT_EQ(Last().code, ReqReadAtIndexC);
    EXPECT_EQ(Last().body, Wire().w(DocReg).l(3).text("Code").b);
    EXPECT_EQ(std::tuple(recid, RecMatrixHandle(DocReg, doc)), std::tuple(99u, 0u));
    size_t sent = Requests.size();
    EXPECT_FALSE(RecReadAtRemote(DocReg, nullptr, -1, doc, &recid)) << "a negative position reads nothing";
    EXPECT_EQ(Requests.size(), sent);

    // By id (22), reread (19), browse (7), exists (4), defaults (13, 14), count (41).
    Reply(Wire().w(1).doc(0x55, 0));
    EXPECT_TRUE(RecReadByIdRemote(DocReg, 77, doc));
    EXPECT_EQ(Last().body, Wire().w(DocReg).l(77).w(0).w(1).b);
    EXPECT_EQ(MatrixRowCount(DocReg, 0, doc), 0);
    EXPECT_NE(RecMatrixHandle(DocReg, doc), 0u) << "an empty rows block stays a block";
    Reply(Wire().w(0).doc(0, -1));
    EXPECT_FALSE(RecRereadRemote(DocReg, 77, doc, 2));
    EXPECT_EQ(Last().body, Wire().w(DocReg).l(77).w(2).b);
    EXPECT_EQ(doc[0], 0x55);
    recid = 77;
    Reply(Wire().w(1).l(78).doc(0x66, -1));
    EXPECT_TRUE(RecBrowseNextRemote(DocReg, doc, &recid, "Code"));
    EXPECT_EQ(Last().body, Wire().w(DocReg).l(77).text("Code").doc(0x55, 0).b);
    EXPECT_EQ(recid, 78u);
    Reply(Wire().w(1));
    EXPECT_TRUE(RecExistsRemote(DocReg, doc));
    EXPECT_EQ(Last().body, Wire().w(DocReg).doc(0x66, -1).b);
    Reply(Wire().doc(0x07, 1));
    RecNewDefaultsRemote(DocReg, doc);
    EXPECT_EQ(Last().body, Wire().w(DocReg).b);
    EXPECT_EQ(doc[1], 0x07);
    Reply(Wire().l(4321));
    EXPECT_EQ(RegRecordCountRemote(DocReg), 4321u);
    for (const Sent &s : Requests) EXPECT_FALSE(s.longJob || s.outputFlag) << s.code;
}

TEST_F(RemoteStubs, WritesGiveTheServersResultOrConnectionLostNeverDone) {
    uint32_t recid = 5;
    int result = 99;
    // Insert (3): id, result, error position, record.
    Reply(Wire().l(0).w(0xFFFF).w(12).w(3).w(4).doc(0x12, 1));
    RecInsertCheckedRemote(DocReg, doc, &recid, &result);
    EXPECT_EQ(Last().body, Wire().w(DocReg).doc(0x11, 2).b);
    EXPECT_EQ(result, -1) << "result words are signed";
    EXPECT_EQ(std::tuple(FieldErrorPos.field, FieldErrorPos.column, doc[0]), std::tuple(12, 4, 0x12));
    // Update (9).
    Reply(Wire().w(RecNotFound).w(0).w(0).w(0).l(8).doc(0x13, -1));
    RecUpdateCheckedRemote(DocReg, doc, 8, &result);
    EXPECT_EQ(Last().body, Wire().w(DocReg).l(8).doc(0x12, 1).b);
    EXPECT_EQ(result, RecNotFound);
    // An id never stands beside a failure, whatever the server sent.
    recid = 5;
    Reply(Wire().l(77).w(RecKeyExists).w(OffNone).w(0).w(0).doc(0x13, -1));
    RecInsertCheckedRemote(DocReg, doc, &recid, &result);
    EXPECT_EQ(std::tuple(result, recid), std::tuple(RecKeyExists, 0u));
    // Delete (5): result, the id now shown, its record; a delete that was
    // not done leaves the caller on its own record.
    recid = 8;
    Reply(Wire().w(Texts::RecordInUse).l(9).doc(0x77, -1));
    EXPECT_EQ(RecDeleteCheckedRemote(DocReg, doc, &recid, nullptr), Texts::RecordInUse);
    EXPECT_EQ(std::tuple(recid, doc[0]), std::tuple(8u, 0x13));
    Reply(Wire().w(0).l(9).doc(0x14, -1));
    EXPECT_EQ(RecDeleteCheckedRemote(DocReg, doc, &recid, nullptr), RecDone);
    EXPECT_EQ(Last().body, Wire().w(DocReg).l(8).text("").doc(0x13, -1).b);
    EXPECT_EQ(recid, 9u);
    // Check (32) and settings store (10): sized data out, result and position back.
    uint8_t data[3] = {1, 2, 3};
    Reply(Wire().w(7).w(1).w(2).w(3));
    EXPECT_EQ(RecCheckRemote(DocReg, data, 3, 4), 7);
    EXPECT_EQ(Last().body, Wire().w(DocReg).w(4).l(3).padded({1, 2, 3}).b);
    Reply(Wire().w(0).w(0).w(0).w(0));
    EXPECT_EQ(SettingsBlockStoreRemote(145, data, 3), RecDone);
    EXPECT_EQ(Last().body, Wire().w(145).l(3).padded({1, 2, 3}).b);

    // No transport, a failed send, a short reply, a result outside the
    // result space: RecConnectionLost, the flag set, no field to focus and
    // the caller's record and id untouched.
    for (int round = 0; round < 4; round++) {
        if (round == 0) TransportInstall(nullptr, nullptr);
        if (round == 2) Reply(Wire().l(1).w(0));   // cut off after the result
        if (round == 3) Reply(Wire().l(1).w(0xFFFE).w(1).w(2).w(3).doc(0x66, -1));
        FieldErrorPos = ErrorPosition{1, 2, 3};
        RemoteConnectionLost = false;
        result = RecDone;
        recid = 5;
        RecInsertCheckedRemote(DocReg, doc, &recid, &result);
        EXPECT_EQ(std::tuple(result, recid, RemoteConnectionLost, doc[0], FieldErrorPos.field),
                  std::tuple(RecConnectionLost, 5u, true, 0x14, RecFocusNone)) << round;
        if (round == 3) Reply(Wire().w(0xFFFE).l(9).doc(0x66, -1));
        EXPECT_EQ(RecDeleteCheckedRemote(DocReg, doc, &recid, ""), RecConnectionLost);
        EXPECT_EQ(doc[0], 0x14);
        if (round == 3) Reply(Wire().w(0x8000).w(0).w(0).w(0));
        EXPECT_EQ(SettingsBlockStoreRemote(145, data, 3), RecConnectionLost);
        EXPECT_EQ(RecCheckRemote(DocReg, data, 3, 0), RecConnectionLost);
        EXPECT_TRUE(Replies.empty());
        TransportInstall(FakeSend, FakeSendLong);
    }
}

TEST_F(RemoteStubs, HostileRepliesAreRefusedWithoutReadingPastThem) {
    uint32_t blocks = MemBlockCount();
    uint32_t recid = 1, position = 2;
    // Rows longer than the reply, rows not of whole rows, a fixed part cut
    // short, a PString running off the end: the caller keeps everything.
    Bytes fixed = Wire().w(1).l(3).l(4).b;
    Bytes doc63(64, 0x99);
    std::vector<Bytes> hostile = {Wire().raw(fixed).raw(doc63).l(0x7FFFFFF0).raw({1, 2}).b,
                                  Wire().raw(fixed).raw(doc63).l(4).raw({1, 2, 3, 4}).b,
                                  Wire().raw(fixed).raw(Bytes(30, 0x99)).b, Wire().w(1).l(3).b, Bytes{}};
    for (const Bytes &h : hostile) {
        Replies.push_back(h);
        RemoteConnectionLost = false;
        EXPECT_FALSE(RecFindRemote(DocReg, doc, 0, 0, &recid, &position));
        EXPECT_EQ(std::tuple(RemoteConnectionLost, doc[0], MatrixRowCount(DocReg, 0, doc), recid),
                  std::tuple(true, 0x11, 2, 1u));
    }
    uint8_t name[256] = {3, 'a', 'm', 'y'}, password[2] = {0}, access[16] = {5};
    Reply(Wire().raw({250, 'x', 'y'}));
    EXPECT_FALSE(LoginRemote(AccessReg, name, password, access));
    EXPECT_EQ(name[0], 3);
    std::vector<RemoteListRow> rows(1);
    Reply(Wire().w(1).l(5).text("a").w(1).l(6));   // second row lacks its text
    EXPECT_FALSE(ListFillRowsRemote(DocReg, 1, 2, 9, "", 1, &rows));
    EXPECT_EQ(rows.size(), 1u);
    MemBlock var = 0;
    Reply(Wire().l(1000).raw({1, 2}));
    EXPECT_FALSE(SettingsBlockFetchRemote(&var, 145));
    EXPECT_EQ(var, 0u);
    EXPECT_EQ(MemBlockCount(), blocks);
}

TEST_F(RemoteStubs, LocksAndSettingsBlocks) {
    // A refused record lock leaves the record on screen as it was.
    Reply(Wire().w(0).doc(0, -1));
    EXPECT_FALSE(RecordLockTakeRemote(DocReg, 42, doc));
    EXPECT_EQ(Last().body, Wire().w(DocReg).l(42).b);
    EXPECT_EQ(doc[0], 0x11);
    Reply(Wire().w(1).doc(0x21, -1));
    EXPECT_TRUE(RecordLockTakeRemote(DocReg, 42, doc));
    EXPECT_EQ(doc[0], 0x21);
    Reply(Wire());
    EXPECT_TRUE(RecordUnlockRemote(DocReg, 42));
    EXPECT_EQ(Last().code, ReqRecordUnlock);
    Reply(Wire().w(1));
    EXPECT_TRUE(RegisterLockTakeRemote(145));
    EXPECT_EQ(Last().body, Wire().w(145).b);
    Reply(Wire());
    EXPECT_TRUE(RegisterUnlockRemote(145));
    EXPECT_EQ(Last().code, ReqRegisterUnlock);

    // Settings read: longer data fill the buffer, shorter ones leave zeros,
    // an absent block zero-fills and gives false.
    uint8_t buffer[4] = {9, 9, 9, 9};
    Reply(Wire().l(5).padded({1, 2, 3, 4, 5}));
    EXPECT_TRUE(SettingsBlockReadRemote(145, buffer, 4));
    EXPECT_EQ(Last().body, Wire().w(145).b);
    EXPECT_EQ(buffer[3], 4);
    Reply(Wire().l(1).padded({7}));
    EXPECT_TRUE(SettingsBlockReadRemote(145, buffer, 4));
    EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{7, 0, 0, 0}));
    Reply(Wire().l(0));
    EXPECT_FALSE(SettingsBlockReadRemote(145, buffer, 4));
    MemBlock var = MemAlloc(8);
    Reply(Wire().l(3).padded({1, 2, 3}));
    EXPECT_TRUE(SettingsBlockFetchRemote(&var, 163));
    EXPECT_EQ(MemSize(var), 3u);
    Reply(Wire().l(0));
    EXPECT_FALSE(SettingsBlockFetchRemote(&var, 163));
    EXPECT_EQ(var, 0u);
}

TEST_F(RemoteStubs, JobsSetTheOutputFlagAndWindUpTheLocalJob) {
    uint32_t ids[2] = {10, 11};
    Reply(Wire());
    EXPECT_TRUE(ApproveRecordListRemote(DocReg, 4, ids, 0));
    EXPECT_EQ(Last().body, Wire().w(DocReg).w(4).l(0).b) << "an empty list sends count 0 and no ids";
    Reply(Wire());
    ApproveRecordListRemote(DocReg, 4, ids, 2);
    EXPECT_EQ(Last().body, Wire().w(DocReg).w(4).l(2).l(10).l(11).b);
    EXPECT_TRUE(Last().outputFlag);
    EXPECT_FALSE(Last().longJob);

    const uint8_t job[4] = {1, 2, 3, 4};
    Reply(Wire());
    EXPECT_TRUE(RunReportRemote(false, job, 4));
    EXPECT_EQ(Last().code, ReqReportRun);
    EXPECT_EQ(Last().body, Wire().text("").l(4).raw({1, 2, 3, 4}).b);
    EXPECT_TRUE(Last().longJob && Last().outputFlag);
    Reply(Wire());
    RunReportRemote(true, job, 4);
    EXPECT_EQ(Last().code, ReqDocumentRun);
    Reply(Wire());
    TextExportRemote(15, job, 4);
    EXPECT_EQ(Last().body, Wire().w(15).l(4).raw({1, 2, 3, 4}).b);
    // Two approvals, a report and a document run wind up the whole job;
    // the export only ends it.
    std::vector<RemoteJobEnd> ends(4, RemoteJobEnd::Full);
    ends.push_back(RemoteJobEnd::EndJobOnly);
    EXPECT_EQ(JobEnds, ends);
    EXPECT_FALSE(RemoteOutputActive);

    // The import file follows the job record in 16384-byte chunks.
    Bytes file(ImportChunkSize + 3);
    for (size_t i = 0; i < file.size(); i++) file[i] = (uint8_t)(i * 7);
    Reply(Wire());
    JobEnds.clear();
    EXPECT_TRUE(ImportRunRemote(job, 4, file.data(), (uint32_t)file.size()));
    Wire want = Wire().l((uint32_t)file.size()).l(4).raw({1, 2, 3, 4});
    want.w(1).l(0).l(ImportChunkSize).padded(Bytes(file.begin(), file.begin() + ImportChunkSize));
    want.w(1).l(ImportChunkSize).l(3).padded(Bytes(file.begin() + ImportChunkSize, file.end()));
    EXPECT_EQ(Last().body, want.b);
    EXPECT_TRUE(Last().longJob && Last().outputFlag);
    EXPECT_TRUE(JobEnds.empty()) << "nothing to wind up after an import";

    Reply(Wire());
    EXPECT_TRUE(JobRequestRemote(ReqPaymentSuggestion, job, 4));
    EXPECT_FALSE(Last().longJob || Last().outputFlag);
    size_t sent = Requests.size();
    EXPECT_FALSE(JobRequestRemote(ReqFind, job, 4)) << "not a job request";
    EXPECT_EQ(Requests.size(), sent);
    Reply(Wire().w(3));
    EXPECT_EQ(PrintFormRemote(DocReg, 2, doc), 3);
    EXPECT_EQ(Last().body, Wire().w(DocReg).w(2).doc(0x11, 2).b);
    uint32_t newId = 0;
    Reply(Wire().doc(0x31, -1).l(500));
    EXPECT_TRUE(ConvertDocumentRemote(DocReg, 1, doc, &newId));
    EXPECT_EQ(std::tuple(newId, doc[0]), std::tuple(500u, 0x31));
    Reply(Wire());
    EXPECT_TRUE(SessionEndRequest(17));
    EXPECT_EQ(Last().body, Wire().l(17).b);
}

TEST_F(RemoteStubs, ListsLoginAndCalculations) {
    // List rows (23): exactly count entries, texts per found row.
    std::vector<RemoteListRow> rows;
    Reply(Wire().w(1).l(5).text("A1").text("B").w(0).w(1).l(6).text("").text("xyz"));
    ASSERT_TRUE(ListFillRowsRemote(DocReg, 4, 3, 117, "Code", 2, &rows));
    EXPECT_EQ(Last().body, Wire().w(DocReg).l(4).w(3).w(117).text("Code").b);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].texts, (std::vector<std::string>{"A1", "B"}));
    EXPECT_FALSE(rows[1].found);
    EXPECT_EQ(rows[2].recid, 6u);
    EXPECT_EQ(rows[2].texts[1], "xyz");

    // The server's side: one text per column of the window type.
    RowExtraTextInstall([](int, int, const uint8_t *, uint8_t *text) { PStringFromC(text, "X"); });
    EXPECT_EQ(ListColumnCount(117), 3);
    doc[0] = 2, doc[1] = 'A', doc[2] = 'B';
    MsgBuffer row;
    ASSERT_TRUE(RowFieldsToMsg(&row, 117, DocReg, doc));
    EXPECT_EQ(Bytes(MsgData(&row), MsgData(&row) + MsgLength(&row)), Wire().text("AB").text("X").text("").b);
    RowExtraTextInstall(nullptr);
    SetDoc(0x11, 2);

    // Choice lists (33).
    std::vector<std::string> items;
    DateRec date{2, 3, 2024};
    Reply(Wire().w(1).text("one").w(1).text("two").w(0));
    ASSERT_TRUE(ChoiceListStartRemote(DocReg, &date, &items));
    EXPECT_EQ(Last().body, Wire().w(0).w(DocReg).w(2024).w(3).w(2).b);
    EXPECT_EQ(items, (std::vector<std::string>{"one", "two"}));
    const uint8_t key[3] = {2, 'K', '1'};
    Reply(Wire().w(0));
    ASSERT_TRUE(ChoiceListStartRangeRemote(18, key, &items));
    EXPECT_EQ(Last().body, Wire().w(18).text("K1").b);

    // Login (31) in its two steps: the name and a nonce, then the proof;
    // a server without persons (iterations 0) asks none. The answer: the
    // server's user name, the access record, the administrator flag.
    uint8_t name[256] = {3, 'a', 'm', 'y'}, password[3] = {2, 'p', 'w'}, access[16] = {};
    Bytes serverNonce(18, 0x5A);
    Reply(Wire().w(LoginChallenge).raw(serverNonce).raw(Bytes(16, 1)).l(0));
    Reply(Wire().text("AMY").w(1).padded(Bytes(16, 0x46)).w(1).raw(Bytes(32, 0)));
    EXPECT_TRUE(LoginRemote(AccessReg, name, password, access));
    ASSERT_GE(Requests.size(), 2u);
    Bytes first = Requests[Requests.size() - 2].body, final = Last().body;
    ASSERT_EQ(first.size(), 2u + 4 + 18);
    EXPECT_EQ(Bytes(first.begin(), first.begin() + 6), Wire().w(LoginStepFirst).text("amy").b);
    ASSERT_EQ(final.size(), 2u + 18 + 18 + 32);
    EXPECT_EQ(Bytes(final.begin(), final.begin() + 2), Wire().w(LoginStepFinal).b);
    EXPECT_EQ(Bytes(final.begin() + 2, final.begin() + 20), Bytes(first.begin() + 6, first.end()));
    EXPECT_EQ(Bytes(final.begin() + 20, final.begin() + 38), serverNonce);
    EXPECT_EQ(std::string((char *)name + 1, name[0]), "AMY");
    EXPECT_EQ(access[15], 0x46);
    EXPECT_TRUE(RemoteLoginAdministrator);
    // Told to wait: refused at once, and no second step is sent.
    size_t sent = Requests.size();
    Reply(Wire().w(LoginWait).l(900));
    EXPECT_FALSE(LoginRemote(AccessReg, name, password, access));
    EXPECT_EQ(Requests.size(), sent + 1);
    EXPECT_FALSE(RemoteConnectionLost);
    // Iterations no verifier has: not a server of ours, nothing sent after it.
    Reply(Wire().w(LoginChallenge).raw(serverNonce).raw(Bytes(16, 1)).l(7));
    EXPECT_FALSE(LoginRemote(AccessReg, name, password, access));
    EXPECT_EQ(Requests.size(), sent + 2);
    EXPECT_TRUE(RemoteConnectionLost);

    // Calculations (34): the sub-request first, then its arguments.
    PackedDecimal a{}, b{};
    const uint8_t item[2] = {1, 'I'}, loc[1] = {0};
    uint8_t customer[24] = {};
    Reply(Wire().padded(Bytes(24, 0x43)).raw(Bytes(12, 3)).raw(Bytes(12, 4)));
    EXPECT_TRUE(CustomerBalanceCreditRemote(customer, &a, &b));
    EXPECT_EQ(Last().body, Wire().w(CalcCustomerBalance).padded(Bytes(24, 0)).b);
    EXPECT_EQ(b.b[0], 4);
    Reply(Wire().doc(0x51, 1).raw(Bytes(12, 6)));
    EXPECT_TRUE(RowSumRemote(DocReg, doc, 1, &a));
    EXPECT_EQ(Last().body, Wire().w(CalcRowSum).w(DocReg).doc(0x11, 2).w(1).b);
    EXPECT_EQ(a.b[0], 6);
    ItemPriceQuery q{item, {}, loc, {}, loc, loc, loc, loc, 3, {}, {}};
    ItemPriceAnswer answer{};
    uint8_t itemRecord[20] = {};
    Reply(Wire().w(1).padded(Bytes(20, 0x49)).raw(Bytes(12, 7)).text("T").raw(Bytes(12, 8)).text("V").text("3010")
              .raw(Bytes(12, 9)).w(1));
    EXPECT_TRUE(ItemPriceRemote(&q, itemRecord, &answer));
    Wire args = Wire().w(CalcItemPrice).text("I").raw(Bytes(12, 0)).text("").raw(Bytes(12, 0));
    args.text("").text("").text("").text("").w(3).raw(Bytes(24, 0));
    EXPECT_EQ(Last().body, args.b);
    EXPECT_EQ(std::string((char *)answer.account + 1, answer.account[0]), "3010");
    EXPECT_EQ(std::tuple(itemRecord[0], answer.cost.b[0], answer.flag), std::tuple(0x49, 9, 1));
}

// The round count of a server's challenge: the client computes its proof
// only for counts from the least a verifier has to a few times its own;
// any other is told, ends the connection and sends nothing more (a
// count of ten million would cost every login seconds).
TEST_F(RemoteStubs, LoginChallengesNamingRoundCountsOutsideTheClientsBoundAreRefused) {
    uint32_t saved = VerifierIterations;
    VerifierIterations = VerifierIterationsMin;   // keeps the accepted proofs quick
    static std::vector<std::string> told;
    MessageSinkSet([](const char *text) { told.push_back(text); });
    const uint32_t most = VerifierIterations * ScramClientIterationsSpread;
    struct Case {
        uint32_t iterations;
        bool accepted;
    } cases[] = {{VerifierIterationsMin - 1, false}, {VerifierIterationsMin, true}, {most, true},
                  {most + 1, false},  {VerifierIterationsMax, false},   {0xFFFFFFFFu, false}};
    for (const Case &c : cases) {
        uint8_t name[256] = {3, 'a', 'm', 'y'}, password[3] = {2, 'p', 'w'}, access[16] = {};
        Replies.clear();
        told.clear();
        RemoteConnectionLost = false;
        size_t sent = Requests.size();
        Reply(Wire().w(LoginChallenge).raw(Bytes(18, 0x5A)).raw(Bytes(16, 1)).l(c.iterations));
        Reply(Wire().text("AMY").w(0).padded(Bytes(16, 0)).w(0).raw(Bytes(32, 0)));   // refused, without proof
        EXPECT_FALSE(LoginRemote(AccessReg, name, password, access)) << c.iterations;
        EXPECT_EQ(Requests.size(), sent + (c.accepted ? 2 : 1)) << c.iterations;
        EXPECT_EQ(RemoteConnectionLost, !c.accepted) << c.iterations;
        EXPECT_EQ(told.size(), c.accepted ? 0u : 1u) << c.iterations;
        if (c.accepted) {
            ASSERT_EQ(Last().body.size(), 2u + 18 + 18 + 32);
            EXPECT_NE(Bytes(Last().body.end() - 32, Last().body.end()), Bytes(32, 0)) << "a proof was computed";
        }
    }
    VerifierIterations = saved;
}

TEST_F(RemoteStubs, ReplyHeadersAndRecordCounts) {
    // A request frame: length, session, code before the body.
    MsgBuffer body;
    MsgPutWord(&body, 7);
    ASSERT_TRUE(RequestFrameBuild(&body, 3, ReqRecordCount));
    EXPECT_EQ(Bytes(MsgData(&body), MsgData(&body) + MsgLength(&body)), Wire().l(12).l(3).w(41).w(7).b);

    // A reply with a message and a count list of registers 0..2, then a body.
    Bytes frame = Wire().l(0).w(0).w(0).w(1547).text("K").w(2).l(10).l(20).l(30).l(4321).b;
    frame[0] = (uint8_t)frame.size();
    MsgBuffer m;
    MsgLoad(&m, frame.data(), (uint32_t)frame.size());
    ReplyHeader h;
    ASSERT_TRUE(ReplyHeaderRead(&m, &h, false));
    EXPECT_EQ(std::tuple(h.status, h.textNumber, h.counts), std::tuple(ReplyServed, 1547, true));
    uint32_t value = 0;
    EXPECT_TRUE(MsgGetLong(&m, &value));
    EXPECT_EQ(value, 4321u);

    // Refused: a length beyond the bytes or below a header, a count list
    // naming register 133 or shorter than it says.
    auto refused = [&](Bytes f, bool fixLength) {
        if (fixLength) f[0] = (uint8_t)f.size();
        MsgBuffer x;
        MsgLoad(&x, f.data(), (uint32_t)f.size());
        ReplyHeader y;
        return !ReplyHeaderRead(&x, &y, false) && MsgFailed(&x);
    };
    EXPECT_TRUE(refused(Wire().l(40).w(0).w(0).w(65535).text("").w(65535).b, false));
    EXPECT_TRUE(refused(Wire().l(8).w(0).w(0).b, false));
    EXPECT_TRUE(refused(Wire().l(0).w(0).w(0).w(65535).text("").w(133).b, true));
    EXPECT_TRUE(refused(Wire().l(0).w(0).w(0).w(65535).text("").w(5).l(1).b, true));
    EXPECT_TRUE(refused(Wire().l(0).w(2).w(0).w(65535).text("").w(65535).b, true)) << "unknown frame code";
    EXPECT_FALSE(refused(Wire().l(0).w(1).raw({9, 9}).b, true)) << "a push";

    // The writer's side of the list.
    MsgBuffer list;
    const uint32_t counts[2] = {0, 9};
    MsgPutRecordCounts(&list, counts, 1);
    MsgPutRecordCounts(&list, nullptr, 0);
    EXPECT_EQ(Bytes(MsgData(&list), MsgData(&list) + MsgLength(&list)), Wire().w(1).l(0).l(9).w(65535).b);
    EXPECT_TRUE(MsgGetRecordCounts(&list, false));
    EXPECT_TRUE(MsgGetRecordCounts(&list, false));
    EXPECT_EQ(MsgRemaining(&list), 0u);
}

TEST_F(RemoteStubs, DispatchersReachTheStubsInClientMode) {
    uint16_t mode = RunMode;
    RemoteOpsTable saved = RemoteOps;
    RunMode = RunModeClient;
    RemoteOpsInstall();
    uint32_t recid = 0, position = 0;
    Reply(Wire().w(1).l(1).l(2).doc(0x71, -1));
    EXPECT_TRUE(RecFind(DocReg, doc, 0, 1, &recid, &position));
    EXPECT_EQ(doc[0], 0x71);
    int result = RecDone;
    RecInsertChecked(DocReg, doc, &recid, &result);   // no reply: the connection is gone
    EXPECT_EQ(result, RecConnectionLost);
    EXPECT_TRUE(RemoteConnectionLost);
    RemoteOps = saved;
    RunMode = mode;
}
