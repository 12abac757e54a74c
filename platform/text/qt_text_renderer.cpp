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

int QtTextRenderer::draw_text(rt::Raster& raster, int x, int y, std::string_view utf8,
                              const std::string& face, int pixel_height, rt::Colour colour) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return pixel_height;
  const CachedFont& f = font(face, std::max(pixel_height, 1));
  const int line_height = f.metrics.height();
  if (utf8.empty() || raster.empty()) return line_height;

  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  // The region that can receive ink: the advance box with room for overhanging glyphs,
  // cut to the raster. Worked out in 64 bits, as the position may lie far outside.
  const std::int64_t advance = f.metrics.horizontalAdvance(text);
  const std::int64_t margin = std::max(line_height, pixel_height);
  const std::int64_t left = std::max<std::int64_t>(std::int64_t{x} - margin, 0);
  const std::int64_t top = std::max<std::int64_t>(std::int64_t{y} - margin, 0);
  const std::int64_t right =
      std::min<std::int64_t>(std::int64_t{x} + advance + margin, raster.width());
  const std::int64_t bottom =
      std::min<std::int64_t>(std::int64_t{y} + line_height + margin, raster.height());
  if (left >= right || top >= bottom) return line_height;

  // Qt draws into a transparent mask; the raster then takes the colour exactly where the mask
  // has ink, so the raster's 0x00BBGGRR values never pass through Qt's pixel formats.
  QImage mask(static_cast<int>(right - left), static_cast<int>(bottom - top),
              QImage::Format_ARGB32_Premultiplied);
  if (mask.isNull()) return line_height;
  mask.fill(Qt::transparent);
  {
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(f.font);
    painter.setPen(Qt::black);
    painter.drawText(
        QPoint(static_cast<int>(x - left), static_cast<int>(y - top) + f.metrics.ascent()), text);
  }
  const int mask_width = mask.width(), mask_height = mask.height();
  for (int my = 0; my < mask_height; ++my) {
    const auto* ink = reinterpret_cast<const QRgb*>(mask.constScanLine(my));
    rt::Colour* row = raster.row(static_cast<std::int32_t>(top + my));
    for (int mx = 0; mx < mask_width; ++mx)
      if (qAlpha(ink[mx]) >= 128) row[left + mx] = colour;
  }
  return line_height;
}

}  // namespace platform_text
