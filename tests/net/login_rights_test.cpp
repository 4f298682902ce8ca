// login_rights_test.cpp - the server's guard, driven by raw clients as
// docs/protocol.md describes them: nothing is served before a login, the
// login proves a password that neither the wire nor the company file
// carries, failed logins wait longer each time, and a logged-in person
// gets by direct requests only what the menus would offer his group.
#include <algorithm>
#include <array>
#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "core/field_access.h"
#include "database/access/person_password.h"
#include "database/access/settings_blocks.h"
#include "exchange/text_exchange.h"
#include "features/program_start.h"
#include "net/auth.h"
#include "output/output_job.h"
#include "rules/hooks.h"
#include "shell/window_table.h"
#include "tests/net/net_fixture.h"
#include "tests/net/rights_fixture.h"

using namespace nettest;

namespace {

constexpr const char *AdminPassword = "Admin-Pass-5150";
constexpr const char *BobPassword = "Bob-Secret-4242";
constexpr const char *CatPassword = "Cat-Word-7373";
constexpr uint32_t FirstWaitMs = 300;   // the wait after a first failed login
constexpr int PersonWindow = 593, PersonList = 596, AccessGroupWindow = 591, AccessGroupList = 595;

// The company of these tests: ADMIN without a group; BOB, whose group
// refuses the customer windows and the person and access-group windows
// and lists; CAT, whose group refuses only the access-group window; EVE,
// whose group has no rows.
void Company() {
    RulesInstall();
    FeaturesInstall();
    VerifierIterations = VerifierIterationsMin;
    AuthLimits.firstDelayMs = FirstWaitMs;
    AuthLimits.maxDelayMs = 5000;
    std::vector<AccessRow> limit = {
        {9, 1, 1}, {2, PersonWindow, 0}, {2, PersonList, 0}, {2, AccessGroupWindow, 0}, {2, AccessGroupList, 0}};
    RefuseRegister(&limit, CUVc::Number);
    StoreGroup("LIMIT", limit);
    StoreGroup("STAFF", {{9, 1, 1}, {2, AccessGroupWindow, 0}});
    StoreGroup("NONE", {});
    StorePerson("ADMIN", AdminPassword, "");
    StorePerson("BOB", BobPassword, "LIMIT");
    StorePerson("CAT", CatPassword, "STAFF");
    StorePerson("EVE", "Eve-1", "NONE");
}

class GuardTest : public NetRightsTest {
protected:
    nettest::ServerSetup ServerExtra() override { return Company; }

