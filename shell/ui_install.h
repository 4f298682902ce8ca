// ui_install.h - what the ui layer (shell/, recordwin/, outputwin/) puts
// into the tables of the layers beneath it at the program's start.
#pragma once

// The output layer's windows and the queue window, what batch runs and
// person runs show while they work, the window-type menu a settings reload
// rebuilds, the company window's refresh and the list rows' extra texts.
void UiInstall();
