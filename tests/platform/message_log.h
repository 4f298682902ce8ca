// message_log.h - the messages that window procedures under test saw, in
// order, for the tests of message order.
#pragma once

#include <cstdint>
#include <vector>

struct LoggedMsg {
    uint32_t win, msg;
    uintptr_t wParam;
    intptr_t lParam;
};

inline std::vector<LoggedMsg> gLog;

// The messages of one window in the log, in order.
inline std::vector<uint32_t> Msgs(uint32_t win)
{
    std::vector<uint32_t> out;
    for (const LoggedMsg &r : gLog)
        if (r.win == win) out.push_back(r.msg);
    return out;
}
