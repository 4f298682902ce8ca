// small_windows_dict.h - the interface file of the smaller record
// windows' tests and benchmark: the one dict/ compiles, with the layouts
// below for the window types whose rules they drive. Their screen fields
// are numbered here, so a test names a field or a row cell by number
// whatever the shipped layout of the type looks like. A shipped layout of
// one of these types is replaced; a shipped window-type entry is kept.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/interface_write.h"
#include "tools/dict.h"

// Screen fields of the test layouts.
namespace TestWin {
// Goods receipt (197): 1 number, 2 date, 3 vendor, 4 vendor name, 5
// currency, 6 rate, 7 value, 8 quantity; cells from 9, six a row: item,
// quantity, text, price, charge, unit cost.
constexpr int PuDate = 2, PuVendor = 3, PuCurrency = 5, PuRate = 6, PuFirst = 9, PuCells = 6;
constexpr int PuItem = 0, PuQty = 1, PuPrice = 3, PuCharge = 4, PuUnitCost = 5;
// Stock movement (426): 1 number, 2 date, 3 currency, 4 rate; cells from
// 5, five a row: item, quantity, base cost, add-on, unit cost.
constexpr int SmDate = 2, SmCurrency = 3, SmFirst = 5, SmCells = 5;
constexpr int SmItem = 0, SmBase = 2, SmAddOn = 3, SmUnitCost = 4;
// Voucher (117): 1 number, 2 date, 3 code, 4 text; cells from 5, six a
// row: kind, account, objects, text, amount, VAT code.
constexpr int TrNumber = 1, TrDate = 2, TrText = 4, TrFirst = 5, TrCells = 6;
// Purchase order (290): 1 number, 2 vendor, 3 delivery text, 4 closed;
// cells from 5, three a row: item, quantity, price.
constexpr int PoNumber = 1, PoVendor = 2, PoDelivText = 3, PoClosed = 4, PoFirst = 5, PoCells = 3;
// Order (352): 1 customer, 2 number; cells from 3, three a row.
constexpr int OrCustomer = 1, OrNumber = 2, OrFirst = 3, OrCells = 3;
// Item structure (367): 1 code, 2 total 94, 3 total 106; cells from 4,
// four a row: item, name, quantity, cost.
constexpr int StFirst = 4, StCells = 4;
// Outgoing payment (157): 1 text, 2 payment date, 3 rate, 4 home amount,
// 5 bank charges; cells from 6, two a row. Person payment (476): 1 text,
// 2 payment date, 3 bank amount, 4 charges; cells from 5. Purchase
// invoice (155): 1 vendor, 2 due date, 3 discount date, 4 comment; cells
// from 5. Expense claim (475): 1 person, 2 text. Production (122): 1
// number, 2 item, 3 quantity; cells from 4, three a row: item, name,
// quantity used.
constexpr int OpText = 1, OpPayDate = 2, OpRate = 3, OpHome = 4, OpCharges = 5, OpFirst = 6;
constexpr int PpText = 1, PpPayDate = 2, PpBank = 3, PpCharges = 4, PpFirst = 5;
constexpr int PiVendor = 1, PiDue = 2, PiDisc = 3, PiComment = 4, PiFirst = 5;
constexpr int ExPerson = 1, ExText = 2;
constexpr int PrItem = 2, PrFirst = 4, PrCells = 3;
// Purchase price of an item (284): 1 item, 2 vendor, 3 text, 4 price, 5
// vendor name. Coded text (457): 1 code, 2 text.
constexpr int PiItem284 = 1, PiVendor284 = 2, CtCode = 1;
// Balance statement selection (401), one of two alternatives: 1 object,
// 2 object type, 3 period (which no shipped selection shows).
constexpr int RpObject = 1, RpObjectType = 2, RpPeriod = 3;
}  // namespace TestWin

