// list_client_test.cpp - a list window of a client, whose rows come from
// the server (request 23) through a fake transport: what the request asks
// for, rows drawn from the reply's texts exactly as local rows are, and
// replies that lie or never come. And a choice list's pick (event 21), by
// a double click or by OK on the row it chose when it opened: the chosen
// record's code typed into the field of the window that opened the list.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "core/msg_buffer.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

struct Request {
    uint16_t code;
    std::vector<uint8_t> body;
};
std::vector<Request> Requests;
std::deque<MsgBuffer *> Replies;   // request 23's replies; none left: the send fails
uint32_t ServerCount = 0;          // what request 41 answers

// The fake server: request 41 gives ServerCount, request 23 the next
// prepared reply; every request is recorded.
bool FakeSend(uint16_t code, MsgBuffer *request, MsgBuffer *reply)
{
    const uint8_t *p = MsgData(request);
    Requests.push_back({code, p ? std::vector<uint8_t>(p, p + MsgLength(request)) : std::vector<uint8_t>{}});
    if (code == ReqRecordCount) {
        MsgBuffer m;
        MsgPutLong(&m, ServerCount);
        return MsgLoad(reply, MsgData(&m), MsgLength(&m));
    }
    if (code != ReqListRows || Replies.empty()) return false;
    MsgBuffer *m = Replies.front();
    Replies.pop_front();
    bool ok = MsgLoad(reply, MsgData(m), MsgLength(m));
    delete m;
    return ok;
}

// One row of a request-23 reply: found with its id and texts, or not found.
struct Row {
    uint32_t id;
    std::vector<std::string> texts;
};

class ListClient : public RecordFixture {
protected:
    int list = 0;

    void TearDown() override
    {
        RunMode = 1;
        RemoteOps = RemoteOpsTable{};
        for (MsgBuffer *m : Replies) delete m;
        Replies.clear();
        RecordFixture::TearDown();
    }
    // Stores a record of register reg with a code and a name in one hold.
    static uint32_t Store(int reg, uint32_t size, uint32_t codeAt, uint32_t nameAt, const char *code, const char *name)
    {
        std::vector<uint8_t> record(size);
        PutText(record.data(), codeAt, code);
        PutText(record.data(), nameAt, name);
        return InsertHeld(reg, record.data());
    }
    // Queues a reply: rows with an id 0 are "not found"; `cut` drops that
    // many bytes from its end.
    static void Reply(const std::vector<Row> &rows, uint32_t cut = 0)
    {
        MsgBuffer built;
        for (const Row &r : rows) {
            MsgPutByte(&built, r.id ? 1 : 0);
            if (!r.id) continue;
            MsgPutLong(&built, r.id);
            for (const std::string &t : r.texts) MsgPutCString(&built, t.c_str());
        }
        auto *m = new MsgBuffer;
        ASSERT_TRUE(MsgLoad(m, MsgData(&built), MsgLength(&built) - cut));
        Replies.push_back(m);
    }
    // Becomes a client of the fake server.
    void BeClient(uint32_t count)
    {
        ServerCount = count;
        RemoteOpsInstall();
        TransportInstall(FakeSend, FakeSend);
        RunMode = RunModeClient;
        Requests.clear();
        MessagesShown.clear();
    }
    MacRect PaneRect() { return ListPaneRect(list); }
    std::vector<uint32_t> Band(int row) { return ListBand(list, row); }
    std::vector<uint32_t> WhiteBand() { return std::vector<uint32_t>(Band(0).size(), 0xFFFFFFu); }
    std::vector<int32_t> RowIds() { return ListRowIds(list); }
    // The request-23 body as (register, first, count, type, index).
    static std::string ListRequest(const Request &r)
    {
        MsgBuffer m;
        EXPECT_TRUE(MsgLoad(&m, r.body.data(), uint32_t(r.body.size())));
        uint16_t reg = 0, count = 0, type = 0;
        uint32_t first = 0;
        char index[256] = {};
        MsgGetWord(&m, &reg);
        MsgGetLong(&m, &first);
        MsgGetWord(&m, &count);
        MsgGetWord(&m, &type);
        MsgGetCString(&m, index);
        EXPECT_FALSE(MsgFailed(&m));
        return std::to_string(reg) + " " + std::to_string(first) + " " + std::to_string(count) + " " +
               std::to_string(type) + " " + index;
    }
};

