// Modal services: message boxes, file open/save, print and print set-up
// dialogs and help. Scripted answers come first; headless calls answer at
// once; on the screen (or when the script asks for it) a modal dialog window
// is run inside the owner's top-level window.
#include <algorithm>
#include <cassert>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <unordered_map>

#include "platform/control.h"
#include "platform/control_internal.h"
#include "platform/dialog.h"
#include "platform/display.h"
#include "platform/font.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"
#include "platform/window_internal.h"

namespace fs = std::filesystem;

namespace {
enum class Kind : uint8_t { Message, File, Setup, Print };

constexpr int kIdFilter = 100;
constexpr int kIdPaper = 101;
constexpr int kIdOrientation = 102;
constexpr int kButtonW = 75, kButtonH = 23;

// A row of the file list. Names on disk are UTF-8; the dialog shows them in
// the program's character set, where characters it lacks become "?", and
// keeps the name itself so that such a file still opens from its row.
struct FileRow {
    std::string shown;  // directories in brackets
    std::string name;   // the name on disk ("..": the parent)
    bool dir = false;
};

struct FileCtx {
    const PlFileDialog *params = nullptr;
    std::vector<std::pair<std::string, std::string>> filters;
    int filterIdx = 0;
    std::string customPattern;
    fs::path dir;
    std::vector<FileRow> entries;
    // The row last put into the name field: while the field still shows it,
    // accepting takes that row's own name (which the shown text may not spell).
    std::string picked, pickedShown;
    uint32_t edit = 0, list = 0, filterButton = 0;
    std::string result;
};

struct DlgState {
    Kind kind = Kind::Message;
    bool done = false;
    int result = 0;
    int cancelId = kPlIdCancel;
    int defaultId = kPlIdOk;
    // Message box.
    std::vector<std::string> lines;
    PlMbIcon icon = PlMbIcon::None;
    // File dialog.
    FileCtx *file = nullptr;
    // Print dialogs.
    PlPrintSetup setup;
    uint32_t paperButton = 0, orientButton = 0, copiesEdit = 0, nameEdit = 0;
    PlPrintChoice choice;
};

std::unordered_map<uint32_t, DlgState> &Dialogs()
{
    static std::unordered_map<uint32_t, DlgState> m;
    return m;
}

DlgState *StateOf(uint32_t dlg)
{
    auto it = Dialogs().find(dlg);
    return it == Dialogs().end() ? nullptr : &it->second;
}

bool ShowReal() { return DisplayIsScreen() || ScriptInteractive(); }

uint32_t OwnerTop(uint32_t owner)
{
    uint32_t top = owner ? WinTopLevel(owner) : WinActiveWindow();
    return WinIsVisible(top) ? top : 0;
}

void Finish(uint32_t dlg, int result)
{
    DlgState *s = StateOf(dlg);
    if (!s) return;
    s->result = result;
    s->done = true;
}

// A dialog window with a client area of w x h centred in the owner.
uint32_t MakeDialog(uint32_t top, std::string_view title, int w, int h, const DlgState &state)
{
    uint32_t style = PlStyle::Child | PlStyle::Caption | PlStyle::SysMenu | PlStyle::DlgFrame;
    PlSize outer = WinOuterSizeFor(style, false, w, h);
    PlRect area = WinClientRect(top);
    int x = std::max(0, (PlRectWidth(area) - outer.cx) / 2);
    int y = std::max(0, (PlRectHeight(area) - outer.cy) / 3);
    uint32_t dlg = WinCreate("PlDialog", title, style, PlRect{x, y, x + outer.cx, y + outer.cy}, top, 0, 0);
    if (!dlg) return 0;
    Dialogs()[dlg] = state;
    WinSetCaptionActive(dlg, true);
    return dlg;
}

uint32_t AddButton(uint32_t dlg, int id, std::string_view text, int x, int y, int w = kButtonW, bool def = false)
{
    return WinCreate("Button", text, PlStyle::Child | PlStyle::Visible | PlStyle::TabStop | (def ? PlButtonStyle::Default : 0),
                     PlRect{x, y, x + w, y + kButtonH}, dlg, id, 0);
}

uint32_t AddEdit(uint32_t dlg, std::string_view text, int x, int y, int w)
{
    uint32_t e = WinCreate("Edit", "", PlStyle::Child | PlStyle::Visible | PlStyle::TabStop | PlStyle::Border | PlEditStyle::AutoHScroll,
                           PlRect{x, y, x + w, y + 20}, dlg, 0, 0);
    EditSetText(e, text);
    return e;
}

// Focusable children in order of creation (z-order is the reverse).
std::vector<uint32_t> TabOrder(uint32_t dlg)
{
    std::vector<uint32_t> out;
    for (int i = WinChildCount(dlg) - 1; i >= 0; --i) {
        uint32_t c = WinChildAt(dlg, i);
        if (WinIsVisible(c) && WinIsEnabled(c) && (WinStyle(c) & PlStyle::TabStop)) out.push_back(c);
    }
    return out;
}

// Dialog keys: Esc cancels, Return takes the focused button or the default,
// Tab moves the focus, letters press buttons by mnemonic. True when taken.
bool DialogKey(uint32_t dlg, const PlMessage &m)
{
    if (m.msg != PlMsg::KeyDown || (m.win != dlg && !WinIsChildOf(m.win, dlg))) return false;
    DlgState *s = StateOf(dlg);
    if (!s) return false;
    uint32_t focus = WinFocus();
    bool onButton = WinClassName(focus) == "Button";
    switch (m.wParam) {
    case PlKey::Escape:
        WinSend(dlg, PlMsg::Command, uintptr_t(s->cancelId), 0);
        return true;
    case PlKey::Return:
        WinSend(dlg, PlMsg::Command, uintptr_t(onButton ? WinControlId(focus) : s->defaultId),
                onButton ? intptr_t(focus) : 0);
        return true;
    case PlKey::Tab: {
        std::vector<uint32_t> order = TabOrder(dlg);
        if (order.empty()) return true;
        auto it = std::find(order.begin(), order.end(), focus);
        bool back = PlKeyState(PlKey::Shift) < 0;
        size_t i = it == order.end() ? 0 : size_t(it - order.begin());
        i = back ? (i + order.size() - 1) % order.size() : (i + 1) % order.size();
        WinSetFocus(order[i]);
        if (WinClassName(order[i]) == "Edit") EditSetSel(order[i], 0, -1);
        return true;
    }
    default:
        break;
    }
    if (WinClassName(focus) == "Edit" || WinClassName(focus) == "ListBox") return false;
    if (m.wParam >= 'A' && m.wParam <= 'Z') {
        for (uint32_t c : TabOrder(dlg))
            if (WinClassName(c) == "Button" && uint32_t(CtlMnemonicOf(WinTitle(c))) == m.wParam) {
                WinSend(dlg, PlMsg::Command, uintptr_t(WinControlId(c)), intptr_t(c));
                return true;
            }
    }
    return false;
}

// Runs a dialog until it is finished; `fallback` answers when the input runs
// dry (headless scripts). The dialog holds its owner: input elsewhere is
// refused, and a close of the owner window cancels the dialog instead of
// closing the owner under it. Should the dialog vanish all the same (its owner
// destroyed by the program) or the program be asked to quit, the answer is
// the dialog's cancel answer, never its default button.
// *last receives the dialog's state as it was at the end.
int RunModal(uint32_t dlg, uint32_t focusFirst, int fallback, DlgState *last = nullptr)
{
    assert(StateOf(dlg));
    const int cancelId = StateOf(dlg)->cancelId;
    const uint32_t owner = WinTopLevel(dlg);
    uint32_t prevModal = MsgSetModal(dlg);
    uint32_t prevFocus = WinFocus();
    WinBringToTop(dlg);
    WinShow(dlg, PlShow::Show);
    if (focusFirst) WinSetFocus(focusFirst);
    int result = cancelId;
    for (;;) {
        DlgState *s = StateOf(dlg);
        if (!s) break;
        if (s->done) {
            result = s->result;
            break;
        }
        PlMessage m;
        PlGet g = MsgGet(&m);
        if (g == PlGet::Quit) {
            MsgPostQuit(int(m.wParam));
            break;
        }
        if (g != PlGet::Message) {
            result = fallback;
            break;
        }
        if (m.msg == PlMsg::Close && m.win == owner) {
            Finish(dlg, cancelId);
            continue;
        }
        if (DialogKey(dlg, m)) continue;
        MsgTranslate(m);
        MsgDispatch(m);
    }
    MsgSetModal(prevModal);
    if (last && StateOf(dlg)) *last = *StateOf(dlg);
    WinDestroy(dlg);
    if (WinIsWindow(prevFocus)) WinSetFocus(prevFocus);
    return result;
}

// ---------------------------------------------------------------------------
// Message box.

std::vector<std::string> WrapText(std::string_view text, int width)
{
    PlFont *font = FontUiRegular();
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t nl = text.find('\n', start);
        std::string_view para = text.substr(start, nl == std::string_view::npos ? std::string_view::npos : nl - start);
        std::string line;
        size_t i = 0;
        while (i < para.size()) {
            size_t sp = para.find(' ', i);
            std::string_view word = para.substr(i, sp == std::string_view::npos ? std::string_view::npos : sp - i);
            std::string trial = line.empty() ? std::string(word) : line + " " + std::string(word);
            if (!line.empty() && CtlTextWidth(font, trial) > width) {
                out.push_back(line);
                line = std::string(word);
            } else {
                line = trial;
            }
            if (sp == std::string_view::npos) break;
            i = sp + 1;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
        if (nl == std::string_view::npos) break;
        start = nl + 1;
    }
    return out;
}

void DrawMbIcon(DrawContext *dc, PlMbIcon icon, int x, int y)
{
    if (icon == PlMbIcon::None) return;
    cairo_t *cr = DcCairo(dc);
    if (icon == PlMbIcon::Warning) {
        // A yellow triangle, black-edged, with a black exclamation mark.
        cairo_save(cr);
        cairo_move_to(cr, x + 16, y + 1);
        cairo_line_to(cr, x + 31, y + 30);
        cairo_line_to(cr, x + 1, y + 30);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 1, 0.8, 0);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        cairo_restore(cr);
        DcFillRect(dc, PlRect{x + 14, y + 10, x + 18, y + 22}, kPlBrushBlack);
        DcFillRect(dc, PlRect{x + 14, y + 24, x + 18, y + 28}, kPlBrushBlack);
        return;
    }
    cairo_save(cr);
    cairo_arc(cr, x + 16, y + 16, 15, 0, 6.2832);
    if (icon == PlMbIcon::Stop) cairo_set_source_rgb(cr, 0.85, 0, 0);
    else cairo_set_source_rgb(cr, 0, 0, 0.6);
    cairo_fill(cr);
    cairo_restore(cr);
    if (icon == PlMbIcon::Stop) {
        for (int k = -7; k <= 7; ++k) {
            DcFillRect(dc, PlRect{x + 16 + k - 1, y + 16 + k - 1, x + 16 + k + 2, y + 16 + k + 2}, kPlBrushWhite);
            DcFillRect(dc, PlRect{x + 16 - k - 1, y + 16 + k - 1, x + 16 - k + 2, y + 16 + k + 2}, kPlBrushWhite);
        }
    } else {
        CtlDrawCentred(dc, FontUiSemibold(), PlRect{x, y, x + 32, y + 32}, icon == PlMbIcon::Question ? "?" : "i",
                       kPlWhite);
    }
}