inline const char *const SmallWindowsDict = R"(
window 197 {
  field   rect 20 110 37 190 type long offset PUVc.SerNr access new align right page 0 label "Number"
  field   rect 42 110 59 210 type date offset PUVc.TransDate access always page 0 label "Date"
  field   rect 64 110 81 260 type keycode format 20 offset PUVc.VendCode access always page 0 label "Vendor"
  field   rect 64 300 81 600 type text format 60 offset PUVc.VendName access always page 0 label "Name"
  field   rect 20 300 37 360 type keycode format 5 offset PUVc.Currency access always page 0 label "Currency"
  field   rect 20 420 37 500 type amount3 offset PUVc.Rate access always align right page 0 label "Rate"
  field   rect 350 110 367 230 type amount offset PUVc.ValueSum align right page 0 label "Value"
  field   rect 350 380 367 500 type amount3 offset PUVc.QtySum align right page 0 label "Quantity"
  control rect 96 -30 330 -15 kind scroll start 0 max 0 page 0 label ""
  matrix  rowsize 200 cells 6 first 9 rect 96 34 330 -30 maxrows 500 page 0 control 0
  column  x 0 type keycode format 20 offset PUVc.ItemCode heading HeadingItem
  column  x 110 type amount3 offset PUVc.Quantity align right heading HeadingQuantity
  column  x 180 type text format 60 offset 34 heading HeadingWorkText
  column  x 330 type amount offset PUVc.Price align right heading HeadingPrice
  column  x 410 type text format 20 offset PUVc.Charge heading HeadingSurcharge
  column  x 500 type amount offset PUVc.UnitCost align right heading HeadingCostSpent
}
window 426 {
  field   rect 20 110 37 190 type long offset StockMoveVc.SerNr access new align right page 0 label "Number"
  field   rect 42 110 59 210 type date offset StockMoveVc.MoveDate access always page 0 label "Date"
  field   rect 20 300 37 360 type code format 5 offset StockMoveVc.CurncyCode access always page 0 label "Currency"
  field   rect 20 420 37 500 type amount3 offset StockMoveVc.Rate access always align right page 0 label "Rate"
  control rect 96 -30 330 -15 kind scroll start 0 max 0 page 0 label ""
  matrix  rowsize 174 cells 5 first 5 rect 96 34 330 -30 maxrows 500 page 0 control 0
  column  x 0 type code format 20 offset StockMoveVc.ItemCode heading HeadingItem
  column  x 110 type amount3 offset StockMoveVc.Quantity align right heading HeadingQuantity
  column  x 200 type amount offset StockMoveVc.BaseCost align right heading HeadingPrice
  column  x 300 type text format 20 offset StockMoveVc.AddOn heading HeadingSurcharge
  column  x 420 type amount offset StockMoveVc.UnitCost align right heading HeadingCostSpent
}
window 117 {
  field   rect 20 110 37 190 type long offset TRVc.SerNr access new align right page 0 label "Number"
  field   rect 42 110 59 210 type date offset TRVc.TransDate access always page 0 label "Date"
  field   rect 20 300 37 360 type keycode format 5 offset TRVc.Code access always page 0 label "Code"
  field   rect 64 110 81 460 type text format 60 offset TRVc.Text access always page 0 label "Text"
  control rect 96 -30 330 -15 kind scroll start 0 max 0 page 0 label ""
  matrix  rowsize 138 cells 6 first 5 rect 96 34 330 -30 maxrows 300 page 0 control 0
  column  x 0 type short offset TRVc.Kind align right heading HeadingInvKind
  column  x 40 type keycode format 10 offset TRVc.Account heading HeadingInvAccount
  column  x 140 type code format 30 offset TRVc.Objects heading HeadingInvObjects
  column  x 260 type text format 60 offset 48 heading HeadingInvText
  column  x 420 type amount offset TRVc.Amount align right heading HeadingInvSum
  column  x 520 type text format 2 offset TRVc.VatCode heading HeadingInvVatCode
}
window 290 {
  field   rect 20 110 37 190 type long offset PurchOrderVc.SerNr access new align right page 0 label "Number"
  field   rect 42 110 59 260 type keycode format 20 offset PurchOrderVc.VendCode access always page 0 label "Vendor"
  field   rect 64 110 81 230 type text format 10 offset PurchOrderVc.DelivText access always page 0 label "Delivery"
  field   rect 64 300 81 340 type short offset PurchOrderVc.Closed access always page 0 label "Closed"
  control rect 96 -30 330 -15 kind scroll start 0 max 0 page 0 label ""
  matrix  rowsize 282 cells 3 first 5 rect 96 34 330 -30 maxrows 300 page 0 control 0
  column  x 0 type keycode format 20 offset PurchOrderVc.ItemCode heading HeadingItem
  column  x 120 type amount3 offset PurchOrderVc.Quantity align right heading HeadingQuantity
  column  x 220 type amount offset PurchOrderVc.Price align right heading HeadingPrice
}
window 352 {
  field   rect 20 110 37 260 type keycode format 20 offset ORVc.CustCode access always page 0 label "Customer"
  field   rect 42 110 59 190 type long offset ORVc.SerNr access new align right page 0 label "Number"
  control rect 96 -30 330 -15 kind scroll start 0 max 0 page 0 label ""
  matrix  rowsize 348 cells 3 first 3 rect 96 34 330 -30 maxrows 300 page 0 control 0
  column  x 0 type keycode format 20 offset ORVc.ItemCode heading HeadingItem
  column  x 120 type amount3 offset ORVc.Quantity align right heading HeadingQuantity
  column  x 220 type amount offset ORVc.Price align right heading HeadingPrice
}
window 367 {
  field   rect 20 110 37 260 type code format 20 offset StructureVc.Code access new page 0 label "Code"
  field   rect 350 110 367 230 type amount offset StructureVc.Total94 align right page 0 label "Total"
  field   rect 350 380 367 500 type amount offset StructureVc.Total106 align right page 0 label "Total 2"
  control rect 96 -30 330 -15 kind scroll start 0 max 0 page 0 label ""
  matrix  rowsize 132 cells 4 first 4 rect 96 34 330 -30 maxrows 300 page 0 control 0
  column  x 0 type keycode format 20 offset StructureVc.ItemCode heading HeadingItem
  column  x 120 type text format 60 offset StructureVc.ItemName heading HeadingWorkText
  column  x 320 type amount3 offset StructureVc.Quantity align right heading HeadingQuantity
  column  x 420 type amount offset StructureVc.Cost align right heading HeadingPrice
}
window 157 {
  field   rect 20 110 37 460 type text format 60 offset OPVc.PayText access always page 0 label "Text"
  field   rect 42 110 59 210 type date offset OPVc.PayDate access always page 0 label "Pay date"
  field   rect 64 110 81 210 type amount offset OPVc.Rate access always align right page 0 label "Rate"
  field   rect 20 520 37 640 type amount offset OPVc.HomeTotal access always align right page 0 label "Home"
  field   rect 42 520 59 640 type amount offset OPVc.BankCharges access always align right page 0 label "Charges"
  control rect 96 -30 330 -15 kind scroll start 0 max 0 page 0 label ""
  matrix  rowsize 136 cells 2 first 6 rect 96 34 330 -30 attrword 2 maxrows 300 page 0 control 0
  column  x 0 type code format 20 offset OPVc.VendCode heading HeadingItem
  column  x 200 type amount offset OPVc.Amount align right heading HeadingPrice
}
window 476 {
  field   rect 20 110 37 460 type text format 60 offset PersPayVc.Text access always page 0 label "Text"
  field   rect 42 110 59 210 type date offset PersPayVc.PayDate access always page 0 label "Pay date"
  field   rect 64 110 81 210 type amount offset PersPayVc.BankAmount access always align right page 0 label "Bank"
  field   rect 20 520 37 640 type amount offset PersPayVc.BankCharges access always align right page 0 label "Charges"
  control rect 96 -30 330 -15 kind scroll start 0 max 0 page 0 label ""
  matrix  rowsize 106 cells 2 first 5 rect 96 34 330 -30 maxrows 300 page 0 control 0
  column  x 0 type code format 5 offset PersPayVc.Person heading HeadingPerson
  column  x 200 type amount offset PersPayVc.Amount align right heading HeadingPrice
}
window 155 {
  field   rect 20 110 37 260 type keycode format 20 offset VIVc.VendCode access always page 0 label "Vendor"
  field   rect 42 110 59 210 type date offset VIVc.DueDate access always page 0 label "Due"
  field   rect 64 110 81 210 type date offset VIVc.DiscDate access always page 0 label "Discount date"
  field   rect 20 320 37 640 type text format 60 offset VIVc.Comment access always page 0 label "Comment"
  control rect 96 -30 330 -15 kind scroll start 0 max 0 page 0 label ""
  matrix  rowsize 186 cells 2 first 5 rect 96 34 330 -30 maxrows 300 page 0 control 0
  column  x 0 type keycode format 10 offset VIVc.Account heading HeadingInvAccount
  column  x 200 type amount offset VIVc.Amount align right heading HeadingPrice
}
window 475 {
  field   rect 20 110 37 190 type code format 5 offset ExpenseVc.Person access always page 0 label "Person"
  field   rect 42 110 59 460 type text format 60 offset ExpenseVc.ClaimText access always page 0 label "Text"
}
window 122 {
  field   rect 20 110 37 190 type long offset ProductionVc.SerNr access new align right page 0 label "Number"
  field   rect 42 110 59 260 type code format 20 offset ProductionVc.ItemCode access always page 0 label "Item"
  field   rect 64 110 81 210 type amount3 offset ProductionVc.Quantity access always align right page 0 label "Quantity"
  control rect 96 -30 330 -15 kind scroll start 0 max 0 page 0 label ""
  matrix  rowsize 164 cells 3 first 4 rect 96 34 330 -30 maxrows 300 page 0 control 0
  column  x 0 type code format 20 offset 0 heading HeadingItem
  column  x 160 type text format 60 offset ProductionVc.ItemName heading HeadingWorkText
  column  x 420 type amount3 offset ProductionVc.QtyUsed align right heading HeadingQuantity
}
window 284 {
  field   rect 20 110 37 260 type keycode format 20 offset PurchItemVc.ItemCode access always page 0 label "Item"
  field   rect 42 110 59 260 type keycode format 20 offset PurchItemVc.VendCode access always page 0 label "Vendor"
  field   rect 64 110 81 460 type text format 60 offset PurchItemVc.Text access always page 0 label "Text"
  field   rect 86 110 103 210 type amount offset PurchItemVc.Price access always align right page 0 label "Price"
  field   rect 108 110 125 460 type text format 60 offset PurchItemVc.VendName access always page 0 label "Name"
}
window 457 {
  field   rect 20 110 37 260 type keycode format 5 offset CodedTextVc.Code access always page 0 label "Code"
  field   rect 42 110 59 460 type text format 60 offset CodedTextVc.Text access always page 0 label "Text"
}
window 401 {
  field   rect 20 110 37 260 type text format 30 offset ReportParamsVc.ObjectSel access always page 0 label "Object"
  field   rect 42 110 59 260 type text format 5 offset ReportParamsVc.ObjectType access always page 0 label "Type"
  field   rect 64 110 81 260 type text format 31 offset ReportParamsVc.PeriodText access always page 0 label "Period"
}
)";

