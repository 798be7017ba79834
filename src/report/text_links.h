// Web addresses in a QTextEdit shown as links; a press of the left mouse button on one opens it.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTextEdit>
#include <vector>

#include "report/web_links.h"
#include "widgets/url_opener.h"

namespace solvane::report {

class TextLinks : public QObject {
  Q_OBJECT
 public:
  explicit TextLinks(widgets::UrlOpener& opener, QObject* parent = nullptr);
  ~TextLinks() override;

  // Marks the addresses in `box` as links and starts listening to its mouse presses. One box at a
  // time: a box already hooked is unhooked first.
  void Hook(QTextEdit* box);
  // Stops listening and shows the addresses as plain text again; harmless when nothing is hooked.
  void Unhook();
  bool IsHooked() const { return !box_.isNull(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Format(bool as_links);
  // The link under `position` of the viewport, or an empty text.
  QString LinkAt(const QPoint& position) const;

  widgets::UrlOpener& opener_;
  QPointer<QTextEdit> box_;
  std::vector<LinkRange> ranges_;
  QString text_;
};

}  // namespace solvane::report
