#pragma once
// Failure messages show a QString as its text, not as its UTF-16 code units.

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
