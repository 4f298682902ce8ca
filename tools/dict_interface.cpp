// dict_interface.cpp - building the window-type table, the window layouts,
// the list-directory tables, the menus and the choice lists into their
// stored byte form.
#include <algorithm>
#include <map>
#include <set>

#include "tools/dict_build.h"

namespace {

constexpr int ListSlots = 12;
constexpr int SlotMenus = 10;
constexpr int SlotChoices = 11;
constexpr uint16_t NoEntries = 0xFFFF;   // a last index of -1

void Put16(std::vector<uint8_t> *b, size_t at, uint16_t v) {
    (*b)[at] = (uint8_t)v;
    (*b)[at + 1] = (uint8_t)(v >> 8);
}

void Append16(std::vector<uint8_t> *b, uint16_t v) {
    b->push_back((uint8_t)v);
    b->push_back((uint8_t)(v >> 8));
}

void PutValue(std::vector<uint8_t> *b, size_t at, uint8_t width, int64_t v) {
    for (int i = 0; i < width; i++) (*b)[at + i] = (uint8_t)((uint64_t)v >> (8 * i));
}

// A PString followed by a pad byte when the total would be odd.
void AppendPString(std::vector<uint8_t> *b, const std::string &s) {
    b->push_back((uint8_t)s.size());
    b->insert(b->end(), s.begin(), s.end());
    if (b->size() % 2) b->push_back(0);
}

// The entry's bytes once its names are resolved; false after an error.
bool BuildEntry(DictSource *src, const DictSymbols &sym, const DictEntry &e, std::vector<uint8_t> *bytes) {
    bytes->assign(e.size, 0);
    bool ok = true;
    for (const DictPut &p : e.puts) {
        int64_t v;
        if (!DictResolve(src, sym, p.value, &v)) { ok = false; continue; }
        int64_t lo = p.width == 4 ? -2147483648ll : p.width == 2 ? -32768 : -128;
        int64_t hi = p.width == 4 ? 0xFFFFFFFFll : p.width == 2 ? 65535 : 255;
        if (v < lo || v > hi) {
            DictError(src, p.value.pos, "value " + std::to_string(v) + " of '" + p.value.name + "' does not fit " +
                                            std::to_string(p.width * 8) + " bits");
            ok = false;
            continue;
        }
        PutValue(bytes, p.at, p.width, v);
    }
    for (const DictString &s : e.strings) {
        if (s.at == e.size) continue;
        (*bytes)[s.at] = (uint8_t)s.text.size();
        std::copy(s.text.begin(), s.text.end(), bytes->begin() + s.at + 1);
    }
    if (e.sized) {
        auto tail = std::find_if(e.strings.begin(), e.strings.end(),
                                 [&](const DictString &s) { return s.at == e.size; });
        AppendPString(bytes, tail == e.strings.end() ? std::string() : tail->text);
        Put16(bytes, 0, (uint16_t)bytes->size());
    }
    return ok;
}

void BuildWinTypes(DictSource *src, const DictSymbols &sym, InterfaceDefs *out) {
    for (const DictWinType &w : src->winTypes) {
        WinTypeSource t;
        t.number = w.number;
        t.line = w.pos.line;
        for (int i = 0; i < WinTypeWords; i++) {
            int64_t v = 0;
            if (w.words[i] && !DictResolve(src, sym, *w.words[i], &v)) continue;
            t.words[i] = (uint16_t)v;
        }
        out->winTypes.push_back(t);
    }
}

void BuildWindows(DictSource *src, const DictSymbols &sym, InterfaceDefs *out) {
    std::map<uint16_t, DictPos> seen;
    for (const DictWindow &w : src->windows) {
        if (!seen.emplace(w.number, w.pos).second) {
            DictError(src, w.pos, "window " + std::to_string(w.number) + " has a second layout");
            continue;
        }
        if (!sym.winTypes.count(w.number))
            DictError(src, w.pos, "window " + std::to_string(w.number) + " has a layout but no wintype");
        WinDefinitionSource def;
        def.number = w.number;
        def.line = w.pos.line;
        for (const DictEntry &e : w.entries) {
            std::vector<uint8_t> bytes;
            if (!BuildEntry(src, sym, e, &bytes)) continue;
            if (!def.parts[e.slot]) def.parts[e.slot].emplace();
            def.parts[e.slot]->push_back(std::move(bytes));
        }
        out->winDefinitions.push_back(std::move(def));
    }
}

// Slots 0..8: u16 last index, then the fixed entries.
void BuildLists(DictSource *src, const DictSymbols &sym, InterfaceDefs *out) {
    std::array<std::vector<std::vector<uint8_t>>, ListSlots> entries;
    for (const DictEntry &e : src->listEntries) {
        std::vector<uint8_t> bytes;
        if (BuildEntry(src, sym, e, &bytes)) entries[e.slot].push_back(std::move(bytes));
    }
    for (int slot = 0; slot < ListSlots; slot++) {
        if (slot == SlotMenus || slot == SlotChoices) continue;
        std::vector<uint8_t> &table = out->lists.tables[slot];
        Append16(&table, entries[slot].empty() ? NoEntries : (uint16_t)(entries[slot].size() - 1));
        for (const auto &e : entries[slot]) table.insert(table.end(), e.begin(), e.end());
    }
}

// Slot 10: each menu's header and items; a header of menu number 0 ends it.
void BuildMenus(DictSource *src, InterfaceDefs *out) {
    std::vector<uint8_t> &table = out->lists.tables[SlotMenus];
    std::map<uint16_t, DictPos> seen;
    for (const DictMenu &m : src->menus) {
        if (!seen.emplace(m.number, m.pos).second) {
            DictError(src, m.pos, "menu " + std::to_string(m.number) + " is defined twice");
            continue;
        }
        if (m.title.size() > 255) DictError(src, m.pos, "menu title is over 255 bytes");
        std::set<uint16_t> numbers;
        for (const DictMenuItem &item : m.items) {
            if (item.text.size() > 255) DictError(src, item.pos, "item text is over 255 bytes");
            if (!item.separator && !numbers.insert(item.number).second)
                DictError(src, item.pos, "item " + std::to_string(item.number) + " of menu " +
                                             std::to_string(m.number) + " is defined twice");
        }
        std::vector<uint8_t> header(6, 0);
        AppendPString(&header, m.title);
        Put16(&header, 0, (uint16_t)header.size());
        Put16(&header, 2, m.number);
        Put16(&header, 4, (uint16_t)m.items.size());
        table.insert(table.end(), header.begin(), header.end());
        for (const DictMenuItem &item : m.items) {
            std::vector<uint8_t> b(8, 0);
            AppendPString(&b, item.text);
            Put16(&b, 0, (uint16_t)b.size());
            Put16(&b, 4, item.key);
            Put16(&b, 6, item.number);
            table.insert(table.end(), b.begin(), b.end());
        }
    }
    Append16(&table, 4);   // the end mark: header length, menu number 0
    Append16(&table, 0);
}

// Slot 11: u16 last index, then (length, list, count, pairs) entries.
void BuildChoices(DictSource *src, const DictSymbols &sym, InterfaceDefs *out) {
    std::vector<uint8_t> &table = out->lists.tables[SlotChoices];
    Append16(&table, src->choices.empty() ? NoEntries : (uint16_t)(src->choices.size() - 1));
    for (const DictChoice &c : src->choices) {
        if (c.pairs.size() > 16382) DictError(src, c.pos, "choice list " + std::to_string(c.number) + " is too long");
        std::vector<uint8_t> b(6, 0);
        Put16(&b, 0, (uint16_t)(6 + 4 * c.pairs.size()));
        Put16(&b, 2, c.number);
        Put16(&b, 4, (uint16_t)c.pairs.size());
        std::set<uint16_t> values;
        for (const DictChoicePair &pair : c.pairs) {
            if (!values.insert(pair.value).second)
                DictError(src, pair.text.pos, "value " + std::to_string(pair.value) + " appears twice in choice list " +
                                                  std::to_string(c.number));
            int64_t text = 0;
            DictResolve(src, sym, pair.text, &text);
            Append16(&b, pair.value);
            Append16(&b, (uint16_t)text);
        }
        table.insert(table.end(), b.begin(), b.end());
    }
}

}  // namespace

void DictBuildInterface(DictSource *src, const DictSymbols &sym, InterfaceDefs *out) {
    BuildWinTypes(src, sym, out);
    BuildWindows(src, sym, out);
    BuildLists(src, sym, out);
    BuildMenus(src, out);
    BuildChoices(src, sym, out);
}
