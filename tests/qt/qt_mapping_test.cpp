#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>

#include <string>
#include <vector>

#include "platform/actions/user_action.h"
#include "platform/qt/qt_mapping.h"
#include "qstring_printer.h"

namespace {

using namespace desktop;

// ---- Check states ----

struct CheckCase {
  int ours;
  Qt::CheckState qt;
  int after_click;
};

TEST(QtMapping, CheckStatesBothWaysAndTheClickToggle) {
  const CheckCase cases[] = {
      {0, Qt::Unchecked, 1},
      {1, Qt::Checked, 0},
      {2, Qt::PartiallyChecked, 1},  // a grey box becomes checked, not cleared
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.ours);
    EXPECT_EQ(to_qt_check_state(c.ours), c.qt);
    EXPECT_EQ(from_qt_check_state(c.qt), c.ours);
    EXPECT_EQ(actions::clicked_check_state(c.ours), c.after_click);
  }
}

// ---- Colours ----

struct ColourCase {
  rt::Colour ours;
  int red, green, blue;
};

const ColourCase kColours[] = {
    {0x000000, 0, 0, 0},          {0xFFFFFF, 255, 255, 255}, {0x0000FF, 255, 0, 0},
    {0x00FF00, 0, 255, 0},        {0xFF0000, 0, 0, 255},     {0xFF00FF, 255, 0, 255},
    {0xFFFF00, 0, 255, 255},      {0x00FFFF, 255, 255, 0},   {0xFF0080, 128, 0, 255},
    {0x123456, 0x56, 0x34, 0x12},
};

TEST(QtMapping, ColoursBothWays) {
  for (const ColourCase& c : kColours) {
    SCOPED_TRACE(c.ours);
    const QColor colour = to_qcolor(c.ours);
    EXPECT_EQ(colour.red(), c.red);
    EXPECT_EQ(colour.green(), c.green);
    EXPECT_EQ(colour.blue(), c.blue);
    EXPECT_EQ(colour.alpha(), 255);
    EXPECT_EQ(to_qrgb(c.ours), qRgb(c.red, c.green, c.blue));
    EXPECT_EQ(from_qrgb(qRgb(c.red, c.green, c.blue)), c.ours);
    EXPECT_EQ(from_qrgb(qRgba(c.red, c.green, c.blue, 0)), c.ours);  // alpha never leaks in
  }
}

// ---- Fonts and windows ----

TEST(QtMapping, PointsBecomeWholePixelsRoundedToNearest) {
  struct Case {
    int points;
    double dpi;
    int pixels;
  };
  const Case cases[] = {
      // The forms' sizes at the resolution they were laid out at: each text fits its control.
      {9, kFormDotsPerInch, 10},
      {11, kFormDotsPerInch, 12},
      {14, kFormDotsPerInch, 16},
      {17, kFormDotsPerInch, 19},
      {11, 96, 15},
      {3, 60, 3} /* 2.5 rounds up */,
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.points);
    EXPECT_EQ(point_pixels(c.points, c.dpi), c.pixels);
  }
}

TEST(QtMapping, FramesDecideTheTitleBarButtons) {
  struct Case {
    rt::FrameStyle frame;
    bool close, minimize, maximize;
  };
  const Case cases[] = {
      {{true, true, true, true}, true, true, true},        // main and About windows
      {{false, false, false, true}, false, false, false},  // the two setting windows
      {{false, true, true, true}, false, false, false},    // no system menu: no buttons at all
  };
  for (const Case& c : cases) {
    const Qt::WindowFlags flags = window_flags(c.frame);
    EXPECT_TRUE(flags.testFlag(Qt::Window));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_EQ(flags.testFlag(Qt::WindowCloseButtonHint), c.close);
    EXPECT_EQ(flags.testFlag(Qt::WindowMinimizeButtonHint), c.minimize);
    EXPECT_EQ(flags.testFlag(Qt::WindowMaximizeButtonHint), c.maximize);
  }
  // An owned window is a tool window (kept above its owner), with the same title bar.
  const Qt::WindowFlags owned = window_flags({false, false, false, true}, true);
  EXPECT_EQ(owned & Qt::WindowType_Mask, Qt::Tool);
  EXPECT_FALSE(owned.testFlag(Qt::WindowCloseButtonHint));
}

TEST(QtMapping, AWindowPartlyOffTheScreenMovesJustFarEnoughOntoIt) {
  struct Case {
    QRect outer;
    QRect available;
    QPoint place;
  };
  const QRect laptop(0, 0, 1366, 728);  // 1366 x 768 less a 40-pixel panel
  const QRect big(0, 0, 1920, 1160);
  const QRect right_of(1920, 0, 1366, 768);  // a second screen
  const Case cases[] = {
      {{1013, 481, 809, 471}, laptop, {557, 257}},  // "Peak setting": left and up
      {{409, 296, 315, 384}, laptop, {409, 296}},   // "Graph setting" fits: unchanged
      {{143, 132, 718, 767}, laptop, {143, 0}},     // too tall: its top edge stays on the screen
      {{1013, 481, 809, 471}, big, {1013, 481}},    // a large screen: every place unchanged
      {{-50, -10, 300, 200}, big, {0, 0}},         {{1900, 100, 300, 200}, right_of, {1920, 100}},
      {{0, 0, 2000, 1300}, big, {0, 0}},  // larger than the screen: top-left corner
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.outer.x());
    EXPECT_EQ(on_screen_place(c.outer, c.available), c.place);
  }
}

