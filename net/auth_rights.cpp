// auth_rights.cpp - each session's rights and the checks the server makes
// with them before it serves a request: the same questions the menus ask
// (shell/user_rights.cpp), so a client gets by direct requests only what
// its menus would offer.
//
// - Writes to a register need one of its record windows; settings stores
//   need one of the block's settings windows.
// - Reads of the persons and of the access groups need one of their
//   record or list windows. A person record never leaves the server with
//   its verifier (server_dispatch.cpp blanks it), whoever reads it.
// - Only a user whose rights open the access-group window changes access
//   groups, makes or deletes persons, changes a person's code or group,
//   changes anything of the administrator or sets another person's
//   password; anyone else who may use the person window sets his own
//   password and the other fields of persons. An import, which can write
//   persons and groups, needs the same right, and only the administrator
//   gets the persons' verifiers in a text export.
// A refused write shows text 16001 and answers with it as its result; a
// refused read answers "not found". A write gets the answer the program
// gives the user at its own screen for the same write (RightsRefuseWrite).
// The record layer asks the same of every write a request makes in turn
// (database/access/write_gate.h): NetServerStart gives it these checks.
#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "dict_offsets.h"
#include "net/auth.h"
#include "net/net.h"

namespace {

constexpr int RowSize = 6;
constexpr int UserCodeLength = 5;

struct SessionRights {
    bool set = false;
    std::vector<uint8_t> rows;
    bool administrator = false;
    uint8_t code[6] = {0};   // the person's code (PString), empty for the administrator without a person
};
SessionRights Rights[NetSlotCount];

UserRightsRec Current() { return AuthRightsOf(ServerCurrentSession); }

}  // namespace

void AuthRightsSet(int session, const uint8_t *access, bool administrator, const uint8_t *code)
{
    if (session < 0 || session >= NetSlotCount) return;
    SessionRights r;
    r.set = true;
    r.administrator = administrator;
    MemBlock list = GetU32(access, AccessVc::Matrix);
    if (MemIsValid(list)) {
        uint32_t n = MemSize(list) / RowSize * RowSize;
        const uint8_t *p = MemLock(list);
        if (p) r.rows.assign(p, p + n);
        MemUnlock(list);
    }
    uint8_t length = code[0] > UserCodeLength ? UserCodeLength : code[0];
    r.code[0] = length;
    std::memcpy(r.code + 1, code + 1, length);
    Rights[session] = std::move(r);
}

void AuthRightsClear(int session)
{
    if (session >= 0 && session < NetSlotCount) Rights[session] = SessionRights{};
}

// Rights of a session that never logged in allow nothing.
UserRightsRec AuthRightsOf(int session)
{
    if (session < 0 || session >= NetSlotCount || !Rights[session].set) return UserRightsRec{};
    const SessionRights &r = Rights[session];
    return UserRightsRec{r.rows.data(), uint32_t(r.rows.size() / RowSize), r.administrator};
}

// The session's write answered as a user's own write is (RightsRefuseWrite).
// A write without a session is the server's own, as a run is
// (AuthRefuseRun): it asks nothing.
int AuthRefuseWrite(uint16_t code, int reg, const uint8_t *record, uint32_t recid)
{
    if (ServerCurrentSession < 0) return 0;
    static const uint8_t none[1] = {0};
    bool known = ServerCurrentSession < NetSlotCount;
    return RightsRefuseWrite(Current(), known ? Rights[ServerCurrentSession].code : none, code, reg, record, recid);
}

int AuthRefuseBlockStore(int block) { return ServerCurrentSession < 0 ? 0 : RightsRefuseBlock(Current(), block); }

bool AuthIsAdministrator(int session)
{
    return session >= 0 && session < NetSlotCount && Rights[session].set && Rights[session].administrator;
}

bool AuthMayRead(int reg)
{
    if (reg != PEVc::Number && reg != AccessVc::Number) return true;
    return RightsMayReadRegister(Current(), reg);
}

// An import is asked as the same user's import at his own screen is.
bool AuthMayRun(uint16_t code)
{
    return code != ReqImportRun || RightsRefuseRun(Current(), code, 0, nullptr) == 0;
}
