// entry_state_test.cpp - the entry state a company opens with: the last
// voucher's dates when it is there, nothing when it is gone, and the
// number-series block kept across a close.
#include "tests/shell/shell_fixture.h"

#include "core/field_access.h"
#include "rules/entry_state.h"
#include "shell/company.h"
#include "tests/shell/record_fixture.h"

namespace {

using EntryState = ShellCompanyFixture;

TEST_F(EntryState, LastVoucherGivesTheDatesAndAMissingOneNothing)
{
    PString path;
    PathOf("entry.VDB", path);
    ASSERT_TRUE(OpenCompany(path, 0));
    // Number 7 in two fiscal years: the later year's voucher is the last.
    std::vector<uint8_t> voucher(TRVc::Size);
    uint32_t id = 0;
    DbHoldBegin();
    for (uint16_t year : {3, 2}) {
        PutU32(voucher.data(), TRVc::SerNr, 7);
        PutU16(voucher.data(), TRVc::YearCode, year);
        PutDate(voucher.data(), TRVc::RegDate, DateRec{3, 4, (uint16_t)(2022 + year)});
        PutDate(voucher.data(), TRVc::TransDate, DateRec{1, 4, (uint16_t)(2022 + year)});
        ASSERT_TRUE(RecInsertLocal(TRVc::Number, voucher.data(), &id));
        RecClear(TRVc::Number, voucher.data());
    }
    ASSERT_TRUE(DbHoldEnd());
    PutU32(SeriesStateBlock, SeriesDefaultsBlk::LastVoucherNr, 7);
    DbClose();   // saves block 132
    std::memset(SeriesStateBlock, 0, SeriesDefaultsBlk::Size);

    ASSERT_TRUE(DbOpen(path, 0));
    EXPECT_EQ(GetU32(SeriesStateBlock, SeriesDefaultsBlk::LastVoucherNr), 7u);
    DateRec d = DefaultTransDate;
    EXPECT_TRUE(d.day == 1 && d.month == 4 && d.year == 2025);
    d = GetDate(SeriesStateBlock, SeriesDefaultsBlk::LastVoucherDate);
    EXPECT_TRUE(d.day == 3 && d.month == 4 && d.year == 2025);

    PutU32(SeriesStateBlock, SeriesDefaultsBlk::LastVoucherNr, 8);   // no such voucher
    EXPECT_EQ(InitEntryState(), 1);
    EXPECT_EQ(DefaultTransDate.year, 0);
}

// A client keeps no entry state: opening reads no voucher and closing
// stores no block 132; the server has both.
TEST_F(EntryState, ClientModeReadsAndSavesNothing)
{
    PString path;
    PathOf("client.VDB", path);
    ASSERT_TRUE(OpenCompany(path, 0));
    PutU32(SeriesStateBlock, SeriesDefaultsBlk::LastVoucherNr, 5);
    SaveSeriesState();
    const uint16_t mode = RunMode;
    RunMode = RunModeClient;
    DefaultTransDate = DateRec{9, 9, 2020};
    PutU32(SeriesStateBlock, SeriesDefaultsBlk::LastVoucherNr, 6);
    SaveSeriesState();
    EXPECT_EQ(InitEntryState(), 1);
    RunMode = mode;
    EXPECT_EQ(DefaultTransDate.year, 0);
    std::vector<uint8_t> stored(SeriesDefaultsBlk::Size);
    ASSERT_TRUE(SettingsBlockReadLocal(SeriesDefaultsBlk::Number, stored.data(), SeriesDefaultsBlk::Size));
    EXPECT_EQ(GetU32(stored.data(), SeriesDefaultsBlk::LastVoucherNr), 5u);
}

// Closing a company tells on stderr when its number-series block could
// not be saved; a store that went through says nothing.
TEST_F(EntryState, ARefusedSeriesStoreIsToldAndADoneOneIsNot)
{
    PString path;
    PathOf("refused.VDB", path);
    ASSERT_TRUE(OpenCompany(path, 0));
    AccessServices.settingsBlockCheck = [](int block, uint8_t *, uint32_t) {
        return block == SeriesDefaultsBlk::Number ? 1 : 0;
    };
    testing::internal::CaptureStderr();
    SaveSeriesState();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("number-series defaults were not saved"),
              std::string::npos);
    AccessServices.settingsBlockCheck = nullptr;
    testing::internal::CaptureStderr();
    DbClose();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// A company of an interface without a number-series block (the record
// windows' test dictionary) has no series state: closing it stores
// nothing and reports no failure, on stderr or to the user.
class EntryStateWithoutSeriesBlock : public ShellCompanyFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        if (HasFatalFailure()) return;
        UseDict(TestRecordDict);
        if (HasFatalFailure()) return;
        UseCompanyFolder();
    }
};

TEST_F(EntryStateWithoutSeriesBlock, ClosingSaysNothingAboutIt)
{
    PString path;
    PathOf("noseries.VDB", path);
    ASSERT_TRUE(OpenCompany(path, 0));
    MessagesShown.clear();
    testing::internal::CaptureStderr();
    DbClose();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(MessagesShown.empty()) << MessagesShown.front();
}

}  // namespace
