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
#include "rules/checks.h"

namespace {

constexpr int AccountMax = 10, ItemMax = 20, CustomerMax = 20, BracketMax = 12;

// The key codes that must be given and the codes that must name a record,
// register by register, in the order of their windows.
const CodeField EmpTypeCodes[] = {{EmpTypeVc::Code, 5, 0, AnyCode, Texts::CodeMissing}};
const CodeField TimeItemCodes[] = {{TimeItemVc::ItemCode, ItemMax, Texts::ItemMissing, KnownItem, Texts::ItemCodeMissing}};
const CodeField CodedTextCodes[] = {{CodedTextVc::Code, 5, 0, AnyCode, Texts::CodeMissing}};
// A contact belongs to a customer that exists, and has a name.
const CodeField ContactCodes[] = {
    {ContactVc::CustCode, CustomerMax, Texts::ContactCustomerMissing, KnownCustomer, Texts::CustomerCodeMissing},
    {ContactVc::Name, 60, 0, AnyCode, Texts::CodeMissing}};
const CodeField BracketCodes[] = {{BracketVc::Code, BracketMax, 0, AnyCode, Texts::CodeMissing},
                                  {BracketVc::DebitAcc, AccountMax, Texts::AccountMissing, KnownAccount},
                                  {BracketVc::CreditAcc, AccountMax, Texts::AccountMissing, KnownAccount}};
const CodeField EntryTypeCodes[] = {{EntryTypeVc::Code, 10, 0, AnyCode, Texts::CodeMissing},
                                    {EntryTypeVc::DebitAcc, AccountMax, Texts::AccountMissing, KnownAccount},
                                    {EntryTypeVc::CreditAcc, AccountMax, Texts::AccountMissing, KnownAccount}};
const CodeField PctTableCodes[] = {{PctTableVc::Code, 5, 0, AnyCode, Texts::CodeMissing}};
const CodeField OrderClassCodes[] = {{OrderClassVc::Code, 5, 0, AnyCode, Texts::CodeMissing}};
const CodeField StdTextCodes[] = {{StdTextVc::Code, 20, 0, AnyCode, Texts::CodeMissing}};

// Every row's cell `column` of the rows at `matrix`: empty or known.
int EachRowCode(int reg, const uint8_t *record, uint32_t rowSize, uint32_t matrix, uint32_t column, int max,
                bool (*known)(const uint8_t *), int refused)
{
    std::vector<uint8_t> row(rowSize);
    int32_t count = MatrixRowCount(reg, 0, record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(reg, record, i, row.data())) continue;
        if (int r = CheckRowCode(row.data(), column, max, known, refused, matrix, i)) return r;
    }
    return 0;
}

bool KnownBracketTable(const uint8_t *code)
{
    return CodeInRegister(BracketVc::Number, BracketVc::Code, code);
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
    case EmpTypeVc::Number:
        if (int r = CheckCodeFields(EmpTypeCodes, record, nullptr, 1)) return r;
        return EachRowCode(reg, record, EmpTypeVc::Rows::Size, EmpTypeVc::Matrix, EmpTypeVc::Rows::ItemCode, ItemMax,
                           KnownItem, Texts::ItemMissing);
    case TimeItemVc::Number: return CheckCodeFields(TimeItemCodes, record, nullptr, 1);
    case CodedTextVc::Number: return CheckCodeFields(CodedTextCodes, record, nullptr, 1);
    case ContactVc::Number: return CheckCodeFields(ContactCodes, record, nullptr, 1);
    case BracketVc::Number: return CheckCodeFields(BracketCodes, record, nullptr, 1);
    case EntryTypeVc::Number:
        // Its rows name the bracket tables that compute it.
        if (int r = CheckCodeFields(EntryTypeCodes, record, nullptr, 1)) return r;
        return EachRowCode(reg, record, EntryTypeVc::Rows::Size, EntryTypeVc::Matrix, EntryTypeVc::Rows::Bracket,
                           BracketMax, KnownBracketTable, Texts::BracketTableMissing);
    case PctTableVc::Number: return CheckCodeFields(PctTableCodes, record, nullptr, 1);
    case OrderClassVc::Number: return CheckCodeFields(OrderClassCodes, record, nullptr, 1);
    case StdTextVc::Number: return CheckCodeFields(StdTextCodes, record, nullptr, 1);
    default: return 0;
    }
}
