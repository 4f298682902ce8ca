// picture_files.cpp - picture files drawn by an output job.
#include <cstdio>

#include "core/bmp_file.h"
#include "core/pstring.h"
#include "output/output_job.h"

// Reads the picture file named by the PString name and hands its packed
// block, the rectangle block and the mode to the job's picture operation
// (RepPicture), then frees the block. A file that does not open, or that
// is no picture this program draws, draws nothing and stops no job.
void DrawBitmapFile(const uint8_t *name, const uint8_t *rectBlock, int mode)
{
    char path[256];
    PStringToC(name, path);
    if (path[0] == 0) return;
    FILE *file = std::fopen(path, "rb");
    if (file == nullptr) return;
    MemBlock dib = ReadBmpFile(file);
    std::fclose(file);
    if (dib == 0) return;
    (void)RepPicture(dib, rectBlock, mode);   // a picture not drawn stops no job
    MemFree(&dib);
}