int DefaultResult(PlMbButtons buttons, int defaultButton)
{
    static const int ok[] = {kPlIdOk}, okc[] = {kPlIdOk, kPlIdCancel}, yn[] = {kPlIdYes, kPlIdNo},
                     ync[] = {kPlIdYes, kPlIdNo, kPlIdCancel};
    std::span<const int> ids = buttons == PlMbButtons::Ok         ? std::span<const int>(ok)
                               : buttons == PlMbButtons::OkCancel ? std::span<const int>(okc)
                               : buttons == PlMbButtons::YesNo    ? std::span<const int>(yn)
                                                                  : std::span<const int>(ync);
    if (defaultButton < 0 || size_t(defaultButton) >= ids.size()) defaultButton = 0;
    return ids[size_t(defaultButton)];
}

// ---------------------------------------------------------------------------
// File dialog.

// A path or name of the file system as the program's character set shows it.
std::string ShownName(const fs::path &p) { return PlUtf8ToCp1252(p.string()); }

void FileFill(uint32_t dlg, FileCtx &f)
{
    f.entries.clear();
    f.picked.clear();
    f.pickedShown.clear();
    std::string patterns = !f.customPattern.empty() ? f.customPattern
                           : f.filters.empty()      ? std::string("*.*")
                                                    : f.filters[size_t(f.filterIdx)].second;
    std::vector<FileRow> dirs, files;
    std::error_code ec;
    for (const auto &e : fs::directory_iterator(f.dir, ec)) {
        std::string name = e.path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        std::string shown = ShownName(name);
        if (e.is_directory(ec)) dirs.push_back(FileRow{"[" + shown + "]", name, true});
        else if (DlgMatchPattern(shown, patterns)) files.push_back(FileRow{shown, name, false});
    }
    auto order = [](const FileRow &a, const FileRow &b) {
        return a.shown != b.shown ? a.shown < b.shown : a.name < b.name;
    };
    std::sort(dirs.begin(), dirs.end(), order);
    std::sort(files.begin(), files.end(), order);
    if (f.dir.has_parent_path() && f.dir != f.dir.root_path()) f.entries.push_back(FileRow{"[..]", "..", true});
    f.entries.insert(f.entries.end(), dirs.begin(), dirs.end());
    f.entries.insert(f.entries.end(), files.begin(), files.end());
    WinSend(f.list, PlLb::ResetContent, 0, 0);
    for (const FileRow &e : f.entries) ListBoxAdd(f.list, e.shown);
    if (!f.filters.empty()) WinSetTitle(f.filterButton, f.filters[size_t(f.filterIdx)].first);
    WinInvalidate(f.filterButton, nullptr, false);
    WinInvalidate(dlg, nullptr, true);
}

