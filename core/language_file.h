// language_file.h - finding the interface file and reading its blocks.
//
// The probe tries the interface file names of every language in a fixed
// order, each first in the current directory and then in the directory
// of the executable; the first that opens for reading is used. The block
// reader then reads the file's length-prefixed blocks one after the
// other (layout in core/interface_write.h), opening and closing the file
// for each. LoadDefinitions (core/interface_load.h) drives both.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/interface_write.h"
#include "core/memblock.h"

// The probe's file names, in the order they are tried.
extern const std::array<const char *, 30> LangFileNames;

// The interface file found (or the last name tried), its length when
// found, and the file position of the next block.
extern std::string LangFilePath;
extern uint32_t LangFileLength;
extern uint32_t LangFileOffset;

// The blocks read in the current reading pass, in file order. The
// reader only records them; whoever started the pass owns and frees them.
struct LangBlockTableRec {
    std::array<MemBlock, InterfaceBlockCount> handles;
    uint16_t count;
};
extern LangBlockTableRec LangBlockTable;

// The directories the probe searches, in order; "" is the current
// directory. Empty (the default) means the current directory and then
// the executable's own. Tests point the probe at their own directories.
void LangFileSetDirectories(const std::vector<std::string> &dirs);

// One probe step: sets LangFilePath to path; true, with the file length,
// when it is a regular file that opens for reading.
bool LangFileTry(const char *path, uint32_t *length);
// LangFileTry of name in each search directory in turn.
bool LangFileFind(const char *name, uint32_t *length);
// The path of a program file found in the working folder, then beside the
// executable; false when in neither.
bool ProgramFileFind(const char *name, std::string *path);
// The probe: the first name of LangFileNames that is found. Otherwise
// false with "No language file available" in *error.
bool LoadLanguageFile(std::string *error);

// Starts a reading pass at the first byte of LangFilePath; the table of
// blocks read is emptied (not freed).
void LangFileRewind();

// Reads the next block into a new MemBlock, records it in LangBlockTable
// and returns its locked bytes with the length in *length. Returns null,
// with a message naming the file and the block in *error, when the file
// cannot be opened or has shrunk, the length word or the bytes run past
// the end of the file, a read comes up short, memory cannot be had, or
// 20 blocks are already recorded.
uint8_t *ReadFileBlock(uint32_t *length, std::string *error);

// The size of the file at LangFilePath now; -1 when it cannot be opened.
int64_t LangFileCurrentSize();
