// engine_path.h - the path of the open database file, for the few that
// keep files of their own beside it (the server's key and certificate).
#pragma once

#include <string>

// The path the open database was opened or created with (empty when none is open).
std::string D4OpenFileName();