// Takes what the name field holds (in the program's character set), or the
// name of a row (`onDisk`, UTF-8) chosen in the list.
void FileAccept(uint32_t dlg, FileCtx &f, std::string typed, const std::string *onDisk = nullptr)
{
    while (!typed.empty() && typed.back() == ' ') typed.pop_back();
    if (typed.empty()) return;
    if (!onDisk && typed.find_first_of("*?") != std::string::npos && typed != f.pickedShown) {
        f.customPattern = typed;
        FileFill(dlg, f);
        return;
    }
    std::string name = onDisk ? *onDisk : typed == f.pickedShown ? f.picked : PlCp1252ToUtf8(typed);
    fs::path p = fs::path(name).is_absolute() ? fs::path(name) : f.dir / name;
    std::error_code ec;
    if (fs::is_directory(p, ec)) {
        f.dir = fs::weakly_canonical(p, ec);
        FileFill(dlg, f);
        EditSetText(f.edit, "");
        return;
    }
    const PlFileDialog &d = *f.params;
    p = fs::path(DlgApplyDefaultExt(p.string(), d.defaultExt));
    std::string shown = ShownName(p.filename());
    if (d.pathMustExist && !fs::is_directory(p.parent_path(), ec)) {
        DlgMessageBox(dlg, "The folder " + ShownName(p.parent_path()) + " does not exist.", d.title, PlMbButtons::Ok,
                      PlMbIcon::Stop);
        return;
    }
    bool exists = fs::exists(p, ec);
    if (d.save && exists && d.overwritePrompt &&
        DlgMessageBox(dlg, shown + " already exists.\nDo you want to replace it?", d.title, PlMbButtons::YesNo,
                      PlMbIcon::Question, 1) != kPlIdYes)
        return;
    if (!d.save && !exists) {
        if (d.fileMustExist) {
            DlgMessageBox(dlg, shown + "\nFile not found.", d.title, PlMbButtons::Ok, PlMbIcon::Stop);
            return;
        }
        if (d.createPrompt && DlgMessageBox(dlg, shown + " does not exist.\nDo you want to create it?", d.title,
                                            PlMbButtons::YesNo, PlMbIcon::Question) != kPlIdYes)
            return;
    }
    if (p.string().size() > 255) {
        DlgMessageBox(dlg, "The path is too long.", d.title, PlMbButtons::Ok, PlMbIcon::Stop);
        return;
    }
    f.result = p.string();
    Finish(dlg, kPlIdOk);
}

