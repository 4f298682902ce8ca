// Tests of text fetch, messages and the error position.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/message_sink.h"
#include "core/pstring.h"
#include "core/ui_text.h"

namespace {

std::map<int, std::string> Texts;
std::vector<std::string> Shown;

const uint8_t *FakeLookup(int n) {
    static PString buf;
    auto it = Texts.find(n);
    if (it == Texts.end()) return nullptr;
    PStringFromView(buf, it->second);
    return buf;
}

void Record(const char *text) { Shown.push_back(text); }

struct UiTextTest : ::testing::Test {
    MessageSink old;
    void SetUp() override {
        Texts = {{10, "Customer not found: "}, {20, "Saved"}};
        Shown.clear();
        UiTextSetLookup(FakeLookup);
        old = MessageSinkSet(Record);
    }
    void TearDown() override {
        UiTextSetLookup(nullptr);
        MessageSinkSet(old);
        ServerRequestEnd();
    }
};


}  // namespace

TEST_F(UiTextTest, FetchGivesEmptyForMissingNumbers) {
    PString t;
    GetUiText(t, 20);
    EXPECT_EQ(PStringToStd(t), "Saved");
    GetUiText(t, 0);
    EXPECT_EQ(t[0], 0);
    GetUiText(t, 11);
    EXPECT_EQ(t[0], 0);
    char c[256];
    GetUiTextC(c, 10);
    EXPECT_STREQ(c, "Customer not found: ");
    UiTextSetLookup(nullptr);
    GetUiText2(t, 20);
    EXPECT_EQ(t[0], 0) << "no interface file: every text is empty";
}

TEST_F(UiTextTest, MessagesShowTextExtraOrInternalError) {
    PString extra;
    PStringFromC(extra, "C100");
    ShowMessage(10, extra);
    ShowMessage(0, extra);
    ShowMessage(99, extra);
    ShowTextMessage(20);
    ShowMessage(20, nullptr);
    EXPECT_EQ(FieldError(0, nullptr, 42), -1);   // text 0 refuses and shows nothing
    ASSERT_EQ(Shown.size(), 5u);
    EXPECT_EQ(Shown[0], "Customer not found: C100");
    EXPECT_EQ(Shown[1], "C100");
    EXPECT_EQ(Shown[2], "Internal error 99 C100");
    EXPECT_EQ(Shown[3], "Saved");
    EXPECT_EQ(Shown[4], "Saved");
}

TEST_F(UiTextTest, ServerKeepsTheLastMessageForTheReply) {
    ServerRequestBegin();
    EXPECT_EQ(ServerRequestState.pendingText, NoPendingText);
    PString extra;
    PStringFromC(extra, "first");
    ShowMessage(10, extra);
    PStringFromC(extra, "second");
    FieldError(20, extra, 8);
    EXPECT_TRUE(Shown.empty()) << "nothing is shown on the server";
    EXPECT_EQ(ServerRequestState.pendingText, 20);
    EXPECT_EQ(PStringToStd(ServerRequestState.pendingExtra), "second");
    EXPECT_EQ(FieldErrorPos.field, 8);
    // A message kept stays the reply's until the next request.
    ServerMessageKeep();
    ShowMessage(30, extra);
    EXPECT_EQ(ServerRequestState.pendingText, 20);
    ServerRequestBegin();
    ShowMessage(30, extra);
    EXPECT_EQ(ServerRequestState.pendingText, 30);
    ServerRequestEnd();
    ShowTextMessage(20);
    EXPECT_EQ(Shown.size(), 1u);
}

static int AnswerNo(const char *) { return 4; }
static int AnswerClosed(const char *) { return 0; }

TEST_F(UiTextTest, AskYesNoCancelMapsAnswers) {
    PString q;
    PStringFromC(q, "Store changes?");
    AskSink before = AskSinkSet(AnswerNo);
    EXPECT_EQ(AskYesNoCancel(q), 4);
    AskSinkSet(AnswerClosed);
    EXPECT_EQ(AskYesNoCancel(q), 2) << "a closed box answers Cancel";
    AskSinkSet(before);
}