    // The refusal text of a status-2 reply (0 for any other).
    static uint16_t RefusalText(const std::vector<uint8_t> &f) {
        return Status(f) == ReplyRefused && f.size() >= 10 ? uint16_t(f[8] | f[9] << 8) : 0;
    }
    // Request 2 of register reg at position pos: the found flag (-1: no
    // served reply) and the record into out.
    static int ReadAt(const RawConn &c, uint32_t session, int reg, uint32_t pos, std::vector<uint8_t> *out = nullptr) {
        uint32_t id = 0;
        int found = nettest::ReadAt(c, session, reg, pos, out, &id);
        if (out) out->resize(out->size() + 4, 0), std::memcpy(out->data() + RegRecordSize(reg), &id, 4);
        return found;
    }
    // Request 9 of a record; the result (-100 - status when not served).
    static int Update(const RawConn &c, uint32_t session, int reg, uint32_t id, const uint8_t *record) {
        MsgBuffer b;
        MsgPutWord(&b, (uint16_t)reg);
        MsgPutLong(&b, id);
        MsgPutRecord(&b, reg, record);
        c.Send(Request(session, ReqUpdateChecked, &b));
        std::vector<uint8_t> f = c.Frame();
        MsgBuffer m;
        if (!ReplyBody(f, &m)) return -100 - (int)Status(f);
        uint16_t result = 0;
        MsgGetWord(&m, &result);
        return (int16_t)result;
    }
    // Request 3 of a person; its result (-100 - status when not served).
    static int InsertPerson(const RawConn &c, uint32_t session, const std::vector<uint8_t> &person) {
        MsgBuffer b;
        MsgPutWord(&b, PEVc::Number);
        MsgPutRecord(&b, PEVc::Number, person.data());
        c.Send(Request(session, ReqInsertChecked, &b));
        std::vector<uint8_t> f = c.Frame();
        MsgBuffer m;
        if (!ReplyBody(f, &m)) return -100 - (int)Status(f);
        uint32_t id = 0;
        uint16_t result = 0;
        MsgGetLong(&m, &id);
        MsgGetWord(&m, &result);
        return (int16_t)result;
    }
    // Request 5 of a person; its result.
    static int DeletePerson(const RawConn &c, uint32_t session, uint32_t id, const std::vector<uint8_t> &person) {
        MsgBuffer b;
        MsgPutWord(&b, PEVc::Number);
        MsgPutLong(&b, id);
        MsgPutCString(&b, "");
        MsgPutRecord(&b, PEVc::Number, person.data());
        c.Send(Request(session, ReqDeleteChecked, &b));
        std::vector<uint8_t> f = c.Frame();
        MsgBuffer m;
        if (!ReplyBody(f, &m)) return -100 - (int)Status(f);
        uint16_t result = 0;
        MsgGetWord(&m, &result);
        return (int16_t)result;
    }
    // The person with code `code`, read by ADMIN: the record and its id.
    static std::vector<uint8_t> Person(const RawConn &admin, uint32_t session, const char *code, uint32_t *id) {
        for (uint32_t pos = 1; pos < 10; pos++) {
            std::vector<uint8_t> r;
            if (ReadAt(admin, session, PEVc::Number, pos, &r) != 1) break;
            uint8_t text[256];
            ::GetText(r.data(), PEVc::Code, text);
            if (PStringToStd(text) == code) {
                std::memcpy(id, r.data() + RegRecordSize(PEVc::Number), 4);
                r.resize(RegRecordSize(PEVc::Number));
                return r;
            }
        }
        return {};
    }
};

// Request 21 of the whole company (kind 0) on a raw connection: the bytes
// of every push, each acknowledged, until the reply.
std::vector<uint8_t> WholeExport(const RawConn &c, uint32_t session) {
    MsgBuffer body;
    MsgPutWord(&body, 0);
    std::vector<uint8_t> job(ReportParamsSize, 0);
    MsgPutJobRecord(&body, job.data(), (uint32_t)job.size());
    c.Send(Request(session, ReqTextExport, &body));
    std::vector<uint8_t> pushed;
    for (int guard = 0; guard < 100000; guard++) {
        std::vector<uint8_t> f = c.Frame();
        if (f.size() < 8 || (f[4] | f[5] << 8) != FrameCodePush) break;
        pushed.insert(pushed.end(), f.begin(), f.end());
        c.Send(AckFrame(session));
    }
    return pushed;
}

bool Contains(const std::vector<uint8_t> &bytes, const char *text) {
    std::string needle(text);
    return std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end()) != bytes.end();
}

}  // namespace

