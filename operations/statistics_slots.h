// statistics_slots.h - the amounts a month of each statistics register
// holds: how many slots its period block has a month and what each slot
// is, as the ledgers write them and the reports, inquiries and exports
// read them.
#pragma once

// The customer statistics (register CSVc), per customer: written by an
// invoice entering the customer ledger and by a receipt.
namespace CustomerStatSlot {
constexpr int Count = 5;
constexpr int HomeSales = 0;     // net sales (VAT-free net included), home currency
constexpr int Invoiced = 1;      // invoice totals, the invoice's currency
constexpr int Paid = 2;          // paid: cash invoices and receipts, the invoice's currency
constexpr int Cost = 3;          // cost of the items sold, home currency
constexpr int HomeBalance = 4;   // owed: invoice totals less receipts, home currency (a cash invoice owes nothing)
}  // namespace CustomerStatSlot

// The item statistics (register ISVc), per item, and the same per
// customer and item (CustItemStatVc): written by an invoice's rows.
namespace ItemStatSlot {
constexpr int Count = 3;
constexpr int Quantity = 0;
constexpr int Sales = 1;   // home currency
constexpr int Cost = 2;    // home currency
}  // namespace ItemStatSlot

// The vendor balances (register VBVc), per vendor: written by a purchase
// invoice and by an outgoing payment.
namespace VendorStatSlot {
constexpr int Count = 4;
constexpr int Invoiced = 0;      // invoice totals, the invoice's currency
constexpr int HomeNet = 1;       // invoice net amounts, home currency
constexpr int PaidNegated = 2;   // payments as negative amounts, the invoice's currency
constexpr int HomeBalance = 3;   // invoice totals less payments, home currency
}  // namespace VendorStatSlot
