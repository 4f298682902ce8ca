// picture_files.cpp - picture files drawn by an output job.
#include "output/output_job.h"

// Draws a picture file through RepPicture; not built yet: nothing is drawn.
void DrawBitmapFile(const uint8_t *name, const uint8_t *rectBlock, int mode) {}
