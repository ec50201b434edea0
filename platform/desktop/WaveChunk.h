#pragma once

#include <string_view>

struct Mix_Chunk;

// A wave file's bytes (RIFF WAVE) as a mixer chunk, for the sound effects and the simple
// wave player; nullptr, with SDL's error set, for anything else. The mixer's own loader
// would also take music of every kind and decode it whole into memory, and it allocates
// what a chunk claims before reading it, so a chunk that runs past the end of the file is
// cut to what the file holds. The device must be open.
Mix_Chunk* loadWaveChunk(std::string_view bytes);
