// seams.h - the tables through which a lower layer reaches a higher one,
// listed once: their names, where they live, who fills them, and whether
// an empty entry is a fault after the program's start. The start-up check
// (OrvelStart), its test and docs/architecture.md's list come from here.
#pragma once

#include <cstddef>
#include <span>
#include <string>

// Who fills a table, which says when its entries must be there.
enum class SeamFiller {
    Business,   // RulesInstall, at the start
    Output,     // OutputInstall, at the start
    Ui,         // UiInstall, at the start
    Features,   // FeaturesInstall, at the start
    Server,     // NetServerStart, only when the program serves: empty by design otherwise
};

struct Seam {
    const char *name;     // the table's name in the code
    void *table;          // the table: a struct of function pointers only
    size_t size;          // its size in bytes
    SeamFiller filler;
};

// Every table, in layer order of the layer that declares it.
std::span<const Seam> Seams();
// The first entry of a table that a start must have filled and found
// empty, as "Table entry N" (N from 0 in declaration order); empty when
// every such entry is filled. Tables filled only by a serving program are
// not asked.
std::string SeamsEmptyEntry();
