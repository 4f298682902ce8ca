// replay_main.cpp - runs the interface-file fuzz target without libFuzzer
// (through replay_driver.h): over the corpus, then over mutations of a
// valid interface file made by the writer.
//
//   fuzz_interface_replay CORPUS_DIR [MUTATIONS]
//   fuzz_interface_replay --write-seeds DIR
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/definitions.h"
#include "core/interface_defs.h"
#include "core/interface_load.h"
#include "core/interface_write.h"
#include "fuzz/replay_driver.h"

namespace {

void Put16(std::vector<uint8_t> &v, uint16_t x) {
    v.push_back((uint8_t)x);
    v.push_back((uint8_t)(x >> 8));
}

// A sized window-definition entry: its size word, then body.
std::vector<uint8_t> Sized(std::vector<uint8_t> body) {
    std::vector<uint8_t> e;
    Put16(e, (uint16_t)(body.size() + 2));
    e.insert(e.end(), body.begin(), body.end());
    return e;
}

IndexDefSource Index(const char *name, uint16_t head, uint16_t keyLength, uint16_t maxEntries, uint32_t nodeSize,
                     std::vector<KeyPartDef> parts) {
    IndexDefSource x{};
    x.name = name;
    x.head = head;
    x.keyLength = keyLength;
    x.maxEntries = maxEntries;
    x.nodeSize = nodeSize;
    x.parts = std::move(parts);
    return x;
}

// A small file that uses every kind of table the format has.
InterfaceDefs SampleDefs() {
    InterfaceDefs d;
    RegisterDefSource cust{};
    cust.number = 2;
    cust.name = "CUVc";
    cust.recordSize = 64;
    cust.fields = {{"Code", 0, 1, 10}, {"Name", 12, 1, 30}, {"Rows", 44, 20, 4}};
    cust.matrixOffset = 44;
    cust.userCodeOffset = 50;
    cust.rows = RowLayoutDef{16, 2, {{"Kind", 1, 0, 10, 2}, {"Amount", 2, 4, 8, 12}}};
    cust.indexes.push_back(Index("Code", 2, 10, 8, 200, {{1, 0, 0, 10, 1}}));
    d.registers.push_back(cust);
    RegisterDefSource simple{};
    simple.number = 7;
    simple.name = "CountryVc";
    simple.recordSize = 8;
    simple.simple = true;
    simple.fields = {{"Code", 0, 1, 4}};
    simple.indexes.push_back(Index("Code", 3, 8, 4, 100, {{1, 0, 0, 8, 1}}));
    d.registers.push_back(simple);

    SettingsBlockSource one{};
    one.number = 145;
    one.kind = 1;
    one.size = 32;
    one.fields = {{"DateSep", 0, 1, 1}, {"Decimals", 4, 2, 2}};
    SettingsBlockSource table{};
    table.number = 163;
    table.kind = 0;
    table.size = 86;
    table.rows = RowLayoutDef{86, 1, {{"Name", 1, 0, 1, 20}}};
    d.settingsBlocks = {one, table};

    WinTypeSource w{};
    w.number = 9;
    w.words[0] = 3;
    w.words[8] = 2;
    w.words[10] = 100;
    d.winTypes.push_back(w);
    WinDefinitionSource layout{};
    layout.number = 9;
    layout.parts[WinPartDataFields] = std::vector<std::vector<uint8_t>>{Sized({1, 2, 3, 4, 5, 6, 7, 8})};
    layout.parts[WinPartListPanes] = std::vector<std::vector<uint8_t>>{std::vector<uint8_t>(10, 1)};
    layout.parts[WinPartPages] = std::vector<std::vector<uint8_t>>{};
    d.winDefinitions.push_back(layout);

    d.texts = {{100, "Customers"}, {5, "Jan"}, {32000, "Last"}};
    for (int i = 0; i < 256; i++) d.readTable[i] = d.writeTable[i] = d.collation[i] = (uint8_t)i;

    std::vector<uint8_t> reports;
    Put16(reports, 0);
    for (uint16_t x : {100, 9, 1, 0, 0}) Put16(reports, x);
    d.lists.tables[1] = reports;
    std::vector<uint8_t> menus;
    for (uint16_t x : {9, 1, 1}) Put16(menus, x);
    menus.insert(menus.end(), {2, 'F', 'i'});
    for (uint16_t x : {12, 0, 0, 101}) Put16(menus, x);
    menus.insert(menus.end(), {2, 'O', 'k', 0});
    for (uint16_t x : {4, 0}) Put16(menus, x);
    d.lists.tables[10] = menus;
    std::vector<uint8_t> choices;
    Put16(choices, 0);
    for (uint16_t x : {10, 1, 1, 0, 100}) Put16(choices, x);
    d.lists.tables[11] = choices;

    d.names.header = std::vector<uint8_t>(12);
    d.names.header[0] = 1;
    d.names.buckets = std::vector<uint8_t>(512, 0xFF);
    d.names.buckets[10] = d.names.buckets[11] = 0;
    d.names.entries = {0xFF, 0xFF, 0, 0, 0, 0, 0, 0};
    d.names.pool = {'S', 'U', 'M', 0};
    d.printerTable = std::vector<uint8_t>(256, 'a');
    d.overstrikeTable = std::vector<uint8_t>(256, ' ');
    return d;
}

// Start offsets of the blocks' length words in a well-formed file.
std::vector<size_t> BlockStarts(const std::vector<uint8_t> &file) {
    std::vector<size_t> starts;
    size_t at = 0;
    while (at + 4 <= file.size()) {
        starts.push_back(at);
        uint32_t n;
        std::memcpy(&n, &file[at], 4);
        at += 4 + (size_t)n;
    }
    return starts;
}

// One to four edits: values that matter to the checks (all bits set, 0,
// small counts, just-too-large sizes) written where the structure lives,
// changed block lengths, cut or grown files.
ReplayBytes Mutate(const ReplayBytes &valid, std::mt19937 &rng) {
    static constexpr uint32_t interesting[] = {0, 1, 2, 3, 6, 7, 9, 10, 12, 20, 21, 41, 42, 255, 256, 350, 351,
                                               504, 505, 0x7FFF, 0x8000, 0xFFFE, 0xFFFF, 0x10000, 0x7FFFFFFF,
                                               0xFFFFFFFE, 0xFFFFFFFF};
    const std::vector<size_t> starts = BlockStarts(valid);
    ReplayBytes f = valid;
    int edits = 1 + (int)ReplayPick(rng, 4);
    for (int e = 0; e < edits && !f.empty(); e++) {
        size_t block = ReplayPick(rng, starts.size());
        size_t at;
        switch (ReplayPick(rng, 8)) {
        case 0:  // anywhere
            at = ReplayPick(rng, f.size());
            break;
        case 1:  // a block's length word
            at = starts[block];
            break;
        case 2:  // cut the file short
            f.resize(ReplayPick(rng, f.size()));
            continue;
        case 3:  // grow the file
            f.insert(f.begin() + (long)ReplayPick(rng, f.size() + 1), 1 + ReplayPick(rng, 8), (uint8_t)rng());
            continue;
        default:  // near the start of a block, where its counts and offsets are
            at = starts[block] + 4 + ReplayPick(rng, block == 5 ? 600 : 160);
            break;
        }
        ReplayPoke(f, at, interesting, 3, rng);
    }
    return f;
}

bool Seeds(std::vector<ReplaySeed> *out) {
    std::string error;
    ReplayBytes empty, sample;
    if (!InterfaceWrite(InterfaceDefs{}, &empty, &error) || !InterfaceWrite(SampleDefs(), &sample, &error)) {
        std::fprintf(stderr, "seed: %s\n", error.c_str());
        return false;
    }
    ReplayBytes cut(sample.begin(), sample.begin() + (long)sample.size() / 2);
    *out = {{"empty.win", empty}, {"sample.win", sample}, {"truncated.win", cut}};
    return true;
}

// The sample file, which must load: mutations of a file the loader refuses
// outright would test little.
bool Valid(std::vector<ReplayBytes> *out) {
    std::string error;
    ReplayBytes valid;
    if (!InterfaceWrite(SampleDefs(), &valid, &error)) {
        std::fprintf(stderr, "sample: %s\n", error.c_str());
        return false;
    }
    if (!LoadDefinitionsFromBytes(valid.data(), valid.size(), &error)) {
        std::fprintf(stderr, "sample does not load: %s\n", error.c_str());
        return false;
    }
    InterfaceUnload();
    out->push_back(std::move(valid));
    return true;
}

bool Loads(const ReplayBytes &input) {
    std::string ignored;
    bool loaded = LoadDefinitionsFromBytes(input.data(), input.size(), &ignored);
    InterfaceUnload();
    return loaded;
}

}  // namespace

int main(int argc, char **argv) {
    static constexpr ReplayTarget target{"interface", 20240611, Seeds, Valid, Mutate, Loads};
    return ReplayMain(argc, argv, target);
}
