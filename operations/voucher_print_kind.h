// voucher_print_kind.h - the operation of approve kind 12 (print a voucher).
#pragma once

#include <cstdint>

#include "rules/approval.h"

// Prints the voucher record on the printer (report 25); Unchanged.
ApproveResult PrintVoucherKind(int reg, uint8_t *voucher, uint32_t recid);
