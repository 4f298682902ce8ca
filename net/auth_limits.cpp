// auth_limits.cpp - the wait after failed logins, counted per address and
// per user name at that address: each failure doubles the wait before
// the next try (from AuthLimits.firstDelayMs up to maxDelayMs); an
// accepted login clears both. Guessing therefore slows down for one
// address, whatever names it tries; but the failures of one address never
// make a user at another wait, so no stranger can keep a name (the
// administrator's) out by failing with it. Every failure is logged with
// the wait it sets.
//
// The table is bounded: past its size the entry touched longest ago
// makes room, so a stream of invented names cannot grow the server.
#include <string>
#include <vector>

#include "core/pstring.h"
#include "core/system.h"
#include "net/auth.h"
#include "net/net.h"

AuthLimitsRec AuthLimits;

namespace {

constexpr size_t MaxEntries = 4096;

struct Failures {
    std::string key;        // "a:" address, or "u:" address and user name
    int count = 0;
    uint64_t lastMs = 0;    // the last failure
    uint64_t untilMs = 0;   // no try before this
};
std::vector<Failures> Table;

Failures *Find(const std::string &key, uint64_t now)
{
    for (Failures &f : Table) {
        if (f.key != key) continue;
        if (now - f.lastMs > (uint64_t)AuthLimits.forgetMs) f = Failures{key};
        return &f;
    }
    return nullptr;
}

Failures &Take(const std::string &key, uint64_t now)
{
    if (Failures *f = Find(key, now)) return *f;
    if (Table.size() >= MaxEntries) {
        size_t oldest = 0;
        for (size_t i = 1; i < Table.size(); i++)
            if (Table[i].lastMs < Table[oldest].lastMs) oldest = i;
        Table[oldest] = Failures{key};
        return Table[oldest];
    }
    Table.push_back(Failures{key});
    return Table.back();
}

uint64_t Left(const std::string &key, uint64_t now)
{
    Failures *f = Find(key, now);
    return f && f->untilMs > now ? f->untilMs - now : 0;
}

uint64_t Delay(int count)
{
    uint64_t d = (uint64_t)AuthLimits.firstDelayMs;
    for (int i = 1; i < count && d < (uint64_t)AuthLimits.maxDelayMs; i++) d *= 2;
    return d < (uint64_t)AuthLimits.maxDelayMs ? d : (uint64_t)AuthLimits.maxDelayMs;
}

uint64_t Fail(const std::string &key, uint64_t now)
{
    Failures &f = Take(key, now);
    f.count++;
    f.lastMs = now;
    f.untilMs = now + Delay(f.count);
    return f.untilMs - now;
}

void Forget(const std::string &key)
{
    for (size_t i = 0; i < Table.size(); i++)
        if (Table[i].key == key) {
            Table[i] = Table.back();
            Table.pop_back();
            return;
        }
}

// The key of a name at an address (an address holds no control character,
// so the separator cannot be forged by a name).
std::string NameKey(const std::string &address, const std::string &user) { return "u:" + address + "\n" + user; }

}  // namespace

uint64_t LoginWaitLeft(const std::string &address, const std::string &user)
{
    uint64_t now = NetNowMs();
    uint64_t a = Left("a:" + address, now), u = Left(NameKey(address, user), now);
    return a > u ? a : u;
}

void LoginFailure(const std::string &address, const std::string &user)
{
    uint64_t now = NetNowMs();
    uint64_t a = Fail("a:" + address, now), u = Fail(NameKey(address, user), now);
    AuthLog("login of \"" + user + "\" from " + address + " refused; next try in " + std::to_string(a > u ? a : u) +
            " ms");
}

void AuthLog(const std::string &line)
{
    // A name is the client's bytes: no control character of it reaches the log.
    std::string clean = line.substr(0, 250);
    for (char &ch : clean)
        if ((uint8_t)ch < 32 || ch == 127) ch = '?';
    uint8_t p[256];
    PStringFromC(p, clean.c_str());
    LogAppend(p);
}

void LoginSuccess(const std::string &address, const std::string &user)
{
    Forget("a:" + address);
    Forget(NameKey(address, user));
}

void LoginLimitsReset() { Table.clear(); }
