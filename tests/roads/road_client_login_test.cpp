// road_client_login_test.cpp - the program as the client of the program
// as a server. A server is started in a process of its own, as a user
// starts one: QVTCP.INI in its working folder names the server run mode,
// and its Open dialog is answered with a new company, the demo company
// from DEFAULT.TXT. The client (this process, QVTCP.INI naming the client
// run mode) connects over the real channel, and its login window takes a
// wrong password (told as wrong, the connection kept) and then ADMIN's
// right one. It stores a new customer and a posted invoice by keys and
// clicks, draws a text into the invoice form, and a second client,
// logged in beside it, reads both. A report printed at a client, to the
// preview and to a PDF, shows as the same report does stand-alone on the
// company the server kept, and the General ledger's Registers menu holds
// the same entries. A Print dialog left open at a client costs neither
// the print nor the connection; a print given up is told in words. While
// it stands another client's print waits behind a busy message, and is
// served once the dialog is answered or the server's wait for it ends. A
// person's access group holds at a client for what a document run
// writes, as it does stand-alone.
// Menus: Registers > Access groups, Registers > Persons; in Sales,
// Registers > Customers; in General ledger, Registers > Forms; File >
// Windows... > "Sales invoices"; File > Documents... > "Print and approve
// invoices"; File > Reports (Ctrl+R) > "Customer Balances", to the
// preview and by Ctrl+P.
// Windows: Access groups, Persons, Customer list, Customers, Windows,
// Sales invoice, Documents, Invoice print and approve run, Customer
// balances selection, Reports, Forms, the form designer.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_form_steps.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <netinet/in.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "dict_offsets.h"
#include "features/program_start.h"
#include "net/auth.h"
#include "net/net.h"
#include "net/tls.h"
#include "core/interface_load.h"
#include "core/record_buffer.h"
#include "platform/dialog.h"
#include "platform/menu.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"
#include "shell/frame_commands.h"
#include "shell/procedures.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"
#include "tests/net/net_fixture.h"
#include "tests/reports/preview_lines.h"

namespace fs = std::filesystem;

namespace {

constexpr int LoginWindow = 15, CustomerList = 594, Customers = 590, WindowList = 12, SalesInvoice = 347,
              CustomerBalanceSel = 507, ReportList = 6, FormList = 566, Designer = 23;
constexpr const char *NewCustomer = "ROAD1";

// A loopback port nobody listens on now.
int FreePort()
{
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t n = sizeof a;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr *>(&a), &n) == 0)
        port = ntohs(a.sin_port);
    close(fd);
    return port;
}

// The settings file of a run mode (2 server, 3 client) on the port.
void WriteTcpSettings(const fs::path &folder, int port, int mode)
{
    std::ofstream(folder / "QVTCP.INI") << "setuptcp\r\n127.0.0.1\r\n" << port << "\r\n" << port << "\r\n" << mode << "\r\n";
}

// ---- the server's process ---------------------------------------------

volatile sig_atomic_t ServerStop = 0;
int ServerReadyPipe = -1;

void OnServerStop(int) { ServerStop = 1; }

// The server's idle moments: the parent hears once it serves, and a
// stop request ends the program as File > Exit would.
bool ServerIdle()
{
    if (ServerReadyPipe >= 0 && ServerServing) {
        if (write(ServerReadyPipe, "s", 1) != 1) _exit(4);
        close(ServerReadyPipe);
        ServerReadyPipe = -1;
    }
    static int stopIdles = 0;
    if (!ServerStop) return false;
    if (stopIdles++ == 0 && FrameWindow && WinIsWindow(FrameWindow)) MsgPost(FrameWindow, PlMsg::Command, FrameCmd::FileExit, 0);
    else MsgPostQuit(0);
    return true;
}

[[noreturn]] void ServeDemo(const fs::path &folder, int ready)
{
    std::signal(SIGTERM, OnServerStop);
    fs::current_path(folder);
    ServerReadyPipe = ready;
    MsgSetIdleHook(ServerIdle);
    ScriptReset();
    ScriptAnswerFile((folder / "demo.VDB").string());   // the Open dialog: a new company
    StartOptions o;
    o.show = PlShow::Normal;
    o.instanceName = "orvel-road-server-" + std::to_string(getpid());
    int code = OrvelStart(o);
    _exit(code == 0 ? 0 : 1);
}

// The entries of the menu bar's Registers menu as a user reads them, in
// their order, joined by " | "; "" when the bar has none.
std::string RegistersMenuShown()
{
    const uint32_t bar = FrameWindow ? WinMenu(FrameWindow) : 0;
    std::string shown;
    for (int i = 0; i < MenuItemCount(bar); i++) {
        if (MenuItemText(bar, i).find("Registers") == std::string::npos) continue;
        const uint32_t menu = MenuSubMenu(bar, i);
        for (int k = 0; k < MenuItemCount(menu); k++) {
            std::string label = MenuItemText(menu, k);
            label = label.substr(0, label.find('\t'));
            std::erase(label, '&');
            shown += (shown.empty() ? "" : " | ") + label;
        }
    }
    return shown;
}

// ---- the fixture --------------------------------------------------------

