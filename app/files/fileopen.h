#pragma once

namespace app {

// Loads a spectrum chosen in the open dialog, then redraws (also after a cancel). Loading is
// all or nothing: a file that fails part-way leaves the previous spectrum, its ranges,
// LASTPOINT, FILEPATH and the "Target" field as they were.
void FILEOPEN();

// File > "Open" and the "OPEN" button.
void OPENFILE_ON();
void BUTTON3_ON();

}  // namespace app
