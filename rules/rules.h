// rules.h - the business rules as other folders see them: VAT and
// currency, number series and fiscal years, the ledger, the checks,
// approval and the register hooks, prices, stock, documents, projects
// and the settings-block checks.
#pragma once

#include "rules/accounts.h"
#include "rules/approval.h"
#include "rules/checks.h"
#include "rules/documents.h"
#include "rules/entry_state.h"
#include "rules/hooks.h"
#include "rules/ledger.h"
#include "rules/prices.h"
#include "rules/projects.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "rules/settings_checks.h"
#include "rules/stock.h"
#include "rules/vat_currency.h"
