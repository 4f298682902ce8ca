// import_missing.cpp - the customer, items and user an imported sales
// invoice names but the company lacks, made before the invoice is stored
// so that the invoice never points at nothing, and what the import tells
// of them at its end.
//
// A made customer carries the invoice's name, address, VAT zone, terms
// and group; a made item the row's text, sales account and price unit,
// its prices blank. A made user gets no access group and a random
// password nobody is told: an empty access group allows everything and an
// empty password is typed by anyone, so a salesperson code in a file must
// not become a way in. An administrator gives such a
// user a password; until then it only stands for the salesperson. In a
// company without users (where any name logs in) no user is made, since
// the first one would lock everybody out. A store that fails is told and
// fails the open hold.
#include <cassert>
#include <cstdio>
#include <random>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/person_password.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/doc_flow_fields.h"
#include "operations/import_missing.h"
#include "operations/sales_invoice.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

ImportCreatedRec ImportCreated;

namespace {

// Salesperson codes not made users because the company had none.
std::vector<std::string> UsersNotMade;

// Looks up the record of reg whose key field at codeAt (max characters)
// holds code into r; true when it exists.
bool Stored(int reg, uint32_t codeAt, int max, const uint8_t *code, uint8_t *r) {
    PutPString(r, codeAt, max, code);
    return RecFindByFirstKey(reg, r);
}

// Makes the record of reg whose key field at codeAt (max characters)
// holds code, unless it exists; fill adds the rest. true when it exists
// or was stored (*made then says which); an empty code needs nothing.
template <typename Fill>
bool MakeUnlessStored(int reg, uint32_t codeAt, int max, const uint8_t *code, bool *made, Fill fill) {
    *made = false;
    if (code[0] == 0) return true;
    RuleRecord r(reg);
    if (!r.record) return false;
    if (Stored(reg, codeAt, max, code, r.record)) return true;
    RecClear(reg, r.record);
    PutPString(r.record, codeAt, max, code);
    fill(r.record);
    uint32_t recid = 0;
    if (RecStoreByKey(reg, r.record, 0, &recid)) {
        *made = true;
        return true;
    }
    ShowTextMessage(Texts::RecordNotStored);
    DbHoldFail();
    return false;
}

// A password of 20 letters and digits drawn at random, which nobody is
// told: the user cannot log in until someone sets one. The characters are
// those every text file carries, so an export of the users reads back.
void LockedPassword(uint8_t *password) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<size_t> pick(0, sizeof alphabet - 2);
    password[0] = 20;
    for (int i = 1; i <= 20; i++) password[i] = uint8_t(alphabet[pick(random)]);
}

// Adds code to list unless it is there.
void Remember(std::vector<std::string> &list, const uint8_t *code) {
    std::string c = PStringToStd(code);
    for (const std::string &s : list)
        if (s == c) return;
    list.push_back(c);
}

// Shows text n followed by the codes of list, separated by commas.
void TellCodes(int n, const std::vector<std::string> &list) {
    PString tail = {0};
    for (size_t i = 0; i < list.size(); i++) {
        if (tail[0] > 240) {
            PStringAppendC(tail, ", ...");
            break;
        }
        if (i > 0) PStringAppendC(tail, ", ");
        PStringAppendC(tail, list[i].c_str());
    }
    ShowMessage(n, tail);
}

}  // namespace

// Makes the invoice's customer when it is missing: the invoice's name
// and address lines, second name, VAT zone, payment terms and customer
// group (the fields the invoice took from its customer).
bool CreateMissingCustomer(const uint8_t *invoice) {
    assert(invoice);
    uint8_t code[256];
    GetText(invoice, IVVc::CustCode, code);
    bool made = false;
    bool ok = MakeUnlessStored(CUVc::Number, CUVc::Code, 20, code, &made, [&](uint8_t *c) {
        const TextField<60> from[] = {IVVc::Addr0, IVVc::Addr1, IVVc::Addr2, IVVc::Addr3, IVVc::Name2};
        const TextField<60> to[] = {CUVc::Name, CUVc::Addr1, CUVc::Addr2, CUVc::Addr3, CUVc::Name2};
        for (int i = 0; i < 5; i++) DocFlowCopyText(c, to[i], invoice, from[i]);
        PutU16(c, CUVc::VatZone, GetU16(invoice, IVVc::VatZone));
        DocFlowCopyText(c, CUVc::PayTerms, invoice, IVVc::PayTerms);
        DocFlowCopyText(c, CUVc::CustGroup, invoice, IVVc::CustCat);
    });
    if (made) ImportCreated.customers = true;
    return ok;
}