TEST_F(GuardTest, ARawClientWithoutALoginReadsNothingAndWritesNothing) {
    RawConn c(port);
    uint32_t s = Open(c, false);
    ASSERT_NE(s, 0u);
    // Every kind of read and write, the settings block of the company's
    // name and an undispatched code too: each refused as "not logged in".
    std::vector<std::pair<uint16_t, std::function<void(MsgBuffer *)>>> asks = {
        {ReqSettingsRead, [](MsgBuffer *b) { MsgPutWord(b, SettingsBlockFirst); }},
        {ReqRecordCount, [](MsgBuffer *b) { MsgPutWord(b, PEVc::Number); }},
        {ReqReadAt, [](MsgBuffer *b) { MsgPutWord(b, PEVc::Number), MsgPutLong(b, 1), MsgPutCString(b, ""); }},
        {ReqReadById, [](MsgBuffer *b) { MsgPutWord(b, CUVc::Number), MsgPutLong(b, 1), MsgPutWord(b, 0), MsgPutWord(b, 1); }},
        {ReqChoiceList, [](MsgBuffer *b) { MsgPutWord(b, 1), MsgPutPString(b, EmptyPString); }},
        {ReqSnapshotOpen, [](MsgBuffer *) {}},
        {ReqNothing, [](MsgBuffer *) {}},
        {60, [](MsgBuffer *) {}},
    };
    for (auto &[code, body] : asks) {
        MsgBuffer b;
        body(&b);
        c.Send(Request(s, code, &b));
        std::vector<uint8_t> f = c.Frame();
        EXPECT_EQ(RefusalText(f), TextNotLoggedIn) << "request " << code << " status " << Status(f);
    }
    EXPECT_EQ(InsertCustomer(c, s, "C1", nullptr), -100 - ReplyRefused);

    // A wrong password leaves the session as closed as before.
    EXPECT_EQ(Login(c, s, "ADMIN", "wrong"), LoginOutcome::Refused);
    c.Send(Request(s, ReqRecordCount, nullptr));
    EXPECT_EQ(RefusalText(c.Frame()), TextNotLoggedIn);
    // A final step without its first step proves nothing, even with a proof of the right password.
    MsgBuffer lone;
    uint8_t zeros[ScramKeySize] = {0};
    MsgPutWord(&lone, LoginStepFinal);
    MsgPutBytes(&lone, zeros, ScramNonceSize);
    MsgPutBytes(&lone, zeros, ScramNonceSize);
    MsgPutBytes(&lone, zeros, ScramKeySize);
    c.Send(Request(s, ReqLogin, &lone));
    MsgBuffer m;
    ASSERT_TRUE(ReplyBody(c.Frame(), &m));
    uint8_t name[256], accepted = 1;
    MsgGetPString(&m, name);
    MsgGetByte(&m, &accepted);
    EXPECT_EQ(accepted, 0);
    // The older login body, a password in clear, is not taken at all.
    MsgBuffer clear;
    uint8_t user[256], pw[256];
    PStringFromC(user, "ADMIN");
    PStringFromC(pw, AdminPassword);
    MsgPutPString(&clear, user);
    MsgPutPString(&clear, pw);
    c.Send(Request(s, ReqLogin, &clear));
    EXPECT_EQ(Status(c.Frame()), ReplyRefused);
    EXPECT_EQ(CustomerCount(c, s), 0xFFFFFFFFu);

    // Only the right password opens the session, and then reads are served.
    std::this_thread::sleep_for(std::chrono::milliseconds(3 * FirstWaitMs));   // the waits of the failures above
    LoginTrace t;
    ASSERT_EQ(Login(c, s, "ADMIN", AdminPassword, &t), LoginOutcome::Accepted);
    EXPECT_TRUE(t.serverProven);
    EXPECT_EQ(CustomerCount(c, s), 0u);
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}

TEST_F(GuardTest, NoPasswordIsInTheCompanyFileNorOnTheWire) {
    RawConn admin(port), bob(port);
    uint32_t sa = Session(admin, "ADMIN", AdminPassword), sb = Session(bob, "BOB", BobPassword);
    ASSERT_NE(sa, 0u);
    ASSERT_NE(sb, 0u);
    // ADMIN reads every person: none comes with a password or a verifier.
    for (uint32_t pos = 1; pos <= 4; pos++) {
        std::vector<uint8_t> r;
        ASSERT_EQ(ReadAt(admin, sa, PEVc::Number, pos, &r), 1) << pos;
        EXPECT_EQ(r[PEVc::Password], 0) << pos;
        EXPECT_FALSE(PersonHasVerifier(r.data())) << pos;
        EXPECT_TRUE(std::all_of(r.begin() + PEVc::PassVerifier, r.begin() + PEVc::PassVerifier + VerifierBytes,
                                [](uint8_t b) { return b == 0; }));
    }
    for (const RawConn *c : {&admin, &bob}) {
        for (const char *pw : {AdminPassword, BobPassword, CatPassword}) EXPECT_FALSE(Contains(c->wire, pw)) << pw;
        EXPECT_FALSE(c->wire.empty());
    }
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;

    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(file.size(), 1000u);
    for (const char *pw : {AdminPassword, BobPassword, CatPassword, "Eve-1"}) EXPECT_FALSE(Contains(file, pw)) << pw;
    EXPECT_TRUE(Contains(file, "LIMIT")) << "the scan reads the file's texts";

    // The file keeps a verifier of each password, and nothing in the field.
    ASSERT_TRUE(DbLayerInit());
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    MemBlock h = 0;
    uint8_t *p = RecBufferNew(PEVc::Number, &h);
    PutText(p, PEVc::Code, 5, "BOB");
    uint32_t id = 0, pos = 0;
    ASSERT_TRUE(RecFindLocal(PEVc::Number, p, 1, 1, &id, &pos));
    EXPECT_EQ(p[PEVc::Password], 0);
    PasswordVerifier v;
    ASSERT_TRUE(PersonVerifierGet(p, &v));
    EXPECT_TRUE(VerifierMatches(v, BobPassword));
    EXPECT_FALSE(VerifierMatches(v, AdminPassword));
    RecBufferFree(PEVc::Number, &h);
    D4Close();
}

