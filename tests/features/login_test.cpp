// login_test.cpp - logging in to a company and what the user may use:
// the access list decides by its last applicable row; a login finds the
// person by code, then by name ("ADMIN" too, unless the interface file
// sets a master password, which alone is taken then), fills the session's
// user entry on acceptance only, runs the login window until a pair is
// accepted and enters the first module the user may use, or until its
// Cancel button or Esc ends the session (and, for a module entered while
// nobody is logged in, the program); a client asks the server. The demo
// company made from the shipped defaults is entered as ADMIN by keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/msg_buffer.h"
#include "core/pstring.h"
#include "core/password_verifier.h"
#include "core/record_buffer.h"
#include "database/access/person_password.h"
#include "database/access/remote_calls.h"
#include "dict_offsets.h"
#include "platform/script.h"
#include "recordwin/record_windows.h"
#include "shell/login.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"
#include "tests/features/demo_company_fixture.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int LoginType = 15;

void PutText(uint8_t *record, uint32_t offset, int m, const char *text)
{
    PString p;
    PStringFromC(p, text);
    PutPString(record, offset, m, p);
}
std::string Text(const uint8_t *p) { return std::string(reinterpret_cast<const char *>(p) + 1, p[0]); }
// The session's user code.
std::string LoggedInCode()
{
    uint8_t code[6];
    CurrentUserCode(code);
    return Text(code);
}

class Login : public RecordFixture {
protected:
    // Stores a person, of access group `group`, with the series given
    // (the others -1: none).
    static void AddPerson(const char *code, const char *name, const char *password, const char *group = "",
                          std::vector<std::pair<uint32_t, uint32_t>> series = {})
    {
        Bytes p(PEVc::Size);
        PutText(p.data(), PEVc::Code, 5, code);
        PutText(p.data(), PEVc::Name, 60, name);
        PutText(p.data(), PEVc::Password, 20, password);
        PutText(p.data(), PEVc::AccessCode, 5, group);
        PutText(p.data(), PEVc::FullName, 20, "Full Name");
        PutText(p.data(), PEVc::Location, 10, "MAIN");
        for (uint32_t at : {PEVc::Series1, PEVc::Series2, PEVc::Series3, PEVc::Series4, PEVc::Series5, PEVc::Series6,
                            PEVc::Series7, PEVc::Series8})
            PutU32(p.data(), at, 0xFFFFFFFFu);
        for (auto [at, value] : series) PutU32(p.data(), at, value);
        ASSERT_TRUE(PersonPasswordSeal(p.data()));   // as every write of a person does
        Store(PEVc::Number, p.data());
    }
    static void AddGroup(const char *code, const AccessRows &rows)
    {
        Bytes g(AccessVc::Size);
        PutText(g.data(), AccessVc::Code, 5, code);
        MemBlock h = AccessRowsBlock(rows);
        PutU32(g.data(), AccessVc::Matrix, h);
        Store(AccessVc::Number, g.data());
        MemFree(&h);
    }
    static void Store(int reg, uint8_t *record) { ASSERT_NE(InsertHeld(reg, record), 0u); }
    // UserLoginCurrent (or UserLoginCall) of C strings; the name buffer
    // afterwards into *after.
    static bool TryLogin(const char *name, const char *password, std::string *after = nullptr, bool call = false)
    {
        PString n, p;
        PStringFromC(n, name);
        PStringFromC(p, password);
        bool accepted = call ? UserLoginCall(n, p) : UserLoginCurrent(n, p);
        if (after) *after = Text(n);
        return accepted;
    }
    static std::string UserCode() { return LoggedInCode(); }
    static Bytes EntryBytes() { return Bytes(Entry(), Entry() + SessionUserEntrySize); }
    static uint8_t *Entry() { return SessionUserEntry(CurrentSessionIndex); }
    static int Refusals()
    {
        int n = 0;
        for (const std::string &m : Shown()) n += m.find(TextOf(9856)) != std::string::npos;
        return n;
    }
};

