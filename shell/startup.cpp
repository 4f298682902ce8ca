// startup.cpp - the program's entry and the instance initialisation.
//
// Start-up either reaches the main loop with a frame and a company, or
// ends: with 0 when the user chose no company or the running program
// (another instance of this user) came to the front, with a non-zero code
// and the reason, in a message box and on standard error, when the
// program cannot run or the running one does not answer.
#include "output/devices/report_output.h"
#include "outputwin/output_windows_install.h"
#include "shell/startup.h"

#include <cstdio>

#include "core/interface_load.h"
#include "core/message_sink.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/warning_message.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "dict_offsets.h"
#include "operations/invoice_stock_check.h"
#include "platform/dialog.h"
#include "platform/instance.h"
#include "platform/queue.h"
#include "recordwin/record_windows.h"
#include "rules/documents.h"
#include "rules/hooks.h"
#include "rules/settings_checks.h"
#include "shell/company.h"
#include "shell/database_open.h"
#include "shell/menus.h"
#include "shell/net_services.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

constexpr int ExitStartFailed = 3;
constexpr int ExitOtherInstanceDeaf = 4;

// Shows why start-up stopped: a message box and one line on standard error.
static void StartFailureShow(const std::string &why)
{
    std::fprintf(stderr, "orvel: %s\n", why.c_str());
    DlgMessageBox(0, why, "Orvel", PlMbButtons::Ok, PlMbIcon::Stop);
}

// Shows a message of the core library to the user, owned by the frame.
static void ShellMessageShow(const char *text)
{
    DlgMessageBox(FrameWindow, text, "Orvel", PlMbButtons::Ok, PlMbIcon::Stop);
}

// A notice: what a run made or counted, told without the stop icon.
static void ShellNoticeShow(const char *text)
{
    DlgMessageBox(FrameWindow, text, "Orvel", PlMbButtons::Ok, PlMbIcon::Information);
}

// A warning: the work goes on, told with the warning icon.
static void ShellWarningShow(const char *text)
{
    DlgMessageBox(FrameWindow, text, "Orvel", PlMbButtons::Ok, PlMbIcon::Warning);
}

// Puts an invoice's stock warning on the status strip: the posting goes
// on, so the user is told without a box to answer on every invoice.
static void ShellStockNotice(const std::string &line) { StatusLineSet(line); }

// Asks the user a yes/no/cancel question: 1 yes, 4 no, 2 cancel.
static int ShellAsk(const char *text)
{
    int r = DlgMessageBox(FrameWindow, text, "Orvel", PlMbButtons::YesNoCancel, PlMbIcon::Question);
    return r == kPlIdYes ? 1 : r == kPlIdNo ? 4 : 2;
}

// Text n of the interface file, or the fallback when the file lacks it.
// (Before the file is loaded every text is missing.)
std::string StartupText(int n, const char *fallback)
{
    PString text;
    GetUiText(text, n);
    return text[0] ? PStringToStd(text) : std::string(fallback);
}

static int WinMainRun(const StartOptions &o);

// A second start while the program runs: the running one is asked to come
// to the front. Said on standard output when it answered (*code 0); when
// it does not answer (stuck, or ending) and still holds the check, the
// user is told why (*code non-zero). True when this start ends so; false
// when the running one ended meanwhile and this start goes on as the
// first. The texts come from the interface file when it can be read.
static bool SecondStart(const StartOptions &o, int *code)
{
    std::string ignored;
    (void)LoadDefinitions(&ignored);   // without the file the fallbacks below serve
    if (InstanceSignal(o.instanceName, false, o.instanceAnswerMs)) {
        std::string said = StartupText(Texts::InstanceBroughtToFront,
                                       "Orvel is already running: its window was brought to the front.");
        std::printf("orvel: %s\n", said.c_str());
        std::fflush(stdout);
        *code = 0;
        return true;
    }
    if (InstanceClaim(o.instanceName) != PlInstanceRole::Second) return false;
    StartFailureShow(StartupText(Texts::InstanceNoAnswer,
                                 "Orvel is already running but does not answer. Wait until it is free, "
                                 "or end it, and start again."));
    *code = ExitOtherInstanceDeaf;
    return true;
}

