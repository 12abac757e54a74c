#include "platform/qt/qt_mapping.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/text/qt_text_renderer.h"

namespace desktop {

// ---- Check states ----

Qt::CheckState to_qt_check_state(int state) {
  switch (state) {
    case 1:
      return Qt::Checked;
    case 2:
      return Qt::PartiallyChecked;
    default:
      return Qt::Unchecked;
  }
}

int from_qt_check_state(Qt::CheckState state) {
  switch (state) {
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
    default:
      return 0;
  }
}

// ---- Colours ----

QColor to_qcolor(rt::Colour colour) { return QColor::fromRgb(to_qrgb(colour)); }

QRgb to_qrgb(rt::Colour colour) {
  const unsigned red = colour & 0xFF;
  const unsigned green = (colour >> 8) & 0xFF;
  const unsigned blue = (colour >> 16) & 0xFF;
  return qRgb(static_cast<int>(red), static_cast<int>(green), static_cast<int>(blue));
}

rt::Colour from_qrgb(QRgb rgb) {
  return static_cast<rt::Colour>(qRed(rgb)) | static_cast<rt::Colour>(qGreen(rgb)) << 8 |
         static_cast<rt::Colour>(qBlue(rgb)) << 16;
}

QImage raster_image(const rt::Raster& raster) {
  QImage image(raster.width(), raster.height(), QImage::Format_RGB32);
  for (std::int32_t y = 0; y < raster.height(); ++y) {
    const rt::Colour* from = raster.row(y);
    auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (std::int32_t x = 0; x < raster.width(); ++x) to[x] = to_qrgb(from[x]);
  }
  return image;
}

// ---- Fonts ----

int point_pixels(int points, double dots_per_inch) {
  return static_cast<int>(std::floor(points * dots_per_inch / 72.0 + 0.5));
}

QFont element_font(const rt::FontDef& def, bool size_in_points) {
  QFont font(platform_text::font_family_for(def.face));
  const int pixels = size_in_points ? point_pixels(def.size) : def.size;
  if (pixels > 0) font.setPixelSize(pixels);
  font.setWeight(def.bold ? QFont::Bold : QFont::Normal);
  font.setItalic(def.italic);
  font.setUnderline(def.underline);
  font.setStrikeOut(def.strike_out);
  return font;
}

// ---- Windows ----

Qt::WindowFlags window_flags(const rt::FrameStyle& frame, bool owned) {
  Qt::WindowFlags flags =
      (owned ? Qt::Tool : Qt::Window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  // Without the system menu a window has no buttons in its title bar at all.
  if (frame.system_menu || frame.tool_window) {
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (frame.minimize_box) flags |= Qt::WindowMinimizeButtonHint;
    if (frame.maximize_box) flags |= Qt::WindowMaximizeButtonHint;
  }
  return flags;
}

QPoint on_screen_place(const QRect& outer, const QRect& available) {
  QPoint place = outer.topLeft();
  // Right and bottom first, so that a window larger than the area keeps its title bar on it.
  place.setX(std::min(place.x(), available.x() + available.width() - outer.width()));
  place.setY(std::min(place.y(), available.y() + available.height() - outer.height()));
  place.setX(std::max(place.x(), available.x()));
  place.setY(std::max(place.y(), available.y()));
  return place;
}

QSize client_size(const rt::Rect& outer, bool has_menu) {
  const int width = outer.width - 2 * kNominalBorder;
  const int height =
      outer.height - 2 * kNominalBorder - kNominalCaption - (has_menu ? kNominalMenuBar : 0);
  return QSize(std::max(width, 1), std::max(height, 1));
}

// ---- Mouse ----

int mouse_flags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  int flags = 0;
  if (buttons & Qt::LeftButton) flags |= 1;
  if (buttons & Qt::RightButton) flags |= 2;
  if (modifiers & Qt::ShiftModifier) flags |= 4;
  if (modifiers & Qt::ControlModifier) flags |= 8;
  if (buttons & Qt::MiddleButton) flags |= 16;
  return flags;
}

// ---- File dialogs ----

QString name_filter(const rt::FileFilter& filter) {
  QStringList patterns;
  for (const std::string& pattern : filter.patterns)
    patterns << (pattern == "*.*" ? QStringLiteral("*") : QString::fromStdString(pattern));
  if (patterns.isEmpty()) patterns << QStringLiteral("*");
  // Qt reads the patterns from the last parentheses and, with the details hidden, shows what
  // comes before them: the description exactly as the program gave it.
  return QString::fromStdString(filter.description) + QStringLiteral(" (") + patterns.join(u' ') +
         QStringLiteral(")");
}

QStringList name_filters(const std::vector<rt::FileFilter>& filters) {
  QStringList out;
  for (const rt::FileFilter& filter : filters) out << name_filter(filter);
  return out;
}

QString default_suffix(const rt::FileFilter& filter) {
  for (const std::string& pattern : filter.patterns) {
    if (pattern.size() < 3 || pattern.compare(0, 2, "*.") != 0) continue;
    const std::string extension = pattern.substr(2);
    if (extension.find_first_of("*?") != std::string::npos) continue;
    return QString::fromStdString(extension);
  }
  return QString();
}

// ---- Message box ----

namespace {

struct ButtonSet {
  rt::MessageBoxButtons style;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton first;
};

const std::array<ButtonSet, 6> kButtonSets = {{
    {rt::kButtonsOk, QMessageBox::Ok, QMessageBox::Ok},
    {rt::kButtonsOkCancel, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok},
    {rt::kButtonsAbortRetryIgnore, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore,
     QMessageBox::Abort},
    {rt::kButtonsYesNoCancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
     QMessageBox::Yes},
    {rt::kButtonsYesNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes},
    {rt::kButtonsRetryCancel, QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry},
}};

// An unknown style (the run-time refuses them before a box is asked for) shows OK alone.
const ButtonSet& button_set(rt::MessageBoxButtons buttons) {
  for (const ButtonSet& set : kButtonSets)
    if (set.style == buttons) return set;
  return kButtonSets[0];
}

}  // namespace

QMessageBox::StandardButtons message_box_buttons(rt::MessageBoxButtons buttons) {
  return button_set(buttons).buttons;
}

QMessageBox::StandardButton message_box_default_button(rt::MessageBoxButtons buttons) {
  return button_set(buttons).first;
}

QMessageBox::Icon message_box_icon(rt::MessageBoxIcon icon) {
  switch (icon) {
    case rt::kIconStop:
      return QMessageBox::Critical;
    case rt::kIconQuestion:
      return QMessageBox::Question;
    case rt::kIconExclamation:
      return QMessageBox::Warning;
    case rt::kIconInformation:
      return QMessageBox::Information;
    case rt::kIconNone:
      break;
  }
  return QMessageBox::NoIcon;
}

rt::MessageBoxResult message_box_result(QMessageBox::StandardButton pressed,
                                        rt::MessageBoxButtons buttons) {
  switch (pressed) {
    case QMessageBox::Ok:
      return rt::kOk;
    case QMessageBox::Cancel:
      return rt::kCancel;
    case QMessageBox::Abort:
      return rt::kAbort;
    case QMessageBox::Retry:
      return rt::kRetry;
    case QMessageBox::Ignore:
      return rt::kIgnore;
    case QMessageBox::Yes:
      return rt::kYes;
    case QMessageBox::No:
      return rt::kNo;
    default:
      break;
  }
  // Closed without a button: what the box's escape button gives.
  const QMessageBox::StandardButtons set = message_box_buttons(buttons);
  if (set & QMessageBox::Cancel) return rt::kCancel;
  if (set & QMessageBox::No) return rt::kNo;
  if (set & QMessageBox::Abort) return rt::kAbort;
  return rt::kOk;
}

QString display_text(const std::string& text) {
  QString out = QString::fromStdString(text);
  out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  out.replace(u'\r', u'\n');
  return out;
}

}  // namespace desktop