TEST_F(Login, RightsTakeTheLastApplicableRow)
{
    AccessListUse({{1, 3, 0}, {9, 1, 0}});   // the (9, 1) row comes last: modules allowed
    EXPECT_TRUE(MayUseModule(3));
    AccessListUse({{9, 1, 0}, {1, 3, 0}});
    EXPECT_FALSE(MayUseModule(3));
    EXPECT_TRUE(MayUseModule(2));
    AccessListUse({{2, 590, 1}, {2, 591, 0}});   // only window rows: no module at all
    for (int m = 1; m <= 6; m++) EXPECT_FALSE(MayUseModule(m)) << m;
    EXPECT_TRUE(MayUseWindowItem(590));
    EXPECT_FALSE(MayOpenWindowType(591));   // a register window: its window right

    // Right 2 allows in every check; 0 and 5 refuse.
    AccessListUse({{1, 4, 2}, {2, 590, 2}, {3, 592, 2}, {4, 7, 2}, {5, 8, 2}});
    EXPECT_TRUE(MayUseModule(4) && MayUseWindowItem(590) && MayOpenWindowTypeRight(592) && MayUseType4(0, 7) &&
                MayUseType4Item(0, 7) && MayUseType5(0, 8) && MayUseType5Item(0, 8));
    AccessListUse({{3, 592, 0}, {4, 7, 5}, {5, 8, 0}});
    EXPECT_FALSE(MayOpenWindowType(592));   // a settings window: its type right
    EXPECT_FALSE(MayUseType4(0, 7) || MayUseType4Item(0, 7) || MayUseType5(0, 8) || MayUseType5Item(0, 8));
    EXPECT_TRUE(MayUseType4(0, 8));   // no row for it
    EXPECT_FALSE(MayUseType4Or5(3));
    EXPECT_TRUE(MayUseType4Or5(1));

}

TEST_F(Login, CodeThenNameFindTheUserAndTheAccessGroupGivesTheRights)
{
    // Without persons the fixture's open entered the first module with no
    // window, and any pair enters.
    EXPECT_EQ(LoggedInFlag, 1);
    EXPECT_EQ(CurrentModule, 2);
    EXPECT_TRUE(Shown().empty());
    std::string after;
    EXPECT_TRUE(TryLogin("ANY", "thing", &after));
    EXPECT_EQ(after, "");

    AddGroup("G1", {{9, 1, 1}, {1, 3, 0}});
    AddPerson("AMY", "Amy Berg", "pw1", "G1");
    AddPerson("ZED", "AMY", "pw2");
    AddPerson("CL", "Carl Lund", "pw3", "G1");
    AddPerson("ADMIN", "ADMIN", "pw4");
    EXPECT_TRUE(TryLogin("amy", "pw1", &after));   // the code, as a user types it
    EXPECT_EQ(after, "AMY");
    EXPECT_EQ(UserCode(), "AMY");
    EXPECT_FALSE(MayUseModule(3));
    EXPECT_TRUE(MayUseModule(2));
    EXPECT_TRUE(TryLogin("AMY", "pw2", &after));   // AMY's password differs; ZED is named AMY
    EXPECT_EQ(after, "ZED");
    // ZED has no access group: an empty list, which allows nothing to
    // anyone but the administrator.
    EXPECT_FALSE(MayUseModule(3));
    EXPECT_FALSE(MayUseModule(2));
    EXPECT_TRUE(TryLogin("Carl Lund", "pw3", &after));
    EXPECT_EQ(after, "CL");
    EXPECT_FALSE(TryLogin("Carl Lund", "pw1"));
    EXPECT_FALSE(TryLogin("", ""));   // an empty name is never searched for
    EXPECT_EQ(UserCode(), "CL");

    // Without a master password (no text 1410) "ADMIN" is a person like
    // any other: its own password, never an empty one.
    EXPECT_FALSE(TryLogin("ADMIN", ""));
    EXPECT_FALSE(TryLogin("ADMIN", "pw1"));
    EXPECT_EQ(UserCode(), "CL");
    EXPECT_TRUE(TryLogin("ADMIN", "pw4", &after));
    EXPECT_EQ(after, "ADMIN");
    EXPECT_EQ(UserCode(), "ADMIN");
    EXPECT_TRUE(MayUseModule(3));   // the administrator's empty list allows all
    EXPECT_TRUE(MayUseWindowItem(591));
}

