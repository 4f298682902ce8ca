// auth_login.cpp - the server's side of the login (request 31): a
// challenge-response in the manner of SCRAM-SHA-256, so that no password
// crosses the connection and none is kept in the file
// (core/password_verifier.h).
//
// First step: the client names the user and sends its nonce; the server
// answers with its own nonce and the person's salt and iterations. Final
// step: the client's proof; the server checks it against the person's
// verifier and answers with the access record and its own signature,
// which proves to the client that the server holds the verifier.
//
// A name that finds nobody is answered like any other, with a salt made
// from the name and a secret of this run, so that the first step does not
// tell who exists; its final step is refused. A company without persons
// answers with 0 iterations: no proof is asked and any pair enters, as a
// local login lets it. Failures are counted per address and per name
// (auth_limits.cpp); while a wait is on, a first step is answered with
// the wait and a final step is refused, and nothing is checked. The empty
// name, which the program tries first to find a company without persons,
// neither counts nor waits.
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <cstring>
#include <string>

#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "dict_offsets.h"
#include "net/auth.h"
#include "net/net.h"
#include "platform/socket.h"

bool (*AuthNonceSource)(uint8_t *out, size_t n) = RandomFill;

namespace {

// One login under way per session, between its two steps.
struct Conversation {
    bool open = false;
    std::string user;
    uint8_t clientNonce[ScramNonceSize] = {0};
    uint8_t serverNonce[ScramNonceSize] = {0};
    LoginTarget target;
    bool known = false;    // the name found someone whose proof can pass
    uint8_t salt[VerifierSaltSize] = {0};
    uint32_t iterations = 0;
};
Conversation Conversations[NetSlotCount];

std::string PeerAddress(int slot)
{
    if (slot < 0 || slot >= NetSlotCount || ConnTable[slot].socket < 0) return "?";
    std::string a = PlSocketPeerAddress(ConnTable[slot].socket);
    return a.empty() ? "?" : a;
}

void Log(const std::string &line) { AuthLog(line); }

// The salt of a name that finds nobody: the same within a run for the
// same name, so that asking twice tells nothing either.
void DecoySalt(const std::string &user, uint8_t *salt)
{
    static uint8_t secret[32];
    static bool made = false;
    if (!made) made = RandomFill(secret, sizeof secret);
    uint8_t mac[32];
    unsigned int n = 0;
    HMAC(EVP_sha256(), secret, sizeof secret, reinterpret_cast<const unsigned char *>(user.data()), user.size(), mac, &n);
    std::memcpy(salt, mac, VerifierSaltSize);
}

// First step: `u16` 1 was read; `ptext` user, `bytes(18)` client nonce.
bool FirstStep(int slot, int session, MsgBuffer *m, MsgBuffer *reply)
{
    uint8_t name[256];
    Conversation c;
    MsgGetPString(m, name);
    MsgGetBytes(m, c.clientNonce, ScramNonceSize);
    if (MsgFailed(m) || MsgRemaining(m) != 0) return false;
    c.user.assign(reinterpret_cast<const char *>(name + 1), name[0]);
    std::string address = PeerAddress(slot);
    Conversations[session].open = false;
    // A name-less try (the client's probe for a company without persons)
    // can prove no one's password: it neither waits nor counts.
    uint64_t wait = c.user.empty() ? 0 : LoginWaitLeft(address, c.user);
    if (wait) {
        Log("login of \"" + c.user + "\" from " + address + " refused: " + std::to_string(wait) +
            " ms to wait after failures");
        ShowTextMessage(TextLoginWait);
        MsgPutWord(reply, LoginWait);
        return MsgPutLong(reply, (uint32_t)wait);
    }
    if (!AuthNonceSource(c.serverNonce, ScramNonceSize)) return false;
    c.known = UserLoginTarget(name, &c.target);
    if (c.known && c.target.kind == LoginTarget::Open) {
        c.iterations = 0;   // nothing to prove
    } else if (c.known) {
        c.iterations = c.target.verifier.iterations;
        std::memcpy(c.salt, c.target.verifier.salt, VerifierSaltSize);
    } else {
        c.iterations = VerifierIterations;
        DecoySalt(c.user, c.salt);
    }
    c.open = true;
    Conversations[session] = c;
    MsgPutWord(reply, LoginChallenge);
    MsgPutBytes(reply, c.serverNonce, ScramNonceSize);
    MsgPutBytes(reply, c.salt, VerifierSaltSize);
    return MsgPutLong(reply, c.iterations);
}

// Final step: `u16` 2 was read; `bytes(18)` both nonces, `bytes(32)` proof.
bool FinalStep(int slot, int session, MsgBuffer *m, MsgBuffer *reply)
{
    uint8_t clientNonce[ScramNonceSize], serverNonce[ScramNonceSize], proof[ScramKeySize];
    MsgGetBytes(m, clientNonce, ScramNonceSize);
    MsgGetBytes(m, serverNonce, ScramNonceSize);
    MsgGetBytes(m, proof, ScramKeySize);
    if (MsgFailed(m) || MsgRemaining(m) != 0) return false;
    Conversation c = Conversations[session];
    Conversations[session] = Conversation{};   // one proof per challenge
    std::string address = PeerAddress(slot);
    uint8_t signature[ScramKeySize] = {0};
    bool nonces = c.open && BytesEqualConstant(clientNonce, c.clientNonce, ScramNonceSize) &&
                  BytesEqualConstant(serverNonce, c.serverNonce, ScramNonceSize);
    // A failure since this challenge was given (by another session of the
    // address) sets a wait that holds for its proof too: otherwise many
    // sessions, each given its challenge before the first failure, would
    // all have their proofs checked at once. The proof is refused unchecked
    // and, not having been tried, counts no failure; its challenge is spent.
    const uint64_t wait = c.open && !c.user.empty() ? LoginWaitLeft(address, c.user) : 0;
    if (wait) {
        Log("proof of \"" + c.user + "\" from " + address + " refused unchecked: " + std::to_string(wait) +
            " ms to wait after failures");
        ShowTextMessage(TextLoginWait);
    }
    const bool tried = nonces && !wait;
    bool proven = false;
    if (tried && c.known && c.target.kind == LoginTarget::Open) {
        proven = true;
    } else if (tried && c.known) {
        std::string message = ScramAuthMessage(c.user, c.clientNonce, c.serverNonce, c.salt, c.iterations);
        proven = ScramServerCheck(c.target.verifier, message, proof, signature);
    }
    MemBlock h = 0;
    uint8_t *access = RecBufferNew(AccessVc::Number, &h);
    if (!access) return false;
    uint8_t name[256];
    PStringFromC(name, c.user.c_str());
    ServerLoginAccepted = proven && UserLoginAcceptTarget(c.target, name, access);
    if (ServerLoginAccepted) {
        LoginSuccess(address, c.user);
        AuthRightsSet(session, access, UserIsAdministrator, name);
        Log("login of \"" + c.user + "\" from " + address + " accepted");
    } else {
        OPENSSL_cleanse(signature, sizeof signature);
        if (c.open && !wait && !c.user.empty()) LoginFailure(address, c.user);
        RecClear(AccessVc::Number, access);
        name[0] = 0;
    }
    MsgPutPString(reply, name);
    MsgPutByte(reply, ServerLoginAccepted);
    MsgPutRecord(reply, AccessVc::Number, access);
    MsgPutByte(reply, ServerLoginAccepted && UserIsAdministrator);
    MsgPutBytes(reply, signature, ScramKeySize);
    RecBufferFree(AccessVc::Number, &h);
    return !MsgFailed(reply);
}

}  // namespace

bool AuthLoginRequest(int slot, int session, MsgBuffer *request, MsgBuffer *reply)
{
    ServerLoginAccepted = false;
    if (session < 0 || session >= NetSlotCount) return false;
    uint16_t step = 0;
    if (!MsgGetWord(request, &step)) return false;
    if (step == LoginStepFirst) return FirstStep(slot, session, request, reply);
    if (step == LoginStepFinal) return FinalStep(slot, session, request, reply);
    return false;   // a password in clear (the older body) is never taken
}

void AuthSessionReset(int session)
{
    if (session < 0 || session >= NetSlotCount) return;
    Conversations[session] = Conversation{};
    AuthRightsClear(session);
}
