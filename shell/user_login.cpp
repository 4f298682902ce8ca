// user_login.cpp - checking a user's name and password against the
// company's persons (register 44), locally or at the server.
//
// A person is found by the typed name as a user code, else by a scan of
// every person whose name equals it; the typed password must match the
// person's verifier (database/access/person_password.h): no password is
// kept as text to compare with. The server's challenge-response login
// (net/auth_login.cpp) finds its person with UserLoginTarget and proves
// the password against the same verifier.
// "ADMIN" is such a person too, unless the interface file sets a master
// password for it (text 1410). Such a password is the same in every copy
// of the program, so the built interface file leaves it empty and the
// demo company's "ADMIN" is a person with a password of its own.
// The access record (register 46) named by the person's access code
// carries the user's access list. A refused pair changes nothing: not the
// session's user entry, not the caller's access record.
#include "shell/login.h"

#include <cassert>
#include <cstring>
#include <string_view>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/person_password.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "dict_offsets.h"
#include "operations/operations.h"

namespace {

constexpr int AdminPasswordText = 1410;   // the master password of "ADMIN"; empty: none
constexpr uint16_t FieldText = 1;         // field type of a plain text
constexpr int UserCodeLength = 5;
constexpr uint32_t SeriesNoneA = 0xFFFFFFFFu, SeriesNoneB = 0xFFFFFFFEu;   // -1 and -2: no choice

// Scratch records of the person and of the access record being tried;
// both freed with their rows when the check ends.
struct LoginScratch {
    MemBlock userHandle = 0, accessHandle = 0;
    uint8_t *user = nullptr, *access = nullptr;
    LoginScratch()
    {
        user = RecBufferNew(PEVc::Number, &userHandle);
        access = RecBufferNew(AccessVc::Number, &accessHandle);
    }
    ~LoginScratch()
    {
        RecBufferFree(PEVc::Number, &userHandle);
        RecBufferFree(AccessVc::Number, &accessHandle);
    }
    LoginScratch(const LoginScratch &) = delete;
    LoginScratch &operator=(const LoginScratch &) = delete;
};

// The master password of "ADMIN" (text 1410) into secret; false when the
// interface file sets none (the text missing or empty).
bool AdminMasterPassword(uint8_t *secret)
{
    GetUiText(secret, AdminPasswordText);
    return secret[0] != 0;
}

std::string_view PasswordText(const uint8_t *password)
{
    return std::string_view(reinterpret_cast<const char *>(password + 1), password[0]);
}

// Reads the access record person s.user names into s.access (a cleared
// record when there is none: an empty access list).
void AccessRecordRead(LoginScratch &s)
{
    PString code;
    RecClear(AccessVc::Number, s.access);
    GetText(s.user, PEVc::AccessCode, code);
    PutText(s.access, AccessVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (!RecFind(AccessVc::Number, s.access, 1, 1, &recid, &position)) RecClear(AccessVc::Number, s.access);
}

// True when the typed password is person s.user's; its access record is
// then read into s.access. A person without a verifier (its password not
// converted) never matches.
bool PasswordMatches(LoginScratch &s, const uint8_t *password)
{
    PasswordVerifier v;
    if (!PersonVerifierGet(s.user, &v) || !VerifierMatches(v, PasswordText(password))) return false;
    AccessRecordRead(s);
    return true;
}

// Reads the person whose code is the typed name into s.user.
bool PersonByCode(LoginScratch &s, const uint8_t *name)
{
    RecClear(PEVc::Number, s.user);
    if (!FieldFromText(s.user + PEVc::Code, FieldText, UserCodeLength, name)) return false;
    return RecFindByFirstKey(PEVc::Number, s.user);
}

// The access code of the person "ADMIN" (empty when there is none): its
// group is the administrator's.
void AdministratorGroup(uint8_t *code)
{
    code[0] = 0;
    LoginScratch s;
    PString admin;
    PStringFromC(admin, "ADMIN");
    if (s.user && PersonByCode(s, admin)) GetText(s.user, PEVc::AccessCode, code);
}

// Finds the person whose code is the typed name and checks the password.
bool LoginByCode(LoginScratch &s, const uint8_t *name, const uint8_t *password)
{
    return PersonByCode(s, name) && PasswordMatches(s, password);
}

// Reads the persons in the order of the register's current index from
// the first on, and accepts the first whose name equals the typed name
// (never an empty one) and whose password matches. A read that fails
// ends the scan.
bool LoginByName(LoginScratch &s, const uint8_t *name, const uint8_t *password)
{
    if (name[0] == 0) return false;
    PString stored;
    for (int32_t position = 1;; position++) {
        RecClear(PEVc::Number, s.user);
        uint32_t recid = 0;
        if (!RecReadAt(PEVc::Number, position, s.user, &recid)) return false;
        GetText(s.user, PEVc::Name, stored);
        if (PStringEqual(stored, name) && (!password || PasswordMatches(s, password))) return true;
    }
}

// Fills the current session's user entry after an accepted login: the
// company's default series, then the person's code, 10-character code
// and full name, and each of the person's series choices that is not -1
// or -2. Without a person (null) the texts are empty and the defaults
// stay. Nothing without a current session.
void SessionEntryFill(const uint8_t *user)
{
    SessionSeriesDefaults();
    uint8_t *entry = SessionUserEntry(CurrentSessionIndex);
    if (!entry) return;
    PString text;
    text[0] = 0;
    if (user) GetText(user, PEVc::Code, text);
    PutPString(entry, SU::UserCode, UserCodeLength, text);
    if (user) GetText(user, PEVc::Location, text);
    PutPString(entry, SU::Code10, 10, text);
    if (user) GetText(user, PEVc::FullName, text);
    PutPString(entry, SU::FullName, 20, text);
    if (!user) return;
    const uint32_t first[5] = {PEVc::Series1, PEVc::Series2, PEVc::Series3, PEVc::Series4, PEVc::Series5};
    const uint32_t further[3] = {PEVc::Series6, PEVc::Series7, PEVc::Series8};
    for (int i = 0; i < 8; i++) {
        uint32_t choice = GetU32(user, i < 5 ? first[i] : further[i - 5]);
        if (choice == SeriesNoneA || choice == SeriesNoneB) continue;
        PutU32(entry, i < 5 ? SU::SeriesA + 4 * i : SU::SeriesB + 4 * (i - 5), choice);
    }
}

// Frees the rows of an access record (the logged-in user record's access
// list is its rows) and clears it. Done by hand rather than by the
// register's layout, so that it holds for a dictionary without persons.
void AccessRecordClear(uint8_t *access)
{
    static_assert(AccessVc::Size == LoggedInUserSize && AccessVc::Matrix == LoggedInUserAccessList);
    MemBlock rows = GetU32(access, AccessVc::Matrix);
    if (MemIsValid(rows)) MemFree(&rows);
    std::memset(access, 0, AccessVc::Size);
}

// Completes an accepted login: the found access record (with its rows;
// null: none) replaces the caller's, the session entry is filled, and
// the name becomes the person's code (empty without a person).
void LoginAccept(const uint8_t *user, uint8_t *found, uint8_t *access, uint8_t *name)
{
    UserIsAdministrator = !user || PersonIsAdministrator(user);
    AccessRecordClear(access);
    if (found) {
        std::memcpy(access, found, AccessVc::Size);
        std::memset(found, 0, AccessVc::Size);   // the rows now belong to the caller
    }
    SessionEntryFill(user);
    name[0] = 0;
    if (user) GetText(user, PEVc::Code, name);
}

}  // namespace

// True when person is the administrator: its code is "ADMIN", or its
// access code is the non-empty one of the person "ADMIN". In a company
// that keeps no access groups at all every person is: no rights are set
// up there, and someone must be able to set them up.
bool PersonIsAdministrator(const uint8_t *person)
{
    if (RegOpenCount(AccessVc::Number) == 0) return true;
    PString code, group, adminGroup;
    GetText(person, PEVc::Code, code);
    if (PStringEqualC(code, "ADMIN")) return true;
    GetText(person, PEVc::AccessCode, group);
    AdministratorGroup(adminGroup);
    return group[0] != 0 && PStringEqual(group, adminGroup);
}

// Checks name and password against the company's persons. A company
// without persons accepts any pair. When the interface file sets a master
// password (text 1410), "ADMIN" is accepted with it alone and never looks
// at the persons; without one "ADMIN" is a person code like any other.
// Else the person found by code, or by name, must have the password. On
// acceptance the person's access record replaces `access`, the session
// entry is filled and `name` becomes the person's code (empty when no
// person was read). A refusal changes none of them.
bool UserLogin(uint8_t *name, const uint8_t *password, uint8_t *access)
{
    assert(name && password && access);
    if (RegOpenCount(PEVc::Number) == 0) {
        LoginAccept(nullptr, nullptr, access, name);
        return true;
    }
    PString secret;
    if (PStringEqualC(name, "ADMIN") && AdminMasterPassword(secret)) {
        if (!PStringEqual(secret, password)) return false;
        LoginAccept(nullptr, nullptr, access, name);
        return true;
    }
    LoginScratch s;
    if (!s.user || !s.access) return false;
    if (!LoginByCode(s, name, password) && !LoginByName(s, name, password)) return false;
    LoginAccept(s.user, s.access, access, name);
    return true;
}

// The verifier the master password of "ADMIN" proves against: made once
// a run with a salt of the run's own.
static bool MasterVerifier(const uint8_t *secret, PasswordVerifier *out)
{
    static uint8_t salt[VerifierSaltSize];
    static bool salted = false;
    if (!salted) salted = RandomFill(salt, sizeof salt);
    return salted && VerifierDerive(PasswordText(secret), salt, VerifierIterationsMin * 10, out);
}

bool UserLoginTarget(const uint8_t *name, LoginTarget *target)
{
    assert(name && target);
    *target = LoginTarget{};
    if (RegOpenCount(PEVc::Number) == 0) {
        target->kind = LoginTarget::Open;
        return true;
    }
    PString secret;
    if (PStringEqualC(name, "ADMIN") && AdminMasterPassword(secret)) {
        target->kind = LoginTarget::Master;
        return MasterVerifier(secret, &target->verifier);
    }
    LoginScratch s;
    if (!s.user) return false;
    if (!PersonByCode(s, name) && !LoginByName(s, name, nullptr)) return false;
    if (!PersonVerifierGet(s.user, &target->verifier)) return false;
    target->kind = LoginTarget::Person;
    GetText(s.user, PEVc::Code, target->code);
    return true;
}

bool UserLoginAcceptTarget(const LoginTarget &target, uint8_t *name, uint8_t *access)
{
    assert(name && access);
    if (target.kind != LoginTarget::Person) {
        LoginAccept(nullptr, nullptr, access, name);
        return true;
    }
    LoginScratch s;
    if (!s.user || !s.access || !PersonByCode(s, target.code)) return false;
    AccessRecordRead(s);
    LoginAccept(s.user, s.access, access, name);
    return true;
}

// UserLogin with the logged-in user's work record as the access record,
// whose previous access list an accepted login frees.
bool UserLoginCurrent(uint8_t *name, const uint8_t *password)
{
    if (!LoggedInUser) return false;
    return UserLogin(name, password, LoggedInUser);
}

// Logs in locally, or in client mode at the server: an accepted reply's
// access record becomes the logged-in user's, and the name the server
// gives back, as a user code, goes into the program's own session entry
// so that CurrentUserCode holds it. A refused or failed request changes
// neither.
bool UserLoginCall(uint8_t *name, const uint8_t *password)
{
    if (!RunModeIsClient()) return UserLoginCurrent(name, password);
    if (!LoggedInUser) return false;
    MemBlock h = 0;
    uint8_t *got = RecBufferNew(AccessVc::Number, &h);
    if (!got) return false;
    bool accepted = LoginRemote(AccessVc::Number, name, password, got);
    if (accepted) {
        UserIsAdministrator = RemoteLoginAdministrator;
        AccessRecordClear(LoggedInUser);
        std::memcpy(LoggedInUser, got, AccessVc::Size);
        std::memset(got, 0, AccessVc::Size);
        PString code;
        uint8_t *entry = SessionUserEntry(CurrentSessionIndex);
        if (entry && FieldFromText(code, FieldText, UserCodeLength, name)) PutPString(entry, SU::UserCode, UserCodeLength, code);
    }
    RecBufferFree(AccessVc::Number, &h);
    return accepted;
}
