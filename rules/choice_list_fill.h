// choice_list_fill.h - the lines of a choice list by list kind: number
// series valid on a date, settings tables, sessions, contacts and serial
// numbers. Each line goes through ChoiceListAddLine (rules/print_services.h).
#pragma once

#include <cstdint>

#include "core/date.h"
#include "core/msg_buffer.h"

// What the openers of a choice list set before it fills.
extern DateRec ChoiceListDate;          // year 0: none
extern uint8_t ChoiceKey[32];           // PString: the key of kind 15
extern uint8_t ChoiceItem[32];          // PString: the item of kind 18

// Adds the lines of list kind `kind` (0..19) for register reg; reply is
// null locally and the server's reply at a server.
void FillChoiceList(MsgBuffer *reply, int kind, int reg);
// Adds the serial numbers in stock of an item (PString).
void FillSerialChoiceList(const uint8_t *item, int unused, MsgBuffer *reply);
