// choice_list_test.cpp - choice lists filled into a window's list box:
// a settings table's line form and its damaged rows, the free numbers of
// the series valid on the choice date, contacts and serial numbers, the
// opener's date, the special lists, the lists of choice windows opened
// from a field, a server's reply, and a client's list taken from the
// server (request 33) over a fake transport.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "dict_offsets.h"
#include "output/output_job.h"
#include "platform/control.h"
#include "platform/font.h"
#include "rules/choice_list_fill.h"
#include "rules/rules_types.h"
#include "shell/choice_list_start.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

using Lines = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;
Bytes LastRequest, NextReply;   // the fake server's last request 33 and its answer

bool FakeSend(uint16_t code, MsgBuffer *request, MsgBuffer *reply)
{
    LastRequest.assign(MsgData(request), MsgData(request) + MsgLength(request));
    return code == ReqChoiceList && MsgLoad(reply, NextReply.data(), uint32_t(NextReply.size()));
}
Bytes BytesOf(const MsgBuffer &m) { return Bytes(MsgData(&m), MsgData(&m) + MsgLength(&m)); }

class ChoiceListWindows : public RecordFixture {
protected:
    int list = 0;   // the job queue's window: a plain window with a list box

    // The built dictionary holds the choice windows: payment modes (74) and
    // the opener's own list (97).

    void SetUp() override
    {
        RecordFixture::SetUp();
        if (!HasFatalFailure()) list = Open(9);
    }
    void TearDown() override
    {
        RunMode = 1;
        RemoteOps = RemoteOpsTable{};
        TransportInstall(nullptr, nullptr);
        RemoteOutputActive = false;
        RecordFixture::TearDown();
    }
    Lines Listed(int n = 0) const { return ListBoxRows(n ? n : list); }
    Lines Fill(int kind, int reg = 0) { return ChoiceListStartRange(list, kind, reg), Listed(); }
    // Stores `count` records of reg, record i set by fill.
    static void Store(int reg, int count, void (*fill)(uint8_t *record, int i))
    {
        for (int i = 0; i < count; i++) {
            RuleRecord r(reg);
            ASSERT_NE(r.record, nullptr);
            uint32_t id = 0;
            fill(r.record, i);
            EXPECT_TRUE(RecStore(reg, r.record, 0, &id));
        }
    }
};

TEST_F(ChoiceListWindows, TableRowsAndSeriesGiveTheirLinesAndDamagedRowsStayInside)
{
    constexpr uint32_t size = PaymentModeBlk::Rows::Size, name = PaymentModeBlk::Rows::Name;
    uint8_t modes[2 * size] = {};
    PutText(modes, 0, "A"), PutText(modes, name, "Cash"), PutText(modes + size, 0, "B");
    ASSERT_EQ(SettingsBlockStore(PaymentModeBlk::Number, modes, sizeof modes), RecDone);
    SettingsBlocksReload();
    // The payment modes' choice window, opened from a customer's field.
    WinChooseForField(OpenOrActivateWindow(590, 0, 0, false, 0), 74);
    int modes74 = WinFindByDef(74);
    ASSERT_GT(modes74, 0);
    EXPECT_EQ(Listed(modes74), (Lines{"A    Cash", "B    "}));
    EXPECT_EQ(WinFocus(), WinListBox(modes74));

    // A text length byte past its field, and a last row cut short.
    uint8_t *rows = MemLock(PaymentModeRows);
    rows[name] = 250;
    memset(rows + name + 1, 'x', size - name - 1);
    MemUnlock(PaymentModeRows);
    ASSERT_TRUE(MemRealloc(&PaymentModeRows, size * 2 + 40));
    EXPECT_EQ(Fill(10), (Lines{"A    " + std::string(60, 'x'), "B    "}));
    EXPECT_EQ(ListBoxCurSel(WinListBox(list)), 0);
    EXPECT_EQ(WinFocus(), WinListBox(list));

    // Series rows valid in 2023, 2024, 2024 (used up) and 2025.
    uint8_t series[4 * SeriesRow::Size] = {};
    const uint16_t years[] = {2023, 2024, 2024, 2025};
    for (int i = 0; i < 4; i++) {
        uint8_t *row = series + i * SeriesRow::Size;
        PutI32(row, SeriesRow::FirstNr, 100 * (i + 1));
        PutI32(row, SeriesRow::LastNr, i == 2 ? 300 : 100 * (i + 1) + 99);
        PutDate(row, SeriesRow::ValidFrom, DateRec{1, 1, years[i]});
        PutDate(row, SeriesRow::ValidTo, DateRec{31, 12, years[i]});
        PutText(row, SeriesRow::Text, i == 1 ? "Current" : "Other");
    }
    ASSERT_EQ(SettingsBlockStore(InvSeriesBlk::Number, series, sizeof series), RecDone);
    Store(IVVc::Number, 2, [](uint8_t *r, int i) { PutI32(r, IVVc::SerNr, 200 + 100 * i); });
    ChoiceListDate = DateRec{15, 6, 2024};
    EXPECT_EQ(Fill(0, IVVc::Number), (Lines{"201        Current"}));
    EXPECT_TRUE(Fill(0, CUVc::Number).empty());
}

