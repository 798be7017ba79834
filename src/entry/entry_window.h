// frmMain: the window in which the user describes a birth.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

#include "entry/form_rules.h"
#include "widgets/messages.h"
#include "widgets/url_opener.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QInputMethodEvent;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

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
  explicit WebPlaceSearch(widgets::UrlOpener& opener) : opener_(opener) {}
  void Search(const QString& query, const QString& home_page) override;

 private:
  widgets::UrlOpener& opener_;
};

class EntryWindow : public QMainWindow {
  Q_OBJECT
 public:
  // `proceed` charts an accepted form and answers the refusal, if any, which the window shows.
  using ProceedHandler = std::function<std::optional<Refusal>(const BirthFormSnapshot&)>;

  EntryWindow(widgets::MessageService& messages, widgets::UrlOpener& opener,
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
  void AddIntroduction(QVBoxLayout* layout);
  // Each adds its rows to the form's grid from `row` on and leaves `row` after the last.
  void AddNameDateAndTime(QGridLayout* grid, int& row);
  void AddZone(QGridLayout* grid, int& row);
  void AddCoordinates(QGridLayout* grid, int& row);
  void AddPlace(QGridLayout* grid, int& row);
  QLayout* BuildButtons();
  QLayout* BuildPromotions();
  void SetReadingOrder();
  void BuildMenus();
  void FocusControl(const std::string& object_name);

  // Enter presses "Proceed"; typed characters go through their box's filter. Each answers true
  // when it has consumed the event.
  bool FilterKey(QLineEdit* box, QKeyEvent* key);
  bool FilterInput(QLineEdit* box, QInputMethodEvent* input);
  // Refuses `typed` with the filter's message, or hands what goes in, when it differs from what
  // was typed (capitals), to `insert`; false lets the box take `typed` as it is.
  bool FilterTyped(QLineEdit* box, const QString& typed,
                   const std::function<void(const QString&)>& insert);
  bool IsCoordinateBox(const QLineEdit* box) const;

  widgets::MessageService& messages_;
  widgets::UrlOpener& opener_;
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
