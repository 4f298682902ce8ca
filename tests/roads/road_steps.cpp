// road_steps.cpp - steps that many roads walk alike: storing a record,
// opening a maintenance run, typing a voucher or an asset. Each is what a
// user does with keys and clicks; a road that walks a step differently
// (a template row, a balance row) types it itself.
#include "tests/roads/road_fixture.h"

#include <cstdio>
#include <cstdlib>

#include "core/msg_buffer.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/window_entries.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/list_windows.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

constexpr int FunctionList = 7, VoucherList = 118, Voucher = 117;
constexpr int DeprModel = 543, DeprModelList = 548, DeprRunSel = 539;
// The voucher window's columns: account, then debit and credit.
constexpr int ColAccount = 0, ColDebit = 3, ColCredit = 4, ColVat = 5;
// The asset window's depreciation rows: the start date, then the model.
constexpr int ColDeprStart = 0;
constexpr int VendorWindow = 2, VendorList = 3;
constexpr int BankFileSelection = 415;


}  // namespace

std::string RoadTest::SelectedListRowShown()
{
    int n = Active();
    if (!n || !ListHasSelection(n)) return "";
    return ListRowShown(n, ListSelAnchor(n));
}

void RoadTest::OkStores(const std::string &what)
{
    ClickOk();
    Check("OK stores the " + what, [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return TitleTells("viewing");
    });
}

std::shared_ptr<size_t> RoadTest::CountTold()
{
    auto told = std::make_shared<size_t>();
    Do("count what was told", [told] {
        *told = Messages().size();
        return true;
    });
    return told;
}

void RoadTest::OkStoresQuietly(const std::string &what)
{
    auto told = CountTold();
    ClickOk();
    Check("OK stores " + what, [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return TitleTells("viewing");
    });
}

std::shared_ptr<std::string> RoadTest::MakeOrderDelivery()
{
    Menu("Operations", "Delivery");
    auto delivery = std::make_shared<std::string>();
    Check("Operations > Delivery makes the order's delivery", [delivery] {
        EXPECT_EQ(ActiveType(), WinTypes::Delivery) << ActiveTitle();
        *delivery = Shown("Number");
        return ActiveType() == WinTypes::Delivery && !delivery->empty();
    });
    return delivery;
}

void RoadTest::ShipDelivery(std::shared_ptr<std::string> delivery)
{
    Menu("Window", "Close all");
    Menu("Module", "Stock");
    Menu("Registers", "Deliveries");
    Check("the delivery list opens", Opened(WinTypes::DeliveryList));
    FindRow("the delivery's number", delivery);
    auto told = CountTold();
    Menu("Operations", "Ship marked");
    Check("the delivery is shipped without a word", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        return Messages().size() == *told;
    });
    Menu("Window", "Close all");
    Menu("Module", "Sales");
}

void RoadTest::NewFromList(const std::string &list, int listType, int recordType)
{
    Menu("Window", "Close all");
    Menu("Registers", list);
    Check(list + " opens its list", Opened(listType));
    ClickButton("New");
    Check("New opens its window on a new record", [recordType] {
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        return Opened(recordType)();
    });
}

void RoadTest::TypeAndPostInvoice(const std::string &customer, const std::string &item, const std::string &quantity,
                                  const std::string &date)
{
    Menu("File", "Windows...");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    ClickButton("New");
    Check("a new invoice", [] { return ActiveType() == WinTypes::SalesInvoice; });
    ClickField("Customer");
    Type(customer);
    Key(PlKey::Tab);
    if (!date.empty()) {
        Retype("Invoice date", date);
        Key(PlKey::Tab);
    }
    ClickCell(0, 1);
    Type(item);
    Key(PlKey::Tab);
    Type(quantity);
    Key(PlKey::Tab);
    ClickButton("Posted");
    ClickOk();
}

void RoadTest::Retype(const std::string &label, const std::string &text)
{
    ClickField(label);
    Key(PlKey::End);
    Key(PlKey::Home, true);
    Type(text);
}