void FileCommand(uint32_t dlg, DlgState &s, int id, int code, uint32_t ctl)
{
    FileCtx &f = *s.file;
    if (ctl && ctl == f.list) {
        int i = ListBoxCurSel(f.list);
        if (i < 0 || i >= int(f.entries.size())) return;
        const FileRow row = f.entries[size_t(i)];
        if (code == PlLbn::SelChange && !row.dir) {
            f.picked = row.name;
            f.pickedShown = row.shown;
            EditSetText(f.edit, row.shown);
        }
        if (code == PlLbn::DblClk) {
            if (row.dir) {
                std::error_code ec;
                f.dir = fs::weakly_canonical(f.dir / row.name, ec);
                FileFill(dlg, f);
            } else {
                FileAccept(dlg, f, row.shown, &row.name);
            }
        }
        return;
    }
    if (id == kPlIdOk) FileAccept(dlg, f, EditGetText(f.edit));
    else if (id == kPlIdCancel) Finish(dlg, kPlIdCancel);
    else if (id == kIdFilter && !f.filters.empty()) {
        f.filterIdx = (f.filterIdx + 1) % int(f.filters.size());
        f.customPattern.clear();
        FileFill(dlg, f);
    }
}

// ---------------------------------------------------------------------------
// Print dialogs.

