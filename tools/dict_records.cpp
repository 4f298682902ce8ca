// dict_records.cpp - building registers, settings blocks and the
// program's own layouts: the bytes each field covers, the checks that
// fields lie inside their record or row and do not share bytes by
// accident (nor a layout's base record), the rows handle and user-code
// fields, and the index definitions with their key parts.
#include <algorithm>
#include <map>
#include <set>

#include "tools/dict_build.h"
#include "tools/dict_types.h"

namespace {

constexpr uint16_t ChoiceModules = 65535;    // the module table (list -1)
constexpr uint16_t ChoiceRegWindows = 65534; // the module menu (list -2)
constexpr uint32_t IndexNodeLimit = 504;
constexpr uint16_t IndexHeadLimit = 350;
constexpr uint16_t IndexHeadFirst = 2;       // head 1 is the engine's own index of numbered blocks
constexpr uint32_t NodeHeader = 6;
constexpr uint32_t NodeEntryExtra = 12;

std::string Range(uint32_t offset, uint32_t width) {
    return std::to_string(offset) + ".." + std::to_string((uint64_t)offset + width - 1);
}

// Works out f's stored size word and the bytes it covers.
bool SizeField(DictSource *src, const DictSymbols &sym, DictField *f) {
    const DictFieldType *t = DictTypeByCode(f->type);
    if (f->hasArg && !f->arg.name.empty() && t->arg != DictArg::Choice) {
        DictError(src, f->pos, "the size of " + f->name + " must be a number");
        return false;
    }
    int64_t n = f->arg.number;
    switch (t->arg) {
    case DictArg::Length:
        if (!f->hasArg || n < 1 || n > 255) {
            DictError(src, f->pos, "text field " + f->name + " needs its maximum length 1..255");
            return false;
        }
        f->size = (uint16_t)n;
        f->width = DictTextWidth((uint32_t)n);
        return true;
    case DictArg::Fixed:
        if (f->hasArg && n != t->width) {
            DictError(src, f->pos, "field " + f->name + ": type " + t->name + " is " + std::to_string(t->width) +
                                       " bytes, not " + std::to_string(n));
            return false;
        }
        f->size = t->width;
        f->width = t->width;
        return true;
    case DictArg::Choice:
        if (f->hasArg && !DictResolve(src, sym, f->arg, &n)) return false;
        if (!f->hasArg) n = 0;
        if (n != 0 && n != ChoiceModules && n != ChoiceRegWindows && !sym.choices.count(n)) {
            DictError(src, f->pos, "field " + f->name + ": choice list " + std::to_string(n) + " is not defined");
            return false;
        }
        f->size = (uint16_t)n;
        f->width = 2;
        return true;
    case DictArg::Bytes:
        if (n < 0 || n > 65535) {
            DictError(src, f->pos, "field " + f->name + ": byte count " + std::to_string(n) + " is outside 0..65535");
            return false;
        }
        f->size = (uint16_t)n;
        f->width = (uint32_t)n;
        return true;
    }
    return false;
}

// Sizes the fields and checks that each lies inside limit bytes and that
// no two share bytes unless one is marked overlay. Fields of a row kind
// are checked against the fields of every kind and their own kind only.
void CheckFields(DictSource *src, const DictSymbols &sym, std::vector<DictField> *fields, uint32_t limit,
                 const char *where) {
    std::vector<DictField *> sized;
    for (DictField &f : *fields) {
        if (!SizeField(src, sym, &f)) continue;
        if ((uint64_t)f.offset + f.width > limit || (f.width == 0 && f.offset > limit)) {
            DictError(src, f.pos, "field " + f.name + " (bytes " + Range(f.offset, std::max(f.width, 1u)) +
                                      ") lies outside the " + std::to_string(limit) + "-byte " + where);
            continue;
        }
        sized.push_back(&f);
    }
    for (size_t j = 0; j < sized.size(); j++) {
        DictField *b = sized[j];
        for (size_t i = 0; i < j; i++) {
            DictField *a = sized[i];
            if (a->width == 0 || b->width == 0 || a->overlay || b->overlay) continue;
            if (a->kind != 0 && b->kind != 0 && a->kind != b->kind) continue;
            if (a->offset < b->offset + b->width && b->offset < a->offset + a->width) {
                DictError(src, b->pos, "field " + b->name + " (bytes " + Range(b->offset, b->width) +
                                           ") overlaps field " + a->name + " (bytes " + Range(a->offset, a->width) +
                                           "); mark one 'overlay' if that is meant");
                break;
            }
        }
    }
}

// Field names must be C++ names, unique in their scope, and not one of
// the names the header gives the scope itself. Row fields of different
// kinds may share a name when they share the offset.
void CheckNames(DictSource *src, const std::vector<DictField> &fields, const std::set<std::string> &reserved) {
    std::map<std::string, const DictField *> seen;
    for (const DictField &f : fields) {
        std::string why;
        if (!DictHeaderNameOk(f.name, &why)) DictError(src, f.pos, "field name " + f.name + ": " + why);
        else if (reserved.count(f.name)) DictError(src, f.pos, "field name " + f.name + " is reserved for the header");
        auto [it, fresh] = seen.emplace(f.name, &f);
        if (fresh) continue;
        const DictField *g = it->second;
        bool sameKindScope = f.kind == g->kind || f.kind == 0 || g->kind == 0;
        if (sameKindScope) DictError(src, f.pos, "field " + f.name + " is defined twice");
        else if (f.offset != g->offset)
            DictError(src, f.pos, "row field " + f.name + " has another offset in kind " + std::to_string(g->kind));
    }
}

// Resolves the rows-handle or user-code field: a field name of the record
// or an offset; checks that width bytes lie inside the record.
int32_t PlaceField(DictSource *src, const DictRecord &r, const std::optional<DictValue> &v, uint32_t width,
                   const char *what) {
    if (!v) return DefAbsent;
    int64_t offset = v->number;
    if (!v->name.empty()) {
        auto it = std::find_if(r.fields.begin(), r.fields.end(), [&](const DictField &f) { return f.name == v->name; });
        if (it == r.fields.end()) {
            DictError(src, v->pos, std::string(what) + ": " + r.name + " has no field " + v->name);
            return DefAbsent;
        }
        offset = it->offset;
    }
    if (offset < 0 || offset + width > r.size) {
        DictError(src, v->pos, std::string(what) + " at bytes " + Range((uint32_t)offset, width) +
                                   " lies outside the " + std::to_string(r.size) + "-byte record");
        return DefAbsent;
    }
    return (int32_t)offset;
}

std::optional<RowLayoutDef> BuildRows(DictSource *src, const DictSymbols &sym, DictRecord *r) {
    if (!r->rows) return std::nullopt;
    DictRows &rows = *r->rows;
    CheckFields(src, sym, &rows.fields, rows.size, "row");
    CheckNames(src, rows.fields, {"Size"});
    RowLayoutDef out;
    out.rowSize = rows.size;
    out.kindCount = rows.kinds;
    for (const DictField &f : rows.fields) {
        bool onKindWord = f.width > 0 && f.offset < 2;
        if (rows.kinds > 1 && onKindWord && !(f.offset == 0 && f.width == 2) && !f.overlay)
            DictError(src, f.pos, "field " + f.name + " covers the row-kind word (bytes 0..1) of a row with " +
                                      std::to_string(rows.kinds) + " kinds");
        for (uint16_t k = 1; k <= rows.kinds; k++)
            if (f.kind == 0 || f.kind == k)
                out.fields.push_back(RowFieldDef{f.name, k, f.offset, f.type, f.size, f.pos.line});
    }
    std::stable_sort(out.fields.begin(), out.fields.end(), [](const RowFieldDef &a, const RowFieldDef &b) {
        return a.kind != b.kind ? a.kind < b.kind : a.offset < b.offset;
    });
    return out;
}

bool BuildIndex(DictSource *src, const DictRecord &r, const DictIndex &x, IndexDefSource *out) {
    bool ok = true;
    auto fail = [&](DictPos pos, const std::string &m) {
        DictError(src, pos, "index " + r.name + ":" + x.name + ": " + m);
        ok = false;
    };
    std::string why;
    if (!DictHeaderNameOk(x.name, &why)) fail(x.pos, why);
    if (r.name.size() + 1 + x.name.size() > IndexFullNameMax)
        fail(x.pos, "the full name is over " + std::to_string(IndexFullNameMax) + " characters");
    if (x.head < IndexHeadFirst || x.head > IndexHeadLimit)
        fail(x.pos, "head number " + std::to_string(x.head) + " is outside " + std::to_string(IndexHeadFirst) + ".." +
                        std::to_string(IndexHeadLimit));
    out->name = x.name;
    out->head = x.head;
    out->nodeSize = x.node;
    out->words = x.words;
    out->line = x.pos.line;
    uint32_t keyLength = 0;
    for (const DictKeyPart &k : x.parts) {
        KeyPartDef part{1, k.offset, keyLength, (uint16_t)k.length, k.type};
        if (!k.field.empty()) {
            auto f = std::find_if(r.fields.begin(), r.fields.end(),
                                  [&](const DictField &g) { return g.name == k.field; });
            if (f == r.fields.end()) { fail(k.pos, r.name + " has no field " + k.field); continue; }
            if (f->width == 0) { fail(k.pos, "field " + k.field + " has no stored bytes to key on"); continue; }
            part.recordOffset = f->offset;
            part.length = (uint16_t)f->width;
            part.type = f->type;
        }
        if ((uint64_t)part.recordOffset + part.length > r.size) {
            fail(k.pos, "key part at bytes " + Range(part.recordOffset, part.length) + " lies outside the " +
                            std::to_string(r.size) + "-byte record");
            continue;
        }
        keyLength += part.length;
        out->parts.push_back(part);
    }
    if (!ok) return false;
    if (x.parts.empty()) { fail(x.pos, "no key parts"); return false; }
    if (keyLength > 65535) { fail(x.pos, "the key is over 65535 bytes"); return false; }
    if (r.simple && keyLength != r.size) {
        fail(x.pos, "a key of " + std::to_string(keyLength) + " bytes; a simple register keys its whole " +
                        std::to_string(r.size) + "-byte record");
        return false;
    }
    out->keyLength = (uint16_t)keyLength;
    uint64_t entry = keyLength + NodeEntryExtra;
    if (x.node > IndexNodeLimit) {
        fail(x.pos, "node size " + std::to_string(x.node) + " is over " + std::to_string(IndexNodeLimit));
        return false;
    }
    if (NodeHeader + 2 * entry > x.node) {
        fail(x.pos, "node size " + std::to_string(x.node) + " has no room for two entries of a " +
                        std::to_string(keyLength) + "-byte key (needs " + std::to_string(NodeHeader + 2 * entry) + ")");
        return false;
    }
    uint64_t fits = (x.node - NodeHeader) / entry;
    if (x.entries >= 0 && (x.entries < 2 || (uint64_t)x.entries > fits)) {
        fail(x.pos, std::to_string(x.entries) + " entries per node: a node of " + std::to_string(x.node) +
                        " bytes holds 2.." + std::to_string(fits));
        return false;
    }
    out->maxEntries = (uint16_t)(x.entries >= 0 ? x.entries : fits);
    return true;
}

}  // namespace

