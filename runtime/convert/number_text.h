#pragma once
// Number to text, exactly as every field, file and label of the program shows numbers.
// Locale-free: nothing here depends on the process locale that Qt sets.

#include <string>

namespace rt {

// Untrimmed text of a single: 6 significant digits, exponent letter E, a leading blank for a
// non-negative value (" 2.5", "-.5", " 1.23457E+06", " 1E-07").
std::string single_text(float x);

// Untrimmed text of a double: 15 significant digits, exponent letter D, three exponent digits
// (" .100000001490116", " 1D+020").
std::string double_text(double x);

// The trimmed forms, which is what fields, files and the clipboard receive.
std::string trimmed_single_text(float x);
std::string trimmed_double_text(double x);

}  // namespace rt
