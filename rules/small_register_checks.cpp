// small_register_checks.cpp - the checks of the smaller registers before a
// store. Each refuses what would break a later reader: an empty key code
// (the record could not be named again), a code that names no record (an
// entry type computed by a bracket table nobody kept, a contact of no
// customer) and an account the chart lacks (a person entry booked on it
// would be refused much later, far from where the code was typed).
// Codes left empty are allowed where the field is optional.
#include "rules/small_register_checks.h"

#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "operations/purchase_ledger.h"
#include "rules/accounts.h"
#include "rules/checks.h"

namespace {

constexpr int AccountMax = 10, ItemMax = 20, CustomerMax = 20, BracketMax = 12;

// The code at `field` (at most max characters) must be given.
int CodeGiven(const uint8_t *record, uint32_t field, int max)
{
    PString code;
    GetPString(record, field, max, code);
    return code[0] == 0 ? FieldError(Texts::CodeMissing, nullptr, uint16_t(field)) : 0;
}

// The account at `field`, when given, must be in the chart.
int AccountKnown(const uint8_t *record, uint32_t field)
{
    PString code;
    GetPString(record, field, AccountMax, code);
    if (code[0] == 0 || AccountExists(code)) return 0;
    return FieldError(Texts::AccountMissing, nullptr, uint16_t(field));
}

// A register's check of every row: `row` gets each row in turn and
// returns 0 or the refusal of that row.
template <typename RowCheck>
int EachRow(int reg, const uint8_t *record, uint32_t rowSize, RowCheck check)
{
    std::vector<uint8_t> row(rowSize);
    int32_t count = MatrixRowCount(reg, 0, record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(reg, record, i, row.data())) continue;
        if (int r = check(row.data(), uint16_t(i))) return r;
    }
    return 0;
}

// An employee type: a code, and rows whose items exist.
int ValidateEmployeeType(const uint8_t *record)
{
    if (int r = CodeGiven(record, EmpTypeVc::Code, 5)) return r;
    return EachRow(EmpTypeVc::Number, record, EmpTypeVc::Rows::Size, [](const uint8_t *row, uint16_t i) {
        PString item;
        GetPString(row, EmpTypeVc::Rows::ItemCode, ItemMax, item);
        if (item[0] == 0 || CodeInRegister(INVc::Number, INVc::Code, ItemMax, item)) return 0;
        return FieldErrorAt(Texts::ItemMissing, nullptr, EmpTypeVc::Matrix, i, EmpTypeVc::Rows::ItemCode);
    });
}

// A time item is an item sold by the hour: the item must exist.
int ValidateTimeItem(const uint8_t *record)
{
    PString item;
    GetPString(record, TimeItemVc::ItemCode, ItemMax, item);
    if (item[0] == 0) return FieldError(Texts::ItemCodeMissing, nullptr, TimeItemVc::ItemCode);
    if (!CodeInRegister(INVc::Number, INVc::Code, ItemMax, item))
        return FieldError(Texts::ItemMissing, nullptr, TimeItemVc::ItemCode);
    return 0;
}

// A contact belongs to a customer that exists, and has a name.
int ValidateContact(const uint8_t *record)
{
    PString customer;
    GetPString(record, ContactVc::CustCode, CustomerMax, customer);
    if (customer[0] == 0) return FieldError(Texts::CustomerCodeMissing, nullptr, ContactVc::CustCode);
    if (!CodeInRegister(CUVc::Number, CUVc::Code, CustomerMax, customer))
        return FieldError(Texts::ContactCustomerMissing, nullptr, ContactVc::CustCode);
    return CodeGiven(record, ContactVc::Name, 60);
}

// A bracket table: a code and accounts the chart has.
int ValidateBracketTable(const uint8_t *record)
{
    if (int r = CodeGiven(record, BracketVc::Code, BracketMax)) return r;
    if (int r = AccountKnown(record, BracketVc::DebitAcc)) return r;
    return AccountKnown(record, BracketVc::CreditAcc);
}

// An entry type: a code, accounts the chart has, and rows naming bracket
// tables that exist.
int ValidateEntryType(const uint8_t *record)
{
    if (int r = CodeGiven(record, EntryTypeVc::Code, 10)) return r;
    if (int r = AccountKnown(record, EntryTypeVc::DebitAcc)) return r;
    if (int r = AccountKnown(record, EntryTypeVc::CreditAcc)) return r;
    return EachRow(EntryTypeVc::Number, record, EntryTypeVc::Rows::Size, [](const uint8_t *row, uint16_t i) {
        PString bracket;
        GetPString(row, EntryTypeVc::Rows::Bracket, BracketMax, bracket);
        if (bracket[0] == 0 || CodeInRegister(BracketVc::Number, BracketVc::Code, BracketMax, bracket)) return 0;
        return FieldErrorAt(Texts::BracketTableMissing, nullptr, EntryTypeVc::Matrix, i, EntryTypeVc::Rows::Bracket);
    });
}

// The registers checked here, in register order.
constexpr int CheckedRegisters[] = {EmpTypeVc::Number,  TimeItemVc::Number,  CodedTextVc::Number,
                                    ContactVc::Number,  BracketVc::Number,   EntryTypeVc::Number,
                                    PctTableVc::Number, OrderClassVc::Number, StdTextVc::Number};

}  // namespace

void InstallSmallRegisterEntries(std::array<RegisterHooks, RegisterCount> &table)
{
    for (int reg : CheckedRegisters)
        if (!table[reg].validateRecord) table[reg].validateRecord = ValidateRecordOf;
}

int ValidateSmallRegister(int reg, const uint8_t *record)
{
    if (!record) return 0;
    switch (reg) {
    case EmpTypeVc::Number: return ValidateEmployeeType(record);
    case TimeItemVc::Number: return ValidateTimeItem(record);
    case CodedTextVc::Number: return CodeGiven(record, CodedTextVc::Code, 5);
    case ContactVc::Number: return ValidateContact(record);
    case BracketVc::Number: return ValidateBracketTable(record);
    case EntryTypeVc::Number: return ValidateEntryType(record);
    case PctTableVc::Number: return CodeGiven(record, PctTableVc::Code, 5);
    case OrderClassVc::Number: return CodeGiven(record, OrderClassVc::Code, 5);
    case StdTextVc::Number: return CodeGiven(record, StdTextVc::Code, 20);
    default: return 0;
    }
}
