// Tests of printing a form where the run mode says: a client sends the
// record to the server as request 26 and takes its answer; a lost
// connection or a refused print counts as not printed.
#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "core/interface_load.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "dict_offsets.h"
#include "output/forms/print_form_call.h"
#include "tests/core/built_interface.h"

namespace {

std::vector<uint16_t> Codes;
std::deque<std::vector<uint8_t>> Replies;

bool FakeSend(uint16_t code, MsgBuffer *, MsgBuffer *reply) {
    Codes.push_back(code);
    if (Replies.empty()) return false;
    MsgLoad(reply, Replies.front().data(), (uint32_t)Replies.front().size());
    Replies.pop_front();
    return true;
}

class PrintFormCallTest : public ::testing::Test {
protected:
    uint16_t mode = 0;
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
        mode = RunMode;
        RunMode = RunModeClient;
        TransportInstall(FakeSend, FakeSend);
        Codes.clear();
        Replies.clear();
    }
    void TearDown() override {
        TransportInstall(nullptr, nullptr);
        RunMode = mode;
        InterfaceUnload();
    }
};

TEST_F(PrintFormCallTest, AClientHasTheServerPrintAndTakesItsAnswer) {
    MemBlock h = 0;
    uint8_t *sheet = RecBufferNew(TimeSheetVc::Number, &h);
    ASSERT_NE(sheet, nullptr);
    Replies.push_back({1, 0});
    EXPECT_EQ(PrintFormCall(TimeSheetVc::Number, -29, sheet), 1);
    ASSERT_EQ(Codes.size(), 1u);
    EXPECT_EQ(Codes[0], ReqPrintForm);
    Replies.push_back({0, 0});
    EXPECT_EQ(PrintFormCall(TimeSheetVc::Number, -29, sheet), 0) << "the server did not print";
    EXPECT_EQ(PrintFormCall(TimeSheetVc::Number, -29, sheet), 0) << "no connection: not printed";
    EXPECT_EQ(Codes.size(), 3u);
    RecBufferFree(TimeSheetVc::Number, &h);
}

}  // namespace