void RoadTest::TypeCell(int row, int column, const std::string &text)
{
    ClickCell(row, column);
    Key(PlKey::End);
    Key(PlKey::Home, true);
    Type(text);
}

void RoadTest::OpenMaintenanceRun(const std::string &title, int type)
{
    Menu("File", "Maintenance...");
    Check("the function list opens", Opened(FunctionList));
    ClickButton("Maintenance");
    ClickRow(title);
    Key(PlKey::Return);
    Check("the window of \"" + title + "\" opens", Opened(type));
}

void RoadTest::OpenPrintAndApprove(std::function<std::string()> range, const std::string &kind,
                                   const std::string &device)
{
    Menu("File", "Documents...");
    Check("File > Documents lists the runs", Opened(WinTypes::DocumentList));
    ClickRow("Print and approve invoices");
    Key(PlKey::Return);
    Check("the invoice run's window opens", Opened(WinTypes::InvoiceRunSel));
    ClickField("Invoice numbers");
    Type("the invoice numbers", std::move(range));
    ClickButton(kind);
    ClickButton(device);
}

void RoadTest::TypeVoucherRows(const std::string &text, const std::vector<VoucherRow> &rows)
{
    Menu("Module", "General ledger");
    Menu("Registers", "Vouchers");
    Check("the register popup opens the voucher list", Opened(VoucherList));
    ClickButton("New");
    Check("New opens a voucher", Opened(Voucher));
    ClickField("Text");
    Type(text);
    for (int i = 0; i < int(rows.size()); i++) {
        ClickCell(i, ColAccount);
        Type(rows[i].account);
        Key(PlKey::Tab);
        const bool debit = !rows[i].debit.empty();
        ClickCell(i, debit ? ColDebit : ColCredit);
        Type(debit ? rows[i].debit : rows[i].credit);
        Key(PlKey::Tab);
        if (rows[i].vat.empty()) continue;
        ClickCell(i, ColVat);
        Type(rows[i].vat);
        Key(PlKey::Tab);
    }
}

void RoadTest::TypeVoucherTemplate(const std::string &code, const std::string &name,
                                   const std::vector<std::vector<std::string>> &rows)
{
    NewFromList("Voucher templates", WinTypes::VoucherTemplateList, WinTypes::VoucherTemplates);
    ClickField("Code");
    Type(code);
    ClickField("Name");
    Type(name);
    for (size_t r = 0; r < rows.size(); r++)
        for (size_t c = 0; c < rows[r].size(); c++)
            if (!rows[r][c].empty()) TypeCell(int(r), int(c), rows[r][c]);
    OkStoresQuietly("template " + code);
}

// A settings window of rows opened from the Settings menu: its rows
// typed and OK, which stores them and closes it.
void RoadTest::SettingsRowsStored(const std::string &item, int type, const std::vector<std::vector<std::string>> &rows)
{
    Menu("Settings", item);
    Check(item + " opens empty", Opened(type));
    for (size_t r = 0; r < rows.size(); r++)
        for (size_t c = 0; c < rows[r].size(); c++)
            if (!rows[r][c].empty()) TypeCell(int(r), int(c), rows[r][c]);
    auto told = CountTold();
    ClickOk();
    Check(item + " stores its rows and closes", [type, told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        EXPECT_NE(ActiveType(), type) << ActiveTitle();
        return ActiveType() != type;
    });
    Menu("Window", "Close all");
}

// In the open account window: each account typed and stored, Ctrl+N
// between them.
void RoadTest::TypeAccounts(const std::vector<AccountInput> &accounts)
{
    for (size_t i = 0; i < accounts.size(); i++) {
        const AccountInput &a = accounts[i];
        if (i > 0) Key('N', false, true);
        ClickField("Number");
        Type(a.number);
        ClickField("Name");
        Type(a.name);
        if (!a.vat.empty()) {
            ClickField("VAT code");
            Type(a.vat);
        }
        ClickButton(a.kind);
        OkStoresQuietly("account " + a.number);
    }
}