std::string PaperText(const PlPrintSetup &s) { return s.paper == PlPaper::A4 ? "Paper: A4" : "Paper: Letter"; }
std::string OrientText(const PlPrintSetup &s) { return s.landscape ? "Landscape" : "Portrait"; }

void PrintCommand(uint32_t dlg, DlgState &s, int id)
{
    if (id == kIdPaper) {
        s.setup.paper = s.setup.paper == PlPaper::A4 ? PlPaper::Letter : PlPaper::A4;
        WinSetTitle(s.paperButton, PaperText(s.setup));
        WinInvalidate(s.paperButton, nullptr, false);
    } else if (id == kIdOrientation) {
        s.setup.landscape = !s.setup.landscape;
        WinSetTitle(s.orientButton, OrientText(s.setup));
        WinInvalidate(s.orientButton, nullptr, false);
    } else if (id == kPlIdOk) {
        if (s.kind == Kind::Print) {
            int copies = std::atoi(EditGetText(s.copiesEdit).c_str());
            if (copies < 1 || copies > 99) {
                DlgMessageBox(dlg, "Enter a number of copies from 1 to 99.", "Print", PlMbButtons::Ok, PlMbIcon::Stop);
                return;
            }
            s.choice.copies = copies;
            s.choice.fileName = EditGetText(s.nameEdit);
        }
        Finish(dlg, kPlIdOk);
    } else if (id == kPlIdCancel) {
        Finish(dlg, kPlIdCancel);
    }
}

void PaintDialog(uint32_t dlg, DlgState &s)
{
    PlPaint ps;
    if (!WinBeginPaint(dlg, &ps)) return;
    DcFillRect(ps.dc, WinClientRect(dlg), kPlBrushLightGrey);
    PlFont *font = FontUiRegular();
    DcSelectFont(ps.dc, font);
    DcSetBkMode(ps.dc, PlBkMode::Transparent);
    DcSetTextColor(ps.dc, kPlBlack);
    int lh = FontMetrics(font).height + 2;
    if (s.kind == Kind::Message) {
        DrawMbIcon(ps.dc, s.icon, 12, 12);
        DcSelectFont(ps.dc, font);
        DcSetTextColor(ps.dc, kPlBlack);
        int x = s.icon == PlMbIcon::None ? 14 : 56;
        for (size_t i = 0; i < s.lines.size(); ++i) DcTextOut(ps.dc, x, 14 + int(i) * lh, s.lines[i]);
    } else if (s.kind == Kind::File) {
        DcTextOut(ps.dc, 10, 8, "File name:");
        std::string dir = ShownName(s.file->dir);
        DcPushClip(ps.dc, PlRect{10, 296, 390, 296 + lh});
        DcTextOut(ps.dc, 10, 296, dir);
        DcPopClip(ps.dc);
    } else if (s.kind == Kind::Print) {
        DcTextOut(ps.dc, 10, 76, "Copies:");
        DcTextOut(ps.dc, 10, 104, "PDF file:");
    }
    WinEndPaint(dlg, &ps);
}

