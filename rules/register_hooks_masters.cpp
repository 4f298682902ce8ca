// register_hooks_masters.cpp - the register entries of the master records
// the ledger reads: customers (2), items (3), objects (15), accounts (16),
// voucher templates (19), budgets (20, 21), object types (24), statement
// rows (26, 39-43), vendors (27), persons (44), payment terms (57), assets
// (60), project budgets (68, 72) and depreciation models (122).
//
// Their hooks give new records the values the interface file's words
// mean, keep the last customer and vendor codes in block 132 for the next
// proposal, and make an item's stock record when the item is made.
#include <cstdio>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/person_password.h"
#include "database/access/record_access.h"
#include "operations/operations.h"
#include "rules/checks.h"
#include "rules/projects.h"
#include "rules/register_hooks_entries.h"
#include "rules/rules_types.h"

namespace {

// Rows a new budget starts with.
constexpr int32_t BudgetNewRows = 18;
// The row kind a new statement row takes (a line of text).
constexpr uint16_t StatementRowText = 3;

void PutBlank(uint8_t *record, uint32_t offset) {
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutDec(record, offset, blank);
}

// The number after text read as a 32-bit number, as text into out; false
// when text is no number or the next one would not fit 32 bits.
bool NextNumberText(const uint8_t *text, uint8_t *out) {
    int n = PStringLength(text);
    if (n == 0 || n > 10) return false;
    uint64_t value = 0;
    for (int i = 1; i <= n; i++) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (uint64_t)(text[i] - '0');
    }
    if (value >= 0xFFFFFFFFull) return false;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%llu", (unsigned long long)(value + 1));
    PStringFromC(out, digits);
    return true;
}

// The series-state block (132), loaded; null before the settings are bound.
uint8_t *SeriesState() { return SettingsRecord(SeriesDefaultsBlk::Number, SeriesStateBlock); }

// ---- Customers (2) ----

void CustomerCode(uint8_t *customer) {
    uint8_t code[256];
    if (NextCustomerCode(code)) PutText(customer, CUVc::Code, code);
}

void CustomerDefaults(int, uint8_t *customer) {
    SetEntryUserCode();
    CustomerCode(customer);
    PutU16(customer, CUVc::InterestFlag, 1);
    PutU16(customer, CUVc::NoticeCounting, 1);   // reminders count, as for an imported customer
    PutU16(customer, CUVc::OnAccount, 1);
    PutBlank(customer, CUVc::CreditLimit);
}

void CustomerDefaultsOther(int, uint8_t *customer) { CustomerCode(customer); }

// The new record's code (20 characters at CodeAt) becomes the last code of
// its kind in block 132 (at LastAt), whence the next one is proposed.
template <uint32_t CodeAt, uint32_t LastAt>
int KeepLastCode(int, uint8_t *record, uint32_t, int) {
    uint8_t *series = SeriesState();
    if (series) {
        uint8_t code[32];
        GetPString(record, CodeAt, 20, code);
        PutPString(series, LastAt, 20, code);
    }
    return 1;
}

// ---- Items (3) ----

void ItemDefaults(int, uint8_t *item) {
    SetEntryUserCode();
    for (uint32_t at : {INVc::BasePrice, INVc::MinStock, INVc::CostPrice, INVc::AddCost, INVc::PriceUnit})
        PutBlank(item, at);
}

// A new item gets its stock record at its default location, every
// quantity zero, unless the item has one already. 0 when it could not be
// stored.
int ItemAfterInsert(int, uint8_t *item, uint32_t, int) {
    uint8_t stock[LSVc::Size] = {};
    uint8_t text[32];
    GetText(item, INVc::Code, text);
    PutText(stock, LSVc::ItemCode, text);
    GetText(item, INVc::DefLocation, text);
    PutText(stock, LSVc::Location, text);
    if (RecExistsLocal(LSVc::Number, stock)) return 1;
    uint32_t id = 0;
    return RecStoreByKey(LSVc::Number, stock, 0, &id) ? 1 : 0;
}

// A changed base or cost price dates the item's prices today.
int ItemBeforeUpdate(int, uint8_t *item, uint8_t *stored, uint32_t) {
    PackedDecimal a = GetDec(item, INVc::BasePrice), b = GetDec(stored, INVc::BasePrice);
    PackedDecimal c = GetDec(item, INVc::CostPrice), d = GetDec(stored, INVc::CostPrice);
    if (!DecEqual(&a, &b) || !DecEqual(&c, &d)) PutDate(item, INVc::PriceDate, TodayDate);
    return 1;
}

// ---- Accounts (16) ----

void AccountDefaults(int, uint8_t *account) {
    SetEntryUserCode();
    PutU16(account, ACVc::DebitAllowed, 1);
    PutU16(account, ACVc::CreditAllowed, 1);
    PutU16(account, ACVc::Blocked, 0);
}