TEST_F(ChoiceListWindows, ContactsAndSerialsListOnlyTheirKeysRecords)
{
    // The key's records stand last, so the walk meets the register's end.
    Store(ContactVc::Number, 3, [](uint8_t *r, int i) {
        PutText(r, ContactVc::CustCode, i ? "C1" : "C0");
        PutText(r, ContactVc::Name, i == 1 ? "Anna" : "Bo");
    });
    PStringFromC(ChoiceKey, "C1");
    EXPECT_EQ(Fill(15), (Lines{"Anna" + std::string(56, ' '), "Bo" + std::string(58, ' ')}));
    Store(SerialStockVc::Number, 3, [](uint8_t *r, int i) {
        PutText(r, SerialStockVc::ItemCode, i == 2 ? "I2" : "I1");
        PutText(r, SerialStockVc::SerialNr, i == 0 ? "S1" : "S2");
        PackedDecimal q;
        DecFromLong(&q, i == 1 ? 0 : 5);
        PutDec(r, SerialStockVc::Quantity, q);
    });
    PStringFromC(ChoiceItem, "I1");
    EXPECT_EQ(Fill(18), (Lines{"S1"}));
}

TEST_F(ChoiceListWindows, OpenersDateSpecialListsAndAClientsRequest33)
{
    // The own list opened with no opener: register 0, no date; from a
    // customer's field (a customer has no date): today's.
    ChoiceListDate = TodayDate;
    int own = OpenOrActivateWindow(97, 0, 0, true, 0);
    EXPECT_EQ(ChoiceListWindow, own);
    EXPECT_TRUE(DateIsEmpty(&ChoiceListDate));
    EXPECT_TRUE(Listed(own).empty());
    int customer = OpenOrActivateWindow(590, 0, 0, false, 0);
    WinChooseForField(customer, 97);
    EXPECT_NE(ChoiceListWindow, own);
    EXPECT_TRUE(!DateIsEmpty(&TodayDate) && DateCompare(&ChoiceListDate, &TodayDate) == 0);

    ChoiceListStartSpecial(list, ListNoFill);
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(WinFocus(), WinListBox(list));
    Lines families;
    FontListFamilies(&families);
    ChoiceListStartSpecial(list, ListFontNames);
    EXPECT_EQ(Listed(), families);
    EXPECT_EQ(ChoiceListPosition, families.size());

    // A server's line goes into the reply in the form a client reads, and
    // the client fills from request 33.
    MsgBuffer reply, asked;
    const uint8_t line[3] = {2, 'O', 'K'};
    RemoteOutputActive = true;
    ASSERT_TRUE(RepListAddLine(&reply, line));
    RemoteOutputActive = false;
    NextReply = BytesOf(reply);
    NextReply.insert(NextReply.end(), {0, 0});

    RemoteOpsInstall();
    TransportInstall(FakeSend, FakeSend);
    RunMode = RunModeClient;
    WinTable[list]->opener = uint16_t(customer);
    ChoiceListStart(list);
    EXPECT_EQ(Listed(), (Lines{"OK"}));
    MsgPutWord(&asked, 0), MsgPutWord(&asked, CUVc::Number), MsgPutDate(&asked, &TodayDate);
    EXPECT_EQ(LastRequest, BytesOf(asked));

    // A reply cut inside its entries adds nothing and is told.
    NextReply.resize(NextReply.size() - 3);
    EXPECT_TRUE(Fill(1).empty());
    EXPECT_TRUE(Said(TextOf(RecConnectionLost)));
    ChoiceListWindow = 0;
    EXPECT_FALSE(RepListAddLine(nullptr, line));
}

}  // namespace
