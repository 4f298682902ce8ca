// payment_window_event.h - the event handler the outgoing-payment window
// (type 157) and the person-payment window (type 476) share: both keep an
// approved flag that comes before the posted one, never take rows in the
// middle, and close a posted payment, saying so to a user who tries to
// change it.
#pragma once

#include <cstdint>

#include "core/field_desc.h"

// Where a payment window's flags lie in its record, what a committed
// field and a change of its rows run, and the text that tells why a
// posted payment is not changed.
struct PaymentWindowDesc {
    U16Field approved, posted;
    void (*fieldChanged)(int window, int field, uint8_t changed);
    void (*totalsRefresh)(int window);
    int postedText;
};

// The payment window's answer to event `event`: 1 = go on / allowed,
// 0 = refused or done (0 for a window that is not open).
uint8_t PaymentWindowEvent(const PaymentWindowDesc &d, int window, int event, void *a, void *b);
