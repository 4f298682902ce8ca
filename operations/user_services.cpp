// user_services.cpp - the current user's person record and users' names.
#include "operations/operations.h"

// Finds no person: false.
bool CurrentUserRecord(uint8_t *person) { return false; }

// Finds no user: out empty.
void UserNameByCode(const uint8_t *code, uint8_t *out) { out[0] = 0; }
