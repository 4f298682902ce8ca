// rights_fixture.h - access groups and persons stored straight into a
// test server's company (in the child, before it serves), and the
// fixture of the tests of what the server lets each person do.
#pragma once

#include <array>
#include <chrono>
#include <unistd.h>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "shell/window_table.h"
#include "tests/net/net_fixture.h"

namespace nettest {

// A login told to wait just after a failure is a check that holds only
// while the wait lasts. True when the test took the whole wait (a loaded
// machine stalled it) since `before`, when the failing proof was sent
// (LoginTrace::proofSent): the check cannot judge then, and the test
// skips the rest.
inline bool OutlastedWait(std::chrono::steady_clock::time_point before, uint32_t waitMs) {
    return std::chrono::steady_clock::now() - before >= std::chrono::milliseconds(waitMs);
}
constexpr const char *Stalled = "the machine stalled the test for a whole login wait: it cannot judge the wait";

inline void PutText(uint8_t *base, uint32_t offset, int max, const char *text) {
    uint8_t p[256];
    PStringFromC(p, text);
    PutPString(base, offset, max, p);
}

// Every record window of a register: a group refuses the register by
// refusing them all.
inline std::vector<int> RecordWindows(int reg) {
    std::vector<int> out;
    for (int t = 1; t < WinTypeCount; t++)
        if (WinDefExists(t) && WinTypeRegister(t) == reg && WinTypeWord(t, 0) == 3) out.push_back(t);
    return out;
}

// A row of an access list: kind, item, right.
using AccessRow = std::array<uint16_t, 3>;

// Rows that refuse every record window of reg.
inline void RefuseRegister(std::vector<AccessRow> *rows, int reg) {
    for (int t : RecordWindows(reg)) rows->push_back({2, uint16_t(t), 0});
}

// Stores what the test company needs; a store that fails ends the child.
inline void StoreGroup(const char *code, const std::vector<AccessRow> &rows) {
    MemBlock h = 0;
    uint8_t *g = RecBufferNew(AccessVc::Number, &h);
    PutText(g, AccessVc::Code, 5, code);
    MemBlock list = MemAlloc(uint32_t(rows.size() * 6));
    uint8_t *p = MemLock(list);
    for (size_t i = 0; i < rows.size(); i++)
        for (int k = 0; k < 3; k++) PutU16(p + i * 6 + 2 * k, 0, rows[i][k]);
    MemUnlock(list);
    PutU32(g, AccessVc::Matrix, list);
    uint32_t id = 0;
    int result = -100;
    RecInsertCheckedLocal(AccessVc::Number, g, &id, &result);
    if (result != RecDone) _exit(5);
    RecBufferFree(AccessVc::Number, &h);
}

inline void StorePerson(const char *code, const char *password, const char *group) {
    MemBlock h = 0;
    uint8_t *p = RecBufferNew(PEVc::Number, &h);
    PutText(p, PEVc::Code, 5, code);
    PutText(p, PEVc::Name, 60, code);
    PutText(p, PEVc::Password, 20, password);
    PutText(p, PEVc::AccessCode, 5, group);
    uint32_t id = 0;
    int result = -100;
    RecInsertCheckedLocal(PEVc::Number, p, &id, &result);
    if (result != RecDone) _exit(6);
    RecBufferFree(PEVc::Number, &h);
}

}  // namespace nettest

// A test server whose company ServerExtra() stores, with logins quick to prove.
class NetRightsTest : public NetServerTest {
protected:
    void SetUp() override {
        NetServerTest::SetUp();
        VerifierIterations = VerifierIterationsMin;
    }
    // Handshake and login as user; the session id (0: refused).
    static uint32_t Session(const nettest::RawConn &c, const char *user, const char *password) {
        uint32_t id = Open(c, false);
        return id && nettest::Login(c, id, user, password) == nettest::LoginOutcome::Accepted ? id : 0;
    }
};