void DictBuildLayouts(DictSource *src, const DictSymbols &sym) {
    for (DictLayout &l : src->layouts) {
        CheckFields(src, sym, &l.fields, l.size, "layout");
        CheckNames(src, l.fields, {"Size"});
        if (!l.base) continue;
        int64_t reg = 0;
        if (!DictResolve(src, sym, *l.base, &reg)) continue;
        auto it = sym.registers.find(reg);
        if (it == sym.registers.end() || reg == 0) {
            DictError(src, l.base->pos, "layout " + l.name + ": its base is no register");
            continue;
        }
        l.baseSize = it->second->size;
        l.baseName = it->second->name;
        if (l.baseSize > l.size) {
            DictError(src, l.pos, "layout " + l.name + " (" + std::to_string(l.size) + " bytes) is smaller than its base " +
                                      it->second->name + " (" + std::to_string(l.baseSize) + " bytes)");
            continue;
        }
        for (const DictField &f : l.fields)
            if (f.width > 0 && f.offset < l.baseSize)
                DictError(src, f.pos, "field " + f.name + " (bytes " + Range(f.offset, f.width) + ") lies on the base " +
                                          it->second->name + " (bytes " + Range(0, l.baseSize) + ")");
    }
}

void DictBuildRecords(DictSource *src, const DictSymbols &sym, InterfaceDefs *out) {
    std::map<uint16_t, std::pair<std::string, DictPos>> heads;
    for (DictRecord &r : src->records) {
        CheckFields(src, sym, &r.fields, r.size, "record");
        CheckNames(src, r.fields, {"Number", "Size", "Rows", "Keys"});
        if (r.rows && !r.block && !r.matrix)
            DictError(src, r.rows->pos, "register " + r.name + " has rows but no 'matrix' field for their handle");
        if (r.rows && r.block && !r.table)
            DictError(src, r.rows->pos, "settings block " + r.name + " has rows but is not a 'table' block");
        std::optional<RowLayoutDef> rows = BuildRows(src, sym, &r);
        std::vector<FieldDef> fields;
        for (const DictField &f : r.fields) fields.push_back(FieldDef{f.name, f.offset, f.type, f.size, f.pos.line});
        std::stable_sort(fields.begin(), fields.end(),
                         [](const FieldDef &a, const FieldDef &b) { return a.offset < b.offset; });
        if (r.block) {
            uint16_t kind = r.table ? 0 : 1;
            out->settingsBlocks.push_back(
                SettingsBlockSource{r.number, kind, r.size, std::move(fields), rows, r.pos.line});
            continue;
        }
        RegisterDefSource reg;
        reg.number = r.number;
        reg.name = r.name;
        reg.recordSize = r.size;
        reg.matrixOffset = PlaceField(src, r, r.matrix, 4, "the rows handle");
        reg.userCodeOffset = PlaceField(src, r, r.userCode, 6, "the user code");
        reg.simple = r.simple;
        reg.fields = std::move(fields);
        reg.rows = rows;
        reg.line = r.pos.line;
        std::set<std::string> indexNames;
        const DictIndex *current = nullptr;   // the engine keeps one current index a register
        for (const DictIndex &x : r.indexes) {
            if (!indexNames.insert(x.name).second) {
                DictError(src, x.pos, "index " + r.name + ":" + x.name + " is defined twice");
                continue;
            }
            if (x.words[1] != 0) {
                if (current)
                    DictError(src, x.pos, "index " + r.name + ":" + x.name + " is a second current index (" + r.name +
                                              ":" + current->name + " is current)");
                else
                    current = &x;
            }
            auto [it, fresh] = heads.emplace(x.head, std::make_pair(r.name + ":" + x.name, x.pos));
            if (!fresh)
                DictError(src, x.pos, "index head " + std::to_string(x.head) + " is already used by " +
                                          it->second.first + " (" + src->files[it->second.second.file] + ":" +
                                          std::to_string(it->second.second.line) + ")");
            IndexDefSource def;
            if (BuildIndex(src, r, x, &def)) reg.indexes.push_back(std::move(def));
        }
        out->registers.push_back(std::move(reg));
    }
}