// In the open row window of a statement: each row typed and stored.
void RoadTest::TypeStatementRows(const std::vector<StatementRowInput> &rows)
{
    for (size_t i = 0; i < rows.size(); i++) {
        const StatementRowInput &r = rows[i];
        if (i > 0) Key('N', false, true);
        Retype("Row", r.row);
        ClickField("Label");
        Type(r.label);
        if (!r.formula.empty()) {
            ClickField("Formula");
            Type(r.formula);
        }
        ClickButton(r.kind);
        ClickButton(r.sign);
        OkStoresQuietly("row " + r.row);
    }
}

std::shared_ptr<std::string> RoadTest::TypeVoucher(const std::string &text, const std::vector<VoucherRow> &rows)
{
    TypeVoucherRows(text, rows);
    OkStoresQuietly("voucher");
    auto date = std::make_shared<std::string>();
    Check("the voucher shows its date", [date] {
        *date = Shown("Date");
        return !date->empty();
    });
    Menu("Window", "Close all");
    return date;
}

void RoadTest::TypeAsset(const AssetInput &asset)
{
    ClickField("Code");
    Type(asset.code);
    ClickField("Name");
    Type(asset.name);
    ClickField("Group");
    Type(asset.group);
    ClickField("Acquired");
    Type(asset.acquired);
    ClickField("Value");
    Type(asset.value);
    ClickCell(0, ColDeprStart);
    Type(asset.acquired);
    Key(PlKey::Tab);
    Type(asset.model);
    Key(PlKey::Tab);
    OkStores("asset");
    Menu("Window", "Close all");
}

void RoadTest::TypeStraightLineModel(const std::string &code, const std::string &name, const std::string &rate)
{
    Menu("Module", "General ledger");
    Menu("Registers", "Depreciation models");
    Check("the model list opens", Opened(DeprModelList));
    ClickButton("New");
    Check("New opens the model window", Opened(DeprModel));
    ClickField("Code");
    Type(code);
    ClickField("Name");
    Type(name);
    ClickField("Rate %");
    Type(rate);
    ClickField("Decimals");
    Type("2");
    ClickButton("Straight line");
    OkStores("model");
}

void RoadTest::RunDepreciation(const std::string &from, const std::string &to)
{
    OpenMaintenanceRun("depreciation voucher", DeprRunSel);
    ClickField("From");
    // The window proposes a date: it is selected and typed over.
    Key(PlKey::End);
    Key(PlKey::Home, true);
    Type(from);
    ClickField("To");
    Type(to);
    ClickButton("OK");
}

void RoadTest::TypeVendor(const VendorInput &vendor)
{
    Menu("Module", "Purchasing");
    NewFromList("Vendors", VendorList, VendorWindow);
    // A field typed into where its text is given.
    auto typeIn = [this](const char *label, const std::string &text) {
        if (text.empty()) return;
        ClickField(label);
        Type(text);
    };
    Retype("Code", vendor.code);   // a new vendor proposes the code after the last
    typeIn("Name", vendor.name);
    ClickButton("Address");
    typeIn("Address", vendor.address);
    ClickButton("Terms");
    typeIn("Payment terms", vendor.payTerms);
    typeIn("Purchase account", vendor.purchAccount);
    ClickButton("Bank");
    typeIn("Bank giro", vendor.bankGiro);
    typeIn("Account number", vendor.accountNumber);
    OkStoresQuietly("vendor " + vendor.code);
    Menu("Window", "Close all");
}

