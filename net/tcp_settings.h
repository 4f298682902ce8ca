// tcp_settings.h - the TCP settings of "QVTCP.INI" (tcp_settings.cpp) and
// the layout of their "setuptcp" section, which the settings file and the
// text import both read through TcpSettingsValue.
#pragma once

#include <cstdint>
#include <string>

constexpr uint16_t TcpRunModeNone = 65535;   // the file named no run mode
constexpr const char *TcpDefaultAddress = "127.0.0.1";
constexpr int TcpSettingsValues = 4;         // value lines after the tag
constexpr int TcpAddressMax = 20, TcpRunModeTextMax = 60;

struct TcpSettingsRec {
    std::string serverAddress = TcpDefaultAddress;
    uint16_t clientPort = 1234;
    uint16_t serverPort = 1234;
    uint16_t runMode = TcpRunModeNone;
};
extern TcpSettingsRec TcpSettings;

// Takes value line `index` (0: server address, 1: client port, 2: server
// port, 3: run mode) of a "setuptcp" section from text, the first field
// of its line, into *out. The address is cut to 20 characters, an empty
// one is the default; a port is a number 1..65535; the run mode is empty
// (none given) or a number 0..3. False for a value that is not valid:
// its field in *out is left as it was.
bool TcpSettingsValue(int index, const std::string &text, TcpSettingsRec *out);
// Reads the "setuptcp" section of a settings file's text into *out
// (defaults first); false when the section is missing. *bad (when given)
// gets 0, or the 1-based line after the tag of the first value that is
// not valid (that value keeps its default).
bool TcpSettingsParse(const std::string &text, TcpSettingsRec *out, int *bad = nullptr);
// Makes s the settings the network layer reads: the server address and
// the two ports (the run mode is the start-up's, TcpSettingsLoad).
void TcpSettingsTake(const TcpSettingsRec &s);
// Reads "QVTCP.INI" of the current directory into TcpSettings, sets the
// run mode, the ports and SocketsActive; 0 when sockets are wanted, else
// the run mode. A value that is not valid is told and keeps its default.
int TcpSettingsLoad();
