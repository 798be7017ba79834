#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "widgets/link_label.h"
#include "widgets/messages.h"
#include "widgets/url_opener.h"
#include "widgets/windows.h"

// Resources compiled into a static library are registered by hand.
static void RegisterAssets() { Q_INIT_RESOURCE(assets); }

namespace solvane::widgets {

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

namespace {

QScreen* ScreenOf(const QWidget& window) {
  QScreen* screen = window.screen();
  return screen ? screen : QGuiApplication::primaryScreen();
}

// What the window manager adds around `window`: measured once it is shown, allowed for before.
QSize FrameOf(const QWidget& window) {
  if (window.isVisible() && window.frameGeometry().size() != window.size())
    return window.frameGeometry().size() - window.size();
  return {kFrameAllowanceWidth, kFrameAllowanceHeight};
}

}  // namespace

QSize RoomOnScreen(const QWidget& window) {
  const QScreen* screen = ScreenOf(window);
  if (!screen) return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
  return (screen->availableGeometry().size() - FrameOf(window)).expandedTo(QSize(1, 1));
}

void FitOnScreen(QWidget& window, QSize wanted) {
  const QSize size = wanted.boundedTo(RoomOnScreen(window)).expandedTo(window.minimumSize());
  window.resize(size);
  const QScreen* screen = ScreenOf(window);
  if (!screen) return;
  // A window's position is that of its frame.
  const QRect area = screen->availableGeometry();
  const QSize framed = size + FrameOf(window);
  window.move(area.x() + std::max(0, (area.width() - framed.width()) / 2),
              area.y() + std::max(0, (area.height() - framed.height()) / 2));
}

QScrollArea* Scrolling(QWidget* content) {
  auto* area = new QScrollArea;
  area->setFrameShape(QFrame::NoFrame);
  area->setWidgetResizable(true);
  area->setWidget(content);
  return area;
}

void LayOutScrollingBody(QWidget& window, QLayout* body, QLayout* buttons) {
  auto* content = new QWidget;
  content->setLayout(body);
  auto* outer = new QVBoxLayout(&window);
  QScrollArea* area = Scrolling(content);
  // Tab goes from link to button as before; the area follows the focus into view by itself.
  area->setFocusPolicy(Qt::NoFocus);
  outer->addWidget(area, 1);
  outer->addLayout(buttons);
  const QMargins margins = outer->contentsMargins();
  const QSize inner = content->sizeHint();
  const QSize row = buttons->sizeHint();
  const QSize wanted(
      std::max(inner.width(), row.width()) + margins.left() + margins.right(),
      inner.height() + outer->spacing() + row.height() + margins.top() + margins.bottom());
  FitOnScreen(window, wanted);
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

}  // namespace solvane::widgets
