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
// The text import reads the same section with its own reader and the
// same TcpSettingsValue.
#include "net/tcp_settings.h"

#include <fstream>
#include <sstream>
#include <string>

#include "core/message_sink.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "net/net.h"
#include "shell/net_services.h"

TcpSettingsRec TcpSettings;

namespace {

// The first field of a line.
std::string FirstField(const std::string &line) {
    size_t end = line.find_first_of("\t\r\n\v");
    return end == std::string::npos ? line : line.substr(0, end);
}

// A whole decimal number in 0..max; false for anything else (signs,
// blanks and trailing characters too).
bool Number(const std::string &text, uint32_t max, uint16_t *out) {
    if (text.empty() || text.size() > 5) return false;
    uint32_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + uint32_t(c - '0');
    }
    if (v > max) return false;
    *out = uint16_t(v);
    return true;
}

}  // namespace

bool TcpSettingsValue(int index, const std::string &text, TcpSettingsRec *out) {
    uint16_t v = 0;
    switch (index) {
    case 0:
        out->serverAddress = text.empty() ? std::string(TcpDefaultAddress) : text.substr(0, TcpAddressMax);
        return true;
    case 1:
    case 2:
        if (!Number(text, 65535, &v) || v == 0) return false;
        (index == 1 ? out->clientPort : out->serverPort) = v;
        return true;
    case 3:
        if (text.empty()) {
            out->runMode = TcpRunModeNone;
            return true;
        }
        // The client's is the highest run mode.
        if (text.size() > TcpRunModeTextMax || !Number(text, RunModeClient, &v)) return false;
        out->runMode = v;
        return true;
    default:
        return false;
    }
}

bool TcpSettingsParse(const std::string &text, TcpSettingsRec *out, int *bad) {
    *out = TcpSettingsRec{};
    if (bad) *bad = 0;
    std::istringstream in(text);
    std::string line;
    bool section = false;
    while (!section && std::getline(in, line)) section = FirstField(line) == "setuptcp";
    if (!section) return false;
    for (int i = 0; i < TcpSettingsValues; i++) {
        std::string value;
        if (std::getline(in, line)) value = FirstField(line);
        if (!TcpSettingsValue(i, value, out) && bad && *bad == 0) *bad = i + 1;
    }
    return true;
}

void TcpSettingsTake(const TcpSettingsRec &s) {
    TcpSettings = s;
    TcpPort = s.clientPort;
    TcpListenPort = s.serverPort;
}

int TcpSettingsLoad() {
    std::ifstream file("QVTCP.INI", std::ios::binary);
    TcpSettingsRec s;
    bool section = false;
    int bad = 0;
    if (file) {
        std::stringstream all;
        all << file.rdbuf();
        section = TcpSettingsParse(all.str(), &s, &bad);
    }
    if (bad) {
        char text[256];
        GetUiTextC(text, Texts::TcpSettingBad);
        std::string told = std::string(text) + " " + std::to_string(bad + 1);   // the tag is line 1
        MessageSinkShow(told.c_str());
    }
    TcpSettingsTake(s);
    // No section: stand-alone. An empty run-mode line keeps the mode.
    if (!section)
        RunMode = 0;
    else if (s.runMode != TcpRunModeNone)
        RunMode = s.runMode;
    SocketsActive = (int16_t)RunMode >= RunModeServer;
    return SocketsActive ? 0 : RunMode;
}
