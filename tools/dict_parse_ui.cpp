// dict_parse_ui.cpp - reading the window types, window layouts, menus,
// list tables and choice lists of the dictionary source. Entries of
// window-layout parts and list tables are written as "attribute value"
// pairs; the tables below give each attribute's byte place in its entry.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "core/window_entries.h"
#include "core/list_slot.h"
#include "core/window_kind.h"
#include "tools/dict.h"
#include "tools/dict_parser.h"
#include "tools/dict_types.h"

namespace {

enum class Form : uint8_t {
    U8, U16, I16, U32,
    Rect,     // four i16: top, left, bottom, right
    Str,      // a PString
    Type,     // a field type (u16)
    Align,    // left / right (u8 or u16 by width)
    CtlKind,  // control kind (u16)
    Char,     // a character code (u16)
    Access,   // a data field's access word: new, always or a number
    Chooser,  // a data field's chooser: today, or a window type
    Flag,     // 0 or 1 (u16)
};

struct Attr {
    const char *name;
    uint32_t at;
    Form form;
    DictRefKind ref = DictRefKind::Number;
    uint8_t width = 0;     // for Align: 1 or 2
    uint32_t max = 255;    // for Str
};

struct Default {
    uint32_t at;
    uint8_t width;
    int64_t value;
};

struct EntryForm {
    const char *keyword;
    int slot;
    bool sized;
    uint32_t size;   // fixed bytes (before the tail string of a sized entry)
    std::vector<Attr> attrs;
    std::vector<Default> defaults;
};

using R = DictRefKind;

const std::vector<EntryForm> &WindowForms() {
    namespace F = FieldEntry;
    namespace T = TextEntry;
    namespace C = ControlEntry;
    namespace P = PaneEntry;
    namespace K = ColumnEntry;
    namespace M = MatrixEntry;
    namespace L = ListColEntry;
    namespace B = BoxEntry;
    namespace I = IconEntry;
    namespace G = PageEntry;
    namespace O = OpEntry;
    static const std::vector<EntryForm> forms = {
        {"field", 0, true, F::Label,
         {{"rect", F::Rect, Form::Rect}, {"type", F::Type, Form::Type}, {"access", F::Access, Form::Access},
          {"format", F::Format, Form::U16, R::Choice}, {"offset", F::Offset, Form::U32, R::Offset},
          {"lookup", F::Lookup, Form::U16}, {"align", F::Align, Form::Align, R::Number, 1},
          {"chooser", F::Chooser, Form::Chooser, R::WinType}, {"page", F::Page, Form::U16},
          {"next", F::ReturnLink, Form::U16, R::Offset}, {"label", F::Label, Form::Str}},
         {{F::ReturnLink, 2, NoEntryOffset}}},
        {"text", 1, true, T::Label,
         {{"y", T::Y, Form::I16}, {"x", T::X, Form::I16}, {"align", T::Align, Form::Align, R::Number, 2},
          {"page", T::Page, Form::U16}, {"label", T::Label, Form::Str}},
         {}},
        {"control", 2, true, C::Label,
         {{"rect", C::Rect, Form::Rect}, {"offset", C::Offset, Form::U16, R::Offset}, {"kind", C::Kind, Form::CtlKind},
          {"value", C::Value, Form::U16}, {"start", C::Value, Form::U16}, {"group", C::Group, Form::U16},
          {"command", C::Command, Form::U16}, {"button", C::Button, Form::U16}, {"max", C::Maximum, Form::U16},
          {"shortcut", C::Shortcut, Form::U16}, {"page", C::Page, Form::U16}, {"label", C::Label, Form::Str}},
         {{C::Offset, 2, NoEntryOffset}}},
        {"pane", 3, false, 10, {{"rect", P::Rect, Form::Rect}, {"control", P::Control, Form::U16}}, {}},
        {"column", 4, false, 24,
         {{"kind", K::Kind, Form::U16}, {"x", K::X, Form::I16}, {"type", K::Type, Form::Type},
          {"format", K::Format, Form::U16, R::Choice}, {"labeltext", K::Format, Form::U16, R::Text},
          {"offset", K::Offset, Form::U32, R::Offset}, {"align", K::Align, Form::Align, R::Number, 1},
          {"colpage", K::ColPage, Form::U16}, {"heading", K::Heading, Form::U16, R::Text},
          {"chooser", K::Chooser, Form::Chooser, R::WinType}},
         {{K::Kind, 2, 1}}},
        {"matrix", 5, false, 24,
         {{"rowsize", M::RowSize, Form::U16}, {"cells", M::Cells, Form::U16}, {"first", M::First, Form::U16},
          {"rect", M::Rect, Form::Rect}, {"kindword", M::KindWord, Form::U16}, {"attrword", M::AttrWord, Form::U16},
          {"maxrows", M::MaxRows, Form::U16}, {"page", M::Page, Form::U16}, {"control", M::Control, Form::U16}},
         {{M::KindWord, 2, NoEntryOffset}, {M::AttrWord, 2, NoEntryOffset}}},
        {"listcol", 6, true, L::Label,
         {{"datax", L::DataX, Form::I16}, {"headx", L::HeadX, Form::I16},
          {"index", L::Index, Form::Str, R::Number, 0, 33}, {"type", L::Type, Form::Type},
          {"format", L::Format, Form::U16, R::Choice}, {"offset", L::Offset, Form::U32, R::Offset},
          {"align", L::Align, Form::Align, R::Number, 1}, {"shown", L::Shown, Form::Flag},
          {"shortcut", L::Shortcut, Form::U8}, {"label", L::Label, Form::Str}},
         {}},
        {"box", 7, true, B::Label,
         {{"rect", B::Rect, Form::Rect}, {"page", B::Page, Form::U16}, {"label", B::Label, Form::Str}}, {}},
        {"icon", 8, true, I::Label,
         {{"icon", I::Icon, Form::U16}, {"pressed", I::Pressed, Form::U16}, {"x", I::X, Form::I16},
          {"y", I::Y, Form::I16}, {"command", I::Command, Form::U16}, {"arg", I::Argument, Form::U16},
          {"label", I::Label, Form::Str}},
         {}},
        {"page", 9, false, 6,
         {{"height", G::Height, Form::U16}, {"last", G::Last, Form::U16}, {"focus", G::Focus, Form::U16, R::Offset}},
         {{G::Focus, 2, NoEntryOffset}}},
        {"op", 10, true, O::Label,
         {{"key", O::Key, Form::Char}, {"number", O::Number, Form::U16}, {"label", O::Label, Form::Str}}, {}},
    };
    return forms;
}

// List-directory slots 0..8 by name, with their entry forms.
const std::vector<EntryForm> &ListForms() {
    static const std::vector<Attr> run = {{"text", 0, Form::U16, R::Text}, {"wintype", 2, Form::U16, R::WinType},
                                          {"number", 4, Form::U16}, {"wintype2", 6, Form::U16, R::WinType},
                                          {"module", 8, Form::U16}};
    static const std::vector<EntryForm> forms = {
        {"savedreports", SlotCode(ListSlot::SavedReports), false, 10, run, {}},
        {"reports", SlotCode(ListSlot::Reports), false, 10, run, {}},
        {"exports", SlotCode(ListSlot::Exports), false, 10, run, {}},
        {"imports", SlotCode(ListSlot::Imports), false, 10, run, {}},
        {"maintenance", SlotCode(ListSlot::Maintenance), false, 10, run, {}},
        {"documents", SlotCode(ListSlot::Documents), false, 10, run, {}},
        {"modulemenu", SlotCode(ListSlot::ModuleMenu), false, 8,
         {{"text", 0, Form::U16, R::Text}, {"word1", 2, Form::U16}, {"module", 4, Form::U16},
          {"word3", 6, Form::U16}},
         {}},
        {"modules", SlotCode(ListSlot::ModuleWindows), false, 8,
         {{"wintype", 0, Form::U16, R::WinType}, {"text", 2, Form::U16, R::Text},
          {"text2", 4, Form::U16, R::Text}, {"module", 6, Form::U16}},
         {}},
        {"windows", SlotCode(ListSlot::Windows), false, 6,
         {{"text", 0, Form::U16, R::Text}, {"wintype", 2, Form::U16, R::WinType}, {"module", 4, Form::U16}},
         {}},
    };
    return forms;
}

struct Named {
    const char *name;
    int64_t value;
};

constexpr std::array<Named, 2> AlignNames = {{{"left", 0}, {"right", 1}}};
constexpr std::array<Named, 2> AccessNames = {{{"new", AccessNewOnly}, {"always", AccessAlways}}};
constexpr std::array<Named, 6> ControlKinds = {
    {{"button", 0}, {"check", 1}, {"radio", 2}, {"scroll", 16}, {"tab", 32}, {"matrixtab", 64}}};
constexpr std::array<Named, 12> WindowKinds = {{{"plain", KindCode(WindowKind::Plain)},
                                                {"list", KindCode(WindowKind::List)},
                                                {"choicelist", KindCode(WindowKind::ChoiceList)},
                                                {"record", KindCode(WindowKind::Record)},
                                                {"preview", KindCode(WindowKind::Preview)},
                                                {"output", KindCode(WindowKind::Output)},
                                                {"reportparams", KindCode(WindowKind::ReportSelection)},
                                                {"exportspec", KindCode(WindowKind::ExportSelection)},
                                                {"settings", KindCode(WindowKind::Settings)},
                                                {"settingsrows", KindCode(WindowKind::SettingsTable)},
                                                {"maintenance", KindCode(WindowKind::Maintenance)},
                                                {"designer", KindCode(WindowKind::Designer)}}};

// A number, or one of the given names.
template <size_t N>
bool ExpectNamed(DictParser &p, const char *what, const std::array<Named, N> &names, int64_t lo, int64_t hi,
                 int64_t *out) {
    const DictToken &t = Peek(p);
    if (t.kind == DictTok::Word) {
        for (const Named &n : names)
            if (t.text == n.name) {
                Next(p);
                *out = n.value;
                return true;
            }
        return ParseFail(p, t, std::string("unknown ") + what + " '" + t.text + "'");
    }
    return ExpectNumber(p, what, lo, hi, out);
}

DictValue NumberValue(int64_t v, DictPos pos) {
    DictValue d;
    d.number = v;
    d.pos = pos;
    return d;
}

// Range of a stored form of the given width: signed or unsigned values fit.
int64_t FormMin(uint8_t width) { return width == 4 ? -2147483648ll : width == 2 ? -32768 : -128; }
int64_t FormMax(uint8_t width) { return width == 4 ? 0xFFFFFFFFll : width == 2 ? 65535 : 255; }

// word@N / byte@N / long@N: a raw value at byte N of the entry.
bool ParseRawAttr(DictParser &p, const DictToken &t, const EntryForm &form, DictEntry *e) {
    size_t atSign = t.text.find('@');
    std::string kind = t.text.substr(0, atSign);
    uint8_t width = kind == "byte" ? 1 : kind == "word" ? 2 : kind == "long" ? 4 : 0;
    char *end = nullptr;
    const char *digits = t.text.c_str() + atSign + 1;
    unsigned long at = std::strtoul(digits, &end, 10);
    if (width == 0 || end == digits || *end != 0)
        return ParseFail(p, t, "unknown attribute '" + t.text + "' (raw values are byte@N, word@N, long@N)");
    if (at >= form.size || at + width > form.size)
        return ParseFail(p, t, "'" + t.text + "' lies outside the " + std::to_string(form.size) + " fixed bytes of " +
                                   form.keyword);
    DictValue v;
    if (!ExpectValue(p, "a value", DictRefKind::Number, &v)) return false;
    if (v.number < FormMin(width) || v.number > FormMax(width))
        return ParseFail(p, t, "value " + std::to_string(v.number) + " does not fit " + t.text);
    e->puts.push_back(DictPut{(uint32_t)at, width, v});
    return true;
}

// One "attribute value" pair of an entry.
bool ParseAttr(DictParser &p, const EntryForm &form, DictEntry *e, std::vector<std::string> *seen) {
    const DictToken &t = Next(p);
    if (t.kind != DictTok::Word)
        return ParseFail(p, t, std::string("expected an attribute of ") + form.keyword + ", found " + DictTokenText(t));
    if (std::find(seen->begin(), seen->end(), t.text) != seen->end())
        return ParseFail(p, t, "attribute '" + t.text + "' given twice");
    seen->push_back(t.text);
    if (t.text.find('@') != std::string::npos) return ParseRawAttr(p, t, form, e);
    const Attr *a = nullptr;
    for (const Attr &x : form.attrs)
        if (t.text == x.name) a = &x;
    if (!a) return ParseFail(p, t, "unknown attribute '" + t.text + "' of " + form.keyword);
    // Two names of one word ("value" and "start") cannot both be given.
    for (const Attr &x : form.attrs)
        if (x.at == a->at && std::string(x.name) != a->name &&
            std::find(seen->begin(), seen->end(), x.name) != seen->end())
            return ParseFail(p, t, "'" + t.text + "' and '" + x.name + "' set the same word");
    DictPos pos = PosOf(p, t);
    int64_t v;
    switch (a->form) {
    case Form::U8:
    case Form::U16:
    case Form::I16:
    case Form::U32: {
        uint8_t width = a->form == Form::U8 ? 1 : a->form == Form::U32 ? 4 : 2;
        DictValue d;
        if (!ExpectValue(p, a->name, a->ref, &d)) return false;
        if (d.name.empty() && (d.number < FormMin(width) || d.number > FormMax(width)))
            return ParseFail(p, t, std::string(a->name) + " " + std::to_string(d.number) + " does not fit " +
                                       std::to_string(width * 8) + " bits");
        e->puts.push_back(DictPut{a->at, width, d});
        return true;
    }
    case Form::Rect:
        for (uint32_t i = 0; i < 4; i++) {
            if (!ExpectNumber(p, "rectangle value", -32768, 32767, &v)) return false;
            e->puts.push_back(DictPut{a->at + 2 * i, 2, NumberValue(v, pos)});
        }
        return true;
    case Form::Str: {
        std::string s;
        if (!ExpectString(p, a->name, &s)) return false;
        if (s.size() > a->max)
            return ParseFail(p, t, std::string(a->name) + " is longer than " + std::to_string(a->max) + " bytes");
        e->strings.push_back(DictString{a->at, a->max, std::move(s)});
        return true;
    }
    case Form::Type: {
        uint16_t type;
        if (!ExpectFieldType(p, &type)) return false;
        e->puts.push_back(DictPut{a->at, 2, NumberValue(type, pos)});
        return true;
    }
    case Form::Align:
        if (!ExpectNamed(p, "alignment", AlignNames, 0, 1, &v)) return false;
        e->puts.push_back(DictPut{a->at, a->width, NumberValue(v, pos)});
        return true;
    case Form::CtlKind:
        if (!ExpectNamed(p, "control kind", ControlKinds, 0, 65535, &v)) return false;
        e->puts.push_back(DictPut{a->at, 2, NumberValue(v, pos)});
        return true;
    case Form::Char:
        if (!ExpectChar(p, a->name, &v)) return false;
        e->puts.push_back(DictPut{a->at, 2, NumberValue(v, pos)});
        return true;
    case Form::Access:
        if (!ExpectNamed(p, "access", AccessNames, 0, 65535, &v)) return false;
        e->puts.push_back(DictPut{a->at, 2, NumberValue(v, pos)});
        return true;
    case Form::Chooser: {
        if (IsWord(Peek(p), "today")) {
            Next(p);
            e->puts.push_back(DictPut{a->at, 2, NumberValue(ChooserToday, pos)});
            return true;
        }
        DictValue d;
        if (!ExpectValue(p, "a window type or today", a->ref, &d)) return false;
        if (d.name.empty() && (d.number < 0 || d.number > 32767))
            return ParseFail(p, t, "chooser " + std::to_string(d.number) + " is not a window type");
        e->puts.push_back(DictPut{a->at, 2, d});
        return true;
    }
    case Form::Flag:
        if (!ExpectNumber(p, a->name, 0, 1, &v)) return false;
        e->puts.push_back(DictPut{a->at, 2, NumberValue(v, pos)});
        return true;
    }
    return false;
}

// The attribute pairs of one entry, to the end of its line.
bool ParseEntry(DictParser &p, const EntryForm &form, DictPos pos, std::vector<DictEntry> *out) {
    DictEntry e;
    e.slot = form.slot;
    e.size = form.size;
    e.sized = form.sized;
    e.pos = pos;
    for (const Default &d : form.defaults) e.puts.push_back(DictPut{d.at, d.width, NumberValue(d.value, pos)});
    std::vector<std::string> seen;
    while (Peek(p).kind != DictTok::Eol && Peek(p).kind != DictTok::End && Peek(p).kind != DictTok::Close)
        if (!ParseAttr(p, form, &e, &seen)) return false;
    if (!ExpectEol(p)) return false;
    out->push_back(std::move(e));
    return true;
}

}  // namespace

