// Report 65 over the sales history: both layouts as goldens, the summary
// balanced, the unposted invoice left out, the serial range kept, an empty
// date an open end, and no voucher stored by the run.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/company_variant.h"
#include "database/access/record_access.h"
#include "reports/sales/sales_reports.h"
#include "rules/rules_types.h"
#include "tests/reports/report_fixture.h"

namespace {

class PostingJournalTest : public ReportFixture {
protected:
    void SetUp() override {
        ReportFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreSalesHistory();
    }
    // The TAB-separated fields of the file's last non-empty line.
    static std::vector<std::string> LastLine(const std::string &out) {
        std::vector<std::string> lines;
        std::istringstream in(out);
        for (std::string l; std::getline(in, l, '\n');) {
            if (!l.empty() && l.back() == '\r') l.pop_back();
            if (!l.empty()) lines.push_back(l);
        }
        std::vector<std::string> fields;
        if (lines.empty()) return fields;
        std::istringstream f(lines.back());
        for (std::string x; std::getline(f, x, '\t');)
            if (!x.empty()) fields.push_back(x);
        return fields;
    }
};

TEST_F(PostingJournalTest, LayoutsRangesAndNothingStored) {
    // An empty date is an open end: the whole history lies in the first
    // quarter, so the open periods list what the quarter does.
    struct Case { const char *golden; uint16_t layout; const char *range; bool hasCreditNote; DateRec from, to; } cases[] = {
        {"report65_layout0", 0, "", true, {1, 1, 2024}, {31, 3, 2024}},
        {"report65_layout1", 1, "", true, {1, 1, 2024}, {31, 3, 2024}},
        {"report65_range", 0, "1:3", false, {1, 1, 2024}, {31, 3, 2024}},
        {"report65_layout0", 0, "", true, {1, 1, 2024}, {}},
        {"report65_layout0", 0, "", true, {}, {}},
    };
    const uint32_t vouchers = RegRecordCount(Voucher::Number);
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.from.year) + "-" + std::to_string(c.to.year));
        ResetParams();
        SetPeriod(c.from, c.to);
        SetWord(ReportParamsVc::ReportNumber, 65);
        SetWord(ReportParamsVc::ReportLayout, c.layout);
        SetText(ReportParamsVc::SelText1, c.range);
        const std::string out = RunText(InvoiceByDateReport);
        ASSERT_FALSE(out.empty()) << c.golden;
        ExpectGolden(c.golden, out);
        const std::vector<std::string> sums = LastLine(out);
        ASSERT_EQ(sums.size(), 3u) << c.golden;
        EXPECT_EQ(sums[0], "Total") << c.golden << ": the sums' line says what it holds";
        EXPECT_EQ(sums[1], sums[2]) << c.golden << ": the summary balances";
        EXPECT_EQ(out.find("\t6\t") == std::string::npos && out.rfind("6\t", 0) != 0, true) << "unposted 6 listed";
        EXPECT_EQ(out.find("\n4\t") != std::string::npos, c.hasCreditNote) << c.golden;
        EXPECT_EQ(RegRecordCount(Voucher::Number), vouchers) << c.golden;
    }
}

}  // namespace

namespace {

// A company of variant 25: each invoice line ends with the invoice's
// reference and, in layout 0 only, the address lines that are not empty
// follow on lines of their own; another variant shows neither.
TEST_F(PostingJournalTest, Variant25ShowsReferenceAndAddresses) {
    RuleRecord inv(IVVc::Number);
    PutI32(inv.record, IVVc::SerNr, 1);
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFind(IVVc::Number, inv.record, 1, 1, &recid, &position));
    PutText(inv.record, IVVc::Text290, 20, "REF-1");
    PutText(inv.record, IVVc::Addr1, 60, "Street 1");
    PutText(inv.record, IVVc::Addr3, 60, "Town 3");
    ASSERT_TRUE(RecStore(IVVc::Number, inv.record, 1, &recid));
    std::vector<uint8_t> company(CompanyBlk::Size);
    const struct { uint16_t variant, layout; bool reference, addresses; } cases[] = {
        {25, 0, true, true}, {25, 1, true, false}, {13, 0, false, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.variant) + "/" + std::to_string(c.layout));
        PutU16(company.data(), CompanyBlk::CompanyVariant, c.variant);
        CompanyVariantBind(company.data());
        ResetParams();
        SetPeriod({1, 1, 2024}, {31, 1, 2024});
        SetWord(ReportParamsVc::ReportLayout, c.layout);
        const std::string out = RunText(InvoiceByDateReport);
        CompanyVariantBind(nullptr);
        EXPECT_EQ(out.find("REF-1") != std::string::npos, c.reference);
        EXPECT_EQ(out.find("\r\nStreet 1\t") != std::string::npos, c.addresses) << out;
        EXPECT_EQ(out.find("\r\nTown 3\t") != std::string::npos, c.addresses);
    }
}

}  // namespace
