// company_variant.h - the company's country variant.
//
// One word of the company settings (block 129, offset 550) selects the
// country-specific behaviour of a company: how amounts are written in
// words, how amounts in thousands are shown, reference checks, voucher
// and document variants and bank files. Until the settings-block code
// binds block 129 the variant is 0 (no country-specific behaviour).
#pragma once

#include <cstdint>

#include "dict_offsets.h"

constexpr uint32_t CompanyVariantOffset = CompanyBlk::CompanyVariant;  // u16 in block 129

// The variant words the program tests, by their number. A variant is a
// country's whole set of rules (one variant picks a bank file, a reference
// check and a printed-document detail at once), so the names say the
// number and each use says what it switches.
enum class CountryVariant : uint16_t {
    V5 = 5, V7 = 7, V9 = 9, V13 = 13, V15 = 15,
    V24 = 24, V25 = 25, V26 = 26, V27 = 27, V28 = 28, V37 = 37,
};

// The variant word of the bound company block, in host byte order; 0
// while no block is bound.
uint16_t CompanyVariant();
// True when the bound company's variant word is v.
inline bool CompanyVariantIs(CountryVariant v) { return CompanyVariant() == static_cast<uint16_t>(v); }

// Binds the company settings block (memory form, at least
// CompanyVariantOffset + 2 bytes); null unbinds it. The block is read at
// each call, so later changes to it take effect at once.
void CompanyVariantBind(const uint8_t *block129);