// wintype N [Name] { attribute values ... }
bool ParseWinType(DictParser &p) {
    struct WordAttr {
        const char *name;
        int word;
        int count;
        DictRefKind ref;
    };
    static constexpr std::array<WordAttr, 17> attrs = {{
        {"kind", 0, 1, R::Number},       {"related", 1, 1, R::WinType},  {"recsize", 2, 1, R::Number},
        {"rect", 3, 4, R::Number},       {"word7", 7, 1, R::Number},     {"register", 8, 1, R::Register},
        {"block", 9, 1, R::Block},       {"title", 10, 1, R::Text},      {"listrect", 11, 4, R::Number},
        {"keepsize", 15, 1, R::Number},  {"minheight", 16, 1, R::Number}, {"minwidth", 17, 1, R::Number},
        {"maxheight", 18, 1, R::Number}, {"maxwidth", 19, 1, R::Number}, {"name", 20, 1, R::Text},
        {"word21", 21, 1, R::Number},    {"menukind", 22, 1, R::Number},
    }};
    DictWinType w;
    if (!ExpectNumberedHead(p, "window type", 1, WinTypeCount - 1, &w.pos, &w.number)) return false;
    if (Peek(p).kind == DictTok::Word && !ExpectName(p, "a window-type name", &w.name)) return false;
    bool ok = ParseBody(p, [&] {
        while (Peek(p).kind != DictTok::Eol && Peek(p).kind != DictTok::Close && Peek(p).kind != DictTok::End) {
            const DictToken &t = Next(p);
            const WordAttr *a = nullptr;
            for (const WordAttr &x : attrs)
                if (t.kind == DictTok::Word && t.text == x.name) a = &x;
            if (!a) return ParseFail(p, t, "unknown window-type attribute " + DictTokenText(t));
            if (w.words[a->word]) return ParseFail(p, t, "attribute '" + t.text + "' given twice");
            for (int i = 0; i < a->count; i++) {
                DictValue v;
                if (a->word == 0) {
                    if (!ExpectNamed(p, "window kind", WindowKinds, 0, 65535, &v.number)) return false;
                    v.pos = PosOf(p, t);
                } else {
                    if (!ExpectValue(p, a->name, a->ref, &v)) return false;
                    if (v.name.empty() && (v.number < -32768 || v.number > 65535))
                        return ParseFail(p, t, std::string(a->name) + " " + std::to_string(v.number) +
                                                   " does not fit 16 bits");
                }
                w.words[a->word + i] = v;
            }
        }
        return ExpectEol(p);
    });
    if (!ok || !ExpectEol(p)) return false;
    p.src->winTypes.push_back(std::move(w));
    return true;
}

