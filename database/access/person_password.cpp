// person_password.cpp - the person record's password field and verifier
// (see person_password.h).
#include "database/access/person_password.h"

#include <openssl/crypto.h>

#include <cstring>
#include <string_view>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"

namespace {

constexpr int PasswordLength = 20;
// The field's bytes: the length byte, the text and its pad up to the next field.
constexpr uint32_t PasswordBytes = PEVc::AccessCode - PEVc::Password;

std::string_view TypedText(const uint8_t *person)
{
    uint8_t n = person[PEVc::Password];
    if (n > PasswordLength) n = PasswordLength;
    return std::string_view(reinterpret_cast<const char *>(person + PEVc::Password + 1), n);
}

void FieldWipe(uint8_t *person) { OPENSSL_cleanse(person + PEVc::Password, PasswordBytes); }

}  // namespace

bool PersonHasVerifier(const uint8_t *person) { return VerifierPresent(person + PEVc::PassVerifier); }

bool PersonVerifierGet(const uint8_t *person, PasswordVerifier *out)
{
    return VerifierLoad(person + PEVc::PassVerifier, out);
}

void PersonVerifierPut(uint8_t *person, const PasswordVerifier &v) { VerifierStore(v, person + PEVc::PassVerifier); }

bool PersonPasswordTyped(const uint8_t *person) { return person[PEVc::Password] != 0; }

bool PersonPasswordSeal(uint8_t *person)
{
    if (!PersonPasswordTyped(person)) return true;
    PasswordVerifier v;
    if (!VerifierMake(TypedText(person), &v)) return false;
    PersonVerifierPut(person, v);
    FieldWipe(person);
    return true;
}

bool PersonPasswordBeforeWrite(uint8_t *person)
{
    if (PersonPasswordTyped(person)) return PersonPasswordSeal(person);
    if (PersonHasVerifier(person)) return true;
    PasswordVerifier v;
    if (!VerifierMake("", &v)) return false;
    PersonVerifierPut(person, v);
    return true;
}

void PersonPasswordKeepStored(const uint8_t *stored, uint8_t *person)
{
    if (PersonPasswordTyped(person) || PersonHasVerifier(person) || !PersonHasVerifier(stored)) return;
    std::memcpy(person + PEVc::PassVerifier, stored + PEVc::PassVerifier, VerifierBytes);
}

void PersonPasswordRedact(uint8_t *person)
{
    FieldWipe(person);
    std::memset(person + PEVc::PassVerifier, 0, VerifierBytes);
}

bool PersonPasswordChanges(const uint8_t *stored, const uint8_t *person)
{
    if (PersonPasswordTyped(person)) return true;
    if (!PersonHasVerifier(person)) return false;   // keeps the stored one
    return std::memcmp(stored + PEVc::PassVerifier, person + PEVc::PassVerifier, VerifierBytes) != 0;
}

namespace {

// Walks the persons in index order: each one without a verifier is
// handed to f (false from f stops the walk). The number handed on.
template <typename F>
int EachUnconverted(uint8_t *person, F f)
{
    int n = 0;
    for (int32_t position = 1;; position++) {
        uint32_t recid = 0;
        RecClear(PEVc::Number, person);
        if (!RecReadAtLocal(PEVc::Number, position, person, &recid)) break;
        if (PersonHasVerifier(person)) continue;
        n++;
        if (!f(person, recid)) break;
    }
    RecClear(PEVc::Number, person);
    return n;
}

}  // namespace

int PersonPasswordsConvert()
{
    // An interface file without persons (or with a record of another
    // layout, a test's own) has nothing to convert.
    if (RegRecordSize(PEVc::Number) < PEVc::PassVerifier + VerifierBytes) return 0;
    MemBlock h = 0;
    uint8_t *person = RecBufferNew(PEVc::Number, &h);
    if (!person) return -1;
    // Most opens find nothing to convert: they write nothing, not even a hold.
    int converted = EachUnconverted(person, [](uint8_t *, uint32_t) { return false; });
    bool ok = true;
    if (converted) {
        DbHoldBegin();
        converted = EachUnconverted(person, [&](uint8_t *p, uint32_t recid) {
            ok = PersonPasswordBeforeWrite(p) && RecStoreLocal(PEVc::Number, p, 1, &recid);
            return ok;
        });
        if (!ok) DbHoldFail();
        ok = DbHoldEnd() && ok;
    }
    RecBufferFree(PEVc::Number, &h);
    return ok ? converted : -1;
}
