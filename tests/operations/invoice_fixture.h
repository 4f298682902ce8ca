// invoice_fixture.h - a company to invoice from, for the tests of the
// sales invoice's road (checks, posting, voucher, ledger, window, forms).
//
// StoreInvoiceCompany() lays down, on top of RulesFixture's fresh
// database: the company block (name and address), VAT accounts by zone,
// a cash payment mode "K", the sales accounts, interest settings, no
// printing on save, currencies EUR and USD, two-decimal rounding,
// posting of invoices from 1.1.2024, main location "MAIN", credit-limit
// warnings on invoices, VAT codes 1 (25 %), 2 (12 %) and 0 (0 %), the
// invoice number series 1..99999, fiscal year 2024, the accounts the
// voucher posts to, payment terms "30", an EUR rate of 1125 per 100, two
// item groups, three items (two stocked with 100 and 40 at "MAIN" in one
// FIFO layer each, one service), three customers and an invoice form
// "INVOICE" with its font, chosen for every invoice (block 140).
//
// Each piece is a small function of its own, so a test may lay down
// only what it needs or change one value after the rest. The rules'
// entries are installed by a test class that overrides InstallRules,
// the output layer's prints by one that overrides InstallPrints
// (tests/output/printing_fixture.h); the frame for tests that drive the
// windows is tests/shell/invoice_frame.h.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/ui_text.h"
#include "rules/print_services.h"
#include "tests/rules/rules_fixture.h"

// One item row of an invoice.
struct FixtureInvoiceRow {
    const char *item = "";
    double qty = 0;
    double price = 0;
    const char *vatCode = "1";
    const char *account = "3010";
    double unitCost = 0;
    uint16_t kind = 1;
    int32_t link = -1;   // order row, credited invoice; -1 none
};

// The head of an invoice; rows follow separately.
struct FixtureInvoice {
    int32_t serial = 1001;
    const char *customer = "C1";
    DateRec date{10, 6, 2024};
    uint16_t kind = 1;              // 1 ordinary, 2 cash, 3 credit note, 4 interest
    const char *currency = "";      // empty: home currency
    double rate = 0;                // per 100; 0 leaves it blank
    const char *terms = "30";
    uint16_t vatZone = 0;
    uint16_t inclVat = 0;
    uint16_t posted = 0;
    uint16_t updStock = 1;
    const char *location = "";
    uint32_t orderNr = 0xFFFFFFFFu;   // the invoice's order; all ones none
};

// Codes and numbers the company is laid down with.
namespace InvoiceCo {
constexpr const char *Receivables = "1510", *Cash = "1910", *Stock = "1460", *VatOut = "2610", *VatIn = "2640",
                     *Sales = "3010", *SalesEu = "3011", *SalesExport = "3012", *Rounding = "3740",
                     *Freight = "3520", *CostOfGoods = "4010";
constexpr const char *Location = "MAIN", *FormName = "INVOICE", *FontName = "NORMAL";
constexpr DateRec YearStart{1, 1, 2024}, YearEnd{31, 12, 2024};
}  // namespace InvoiceCo

class InvoiceFixture : public RulesFixture {
protected:
    // Fills the business layer's print table; the base leaves it empty,
    // so a print asked for is refused and told, as on a server.
    virtual void InstallPrints() {}

    void SetUp() override {
        RulesFixture::SetUp();
        InstallPrints();
    }
    void TearDown() override {
        PrintServices = PrintServicesRec{};
        RulesFixture::TearDown();
    }

    // The whole company of the header comment.
    void StoreInvoiceCompany() {
        StoreCompanyBlocks();
        StoreLedgerAccounts();
        StoreInvoiceMasters();
        StoreInvoiceForm();
    }

    // ---- Settings blocks ----

