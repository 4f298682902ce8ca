// tcp_settings.h - the TCP settings of "QVTCP.INI" (tcp_settings.cpp).
#pragma once

#include <cstdint>
#include <string>

constexpr uint16_t TcpRunModeNone = 65535;   // the file named no run mode
constexpr const char *TcpDefaultAddress = "127.0.0.1";

struct TcpSettingsRec {
    std::string serverAddress = TcpDefaultAddress;
    uint16_t clientPort = 1234;
    uint16_t serverPort = 1234;
    uint16_t runMode = TcpRunModeNone;
};
extern TcpSettingsRec TcpSettings;

// Reads the "setuptcp" section of a settings file's text; false (the
// defaults in *out) when the section is missing.
bool TcpSettingsParse(const std::string &text, TcpSettingsRec *out);
// Reads "QVTCP.INI" of the current directory into TcpSettings, sets the
// run mode, the ports and SocketsActive; 0 when sockets are wanted, else
// the run mode.
int TcpSettingsLoad();
