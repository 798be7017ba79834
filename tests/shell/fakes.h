// Test stand-ins for the message boxes and the browser: they record what the windows ask for.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "widgets/messages.h"
#include "widgets/url_opener.h"

namespace solvane::testing {

struct ShownMessage {
  QString text;
  core::MessageIcon icon;
  widgets::MessageButtons buttons;
};

class RecordingMessages final : public widgets::MessageService {
 public:
  widgets::MessageAnswer Show(QWidget*, const QString& text, core::MessageIcon icon,
                            widgets::MessageButtons buttons) override {
    shown.push_back({text, icon, buttons});
    return buttons == widgets::MessageButtons::kYesNo ? answer : widgets::MessageAnswer::kOk;
  }
  using MessageService::Show;
  std::vector<ShownMessage> shown;
  widgets::MessageAnswer answer = widgets::MessageAnswer::kNo;
};

class RecordingOpener final : public widgets::UrlOpener {
 public:
  void Open(const QString& address) override { opened << address; }
  using UrlOpener::Open;
  QStringList opened;
};

}  // namespace solvane::testing