// ---- File dialog filters ----

TEST(QtMapping, NameFiltersShowTheDescriptionAndMatchEveryPattern) {
  struct Case {
    rt::FileFilter filter;
    QString built;
  };
  const Case cases[] = {
      {{"Config file(*.cfg)", {"*.cfg"}}, "Config file(*.cfg) (*.cfg)"},
      {{"rawファイル(*.txt,*.csv)", {"*.txt", "*.csv"}}, "rawファイル(*.txt,*.csv) (*.txt *.csv)"},
      {{"そのほか(*.*)", {"*.*"}}, "そのほか(*.*) (*)"},
  };
  std::vector<rt::FileFilter> all;
  for (const Case& c : cases) {
    EXPECT_EQ(name_filter(c.filter), c.built);
    all.push_back(c.filter);
  }
  // What the dialog lists: each entry exactly as the program described it.
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(name_filters(all));
  auto* combo = dialog.findChild<QComboBox*>("fileTypeCombo");
  ASSERT_NE(combo, nullptr);
  ASSERT_EQ(combo->count(), 3);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(combo->itemText(i), QString::fromStdString(cases[i].filter.description));
}

TEST(QtMapping, TheDefaultSuffixIsTheFiltersFirstExtension) {
  struct Case {
    rt::FileFilter filter;
    QString suffix;
  };
  const Case cases[] = {
      {{"BMP file(*.bmp)", {"*.bmp"}}, "bmp"},
      {{"rawファイル(*.txt,*.csv)", {"*.txt", "*.csv"}}, "txt"},
      {{"そのほか(*.*)", {"*.*"}}, ""},
      {{"all(*)", {"*"}}, ""},
      {{"odd(data*.c?v;*.cfg)", {"data*.c?v", "*.cfg"}}, "cfg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.filter.description);
    EXPECT_EQ(default_suffix(c.filter), c.suffix);
  }
}

// ---- Message box ----

TEST(QtMapping, MessageBoxButtonSetsAndTheirDefaults) {
  struct Case {
    rt::MessageBoxButtons buttons;
    QMessageBox::StandardButtons set;
    QMessageBox::StandardButton first;
  };
  const Case cases[] = {
      {rt::kButtonsOk, QMessageBox::Ok, QMessageBox::Ok},
      {rt::kButtonsOkCancel, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok},
      {rt::kButtonsAbortRetryIgnore, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore,
       QMessageBox::Abort},
      {rt::kButtonsYesNoCancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
       QMessageBox::Yes},
      {rt::kButtonsYesNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes},
      {rt::kButtonsRetryCancel, QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.buttons);
    EXPECT_EQ(message_box_buttons(c.buttons), c.set);
    EXPECT_EQ(message_box_default_button(c.buttons), c.first);
  }
}

TEST(QtMapping, MessageBoxResultsAndIcons) {
  struct Result {
    QMessageBox::StandardButton pressed;
    rt::MessageBoxButtons buttons;
    rt::MessageBoxResult result;
  };
  const Result results[] = {
      {QMessageBox::Ok, rt::kButtonsOk, rt::kOk},
      {QMessageBox::Cancel, rt::kButtonsOkCancel, rt::kCancel},
      {QMessageBox::Abort, rt::kButtonsAbortRetryIgnore, rt::kAbort},
      {QMessageBox::Retry, rt::kButtonsRetryCancel, rt::kRetry},
      {QMessageBox::Ignore, rt::kButtonsAbortRetryIgnore, rt::kIgnore},
      {QMessageBox::Yes, rt::kButtonsYesNo, rt::kYes},
      {QMessageBox::No, rt::kButtonsYesNo, rt::kNo},
      // Closed without a button: what the box's escape button gives.
      {QMessageBox::NoButton, rt::kButtonsYesNoCancel, rt::kCancel},
      {QMessageBox::NoButton, rt::kButtonsYesNo, rt::kNo},
      {QMessageBox::NoButton, rt::kButtonsAbortRetryIgnore, rt::kAbort},
      {QMessageBox::NoButton, rt::kButtonsOk, rt::kOk},
  };
  for (const Result& r : results) {
    SCOPED_TRACE(r.result);
    EXPECT_EQ(message_box_result(r.pressed, r.buttons), r.result);
  }
  const QMessageBox::Icon icons[] = {QMessageBox::Critical, QMessageBox::Question,
                                     QMessageBox::Warning, QMessageBox::Information,
                                     QMessageBox::NoIcon};
  const rt::MessageBoxIcon styles[] = {rt::kIconStop, rt::kIconQuestion, rt::kIconExclamation,
                                       rt::kIconInformation, rt::kIconNone};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(message_box_icon(styles[i]), icons[i]);
}

}  // namespace
