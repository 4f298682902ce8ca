// layout_test.cpp - the layout of every window type in the built
// interface file, as the program starts and opens it headless: each
// window opens inside the frame's work area with its title bar below the
// top bar; each field, control, pane, matrix, list box, box, text, label
// and heading stands inside its window's client area with a rectangle
// that is not turned over; nothing overlaps on the pages shown together;
// and every button's label fits it. Positions come from the shell's own
// layout code over a window the program really opened, and a measurement
// of the window system's rectangles holds that code to what is shown.
//
// The windows the user looks at most are also saved as PNG beside the
// tests (layout_*.png) to be looked at.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/choice_lists.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/msg_buffer.h"
#include "core/language_file.h"
#include "core/window_entries.h"
#include "database/access/register_hooks.h"
#include "database/access/remote_calls.h"
#include "database/engine/engine.h"
#include "rules/invoice_kind.h"
#include "rules/payment_kinds.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "rules/rules_types.h"
#include "features/program_start.h"
#include "shell/draw_port.h"
#include "shell/window_drawing.h"
#include "shell/window_layout.h"
#include "tests/shell/shell_fixture.h"

namespace {

// The least room between a matrix heading's end and the next heading.
constexpr int HeadingGap = 4;

// A thing drawn in a window, by name, at its resolved rectangle.
struct Element {
    std::string name;
    MacRect r;
    bool box = false;   // a group box: others stand inside it or clear of it
    int part = -1;      // a part of a matrix (>= 0) may lie over the matrix itself
    bool label = false; // a field's label: it keeps LabelGap pixels from what it does not belong to
};

// The least room between a field's label and another element: text that
// touches a check box or a field above it reads as one line.
constexpr int LabelGap = 2;

std::string RectText(const MacRect &r)
{
    std::ostringstream s;
    s << "(top " << r.top << ", left " << r.left << ", bottom " << r.bottom << ", right " << r.right << ")";
    return s.str();
}

std::string Quoted(const uint8_t *label) { return "\"" + PStringToStd(label) + "\""; }

bool Proper(const MacRect &r) { return r.left < r.right && r.top < r.bottom; }
bool Inside(const MacRect &in, const MacRect &out)
{
    return in.left >= out.left && in.top >= out.top && in.right <= out.right && in.bottom <= out.bottom;
}
bool Overlap(const MacRect &a, const MacRect &b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The type's name for messages: its number, name text and title.
std::string TypeName(int type)
{
    PString name, title;
    GetUiText(name, WinTypeWord(type, 20));
    GetUiText(title, WinTypeWord(type, 10));
    std::string s = "window type " + std::to_string(type);
    if (name[0]) s += " " + PStringToStd(name);
    if (title[0]) s += " " + Quoted(title);
    return s;
}

// The stored rectangle at p (four i16: top, left, bottom, right).
MacRect Stored(const uint8_t *p)
{
    return MacRect{int16_t(DefU16(p)), int16_t(DefU16(p + 2)), int16_t(DefU16(p + 4)), int16_t(DefU16(p + 6))};
}

// The type's default rectangle (words 3 to 6), the form OpenWindow takes.
MacRect TypeRect(int type)
{
    return MacRect{int16_t(WinTypeWord(type, 3)), int16_t(WinTypeWord(type, 4)), int16_t(WinTypeWord(type, 5)),
                   int16_t(WinTypeWord(type, 6))};
}

class Layout : public ShellFixture {
protected:
    std::vector<std::string> faults;   // every rule broken, one line each
    std::set<std::string> said;        // a fault seen on several pages is told once
    MacRect work{};                    // the MDI client's client area
    bool kindCompany = false;          // KindInvoicesStored made its company

    // Starts the program's instance as main does, headless: the features
    // installed, the interface file found and loaded, the frame at the desktop's size,
    // shown maximised, with its bars and MDI client.
    void SetUp() override
    {
        ShellFixture::SetUp();
        UseCompanyFolder();
        if (HasFatalFailure()) return;
        LangFileSetDirectories({home.string()});
        ToolbarMetricsInit();
        StartOptions o;
        std::string why;
        ProgramInstall();
        ASSERT_TRUE(InitInstance(o, &why)) << why;
        ASSERT_TRUE(MdiClientWindow && TopBarWindow);
        PlRect c = WinClientRect(MdiClientWindow);
        RectFromWin(&c, &work);
    }
    void TearDown() override
    {
        if (FrameWindow && WinIsWindow(FrameWindow)) WinDestroy(FrameWindow);
        if (D4IsOpen()) D4Close();
        RegisterHooksClear();   // the start installed the rules
        LangFileSetDirectories({});
        ShellFixture::TearDown();
    }

    void Fault(const std::string &where, const std::string &what)
    {
        std::string line = where + ": " + what;
        if (said.insert(line).second) faults.push_back(line);
    }

    // The rule on a stored rectangle, resolved on its area by the
    // element's rule: left < right and top < bottom.
    void StoredProper(const std::string &where, ResolveRule rule, const uint8_t *stored, const MacRect &area)
    {
        StoredProper(where, rule, Stored(stored), area);
    }
    void StoredProper(const std::string &where, ResolveRule rule, MacRect s, const MacRect &area)
    {
        MacRect r;
        RectResolveBy(rule, &s, &area, &r);
        if (!Proper(r)) Fault(where, "its rectangle is turned over, stored " + RectText(s));
    }

    // The label width of a push button or tab in the bold face the
    // current tab shows, of a check box or radio button in the normal.
    static int LabelWidth(int n, const uint8_t *label, bool bold)
    {
        PortScope port(n);
        if (bold)
            UseSemiboldFont(n);
        else
            UseRegularFont(n);
        return PStringWidth(label);
    }

    // The widest value a list column of a field type commonly shows; empty
    // for texts and codes, whose cells cut what does not fit.
    static const char *ListSample(int type)
    {
        switch (type) {
        case FtDate: return "88.88.8888";
        case FtLong: case FtLongOrEmpty: return "8888888";
        case FtAmount2: case FtAmount1: case FtAmount0: case FtAmount3: case FtAmount3Drop: case FtDebit:
        case FtCredit: return "888888,88";
        default: return "";
        }
    }

    // A scratch company holding a sales invoice of every kind (numbered
    // by its kind, from 0) and a purchase invoice of every kind (1 to 3),
    // each of the widest common total, for the lists whose words name the
    // kind of the invoice an entry came from. Stored as the records are,
    // without the rules' checks. False when it cannot be made.
    bool KindInvoicesStored()
    {
        if (kindCompany) return true;
        if (D4Create("layout_kinds.VDB", 0) != D4OpenOk) return false;
        const auto hooks = RegisterHookTable;
        RegisterHooksClear();
        PackedDecimal total;
        DecFromThousandths(&total, 888888880);
        bool stored = true;
        uint32_t id = 0;
        for (uint16_t kind = 0; kind <= uint16_t(InvoiceKind::Interest); kind++) {
            std::vector<uint8_t> invoice(RegRecordSize(IVVc::Number));
            PutU32(invoice.data(), IVVc::SerNr, kind);
            PutU16(invoice.data(), IVVc::InvType, kind);
            PutDec(invoice.data(), IVVc::Total, total);
            stored = stored && RecInsertUnchecked(IVVc::Number, invoice.data(), &id);
            if (kind < uint16_t(InvoiceKind::Ordinary) || kind > uint16_t(InvoiceKind::CreditNote)) continue;
            std::vector<uint8_t> purchase(RegRecordSize(VIVc::Number));
            PutU32(purchase.data(), VIVc::SerNr, kind);
            PutU16(purchase.data(), VIVc::InvType, kind);
            PutDec(purchase.data(), VIVc::InvAmount, total);
            stored = stored && RecInsertUnchecked(VIVc::Number, purchase.data(), &id);
        }
        RegisterHookTable = hooks;
        kindCompany = stored;
        return stored;
    }

    // Records holding the widest values the columns a list window fills
    // itself (type 28) commonly show, by window type: in the voucher list
    // a voucher of every fixed series numbered with seven digits; in the
    // sales-invoice list an invoice of every kind (a credit note's total
    // shows with its minus) of the widest common total; in the customer
    // transactions and the vendor ledger an entry of a payment and one of
    // an invoice of every kind (KindInvoicesStored). None for other types.
    std::vector<std::vector<uint8_t>> WidestRecords(int type)
    {
        std::vector<std::vector<uint8_t>> records;
        if (type == WinTypes::VoucherList) {
            for (uint16_t code = YearCodeFixedFirst; code <= YearCodeFixedLast; code++) {
                std::vector<uint8_t> voucher(RegRecordSize(TRVc::Number));
                PutU16(voucher.data(), TRVc::YearCode, code);
                PutU32(voucher.data(), TRVc::SerNr, 8888888);
                records.push_back(std::move(voucher));
            }
        } else if (type == WinTypes::SalesInvoiceList) {
            PackedDecimal total;
            DecFromThousandths(&total, 888888880);
            for (uint16_t kind = 0; kind < 10; kind++) {
                std::vector<uint8_t> invoice(RegRecordSize(IVVc::Number));
                PutU16(invoice.data(), IVVc::InvType, kind);
                PutDec(invoice.data(), IVVc::Total, total);
                records.push_back(std::move(invoice));
            }
        } else if ((type == WinTypes::CustTransList || type == WinTypes::VendLedgerList) && KindInvoicesStored()) {
            PackedDecimal total;
            DecFromThousandths(&total, 888888880);
            const bool sales = type == WinTypes::CustTransList;
            const int reg = sales ? CustTransVc::Number : VLVc::Number;
            for (uint16_t serial = 0; serial <= uint16_t(InvoiceKind::Interest) + 1; serial++) {
                std::vector<uint8_t> entry(RegRecordSize(reg));
                // The last is a payment's entry, the others an invoice's.
                const LedgerEntryKind kind = serial > uint16_t(InvoiceKind::Interest) ? LedgerEntryKind::Payment
                                                                                       : LedgerEntryKind::Invoice;
                if (sales) {
                    PutU16(entry.data(), CustTransVc::Kind, uint16_t(kind));
                    PutU32(entry.data(), CustTransVc::DocNr, serial);
                    PutDec(entry.data(), CustTransVc::Amount, total);
                } else {
                    PutU16(entry.data(), VLVc::Kind, uint16_t(kind));
                    PutU32(entry.data(), VLVc::DocSerNr, serial);
                }
                records.push_back(std::move(entry));
            }
        }
        return records;
    }

    // The widest text list column i of n shows for those records, made by
    // the routine the list draws its rows with; "" when it has none.
    std::string WidestOwnText(int n, int i)
    {
        std::string widest;
        int widestWidth = -1;
        for (const std::vector<uint8_t> &record : WidestRecords(WinTypeOf(n))) {
            MsgBuffer texts;
            if (!RowFieldsToMsg(&texts, WinTypeOf(n), WinRegisterOf(n), record.data())) continue;
            MsgRewind(&texts);
            PString text;
            for (int c = 0; c <= i; c++)
                if (!MsgGetPString(&texts, text)) text[0] = 0;
            if (const int w = LabelWidth(n, text, false); w > widestWidth) {
                widestWidth = w;
                widest = PStringToStd(text);
            }
        }
        return widest;
    }

    // The widest word of choice list `list` in n's face: a kind's name a
    // column or cell of the list shows; "" for a list without words.
    static std::string WidestChoiceWord(int n, int list)
    {
        std::string widest;
        int widestWidth = -1;
        PString word;
        uint16_t value = 0;
        for (int i = 0; ChoiceTextAt(list, i, word, &value); i++) {
            if (const int w = LabelWidth(n, word, false); w > widestWidth) {
                widestWidth = w;
                widest = PStringToStd(word);
            }
        }
        return widest;
    }

    // The rule on list column i of n: its cell, which ends the gap short
    // of the next column, holds the column's widest common value (the
    // widest word of a choice column's list).
    void ListColumnRoom(int n, int i, const std::string &name)
    {
        const uint8_t *e = WinDefEntry(n, WinPartFieldList, i);
        const uint8_t *next = WinDefEntry(n, WinPartFieldList, i + 1);
        const int type = DefU16(e + ListColEntry::Type);
        const std::string own = type == FtSpare28 ? WidestOwnText(n, i)
                                : type == FtChoice ? WidestChoiceWord(n, int16_t(DefU16(e + ListColEntry::Format)))
                                                   : "";
        const char *sample = own.empty() ? ListSample(type) : own.c_str();
        if (!next || !sample[0]) return;
        MacRect pane;
        WinColumnRect(n, 0, &pane);
        int x = RectXResolve(&pane, int16_t(DefU16(e + ListColEntry::DataX)));
        int nextX = RectXResolve(&pane, int16_t(DefU16(next + ListColEntry::DataX)));
        PString text;
        PStringFromC(text, sample);
        int room = nextX - x - ListColumnGap, need = LabelWidth(n, text, false);
        if (need > room)
            Fault(name, "its values (" + std::string(sample) + ", " + std::to_string(need) + " pixels) need more room than the " +
                            std::to_string(room) + " pixels before the next column");
    }

    // The rule on the headings of n's matrix: each, drawn from two pixels
    // into its column, ends before the next column starts (the last before
    // the matrix's edge), so that no heading runs into its neighbour's.
    void MatrixHeadingRoom(int n, const std::string &where)
    {
        MacRect area;
        if (WinDefCount(n, WinPartMatrixAreas) == 0) return;
        MatrixColumnRect(n, 0, &area);
        const int columns = MatrixCellCount(n, 1);
        for (int c = 0; c < columns; c++) {
            const uint8_t *column = MatrixColumnAt(n, 1, c);
            MacRect cell, next;
            if (!column || !MatrixCellRect(n, 1, &cell, 0, c)) break;
            int end = c + 1 < columns && MatrixCellRect(n, 1, &next, 0, c + 1) ? next.left : area.right;
            PString heading;
            GetUiText(heading, DefU16(column + ColumnEntry::Heading));
            if (!heading[0]) continue;
            int need = LabelWidth(n, heading, false), room = end - cell.left - 2 - HeadingGap;
            if (need > room)
                Fault(where + ": matrix heading " + std::to_string(c) + " " + Quoted(heading),
                      "runs into the next column: it needs " + std::to_string(need) + " pixels, the column gives " +
                          std::to_string(room));
        }
    }

    // The widest value a matrix cell of a field type commonly shows: a
    // document's number, a date, a row's quantity, price or sum; empty for
    // texts and codes.
    static const char *CellSample(int type)
    {
        switch (type) {
        case FtAmount2: case FtAmount1: case FtAmount0: case FtAmount3: case FtAmount3Drop: case FtDebit:
        case FtCredit: return "8888,88";
        default: return ListSample(type);
        }
    }

    // The rule on the cells of n's matrix: a cell of a number column
    // (row kinds 1 to 9, on the column page shown) holds the column's
    // widest common value, so no digit is cut at its left or right edge,
    // and a cell of a choice column the widest word of its list.
    void MatrixCellRoom(int n, const std::string &where)
    {
        for (int kind = 1; kind <= 9; kind++) {
            for (int c = 0; c < MatrixCellCount(n, kind); c++) {
                const uint8_t *column = MatrixColumnAt(n, kind, c);
                MacRect cell;
                if (!column || !MatrixCellRect(n, kind, &cell, 0, c)) break;
                const int type = DefU16(column + ColumnEntry::Type);
                const std::string word =
                    type == FtChoice ? WidestChoiceWord(n, int16_t(DefU16(column + ColumnEntry::Format))) : "";
                const char *sample = word.empty() ? CellSample(type) : word.c_str();
                if (!sample[0]) continue;
                PString text, heading;
                PStringFromC(text, sample);
                GetUiText(heading, DefU16(column + ColumnEntry::Heading));
                int need = LabelWidth(n, text, false), room = cell.right - cell.left - 1;
                if (need > room)
                    Fault(where + ": matrix cell " + std::to_string(c) + " of row kind " + std::to_string(kind) + " " +
                              Quoted(heading),
                          "cuts its values (" + std::string(sample) + ", " + std::to_string(need) +
                              " pixels) to the " + std::to_string(room) + " pixels of the cell");
            }
        }
    }

    // The elements of n on the pages shown now, with the faults of their
    // stored rectangles and of the button labels that do not fit.
    std::vector<Element> ShownElements(int n, const std::string &where)
    {
        std::vector<Element> out;
        MacRect area, r;
        for (int i = 0; const uint8_t *e = WinDefEntry(n, WinPartDataFields, i); i++) {
            int page = DefU16(e + FieldEntry::Page);
            if (!WinPageShown(n, page)) continue;
            const uint8_t *label = e + FieldEntry::Label;
            std::string name = where + ": field " + std::to_string(i) + " " + Quoted(label);
            WinPageRect(n, page, &area);
            if (WinTypeOf(n) != 21) StoredProper(name, ResolveRule::FieldX, e + FieldEntry::Rect, area);
            WinBindingRect(n, e, &r);
            out.push_back({name, r});
            if (label[0]) {
                int w = LabelWidth(n, label, false);
                out.push_back(
                    {name + "'s label", MacRect{r.top, int16_t(r.left - 6 - w), r.bottom, int16_t(r.left - 6)}, false, -1, true});
            }
        }
        for (int i = 0; const uint8_t *e = WinDefEntry(n, WinPartStaticTexts, i); i++) {
            int page = DefU16(e + TextEntry::Page);
            const uint8_t *label = e + TextEntry::Label;
            if (!WinPageShown(n, page) || !label[0]) continue;
            WinPageRect(n, page, &area);
            int w = LabelWidth(n, label, false);
            int x = RectXResolve(&area, int16_t(DefU16(e + TextEntry::X)));
            int y = RectYResolve(&area, int16_t(DefU16(e + TextEntry::Y)));
            if (DefU16(e + TextEntry::Align) == 1) x -= w;
            out.push_back({where + ": text " + std::to_string(i) + " " + Quoted(label),
                           MacRect{int16_t(y - 12), int16_t(x), int16_t(y + 4), int16_t(x + w)}});
        }
        for (int i = 0; i < ControlSlotCount; i++) {
            const uint8_t *e = WinControlByIndex(n, i);
            if (!e) break;
            int page = DefU16(e + ControlEntry::Page);
            if (!WinPageShown(n, page)) continue;
            const uint8_t *label = e + ControlEntry::Label;
            std::string name = where + ": control " + std::to_string(i) + " " + Quoted(label);
            WinPageRect(n, page, &area);
            StoredProper(name, ResolveRule::Control, e + ControlEntry::Rect, area);
            WinFieldRect(n, i, &r);
            out.push_back({name, r});
            int kind = DefU16(e + ControlEntry::Kind), room = r.right - r.left;
            if (kind == CtlCheck || kind == CtlRadio) {
                if (19 + LabelWidth(n, label, false) > room) Fault(name, "its label does not fit beside its box");
            } else if (kind != CtlScroll && label[0]) {
                if (LabelWidth(n, label, true) + 8 > room) Fault(name, "its label does not fit on it");
            }
        }
        for (int i = 0; const uint8_t *e = WinDefEntry(n, WinPartMatrixAreas, i); i++) {
            int page = DefU16(e + MatrixEntry::Page);
            if (!WinPageShown(n, page)) continue;
            std::string name = where + ": matrix " + std::to_string(i);
            WinPageRect(n, page, &area);
            StoredProper(name, ResolveRule::FieldX, e + MatrixEntry::Rect, area);
            MatrixColumnRect(n, i, &r);
            out.push_back({name, r, false, i});
            // The column headings stand on the 16 pixels above the area;
            // the row numbers end at the right of the number cell, which
            // may lie left of the area: room for the highest row's.
            out.push_back({name + "'s headings", MacRect{int16_t(r.top - 16), r.left, r.top, r.right}});
            MatrixHeadingRoom(n, name);
            MatrixCellRoom(n, name);
            MacRect number;
            if (MatrixCellRect(n, 1, &number, 0, -1)) {
                PString highest;
                PStringFromC(highest, std::to_string(DefU16(e + MatrixEntry::MaxRows)).c_str());
                int right = number.right + 1;
                out.push_back({name + "'s row numbers",
                               MacRect{r.top, int16_t(right - LabelWidth(n, highest, false)), r.bottom, int16_t(right)},
                               false, i});
            }
        }
        MacRect client;
        WindowClientRect(n, &client);
        for (int i = 0; const uint8_t *e = WinDefEntry(n, WinPartListPanes, i); i++) {
            std::string name = where + ": list pane " + std::to_string(i);
            StoredProper(name, ResolveRule::FieldX, e + PaneEntry::Rect, client);
            WinColumnRect(n, i, &r);
            out.push_back({name, r});
        }
        for (int i = 0; const uint8_t *e = WinDefEntry(n, WinPartFieldList, i); i++) {
            ListColumnHeadRect(n, i, &r);
            const std::string name =
                where + ": heading of list column " + std::to_string(i) + " " + Quoted(e + ListColEntry::Label);
            out.push_back({name, r});
            ListColumnRoom(n, i, name);
        }
        for (int i = 0; const uint8_t *e = WinDefEntry(n, WinPartBoxes, i); i++) {
            int page = DefU16(e + BoxEntry::Page);
            if (!WinPageShown(n, page)) continue;
            std::string name = where + ": box " + std::to_string(i) + " " + Quoted(e + BoxEntry::Label);
            WinPageRect(n, page, &area);
            StoredProper(name, ResolveRule::Plain, e + BoxEntry::Rect, area);
            MacRect s = Stored(e + BoxEntry::Rect);
            RectResolveBy(ResolveRule::Plain, &s, &area, &r);
            out.push_back({name, r, true});
        }
        if (WinListBoxRect(n, &r)) {
            int type = WinTypeOf(n);
            MacRect stored{int16_t(WinTypeWord(type, 11)), int16_t(WinTypeWord(type, 12)),
                           int16_t(WinTypeWord(type, 13)), int16_t(WinTypeWord(type, 14))};
            StoredProper(where + ": list box", ResolveRule::ListBox, stored, client);
            out.push_back({where + ": list box", r});
        }
        return out;
    }

    // The rules over the elements shown together.
    void CheckShown(int n, const std::string &where)
    {
        MacRect client;
        WindowClientRect(n, &client);
        std::vector<Element> shown = ShownElements(n, where);
        for (size_t i = 0; i < shown.size(); i++) {
            const Element &a = shown[i];
            if (!Proper(a.r)) {
                Fault(a.name, "its rectangle is turned over " + RectText(a.r));
                continue;
            }
            if (!Inside(a.r, client))
                Fault(a.name, "lies outside the window's client area " + RectText(client) + " at " + RectText(a.r));
            for (size_t j = i + 1; j < shown.size(); j++) {
                const Element &b = shown[j];
                if (!Proper(b.r)) continue;
                // A label's own field stands right of it: the label is
                // measured against everything else with its gap around it.
                bool ownField = (a.label && b.name + "'s label" == a.name) || (b.label && a.name + "'s label" == b.name);
                const int gap = (a.label || b.label) && !ownField ? LabelGap : 0;
                const MacRect grown{int16_t(a.r.top - gap), int16_t(a.r.left - gap), int16_t(a.r.bottom + gap),
                                    int16_t(a.r.right + gap)};
                if (!Overlap(grown, b.r)) continue;
                if ((a.box && b.box) || (a.part >= 0 && a.part == b.part)) continue;
                if (a.box || b.box) {
                    const Element &box = a.box ? a : b, &other = a.box ? b : a;
                    if (!Inside(other.r, box.r))
                        Fault(other.name, "crosses the edge of " + box.name.substr(box.name.rfind(": ") + 2));
                    continue;
                }
                Fault(a.name, "overlaps " + b.name.substr(b.name.rfind(": ") + 2) + " at " + RectText(a.r) + " and " +
                                  RectText(b.r));
            }
        }
    }

    // What the window system shows of n against what the layout code
    // computes: the child where the opening offset puts it, below the top
    // bar and inside the MDI client on screen, and the list box and
    // scroll bars where their rectangles say.
    void Measure(int n, const std::string &where)
    {
        int type = WinTypeOf(n);
        uint32_t child = WinTable[n]->mdiChild;
        PlRect expected = WinTypeRectToChild(type, TypeRect(type)), is = WinRect(child);
        if (is.left != expected.left || is.top != expected.top || is.right != expected.right ||
            is.bottom != expected.bottom)
            Fault(where, "opened elsewhere than its rectangle and the opening offset give");
        PlRect screen = WinScreenRect(child), bar = WinScreenRect(TopBarWindow), area = WinClientScreenRect(MdiClientWindow);
        if (screen.top < bar.bottom) Fault(where, "its title bar shows under the top bar (measured)");
        if (screen.left < area.left || screen.top < area.top || screen.right > area.right || screen.bottom > area.bottom)
            Fault(where, "reaches outside the work area on screen (measured)");
        MacRect r;
        PlRect want;
        if (WinListBoxRect(n, &r)) {
            RectToWin(&r, &want);
            PlRect got = WinRect(WinTable[n]->listBox);
            if (got.left != want.left || got.top != want.top || got.right != want.right || got.bottom != want.bottom)
                Fault(where + ": list box", "stands elsewhere than its computed rectangle (measured)");
        }
        for (int i = 0; i < ControlSlotCount; i++) {
            uint32_t bar2 = WinTable[n]->controls[i].control;
            if (!bar2) continue;
            WinFieldRect(n, i, &r);
            RectToWin(&r, &want);
            PlRect got = WinRect(bar2);
            if (got.left != want.left || got.top != want.top || got.right != want.right || got.bottom != want.bottom)
                Fault(where + ": control " + std::to_string(i), "stands elsewhere than its computed rectangle (measured)");
        }
    }

    // Every rule over window type `type`, opened as the program opens it.
    void CheckType(int type)
    {
        std::string where = TypeName(type);
        MacRect t = TypeRect(type);
        if (!Proper(t)) Fault(where, "its rectangle is turned over " + RectText(t));
        PlRect c = WinTypeRectToChild(type, t);
        if (c.top < work.top) Fault(where, "opens with its title bar under the top bar (top " + std::to_string(c.top) + ")");
        if (c.left < work.left || c.right > work.right || c.bottom > work.bottom)
            Fault(where, "opens outside the work area " + RectText(work) + " at (left " + std::to_string(c.left) +
                             ", top " + std::to_string(c.top) + ", right " + std::to_string(c.right) + ", bottom " +
                             std::to_string(c.bottom) + ")");
        int n = OpenWindow(type, 0);
        if (n <= 0) {
            Fault(where, "does not open");
            return;
        }
        Measure(n, where);
        int pages = WinDefCount(n, WinPartPages);
        if (pages <= 1) {
            CheckShown(n, where);
        } else {
            for (int p = 1; p < pages && WinIsOpen(n); p++) {
                WinShowPage(n, p, true);
                CheckShown(n, where);
                Measure(n, where + " (page " + std::to_string(p) + ")");
            }
        }
        if (type == 9 || type == 5 || type == 590 || type == 347) SavePicture(n, type);
        if (WinIsOpen(n)) WinClose(n);
    }

    // Paints n as the main loop does and saves it beside the tests.
    void SavePicture(int n, int type)
    {
        if (WinDefCount(n, WinPartPages) > 1) WinShowPage(n, 1, true);
        WinPaintFrame(n);
        WinPaintContents(n);
        EXPECT_TRUE(WinSavePng(WinTable[n]->mdiChild, (home / ("layout_" + std::to_string(type) + ".png")).string()));
    }
};

TEST_F(Layout, EveryWindowTypeFitsTheWorkAreaAndItsControlsFitTheWindow)
{
    // The work area the windows open in: the MDI client between the bars.
    ASSERT_GT(work.right - work.left, 600);
    ASSERT_GT(work.bottom - work.top, 400);
    int checked = 0;
    for (int type = 2; type < WinTypeUseEntries - 1; type++) {
        // Type 1 is never opened: it lays out the frame's two bars.
        if (!WinDefExists(type)) continue;
        CheckType(type);
        checked++;
    }
    EXPECT_GT(checked, 20);
    std::string all;
    for (const std::string &f : faults) all += f + "\n";
    EXPECT_TRUE(faults.empty()) << faults.size() << " layout faults:\n" << all;
}

// Each rule fails where it should, and names the type, the element and
// the rule: a window opening under the top bar, a button that cannot
// hold its label, two controls on one spot, one over the window's edge,
// a field stored upside down, one on a hidden page clear of the others.
const char *const BrokenLayouts = R"(
1014 "viewing"
9601 "Broken"
9602 "Sound"
wintype 30 { kind plain recsize 96 rect 40 20 300 400 title 9601 }
window 30 {
  field   rect 52 150 46 300 type text format 20 offset 0 access always page 0 label "To"
  control rect 80 10 103 40 kind button command 5 label "Cancel"
  control rect 80 30 103 90 kind button command 8 label "OK"
  control rect 240 300 263 500 kind button command 8 label "Far"
  box     rect 100 10 150 200 page 0 label "Group"
  control rect 140 20 156 150 offset 22 kind check page 0 label "Across"
}
wintype 31 { kind plain recsize 96 rect 80 20 300 400 title 9602 }
window 31 {
  field   rect 20 110 37 200 type text format 20 offset 0 access always page 0 label "Code"
  control rect 2 300 20 380 kind tab command 1 page 0 label "One"
  control rect 24 300 42 380 kind tab command 2 page 0 label "Two"
  field   rect 22 110 39 200 type text format 20 offset 22 access always page 1 label "First"
  field   rect 22 110 39 200 type text format 20 offset 44 access always page 2 label "Second"
  page    height 60
  page    height 0 last 1
  page    height 0 last 1
}
9603 "Headings"
9604 "Depreciation cost account"
9605 "Objects"
9606 "No."
9607 "Rest"
wintype 32 { kind plain recsize 96 rect 40 20 300 500 title 9603 }
window 32 {
  control rect 20 -30 -10 -15 kind scroll start 0 max 0 page 0 label ""
  matrix  rowsize 40 cells 2 first 1 rect 20 30 -10 -30 maxrows 20 page 0 control 0
  column  x 0 type text format 10 offset 0 heading 9604
  column  x 60 type text format 10 offset 12 heading 9605
  column  x 150 type long offset 24 align right heading 9606
  column  x 190 type text format 10 offset 28 heading 9607
}
)";

TEST_F(Layout, EachRuleNamesTheTypeTheElementAndTheRule)
{
    UseDict(BrokenLayouts);
    ASSERT_FALSE(HasFatalFailure());
    CheckType(30);
    CheckType(31);
    CheckType(32);
    auto told = [&](const std::string &start, const std::string &rule) {
        for (const std::string &f : faults)
            if (f.rfind(start, 0) == 0 && f.find(rule) != std::string::npos) return true;
        return false;
    };
    const std::string broken = "window type 30 \"Broken\"";
    EXPECT_TRUE(told(broken, "opens with its title bar under the top bar (top -30)"));
    EXPECT_TRUE(told(broken, "its title bar shows under the top bar (measured)"));
    EXPECT_TRUE(told(broken + ": field 0 \"To\"", "its rectangle is turned over, stored (top 52, left 150, bottom 46"));
    EXPECT_TRUE(told(broken + ": control 0 \"Cancel\"", "its label does not fit on it"));
    EXPECT_TRUE(told(broken + ": control 0 \"Cancel\"", "overlaps control 1 \"OK\""));
    EXPECT_TRUE(told(broken + ": control 2 \"Far\"", "lies outside the window's client area"));
    EXPECT_TRUE(told(broken + ": control 3 \"Across\"", "crosses the edge of box 0 \"Group\""));
    for (const std::string &f : faults) EXPECT_EQ(f.find("\"OK\": its label"), std::string::npos) << f;
    EXPECT_TRUE(told("window type 32 \"Headings\": matrix 0: matrix heading 0 \"Depreciation cost account\"",
                     "runs into the next column"));
    for (const std::string &f : faults) EXPECT_EQ(f.find("\"Objects\""), std::string::npos) << f;
    EXPECT_TRUE(told("window type 32 \"Headings\": matrix 0: matrix cell 2 of row kind 1 \"No.\"", "cuts its values"));
    for (const std::string &f : faults) EXPECT_EQ(f.find("\"Rest\": cuts"), std::string::npos) << f;
    // The pages of type 31 stand one at a time below page 0: fields on
    // the same spot of two pages do not meet.
    for (const std::string &f : faults) EXPECT_EQ(f.rfind("window type 31", 0), std::string::npos) << f;
}

}  // namespace
