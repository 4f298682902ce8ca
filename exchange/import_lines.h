// import_lines.h - the import's source read as whole lines, for the
// readers that check a file whole before storing anything.
#pragma once

#include <string>

// Reads the whole line at the read position into text (its fields joined
// by TAB) and moves past it; *full when a field filled 255 characters.
// False when the line was refused as damaged.
bool ImportReadWholeLine(std::string *text, bool *full);
