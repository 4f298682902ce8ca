// output_windows_test.cpp - the output layer without the windows above
// it (a server, a tool): a preview or an export file the user asked for
// is refused and told, never run into nothing; display-only entries stay
// silent and the answers say "none". With the windows installed the
// preview is the output device of its kind.
#include "tests/shell/shell_fixture.h"
#include "tests/output/output_fixture.h"

#include <filesystem>
#include <string>

#include "core/file_form.h"
#include "output/devices/device_table.h"
#include "output/output_windows.h"
#include "output/page_setup_bytes.h"
#include "outputwin/output_windows_install.h"

namespace {

class NoWindows : public PrintCompanyIn<ShellCompanyFixture> {
protected:
    OutputWindowsRec saved;
    const RepDevice *preview = nullptr;

    void SetUp() override
    {
        PrintCompanyIn::SetUp();
        saved = OutputWindows;
        OutputWindows = OutputWindowsRec{};
        preview = RepDeviceInstall(OutPreview, nullptr);
        MessagesShown.clear();
    }
    void TearDown() override
    {
        RepDeviceInstall(OutPreview, preview);
        OutputWindows = saved;
        RemoteOutput = 0;
        PrintCompanyIn::TearDown();
    }
    size_t FilesUnder() const
    {
        size_t n = 0;
        for (const auto &e : std::filesystem::recursive_directory_iterator(dir)) n += e.is_regular_file();
        return n;
    }
    size_t NotYetTold() const
    {
        const std::string notYet = TextOf(Texts::FunctionNotYet);
        size_t n = 0;
        for (const std::string &m : MessagesShown) n += m.find(notYet) != std::string::npos;
        return n;
    }
};

TEST_F(NoWindows, APreviewIsRefusedAndToldForAReportAndForAForm)
{
    ASSERT_NE(preview, nullptr);   // the test program installed it, as start-up does
    OutKind(OutPreview);
    RepOpenJob(Ps("Ledger"));
    EXPECT_EQ(RepStopped, 1);
    EXPECT_EQ(RepOutputState.previewWindow, 0);
    RepStartLine(12);
    RepText(0, 0, Ps("lost"), 0);   // nothing while stopped
    RepEndJob();
    EXPECT_EQ(NotYetTold(), 1u);

    // A form print whose destination keeps the preview.
    OutKind(OutPreview);
    EXPECT_FALSE(PrintOpen(0, 0, Ps("Invoice"), Ps("X")));
    EXPECT_EQ(RepStopped, 1);
    EXPECT_EQ(NotYetTold(), 2u);
}

TEST_F(NoWindows, AnExportFileIsNeitherChosenNorMadeWithoutAsking)
{
    size_t files = FilesUnder();
    OutKind(OutTextFile);
    RepOpenFileDevice();
    EXPECT_EQ(RepStopped, 1);
    EXPECT_EQ(NotYetTold(), 1u);
    RepOpenJob(Ps("Export"));
    RepWriteField(Ps("value"));
    RepEndJob();
    EXPECT_EQ(FilesUnder(), files);
}

TEST_F(NoWindows, DisplayEntriesStaySilentAndAnswersSayNone)
{
    uint32_t size = 7;
    EXPECT_EQ(OutWindowRecord(1, 5, &size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_FALSE(PreviewIsOpen(1));
    MacRect r{};
    EXPECT_FALSE(OutWindowClientRect(1, &r));
    ChoiceListWindow = 1;
    EXPECT_FALSE(RepListAddLine(nullptr, Ps("row")));
    ChoiceListWindow = 0;
    EXPECT_EQ(OutStatusLineText(), "");
    EXPECT_EQ(OutDialogOwner(), 0u);
    MemBlock setup = MemAlloc(8);
    OutPageSetupLoad(5, PageSetupDialogFlag, &setup);   // the old block goes, the defaults apply
    EXPECT_EQ(setup, 0u);

    // Without a network no client session takes a server's output.
    EXPECT_FALSE(OutSessionSelectByName(Ps("CLIENT1")));
    EXPECT_EQ(OutSessionOrderFlag(), int16_t(ByteOrder.program));
    RemoteOutput = 1;
    EXPECT_EQ(OutSessionOrderFlag(), -1);
    RemoteOutput = 0;

    OutBusyShow(Ps("busy"));
    OutBusyClose();
    OutStatusLineSet("status");
    OutToolbarEnable(true);
    OutWindowMarkChanged(1);
    EXPECT_TRUE(MessagesShown.empty());
}

TEST_F(NoWindows, InstallingGivesThePreviewItsDeviceAndEveryEntry)
{
    OutputWindowEntriesInstall();
    EXPECT_EQ(RepDeviceOf(OutPreview), &PreviewDevice);
    EXPECT_TRUE(OutputWindows.exportFileDialog && OutputWindows.windowRecord && OutputWindows.windowListBox &&
                OutputWindows.busyShow && OutputWindows.pageSetupLoad && OutputWindows.sessionOrderFlag &&
                OutputWindows.jobQueueList && OutputWindows.portContext);
    // A number that is no open window is no preview, installed or not.
    uint32_t size = 0;
    EXPECT_EQ(OutWindowRecord(99, 5, &size), nullptr);
}

}  // namespace
