// Test stand-ins for the message boxes and the browser: they record what the windows ask for.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "shell/messages.h"
#include "shell/url_opener.h"

namespace solvane::testing {

struct ShownMessage {
  QString text;
  core::MessageIcon icon;
  shell::MessageButtons buttons;
};

class RecordingMessages final : public shell::MessageService {
 public:
  shell::MessageAnswer Show(QWidget*, const QString& text, core::MessageIcon icon,
                            shell::MessageButtons buttons) override {
    shown.push_back({text, icon, buttons});
    return buttons == shell::MessageButtons::kYesNo ? answer : shell::MessageAnswer::kOk;
  }
  using MessageService::Show;
  std::vector<ShownMessage> shown;
  shell::MessageAnswer answer = shell::MessageAnswer::kNo;
};

class RecordingOpener final : public shell::UrlOpener {
 public:
  void Open(const QString& address) override { opened << address; }
  using UrlOpener::Open;
  QStringList opened;
};

}  // namespace solvane::testing
