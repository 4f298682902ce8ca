// password_verifier.cpp - the verifier of a password and the SCRAM-SHA-256
// proofs over it (see password_verifier.h), through OpenSSL's libcrypto.
#include "core/password_verifier.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>
#include <openssl/sha.h>

#include <cstring>

uint32_t VerifierIterations = 100000;

namespace {

constexpr std::string_view TextPrefix = "SCRAM-SHA-256$";

bool Hmac(const uint8_t *key, size_t keyLength, const void *data, size_t n, uint8_t *out)
{
    unsigned int length = 0;
    return HMAC(EVP_sha256(), key, (int)keyLength, static_cast<const unsigned char *>(data), n, out, &length) &&
           length == ScramKeySize;
}

bool Salted(std::string_view password, const uint8_t *salt, uint32_t iterations, uint8_t *out)
{
    if (iterations < VerifierIterationsMin || iterations > VerifierIterationsMax) return false;
    return PKCS5_PBKDF2_HMAC(password.data(), (int)password.size(), salt, (int)VerifierSaltSize, (int)iterations,
                             EVP_sha256(), (int)ScramKeySize, out) == 1;
}

// ClientKey and ServerKey of a salted password.
bool Keys(const uint8_t *salted, uint8_t *clientKey, uint8_t *serverKey)
{
    return Hmac(salted, ScramKeySize, "Client Key", 10, clientKey) &&
           Hmac(salted, ScramKeySize, "Server Key", 10, serverKey);
}

std::string Base64(const uint8_t *p, size_t n)
{
    std::string out(4 * ((n + 2) / 3), '\0');
    int written = EVP_EncodeBlock(reinterpret_cast<unsigned char *>(out.data()), p, (int)n);
    out.resize(written > 0 ? (size_t)written : 0);
    return out;
}

// Exactly n bytes from base64 text; false for anything else.
bool FromBase64(std::string_view text, uint8_t *out, size_t n)
{
    if (text.size() != 4 * ((n + 2) / 3)) return false;
    std::string buffer(text.size(), '\0');
    int got = EVP_DecodeBlock(reinterpret_cast<unsigned char *>(buffer.data()),
                              reinterpret_cast<const unsigned char *>(text.data()), (int)text.size());
    // The decoder counts the padding's zero bytes too; the text must be the encoding of n bytes.
    if (got < (int)n) return false;
    std::memcpy(out, buffer.data(), n);
    return Base64(out, n) == text;
}

}  // namespace

bool RandomFill(uint8_t *out, size_t n) { return RAND_bytes(out, (int)n) == 1; }

bool BytesEqualConstant(const uint8_t *a, const uint8_t *b, size_t n) { return CRYPTO_memcmp(a, b, n) == 0; }

bool VerifierDerive(std::string_view password, const uint8_t *salt, uint32_t iterations, PasswordVerifier *out)
{
    uint8_t salted[ScramKeySize], clientKey[ScramKeySize];
    PasswordVerifier v;
    v.iterations = iterations;
    std::memcpy(v.salt, salt, VerifierSaltSize);
    bool ok = Salted(password, salt, iterations, salted) && Keys(salted, clientKey, v.serverKey) &&
              SHA256(clientKey, ScramKeySize, v.storedKey) != nullptr;
    OPENSSL_cleanse(salted, sizeof salted);
    OPENSSL_cleanse(clientKey, sizeof clientKey);
    if (ok) *out = v;
    return ok;
}

bool VerifierMake(std::string_view password, PasswordVerifier *out)
{
    uint8_t salt[VerifierSaltSize];
    return RandomFill(salt, sizeof salt) && VerifierDerive(password, salt, VerifierIterations, out);
}

bool VerifierMatches(const PasswordVerifier &v, std::string_view password)
{
    PasswordVerifier typed;
    return VerifierDerive(password, v.salt, v.iterations, &typed) &&
           BytesEqualConstant(typed.storedKey, v.storedKey, ScramKeySize) &&
           BytesEqualConstant(typed.serverKey, v.serverKey, ScramKeySize);
}

bool VerifierLoad(const uint8_t *in, PasswordVerifier *out)
{
    if (in[0] != VerifierKindScram || in[1] || in[2] || in[3]) return false;
    PasswordVerifier v;
    v.iterations = in[4] | in[5] << 8 | in[6] << 16 | (uint32_t)in[7] << 24;
    if (v.iterations < VerifierIterationsMin || v.iterations > VerifierIterationsMax) return false;
    std::memcpy(v.salt, in + 8, VerifierSaltSize);
    std::memcpy(v.storedKey, in + 24, ScramKeySize);
    std::memcpy(v.serverKey, in + 56, ScramKeySize);
    *out = v;
    return true;
}