    void StoreCompanyBlocks() {
        std::vector<uint8_t> b(CompanyBlk::Size);
        PutText(b.data(), CompanyBlk::CompanyName, 60, "Orvel Test AB");
        PutText(b.data(), CompanyBlk::Address1, 60, "Storgatan 1");
        PutText(b.data(), CompanyBlk::Address2, 60, "111 22 Stockholm");
        PutText(b.data(), CompanyBlk::Telephone, 20, "08-123 45 67");
        PutText(b.data(), CompanyBlk::OrgNr, 30, "556000-0000");
        StoreBlock(CompanyBlk::Number, b.data(), CompanyBlk::Size);

        AddRow(VatAccountsBlk::Number, VatAccountsBlk::Rows::Size, [&](uint8_t *r) {
            PutText(r, VatAccountsBlk::Rows::VatCode, 2, "1");
            PutText(r, VatAccountsBlk::Rows::AccOther, 10, InvoiceCo::VatOut);
            PutText(r, VatAccountsBlk::Rows::AccZone1, 10, InvoiceCo::VatOut);
            PutText(r, VatAccountsBlk::Rows::AccZone2, 10, InvoiceCo::VatOut);
        });
        AddRow(PaymentModeBlk::Number, PaymentModeBlk::Rows::Size, [&](uint8_t *r) {
            PutText(r, PaymentModeBlk::Rows::Code, 1, "K");
            PutText(r, PaymentModeBlk::Rows::Account, 10, InvoiceCo::Cash);
            PutText(r, PaymentModeBlk::Rows::Name, 60, "Cash");
        });

        std::vector<uint8_t> s(SalesAccountsBlk::Size);
        uint8_t *a = s.data();
        PutText(a, SalesAccountsBlk::ARAcc, 10, InvoiceCo::Receivables);
        PutText(a, SalesAccountsBlk::RoundingAcc, 10, InvoiceCo::Rounding);
        PutText(a, SalesAccountsBlk::CashAcc, 10, InvoiceCo::Cash);
        PutText(a, SalesAccountsBlk::StockAcc, 10, InvoiceCo::Stock);
        PutText(a, SalesAccountsBlk::CostOfGoodsAcc, 10, InvoiceCo::CostOfGoods);
        PutText(a, SalesAccountsBlk::SalesAcc0, 10, InvoiceCo::Sales);
        PutText(a, SalesAccountsBlk::SalesAcc1, 10, InvoiceCo::SalesEu);
        PutText(a, SalesAccountsBlk::SalesAcc2, 10, InvoiceCo::SalesExport);
        PutText(a, SalesAccountsBlk::VatCode0, 2, "1");
        PutText(a, SalesAccountsBlk::VatCode1, 2, "0");
        PutText(a, SalesAccountsBlk::VatCode2, 2, "0");
        PutU16(a, SalesAccountsBlk::UpdateStock, 1);
        PutU16(a, SalesAccountsBlk::CreditNoteUpdateStock, 1);
        StoreBlock(SalesAccountsBlk::Number, a, SalesAccountsBlk::Size);

        std::vector<uint8_t> interest(InterestBlk::Size);
        PutDec(interest.data(), InterestBlk::Rate, Dec(8));
        StoreBlock(InterestBlk::Number, interest.data(), InterestBlk::Size);

        std::vector<uint8_t> print(PrintOnSaveBlk::Size);
        StoreBlock(PrintOnSaveBlk::Number, print.data(), PrintOnSaveBlk::Size);

        for (const char *code : {"EUR", "USD"})
            AddRow(CurrencyBlk::Number, CurrencyBlk::Rows::Size, [&](uint8_t *r) {
                PutText(r, CurrencyBlk::Rows::Code, 5, code);
                PutText(r, CurrencyBlk::Rows::Name, 60, code);
                PutU16(r, CurrencyBlk::Rows::Decimals, 2);
            });

        std::vector<uint8_t> round(RoundOffBlk::Size);
        PutU16(round.data(), RoundOffBlk::TotalDecimals, 2);
        PutU16(round.data(), RoundOffBlk::VatDecimals, 2);
        StoreBlock(RoundOffBlk::Number, round.data(), RoundOffBlk::Size);

        std::vector<uint8_t> posting(PostingBlk::Size);
        PutU16(posting.data(), PostingBlk::PostInvoices, 1);
        PutDate(posting.data(), PostingBlk::InvoiceStart, InvoiceCo::YearStart);
        StoreBlock(PostingBlk::Number, posting.data(), PostingBlk::Size);

        std::vector<uint8_t> stock(MainStockBlk::Size);
        PutText(stock.data(), MainStockBlk::MainLocation, 10, InvoiceCo::Location);
        StoreBlock(MainStockBlk::Number, stock.data(), MainStockBlk::Size);

        std::vector<uint8_t> credit(CreditLimitBlk::Size);
        PutU16(credit.data(), CreditLimitBlk::InvoiceCheck, 1);
        StoreBlock(CreditLimitBlk::Number, credit.data(), CreditLimitBlk::Size);

        AddVatCode("1", 25, -1, InvoiceCo::VatOut, InvoiceCo::VatIn);
        AddVatCode("2", 12, -1, InvoiceCo::VatOut, InvoiceCo::VatIn);
        AddVatCode("0", 0, -1, "", "");
        AddSeriesRow(InvSeriesBlk::Number, 1, 99999);
        AddFiscalYear(1, "2024", InvoiceCo::YearStart, InvoiceCo::YearEnd);
    }

