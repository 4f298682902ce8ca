// contract_window.cpp - the contract window (type 468, register 45): its
// event handler and its header logic. A customer fills the contract with
// the freight of block 186; a price list gives its VAT word; a freight
// typed in the contract's currency gives its home amount and percentage
// part. A closed contract keeps every field and its rows. Rows follow
// contract_rows.cpp.
#include <iterator>

#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "recordwin/contract_window.h"
#include "recordwin/record_windows.h"
#include "recordwin/sales_doc_window.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace CO = ContractVc;

constexpr int LastEvent = 12;
constexpr int CustomerCodeMax = 20, ItemCodeMax = 20, VatCodeMax = 2, AccountMax = 10;

// The customer's fields a contract takes, by position.
constexpr CustomerCopy ContractCopies[] = {
    {CO::CustName, CUVc::Name, 60},       {CO::Addr1, CUVc::Addr1, 60},          {CO::Addr2, CUVc::Addr2, 60},
    {CO::Addr3, CUVc::Addr3, 60},         {CO::Name2, CUVc::Name2, 60},          {CO::DiscCode, CUVc::CustGroup, 5},
    {CO::Objects, CUVc::Objects, 30},     {CO::CurncyCode, CUVc::CurncyCode, 5}, {CO::SalesMan, CUVc::SalesMan, 5},
    {CO::LangCode, CUVc::LangCode, 5},    {CO::PriceList, CUVc::PriceList, 5},   {CO::DiscCode2, CUVc::DiscCode2, 5},
};
constexpr CustomerCopy ContractDelivery[] = {
    {CO::DelAddr0, CUVc::Name, 60},
    {CO::DelAddr1, CUVc::DelAddr1, 60},
    {CO::DelAddr2, CUVc::DelAddr2, 60},
    {CO::DelAddr3, CUVc::DelAddr3, 60},
};
// Copied after the totals: the texts of 20 and 60, the payment terms.
constexpr CustomerCopy ContractLateCopies[] = {
    {CO::OurRef, CUVc::Text646, 20},
    {CO::Reference, CUVc::Reference, 60},
    {CO::PayTerms, CUVc::PayTerms, 2},
};

// The window the shared header steps (price list, VAT word) work on.
const SalesDocWindow ContractWindowDesc = {&ContractDocLayout, false, CO::ContractDate, CO::CustCode, CO::CustName,
                                           NoDocCell, ContractTotalsRefresh};

void EmptyText(uint8_t *record, uint32_t at, int length)
{
    constexpr uint8_t Empty[1] = {0};
    PutPString(record, at, length, Empty);
}

void BlankAmount(uint8_t *record, uint32_t at)
{
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutDec(record, at, blank);
}

// The freight item of block 186 and its percentage come into the
// contract: a known item gives its VAT code and sales account for the
// contract's zone and its price as the home freight; without one the
// freight is emptied. The freight in the contract's currency follows.
void ContractFreightFill(uint8_t *contract)
{
    uint8_t code[256] = {0};
    PackedDecimal pct;
    DecSetZero(&pct);
    if (Block186) {
        GetText(Block186, FreightBlk::FreightItem, code);
        pct = GetDec(Block186, FreightBlk::FreightPct);
    }
    RuleRecord item(INVc::Number);
    bool known = false;
    if (item.record && code[0] != 0) {
        PutText(item.record, INVc::Code, code);
        uint32_t recid = 0, position = 0;
        known = RecFindByIndex(INVc::Number, "Code", item.record, 1, 1, &recid, &position);
    }
    if (known) {
        int zone = GetU16(contract, CO::VatZone);
        uint8_t vat[256], account[256];
        ItemVatCode(code, zone, vat);
        ItemSalesAccount(code, zone, account);
        PutText(contract, CO::FreightItem, code);
        PutText(contract, CO::FreightVat, vat);
        PutText(contract, CO::FreightAcc, account);
        PutDec(contract, CO::FreightPct, pct);
        PutDec(contract, CO::FreightHome, GetDec(item.record, INVc::BasePrice));
    } else {
        EmptyText(contract, CO::FreightItem, ItemCodeMax);
        EmptyText(contract, CO::FreightVat, VatCodeMax);
        EmptyText(contract, CO::FreightAcc, AccountMax);
        PackedDecimal zero;
        DecSetZero(&zero);
        PutDec(contract, CO::FreightPct, zero);
        BlankAmount(contract, CO::FreightHome);
    }
    PackedDecimal home = GetDec(contract, CO::FreightHome), rate = GetDec(contract, CO::Rate), freight;
    AmountByRateInverse(&home, &rate, &freight);
    PutDec(contract, CO::Freight, freight);
    ContractFreightPercentPart(contract);
}

void CustomerLeft(int window, uint8_t changed)
{
    uint8_t *contract = WinRecordBuffer(window);
    bool nameMissing = contract[CO::CustCode] != 0 && contract[CO::CustName] == 0;
    if (!changed && !nameMissing) return;
    RuleRecord customer(CUVc::Number);
    if (!customer.record) return;
    if (!ContractCustomerFill(contract, customer.record)) {
        Beep();
        return;
    }
    WinFieldsSync(window);
    CustomerNoteShow(customer.record);
}

