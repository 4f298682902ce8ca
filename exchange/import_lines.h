// import_lines.h - the import's source read as whole lines, for the
// readers that check a file whole before storing anything.
#pragma once

#include <cstddef>
#include <string>

// Reads the whole line at the read position into text (its fields joined
// by TAB) and moves past it; *full when a field filled 255 characters.
// False when the line was refused as damaged.
bool ImportReadWholeLine(std::string *text, bool *full);
// Reads the line at the read position as its bytes, TABs kept, and moves
// past its end: LF, CR LF or CR, the line ends of files other programs
// write. At most max bytes are kept; *tooLong when the line had more.
// False when the line holds another control byte (damage at its line).
bool ImportReadByteLine(std::string *text, size_t max, bool *tooLong);
