// dict_header.cpp - the generated C++ header of named offsets: one
// namespace per register and settings block with its number, size, field
// offsets, row layout and index numbers, one per layout with its size and
// field offsets, and the numbers of the texts, window types and choice
// lists that the source names.
#include <algorithm>
#include <iterator>
#include <string_view>

#include "tools/dict.h"
#include "tools/dict_build.h"
#include "tools/dict_types.h"

namespace {

constexpr std::string_view CppKeywords[] = {
    "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor", "bool", "break", "case", "catch",
    "char", "char8_t", "char16_t", "char32_t", "class", "compl", "concept", "const", "consteval", "constexpr",
    "constinit", "const_cast", "continue", "co_await", "co_return", "co_yield", "decltype", "default", "delete",
    "do", "double", "dynamic_cast", "else", "enum", "explicit", "export", "extern", "false", "float", "for",
    "friend", "goto", "if", "inline", "int", "long", "mutable", "namespace", "new", "noexcept", "not", "not_eq",
    "nullptr", "operator", "or", "or_eq", "private", "protected", "public", "register", "reinterpret_cast",
    "requires", "return", "short", "signed", "sizeof", "static", "static_assert", "static_cast", "struct",
    "switch", "template", "this", "thread_local", "throw", "true", "try", "typedef", "typeid", "typename",
    "union", "unsigned", "using", "virtual", "void", "volatile", "wchar_t", "while", "xor", "xor_eq", "final",
    "override", "import", "module", "std"};

std::string FieldComment(const DictField &f) {
    const DictFieldType *t = DictTypeByCode(f.type);
    std::string s = t ? t->name : std::to_string(f.type);
    if (t && (t->arg == DictArg::Length || (t->arg == DictArg::Choice && f.size) || t->arg == DictArg::Bytes))
        s.append(" ").append(std::to_string(f.size));
    return s;
}

// The descriptor type of core/field_desc.h that a field of the
// dictionary's type is declared with: its kind, and a text's length.
std::string FieldDescType(const DictField &f) {
    const DictFieldType *t = DictTypeByCode(f.type);
    if (!t) return "uint32_t";
    if (t->arg == DictArg::Length) return "TextField<" + std::to_string(f.size) + ">";
    std::string_view name = t->name;
    if (t->arg == DictArg::Fixed && t->width == 12) return "AmountField";
    if (name == "long" || name == "long0") return "U32Field";
    if (name == "date" || name == "longdate") return "DateField";
    if (name == "stamp") return "DateTimeField";
    if (name == "short" || name == "short11" || name == "mark" || name == "choice") return "U16Field";
    if (name == "bool") return "BoolField";
    if (name == "handle" || (name == "balance" && f.size == 4)) return "HandleField";
    return "BytesField<" + std::to_string(f.size) + ">";
}

// Every name is an inline variable: one definition for the whole program.
// A plain namespace-scope constexpr has internal linkage, and the
// sanitizer build emits and pads each of the header's some 5,000 constants
// in every file that includes it: 1.8 MB of a 2 MB object, and most of
// every program linked from such objects.
void Line(std::string *out, const char *type, const std::string &name, uint64_t value,
          const std::string &comment = {}) {
    out->append("inline constexpr ").append(type).append(" ").append(name).append(" = ");
    out->append(std::to_string(value)).append(";");
    if (!comment.empty()) out->append("  // ").append(comment);
    *out += "\n";
}

// A field's line: `inline constexpr TextField<60> Name{22};  // text 60`.
void FieldLine(std::string *out, const DictField &f) {
    out->append("inline constexpr ").append(FieldDescType(f)).append(" ").append(f.name).append("{");
    out->append(std::to_string(f.offset)).append("};  // ").append(FieldComment(f)) += "\n";
}

void Fields(std::string *out, const std::vector<DictField> &fields) {
    std::vector<const DictField *> sorted;
    for (const DictField &f : fields)
        if (std::none_of(sorted.begin(), sorted.end(), [&](const DictField *g) { return g->name == f.name; }))
            sorted.push_back(&f);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const DictField *a, const DictField *b) { return a->offset < b->offset; });
    for (const DictField *f : sorted) FieldLine(out, *f);
}

