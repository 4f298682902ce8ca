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

// The variant word of the bound company block, in host byte order; 0
// while no block is bound.
uint16_t CompanyVariant();

// Binds the company settings block (memory form, at least
// CompanyVariantOffset + 2 bytes); null unbinds it. The block is read at
// each call, so later changes to it take effect at once.
void CompanyVariantBind(const uint8_t *block129);