    // ---- Accounts ----

    void StoreLedgerAccounts() {
        struct Acc {
            const char *code, *name;
            uint16_t kind;
        };
        for (const Acc &a : {Acc{InvoiceCo::Receivables, "Receivables", 1}, Acc{InvoiceCo::Cash, "Cash", 1},
                             Acc{InvoiceCo::Stock, "Stock", 1}, Acc{InvoiceCo::VatOut, "Output VAT", 2},
                             Acc{InvoiceCo::VatIn, "Input VAT", 1}, Acc{InvoiceCo::Sales, "Sales", 3},
                             Acc{InvoiceCo::SalesEu, "Sales EU", 3}, Acc{InvoiceCo::SalesExport, "Sales export", 3},
                             Acc{InvoiceCo::Rounding, "Rounding", 3}, Acc{InvoiceCo::Freight, "Freight", 3},
                             Acc{InvoiceCo::CostOfGoods, "Cost of goods", 4}})
            StoreAccount(a.code, a.name, a.kind);
    }

    // ---- Groups, items, stock, customers, terms, rates ----

    void StoreItemGroup(const char *code, uint16_t costMethod, const char *vatCode) {
        StoreRecord(ITVc::Number, [&](uint8_t *r) {
            PutText(r, ITVc::Code, 5, code);
            PutText(r, ITVc::Name, 60, code);
            PutText(r, ITVc::COGSAcc, 10, InvoiceCo::CostOfGoods);
            PutText(r, ITVc::StockAcc, 10, InvoiceCo::Stock);
            PutText(r, ITVc::SalesAcc, 10, InvoiceCo::Sales);
            PutU16(r, ITVc::CostMethod, costMethod);
            PutText(r, ITVc::VatCode, 2, vatCode);
            PutText(r, ITVc::VatCodeZ1, 2, "0");
            PutText(r, ITVc::VatCodeZ2, 2, "0");
        });
    }

    // A customer with its name and address (its letters cp1252, as the
    // defaults and a window store them), terms "30" and a credit limit.
    uint32_t StoreInvoiceCustomer(const char *code, const char *name, const char *currency = "",
                                  uint16_t vatZone = 0, double limit = 10000) {
        return StoreRecord(CUVc::Number, [&](uint8_t *r) {
            PutText(r, CUVc::Code, 20, code);
            PutText(r, CUVc::Name, 60, name);
            PutText(r, CUVc::Addr1, 60, "Kundv\xE4gen 2");
            PutText(r, CUVc::Addr2, 60, "222 33 Malm\xF6");
            PutText(r, CUVc::PayTerms, 2, "30");
            PutText(r, CUVc::CurncyCode, 5, currency);
            PutU16(r, CUVc::VatZone, vatZone);
            PutDec(r, CUVc::CreditLimit, Dec(limit));
            PutU16(r, CUVc::OnAccount, 1);
        });
    }

    void StoreInvoiceMasters() {
        StoreItemGroup("G1", 1, "1");
        StoreItemGroup("G2", 1, "2");
        StoreItem("ITEM1", {.group = "G1", .price = 100, .cost = 60, .vatCode = "1", .name = "Blue widget"});
        StoreItem("ITEM2", {.group = "G1", .price = 50, .cost = 20, .vatCode = "1", .name = "Red widget"});
        StoreItem("SERVICE", {.group = "G2", .price = 700, .stocked = 0, .vatCode = "2", .name = "Installation"});
        StoreLocation(InvoiceCo::Location, InvoiceCo::Stock);
        StoreStock("ITEM1", InvoiceCo::Location, 100);
        StoreStock("ITEM2", InvoiceCo::Location, 40);
        StoreFifoLayer("ITEM1", InvoiceCo::Location, DateRec{1, 2, 2024}, 100, 4, 1);
        StoreFifoLayer("ITEM2", InvoiceCo::Location, DateRec{1, 2, 2024}, 40, 4, 2);
        StoreInvoiceCustomer("C1", "First Customer");
        StoreInvoiceCustomer("C2", "Euro Customer", "EUR", 1);
        StoreInvoiceCustomer("C3", "Small Customer", "", 0, 100);
        StoreTerms("30", 0, 30);
        StoreRate("EUR", InvoiceCo::YearStart, 1125);
    }

