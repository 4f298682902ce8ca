// record_key_text.cpp - the key text of a register's record: the value of
// its main key as text, as a chooser puts it into its opener's field and
// as a window closing with a choice offers it.
#include "rules/record_key_text.h"

#include <cassert>
#include <cstring>

#include "core/field_types.h"
#include "dict_offsets.h"

namespace {

// A key stored as a text that is copied unchanged, without the forms of a
// code.
constexpr uint16_t KeyCopied = 0xFFFF;

// Where a register keeps its main key and in which form: a field type
// that FieldToText formats, or KeyCopied. `length` is the most characters
// a text key holds; a longer length byte in a damaged record is cut to it.
struct KeyPlace {
    uint16_t reg;
    uint32_t offset;
    uint16_t form;
    uint8_t length;
};

// Every register with a key text, by register number. Registers that are
// not listed (and numbers outside 0..132) have none.
constexpr KeyPlace KeyPlaces[] = {
    {CUVc::Number, CUVc::Code, FtCodeNoSep, 20},
    {INVc::Number, INVc::Code, FtCodeNoSep, 20},
    {PUVc::Number, PUVc::SerNr, FtLongOrEmpty, 0},
    {IVVc::Number, IVVc::SerNr, FtLongOrEmpty, 0},
    {ORVc::Number, ORVc::SerNr, FtLongOrEmpty, 0},
    {SHVc::Number, SHVc::SerNr, FtLongOrEmpty, 0},
    {SMVc::Number, SMVc::SerNr, FtLongOrEmpty, 0},
    {IPVc::Number, IPVc::SerNr, FtLongOrEmpty, 0},
    {TRVc::Number, TRVc::SerNr, FtLongOrEmpty, 0},
    {ITVc::Number, ITVc::Code, FtCodeNoSep, 5},
    {OBVc::Number, OBVc::Code, FtCodeNoSep, 5},
    {ACVc::Number, ACVc::Code, FtCodeNoSep, 10},
    {AUVc::Number, AUVc::Code, FtCodeNoSep, 10},
    {BUVc::Number, BUVc::Account, FtCodeNoSep, 10},
    {BPVc::Number, BPVc::Account, FtCodeNoSep, 10},
    {DKVc::Number, DKVc::Code, FtCodeNoSep, 5},
    {DTVc::Number, DTVc::Code, FtText, 5},
    {OTVc::Number, OTVc::Code, FtCodeNoSep, 5},
    {SR21Vc::Number, SR21Vc::RowNr, FtLongOrEmpty, 0},
    {SR22Vc::Number, SR22Vc::RowNr, FtLongOrEmpty, 0},
    {VEVc::Number, VEVc::Code, FtCodeNoSep, 20},
    {VIVc::Number, VIVc::SerNr, FtLongOrEmpty, 0},
    {OPVc::Number, OPVc::SerNr, FtLongOrEmpty, 0},
    {SR42Vc::Number, SR42Vc::RowNr, FtLongOrEmpty, 0},
    {SR43Vc::Number, SR43Vc::RowNr, FtLongOrEmpty, 0},
    {SR44Vc::Number, SR44Vc::RowNr, FtLongOrEmpty, 0},
    {SR45Vc::Number, SR45Vc::RowNr, FtLongOrEmpty, 0},
    {SR46Vc::Number, SR46Vc::RowNr, FtLongOrEmpty, 0},
    {SR47Vc::Number, SR47Vc::RowNr, FtLongOrEmpty, 0},
    {SR48Vc::Number, SR48Vc::RowNr, FtLongOrEmpty, 0},
    {SR49Vc::Number, SR49Vc::RowNr, FtLongOrEmpty, 0},
    {SR50Vc::Number, SR50Vc::RowNr, FtLongOrEmpty, 0},
    {SR51Vc::Number, SR51Vc::RowNr, FtLongOrEmpty, 0},
    {PEVc::Number, PEVc::Code, FtCodeNoSep, 5},
    {ContractVc::Number, ContractVc::SerNr, FtLongOrEmpty, 0},
    {AccessVc::Number, AccessVc::Code, FtCodeNoSep, 5},
    {ExchRateVc::Number, ExchRateVc::CurncyCode, FtCodeNoSep, 5},
    {VGVc::Number, VGVc::Code, FtCodeNoSep, 5},
    {PriceVc::Number, PriceVc::PriceList, FtCodeNoSep, 5},
    {OpenBalVc::Number, OpenBalVc::SerNr, FtLongOrEmpty, 0},
    {EmpTypeVc::Number, EmpTypeVc::Code, FtCodeNoSep, 5},
    {ProjectVc::Number, ProjectVc::Code, FtCodeNoSep, 20},
    {TimeSheetVc::Number, TimeSheetVc::SerNr, FtLongOrEmpty, 0},
    {QuotationVc::Number, QuotationVc::SerNr, FtLongOrEmpty, 0},
    {PurchItemVc::Number, PurchItemVc::ItemCode, FtCodeNoSep, 20},
    {PayTermsVc::Number, PayTermsVc::Code, FtCodeNoSep, 2},
    {PurchOrderVc::Number, PurchOrderVc::SerNr, FtLongOrEmpty, 0},
    {AssetVc::Number, AssetVc::Code, FtCodeNoSep, 10},
    {DepartmentVc::Number, DepartmentVc::Code, FtCodeNoSep, 5},
    {PriceListVc::Number, PriceListVc::Code, FtCodeNoSep, 5},
    {PriceFormulaVc::Number, PriceFormulaVc::Code, FtCodeNoSep, 5},
    {QtyStepVc::Number, QtyStepVc::Code, FtCodeNoSep, 5},
    {CustGroupVc::Number, CustGroupVc::Code, FtCodeNoSep, 5},
    {DiscMatrixVc::Number, DiscMatrixVc::Code, FtCodeNoSep, 5},
    {TimeBudgetVc::Number, TimeBudgetVc::Project, FtCodeNoSep, 20},
    {CustPriceVc::Number, CustPriceVc::CustCode, FtCodeNoSep, 20},
    {CostBudgetVc::Number, CostBudgetVc::Project, FtCodeNoSep, 20},
    {TimeItemVc::Number, TimeItemVc::ItemCode, FtCodeNoSep, 20},
    {CountryVc::Number, CountryVc::Code, FtCodeNoSep, 5},
    {StructureVc::Number, StructureVc::Code, FtCodeNoSep, 20},
    {ProductionVc::Number, ProductionVc::SerNr, FtLongOrEmpty, 0},
    {LocationVc::Number, LocationVc::Code, FtCodeNoSep, 10},
    {TrDayListVc::Number, TrDayListVc::KeyDate, FtDate, 0},
    {TrFaultRepVc::Number, TrFaultRepVc::KeyStamp, FtDateTime, 0},
    {TrPriceListVc::Number, TrPriceListVc::KeyText, KeyCopied, 20},
    {TrFillersVc::Number, TrFillersVc::KeyNr, FtLongOrEmpty, 0},
    {TrBookSpotVc::Number, TrBookSpotVc::KeyStamp, FtDateTime, 0},
    {TrOrderVc::Number, TrOrderVc::KeyNr, FtLongOrEmpty, 0},
    {TrAdVc::Number, TrAdVc::KeyText, KeyCopied, 20},
    {TrSpotVc::Number, TrSpotVc::KeyText, KeyCopied, 20},
    {TrDayTypeVc::Number, TrDayTypeVc::KeyText, KeyCopied, 20},
    {TrBreaksVc::Number, TrBreaksVc::KeyNr, FtLongOrEmpty, 0},
    {TrCampaignVc::Number, TrCampaignVc::KeyText, KeyCopied, 20},
    {DocVc::Number, DocVc::Code, FtCodeNoSep, 20},
    {StockMoveVc::Number, StockMoveVc::SerNr, FtLongOrEmpty, 0},
    {FontVc::Number, FontVc::Name, FtText, 20},
    {TrSpeakerVc::Number, TrSpeakerVc::KeyText, KeyCopied, 20},
    {TrBranchVc::Number, TrBranchVc::KeyText, KeyCopied, 20},
    {TrUserLevelVc::Number, TrUserLevelVc::KeyText, KeyCopied, 20},
    {TrCuRebateVc::Number, TrCuRebateVc::KeyText, KeyCopied, 20},
    {TrSpotArchiveVc::Number, TrSpotArchiveVc::KeyDate, FtDate, 0},
    {RateAccVc::Number, RateAccVc::Code, FtCodeNoSep, 20},
    {CodedTextVc::Number, CodedTextVc::Code, FtCodeNoSep, 5},
    {IntRateVc::Number, IntRateVc::RateCode, FtCodeNoSep, 5},
    {ExpenseVc::Number, ExpenseVc::SerNr, FtLongOrEmpty, 0},
    {PersPayVc::Number, PersPayVc::SerNr, FtLongOrEmpty, 0},
    {WRVc::Number, WRVc::WinTypeName, FtText, 20},
    {ContactVc::Number, ContactVc::Name, FtText, 60},
    {BracketVc::Number, BracketVc::Code, FtCodeNoSep, 12},
    {EmployeeVc::Number, EmployeeVc::PerCode, FtCodeNoSep, 10},
    {EntryTypeVc::Number, EntryTypeVc::Code, FtCodeNoSep, 10},
    {DeprModelVc::Number, DeprModelVc::Code, FtCodeNoSep, 5},
    {DelModeVc::Number, DelModeVc::Code, FtCodeNoSep, 5},
    {UnitVc::Number, UnitVc::Code, FtCodeNoSep, 5},
    {PctTableVc::Number, PctTableVc::Code, FtCodeNoSep, 5},
    {PersEntryVc::Number, PersEntryVc::SerNr, FtLongOrEmpty, 0},
    {OrderClassVc::Number, OrderClassVc::Code, FtCodeNoSep, 5},
    {StdTextVc::Number, StdTextVc::Text, FtText, 30},
    {BankVc::Number, BankVc::Code, FtText, 5},
};

// The place of register reg's key; null when it has no key text.
const KeyPlace *KeyPlaceOf(int reg)
{
    for (const KeyPlace &k : KeyPlaces)
        if (k.reg == reg) return &k;
    return nullptr;
}

// True when the form is a text whose length byte leads the value.
bool TextForm(uint16_t form) { return form == KeyCopied || form == FtText || form == FtCodeNoSep; }

}  // namespace

// Writes the key text of a record of register `reg` into text (a PString
// buffer): a text key as stored (at most its field's length), any other
// key as FieldToText shows it. Empty for a register without a key text.
void RecordKeyText(int reg, const uint8_t *record, uint8_t *text)
{
    text[0] = 0;
    const KeyPlace *k = KeyPlaceOf(reg);
    if (!k || !record) return;
    const uint8_t *value = record + k->offset;
    if (TextForm(k->form)) {
        assert(k->length > 0);
        uint8_t length = value[0] < k->length ? value[0] : k->length;
        text[0] = length;
        memcpy(text + 1, value + 1, length);
        return;
    }
    FieldToText(value, k->form, text);
}