TEST_F(GuardTest, APersonWithoutARightIsRefusedWhatTheMenusWouldNotOffer) {
    RawConn admin(port), bob(port), cat(port), eve(port);
    uint32_t sa = Session(admin, "ADMIN", AdminPassword), sb = Session(bob, "BOB", BobPassword),
             sc = Session(cat, "CAT", CatPassword), se = Session(eve, "EVE", "Eve-1");
    ASSERT_TRUE(sa && sb && sc && se);

    // BOB's group refuses the customer window: his insert is refused with
    // the text, and nothing is stored. EVE's empty group allows nothing.
    EXPECT_EQ(InsertCustomer(bob, sb, "C1", nullptr), Texts::NoRight);
    EXPECT_EQ(InsertCustomer(eve, se, "C2", nullptr), Texts::NoRight);
    EXPECT_EQ(CustomerCount(admin, sa), 0u);
    EXPECT_EQ(InsertCustomer(cat, sc, "C3", nullptr), RecDone);
    EXPECT_EQ(InsertCustomer(admin, sa, "C4", nullptr), RecDone);

    // BOB reads no person and no access group.
    EXPECT_EQ(ReadAt(bob, sb, PEVc::Number, 1), 0);
    EXPECT_EQ(ReadAt(bob, sb, AccessVc::Number, 1), 0);
    EXPECT_EQ(ReadAt(cat, sc, PEVc::Number, 1), 1);

    // Nobody but a user who may change groups sets another's password or
    // group: BOB and CAT try ADMIN's, CAT his own group.
    uint32_t adminId = 0, catId = 0;
    std::vector<uint8_t> adminRecord = Person(admin, sa, "ADMIN", &adminId);
    std::vector<uint8_t> catRecord = Person(admin, sa, "CAT", &catId);
    ASSERT_FALSE(adminRecord.empty());
    ASSERT_FALSE(catRecord.empty());
    PutText(adminRecord.data(), PEVc::Password, 20, "hacked");
    EXPECT_EQ(Update(bob, sb, PEVc::Number, adminId, adminRecord.data()), Texts::NoRight);
    EXPECT_EQ(Update(cat, sc, PEVc::Number, adminId, adminRecord.data()), Texts::NoRight);
    std::vector<uint8_t> moved = catRecord;
    PutText(moved.data(), PEVc::AccessCode, 5, "");
    EXPECT_EQ(Update(cat, sc, PEVc::Number, catId, moved.data()), Texts::NoRight);
    // BOB empties the rows of his own group: refused.
    std::vector<uint8_t> group;
    ASSERT_EQ(ReadAt(admin, sa, AccessVc::Number, 1, &group), 1);
    uint32_t groupId = 0;
    std::memcpy(&groupId, group.data() + AccessVc::Size, 4);
    PutU32(group.data(), AccessVc::Matrix, 0);
    EXPECT_EQ(Update(bob, sb, AccessVc::Number, groupId, group.data()), Texts::NoRight);

    // CAT may change his own password; a record sent back unchanged keeps
    // the stored verifier.
    PutText(catRecord.data(), PEVc::Password, 20, "Cat-New-1");
    EXPECT_EQ(Update(cat, sc, PEVc::Number, catId, catRecord.data()), RecDone);
    adminRecord = Person(admin, sa, "ADMIN", &adminId);
    EXPECT_EQ(Update(admin, sa, PEVc::Number, adminId, adminRecord.data()), RecDone);

    RawConn again(port);
    EXPECT_NE(Session(again, "ADMIN", AdminPassword), 0u) << "ADMIN's password was changed";
    RawConn catAgain(port);
    EXPECT_NE(Session(catAgain, "CAT", "Cat-New-1"), 0u);
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}