TEST_F(ListClient, RowsComeFromRequest23AndDrawLikeLocalRowsALyingReplyDrawsNone)
{
    Store(CUVc::Number, CUVc::Size, CUVc::Code, CUVc::Name, "C1", "First");
    Store(CUVc::Number, CUVc::Size, CUVc::Code, CUVc::Name, "C2", "Second");
    list = OpenOrActivateWindow(WinTypes::CustomerList, 0, 0, false, 0);
    ASSERT_GT(list, 0);
    ListPrepare(list);
    Pump();
    ListUnmarkAll(list, 0);   // the row chosen at the open is drawn as any other
    std::vector<uint32_t> first = Band(0), second = Band(1);
    int rows = ListRowCount(list);
    ASSERT_GE(rows, 8);

    BeClient(2);
    std::vector<Row> reply(size_t(rows), Row{0, {}});
    reply[0] = {77, {"C1", "First"}};
    reply[2] = {78, {"C2", "Second"}};
    Reply(reply);
    ListRefresh(list);
    ASSERT_EQ(Requests.size(), 2u);
    EXPECT_EQ(Requests[1].code, ReqListRows);
    EXPECT_EQ(ListRequest(Requests[1]), "2 1 " + std::to_string(rows) + " 594 Code");
    std::vector<int32_t> want(size_t(rows), -1);
    want[0] = 77, want[2] = 78;
    EXPECT_EQ(RowIds(), want);
    EXPECT_EQ(Band(0), first);    // the same pixels as the local row
    EXPECT_EQ(Band(2), second);
    EXPECT_EQ(Band(1), WhiteBand());

    // A scroll by one row asks the server for the whole pane again.
    BeClient(50);
    Reply(reply);
    ListRefresh(list);
    reply[0] = {78, {"C2", "Second"}};
    reply[2] = {0, {}};
    Reply(reply);
    Requests.clear();
    ListScrollTo(list, 0, 2);
    ASSERT_EQ(Requests.size(), 2u);
    EXPECT_EQ(ListRequest(Requests[1]), "2 2 " + std::to_string(rows) + " 594 Code");
    EXPECT_EQ(ListRowId(list, 0), 78);
    EXPECT_EQ(Band(0), second);
    EXPECT_TRUE(MessagesShown.empty());

    // Replies that lie or never come leave every row white and without an id.
    std::vector<int32_t> none(size_t(rows), -1);
    Reply({{5, {"C1", "First"}}, {6, {"C2", "Second"}}});   // fewer rows than asked
    ListRefresh(list);
    EXPECT_EQ(RowIds(), none);
    EXPECT_EQ(Band(0), WhiteBand());
    Reply({reply[0]}, 4);   // a found row whose second text is cut off
    ListRefresh(list);
    EXPECT_EQ(RowIds(), none);
    ListRefresh(list);      // no answer at all
    EXPECT_EQ(Requests.back().code, ReqListRows);
    EXPECT_EQ(RowIds(), none);
    EXPECT_EQ(Band(0), WhiteBand());
    EXPECT_TRUE(RemoteConnectionLost);
}

TEST_F(ListClient, AChoiceListPicksByDoubleClickOrOkAndTypesTheCodeIntoItsOpenersField)
{
    auto group = [](const char *code) {
        return Store(AccessVc::Number, AccessVc::Size, AccessVc::Code, AccessVc::Name, code, "Group");
    };
    group("ADM");
    uint32_t acc = group("ACC");
    int customer = OpenOrActivateWindow(WinTypes::Customers, 0, 0, false, 0);
    ASSERT_GT(customer, 0);
    ASSERT_TRUE(WinNewRecord(customer));
    ASSERT_TRUE(WinGotoField(customer, 1, true));
    auto openList = [&] {
        list = OpenOrActivateWindow(WinTypes::AccessGroupChoice, 0, 0, false, customer);
        ASSERT_GT(list, 0);
        Pump();
    };
    auto typed = [&] {
        WinCommitField(customer);
        return TextAt(WinRecordBuffer(customer), CUVc::Code);
    };
    openList();
    ASSERT_EQ(ListSelAnchor(list), int32_t(acc));   // the first row in code order, chosen at the open

    // The chosen group was deleted meanwhile: nothing is typed, the list stays.
    ASSERT_TRUE(DeleteHeld(AccessVc::Number, acc, AccessVc::Size));
    WindowEvent(list, 21, nullptr, nullptr);
    EXPECT_TRUE(WinIsOpen(list));
    ListUnmarkAll(list, 0);   // nothing chosen: the same
    EXPECT_EQ(WindowEvent(list, 21, nullptr, nullptr), 0);
    EXPECT_TRUE(WinIsOpen(list));

    // A double click on a row picks it.
    ListRefresh(list);
    ClickAt(list, PaneRect().left + 20, PaneRect().top + 6, true);
    EXPECT_FALSE(WinIsOpen(list));
    EXPECT_EQ(typed(), "ADM");

    // OK on a list just opened picks the row it chose.
    group("AAA");
    ASSERT_TRUE(WinGotoField(customer, 1, true));
    openList();
    WindowOkAction(list);
    EXPECT_FALSE(WinIsOpen(list));
    EXPECT_EQ(typed(), "AAA");
}

}  // namespace
