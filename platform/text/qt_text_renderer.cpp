#include "platform/text/qt_text_renderer.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace platform_text {

QString font_family_for(const std::string& face) {
  // The forms name faces of another system; these are the nearest installed ones.
  static const std::array<std::pair<const char*, const char*>, 5> kSubstitutes = {{
      {"ＭＳ Ｐゴシック", "IPAPGothic"},
      {"ＭＳ ゴシック", "IPAGothic"},
      {"ＭＳ Ｐ明朝", "IPAPMincho"},
      {"ＭＳ 明朝", "IPAMincho"},
      {"FixedSys", "DejaVu Sans Mono"},
  }};
  const QString name = QString::fromStdString(face);
  for (const auto& [from, to] : kSubstitutes)
    if (name.compare(QString::fromUtf8(from), Qt::CaseInsensitive) == 0)
      return QString::fromUtf8(to);
  return QStringLiteral("IPAPGothic");
}

const QtTextRenderer::CachedFont& QtTextRenderer::font(const std::string& face, int pixel_height) {
  fonts_used_ = true;
  if (!cached_ || cached_->face != face || cached_->pixel_height != pixel_height) {
    QFont f(font_family_for(face));
    f.setPixelSize(pixel_height);
    // Whole pixels only: every text pixel is exactly the text colour, so files are
    // reproducible and a text pixel can never pass for a curve colour.
    f.setStyleStrategy(QFont::NoAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    cached_.reset();
    cached_.emplace(CachedFont{face, pixel_height, f, QFontMetrics(f)});
  }
  return *cached_;
}

const QtTextRenderer::Ink& QtTextRenderer::ink_of(const std::string& face, int pixel_height,
                                                  std::string_view utf8) {
  auto key = std::make_tuple(face, pixel_height, std::string(utf8));
  if (auto found = inks_.find(key); found != inks_.end()) return found->second;
  constexpr std::size_t kMaxInks = 1024;
  if (inks_.size() >= kMaxInks) inks_.clear();

  const CachedFont& f = font(face, pixel_height);
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  // The advance box with room for overhanging glyphs on every side.
  const int line_height = f.metrics.height();
  const int margin = std::max(line_height, pixel_height);
  const int advance = f.metrics.horizontalAdvance(text);
  Ink ink;
  // Qt draws into a transparent mask; the raster then takes the colour exactly where the mask
  // has ink, so the raster's 0x00BBGGRR values never pass through Qt's pixel formats.
  QImage mask(advance + 2 * margin, line_height + 2 * margin, QImage::Format_ARGB32_Premultiplied);
  if (!mask.isNull()) {
    mask.fill(Qt::transparent);
    {
      QPainter painter(&mask);
      painter.setRenderHint(QPainter::TextAntialiasing, false);
      painter.setFont(f.font);
      painter.setPen(Qt::black);
      painter.drawText(QPoint(margin, margin + f.metrics.ascent()), text);
    }
    const int mask_width = mask.width(), mask_height = mask.height();
    for (int my = 0; my < mask_height; ++my) {
      const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(my));
      for (int mx = 0; mx < mask_width; ++mx)
        if (qAlpha(row[mx]) >= 128) ink.pixels.emplace_back(mx - margin, my - margin);
    }
  }
  for (const auto& [dx, dy] : ink.pixels) {
    if (ink.box.empty()) {
      ink.box = {dx, dy, dx, dy};
      continue;
    }
    ink.box.left = std::min(ink.box.left, dx);
    ink.box.right = std::max(ink.box.right, dx);
    ink.box.top = std::min(ink.box.top, dy);
    ink.box.bottom = std::max(ink.box.bottom, dy);
  }
  return inks_.emplace(std::move(key), std::move(ink)).first->second;
}

rt::InkBox QtTextRenderer::ink_box(std::string_view utf8, const std::string& face,
                                   int pixel_height) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || utf8.empty()) return {};
  return ink_of(face, std::max(pixel_height, 1), utf8).box;
}

int QtTextRenderer::draw_text(rt::Raster& raster, int x, int y, std::string_view utf8,
                              const std::string& face, int pixel_height, rt::Colour colour) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return pixel_height;
  const int height = std::max(pixel_height, 1);
  const int line_height = font(face, height).metrics.height();
  if (utf8.empty() || raster.empty()) return line_height;
  // Nothing of a text far outside the picture can land in it.
  const std::int64_t reach = std::int64_t{8} * (line_height + height) +
                             64 * static_cast<std::int64_t>(utf8.size()) * height;
  if (std::int64_t{x} > raster.width() + reach || std::int64_t{x} < -reach ||
      std::int64_t{y} > raster.height() + reach || std::int64_t{y} < -reach)
    return line_height;
  for (const auto& [dx, dy] : ink_of(face, height, utf8).pixels) {
    const std::int64_t px = std::int64_t{x} + dx, py = std::int64_t{y} + dy;
    if (px >= 0 && px < raster.width() && py >= 0 && py < raster.height())
      raster.row(static_cast<std::int32_t>(py))[px] = colour;
  }
  return line_height;
}

int QtTextRenderer::line_height(const std::string& face, int pixel_height) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return pixel_height;
  return font(face, std::max(pixel_height, 1)).metrics.height();
}

int QtTextRenderer::text_width(std::string_view utf8, const std::string& face, int pixel_height) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    return rt::TextRenderer::text_width(utf8, face, pixel_height);
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  return font(face, std::max(pixel_height, 1)).metrics.horizontalAdvance(text);
}

int QtTextRenderer::text_ascent(const std::string& face, int pixel_height) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    return rt::TextRenderer::text_ascent(face, pixel_height);
  return font(face, std::max(pixel_height, 1)).metrics.ascent();
}

}  // namespace platform_text
