// Message boxes as the windows ask for them. The desktop program shows a QMessageBox; tests record
// the request and answer it, so that no test ever waits on a modal dialog.
#pragma once

#include <QString>

#include "core/message.h"

class QWidget;

namespace solvane::widgets {

enum class MessageButtons { kOk, kYesNo };
enum class MessageAnswer { kOk, kYes, kNo };

class MessageService {
 public:
  virtual ~MessageService() = default;
  virtual MessageAnswer Show(QWidget* parent, const QString& text, core::MessageIcon icon,
                             MessageButtons buttons = MessageButtons::kOk) = 0;
  MessageAnswer Show(QWidget* parent, const core::Message& message) {
    return Show(parent, QString::fromStdString(message.text), message.icon);
  }
};

// Modal QMessageBox titled with the program's title.
class QtMessageService final : public MessageService {
 public:
  MessageAnswer Show(QWidget* parent, const QString& text, core::MessageIcon icon,
                     MessageButtons buttons) override;
  using MessageService::Show;
};

}  // namespace solvane::widgets
