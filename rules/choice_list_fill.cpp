// choice_list_fill.cpp - the lines of a choice list by list kind.
#include "rules/choice_list_fill.h"

DateRec ChoiceListDate;
uint8_t ChoiceKey[32], ChoiceItem[32];

// Adds the lines of a list kind; not built yet: no line is added.
void FillChoiceList(MsgBuffer *reply, int kind, int reg) {}

// Adds an item's serial numbers; not built yet: no line is added.
void FillSerialChoiceList(const uint8_t *item, int unused, MsgBuffer *reply) {}
