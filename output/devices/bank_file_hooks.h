// bank_file_hooks.h - what the text-file device asks of the bank exchange
// above it: whether the running job writes the bank payment file (whose
// file is staged under a temporary name until the job has ended whole)
// and that file's default name. The exchange installs them at start-up
// (BankFileHooksInstall, exchange/exchange_install.cpp); until then a
// text or TAB file job is refused, the user told, since a bank file could
// otherwise be written in place and half.
#pragma once

#include <cstdint>

struct BankFileHooksRec {
    // True while the job being run is the bank payment file export.
    bool (*jobIsBankFile)();
    // Puts the bank format's default file name into the PString name
    // (left as it is when the format has none).
    void (*defaultName)(uint8_t *name);
};
extern BankFileHooksRec BankFileHooks;
