// frmSave: a copy of the report framed by the maker's address, to save as RTF or to print, and
// the whole chart sheet to save as PDF.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "core/result.h"
#include "report/text_links.h"
#include "widgets/messages.h"
#include "widgets/url_opener.h"

class QPrinter;
class QTextEdit;

namespace solvane::report {

// Writes `rtf` to `path` through a temporary file that replaces the target only when complete.
// Returns "" on success, else why not.
QString SaveRtfFile(const QString& path, const QByteArray& rtf);

class SaveWindow : public QDialog {
  Q_OBJECT
 public:
  // Asks where to save: a path, or "" when the user cancels.
  using ChooseTarget = std::function<QString(QWidget* parent)>;
  // Shows the print dialog for `printer`; true when the user confirms.
  using RunPrintDialog = std::function<bool(QWidget* parent, QPrinter& printer)>;
  // Writes the chart sheet as PDF to `path`, leaving any file there whole when it fails. The window
  // does not know the chart: whoever opens it passes this.
  using WriteSheet = std::function<core::Result<void>(const QString& path)>;

  // `report_plain_text`: the report's characters with CR LF line breaks.
  SaveWindow(const std::string& report_plain_text, widgets::MessageService& messages,
             widgets::UrlOpener& opener, QWidget* parent = nullptr);
  ~SaveWindow() override;

  void SetChooseTarget(ChooseTarget choose) { choose_target_ = std::move(choose); }
  void SetRunPrintDialog(RunPrintDialog run) { run_print_dialog_ = std::move(run); }
  // Where "Save as PDF…" asks to save (ChoosePdfTarget unless replaced).
  void SetChoosePdfTarget(ChooseTarget choose) { choose_pdf_target_ = std::move(choose); }
  // Shows "Save as PDF…" and writes through `write`; without one the button is hidden.
  void SetWriteSheet(WriteSheet write);

  QTextEdit* Copy() const { return rtb_; }
  const TextLinks& Links() const { return links_; }

 public slots:
  void Save();
  void Print();
  void SaveAsPdf();

 private:
  widgets::MessageService& messages_;
  QTextEdit* rtb_ = nullptr;
  TextLinks links_;
  ChooseTarget choose_target_;
  RunPrintDialog run_print_dialog_;
  ChooseTarget choose_pdf_target_;
  WriteSheet write_sheet_;
  QWidget* save_pdf_ = nullptr;
};

// The platform's save dialog: title "Solvane", one filter for RTF, ".rtf" added to a name typed
// without an extension, confirmation before replacing a file.
QString ChooseRtfTarget(QWidget* parent);

// The same for the chart sheet: one filter for PDF, ".pdf" added to a name typed without it.
QString ChoosePdfTarget(QWidget* parent);

}  // namespace solvane::report
