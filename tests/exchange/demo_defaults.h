// demo_defaults.h - the demo company's defaults as a full export writes
// them back. The defaults carry ADMIN's password as text; a company made
// from them keeps only a verifier of it with a salt of its own, and the
// export writes that verifier in the password column. Everything else
// comes back byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/password_verifier.h"

namespace demodefaults {

// Where ADMIN's password column starts and ends in a full export or in
// the defaults; npos when there is no ADMIN line.
inline std::pair<size_t, size_t> AdminPasswordColumn(const std::string &text)
{
    const std::string start = "\r\nADMIN\tAdministrator\t";
    size_t at = text.find(start);
    if (at == std::string::npos) return {std::string::npos, std::string::npos};
    at += start.size();
    return {at, text.find('\t', at)};
}

inline std::string AdminPassword(const std::string &text)
{
    auto [from, to] = AdminPasswordColumn(text);
    return from == std::string::npos || to == std::string::npos ? std::string() : text.substr(from, to - from);
}

inline std::string WithAdminPassword(std::string text, const std::string &column)
{
    auto [from, to] = AdminPasswordColumn(text);
    if (from != std::string::npos && to != std::string::npos) text.replace(from, to - from, column);
    return text;
}

// The export is the defaults but for ADMIN's password column, which holds
// a verifier of the demo password.
inline ::testing::AssertionResult ExportIsTheDefaults(const std::string &exported, const std::string &defaults)
{
    std::string verifier = AdminPassword(exported);
    PasswordVerifier v;
    if (!VerifierFromText(verifier, &v) || !VerifierMatches(v, "orvel"))
        return ::testing::AssertionFailure() << "ADMIN's column is no verifier of the demo password: " << verifier;
    std::string expected = WithAdminPassword(defaults, verifier);
    if (expected == exported) return ::testing::AssertionSuccess();
    auto at = std::mismatch(expected.begin(), expected.end(), exported.begin(), exported.end()).first;
    return ::testing::AssertionFailure() << "the export differs from the defaults first at byte "
                                         << std::distance(expected.begin(), at);
}

}  // namespace demodefaults
