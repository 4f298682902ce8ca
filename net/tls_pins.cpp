// tls_pins.cpp - the servers this client knows: "QVTCP.PIN" beside
// QVTCP.INI, one line per server, "host port fingerprint". A server
// is pinned at the first connection to it; from then on a certificate
// with another fingerprint is refused (the client says so, with both).
// To accept a server that was set up anew, its line is removed by hand.
#include <fstream>
#include <sstream>

#include "net/tls.h"

std::string TlsPinFile = "QVTCP.PIN";

std::string TlsPinFind(const std::string &host, uint16_t port) {
    std::ifstream in(TlsPinFile);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string h, print;
        unsigned p = 0;
        if (words >> h >> p >> print && h == host && p == port) return print;
    }
    return std::string();
}

bool TlsPinAdd(const std::string &host, uint16_t port, const std::string &fingerprint) {
    std::ofstream out(TlsPinFile, std::ios::app);
    out << host << ' ' << port << ' ' << fingerprint << '\n';
    out.flush();
    return bool(out);
}