// Makes each item that an item row of the invoice names and the company
// lacks: the row's text as its name, its sales account and price unit,
// blank base price, cost and added cost. false at the first failed store.
bool CreateMissingItems(const uint8_t *invoice) {
    assert(invoice);
    uint8_t row[IVVc::Rows::Size], code[256];
    int32_t count = MatrixRowCount(IVVc::Number, 0, invoice);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(IVVc::Number, invoice, i, row) ||
            DocRowKind(GetU16(row, IVVc::Rows::Kind)) != DocRowKind::Item) continue;
        GetText(row, IVVc::Rows::ItemCode, code);
        bool made = false;
        bool ok = MakeUnlessStored(INVc::Number, INVc::Code, 20, code, &made, [&](uint8_t *item) {
            DocFlowCopyText(item, INVc::Name, row, IVVc::Rows::Text);
            DocFlowCopyText(item, INVc::SalesAcc, row, IVVc::Rows::SalesAcc);
            PackedDecimal blank;
            DecSetBlank(&blank);
            for (uint32_t at : {INVc::BasePrice, INVc::CostPrice, INVc::AddCost}) PutDec(item, at, blank);
            PutDec(item, INVc::PriceUnit, GetDec(row, IVVc::Rows::PriceUnit));
        });
        if (made) ImportCreated.items = true;
        if (!ok) return false;
    }
    return true;
}

// Makes the invoice's salesperson (register 44) when missing, without
// access rights: no access group and a password nobody knows. In a
// company without users none is made; the code is told at the end.
bool CreateMissingUser(const uint8_t *invoice) {
    assert(invoice);
    uint8_t code[256];
    GetText(invoice, IVVc::SalesMan, code);
    if (code[0] == 0) return true;
    if (RegOpenCount(PEVc::Number) == 0) {
        Remember(UsersNotMade, code);
        return true;
    }
    bool made = false;
    bool ok = MakeUnlessStored(PEVc::Number, PEVc::Code, 5, code, &made, [](uint8_t *user) {
        PString password;
        LockedPassword(password);
        PutText(user, PEVc::Password, password);
        // The key store runs no write hooks: the password becomes its verifier here.
        if (!PersonPasswordSeal(user)) PersonPasswordRedact(user);
    });
    if (made) Remember(ImportCreated.users, code);
    return ok;
}

// Fills the blank costs of item rows whose items exist, and their gross
// profit: the row sum at the invoice's rate, net of VAT, less quantity
// times the cost.
void RowCostsFromItems(uint8_t *invoice) {
    assert(invoice);
    RuleRecord item(INVc::Number);
    if (!item.record) return;
    uint8_t row[IVVc::Rows::Size], code[256], vat[256];
    const PackedDecimal rate = GetDec(invoice, IVVc::Rate);
    const uint16_t inclVat = GetU16(invoice, IVVc::InclVat);
    int32_t count = MatrixRowCount(IVVc::Number, 0, invoice);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(IVVc::Number, invoice, i, row) ||
            DocRowKind(GetU16(row, IVVc::Rows::Kind)) != DocRowKind::Item) continue;
        PackedDecimal cost = GetDec(row, IVVc::Rows::UnitCost);
        GetText(row, IVVc::Rows::ItemCode, code);
        if (!DecIsBlank(&cost) || code[0] == 0 || !Stored(INVc::Number, INVc::Code, 20, code, item.record)) continue;
        PackedDecimal price = GetDec(item.record, INVc::CostPrice), added = GetDec(item.record, INVc::AddCost);
        DecAdd(&price, &added, &cost);
        PackedDecimal sum = GetDec(row, IVVc::Rows::Sum), home, net, quantity = GetDec(row, IVVc::Rows::Quantity),
                      costs, profit;
        AmountTimesRate(&sum, &rate, &home);
        GetText(row, IVVc::Rows::VatCode, vat);
        NetOfTax(vat, &home, inclVat, &net);
        DecMul(&quantity, &cost, &costs);
        DecSub(&net, &costs, &profit);
        PutDec(row, IVVc::Rows::UnitCost, cost);
        PutDec(row, IVVc::Rows::GrossProfit, profit);
        if (!MatrixRowPut(IVVc::Number, 0, invoice, i, row)) return;
    }
}

// Forgets what the last import created.
void ImportCreatedForget() {
    ImportCreated = ImportCreatedRec{};
    UsersNotMade.clear();
}

// Tells what the import created, then the users made without rights and
// the salesperson codes not made users; each list is then forgotten.
void ImportCreatedReport() {
    if (ImportCreated.customers || ImportCreated.items) {
        PString text = {0}, part = {0};
        GetUiText(text, Texts::ImportCreatedPrefix);
        if (ImportCreated.customers) {
            GetUiText(part, Texts::ImportCreatedCustomers);
            PStringAppend(text, part);
        }
        if (ImportCreated.customers && ImportCreated.items) PStringAppendC(text, ", ");
        if (ImportCreated.items) {
            GetUiText(part, Texts::ImportCreatedItems);
            PStringAppend(text, part);
        }
        ShowMessage(0, text);
    }
    if (!ImportCreated.users.empty()) TellCodes(Texts::ImportUsersWithoutRights, ImportCreated.users);
    if (!UsersNotMade.empty()) TellCodes(Texts::ImportUsersNotMade, UsersNotMade);
    ImportCreatedForget();
}
