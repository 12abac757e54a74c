#pragma once

#include <string>

#include "app/files/spectrum_reader.h"

namespace app {

// What "Target" shows for a path: the characters after its last directory separator.
std::string display_name(const std::string& path);

// Makes the points the workspace's spectrum, with their ranges, FILEPATH and "Target"; more
// than the arrays' 1001 points (a raw load's survey) go to the long spectrum's storage.
void store_spectrum(const LoadedSpectrum& s, const std::string& path);

// Reads the spectrum file at `path` into the workspace with its ranges, FILEPATH and "Target".
// Nothing changes until the whole file has been read: a file that cannot be opened or read, or
// holds more than 1001 points, raises its error and leaves everything as it was.
void load_spectrum(const std::string& path);

}  // namespace app
