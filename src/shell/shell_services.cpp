#include <QDesktopServices>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QUrl>

#include "shell/link_label.h"
#include "shell/messages.h"
#include "shell/url_opener.h"

// Resources compiled into a static library are registered by hand.
static void RegisterAssets() { Q_INIT_RESOURCE(assets); }

namespace solvane::shell {

void EnsureResources() {
  static const bool registered = (RegisterAssets(), true);
  (void)registered;
}

MessageAnswer QtMessageService::Show(QWidget* parent, const QString& text, core::MessageIcon icon,
                                     MessageButtons buttons) {
  // A lone carriage return separates the lines of a message; a label needs a line feed.
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  QMessageBox box(
      icon == core::MessageIcon::kError ? QMessageBox::Critical : QMessageBox::Information,
      QStringLiteral("Solvane"), shown,
      buttons == MessageButtons::kYesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
      parent);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return MessageAnswer::kYes;
    case QMessageBox::No:
      return MessageAnswer::kNo;
    default:
      return MessageAnswer::kOk;
  }
}

void DesktopUrlOpener::Open(const QString& address) { QDesktopServices::openUrl(QUrl(address)); }

LinkLabel::LinkLabel(const QString& object_name, const QString& text, LinkTarget target,
                     UrlOpener& opener, QWidget* parent)
    : QLabel(text, parent), target_(target), opener_(opener) {
  setObjectName(object_name);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::TabFocus);  // reachable from the keyboard; Enter or Space opens it
  setWordWrap(true);
  setStyleSheet(
      QStringLiteral("QLabel { color: #1a4fa0; text-decoration: underline; }"
                     "QLabel:focus { outline: 1px dotted; }"));
  setToolTip(AddressOf(target));
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    opener_.Open(target_);
  QLabel::mouseReleaseEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
      event->key() == Qt::Key_Space) {
    opener_.Open(target_);
    return;
  }
  QLabel::keyPressEvent(event);
}

}  // namespace solvane::shell