// window N { field ... / text ... / control ... / ... }
bool ParseWindow(DictParser &p) {
    DictWindow w;
    if (!ExpectNumberedHead(p, "window type", 1, WinTypeCount - 1, &w.pos, &w.number)) return false;
    bool ok = ParseBody(p, [&] {
        const DictToken &t = Next(p);
        for (const EntryForm &form : WindowForms())
            if (IsWord(t, form.keyword)) return ParseEntry(p, form, PosOf(p, t), &w.entries);
        return ParseFail(p, t, "unknown window entry " + DictTokenText(t) +
                                   " (field, text, control, pane, column, matrix, listcol, box, icon, page, op)");
    });
    if (!ok || !ExpectEol(p)) return false;
    p.src->windows.push_back(std::move(w));
    return true;
}

// menu N "title" { item N "text" [key C] / separator }
bool ParseMenu(DictParser &p) {
    DictMenu m;
    if (!ExpectNumberedHead(p, "menu number", 1, 65535, &m.pos, &m.number)) return false;
    if (!ExpectString(p, "the menu title", &m.title)) return false;
    bool ok = ParseBody(p, [&] {
        const DictToken &t = Next(p);
        DictMenuItem item;
        item.pos = PosOf(p, t);
        int64_t v;
        if (IsWord(t, "separator")) {
            item.separator = true;
            item.text = "(-";
        } else if (IsWord(t, "item")) {
            if (!ExpectNumber(p, "item number", 1, 65535, &v)) return false;
            item.number = (uint16_t)v;
            if (!ExpectString(p, "the item text", &item.text)) return false;
            if (IsWord(Peek(p), "key")) {
                Next(p);
                if (!ExpectChar(p, "a shortcut key", &v)) return false;
                item.key = (uint16_t)v;
            }
        } else {
            return ParseFail(p, t, "expected 'item N \"text\"' or 'separator', found " + DictTokenText(t));
        }
        m.items.push_back(std::move(item));
        return ExpectEol(p);
    });
    if (!ok || !ExpectEol(p)) return false;
    p.src->menus.push_back(std::move(m));
    return true;
}

