// dict_build.cpp - DictBuild: the symbol tables across all files, the
// texts, name resolution, and the order of the build steps.
#include <algorithm>

#include "tools/dict.h"
#include "tools/dict_build.h"

namespace {

// The numbers the program gives settings blocks.
constexpr int SettingsBlockFirst = 129, SettingsBlockLast = 227;

std::string Where(const DictSource &src, DictPos pos) {
    return src.files[pos.file] + ":" + std::to_string(pos.line);
}

// Names the header reserves at the top level.
bool ReservedTopName(const std::string &name) {
    return name == "Texts" || name == "WinTypes" || name == "Choices";
}

void BuildTexts(DictSource *src, DictSymbols *sym, InterfaceDefs *out) {
    for (const DictText &t : src->texts) {
        if (t.number < 1 || t.number > 32767) {
            DictError(src, t.pos, "text number " + std::to_string(t.number) + " is outside 1..32767");
            continue;
        }
        auto [it, fresh] = sym->texts.emplace(t.number, &t);
        if (!fresh) {
            DictError(src, t.pos, "text " + std::to_string(t.number) + " is already defined at " +
                                      Where(*src, it->second->pos));
            continue;
        }
        if (t.text.size() > 255) DictError(src, t.pos, "text " + std::to_string(t.number) + " is over 255 bytes");
        if (!t.name.empty()) {
            std::string why;
            if (!DictHeaderNameOk(t.name, &why)) DictError(src, t.pos, "text name " + t.name + ": " + why);
            auto [n, freshName] = sym->textNames.emplace(t.name, t.number);
            if (!freshName)
                DictError(src, t.pos, "text name " + t.name + " is already used by text " + std::to_string(n->second));
        }
    }
    for (const auto &[number, t] : sym->texts)
        out->texts.push_back(TextSource{(int16_t)number, t->text, t->pos.line});
}

void IndexRecords(DictSource *src, DictSymbols *sym) {
    for (const DictRecord &r : src->records) {
        const char *what = r.block ? "settings block" : "register";
        std::string why;
        if (!DictHeaderNameOk(r.name, &why) || ReservedTopName(r.name)) {
            DictError(src, r.pos, std::string(what) + " name " + r.name + ": " +
                                      (why.empty() ? "reserved for the header" : why));
        }
        if (!r.block && r.name.size() > 41) DictError(src, r.pos, "register name " + r.name + " is over 41 characters");
        if (r.block && (r.number < SettingsBlockFirst || r.number > SettingsBlockLast))
            DictError(src, r.pos, "settings-block number " + std::to_string(r.number) + " is outside " +
                                      std::to_string(SettingsBlockFirst) + ".." + std::to_string(SettingsBlockLast));
        if (!r.block && r.number >= RegisterCount)
            DictError(src, r.pos, "register number " + std::to_string(r.number) + " is outside 1.." +
                                      std::to_string(RegisterCount - 1));
        auto &byNumber = r.block ? sym->blocks : sym->registers;
        auto [it, fresh] = byNumber.emplace(r.number, &r);
        if (!fresh)
            DictError(src, r.pos, std::string(what) + " " + std::to_string(r.number) + " is already defined at " +
                                      Where(*src, it->second->pos));
        auto [n, freshName] = sym->recordNames.emplace(r.name, &r);
        if (!freshName)
            DictError(src, r.pos, "name " + r.name + " is already used at " + Where(*src, n->second->pos));
    }
}

// Layouts by name; a layout's name is a namespace of the header, so it
// may be no register's or block's.
void IndexLayouts(DictSource *src, DictSymbols *sym) {
    for (const DictLayout &l : src->layouts) {
        std::string why;
        if (!DictHeaderNameOk(l.name, &why) || ReservedTopName(l.name))
            DictError(src, l.pos, "layout name " + l.name + ": " + (why.empty() ? "reserved for the header" : why));
        auto rec = sym->recordNames.find(l.name);
        if (rec != sym->recordNames.end())
            DictError(src, l.pos, "name " + l.name + " is already used at " + Where(*src, rec->second->pos));
        auto [it, fresh] = sym->layoutNames.emplace(l.name, &l);
        if (!fresh) DictError(src, l.pos, "name " + l.name + " is already used at " + Where(*src, it->second->pos));
    }
}

// Window types and choice lists by number and name.
template <typename T, typename Map>
void IndexNumbered(DictSource *src, const std::vector<T> &items, const char *what, Map *byNumber,
                   std::map<std::string, uint16_t> *byName, const DictSymbols &sym) {
    for (const T &x : items) {
        auto [it, fresh] = byNumber->emplace(x.number, &x);
        if (!fresh)
            DictError(src, x.pos, std::string(what) + " " + std::to_string(x.number) + " is already defined at " +
                                      Where(*src, it->second->pos));
        if (x.name.empty()) continue;
        std::string why;
        if (!DictHeaderNameOk(x.name, &why)) DictError(src, x.pos, std::string(what) + " name " + x.name + ": " + why);
        if (!byName->emplace(x.name, x.number).second)
            DictError(src, x.pos, std::string(what) + " name " + x.name + " is used twice");
    }
}

// "Layout.Field": a field of a layout.
bool ResolveLayoutOffset(DictSource *src, const DictLayout &l, const std::string &field, const DictValue &v,
                         int64_t *out) {
    for (const DictField &f : l.fields)
        if (f.name == field) {
            *out = f.offset;
            return true;
        }
    DictError(src, v.pos, "layout " + l.name + " has no field " + field);
    return false;
}

// "Record.Field": a field of the record, or else of its rows; or
// "Layout.Field".
bool ResolveOffset(DictSource *src, const DictSymbols &sym, const DictValue &v, int64_t *out) {
    size_t dot = v.name.find('.');
    std::string owner = dot == std::string::npos ? std::string() : v.name.substr(0, dot);
    auto rec = sym.recordNames.find(owner);
    if (rec == sym.recordNames.end()) {
        auto layout = sym.layoutNames.find(owner);
        if (layout != sym.layoutNames.end())
            return ResolveLayoutOffset(src, *layout->second, v.name.substr(dot + 1), v, out);
        DictError(src, v.pos, "'" + v.name + "' is not Register.Field, Block.Field or Layout.Field");
        return false;
    }
    std::string field = v.name.substr(dot + 1);
    for (const DictField &f : rec->second->fields)
        if (f.name == field) {
            *out = f.offset;
            return true;
        }
    bool found = false;
    if (rec->second->rows)
        for (const DictField &f : rec->second->rows->fields)
            if (f.name == field) {
                if (found && *out != f.offset) {
                    DictError(src, v.pos, "row field " + v.name + " has different offsets in different kinds");
                    return false;
                }
                *out = f.offset;
                found = true;
            }
    if (!found) DictError(src, v.pos, rec->second->name + " has no field " + field);
    return found;
}

template <typename Map>
bool ResolveIn(DictSource *src, const Map &names, const DictValue &v, const char *what, int64_t *out) {
    auto it = names.find(v.name);
    if (it == names.end()) {
        DictError(src, v.pos, std::string("no ") + what + " is named " + v.name);
        return false;
    }
    *out = it->second;
    return true;
}

template <typename Map>
bool CheckDefined(DictSource *src, const Map &numbers, const DictValue &v, const char *what) {
    if (v.number == 0 || numbers.count(v.number)) return true;
    DictError(src, v.pos, std::string(what) + " " + std::to_string(v.number) + " is not defined");
    return false;
}

}  // namespace

