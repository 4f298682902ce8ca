// auth_runs.cpp - the rights of the job requests: a report or document
// run (12, 42), a text export (21), a maintenance routine (30) and the
// runs 46..50 are served only when the session's user could have started
// them from the menus, and a run that writes only when the user may write
// what it writes. The answer is the one the program gives the same user
// at its own screen (RightsRefuseRun, shell/job_rights.cpp). A refused
// run shows text 16001 (it travels in the reply) and runs nothing.
#include <cstdint>

#include "net/auth.h"
#include "net/net.h"

// A run without a session is the server's own (a client's request always
// carries its session, as the binding rule of server_handle.cpp makes
// sure): it asks nothing.
int AuthRefuseRun(uint16_t code, int kind, const uint8_t *job)
{
    if (ServerCurrentSession < 0) return 0;
    return RightsRefuseRun(AuthRightsOf(ServerCurrentSession), code, kind, job);
}
