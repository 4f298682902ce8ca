// feature_commands.h - the commands of the shell's menus and the record
// windows that the features layer (reports, text exchange, network)
// carries out: a report window's selection check, what an import read,
// the payment suggestion's run.
//
// The ui layer sits beneath the features layer, so it names none of its
// functions: the features layer fills FeatureCommands when it is
// installed (features/program_start.cpp, before the shell starts), and
// the ui layer calls only the wrappers below. A command that is not
// installed tells the user that the function is not available and fails;
// it never reports success.
#pragma once

#include <cstdint>

struct FeatureCommandsRec {
    // Checks a report window's whole selection (a copy of the job record
    // it would run with); false after telling why, FieldErrorPos naming
    // the field at fault or none.
    bool (*reportSelectionCheck)(uint8_t *params);
    // True when the import that has just run read nothing that an export
    // of this program writes.
    bool (*importReadNoExport)();
    // Runs the payment suggestion of its batch window with the window's
    // record as the selection and leaves its outcome on the status strip;
    // false when it stopped before its end.
    bool (*paymentSuggestion)(uint8_t *selection);
};
extern FeatureCommandsRec FeatureCommands;

// The selection check of a report window; without one the user is told
// and nothing runs (false, no field at fault).
bool ReportSelectionCheck(uint8_t *params);
// Whether the import just run read nothing an export writes. Without the
// text exchange no import ran, so there is nothing to say: false.
bool ImportReadNoExport();
// The payment suggestion; without one the user is told and it fails.
bool PaymentSuggestionCommand(uint8_t *selection);