class ClientRoad : public RoadTest {
public:
    pid_t server = -1;
    int port = 0;
    fs::path serverFolder;
    std::chrono::steady_clock::time_point deadline;
    static ClientRoad *Running;

    void SetUp() override
    {
        RoadTest::SetUp();
        if (HasFatalFailure()) return;
        port = FreePort();
        ASSERT_GT(port, 0);
        serverFolder = dir / "server";
        fs::create_directories(serverFolder);
        WriteTcpSettings(serverFolder, port, RunModeServer);
        WriteTcpSettings(dir, port, RunModeClient);
        TlsPinFile = "QVTCP.PIN";   // the client's known servers, in its working folder as the program keeps them
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        std::fflush(nullptr);
        server = fork();
        ASSERT_GE(server, 0);
        if (server == 0) {
            close(ready[0]);
            ServeDemo(serverFolder, ready[1]);
        }
        close(ready[1]);
        pollfd p{ready[0], POLLIN, 0};
        char c = 0;
        bool serving = poll(&p, 1, 120000) > 0 && read(ready[0], &c, 1) == 1;
        close(ready[0]);
        ASSERT_TRUE(serving) << "the server did not start serving the demo company";
        Running = this;
        deadline = std::chrono::steady_clock::now() + std::chrono::minutes(4);
        MsgSetIdleHook(ClientIdle);
    }

    void TearDown() override
    {
        MsgSetIdleHook(nullptr);
        Running = nullptr;
        StopServer();
        NetShutdown();
        TransportInstall(nullptr, nullptr);
        NetClient = NetClientStateRec{};
        RunMode = 0;
        RoadTest::TearDown();
    }

    // After a run as the client: the next run starts the client afresh,
    // as a user starts it again, with a road of its own.
    void RunClientAgain()
    {
        NetShutdown();
        TransportInstall(nullptr, nullptr);
        NetClient = NetClientStateRec{};
        RunMode = 0;
        WinTableInit();
        WinResetAll();
        MsgClear();
        ScriptReset();
        InterfaceUnload();
        steps.clear();
        deadline = std::chrono::steady_clock::now() + std::chrono::minutes(4);
    }
    // The same for the program stand-alone (no settings file).
    void RunStandAlone()
    {
        fs::remove(dir / "QVTCP.INI");
        RunClientAgain();
    }

