// password_verifier.h - passwords kept and proven without their text: a
// salted, slow verifier (PBKDF2-SHA-256) and the challenge-response
// login built on it (SCRAM-SHA-256: RFC 5802 with the hash of RFC 7677).
//
// A verifier holds what a server needs to check a proof and to prove
// itself, never what a client needs to log in:
//   SaltedPassword = PBKDF2-HMAC-SHA-256(password, salt, iterations)
//   StoredKey      = SHA-256(HMAC(SaltedPassword, "Client Key"))
//   ServerKey      = HMAC(SaltedPassword, "Server Key")
// The login: the client sends its name and a nonce; the server answers
// with the salt, the iterations and its own nonce; the client sends
//   ClientProof = ClientKey XOR HMAC(StoredKey, AuthMessage)
// and the server, which recovers ClientKey and compares its hash with
// StoredKey, answers with HMAC(ServerKey, AuthMessage), which the client
// checks. AuthMessage is ScramAuthMessage below, the same on both sides.
//
// Stored form (VerifierBytes, 88 bytes, the same in every byte order):
//   +0  u8  kind: 0 none (an older record: its password is still text), 1 this verifier
//   +1  3 bytes 0
//   +4  u32 iterations, little-endian
//   +8  16 bytes salt
//   +24 32 bytes StoredKey
//   +56 32 bytes ServerKey
// Text form (the text exchange): "SCRAM-SHA-256$<iterations>:<salt>$<StoredKey>:<ServerKey>"
// with the three byte strings in base64.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

constexpr size_t VerifierBytes = 88;
constexpr size_t VerifierSaltSize = 16;
constexpr size_t ScramKeySize = 32;
constexpr size_t ScramNonceSize = 18;
constexpr uint8_t VerifierKindScram = 1;
// No verifier is made or accepted with fewer iterations or more than this.
constexpr uint32_t VerifierIterationsMin = 1000;
constexpr uint32_t VerifierIterationsMax = 10000000;
// A client computes a login proof with at most this many times its own
// VerifierIterations: a server whose verifiers were made with a count
// raised since still serves, while one naming more (a lying or damaged
// server, up to VerifierIterationsMax) cannot make each login cost the
// client seconds.
constexpr uint32_t ScramClientIterationsSpread = 8;

struct PasswordVerifier {
    uint32_t iterations = 0;
    uint8_t salt[VerifierSaltSize] = {0};
    uint8_t storedKey[ScramKeySize] = {0};
    uint8_t serverKey[ScramKeySize] = {0};
};

// Iterations of the verifiers made from now on (a verifier keeps its own).
extern uint32_t VerifierIterations;

// True when a client computes a login proof with the iterations a server
// named: VerifierIterationsMin up to ScramClientIterationsSpread times
// VerifierIterations.
inline bool ScramClientIterationsAccepted(uint32_t iterations)
{
    return iterations >= VerifierIterationsMin &&
           uint64_t(iterations) <= uint64_t(VerifierIterations) * ScramClientIterationsSpread;
}

// Fills out with n random bytes; false when the system has none to give.
bool RandomFill(uint8_t *out, size_t n);

// The verifier of a password with the salt and iterations given.
bool VerifierDerive(std::string_view password, const uint8_t *salt, uint32_t iterations, PasswordVerifier *out);
// A verifier of a password with a fresh random salt and VerifierIterations.
bool VerifierMake(std::string_view password, PasswordVerifier *out);
// True when the password is the one the verifier was made of (a local login).
bool VerifierMatches(const PasswordVerifier &v, std::string_view password);

// Stored form: in from VerifierBytes bytes (false: kind 0, or damaged), out into them.
bool VerifierLoad(const uint8_t *in, PasswordVerifier *out);
void VerifierStore(const PasswordVerifier &v, uint8_t *out);
// True when the stored form holds a verifier (the marker of a converted password).
bool VerifierPresent(const uint8_t *in);

// Text form; false for any text that is not exactly one.
std::string VerifierToText(const PasswordVerifier &v);
bool VerifierFromText(std::string_view text, PasswordVerifier *out);

// The message both sides sign: the client's first message without its
// header, the server's first message and the client's final message
// without its proof, in the RFC's text form.
std::string ScramAuthMessage(std::string_view user, const uint8_t *clientNonce, const uint8_t *serverNonce,
                             const uint8_t *salt, uint32_t iterations);

// Client: the proof of a password, and the server signature to expect.
bool ScramClientProof(std::string_view password, const uint8_t *salt, uint32_t iterations,
                      std::string_view authMessage, uint8_t *proof, uint8_t *serverSignature);
// Server: true when proof proves the verifier's password; serverSignature
// is then the answer that proves the server to the client.
bool ScramServerCheck(const PasswordVerifier &v, std::string_view authMessage, const uint8_t *proof,
                      uint8_t *serverSignature);

// Compares n bytes in a time that does not depend on where they differ.
bool BytesEqualConstant(const uint8_t *a, const uint8_t *b, size_t n);
