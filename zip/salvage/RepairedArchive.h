#pragma once
// The archive a salvage writes: the whole entries of the cut file, copied as they are, under a
// central directory and an end record of their own.
#include "platform/FileIO.h"
#include "zip/salvage/LocalWalk.h"

// Writes the entries of walk, read from file, into output, then their central directory and the
// end record; false when a read or a write fails.
bool WriteRepairedArchive(FileHandle file, const SalvageWalk& walk, FileHandle output);
