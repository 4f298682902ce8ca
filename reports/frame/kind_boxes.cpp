// kind_boxes.cpp - one reading of a report's kind check boxes for every
// report: the box of the record's kind, or no box at all, admits it.
#include "reports/frame/kind_boxes.h"

#include <cassert>

#include "core/field_access.h"

bool KindBoxesAdmit(std::initializer_list<uint16_t> boxes, size_t which)
{
    bool anyTicked = false;
    size_t i = 0;
    for (uint16_t box : boxes) {
        if (box != 0 && i == which) return true;
        anyTicked = anyTicked || box != 0;
        i++;
    }
    return !anyTicked;
}

bool ParamBoxesAdmit(const uint8_t *selection, std::initializer_list<uint32_t> offsets, size_t which)
{
    assert(selection);
    bool anyTicked = false;
    size_t i = 0;
    for (uint32_t offset : offsets) {
        const bool ticked = GetU16(selection, offset) != 0;
        if (ticked && i == which) return true;
        anyTicked = anyTicked || ticked;
        i++;
    }
    return !anyTicked;
}

bool ParamBoxesNoneTicked(const uint8_t *selection, std::initializer_list<uint32_t> offsets)
{
    assert(selection);
    for (uint32_t offset : offsets)
        if (GetU16(selection, offset) != 0) return false;
    return true;
}

bool ParamStateAdmits(const uint8_t *selection, uint32_t clearBox, uint32_t setBox, bool stateSet)
{
    return ParamBoxesAdmit(selection, {clearBox, setBox}, stateSet ? 1 : 0);
}
