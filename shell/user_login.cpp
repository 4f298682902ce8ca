// user_login.cpp - checking a user's name and password against the
// company's persons, locally or at the server.
#include "shell/login.h"

// Checks name and password against the company's persons; not built yet:
// every pair is refused.
bool UserLogin(uint8_t *name, const uint8_t *password, uint8_t *access) { return false; }

// UserLogin with the logged-in user's work record; not built yet: refused.
bool UserLoginCurrent(uint8_t *name, const uint8_t *password) { return false; }

// Logs in locally or at the server; not built yet: refused.
bool UserLoginCall(uint8_t *name, const uint8_t *password) { return false; }