// list <slot name or number> { one entry of attribute values per line }
bool ParseList(DictParser &p) {
    Next(p);
    const DictToken &t = Next(p);
    const EntryForm *form = nullptr;
    for (const EntryForm &f : ListForms())
        if (IsWord(t, f.keyword) || (t.kind == DictTok::Number && t.number == f.slot)) form = &f;
    if (!form)
        return ParseFail(p, t, "unknown list " + DictTokenText(t) +
                                   " (savedreports, reports, exports, imports, maintenance, documents, modulemenu, "
                                   "modules, windows, or slot 0..8)");
    bool ok = ParseBody(p, [&] { return ParseEntry(p, *form, PosOf(p, Peek(p)), &p.src->listEntries); });
    return ok && ExpectEol(p);
}

// choice N [Name] { value -> text }
bool ParseChoice(DictParser &p) {
    DictChoice c;
    if (!ExpectNumberedHead(p, "choice-list number", 1, 65533, &c.pos, &c.number)) return false;
    if (Peek(p).kind == DictTok::Word && !ExpectName(p, "a choice-list name", &c.name)) return false;
    bool ok = ParseBody(p, [&] {
        DictChoicePair pair;
        int64_t v;
        if (!ExpectNumber(p, "choice value", -32768, 65535, &v)) return false;
        pair.value = (uint16_t)v;
        const DictToken &arrow = Next(p);
        if (arrow.kind != DictTok::Arrow) return ParseFail(p, arrow, "expected 'value -> text'");
        if (!ExpectValue(p, "a text number or name", R::Text, &pair.text)) return false;
        c.pairs.push_back(std::move(pair));
        return ExpectEol(p);
    });
    if (!ok || !ExpectEol(p)) return false;
    p.src->choices.push_back(std::move(c));
    return true;
}
