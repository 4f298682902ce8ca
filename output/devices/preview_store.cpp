// preview_store.cpp - the preview window's item store: texts, rules and
// form elements appended while a job runs.
//
// Not built yet: nothing is stored; an append stops the job.
#include "output/devices/device_table.h"

uint32_t PreviewStoreLimit = 256u << 20;

// Appends an item; not built yet: the job stops (false).
bool PreviewAddItem(int, int32_t, int, int, int, int, int, int, const uint8_t *)
{
    RepStopped = 1;
    return false;
}

// Appends a form element; not built yet: the job stops (false).
bool PreviewAddFormItem(int, const PreviewFormItem &, const uint8_t *)
{
    RepStopped = 1;
    return false;
}
