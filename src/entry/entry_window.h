// frmMain: the window in which the user describes a birth.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

#include "entry/form_rules.h"
#include "shell/messages.h"
#include "shell/url_opener.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace solvane::entry {

// The outside search that helps find a place's coordinates: a fresh one for every click of the
// place-lookup button, asked once with the query and the maker's home page; nothing comes back.
class PlaceSearch {
 public:
  virtual ~PlaceSearch() = default;
  // Before Search(): the window asking and its place boxes as typed, for a search that shows a
  // window of its own or wants the three apart. Others need not care.
  virtual void SetPlace(QWidget* /*window*/, const QString& /*city*/, const QString& /*state*/,
                        const QString& /*country*/) {}
  virtual void Search(const QString& query, const QString& home_page) = 0;
};
using PlaceSearchFactory = std::function<std::unique_ptr<PlaceSearch>()>;

// Opens a map search for the query in the browser.
class WebPlaceSearch final : public PlaceSearch {
 public:
  explicit WebPlaceSearch(shell::UrlOpener& opener) : opener_(opener) {}
  void Search(const QString& query, const QString& home_page) override;

 private:
  shell::UrlOpener& opener_;
};

class EntryWindow : public QMainWindow {
  Q_OBJECT
 public:
  // `proceed` charts an accepted form and answers the refusal, if any, which the window shows.
  using ProceedHandler = std::function<std::optional<Refusal>(const BirthFormSnapshot&)>;

  EntryWindow(shell::MessageService& messages, shell::UrlOpener& opener,
              PlaceSearchFactory place_search, QWidget* parent = nullptr);
  ~EntryWindow() override;

  void SetProceedHandler(ProceedHandler handler) { proceed_ = std::move(handler); }

  // The form as it stands, and the form set to `form` (as if the user had typed and picked it).
  BirthFormSnapshot ReadForm() const;
  void FillForm(const BirthFormSnapshot& form);

 signals:
  void AboutRequested();
  void ExitRequested();

 public slots:
  void Proceed();
  void LookUpPlace();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* BuildForm();
  void BuildMenus();
  void FocusControl(const std::string& object_name);
  // Runs a typed character through its box's filter; true when the keystroke is consumed.
  bool FilterKey(QLineEdit* box, QKeyEvent* key);

  shell::MessageService& messages_;
  shell::UrlOpener& opener_;
  PlaceSearchFactory place_search_;
  ProceedHandler proceed_;

  QLineEdit* txtName_ = nullptr;
  QComboBox *cboMonth_ = nullptr, *cboDate_ = nullptr, *cboYear_ = nullptr;
  QComboBox *cboHH_ = nullptr, *cboMM_ = nullptr, *cboSS_ = nullptr;
  QComboBox* cmbTimeZone_ = nullptr;
  QCheckBox* chkDST_ = nullptr;
  QLineEdit *txtLonD_ = nullptr, *txtLonM_ = nullptr, *txtLatD_ = nullptr, *txtLatM_ = nullptr;
  QRadioButton *optLongEast_ = nullptr, *optLongWest_ = nullptr;
  QRadioButton *optLatNorth_ = nullptr, *optLatSouth_ = nullptr;
  QLineEdit *txtMCity_ = nullptr, *txtMState_ = nullptr, *txtMCountry_ = nullptr;
  QPushButton *cmdBrowser_ = nullptr, *cmdRashi_ = nullptr;
};

}  // namespace solvane::entry