void Record(std::string *out, const DictRecord &r) {
    *out += "\nnamespace " + r.name + " {  // " + (r.block ? "settings block " : "register ") +
            std::to_string(r.number) + (r.table ? ", a table of rows" : "") + "\n";
    Line(out, "uint16_t", "Number", r.number);
    Line(out, "uint32_t", "Size", r.size, r.table ? "of one row" : "");
    Fields(out, r.fields);
    if (r.rows) {
        *out += "namespace Rows {\n";
        Line(out, "uint32_t", "Size", r.rows->size, std::to_string(r.rows->kinds) + " row kind(s)");
        Fields(out, r.rows->fields);
        *out += "}  // namespace Rows\n";
    }
    if (!r.indexes.empty()) {
        *out += "namespace Keys {  // index numbers, from 1\n";
        for (size_t i = 0; i < r.indexes.size(); i++) Line(out, "uint16_t", r.indexes[i].name, i + 1);
        *out += "}  // namespace Keys\n";
    }
    *out += "}  // namespace " + r.name + "\n";
}

void Layout(std::string *out, const DictLayout &l) {
    *out += "\nnamespace " + l.name + " {  // a layout of the program";
    *out += l.baseSize ? ", after the " + std::to_string(l.baseSize) + "-byte record of " + l.baseName + "\n" : "\n";
    Line(out, "uint32_t", "Size", l.size);
    Fields(out, l.fields);
    *out += "}  // namespace " + l.name + "\n";
}

template <typename T> void Numbers(std::string *out, const char *space, const std::vector<T> &items) {
    std::vector<const T *> named;
    for (const T &x : items)
        if (!x.name.empty()) named.push_back(&x);
    if (named.empty()) return;
    std::sort(named.begin(), named.end(), [](const T *a, const T *b) { return a->number < b->number; });
    *out += "\nnamespace " + std::string(space) + " {\n";
    for (const T *x : named) Line(out, "uint16_t", x->name, (uint64_t)x->number);
    *out += "}  // namespace " + std::string(space) + "\n";
}

}  // namespace

bool DictHeaderNameOk(const std::string &name, std::string *why) {
    if (std::find(std::begin(CppKeywords), std::end(CppKeywords), name) != std::end(CppKeywords)) {
        *why = "a C++ keyword or reserved name";
        return false;
    }
    if (name.empty() || name[0] == '_' || name.find("__") != std::string::npos) {
        *why = "names may not start with '_' or hold '__'";
        return false;
    }
    // The header includes <cstdint> and declares with its types: a name
    // ending in "_t" could hide one of them, and a name in capitals
    // ending in "_MIN", "_MAX" or "_C" could be one of its macros.
    auto endsWith = [&](std::string_view tail) {
        return name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
    };
    bool capitals = std::none_of(name.begin(), name.end(), [](char c) { return c >= 'a' && c <= 'z'; });
    if (endsWith("_t") || (capitals && (endsWith("_MIN") || endsWith("_MAX") || endsWith("_C")))) {
        *why = "a name of the kind <cstdint> declares (a type ending in '_t' or a limit macro)";
        return false;
    }
    why->clear();
    return true;
}

std::string DictHeaderText(const DictSource &src) {
    std::string out =
        "// dict_offsets.h - generated by dictc from dict/*.dict; do not edit.\n"
        "//\n"
        "// The fields of every register and settings block, each its offset typed\n"
        "// by its kind (core/field_desc.h),\n"
        "// with their numbers and sizes (a table block's Size is that of one row),\n"
        "// the row layouts (Rows) and index numbers (Keys), and the numbers of the\n"
        "// texts, window types and choice lists that the source names.\n"
        "#pragma once\n\n#include <cstdint>\n\n#include \"core/field_desc.h\"\n";
    std::vector<const DictRecord *> records;
    for (const DictRecord &r : src.records) records.push_back(&r);
    std::stable_sort(records.begin(), records.end(), [](const DictRecord *a, const DictRecord *b) {
        return a->block != b->block ? !a->block : a->number < b->number;
    });
    for (const DictRecord *r : records) Record(&out, *r);
    for (const DictLayout &l : src.layouts) Layout(&out, l);
    Numbers(&out, "Texts", src.texts);
    Numbers(&out, "WinTypes", src.winTypes);
    Numbers(&out, "Choices", src.choices);
    return out;
}
