// A label that opens a page of the maker's site when clicked.
#pragma once

#include <QLabel>

#include "widgets/url_opener.h"

namespace solvane::widgets {

class LinkLabel : public QLabel {
  Q_OBJECT
 public:
  LinkLabel(const QString& object_name, const QString& text, LinkTarget target, UrlOpener& opener,
            QWidget* parent = nullptr);

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  LinkTarget target_;
  UrlOpener& opener_;
};

}  // namespace solvane::widgets
