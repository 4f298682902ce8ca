// password_verifier_test.cpp - the verifier and the SCRAM-SHA-256 proofs:
// the published example exchange proves and is proven, a proof of another
// password or a changed message is refused, and the stored and text forms
// read back only what they wrote.
#include <gtest/gtest.h>

#include <openssl/evp.h>

#include <cstring>
#include <string>

#include "core/password_verifier.h"

namespace {

std::string Decode(const char *b64)
{
    std::string out(64, '\0');
    int n = EVP_DecodeBlock(reinterpret_cast<unsigned char *>(out.data()), reinterpret_cast<const unsigned char *>(b64),
                            (int)std::strlen(b64));
    size_t pad = std::strlen(b64) - std::string(b64).find_last_not_of('=') - 1;
    out.resize(size_t(n) - pad);
    return out;
}

// The example exchange of RFC 7677 (user "user", password "pencil").
const char *const ExampleSalt = "W22ZaJ0SNY7soEsUEjb6gQ==";
const char *const ExampleMessage =
    "n=user,r=rOprNGfwEbeRWgbNEkqO,r=rOprNGfwEbeRWgbNEkqO%hvYDpWUa2RaTCAfuxFIlj)hNlF$k0,"
    "s=W22ZaJ0SNY7soEsUEjb6gQ==,i=4096,c=biws,r=rOprNGfwEbeRWgbNEkqO%hvYDpWUa2RaTCAfuxFIlj)hNlF$k0";
const char *const ExampleProof = "dHzbZapWIk4jUhN+Ute9ytag9zjfMHgsqmmiz7AndVQ=";
const char *const ExampleServer = "6rriTRBi23WpRR/wtup+mMhUZUn/dB5nLTJRsjl95G4=";

const uint8_t *Bytes(const std::string &s) { return reinterpret_cast<const uint8_t *>(s.data()); }

}  // namespace

TEST(PasswordVerifier, ThePublishedExchangeProvesBothSidesAndNothingElseDoes)
{
    std::string salt = Decode(ExampleSalt), proof = Decode(ExampleProof), server = Decode(ExampleServer);
    ASSERT_EQ(salt.size(), VerifierSaltSize);
    uint8_t mine[ScramKeySize], expected[ScramKeySize];
    ASSERT_TRUE(ScramClientProof("pencil", Bytes(salt), 4096, ExampleMessage, mine, expected));
    EXPECT_EQ(std::string(reinterpret_cast<char *>(mine), ScramKeySize), proof);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(expected), ScramKeySize), server);

    PasswordVerifier v;
    ASSERT_TRUE(VerifierDerive("pencil", Bytes(salt), 4096, &v));
    uint8_t signature[ScramKeySize];
    ASSERT_TRUE(ScramServerCheck(v, ExampleMessage, Bytes(proof), signature));
    EXPECT_EQ(std::string(reinterpret_cast<char *>(signature), ScramKeySize), server);

    // A proof of another password, a proof with one bit changed, or the
    // right proof of another message: refused, and no signature given.
    uint8_t other[ScramKeySize], ignored[ScramKeySize];
    ASSERT_TRUE(ScramClientProof("pencil2", Bytes(salt), 4096, ExampleMessage, other, ignored));
    std::memset(signature, 0, sizeof signature);
    EXPECT_FALSE(ScramServerCheck(v, ExampleMessage, other, signature));
    std::string flipped = proof;
    flipped[7] ^= 0x10;
    EXPECT_FALSE(ScramServerCheck(v, ExampleMessage, Bytes(flipped), signature));
    EXPECT_FALSE(ScramServerCheck(v, std::string(ExampleMessage) + "x", Bytes(proof), signature));
    EXPECT_EQ(std::string(reinterpret_cast<char *>(signature), ScramKeySize), std::string(ScramKeySize, '\0'));

    // The verifier alone cannot log in: it holds no ClientKey.
    EXPECT_TRUE(VerifierMatches(v, "pencil"));
    EXPECT_FALSE(VerifierMatches(v, "Pencil"));
    EXPECT_FALSE(VerifierMatches(v, ""));
}

TEST(PasswordVerifier, IterationsOutsideTheBoundsMakeNothing)
{
    uint8_t salt[VerifierSaltSize] = {1, 2, 3};
    PasswordVerifier v;
    EXPECT_FALSE(VerifierDerive("pw", salt, VerifierIterationsMin - 1, &v));
    EXPECT_FALSE(VerifierDerive("pw", salt, VerifierIterationsMax + 1, &v));
    uint8_t proof[ScramKeySize], server[ScramKeySize];
    EXPECT_FALSE(ScramClientProof("pw", salt, 0, "m", proof, server));
    EXPECT_FALSE(ScramClientProof("pw", salt, 0xFFFFFFFFu, "m", proof, server));
}

TEST(PasswordVerifier, StoredAndTextFormsReadBackOnlyWhatTheyWrote)
{
    uint32_t saved = VerifierIterations;
    VerifierIterations = VerifierIterationsMin;
    PasswordVerifier a, b;
    ASSERT_TRUE(VerifierMake("secret", &a));
    ASSERT_TRUE(VerifierMake("secret", &b));
    VerifierIterations = saved;
    EXPECT_NE(std::memcmp(a.salt, b.salt, VerifierSaltSize), 0) << "every verifier has its own salt";
    EXPECT_NE(std::memcmp(a.storedKey, b.storedKey, ScramKeySize), 0);

    uint8_t stored[VerifierBytes];
    VerifierStore(a, stored);
    EXPECT_TRUE(VerifierPresent(stored));
    EXPECT_EQ(stored[4] | stored[5] << 8, int(VerifierIterationsMin));   // little-endian in every file
    PasswordVerifier back;
    ASSERT_TRUE(VerifierLoad(stored, &back));
    EXPECT_TRUE(VerifierMatches(back, "secret"));
    // An older record's zeros, another kind, a filled reserved byte or
    // iterations below the bound are no verifier.
    uint8_t zeros[VerifierBytes] = {0};
    EXPECT_FALSE(VerifierPresent(zeros));
    for (int at : {0, 2}) {
        uint8_t bad[VerifierBytes];
        std::memcpy(bad, stored, sizeof bad);
        bad[at] = 7;
        EXPECT_FALSE(VerifierLoad(bad, &back)) << at;
    }
    uint8_t few[VerifierBytes];
    std::memcpy(few, stored, sizeof few);
    few[4] = 1, few[5] = few[6] = few[7] = 0;
    EXPECT_FALSE(VerifierPresent(few));

    std::string text = VerifierToText(a);
    EXPECT_EQ(text.rfind("SCRAM-SHA-256$1000:", 0), 0u) << text;
    EXPECT_EQ(text.find("secret"), std::string::npos);
    ASSERT_TRUE(VerifierFromText(text, &back));
    EXPECT_TRUE(VerifierMatches(back, "secret"));
    EXPECT_EQ(VerifierToText(back), text);
    // Damaged texts are no verifier: each would otherwise be taken as one.
    for (std::string bad : {std::string("secret"), text.substr(0, text.size() - 1), text + "A",
                            "scram-sha-256" + text.substr(13), text.substr(0, 14) + "99:" + text.substr(19),
                            text.substr(0, 14) + "1x00" + text.substr(18), std::string("SCRAM-SHA-256$$:")}) {
        EXPECT_FALSE(VerifierFromText(bad, &back)) << bad;
    }
}