// The window-type entries the tests need where dict/ has none.
inline const char *const SmallWindowTypes[][2] = {
    {"197", "wintype 197 { kind record register PUVc recsize 236 rect 80 20 470 740 }"},
    {"426", "wintype 426 { kind record register StockMoveVc recsize 134 rect 80 20 470 740 }"},
    {"117", "wintype 117 { kind record register TRVc recsize 152 rect 80 20 470 740 }"},
    {"290", "wintype 290 { kind record register PurchOrderVc recsize 890 rect 80 20 470 740 }"},
    {"352", "wintype 352 { kind record register ORVc recsize 1096 rect 80 20 470 740 }"},
    {"367", "wintype 367 { kind record register StructureVc recsize 118 rect 80 20 470 740 }"},
    {"157", "wintype 157 { kind record register OPVc recsize 188 rect 80 20 470 740 }"},
    {"476", "wintype 476 { kind record register PersPayVc recsize 180 rect 80 20 470 740 }"},
    {"155", "wintype 155 { kind record register VIVc recsize 466 rect 80 20 470 740 }"},
    {"475", "wintype 475 { kind record register ExpenseVc recsize 202 rect 80 20 470 740 }"},
    {"122", "wintype 122 { kind record register ProductionVc recsize 196 rect 80 20 470 740 }"},
    {"284", "wintype 284 { kind record register PurchItemVc recsize 286 rect 80 20 470 740 }"},
    {"457", "wintype 457 { kind record register CodedTextVc recsize 68 rect 80 20 470 740 }"},
    {"401", "wintype 401 { kind reportparams register ReportParamsVc recsize 1238 rect 80 20 420 560 }"},
};

