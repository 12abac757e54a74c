#include "platform/qt/manual_window.h"

#include <QPointer>
#include <QRegularExpression>
#include <QString>
#include <QTextBrowser>

namespace desktop {

void show_manual_window() {
  static QPointer<QTextBrowser> window;
  if (!window) {
    window = new QTextBrowser();
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("Tessaly manual"));
    window->setOpenExternalLinks(true);
    // The README's picture lives beside it in the source tree, not in the program.
    QString text = QString::fromUtf8(manual_markdown());
    text.remove(QRegularExpression(QStringLiteral("!\\[[^\\]]*\\]\\([^)]*\\)\\n?")));
    window->setMarkdown(text);
    window->resize(900, 700);
  }
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace desktop