TEST_F(GuardTest, WrongPasswordsWaitLongerEachTimeAndTheRightOneClearsTheWait) {
    RawConn c(port);
    uint32_t s = Open(c, false);
    ASSERT_NE(s, 0u);
    // The program's name-less probe (a company without persons?) is
    // refused here but sets no wait: the first real login goes at once.
    for (int i = 0; i < 3; i++) EXPECT_EQ(Login(c, s, "", ""), LoginOutcome::Refused);
    ASSERT_EQ(Login(c, s, "CAT", CatPassword), LoginOutcome::Accepted);
    LoginTrace failed;
    EXPECT_EQ(Login(c, s, "BOB", "guess-1", &failed), LoginOutcome::Refused);
    // At once again: told to wait, and even the right password is not checked.
    LoginTrace t1, t2, t3;
    const LoginOutcome bob1 = Login(c, s, "BOB", BobPassword, &t1);
    // Another name from the same address waits as well.
    const LoginOutcome cat = Login(c, s, "CAT", CatPassword);
    if (OutlastedWait(failed.proofSent, FirstWaitMs)) GTEST_SKIP() << Stalled;
    EXPECT_EQ(bob1, LoginOutcome::Wait);
    EXPECT_EQ(cat, LoginOutcome::Wait);
    EXPECT_GT(t1.waitMs, 0u);
    EXPECT_LE(t1.waitMs, FirstWaitMs);
    std::this_thread::sleep_for(std::chrono::milliseconds(t1.waitMs + 30));
    EXPECT_EQ(Login(c, s, "BOB", "guess-2", &failed), LoginOutcome::Refused);
    const LoginOutcome bob2 = Login(c, s, "BOB", BobPassword, &t2);
    if (OutlastedWait(failed.proofSent, 2 * FirstWaitMs)) GTEST_SKIP() << Stalled;
    EXPECT_EQ(bob2, LoginOutcome::Wait);
    EXPECT_GT(t2.waitMs, FirstWaitMs) << "the second failure doubles the wait";
    EXPECT_LE(t2.waitMs, 2 * FirstWaitMs);
    std::this_thread::sleep_for(std::chrono::milliseconds(t2.waitMs + 30));
    EXPECT_EQ(Login(c, s, "BOB", "guess-3", &failed), LoginOutcome::Refused);
    const LoginOutcome bob3 = Login(c, s, "BOB", BobPassword, &t3);
    if (OutlastedWait(failed.proofSent, 4 * FirstWaitMs)) GTEST_SKIP() << Stalled;
    EXPECT_EQ(bob3, LoginOutcome::Wait);
    EXPECT_GT(t3.waitMs, 2 * FirstWaitMs);
    std::this_thread::sleep_for(std::chrono::milliseconds(t3.waitMs + 30));
    ASSERT_EQ(Login(c, s, "BOB", BobPassword), LoginOutcome::Accepted);
    // Accepted: both counts start afresh, the next failure waits the first wait again.
    EXPECT_EQ(Login(c, s, "BOB", "guess-4", &failed), LoginOutcome::Refused);
    LoginTrace t4;
    const LoginOutcome bob4 = Login(c, s, "BOB", BobPassword, &t4);
    if (OutlastedWait(failed.proofSent, FirstWaitMs)) GTEST_SKIP() << Stalled;
    EXPECT_EQ(bob4, LoginOutcome::Wait);
    EXPECT_LE(t4.waitMs, FirstWaitMs);
    // A name nobody has is answered like any other, and refused.
    std::this_thread::sleep_for(std::chrono::milliseconds(t4.waitMs + 30));
    EXPECT_EQ(Login(c, s, "NOBODY", BobPassword), LoginOutcome::Refused);
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}