void RecordIt(const char *kind, std::string_view caption, std::string_view text, int answer, bool scripted,
              PlMbIcon icon = PlMbIcon::None, std::string_view proposed = {})
{
    ScriptRecord(PlScriptRecord{kind, std::string(caption), std::string(text), answer, scripted, int(icon),
                                std::string(proposed)});
}
}  // namespace

intptr_t DialogBoxProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    DlgState *s = StateOf(win);
    switch (msg) {
    case PlMsg::Destroy:
        Dialogs().erase(win);
        return 0;
    case PlMsg::Close:
        if (s) Finish(win, s->cancelId);
        return 0;
    case PlMsg::Paint:
        if (!s) break;
        PaintDialog(win, *s);
        return 0;
    case PlMsg::Command: {
        if (!s) return 0;
        int id = PlLoWord(intptr_t(wParam));
        int code = PlHiWord(intptr_t(wParam));
        uint32_t ctl = uint32_t(lParam);
        if (s->kind == Kind::Message) Finish(win, id);
        else if (s->kind == Kind::File) FileCommand(win, *s, id, code, ctl);
        else PrintCommand(win, *s, id);
        return 0;
    }
    default:
        break;
    }
    return WinDefProc(win, msg, wParam, lParam);
}

int DlgMessageBox(uint32_t owner, std::string_view text, std::string_view caption, PlMbButtons buttons,
                  PlMbIcon icon, int defaultButton)
{
    int result = 0;
    if (ScriptTakeMessageBox(&result)) {
        RecordIt("message", caption, text, result, true, icon);
        return result;
    }
    int fallback = DefaultResult(buttons, defaultButton);
    uint32_t top = OwnerTop(owner);
    if (!ShowReal() || !top) {
        RecordIt("message", caption, text, fallback, false, icon);
        return fallback;
    }
    DlgState st;
    st.kind = Kind::Message;
    st.icon = icon;
    // Lines as wide as the owner allows, at most 380 pixels.
    int room = PlRectWidth(WinClientRect(top)) - 2 * 3 - 56 - 16 - 8;
    st.lines = WrapText(text, std::clamp(room, 120, 380));
    st.defaultId = fallback;
    bool hasCancel = buttons == PlMbButtons::OkCancel || buttons == PlMbButtons::YesNoCancel;
    // Closing a box answers its safe choice: Cancel, else OK or No.
    st.cancelId = hasCancel ? kPlIdCancel : buttons == PlMbButtons::Ok ? kPlIdOk : kPlIdNo;
    std::vector<std::pair<int, const char *>> list;
    if (buttons == PlMbButtons::Ok || buttons == PlMbButtons::OkCancel) list.push_back({kPlIdOk, "OK"});
    if (buttons == PlMbButtons::YesNo || buttons == PlMbButtons::YesNoCancel) {
        list.push_back({kPlIdYes, "&Yes"});
        list.push_back({kPlIdNo, "&No"});
    }
    if (hasCancel) list.push_back({kPlIdCancel, "Cancel"});
    PlFont *font = FontUiRegular();
    int textW = 0;
    for (const std::string &l : st.lines) textW = std::max(textW, CtlTextWidth(font, l));
    int lh = FontMetrics(font).height + 2;
    int textX = icon == PlMbIcon::None ? 14 : 56;
    int buttonsW = int(list.size()) * (kButtonW + 8) - 8;
    int w = std::max({textX + textW + 16, buttonsW + 28, 220});
    int textH = std::max(int(st.lines.size()) * lh, icon == PlMbIcon::None ? 0 : 36);
    int h = 14 + textH + 16 + kButtonH + 12;
    uint32_t dlg = MakeDialog(top, caption, w, h, st);
    if (!dlg) {
        RecordIt("message", caption, text, fallback, false, icon);
        return fallback;
    }
    int x = (w - buttonsW) / 2;
    uint32_t focus = 0;
    for (auto &[id, label] : list) {
        uint32_t b = AddButton(dlg, id, label, x, h - kButtonH - 12, kButtonW, id == fallback);
        if (id == fallback) focus = b;
        x += kButtonW + 8;
    }
    result = RunModal(dlg, focus, fallback);
    RecordIt("message", caption, text, result, false, icon);
    return result;
}

