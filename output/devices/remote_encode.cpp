// remote_encode.cpp - the output commands a server writes for its client
// instead of drawing.
//
// Not built yet: every encoder stops the job, so a server never passes
// output as sent that no client will receive.
#include "output/devices/device_table.h"

namespace {

// Stops the job whose command cannot be encoded yet.
void NotEncoded() { RepStopped = 1; }

}  // namespace

// Command 1; not built yet: stops the job.
void RepEncOpenJob(const uint8_t *) { NotEncoded(); }

// Commands 2 and 3; not built yet: stops the job.
void RepEncHeader(uint16_t, int, const uint8_t *) { NotEncoded(); }

// Command 4; not built yet: stops the job.
void RepEncText(int, int, int, int, int, const uint8_t *) { NotEncoded(); }

// The value commands; not built yet: stops the job.
void RepEncValue(int, int, int, const uint8_t *, int, int, int) { NotEncoded(); }

// A command of words; not built yet: stops the job.
void RepEncWords(uint16_t, std::initializer_list<int>) { NotEncoded(); }

// Commands 16, 17 and 26; not built yet: stops the job.
void RepEncText1(uint16_t, const uint8_t *) { NotEncoded(); }

// Command 28; not built yet: stops the job.
void RepEncPrintOpen(int, int, const uint8_t *, const uint8_t *) { NotEncoded(); }

// Commands 22 and 23; not built yet: stops the job.
void RepEncForm(uint16_t, const PackedDecimal[4], const PackedDecimal &, int) { NotEncoded(); }

// Command 24; not built yet: stops the job.
void RepEncFormText(const uint8_t *, const PackedDecimal[4], const uint8_t *, int, int, int) { NotEncoded(); }

// Command 32; not built yet: stops the job.
void RepEncGeometry(int, int, int, int) { NotEncoded(); }

// Command 30; not built yet: stops the job.
void RepEncOp30() { NotEncoded(); }

// Command 36; not built yet: stops the job.
void RepEncPicture(MemBlock, const uint8_t *, int) { NotEncoded(); }

// Command 37; not built yet: stops the job.
void RepEncHandle(MemBlock) { NotEncoded(); }

// Command 40; not built yet: stops the job.
void RepEncTabText(const uint8_t *) { NotEncoded(); }

// Command 41; not built yet: stops the job.
void RepEncTabLineEnd() { NotEncoded(); }
