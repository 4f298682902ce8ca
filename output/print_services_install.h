// print_services_install.h - fills the business layer's print table
// (rules/print_services.h) with this layer's forms, report lines and
// choice-list lines.
#pragma once

// Start-up: RepOutputInit calls it; tests whose fixtures print through
// the business layer call it (or RepOutputInit) in their set-up.
void PrintServicesInstall();
