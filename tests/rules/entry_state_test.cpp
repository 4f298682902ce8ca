// entry_state_test.cpp - the entry state a company opens with: the last
// voucher's dates when it is there, nothing when it is gone, and the
// number-series block kept across a close.
#include "../database/access/company_fixture.h"

#include "core/field_access.h"
#include "rules/entry_state.h"
#include "shell/company.h"

namespace {

using EntryState = CompanyFixture;

TEST_F(EntryState, LastVoucherGivesTheDatesAndAMissingOneNothing)
{
    PString path;
    PathOf("entry.VDB", path);
    ASSERT_TRUE(OpenCompany(path, 0));
    std::vector<uint8_t> voucher(TRVc::Size);
    PutU32(voucher.data(), TRVc::SerNr, 7);
    PutDate(voucher.data(), TRVc::RegDate, DateRec{3, 4, 2025});
    PutDate(voucher.data(), TRVc::TransDate, DateRec{1, 4, 2025});
    uint32_t id = 0;
    DbHoldBegin();
    ASSERT_TRUE(RecInsertLocal(TRVc::Number, voucher.data(), &id));
    ASSERT_TRUE(DbHoldEnd());
    RecClear(TRVc::Number, voucher.data());
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

}  // namespace
