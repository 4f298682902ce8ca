// entry_state.cpp - reading and saving the entry state of the company.
//
// The entry state lives in settings block 132 from the open of a company
// to its close; beside it the default transaction date, which new
// vouchers take, comes from the last voucher stored. A client keeps no
// entry state of its own: the server has it.
#include "rules/entry_state.h"

#include <array>
#include <cstdio>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"
#include "dict_offsets.h"

DateRec DefaultTransDate;
uint8_t EntryUserCode[6];

// Reads the entry defaults of the open company: today's date, and from
// the last voucher (whose serial block 132 keeps) the default transaction
// date and the last-voucher date. A voucher that is gone leaves both as
// they are. 1 when done, 0 when the entry state has no buffer (the
// settings were never bound).
int InitEntryState()
{
    DefaultTransDate = DateRec{};
    EntryUserCode[0] = 0;
    TodayToGlobals();
    if (!RunModeIsClient()) {
        if (!SeriesStateBlock) return 0;
        SettingsBlockLoad(SeriesDefaultsBlk::Number);
        uint32_t last = GetU32(SeriesStateBlock, SeriesDefaultsBlk::LastVoucherNr);
        if (last > 0) {
            // The voucher numbers of the fiscal years overlap: the last one
            // stored with this number is the one of the highest year code.
            std::array<uint8_t, TRVc::Size> voucher{};
            PutU32(voucher.data(), TRVc::SerNr, last);
            PutU16(voucher.data(), TRVc::YearCode, 0x7FFF);   // the highest a signed key word holds
            uint32_t recid = 0, position = 0;
            if (RecFindKeep(TRVc::Number, voucher.data(), 2, 0, &recid, &position) &&
                GetU32(voucher.data(), TRVc::SerNr) == last) {
                DefaultTransDate = GetDate(voucher.data(), TRVc::TransDate);
                PutDate(SeriesStateBlock, SeriesDefaultsBlk::LastVoucherDate,
                        GetDate(voucher.data(), TRVc::RegDate));
            }
            RecClear(TRVc::Number, voucher.data());   // frees the rows the find read
        }
    }
    return 1;
}

// Saves the number-series defaults of the open company (block 132).
// A refused store has shown its reason. An interface that defines no
// block 132 (a test's own dictionary) keeps no series state: the bound
// buffer stands in for it, and there is nothing to save.
void SaveSeriesState()
{
    if (RunModeIsClient() || !SeriesStateBlock) return;
    if (!SettingsBlockDesc(SeriesDefaultsBlk::Number, nullptr)) return;
    int result = SettingsBlockStore(SeriesDefaultsBlk::Number, SeriesStateBlock, SeriesDefaultsBlk::Size);
    if (result != RecDone) std::fputs("orvel: the number-series defaults were not saved\n", stderr);
}

// Sets session's SessionUserInfo entry back to "nobody": its eight series
// choices to "none" (all bits set), its user name and its 10-character
// code empty. A session without an entry is left alone.
void ResetSessionUserInfo(int session) {
    uint8_t *entry = SessionUserEntry(session);
    if (!entry) return;
    for (uint32_t i = 0; i < 5; i++) PutU32(entry, SU::SeriesA + 4 * i, 0xFFFFFFFFu);
    for (uint32_t i = 0; i < 3; i++) PutU32(entry, SU::SeriesB + 4 * i, 0xFFFFFFFFu);
    entry[SU::FullName] = 0;
    entry[SU::Code10] = 0;
}