void RoadTest::WriteBankPaymentFile(const std::filesystem::path &file, std::shared_ptr<std::string> payment)
{
    ChooseTextExport("Bank payment file", file, true);
    Check("the bank file's selection window opens", Opened(BankFileSelection));
    ClickField("Payments");
    Type("the payment's number", [payment] { return *payment + ":" + *payment; });
    auto told = CountTold();
    ClickOk();
    Check("the run says it wrote the payment", [file, told] {
        EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told("1 payment in " + file.string())) << ::testing::PrintToString(Messages());
        EXPECT_FALSE(Told("stay unsent")) << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");
}

void RoadTest::TypeFields(std::initializer_list<std::pair<const char *, const char *>> fields)
{
    for (const auto &[label, text] : fields) {
        ClickField(label);
        Type(text);
    }
}

void RoadTest::DateRefusedWhereTyped(const std::string &label, const std::string &typed, const std::string &named,
                                     const std::vector<LeaveWay> &ways)
{
    const std::string date = named.empty() ? typed : named;
    auto told = CountTold();
    auto type = std::make_shared<int>();
    Do("note the window", [type] {
        *type = ActiveType();
        return true;
    });
    // Each check expects one message more than the one before.
    auto refused = [=, this](const std::string &after) {
        Check(after + " leaves " + typed + " refused in " + label, [=] {
            EXPECT_EQ(Messages().size(), ++*told) << ::testing::PrintToString(Messages());
            EXPECT_TRUE(Told("This is not a date the program reads: " + date +
                             ". Dates are typed as day.month.year, for example 31.12."))
                << ::testing::PrintToString(Messages());
            EXPECT_EQ(ActiveType(), *type) << ActiveTitle();
            EXPECT_EQ(Shown(label), typed);
            EXPECT_EQ(FocusLabel(), label);
            return FocusLabel() == label;
        });
    };
    Retype(label, typed);
    Key(PlKey::Tab);
    refused("Tab");
    ClickOk();
    refused("OK");
    for (const auto &[what, leave] : ways) {
        leave();
        refused(what);
    }
}

std::string RoadTest::ListRowShown(int n, int32_t id)
{
    const int reg = WinRegisterOf(n);
    if (id <= 0 || reg == 0) return "";
    MemBlock h = 0;
    uint8_t *rec = RecBufferNew(reg, &h);
    std::string shown;
    MsgBuffer texts;
    if (rec && RecReadById(reg, uint32_t(id), rec) && RowFieldsToMsg(&texts, WinTypeOf(n), reg, rec)) {
        MsgRewind(&texts);
        PString text;
        while (MsgRemaining(&texts) > 0 && MsgGetPString(&texts, text)) {
            if (!shown.empty()) shown += " | ";
            shown += std::string(reinterpret_cast<const char *>(text + 1), text[0]);
        }
    }
    RecBufferFree(reg, &h);
    return shown;
}

std::string RoadTest::ListCellCut()
{
    const int n = Active(), reg = n ? WinRegisterOf(n) : 0;
    if (reg == 0) return "";
    MacRect pane;
    WinColumnRect(n, 0, &pane);
    PortScope port(n);
    SetTextStyle(n, 0, false);
    MemBlock h = 0;
    uint8_t *rec = RecBufferNew(reg, &h);
    std::string cut;
    for (int i = 0; rec && cut.empty() && i < ListRowCount(n); i++) {
        MsgBuffer texts;
        if (ListRowId(n, i) <= 0 || !RecReadById(reg, uint32_t(ListRowId(n, i)), rec) ||
            !RowFieldsToMsg(&texts, WinTypeOf(n), reg, rec))
            continue;
        MsgRewind(&texts);
        PString text;
        // Each column's cell as the list draws it: from 2 left of its x
        // to the gap before the next column, its text 1 into it.
        for (int c = 0; MsgRemaining(&texts) > 0 && MsgGetPString(&texts, text); c++) {
            const uint8_t *e = WinDefEntry(n, WinPartFieldList, c), *next = WinDefEntry(n, WinPartFieldList, c + 1);
            if (!e || !next) break;
            const int x = RectXResolve(&pane, int16_t(DefU16(e + ListColEntry::DataX)));
            const int end = RectXResolve(&pane, int16_t(DefU16(next + ListColEntry::DataX))) - 1 - ListColumnGap;
            if (PStringWidth(text) > end - x) {
                cut = "\"" + std::string(reinterpret_cast<const char *>(text + 1), text[0]) + "\" (row " + std::to_string(i) + ") needs " +
                      std::to_string(PStringWidth(text)) + " pixels, its column gives " + std::to_string(end - x);
                break;
            }
        }
    }
    RecBufferFree(reg, &h);
    return cut;
}

std::vector<std::string> RoadTest::ListRowsShown()
{
    std::vector<std::string> rows;
    const int n = Active();
    for (int i = 0; n && i < ListRowCount(n); i++)
        if (ListRowId(n, i) > 0) rows.push_back(ListRowShown(n, ListRowId(n, i)));
    return rows;
}

void RoadTest::KeepPicture(const std::string &name)
{
    Do("keep a picture of " + name, [this, name] {
        const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
        EXPECT_TRUE(!shots || SaveWindowPng(std::filesystem::path(shots) / (name + ".png")));
        return true;
    });
}

void RoadTest::OpenFromList(const std::string &code, int type)
{
    ClickField("Find");
    Type(code);
    Key(PlKey::Return);
    Key(PlKey::Return);
    Check(code + " opens as stored", [type] {
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return Opened(type)();
    });
}

void RoadTest::NewFromWindowList(const std::string &row, int listType, int recordType)
{
    Menu("File", "Windows...");
    Check("the window list opens", Opened(WinTypes::WindowList));
    ClickRow(row);
    Key(PlKey::Return);
    Check(row + " opens its list", Opened(listType));
    ClickButton("New");
    Check("New opens its window", Opened(recordType));
}

namespace {

// The digits of what a number field shows (its grouping left out).
std::string DigitsShown(const std::string &label)
{
    std::string digits;
    for (char c : RoadTest::Shown(label))
        if (c >= '0' && c <= '9') digits += c;
    return digits;
}

// The purchase invoice's rows: the account, then the debit amount.
constexpr int PurchaseRowAccount = 0, PurchaseRowDebit = 3;

}  // namespace

std::shared_ptr<std::string> RoadTest::TypeApprovedPurchaseInvoice(const std::string &vendor,
                                                                   const std::string &vendorInvoice,
                                                                   const std::string &account,
                                                                   const std::string &amount)
{
    Menu("Module", "Purchasing");
    Menu("Registers", "Purchase invoices");
    Check("the purchase-invoice list opens", Opened(WinTypes::PurchaseInvoiceList));
    ClickButton("New");
    Check("New opens a purchase invoice", Opened(WinTypes::PurchaseInvoice));
    ClickField("Vendor");
    Type(vendor);
    Key(PlKey::Tab);
    ClickField("Vendor's invoice");
    Type(vendorInvoice);
    ClickField("Total");
    Type(amount);
    Key(PlKey::Tab);
    TypeCell(0, PurchaseRowAccount, account);
    Key(PlKey::Tab);
    TypeCell(0, PurchaseRowDebit, amount);
    Key(PlKey::Tab);
    ClickButton("Approved");
    OkStoresQuietly("purchase invoice " + vendorInvoice);
    auto number = std::make_shared<std::string>();
    Check("the purchase invoice shows its number", [number] {
        *number = DigitsShown("Number");
        return !number->empty();
    });
    Menu("Window", "Close all");
    return number;
}

std::shared_ptr<std::string> RoadTest::TypeApprovedPayment(const std::string &mode, std::shared_ptr<std::string> invoice)
{
    Menu("Module", "Purchasing");
    Menu("Registers", "Outgoing payments");
    Check("the payment list opens", Opened(WinTypes::OutPaymentList));
    ClickButton("New");
    Check("New opens a payment", Opened(WinTypes::OutPayment));
    Retype("Payment mode", mode);
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("the purchase invoice's number", [invoice] { return *invoice; });
    Key(PlKey::Tab);
    ClickButton("Approved");
    OkStoresQuietly("the payment");
    auto number = std::make_shared<std::string>();
    Check("the payment shows its number", [number] {
        *number = DigitsShown("Number");
        return !number->empty();
    });
    Menu("Window", "Close all");
    return number;
}

void RoadTest::TypeCreditorsAccount(const std::string &account)
{
    Menu("Module", "Purchasing");
    Menu("Settings", "Purchase accounts...");
    Check("the purchase accounts open", Opened(WinTypes::SetPurchAccounts));
    Retype("Creditors", account);
    auto told = CountTold();
    ClickOk();
    Check("the purchase accounts are stored", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        return ActiveType() != WinTypes::SetPurchAccounts;
    });
    Menu("Window", "Close all");
}

