// raw_login.h - the client's half of the two-step login (request 31, see
// docs/protocol.md, "The login") for clients that frame their own
// requests: the network tests' and benchmarks' raw connections and the
// server's fuzz seeds. Each step's body is made here and each reply body
// read here; sending is the caller's. The program's own client logs in
// through database/access/remote_session.cpp.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "core/msg_buffer.h"
#include "core/password_verifier.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/remote_calls.h"
#include "dict_offsets.h"

// One login under way, between its steps.
struct RawLogin {
    std::string user, password;
    uint8_t clientNonce[ScramNonceSize] = {0};
    uint8_t serverNonce[ScramNonceSize] = {0};
    uint8_t salt[VerifierSaltSize] = {0};
    uint32_t iterations = 0;                  // 0: the server asks no proof (a company without persons)
    uint8_t expected[ScramKeySize] = {0};     // the signature that proves the server
};

// The first step's body: the name and the client's nonce, made now
// unless the caller set one (nonceGiven).
inline bool RawLoginFirst(RawLogin *l, MsgBuffer *body, bool nonceGiven = false) {
    if (!nonceGiven && !RandomFill(l->clientNonce, ScramNonceSize)) return false;
    uint8_t name[256];
    PStringFromC(name, l->user.c_str());
    MsgPutWord(body, LoginStepFirst);
    MsgPutPString(body, name);
    return MsgPutBytes(body, l->clientNonce, ScramNonceSize);
}

enum class RawChallenge { Given, Wait, Broken };

// Reads the first step's reply body: the challenge, or the wait the
// server asks (in *waitMs).
inline RawChallenge RawLoginTakeChallenge(RawLogin *l, MsgBuffer *reply, uint32_t *waitMs) {
    uint16_t answer = 0;
    MsgGetWord(reply, &answer);
    if (answer == LoginWait) {
        MsgGetLong(reply, waitMs);
        return MsgFailed(reply) ? RawChallenge::Broken : RawChallenge::Wait;
    }
    MsgGetBytes(reply, l->serverNonce, ScramNonceSize);
    MsgGetBytes(reply, l->salt, VerifierSaltSize);
    MsgGetLong(reply, &l->iterations);
    return answer == LoginChallenge && !MsgFailed(reply) ? RawChallenge::Given : RawChallenge::Broken;
}

// The final step's body: both nonces and the proof of the password
// (zeros when no proof is asked).
inline bool RawLoginFinal(RawLogin *l, MsgBuffer *body) {
    uint8_t proof[ScramKeySize] = {0};
    if (l->iterations) {
        std::string message = ScramAuthMessage(l->user, l->clientNonce, l->serverNonce, l->salt, l->iterations);
        if (!ScramClientProof(l->password, l->salt, l->iterations, message, proof, l->expected)) return false;
    }
    MsgPutWord(body, LoginStepFinal);
    MsgPutBytes(body, l->clientNonce, ScramNonceSize);
    MsgPutBytes(body, l->serverNonce, ScramNonceSize);
    return MsgPutBytes(body, proof, ScramKeySize);
}

struct RawLoginAnswer {
    bool accepted = false;
    bool administrator = false;
    bool serverProven = false;   // the signature matched (or no proof was asked)
};

// Reads the final step's reply body: to its end, or with whole false
// only the name and the verdict (for a caller without the interface
// file, which lays out the access record that follows). False when it
// does not parse.
inline bool RawLoginTakeAnswer(const RawLogin &l, MsgBuffer *reply, RawLoginAnswer *a, bool whole = true) {
    uint8_t name[256], accepted = 0, administrator = 0, signature[ScramKeySize] = {0};
    MsgGetPString(reply, name);
    MsgGetByte(reply, &accepted);
    a->accepted = accepted != 0;
    if (!whole) return !MsgFailed(reply);
    MemBlock h = 0;
    uint8_t *access = RecBufferNew(AccessVc::Number, &h);
    if (!access) return false;
    MsgGetRecord(reply, AccessVc::Number, access);
    RecBufferFree(AccessVc::Number, &h);
    MsgGetByte(reply, &administrator);
    MsgGetBytes(reply, signature, ScramKeySize);
    if (MsgFailed(reply) || MsgRemaining(reply) != 0) return false;
    a->administrator = administrator != 0;
    a->serverProven = !l.iterations || std::memcmp(signature, l.expected, ScramKeySize) == 0;
    return true;
}
