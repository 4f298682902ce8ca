// fiscal_year_text_test.cpp - fiscal years inserted by their dates: their
// place by start date, codes that stay unique, in 2..200 and unchanged
// for stored years, equal dates handing back the stored year, a full
// table refused, and the "yearcode1" section read twice or damaged.
#include "tests/exchange/exchange_fixture.h"

#include <vector>

#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "rules/rules_types.h"

namespace {

namespace Y = FiscalYearEntry;

struct Year {
    uint16_t code;
    std::string name;
    int startYear;
};

class FiscalYearText : public ExchangeFixture {
protected:
    // Inserts the calendar year y named by its two last digits; the result.
    static bool Insert(int y, std::string *name = nullptr)
    {
        DateRec s{1, 1, uint16_t(y)}, e{31, 12, uint16_t(y)};
        uint8_t code[256];
        PStringFromC(code, std::to_string(y % 100).c_str());
        bool ok = InsertYear(code, &s, &e);
        if (name) *name = PStringToStd(code);
        return ok;
    }
    // The rows of block 149 as they stand in memory.
    static std::vector<Year> Years()
    {
        std::vector<Year> out;
        SettingsRows rows(FiscalYearBlk::Number, &FiscalYearRows, Y::Size);
        for (int32_t i = 0; i < rows.count; i++) {
            const uint8_t *r = rows.data + size_t(i) * Y::Size;
            out.push_back({GetU16(r, Y::OrderCode), std::string((const char *)r + Y::YearCode + 1, r[Y::YearCode]),
                           GetDate(r, Y::StartDate).year});
        }
        return out;
    }
    // Codes unique, in 2..200, rows in date order.
    static void ExpectOrderly(const std::vector<Year> &ys)
    {
        for (size_t i = 0; i < ys.size(); i++) {
            EXPECT_GE(ys[i].code, YearCodeMin);
            EXPECT_LE(ys[i].code, YearCodeMax);
            if (i == 0) continue;
            EXPECT_LT(ys[i - 1].startYear, ys[i].startYear);
            for (size_t j = 0; j < i; j++) EXPECT_NE(ys[i].code, ys[j].code);
        }
    }
};

// Where a year goes and which code it gets, with the stored years' codes
// never changed.
TEST_F(FiscalYearText, PlacesAndCodes)
{
    ASSERT_TRUE(Insert(2020));
    EXPECT_EQ(Years()[0].code, 50);             // the first year
    ASSERT_TRUE(Insert(2021));
    EXPECT_EQ(Years()[1].code, 60);             // after the last: +10
    ASSERT_TRUE(Insert(2010));
    EXPECT_EQ(Years()[0].code, 40);             // in front: -10
    EXPECT_EQ(Years()[0].name, "10");

    // Two years between the same neighbours get two codes.
    ASSERT_TRUE(Insert(2015));
    ASSERT_TRUE(Insert(2016));
    std::vector<Year> ys = Years();
    ASSERT_EQ(ys.size(), 5u);
    EXPECT_EQ(ys[0].code, 40);
    EXPECT_EQ(ys[3].code, 50);
    EXPECT_EQ(ys[4].code, 60);
    ExpectOrderly(ys);

    // Ten more in front stay in 2..200, in date order, the others kept.
    for (int y = 2009; y >= 2000; y--) ASSERT_TRUE(Insert(y)) << y;
    ys = Years();
    ASSERT_EQ(ys.size(), 15u);
    ExpectOrderly(ys);
    EXPECT_EQ(ys[10].code, 40);
    EXPECT_EQ(ys[14].code, 60);

    // Equal dates hand back the stored year's name and add nothing.
    DateRec s{1, 1, 2015}, e{31, 12, 2015};
    uint8_t code[256];
    PStringFromC(code, "XX");
    ASSERT_TRUE(InsertYear(code, &s, &e));
    EXPECT_EQ(PStringToStd(code), "15");
    EXPECT_EQ(Years().size(), 15u);

    // Years after the last take the free codes left until every code of
    // 2..200 is used; the next is refused, told.
    int y = 2030;
    while (Insert(y)) y++;
    ys = Years();
    EXPECT_EQ(ys.size(), size_t(YearCodeMax - YearCodeMin + 1));
    ExpectOrderly(ys);
    EXPECT_EQ(Shown(Texts::NoFreeYearCode), 1);

    // A section whose year is refused passes over its other lines.
    SourceOf("yearcode1\r\n1700\t01.01.1700\t31.12.1700\r\n1701\t01.01.1701\t31.12.1701\r\n\r\nnext\r\n");
    ImportReadTag();
    YearCodeImport();
    EXPECT_EQ(PStringToStd(ImportCurrentTag()), "next");
    EXPECT_EQ(Shown(Texts::NoFreeYearCode), 2);
}

// "yearcode1" stores its years once at the end; read twice it adds
// nothing; a damaged date stops it with the years before it stored.
TEST_F(FiscalYearText, SectionReadTwice)
{
    auto line = [](int y) {
        DateRec s{1, 1, uint16_t(y)}, e{31, 12, uint16_t(y)};
        uint8_t a[256], b[256];
        FieldToText(reinterpret_cast<uint8_t *>(&s), FtDate, a);
        FieldToText(reinterpret_cast<uint8_t *>(&e), FtDate, b);
        return std::to_string(y) + "\t" + PStringToStd(a) + "\t" + PStringToStd(b) + "\r\n";
    };
    const std::string section = "yearcode1\r\n" + line(2024) + line(2023) + "\r\nnext\r\n";
    for (int pass = 0; pass < 2; pass++) {
        SourceOf(section);
        ImportReadTag();
        YearCodeImport();
        EXPECT_EQ(PStringToStd(ImportCurrentTag()), "next");
        EXPECT_EQ(SettingsBlockSize(FiscalYearBlk::Number), 2 * Y::Size) << "pass " << pass;
        std::vector<Year> ys = Years();
        ASSERT_EQ(ys.size(), 2u);
        EXPECT_EQ(ys[0].name, "2023");
        EXPECT_EQ(ys[0].code, 40);
        EXPECT_EQ(ys[1].code, 50);
    }

    SourceOf("yearcode1\r\n" + line(2025) + "2026\t1x.1.2026\t\r\n" + line(2027) + "\r\n");
    ImportReadTag();
    YearCodeImport();
    EXPECT_EQ(ImportAbortFlag, 1);
    EXPECT_EQ(ImportResult.damageLine, 3u);
    EXPECT_EQ(SettingsBlockSize(FiscalYearBlk::Number), 3 * Y::Size);
}

}  // namespace
