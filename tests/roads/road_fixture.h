// road_fixture.h - the fixture of the road tests: the whole program
// started as main starts it (OrvelStart over the headless back end, in a
// scratch working folder, with the built interface file and DEFAULT.TXT
// found beside the executable) and walked by a user's input only.
//
// A road is a list of steps built before the run. The program runs
// OrvelStart; each time its queue is idle (everything the last input led to
// is done and painted) the next step runs: it posts keys, typed text or
// clicks on things found by their labels, queues the answers of message
// boxes and dialogs, or reads what the program shows. A step that cannot
// do its part (the menu item is not there, the field is not in the
// active window) fails the test with the reason and ends the road; the
// program is then left as a user leaves it, by File > Exit. After the run
// the test opens the company file through the record layer to check what
// was stored.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class RoadTest : public ::testing::Test {
protected:
    std::filesystem::path build;   // where the built QVENG.WIN and DEFAULT.TXT lie
    std::filesystem::path dir;     // the scratch working folder

    void SetUp() override;
    void TearDown() override;

public:   // the steps' lambdas use these too

    // ---- building the road: each call adds steps -------------------------
    // A step of the test's own: true to go on, false (after saying why
    // with a test failure) to end the road.
    void Do(const std::string &what, std::function<bool()> act);
    // Reads and checks what the program shows now (EXPECT_* inside); the
    // road goes on unless the check returns false.
    void Check(const std::string &what, std::function<bool()> check) { Do(what, std::move(check)); }
    // A key pressed and released (Shift, Ctrl held as asked).
    void Key(uint32_t vkey, bool shift = false, bool ctrl = false);
    // Characters typed into whatever has the focus.
    void Type(const std::string &text);
    // The same with the text made when the step runs: for what an earlier
    // step read from the program (a number the program gave).
    void Type(const std::string &what, std::function<std::string()> text);
    // In a list window: a click on "Find", the key an earlier step read
    // (a number the program gave) typed, and Return, which selects the
    // row it finds; a second Return opens it.
    void FindRow(const std::string &what, std::shared_ptr<std::string> key);
    // A click on the menu bar's item `bar` and then on `item` of its
    // popup, both by their labels without "&" and key text.
    void Menu(const std::string &bar, const std::string &item);
    // A click on data field `label` (the nth of that label) of the active
    // window; the field must be on a shown page.
    void ClickField(const std::string &label, int nth = 0);
    // A click on the control (push button, tab, check box, radio button)
    // labelled `label` in the active window, else on the top bar's push
    // button or the bottom bar's entry of that label.
    void ClickButton(const std::string &label);
    // A click on the top bar's OK button.
    void ClickOk() { ClickButton("OK"); }
    // A click on the first row of the active window's list box whose
    // text holds `text` (letters in either case).
    void ClickRow(const std::string &text);
    // A click on cell `column` of matrix row `row` (from 0) of the active
    // window, on its column page shown now.
    void ClickCell(int row, int column);
    // A click on the number of matrix row `row` (from 0) where it is
    // painted, which selects the row as a row.
    void ClickRowNumber(int row);
    // Answers queued for the services the next steps call.
    void AnswerBox(int result);
    void AnswerFile(const std::string &path);
    void AnswerPrint(bool ok, int copies = 1);
    // File > Maintenance, the function list's exports to a text file: the
    // row holding `row` (End or Home scrolls the list to its end or start
    // first), written to `file` once its selection, if any, is given.
    void ChooseTextExport(const std::string &row, const std::filesystem::path &file, bool atEnd = false);
    // File > Maintenance, the function list's batch routine `title`: its
    // selection window (type `type`) with each (field label, text made when
    // the step runs) typed, a picture of it kept as `shot` in the folder
    // ORVEL_ROAD_SHOTS names (when set), and OK; the road fails when the
    // routine shows a message box, or when its status line then does not
    // begin with `says` (a routine that counts what it did says so there).
    void RunRoutine(const std::string &title, int type,
                    std::vector<std::pair<std::string, std::function<std::string()>>> fields, const char *shot,
                    const std::string &says = "");
    // File > Maintenance, the function list's text import of `file`; the
    // road fails when the program tells that something was not imported.
    // Closes every window afterwards.
    void ImportTextFile(const std::filesystem::path &file);
    // In the open invoice or order window: the customer typed, one row of
    // item and quantity (the item in column itemColumn of the first row),
    // OK; the number the stored document shows is in the result once that
    // step ran, and the road fails when none shows.
    std::shared_ptr<std::string> TypeOneRowDocument(const std::string &customer, int itemColumn,
                                                    const std::string &item, const std::string &qty);
    // Ctrl+R, the report's row, Return: the road fails unless its
    // selection window (type sel) opens; every window closed afterwards.
    void ReportWindowOpens(const std::string &report, int sel);
    // The report of row `report` in the report list (Ctrl+R) run through
    // its selection window (type sel, filled by `select`) to the preview,
    // then with Ctrl+P to the printer's PDF, whose text the result holds
    // once that step ran. With ORVEL_ROAD_SHOTS set: pictures of the
    // selection and the preview and a copy of the PDF, named from `shot`.
    // `inPreview`, when given, walks the preview before it is closed.
    std::shared_ptr<std::string> ReportToPreviewAndPdf(const std::string &report, int sel,
                                                       std::function<void()> select, const std::string &shot,
                                                       std::function<void()> inPreview = {});
    // Drags the thumb of the active window's vertical scroll bar to the
    // bottom of its track (road_preview_steps.cpp); the road fails when
    // the window has no such bar or its thumb cannot be dragged.
    void DragScrollBarToEnd();

    // ---- steps many roads share (road_steps.cpp) ----------------------
    // OK in the active record window: the road fails unless the record is
    // stored without a message (the title then says "viewing").
    void OkStores(const std::string &what);
    // The same for a road that was told something earlier on purpose: the
    // road fails unless OK stores the record and tells nothing more.
    void OkStoresQuietly(const std::string &what);
    // A step that counts the message boxes shown so far; the count is in
    // the result once that step ran.
    std::shared_ptr<size_t> CountTold();
    // In the open order window: Operations > Delivery makes the order's
    // delivery and opens it; its number is in the result once that step
    // ran, and the road fails when none shows.
    std::shared_ptr<std::string> MakeOrderDelivery();
    // Every window closed, Stock's Registers > Deliveries finds `delivery`
    // and Operations > Ship marked ships it without a word; every window
    // is closed and Sales chosen again.
    void ShipDelivery(std::shared_ptr<std::string> delivery);
    // The two above, one after the other.
    void DeliverAndShipOrder() { ShipDelivery(MakeOrderDelivery()); }
    // Registers > `list` (every window closed first) opens list window
    // `listType`, whose New opens record window `recordType` on a new
    // record; the road fails otherwise.
    void NewFromList(const std::string &list, int listType, int recordType);
    // File > Windows... > "Sales invoices", New, the customer (and, when
    // given, the invoice date) and one row of `quantity` units of `item`
    // typed, Posted and OK: the invoice is posted as a user posts it in
    // its window. The road checks the result.
    void TypeAndPostInvoice(const std::string &customer, const std::string &item, const std::string &quantity,
                            const std::string &date = "");
    // What data field `label` of the active window holds replaced by
    // `text`: a click on it, End and Shift+Home select it, and the text
    // typed over.
    void Retype(const std::string &label, const std::string &text);
    // The same for cell (row, column) of the active window's rows.
    void TypeCell(int row, int column, const std::string &text);
    // File > Maintenance, the Maintenance button, the run of row `title`
    // and Return: the road fails unless its window (type `type`) opens.
    void OpenMaintenanceRun(const std::string &title, int type);
    // File > Documents..., the row "Print and approve invoices" and Return
    // (the road fails unless its window opens), the invoice numbers
    // `range` makes when the step runs typed, the kind of invoices `kind`
    // ticked (the window opens with none) and the device `device` chosen;
    // OK is left to the road.
    void OpenPrintAndApprove(std::function<std::string()> range, const std::string &kind,
                             const std::string &device);
    // A voucher row as typed: the account and its amount in the debit or
    // the credit column (the other left empty).
    struct VoucherRow {
        std::string account, debit, credit;
        std::string vat = {};   // typed into the row's VAT cell when given
    };
    // General ledger > Registers > Vouchers, New, the text and each row
    // typed; the voucher is left open, not stored.
    void TypeVoucherRows(const std::string &text, const std::vector<VoucherRow> &rows);
    // The same, then OK: the road fails unless the voucher is stored without a
    // message. The date the stored voucher shows is in the result once
    // that step ran. Every window is closed afterwards.
    std::shared_ptr<std::string> TypeVoucher(const std::string &text, const std::vector<VoucherRow> &rows);
    // An account of a chart as typed: number, name, the kind's button,
    // the VAT code it carries (empty: none).
    struct AccountInput {
        std::string number, name, kind, vat;
    };
    // In the open account window: each account typed and stored, Ctrl+N
    // between them; the road fails unless each is stored quietly.
    void TypeAccounts(const std::vector<AccountInput> &accounts);
    // A statement row as typed in its window: its number, label, formula,
    // and the buttons of its kind and its sign.
    struct StatementRowInput {
        std::string row, label, formula, kind, sign;
    };
    // In the open row window of a statement: each row typed and stored.
    void TypeStatementRows(const std::vector<StatementRowInput> &rows);
    // In the General ledger module: Registers > Voucher templates, New,
    // the template's code, name and row cells (account, text, name,
    // debit, credit, VAT code; empty cells left alone) typed and stored.
    void TypeVoucherTemplate(const std::string &code, const std::string &name,
                             const std::vector<std::vector<std::string>> &rows);
    // A settings window of rows opened from the Settings menu of the
    // module shown: its rows typed (empty cells left alone) and OK, which
    // must store them quietly and close it. Every window is closed
    // afterwards.
    void SettingsRowsStored(const std::string &item, int type, const std::vector<std::vector<std::string>> &rows);
    // An asset as typed into the asset window: its one depreciation row
    // starts on the acquisition date with depreciation model `model`.
    struct AssetInput {
        std::string code, name, group, acquired, value, model;
    };
    // In the open asset window: the asset typed and OK; the road fails
    // unless it is stored without a message. Every window is closed
    // afterwards.
    void TypeAsset(const AssetInput &asset);
    // General ledger > Registers > Depreciation models, New: a straight-
    // line model typed and stored (the window stays open).
    void TypeStraightLineModel(const std::string &code, const std::string &name, const std::string &rate);
    // File > Maintenance, the depreciation-voucher run over from..to (the
    // date the window proposes typed over) and OK; what it said is for
    // the road to check.
    void RunDepreciation(const std::string &from, const std::string &to);
    // A vendor as typed into the vendor window: its code, name, first
    // address line, payment terms, purchase account, bank giro and the
    // account number the payment rows carry (any may be empty and is then
    // left as the new vendor has it).
    struct VendorInput {
        std::string code, name, address, payTerms, purchAccount, bankGiro, accountNumber = "";
    };
    // Purchasing > Registers > Vendors, New, the vendor typed on its
    // pages and OK; the road fails unless it is stored without a message.
    // Every window is closed afterwards.
    void TypeVendor(const VendorInput &vendor);
    // The creditors account of the purchase accounts typed in its settings
    // window of the Purchasing module, stored quietly; every window closed.
    void TypeCreditorsAccount(const std::string &account);
    // Each (field label, text) typed into its field of the active window.
    void TypeFields(std::initializer_list<std::pair<const char *, const char *>> fields);
    // `typed` typed over date field `label` of the active window, then Tab,
    // then OK, then each of `ways` (another way to leave the field, such
    // as a page tab, with what it is called): each is refused with how
    // dates are typed, naming `told` (the date refused; empty: `typed`),
    // and leaves the window where it was with the cursor on the field and
    // `typed` in it.
    using LeaveWay = std::pair<std::string, std::function<void()>>;
    void DateRefusedWhereTyped(const std::string &label, const std::string &typed, const std::string &told = {},
                               const std::vector<LeaveWay> &ways = {});
    // File > Windows..., the row `row` and Return: the road fails unless
    // list window `listType` opens, whose New must open record window
    // `recordType`.
    void NewFromWindowList(const std::string &row, int listType, int recordType);
    // In the list now active: the code typed into Find, Return to its row
    // and Return again to open it in record window `type`; the road fails
    // unless it opens as stored.
    void OpenFromList(const std::string &code, int type);
    // File > Maintenance, the export list's bank payment file written to
    // `file` for the one payment whose number an earlier step read into
    // `payment`: the road fails unless the selection window opens and the
    // run tells, and only tells, that it wrote that payment.
    void WriteBankPaymentFile(const std::filesystem::path &file, std::shared_ptr<std::string> payment);
    // File > Windows..., Company: the company's name, organisation number,
    // bank account, the LM bank-file format (13) and the enterprise
    // number typed over the demo's; OK must store them quietly. Every
    // window is closed afterwards.
    void TypeCompanyBankData();
    // Purchasing > Registers > Payment terms, New: terms `code` ("Credit
    // note", 0 days) of the kind that makes an invoice on them a credit
    // note (its button found by the kind it stores, whatever its label),
    // stored quietly. Every window is closed afterwards; the Purchasing
    // module stays chosen.
    void TypeCreditNoteTerms(const std::string &code);
    // Purchasing > Settings > Payment modes: the first mode's (B's) bank
    // account typed; OK must store it quietly and close the window. Every
    // window is closed afterwards.
    void TypePaymentModeBankAccount(const std::string &account);
    // File > Maintenance, the payment suggestion of every item due up to
    // 31.12.2099, paid today by payment mode `mode`; then Purchasing >
    // Registers > Outgoing payments, the first payment opened, `rowCheck`
    // run on its window (false ends the road), and the payment approved,
    // posted and stored quietly. Its number is in the result once that
    // step ran. Every window is closed afterwards.
    std::shared_ptr<std::string> ApproveSuggestedPayment(const std::string &mode, std::function<bool()> rowCheck,
                                                         const char *shot);
    // A picture of the active window kept as `name`.png in the folder
    // ORVEL_ROAD_SHOTS names, when it is set.
    void KeepPicture(const std::string &name);

    // The start of a road: the Open dialog that WinMain shows answered
    // with a new company `name` in the working folder (DEFAULT.TXT is
    // imported into it), and the login as ADMIN with the password orvel
    // typed into the login window. Returns the company's path.
    std::string StartNewCompany(const std::string &name = "demo.VDB");
    // The login window answered: ADMIN with the password orvel.
    void LogInAsAdmin();

    // Runs the program until the road ends; the exit code of OrvelStart. The
    // test fails when the program ended before the last step ran.
    int Run(const std::string &commandLine = "");

    // ---- reading what the program shows (inside steps) ----------------
    // A check that the active window is of this type (its title told when
    // it is not).
    static std::function<bool()> Opened(int type);
    // The number of the active window (its MDI child active), 0 none;
    // its type and its title.
    static int Active();
    static int ActiveType();
    static std::string ActiveTitle();
    // Whether the active window's title holds `text` (the edit state it
    // tells: "viewing", "new record"), letters in either case.
    static bool TitleTells(const std::string &text);
    // The text data field `label` (the nth) of the active window shows:
    // the edit control's text while it is being edited. *found false when
    // there is no such field.
    static std::string Shown(const std::string &label, int nth = 0, bool *found = nullptr);
    // The text the data field standing right of field `label` on its line
    // (the nearest one) shows; "(nothing beside)" when none stands there.
    static std::string ShownBeside(const std::string &label);
    // The text the cell of row `row` under the column headed `heading`
    // shows in the active window's rows; "(no such cell)" when the rows
    // have no such column or row.
    static std::string CellUnder(const std::string &heading, int row);
    // Whether that cell shows its text whole: it fits the cell in the face
    // the cell is drawn in (false without such a cell).
    static bool CellShownWhole(const std::string &heading, int row);
    // Where a vertical rule the active window draws over its content (a
    // preview's page edge) runs through a text, as painted; "" when none
    // does.
    static std::string VerticalRuleThroughText();
    // The texts of the active preview that show whole in its content as
    // painted now: inside the content, clear of the marks at its bottom,
    // with ink where they stand (road_preview_steps.cpp).
    static std::vector<std::string> PreviewTextsShown();
    // The first two texts of a line of the active preview that touch as
    // painted (no blank's room between them), as "first | second"; "" when
    // none do (road_preview_steps.cpp).
    static std::string PreviewTextsTouch();
    // The label of a data field of the active window that its open edit
    // control covers (an edit grown over it); "" when it covers none.
    static std::string EditCoversLabel();
    // The label of the focused data field of the active window; "cell"
    // for a matrix cell, "" when no field has the focus.
    static std::string FocusLabel();
    // Whether item `position` of the popup `menu` open now lies wholly on
    // the screen and inside the frame, where a click reaches it.
    static bool MenuItemOnScreen(uint32_t menu, int position);
    // Whether item `item` of the menu bar's `bar` is grey now, as the user
    // sees it when he opens the menu (a failure when there is no such item).
    static bool MenuItemGreyed(const std::string &bar, const std::string &item);
    // The texts the active list window shows for its selected row, column
    // by column as it paints them, joined by " | "; "" without a selection.
    static std::string SelectedListRowShown();
    // The rows of the active window's list box.
    static std::vector<std::string> ListRows();
    // The texts list window n shows for record `id` of its register,
    // column by column as it paints them, joined by " | "; "" when it
    // cannot be read.
    static std::string ListRowShown(int n, int32_t id);
    // The same for every row the active list window shows.
    static std::vector<std::string> ListRowsShown();
    // The first text the active list window cuts at the end of its
    // column, with its row and the room it lacks; "" when every text of
    // the rows shown fits its column (the last column runs to the edge).
    static std::string ListCellCut();
    // The company name the top bar shows (empty without a company).
    static std::string CompanyShown();
    // Texts of the message boxes shown since the start, in order.
    static std::vector<std::string> Messages();
    // Whether a message box's text held `text`.
    static bool Told(const std::string &text);
    // The files of folder `sub` of the working folder, by name. Their
    // times say nothing of their order: two files written in one tick of
    // the clock carry the same time.
    std::vector<std::filesystem::path> FilesIn(const std::string &sub) const;
    // The files of folder `sub` that are not among `before` (an earlier
    // FilesIn): what was written since, by name.
    std::vector<std::filesystem::path> NewFilesIn(const std::string &sub,
                                                  const std::vector<std::filesystem::path> &before) const;
    // The one PDF of `pdfs` whose text holds `text`: a run that writes
    // several is read by what each holds. The test fails (and the result
    // is empty) when none or more than one does.
    static std::filesystem::path FileHolding(const std::vector<std::filesystem::path> &pdfs, const std::string &text);
    // The text pdftotext reads from a PDF (its layout kept); the test
    // fails where a word of its pages overlaps or runs into another
    // (road_page_layout.h).
    static std::string PdfText(const std::filesystem::path &pdf);
    // Saves the active window's MDI child (or the frame) as a PNG.
    bool SaveWindowPng(const std::filesystem::path &png, bool frame = false);

    // ---- after the run: the company file through the record layer -------
    // Opens the company without a login; false when it does not open.
    bool OpenForCheck(const std::string &company);
    void CloseForCheck();
    // Reads the record of register `reg` whose text field at `offset`
    // (length m) equals `code`, by the register's first index; false when
    // there is none.
    static bool FindByCode(int reg, uint32_t offset, int m, const std::string &code, std::vector<uint8_t> *record);
    // The text of a PString field of a record.
    static std::string TextAt(const uint8_t *record, uint32_t offset);
    // The amount of a decimal field of a record; 0 for a blank one.
    static double AmountAt(const uint8_t *record, uint32_t offset);
    // Every voucher of the company file balances (a failure names the one
    // that does not); the sum per account of their account rows, and their
    // count in *vouchers.
    static std::map<std::string, double> VoucherSums(uint32_t *vouchers);
    // The company file open for a check holds one outgoing payment,
    // approved, posted and sent, of `total`, and no vendor open item.
    static void ExpectOnePaymentPaidOut(double total);
    // The rows of table settings block `block` as stored bytes; none when
    // the block is empty.
    static std::vector<uint8_t> StoredRows(int block);
    // The company file's only record of register reg and its rows, as
    // stored; an empty head when the file holds none or more than one.
    struct StoredRecord {
        std::vector<uint8_t> head;
        std::vector<std::vector<uint8_t>> rows;
    };
    static StoredRecord OnlyRecord(int reg);
    // The same of the sales invoices.
    using StoredInvoice = StoredRecord;
    static StoredInvoice OnlyInvoice();

    // The road's state: the steps, the next to run, where it stopped.
    struct RoadStep {
        std::string what;
        std::function<bool()> act;
    };
    std::vector<RoadStep> steps;
    size_t next = 0;
    bool stopped = false;
    int endIdles = 0;
    long idleCalls = 0;
    bool Idle();

    // Purchasing > Registers > Purchase invoices, New: vendor `vendor`'s
    // invoice `vendorInvoice` for `amount`, its one row debiting `account`
    // the same, approved; the road fails unless OK stores it quietly. The
    // number it shows (its digits) is in the result once that step ran.
    // Every window is closed afterwards.
    std::shared_ptr<std::string> TypeApprovedPurchaseInvoice(const std::string &vendor, const std::string &vendorInvoice,
                                                             const std::string &account, const std::string &amount);
    // Purchasing > Registers > Outgoing payments, New: payment mode
    // `mode`, one row paying the purchase invoice numbered *invoice (read
    // when the step runs), approved; the road fails unless OK stores it
    // quietly. Its number is in the result once that step ran. Every
    // window is closed afterwards.
    std::shared_ptr<std::string> TypeApprovedPayment(const std::string &mode, std::shared_ptr<std::string> invoice);
};
