#include "platform/qt/manual_window.h"

#include <QPointer>
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
    window->setMarkdown(QString::fromUtf8(manual_markdown()));
    window->resize(900, 700);
  }
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace desktop
