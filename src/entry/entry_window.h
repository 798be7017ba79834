// frmMain: the window in which the user describes a birth.
#pragma once

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "entry/atlas.h"
#include "entry/form_rules.h"
#include "store/births_store.h"
#include "store/person_list_window.h"
#include "widgets/messages.h"
#include "widgets/url_opener.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QInputMethodEvent;
class QLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace solvane::entry {

// Hands the place the user chose in a place search back to the form.
using PlaceChosen = std::function<void(const Place&)>;

// The outside search that helps find a place's coordinates: a fresh one for every click of the
// place-lookup button, asked once with the query and the maker's home page; nothing comes back.
class PlaceSearch {
 public:
  virtual ~PlaceSearch() = default;
  // Before Search(): the window asking and its place boxes as typed, for a search that shows a
  // window of its own or wants the three apart. Others need not care.
  virtual void SetPlace(QWidget* /*window*/, const QString& /*city*/, const QString& /*state*/,
                        const QString& /*country*/) {}
  // Before Search(): where a search that lets the user choose a place hands it. Others ignore it.
  virtual void SetPlaceChosen(PlaceChosen /*chosen*/) {}
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
  // Where the saved births are kept (DefaultStorePath() unless set); the list is opened at its
  // first use. Set before that.
  void SetStorePath(std::filesystem::path path) { store_path_ = std::move(path); }
  // What the person list asks for its renames and notes (a QInputDialog unless set).
  void SetTextPrompt(store::TextPrompt& prompt) { prompt_ = &prompt; }

  // The form as it stands, and the form set to `form` (as if the user had typed and picked it).
  BirthFormSnapshot ReadForm() const;
  void FillForm(const BirthFormSnapshot& form);
  // Fills the coordinates and the place from an atlas place, and suggests its zone.
  void UsePlace(const Place& place);

 signals:
  void AboutRequested();
  void ExitRequested();

 public slots:
  void Proceed();
  void LookUpPlace();
  void SaveBirth();
  void OpenBirth();
  // The zone suggestion for the place last used, at the form's date and time.
  void UpdateZoneSuggestion();
  void UseSuggestedZone();

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
  // The saved births, opened at the first call; nullptr (the user told why) when they cannot be.
  store::Store* Births();
  void RefreshRecent();
  void ShowZoneSuggestion();
  void GrowToFitForm();
  void FillFromRecord(const store::BirthRecord& record);

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
  std::filesystem::path store_path_;
  std::optional<store::Store> store_;
  bool store_failed_ = false;  // the last attempt to open the list failed (and said why)
  store::QtTextPrompt qt_prompt_;
  store::TextPrompt* prompt_ = &qt_prompt_;
  QMenu* file_menu_ = nullptr;
  QAction* recent_separator_ = nullptr;
  std::vector<QAction*> recent_actions_;
  // The atlas zone and place of the birth in the form, for the suggestion and the saved record;
  // empty once the user types another place.
  std::string place_zone_, place_name_;
  double place_longitude_deg_ = 0;
  int suggested_zone_ = -1;  // list position the suggestion offers, -1 for none
  bool suggested_dst_ = false;

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
  QLabel* lblZoneSuggestion_ = nullptr;
  QPushButton* cmdUseZone_ = nullptr;
};

}  // namespace solvane::entry
