// integrity_bound_test.cpp - the whole-file check bounds the header's
// logical end by the file's size: a damaged header is reported at once,
// not followed into a map of sectors the file does not hold.
#include <gtest/gtest.h>

#include <chrono>

#include "database/engine/engine_state.h"
#include "tests/database/engine/engine_fixture.h"

using namespace enginetest;

namespace {

class IntegrityBound : public EngineFixture {};

TEST_F(IntegrityBound, ALogicalEndBeyondTheFileIsReportedAtOnce)
{
    Insert(Main{1, "ONE"});
    ExpectIntact();
    const uint32_t kept = HdrGetLong(dbformat::HdrLogicalEnd);
    const uint64_t size = DbFileSize();
    ASSERT_GE(size, kept);
    // Far past the file, still within the range the header may claim.
    uint32_t claimed = uint32_t((size / dbformat::SectorSize + 4096) * dbformat::SectorSize);
    ASSERT_LE(claimed, dbformat::MaxLogicalEnd);
    HdrSetLong(dbformat::HdrLogicalEnd, claimed);
    std::string report;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(D4IntegrityCheck(&report));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_NE(report.find("beyond the file"), std::string::npos) << report;
    // One sector past the end is as wrong as many.
    report.clear();
    HdrSetLong(dbformat::HdrLogicalEnd, uint32_t((size + dbformat::SectorSize - 1) / dbformat::SectorSize + 1) *
                                            dbformat::SectorSize);
    EXPECT_FALSE(D4IntegrityCheck(&report));
    EXPECT_NE(report.find("beyond the file"), std::string::npos) << report;
    HdrSetLong(dbformat::HdrLogicalEnd, kept);
    ExpectIntact();
}

}  // namespace
