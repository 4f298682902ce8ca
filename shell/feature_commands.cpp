// feature_commands.cpp - the table of the commands the features layer
// carries out for the shell and the record windows, and their wrappers.
#include "shell/feature_commands.h"

#include "core/ui_text.h"
#include "database/access/record_access.h"

FeatureCommandsRec FeatureCommands;

namespace {

// Tells the user that the function asked for is not available; false.
// No field is at fault, so the caret stays where it is.
bool RefuseNotInstalled()
{
    RecFocusClear();
    return ServiceInstalled(false);
}

}  // namespace

bool ReportSelectionCheck(uint8_t *params)
{
    if (FeatureCommands.reportSelectionCheck) return FeatureCommands.reportSelectionCheck(params);
    return RefuseNotInstalled();
}

bool ImportReadNoExport()
{
    return FeatureCommands.importReadNoExport && FeatureCommands.importReadNoExport();
}

bool PaymentSuggestionCommand(uint8_t *selection)
{
    if (FeatureCommands.paymentSuggestion) return FeatureCommands.paymentSuggestion(selection);
    return RefuseNotInstalled();
}
