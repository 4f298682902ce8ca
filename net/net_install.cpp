// net_install.cpp - puts the network layer into the shell's service
// table: the TCP settings at start-up, listening, socket events, the
// client's connection with its company, the end of a session, the
// server's module and status window; and the network's turn in the
// program's own wait loop (the platform's timer).
#include <cstdio>

#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "dict_offsets.h"
#include "net/net.h"
#include "net/tcp_settings.h"
#include "platform/queue.h"
#include "shell/database_open.h"
#include "shell/net_services.h"
#include "shell/shell.h"
#include "shell/window_utils.h"

namespace {


void LoadSettings() { TcpSettingsLoad(); }

bool Listen(uint16_t port, uint32_t frame) {
    NetServerStart();
    ServerServing = CurrentModule == 1;   // the server serves while its module is current
    return NetServerListen(port, frame);
}

void OnEvent(uint32_t, int socket, int bits) { NetOnSocketEvent(socket, bits); }

// Tells once why the connection to the server failed, and ends the
// program: without its server a client has nothing to work on.
void ConnectionFailed(int error) {
    uint8_t text[256];
    ConnectFailureText(TcpSettings.serverAddress.c_str(), TcpPort, error, text);
    StopMessage(text);
    QuitFlag = QuitForced = 1;
}

// Connects, shakes hands and opens the server's company; a company that
// does not open ends the session before the next attempt. A server that
// cannot be reached is tried once, and the user is told once, naming the
// server, its port and why; the program then ends.
bool ClientConnectCompany() {
    NetClientStart();
    NetClientWindow = FrameWindow;
    for (int attempt = 0; attempt < 3; attempt++) {
        int error = 0;
        if (!ConnectOnce(TcpSettings.serverAddress.c_str(), TcpPort, &error)) {
            NetClientClose();
            // The server said no (no free session, another version, a
            // changed certificate) and the user was told: the program ends.
            if (NetClient.refused) QuitFlag = QuitForced = 1;
            else ConnectionFailed(error);
            return false;
        }
        uint8_t busy[256];
        GetUiText(busy, Texts::OpeningServerCompany);
        ShowBusyMessage(busy);
        uint8_t none[1] = {0};
        DbOpen(none, 0);
        CloseBusyMessage();
        if (DbOpenFlag) return true;
        NetClientClose();
    }
    NetClientClose();
    ConnectionFailed(NetConnectNoCompany);
    return false;
}

void ServerRunModeOn() {
    LoggedInFlag = 0;
    RunMode = RunModeServer;
}

bool RequestInProgress() { return NetClient.sendLevel > 0 || ServerRunningClass != 0; }

}  // namespace

void NetInstall() {
    NetServices = NetServicesRec{
        .tcpSettingsLoad = LoadSettings,
        .serverListen = Listen,
        .onSocketEvent = OnEvent,
        .clientClose = NetClientClose,
        .connectLoop = ClientConnectCompany,
        .sessionEnd = NetClientClose,
        .serverRunModeOn = ServerRunModeOn,
        .requestInProgress = RequestInProgress,
        .serverStatusPaint = ServerStatusPaint,
        .moduleOneSwitch = ModuleOneSwitch,
    };
    // The time-outs run in the program's own wait, whatever else it does.
    MsgSetTimer(NetTimerTick);
}
