#include "report/save_window.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QTextEdit>
#include <QVBoxLayout>

#include "report/house_report.h"
#include "report/rtf_writer.h"
#include "widgets/link_label.h"
#include "widgets/windows.h"

namespace solvane::report {

QString SaveRtfFile(const QString& path, const QByteArray& rtf) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  if (file.write(rtf) != rtf.size()) {
    const QString error = file.errorString();
    file.cancelWriting();
    return error;
  }
  if (!file.commit()) return file.errorString();
  return {};
}

QString ChooseRtfTarget(QWidget* parent) {
  QFileDialog dialog(parent, QStringLiteral("Solvane"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QStringLiteral("Rich Text Format  (*.rtf)"));
  dialog.setDefaultSuffix(QStringLiteral("rtf"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

QString ChoosePdfTarget(QWidget* parent) {
  QFileDialog dialog(parent, QStringLiteral("Solvane"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QStringLiteral("PDF document  (*.pdf)"));
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

SaveWindow::SaveWindow(const std::string& report_plain_text, widgets::MessageService& messages,
                       widgets::UrlOpener& opener, QWidget* parent)
    : QDialog(parent),
      messages_(messages),
      links_(opener),
      choose_target_(ChooseRtfTarget),
      run_print_dialog_([](QWidget* owner, QPrinter& printer) {
        QPrintDialog dialog(&printer, owner);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection,
                         printer.printRange() == QPrinter::Selection);
        return dialog.exec() == QDialog::Accepted;
      }),
      choose_pdf_target_(ChoosePdfTarget) {
  setObjectName(QStringLiteral("frmSave"));
  setWindowTitle(widgets::ProgramTitle());
  setModal(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new widgets::LinkLabel(QStringLiteral("Label1"),
                                           QStringLiteral("Solvane - Vedic astrology for everyone"),
                                           core::LinkTarget::HomePage, opener));
  rtb_ = new QTextEdit;
  rtb_->setObjectName(QStringLiteral("RTB"));
  rtb_->setReadOnly(true);
  rtb_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  QFont verdana(QStringLiteral("Verdana"));
  verdana.setPointSizeF(9.75);
  verdana.setBold(false);
  rtb_->document()->setDefaultFont(verdana);
  QString framed = QString::fromStdString(FramedReportText(report_plain_text));
  framed.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  rtb_->setPlainText(framed);
  layout->addWidget(rtb_, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(new widgets::LinkLabel(QStringLiteral("Label14"),
                                            QStringLiteral("Visit our web site"),
                                            core::LinkTarget::HomePage, opener));
  buttons->addWidget(new widgets::LinkLabel(QStringLiteral("Label2"),
                                            QStringLiteral("Your own branded edition"),
                                            core::LinkTarget::FullBrandPage, opener));
  buttons->addStretch();
  auto* save = new QPushButton(QStringLiteral("&Save"));
  save->setObjectName(QStringLiteral("cmdSave"));
  // Alt+D: S and P belong to Save and Print, and the links take no keys.
  auto* save_pdf = new QPushButton(QStringLiteral("Save as P&DF\u2026"));
  save_pdf->setObjectName(QStringLiteral("cmdSavePdf"));
  save_pdf->setVisible(false);  // until someone says how to write the sheet
  save_pdf_ = save_pdf;
  auto* print = new QPushButton(QStringLiteral("&Print"));
  print->setObjectName(QStringLiteral("cmdPrint"));
  buttons->addWidget(save);
  buttons->addWidget(save_pdf);
  buttons->addWidget(print);
  layout->addLayout(buttons);
  connect(save, &QPushButton::clicked, this, &SaveWindow::Save);
  connect(save_pdf, &QPushButton::clicked, this, &SaveWindow::SaveAsPdf);
  connect(print, &QPushButton::clicked, this, &SaveWindow::Print);

  links_.Hook(rtb_);
  // Qt centres a dialog over its owner and keeps it on screen; its size is for us to bound.
  resize(QSize(720, 620).boundedTo(widgets::RoomOnScreen(*this)));
}

SaveWindow::~SaveWindow() { links_.Unhook(); }

void SaveWindow::Save() {
  const QString path = choose_target_ ? choose_target_(this) : QString();
  if (path.isEmpty()) return;  // cancelled: nothing written, nothing said
  const QFileInfo target(path);
  // The owner's write bit, not access(): as root every file would look writable.
  if (target.exists() && target.isFile() && !(target.permissions() & QFileDevice::WriteOwner)) {
    messages_.Show(this,
                   QStringLiteral("%1 is read-only. Please save the report under another name.")
                       .arg(target.fileName()),
                   core::MessageIcon::kError);
    return;
  }
  // Whatever the chosen extension, the file holds RTF.
  QString text = rtb_->toPlainText();
  text.replace(u'\n', QStringLiteral("\r\n"));
  const std::string rtf = PlainRtf(text.toStdString(), "Verdana", 9.75);
  const QString error = SaveRtfFile(path, QByteArray::fromStdString(rtf));
  if (!error.isEmpty())
    messages_.Show(this,
                   QStringLiteral("The report could not be saved to %1: %2")
                       .arg(QDir::toNativeSeparators(path), error),
                   core::MessageIcon::kError);
}

void SaveWindow::SetWriteSheet(WriteSheet write) {
  write_sheet_ = std::move(write);
  save_pdf_->setVisible(static_cast<bool>(write_sheet_));
}

void SaveWindow::SaveAsPdf() {
  if (!write_sheet_) return;
  const QString path = choose_pdf_target_ ? choose_pdf_target_(this) : QString();
  if (path.isEmpty()) return;  // cancelled
  const QFileInfo target(path);
  if (target.exists() && target.isFile() && !(target.permissions() & QFileDevice::WriteOwner)) {
    messages_.Show(
        this,
        QStringLiteral("%1 is read-only. Please save the chart sheet under another name.")
            .arg(target.fileName()),
        core::MessageIcon::kError);
    return;
  }
  const core::Result<void> written = write_sheet_(path);
  if (!written)
    messages_.Show(
        this,
        QStringLiteral("The chart sheet could not be saved to %1: %2\n\nPlease choose "
                       "another folder or name, or make room on the disk, and save "
                       "again.")
            .arg(QDir::toNativeSeparators(path), QString::fromStdString(written.error().message)),
        core::MessageIcon::kError);
}

void SaveWindow::Print() {
  QPrinter printer;
  printer.setPrintRange(rtb_->textCursor().hasSelection() ? QPrinter::Selection
                                                          : QPrinter::AllPages);
  if (!run_print_dialog_ || !run_print_dialog_(this, printer)) return;
  // The text box prints its selection when the range is Selection, else the whole copy.
  rtb_->print(&printer);
}

}  // namespace solvane::report
