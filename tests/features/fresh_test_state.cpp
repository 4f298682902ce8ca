// fresh_test_state.cpp - every test of the test program starts from the
// state a program starts with, whatever ran before it in the same process
// and in whatever order: the shared tables a test may fill are cleared
// before it starts.
//
// Put back as the test program started (taken once the global
// environments installed theirs; tests/features/start_tables.h): every
// table the seams' list names, which is every table the program's start
// fills (the registers' hooks among them: a test that installed the
// rules would have the next one's stores checked by them).
// Cleared: the output job's state, with the unit tests' job record
// (TestJob) zeroed and attached, detached for the roads, which attach
// their own as the program does; the ring of saved jobs; the client's
// table of remote calls, its transport and the run mode (a client test
// would otherwise leave the next test talking to no server); the
// network a road's start installs (its services are a table between the
// layers, put back above): the sockets' flag, the TCP settings and
// ports, the client's state and the window its socket events go to (the
// road's frame window, gone after it, would swallow the next client's
// events, whose channel then never comes up) and the file of pinned
// servers; the wait's idle hook and what was posted to it; the shell's flags (a road's program
// ends with the quit flag set, and the next test's first message would
// close its windows); the window-event handlers set at run time; the
// company block bound for the country variant (a frame binds it and
// none unbinds it: a road's company of variant 13 would have the next
// test's customers refused for a code that is not all digits); and
// an interface file a test left loaded, with the lookup of its texts (a
// date's long form, which names the month from the file, would name it
// in a test that has none).
// What a fixture needs it sets in its own SetUp, which runs after this.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/company_variant.h"
#include "core/interface_load.h"
#include "core/memblock.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/transport.h"
#include "net/net.h"
#include "net/tcp_settings.h"
#include "net/tls.h"
#include "output/job_queue.h"
#include "output/output_job.h"
#include "platform/queue.h"
#include "shell/net_services.h"
#include "shell/shell.h"
#include "shell/window_event_handlers.h"
#include "tests/features/start_tables.h"
#include "tests/output/test_job.h"

namespace {

// Roads are the test files under tests/roads/.
bool IsRoad(const ::testing::TestInfo &test)
{
    const char *file = test.file();
    return file && std::string(file).find("tests/roads/") != std::string::npos;
}

// Frees the saved jobs whose blocks are still alive: a test that reset
// the memory blocks leaves the ring with handles that are no longer its.
void JobQueueForget()
{
    for (MemBlock &h : JobQueue.slots)
        if (MemIsValid(h)) MemFree(&h);
    JobQueue = JobQueueRec{};
}

// Whether an interface file is loaded.
bool InterfaceLoaded() { return InterfaceVersionLoaded != 0 || WinTypeTable != nullptr; }

// Forgets any interface file and the text lookup a test left, as a
// program is before it loads its file; blocks of the file that a test
// freed by their handles are not freed again.
void InterfaceForget()
{
    for (MemBlock &h : DefBlocks)
        if (!MemIsValid(h)) h = 0;
    InterfaceUnload();
}

// The values a program starts with that are not a type's zero, taken
// before the first test, when every static has been set (not when this
// listener is made, which may come before them).
struct StartValues {
    uint16_t tcpPort = 0;
    uint16_t tcpListenPort = 0;
    std::string pinFile;
    bool interfaceLoaded = false;
};

class FreshTestState : public ::testing::EmptyTestEventListener {
    StartValues start;
    void OnTestProgramStart(const ::testing::UnitTest &) override
    {
        start.tcpPort = TcpPort;
        start.tcpListenPort = TcpListenPort;
        start.pinFile = TlsPinFile;
    }
    // The global environments have installed what the program's start
    // gives the tests.
    void OnEnvironmentsSetUpEnd(const ::testing::UnitTest &) override
    {
        StartTablesTake();
        start.interfaceLoaded = InterfaceLoaded();
    }
    void OnTestStart(const ::testing::TestInfo &test) override
    {
        std::memset(TestJob, 0, ReportParamsSize);
        OutputJobState = OutputJobStateRec{};
        if (!IsRoad(test)) OutputJobState.jobRecord = TestJob;
        JobQueueForget();
        RemoteOps = RemoteOpsTable{};
        TransportInstall(nullptr, nullptr);
        RemoteOutputActive = false;
        RemoteConnectionLost = false;
        RunMode = 0;
        SocketsActive = false;
        TcpSettings = TcpSettingsRec{};
        TcpPort = start.tcpPort;
        TcpListenPort = start.tcpListenPort;
        ClientSessionId = 0;
        NetClient = NetClientStateRec{};
        NetClientWindow = 0;
        TlsPinFile = start.pinFile;
        MsgSetIdleHook(nullptr);
        MsgClear();
        ShellStateReset();
        LockOwnerId = LockOwnerSelf;
        WindowEventHandlersClear();
        if (!start.interfaceLoaded) InterfaceForget();
        CompanyVariantBind(nullptr);
        StartTablesPutBack();   // last: the start's entries win over what was cleared above
    }
    void OnTestEnd(const ::testing::TestInfo &test) override
    {
        OutputJobState.jobRecord = nullptr;
        if (std::getenv("ORVEL_TRACE_START_TABLES")) {
            std::string changed = StartTablesChanged();
            if (changed.empty() && InterfaceLoaded()) changed = "the interface file";
            if (!changed.empty())
                std::printf("LEFT %s.%s: %s\n", test.test_suite_name(), test.name(), changed.c_str());
        }
    }
};

const bool Appended = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshTestState);
    return true;
}();

}  // namespace
