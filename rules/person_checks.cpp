// person_checks.cpp - the check of a person (register 44) before it is
// stored: the codes its window shows name what the company keeps, so that
// what is read from the person later (the access group at the login, the
// account an expense claim is owed on, the stock location of its
// invoices) is there. Each code may be left empty.
#include "core/field_access.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "rules/checks.h"

namespace {

// The person's codes in the order its window shows them.
const CodeField PersonCodes[] = {
    {PEVc::AccessCode, 5, Texts::AccessGroupUnknown, KnownAccessGroup},
    {PEVc::Location, 10, Texts::LocationUnknown, KnownLocation},
    {PEVc::EmpType, 5, Texts::EmpTypeUnknown, KnownEmployeeType},
    {PEVc::Account, 10, Texts::AccountMissing, KnownAccount},
    {PEVc::Objects, 30, Texts::ObjectUnknown, KnownObjects},
};

}  // namespace

// A person: in a change (mode 2) only the codes that differ from the
// stored person are looked up (CheckCodeFields).
int ValidatePerson(const uint8_t *person, const uint8_t *stored, int mode)
{
    return CheckCodeFields(PersonCodes, person, stored, mode);
}
