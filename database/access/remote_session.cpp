// remote_session.cpp - client stubs of the session's own requests: the
// login and the end of the session (requests 31 and 24 of
// docs/protocol.md). The handshake that opens the session (requests 0
// and 15) belongs to the network layer.
#include <openssl/crypto.h>

#include <cstring>
#include <string>
#include <string_view>

#include "core/password_verifier.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/remote_internal.h"

bool RemoteLoginAdministrator = false;
bool RemoteLoginRefused = false;

namespace {

constexpr int TextServerUnproven = 16004;
constexpr int TextServerIterationsRefused = 16050;

std::string_view Text(const uint8_t *p) { return std::string_view(reinterpret_cast<const char *>(p + 1), p[0]); }

// What the first step's challenge gave.
struct Challenge {
    uint8_t serverNonce[ScramNonceSize] = {0};
    uint8_t salt[VerifierSaltSize] = {0};
    uint32_t iterations = 0;
};

// First step: the name and the client's nonce; false when refused, told
// to wait (the server's message says so), or the reply does not parse.
bool AskChallenge(const uint8_t *name, const uint8_t *clientNonce, Challenge *c)
{
    MsgBuffer request, reply;
    MsgPutWord(&request, LoginStepFirst);
    MsgPutPString(&request, name);
    MsgPutBytes(&request, clientNonce, ScramNonceSize);
    if (!RemoteExchange(ReqLogin, &request, &reply)) return false;
    uint16_t answer = 0;
    MsgGetWord(&reply, &answer);
    if (answer == LoginWait) {
        MsgGetLong(&reply, nullptr);
        RemoteReplyDone(&reply);
        RemoteConnectionLost = false;   // a wait is an answer, not a lost connection
        return false;
    }
    MsgGetBytes(&reply, c->serverNonce, ScramNonceSize);
    MsgGetBytes(&reply, c->salt, VerifierSaltSize);
    MsgGetLong(&reply, &c->iterations);
    return answer == LoginChallenge && RemoteReplyDone(&reply);
}

}  // namespace

bool SessionEndRequest(uint32_t session) {
    MsgBuffer request, reply;
    MsgPutLong(&request, session);
    return RemoteExchange(ReqSessionEnd, &request, &reply) && RemoteReplyDone(&reply);
}

bool LoginRemote(int accessReg, uint8_t *name, const uint8_t *password, uint8_t *accessRecord) {
    RemoteLoginRefused = false;
    uint8_t clientNonce[ScramNonceSize];
    Challenge c;
    if (!RandomFill(clientNonce, sizeof clientNonce) || !AskChallenge(name, clientNonce, &c)) return false;
    // Iterations 0: the server keeps no persons and asks no proof.
    uint8_t proof[ScramKeySize] = {0}, expected[ScramKeySize] = {0};
    bool proving = c.iterations != 0;
    if (proving && !ScramClientIterationsAccepted(c.iterations)) {
        // Not a count our server names: nothing is computed or sent.
        ShowTextMessage(TextServerIterationsRefused);
        RemoteFail();
        return false;
    }
    if (proving) {
        std::string message = ScramAuthMessage(Text(name), clientNonce, c.serverNonce, c.salt, c.iterations);
        if (!ScramClientProof(Text(password), c.salt, c.iterations, message, proof, expected)) {
            RemoteFail();
            return false;
        }
    }
    MsgBuffer request, reply;
    MsgPutWord(&request, LoginStepFinal);
    MsgPutBytes(&request, clientNonce, ScramNonceSize);
    MsgPutBytes(&request, c.serverNonce, ScramNonceSize);
    MsgPutBytes(&request, proof, ScramKeySize);
    if (!RemoteExchange(ReqLogin, &request, &reply)) return false;
    ScratchRecord got(accessReg);
    uint8_t serverName[256], signature[ScramKeySize];
    uint8_t accepted = 0, administrator = 0;
    MsgGetPString(&reply, serverName);
    MsgGetByte(&reply, &accepted);
    RemoteGetRecord(&reply, &got);
    MsgGetByte(&reply, &administrator);
    MsgGetBytes(&reply, signature, ScramKeySize);
    bool done = RemoteReplyDone(&reply);
    bool proven = !proving || BytesEqualConstant(signature, expected, ScramKeySize);
    OPENSSL_cleanse(expected, sizeof expected);
    if (!done) return false;
    if (accepted && !proven) {
        ShowTextMessage(TextServerUnproven);
        RemoteFail();
        return false;
    }
    std::memcpy(name, serverName, (size_t)serverName[0] + 1);
    RemoteRecordTake(&got, accessRecord);
    if (accepted) RemoteLoginAdministrator = administrator != 0;
    RemoteLoginRefused = accepted == 0;
    return accepted != 0;
}
