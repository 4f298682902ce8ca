// list_choice.cpp - the choice of a record in a choice list: its code
// given back to the field of the window that opened the list.
#include "recordwin/record_windows.h"

// Gives the chosen row's code back to the opener; not built yet: nothing is chosen.
void WindowChooseRecordEvent(int window) {}
