// fuzz_formula.cpp - fuzz target over the report formula compiler: the
// input (at most 255 bytes) is a formula text as a user types it or a
// file brings it, compiled and run by CompileScript with the vocabulary
// of the QVENG.WIN the build compiled. Nothing may read outside the
// formula, the code or the machine's tables, leak a block, grow the name
// table or leave the value stack or call stack off its level; and the
// machine must still compute after every input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/interface_load.h"
#include "core/language_file.h"
#include "core/memblock.h"
#include "core/message_sink.h"
#include "core/name_table.h"
#include "core/pstring.h"
#include "output/formula/formula.h"

namespace {

void Quiet(const char *) {}

void Check(bool ok) {
    if (!ok) std::abort();
}

void Setup() {
    static bool done = false;
    if (done) return;
    done = true;
    MessageSinkSet(Quiet);
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
    LangFileSetDirectories({exe.string(), exe.parent_path().string(), ""});
    std::string error;
    if (!LoadDefinitions(&error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
    }
    VmTablesAlloc();
    ScriptTablesAlloc();
}

}  // namespace

std::vector<std::vector<uint8_t>> FormulaFuzzSeeds() {
    static const char *formulas[] = {
        "1+2*3", "(1+2)*3", "-5+2", "1+", "(1+2", "+5", "1)", ")", "'It''s' & \"x\"", "!note! 4",
        "4 !open", "ROUND(2.345, 2)", "ROUND(2)", "ROUND 2", "LENGTH('abc') * CODE('A')",
        "NOT 1 < 2 AND TRUE OR FALSE", "SHOW(1)", "FOO + 1", "((((((((((1))))))))))",
        "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "'a' = 1", "1 & 'a'", "x\r\n+2",
        "ROUND(ROUND(ROUND(1.005,2),1),0)", "HALT", "TRUE = FALSE", "'b' > 'B'", "1/0", "--5"};
    std::vector<std::vector<uint8_t>> seeds;
    for (const char *f : formulas) seeds.emplace_back(f, f + std::string(f).size());
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Setup();
    if (size > PStringMax) return 0;
    uint32_t blocks = MemBlockCount();
    uint16_t names = NameTableCount();
    int level = VmTopIndex();
    PString text;
    text[0] = (uint8_t)size;
    for (size_t i = 0; i < size; i++) text[i + 1] = data[i];
    CompileScript(text);
    Check(VmTopIndex() == level);
    Check(VmCallDepth() == 0);
    Check(MemBlockCount() == blocks);
    Check(NameTableCount() == names);
    PString probe;
    PStringFromC(probe, "1+2");
    CompileScript(probe);
    Check(probe[0] > 0 && probe[1] == '3');
    return 0;
}
