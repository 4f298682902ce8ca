// page_layout_test.cpp - the layout check of printed pages on pages made
// by hand: a sound report page passes, with amounts whose thousands stand
// a blank apart; a name run up to an amount that two other lines keep apart,
// an amount the printer put below a name too long for its column, a
// column printed without a heading,
// a text drawn over another and two texts that touch are each caught and
// named; a page's fault is told with its page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/roads/road_page_layout.h"

namespace {

// A word at x from..to on the line whose top is y, 11 points high (a
// 10-point face as pdftotext boxes it).
PdfWord W(double y, double from, double to, const std::string &text, int page = 1)
{
    return PdfWord{page, from, y, to, y + 11.2, text};
}

// A trial balance's lines: account, name, and a debit amount right-aligned
// at 330; "1 250,00" is one text whose thousands stand a blank apart.
std::vector<PdfWord> SoundPage(int page = 1)
{
    return {W(100, 50, 72, "1910", page),  W(100, 80, 101, "Cash", page),   W(100, 295, 300.5, "1", page),
            W(100, 303.3, 330, "250,00", page), W(115, 50, 72, "3010", page), W(115, 80, 106, "Sales", page),
            W(115, 303.3, 330, "500,00", page), W(130, 50, 72, "Total", page), W(130, 280, 300.5, "1", page),
            W(130, 303.3, 330, "750,00", page)};
}

bool Told(const std::vector<std::string> &faults, const std::string &part)
{
    for (const std::string &f : faults)
        if (f.find(part) != std::string::npos) return true;
    return false;
}

TEST(PageLayout, ASoundPagePassesAndEachFaultIsCaughtAndNamed)
{
    EXPECT_TRUE(PageLayoutFaults(SoundPage()).empty()) << ::testing::PrintToString(PageLayoutFaults(SoundPage()));

    // A long name one blank before the amount: the other lines keep the
    // name column and the amount column apart, this one reads as one text.
    std::vector<PdfWord> page = SoundPage();
    for (PdfWord w : {W(145, 50, 72, "2441"), W(145, 80, 110, "Goods"), W(145, 113, 155, "received,"),
                      W(145, 158, 174, "not"), W(145, 177, 300, "invoiced"), W(145, 303, 330, "0,00")})
        page.push_back(w);
    std::vector<std::string> faults = PageLayoutFaults(page);
    ASSERT_EQ(faults.size(), 1u) << ::testing::PrintToString(faults);
    EXPECT_TRUE(Told(faults, "page 1, line \"2441 Goods received, not invoiced 0,00\""));
    EXPECT_TRUE(Told(faults, "\"Goods received, not invoiced\" runs into the next column's \"0,00\""));

    // One line that keeps the columns apart may meet the long name by
    // chance: two must.
    page = {W(100, 50, 72, "1910"), W(100, 80, 101, "Cash"), W(100, 303.3, 330, "250,00")};
    for (PdfWord w : {W(145, 50, 72, "2441"), W(145, 80, 300, "Received"), W(145, 303, 330, "0,00")})
        page.push_back(w);
    EXPECT_TRUE(PageLayoutFaults(page).empty()) << ::testing::PrintToString(PageLayoutFaults(page));

    // A name so long that the printer put its amount on the next line:
    // caught; a description wrapped onto a second line of its column is not.
    page = SoundPage();
    for (PdfWord w : {W(145, 50, 72, "2441"), W(145, 80, 200, "Goods received,"), W(145, 203, 320, "not invoiced yet"),
                      W(160, 303.3, 330, "400,00")})
        page.push_back(w);
    faults = PageLayoutFaults(page);
    ASSERT_EQ(faults.size(), 1u) << ::testing::PrintToString(faults);
    EXPECT_TRUE(Told(faults, "\"400,00\" stands on a line of its own: \"Goods received, not invoiced yet\" above"))
        << faults[0];
    page = SoundPage();
    for (PdfWord w : {W(145, 50, 72, "2441"), W(145, 80, 200, "A description"), W(145, 303.3, 330, "400,00"),
                      W(160, 80, 150, "wrapped on")})
        page.push_back(w);
    EXPECT_TRUE(PageLayoutFaults(page).empty()) << ::testing::PrintToString(PageLayoutFaults(page));
    // Nor are a header's right-aligned lines, one under the other.
    page = SoundPage();
    for (PdfWord w : {W(70, 50, 90, "Balances"), W(70, 260, 330, "All customers"), W(85, 280, 334, "All items")})
        page.push_back(w);
    EXPECT_TRUE(PageLayoutFaults(page).empty()) << ::testing::PrintToString(PageLayoutFaults(page));
    // Nor are two rows of right-aligned labels, each with its amount.
    page = SoundPage();
    for (PdfWord w : {W(145, 220, 290, "Grand total"), W(145, 303.3, 330, "750,00"), W(160, 240, 290, "Overdue"),
                      W(160, 303.3, 330, "0,00")})
        page.push_back(w);
    EXPECT_TRUE(PageLayoutFaults(page).empty()) << ::testing::PrintToString(PageLayoutFaults(page));

    // A table's head names every column of its rows: a code printed
    // right of the last heading is caught, once; a row's texts under
    // the headings' span, a total set off from the columns and lines
    // below the table are not.
    page = SoundPage();
    for (PdfWord w : {W(85, 50, 85, "Account"), W(85, 95, 115, "Name"), W(85, 250, 275, "Credit"),
                      W(85, 300, 330, "Debit")})
        page.push_back(w);
    EXPECT_TRUE(PageLayoutFaults(page).empty()) << ::testing::PrintToString(PageLayoutFaults(page));
    page.push_back(W(100, 350, 355, "1"));
    page.push_back(W(115, 350, 355, "1"));
    faults = PageLayoutFaults(page);
    ASSERT_EQ(faults.size(), 1u) << ::testing::PrintToString(faults);
    EXPECT_TRUE(Told(faults, "\"1\" stands in a column without a heading: the head line \"Account Name Credit Debit\""))
        << faults[0];
    page = SoundPage();
    for (PdfWord w : {W(85, 50, 85, "Account"), W(85, 95, 115, "Name"), W(85, 250, 275, "Credit"),
                      W(85, 300, 330, "Debit"), W(145, 240, 280, "Overdue"), W(145, 350, 380, "250,00"),
                      W(200, 50, 90, "Printed"), W(200, 350, 400, "09.12.2026")})
        page.push_back(w);
    EXPECT_TRUE(PageLayoutFaults(page).empty()) << ::testing::PrintToString(PageLayoutFaults(page));
    // A head of two lines names the column on its upper line.
    page = SoundPage();
    for (PdfWord w : {W(70, 200, 230, "Period"), W(70, 260, 290, "Closing"), W(70, 340, 380, "Balance"),
                      W(85, 50, 85, "Account"), W(85, 150, 170, "Credit"), W(85, 180, 200, "Debit"),
                      W(85, 220, 250, "Credit"), W(85, 300, 330, "Debit"), W(100, 350, 380, "250,00")})
        page.push_back(w);
    EXPECT_TRUE(PageLayoutFaults(page).empty()) << ::testing::PrintToString(PageLayoutFaults(page));

    // A text drawn over another, and two texts with no blank between.
    page = SoundPage();
    page.push_back(W(160, 80, 140, "Overlapping"));
    page.push_back(W(160, 132, 160, "text"));
    page.push_back(W(175, 80, 120, "Touching"));
    page.push_back(W(175, 120.5, 140, "4,00"));
    faults = PageLayoutFaults(page);
    EXPECT_TRUE(Told(faults, "\"Overlapping\" overlaps \"text\"")) << ::testing::PrintToString(faults);
    EXPECT_TRUE(Told(faults, "\"Touching\" runs into \"4,00\" (no blank between)")) << ::testing::PrintToString(faults);
    EXPECT_EQ(faults.size(), 2u) << ::testing::PrintToString(faults);

    // The same words on the second of two pages: the page is named, and
    // the first page's lines do not make columns for the second.
    page = SoundPage(1);
    for (PdfWord w : {W(145, 80, 140, "Overlapping", 2), W(145, 132, 160, "text", 2)}) page.push_back(w);
    faults = PageLayoutFaults(page);
    ASSERT_EQ(faults.size(), 1u) << ::testing::PrintToString(faults);
    EXPECT_TRUE(Told(faults, "page 2, line \"Overlapping text\"")) << faults[0];
    page = SoundPage(1);
    for (PdfWord w : {W(145, 50, 72, "2441", 2), W(145, 80, 300, "Long", 2), W(145, 303, 330, "0,00", 2)})
        page.push_back(w);
    EXPECT_TRUE(PageLayoutFaults(page).empty()) << ::testing::PrintToString(PageLayoutFaults(page));

    // A total whose line holds its amounts and no word; labelled, it passes.
    page = SoundPage();
    for (PdfWord w : {W(190, 250, 290, "1200,00"), W(190, 330, 370, "-1200,00")}) page.push_back(w);
    faults = PageLayoutFaults(page);
    EXPECT_TRUE(Told(faults, "amounts stand on a line without a word")) << ::testing::PrintToString(faults);
    page.push_back(W(190, 80, 110, "Total"));
    EXPECT_TRUE(PageLayoutFaults(page).empty()) << ::testing::PrintToString(PageLayoutFaults(page));
}

// Words of one line that stand a little higher or lower (a bold heading
// beside a smaller text) are one line; lines a line apart are not.
TEST(PageLayout, WordsOfOneLineMeetAndLinesApartDoNot)
{
    std::vector<PdfWord> page = {W(100, 80, 140, "Heading"), W(101.5, 132, 160, "over")};
    EXPECT_TRUE(Told(PageLayoutFaults(page), "\"Heading\" overlaps \"over\""));
    page = {W(100, 80, 140, "Upper"), W(112, 132, 160, "lower")};
    EXPECT_TRUE(PageLayoutFaults(page).empty()) << ::testing::PrintToString(PageLayoutFaults(page));
}

}  // namespace