bool DictResolve(DictSource *src, const DictSymbols &sym, const DictValue &v, int64_t *out) {
    *out = v.number;
    if (v.name.empty()) {
        switch (v.kind) {
        case DictRefKind::Text: return CheckDefined(src, sym.texts, v, "text");
        case DictRefKind::Register: return CheckDefined(src, sym.registers, v, "register");
        case DictRefKind::Block: return CheckDefined(src, sym.blocks, v, "settings block");
        case DictRefKind::WinType: return CheckDefined(src, sym.winTypes, v, "window type");
        default: return true;
        }
    }
    switch (v.kind) {
    case DictRefKind::Text: return ResolveIn(src, sym.textNames, v, "text", out);
    case DictRefKind::Choice: return ResolveIn(src, sym.choiceNames, v, "choice list", out);
    case DictRefKind::WinType: return ResolveIn(src, sym.winTypeNames, v, "window type", out);
    case DictRefKind::Register:
    case DictRefKind::Block: {
        auto it = sym.recordNames.find(v.name);
        bool block = v.kind == DictRefKind::Block;
        if (it == sym.recordNames.end() || it->second->block != block) {
            DictError(src, v.pos, std::string("no ") + (block ? "settings block" : "register") + " is named " + v.name);
            return false;
        }
        *out = it->second->number;
        return true;
    }
    case DictRefKind::Offset: return ResolveOffset(src, sym, v, out);
    case DictRefKind::Number: break;
    }
    DictError(src, v.pos, "a number is expected, not " + v.name);
    return false;
}

bool DictBuild(DictSource *src, InterfaceDefs *out) {
    *out = InterfaceDefs{};
    DictSymbols sym;
    BuildTexts(src, &sym, out);
    IndexRecords(src, &sym);
    IndexLayouts(src, &sym);
    IndexNumbered(src, src->winTypes, "window type", &sym.winTypes, &sym.winTypeNames, sym);
    IndexNumbered(src, src->choices, "choice list", &sym.choices, &sym.choiceNames, sym);
    DictBuildRecords(src, sym, out);
    DictBuildLayouts(src, sym);
    DictBuildInterface(src, sym, out);
    if (src->errors.empty()) DictCheckWindows(src, sym, *out);
    DictBuildTables(src, out);
    return src->errors.empty();
}

bool DictCompile(const std::vector<std::pair<std::string, std::string>> &files, InterfaceDefs *out,
                 std::string *header, std::vector<std::string> *errors) {
    DictSource src;
    for (const auto &[name, text] : files) DictParse(&src, name, text);
    bool ok = src.errors.empty() && DictBuild(&src, out);
    if (ok && header) *header = DictHeaderText(src);
    *errors = src.errors;
    return ok;
}
