// person_password.h - a person's password as the company file keeps it:
// never as text. The person record (register 44) keeps a salted verifier
// (core/password_verifier.h) in its PassVerifier bytes; the password
// field itself is empty in every stored record.
//
// The password field is only how a new password comes in: a window, an
// import or a client puts the typed text there, and the record's write
// turns it into a verifier and empties the field. A record that comes in
// with an empty field and no verifier keeps the verifier it has in the
// file (an update from a client, which never receives verifiers), or
// gets the verifier of the empty password (a new person without one).
// A record that comes with a verifier (an import of one, a client that
// sealed a typed password itself) keeps it.
//
// The kind byte of PassVerifier is the marker: 0 in a record written
// before verifiers, whose field still holds the clear password, which
// the first open of the file converts.
#pragma once

#include <cstdint>

#include "core/password_verifier.h"

// True when the record holds a verifier (kind byte 1 and sound).
bool PersonHasVerifier(const uint8_t *person);
// The record's verifier; false when it has none.
bool PersonVerifierGet(const uint8_t *person, PasswordVerifier *out);
void PersonVerifierPut(uint8_t *person, const PasswordVerifier &v);
// True when the password field holds text (a password typed or imported
// that is not yet a verifier).
bool PersonPasswordTyped(const uint8_t *person);
// Turns the typed password into a verifier and wipes the field; nothing
// when the field is empty. False (the record unchanged) when no verifier
// could be made.
bool PersonPasswordSeal(uint8_t *person);
// The record's write: a typed password sealed, and a record without any
// verifier given the verifier of the empty password (the password an
// older record without one had). False when no verifier could be made.
bool PersonPasswordBeforeWrite(uint8_t *person);
// An update that brings neither a typed password nor a verifier keeps
// the stored verifier.
void PersonPasswordKeepStored(const uint8_t *stored, uint8_t *person);
// Empties the password field and the verifier: a record as it leaves the
// server for a client.
void PersonPasswordRedact(uint8_t *person);
// True when the record's verifier (or typed password) differs from the
// stored record's: a password change.
bool PersonPasswordChanges(const uint8_t *stored, const uint8_t *person);

// Converts every person of the open company whose password is still
// text, inside one hold: the number converted (0: none were left), or
// -1 when the hold failed (nothing was changed).
int PersonPasswordsConvert();
