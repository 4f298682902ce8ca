// start_tables.cpp - the tables of the seams' list as the test program
// started, and putting them back: every entry of every table the list
// names, and nothing kept by hand beside it.
#include "tests/features/start_tables.h"

#include <span>
#include <vector>

#include "features/seams.h"

namespace {

// Entry i of seam s as taken: Start[s][i].
std::vector<std::vector<SeamValue>> Start;

}  // namespace

void StartTablesTake()
{
    Start.clear();
    for (const Seam &s : Seams()) {
        std::vector<SeamValue> &entries = Start.emplace_back();
        for (size_t i = 0; i < SeamEntryCount(s); i++) entries.push_back(SeamEntry(s, i));
    }
}

void StartTablesPutBack()
{
    std::span<const Seam> seams = Seams();
    for (size_t s = 0; s < seams.size() && s < Start.size(); s++)
        for (size_t i = 0; i < Start[s].size(); i++) SeamEntrySet(seams[s], i, Start[s][i]);
}

std::string StartTablesChanged()
{
    std::span<const Seam> seams = Seams();
    for (size_t s = 0; s < seams.size() && s < Start.size(); s++)
        for (size_t i = 0; i < Start[s].size(); i++)
            if (SeamEntry(seams[s], i) != Start[s][i]) return std::string(seams[s].name) + " entry " + std::to_string(i);
    return {};
}
