#include "report/text_links.h"

#include <QMouseEvent>
#include <QTextCursor>

namespace solvane::report {
namespace {

std::u16string_view View(const QString& text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

}  // namespace

TextLinks::TextLinks(widgets::UrlOpener& opener, QObject* parent)
    : QObject(parent), opener_(opener) {}

TextLinks::~TextLinks() { Unhook(); }

void TextLinks::Hook(QTextEdit* box) {
  Unhook();
  if (!box) return;
  box_ = box;
  text_ = box->toPlainText();
  ranges_ = FindWebAddresses(View(text_));
  Format(true);
  box->viewport()->installEventFilter(this);
  box->viewport()->setMouseTracking(true);
}

void TextLinks::Unhook() {
  if (box_.isNull()) return;
  box_->viewport()->removeEventFilter(this);
  box_->viewport()->unsetCursor();
  Format(false);
  box_.clear();
  ranges_.clear();
  text_.clear();
}

void TextLinks::Format(bool as_links) {
  QTextCursor cursor(box_->document());
  cursor.beginEditBlock();
  for (const LinkRange& range : ranges_) {
    cursor.setPosition(static_cast<int>(range.start));
    cursor.setPosition(static_cast<int>(range.end), QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setAnchor(as_links);
    format.setFontUnderline(as_links);
    if (as_links) {
      const std::u16string address = LinkAddressAt(View(text_), range);
      format.setAnchorHref(QString::fromStdU16String(address));
      format.setForeground(box_->palette().link());
    } else {
      format.setAnchorHref(QString());
      format.setForeground(box_->palette().text());
    }
    cursor.mergeCharFormat(format);
  }
  cursor.endEditBlock();
}

QString TextLinks::LinkAt(const QPoint& position) const {
  // anchorAt says whether the pointer is over link text at all; the range gives the address,
  // read with its bound.
  if (box_->anchorAt(position).isEmpty()) return {};
  const std::size_t at = static_cast<std::size_t>(box_->cursorForPosition(position).position());
  for (const LinkRange& range : ranges_)
    if (at >= range.start && at <= range.end)
      return QString::fromStdU16String(LinkAddressAt(View(text_), range));
  return {};
}

bool TextLinks::eventFilter(QObject* watched, QEvent* event) {
  if (!box_.isNull() && watched == box_->viewport()) {
    if (event->type() == QEvent::MouseButtonPress) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton) {
        const QString link = LinkAt(mouse->position().toPoint());
        if (!link.isEmpty()) opener_.Open(link);
      }
    } else if (event->type() == QEvent::MouseMove) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const bool over_link = !LinkAt(mouse->position().toPoint()).isEmpty();
      box_->viewport()->setCursor(over_link ? Qt::PointingHandCursor : Qt::IBeamCursor);
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace solvane::report
