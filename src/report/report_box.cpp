#include "report/report_box.h"

#include <QColor>
#include <QFont>

#include "report/house_report.h"

namespace solvane::report {

TextEditSink::TextEditSink(QTextEdit& edit) : cursor_(edit.document()) {
  cursor_.movePosition(QTextCursor::End);
  format_ = cursor_.charFormat();
}

void TextEditSink::SetBold(bool bold) { format_.setFontWeight(bold ? QFont::Bold : QFont::Normal); }

void TextEditSink::SetColour(Rgb colour) {
  format_.setForeground(QColor(colour.r, colour.g, colour.b));
}

void TextEditSink::Insert(std::string_view text) {
  QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  qtext.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  cursor_.insertText(qtext, format_);
}

void FillReportBox(QTextEdit& edit, const std::vector<RichTextPiece>& pieces) {
  TextEditSink sink(edit);
  QTextCursor block(edit.document());
  block.beginEditBlock();
  Replay(pieces, sink);
  block.endEditBlock();
}

}  // namespace solvane::report
