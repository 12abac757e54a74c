#pragma once

#include <string>

namespace app {

// What "Target" shows for a path: the characters after its last directory separator.
std::string display_name(const std::string& path);

// Loads a spectrum chosen in the open dialog, then redraws (also after a cancel). Loading is
// all or nothing: a file that fails part-way leaves the previous spectrum, its ranges,
// LASTPOINT, FILEPATH and the "Target" field as they were.
void FILEOPEN();

// File > "Open" and the "OPEN" button.
void OPENFILE_ON();
void BUTTON3_ON();

}  // namespace app