TEST_F(Login, TheAdministratorsGroupAloneHasAnEmptyListThatAllowsAll)
{
    AddGroup("ROOT", {});
    AddGroup("G2", {});
    AddPerson("ADMIN", "ADMIN", "pw0", "ROOT");
    AddPerson("RUTH", "Ruth", "pw1", "ROOT");
    AddPerson("GUS", "Gus", "pw2", "G2");
    AddPerson("NED", "Ned", "pw3");
    ASSERT_TRUE(TryLogin("RUTH", "pw1"));
    EXPECT_TRUE(UserIsAdministrator);
    EXPECT_TRUE(MayUseModule(2) && MayUseWindowItem(593) && MayOpenWindowTypeRight(592) && MayUseType4(0, 7));
    for (const char *who : {"GUS", "NED"}) {
        ASSERT_TRUE(TryLogin(who, who[0] == 'G' ? "pw2" : "pw3")) << who;
        EXPECT_FALSE(UserIsAdministrator) << who;
        EXPECT_FALSE(MayUseModule(2) || MayUseWindowItem(593) || MayOpenWindowTypeRight(592) || MayUseType4(0, 7) ||
                     MayUseType5(0, 8))
            << who;
    }
    // The same rules with rights given outright, as the server keeps them.
    UserRightsRec none{nullptr, 0, false}, all{nullptr, 0, true};
    EXPECT_EQ(UserAccessRight(none, 2, 593), 0);
    EXPECT_EQ(UserAccessRightType1(none, 2), 0);
    EXPECT_EQ(UserAccessRight(all, 2, 593), 1);
    EXPECT_EQ(UserAccessRightType1(all, 2), 1);
    EXPECT_FALSE(RightsMayWriteRegister(none, CUVc::Number));
    EXPECT_FALSE(RightsMayChangeGroups(none));
    EXPECT_TRUE(RightsMayChangeGroups(all));
    // (2, 591, 0) and (2, 595, 0): neither the access-group window nor its list.
    const uint8_t rows[12] = {2, 0, 0x4F, 0x02, 0, 0, 2, 0, 0x53, 0x02, 0, 0};
    UserRightsRec some{rows, 2, false};
    EXPECT_FALSE(RightsMayChangeGroups(some));
    EXPECT_TRUE(RightsMayWriteRegister(some, CUVc::Number));
    EXPECT_TRUE(RightsMayReadRegister(some, PEVc::Number));
    EXPECT_FALSE(RightsMayReadRegister(some, AccessVc::Number));
}

// A settings block that two windows show is stored only by a user whom
// both allow: either one refused keeps its fields from the other's store.
TEST_F(Login, ABlockKeptByTwoWindowsIsStoredOnlyWhenBothAllow)
{
    std::map<int, std::vector<int>> windows;   // block -> its settings windows
    for (int type = 1; type < WinTypeCount; type++) {
        if (!WinDefExists(type) || WinTypeRegister(type) != 0 || WinTypeWord(type, 9) == 0) continue;
        int kind = WinTypeWord(type, 0);
        if (kind == 8 || kind == 9) windows[WinTypeWord(type, 9)].push_back(type);
    }
    int shared = 0;
    for (const auto &[block, types] : windows) {
        if (types.size() < 2) continue;
        shared++;
        const uint8_t allowAll[6] = {9, 0, 1, 0, 1, 0};
        EXPECT_TRUE(RightsMayWriteBlock(UserRightsRec{allowAll, 1, false}, block)) << block;
        for (int refusedType : types) {
            uint8_t row[6] = {3, 0, uint8_t(refusedType), uint8_t(refusedType >> 8), 0, 0};
            EXPECT_FALSE(RightsMayWriteBlock(UserRightsRec{row, 1, false}, block))
                << "block " << block << " stored with window " << refusedType << " refused";
        }
    }
    EXPECT_GT(shared, 0) << "the company window and the ledger options share a block";
    EXPECT_GE(windows[129].size(), 2u);
}