    // ---- The form ----

    // One item of a form definition.
    static void AddFormItem(uint8_t *form, uint16_t kind, double left, double top, double right, double bottom,
                            const char *font, const char *text, int16_t code = 0, int16_t pitch = 0) {
        uint8_t row[DocVc::Rows::Size] = {};
        PutU16(row, DocVc::Rows::Kind, kind);
        PutDec(row, DocVc::Rows::Left, Dec(left));
        PutDec(row, DocVc::Rows::Top, Dec(top));
        PutDec(row, DocVc::Rows::Right, Dec(right));
        PutDec(row, DocVc::Rows::Bottom, Dec(bottom));
        PutText(row, DocVc::Rows::Font, 20, font);
        PutText(row, DocVc::Rows::Text, 100, text);
        PutU16(row, DocVc::Rows::RowPitch, (uint16_t)pitch);
        PutU16(row, DocVc::Rows::FieldCode, (uint16_t)code);
        ASSERT_TRUE(MatrixRowPut(DocVc::Number, 0, form, MatrixRowCount(DocVc::Number, 0, form), row));
    }

    // The form "INVOICE": a title, a line, the company name (55), the
    // page text (64), and per row (pitch 5) the item code (8), quantity
    // (13) and row sum (18); its font; block 140 chooses it for every
    // invoice on the first pass.
    uint32_t StoreInvoiceForm() {
        StoreRecord(FontVc::Number, [&](uint8_t *r) {
            PutText(r, FontVc::Name, 20, InvoiceCo::FontName);
            PutText(r, FontVc::WinFontName, 20, "Liberation Serif");
            PutU16(r, FontVc::WinSize, 10);
        });
        uint32_t id = StoreRecord(DocVc::Number, [&](uint8_t *r) {
            PutText(r, DocVc::Code, 20, InvoiceCo::FormName);
            PutU16(r, DocVc::Copies, 1);
            AddFormItem(r, 1, 10, 10, 100, 15, InvoiceCo::FontName, "Invoice");
            AddFormItem(r, 2, 10, 18, 200, 18, "1", "");
            AddFormItem(r, 4, 10, 22, 100, 27, InvoiceCo::FontName, "", 55);
            AddFormItem(r, 4, 150, 22, 200, 27, InvoiceCo::FontName, "", 64);
            AddFormItem(r, 4, 10, 40, 60, 45, InvoiceCo::FontName, "", 8, 5);
            AddFormItem(r, 4, 70, 40, 100, 45, InvoiceCo::FontName, "", 13, 5);
            AddFormItem(r, 4, 150, 40, 200, 45, InvoiceCo::FontName, "", 18, 5);
        });
        AddRow(InvoiceFormBlk::Number, InvoiceFormBlk::Rows::Size, [&](uint8_t *r) {
            PutI32(r, InvoiceFormBlk::Rows::SeriesStart, -1);
            PutText(r, InvoiceFormBlk::Rows::FormName, 20, InvoiceCo::FormName);
            PutI32(r, InvoiceFormBlk::Rows::CopyPass, -1);
        });
        return id;
    }

    // ---- Invoices ----

    // Fills the head of an invoice record (its rows are left alone).
    static void FillInvoice(uint8_t *r, const FixtureInvoice &f) {
        PutText(r, IVVc::CustCode, 20, f.customer);
        PutI32(r, IVVc::SerNr, f.serial);
        PutU32(r, IVVc::OrderNr, f.orderNr);
        PutDate(r, IVVc::InvDate, f.date);
        PutDate(r, IVVc::TransDate, f.date);
        PutText(r, IVVc::Addr0, 60, f.customer);
        PutU16(r, IVVc::InvType, f.kind);
        PutText(r, IVVc::CurncyCode, 5, f.currency);
        PackedDecimal rate = Dec(f.rate);
        if (f.rate == 0) DecSetBlank(&rate);
        PutDec(r, IVVc::Rate, rate);
        PutText(r, IVVc::PayTerms, 2, f.terms);
        PutU16(r, IVVc::VatZone, f.vatZone);
        PutU16(r, IVVc::InclVat, f.inclVat);
        PutU16(r, IVVc::Posted, f.posted);
        PutU16(r, IVVc::UpdStock, f.updStock);
        PutText(r, IVVc::Location, 10, f.location);
        PutI32(r, IVVc::CredInv, -1);
        PutI32(r, IVVc::CashDiscDays, -1);
    }