// ---- Budgets (20, 21) ----

// A new budget has 18 empty rows: no date, no text, a blank amount.
template <uint32_t RowSize, uint32_t AmountAt>
void BudgetDefaults(int reg, uint8_t *budget) {
    SetEntryUserCode();
    uint8_t row[RowSize] = {};
    PutBlank(row, AmountAt);
    RecFreeMatrix(reg, budget);
    for (int32_t i = 0; i < BudgetNewRows; i++)
        if (!MatrixRowPut(reg, 0, budget, i, row)) break;   // no memory: fewer rows, still a budget
}

// ---- Statement rows (26, 39-43) ----

template <uint32_t KindAt>
void StatementRowDefaults(int, uint8_t *row) {
    SetEntryUserCode();
    PutU16(row, KindAt, StatementRowText);
}

// ---- Vendors (27) ----

// The vendor code after the last one of block 132, when that is a number.
void VendorDefaults(int, uint8_t *vendor) {
    SetEntryUserCode();
    uint8_t *series = SeriesState();
    if (!series) return;
    uint8_t last[32], next[32];
    GetText(series, SeriesDefaultsBlk::LastVendorCode, last);
    if (NextNumberText(last, next)) PutText(vendor, VEVc::Code, next);
}

// ---- Persons (44) ----

// A new person has none of the eight series starts.
void PersonDefaults(int, uint8_t *person) {
    SetEntryUserCode();
    for (uint32_t at : {PEVc::Series1, PEVc::Series2, PEVc::Series3, PEVc::Series4, PEVc::Series5, PEVc::Series6,
                        PEVc::Series7, PEVc::Series8})
        PutU32(person, at, SerialNone);
}

// ---- Payment terms (57), assets (60), project budgets (68, 72) ----

void TermsDefaults(int, uint8_t *terms) {
    SetEntryUserCode();
    PutU16(terms, PayTermsVc::Kind, 1);
}

void AssetDefaults(int, uint8_t *asset) {
    SetEntryUserCode();
    PutBlank(asset, AssetVc::DispValue);
}

// The budget's detail level from the project settings (block 201).
template <uint32_t DetailAt, uint32_t SettingAt>
void ProjectBudgetDefaults(int, uint8_t *budget) {
    SetEntryUserCode();
    uint8_t project[ProjectBlk::Size] = {};
    PutU16(budget, DetailAt, SettingsBlockRead(ProjectBlk::Number, project, sizeof project) ? GetU16(project, SettingAt) : 0);
}

// ---- Projects (53) ----

// A new project prints its heading, name, reference and description, and
// is proposed the code after the highest one (empty when none can be made).
void ProjectDefaults(int, uint8_t *project) {
    SetEntryUserCode();
    PutU16(project, ProjectVc::PrintHeading, 1);
    PutU16(project, ProjectVc::PrintName, 1);
    PutU16(project, ProjectVc::PrintRef, 1);
    PutU16(project, ProjectVc::PrintDesc, 1);
    uint8_t code[256];
    if (NextProjectCode(code)) PutText(project, ProjectVc::Code, code);
}

// Only the user code: the registers whose new records keep their zeros.
void PlainDefaults(int, uint8_t *) { SetEntryUserCode(); }

// An entry with the new-record defaults and, where asked, the record
// check and the delete check.
enum EntryChecks { NoChecks = 0, Validate = 1, DeleteCheck = 2 };

// A person's password is never stored as text: every write of a person
// turns a typed or imported password into its verifier; an update that
// brings none keeps the stored one (database/access/person_password.h).
// A verifier that cannot be made fails the write rather than store text.
int PersonBeforeInsert(int, uint8_t *person) { return PersonPasswordBeforeWrite(person) ? 1 : 0; }
int PersonBeforeUpdate(int, uint8_t *person, uint8_t *, uint32_t) { return PersonPasswordBeforeWrite(person) ? 1 : 0; }
void PersonKeepVerifier(int, const uint8_t *stored, uint8_t *person) { PersonPasswordKeepStored(stored, person); }
void PersonBeforeStore(int, uint8_t *person) {
    if (!PersonPasswordBeforeWrite(person)) PersonPasswordRedact(person);   // no login rather than text
}

RegisterHooks MasterEntry(void (*defaults)(int, uint8_t *), int checks) {
    RegisterHooks h = {};
    h.newRecordDefaults = defaults;
    if (checks & Validate) h.validateRecord = ValidateRecordOf;
    if (checks & DeleteCheck) h.canDelete = CanDeleteRecordOf;
    return h;
}

}  // namespace

