// company_create_test.cpp - a new company is made whole or not at all:
// the demo company's creation killed at every write (its syncs lie
// between them) and refused by a full disk at every write and sync
// leaves no company file or the whole demo company, and one failure is
// told in one message.
#include <cstring>
#include <filesystem>

#include "core/field_access.h"
#include "database/access/person_password.h"

#include "tests/features/demo_company_fixture.h"

namespace {

namespace fs = std::filesystem;

class CompanyCreate : public DemoCompany {
protected:
    // The records of every register of the open company.
    static std::vector<uint32_t> Counts()
    {
        std::vector<uint32_t> n;
        for (int reg = 1; reg < RegisterCount; reg++) n.push_back(RegRecordCount(reg));
        return n;
    }
    // Opens the company at name as a user does, ADMIN logging in; its
    // record counts, or none when it did not open logged in.
    std::vector<uint32_t> OpenedCounts(const char *name)
    {
        WhenLoginShows() = [this] { QueueLogin("ADMIN", "orvel"); };
        PString path;
        PathOf(name, path);
        bool open = DbOpen(path, 0);
        Drain();
        std::vector<uint32_t> n;
        if (open && LoggedInFlag && !D4DamagedMode()) n = Counts();
        if (DbOpenFlag) DbClose();
        return n;
    }
    // The whole demo company as an undisturbed creation makes it, and the
    // writes and syncs of the creation (those before the login shows);
    // the hooks as given (a crash simulation splits writes by sector).
    std::vector<uint32_t> Whole(const D4FileHooks &hooks)
    {
        D4TestHooks = hooks;
        EXPECT_TRUE(MakeDemo(
            [this] {
                writes = D4TestHooks.writesDone;
                syncs = D4TestHooks.syncsDone;
                QueueLogin("ADMIN", "orvel");
            },
            "whole.VDB"));
        D4TestHooks = D4FileHooks{};
        std::vector<uint32_t> n = Counts();
        uint64_t records = 0;
        for (uint32_t c : n) records += c;
        EXPECT_GT(records, 20u) << "the demo company has its records";
        DbClose();
        fs::remove(dir / "whole.VDB");
        return n;
    }
    int64_t writes = 0, syncs = 0;
    bool Exists(const std::string &name) const { return fs::exists(dir / name); }
};

TEST_F(CompanyCreate, KilledAtAnyWriteLeavesNoCompanyOrTheWholeOne)
{
    D4FileHooks crash;
    crash.writesAllowed = 1 << 30;
    crash.skipSync = true;
    const std::vector<uint32_t> whole = Whole(crash);
    int none = 0, made = 0;
    for (int64_t k = 0; k <= writes; k++) {
        const std::string name = "kill" + std::to_string(k) + ".VDB";
        D4TestHooks = D4FileHooks{};
        D4TestHooks.writesAllowed = k;   // this write and all after it never reach the disk
        D4TestHooks.skipSync = true;
        MakeDemo([this] { QueueLogin("ADMIN", "orvel"); }, name.c_str());
        if (DbOpenFlag) DbClose();
        D4TestHooks = D4FileHooks{};
        if (!Exists(name)) {
            none++;
        } else {
            made++;
            EXPECT_EQ(OpenedCounts(name.c_str()), whole) << "killed at write " << k;
        }
        if (k == writes) {
            EXPECT_TRUE(Exists(name)) << "the creation that was not killed made the company";
            EXPECT_FALSE(Exists(name + ".new"));
        }
    }
    EXPECT_GT(none, 10) << "kills before the rename leave no company";
    EXPECT_GE(made, 1);
}

// A full disk (or a failing one) at any write or sync of the creation:
// no company file, no temporary one, and one message that says why; a
// refusal after the creation leaves the whole company.
TEST_F(CompanyCreate, AFullDiskLeavesNothingAndIsToldOnce)
{
    const std::vector<uint32_t> whole = Whole(D4FileHooks{});
    int refused = 0;
    for (int kind = 0; kind < 2; kind++) {
        for (int64_t k = 1; k <= (kind == 0 ? writes : syncs) + 1; k++) {
            const std::string name = "full" + std::to_string(kind) + "_" + std::to_string(k) + ".VDB";
            MessagesShown.clear();
            D4TestHooks = D4FileHooks{};
            (kind == 0 ? D4TestHooks.failWriteAt : D4TestHooks.failSyncAt) = k;
            D4TestHooks.failErrno = kind == 0 ? ENOSPC : EIO;
            bool open = MakeDemo([this] { QueueLogin("ADMIN", "orvel"); }, name.c_str());
            D4TestHooks = D4FileHooks{};
            if (open) DbClose();
            if (Exists(name)) {
                // The point lay past the creation (the open that follows
                // writes too): the company was made whole.
                EXPECT_EQ(OpenedCounts(name.c_str()), whole) << kind << " " << k;
                continue;
            }
            refused++;
            EXPECT_FALSE(open) << kind << " " << k;
            EXPECT_FALSE(Exists(name + ".new")) << kind << " " << k;
            ASSERT_EQ(Shown().size(), 1u) << kind << " " << k << ::testing::PrintToString(Shown());
            EXPECT_EQ(Shown()[0].rfind(TextOf(Texts::CompanyCreateFailed), 0), 0u) << Shown()[0];
            EXPECT_NE(Shown()[0].find(kind == 0 ? "No space left" : "Input/output error"), std::string::npos)
                << Shown()[0];
        }
    }
    EXPECT_GE(refused, 4) << "writes and syncs of the file and of the folder";
}

// The demo's ADMIN has the README's password, but no two companies share
// its verifier: each new company salts its own, so that a verifier read
// from one tells nothing of another.
TEST_F(CompanyCreate, EachNewCompanyMakesItsOwnVerifierOfTheDemoPassword)
{
    std::vector<PasswordVerifier> made;
    for (const char *name : {"one.VDB", "two.VDB"}) {
        ASSERT_TRUE(MakeDemo([this] { QueueLogin("ADMIN", "orvel"); }, name)) << ::testing::PrintToString(Shown());
        ASSERT_EQ(LoggedInFlag, 1) << name;
        std::vector<uint8_t> admin(PEVc::Size);
        PString code;
        PStringFromC(code, "ADMIN");
        PutPString(admin.data(), PEVc::Code, 5, code);
        uint32_t id = 0, position = 0;
        ASSERT_TRUE(RecFind(PEVc::Number, admin.data(), 1, 1, &id, &position)) << name;
        PasswordVerifier v;
        ASSERT_TRUE(PersonVerifierGet(admin.data(), &v)) << name;
        EXPECT_TRUE(VerifierMatches(v, "orvel")) << name;
        EXPECT_FALSE(VerifierMatches(v, "orvel ")) << name;
        made.push_back(v);
        RecClear(PEVc::Number, admin.data());
        DbClose();
    }
    EXPECT_NE(std::memcmp(made[0].salt, made[1].salt, VerifierSaltSize), 0);
    EXPECT_NE(std::memcmp(made[0].storedKey, made[1].storedKey, ScramKeySize), 0);
}

}  // namespace
