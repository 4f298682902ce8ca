// person_password_test.cpp - the person record's password at rest: every
// write leaves a verifier and an empty field, an update that brings none
// keeps the stored one, and an older company's passwords are converted
// in one hold that either converts them all or changes nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/person_password.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "database/engine/engine.h"
#include "dict_offsets.h"
#include "rules/hooks.h"
#include "tests/database/access/company_fixture.h"

namespace {

using Bytes = std::vector<uint8_t>;

class PersonPassword : public CompanyFixture {
protected:
    uint32_t saved = 0;
    void SetUp() override
    {
        CompanyFixture::SetUp();
        ASSERT_EQ(D4Create((dir / "company.VDB").c_str(), 0), D4OpenOk);
        saved = VerifierIterations;
        VerifierIterations = VerifierIterationsMin;
    }
    void TearDown() override
    {
        VerifierIterations = saved;
        D4TestHooks.failWriteAt = -1;
        RegisterHooksClear();
        CompanyFixture::TearDown();
    }
    static Bytes Person(const char *code, const char *password)
    {
        Bytes p(PEVc::Size, 0);
        PString t;
        PStringFromC(t, code);
        PutText(p.data(), PEVc::Code, t);
        PStringFromC(t, password);
        PutText(p.data(), PEVc::Password, t);
        return p;
    }
    // An older program's store: the record as it is, no hooks.
    static uint32_t StoreRaw(Bytes p)
    {
        uint32_t id = 0;
        DbHoldBegin();
        EXPECT_TRUE(RecStoreLocal(PEVc::Number, p.data(), 0, &id));
        EXPECT_TRUE(DbHoldEnd());
        return id;
    }
    static Bytes Read(uint32_t id)
    {
        Bytes p(PEVc::Size, 0);
        EXPECT_TRUE(RecReadByIdLocal(PEVc::Number, id, p.data()));
        RecFreeMatrix(PEVc::Number, p.data());
        return p;
    }
    static bool Proves(const Bytes &p, const char *password)
    {
        PasswordVerifier v;
        return PersonVerifierGet(p.data(), &v) && VerifierMatches(v, password);
    }
    static std::string Field(const Bytes &p) { return std::string((const char *)p.data() + PEVc::Password + 1, p[PEVc::Password]); }
};

}  // namespace

TEST_F(PersonPassword, EveryWriteLeavesAVerifierAndAnUpdateWithoutOneKeepsTheStored)
{
    RulesInstall();
    Bytes amy = Person("AMY", "first-pw");
    uint32_t id = 0;
    int result = -100;
    RecInsertCheckedLocal(PEVc::Number, amy.data(), &id, &result);
    ASSERT_EQ(result, RecDone);
    Bytes stored = Read(id);
    EXPECT_EQ(Field(stored), "");
    EXPECT_TRUE(Proves(stored, "first-pw"));

    // As a client sends it back: neither field nor verifier. Kept.
    Bytes back = stored;
    PersonPasswordRedact(back.data());
    EXPECT_FALSE(PersonPasswordChanges(stored.data(), back.data()));
    RecUpdateCheckedLocal(PEVc::Number, back.data(), id, &result);
    ASSERT_EQ(result, RecDone);
    EXPECT_TRUE(Proves(Read(id), "first-pw"));

    // A typed password replaces it; the field never reaches the file.
    Bytes typed = Read(id);
    PString t;
    PStringFromC(t, "second-pw");
    PutText(typed.data(), PEVc::Password, t);
    EXPECT_TRUE(PersonPasswordChanges(stored.data(), typed.data()));
    RecUpdateCheckedLocal(PEVc::Number, typed.data(), id, &result);
    ASSERT_EQ(result, RecDone);
    Bytes now = Read(id);
    EXPECT_EQ(Field(now), "");
    EXPECT_TRUE(Proves(now, "second-pw"));
    EXPECT_FALSE(Proves(now, "first-pw"));

    // A person made without a password has the verifier of the empty one.
    Bytes bo = Person("BO", "");
    RecInsertCheckedLocal(PEVc::Number, bo.data(), &id, &result);
    ASSERT_EQ(result, RecDone);
    EXPECT_TRUE(Proves(Read(id), ""));
}

TEST_F(PersonPassword, AnOlderCompanyIsConvertedWholeInOneHoldOrNotAtAll)
{
    uint32_t a = StoreRaw(Person("AMY", "pw-a")), b = StoreRaw(Person("BO", "")), c = StoreRaw(Person("CY", "pw-c"));
    EXPECT_EQ(Field(Read(a)), "pw-a");

    // The hold's writes fail: the conversion says so and nothing changed.
    D4TestHooks.failWriteAt = D4TestHooks.writesDone + 1;
    EXPECT_EQ(PersonPasswordsConvert(), -1);
    D4TestHooks.failWriteAt = -1;
    for (uint32_t id : {a, b, c}) EXPECT_FALSE(PersonHasVerifier(Read(id).data())) << id;
    EXPECT_EQ(Field(Read(a)), "pw-a");
    EXPECT_EQ(Field(Read(c)), "pw-c");

    EXPECT_EQ(PersonPasswordsConvert(), 3);
    EXPECT_TRUE(Proves(Read(a), "pw-a"));
    EXPECT_TRUE(Proves(Read(b), ""));
    EXPECT_TRUE(Proves(Read(c), "pw-c"));
    for (uint32_t id : {a, b, c}) EXPECT_EQ(Field(Read(id)), "") << id;
    // Nothing is left: the next open writes nothing at all.
    int64_t writes = D4TestHooks.writesDone;
    EXPECT_EQ(PersonPasswordsConvert(), 0);
    EXPECT_EQ(D4TestHooks.writesDone, writes);
}
