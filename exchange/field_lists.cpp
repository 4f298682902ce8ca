// field_lists.cpp - the field list of every register and settings block
// section of the text exchange. Each section has one table of columns;
// a column that only some layout versions hold says which (Until: that
// version and the older ones; Since: that version and the newer ones),
// and the list of a version takes the columns that version holds, in
// table order. Positions are the dictionary's fields; the order is the
// file's. Lists the program authored (sections known only by their column
// counts) take the dictionary's stored fields in record order and leave
// out rows handles and list marks; docs/text_exchange.md says which and
// why.
#include "exchange/field_lists.h"

#include <algorithm>
#include <array>
#include <cassert>

#include "core/field_types.h"
#include "dict_offsets.h"
#include "exchange/section_readers.h"
#include "exchange/text_exchange.h"
#include "output/output_job.h"

namespace {

// A column of a section's table and the layout versions that hold it,
// since..until: every version of the section unless the table says
// otherwise.
struct VersionedColumn {
    Column column;
    uint8_t since = 0;
    uint8_t until = 255;
};

constexpr VersionedColumn Until(uint8_t version, Column c) { return {c, 0, version}; }
constexpr VersionedColumn Since(uint8_t version, Column c) { return {c, version, 255}; }

constexpr bool Holds(const VersionedColumn &c, int version) { return c.since <= version && version <= c.until; }

template <const auto &Table> constexpr size_t CountIn(int version)
{
    size_t n = 0;
    for (const VersionedColumn &c : Table) n += Holds(c, version);
    return n;
}

// The columns of Table that version holds, in table order, made when the
// program is compiled: the writer and the reader see a plain list.
template <const auto &Table, int Version> constexpr auto ColumnsIn()
{
    std::array<Column, CountIn<Table>(Version)> out{};
    size_t n = 0;
    for (const VersionedColumn &c : Table)
        if (Holds(c, Version)) out[n++] = c.column;
    return out;
}

template <const auto &Table, int Version> constexpr auto InVersion = ColumnsIn<Table, Version>();

// Writes the company block: its columns, with a line end where the reader
// asks whether the next line holds data (the optional lines at its end,
// which ImportNextLineHasData reaches by skipping the line before them).
void WriteCompanyBlock(int block, const uint8_t *data)
{
    const FieldList *l = FieldListFor(true, block, ListNewest);
    assert(l);
    for (const Column &c : l->header) {
        if (c.kind == Col::IfData) RepLineFeed();
        else WriteColumns(std::span<const Column>(&c, 1), data);
    }
}

// RnHead and RnRows: the header and row columns of register n; BnHead:
// the columns of settings block n.
constexpr VersionedColumn R2Head[] = {
    {CUVc::Code, FtCodeNoSep, 20}, {CUVc::Name, FtText, 60}, {CUVc::Name2, FtText, 60}, {CUVc::Note, FtText, 60},
    {CUVc::Addr1, FtText, 60}, {CUVc::Addr2, FtText, 60}, {CUVc::Addr3, FtText, 60},
    {CUVc::PayerCode, FtCodeNoSep, 20}, {CUVc::DelAddr1, FtText, 60}, {CUVc::DelAddr2, FtText, 60},
    {CUVc::DelAddr3, FtText, 60}, {CUVc::Text456, FtText, 20}, {CUVc::Phone, FtText, 20},
    {CUVc::CustGroup, FtCodeNoSep, 5}, {CUVc::Text562, FtText, 60}, {CUVc::PayTerms, FtCodeNoSep, 2},
    {CUVc::VatZone, FtShort, 0}, {CUVc::Word626, FtShort, 0}, {CUVc::Objects, FtCodeNoSep, 5},
    {CUVc::InterestFlag, FtShort, 0}, {CUVc::Text646, FtText, 20}, {CUVc::Code668, FtCodeNoSep, 5},
    {CUVc::Text674, FtText, 10}, {CUVc::NoticeCounting, FtShort, 0}, {CUVc::LangCode, FtCodeNoSep, 5},
    {CUVc::CurncyCode, FtCodeNoSep, 5}, {CUVc::OnAccount, FtShort, 0}, {CUVc::SalesMan, FtCodeNoSep, 5},
    {CUVc::CreditLimit, FtAmount2, 0}, {CUVc::DelTerms, FtCodeNoSep, 5}, {CUVc::DelMode, FtCodeNoSep, 5},
    {CUVc::VatCode, FtCodeNoSep, 2}, {CUVc::Text838, FtText, 60}, {CUVc::Reference, FtText, 60},
    {CUVc::Text962, FtText, 20}, {CUVc::PriceList, FtCodeNoSep, 5}, {CUVc::DiscCode2, FtCodeNoSep, 5},
};

constexpr VersionedColumn R3Head[] = {
    {INVc::Code, FtCodeNoSep, 20}, {INVc::Name, FtText, 60}, {INVc::Unit, FtText, 10},
    {INVc::MinStock, FtAmount2, 0}, {INVc::Objects, FtCodeNoSep, 5}, {INVc::SalesAcc, FtCodeNoSep, 10},
    {INVc::BasePrice, FtAmount3Drop, 0}, {INVc::Stocked, FtShort, 0}, {INVc::Group, FtCodeNoSep, 5},
    {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {INVc::CostPrice, FtAmount2, 0},
    Until(1, {INVc::DefLocation, FtText, 5}), Since(2, {INVc::DefLocation, FtText, 10}),
    {INVc::AddCost, FtAmount2, 0}, Until(1, {0, FtText, 0, Col::Empty}), Until(1, {0, FtText, 0, Col::Empty}),
    {INVc::SerialMode, FtShort, 0}, Until(1, {INVc::VendCode, FtText, 10}),
    Since(2, {INVc::VendCode, FtCodeNoSep, 10}), {INVc::StepAmount1, FtAmount2, 0}, {INVc::StepAmount2, FtAmount2, 0},
    {INVc::Text220, FtText, 20}, {INVc::Code242, FtCodeNoSep, 5}, {INVc::Amount258, FtAmount2, 0},
    {INVc::StructCode, FtCodeNoSep, 20}, {INVc::Markup, FtAmount2, 0},
    Until(1, {INVc::PriceUnit, FtAmount2, 0, Col::Clear}), Until(1, {INVc::Word358, FtShort, 0, Col::Clear}),
    Since(2, {INVc::StructFlag, FtShort, 0}), Since(2, {INVc::InvCode, FtText, 20}),
    Since(2, {INVc::CostMethod, FtShort, 0}), Since(2, {INVc::PriceDate, FtDate, 0}),
    Since(2, {INVc::PctTable, FtCodeNoSep, 5}), Since(2, {INVc::VatCode, FtCodeNoSep, 2}),
    Since(2, {INVc::PriceUnit, FtAmount2, 0}), Since(2, {INVc::Word358, FtShort, 0}),
};

constexpr VersionedColumn R3Rows[] = {
    {INVc::Rows::LangCode, FtCodeNoSep, 5}, {INVc::Rows::Text, FtText, 60},
};

constexpr VersionedColumn R4Head[] = {
    {PUVc::SerNr, FtLongOrEmpty, 0}, {PUVc::RegDate, FtDate, 0}, {PUVc::TransDate, FtDate, 0},
    {PUVc::Text, FtText, 60}, {PUVc::VendCode, FtCodeNoSep, 20}, {PUVc::VendName, FtText, 60},
    {PUVc::POSerNr, FtLongOrEmpty, 0}, {PUVc::Location, FtCodeNoSep, 10}, {PUVc::Received, FtShort, 0},
    {PUVc::Mark, FtShort, 0}, {PUVc::Currency, FtCodeNoSep, 5}, {PUVc::Rate, FtAmount3, 0},
    {PUVc::VatKind, FtShort, 0}, {PUVc::ValueSum, FtAmount2, 0}, Since(2, {PUVc::QtySum, FtAmount3, 0}),
};

constexpr VersionedColumn R4Rows[] = {
    {PUVc::Rows::ItemCode, FtCode, 20}, {PUVc::Rows::Quantity, FtAmount3, 0}, {PUVc::Rows::Text, FtText, 60},
    {PUVc::Rows::SerialNr, FtText, 30}, {PUVc::Rows::Price, FtAmount2, 0}, {PUVc::Rows::PORowNr, FtLongOrEmpty, 0},
    {PUVc::Rows::Charge, FtText, 20}, {PUVc::Rows::UnitCost, FtAmount2, 0}, {PUVc::Rows::PORowCode, FtText, 20},
};

constexpr VersionedColumn R7Head[] = {
    {ORVc::SerNr, FtLongOrEmpty, 0}, {ORVc::OrdDate, FtDate, 0}, {ORVc::PayTerms, FtCodeNoSep, 2},
    {ORVc::VatZone, FtShort, 0}, {ORVc::InvState, FtShort, 0}, {ORVc::DelivComplete, FtShort, 0},
    {ORVc::Printed, FtShort, 0}, {ORVc::Objects, FtCode, 30}, {ORVc::OrderClass, FtText, 5},
    {ORVc::DelAddr0, FtText, 60}, {ORVc::DelAddr1, FtText, 60}, {ORVc::DelAddr2, FtText, 60},
    {ORVc::DelAddr3, FtText, 60}, {0, 0, 0, Col::NewLine}, {ORVc::CustCode, FtCodeNoSep, 20},
    {ORVc::Addr0, FtText, 60}, {ORVc::Addr1, FtText, 60}, {ORVc::Addr2, FtText, 60}, {ORVc::Addr3, FtText, 60},
    {ORVc::CustCat, FtCodeNoSep, 5}, {ORVc::PriceList, FtCodeNoSep, 5}, {ORVc::InclVat, FtShort, 0},
    {0, 0, 0, Col::NewLine}, {ORVc::Name2, FtText, 60}, {ORVc::Text284, FtText, 20}, {ORVc::CustReference, FtText, 60},
    {ORVc::DelMode, FtCodeNoSep, 5}, {ORVc::SalesMan, FtCodeNoSep, 5}, {ORVc::CurncyCode, FtCodeNoSep, 5},
    {ORVc::Rate, FtAmount2, 0}, {ORVc::Word428, FtShort, 0}, {ORVc::DelivText, FtText, 10},
    {ORVc::Code448, FtCodeNoSep, 5}, {ORVc::DelTerms, FtCodeNoSep, 5}, {0, FtText, 0, Col::Empty},
    {ORVc::LangCode, FtCodeNoSep, 5}, {ORVc::InvoiceTo, FtCodeNoSep, 20}, {ORVc::Word754, FtShort, 0},
    {ORVc::Word756, FtShort, 0}, {ORVc::Project, FtCodeNoSep, 20}, {ORVc::Word842, FtShort, 0},
    {ORVc::Reference, FtText, 60}, {0, 0, 0, Col::NewLine}, {ORVc::Amount944, FtAmount2, 0},
    {ORVc::Net, FtAmount2, 0}, {ORVc::Amount968, FtAmount2, 0}, {ORVc::Vat, FtAmount2, 0},
    {ORVc::Total, FtAmount2, 0}, {ORVc::DownPayInv, FtAmount2, 0}, {ORVc::DownPayDed, FtAmount2, 0},
    {ORVc::Location, FtCodeNoSep, 10}, {ORVc::VatCode, FtCodeNoSep, 2}, {ORVc::DiscCode2, FtCodeNoSep, 5},
    {ORVc::OurRef, FtText, 20}, {ORVc::Text1052, FtText, 20}, {ORVc::CustPhone, FtText, 20},
};

constexpr VersionedColumn R7Rows[] = {
    {ORVc::Rows::Kind, FtShort, 0}, {ORVc::Rows::ItemCode, FtCodeNoSep, 20}, {ORVc::Rows::Quantity, FtAmount3, 0},
    {ORVc::Rows::Text, FtText, 100}, {ORVc::Rows::Price, FtAmount3Drop, 0}, {ORVc::Rows::Sum, FtAmount2, 0},
    {ORVc::Rows::Discount, FtAmount1, 0}, {ORVc::Rows::SalesAcc, FtCodeNoSep, 10},
    {ORVc::Rows::QtyShipped, FtAmount3, 0}, {ORVc::Rows::QtyInvoiced, FtAmount3, 0},
    {ORVc::Rows::Objects, FtCode, 30}, {ORVc::Rows::QtyDelivered, FtAmount3, 0},
    {ORVc::Rows::UnitCost, FtAmount2, 0}, {ORVc::Rows::GrossProfit, FtAmount2, 0},
    {ORVc::Rows::VatCode, FtCodeNoSep, 2}, {ORVc::Rows::StructCode, FtCodeNoSep, 20},
    {ORVc::Rows::Text304, FtText, 30}, {ORVc::Rows::PriceUnit, FtAmount2, 0},
};

constexpr VersionedColumn R8Head[] = {
    {SHVc::SerNr, FtLongOrEmpty, 0}, {SHVc::OrderNr, FtLongOrEmpty, 0}, {SHVc::ShipDate, FtDate, 0},
    {SHVc::CustCode, FtCode, 20}, {SHVc::DelAddr0, FtText, 60}, {SHVc::DelAddr1, FtText, 60},
    {SHVc::DelAddr2, FtText, 60}, {SHVc::DelAddr3, FtText, 60}, {SHVc::Printed, FtShort, 0},
    {SHVc::DelMode, FtCode, 5}, {SHVc::Shipped, FtShort, 0}, {SHVc::Mark, FtShort, 0}, {SHVc::Location, FtCode, 10},
    {SHVc::LangCode, FtCode, 5}, {SHVc::Project, FtCode, 20}, {SHVc::LabelQty, FtAmount2, 0},
    {SHVc::StepTotal1, FtAmount2, 0}, {SHVc::StepTotal2, FtAmount2, 0}, {SHVc::Line382, FtText, 60},
    {SHVc::Line444, FtText, 60}, {SHVc::Line506, FtText, 60}, {SHVc::Line568, FtText, 60},
    {SHVc::Line630, FtText, 60}, {SHVc::DocText, FtText, 60}, {SHVc::TextsFromOrder, FtShort, 0},
    {SHVc::AddrFromOrder, FtShort, 0}, {SHVc::Value758, FtLongOrEmpty, 0},
};

constexpr VersionedColumn R8Rows[] = {
    {SHVc::Rows::OrderRowNr, FtLongOrEmpty, 0}, {SHVc::Rows::ItemCode, FtCode, 20}, {SHVc::Rows::Text, FtText, 100},
    {SHVc::Rows::SerialNr, FtText, 30}, {SHVc::Rows::QtyLeft, FtAmount3, 0}, {SHVc::Rows::Available, FtAmount3, 0},
    {SHVc::Rows::ToDeliver, FtAmount3, 0}, {SHVc::Rows::UnitCost, FtAmount2, 0}, {SHVc::Rows::Location, FtCode, 10},
    {SHVc::Rows::StructCode, FtCode, 20},
};

constexpr VersionedColumn R14Head[] = {
    {ITVc::Code, FtCodeNoSep, 5}, {ITVc::Name, FtText, 60}, {ITVc::COGSAcc, FtCodeNoSep, 10},
    {ITVc::StockAcc, FtCodeNoSep, 10}, {ITVc::Percentage, FtAmount2, 0}, {ITVc::CostMethod, FtShort, 0},
    {ITVc::SalesAcc, FtCodeNoSep, 10}, {ITVc::VatCode, FtCodeNoSep, 2}, {ITVc::VatCodeZ1, FtCodeNoSep, 2},
    {ITVc::VatCodeZ2, FtCodeNoSep, 2},
};

constexpr VersionedColumn R15Head[] = {
    {OBVc::Code, FtCodeNoSep, 5}, {OBVc::Name, FtText, 60}, {OBVc::Imported, FtShort, 0},
    {OBVc::ObjType, FtCodeNoSep, 5}, {OBVc::Blocked, FtShort, 0},
};

constexpr VersionedColumn R16Head[] = {
    {ACVc::Code, FtCodeNoSep, 10}, {ACVc::Name, FtText, 60}, {ACVc::AccType, FtShort, 0},
    {ACVc::DebitAllowed, FtShort, 0}, {ACVc::CreditAllowed, FtShort, 0}, {ACVc::Blocked, FtShort, 0},
    {ACVc::VatCode, FtCodeNoSep, 2}, {ACVc::FollowUp, FtCodeNoSep, 10},
};

constexpr VersionedColumn R19Head[] = {
    {AUVc::Code, FtCodeNoSep, 10}, {AUVc::Name, FtText, 60},
};

constexpr VersionedColumn R19Rows[] = {
    {AUVc::Rows::Account, FtText, 10}, {AUVc::Rows::RowText, FtText, 30}, {AUVc::Rows::NameText, FtText, 20},
    {AUVc::Rows::DebitText, FtText, 20}, {AUVc::Rows::CreditText, FtText, 20}, {AUVc::Rows::VatCode, FtText, 2},
};

constexpr VersionedColumn R20Head[] = {
    {BUVc::Account, FtCodeNoSep, 10}, {BUVc::Objects, FtCode, 30}, {BUVc::KeyCode, FtCodeNoSep, 5},
    {BUVc::Amount, FtAmount2, 0}, {BUVc::Amount2, FtAmount2, 0}, {BUVc::AccName, FtText, 60},
    {BUVc::Total, FtAmount2, 0}, {BUVc::StartDate, FtDate, 0}, {BUVc::EndDate, FtDate, 0},
};

constexpr VersionedColumn R20Rows[] = {
    {BUVc::Rows::FromDate, FtDate, 0}, {BUVc::Rows::Text, FtText, 60}, {BUVc::Rows::Amount, FtAmount2, 0},
};

constexpr VersionedColumn R21Head[] = {
    {BPVc::Account, FtCodeNoSep, 10}, {BPVc::Objects, FtCode, 30}, {BPVc::AccName, FtText, 60},
    {BPVc::Percentage, FtAmount2, 0}, {BPVc::Total, FtAmount2, 0}, {BPVc::StartDate, FtDate, 0},
    {BPVc::EndDate, FtDate, 0},
};

constexpr VersionedColumn R21Rows[] = {
    {BPVc::Rows::FromDate, FtDate, 0}, {BPVc::Rows::Text, FtText, 60}, {BPVc::Rows::Amount, FtAmount2, 0},
};

constexpr VersionedColumn R22Head[] = {
    {DKVc::Code, FtCodeNoSep, 5}, {DKVc::Name, FtText, 60}, {DKVc::FactorSum, FtAmount2, 0},
};

constexpr VersionedColumn R22Rows[] = {
    {DKVc::Rows::Factor, FtAmount2, 0},
};

constexpr VersionedColumn R23Head[] = {
    {DTVc::Code, FtCodeNoSep, 5}, {DTVc::Name, FtText, 60},
};

constexpr VersionedColumn R23Rows[] = {
    {DTVc::Rows::LangCode, FtCodeNoSep, 5}, {DTVc::Rows::Text, FtText, 60},
};

constexpr VersionedColumn R24Head[] = {
    {OTVc::Code, FtCodeNoSep, 5}, {OTVc::Name, FtText, 60},
};

constexpr VersionedColumn R27Head[] = {
    {VEVc::Code, FtCodeNoSep, 20}, {VEVc::Name, FtText, 60}, {VEVc::Addr1, FtText, 60}, {VEVc::Addr2, FtText, 60},
    {VEVc::Addr3, FtText, 60}, {VEVc::AccountNr, FtText, 20}, {VEVc::Contact, FtText, 60},
    {VEVc::Reference, FtText, 60}, {VEVc::VatZone, FtShort, 0}, {VEVc::OurRef, FtText, 20},
    {VEVc::PayTerms, FtCodeNoSep, 2}, {VEVc::BankGiro, FtText, 30}, {VEVc::PurchAcc, FtCodeNoSep, 10},
    {VEVc::PostalGiro, FtText, 30}, {VEVc::CurncyCode, FtCodeNoSep, 5}, {VEVc::Country, FtCodeNoSep, 5},
    {VEVc::Objects, FtCodeNoSep, 5}, {VEVc::LangCode, FtCodeNoSep, 5}, {VEVc::VEGroup, FtCodeNoSep, 5},
    {VEVc::DelTerms, FtCodeNoSep, 5}, {VEVc::DelMode, FtCodeNoSep, 5}, {VEVc::Note, FtText, 60},
    {VEVc::OnAccount, FtShort, 0}, {VEVc::BankCode, FtText, 10}, {0, FtText, 0, Col::Empty},
    {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
    {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R28Head[] = {
    {VIVc::SerNr, FtLongOrEmpty, 0}, {VIVc::InvDate, FtDate, 0}, {VIVc::InvAmount, FtAmount2, 0},
    {VIVc::VendInvNr, FtText, 20}, {VIVc::Approved, FtShort, 0}, {VIVc::PayTerms, FtCodeNoSep, 2},
    {VIVc::VendCode, FtCodeNoSep, 20}, {VIVc::VendName, FtText, 60}, {VIVc::Mark, FtShort, 0},
    {VIVc::DueDate, FtDate, 0}, {VIVc::DiscDate, FtDate, 0}, {VIVc::PayRef, FtText, 20},
    {VIVc::PayText, FtText, 30}, {VIVc::DiscAmount, FtAmount2, 0}, {VIVc::TransDate, FtDate, 0},
    {VIVc::InvType, FtShort, 0}, {VIVc::VatEntered, FtAmount2, 0}, {VIVc::CredAcc, FtCodeNoSep, 10},
    {VIVc::PayeeCode, FtCodeNoSep, 20}, {VIVc::Transferred, FtShort, 0}, {VIVc::PayeeText, FtText, 20},
    {VIVc::Approver, FtCodeNoSep, 5}, {VIVc::CredInv, FtLongOrEmpty, 0}, {VIVc::CurncyCode, FtCodeNoSep, 5},
    {VIVc::Rate, FtAmount2, 0}, {VIVc::VatTreatment, FtShort, 0}, {VIVc::VatCode, FtCodeNoSep, 2},
    {VIVc::Comment, FtText, 60}, {VIVc::VatComputed, FtAmount2, 0}, {VIVc::Held, FtShort, 0},
    {VIVc::Objects, FtCode, 30}, {VIVc::Preliminary, FtShort, 0}, {VIVc::Text462, FtText, 2},
};

constexpr VersionedColumn R28Rows[] = {
    {VIVc::Rows::Kind, FtShort, 0}, {VIVc::Rows::Flag, FtShort, 0}, {VIVc::Rows::Account, FtCodeNoSep, 10},
    {VIVc::Rows::Objects, FtCode, 30}, {VIVc::Rows::Text, FtText, 60}, {VIVc::Rows::Amount, FtAmount2, 0},
    {VIVc::Rows::ItemCode, FtCode, 20}, {VIVc::Rows::Quantity, FtAmount3, 0}, {VIVc::Rows::Project, FtCode, 20},
    {VIVc::Rows::VatCode, FtCodeNoSep, 2}, {VIVc::Rows::CredSerNr, FtLongOrEmpty, 0}, {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R30Head[] = {
    {OPVc::SerNr, FtLongOrEmpty, 0}, {OPVc::PayText, FtText, 60}, {OPVc::Text2, FtText, 5},
    {OPVc::RowsTotal, FtAmount2, 0}, {OPVc::TransDate, FtDate, 0}, {OPVc::PayDate, FtDate, 0},
    {OPVc::PayMode, FtCode, 1}, {OPVc::Approved, FtShort, 0}, {OPVc::ApprovedMark, FtShort, 0},
    {OPVc::Posted, FtShort, 0}, {OPVc::PostedMark, FtShort, 0}, {OPVc::Printed, FtShort, 0},
    {OPVc::Text112, FtText, 20}, {OPVc::Transferred, FtShort, 0}, {OPVc::CurncyCode, FtCodeNoSep, 5},
    {OPVc::Rate, FtAmount2, 0}, {OPVc::HomeTotal, FtAmount2, 0}, {OPVc::BankCharges, FtAmount2, 0},
    {OPVc::RateDate, FtDate, 0}, {OPVc::Sent, FtShort, 0}, {OPVc::Skip, FtShort, 0},
};

constexpr VersionedColumn R30Rows[] = {
    {OPVc::Rows::Kind, FtShort, 0}, {OPVc::Rows::Flag, FtShort, 0}, {OPVc::Rows::InvoiceNr, FtLongOrEmpty, 0},
    {OPVc::Rows::VendCode, FtCode, 20}, {OPVc::Rows::InvPayText, FtText, 30}, {OPVc::Rows::AccountText, FtText, 60},
    {0, FtText, 0, Col::Empty}, {OPVc::Rows::Amount, FtAmount2, 0},
};

constexpr VersionedColumn R44Head[] = {
    {PEVc::Code, FtCodeNoSep, 5}, {PEVc::Name, FtText, 60}, {PEVc::Password, FtText, 20, Col::Verifier},
    {PEVc::AccessCode, FtCodeNoSep, 5}, {PEVc::Series1, FtLongOrEmpty, 0}, {PEVc::Series2, FtLongOrEmpty, 0},
    {PEVc::Series3, FtLongOrEmpty, 0}, {PEVc::Series4, FtLongOrEmpty, 0}, {PEVc::Series5, FtLongOrEmpty, 0},
    {PEVc::FullName, FtText, 20}, {PEVc::Series6, FtLongOrEmpty, 0}, {PEVc::Series7, FtLongOrEmpty, 0},
    {PEVc::Series8, FtLongOrEmpty, 0}, {PEVc::Word156, FtShort, 0}, {PEVc::EmpType, FtCodeNoSep, 5},
    {PEVc::OnlyListed, FtShort, 0}, {PEVc::Location, FtCode, 10}, {PEVc::CommPrc, FtAmount2, 0},
    {PEVc::Account, FtCodeNoSep, 10}, {PEVc::Objects, FtCode, 30}, {PEVc::CostRate, FtAmount2, 0},
    {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
    {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
    {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R44Rows[] = {
    {PEVc::Rows::Code, FtCodeNoSep, 5}, {PEVc::Rows::Project, FtCode, 20}, {PEVc::Rows::Text, FtText, 60},
};

constexpr VersionedColumn R45Head[] = {
    {ContractVc::CustCode, FtCodeNoSep, 20}, {ContractVc::SerNr, FtLongOrEmpty, 0},
    {ContractVc::ContractDate, FtDate, 0}, {ContractVc::CustName, FtText, 60}, {ContractVc::Addr1, FtText, 60},
    {ContractVc::Addr2, FtText, 60}, {ContractVc::Addr3, FtText, 60}, {ContractVc::Text284, FtText, 20},
    {ContractVc::Name2, FtText, 60}, {ContractVc::VatZone, FtShort, 0}, {ContractVc::PayTerms, FtCodeNoSep, 2},
    {ContractVc::Closed, FtShort, 0}, {ContractVc::DiscCode, FtCodeNoSep, 5}, {ContractVc::Word382, FtShort, 0},
    {ContractVc::PriceList, FtCodeNoSep, 5}, {ContractVc::Objects, FtCode, 30}, {ContractVc::InclVat, FtShort, 0},
    {ContractVc::Reference, FtText, 60}, {ContractVc::SalesMan, FtCodeNoSep, 5},
    {ContractVc::CurncyCode, FtCodeNoSep, 5}, {ContractVc::Rate, FtAmount3, 0},
    {ContractVc::LangCode, FtCodeNoSep, 5}, {ContractVc::FreightItem, FtCodeNoSep, 20},
    {ContractVc::Freight, FtAmount2, 0}, {ContractVc::FreightHome, FtAmount2, 0},
    {ContractVc::FreightVat, FtCodeNoSep, 2}, {ContractVc::FreightObjects, FtCode, 30},
    {ContractVc::FreightPctAmount, FtAmount2, 0}, {ContractVc::FreightPct, FtAmount2, 0},
    {ContractVc::RoundOff, FtAmount2, 0}, {ContractVc::NetTotal, FtAmount2, 0}, {ContractVc::VatFree, FtAmount2, 0},
    {ContractVc::VatTotal, FtAmount2, 0}, {ContractVc::Total, FtAmount2, 0}, {ContractVc::OurRef, FtText, 20},
    {ContractVc::DelTerms, FtCode, 5}, {ContractVc::DelAddr0, FtText, 60}, {ContractVc::DelAddr1, FtText, 60},
    {ContractVc::DelAddr2, FtText, 60}, {ContractVc::DelAddr3, FtText, 60}, {ContractVc::DelMode, FtCode, 5},
    {ContractVc::Location, FtCodeNoSep, 10}, {ContractVc::Project, FtCodeNoSep, 20},
    {ContractVc::FreightAcc, FtCodeNoSep, 10}, {ContractVc::Amount1010, FtAmount2, 0},
    {ContractVc::NextPeriod, FtDate, 0}, {ContractVc::EndDate, FtDate, 0}, {ContractVc::IntervalUnit, FtShort, 0},
    {ContractVc::Interval, FtShort, 0}, {ContractVc::DateRule, FtShort, 0}, {ContractVc::DayOffset, FtShort, 0},
    {ContractVc::LastInvDate, FtDate, 0}, {ContractVc::QtyFactor, FtAmount3, 0},
    {ContractVc::FilterCode, FtCodeNoSep, 5}, {ContractVc::DiscCode2, FtCodeNoSep, 5},
};

constexpr VersionedColumn R45Rows[] = {
    {ContractVc::Rows::Kind, FtShort, 0}, {ContractVc::Rows::Word2, FtShort, 0},
    {ContractVc::Rows::ItemCode, FtCodeNoSep, 20}, {ContractVc::Rows::Quantity, FtAmount3, 0},
    {ContractVc::Rows::Text, FtText, 100}, {ContractVc::Rows::Price, FtAmount3Drop, 0},
    {ContractVc::Rows::Sum, FtAmount2, 0}, {ContractVc::Rows::Discount, FtAmount1, 0},
    {ContractVc::Rows::SalesAcc, FtCodeNoSep, 10}, {ContractVc::Rows::Objects, FtCode, 30},
    {ContractVc::Rows::UnitCost, FtAmount2, 0}, {ContractVc::Rows::GrossProfit, FtAmount2, 0},
    {ContractVc::Rows::VatCode, FtCodeNoSep, 2}, {ContractVc::Rows::PriceUnit, FtAmount2, 0},
};

constexpr VersionedColumn R46Head[] = {
    {AccessVc::Code, FtCodeNoSep, 5}, {AccessVc::Name, FtText, 60},
};

constexpr VersionedColumn R46Rows[] = {
    {AccessVc::Rows::Type, FtShort, 0}, {AccessVc::Rows::Item, FtShort, 0}, {AccessVc::Rows::Right, FtShort, 0},
};

constexpr VersionedColumn R47Head[] = {
    {ExchRateVc::CurncyCode, FtCodeNoSep, 5}, {ExchRateVc::RateDate, FtDate, 0}, {ExchRateVc::Rate, FtAmount3, 0},
};

constexpr VersionedColumn R48Head[] = {
    {VGVc::Code, FtCodeNoSep, 5}, {VGVc::Name, FtText, 60}, {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R50Head[] = {
    {PriceVc::PriceList, FtCodeNoSep, 5}, {PriceVc::ItemCode, FtCodeNoSep, 20}, {PriceVc::Price, FtAmount2, 0},
    {PriceVc::ItemName, FtText, 60}, {PriceVc::SalesAcc, FtCodeNoSep, 10},
};

constexpr VersionedColumn R52Head[] = {
    {EmpTypeVc::Code, FtCodeNoSep, 5}, {EmpTypeVc::OnlyListed, FtShort, 0}, {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R52Rows[] = {
    {EmpTypeVc::Rows::Code, FtText, 5}, {EmpTypeVc::Rows::ItemCode, FtCodeNoSep, 20},
    {EmpTypeVc::Rows::Text, FtText, 60},
};

constexpr VersionedColumn R53Head[] = {
    {ProjectVc::Code, FtCode, 20}, {ProjectVc::CustCode, FtCode, 20}, {ProjectVc::Name, FtText, 60},
    {ProjectVc::Desc1, FtText, 60}, {ProjectVc::Desc2, FtText, 60}, {ProjectVc::Desc3, FtText, 60},
    {ProjectVc::CustName, FtText, 60}, {ProjectVc::Closed, FtShort, 0}, {ProjectVc::NoInvoice, FtShort, 0},
    Until(1, {0, 0, 0, Col::NewLine}), {ProjectVc::Leader, FtCode, 5}, {ProjectVc::LeaderName, FtText, 60},
    {ProjectVc::Date370, FtDate, 0}, {ProjectVc::Date376, FtDate, 0}, {ProjectVc::TimeGrouping, FtShort, 0},
    {ProjectVc::CostGrouping, FtShort, 0}, {ProjectVc::Word386, FtShort, 0}, {ProjectVc::InvStart, FtDate, 0},
    {ProjectVc::Word456, FtShort, 0}, {ProjectVc::Reference, FtText, 60}, {ProjectVc::PrintHeading, FtShort, 0},
    {ProjectVc::PrintName, FtShort, 0}, {ProjectVc::PrintRef, FtShort, 0}, {ProjectVc::PrintDesc, FtShort, 0},
    Until(1, {ProjectVc::NotChargeable, FtShort, 0, Col::Clear}), Since(2, {ProjectVc::FixedTime, FtAmount2, 0}),
    Since(2, {ProjectVc::FixedCost, FtAmount2, 0}), Since(2, {ProjectVc::Amount556, FtAmount2, 0}),
    Since(2, {ProjectVc::TimeMode, FtShort, 0}), Since(2, {ProjectVc::CostMode, FtShort, 0}),
    Since(2, {ProjectVc::NotChargeable, FtShort, 0}), Since(2, {ProjectVc::FilterCode, FtCodeNoSep, 5}),
    Since(2, {ProjectVc::DownPayInvoiced, FtAmount2, 0, Col::Clear}),
    Since(2, {ProjectVc::DownPayDeducted, FtAmount2, 0, Col::Clear}),
};

constexpr VersionedColumn R53Rows[] = {
    {ProjectVc::Rows::PlanDate, FtDate, 0}, {ProjectVc::Rows::InvoiceNr, FtLongOrEmpty, 0},
    {ProjectVc::Rows::AmountText, FtText, 20}, {ProjectVc::Rows::UserCode, FtCodeNoSep, 5},
    {ProjectVc::Rows::Text, FtText, 60},
};

constexpr VersionedColumn R54Head[] = {
    {TimeSheetVc::SerNr, FtLongOrEmpty, 0}, {TimeSheetVc::RegDate, FtDate, 0},
    {TimeSheetVc::Transferred, FtShort, 0}, {TimeSheetVc::Comment, FtText, 60}, {TimeSheetVc::Total, FtAmount3, 0},
    {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R54Rows[] = {
    {TimeSheetVc::Rows::RowDate, FtDate, 0}, {TimeSheetVc::Rows::Person, FtCodeNoSep, 5},
    {TimeSheetVc::Rows::Project, FtCode, 20}, {TimeSheetVc::Rows::ItemCode, FtCode, 20},
    {TimeSheetVc::Rows::Quantity, FtAmount3, 0}, {TimeSheetVc::Rows::WorkText, FtText, 60},
    {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R55Head[] = {
    {QuotationVc::SerNr, FtLongOrEmpty, 0}, {QuotationVc::CustCode, FtCode, 20}, {QuotationVc::QTDate, FtDate, 0},
    {QuotationVc::CustName, FtText, 60}, {QuotationVc::Addr1, FtText, 60}, {QuotationVc::Addr2, FtText, 60},
    {QuotationVc::Addr3, FtText, 60}, {QuotationVc::Text284, FtText, 20}, {QuotationVc::Name2, FtText, 60},
    {QuotationVc::VatZone, FtShort, 0}, {QuotationVc::PayTerms, FtCode, 2}, {QuotationVc::DiscCode, FtCode, 5},
    {QuotationVc::Objects, FtCode, 5}, {QuotationVc::DelMode, FtCodeNoSep, 5}, {QuotationVc::DelivText, FtText, 10},
    {QuotationVc::SalesMan, FtCode, 5}, {QuotationVc::DelTerms, FtCodeNoSep, 5},
    {QuotationVc::DelAddr0, FtText, 60}, {QuotationVc::DelAddr1, FtText, 60}, {QuotationVc::DelAddr2, FtText, 60},
    {QuotationVc::DelAddr3, FtText, 60}, {QuotationVc::CurncyCode, FtCode, 5}, {QuotationVc::LangCode, FtCode, 5},
    {QuotationVc::PayerCode, FtCode, 20}, {QuotationVc::Rate, FtAmount3, 0}, {QuotationVc::Project, FtCode, 20},
    {QuotationVc::Reference, FtText, 60}, {QuotationVc::ValidUntil, FtDate, 0}, {QuotationVc::PriceList, FtCode, 5},
    {QuotationVc::InclVat, FtShort, 0}, {QuotationVc::NetTotal, FtAmount2, 0},
    {QuotationVc::VatTotal, FtAmount2, 0}, {QuotationVc::Total, FtAmount2, 0}, {QuotationVc::QuoteClass, FtText, 5},
    {QuotationVc::VatCode, FtCode, 2}, {QuotationVc::DiscCode2, FtCode, 5}, {QuotationVc::OurRef, FtText, 20},
    {QuotationVc::Text922, FtText, 20}, {QuotationVc::CustPhone, FtText, 20}, {0, FtText, 0, Col::Empty},
    {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
    {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R55Rows[] = {
    {QuotationVc::Rows::Kind, FtShort, 0}, {QuotationVc::Rows::ItemCode, FtCode, 20},
    {QuotationVc::Rows::Quantity, FtAmount3, 0}, {QuotationVc::Rows::Text, FtText, 100},
    {QuotationVc::Rows::Price, FtAmount3Drop, 0}, {QuotationVc::Rows::Sum, FtAmount2, 0},
    {QuotationVc::Rows::Discount, FtAmount1, 0}, {QuotationVc::Rows::SalesAcc, FtCode, 10},
    {QuotationVc::Rows::Objects, FtCode, 30}, {QuotationVc::Rows::UnitCost, FtAmount2, 0},
    {QuotationVc::Rows::GrossProfit, FtAmount2, 0}, {QuotationVc::Rows::VatCode, FtCode, 2},
    {QuotationVc::Rows::PriceUnit, FtAmount2, 0}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
    {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
    {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R56Head[] = {
    {PurchItemVc::ItemCode, FtCode, 20}, {PurchItemVc::VendCode, FtCode, 20},
    {PurchItemVc::VendItemCode, FtText, 20}, {PurchItemVc::Text, FtText, 60},
    {PurchItemVc::Price, FtAmount3Drop, 0}, {PurchItemVc::Default, FtShort, 0}, {PurchItemVc::VendName, FtText, 60},
    {PurchItemVc::MinQty, FtAmount3, 0}, {PurchItemVc::Threshold, FtAmount3, 0},
    {PurchItemVc::PriceUnit, FtAmount3, 0}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
    {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R56Rows[] = {
    {PurchItemVc::Rows::Text, FtText, 60},
};

constexpr VersionedColumn R57Head[] = {
    {PayTermsVc::Code, FtCodeNoSep, 2}, {PayTermsVc::Days, FtLongOrEmpty, 0}, {PayTermsVc::DiscPct, FtAmount2, 0},
    {PayTermsVc::DiscDays, FtLongOrEmpty, 0}, {PayTermsVc::Text, FtText, 60}, {PayTermsVc::Kind, FtShort, 0},
};

constexpr VersionedColumn R57Rows[] = {
    {PayTermsVc::Rows::LangCode, FtCodeNoSep, 5}, {PayTermsVc::Rows::Text, FtText, 60},
};

constexpr VersionedColumn R58Head[] = {
    {PurchOrderVc::SerNr, FtLongOrEmpty, 0}, {PurchOrderVc::VendCode, FtCodeNoSep, 20},
    {PurchOrderVc::PODate, FtDate, 0}, {PurchOrderVc::PayTerms, FtCodeNoSep, 2},
    {PurchOrderVc::VatZone, FtShort, 0}, {PurchOrderVc::Confirmed, FtShort, 0},
    {PurchOrderVc::VendName, FtText, 60}, {PurchOrderVc::Addr1, FtText, 60}, {PurchOrderVc::Addr2, FtText, 60},
    {PurchOrderVc::Addr3, FtText, 60}, {PurchOrderVc::DelAddr0, FtText, 60}, {PurchOrderVc::DelAddr1, FtText, 60},
    {PurchOrderVc::DelAddr2, FtText, 60}, {PurchOrderVc::DelAddr3, FtText, 60}, {PurchOrderVc::Contact, FtText, 60},
    {PurchOrderVc::Reference, FtText, 20}, {PurchOrderVc::DelMode, FtCodeNoSep, 5},
    {PurchOrderVc::CurncyCode, FtCodeNoSep, 5}, {PurchOrderVc::DelivText, FtText, 10},
    {PurchOrderVc::Code4, FtCodeNoSep, 5}, {PurchOrderVc::DelTerms, FtCodeNoSep, 5},
    {PurchOrderVc::LangCode, FtCodeNoSep, 5}, {PurchOrderVc::SalesOrderNr, FtLongOrEmpty, 0},
    {PurchOrderVc::Rate, FtAmount3, 0}, {PurchOrderVc::Closed, FtShort, 0}, {PurchOrderVc::Amount874, FtAmount2, 0},
};

constexpr VersionedColumn R58Rows[] = {
    {PurchOrderVc::Rows::Kind, FtShort, 0}, {PurchOrderVc::Rows::Word2, FtShort, 0},
    {PurchOrderVc::Rows::VendItemCode, FtText, 20}, {PurchOrderVc::Rows::ItemCode, FtCodeNoSep, 20},
    {PurchOrderVc::Rows::Quantity, FtAmount3, 0}, {PurchOrderVc::Rows::Text, FtText, 100},
    {PurchOrderVc::Rows::Price, FtAmount3Drop, 0}, {PurchOrderVc::Rows::Sum, FtAmount2, 0},
    {PurchOrderVc::Rows::Discount, FtAmount1, 0}, {PurchOrderVc::Rows::VatCode, FtCodeNoSep, 2},
    {PurchOrderVc::Rows::Objects, FtCode, 30}, {PurchOrderVc::Rows::QtyReceived, FtAmount3, 0},
    {PurchOrderVc::Rows::QtyOnPurchases, FtAmount3, 0}, {PurchOrderVc::Rows::PricedQty, FtAmount3, 0},
    {PurchOrderVc::Rows::PriceUnit, FtAmount3, 0},
};

constexpr VersionedColumn R60Head[] = {
    {AssetVc::Code, FtCode, 10}, {AssetVc::Name, FtText, 60}, {AssetVc::Class, FtCode, 5},
    {AssetVc::Department, FtCode, 5}, {AssetVc::Location, FtCode, 10}, {AssetVc::SerialNr, FtText, 20},
    {AssetVc::AcqDate, FtDate, 0}, {AssetVc::Comment, FtText, 60}, {AssetVc::Amount188, FtAmount2, 0},
    {AssetVc::AcqValue, FtAmount2, 0}, {AssetVc::DispDate, FtDate, 0}, {AssetVc::VendCode, FtText, 20},
    {AssetVc::VendName, FtText, 60}, {AssetVc::Value302, FtAmount2, 0}, {AssetVc::InspectDate, FtDate, 0},
    {AssetVc::Value320, FtAmount2, 0}, {AssetVc::DispValue, FtAmount2, 0}, {AssetVc::Amount348, FtAmount2, 0},
    {AssetVc::Objects, FtCode, 5}, {AssetVc::Excluded, FtShort, 0},
};

constexpr VersionedColumn R60Rows[] = {
    {AssetVc::Rows::RowDate, FtDate, 0}, {AssetVc::Rows::Model1, FtCodeNoSep, 5},
    {AssetVc::Rows::Model2, FtCodeNoSep, 5}, {AssetVc::Rows::NewValue, FtAmount2, 0},
    {AssetVc::Rows::Text, FtText, 60},
};

constexpr VersionedColumn R61Head[] = {
    {DepartmentVc::Code, FtCodeNoSep, 5}, {DepartmentVc::Name, FtText, 60}, {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R62Head[] = {
    {PriceListVc::Code, FtCodeNoSep, 5}, {PriceListVc::Name, FtText, 60}, {PriceListVc::CurncyCode, FtCodeNoSep, 5},
    {PriceListVc::InclVat, FtShort, 0},
};

constexpr VersionedColumn R62Rows[] = {
    {PriceListVc::Rows::CodeRange, FtText, 60}, {PriceListVc::Rows::Formula, FtCodeNoSep, 5},
    {PriceListVc::Rows::Kind, FtShort, 0},
};

constexpr VersionedColumn R63Head[] = {
    {PriceFormulaVc::Code, FtCodeNoSep, 5}, {PriceFormulaVc::Name, FtText, 60}, {PriceFormulaVc::Base, FtShort, 0},
    {PriceFormulaVc::Percentage, FtAmount2, 0}, {PriceFormulaVc::Addition, FtAmount2, 0},
    {PriceFormulaVc::Decimals, FtShort, 0}, {PriceFormulaVc::AddAfter, FtAmount2, 0},
};

constexpr VersionedColumn R64Head[] = {
    {QtyStepVc::Code, FtCodeNoSep, 5}, {QtyStepVc::Name, FtText, 60}, {QtyStepVc::Basis, FtShort, 0},
    {QtyStepVc::Step1, FtAmount2, 0}, {QtyStepVc::Step2, FtAmount2, 0}, {QtyStepVc::Step3, FtAmount2, 0},
    {QtyStepVc::Step4, FtAmount2, 0}, {QtyStepVc::Step5, FtAmount2, 0}, {QtyStepVc::Step6, FtAmount2, 0},
    {QtyStepVc::Step7, FtAmount2, 0}, {QtyStepVc::Step8, FtAmount2, 0}, {QtyStepVc::Step9, FtAmount2, 0},
};

constexpr VersionedColumn R65Head[] = {
    {CustGroupVc::Code, FtCodeNoSep, 5}, {CustGroupVc::Name, FtText, 60}, {CustGroupVc::PriceList, FtText, 5},
    {CustGroupVc::DiscCode, FtCode, 5}, {CustGroupVc::ARAcc, FtCode, 10},
};

constexpr VersionedColumn R66Head[] = {
    {DiscMatrixVc::Code, FtCodeNoSep, 5}, {DiscMatrixVc::Name, FtText, 60}, {DiscMatrixVc::DefStep, FtCode, 5},
    {DiscMatrixVc::DefPct1, FtAmount2, 0}, {DiscMatrixVc::DefPct2, FtAmount2, 0},
    {DiscMatrixVc::DefPct3, FtAmount2, 0}, {DiscMatrixVc::DefPct4, FtAmount2, 0},
    {DiscMatrixVc::DefPct5, FtAmount2, 0}, {DiscMatrixVc::DefPct6, FtAmount2, 0},
    {DiscMatrixVc::DefPct7, FtAmount2, 0}, {DiscMatrixVc::DefPct8, FtAmount2, 0},
    {DiscMatrixVc::DefPct9, FtAmount2, 0}, {DiscMatrixVc::DefPct10, FtAmount2, 0},
};

constexpr VersionedColumn R66Rows[] = {
    {DiscMatrixVc::Rows::ItemGroup, FtCode, 5}, {DiscMatrixVc::Rows::Step, FtCode, 5},
    {DiscMatrixVc::Rows::Pct1, FtAmount2, 0}, {DiscMatrixVc::Rows::Pct2, FtAmount2, 0},
    {DiscMatrixVc::Rows::Pct3, FtAmount2, 0}, {DiscMatrixVc::Rows::Pct4, FtAmount2, 0},
    {DiscMatrixVc::Rows::Pct5, FtAmount2, 0}, {DiscMatrixVc::Rows::Pct6, FtAmount2, 0},
    {DiscMatrixVc::Rows::Pct7, FtAmount2, 0}, {DiscMatrixVc::Rows::Pct8, FtAmount2, 0},
    {DiscMatrixVc::Rows::Pct9, FtAmount2, 0}, {DiscMatrixVc::Rows::Pct10, FtAmount2, 0},
};

constexpr VersionedColumn R68Head[] = {
    {TimeBudgetVc::Project, FtCode, 20}, {TimeBudgetVc::ItemCode, FtCode, 20}, {TimeBudgetVc::ItemName, FtText, 60},
    {TimeBudgetVc::FixedBudget, FtShort, 0}, {TimeBudgetVc::Budget, FtAmount2, 0},
    {TimeBudgetVc::DiscPct, FtAmount2, 0}, {TimeBudgetVc::ProjectName, FtText, 60},
    {TimeBudgetVc::Detail, FtShort, 0}, {TimeBudgetVc::ToInvoice, FtAmount2, 0},
    {TimeBudgetVc::FromDate, FtDate, 0}, {TimeBudgetVc::Invoiced, FtAmount2, 0},
};

constexpr VersionedColumn R68Rows[] = {
    {TimeBudgetVc::Rows::Person, FtCode, 5}, {TimeBudgetVc::Rows::BudgetQty, FtAmount3, 0},
    {TimeBudgetVc::Rows::QtySpent, FtAmount3, 0}, {TimeBudgetVc::Rows::QtyInvoiced, FtAmount3, 0},
    {TimeBudgetVc::Rows::Qty42, FtAmount3, 0}, {TimeBudgetVc::Rows::QtyToInvoice, FtAmount3, 0},
    {TimeBudgetVc::Rows::Price, FtAmount2, 0}, {TimeBudgetVc::Rows::CostInvoiced, FtAmount2, 0},
    {TimeBudgetVc::Rows::CostSpent, FtAmount2, 0},
};

constexpr VersionedColumn R71Head[] = {
    {CustPriceVc::CustCode, FtCode, 20}, {CustPriceVc::Name, FtText, 60},
};

constexpr VersionedColumn R71Rows[] = {
    {CustPriceVc::Rows::ItemCode, FtCode, 20}, {CustPriceVc::Rows::Price, FtAmount2, 0},
    {CustPriceVc::Rows::Percentage, FtAmount2, 0},
};

constexpr VersionedColumn R72Head[] = {
    {CostBudgetVc::Project, FtCodeNoSep, 20}, {CostBudgetVc::ProjectName, FtText, 60},
    {CostBudgetVc::ItemCode, FtCodeNoSep, 20}, {CostBudgetVc::ItemName, FtText, 60},
    {CostBudgetVc::Budget, FtAmount2, 0}, {CostBudgetVc::FixedBudget, FtShort, 0},
    {CostBudgetVc::SpentSum, FtAmount2, 0}, {CostBudgetVc::DiscPct, FtAmount2, 0},
    {CostBudgetVc::Detail, FtShort, 0}, {CostBudgetVc::FromDate, FtDate, 0}, {CostBudgetVc::Invoiced, FtAmount2, 0},
};

constexpr VersionedColumn R72Rows[] = {
    {CostBudgetVc::Rows::Text, FtText, 60}, {CostBudgetVc::Rows::BudgetQty, FtAmount3, 0},
    {CostBudgetVc::Rows::QtySpent, FtAmount3, 0}, {CostBudgetVc::Rows::UnitPrice, FtAmount2, 0},
    {CostBudgetVc::Rows::Amount98, FtAmount2, 0}, {CostBudgetVc::Rows::Surcharge, FtAmount2, 0},
    {CostBudgetVc::Rows::Spent, FtAmount2, 0}, {CostBudgetVc::Rows::Invoiced, FtAmount2, 0},
};

constexpr VersionedColumn R73Head[] = {
    {TimeItemVc::ItemCode, FtCode, 20}, {TimeItemVc::ItemName, FtText, 60},
};

constexpr VersionedColumn R73Rows[] = {
    {TimeItemVc::Rows::Category, FtCode, 5}, {TimeItemVc::Rows::Price1, FtAmount2, 0},
    {TimeItemVc::Rows::Price2, FtAmount2, 0}, {TimeItemVc::Rows::Price3, FtAmount2, 0},
    {TimeItemVc::Rows::Price4, FtAmount2, 0}, {TimeItemVc::Rows::Price5, FtAmount2, 0},
    {TimeItemVc::Rows::Price6, FtAmount2, 0},
};

constexpr VersionedColumn R74Head[] = {
    {CountryVc::Code, FtCodeNoSep, 5}, {CountryVc::Name, FtText, 60},
};

constexpr VersionedColumn R74Rows[] = {
    {CountryVc::Rows::LangCode, FtCodeNoSep, 5}, {CountryVc::Rows::Text, FtText, 60},
};

constexpr VersionedColumn R76Head[] = {
    {StructureVc::Code, FtCode, 20}, {StructureVc::Text, FtText, 60}, {StructureVc::Total94, FtAmount2, 0},
    {StructureVc::Total106, FtAmount2, 0},
};

constexpr VersionedColumn R76Rows[] = {
    {StructureVc::Rows::ItemCode, FtCodeNoSep, 20}, {StructureVc::Rows::ItemName, FtText, 60},
    {StructureVc::Rows::Quantity, FtAmount3, 0}, {StructureVc::Rows::QuantityIn, FtAmount3, 0},
    {StructureVc::Rows::Cost, FtAmount2, 0}, {StructureVc::Rows::Cost2, FtAmount2, 0},
};

constexpr VersionedColumn R77Head[] = {
    {ProductionVc::SerNr, FtLongOrEmpty, 0}, {ProductionVc::Finished, FtShort, 0},
    {ProductionVc::ProdDate, FtDate, 0}, {ProductionVc::Quantity, FtAmount3, 0}, {ProductionVc::Text, FtText, 60},
    {ProductionVc::ItemCode, FtCode, 20}, {ProductionVc::StructText, FtText, 60}, {ProductionVc::Location, FtCode, 10},
    {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R77Rows[] = {
    {ProductionVc::Rows::ItemCode, FtCode, 20}, {ProductionVc::Rows::ItemName, FtText, 60},
    {ProductionVc::Rows::QtyUsed, FtAmount3, 0}, {ProductionVc::Rows::QtyMade, FtAmount3, 0},
    {ProductionVc::Rows::UnitCost, FtAmount2, 0}, {ProductionVc::Rows::ExtraCost, FtAmount2, 0},
    {ProductionVc::Rows::SerialNr, FtText, 30},
};

constexpr VersionedColumn R78Head[] = {
    {LocationVc::Code, FtCode, 10}, {LocationVc::Addr0, FtText, 60}, {LocationVc::Addr1, FtText, 60},
    {LocationVc::Addr2, FtText, 60}, {LocationVc::Addr3, FtText, 60}, {LocationVc::Text266, FtText, 60},
    {LocationVc::Text328, FtText, 20}, {LocationVc::Text350, FtText, 20}, {LocationVc::StockAcc, FtCodeNoSep, 10},
};

constexpr VersionedColumn R79Head[] = {
    {TrDayListVc::KeyDate, FtDate, 0},
};

constexpr VersionedColumn R80Head[] = {
    {TrFaultRepVc::KeyStamp, FtDateTime, 0},
};

constexpr VersionedColumn R81Head[] = {
    {TrPriceListVc::KeyText, FtText, 20},
};

constexpr VersionedColumn R82Head[] = {
    {TrFillersVc::KeyNr, FtLongOrEmpty, 0},
};

constexpr VersionedColumn R83Head[] = {
    {TrBookSpotVc::KeyStamp, FtDateTime, 0},
};

constexpr VersionedColumn R85Head[] = {
    {TrOrderVc::KeyNr, FtLongOrEmpty, 0},
};

constexpr VersionedColumn R86Head[] = {
    {TrAdVc::KeyText, FtText, 20},
};

constexpr VersionedColumn R87Head[] = {
    {TrSpotVc::KeyText, FtText, 20},
};

constexpr VersionedColumn R88Head[] = {
    {TrDayTypeVc::KeyText, FtText, 20},
};

constexpr VersionedColumn R89Head[] = {
    {TrBreaksVc::KeyNr, FtLongOrEmpty, 0},
};

constexpr VersionedColumn R90Head[] = {
    {TrCampaignVc::KeyText, FtText, 20},
};

constexpr VersionedColumn R91Head[] = {
    {DocVc::Code, FtCodeNoSep, 20}, {DocVc::RowsPerPage, FtShort, 0}, {DocVc::Layout90, FtShort, 0},
    {DocVc::Layout92, FtShort, 0}, {DocVc::Layout94, FtShort, 0}, {DocVc::Layout96, FtFlag, 0},
    {DocVc::Copies, FtShort, 0}, {DocVc::Alias, FtCodeNoSep, 20}, {DocVc::CopyLabel1, FtText, 60},
    {DocVc::CopyLabel2, FtText, 60}, {DocVc::CopyLabel3, FtText, 60}, {DocVc::CopyLabel4, FtText, 60},
    {DocVc::CopyLabel5, FtText, 60}, {DocVc::ResultWord, FtShort, 0}, {DocVc::CopyPage1, FtText, 1},
    {DocVc::CopyPage2, FtText, 1}, {DocVc::CopyPage3, FtText, 1}, {DocVc::CopyPage4, FtText, 1},
    {DocVc::CopyPage5, FtText, 1}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R91Rows[] = {
    {DocVc::Rows::Kind, FtShort, 0}, {DocVc::Rows::Left, FtAmount2, 0}, {DocVc::Rows::Top, FtAmount2, 0},
    {DocVc::Rows::Right, FtAmount2, 0}, {DocVc::Rows::Bottom, FtAmount2, 0}, {DocVc::Rows::Font, FtText, 20},
    {DocVc::Rows::Text, FtText, 100}, {DocVc::Rows::Alignment, FtShort, 0}, {DocVc::Rows::RowPitch, FtShort, 0},
    {DocVc::Rows::FieldCode, FtShort, 0}, {DocVc::Rows::Word180, FtShort, 0},
};

constexpr VersionedColumn R92Head[] = {
    {StockMoveVc::SerNr, FtLongOrEmpty, 0}, {StockMoveVc::Text, FtText, 60},
    {StockMoveVc::FromLocation, FtCode, 10}, {StockMoveVc::ToLocation, FtCode, 10}, {StockMoveVc::Done, FtShort, 0},
    {StockMoveVc::CurncyCode, FtCode, 5}, {StockMoveVc::Rate, FtAmount3, 0}, {StockMoveVc::MoveDate, FtDate, 0},
    {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R92Rows[] = {
    {StockMoveVc::Rows::ItemCode, FtCode, 20}, {StockMoveVc::Rows::Quantity, FtAmount3, 0},
    {StockMoveVc::Rows::Text, FtText, 60}, {StockMoveVc::Rows::SerialNr, FtText, 30},
    {StockMoveVc::Rows::BaseCost, FtAmount2, 0}, {StockMoveVc::Rows::AddOn, FtText, 20},
    {StockMoveVc::Rows::UnitCost, FtAmount2, 0},
};

constexpr VersionedColumn R93Head[] = {
    {FontVc::Name, FtCodeNoSep, 20}, {FontVc::Text, FtText, 60}, {FontVc::PSFontName, FtText, 20},
    {FontVc::PSSize, FtShort, 0}, {FontVc::PSStyle, FtShort, 0}, {FontVc::WinFontName, FtText, 20},
    {FontVc::WinSize, FtShort, 0}, {FontVc::WinStyle, FtShort, 0},
};

constexpr VersionedColumn R94Head[] = {
    {TrSpeakerVc::KeyText, FtText, 20},
};

constexpr VersionedColumn R95Head[] = {
    {TrBranchVc::KeyText, FtText, 20},
};

constexpr VersionedColumn R96Head[] = {
    {TrUserLevelVc::KeyText, FtText, 20},
};

constexpr VersionedColumn R97Head[] = {
    {TrCuRebateVc::KeyText, FtText, 20},
};

constexpr VersionedColumn R98Head[] = {
    {TrSpotArchiveVc::KeyDate, FtDate, 0},
};

constexpr VersionedColumn R100Head[] = {
    {RateAccVc::Code, FtCodeNoSep, 20}, {RateAccVc::Text1, FtText, 60}, {RateAccVc::Text2, FtText, 60},
    {RateAccVc::Text3, FtText, 60}, {RateAccVc::RateCode, FtCodeNoSep, 5}, {RateAccVc::Account, FtCodeNoSep, 10},
    {RateAccVc::Objects, FtCode, 30},
};

constexpr VersionedColumn R101Head[] = {
    {CodedTextVc::Code, FtCodeNoSep, 5}, {CodedTextVc::Text, FtText, 60},
};

constexpr VersionedColumn R102Head[] = {
    {IntRateVc::RateCode, FtCodeNoSep, 5}, {IntRateVc::FromDate, FtDate, 0}, {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R102Rows[] = {
    {IntRateVc::Rows::Amount, FtAmount2, 0}, {IntRateVc::Rows::Rate, FtAmount2, 0},
};

constexpr VersionedColumn R109Head[] = {
    {ExpenseVc::SerNr, FtLongOrEmpty, 0}, {ExpenseVc::Total, FtAmount2, 0}, {ExpenseVc::Posted, FtShort, 0},
    {ExpenseVc::Person, FtCode, 5}, {ExpenseVc::PersonName, FtText, 60}, {ExpenseVc::TransDate, FtDate, 0},
    {ExpenseVc::Transferred, FtShort, 0}, {ExpenseVc::CurncyCode, FtCode, 5}, {ExpenseVc::Rate, FtAmount3, 0},
    {ExpenseVc::ClaimText, FtText, 60}, {ExpenseVc::VatTotal, FtAmount2, 0}, {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R109Rows[] = {
    {ExpenseVc::Rows::Kind, FtShort, 0}, {ExpenseVc::Rows::Flag, FtShort, 0},
    {ExpenseVc::Rows::Account, FtCode, 10}, {ExpenseVc::Rows::Objects, FtCode, 30},
    {ExpenseVc::Rows::Text, FtText, 20}, {ExpenseVc::Rows::Amount, FtAmount2, 0},
    {ExpenseVc::Rows::ItemCode, FtCode, 20}, {ExpenseVc::Rows::Quantity, FtAmount3, 0},
    {ExpenseVc::Rows::Project, FtCode, 20}, {ExpenseVc::Rows::VatCode, FtCode, 2},
    {ExpenseVc::Rows::VatAmount, FtAmount2, 0},
};

constexpr VersionedColumn R110Head[] = {
    {PersPayVc::SerNr, FtLongOrEmpty, 0}, {PersPayVc::Text, FtText, 60}, {PersPayVc::Text66, FtText, 4},
    {PersPayVc::Total, FtAmount2, 0}, {PersPayVc::TransDate, FtDate, 0}, {PersPayVc::PayDate, FtDate, 0},
    {PersPayVc::PayMode, FtCode, 1}, {PersPayVc::Approved, FtShort, 0}, {PersPayVc::Posted, FtShort, 0},
    {PersPayVc::Transferred, FtShort, 0}, {PersPayVc::CurncyCode, FtCode, 5}, {PersPayVc::Rate, FtAmount3, 0},
    {PersPayVc::BankAmount, FtAmount2, 0}, {PersPayVc::BankCharges, FtAmount2, 0}, {PersPayVc::DefaultDate, FtDate, 0},
    {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R110Rows[] = {
    {PersPayVc::Rows::Kind, FtShort, 0}, {PersPayVc::Rows::Flag, FtShort, 0}, {PersPayVc::Rows::Person, FtCode, 5},
    {PersPayVc::Rows::RowText, FtText, 20}, {PersPayVc::Rows::Name, FtText, 60},
    {PersPayVc::Rows::Amount, FtAmount2, 0},
};

constexpr VersionedColumn R115Head[] = {
    {WRVc::UserCode, FtCodeNoSep, 5}, {WRVc::WinTypeName, FtText, 20}, {WRVc::Left, FtShort, 0},
    {WRVc::Top, FtShort, 0}, {WRVc::Right, FtShort, 0}, {WRVc::Bottom, FtShort, 0}, {WRVc::Stored, FtFlag, 0},
    {WRVc::Column, FtShort, 0},
};

constexpr VersionedColumn R116Head[] = {
    {ContactVc::CustCode, FtCodeNoSep, 20}, {ContactVc::Name, FtText, 60}, {0, FtText, 0, Col::Empty},
    {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
    {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
    {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R118Head[] = {
    {BracketVc::Code, FtCodeNoSep, 12}, {BracketVc::DebitAcc, FtCodeNoSep, 10},
    {BracketVc::CreditAcc, FtCodeNoSep, 10}, {BracketVc::WholeUnits, FtShort, 0}, {BracketVc::UseText, FtShort, 0},
    {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R118Rows[] = {
    {BracketVc::Rows::From, FtAmount2, 0}, {BracketVc::Rows::To, FtAmount2, 0},
    {BracketVc::Rows::Percent, FtAmount2, 0}, {BracketVc::Rows::Fixed, FtAmount2, 0},
};

constexpr VersionedColumn R119Head[] = {
    Until(0, {EmployeeVc::PerCode, FtText, 10}), Since(1, {EmployeeVc::Name, FtText, 60}),
    {EmployeeVc::Position, FtText, 60}, Until(0, {EmployeeVc::Name, FtText, 60}), Until(0, {0, 0, 0, Col::NewLine}),
    Until(0, {EmployeeVc::DepCode, FtText, 5}), Since(1, {EmployeeVc::PerCode, FtCodeNoSep, 10}),
    Since(1, {EmployeeVc::DepCode, FtCodeNoSep, 5}), {EmployeeVc::BaseRow, FtShort, 0},
    {EmployeeVc::BaseCol, FtShort, 0}, Until(0, {EmployeeVc::EntryType, FtText, 10}),
    Until(0, {EmployeeVc::Text, FtText, 30}), Since(1, {EmployeeVc::EntryType, FtCodeNoSep, 10}),
    Since(1, {EmployeeVc::Text, FtText, 60}), Since(1, {0, FtText, 0, Col::Empty}),
};

constexpr VersionedColumn R119Rows[] = {
    Until(0, {EmployeeVc::Rows::EntryType, FtText, 10}), Until(0, {EmployeeVc::Rows::Code2, FtText, 10}),
    Since(1, {EmployeeVc::Rows::EntryType, FtCodeNoSep, 10}), Since(1, {EmployeeVc::Rows::Code2, FtCodeNoSep, 10}),
    {EmployeeVc::Rows::Amount, FtAmount2, 0}, {EmployeeVc::Rows::RowDate, FtDate, 0},
    {EmployeeVc::Rows::Dated, FtShort, 0},
};

constexpr VersionedColumn R120Head[] = {
    {EntryTypeVc::Code, FtCodeNoSep, 10}, {EntryTypeVc::DebitAcc, FtCodeNoSep, 10},
    {EntryTypeVc::CreditAcc, FtCodeNoSep, 10}, {EntryTypeVc::Text, FtText, 60}, {EntryTypeVc::TextFlag, FtShort, 0},
    {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn R120Rows[] = {
    {EntryTypeVc::Rows::Bracket, FtCodeNoSep, 12},
};

constexpr VersionedColumn R122Head[] = {
    {DeprModelVc::Code, FtCode, 5}, {DeprModelVc::Name, FtText, 60}, {DeprModelVc::Method, FtShort, 0},
    {DeprModelVc::RatePct, FtAmount2, 0}, {DeprModelVc::Decimals, FtShort, 0},
};

constexpr VersionedColumn R123Head[] = {
    {DelModeVc::Code, FtCodeNoSep, 5}, {DelModeVc::Name, FtText, 60},
};

constexpr VersionedColumn R123Rows[] = {
    {DelModeVc::Rows::LangCode, FtCodeNoSep, 5}, {DelModeVc::Rows::Text, FtText, 60},
};

constexpr VersionedColumn R124Head[] = {
    {UnitVc::Code, FtCodeNoSep, 5}, {UnitVc::Name, FtText, 60},
};

constexpr VersionedColumn R124Rows[] = {
    {UnitVc::Rows::LangCode, FtCodeNoSep, 5}, {UnitVc::Rows::Text, FtText, 60},
};

constexpr VersionedColumn R125Head[] = {
    {PctTableVc::Code, FtCodeNoSep, 5}, {PctTableVc::Name, FtText, 60},
};

constexpr VersionedColumn R125Rows[] = {
    {PctTableVc::Rows::ItemRange, FtText, 20}, {PctTableVc::Rows::Percentage, FtAmount2, 0},
};

constexpr VersionedColumn R126Head[] = {
    {PersEntryVc::SerNr, FtLongOrEmpty, 0}, {PersEntryVc::Date2, FtDate, 0}, {PersEntryVc::TransDate, FtDate, 0},
    {PersEntryVc::Text, FtText, 60}, {PersEntryVc::PerCode, FtCodeNoSep, 10},
    {PersEntryVc::DebitTotal, FtAmount2, 0}, {PersEntryVc::CreditTotal, FtAmount2, 0},
    {PersEntryVc::Balance, FtAmount2, 0}, {PersEntryVc::Reg18Done, FtShort, 0}, {PersEntryVc::Word142, FtShort, 0},
    {PersEntryVc::DepCode, FtCodeNoSep, 10},
};

constexpr VersionedColumn R126Rows[] = {
    {PersEntryVc::Rows::Account, FtCodeNoSep, 10}, {PersEntryVc::Rows::Objects, FtCode, 30},
    {PersEntryVc::Rows::Name, FtText, 60}, {PersEntryVc::Rows::Amount, FtAmount2, 0},
};

constexpr VersionedColumn R128Head[] = {
    {OrderClassVc::Code, FtCodeNoSep, 5}, {OrderClassVc::Name, FtText, 60},
};

constexpr VersionedColumn R129Head[] = {
    {InvHistVc::RegNr, FtShort, 0}, {InvHistVc::InvoiceNr, FtLongOrEmpty, 0},
};

constexpr VersionedColumn R129Rows[] = {
    {InvHistVc::Rows::Kind, FtShort, 0}, {InvHistVc::Rows::OrderNr, FtLongOrEmpty, 0},
    {InvHistVc::Rows::CurncyCode, FtCodeNoSep, 5}, {InvHistVc::Rows::Rate, FtAmount3, 0},
    {InvHistVc::Rows::ItemCode, FtCodeNoSep, 20}, {InvHistVc::Rows::Quantity, FtAmount3, 0},
    {InvHistVc::Rows::Cost, FtAmount2, 0}, {InvHistVc::Rows::Amount, FtAmount2, 0},
};

constexpr VersionedColumn R130Head[] = {
    {StdTextVc::Code, FtCodeNoSep, 20}, {StdTextVc::Text, FtText, 30},
};

constexpr VersionedColumn R130Rows[] = {
    {StdTextVc::Rows::Text, FtText, 100},
};

constexpr VersionedColumn R132Head[] = {
    {BankVc::Code, FtText, 5}, {BankVc::Name, FtText, 60}, Since(2, {BankVc::Addr1, FtText, 60}),
    Since(2, {BankVc::Addr2, FtText, 60}), Since(2, {BankVc::Addr3, FtText, 60}), {BankVc::NameInFiles, FtText, 40},
    {BankVc::Iban, FtText, 40}, Since(2, {BankVc::Bic, FtText, 40}),
};

constexpr VersionedColumn B129Head[] = {
    {CompanyBlk::CompanyName, FtText, 60}, {0, 0, 0, Col::NewLine}, {CompanyBlk::Address1, FtText, 60},
    {0, 0, 0, Col::NewLine}, {CompanyBlk::Address2, FtText, 60}, {0, 0, 0, Col::NewLine},
    {CompanyBlk::Address3, FtText, 60}, {0, 0, 0, Col::NewLine}, {0, FtText, 0, Col::Empty},
    {0, 0, 0, Col::NewLine}, {CompanyBlk::OrgNr, FtText, 30}, {CompanyBlk::Telephone, FtText, 20},
    {CompanyBlk::Fax, FtText, 20}, {CompanyBlk::BankAccount, FtText, 60},
    {CompanyBlk::BankAccount2, FtText, 60}, {CompanyBlk::Code598, FtCodeNoSep, 1},
    {CompanyBlk::Code600, FtCodeNoSep, 1}, {CompanyBlk::DateLockOn, FtShort, 0}, {CompanyBlk::EnterpriseNr, FtText, 20},
    {0, 0, 0, Col::IfData}, {CompanyBlk::SignA0, FtShort, 0}, {CompanyBlk::SignA1, FtShort, 0},
    {CompanyBlk::SignA2, FtShort, 0}, {CompanyBlk::SignA3, FtShort, 0}, {CompanyBlk::SignA4, FtShort, 0},
    {CompanyBlk::SignB0, FtShort, 0}, {CompanyBlk::SignB1, FtShort, 0}, {CompanyBlk::SignB2, FtShort, 0},
    {CompanyBlk::SignB3, FtShort, 0}, {CompanyBlk::SignB4, FtShort, 0}, {CompanyBlk::SignC0, FtShort, 0},
    {CompanyBlk::SignC1, FtShort, 0}, {CompanyBlk::SignC2, FtShort, 0}, {CompanyBlk::SignC3, FtShort, 0},
    {CompanyBlk::SignC4, FtShort, 0}, {0, 0, 0, Col::IfData}, {CompanyBlk::VoucherEnterStep1, FtShort, 0},
    {CompanyBlk::VoucherEnterStep2, FtShort, 0}, {CompanyBlk::AccountSignCheck, FtShort, 0},
    {CompanyBlk::CompanyVariant, FtShort, 0}, {CompanyBlk::SecondVariant, FtShort, 0}, {0, 0, 0, Col::IfData},
    {CompanyBlk::YearStart, FtDate, 0}, {CompanyBlk::YearEnd, FtDate, 0}, {CompanyBlk::Text644, FtText, 20},
};

constexpr VersionedColumn B131Head[] = {
    {PaymentModeBlk::Rows::Code, FtCodeNoSep, 1}, {PaymentModeBlk::Rows::Account, FtCode, 10},
    {PaymentModeBlk::Rows::BankAccount, FtText, 60}, {PaymentModeBlk::Rows::Name, FtText, 60},
};

constexpr VersionedColumn B132Head[] = {
    {SeriesDefaultsBlk::OrderHint, FtLong, 0}, {SeriesDefaultsBlk::DeliveryHint, FtLong, 0},
    {SeriesDefaultsBlk::InvoiceHint, FtLong, 0}, {SeriesDefaultsBlk::PurchHint, FtLong, 0},
    {SeriesDefaultsBlk::ReceiptHint, FtLong, 0}, {SeriesDefaultsBlk::Hint20, FtLong, 0},
    {SeriesDefaultsBlk::InterestHint, FtLong, 0}, {SeriesDefaultsBlk::LastCustCode, FtText, 20},
    {SeriesDefaultsBlk::Long50, FtLong, 0}, {0, FtText, 0, Col::Empty},
    {SeriesDefaultsBlk::LastVoucherNr, FtLong, 0}, {SeriesDefaultsBlk::Long64, FtLongOrEmpty, 0},
    {SeriesDefaultsBlk::OutPayStart, FtLongOrEmpty, 0}, {SeriesDefaultsBlk::PurchInvStart, FtLongOrEmpty, 0},
    {SeriesDefaultsBlk::Long76, FtLongOrEmpty, 0}, {SeriesDefaultsBlk::QuotationHint, FtLong, 0},
    {SeriesDefaultsBlk::TimeSheetHint, FtLong, 0}, {SeriesDefaultsBlk::LastVoucherDate, FtDate, 0},
    {SeriesDefaultsBlk::LastVendorCode, FtCodeNoSep, 20}, {SeriesDefaultsBlk::LastPurchInvDate, FtDate, 0},
    {SeriesDefaultsBlk::ContractInvHint, FtLong, 0},
};

constexpr VersionedColumn B149Head[] = {
    {FiscalYearBlk::Rows::YearCode, FtCode, 5}, {FiscalYearBlk::Rows::StartDate, FtDate, 0},
    {FiscalYearBlk::Rows::EndDate, FtDate, 0},
};

constexpr VersionedColumn B139Head[] = {
    {ReminderTextBlk::Level1Line1, FtText, 60}, {ReminderTextBlk::Level1Line2, FtText, 60},
    {ReminderTextBlk::Level1Line3, FtText, 60}, {ReminderTextBlk::Level2Line1, FtText, 60},
    {ReminderTextBlk::Level2Line2, FtText, 60}, {ReminderTextBlk::Level2Line3, FtText, 60},
    {ReminderTextBlk::Level3Line1, FtText, 60}, {ReminderTextBlk::Level3Line2, FtText, 60},
    {ReminderTextBlk::Level3Line3, FtText, 60},
};

constexpr VersionedColumn B175Head[] = {
    {ObjTypeControlBlk::Rows::ObjType, FtCodeNoSep, 5}, {ObjTypeControlBlk::Rows::AccountList, FtText, 60},
};

constexpr VersionedColumn B181Head[] = {
    {LanguageBlk::Rows::Code, FtCodeNoSep, 5}, {LanguageBlk::Rows::Name, FtText, 60},
};

constexpr VersionedColumn B211Head[] = {
    {QuoteClassBlk::Rows::Code, FtCodeNoSep, 5}, {QuoteClassBlk::Rows::Name, FtText, 60},
};

constexpr VersionedColumn B218Head[] = {
    {ContractClassBlk::Rows::Code, FtCodeNoSep, 5}, {ContractClassBlk::Rows::Name, FtText, 60},
};

constexpr VersionedColumn B227Head[] = {
    {ProdClassBlk::Rows::Code, FtCodeNoSep, 5}, {ProdClassBlk::Rows::Name, FtText, 60},
};

constexpr VersionedColumn B152Head[] = {
    {ProdSeriesBlk::Rows::FirstNr, FtLongOrEmpty, 0}, {ProdSeriesBlk::Rows::LastNr, FtLongOrEmpty, 0},
    {ProdSeriesBlk::Rows::ValidFrom, FtDate, 0}, {ProdSeriesBlk::Rows::ValidTo, FtDate, 0},
    {ProdSeriesBlk::Rows::Text, FtText, 20},
};

constexpr VersionedColumn B187Head[] = {
    {InvSeriesBlk::Rows::FirstNr, FtLongOrEmpty, 0}, {InvSeriesBlk::Rows::LastNr, FtLongOrEmpty, 0},
    {InvSeriesBlk::Rows::ValidFrom, FtDate, 0}, {InvSeriesBlk::Rows::ValidTo, FtDate, 0},
    {InvSeriesBlk::Rows::Text, FtText, 20},
};

constexpr VersionedColumn B204Head[] = {
    {StockMoveSeriesBlk::Rows::FirstNr, FtLongOrEmpty, 0}, {StockMoveSeriesBlk::Rows::LastNr, FtLongOrEmpty, 0},
    {StockMoveSeriesBlk::Rows::ValidFrom, FtDate, 0}, {StockMoveSeriesBlk::Rows::ValidTo, FtDate, 0},
    {StockMoveSeriesBlk::Rows::Text, FtText, 20},
};

constexpr VersionedColumn B130Head[] = {
    {VatAccountsBlk::Rows::VatCode, FtCode, 2}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
    {VatAccountsBlk::Rows::AccOther, FtCode, 10}, {VatAccountsBlk::Rows::AccZone1, FtCode, 10},
    {VatAccountsBlk::Rows::AccZone2, FtCode, 10}, {0, FtText, 0, Col::Empty},
    {VatAccountsBlk::Rows::Text, FtText, 60},
};

constexpr VersionedColumn B133Head[] = {
    {SalesAccountsBlk::ARAcc, FtCode, 10}, {SalesAccountsBlk::RoundingAcc, FtCode, 10},
    {SalesAccountsBlk::FeeAcc, FtCode, 10}, {SalesAccountsBlk::DiscAcc, FtCode, 10},
    {SalesAccountsBlk::VatClearAcc, FtCode, 10}, {SalesAccountsBlk::CashAcc, FtCode, 10},
    {SalesAccountsBlk::DiscVatAcc, FtCode, 10}, {SalesAccountsBlk::PostGross, FtShort, 0},
    {SalesAccountsBlk::SubLedgerActive, FtShort, 0}, {SalesAccountsBlk::FurtherAcc, FtCode, 10},
    {SalesAccountsBlk::ExchGainAcc, FtCode, 10}, {SalesAccountsBlk::ExchLossAcc, FtCode, 10},
    {SalesAccountsBlk::RcptBalanceAcc, FtCode, 10}, {SalesAccountsBlk::ARObjects, FtShort, 0},
    {SalesAccountsBlk::UpdateStock, FtShort, 0}, {SalesAccountsBlk::CreditNoteUpdateStock, FtShort, 0},
    {SalesAccountsBlk::StockAcc, FtCode, 10}, {SalesAccountsBlk::PurchClearingAcc, FtCode, 10},
    {SalesAccountsBlk::CostOfGoodsAcc, FtCode, 10}, {SalesAccountsBlk::SalesAcc0, FtCode, 10},
    {SalesAccountsBlk::SalesAcc1, FtCode, 10}, {SalesAccountsBlk::SalesAcc2, FtCode, 10},
    {SalesAccountsBlk::OnAccountAcc, FtCode, 10}, {SalesAccountsBlk::VatCode0, FtCode, 2},
    {SalesAccountsBlk::VatCode1, FtCode, 2}, {SalesAccountsBlk::VatCode2, FtCode, 2},
    {SalesAccountsBlk::StockDiffAcc, FtCode, 10}, {SalesAccountsBlk::AccountVatCheck, FtShort, 0},
    {SalesAccountsBlk::PricesInclVat, FtShort, 0}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
    {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn B134Head[] = {
    {InterestBlk::Rate, FtAmount2, 0}, {InterestBlk::MinAmount, FtAmount2, 0}, {InterestBlk::MinDays, FtLong, 0},
    {InterestBlk::PayMode, FtCode, 2}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
    {InterestBlk::Item, FtCode, 20}, {InterestBlk::RateMethod, FtShort, 0}, {InterestBlk::DayRule, FtShort, 0},
    {InterestBlk::BelowMinimum, FtShort, 0}, {InterestBlk::FeeItem, FtCode, 20}, {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn B135Head[] = {
    {PersonPeriodBlk::FromDate, FtDate, 0}, {PersonPeriodBlk::ToDate, FtDate, 0}, {0, FtText, 0, Col::Empty},
    {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn B136Head[] = {
    {PeriodsBlk::Rows::FromDate, FtDate, 0}, {PeriodsBlk::Rows::ToDate, FtDate, 0},
    {PeriodsBlk::Rows::Name, FtText, 60}, {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn B137Head[] = {
    {DateLockBlk::Date0, FtDate, 0}, {DateLockBlk::LedgerLock, FtDate, 0}, {DateLockBlk::LedgerLock2, FtDate, 0},
    {DateLockBlk::DeleteLock, FtDate, 0}, {DateLockBlk::SubLedgerLock, FtDate, 0},
    {DateLockBlk::SubLedgerLock2, FtDate, 0}, {DateLockBlk::Date36, FtDate, 0},
};

constexpr VersionedColumn B145Head[] = {
    {FormatBlk::DateOrder, FtShort, 0}, {FormatBlk::DayLeadingZero, FtShort, 0},
    {FormatBlk::MonthLeadingZero, FtShort, 0}, {FormatBlk::FourDigitYear, FtShort, 0},
    {FormatBlk::DateSep, FtText, 1}, {FormatBlk::DecimalSep, FtText, 1}, {FormatBlk::ThousandsSep, FtText, 1},
};

// Reads the number and date formats. A block left empty (a company that
// never stored its formats exports it so) is read as it stands: stored
// empty, it formats with the defaults its export wrote the amounts with.
// Any other format without a decimal separator is damage: every amount
// the program wrote afterwards would carry a zero byte where its
// separator belongs and could not be read back.
bool ReadFormatBlock(int block, int version, uint8_t *data)
{
    (void)version;
    assert(block == FormatBlk::Number);
    if (!ReadColumns(InVersion<B145Head, 0>, data, FormatBlk::Size)) return false;
    if (data[FormatBlk::DecimalSep] != 0) return true;
    if (std::all_of(data, data + FormatBlk::Size, [](uint8_t b) { return b == 0; })) return true;
    ImportDamage(6);   // the decimal separator's column
    return false;
}

constexpr VersionedColumn B153Head[] = {
    {PurchInvEntryBlk::FocusStep0, FtShort, 0}, {PurchInvEntryBlk::FocusStep1, FtShort, 0},
    {PurchInvEntryBlk::Word4, FtShort, 0}, {PurchInvEntryBlk::ApproverRequired, FtShort, 0},
    {PurchInvEntryBlk::VatPctDefault, FtShort, 0}, {PurchInvEntryBlk::VatPct, FtText, 11},
};

constexpr VersionedColumn B155Head[] = {
    {PurchAccountsBlk::CreditorAcc, FtCode, 10}, {PurchAccountsBlk::DiscRecAcc, FtCode, 10},
    {PurchAccountsBlk::DiscVatDebitAcc, FtCode, 10}, {PurchAccountsBlk::CashInvAcc, FtCode, 10},
    {PurchAccountsBlk::DiscVatCreditAcc, FtCode, 10}, {PurchAccountsBlk::BankChargeAcc, FtCode, 10},
    {PurchAccountsBlk::ExchGainAcc, FtCode, 10}, {PurchAccountsBlk::ExchLossAcc, FtCode, 10},
    {PurchAccountsBlk::PayDiffAcc, FtCode, 10}, {PurchAccountsBlk::SubLedgerActive, FtShort, 0},
    {PurchAccountsBlk::CopyVendText, FtShort, 0}, {PurchAccountsBlk::VatOffsetAcc, FtCode, 10},
    {PurchAccountsBlk::PrepayAcc, FtCode, 10}, {PurchAccountsBlk::VatCodeT0, FtCode, 2},
    {PurchAccountsBlk::VatCodeT1, FtCode, 2}, {PurchAccountsBlk::VatCodeT2, FtCode, 2},
    {PurchAccountsBlk::PrelAcc, FtCode, 10}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
    {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn B156Head[] = {
    {VatReportRowBlk::Rows::Code, FtCodeNoSep, 5}, {VatReportRowBlk::Rows::Name, FtText, 60},
    {VatReportRowBlk::Rows::Formula, FtText, 255},
};

constexpr VersionedColumn B162Head[] = {
    {PrintersBlk::Rows::Name, FtText, 20}, {PrintersBlk::Rows::DeviceText, FtText, 20},
    {PrintersBlk::Rows::PrinterText, FtText, 20},
};

constexpr VersionedColumn B163Head[] = {
    {ReportSelectionBlk::Rows::Name, FtText, 20}, {ReportSelectionBlk::Rows::Title, FtText, 60},
    {ReportSelectionBlk::Rows::ReportNr, FtShort, 0},
};

constexpr VersionedColumn B170Head[] = {
    {PrintOnSaveBlk::OrderForm, FtShort, 0}, {PrintOnSaveBlk::DeliveryForm, FtShort, 0},
    {PrintOnSaveBlk::InvoiceForm, FtShort, 0}, {PrintOnSaveBlk::Word6, FtShort, 0},
    {PrintOnSaveBlk::Word8, FtShort, 0}, {PrintOnSaveBlk::OrderForm2, FtShort, 0},
};

constexpr VersionedColumn B172Head[] = {
    {CurrencyBlk::Rows::Code, FtCode, 5}, {CurrencyBlk::Rows::Name, FtText, 60},
    {CurrencyBlk::Rows::Decimals, FtShort, 0},
};

constexpr VersionedColumn B173Head[] = {
    {SubLedgerAccBlk::Rows::Kind, FtShort, 0}, {SubLedgerAccBlk::Rows::Account, FtCode, 10},
};

constexpr VersionedColumn B179Head[] = {
    {DownPayBlk::TermsCode, FtCode, 2}, {DownPayBlk::Percentage, FtAmount2, 0}, {DownPayBlk::ItemCode, FtCode, 20},
    {DownPayBlk::RowText, FtText, 60}, {DownPayBlk::Text100, FtText, 60}, {DownPayBlk::Text162, FtText, 60},
    {DownPayBlk::Text224, FtText, 60}, {DownPayBlk::BaseMode, FtShort, 0},
};

constexpr VersionedColumn B182Head[] = {
    {RoundOffBlk::TotalDecimals, FtShort, 0}, {RoundOffBlk::VatDecimals, FtShort, 0},
};

constexpr VersionedColumn B186Head[] = {
    {FreightBlk::FreightItem, FtCode, 20}, {FreightBlk::FreightPct, FtAmount2, 0},
};

constexpr VersionedColumn B199Head[] = {
    {PostingBlk::PostInvoices, FtShort, 0}, {PostingBlk::PostReceipts, FtShort, 0},
    {PostingBlk::PostPurchInv, FtShort, 0}, {PostingBlk::PostPayments, FtShort, 0},
    {PostingBlk::InvoiceStart, FtDate, 0}, {PostingBlk::ReceiptStart, FtDate, 0},
    {PostingBlk::PurchInvStart, FtDate, 0}, {PostingBlk::PaymentStart, FtDate, 0},
    {PostingBlk::PurchVouchers, FtShort, 0}, {PostingBlk::DeliveryVouchers, FtShort, 0},
    {PostingBlk::PurchVoucherStart, FtDate, 0}, {PostingBlk::DeliveryVoucherStart, FtDate, 0},
    {PostingBlk::StockMoveVouchers, FtShort, 0}, {PostingBlk::StockMoveVoucherStart, FtDate, 0},
};

constexpr VersionedColumn B200Head[] = {
    {AssetGroupBlk::Rows::Group, FtCode, 5}, {AssetGroupBlk::Rows::Account6, FtCode, 10},
    {AssetGroupBlk::Rows::AccDeprAcc, FtCode, 10}, {AssetGroupBlk::Rows::Objects, FtText, 30},
    {AssetGroupBlk::Rows::Text, FtText, 60}, {AssetGroupBlk::Rows::DeprCostAcc, FtCode, 10},
};

constexpr VersionedColumn B201Head[] = {
    {ProjectBlk::TimeText, FtText, 60}, {ProjectBlk::OtherText, FtText, 60}, {ProjectBlk::CostText, FtText, 60},
    {ProjectBlk::Heading, FtText, 60}, {ProjectBlk::DownPayItem, FtCodeNoSep, 20},
    {ProjectBlk::TimeDetail, FtShort, 0}, {ProjectBlk::CostDetail, FtShort, 0}, {0, FtText, 0, Col::Empty},
    {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty}, {0, FtText, 0, Col::Empty},
};

constexpr VersionedColumn B202Head[] = {
    {CostAccBlk::CostFromItem, FtShort, 0}, {CostAccBlk::ValueByLocation, FtShort, 0},
};

constexpr VersionedColumn B203Head[] = {
    {MainStockBlk::MainLocation, FtCode, 10}, {MainStockBlk::RefuseBeyondStock, FtShort, 0},
};

constexpr VersionedColumn B205Head[] = {
    {CreditLimitBlk::OrderCheck, FtShort, 0}, {CreditLimitBlk::InvoiceCheck, FtShort, 0},
    {CreditLimitBlk::InvoiceRefuse, FtShort, 0}, {CreditLimitBlk::DeliveryCheck, FtShort, 0},
    {CreditLimitBlk::OrderCreditCheck, FtShort, 0},
};

constexpr VersionedColumn B208Head[] = {
    {VatCodeBlk::Rows::Code, FtCode, 2}, {VatCodeBlk::Rows::Name, FtText, 30},
    {VatCodeBlk::Rows::Rate, FtAmount2, 0}, {VatCodeBlk::Rows::Rate2, FtAmount2, 0},
    {VatCodeBlk::Rows::Account1, FtCode, 10}, {VatCodeBlk::Rows::Account2, FtCode, 10},
    {VatCodeBlk::Rows::AddPct, FtAmount2, 0}, {VatCodeBlk::Rows::Account3, FtCode, 10},
};

constexpr VersionedColumn B214Head[] = {
    {PayMatrixBlk::Rows::Col1, FtText, 11}, {PayMatrixBlk::Rows::Col2, FtText, 11},
    {PayMatrixBlk::Rows::Col3, FtText, 11}, {PayMatrixBlk::Rows::Col4, FtText, 11},
};

constexpr VersionedColumn B216Head[] = {
    {CashBlk::Rows::Account, FtCode, 10}, {CashBlk::Rows::Text, FtText, 60},
};

constexpr VersionedColumn B219Head[] = {
    {AgedBlk::Limit1, FtLongOrEmpty, 0}, {AgedBlk::Limit2, FtLongOrEmpty, 0},
};

constexpr VersionedColumn B223Head[] = {
    {StructPrintBlk::NoExpandShipment, FtShort, 0}, {StructPrintBlk::NoExpandDelivery, FtShort, 0},
};

constexpr VersionedColumn B224Head[] = {
    {BankFileBlk::ForeignLayout, FtShort, 0}, {BankFileBlk::LastFileDate, FtDate, 0},
    {BankFileBlk::DailySeq, FtShort, 0}, {BankFileBlk::RecordSeq, FtShort, 0}, {BankFileBlk::Text12, FtText, 11},
    {BankFileBlk::Text34, FtText, 2}, {BankFileBlk::Text38, FtText, 2}, {BankFileBlk::Text42, FtText, 10},
};

constexpr VersionedColumn R25Group[] = {
    {SR21Vc::RowKind, FtShort, 0}, {SR21Vc::RowNr, FtLongOrEmpty, 0}, {SR21Vc::Formula, FtText, 60},
    {SR21Vc::Label, FtText, 60}, {SR21Vc::SignClass, FtShort, 0},
};

const FieldList Lists[] = {
    {false, 2, 2, 1, InVersion<R2Head, 1>, 0, {}, nullptr, ReadCustomerV1},
    {false, 2, 2, 2, InVersion<R2Head, 2>, 0, {}},
    {false, 3, 3, 1, InVersion<R3Head, 1>, 0, {}},
    {false, 3, 3, 2, InVersion<R3Head, 2>, INVc::Rows::Size, InVersion<R3Rows, 2>, nullptr, ReadItemText},
    {false, 4, 4, 1, InVersion<R4Head, 1>, RowSizeOfRegister, InVersion<R4Rows, 1>,
      nullptr, ReadPurchaseText, AfterReadPurchase},
    {false, 4, 4, 2, InVersion<R4Head, 2>, RowSizeOfRegister, InVersion<R4Rows, 2>,
      nullptr, ReadPurchaseText, AfterReadPurchase},
    {false, 5, 5, 1, {}, 0, {}, WriteInvoiceText, ReadInvoiceText},
    {false, 7, 7, 1, InVersion<R7Head, 1>, RowSizeOfRegister, InVersion<R7Rows, 1>,
      nullptr, ReadOrderText, AfterReadOrder},
    {false, 8, 8, 1, InVersion<R8Head, 1>, RowSizeOfRegister, InVersion<R8Rows, 1>,
      nullptr, nullptr, AfterReadDelivery},
    {false, 10, 10, 2, {}, 0, {}, WriteReceiptText, ReadReceiptV2},
    {false, 10, 10, 3, {}, 0, {}, WriteReceiptText, ReadReceiptV3},
    {false, 14, 14, 1, InVersion<R14Head, 1>, 0, {}},
    {false, 15, 15, 1, InVersion<R15Head, 1>, 0, {}},
    {false, 16, 16, 3, InVersion<R16Head, 3>, 0, {}},
    {false, 19, 19, 1, InVersion<R19Head, 1>, RowSizeOfRegister, InVersion<R19Rows, 1>},
    {false, 20, 20, 1, InVersion<R20Head, 1>, RowSizeOfRegister, InVersion<R20Rows, 1>},
    {false, 21, 21, 2, InVersion<R21Head, 2>, 0, {}, nullptr, ReadBudgetV2},
    {false, 21, 21, 3, InVersion<R21Head, 3>, RowSizeOfRegister, InVersion<R21Rows, 3>},
    {false, 22, 22, 1, InVersion<R22Head, 1>, RowSizeOfRegister, InVersion<R22Rows, 1>,
      nullptr, nullptr, AfterReadTotals},
    {false, 23, 23, 1, InVersion<R23Head, 1>, 0, {}},
    {false, 23, 23, 2, InVersion<R23Head, 2>, DTVc::Rows::Size, InVersion<R23Rows, 2>},
    {false, 24, 24, 1, InVersion<R24Head, 1>, 0, {}},
    {false, 27, 27, 1, InVersion<R27Head, 1>, 0, {}},
    {false, 27, 27, 2, InVersion<R27Head, 2>, 0, {}},
    {false, 28, 28, 1, InVersion<R28Head, 1>, RowSizeOfRegister, InVersion<R28Rows, 1>},
    {false, 30, 30, 1, InVersion<R30Head, 1>, RowSizeOfRegister, InVersion<R30Rows, 1>,
      nullptr, nullptr, AfterReadTotals},
    {false, 44, 44, 1, InVersion<R44Head, 1>, RowSizeOfRegister, InVersion<R44Rows, 1>},
    {false, 45, 45, 1, InVersion<R45Head, 1>, ContractVc::Rows::Size, InVersion<R45Rows, 1>,
      nullptr, nullptr, AfterReadContract},
    {false, 46, 46, 1, InVersion<R46Head, 1>, 0, {}},
    {false, 46, 46, 2, InVersion<R46Head, 2>, AccessVc::Rows::Size, InVersion<R46Rows, 2>},
    {false, 47, 47, 1, InVersion<R47Head, 1>, 0, {}},
    {false, 48, 48, 1, InVersion<R48Head, 1>, 0, {}},
    {false, 50, 50, 1, InVersion<R50Head, 1>, 0, {}},
    {false, 52, 52, 1, InVersion<R52Head, 1>, RowSizeOfRegister, InVersion<R52Rows, 1>},
    {false, 53, 53, 1, InVersion<R53Head, 1>, 0, {}},
    {false, 53, 53, 2, InVersion<R53Head, 2>, ProjectVc::Rows::Size, InVersion<R53Rows, 2>},
    {false, 54, 54, 1, InVersion<R54Head, 1>, RowSizeOfRegister, InVersion<R54Rows, 1>,
      nullptr, nullptr, AfterReadTimeSheet},
    {false, 55, 55, 1, InVersion<R55Head, 1>, RowSizeOfRegister, InVersion<R55Rows, 1>},
    {false, 56, 56, 1, InVersion<R56Head, 1>, RowSizeOfRegister, InVersion<R56Rows, 1>,
      nullptr, nullptr, AfterReadMark},
    {false, 57, 57, 1, InVersion<R57Head, 1>, 0, {}},
    {false, 57, 57, 2, InVersion<R57Head, 2>, RowSizeOfRegister, InVersion<R57Rows, 2>},
    {false, 58, 58, 1, InVersion<R58Head, 1>, PurchOrderVc::Rows::Size, InVersion<R58Rows, 1>,
      nullptr, nullptr, AfterReadPurchaseOrder},
    {false, 60, 60, 1, InVersion<R60Head, 1>, 0, {}, nullptr, ReadAssetV1},
    {false, 60, 60, 2, InVersion<R60Head, 2>, RowSizeOfRegister, InVersion<R60Rows, 2>},
    {false, 61, 61, 1, InVersion<R61Head, 1>, 0, {}},
    {false, 62, 62, 1, InVersion<R62Head, 1>, RowSizeOfRegister, InVersion<R62Rows, 1>},
    {false, 63, 63, 1, InVersion<R63Head, 1>, 0, {}},
    {false, 64, 64, 1, InVersion<R64Head, 1>, 0, {}},
    {false, 65, 65, 1, InVersion<R65Head, 1>, 0, {}},
    {false, 66, 66, 1, InVersion<R66Head, 1>, RowSizeOfRegister, InVersion<R66Rows, 1>},
    {false, 68, 68, 1, InVersion<R68Head, 1>, RowSizeOfRegister, InVersion<R68Rows, 1>},
    {false, 71, 71, 1, InVersion<R71Head, 1>, RowSizeOfRegister, InVersion<R71Rows, 1>},
    {false, 72, 72, 1, InVersion<R72Head, 1>, RowSizeOfRegister, InVersion<R72Rows, 1>},
    {false, 73, 73, 1, InVersion<R73Head, 1>, RowSizeOfRegister, InVersion<R73Rows, 1>},
    {false, 74, 74, 1, InVersion<R74Head, 1>, CountryVc::Rows::Size, InVersion<R74Rows, 1>},
    {false, 76, 76, 1, InVersion<R76Head, 1>, RowSizeOfRegister, InVersion<R76Rows, 1>,
      nullptr, nullptr, AfterReadTotals},
    {false, 77, 77, 1, InVersion<R77Head, 1>, RowSizeOfRegister, InVersion<R77Rows, 1>,
      nullptr, nullptr, AfterReadProduction},
    {false, 78, 78, 1, InVersion<R78Head, 1>, 0, {}},
    {false, 79, 79, 1, InVersion<R79Head, 1>, 0, {}},
    {false, 80, 80, 1, InVersion<R80Head, 1>, 0, {}},
    {false, 81, 81, 1, InVersion<R81Head, 1>, 0, {}},
    {false, 82, 82, 1, InVersion<R82Head, 1>, 0, {}},
    {false, 83, 83, 1, InVersion<R83Head, 1>, 0, {}},
    {false, 85, 85, 1, InVersion<R85Head, 1>, 0, {}},
    {false, 86, 86, 1, InVersion<R86Head, 1>, 0, {}},
    {false, 87, 87, 1, InVersion<R87Head, 1>, 0, {}},
    {false, 88, 88, 1, InVersion<R88Head, 1>, 0, {}},
    {false, 89, 89, 1, InVersion<R89Head, 1>, 0, {}},
    {false, 90, 90, 1, InVersion<R90Head, 1>, 0, {}},
    {false, 91, 91, 0, InVersion<R91Head, 0>, 0, {}, nullptr, ReadDocText},
    {false, 91, 91, 1, InVersion<R91Head, 1>, RowSizeOfRegister, InVersion<R91Rows, 1>, nullptr, ReadDocText},
    {false, 91, 91, 2, InVersion<R91Head, 2>, RowSizeOfRegister, InVersion<R91Rows, 2>, nullptr, ReadDocText},
    {false, 92, 92, 1, InVersion<R92Head, 1>, RowSizeOfRegister, InVersion<R92Rows, 1>,
      nullptr, nullptr, AfterReadStockMove},
    {false, 93, 93, 1, InVersion<R93Head, 1>, 0, {}},
    {false, 94, 94, 1, InVersion<R94Head, 1>, 0, {}},
    {false, 95, 95, 1, InVersion<R95Head, 1>, 0, {}},
    {false, 96, 96, 1, InVersion<R96Head, 1>, 0, {}},
    {false, 97, 97, 1, InVersion<R97Head, 1>, 0, {}},
    {false, 98, 98, 1, InVersion<R98Head, 1>, 0, {}},
    {false, 100, 100, 1, InVersion<R100Head, 1>, 0, {}},
    {false, 101, 101, 1, InVersion<R101Head, 1>, 0, {}},
    {false, 102, 102, 1, InVersion<R102Head, 1>, RowSizeOfRegister, InVersion<R102Rows, 1>},
    {false, 109, 109, 1, InVersion<R109Head, 1>, RowSizeOfRegister, InVersion<R109Rows, 1>},
    {false, 110, 110, 1, InVersion<R110Head, 1>, RowSizeOfRegister, InVersion<R110Rows, 1>},
    {false, 115, 115, 1, InVersion<R115Head, 1>, 0, {}},
    {false, 116, 116, 1, InVersion<R116Head, 1>, 0, {}},
    {false, 118, 118, 1, InVersion<R118Head, 1>, RowSizeOfRegister, InVersion<R118Rows, 1>},
    {false, 119, 119, 1, InVersion<R119Head, 1>, RowSizeOfRegister, InVersion<R119Rows, 1>},
    {false, 120, 120, 1, InVersion<R120Head, 1>, RowSizeOfRegister, InVersion<R120Rows, 1>},
    {false, 122, 122, 1, InVersion<R122Head, 1>, 0, {}},
    {false, 123, 123, 1, InVersion<R123Head, 1>, 0, {}},
    {false, 123, 123, 2, InVersion<R123Head, 2>, DelModeVc::Rows::Size, InVersion<R123Rows, 2>},
    {false, 124, 124, 1, InVersion<R124Head, 1>, 0, {}},
    {false, 124, 124, 2, InVersion<R124Head, 2>, UnitVc::Rows::Size, InVersion<R124Rows, 2>},
    {false, 125, 125, 1, InVersion<R125Head, 1>, RowSizeOfRegister, InVersion<R125Rows, 1>},
    {false, 126, 126, 1, InVersion<R126Head, 1>, RowSizeOfRegister, InVersion<R126Rows, 1>,
      nullptr, nullptr, AfterReadTotals},
    {false, 128, 128, 1, InVersion<R128Head, 1>, 0, {}},
    {false, 129, 129, 1, InVersion<R129Head, 1>, InvHistVc::Rows::Size, InVersion<R129Rows, 1>},
    {false, 130, 130, 1, InVersion<R130Head, 1>, RowSizeOfRegister, InVersion<R130Rows, 1>},
    {false, 132, 132, 1, InVersion<R132Head, 1>, 0, {}},
    {false, 132, 132, 2, InVersion<R132Head, 2>, 0, {}},
    {true, 129, 129, 0, InVersion<B129Head, 0>, 0, {}, WriteCompanyBlock},
    {true, 131, 131, 0, InVersion<B131Head, 0>, 0, {}},
    {true, 132, 132, 0, InVersion<B132Head, 0>, 0, {}},
    {true, 149, 149, 0, InVersion<B149Head, 0>, 0, {}},
    {true, 139, 139, 0, InVersion<B139Head, 0>, 0, {}},
    {true, 175, 175, 0, InVersion<B175Head, 0>, 0, {}},
    {true, 181, 181, 0, InVersion<B181Head, 0>, 0, {}},
    {true, 211, 211, 0, InVersion<B211Head, 0>, 0, {}},
    {true, 218, 218, 0, InVersion<B218Head, 0>, 0, {}},
    {true, 227, 227, 0, InVersion<B227Head, 0>, 0, {}},
    {true, 152, 152, 0, InVersion<B152Head, 0>, 0, {}},
    {true, 187, 198, 0, InVersion<B187Head, 0>, 0, {}},
    {true, 204, 204, 0, InVersion<B204Head, 0>, 0, {}},
    {true, 130, 130, 0, InVersion<B130Head, 0>, 0, {}, nullptr, nullptr, AfterReadVatCodes},
    {true, 133, 133, 0, InVersion<B133Head, 0>, 0, {}},
    {true, 134, 134, 0, InVersion<B134Head, 0>, 0, {}},
    {true, 135, 135, 0, InVersion<B135Head, 0>, 0, {}},
    {true, 136, 136, 0, InVersion<B136Head, 0>, 0, {}},
    {true, 137, 137, 0, InVersion<B137Head, 0>, 0, {}},
    {true, 145, 145, 0, InVersion<B145Head, 0>, 0, {}, nullptr, ReadFormatBlock},
    {true, 153, 153, 0, InVersion<B153Head, 0>, 0, {}},
    {true, 155, 155, 0, InVersion<B155Head, 0>, 0, {}},
    {true, 156, 156, 0, InVersion<B156Head, 0>, 0, {}},
    {true, 162, 162, 0, InVersion<B162Head, 0>, 0, {}},
    {true, 163, 163, 0, InVersion<B163Head, 0>, 0, {}},
    {true, 170, 170, 0, InVersion<B170Head, 0>, 0, {}},
    {true, 172, 172, 0, InVersion<B172Head, 0>, 0, {}},
    {true, 173, 173, 0, InVersion<B173Head, 0>, 0, {}},
    {true, 179, 179, 0, InVersion<B179Head, 0>, 0, {}},
    {true, 182, 182, 0, InVersion<B182Head, 0>, 0, {}},
    {true, 186, 186, 0, InVersion<B186Head, 0>, 0, {}},
    {true, 199, 199, 0, InVersion<B199Head, 0>, 0, {}},
    {true, 200, 200, 0, InVersion<B200Head, 0>, 0, {}},
    {true, 201, 201, 0, InVersion<B201Head, 0>, 0, {}},
    {true, 202, 202, 0, InVersion<B202Head, 0>, 0, {}},
    {true, 203, 203, 0, InVersion<B203Head, 0>, 0, {}},
    {true, 205, 205, 0, InVersion<B205Head, 0>, 0, {}},
    {true, 208, 208, 0, InVersion<B208Head, 0>, 0, {}},
    {true, 214, 214, 0, InVersion<B214Head, 0>, 0, {}},
    {true, 216, 216, 0, InVersion<B216Head, 0>, 0, {}},
    {true, 219, 219, 0, InVersion<B219Head, 0>, 0, {}},
    {true, 223, 223, 0, InVersion<B223Head, 0>, 0, {}},
    {true, 224, 224, 0, InVersion<B224Head, 0>, 0, {}},
    // The older layout of 119: plain texts where the newer has codes.
    {false, 119, 119, 0, InVersion<R119Head, 0>, RowSizeOfRegister, InVersion<R119Rows, 0>},
    {false, 25, 25, 2, InVersion<R25Group, 2>, 0, {}, WriteGroupText},
    {false, 26, 26, 2, InVersion<R25Group, 2>, 0, {}, WriteGroupText},
    {false, 34, 43, 2, InVersion<R25Group, 2>, 0, {}, WriteGroupText},
};

}  // namespace

const std::span<const FieldList> FieldLists(Lists);
