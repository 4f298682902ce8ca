// fuzz_message.cpp - fuzz target over the reading of received messages:
// arbitrary bytes read as a message through every kind of get, read as a
// reply frame's header with its record-count list, and handed to every
// client stub as the body of its reply. Nothing may read outside the
// message, leak a block, or leave the read position beyond the end; the
// sanitizers and the checks below catch it.
//
// Input layout: the first byte chooses how many of the next bytes (up to
// 15) form a script of get kinds for the first pass; the rest is the
// message. The other passes take the whole input.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/interface_load.h"
#include "core/interface_write.h"
#include "core/memblock.h"
#include "core/message_sink.h"
#include "core/msg_buffer.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"

namespace {

constexpr int DocReg = 5;       // 63 bytes, rows slot at 56, rows of 5 bytes
constexpr int AccessReg = 46;

const uint8_t *ReplyBytes = nullptr;
size_t ReplySize = 0;

void Quiet(const char *) {}

void Check(bool ok) {
    if (!ok) std::abort();
}

// Answers every request with the fuzz input as the reply body.
bool FuzzSend(uint16_t, MsgBuffer *, MsgBuffer *reply) {
    return MsgLoad(reply, ReplyBytes, (uint32_t)ReplySize);
}

void Setup() {
    static bool done = false;
    if (done) return;
    done = true;
    MessageSinkSet(Quiet);
    InterfaceDefs d;
    RowLayoutDef rows{5, 1, {{"Mark", 1, 0, 13, 1}}};
    d.registers = {{.number = 2, .name = "CustVc", .recordSize = 24, .fields = {}, .rows = {}, .indexes = {}},
                   {.number = 3, .name = "ItemVc", .recordSize = 20, .fields = {}, .rows = {}, .indexes = {}},
                   {.number = DocReg, .name = "DocVc", .recordSize = 63, .matrixOffset = 56,
                    .fields = {{"Rows", 56, 24, 4}}, .rows = rows, .indexes = {}},
                   {.number = CalcDeliveryRegister, .name = "ShipVc", .recordSize = 12, .matrixOffset = 8,
                    .fields = {{"Rows", 8, 24, 4}}, .rows = rows, .indexes = {}},
                   {.number = AccessReg, .name = "AccessVc", .recordSize = 16, .fields = {}, .rows = {},
                    .indexes = {}}};
    std::vector<uint8_t> file;
    std::string error;
    if (!InterfaceWrite(d, &file, &error) || !LoadDefinitionsFromBytes(file.data(), file.size(), &error)) std::abort();
    TransportInstall(FuzzSend, FuzzSend);
}

// One get of kind k (0..15) into scratch destinations.
void GetOne(MsgBuffer *m, int k, uint8_t *record) {
    uint8_t big[300];
    PackedDecimal rect[4];
    DateRec date;
    uint16_t w = 0;
    uint32_t n = 0;
    MemBlock h = 0;
    switch (k) {
    case 0: MsgGetWord(m, &w); break;
    case 1: MsgGetByte(m, big); break;
    case 2: MsgGetLong(m, &n); break;
    case 3: MsgGetLong(m, nullptr); break;
    case 4: MsgGetBytes(m, big, m->readPos % 17); break;
    case 5: MsgGetSized(m, big, 64, &n); break;
    case 6: h = MsgGetHandle(m, &n); Check(!h || MemSize(h) == n); break;
    case 7: MsgGetPString(m, big); Check(!MsgFailed(m) || big[0] == 0); break;
    case 8: MsgGetCString(m, (char *)big); Check(std::strlen((char *)big) < 256); break;
    case 9: MsgGetBlock12(m, rect); break;
    case 10: MsgGetDecRect(m, rect); break;
    case 11: MsgGetDate(m, &date); break;
    case 12: MsgGetRecord(m, DocReg, record); break;
    case 13: MsgGetRecordCounts(m, false); break;
    case 14: h = MsgGetRest(m); break;
    default: MsgGetPString(m, nullptr); break;
    }
    MemFree(&h);
}

void ReadByScript(const uint8_t *data, size_t size, uint8_t *record) {
    size_t scriptLength = size ? data[0] % 16 : 0;
    if (size < 1 + scriptLength) return;
    const uint8_t *script = data + 1;
    MsgBuffer m;
    MsgLoad(&m, data + 1 + scriptLength, (uint32_t)(size - 1 - scriptLength));
    for (int step = 0; step < 2048 && !MsgFailed(&m); step++) {
        int k = scriptLength ? script[step % scriptLength] % 16 : step % 16;
        GetOne(&m, k, record);
        Check(m.readPos <= MsgEnd(&m));
    }
    // Once failed, every kind gives nothing and stays failed.
    for (int k = 0; k < 16 && MsgFailed(&m); k++) {
        uint32_t at = m.readPos;
        GetOne(&m, k, record);
        Check(MsgFailed(&m) && m.readPos == at);
    }
    RecFreeMatrix(DocReg, record);
}

void ReadAsFrame(const uint8_t *data, size_t size) {
    MsgBuffer m;
    MsgLoad(&m, data, (uint32_t)size);
    ReplyHeader h;
    if (ReplyHeaderRead(&m, &h, false)) Check(h.length <= size && m.readPos <= MsgEnd(&m));
}

// Every stub reads the input as its reply body.
void ReadAsReplies(uint8_t *doc) {
    uint32_t recid = 1, position = 1;
    int result = 0;
    uint8_t buffer[40], name[256] = {1, 'a'}, access[16], customer[24] = {}, item[20];
    const uint8_t text[2] = {1, 'x'};
    PackedDecimal a, b;
    DateRec date{1, 1, 2024};
    MemBlock var = 0;
    std::vector<RemoteListRow> rows;
    std::vector<std::string> items;
    RecFindRemote(DocReg, doc, 0, 0, &recid, &position);
    RecFindByIndexKeepRemote(DocReg, "Code", doc, 1, 1, &recid, &position);
    RecExistsRemote(DocReg, doc);
    RecReadByIdRemote(DocReg, 3, doc);
    RecReadAtRemote(DocReg, "", 1, doc, &recid);
    RecReadAtIndexCRemote(DocReg, 1, doc, "", &recid);
    RecRereadRemote(DocReg, 3, doc, 2);
    RecBrowseNextRemote(DocReg, doc, &recid, "");
    RecNewDefaultsOtherRemote(DocReg, doc);
    RegRecordCountRemote(DocReg);
    RecInsertCheckedRemote(DocReg, doc, &recid, &result);
    RecUpdateCheckedRemote(DocReg, doc, recid, &result);
    RecDeleteCheckedRemote(DocReg, doc, &recid, "");
    RecCheckRemote(DocReg, buffer, sizeof buffer, 1);
    RecordLockTakeRemote(DocReg, 3, doc);
    RegisterLockTakeRemote(145);
    SettingsBlockReadRemote(145, buffer, sizeof buffer);
    SettingsBlockFetchRemote(&var, 163);
    MemFree(&var);
    SettingsBlockStoreRemote(145, buffer, sizeof buffer);
    PrintFormRemote(DocReg, 1, doc);
    ConvertDocumentRemote(DocReg, 1, doc, &recid);
    LoginRemote(AccessReg, name, text, access);
    ListFillRowsRemote(DocReg, 1, 40, 117, "", 3, &rows);
    ChoiceListStartRangeRemote(4, text, &items);
    ItemPriceQuery q{text, {}, text, {}, text, text, text, text, 1, {}, {}};
    ItemPriceAnswer answer;
    ItemPriceRemote(&q, item, &answer);
    ItemCostRemote(text, text, &a, &b);
    CustomerBalanceCreditRemote(customer, &a, &b);
    CurrencyRateRemote(text, &date, &a);
    RowSumRemote(DocReg, doc, 0, &a);
    MemBlock h = 0;
    uint8_t *delivery = RecBufferNew(CalcDeliveryRegister, &h);
    if (delivery) StockAvailableRemote(delivery);
    RecBufferFree(CalcDeliveryRegister, &h);
}

}  // namespace