    // Appends one row to an invoice record; its sum is qty x price.
    static void AddInvoiceRow(uint8_t *r, const FixtureInvoiceRow &x) {
        uint8_t row[IVVc::Rows::Size] = {};
        PutU16(row, IVVc::Rows::Kind, x.kind);
        PutText(row, IVVc::Rows::ItemCode, 20, x.item);
        PutText(row, IVVc::Rows::Text, 100, x.item);
        PutDec(row, IVVc::Rows::Quantity, Dec(x.qty));
        PutDec(row, IVVc::Rows::Price, Dec(x.price));
        PutDec(row, IVVc::Rows::Sum, Dec(x.qty * x.price));
        PutText(row, IVVc::Rows::SalesAcc, 10, x.account);
        PutText(row, IVVc::Rows::VatCode, 2, x.vatCode);
        PutDec(row, IVVc::Rows::UnitCost, Dec(x.unitCost));
        PutI32(row, IVVc::Rows::Link, x.link);
        ASSERT_TRUE(MatrixRowPut(IVVc::Number, 0, r, MatrixRowCount(IVVc::Number, 0, r), row));
    }

    // Stores an invoice with rows through the record layer (the installed
    // rules run); its record id, 0 when it was refused.
    uint32_t StoreInvoice(const FixtureInvoice &f, std::initializer_list<FixtureInvoiceRow> rows) {
        RuleRecord r(IVVc::Number);
        EXPECT_NE(r.record, nullptr);
        if (!r.record) return 0;
        FillInvoice(r.record, f);
        for (const FixtureInvoiceRow &x : rows) AddInvoiceRow(r.record, x);
        uint32_t recid = 0;
        if (!RecStoreByKey(IVVc::Number, r.record, 1, &recid)) return 0;
        return recid;
    }

    // ---- Reading what was stored ----

    // An amount as a double; blank reads as 0.
    static double Num(const uint8_t *base, uint32_t at) {
        PackedDecimal d = GetDec(base, at);
        return DecIsBlank(&d) ? 0 : DecToDouble(&d);
    }
    // The stored voucher (yearCode, serial) into v; false when none.
    static bool StoredVoucher(uint16_t yearCode, uint32_t serial, RuleRecord &v) {
        PutU16(v.record, Voucher::YearCode, yearCode);
        PutU32(v.record, Voucher::SerNr, serial);
        uint32_t recid = 0, position = 0;
        return RecFind(Voucher::Number, v.record, 2, 1, &recid, &position);
    }
    // The sum of the voucher's account rows on account (all rows: "").
    static double VoucherSum(const uint8_t *v, const char *account = "") {
        double sum = 0;
        uint8_t row[TransRow::Size];
        for (int32_t i = 0; i < MatrixRowCount(Voucher::Number, 0, v); i++) {
            if (!MatrixRowRead(Voucher::Number, v, i, row) || GetU16(row, TransRow::Kind) != 1) continue;
            if (account[0] != 0 && Text(row, TransRow::Account) != account) continue;
            sum += Num(row, TransRow::Amount);
        }
        return sum;
    }

    // ---- Checking what was said and changing one setting ----

    // The interface text n.
    static std::string UiText(int n) {
        char text[256];
        GetUiTextC(text, n);
        return text;
    }
    // True when text n was shown at any time since shown was cleared.
    static bool WasShown(int n) {
        const std::string text = UiText(n);
        for (const std::string &s : shown)
            if (s == text) return true;
        return false;
    }
    // Reads the stored settings block, lets change alter it and stores it.
    template <typename Change>
    void ChangeBlock(int block, uint32_t size, Change change) {
        std::vector<uint8_t> b(size);
        ASSERT_TRUE(SettingsBlockRead(block, b.data(), size));
        change(b.data());
        StoreBlock(block, b.data(), size);
    }
};

// The fixture with the whole invoice company laid down before each test.
class InvoiceCompanyFixture : public InvoiceFixture {
protected:
    void SetUp() override {
        InvoiceFixture::SetUp();
        if (!HasFatalFailure()) StoreInvoiceCompany();
    }
};
