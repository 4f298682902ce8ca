// ui_text.cpp - user-interface texts by number.
#include "core/ui_text.h"

#include "core/pstring.h"

static UiTextLookup CurrentLookup = nullptr;

void UiTextSetLookup(UiTextLookup lookup) { CurrentLookup = lookup; }

void GetUiText(int n, uint8_t *out) {
    const uint8_t *text = (n != 0 && CurrentLookup) ? CurrentLookup(n) : nullptr;
    if (text)
        PStringCopy(out, text);
    else
        out[0] = 0;
}
