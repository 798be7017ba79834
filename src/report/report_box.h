// The report written into a QTextEdit: the desktop's rich-text sink.
#pragma once

#include <QTextCursor>
#include <QTextEdit>

#include "report/rich_text.h"

namespace solvane::report {

class TextEditSink final : public RichTextSink {
 public:
  // Writes at the end of `edit`'s document.
  explicit TextEditSink(QTextEdit& edit);
  void SetBold(bool bold) override;
  void SetColour(Rgb colour) override;
  // "\r\n" starts a new paragraph.
  void Insert(std::string_view text) override;

 private:
  QTextCursor cursor_;
  QTextCharFormat format_;
};

// Fills `edit` with the report's pieces in one edit block, so the box lays the text out once.
void FillReportBox(QTextEdit& edit, const std::vector<RichTextPiece>& pieces);

}  // namespace solvane::report
