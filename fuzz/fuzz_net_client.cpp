// fuzz_net_client.cpp - fuzz target over the client's handling of what
// the server sends: the input is the byte stream of the connection,
// framed and handed to the client's message handler (pushes of output
// are run and acknowledged), then the last reply's header and a record
// are read as a stub would. Nothing may read outside a frame or leak.
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "fuzz/fuzz_net_common.h"
#include "net/net.h"

using fuzznet::Check;

namespace {

uint32_t AcksSent = 0;

bool TakeAck(int, const uint8_t *bytes, uint32_t length) {
    Check(length == AckFrameSize && bytes[0] == AckFrameSize);
    AcksSent++;
    return true;
}

void Setup() {
    static bool done = false;
    if (done) return;
    done = true;
    MessageSinkSet(fuzznet::Quiet);
    Check(fuzznet::LoadInterface() && AllocWorkBlocks() && DbLayerInit());
    RunMode = RunModeClient;
    NetClientStart();
    NetSendOverride = TakeAck;
    std::atexit([] { NetShutdown(); });
}

void Frame(std::vector<uint8_t> *out, uint16_t frameCode, MsgBuffer *body, bool counts) {
    MsgBuffer head;
    MsgPutWord(&head, frameCode);
    if (frameCode == FrameCodeReply) {
        MsgPutWord(&head, ReplyServed);
        MsgPutWord(&head, NoReplyText);
        MsgPutPString(&head, EmptyPString);
        if (counts) {
            uint32_t n[4] = {0, 1, 2, 3};
            MsgPutRecordCounts(&head, n, 3);
        } else {
            MsgPutWord(&head, NoRecordCounts);
        }
    }
    fuzznet::AppendFrame(out, &head, body);
}

}  // namespace

std::vector<std::vector<uint8_t>> NetClientFuzzSeeds() {
    Setup();
    std::vector<std::vector<uint8_t>> seeds;
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(CUVc::Number, &h);
    MsgBuffer reply, push;
    MsgPutWord(&reply, 1);
    MsgPutRecord(&reply, CUVc::Number, r);
    std::vector<uint8_t> a;
    Frame(&a, FrameCodeReply, &reply, true);
    seeds.push_back(a);
    MsgPutWord(&push, 5);   // line start, advance, header clear
    MsgPutWord(&push, 12);
    MsgPutWord(&push, 6);
    MsgPutWord(&push, 2);
    MsgPutWord(&push, 9);
    std::vector<uint8_t> b;
    Frame(&b, FrameCodePush, &push, false);
    Frame(&b, FrameCodeReply, &reply, false);
    seeds.push_back(b);
    RecBufferFree(CUVc::Number, &h);
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Setup();
    NetClient.session = 5;
    NetClient.replyArrived = false;
    int slot = NetSlotAttach(100001);
    Check(slot == 0);
    NetFeedBytes(slot, data, size);
    if (NetClient.replyArrived) {
        MsgBuffer got = std::move(NetClient.reply);
        ReplyHeader head;
        if (ReplyHeaderRead(&got, &head, true) && head.frameCode == FrameCodeReply) {
            MemBlock h = 0;
            uint8_t *r = RecBufferNew(CUVc::Number, &h);
            uint16_t found = 0;
            MsgGetWord(&got, &found);
            MsgGetRecord(&got, CUVc::Number, r);
            Check(got.readPos <= MsgEnd(&got));
            RecBufferFree(CUVc::Number, &h);
        }
    }
    NetConnClose(slot);
    return 0;
}