TEST_F(GuardTest, OnlyTheAccessGroupRightChangesWhoIsWhoAndTheAdministrator) {
    RawConn admin(port), cat(port);
    uint32_t sa = Session(admin, "ADMIN", AdminPassword), sc = Session(cat, "CAT", CatPassword);
    ASSERT_TRUE(sa && sc);
    uint32_t adminId = 0, catId = 0, bobId = 0;
    const std::vector<uint8_t> adminRecord = Person(admin, sa, "ADMIN", &adminId);
    const std::vector<uint8_t> catRecord = Person(admin, sa, "CAT", &catId);
    const std::vector<uint8_t> bobRecord = Person(admin, sa, "BOB", &bobId);
    ASSERT_FALSE(adminRecord.empty() || catRecord.empty() || bobRecord.empty());
    auto changed = [](std::vector<uint8_t> r, uint32_t at, int max, const char *text) {
        PutText(r.data(), at, max, text);
        return r;
    };
    // CAT may use the person window but not the access-group window:
    // every write that would make someone else the administrator, or
    // change who a person is, is refused.
    const std::pair<const char *, std::pair<uint32_t, std::vector<uint8_t>>> refused[] = {
        {"ADMIN renamed", {adminId, changed(adminRecord, PEVc::Code, 5, "XADM")}},
        {"ADMIN's name", {adminId, changed(adminRecord, PEVc::Name, 60, "Someone")}},
        {"ADMIN sent back unchanged", {adminId, adminRecord}},
        {"CAT renamed ADMIN", {catId, changed(catRecord, PEVc::Code, 5, "ADMIN")}},
        {"CAT renamed", {catId, changed(catRecord, PEVc::Code, 5, "KIT")}},
        {"CAT out of his group", {catId, changed(catRecord, PEVc::AccessCode, 5, "")}},
        {"BOB renamed", {bobId, changed(bobRecord, PEVc::Code, 5, "ROB")}},
        {"BOB's password", {bobId, changed(bobRecord, PEVc::Password, 20, "taken-over")}},
    };
    for (const auto &[what, write] : refused)
        EXPECT_EQ(Update(cat, sc, PEVc::Number, write.first, write.second.data()), Texts::NoRight) << what;
    std::vector<uint8_t> fresh = changed(catRecord, PEVc::Code, 5, "ADMIN");
    EXPECT_EQ(InsertPerson(cat, sc, fresh), Texts::NoRight);
    EXPECT_EQ(DeletePerson(cat, sc, adminId, adminRecord), Texts::NoRight);

    // What stays his: another person's ordinary fields and his own password.
    EXPECT_EQ(Update(cat, sc, PEVc::Number, bobId, changed(bobRecord, PEVc::FullName, 20, "Bob B.").data()), RecDone);
    EXPECT_EQ(Update(cat, sc, PEVc::Number, catId, changed(catRecord, PEVc::Password, 20, "Cat-Own-2").data()),
              RecDone);

    // ADMIN, who may, renames and regroups persons.
    EXPECT_EQ(Update(admin, sa, PEVc::Number, bobId, changed(bobRecord, PEVc::Code, 5, "ROB").data()), RecDone);

    // Nothing above let CAT in as the administrator, nor changed ADMIN.
    RawConn asAdmin(port), adminAgain(port);
    EXPECT_EQ(Session(asAdmin, "ADMIN", "Cat-Own-2"), 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(FirstWaitMs + 100));   // the wait after that failure
    uint32_t again = Session(adminAgain, "ADMIN", AdminPassword);
    ASSERT_NE(again, 0u);
    uint32_t id = 0;
    std::vector<uint8_t> stored = Person(adminAgain, again, "ADMIN", &id);
    ASSERT_FALSE(stored.empty());
    uint8_t name[256];
    ::GetText(stored.data(), PEVc::Name, name);
    EXPECT_EQ(PStringToStd(name), "ADMIN");
    EXPECT_FALSE(Person(adminAgain, again, "ROB", &id).empty());
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}

TEST_F(GuardTest, AWholeExportCarriesTheVerifiersOnlyToTheAdministrator) {
    RawConn admin(port), cat(port);
    uint32_t sa = Session(admin, "ADMIN", AdminPassword), sc = Session(cat, "CAT", CatPassword);
    ASSERT_TRUE(sa && sc);
    std::vector<uint8_t> his = WholeExport(cat, sc), all = WholeExport(admin, sa);
    // CAT may read persons: their section comes, without a verifier.
    EXPECT_TRUE(Contains(his, "user1"));
    EXPECT_TRUE(Contains(his, "BOB"));
    EXPECT_FALSE(Contains(his, "SCRAM-SHA-256$"));
    EXPECT_TRUE(Contains(all, "SCRAM-SHA-256$"));
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}