bool DlgFileOpen(uint32_t owner, const PlFileDialog &dialog, std::string *path)
{
    std::string answer;
    bool ok = false;
    const char *kind = "file";
    if (ScriptTakeFile(&answer, &ok)) {
        if (ok) answer = DlgApplyDefaultExt(answer, dialog.defaultExt);
        if (ok && answer.size() > 255) ok = false;
        if (ok && path) *path = answer;
        RecordIt(kind, dialog.title, dialog.filter, ok ? 1 : 0, true, PlMbIcon::None, dialog.fileName);
        return ok;
    }
    uint32_t top = OwnerTop(owner);
    if (!ShowReal() || !top) {
        RecordIt(kind, dialog.title, dialog.filter, 0, false, PlMbIcon::None, dialog.fileName);
        return false;
    }
    FileCtx f;
    f.params = &dialog;
    f.filters = DlgParseFilter(dialog.filter);
    f.filterIdx = std::clamp(dialog.filterIndex - 1, 0, std::max(0, int(f.filters.size()) - 1));
    std::error_code ec;
    f.dir = dialog.initialDir.empty() ? fs::current_path(ec) : fs::weakly_canonical(fs::path(dialog.initialDir), ec);
    DlgState st;
    st.kind = Kind::File;
    st.file = &f;
    uint32_t dlg = MakeDialog(top, dialog.title.empty() ? (dialog.save ? "Save As" : "Open") : dialog.title, 400, 316, st);
    if (!dlg) return false;
    f.edit = AddEdit(dlg, dialog.fileName, 10, 26, 380);
    f.list = WinCreate("ListBox", "", PlStyle::Child | PlStyle::Visible | PlStyle::TabStop | PlStyle::VScroll |
                                          PlStyle::Border | PlListStyle::Notify,
                       PlRect{10, 54, 300, 260}, dlg, 0, 0);
    AddButton(dlg, kPlIdOk, dialog.save ? "Save" : "Open", 310, 54, 80, true);
    AddButton(dlg, kPlIdCancel, "Cancel", 310, 84, 80);
    f.filterButton = AddButton(dlg, kIdFilter, "", 10, 266, 290);
    FileFill(dlg, f);
    int result = RunModal(dlg, f.edit, kPlIdCancel);
    ok = result == kPlIdOk && !f.result.empty();
    if (ok && path) *path = f.result;
    RecordIt(kind, dialog.title, dialog.filter, ok ? 1 : 0, false, PlMbIcon::None, dialog.fileName);
    return ok;
}

std::vector<std::pair<std::string, std::string>> DlgParseFilter(std::string_view filter)
{
    std::vector<std::pair<std::string, std::string>> out;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < filter.size()) {
        size_t bar = filter.find('|', start);
        if (bar == std::string_view::npos) break;  // an unterminated piece is dropped
        parts.emplace_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    for (size_t i = 0; i + 1 < parts.size(); i += 2)
        if (!parts[i + 1].empty()) out.emplace_back(parts[i], parts[i + 1]);
    return out;
}

static bool MatchOne(std::string_view name, std::string_view pat)
{
    // "*." stands for names without an extension.
    if (pat == "*.") return name.find('.') == std::string_view::npos;
    if (pat == "*.*" || pat == "*") return true;
    size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pat.size() && (pat[p] == '?' || std::tolower(uint8_t(pat[p])) == std::tolower(uint8_t(name[n])))) {
            ++n;
            ++p;
        } else if (p < pat.size() && pat[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pat.size() && pat[p] == '*') ++p;
    return p == pat.size();
}

bool DlgMatchPattern(std::string_view name, std::string_view patterns)
{
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t semi = patterns.find(';', start);
        std::string_view pat = patterns.substr(start, semi == std::string_view::npos ? std::string_view::npos : semi - start);
        while (!pat.empty() && pat.front() == ' ') pat.remove_prefix(1);
        if (!pat.empty() && MatchOne(name, pat)) return true;
        if (semi == std::string_view::npos) break;
        start = semi + 1;
    }
    return false;
}

