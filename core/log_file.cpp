// log_file.cpp - the program's log file "orvel.log".
//
// The file is opened for appending for each entry and closed again, so
// that every line is on disk at once and several processes sharing a
// directory interleave whole lines.
#include <cstdio>

#include "core/system.h"

void LogAppend(const uint8_t *text) {
    if (CompactVariant)
        return;
    std::FILE *f = std::fopen("orvel.log", "a+");
    if (!f)
        return;  // no log is better than no program
    std::fwrite(text + 1, 1, text[0], f);
    std::fwrite("\r\n", 1, 2, f);
    std::fclose(f);
}
