// window_kind.h - the kinds of window a window type is of (word 0 of its
// definition), by the code the interface file stores.
#pragma once

enum class WindowKind : int {
    Plain = 0,
    List = 1,              // a list of a register's records
    ChoiceList = 2,        // a list to choose a value from
    Record = 3,            // one record of a register
    Preview = 4,           // a report's preview
    Output = 5,            // a report run's output window
    ReportSelection = 6,   // a report's selection
    ExportSelection = 7,   // an export's selection
    Settings = 8,          // a settings block
    SettingsTable = 9,     // a settings block of rows
    Maintenance = 10,      // a maintenance run's selection
    Designer = 11,         // the form designer
};

// The code as the interface file stores it.
constexpr int KindCode(WindowKind k) { return static_cast<int>(k); }
