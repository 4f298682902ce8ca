// start_tables.h - the tables the test program starts with, taken once
// the global environments have installed theirs, and put back before
// each test: every table of the seams' one list (features/seams.h), which
// names each table the program's start fills (a test holds it to every
// word the start writes: seams_test.cpp). A test that fills them as the
// program's start does (ProgramInstall, RulesInstall) or replaces an
// entry with a double of its own would otherwise hand its functions to
// every test after it.
#pragma once

#include <string>

// Takes the tables as they are now as the start.
void StartTablesTake();
// Puts every table back as taken.
void StartTablesPutBack();
// The first table that differs from the start, as "Table entry N" (N
// from 0); empty when each is as taken.
std::string StartTablesChanged();
