// tcp_settings.cpp - the TCP settings file "QVTCP.INI": which run mode
// the program starts in, the server's address and the two ports.
//
// The file is a text exchange file with one section, tagged "setuptcp";
// each value is the first field of a line of its own (a field ends at
// TAB, CR, LF or VT):
//   setuptcp
//   server address   (at most 20 characters kept)
//   client port      (the port a client connects to)
//   server port      (the port a server listens on)
//   run mode         (empty: the run mode stays as it was)
// A missing file or section leaves the defaults and stand-alone mode.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "database/access/record_access.h"
#include "net/net.h"
#include "net/tcp_settings.h"
#include "shell/net_services.h"

TcpSettingsRec TcpSettings;

namespace {

// The first field of a line.
std::string FirstField(const std::string &line) {
    size_t end = line.find_first_of("\t\r\n\v");
    return end == std::string::npos ? line : line.substr(0, end);
}

// A 16-bit number as the import's field reader takes it: leading digits,
// anything else gives 0.
uint16_t Number16(const std::string &text) { return (uint16_t)std::strtol(text.c_str(), nullptr, 10); }

}  // namespace

bool TcpSettingsParse(const std::string &text, TcpSettingsRec *out) {
    *out = TcpSettingsRec{};
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (FirstField(line) == "setuptcp") break;
    if (in.eof() && FirstField(line) != "setuptcp") return false;
    std::string fields[4];
    for (std::string &f : fields) {
        if (!std::getline(in, line)) break;
        f = FirstField(line);
    }
    out->serverAddress = fields[0].substr(0, 20);
    if (out->serverAddress.empty()) out->serverAddress = TcpDefaultAddress;
    out->clientPort = Number16(fields[1]);
    out->serverPort = Number16(fields[2]);
    std::string mode = fields[3].substr(0, 60);
    out->runMode = mode.empty() ? TcpRunModeNone : Number16(mode);
    return true;
}

int TcpSettingsLoad() {
    std::ifstream file("QVTCP.INI", std::ios::binary);
    TcpSettingsRec s;
    bool section = false;
    if (file) {
        std::stringstream all;
        all << file.rdbuf();
        section = TcpSettingsParse(all.str(), &s);
    }
    TcpSettings = s;
    // No section: stand-alone. An empty run-mode line keeps the mode.
    if (!section)
        RunMode = 0;
    else if (s.runMode != TcpRunModeNone)
        RunMode = s.runMode;
    TcpPort = s.clientPort;
    TcpListenPort = s.serverPort;
    SocketsActive = (int16_t)RunMode >= RunModeServer;
    return SocketsActive ? 0 : RunMode;
}