// The program that keeps the company asks the same as a server before a
// window stores a person: a user who may use the person window but not
// the access-group window changes no code, no group, nobody's password
// but his own and nothing of the administrator.
TEST_F(Login, APersonWindowAloneNeverMakesSomeoneTheAdministrator)
{
    AddGroup("STAFF", {{9, 1, 1}, {3, 591, 0}});   // the access-group window refused by its type's right
    AddPerson("ADMIN", "ADMIN", "pw0");
    AddPerson("CAT", "Cat", "pw1", "STAFF");
    AddPerson("BOB", "Bob", "pw2", "STAFF");
    auto stored = [](const char *code) {
        Bytes p(PEVc::Size);
        PutText(p.data(), PEVc::Code, 5, code);
        uint32_t id = 0, position = 0;
        EXPECT_TRUE(RecFind(PEVc::Number, p.data(), 1, 1, &id, &position)) << code;
        RecFreeMatrix(PEVc::Number, p.data());
        return p;
    };
    auto with = [](Bytes p, uint32_t at, int m, const char *text) {
        PutText(p.data(), at, m, text);
        return p;
    };
    const Bytes admin = stored("ADMIN"), cat = stored("CAT"), bob = stored("BOB");
    ASSERT_TRUE(TryLogin("CAT", "pw1"));
    ASSERT_FALSE(UserIsAdministrator);
    MessagesShown.clear();
    EXPECT_FALSE(MayStorePersonHere(admin.data(), with(admin, PEVc::Code, 5, "XADM").data()));
    EXPECT_FALSE(MayStorePersonHere(admin.data(), with(admin, PEVc::FullName, 20, "Anyone").data()));
    EXPECT_FALSE(MayStorePersonHere(cat.data(), with(cat, PEVc::Code, 5, "ADMIN").data()));
    EXPECT_FALSE(MayStorePersonHere(cat.data(), with(cat, PEVc::AccessCode, 5, "").data()));
    EXPECT_FALSE(MayStorePersonHere(bob.data(), with(bob, PEVc::Password, 20, "mine-now").data()));
    EXPECT_FALSE(MayStorePersonHere(nullptr, nullptr));   // a new person, or a delete
    EXPECT_EQ(Shown().size(), 6u) << "each refusal is told";
    EXPECT_TRUE(MayStorePersonHere(bob.data(), with(bob, PEVc::FullName, 20, "Bob B.").data()));
    EXPECT_TRUE(MayStorePersonHere(cat.data(), with(cat, PEVc::Password, 20, "pw9").data()));
    // The administrator may do each of them.
    ASSERT_TRUE(TryLogin("ADMIN", "pw0"));
    EXPECT_TRUE(MayStorePersonHere(cat.data(), with(cat, PEVc::Code, 5, "KIT").data()));
    EXPECT_TRUE(MayStorePersonHere(nullptr, nullptr));
}

TEST_F(Login, AnOlderCompanysPasswordsBecomeVerifiersAtItsFirstOpenWhichSaysSoOnce)
{
    AddGroup("G1", {{9, 1, 1}});
    // Persons as an older program stored them: the password as text.
    for (auto [code, password] : {std::pair{"AMY", "pw1"}, std::pair{"BO", ""}}) {
        Bytes p(PEVc::Size);
        PutText(p.data(), PEVc::Code, 5, code);
        PutText(p.data(), PEVc::Password, 20, password);
        PutText(p.data(), PEVc::AccessCode, 5, "G1");
        Store(PEVc::Number, p.data());
    }
    EXPECT_FALSE(TryLogin("AMY", "pw1")) << "a password kept as text is never compared";
    DbClose();
    PString path;
    PathOf("company.VDB", path);
    auto loginKeys = [] {
        ScriptText("amy");
        ScriptKey(PlKey::Tab);
        ScriptKey(PlKey::Tab);
        ScriptText("pw1");
        ScriptKey(PlKey::Return);
    };
    auto told = [] {
        int n = 0;
        for (const std::string &m : Shown()) n += m.find(TextOf(16003)) != std::string::npos;
        return n;
    };
    loginKeys();
    ASSERT_TRUE(DbOpen(path, 0));
    EXPECT_EQ(told(), 1);
    EXPECT_EQ(UserCode(), "AMY");
    for (auto [code, password] : {std::pair{"AMY", "pw1"}, std::pair{"BO", ""}}) {
        Bytes p(PEVc::Size);
        PutText(p.data(), PEVc::Code, 5, code);
        uint32_t id = 0, position = 0;
        ASSERT_TRUE(RecFind(PEVc::Number, p.data(), 1, 1, &id, &position)) << code;
        EXPECT_EQ(p[PEVc::Password], 0) << code;
        PasswordVerifier v;
        ASSERT_TRUE(PersonVerifierGet(p.data(), &v)) << code;
        EXPECT_TRUE(VerifierMatches(v, password)) << code;
        EXPECT_FALSE(VerifierMatches(v, "pw2")) << code;
    }
    EXPECT_TRUE(TryLogin("BO", ""));
    EXPECT_FALSE(TryLogin("AMY", "pw2"));

    // The next open has nothing left to convert and says nothing.
    DbClose();
    loginKeys();
    ASSERT_TRUE(DbOpen(path, 0));
    EXPECT_EQ(told(), 1);
}