// Fills the entries of the master registers.
void InstallMasterEntries(std::array<RegisterHooks, RegisterCount> &table) {
    constexpr int Both = Validate | DeleteCheck;

    table[CUVc::Number] = MasterEntry(CustomerDefaults, Both);
    table[CUVc::Number].newRecordDefaultsOther = CustomerDefaultsOther;
    table[CUVc::Number].afterInsert = KeepLastCode<CUVc::Code, SeriesDefaultsBlk::LastCustCode>;

    table[INVc::Number] = MasterEntry(ItemDefaults, Both);
    table[INVc::Number].afterInsert = ItemAfterInsert;
    table[INVc::Number].beforeUpdate = ItemBeforeUpdate;

    table[VEVc::Number] = MasterEntry(VendorDefaults, Validate);
    table[VEVc::Number].afterInsert = KeepLastCode<VEVc::Code, SeriesDefaultsBlk::LastVendorCode>;

    table[ProjectVc::Number] = MasterEntry(ProjectDefaults, DeleteCheck);
    table[ProjectVc::Number].preserveStoredFields = PreserveStoredFieldsOf;

    table[ITVc::Number] = MasterEntry(PlainDefaults, Validate);
    table[PriceVc::Number] = MasterEntry(PlainDefaults, Validate);
    table[PriceListVc::Number] = MasterEntry(PlainDefaults, Validate);
    table[PriceFormulaVc::Number] = MasterEntry(PlainDefaults, Validate);
    table[QtyStepVc::Number] = MasterEntry(PlainDefaults, Validate);
    table[CustGroupVc::Number] = MasterEntry(PlainDefaults, Validate);
    table[DiscMatrixVc::Number] = MasterEntry(PlainDefaults, Validate);
    table[CustPriceVc::Number] = MasterEntry(PlainDefaults, Validate);

    table[OBVc::Number] = MasterEntry(PlainDefaults, Both);
    table[ACVc::Number] = MasterEntry(AccountDefaults, Both);
    table[ExchRateVc::Number].validateRecord = ValidateRecordOf;
    table[AUVc::Number] = MasterEntry(PlainDefaults, Validate);
    table[OTVc::Number] = MasterEntry(PlainDefaults, Both);
    table[BUVc::Number] = MasterEntry(BudgetDefaults<BUVc::Rows::Size, BUVc::Rows::Amount>, NoChecks);
    table[BPVc::Number] = MasterEntry(BudgetDefaults<BPVc::Rows::Size, BPVc::Rows::Amount>, NoChecks);
    table[SR22Vc::Number] = MasterEntry(StatementRowDefaults<SR22Vc::RowKind>, NoChecks);
    table[SR47Vc::Number] = MasterEntry(StatementRowDefaults<SR47Vc::RowKind>, NoChecks);
    table[SR48Vc::Number] = MasterEntry(StatementRowDefaults<SR48Vc::RowKind>, NoChecks);
    table[SR49Vc::Number] = MasterEntry(StatementRowDefaults<SR49Vc::RowKind>, NoChecks);
    table[SR50Vc::Number] = MasterEntry(StatementRowDefaults<SR50Vc::RowKind>, NoChecks);
    table[SR51Vc::Number] = MasterEntry(StatementRowDefaults<SR51Vc::RowKind>, NoChecks);
    table[PEVc::Number] = MasterEntry(PersonDefaults, Validate);
    table[PEVc::Number].beforeInsert = PersonBeforeInsert;
    table[PEVc::Number].beforeUpdate = PersonBeforeUpdate;
    table[PEVc::Number].preserveStoredFields = PersonKeepVerifier;
    table[PEVc::Number].beforeStore = PersonBeforeStore;
    table[PayTermsVc::Number] = MasterEntry(TermsDefaults, Validate);
    // The trade registers and the departments kept in their own windows:
    // a code each, and a location's stock account that exists.
    for (int reg : {UnitVc::Number, DTVc::Number, DelModeVc::Number, CountryVc::Number, BankVc::Number,
                    LocationVc::Number, DepartmentVc::Number})
        table[reg] = MasterEntry(PlainDefaults, Validate);
    // A form drawn in the designer: its name, by which documents find it.
    table[DocVc::Number].validateRecord = ValidateRecordOf;
    table[AssetVc::Number] = MasterEntry(AssetDefaults, NoChecks);
    table[DeprModelVc::Number] = MasterEntry(PlainDefaults, NoChecks);
    table[TimeBudgetVc::Number] =
        MasterEntry(ProjectBudgetDefaults<TimeBudgetVc::Detail, ProjectBlk::TimeDetail>, DeleteCheck);
    table[CostBudgetVc::Number] =
        MasterEntry(ProjectBudgetDefaults<CostBudgetVc::Detail, ProjectBlk::CostDetail>, DeleteCheck);
}