// Valid replies and frames for the replay's mutations.
std::vector<std::vector<uint8_t>> MessageFuzzSeeds() {
    Setup();
    std::vector<std::vector<uint8_t>> seeds;
    MemBlock h = 0;
    uint8_t *doc = RecBufferNew(DocReg, &h);
    uint8_t row[5] = {1, 2, 3, 4, 5};
    MatrixRowPut(DocReg, 0, doc, 0, row);
    MatrixRowPut(DocReg, 0, doc, 1, row);
    auto keep = [&](MsgBuffer &m) { seeds.emplace_back(MsgData(&m), MsgData(&m) + MsgLength(&m)); };
    MsgBuffer find;   // found, position, id, record with rows
    MsgPutByte(&find, 1);
    MsgPutLong(&find, 4);
    MsgPutLong(&find, 9);
    MsgPutRecord(&find, DocReg, doc);
    keep(find);
    MsgBuffer list;   // three list rows of three texts
    const uint8_t t[4] = {3, 'a', 'b', 'c'};
    for (int i = 0; i < 3; i++) {
        MsgPutByte(&list, 1);
        MsgPutLong(&list, (uint32_t)i);
        for (int c = 0; c < 3; c++) MsgPutPString(&list, t);
    }
    keep(list);
    MsgBuffer frame;   // a reply frame with a message and record counts
    const uint32_t counts[4] = {1, 2, 3, 4};
    MsgPutWord(&frame, 0);
    MsgPutWord(&frame, 1547);
    MsgPutPString(&frame, t);
    MsgPutRecordCounts(&frame, counts, 3);
    MsgPutSized(&frame, t, 4);
    MsgPrependWord(&frame, FrameCodeReply);
    MsgPrependLong(&frame, MsgLength(&frame) + 4);
    keep(frame);
    MsgBuffer script;   // a script of every get kind, then mixed items
    MsgPutByte(&script, 15);
    for (uint8_t k = 0; k < 15; k++) MsgPutBytesRaw(&script, &k, 1);
    MsgPutRecord(&script, DocReg, doc);
    MsgPutHandle(&script, h);
    MsgPutPString(&script, t);
    keep(script);
    RecBufferFree(DocReg, &h);
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Setup();
    uint32_t blocks = MemBlockCount();
    MemBlock h = 0;
    uint8_t *doc = RecBufferNew(DocReg, &h);
    ReadByScript(data, size, doc);
    ReadAsFrame(data, size);
    ReplyBytes = data;
    ReplySize = size;
    ReadAsReplies(doc);
    RecBufferFree(DocReg, &h);
    Check(MemBlockCount() == blocks);
    return 0;
}
