#include "screenshots/entry_shots.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <memory>

#include "entry/entry_window.h"
#include "entry/place_finder.h"

namespace solvane::screenshots {
namespace {

class SilentMessages final : public widgets::MessageService {
 public:
  widgets::MessageAnswer Show(QWidget*, const QString&, core::MessageIcon,
                              widgets::MessageButtons) override {
    return widgets::MessageAnswer::kNo;
  }
};

class NoBrowser final : public widgets::UrlOpener {
 public:
  void Open(const QString&) override {}
};

// Long enough for the windows to lay out, draw and grow to their content, milliseconds.
constexpr int kSettleMs = 300;

void Settle() {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < kSettleMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, kSettleMs);
    QThread::msleep(10);
  }
}

void Save(QWidget* window, const QString& path) {
  const bool saved = window && window->grab().save(path);
  std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
}

// A birth typed up to the place: 21 March 1990, 14:45, in Mumbai, India.
entry::BirthFormSnapshot TypedBirth() {
  entry::BirthFormSnapshot form;
  form.txtName = "ASHA RAO";
  form.cboYear = 1990 - entry::kFirstYear;
  form.cboMonth = 2;
  form.cboDate = 20;
  form.cboHH = 14;
  form.cboMM = 45;
  form.txtMCity = "Mumbai";
  form.txtMState = "Maharashtra";
  form.txtMCountry = "India";
  return form;
}

}  // namespace

void ShootEntryMoment(const QString& folder, const QString& suffix) {
  SilentMessages messages;
  NoBrowser opener;
  QTemporaryDir scratch;  // the saved births are never touched; this keeps it so
  entry::EntryWindow* form = nullptr;
  auto window = std::make_unique<entry::EntryWindow>(messages, opener, [&form, &opener] {
    return std::make_unique<entry::AtlasPlaceSearch>(form, opener);
  });
  form = window.get();
  window->SetStorePath(scratch.filePath(QStringLiteral("births.sqlite")).toStdString());
  window->FillForm(TypedBirth());
  window->show();
  Settle();
  window->LookUpPlace();
  Settle();
  // The finder closes, and deletes itself, once a place is used.
  const QPointer<QDialog> finder = window->findChild<QDialog*>(QStringLiteral("frmFindPlace"));
  Save(finder, folder + QStringLiteral("/place-finder") + suffix + QStringLiteral(".png"));
  if (auto* use = finder ? finder->findChild<QPushButton*>(QStringLiteral("cmdUsePlace")) : nullptr)
    use->click();
  Settle();
  Save(window.get(),
       folder + QStringLiteral("/entry-suggestion") + suffix + QStringLiteral(".png"));
  if (finder) finder->close();
}

}  // namespace solvane::screenshots
