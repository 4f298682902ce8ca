// dict_window_checks.cpp - the checks of window layouts against the
// records they show: every data field, matrix column and control of a
// window lies inside its record or row and, where the window has a
// register or settings block, on a dictionary field of the same stored
// width; record and row sizes agree with the dictionary; pages, choosers
// and scroll controls that entries name exist. A layout that fails shows
// or stores bytes the dictionary places elsewhere, so the build stops.
#include <map>
#include <string>

#include "core/definitions.h"
#include "core/window_entries.h"
#include "tools/dict_build.h"
#include "tools/dict_types.h"

namespace {

// Window kinds the checks tell apart.
constexpr uint16_t KindRecord = 3, KindSettings = 8, KindSettingsRows = 9;
// The most controls and pages a window has room for.
constexpr int MaxControls = 31, MaxPages = 10;

uint16_t U16(const std::vector<uint8_t> &b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }
uint32_t U32(const std::vector<uint8_t> &b, size_t at) { return U16(b, at) | uint32_t(U16(b, at + 2)) << 16; }

// One window being checked: its type's words, the record it shows (null
// when it shows none of the dictionary's) and the built entries of each
// part with their source positions.
struct WindowCheck {
    DictSource *src;
    const DictWindow *window;
    const WinTypeSource *type;
    const DictRecord *record = nullptr;
    std::array<std::vector<std::pair<const std::vector<uint8_t> *, const DictEntry *>>, WinDefParts> parts;
};

void Fail(WindowCheck *c, DictPos pos, const std::string &message)
{
    DictError(c->src, pos, "window " + std::to_string(c->window->number) + ": " + message);
}

// The bytes a value of the type covers with the format; -1 for the
// types that store nothing a window shows (reserved bytes, labels and
// looked-up texts), which no width check applies to.
int64_t ShownWidth(uint16_t type, uint16_t format)
{
    const DictFieldType *t = DictTypeByCode(type);
    if (!t) return -1;
    switch (t->arg) {
    case DictArg::Length: return DictTextWidth(format);
    case DictArg::Fixed: return t->width;
    case DictArg::Choice: return 2;
    case DictArg::Bytes: return -1;
    }
    return -1;
}

// The field of `fields` that starts at offset; null when none does.
const DictField *FieldAt(const std::vector<DictField> &fields, uint32_t offset)
{
    for (const DictField &f : fields)
        if (f.offset == offset && f.width > 0) return &f;
    return nullptr;
}

// Checks a value of the type and format at offset against `limit` bytes
// and, when fields are given, against the dictionary field there.
void CheckPlace(WindowCheck *c, DictPos pos, const char *what, uint16_t type, uint16_t format, uint32_t offset,
                uint32_t limit, const std::vector<DictField> *fields, const char *where)
{
    int64_t width = ShownWidth(type, format);
    if (width < 0) return;
    std::string at = "bytes " + std::to_string(offset) + ".." + std::to_string(offset + width - 1);
    if (uint64_t(offset) + uint64_t(width) > limit) {
        Fail(c, pos, std::string(what) + " at " + at + " lies outside the " + where + " of " + std::to_string(limit) +
                         " bytes");
        return;
    }
    if (!fields) return;
    const DictField *f = FieldAt(*fields, offset);
    if (!f) {
        Fail(c, pos, std::string(what) + " at " + at + " is not on a field of the " + where);
        return;
    }
    if (f->width != width)
        Fail(c, pos, std::string(what) + " at " + at + " covers " + std::to_string(width) + " bytes, field " + f->name +
                         " " + std::to_string(f->width));
}

// The record a window shows and the sizes it must agree with.
void CheckRecord(WindowCheck *c, const DictSymbols &sym)
{
    uint16_t kind = c->type->words[0], recsize = c->type->words[2];
    uint16_t reg = c->type->words[8], block = c->type->words[9];
    DictPos pos = c->window->pos;   // the recsize word's place when the source gives it
    for (const DictWinType &t : c->src->winTypes)
        if (t.number == c->window->number) pos = t.words[2] ? t.words[2]->pos : t.pos;
    if (kind == KindRecord && reg) {
        auto it = sym.registers.find(reg);
        if (it == sym.registers.end()) return;   // refused where the word was resolved
        c->record = it->second;
        if (recsize != c->record->size)
            Fail(c, pos, "recsize " + std::to_string(recsize) + " is not the size " + std::to_string(c->record->size) +
                             " of register " + c->record->name);
    } else if ((kind == KindSettings || kind == KindSettingsRows) && block) {
        auto it = sym.blocks.find(block);
        if (it == sym.blocks.end()) return;
        c->record = it->second;
        if (kind == KindSettings && recsize != c->record->size)
            Fail(c, pos, "recsize " + std::to_string(recsize) + " is not the size " + std::to_string(c->record->size) +
                             " of settings block " + c->record->name);
        if (kind == KindSettingsRows && !c->record->table)
            Fail(c, pos, "settings block " + c->record->name + " of a rows window is not a table");
        if (kind == KindSettingsRows && recsize < 4) Fail(c, pos, "recsize of a rows window is below 4");
    } else if (kind == KindSettings || kind == KindSettingsRows) {
        Fail(c, pos, "a settings window names no settings block");
    }
}

// True when control i of the window is a scroll bar.
bool IsScrollControl(const WindowCheck &c, uint16_t i)
{
    const auto &controls = c.parts[WinPartControls];
    return i < controls.size() && U16(*controls[i].first, ControlEntry::Kind) == CtlScroll;
}

// The register or block name a "Record.Field" value names; empty for a number.
std::string RecordNameOf(const DictValue &v)
{
    size_t dot = v.name.find('.');
    return dot == std::string::npos ? std::string() : v.name.substr(0, dot);
}

void CheckFields(WindowCheck *c)
{
    uint32_t limit = c->type->words[2];
    bool own = c->record && c->type->words[0] != KindSettingsRows;
    for (auto [bytes, e] : c->parts[WinPartDataFields]) {
        CheckPlace(c, e->pos, "field", U16(*bytes, FieldEntry::Type), U16(*bytes, FieldEntry::Format),
                   U32(*bytes, FieldEntry::Offset), limit, own ? &c->record->fields : nullptr, "record");
        for (const DictPut &p : e->puts)
            if (p.at == FieldEntry::ReturnLink && c->record && !RecordNameOf(p.value).empty() &&
                RecordNameOf(p.value) != c->record->name)
                Fail(c, p.value.pos, "next " + p.value.name + " is not a field of " + c->record->name);
    }
    for (auto [bytes, e] : c->parts[WinPartControls]) {
        uint16_t offset = U16(*bytes, ControlEntry::Offset), kind = U16(*bytes, ControlEntry::Kind);
        if (offset == NoEntryOffset || kind == CtlScroll || kind == CtlPageTab || kind == CtlMatrixTab) continue;
        if (uint32_t(offset) + 2 > limit)
            Fail(c, e->pos, "control value at bytes " + std::to_string(offset) + ".." + std::to_string(offset + 1) +
                                " lies outside the record of " + std::to_string(limit) + " bytes");
    }
}

void CheckMatrix(WindowCheck *c)
{
    const DictRows *rows = c->record && c->record->rows ? &*c->record->rows : nullptr;
    uint32_t rowSize = 0;
    for (auto [bytes, e] : c->parts[WinPartMatrixAreas]) {
        rowSize = U16(*bytes, MatrixEntry::RowSize);
        if (rows && rowSize != rows->size)
            Fail(c, e->pos, "matrix rowsize " + std::to_string(rowSize) + " is not the row size " +
                                std::to_string(rows->size) + " of " + c->record->name);
        if (!IsScrollControl(*c, U16(*bytes, MatrixEntry::Control)))
            Fail(c, e->pos, "matrix control " + std::to_string(U16(*bytes, MatrixEntry::Control)) +
                                " is not a scroll control");
    }
    for (auto [bytes, e] : c->parts[WinPartListPanes])
        if (!IsScrollControl(*c, U16(*bytes, PaneEntry::Control)))
            Fail(c, e->pos, "pane control " + std::to_string(U16(*bytes, PaneEntry::Control)) +
                                " is not a scroll control");
    if (c->parts[WinPartMatrixAreas].empty()) return;
    for (auto [bytes, e] : c->parts[WinPartMatrixColumns])
        CheckPlace(c, e->pos, "column", U16(*bytes, ColumnEntry::Type), U16(*bytes, ColumnEntry::Format),
                   U32(*bytes, ColumnEntry::Offset), rowSize, rows ? &rows->fields : nullptr, "row");
}

// Pages: at most ten, and every page an entry stands on has its entry.
void CheckPages(WindowCheck *c)
{
    size_t pages = c->parts[WinPartPages].size();
    if (pages > size_t(MaxPages))
        Fail(c, c->parts[WinPartPages][MaxPages].second->pos, "over " + std::to_string(MaxPages) + " pages");
    if (c->parts[WinPartControls].size() > size_t(MaxControls))
        Fail(c, c->parts[WinPartControls][MaxControls].second->pos,
             "over " + std::to_string(MaxControls) + " controls");
    auto need = [&](const DictEntry *e, uint16_t page) {
        if (page != 0 && page >= pages)
            Fail(c, e->pos, "page " + std::to_string(page) + " has no page entry");
    };
    for (auto [bytes, e] : c->parts[WinPartDataFields]) need(e, U16(*bytes, FieldEntry::Page));
    for (auto [bytes, e] : c->parts[WinPartStaticTexts]) need(e, U16(*bytes, TextEntry::Page));
    for (auto [bytes, e] : c->parts[WinPartControls]) {
        need(e, U16(*bytes, ControlEntry::Page));
        if (U16(*bytes, ControlEntry::Kind) == CtlPageTab) need(e, U16(*bytes, ControlEntry::Command));
    }
    for (auto [bytes, e] : c->parts[WinPartBoxes]) need(e, U16(*bytes, BoxEntry::Page));
    for (auto [bytes, e] : c->parts[WinPartMatrixAreas]) need(e, U16(*bytes, MatrixEntry::Page));
}

}  // namespace

void DictCheckWindows(DictSource *src, const DictSymbols &sym, const InterfaceDefs &built)
{
    std::map<uint16_t, const WinTypeSource *> types;
    for (const WinTypeSource &t : built.winTypes) types[t.number] = &t;
    std::map<uint16_t, const WinDefinitionSource *> defs;
    for (const WinDefinitionSource &d : built.winDefinitions) defs[d.number] = &d;
    for (const DictWindow &w : src->windows) {
        auto type = types.find(w.number);
        auto def = defs.find(w.number);
        if (type == types.end() || def == defs.end()) continue;
        WindowCheck c{src, &w, type->second, nullptr, {}};
        std::array<size_t, WinDefParts> next{};
        for (const DictEntry &e : w.entries) {
            const auto &part = def->second->parts[e.slot];
            if (!part || next[e.slot] >= part->size()) return;   // entries and bytes disagree: refused before
            c.parts[e.slot].push_back({&(*part)[next[e.slot]++], &e});
        }
        CheckRecord(&c, sym);
        CheckFields(&c);
        CheckMatrix(&c);
        CheckPages(&c);
    }
}