void VerifierStore(const PasswordVerifier &v, uint8_t *out)
{
    std::memset(out, 0, VerifierBytes);
    out[0] = VerifierKindScram;
    for (int i = 0; i < 4; i++) out[4 + i] = uint8_t(v.iterations >> (8 * i));
    std::memcpy(out + 8, v.salt, VerifierSaltSize);
    std::memcpy(out + 24, v.storedKey, ScramKeySize);
    std::memcpy(out + 56, v.serverKey, ScramKeySize);
}

bool VerifierPresent(const uint8_t *in)
{
    PasswordVerifier v;
    return VerifierLoad(in, &v);
}

std::string VerifierToText(const PasswordVerifier &v)
{
    return std::string(TextPrefix) + std::to_string(v.iterations) + ":" + Base64(v.salt, VerifierSaltSize) + "$" +
           Base64(v.storedKey, ScramKeySize) + ":" + Base64(v.serverKey, ScramKeySize);
}

bool VerifierFromText(std::string_view text, PasswordVerifier *out)
{
    if (text.substr(0, TextPrefix.size()) != TextPrefix) return false;
    text.remove_prefix(TextPrefix.size());
    size_t colon = text.find(':'), dollar = text.find('$');
    if (colon == std::string_view::npos || dollar == std::string_view::npos || dollar < colon) return false;
    std::string_view count = text.substr(0, colon);
    if (count.empty() || count.size() > 8) return false;
    uint32_t iterations = 0;
    for (char c : count) {
        if (c < '0' || c > '9') return false;
        iterations = iterations * 10 + uint32_t(c - '0');
    }
    std::string_view keys = text.substr(dollar + 1);
    size_t keyColon = keys.find(':');
    if (keyColon == std::string_view::npos) return false;
    PasswordVerifier v;
    v.iterations = iterations;
    if (iterations < VerifierIterationsMin || iterations > VerifierIterationsMax ||
        !FromBase64(text.substr(colon + 1, dollar - colon - 1), v.salt, VerifierSaltSize) ||
        !FromBase64(keys.substr(0, keyColon), v.storedKey, ScramKeySize) ||
        !FromBase64(keys.substr(keyColon + 1), v.serverKey, ScramKeySize))
        return false;
    *out = v;
    return true;
}

std::string ScramAuthMessage(std::string_view user, const uint8_t *clientNonce, const uint8_t *serverNonce,
                             const uint8_t *salt, uint32_t iterations)
{
    // The RFC escapes ',' and '=' in the name; the name is ours to send
    // as bytes, so it is signed in base64 instead, which has neither.
    std::string name = Base64(reinterpret_cast<const uint8_t *>(user.data()), user.size());
    std::string client = Base64(clientNonce, ScramNonceSize);
    std::string both = client + Base64(serverNonce, ScramNonceSize);
    return "n=" + name + ",r=" + client + "," + "r=" + both + ",s=" + Base64(salt, VerifierSaltSize) +
           ",i=" + std::to_string(iterations) + "," + "c=biws,r=" + both;
}

bool ScramClientProof(std::string_view password, const uint8_t *salt, uint32_t iterations,
                      std::string_view authMessage, uint8_t *proof, uint8_t *serverSignature)
{
    uint8_t salted[ScramKeySize], clientKey[ScramKeySize], serverKey[ScramKeySize], storedKey[ScramKeySize],
        signature[ScramKeySize];
    bool ok = Salted(password, salt, iterations, salted) && Keys(salted, clientKey, serverKey) &&
              SHA256(clientKey, ScramKeySize, storedKey) != nullptr &&
              Hmac(storedKey, ScramKeySize, authMessage.data(), authMessage.size(), signature) &&
              Hmac(serverKey, ScramKeySize, authMessage.data(), authMessage.size(), serverSignature);
    if (ok)
        for (size_t i = 0; i < ScramKeySize; i++) proof[i] = clientKey[i] ^ signature[i];
    OPENSSL_cleanse(salted, sizeof salted);
    OPENSSL_cleanse(clientKey, sizeof clientKey);
    OPENSSL_cleanse(serverKey, sizeof serverKey);
    return ok;
}

bool ScramServerCheck(const PasswordVerifier &v, std::string_view authMessage, const uint8_t *proof,
                      uint8_t *serverSignature)
{
    uint8_t signature[ScramKeySize], clientKey[ScramKeySize], stored[ScramKeySize];
    if (!Hmac(v.storedKey, ScramKeySize, authMessage.data(), authMessage.size(), signature)) return false;
    for (size_t i = 0; i < ScramKeySize; i++) clientKey[i] = proof[i] ^ signature[i];
    bool ok = SHA256(clientKey, ScramKeySize, stored) != nullptr && BytesEqualConstant(stored, v.storedKey, ScramKeySize) &&
              Hmac(v.serverKey, ScramKeySize, authMessage.data(), authMessage.size(), serverSignature);
    OPENSSL_cleanse(clientKey, sizeof clientKey);
    return ok;
}
