#pragma once
// The batch's table on standard output: one CSV line per spectrum with what the peak table
// shows after the last command.

#include <string>
#include <vector>

namespace batch {

struct SlotTexts {
  std::string centre, width, height, share;
};

struct SpectrumSummary {
  std::string file;  // as given on the command line
  bool ok = true;
  std::string error;   // why it failed: the run-time error's number and message
  std::string points;  // empty when no spectrum was loaded
  std::string figure;
  // Empty texts for absent slots: the six, and as many components beyond as the batch has.
  std::vector<SlotTexts> peaks = std::vector<SlotTexts>(6);
  std::string total;
};

// file,status,error,points,figure,centre1,width1,height1,share1,...,share6,total; with
// components beyond the six, their columns up to `slots` before the total.
std::string summary_header(int slots = 6);

// One line without its line end. Fields holding a comma, a quote or a line break are quoted
// (RFC 4180), so a file name or a message cannot shift the columns.
std::string summary_line(const SpectrumSummary& s);

std::string csv_field(const std::string& text);

}  // namespace batch