    // Ends the server as its user would (File > Exit) and waits for it;
    // true when it ended well within half a minute (else it is killed).
    bool StopServer()
    {
        if (server <= 0) return false;
        kill(server, SIGTERM);
        int status = 0;
        bool ended = false;
        for (int i = 0; i < 300 && !ended; i++) {
            ended = waitpid(server, &status, WNOHANG) == server;
            if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        if (!ended) {
            kill(server, SIGKILL);
            waitpid(server, &status, 0);
        }
        server = -1;
        return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    // The road's steps run only when the client is at rest with its
    // company: never while it waits for the server (the input would be
    // dropped there, as a user's is) nor while it connects.
    static bool ClientIdle()
    {
        if (!Running) return false;
        if (std::chrono::steady_clock::now() > Running->deadline) {
            ADD_FAILURE() << "the road did not end in time at step " << Running->next;
            Running->stopped = true;
            MsgPostQuit(0);
            return true;
        }
        if (Running->watch) Running->watch();
        if (Running->AnswerHeldDialog()) return true;
        if (NetClient.sendLevel > 0 || !DbOpenFlag) return false;
        return Running->Idle();
    }

    // The next Print dialog is the real one, left open for `ms` as a user
    // who reads it leaves it, and then answered by its keys: Return (OK)
    // or Esc (Cancel).
    struct HeldDialog {
        int ms = 0;
        bool ok = true, pending = false, shown = false;
        std::chrono::steady_clock::time_point since{};
    };
    HeldDialog held;
    void HoldPrintDialog(int ms, bool ok)
    {
        Do("the next Print dialog is left open a while", [this, ms, ok] {
            held = HeldDialog{ms, ok, true};
            ScriptSetInteractive(true);
            return true;
        });
    }
    // Customer Balances to the printer, by Ctrl+R, its row and Ctrl+P, and
    // OK in its selection; its Print dialog held as HoldPrintDialog holds it.
    void PrintBalancesHeld(int ms, bool ok)
    {
        Key('R', false, true);
        Check("Ctrl+R opens the report list", Opened(ReportList));
        ClickRow("Customer Balances");
        Key('P', false, true);
        Check("the print selection opens", Opened(CustomerBalanceSel));
        HoldPrintDialog(ms, ok);
        ClickButton("OK");
    }
    // Inside the held dialog's own wait: its keys once its time has passed.
    bool AnswerHeldDialog()
    {
        const uint32_t modal = MsgSetModal(0);
        MsgSetModal(modal);
        if (!held.pending || !modal || WinTitle(modal) != "Print") return false;
        const auto now = std::chrono::steady_clock::now();
        if (!held.shown) {
            held.shown = true;
            held.since = now;
            Tell("open");
        }
        if (now - held.since < std::chrono::milliseconds(held.ms)) return false;
        held.pending = false;
        ScriptSetInteractive(false);
        ScriptKey(held.ok ? PlKey::Return : PlKey::Escape);
        Tell("answered");
        return true;
    }

    // Run at every idle moment, inside the waits too (a road's own watch).
    std::function<void()> watch;

    // ---- a second client of the program, in a process of its own -------
    // It walks its own road in folder "a" of the working folder and tells
    // the road here what happens, a line each: "open", "answered", "done"
    // (its print's request came back), "session <id>", "told <texts>".
    int tellFd = -1;
    static int64_t NowMs()
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void Tell(const std::string &what, const std::string &extra = "")
    {
        if (tellFd < 0) return;
        std::string line = what + " " + std::to_string(NowMs()) + (extra.empty() ? "" : " " + extra) + "\n";
        if (write(tellFd, line.data(), line.size()) != (ssize_t)line.size()) _exit(5);
    }
    struct OtherClient {
        pid_t pid = -1;
        int fd = -1;
        std::string heard;                  // every line so far
        std::map<std::string, int64_t> at;  // when each word came
        std::map<std::string, std::string> said;
        // Takes what it told; waits up to `ms` for `what` (0: not at all).
        bool Heard(const std::string &what, int ms = 0)
        {
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
            for (;;) {
                pollfd p{fd, POLLIN, 0};
                char buf[512];
                ssize_t n = 0;
                while (poll(&p, 1, 0) > 0 && (n = read(fd, buf, sizeof buf)) > 0) heard.append(buf, size_t(n));
                for (size_t end; (end = heard.find('\n')) != std::string::npos; heard.erase(0, end + 1)) {
                    std::istringstream line(heard.substr(0, end));
                    std::string word, rest;
                    int64_t when = 0;
                    line >> word >> when;
                    std::getline(line, rest);
                    at.emplace(word, when);
                    said[word] = rest.empty() ? rest : rest.substr(1);
                }
                if (at.count(what) || std::chrono::steady_clock::now() >= until) return at.count(what) > 0;
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
        // Its end: true when its road passed; it is ended after 3 minutes.
        bool Ended()
        {
            int status = 0;
            bool ended = false;
            for (int i = 0; i < 1800 && !ended; i++) {
                ended = waitpid(pid, &status, WNOHANG) == pid;
                if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            if (!ended) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
            }
            Heard("");
            close(fd);
            pid = -1;
            return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
    };
    OtherClient clientA;
    // Client A: logs in, opens customer C1 and changes its name, prints
    // Customer Balances with its Print dialog left open `holdMs`, tells
    // what it was told, and stores the customer. Its road's checks are
    // `afterPrint`'s; it ends passed or failed as its process's status.
    void StartOtherClient(int holdMs, std::function<void()> afterPrint)
    {
        fs::create_directories(dir / "a");
        WriteTcpSettings(dir / "a", port, RunModeClient);
        int pipeFds[2];
        ASSERT_EQ(pipe(pipeFds), 0);
        std::fflush(nullptr);
        clientA.pid = fork();
        ASSERT_GE(clientA.pid, 0);
        if (clientA.pid > 0) {
            close(pipeFds[1]);
            clientA.fd = pipeFds[0];
            return;
        }
        close(pipeFds[0]);
        tellFd = pipeFds[1];
        server = -1;   // the parent's to end
        dir = dir / "a";
        fs::current_path(dir);
        steps.clear();
        LogInAsAdmin();
        Do("tell the session", [this] {
            Tell("session", std::to_string(NetClient.session));
            return true;
        });
        Menu("Module", "Sales");
        Menu("Registers", "Customers");
        Check("the customer list opens", Opened(CustomerList));
        OpenFromList("C1", Customers);
        Retype("Name", "Kept by A");
        PrintBalancesHeld(holdMs, true);
        Do("tell what came of the print", [this] {
            std::string told;
            for (const std::string &m : Messages()) told += m + " | ";
            Tell("done", told);
            return true;
        });
        afterPrint();
        Key(PlKey::F1 + 3, false, true);   // Ctrl+F4: the report list closes
        OkStoresQuietly("customer");
        EXPECT_EQ(Run(), 0);
        std::fflush(nullptr);
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    // The busy message as a user at this client sees it: open, and when
    // it was first and last seen open.
    struct NoticeSeen {
        int64_t first = 0, last = 0, gone = 0;
    };
    std::shared_ptr<NoticeSeen> WatchBusyNotice()
    {
        auto seen = std::make_shared<NoticeSeen>();
        watch = [seen] {
            const bool open = BusyMessageWindow && WinIsOpen(BusyMessageWindow) &&
                              WinTypeOf(BusyMessageWindow) == WinTypes::BusyMessage;
            const int64_t now = NowMs();
            if (open) {
                if (!seen->first) seen->first = now;
                seen->last = now;
                seen->gone = 0;
            } else if (seen->first && !seen->gone) {
                seen->gone = now;
            }
        };
        return seen;
    }
};
ClientRoad *ClientRoad::Running = nullptr;

TEST_F(ClientRoad, TheProgramsClientLogsInToTheDemoServerAndASecondClientSeesItsWork)
{
    Check("the login window asks, and nothing cost the connection", [] {
        EXPECT_EQ(ActiveType(), LoginWindow) << ActiveTitle();
        EXPECT_EQ(RunMode, RunModeClient);
        EXPECT_TRUE(NetClient.connected);
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return ActiveType() == LoginWindow && NetClient.connected;
    });
    ClickField("User code");
    Type("ADMIN");
    ClickField("Password");
    Type("wrong");
    ClickOk();
    Check("the wrong password is told as wrong, the connection kept", [] {
        EXPECT_TRUE(Told("The user name or the password is wrong.")) << ::testing::PrintToString(Messages());
        EXPECT_FALSE(Told("connection")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(ActiveType(), LoginWindow);
        EXPECT_TRUE(NetClient.connected);
        return ActiveType() == LoginWindow;
    });
    // The server makes the next try of the name wait a moment after a
    // failure: its first wait, counted from before the refusal came (the
    // server was started from this process, with its limits).
    Do("the wait after a failure passes", [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(AuthLimits.firstDelayMs + 100));
        return true;
    });
    ClickField("Password");
    Type("orvel");
    ClickOk();
    Check("the right one enters the demo company", [] {
        EXPECT_EQ(LoggedInFlag, 1) << ::testing::PrintToString(Messages());
        EXPECT_NE(ActiveType(), LoginWindow);
        EXPECT_EQ(Messages().size(), 1u) << ::testing::PrintToString(Messages());
        return LoggedInFlag == 1;
    });

    // A new customer, stored at the server.
    Menu("Module", "Sales");
    NewFromList("Customers", CustomerList, Customers);
    ClickField("Code");
    Type(NewCustomer);
    ClickField("Name");
    Type("Road Client Ltd");
    OkStoresQuietly("the new customer");
    Menu("Window", "Close all");

    // A posted invoice.
    Menu("File", "Windows...");
    Check("the window list opens", Opened(WindowList));
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    ClickButton("New");
    Check("New opens the invoice window", Opened(SalesInvoice));
    ClickButton("Posted");
    std::shared_ptr<std::string> number = TypeOneRowDocument("C1", 1, "ITEM1", "2");
    Menu("Window", "Close all");

    // The company's forms, kept by the server: the invoice form opened
    // from the General ledger's Registers > Forms takes a text drawn in
    // the designer.
    Menu("Module", "General ledger");
    Menu("Registers", "Forms");
    Check("the form list opens", Opened(FormList));
    ClickField("Find");
    Type("INVOICE");
    Key(PlKey::Return);   // finds the row
    Key(PlKey::Return);   // opens it
    Check("the invoice form opens in the designer", Opened(Designer));
    ClickButton("Text");
    DragInDesigner(*this, "draw a text", 100, 300, 250, 314);
    Check("the text's window opens", [] { return ActiveTitle() == "Text"; });
    Type("Drawn at a client");
    ClickField("Font");
    Type("NORMAL");
    ClickButton("OK");
    OkStoresQuietly("the invoice form");
    Menu("Window", "Close all");

    // Another client, logged in beside this one, reads both.
    Do("a second client sees the customer and the posted invoice", [number] {
        nettest::RawConn other(Running->port);
        uint32_t s = nettest::SessionOpen(other, true, "ADMIN", "orvel");
        EXPECT_NE(s, 0u) << "the second client was not let in";
        if (!s) return false;
        bool customer = false, invoice = false;
        std::vector<uint8_t> r;
        for (uint32_t pos = 1; nettest::ReadAt(other, s, CUVc::Number, pos, &r) == 1; pos++)
            customer = customer || TextAt(r.data(), CUVc::Code) == NewCustomer;
        for (uint32_t pos = 1; nettest::ReadAt(other, s, IVVc::Number, pos, &r) == 1; pos++) {
            if (std::to_string(GetU32(r.data(), IVVc::SerNr)) != *number) continue;
            invoice = TextAt(r.data(), IVVc::CustCode) == "C1" && GetU16(r.data(), IVVc::Posted) == 1;
        }
        EXPECT_TRUE(customer);
        EXPECT_TRUE(invoice) << "invoice " << *number;
        return customer && invoice;
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(LoggedInFlag, 0);

    // The server's file keeps both once it has ended.
    ASSERT_TRUE(StopServer());
    RunMode = 0;   // the check reads the file itself, not through a server
    ASSERT_TRUE(OpenForCheck((serverFolder / "demo.VDB").string()));
    std::vector<uint8_t> r;
    EXPECT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, NewCustomer, &r));
    StoredInvoice stored = OnlyInvoice();
    ASSERT_FALSE(stored.head.empty());
    EXPECT_EQ(TextAt(stored.head.data(), IVVc::CustCode), "C1");
    EXPECT_EQ(GetU16(stored.head.data(), IVVc::Posted), 1);
    EXPECT_EQ(std::to_string(GetU32(stored.head.data(), IVVc::SerNr)), *number);
    ASSERT_TRUE(FindByCode(DocVc::Number, DocVc::Code, 20, "INVOICE", &r));
    bool drawn = false;
    uint8_t item[DocVc::Rows::Size];
    for (int32_t i = 0; i < MatrixRowCount(DocVc::Number, 0, r.data()); i++)
        drawn = drawn || (MatrixRowGet(DocVc::Number, 0, r.data(), i, item) &&
                          TextAt(item, DocVc::Rows::Text) == "Drawn at a client");
    EXPECT_TRUE(drawn) << "the text drawn at the client is not in the server's invoice form";
}

// A person's group holds at a client for every write a run makes, as it
// does stand-alone. ADMIN makes the group LIMIT, which withholds the
// sales invoices, with its person BOB, and the group NOVO, which
// withholds the vouchers, with its person ANN, and stores an invoice
// unposted. At a client of his own BOB runs File > Documents > "Print and
// approve invoices" over it: refused with the message, it posts, prints
// and marks nothing. ANN, at hers, posts an invoice in its window and runs
// the same over BOB's, which is posted and printed: what a posting writes
// in turn, its voucher, is written though her group withholds vouchers.
TEST_F(ClientRoad, PrintAndApproveAtAClientIsRefusedWhereTheGroupWithholdsTheInvoices)
{
    constexpr int AccessGroupList = 595, AccessGroups = 591, PersonList = 596, Persons = 593;
    auto logIn = [this](const char *user, const char *password) {
        Check("the login window asks", Opened(LoginWindow));
        TypeFields({{"User code", user}, {"Password", password}});
        ClickOk();
        Check(std::string(user) + " is let in", [] { return LoggedInFlag == 1; });
    };
    auto printAndApprove = [this](std::shared_ptr<std::string> number) {
        Menu("Module", "Sales");
        OpenPrintAndApprove([number] { return *number + ":" + *number; }, "Invoices", "Printer");
    };
    auto vouchers = std::make_shared<uint32_t>();

    // ---- ADMIN: the groups, their persons and an unposted invoice.
    LogInAsAdmin();
    // Every module (9 1 1), and the window types withheld (2 type 0): the
    // sales invoice and its list, the voucher.
    const std::vector<std::pair<const char *, std::vector<const char *>>> groups = {{"LIMIT", {"347", "348"}},
                                                                                   {"NOVO", {"117"}}};
    for (const auto &[code, withheld] : groups) {
        NewFromList("Access groups", AccessGroupList, AccessGroups);
        TypeFields({{"Code", code}, {"Name", code}});
        for (int row = 0; row <= int(withheld.size()); row++) {
            TypeCell(row, 0, row == 0 ? "9" : "2");
            TypeCell(row, 1, row == 0 ? "1" : withheld[size_t(row - 1)]);
            TypeCell(row, 2, row == 0 ? "1" : "0");
        }
        OkStoresQuietly(std::string("the group ") + code);
    }
    for (const char *person : {"BOB", "ANN"}) {
        NewFromList("Persons", PersonList, Persons);
        TypeFields({{"Code", person}, {"Name", person}, {"Password", "pw-of-1"},
                    {"Access group", person[0] == 'B' ? "LIMIT" : "NOVO"}});
        OkStoresQuietly(std::string("the person ") + person);
    }
    Menu("Module", "Sales");
    NewFromWindowList("Sales invoices", 348, SalesInvoice);
    std::shared_ptr<std::string> number = TypeOneRowDocument("C1", 1, "ITEM1", "2");
    Do("count the vouchers", [vouchers] {
        *vouchers = RegRecordCount(TRVc::Number);
        return true;
    });
    EXPECT_EQ(Run(), 0);

    // ---- BOB is refused, and the run writes nothing.
    RunClientAgain();
    logIn("BOB", "pw-of-1");
    printAndApprove(number);
    auto told = CountTold();
    ClickButton("OK");
    Check("BOB's run is refused with the message, and posts and prints nothing", [this, told, vouchers] {
        EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told("Your access group does not allow this.")) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(FilesIn("print").empty());
        EXPECT_EQ(RegRecordCount(TRVc::Number), *vouchers);
        return NetClient.connected;
    });
    EXPECT_EQ(Run(), 0);

    // ---- ANN posts an invoice in its window and BOB's by the run.
    RunClientAgain();
    logIn("ANN", "pw-of-1");
    TypeAndPostInvoice("C1", "ITEM1", "1");
    printAndApprove(number);
    AnswerPrint(true);
    ClickButton("OK");
    Check("ANN's run posts and prints the invoice", [this, number] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        const std::vector<fs::path> pdfs = FilesIn("print");
        EXPECT_EQ(pdfs.size(), 1u);
        EXPECT_FALSE(FileHolding(pdfs, *number).empty()) << "no PDF holds invoice " << *number;
        return pdfs.size() == 1;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(StopServer());
    RunMode = 0;   // the check reads the file itself, not through a server
    ASSERT_TRUE(OpenForCheck((serverFolder / "demo.VDB").string()));
    EXPECT_EQ(RegRecordCount(TRVc::Number), *vouchers + 2) << "ANN's two postings each store their voucher";
    std::vector<uint8_t> inv(IVVc::Size);
    uint32_t id = 0, at = 0;
    PutU32(inv.data(), IVVc::SerNr, uint32_t(std::stoul(*number)));
    ASSERT_TRUE(RecFind(IVVc::Number, inv.data(), 1, 1, &id, &at));
    EXPECT_EQ(GetU16(inv.data(), IVVc::Posted), 1);
    EXPECT_NE(GetU16(inv.data(), IVVc::Printed), 0);
    RecFreeMatrix(IVVc::Number, inv.data());
}

// Customer Balances at a client, to the preview and to a PDF, then the
// same stand-alone on the server's company file once the server has
// ended: the reader sees the same preview and the same printed page. A
// customer's name as long as its field takes is cut to its column on
// both, as the device the report goes to measures it.
TEST_F(ClientRoad, AReportAtAClientLaysOutAsItDoesStandAlone)
{
    const std::string longName = "Northern Lights Consolidated Trading and Shipping Company AB";
    struct Shown {
        std::string preview, pdf, ledgerRegisters;
    };
    // The road of one run: the General ledger's Registers menu read, the
    // report to the preview, then to a PDF.
    auto report = [this](Shown *shown, const char *shot) {
        Menu("Module", "General ledger");
        Do("read the General ledger's Registers menu", [shown] {
            shown->ledgerRegisters = RegistersMenuShown();
            return !shown->ledgerRegisters.empty();
        });
        Menu("Module", "Sales");
        auto pdf = ReportToPreviewAndPdf("Customer Balances", CustomerBalanceSel, [] {}, shot, [this, shown] {
            Do("read the preview", [shown] {
                EXPECT_TRUE(PreviewIsOpen(Active())) << ActiveTitle();
                if (!PreviewIsOpen(Active())) return false;
                for (const PlacedText &t : PreviewTexts(Active()))
                    shown->preview += std::to_string(t.line) + " " + std::to_string(t.left) + ".." +
                                      std::to_string(t.right) + " " + t.text + "\n";
                return !shown->preview.empty();
            });
        });
        Do("keep the PDF's text", [shown, pdf] {
            shown->pdf = *pdf;
            return true;
        });
    };

    Shown client;
    LogInAsAdmin();
    Menu("Module", "Sales");
    Menu("Registers", "Customers");
    Check("the customer list opens", Opened(CustomerList));
    OpenFromList("C1", Customers);
    // Typed in one go: the first key takes the record's lock at the
    // server, and the keys behind it wait for that reply, none lost.
    Retype("Name", longName);
    Check("the whole name typed stands in the field", [longName] {
        EXPECT_EQ(RoadTest::Shown("Name"), longName);
        return true;
    });
    OkStores("customer");
    Menu("Window", "Close all");
    TypeAndPostInvoice("C1", "ITEM1", "2");
    report(&client, "client_balances");
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
    ASSERT_TRUE(StopServer());

    // Stand-alone, on the company file the server kept.
    Shown alone;
    RunStandAlone();
    fs::copy_file(serverFolder / "demo.VDB", dir / "alone.VDB");
    fs::rename(dir / "print", dir / "client_print");
    StartNewCompany("alone.VDB");
    report(&alone, "alone_balances");
    EXPECT_EQ(Run(), 0);

    EXPECT_NE(alone.preview.find("Northern Lights"), std::string::npos) << alone.preview;
    EXPECT_EQ(alone.preview.find(longName), std::string::npos) << "the name is cut to its column:\n" << alone.preview;
    EXPECT_EQ(client.preview, alone.preview);
    EXPECT_NE(alone.pdf.find("Grand total"), std::string::npos) << alone.pdf;
    EXPECT_EQ(client.pdf, alone.pdf);
    EXPECT_NE(alone.ledgerRegisters.find("Opening balances | Forms | Employees"), std::string::npos)
        << alone.ledgerRegisters;
    EXPECT_EQ(client.ledgerRegisters, alone.ledgerRegisters);
}

// A user at a client leaves the Print dialog of a report open longer than
// the server once waited for its client, and then prints: the report is
// printed whole, and the client keeps its connection and its windows (a
// customer with a change not stored yet, which is then stored). A print
// whose dialog is cancelled says so and prints nothing.
TEST_F(ClientRoad, APrintDialogLeftOpenAtAClientCostsNeitherThePrintNorTheConnection)
{
    LogInAsAdmin();
    Menu("Module", "Sales");
    Menu("Registers", "Customers");
    Check("the customer list opens", Opened(CustomerList));
    OpenFromList("C1", Customers);
    Retype("Name", "Kept while printing");
    auto before = std::make_shared<std::vector<fs::path>>();
    Do("note the PDFs", [this, before] {
        *before = FilesIn("print");
        return true;
    });
    PrintBalancesHeld(10500, true);
    Check("the report is printed whole and the client keeps its connection and windows", [this, before] {
        EXPECT_TRUE(NetClient.connected);
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        std::vector<fs::path> pdfs = NewFilesIn("print", *before);
        EXPECT_EQ(pdfs.size(), 1u);
        const std::string text = pdfs.size() == 1 ? PdfText(pdfs[0]) : "";
        EXPECT_NE(text.find("Grand total"), std::string::npos) << text;
        EXPECT_NE(WinFindByDef(Customers), 0) << "the customer's window was closed";
        *before = FilesIn("print");
        return NetClient.connected && WinFindByDef(Customers) != 0;
    });
    PrintBalancesHeld(0, false);
    Check("a cancelled print says so and prints nothing", [this, before] {
        EXPECT_TRUE(NetClient.connected);
        EXPECT_EQ(StatusLineText(), "Nothing was printed: the Print dialog was cancelled.");
        EXPECT_TRUE(NewFilesIn("print", *before).empty());
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return true;
    });
    Key(PlKey::F1 + 3, false, true);   // Ctrl+F4: the report list closes
    Check("the customer's window still holds the change", [] {
        EXPECT_EQ(ActiveType(), Customers) << ActiveTitle();
        EXPECT_EQ(RoadTest::Shown("Name"), "Kept while printing");
        return ActiveType() == Customers;
    });
    OkStores("customer");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(StopServer());
    RunMode = 0;   // the check reads the file itself, not through a server
    ASSERT_TRUE(OpenForCheck((serverFolder / "demo.VDB").string()));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "C1", &r));
    EXPECT_EQ(TextAt(r.data(), CUVc::Name), "Kept while printing");
}

// Two clients of one server. A leaves the Print dialog of a report open,
// within the time the server waits for it, while B asks for a report to
// the printer: B's busy message stands without a key while its request
// goes again every second; A prints whole once it answers, and B is
// served within about a second of A's print, its busy message gone.
TEST_F(ClientRoad, AnotherClientsOpenPrintDialogKeepsABusyMessageUpUntilItIsAnswered)
{
    StartOtherClient(12000, [this] {
        Check("A's report is printed whole and nothing was told", [this] {
            EXPECT_TRUE(NetClient.connected);
            EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
            const std::vector<fs::path> pdfs = FilesIn("print");
            EXPECT_EQ(pdfs.size(), 1u);
            EXPECT_NE((pdfs.size() == 1 ? PdfText(pdfs[0]) : "").find("Grand total"), std::string::npos);
            return true;
        });
    });
    if (HasFatalFailure()) return;
    LogInAsAdmin();
    Menu("Module", "Sales");
    Do("A's Print dialog is open", [this] {
        EXPECT_TRUE(clientA.Heard("open", 120000)) << "A never opened its Print dialog: " << clientA.heard;
        return clientA.at.count("open") > 0;
    });
    auto seen = WatchBusyNotice();
    Key('R', false, true);
    Check("Ctrl+R opens the report list", Opened(ReportList));
    ClickRow("Customer Balances");
    Key('P', false, true);
    Check("the print selection opens", Opened(CustomerBalanceSel));
    AnswerPrint(true);
    ClickButton("OK");
    Check("B's report came once A answered, behind a busy message that stood without a key", [this, seen] {
        EXPECT_TRUE(clientA.Heard("done", 60000)) << clientA.heard;
        EXPECT_TRUE(Messages().empty()) << "a message box stood: " << ::testing::PrintToString(Messages());
        EXPECT_NE(seen->first, 0) << "no busy message stood while B waited";
        EXPECT_NE(seen->gone, 0) << "B's busy message stayed";
        EXPECT_EQ(BusyMessageWindow, 0);
        EXPECT_GT(seen->gone, clientA.at["answered"]) << "B was served while A's dialog stood";
        // The request goes again every second: served within one of A's
        // print's end, with a margin for a loaded machine.
        EXPECT_LE(seen->gone, clientA.at["done"] + 2500)
            << "B was served " << seen->gone - clientA.at["done"] << " ms after A's print ended";
        const std::vector<fs::path> pdfs = FilesIn("print");
        EXPECT_EQ(pdfs.size(), 1u);
        EXPECT_NE((pdfs.size() == 1 ? PdfText(pdfs[0]) : "").find("Grand total"), std::string::npos);
        EXPECT_TRUE(NetClient.connected);
        return true;
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(clientA.Ended()) << "A's road failed: " << clientA.heard;
}

// The same, with the server's wait for a client shortened below the time
// A's Print dialog stays open. A's print is given up when the wait ends,
// though A says all along that its user answers a dialog: B is served
// while A's dialog still stands, A is told in words once it is answered
// and keeps its connection and its customer window, and the server's log
// names A's session.
class ClientRoadHeldPastTheWait : public ClientRoad {
    NetLimitsRec saved = NetLimits;
    void SetUp() override
    {
        NetLimits.ackMs = 6000;   // the server's, taken into its process
        ClientRoad::SetUp();
        NetLimits = saved;
    }
    void TearDown() override
    {
        NetLimits = saved;
        ClientRoad::TearDown();
    }
};

TEST_F(ClientRoadHeldPastTheWait, APrintDialogHeldPastTheServersWaitGivesThatPrintUpAndTheOthersAreServed)
{
    const std::string givenUp = "The server gave up the print: its dialog stayed open longer than the server keeps a "
                                "print waiting while others wait. Nothing more of it was printed; start it again.";
    StartOtherClient(16000, [givenUp, this] {
        Check("A is told its print was given up, and keeps its connection and windows", [givenUp] {
            EXPECT_TRUE(NetClient.connected);
            EXPECT_EQ(Messages(), std::vector<std::string>{givenUp});
            EXPECT_NE(WinFindByDef(Customers), 0) << "the customer's window was closed";
            return NetClient.connected && WinFindByDef(Customers) != 0;
        });
    });
    if (HasFatalFailure()) return;
    LogInAsAdmin();
    Menu("Module", "Sales");
    Do("A's Print dialog is open", [this] {
        EXPECT_TRUE(clientA.Heard("open", 120000)) << "A never opened its Print dialog: " << clientA.heard;
        return clientA.at.count("open") > 0;
    });
    Key('R', false, true);
    Check("Ctrl+R opens the report list", Opened(ReportList));
    ClickRow("Customer Balances");
    Key('P', false, true);
    Check("the print selection opens", Opened(CustomerBalanceSel));
    AnswerPrint(true);
    ClickButton("OK");
    auto served = std::make_shared<int64_t>(0);
    Check("B's report is printed whole, nothing told", [this, served] {
        *served = NowMs();
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_EQ(BusyMessageWindow, 0);
        const std::vector<fs::path> pdfs = FilesIn("print");
        EXPECT_EQ(pdfs.size(), 1u);
        EXPECT_NE((pdfs.size() == 1 ? PdfText(pdfs[0]) : "").find("Grand total"), std::string::npos);
        EXPECT_TRUE(NetClient.connected);
        return true;
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(clientA.Ended()) << "A's road failed: " << clientA.heard;
    ASSERT_TRUE(clientA.at.count("answered")) << clientA.heard;
    EXPECT_LT(*served, clientA.at["answered"]) << "B was served only once A's dialog was answered";
    EXPECT_EQ(clientA.said["done"], givenUp + " | ");

    ASSERT_TRUE(StopServer());
    std::ifstream log(serverFolder / "orvel.log");
    const std::string logged((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_NE(logged.find("Output held in a dialog past the acknowledgement time; the job stopped, session " +
                          clientA.said["session"] + " (Administrator  @127.0.0.1)"),
              std::string::npos)
        << logged;
}

// As the server sees a client that stopped answering: its wait for the
// client is shorter than the Print dialog stays open, and the client's
// word that its user answers a dialog comes only later. The server gives
// the report up; the client says so in words once the dialog is answered,
// keeps its connection and its customer window, and stores its change.
class ClientRoadUnheard : public ClientRoad {
    NetLimitsRec saved = NetLimits;
    void SetUp() override
    {
        NetLimits.ackMs = 1500;   // the server's, taken into its process
        ClientRoad::SetUp();
        NetLimits = saved;
        NetLimits.holdMs = 60000;
    }
    void TearDown() override
    {
        NetLimits = saved;
        ClientRoad::TearDown();
    }
};

TEST_F(ClientRoadUnheard, APrintTheServerGaveUpIsToldAndCostsNeitherTheConnectionNorTheWindows)
{
    LogInAsAdmin();
    Menu("Module", "Sales");
    Menu("Registers", "Customers");
    Check("the customer list opens", Opened(CustomerList));
    OpenFromList("C1", Customers);
    Retype("Name", "Kept while given up");
    PrintBalancesHeld(2500, true);
    Check("the print given up is told, and the client keeps its connection and windows", [] {
        EXPECT_TRUE(NetClient.connected);
        EXPECT_EQ(Messages(), std::vector<std::string>{"The server gave up the output: the program receiving it did "
                                                       "not answer in time. The rest of it was not printed."});
        EXPECT_NE(WinFindByDef(Customers), 0) << "the customer's window was closed";
        return NetClient.connected && WinFindByDef(Customers) != 0;
    });
    Key(PlKey::F1 + 3, false, true);   // Ctrl+F4: the report list closes
    OkStoresQuietly("customer");
    EXPECT_EQ(Run(), 0);
}

// The server goes away under a client whose customer window holds a
// changed name, and the user presses OK: the client says once that the
// connection was lost, names the window whose change was not stored and
// that the program ends, and ends without asking about that change
// (nothing could store it). The name the server kept is the old one.
TEST_F(ClientRoad, WhenTheServerGoesAwayTheClientSaysSoOnceAndEnds)
{
    LogInAsAdmin();
    Menu("Module", "Sales");
    Menu("Registers", "Customers");
    Check("the customer list opens", Opened(CustomerList));
    OpenFromList("C1", Customers);
    Retype("Name", "Renamed while the server went");
    Do("the server goes away", [this] {
        EXPECT_TRUE(StopServer());
        return true;
    });
    ClickOk();
    EXPECT_EQ(Run(), 0);

    const std::vector<std::string> told = Messages();
    ASSERT_EQ(told.size(), 1u) << ::testing::PrintToString(told);
    EXPECT_EQ(told[0].rfind("The connection to the server was lost.", 0), 0u) << told[0];
    EXPECT_NE(told[0].find("Not stored: Customers C1."), std::string::npos) << told[0];
    EXPECT_NE(told[0].find("The program ends now"), std::string::npos) << told[0];

    RunMode = 0;   // the check reads the file itself, not through a server
    ASSERT_TRUE(OpenForCheck((serverFolder / "demo.VDB").string()));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "C1", &r));
    EXPECT_EQ(TextAt(r.data(), CUVc::Name).find("Renamed"), std::string::npos);
}

}  // namespace