TEST_F(Login, ARefusalChangesNothingAndAnAcceptanceKeepsThePersonsOwnSeries)
{
    AddGroup("G1", {{1, 2, 0}});
    AddPerson("AMY", "Amy Berg", "pw1", "G1",
              {{PEVc::Series1, 500}, {PEVc::Series2, 0xFFFFFFFEu}, {PEVc::Series6, 700}});
    SettingsBlockLoad(SeriesDefaultsBlk::Number);
    const uint32_t hints[8] = {SeriesDefaultsBlk::OrderHint,     SeriesDefaultsBlk::DeliveryHint,
                               SeriesDefaultsBlk::InvoiceHint,   SeriesDefaultsBlk::PurchHint,
                               SeriesDefaultsBlk::ReceiptHint,   SeriesDefaultsBlk::LastVoucherNr,
                               SeriesDefaultsBlk::PurchInvStart, SeriesDefaultsBlk::OutPayStart};
    for (int i = 0; i < 8; i++) PutU32(SeriesStateBlock, hints[i], 11 + i);
    AccessListUse({{1, 4, 0}});
    std::memset(Entry(), 0x5A, SessionUserEntrySize);
    Bytes entry = EntryBytes(), user(LoggedInUser, LoggedInUser + LoggedInUserSize);

    EXPECT_FALSE(TryLogin("AMY", "wrong"));
    EXPECT_EQ(EntryBytes(), entry);
    EXPECT_EQ(Bytes(LoggedInUser, LoggedInUser + LoggedInUserSize), user);

    ASSERT_TRUE(TryLogin("AMY", "pw1"));
    const uint32_t expected[8] = {500, 12, 13, 14, 15, 700, 17, 18};
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(GetU32(Entry(), i < 5 ? SU::SeriesA + 4 * i : SU::SeriesB + 4 * (i - 5)), expected[i]) << i;
    EXPECT_EQ(Text(Entry() + SU::FullName), "Full Name");
    EXPECT_EQ(Text(Entry() + SU::Code10), "MAIN");
    EXPECT_EQ(Text(LoggedInUser + AccessVc::Code), "G1");   // the group's record replaced the list before
    EXPECT_FALSE(MayUseModule(2));
}

TEST_F(Login, AWrongPasswordKeepsTheWindowAndTheRightOneEntersTheFirstModuleAllowed)
{
    AddGroup("G1", {{9, 1, 1}, {1, 2, 0}});
    AddPerson("AMY", "Amy Berg", "pw1", "G1");
    LoggedInFlag = 0;
    for (const char *password : {"bad", "pw1"}) {
        if (password[0] == 'b') ScriptText("amy");
        ScriptKey(PlKey::Tab);
        ScriptKey(PlKey::Tab);
        ScriptText(password);
        ScriptKey(PlKey::Return);
    }
    EXPECT_TRUE(LoginLoop());
    EXPECT_EQ(Refusals(), 1);
    EXPECT_EQ(WinFindByDef(LoginType), 0);
    EXPECT_EQ(LoggedInFlag, 1);
    EXPECT_EQ(BarsLocked, 0);
    EXPECT_EQ(UserCode(), "AMY");
    EXPECT_EQ(CurrentModule, 5);   // module 2 refused: the next in the order
}

