// reference_checks.cpp - the check characters of payment references.
//
// A reference is a PString whose last character is the check character of
// the digits before it; the digit next to the check character is weighted
// first. References are typed by users and read from bank files, so every
// character is screened before it is weighted: a non-digit before the
// check character, a check character the method cannot give, or more
// digits than the weights cover makes the reference fail.
#include <cassert>
#include <string_view>

#include "rules/checks.h"

namespace {

// The weight strings. Modulus 10 and 11 are read from their last character
// backwards, 7-3-1 from its first; each covers as many digits as it has
// characters.
constexpr std::string_view Mod10Weights = "12121212121212121212";
constexpr std::string_view Mod11Weights = "32765432765432765432";
constexpr std::string_view Weights731 = "731731731731731731731";

inline bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

// True when the reference's characters before its check character are
// digits and no more than max of them.
bool DigitsBeforeCheck(const uint8_t *reference, size_t max) {
    const int digits = reference[0] - 1;
    if (digits < 0 || (size_t)digits > max) return false;
    for (int i = 1; i <= digits; i++)
        if (!IsDigit(reference[i])) return false;
    return true;
}

// The value of the i-th digit from the right (0 = next to the check
// character); the caller has screened the digits.
inline int DigitFromRight(const uint8_t *reference, int i) { return reference[reference[0] - 1 - i] - '0'; }

// The modulus-10 check character of the reference's digits: each digit
// times 2 or 1, a two-digit product replaced by its digit sum.
uint8_t Mod10Check(const uint8_t *reference) {
    const int digits = reference[0] - 1;
    assert(digits >= 0 && (size_t)digits <= Mod10Weights.size());
    int sum = 0;
    for (int i = 0; i < digits; i++) {
        int p = DigitFromRight(reference, i) * (Mod10Weights[Mod10Weights.size() - 1 - i] - '0');
        if (p >= 10) p = p / 10 + p % 10;
        sum += p;
    }
    return (uint8_t)('0' + (10 - sum % 10) % 10);
}

// The modulus-11 check character: "0" for remainder 0, "-" for 1, else the
// digit 11 - remainder.
uint8_t Mod11Check(const uint8_t *reference) {
    const int digits = reference[0] - 1;
    assert(digits >= 0 && (size_t)digits <= Mod11Weights.size());
    int sum = 0;
    for (int i = 0; i < digits; i++)
        sum += DigitFromRight(reference, i) * (Mod11Weights[Mod11Weights.size() - 1 - i] - '0');
    const int r = sum % 11;
    return r == 0 ? '0' : r == 1 ? '-' : (uint8_t)('0' + 11 - r);
}

// The 7-3-1 check digit.
uint8_t Check731(const uint8_t *reference) {
    const int digits = reference[0] - 1;
    assert(digits >= 0 && (size_t)digits <= Weights731.size());
    int sum = 0;
    for (int i = 0; i < digits; i++) sum += DigitFromRight(reference, i) * (Weights731[i] - '0');
    return (uint8_t)('0' + (10 - sum % 10) % 10);
}

}  // namespace

// True when the reference is empty, or its check character is the
// modulus-10 check of its digits, or else their modulus-11 check. More
// than 20 digits before the check character, a non-digit among them or a
// check character other than a digit or "-" fails.
bool CheckRefMod10Mod11(const uint8_t *reference) {
    assert(reference);
    if (reference[0] == 0) return true;
    static_assert(Mod10Weights.size() == Mod11Weights.size());
    if (!DigitsBeforeCheck(reference, Mod10Weights.size())) return false;
    const uint8_t check = reference[reference[0]];
    if (!IsDigit(check) && check != '-') return false;
    if (check == Mod10Check(reference)) return true;
    return check == Mod11Check(reference);
}

// True when the reference is empty or its check character is the 7-3-1
// check digit of its digits. More than 21 digits before the check
// character or any non-digit fails.
bool CheckRef731(const uint8_t *reference) {
    assert(reference);
    if (reference[0] == 0) return true;
    if (!DigitsBeforeCheck(reference, Weights731.size())) return false;
    const uint8_t check = reference[reference[0]];
    return IsDigit(check) && check == Check731(reference);
}
