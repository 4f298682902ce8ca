// server_calc.cpp - the server's side of a client's calculation request
// (request 34).
#include "rules/prices.h"

// Refuses every request: false, the reply untouched.
bool ServerCalcRequest(MsgBuffer *request, MsgBuffer *reply) { return false; }