TEST_F(Login, ItsCancelButtonEndsAModulesLoginAndTheProgramACompanysLoginClosesIt)
{
    AddGroup("G1", {{9, 1, 1}, {1, 2, 0}});
    AddPerson("AMY", "Amy Berg", "pw1", "G1");
    ASSERT_TRUE(TryLogin("AMY", "pw1"));
    int probe = OpenWindow(LoginType, 0);   // where the login window's Cancel stands
    ASSERT_GT(probe, 0);
    MacRect r;
    WinFieldRect(probe, 1, &r);
    PlPoint cancel = WinClientToScreen(WinTable[probe]->mdiChild, PlPoint{(r.left + r.right) / 2, r.top + 5});
    WinClose(probe);

    // A module entered while nobody is logged in runs the login; its Cancel
    // (pressed before what would log in) ends the program.
    LoggedInFlag = 0;
    ScriptText("amy");
    MsgInputMouse(cancel, 1, true);
    MsgInputMouse(cancel, 1, false);
    ScriptKey(PlKey::Tab);
    ScriptKey(PlKey::Tab);
    ScriptText("pw1");
    ScriptKey(PlKey::Return);
    EXPECT_FALSE(ModuleEnterCheck(3));
    EXPECT_EQ(QuitFlag, 1);
    EXPECT_EQ(QuitForced, 1);
    EXPECT_EQ(WinFindByDef(LoginType), 0);
    Drain();
    EXPECT_EQ(LoggedInFlag, 0);
    QuitFlag = QuitForced = 0;

    // Closing the company frees the access list; at the next open a login
    // that ends with nothing more to come is a cancel, and closes it again.
    DbClose();
    EXPECT_EQ(GetU32(LoggedInUser, LoggedInUserAccessList), 0u);
    PString path;
    PathOf("company.VDB", path);
    EXPECT_FALSE(DbOpen(path, 0));
    EXPECT_EQ(DbOpenFlag, 0);
    EXPECT_FALSE(D4IsOpen());
    EXPECT_EQ(WinFindByDef(LoginType), 0);
    EXPECT_TRUE(Shown().empty());
}

// The server of the client's login (request 31), in its two steps: it
// answers AMY with access group G9, accepted or not, proving itself with
// the signature of ClientPassword's verifier (or a wrong one when asked).
constexpr const char *ClientPassword = "pw-Orchard-31";
std::vector<std::pair<uint16_t, Bytes>> LoginRequests;
uint8_t LoginAccepted;
bool LoginSignsWrong;
uint8_t FakeClientNonce[ScramNonceSize];
const uint8_t FakeServerNonce[ScramNonceSize] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 9, 8, 7, 6, 5, 4, 3, 2, 1};
const uint8_t FakeSalt[VerifierSaltSize] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
std::string FakeUser;

bool FakeLoginServer(uint16_t code, MsgBuffer *request, MsgBuffer *reply)
{
    LoginRequests.push_back({code, Bytes(MsgData(request), MsgData(request) + MsgLength(request))});
    MsgBuffer body{};
    uint16_t step = 0;
    MsgGetWord(request, &step);
    if (step == LoginStepFirst) {
        uint8_t name[256];
        MsgGetPString(request, name);
        MsgGetBytes(request, FakeClientNonce, ScramNonceSize);
        FakeUser = Text(name);
        MsgPutWord(&body, LoginChallenge);
        MsgPutBytes(&body, FakeServerNonce, ScramNonceSize);
        MsgPutBytes(&body, FakeSalt, VerifierSaltSize);
        MsgPutLong(&body, VerifierIterationsMin);
    } else {
        uint8_t nonce[ScramNonceSize], serverNonce[ScramNonceSize], proof[ScramKeySize], signature[ScramKeySize] = {};
        MsgGetBytes(request, nonce, ScramNonceSize);
        MsgGetBytes(request, serverNonce, ScramNonceSize);
        MsgGetBytes(request, proof, ScramKeySize);
        PasswordVerifier v;
        VerifierDerive(ClientPassword, FakeSalt, VerifierIterationsMin, &v);
        std::string message = ScramAuthMessage(FakeUser, FakeClientNonce, FakeServerNonce, FakeSalt, VerifierIterationsMin);
        bool proven = std::memcmp(nonce, FakeClientNonce, ScramNonceSize) == 0 &&
                      ScramServerCheck(v, message, proof, signature);
        if (LoginSignsWrong) signature[0] ^= 1;
        MemBlock h = 0;
        uint8_t *access = RecBufferNew(AccessVc::Number, &h);
        PutText(access, AccessVc::Code, 5, "G9");
        PutU32(access, AccessVc::Matrix, AccessRowsBlock({{1, 2, 0}}));
        PString name;
        PStringFromC(name, "AMY");
        MsgPutPString(&body, name);
        MsgPutByte(&body, LoginAccepted && proven);
        MsgPutRecord(&body, AccessVc::Number, access);
        MsgPutByte(&body, 0);
        MsgPutBytes(&body, signature, ScramKeySize);
        RecBufferFree(AccessVc::Number, &h);
    }
    bool loaded = !MsgFailed(&body) && MsgLoad(reply, MsgData(&body), MsgLength(&body));
    MsgClear(&body);
    return loaded;
}

