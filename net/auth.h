// auth.h - the server's guard: the challenge-response login of request 31
// (auth_login.cpp), the delay after failed logins (auth_limits.cpp) and
// each session's rights, checked before a request is served
// (auth_rights.cpp). docs/protocol.md, "The login" and "Rights", gives
// the bytes and the rules.
#pragma once

#include <cstdint>
#include <string>

#include "core/msg_buffer.h"
#include "shell/login.h"

// Texts the guard shows (the client shows them from the reply); a refused
// right shows Texts::NoRight.
constexpr int TextNotLoggedIn = 16000;
constexpr int TextLoginWait = 16002;

// ---- Login (auth_login.cpp) ----

// Request 31 for session `session` of connection `slot`: reads a step's
// body and writes its reply; false when the body does not parse. An
// accepted final step sets ServerLoginAccepted and the session's rights.
bool AuthLoginRequest(int slot, int session, MsgBuffer *request, MsgBuffer *reply);
// Where the server's login nonces come from: the random source. Only the
// network fuzz harness puts a fixed source here, so that the byte streams
// it replays can log in; the program never changes it.
extern bool (*AuthNonceSource)(uint8_t *out, size_t n);
// Forgets a session's login conversation and rights (a new session in its entry).
void AuthSessionReset(int session);

// ---- Failed logins (auth_limits.cpp) ----

struct AuthLimitsRec {
    int firstDelayMs = 1000;    // the wait after the first failure; doubled with each further one
    int maxDelayMs = 60000;     // the longest wait
    int forgetMs = 900000;      // an address, or a name at it, without failures this long starts afresh
};
extern AuthLimitsRec AuthLimits;

// Milliseconds before the address, or the user at that address, may try
// again (0: now). Failures elsewhere never make a user wait here.
uint64_t LoginWaitLeft(const std::string &address, const std::string &user);
// Counts a failure of both, and logs it with the wait it sets.
void LoginFailure(const std::string &address, const std::string &user);
// A login accepted: both start afresh.
void LoginSuccess(const std::string &address, const std::string &user);
// Appends a line to the server's log, control characters masked.
void AuthLog(const std::string &line);
// Forgets every failure (a server's start).
void LoginLimitsReset();

// ---- Rights (auth_rights.cpp) ----

// Keeps what a login gave session `session`: the access record's rows,
// whether the user is the administrator, and the person's code.
void AuthRightsSet(int session, const uint8_t *access, bool administrator, const uint8_t *code);
void AuthRightsClear(int session);
UserRightsRec AuthRightsOf(int session);
// True when session `session` is logged in as the administrator.
bool AuthIsAdministrator(int session);

// The checks of the current request's session (ServerCurrentSession).
// Writes: 0 when allowed, else the text of the refusal (shown already);
// without a session (the server's own work) 0.
int AuthRefuseWrite(uint16_t code, int reg, const uint8_t *record, uint32_t recid);
int AuthRefuseBlockStore(int block);
// Reads of the guarded registers (persons and access groups): true when allowed.
bool AuthMayRead(int reg);
// The rights a request without a register needs (imports).
bool AuthMayRun(uint16_t code);

// ---- Rights of runs (auth_runs.cpp) ----

// A job request of the current session (12, 21, 30, 42, 46..50) with its
// job record and, for an export, its kind: 0 when the user's menus would
// offer the run and he may write what it stores, else the text of the
// refusal (shown already).
int AuthRefuseRun(uint16_t code, int kind, const uint8_t *job);
