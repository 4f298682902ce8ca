// company_variant.cpp - reads the country variant word of the bound
// company settings block.
#include "core/company_variant.h"

#include <cstring>

namespace {
const uint8_t *CompanyBlock = nullptr;
}

uint16_t CompanyVariant() {
    if (!CompanyBlock) return 0;
    uint16_t v;
    std::memcpy(&v, CompanyBlock + CompanyVariantOffset, sizeof v);
    return v;
}

void CompanyVariantBind(const uint8_t *block129) { CompanyBlock = block129; }
