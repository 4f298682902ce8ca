// import_effects.cpp - the stock, history and project effects of imported
// documents, reached through ImportEffects. Not built yet: every effect is
// null, which the readers count as not done.
#include "exchange/text_exchange.h"

ImportEffectsRec ImportEffects;
