// net_settings_section.cpp - the import's reader of a "setuptcp" section:
// the network settings, as the settings file "QVTCP.INI" holds them. The
// layout (which line is which value, and what is valid) is the network
// layer's TcpSettingsValue; this file only takes each line's first field
// through the import's own reader.
#include <string>

#include "core/field_types.h"
#include "core/pstring.h"
#include "exchange/text_exchange.h"
#include "net/tcp_settings.h"

// Each value is the first field of a line of its own. A value that is not
// valid makes the import damaged at its line, and nothing of the section
// is taken. An empty run-mode line is the section's closing line too.
void NetSettingsImport()
{
    TcpSettingsRec s;
    std::string value;
    for (int i = 0; i < TcpSettingsValues; i++) {
        ImportSkipLine();   // the line before closed
        PString text = {0};
        int max = i == 0 ? TcpAddressMax : TcpRunModeTextMax;
        if (!ImportReadField(text, FtText, uint16_t(max))) return;   // damaged: told by the reader
        value = PStringToStd(text);
        if (!TcpSettingsValue(i, value, &s)) {
            ImportDamage(ImportColumnNumber());
            return;
        }
    }
    TcpSettingsTake(s);
    if (value.empty()) {
        ImportNextTag();
        ImportTagHeld();
        return;
    }
    ImportSkipSection();
}