TEST_F(Login, AClientAsksTheServerAndOnlyAnAcceptanceChangesTheUser)
{
    TransportInstall(FakeLoginServer, FakeLoginServer);
    RunMode = RunModeClient;
    LoginRequests.clear();
    LoginAccepted = 0;
    LoginSignsWrong = false;
    Bytes user(LoggedInUser, LoggedInUser + LoggedInUserSize);
    EXPECT_FALSE(TryLogin("amy", ClientPassword, nullptr, true));
    ASSERT_EQ(LoginRequests.size(), 2u);
    EXPECT_EQ(LoginRequests[0].first, 31);
    EXPECT_EQ(Bytes(LoginRequests[0].second.begin(), LoginRequests[0].second.begin() + 6),
              (Bytes{1, 0, 3, 'a', 'm', 'y'}));
    EXPECT_EQ(Bytes(LoggedInUser, LoggedInUser + LoggedInUserSize), user);
    EXPECT_EQ(UserCode(), "");

    LoginAccepted = 1;
    EXPECT_FALSE(TryLogin("amy", "pw-wrong", nullptr, true)) << "the server took a proof of another password";
    EXPECT_TRUE(RemoteLoginRefused) << "the server's own refusal is the one the window tells as wrong";
    EXPECT_TRUE(TryLogin("amy", ClientPassword, nullptr, true));
    EXPECT_FALSE(RemoteLoginRefused);
    EXPECT_EQ(UserCode(), "AMY");
    EXPECT_EQ(Text(LoggedInUser + AccessVc::Code), "G9");
    EXPECT_FALSE(MayUseModule(2));
    // The password never went out, in any request.
    std::string secret(ClientPassword);
    for (const auto &[code, bytes] : LoginRequests)
        EXPECT_EQ(std::search(bytes.begin(), bytes.end(), secret.begin(), secret.end()), bytes.end());

    // A server that accepts without proving that it holds the verifier is
    // not believed: the user stays as he was and the user is told.
    LoginSignsWrong = true;
    Bytes before(LoggedInUser, LoggedInUser + AccessVc::Code + 6);
    size_t shown = Shown().size();
    EXPECT_FALSE(TryLogin("amy", ClientPassword, nullptr, true));
    EXPECT_EQ(Bytes(LoggedInUser, LoggedInUser + AccessVc::Code + 6), before);
    ASSERT_GT(Shown().size(), shown);
    EXPECT_NE(Shown().back().find(TextOf(16004)), std::string::npos);
    LoginSignsWrong = false;

    TransportInstall(nullptr, nullptr);
    EXPECT_FALSE(TryLogin("amy", ClientPassword, nullptr, true));   // no connection
    EXPECT_FALSE(RemoteLoginRefused) << "a lost connection is no wrong password";
    EXPECT_EQ(Text(LoggedInUser + AccessVc::Code), "G9");
    RunMode = 1;
}

