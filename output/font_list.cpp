// font_list.cpp - the choice list of the installed font families.
#include <string>
#include <vector>

#include "core/pstring.h"
#include "output/output_job.h"
#include "platform/font.h"

// Adds every font family the display offers, in the platform's order, as
// a line of the current choice list. `list` is the choice-list number the
// window asked for; every family list is the same, so it is not read.
// Without fontconfig the list stays empty.
void EnumFontNames(int /*list*/)
{
    std::vector<std::string> families;
    if (!FontListFamilies(&families)) return;
    PString face;
    for (const std::string &family : families) {
        PStringFromView(face, family);
        if (!FontEnumCallback(face)) break;
    }
}

// Adds one face (a PString) as a line of the current choice list. A face
// the list did not take is left out; the enumeration always goes on.
bool FontEnumCallback(const uint8_t *face)
{
    (void)RepListAddLine(nullptr, face);
    return true;
}
