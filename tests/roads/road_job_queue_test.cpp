// road_job_queue_test.cpp - saved output jobs as a user keeps them: the
// sales journal's selection window sends its report to the job queue
// (twice, the second for a later period), File > Job queue lists both by
// the report's title, Delete drops the second, Open shows the first in
// its selection window without running it, and Run prints what is left
// to a PDF and empties the queue. The jobs live with the program, not in
// the company file.
// Menus: File > Job queue....
// Windows: Job queue, Sales journal selection.
#include "tests/roads/road_fixture.h"

#include <cstdlib>

#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

constexpr int JobQueue = 9, SalesJournalSel = 570;
constexpr const char *Title = "Sales transaction journal";
namespace fs = std::filesystem;

class JobQueueRoad : public RoadTest {
protected:
    // The sales journal's selection window with the period typed and the
    // job queue as its device; OK saves the job.
    void QueueJournal(const std::string &from, const std::string &to)
    {
        Key('R', false, true);
        ClickRow(Title);
        Key(PlKey::Return);
        Check("the selection window of report 1", [] {
            EXPECT_EQ(ActiveType(), SalesJournalSel) << ActiveTitle();
            return ActiveType() == SalesJournalSel;
        });
        ClickField("From");
        // The window proposes a date: it is selected and typed over.
        Key(PlKey::End);
        Key(PlKey::Home, true);
        Type(from);
        ClickField("To");
        Type(to);
        ClickButton("Job queue");
        ClickButton("OK");
        Check("the job is saved, not run", [this] {
            EXPECT_NE(ActiveType(), SalesJournalSel);
            EXPECT_TRUE(FilesIn("print").empty());
            return true;
        });
        Menu("Window", "Close all");
    }
};

TEST_F(JobQueueRoad, TwoJobsSavedOneDeletedOneOpenedAndTheRestRunToThePrinter)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Menu("Module", "Sales");
    QueueJournal("01.01.2020", "31.12.2035");
    QueueJournal("01.01.2036", "31.12.2036");

    Menu("File", "Job queue...");
    Check("the queue lists both jobs by their report", [this, shots] {
        EXPECT_EQ(ActiveType(), JobQueue) << ActiveTitle();
        EXPECT_EQ(ListRows(), (std::vector<std::string>{Title, Title}));
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "job_queue.png", true));
        return ActiveType() == JobQueue;
    });
    ClickRow(Title);
    Key(PlKey::Down);
    ClickButton("Delete");
    Check("the second job is deleted", [] {
        EXPECT_EQ(ListRows(), (std::vector<std::string>{Title}));
        return true;
    });

    ClickRow(Title);
    ClickButton("Open");
    Check("the saved job shows its selection", [shots, this] {
        EXPECT_EQ(ActiveType(), SalesJournalSel) << ActiveTitle();
        EXPECT_EQ(Shown("From"), "01.01.2020");
        EXPECT_EQ(Shown("To"), "31.12.2035");
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "job_opened.png", true));
        return true;
    });
    ClickButton("OK");
    Check("its OK neither runs nor saves it again", [this] {
        EXPECT_TRUE(FilesIn("print").empty());
        return true;
    });
    Menu("File", "Job queue...");
    Check("the queue still holds the one job", [] {
        EXPECT_EQ(ActiveType(), JobQueue) << ActiveTitle();
        EXPECT_EQ(ListRows(), (std::vector<std::string>{Title}));
        return ActiveType() == JobQueue;
    });
    AnswerPrint(true);
    ClickButton("Run");
    Check("the job printed its report and left the queue", [this, shots] {
        std::vector<fs::path> pdfs = FilesIn("print");
        EXPECT_TRUE(ListRows().empty());
        if (pdfs.size() != 1) {
            ADD_FAILURE() << pdfs.size() << " PDFs; told " << ::testing::PrintToString(Messages());
            return true;
        }
        if (shots) fs::copy_file(pdfs.back(), fs::path(shots) / "job_run.pdf", fs::copy_options::overwrite_existing);
        std::string text = PdfText(pdfs.back());
        EXPECT_NE(text.find(Title), std::string::npos) << text;
        EXPECT_NE(text.find("Demo Company AB"), std::string::npos) << text;
        EXPECT_NE(text.find("2035"), std::string::npos) << "the saved period:\n" << text;
        return true;
    });
    EXPECT_EQ(Run(), 0);

    // Saving jobs stored no report selection in the company.
    ASSERT_TRUE(OpenForCheck(company));
    MemBlock rows = 0;
    SettingsBlockFetch(&rows, ReportSelectionBlk::Number);   // false: the block is absent
    EXPECT_EQ(MemIsValid(rows) ? MemSize(rows) : 0u, 0u);
    MemFree(&rows);
    CloseForCheck();
}

// Edit > Delete row in the queue drops the selected job, as its Delete
// button does; the other job stays and runs.
TEST_F(JobQueueRoad, EditDeleteRowDropsTheSelectedJob)
{
    StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Menu("Module", "Sales");
    QueueJournal("01.01.2020", "31.12.2035");
    QueueJournal("01.01.2036", "31.12.2036");
    Menu("File", "Job queue...");
    ClickRow(Title);
    Menu("Edit", "Delete row");
    Check("the selected job is deleted", [this, shots] {
        EXPECT_EQ(ActiveType(), JobQueue) << ActiveTitle();
        EXPECT_EQ(ListRows(), (std::vector<std::string>{Title}));
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "job_queue_after_delete.png", true));
        return true;
    });
    AnswerPrint(true);
    ClickButton("Run");
    Check("the job left runs, for the later period", [this] {
        std::vector<fs::path> pdfs = FilesIn("print");
        EXPECT_TRUE(ListRows().empty());
        if (pdfs.size() != 1) {
            ADD_FAILURE() << pdfs.size() << " PDFs; told " << ::testing::PrintToString(Messages());
            return true;
        }
        std::string text = PdfText(pdfs.back());
        EXPECT_NE(text.find("2036"), std::string::npos) << text;
        EXPECT_EQ(text.find("2035"), std::string::npos) << "the deleted job's period:\n" << text;
        return true;
    });
    EXPECT_EQ(Run(), 0);
}

}  // namespace
