#pragma once
// Translations between the run-time's values and Qt's. Qt numbers several of these
// differently from the program (check states, colour byte order, message box buttons), so
// every crossing goes through one of these functions and never through a cast.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QMessageBox>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <Qt>

#include <string>
#include <vector>

#include "runtime/forms/form_definition.h"
#include "runtime/forms/platform.h"
#include "runtime/picture/colour.h"
#include "runtime/picture/raster.h"

namespace desktop {

// ---- Check states: the program's 0 unchecked, 1 checked, 2 grey ----

Qt::CheckState to_qt_check_state(int state);  // anything outside 0-2 shows unchecked
int from_qt_check_state(Qt::CheckState state);

// ---- Colours: the program's 0x00BBGGRR, Qt's 0xAARRGGBB ----

QColor to_qcolor(rt::Colour colour);
QRgb to_qrgb(rt::Colour colour);  // opaque
rt::Colour from_qrgb(QRgb rgb);   // alpha dropped
// The raster as an opaque 32-bit image of the same size.
QImage raster_image(const rt::Raster& raster);

// ---- Fonts ----

// The resolution the forms were laid out at (1024 pixels across a 320 mm display). Every other
// measure of a form is in fixed pixels, so the control fonts are too: at the real screen's
// resolution the texts of a 16-pixel check box or label would no longer fit it.
inline constexpr double kFormDotsPerInch = 1024 / (320 / 25.4);
// Points to pixels at that resolution, rounded to the nearest pixel, halves up.
int point_pixels(int points, double dots_per_inch = kFormDotsPerInch);
// A control's font: size in points for buttons, check boxes, edit boxes and labels, in pixels
// for windows and pictures.
QFont element_font(const rt::FontDef& def, bool size_in_points);

// ---- Windows ----

// An owned window (a setting window of the main window) is a tool window: the window manager
// keeps it above its owner and minimises it with it.
Qt::WindowFlags window_flags(const rt::FrameStyle& frame, bool owned = false);

// Where a window of this outer rectangle goes on a screen whose free area is `available`:
// moved just far enough to lie fully inside it (to its top-left corner when it is larger),
// unchanged when it already does.
QPoint on_screen_place(const QRect& outer, const QRect& available);
// How wide the forms' places are laid out: from the screen's left edge to the right edge of
// "Peak setting".
inline constexpr int kLaidOutWidth = 1013 + 809;

// The size that holds the controls of a window whose definition gives its outer size: the
// outer size less a nominal frame (sizing border, caption, and the menu bar when it has one).
inline constexpr int kNominalBorder = 4;
inline constexpr int kNominalCaption = 19;
inline constexpr int kNominalMenuBar = 19;
QSize client_size(const rt::Rect& outer, bool has_menu);

// ---- Mouse ----

// Button and key flags as window messages carry them (left 1, right 2, shift 4, control 8,
// middle 16).
int mouse_flags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

// ---- File dialogs ----

// One name filter per entry: the entry's text as shown, and its patterns in the form Qt
// parses ("*.*" means every file, as on the system the program comes from). Shown with
// QFileDialog::HideNameFilterDetails, the entry reads exactly as its description.
QString name_filter(const rt::FileFilter& filter);
QStringList name_filters(const std::vector<rt::FileFilter>& filters);
// The extension a save dialog adds to a name typed without one while this filter is chosen:
// that of its first pattern of the form "*.ext"; none for "*.*" or "*".
QString default_suffix(const rt::FileFilter& filter);

// ---- Message box ----

QMessageBox::StandardButtons message_box_buttons(rt::MessageBoxButtons buttons);
QMessageBox::StandardButton message_box_default_button(rt::MessageBoxButtons buttons);
QMessageBox::Icon message_box_icon(rt::MessageBoxIcon icon);
// The program's result for the button pressed; a box closed without a button gives what its
// escape button would (Cancel, else No, Abort, or OK).
rt::MessageBoxResult message_box_result(QMessageBox::StandardButton pressed,
                                        rt::MessageBoxButtons buttons);

// Line breaks of the program's texts (CR LF) as Qt shows them.
QString display_text(const std::string& text);

}  // namespace desktop
