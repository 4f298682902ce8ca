// kind_boxes.h - the check boxes of a report's selection that each admit
// one kind of record (not posted / posted, invoices / credit notes, the
// sources of an item's history, ...).
//
// Every report reads such a group the same way: a record passes when the
// box of its kind is ticked, or when no box of the group is ticked at all.
// A user who ticks nothing has asked for no restriction, and that is what
// the selection header then says; a group read any other way prints an
// empty report under a header that promises everything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

// True when the box at index `which` of the group is ticked (not 0), or
// when none of the group is. An index past the group admits only when
// nothing is ticked.
bool KindBoxesAdmit(std::initializer_list<uint16_t> boxes, size_t which);

// The same over words of the job record selection at the offsets.
bool ParamBoxesAdmit(const uint8_t *selection, std::initializer_list<uint32_t> offsets, size_t which);

// True when no word of the job record selection at the offsets is ticked.
bool ParamBoxesNoneTicked(const uint8_t *selection, std::initializer_list<uint32_t> offsets);

// The common pair: a record whose state word is clear needs the box at
// `clearBox`, one whose word is set the box at `setBox`; neither ticked
// admits both.
bool ParamStateAdmits(const uint8_t *selection, uint32_t clearBox, uint32_t setBox, bool stateSet);