// Runs the program: the previous-instance check, the definitions and the
// frame, the company of the command line or of the company dialog, the
// main loop, and the one way out (the frame destroyed, the company
// closed). 0 on a normal end, non-zero when start-up failed.
int WinMain(const StartOptions &o)
{
    ShellStateReset();
    FrameCleanupDone = 0;
    StartupFlag = 1;
    MessageSink previousSink = MessageSinkSet(ShellMessageShow);
    MessageSink previousNotice = NoticeSinkSet(ShellNoticeShow);
    MessageSink previousWarning = WarningSinkSet(ShellWarningShow);
    AskSink previousAsk = AskSinkSet(ShellAsk);
    InvoiceStockNoticeSet(ShellStockNotice);
    int code = WinMainRun(o);
    InvoiceStockNoticeSet(nullptr);
    MessageSinkSet(previousSink);
    NoticeSinkSet(previousNotice);
    WarningSinkSet(previousWarning);
    AskSinkSet(previousAsk);
    return code;
}

// WinMain's steps with the user's message boxes in place.
static int WinMainRun(const StartOptions &o)
{
    // A check that fails (no socket can be made) does not stop the start,
    // nor does a first instance that ended while this one asked it.
    int code = 0;
    if (InstanceClaim(o.instanceName) == PlInstanceRole::Second && SecondStart(o, &code)) return code;
    std::string why;
    if (!AllocWorkBlocks()) {
        StartFailureShow("Memory for the work records could not be had.");
        InstanceRelease();
        return ExitStartFailed;
    }
    ToolbarMetricsInit();
    if (!InitInstance(o, &why)) {
        StartFailureShow(why);
        if (FrameWindow && WinIsWindow(FrameWindow)) WinDestroy(FrameWindow);
        FrameCleanup();
        MsgClear();
        InstanceRelease();
        return ExitStartFailed;
    }
    DbOpenFlag = 0;
    if (!o.commandLine.empty() && CompanyPathFits(o.commandLine)) {
        PString path;
        PStringFromView(path, o.commandLine);
        if (!DbOpen(path, 0)) CompanyOpenFailureShow(path);
    }
    if (!DbOpenFlag) DbConnectCommand();
    if (DbOpenFlag) {
        if (CompactVariant) OpenOrActivateWindow(WinTypes::ModuleList, 0, 0, false, 0);
        StartupFlag = 0;
        // The menus and the bar's buttons start as the open windows allow,
        // not as built (everything enabled).
        EnableToolButtons(CurrentWindow);
        WindowActivated(CurrentWindow);
        MainMessageLoop();
    } else {
        QuitFlag = 1;
    }
    // The one way out: destroying the frame runs its clean-up, which closes
    // the company; the direct call covers a frame that is already gone.
    if (FrameWindow && WinIsWindow(FrameWindow)) WinDestroy(FrameWindow);
    FrameCleanup();
    MsgClear();
    InstanceRelease();
    return 0;
}

// Loads the definitions and makes the frame; false with *why on failure.
// The run mode and the TCP ports start at their defaults, which the TCP
// settings may change.
bool InitInstance(const StartOptions &o, std::string *why)
{
    SetRunModeLocal();
    TcpListenPort = 1235;
    TcpPort = 1234;
    if (!LoadDefinitions(why)) return false;
    RepOutputInit();
    LightGreyLook = 1;
    CompactVariant = !WinDefExists(9);
    if (!RegisterWindowClasses()) {
        *why = StartupText(Texts::StartNoClasses, "The window classes could not be registered.");
        return false;
    }
    return CreateFrameWindow(o.show, why);
}