// True when a line of source starts with `start`. (Plain searches: a
// regular expression over the whole dictionary took half a minute a test
// in the sanitizer build.)
inline bool SmallWindowsHasLine(const std::string &source, const std::string &start)
{
    return source.rfind(start, 0) == 0 || source.find("\n" + start) != std::string::npos;
}

// Cuts the layout of window type `type` ("window N {" up to its closing
// line "}") out of source.
inline void SmallWindowsCutLayout(std::string *source, const char *type)
{
    const std::string open = std::string("window ") + type + " {";
    size_t at = source->rfind(open, 0) == 0 ? 0 : source->find("\n" + open);
    if (at == std::string::npos) return;
    if (at > 0) at++;   // keep the line end before it
    size_t close = source->find("\n}", at);
    if (close == std::string::npos) return;
    source->erase(at, close + 2 - at);
}

// The bytes of the interface file dict/ compiles with the layouts above
// in place of the shipped ones (empty, told on standard error, when it
// does not compile); compiled once per program.
inline const std::vector<uint8_t> &SmallWindowsInterface()
{
    static std::vector<uint8_t> bytes;
    if (!bytes.empty()) return bytes;
    std::vector<std::pair<std::string, std::string>> files;
    std::string all;
    std::filesystem::path dir = ORVEL_DICT_SOURCE_DIR;
    for (const auto &e : std::filesystem::directory_iterator(dir)) {
        if (e.path().extension() != ".dict") continue;
        std::ifstream in(e.path());
        std::stringstream text;
        text << in.rdbuf();
        std::string s = text.str();
        // A shipped layout of a test type goes: "window N {" up to its
        // closing line "}".
        for (const auto &t : SmallWindowTypes) SmallWindowsCutLayout(&s, t[0]);
        all += s;
        files.emplace_back(e.path().filename().string(), s);
    }
    std::string mine = SmallWindowsDict;
    for (const auto &t : SmallWindowTypes)
        if (!SmallWindowsHasLine(all, std::string("wintype ") + t[0] + " ")) mine += std::string(t[1]) + "\n";
    files.emplace_back("small_windows_test.dict", mine);
    InterfaceDefs defs;
    std::string header, error;
    std::vector<std::string> errors;
    if (!DictCompile(files, &defs, &header, &errors)) {
        std::fprintf(stderr, "small windows: %s\n", errors.empty() ? "refused" : errors.front().c_str());
        return bytes;
    }
    if (!InterfaceWrite(defs, &bytes, &error)) {
        std::fprintf(stderr, "small windows: %s\n", error.c_str());
        bytes.clear();
    }
    return bytes;
}

