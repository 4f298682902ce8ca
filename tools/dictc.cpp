// dictc.cpp - the dictionary compiler's command line, run by the build:
//
//   dictc --out QVENG.WIN --header dict_offsets.h dict/*.dict
//
// Reads every source file, checks it, writes the interface file and the
// header of named offsets (the header only when its text changed, so that
// code including it is not rebuilt for nothing). A mistake is reported as
// "file:line: message" on standard error with exit status 1.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/interface_write.h"
#include "tools/dict.h"

static bool ReadFile(const std::string &path, std::string *out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    *out = s.str();
    return !in.bad();
}

// Writes text to path unless the file already holds exactly that text.
static bool WriteIfChanged(const std::string &path, const std::string &text) {
    std::string old;
    if (ReadFile(path, &old) && old == text) return true;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return !out.fail();
}

static int Usage() {
    std::fprintf(stderr, "usage: dictc --out FILE.WIN --header HEADER.h SOURCE.dict...\n");
    return 2;
}

int main(int argc, char **argv) {
    std::string outPath, headerPath;
    std::vector<std::string> sources;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        if ((a == "--out" || a == "--header") && i + 1 < argc) (a == "--out" ? outPath : headerPath) = argv[++i];
        else if (!a.empty() && a[0] == '-') return Usage();
        else sources.push_back(a);
    }
    if (outPath.empty() || headerPath.empty() || sources.empty()) return Usage();

    std::vector<std::pair<std::string, std::string>> files;
    for (const std::string &path : sources) {
        std::string text;
        if (!ReadFile(path, &text)) {
            std::fprintf(stderr, "%s: cannot read the file\n", path.c_str());
            return 1;
        }
        files.emplace_back(path, std::move(text));
    }
    InterfaceDefs defs;
    std::string header;
    std::vector<std::string> errors;
    if (!DictCompile(files, &defs, &header, &errors)) {
        for (const std::string &e : errors) std::fprintf(stderr, "%s\n", e.c_str());
        return 1;
    }
    std::string error;
    if (!InterfaceWriteFile(defs, outPath.c_str(), &error)) {
        std::fprintf(stderr, "%s: %s\n", outPath.c_str(), error.c_str());
        return 1;
    }
    if (!WriteIfChanged(headerPath, header)) {
        std::fprintf(stderr, "%s: cannot write the header\n", headerPath.c_str());
        return 1;
    }
    return 0;
}