// The built dictionary with "ADMIN"'s password set by text 1410.
class AdminLogin : public Login {
protected:
    std::string InterfaceSource() override
    {
        return BuiltDictSource() + "1410 \"Sesame\"\n";
    }
};

TEST_F(AdminLogin, AdminEntersOnlyWithTheTextsPasswordAndNeverReadsThePersons)
{
    AddPerson("ADMIN", "ADMIN", "pw", "G1");
    AddGroup("G1", {{1, 2, 0}});
    EXPECT_FALSE(TryLogin("ADMIN", "pw"));
    EXPECT_FALSE(TryLogin("ADMIN", ""));
    std::string after = "x";
    EXPECT_TRUE(TryLogin("ADMIN", "Sesame", &after));
    EXPECT_EQ(after, "");
    EXPECT_EQ(UserCode(), "");
    EXPECT_TRUE(MayUseModule(2));   // no access record was read
}

// The road of a new user: the demo company made from the shipped
// defaults, whose login window takes ADMIN and the README's password by
// keys and OK; a wrong password first is told and changes nothing.
TEST_F(DemoCompany, AdminLogsInWithTheReadmesPasswordAndAWrongOneIsTold)
{
    ASSERT_TRUE(MakeDemo([this] {
        QueueLogin("admin", "Orvel", false);   // the code upper-cased as typed; the password is not
        ScriptKey(PlKey::Tab);                 // the focus is back on the code, which stays
        ScriptKey(PlKey::Tab);
        ScriptText("orvel");
        MsgInputMouse(okButton, 1, true);
        MsgInputMouse(okButton, 1, false);
    })) << ::testing::PrintToString(Shown());
    EXPECT_EQ(LoginRefusals(), 1);
    EXPECT_EQ(Shown().size(), 1u) << Shown().back();
    EXPECT_EQ(WinFindByDef(LoginWindowType), 0);
    EXPECT_EQ(LoggedInFlag, 1);
    EXPECT_EQ(LoggedInCode(), "ADMIN");
    EXPECT_EQ(Text(SessionUserEntry(CurrentSessionIndex) + SU::FullName), "Administrator");
    EXPECT_NE(CurrentModule, 0);
}

// Esc in the login window is its Cancel: the company closes again with
// nothing typed after the Esc reaching it, and opened again it asks anew.
TEST_F(DemoCompany, EscInTheLoginWindowCancelsIt)
{
    EXPECT_FALSE(MakeDemo([this] {
        ScriptText("ADM");
        ScriptKey(PlKey::Escape);
        QueueLogin("IN", "orvel", false);   // would complete "ADMIN" had the Esc not ended the window
    }));
    EXPECT_EQ(DbOpenFlag, 0);
    EXPECT_EQ(LoggedInFlag, 0);
    EXPECT_EQ(WinFindByDef(LoginWindowType), 0);
    EXPECT_TRUE(Shown().empty()) << Shown().front();

    WhenLoginShows() = [this] { QueueLogin("ADMIN", "orvel"); };
    PString path;
    PathOf("demo.VDB", path);
    EXPECT_TRUE(DbOpen(path, 0));
    EXPECT_EQ(LoggedInFlag, 1);
    EXPECT_EQ(LoggedInCode(), "ADMIN");
}

}  // namespace

// A client opening the server's company shows "Please wait"; the login
// that follows asks in front of nothing: the busy box is gone before the
// login window opens, not left standing behind it.
TEST_F(Login, TheLoginWindowTakesThePlaceOfTheBusyBox)
{
    constexpr int BusyMessageType = 19;
    AddGroup("G1", {{9, 1, 1}, {1, 2, 0}});
    AddPerson("AMY", "Amy Berg", "pw1", "G1");
    LoggedInFlag = 0;
    PString busy;
    PStringFromC(busy, "Opening the server's company...");
    ShowBusyMessage(busy);
    ASSERT_NE(WinFindByDef(BusyMessageType), 0);
    ScriptText("amy");
    ScriptKey(PlKey::Tab);
    ScriptKey(PlKey::Tab);
    ScriptText("pw1");
    ScriptKey(PlKey::Return);
    EXPECT_TRUE(LoginLoop());
    EXPECT_EQ(WinFindByDef(BusyMessageType), 0);
}
