// "Save as PDF…" in the save window: shown only when the window is told how to write the sheet,
// writing through that, and saying what went wrong in a message box.
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "report/save_window.h"
#include "shell/fakes.h"

using solvane::report::SaveWindow;
using solvane::testing::RecordingMessages;
using solvane::testing::RecordingOpener;

namespace {

const std::string kReport = "Sun In First House\r\nA paragraph.\r\n\r\n";

QString Slurp(const QString& path) {
  QFile file(path);
  file.open(QIODevice::ReadOnly);
  return QString::fromUtf8(file.readAll());
}

// A sheet writer that records its calls and writes a marker, or fails as told.
struct FakeSheet {
  QStringList paths;
  QString failure;  // "" writes the file
  SaveWindow::WriteSheet Writer() {
    return [this](const QString& path) -> solvane::core::Result<void> {
      paths << path;
      if (!failure.isEmpty()) return solvane::core::Fail(failure.toStdString());
      QFile file(path);
      file.open(QIODevice::WriteOnly);
      file.write("%PDF-sheet");
      return {};
    };
  }
};

}  // namespace

class ChartSheetSaveWindowTest : public QObject {
  Q_OBJECT

  RecordingMessages messages_;
  RecordingOpener opener_;
  QTemporaryDir dir_;

  std::unique_ptr<SaveWindow> Window(const QString& target) {
    auto window = std::make_unique<SaveWindow>(kReport, messages_, opener_);
    window->SetChoosePdfTarget([target](QWidget*) { return target; });
    window->SetChooseTarget([](QWidget*) -> QString {
      qFatal("Save as PDF asked the RTF save's question");
      return {};
    });
    return window;
  }

  static QPushButton* Button(SaveWindow& window, const char* name) {
    return window.findChild<QPushButton*>(QString::fromLatin1(name));
  }

 private slots:
  void init() { messages_.shown.clear(); }

  void ButtonOnlyWithAWriterAndBesideSave() {
    auto window = Window({});
    window->show();
    QPushButton* pdf = Button(*window, "cmdSavePdf");
    QVERIFY(pdf != nullptr);
    QVERIFY(!pdf->isVisible());
    FakeSheet sheet;
    window->SetWriteSheet(sheet.Writer());
    QVERIFY(pdf->isVisible());
    QCOMPARE(pdf->text(), QStringLiteral("Save as P&DF\u2026"));
    // Beside Save, between it and Print.
    QPushButton* save = Button(*window, "cmdSave");
    QPushButton* print = Button(*window, "cmdPrint");
    QVERIFY(save->x() < pdf->x() && pdf->x() < print->x());
    // Its access key is its own among the window's buttons.
    QSet<QChar> keys;
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
      const qsizetype amp = button->text().indexOf(u'&');
      if (amp < 0) continue;
      const QChar key = button->text().at(amp + 1).toUpper();
      QVERIFY2(!keys.contains(key), qPrintable(button->text()));
      keys.insert(key);
    }
    window->SetWriteSheet({});
    QVERIFY(!pdf->isVisible());
  }

  void ClickWritesThroughTheWriter() {
    const QString path = dir_.filePath("sheet.pdf");
    auto window = Window(path);
    FakeSheet sheet;
    window->SetWriteSheet(sheet.Writer());
    window->show();
    QTest::mouseClick(Button(*window, "cmdSavePdf"), Qt::LeftButton);
    QCOMPARE(sheet.paths, QStringList{path});
    QCOMPARE(Slurp(path), QStringLiteral("%PDF-sheet"));
    QVERIFY(messages_.shown.empty());
    // The report's RTF copy is not written by it.
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), QStringList{QStringLiteral("sheet.pdf")});
  }

  void CancelWritesNothing() {
    auto window = Window({});
    FakeSheet sheet;
    window->SetWriteSheet(sheet.Writer());
    window->SaveAsPdf();
    QVERIFY(sheet.paths.isEmpty());
    QVERIFY(messages_.shown.empty());
  }

  void FailureShowsWhatToDo() {
    const QString path = dir_.filePath("full/sheet.pdf");
    auto window = Window(path);
    FakeSheet sheet;
    sheet.failure = QStringLiteral("No space left on device");
    window->SetWriteSheet(sheet.Writer());
    window->SaveAsPdf();
    QCOMPARE(messages_.shown.size(), 1u);
    const QString text = messages_.shown[0].text;
    QVERIFY2(text.startsWith(QStringLiteral("The chart sheet could not be saved to ")),
             qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("No space left on device")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Please choose another folder")), qPrintable(text));
    QCOMPARE(messages_.shown[0].icon, solvane::core::MessageIcon::kError);
  }

  void ReadOnlyFileIsRefusedBeforeWriting() {
    const QString locked = dir_.filePath("locked.pdf");
    QFile file(locked);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();
    QFile::setPermissions(locked, QFileDevice::ReadOwner);
    auto window = Window(locked);
    FakeSheet sheet;
    window->SetWriteSheet(sheet.Writer());
    window->SaveAsPdf();
    QVERIFY(sheet.paths.isEmpty());
    QCOMPARE(messages_.shown.size(), 1u);
    QVERIFY(messages_.shown[0].text.contains(QStringLiteral("read-only")));
    QCOMPARE(Slurp(locked), QStringLiteral("keep me"));
  }

  void DialogAddsPdfAndConfirmsReplacing() {
    QString suffix;
    QStringList filters;
    bool confirms_overwrite = false, seen = false;
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, [&] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        if (!dialog || !dialog->isVisible() || seen) continue;
        seen = true;
        suffix = dialog->defaultSuffix();
        filters = dialog->nameFilters();
        confirms_overwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        dialog->reject();
      }
    });
    poll.start();
    QCOMPARE(solvane::report::ChoosePdfTarget(nullptr), QString());  // cancelled
    QVERIFY(seen);
    QCOMPARE(suffix, QStringLiteral("pdf"));
    QCOMPARE(filters, QStringList{QStringLiteral("PDF document (*.pdf)")});
    QVERIFY(confirms_overwrite);
  }
};

QTEST_MAIN(ChartSheetSaveWindowTest)
#include "chart_sheet_save_window_qtest.moc"