// The freight typed in the contract's currency: its home amount and
// percentage part, then the totals.
void FreightLeft(int window)
{
    uint8_t *contract = WinRecordBuffer(window);
    PackedDecimal freight = GetDec(contract, CO::Freight), rate = GetDec(contract, CO::Rate), home;
    AmountTimesRate(&freight, &rate, &home);
    PutDec(contract, CO::FreightHome, home);
    ContractFreightPercentPart(contract);
    WinRedrawFieldById(window, int(CO::FreightHome));
    WinRedrawFieldById(window, int(CO::FreightPctAmount));
    ContractTotalsRefresh(window);
}

// The closed flag of the contract shown (state 0) or of its stored copy
// (state 2); other states have none.
bool Closed(int window, int state)
{
    const uint8_t *record = state == 0 ? WinRecordBuffer(window) : state == 2 ? WinStoredRecord(window) : nullptr;
    return record && GetU16(record, CO::Closed) != 0;
}

bool RefuseClosed()
{
    ShowTextMessage(Texts::ContractClosed);
    return false;
}

bool MayInsertRow(int window, int state)
{
    switch (state) {
    case 0:
    case 2: return !Closed(window, state) || RefuseClosed();
    case 1: return true;
    default: return false;
    }
}

}  // namespace

void ContractFreightPercentPart(uint8_t *contract)
{
    PackedDecimal home = GetDec(contract, CO::FreightHome), pct = GetDec(contract, CO::FreightPct), part;
    if (DecIsBlank(&home)) {
        BlankAmount(contract, CO::FreightPctAmount);
        return;
    }
    if (DecIsBlank(&pct)) DecSetZero(&pct);
    PercentOfAmount(&home, &pct, &part);
    PutDec(contract, CO::FreightPctAmount, part);
}

bool ContractCustomerFill(uint8_t *contract, uint8_t *customer)
{
    uint8_t code[256];
    GetText(contract, CO::CustCode, code);
    if (code[0] == 0) return false;
    PutText(customer, CUVc::Code, code);
    PackedDecimal limit, balance;
    if (!CustomerBalanceCreditCall(customer, &limit, &balance)) return false;
    CustomerCopiesApply(contract, customer, ContractCopies, int(std::size(ContractCopies)));
    SalesDocResolvePriceList(ContractWindowDesc, contract, CO::DiscCode);
    if (customer[CUVc::DelAddr1] != 0) {
        CustomerCopiesApply(contract, customer, ContractDelivery, int(std::size(ContractDelivery)));
    } else {
        for (const CustomerCopy &c : ContractDelivery) EmptyText(contract, c.to, c.length);
    }
    EmptyText(contract, CO::DelTerms, 5);
    EmptyText(contract, CO::DelMode, 5);
    CustomerCopiesApply(contract, customer, ContractLateCopies, int(std::size(ContractLateCopies)));
    PutU16(contract, CO::VatZone, GetU16(customer, CUVc::VatZone));
    ContractFreightFill(contract);
    ContractTotals(contract);
    return true;
}

// Recomputes the contract's totals and redraws net, VAT and total.
void ContractTotalsRefresh(int window)
{
    if (!WinIsOpen(window)) return;
    ContractTotals(WinRecordBuffer(window));
    WinRedrawFieldById(window, int(CO::NetTotal));
    WinRedrawFieldById(window, int(CO::VatTotal));
    WinRedrawFieldById(window, int(CO::Total));
}

// Screen field F of the contract window was left: a row cell runs the
// row step, a header field carries its value on.
void ContractFieldLeave(int window, int field, uint8_t changed)
{
    if (!WinIsOpen(window)) return;
    int first = 0, cells = 0;
    MatrixGeometry(window, &first, &cells);
    if (WinHasMatrix(window) && cells > 0 && field >= first) {
        ContractRowLeft(window, field, changed);
        return;
    }
    switch (WinFieldIdAt(window, field)) {
    case CO::CustCode: CustomerLeft(window, changed); return;
    case CO::PriceList:
        if (changed) SalesDocPriceListLeft(ContractWindowDesc, window);
        return;
    case CO::Freight:
        if (changed) FreightLeft(window);
        return;
    default: return;
    }
}

// Window type 468's event handler: 1 = go on / allowed, 0 = refused.
// Events past 12 are none of its business.
uint8_t Win468Event(int window, int event, void *a, void *b)
{
    if (!WinIsOpen(window)) return 0;
    if (event < 0 || event > LastEvent) return 1;
    // A type laid out over another record is left to the generic actions.
    if (!WinRecordBuffer(window) || WinRegisterOf(window) != CO::Number) return 1;
    int state = WinRecState(window);
    switch (WindowEventCode(event)) {
    case WindowEventCode::MayEditField:
        if (Closed(window, state)) return 0;
        if (b && *static_cast<const uint16_t *>(b) == CO::VatZone && !CompanyVariantIs(CountryVariant::V15)) return 0;
        return 1;
    case WindowEventCode::MayDeleteRow: return state == 2 && Closed(window, 2) ? uint8_t(RefuseClosed()) : 1;
    case WindowEventCode::FieldChanged:
        if (a && b) ContractFieldLeave(window, *static_cast<const int16_t *>(a), *static_cast<const uint8_t *>(b));
        return 1;
    case WindowEventCode::MayInsertRow: return MayInsertRow(window, state) ? 1 : 0;
    case WindowEventCode::RowsChanged: ContractTotalsRefresh(window); return 1;
    default: return 1;
    }
}
