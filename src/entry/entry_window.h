// frmMain: the window in which the user describes a birth.
#pragma once

#include <QMainWindow>
#include <cstdint>
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
#include "zones/suggestion.h"

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
class QSpinBox;
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
  using ProceedHandler = std::function<Verdict(const BirthFormSnapshot&)>;

  // What the user answers when the zone in the form differs from the one suggested.
  enum class SuggestionChoice { kCancel, kAsEntered, kSuggestion, kEarlier, kLater };
  // Asks it: `text` explains, `two_readings` offers the earlier and the later reading of a
  // skipped or repeated time instead of the one suggestion.
  using SuggestionQuestion =
      std::function<SuggestionChoice(QWidget* parent, const QString& text, bool two_readings)>;

  EntryWindow(widgets::MessageService& messages, widgets::UrlOpener& opener,
              PlaceSearchFactory place_search, QWidget* parent = nullptr);
  ~EntryWindow() override;

  void SetProceedHandler(ProceedHandler handler) { proceed_ = std::move(handler); }
  // Where the saved births are kept (DefaultStorePath() unless set); the list is opened at its
  // first use. Set before that.
  void SetStorePath(std::filesystem::path path) { store_path_ = std::move(path); }
  // What the person list asks for its renames and notes (a QInputDialog unless set).
  void SetTextPrompt(store::TextPrompt& prompt) { prompt_ = &prompt; }
  // What Proceed asks when the zone differs from the suggestion (a message box unless set).
  void SetSuggestionQuestion(SuggestionQuestion ask) { ask_ = std::move(ask); }

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
  // For a skipped or repeated time: the reading before the jump (or the first time), the other.
  void UseEarlierReading();
  void UseLaterReading();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* BuildForm();
  void AddIntroduction(QVBoxLayout* layout);
  // Each adds its rows to the form's grid from `row` on and leaves `row` after the last.
  void AddNameDateAndTime(QGridLayout* grid, int& row);
  void AddZone(QGridLayout* grid, int& row);
  QWidget* BuildExactOffset();
  QLayout* BuildSuggestionRow();
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
  void ShowSuggestionButtons(bool single, bool two_readings);
  // The zone, exact offset and daylight saving set as `zone` says.
  void ApplyFormZone(const zones::FormZone& zone);
  bool FormHolds(const zones::FormZone& zone) const;
  // At Proceed: false when the user cancels; otherwise the form holds what is to be charted.
  bool SettleZoneBeforeChart();
  std::int32_t ExactOffsetSecondsEast() const;
  void SetExactOffset(std::int32_t offset_s);
  void ZoneChanged();
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
  std::string place_id_;  // GeoNames' number of the atlas place, for the saved record
  double place_longitude_deg_ = 0;
  // The suggestion on show that the form can take, if any.
  std::optional<zones::Suggestion> suggestion_;
  // The user chose to chart the form as entered against the suggestion; asked again only once
  // the zone, date, time or place changes.
  bool suggestion_answered_ = false;
  SuggestionQuestion ask_;

  QLineEdit* txtName_ = nullptr;
  QComboBox *cboMonth_ = nullptr, *cboDate_ = nullptr, *cboYear_ = nullptr;
  QComboBox *cboHH_ = nullptr, *cboMM_ = nullptr, *cboSS_ = nullptr;
  QComboBox* cmbTimeZone_ = nullptr;
  QCheckBox* chkDST_ = nullptr;
  QWidget* fraExactOffset_ = nullptr;  // shown with "Other offset…"
  QSpinBox *spnOffsetH_ = nullptr, *spnOffsetM_ = nullptr, *spnOffsetS_ = nullptr;
  QComboBox* cboOffsetSide_ = nullptr;  // 0 east of Greenwich, 1 west
  QLineEdit *txtLonD_ = nullptr, *txtLonM_ = nullptr, *txtLatD_ = nullptr, *txtLatM_ = nullptr;
  QRadioButton *optLongEast_ = nullptr, *optLongWest_ = nullptr;
  QRadioButton *optLatNorth_ = nullptr, *optLatSouth_ = nullptr;
  QLineEdit *txtMCity_ = nullptr, *txtMState_ = nullptr, *txtMCountry_ = nullptr;
  QPushButton *cmdBrowser_ = nullptr, *cmdRashi_ = nullptr;
  QLabel* lblZoneSuggestion_ = nullptr;
  QPushButton* cmdUseZone_ = nullptr;
  QPushButton *cmdUseEarlier_ = nullptr, *cmdUseLater_ = nullptr;
};

}  // namespace solvane::entry
