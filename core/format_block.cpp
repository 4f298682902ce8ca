// format_block.cpp - the default number and date format block.
#include "core/format_block.h"

FormatBlock DefaultFormatBlock = {
    1, 1, 1, 1, {1, '.'}, {1, ','}, {1, ' '},
};

FormatBlock *CurrentFormat = &DefaultFormatBlock;

uint8_t ThousandsFlag = 0;

void FormatBlockBind(FormatBlock *block) {
    CurrentFormat = block ? block : &DefaultFormatBlock;
}