namespace {

constexpr int WindowList = 12, PaymentSuggestionSel = 313;

}  // namespace

void RoadTest::TypeCompanyBankData()
{
    Menu("File", "Windows...");
    Check("the window list opens", Opened(WindowList));
    ClickRow("Company");
    Key(PlKey::Return);
    Check("the company window opens", Opened(WinTypes::Company));
    Retype("Company", "Orvel Road AS");
    Retype("Organisation no.", "98765-4321");
    Retype("Bank account", "4234567-85");
    Retype("Bank file format", "13");
    Retype("Enterprise no.", "NO 12345678901");
    KeepPicture("bank_company");
    auto told = CountTold();
    ClickOk();
    Check("OK stores the company's bank data", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");
}

void RoadTest::TypeCreditNoteTerms(const std::string &code)
{
    static constexpr uint16_t KindCreditNote = 3;
    Menu("Module", "Purchasing");
    NewFromList("Payment terms", WinTypes::PayTermsList, WinTypes::PayTerms);
    TypeFields({{"Code", code.c_str()}, {"Name", "Credit note"}, {"Days", "0"}});
    Do("click the kind of terms that makes credit notes", [] {
        int n = Active();
        for (int i = 0; n && i < WinDefCount(n, WinPartControls); i++) {
            const uint8_t *e = WinDefEntry(n, WinPartControls, i);
            if (!e || DefU16(e + ControlEntry::Offset) != PayTermsVc::Kind ||
                DefU16(e + ControlEntry::Value) != KindCreditNote)
                continue;
            MacRect r;
            WinFieldRect(n, i, &r);
            PlPoint p = WinClientToScreen(WinTable[n]->mdiChild, PlPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            MsgInputMouse(p, 0, false);
            MsgInputMouse(p, 1, true);
            MsgInputMouse(p, 1, false);
            return true;
        }
        ADD_FAILURE() << "no kind of terms that makes credit notes in \"" << ActiveTitle() << "\"";
        return false;
    });
    OkStoresQuietly("the credit-note terms");
    Menu("Window", "Close all");
}

void RoadTest::TypePaymentModeBankAccount(const std::string &account)
{
    Menu("Module", "Purchasing");
    SettingsRowsStored("Payment modes...", WinTypes::SetPaymentModes, {{"", "", "", account}});
}

std::shared_ptr<std::string> RoadTest::ApproveSuggestedPayment(const std::string &mode, std::function<bool()> rowCheck,
                                                               const char *shot)
{
    RunRoutine("Payment suggestion", PaymentSuggestionSel,
               {{"Due to", [] { return std::string("31.12.2099"); }},
                {"Payment date", [] {
                     char text[32];
                     std::snprintf(text, sizeof text, "%02d.%02d.%04d", TodayDate.day, TodayDate.month, TodayDate.year);
                     return std::string(text);
                 }},
                {"Payment mode", [mode] { return mode; }}},
               shot);
    Menu("Module", "Purchasing");
    Menu("Registers", "Outgoing payments");
    Check("the payment list opens", Opened(WinTypes::OutPaymentList));
    FindRow("the suggested payment", std::make_shared<std::string>(""));
    Key(PlKey::Return);
    auto payment = std::make_shared<std::string>();
    Check("the suggested payment opens", [payment, rowCheck] {
        EXPECT_EQ(ActiveType(), WinTypes::OutPayment) << ActiveTitle();
        if (ActiveType() != WinTypes::OutPayment || !rowCheck()) return false;
        *payment = DigitsShown("Number");
        return !payment->empty();
    });
    ClickButton("Approved");
    ClickButton("Posted");
    OkStoresQuietly("the approved payment");
    Menu("Window", "Close all");
    return payment;
}
