// reference_checks.cpp - the check characters of payment references.
#include "rules/checks.h"

// Accepts no reference: false.
bool CheckRefMod10Mod11(const uint8_t *reference) { return false; }

// Accepts no reference: false.
bool CheckRef731(const uint8_t *reference) { return false; }