std::string DlgApplyDefaultExt(std::string_view name, std::string_view ext)
{
    std::string out(name);
    if (ext.empty() || out.empty()) return out;
    size_t slash = out.find_last_of('/');
    size_t dot = out.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) return out;
    out += ".";
    out += ext;
    return out;
}

std::vector<uint8_t> DlgPrintSetupToBytes(const PlPrintSetup &setup)
{
    return {'P', 'L', 'D', 'M', 1, uint8_t(setup.paper == PlPaper::Letter ? 1 : 0), uint8_t(setup.landscape ? 1 : 0)};
}

bool DlgPrintSetupFromBytes(std::span<const uint8_t> b, PlPrintSetup *setup)
{
    if (b.size() != 7 || std::memcmp(b.data(), "PLDM", 4) != 0 || b[4] != 1 || b[5] > 1 || b[6] > 1) return false;
    setup->paper = b[5] ? PlPaper::Letter : PlPaper::A4;
    setup->landscape = b[6] != 0;
    return true;
}

static bool RunPrintDialog(uint32_t owner, bool full, PlPrintSetup *setup, PlPrintChoice *choice)
{
    uint32_t top = OwnerTop(owner);
    if (!ShowReal() || !top) return false;
    DlgState st;
    st.kind = full ? Kind::Print : Kind::Setup;
    st.setup = full ? choice->setup : *setup;
    if (full) st.choice = *choice;
    uint32_t dlg = MakeDialog(top, full ? "Print" : "Print Setup", 300, full ? 170 : 110, st);
    if (!dlg) return false;
    DlgState *s = StateOf(dlg);
    s->paperButton = AddButton(dlg, kIdPaper, PaperText(s->setup), 10, 10, 180);
    s->orientButton = AddButton(dlg, kIdOrientation, OrientText(s->setup), 10, 40, 180);
    if (full) {
        s->copiesEdit = AddEdit(dlg, std::to_string(s->choice.copies), 80, 72, 50);
        s->nameEdit = AddEdit(dlg, s->choice.fileName, 80, 100, 210);
    }
    int by = full ? 135 : 75;
    uint32_t okButton = AddButton(dlg, kPlIdOk, "OK", 130, by, kButtonW, true);
    AddButton(dlg, kPlIdCancel, "Cancel", 215, by);
    DlgState last;
    int result = RunModal(dlg, okButton, kPlIdCancel, &last);
    if (result != kPlIdOk) return false;
    if (full) {
        *choice = last.choice;
        choice->setup = last.setup;
    } else {
        *setup = last.setup;
    }
    return true;
}

bool DlgPrintSetupDialog(uint32_t owner, PlPrintSetup *setup)
{
    PlPrintSetup answer = setup ? *setup : PlPrintSetup{};
    bool ok = false;
    bool scripted = ScriptTakePrintSetup(&answer, &ok);
    if (!scripted) ok = RunPrintDialog(owner, false, &answer, nullptr);
    if (ok && setup) *setup = answer;
    RecordIt("printsetup", "Print Setup", "", ok ? 1 : 0, scripted);
    return ok;
}

bool DlgPrintDialog(uint32_t owner, PlPrintChoice *choice)
{
    PlPrintChoice answer = choice ? *choice : PlPrintChoice{};
    bool ok = false;
    bool scripted = ScriptTakePrint(&answer, &ok);
    if (!scripted) ok = RunPrintDialog(owner, true, nullptr, &answer);
    if (ok && answer.copies < 1) answer.copies = 1;
    if (ok && choice) *choice = answer;
    RecordIt("print", "Print", "", ok ? 1 : 0, scripted);
    return ok;
}

PlPrintSettings DlgPrintSettings(const PlPrintChoice &choice)
{
    PlPrintSettings s;
    s.paper = choice.setup.paper;
    s.landscape = choice.setup.landscape;
    s.fileName = choice.fileName;
    return s;
}

bool DlgHelp(uint32_t owner, std::string_view helpFile, int command)
{
    (void)command;
    std::string text(kPlHelpMissingText);
    if (!helpFile.empty()) text += "\n(" + std::string(helpFile) + ")";
    RecordIt("help", helpFile, text, 0, false);
    DlgMessageBox(owner, text, "Help", PlMbButtons::Ok, PlMbIcon::Information);
    return false;
}
