#include "entry/entry_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "entry/birth_record_form.h"
#include "entry/place_lookup.h"
#include "entry/time_zones.h"
#include "widgets/link_label.h"
#include "widgets/menus.h"
#include "widgets/windows.h"
#include "zones/offset_text.h"

namespace solvane::entry {
namespace {

QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QComboBox* List(const char* name, const std::vector<std::string>& texts) {
  auto* box = new QComboBox;
  box->setObjectName(QString::fromLatin1(name));
  for (const std::string& text : texts) box->addItem(QString::fromStdString(text));
  box->setCurrentIndex(0);
  return box;
}

// Every coordinate box is wide enough to show this many digits, whatever it may hold.
constexpr int kShownDigits = 3;
// Saved births offered at the foot of the File menu.
constexpr int kRecentBirths = 5;
constexpr int kMinutesPerDegree = 60;

// Whole degrees and the minutes rounded to the nearest, as the coordinate boxes take them.
struct DegreesMinutes {
  int degrees, minutes;
  bool negative;
};
// Zero, after rounding, is north or east.
DegreesMinutes ToDegreesMinutes(double value_deg) {
  const long total_min = std::lround(std::fabs(value_deg) * kMinutesPerDegree);
  return {static_cast<int>(total_min / kMinutesPerDegree),
          static_cast<int>(total_min % kMinutesPerDegree), value_deg < 0 && total_min > 0};
}

// The form's natural width at most, logical pixels: the description wraps to a few lines there.
constexpr int kFormWidth = 560;

QLineEdit* Box(const char* name) {
  auto* box = new QLineEdit;
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

// Width of a line edit that shows `digits` digits in full, frame and margins included.
int DigitsWidth(QLineEdit* box, int digits) {
  QStyleOptionFrame option;
  option.initFrom(box);
  option.lineWidth =
      box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
  const QMargins margins = box->textMargins();
  // QLineEdit keeps two pixels of its own on either side of the text, and one for the cursor.
  const int text = box->fontMetrics().horizontalAdvance(QString(digits, u'0')) + margins.left() +
                   margins.right() + 2 * 2 + 1;
  return box->style()
      ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(text, box->fontMetrics().height()),
                         box)
      .width();
}

// A coordinate box: at most `max_length` digits, and never too narrow to show three.
QLineEdit* NumberBox(const char* name, int max_length) {
  QLineEdit* box = Box(name);
  box->setMaxLength(max_length);
  box->setMinimumWidth(DigitsWidth(box, kShownDigits));
  box->setMaximumWidth(std::max(box->minimumWidth(), DigitsWidth(box, max_length + 2)));
  return box;
}

// One coordinate's frame: degrees and minutes boxes and the two hemisphere options.
struct CoordinateLayout {
  const char* frame;
  const char* title;
  const char* degrees;
  int degrees_length;
  const char* minutes;
  const char* options;  // the option group's name; its buttons are <name>0 and <name>1
  const char* first;
  const char* second;
};
constexpr CoordinateLayout kLongitude = {"fraLongitude", "Longitude", "txtLonD", kLonDegMaxLength,
                                         "txtLonM",      "optLong",   "&East",   "&West"};
// Access keys: Alt+O belongs to the menu bar's "Make Money Online", Alt+U to the zone's "Use";
// Alt+S went from "Daylight Saving Time" to "South", whose other letters are all taken.
constexpr CoordinateLayout kLatitude = {"fraLatitude", "Latitude", "txtLatD", kLatDegMaxLength,
                                        "txtLatM",     "optLat",   "No&rth",  "&South"};

struct CoordinateWidgets {
  QGroupBox* frame;
  QLineEdit *degrees, *minutes;
  QRadioButton *first, *second;
};

CoordinateWidgets BuildCoordinate(const CoordinateLayout& layout) {
  CoordinateWidgets w;
  w.frame = new QGroupBox(QString::fromLatin1(layout.title));
  w.frame->setObjectName(QString::fromLatin1(layout.frame));
  w.degrees = NumberBox(layout.degrees, layout.degrees_length);
  w.minutes = NumberBox(layout.minutes, kMinutesMaxLength);
  w.first = new QRadioButton(QString::fromLatin1(layout.first));
  w.second = new QRadioButton(QString::fromLatin1(layout.second));
  w.first->setObjectName(QString::fromLatin1(layout.options) + u'0');
  w.second->setObjectName(QString::fromLatin1(layout.options) + u'1');
  auto* group = new QButtonGroup(w.frame);
  group->addButton(w.first, 0);
  group->addButton(w.second, 1);
  w.first->setChecked(true);
  auto* grid = new QGridLayout(w.frame);
  grid->addWidget(new QLabel(QStringLiteral("Deg")), 0, 0);
  grid->addWidget(w.degrees, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Min")), 0, 2);
  grid->addWidget(w.minutes, 0, 3);
  grid->addWidget(w.first, 1, 0, 1, 2);
  grid->addWidget(w.second, 1, 2, 1, 2);
  return w;
}

QLabel* Caption(const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text);
  label->setBuddy(buddy);
  return label;
}

std::string Text(const QLineEdit* box) { return box->text().toStdString(); }

constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;
// As far from Greenwich as a saved birth may be; no zone has kept more than 14 hours.
constexpr int kMostOffsetHours = store::kMaxOffsetSeconds / kSecondsPerHour;

QSpinBox* OffsetPart(const char* name, int most, const QString& suffix) {
  auto* box = new QSpinBox;
  box->setObjectName(QString::fromLatin1(name));
  box->setRange(0, most);
  box->setSuffix(suffix);
  return box;
}

EntryWindow::SuggestionChoice AskInMessageBox(QWidget* parent, const QString& text,
                                              bool two_readings) {
  using Choice = EntryWindow::SuggestionChoice;
  QMessageBox box(QMessageBox::Question, widgets::ProgramTitle(), text, QMessageBox::NoButton,
                  parent);
  QPushButton* entered =
      box.addButton(QStringLiteral("Chart as &Entered"), QMessageBox::AcceptRole);
  QPushButton* suggested = nullptr;
  QPushButton* earlier = nullptr;
  QPushButton* later = nullptr;
  if (two_readings) {
    earlier = box.addButton(QStringLiteral("Use Earl&ier Reading"), QMessageBox::ActionRole);
    later = box.addButton(QStringLiteral("Use &Later Reading"), QMessageBox::ActionRole);
  } else {
    suggested = box.addButton(QStringLiteral("&Use Suggestion"), QMessageBox::ActionRole);
  }
  QPushButton* cancel = box.addButton(QMessageBox::Cancel);
  box.setEscapeButton(cancel);
  // The safe answer, for Enter: the birth as the user typed it is never changed unasked.
  box.setDefaultButton(entered);
  box.exec();
  const QAbstractButton* clicked = box.clickedButton();
  if (clicked == entered) return Choice::kAsEntered;
  if (clicked && clicked == suggested) return Choice::kSuggestion;
  if (clicked && clicked == earlier) return Choice::kEarlier;
  if (clicked && clicked == later) return Choice::kLater;
  return Choice::kCancel;
}

}  // namespace

void WebPlaceSearch::Search(const QString& query, const QString& /*home_page*/) {
  opener_.Open(QStringLiteral("https://www.openstreetmap.org/search?query=") +
               QString::fromLatin1(QUrl::toPercentEncoding(query)));
}

EntryWindow::EntryWindow(widgets::MessageService& messages, widgets::UrlOpener& opener,
                         PlaceSearchFactory place_search, QWidget* parent)
    : QMainWindow(parent),
      messages_(messages),
      opener_(opener),
      place_search_(std::move(place_search)),
      store_path_(store::DefaultStorePath()),
      ask_(AskInMessageBox) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(widgets::ProgramTitle());
  QWidget* form = BuildForm();
  // On a small screen, or at a large scale, the form scrolls rather than squeezing its boxes.
  setCentralWidget(widgets::Scrolling(form));
  BuildMenus();
  txtName_->setFocus();  // the form is filled top to bottom, starting with the name
  QSize wanted = form->sizeHint().expandedTo(QSize(kFormWidth, 0));
  if (const int height = form->heightForWidth(wanted.width()); height > 0) wanted.setHeight(height);
  wanted.rheight() += menuBar()->sizeHint().height();
  widgets::FitOnScreen(*this, wanted);
}

EntryWindow::~EntryWindow() = default;

QWidget* EntryWindow::BuildForm() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("formPage"));
  auto* layout = new QVBoxLayout(page);
  AddIntroduction(layout);

  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  int row = 0;
  AddNameDateAndTime(grid, row);
  AddZone(grid, row);
  AddCoordinates(grid, row);
  AddPlace(grid, row);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);

  layout->addLayout(BuildButtons());
  layout->addLayout(BuildPromotions());

  // The offset boxes' own line edits too: Enter in them presses "Proceed" as well.
  for (QLineEdit* box : page->findChildren<QLineEdit*>()) box->installEventFilter(this);
  // A place or coordinate typed by hand is no longer the atlas place the zone came from.
  for (QLineEdit* box :
       {txtLonD_, txtLonM_, txtLatD_, txtLatM_, txtMCity_, txtMState_, txtMCountry_})
    connect(box, &QLineEdit::textEdited, this, [this] {
      place_zone_.clear();
      place_id_.clear();
      UpdateZoneSuggestion();
    });
  for (QComboBox* box : {cboMonth_, cboDate_, cboYear_, cboHH_, cboMM_})
    connect(box, &QComboBox::currentIndexChanged, this, &EntryWindow::UpdateZoneSuggestion);
  connect(cmbTimeZone_, &QComboBox::currentIndexChanged, this, &EntryWindow::ZoneChanged);
  connect(chkDST_, &QCheckBox::toggled, this, &EntryWindow::ZoneChanged);
  for (QSpinBox* box : {spnOffsetH_, spnOffsetM_, spnOffsetS_})
    connect(box, &QSpinBox::valueChanged, this, &EntryWindow::ZoneChanged);
  connect(cboOffsetSide_, &QComboBox::currentIndexChanged, this, &EntryWindow::ZoneChanged);
  SetReadingOrder();
  return page;
}

void EntryWindow::AddIntroduction(QVBoxLayout* layout) {
  layout->addWidget(new widgets::LinkLabel(QStringLiteral("Label61"),
                                           QStringLiteral("Solvane - Vedic birth chart and houses"),
                                           core::LinkTarget::HomePage, opener_));
  auto* about = new QLabel(QStringLiteral(
      "Solvane shows the positions of the planets in the twelve houses in your natal chart. The "
      "distribution of the planets in the different houses play an important role in "
      "interpreting the birth chart of an individual."));
  about->setObjectName(QStringLiteral("lblDescription"));
  about->setWordWrap(true);
  layout->addWidget(about);
}

void EntryWindow::AddNameDateAndTime(QGridLayout* grid, int& row) {
  txtName_ = Box("txtName");
  grid->addWidget(Caption(QStringLiteral("&Name"), txtName_), row, 0);
  grid->addWidget(txtName_, row++, 1, 1, 3);

  std::vector<std::string> months(kMonthNames.begin(), kMonthNames.end());
  cboMonth_ = List("cboMonth", months);
  cboDate_ = List("cboDate", DateListTexts());
  cboYear_ = List("cboYear", YearListTexts());
  grid->addWidget(Caption(QStringLiteral("&Date of Birth"), cboMonth_), row, 0);
  auto* date = new QHBoxLayout;
  for (QComboBox* box : {cboMonth_, cboDate_, cboYear_}) date->addWidget(box);
  date->addStretch();
  grid->addLayout(date, row++, 1, 1, 3);

  cboHH_ = List("cboHH", HourListTexts());
  cboMM_ = List("cboMM", MinuteListTexts());
  cboSS_ = List("cboSS", MinuteListTexts());
  grid->addWidget(Caption(QStringLiteral("&Time of Birth"), cboHH_), row, 0);
  auto* time = new QHBoxLayout;
  for (QComboBox* box : {cboHH_, cboMM_, cboSS_}) time->addWidget(box);
  time->addWidget(new QLabel(QStringLiteral("HH:MM:SS")));
  time->addStretch();
  grid->addLayout(time, row++, 1, 1, 3);
}

void EntryWindow::AddZone(QGridLayout* grid, int& row) {
  auto* zone = new QGroupBox(QStringLiteral("Zone"));
  zone->setObjectName(QStringLiteral("fraZone"));
  auto* zone_rows = new QVBoxLayout(zone);
  auto* zone_layout = new QHBoxLayout;
  zone_rows->addLayout(zone_layout);
  cmbTimeZone_ = new QComboBox;
  cmbTimeZone_->setObjectName(QStringLiteral("cmbTimeZone"));
  for (const TimeZoneRow& row_text : TimeZoneTable()) cmbTimeZone_->addItem(Q(row_text.text));
  cmbTimeZone_->addItem(Q(zones::kOtherOffsetText));
  cmbTimeZone_->setCurrentIndex(kDefaultTimeZone);
  chkDST_ = new QCheckBox(QStringLiteral("Dayli&ght Saving Time"));
  chkDST_->setObjectName(QStringLiteral("chkDST"));
  zone_layout->addWidget(cmbTimeZone_, 1);
  zone_layout->addWidget(chkDST_);
  zone_rows->addWidget(BuildExactOffset());
  zone_rows->addLayout(BuildSuggestionRow());
  grid->addWidget(zone, row++, 0, 1, 4);
}

QWidget* EntryWindow::BuildExactOffset() {
  fraExactOffset_ = new QWidget;
  fraExactOffset_->setObjectName(QStringLiteral("fraExactOffset"));
  spnOffsetH_ = OffsetPart("spnOffsetH", kMostOffsetHours, QStringLiteral(" h"));
  spnOffsetM_ = OffsetPart("spnOffsetM", kSecondsPerMinute - 1, QStringLiteral(" min"));
  spnOffsetS_ = OffsetPart("spnOffsetS", kSecondsPerMinute - 1, QStringLiteral(" s"));
  cboOffsetSide_ = new QComboBox;
  cboOffsetSide_->setObjectName(QStringLiteral("cboOffsetSide"));
  cboOffsetSide_->addItems({QStringLiteral("east of Greenwich (ahead of UT)"),
                            QStringLiteral("west of Greenwich (behind UT)")});
  auto* layout = new QHBoxLayout(fraExactOffset_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Caption(QStringLiteral("E&xact offset"), spnOffsetH_));
  for (QWidget* part : {static_cast<QWidget*>(spnOffsetH_), static_cast<QWidget*>(spnOffsetM_),
                        static_cast<QWidget*>(spnOffsetS_), static_cast<QWidget*>(cboOffsetSide_)})
    layout->addWidget(part);
  layout->addStretch();
  fraExactOffset_->hide();  // until "Other offset…" is chosen
  return fraExactOffset_;
}

QLayout* EntryWindow::BuildSuggestionRow() {
  // Shown once a place from the atlas tells the zone.
  lblZoneSuggestion_ = new QLabel;
  lblZoneSuggestion_->setObjectName(QStringLiteral("lblZoneSuggestion"));
  lblZoneSuggestion_->setTextFormat(Qt::PlainText);  // place names are data, never markup
  lblZoneSuggestion_->setWordWrap(true);
  const auto button = [this](const char* name, const char* text, void (EntryWindow::*use)()) {
    auto* b = new QPushButton(QString::fromUtf8(text));
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, use);
    b->hide();
    return b;
  };
  cmdUseZone_ = button("cmdUseZone", "&Use", &EntryWindow::UseSuggestedZone);
  cmdUseEarlier_ = button("cmdUseEarlier", "Use Earl&ier", &EntryWindow::UseEarlierReading);
  cmdUseLater_ = button("cmdUseLater", "Use &Later", &EntryWindow::UseLaterReading);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {cmdUseZone_, cmdUseEarlier_, cmdUseLater_}) buttons->addWidget(b);
  buttons->addStretch();
  auto* suggestion = new QHBoxLayout;
  suggestion->addWidget(lblZoneSuggestion_, 1);
  suggestion->addLayout(buttons);
  lblZoneSuggestion_->hide();
  return suggestion;
}

void EntryWindow::AddCoordinates(QGridLayout* grid, int& row) {
  const CoordinateWidgets lon = BuildCoordinate(kLongitude);
  txtLonD_ = lon.degrees;
  txtLonM_ = lon.minutes;
  optLongEast_ = lon.first;
  optLongWest_ = lon.second;
  const CoordinateWidgets lat = BuildCoordinate(kLatitude);
  txtLatD_ = lat.degrees;
  txtLatM_ = lat.minutes;
  optLatNorth_ = lat.first;
  optLatSouth_ = lat.second;
  grid->addWidget(lon.frame, row, 0, 1, 2);
  grid->addWidget(lat.frame, row++, 2, 1, 2);
}

void EntryWindow::AddPlace(QGridLayout* grid, int& row) {
  txtMCity_ = Box("txtMCity");
  txtMState_ = Box("txtMState");
  txtMCountry_ = Box("txtMCountry");
  const struct {
    const char* caption;
    QLineEdit* box;
  } rows[] = {{"&City", txtMCity_}, {"St&ate", txtMState_}, {"Countr&y", txtMCountry_}};
  for (const auto& r : rows) {
    grid->addWidget(Caption(QString::fromLatin1(r.caption), r.box), row, 0);
    grid->addWidget(r.box, row++, 1, 1, 3);
  }
}

QLayout* EntryWindow::BuildButtons() {
  cmdBrowser_ = new QPushButton(QStringLiteral("Click Here To Find Latitude && Longitude"));
  cmdBrowser_->setObjectName(QStringLiteral("cmdBrowser"));
  cmdRashi_ = new QPushButton(QStringLiteral("&Proceed"));
  cmdRashi_->setObjectName(QStringLiteral("cmdRashi"));
  cmdRashi_->setDefault(true);  // drawn as the button Enter presses (see FilterKey)
  connect(cmdBrowser_, &QPushButton::clicked, this, &EntryWindow::LookUpPlace);
  connect(cmdRashi_, &QPushButton::clicked, this, &EntryWindow::Proceed);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdBrowser_);
  buttons->addStretch();
  buttons->addWidget(cmdRashi_);
  return buttons;
}

QLayout* EntryWindow::BuildPromotions() {
  auto* cobrand = new widgets::LinkLabel(QStringLiteral("lblCobrand"),
                                         QStringLiteral("Get Solvane with your name on it"),
                                         core::LinkTarget::CoBrandPage, opener_);
  auto* full_brand = new widgets::LinkLabel(QStringLiteral("lblFullBrand"),
                                            QStringLiteral("Sell Solvane as your own program"),
                                            core::LinkTarget::FullBrandPage, opener_);
  auto* promos = new QHBoxLayout;
  for (widgets::LinkLabel* link : {cobrand, full_brand}) link->setWordWrap(false);
  promos->addWidget(cobrand);
  promos->addStretch();
  promos->addWidget(full_brand);
  return promos;
}

void EntryWindow::SetReadingOrder() {
  // Name, date, time, zone, longitude, latitude, place, then the buttons.
  QWidget* order[] = {txtName_,     cboMonth_,    cboDate_,       cboYear_,     cboHH_,
                      cboMM_,       cboSS_,       cmbTimeZone_,   chkDST_,      spnOffsetH_,
                      spnOffsetM_,  spnOffsetS_,  cboOffsetSide_, cmdUseZone_,  cmdUseEarlier_,
                      cmdUseLater_, txtLonD_,     txtLonM_,       optLongEast_, optLongWest_,
                      txtLatD_,     txtLatM_,     optLatNorth_,   optLatSouth_, txtMCity_,
                      txtMState_,   txtMCountry_, cmdBrowser_,    cmdRashi_};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void EntryWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("mnuFile"));
  file_menu_ = file;
  QAction* save = file->addAction(QStringLiteral("&Save Birth"));
  save->setObjectName(QStringLiteral("mnuSaveBirth"));
  save->setShortcut(QKeySequence::Save);
  connect(save, &QAction::triggered, this, &EntryWindow::SaveBirth);
  QAction* open = file->addAction(QStringLiteral("&Open Birth\u2026"));
  open->setObjectName(QStringLiteral("mnuOpenBirth"));
  open->setShortcut(QKeySequence::Open);
  connect(open, &QAction::triggered, this, &EntryWindow::OpenBirth);
  recent_separator_ = file->addSeparator();
  recent_separator_->setVisible(false);
  for (int i = 0; i < kRecentBirths; ++i) {
    QAction* recent = file->addAction(QString());
    recent->setObjectName(QStringLiteral("mnuRecent%1").arg(i));
    recent->setVisible(false);
    recent_actions_.push_back(recent);
  }
  file->addSeparator();
  // The list is opened lazily: the menu asks for the recent births the first time it is shown.
  connect(file, &QMenu::aboutToShow, this, &EntryWindow::RefreshRecent);
  QAction* next = file->addAction(QStringLiteral("Proceed"));
  next->setObjectName(QStringLiteral("mnuNext"));
  connect(next, &QAction::triggered, this, &EntryWindow::Proceed);
  QAction* exit = file->addAction(QStringLiteral("E&xit"));
  exit->setObjectName(QStringLiteral("mnuExit"));
  connect(exit, &QAction::triggered, this, &QWidget::close);
  widgets::AddHelpMenus(
      menuBar(), opener_, [this] { emit AboutRequested(); }, false);
}

BirthFormSnapshot EntryWindow::ReadForm() const {
  BirthFormSnapshot form;
  form.txtName = Text(txtName_);
  form.cboMonth = cboMonth_->currentIndex();
  form.cboDate = cboDate_->currentIndex();
  form.cboYear = cboYear_->currentIndex();
  form.cboHH = cboHH_->currentIndex();
  form.cboMM = cboMM_->currentIndex();
  form.cboSS = cboSS_->currentIndex();
  form.cmbTimeZone = cmbTimeZone_->currentIndex();
  form.otherOffsetSecondsEast =
      form.cmbTimeZone == zones::kOtherOffsetIndex ? ExactOffsetSecondsEast() : 0;
  form.chkDST = chkDST_->isChecked();
  form.txtLonD = Text(txtLonD_);
  form.txtLonM = Text(txtLonM_);
  form.optLongEast = optLongEast_->isChecked();
  form.txtLatD = Text(txtLatD_);
  form.txtLatM = Text(txtLatM_);
  form.optLatSouth = optLatSouth_->isChecked();
  form.txtMCity = Text(txtMCity_);
  form.txtMState = Text(txtMState_);
  form.txtMCountry = Text(txtMCountry_);
  return form;
}

void EntryWindow::FillForm(const BirthFormSnapshot& form) {
  txtName_->setText(QString::fromStdString(form.txtName));
  cboMonth_->setCurrentIndex(form.cboMonth);
  cboDate_->setCurrentIndex(form.cboDate);
  cboYear_->setCurrentIndex(form.cboYear);
  cboHH_->setCurrentIndex(form.cboHH);
  cboMM_->setCurrentIndex(form.cboMM);
  cboSS_->setCurrentIndex(form.cboSS);
  cmbTimeZone_->setCurrentIndex(form.cmbTimeZone);
  SetExactOffset(form.otherOffsetSecondsEast);
  chkDST_->setChecked(form.chkDST);
  txtLonD_->setText(QString::fromStdString(form.txtLonD));
  txtLonM_->setText(QString::fromStdString(form.txtLonM));
  (form.optLongEast ? optLongEast_ : optLongWest_)->setChecked(true);
  txtLatD_->setText(QString::fromStdString(form.txtLatD));
  txtLatM_->setText(QString::fromStdString(form.txtLatM));
  (form.optLatSouth ? optLatSouth_ : optLatNorth_)->setChecked(true);
  txtMCity_->setText(QString::fromStdString(form.txtMCity));
  txtMState_->setText(QString::fromStdString(form.txtMState));
  txtMCountry_->setText(QString::fromStdString(form.txtMCountry));
}

void EntryWindow::FocusControl(const std::string& object_name) {
  if (object_name.empty()) return;
  if (auto* widget = findChild<QWidget*>(QString::fromStdString(object_name))) widget->setFocus();
}

void EntryWindow::Proceed() {
  if (!proceed_) return;
  if (!SettleZoneBeforeChart()) return;
  if (const Verdict charted = proceed_(ReadForm()); !charted) {
    messages_.Show(this, charted.error().message);
    FocusControl(charted.error().focus);
  }
}

void EntryWindow::LookUpPlace() {
  const auto query = PlaceLookupQuery(ReadForm());
  if (!query) {
    messages_.Show(this, query.error().message);
    FocusControl(query.error().focus);
    return;
  }
  if (!place_search_) return;
  // A fresh search for every click; the place chosen in it, if any, comes back through UsePlace.
  if (std::unique_ptr<PlaceSearch> search = place_search_()) {
    search->SetPlace(this, txtMCity_->text(), txtMState_->text(), txtMCountry_->text());
    search->SetPlaceChosen([window = QPointer<EntryWindow>(this)](const Place& place) {
      if (window) window->UsePlace(place);
    });
    search->Search(QString::fromStdString(*query), widgets::AddressOf(core::LinkTarget::HomePage));
  }
}

void EntryWindow::UsePlace(const Place& place) {
  const DegreesMinutes lon = ToDegreesMinutes(place.longitude);
  const DegreesMinutes lat = ToDegreesMinutes(place.latitude);
  txtLonD_->setText(QString::number(lon.degrees));
  txtLonM_->setText(QString::number(lon.minutes));
  (lon.negative ? optLongWest_ : optLongEast_)->setChecked(true);
  txtLatD_->setText(QString::number(lat.degrees));
  txtLatM_->setText(QString::number(lat.minutes));
  (lat.negative ? optLatSouth_ : optLatNorth_)->setChecked(true);
  txtMCity_->setText(Q(place.name));
  txtMState_->setText(Q(place.division));
  txtMCountry_->setText(Q(CountryName(place.country_code)));
  place_zone_ = place.time_zone;
  place_id_ = place.geonames_id != 0 ? std::to_string(place.geonames_id) : std::string();
  place_name_ = place.name;
  place_longitude_deg_ = place.longitude;
  UpdateZoneSuggestion();
}

void EntryWindow::UpdateZoneSuggestion() {
  ShowZoneSuggestion();
  // A line new to the form, or grown with notes: make room for it rather than scroll the buttons
  // out of sight. Later, once the layouts have taken the line in.
  if (lblZoneSuggestion_->isVisibleTo(this))
    QTimer::singleShot(0, this, &EntryWindow::GrowToFitForm);
}

void EntryWindow::GrowToFitForm() {
  auto* area = qobject_cast<QScrollArea*>(centralWidget());
  if (!area || !area->widget()) return;
  QWidget* form = area->widget();
  // As the constructor sizes the window: the form's height at the window's width, and the menus.
  int needed = form->heightForWidth(width());
  if (needed <= 0) needed = form->sizeHint().height();
  needed += menuBar()->sizeHint().height();
  if (needed <= height()) return;
  resize(width(), std::min(needed, std::max(height(), widgets::RoomOnScreen(*this).height())));
}

void EntryWindow::ShowZoneSuggestion() {
  suggestion_.reset();
  suggestion_answered_ = false;  // a new date, time or place: a new question
  const bool shown = !place_zone_.empty();
  lblZoneSuggestion_->setVisible(shown);
  ShowSuggestionButtons(false, false);
  if (!shown) return;
  zones::ZoneQuery query;
  query.zone = place_zone_;
  query.longitude_deg = place_longitude_deg_;
  query.local = {kFirstYear + cboYear_->currentIndex(),
                 cboMonth_->currentIndex() + 1,
                 cboDate_->currentIndex() + 1,
                 cboHH_->currentIndex(),
                 cboMM_->currentIndex(),
                 0};
  auto suggestion = zones::Suggest(place_name_, query);
  if (!suggestion) {
    // 31 February and the like: the form's own check says so at Proceed.
    lblZoneSuggestion_->setText(Q(suggestion.error().message));
    return;
  }
  QString text = Q(suggestion->text) + u'.';
  // What the database cannot vouch for, and why a choice is asked for, belong with the line.
  for (const std::string& note : suggestion->answer.notes) text += u'\n' + Q(note);
  lblZoneSuggestion_->setText(text);
  const bool two_readings =
      suggestion->answer.needs_choice && suggestion->earlier_form && suggestion->later_form;
  ShowSuggestionButtons(!two_readings, two_readings);
  suggestion_ = std::move(*suggestion);
}

void EntryWindow::ShowSuggestionButtons(bool single, bool two_readings) {
  cmdUseZone_->setVisible(single);
  cmdUseZone_->setEnabled(single);
  cmdUseEarlier_->setVisible(two_readings);
  cmdUseLater_->setVisible(two_readings);
}

void EntryWindow::UseSuggestedZone() {
  if (suggestion_ && !suggestion_->answer.needs_choice) ApplyFormZone(suggestion_->form);
}

void EntryWindow::UseEarlierReading() {
  if (suggestion_ && suggestion_->earlier_form) ApplyFormZone(*suggestion_->earlier_form);
}

void EntryWindow::UseLaterReading() {
  if (suggestion_ && suggestion_->later_form) ApplyFormZone(*suggestion_->later_form);
}

void EntryWindow::ApplyFormZone(const zones::FormZone& zone) {
  if (zone.index < 0 || zone.index >= cmbTimeZone_->count()) return;
  cmbTimeZone_->setCurrentIndex(zone.index);
  if (zone.index == zones::kOtherOffsetIndex) SetExactOffset(zone.offset_s);
  chkDST_->setChecked(zone.daylight_saving);
}

bool EntryWindow::FormHolds(const zones::FormZone& zone) const {
  if (cmbTimeZone_->currentIndex() != zone.index || chkDST_->isChecked() != zone.daylight_saving)
    return false;
  return zone.index != zones::kOtherOffsetIndex || ExactOffsetSecondsEast() == zone.offset_s;
}

bool EntryWindow::SettleZoneBeforeChart() {
  if (!suggestion_ || suggestion_answered_) return true;
  const zones::Suggestion& s = *suggestion_;
  const bool two_readings = s.answer.needs_choice && s.earlier_form && s.later_form;
  if (two_readings ? FormHolds(*s.earlier_form) || FormHolds(*s.later_form) : FormHolds(s.form))
    return true;
  const QString entered =
      cmbTimeZone_->currentIndex() == zones::kOtherOffsetIndex
          ? Q(zones::FormatUtOffset(ExactOffsetSecondsEast()))
          : cmbTimeZone_->currentText() +
                (chkDST_->isChecked() ? QStringLiteral(", daylight saving") : QString());
  const QString question =
      QStringLiteral("The form says %1.\n%2.\n\nChart the birth as entered, or with the %3?")
          .arg(entered, Q(s.text),
               two_readings ? QStringLiteral("reading you choose") : QStringLiteral("suggestion"));
  // The copy: answering may change the suggestion on show.
  const zones::Suggestion asked = s;
  switch (ask_(this, question, two_readings)) {
    case SuggestionChoice::kAsEntered:
      suggestion_answered_ = true;
      return true;
    case SuggestionChoice::kSuggestion:
      ApplyFormZone(asked.form);
      return true;
    case SuggestionChoice::kEarlier:
      if (asked.earlier_form) ApplyFormZone(*asked.earlier_form);
      return true;
    case SuggestionChoice::kLater:
      if (asked.later_form) ApplyFormZone(*asked.later_form);
      return true;
    case SuggestionChoice::kCancel:
      break;
  }
  return false;
}

std::int32_t EntryWindow::ExactOffsetSecondsEast() const {
  const std::int32_t magnitude = spnOffsetH_->value() * kSecondsPerHour +
                                 spnOffsetM_->value() * kSecondsPerMinute + spnOffsetS_->value();
  return cboOffsetSide_->currentIndex() == 1 ? -magnitude : magnitude;
}

void EntryWindow::SetExactOffset(std::int32_t offset_s) {
  const zones::ExactOffset parts = zones::SplitOffset(offset_s);
  spnOffsetH_->setValue(parts.hours);
  spnOffsetM_->setValue(parts.minutes);
  spnOffsetS_->setValue(parts.seconds);
  cboOffsetSide_->setCurrentIndex(parts.east ? 0 : 1);
}

void EntryWindow::ZoneChanged() {
  suggestion_answered_ = false;
  const bool exact = cmbTimeZone_->currentIndex() == zones::kOtherOffsetIndex;
  if (exact == fraExactOffset_->isVisibleTo(this)) return;
  fraExactOffset_->setVisible(exact);
  if (exact) QTimer::singleShot(0, this, &EntryWindow::GrowToFitForm);
}

store::Store* EntryWindow::Births() {
  if (store_) return &*store_;
  auto opened = store::Store::Open(store_path_);
  if (!opened) {
    store_failed_ = true;
    messages_.Show(this,
                   QStringLiteral("The saved births cannot be opened: %1")
                       .arg(QString::fromStdString(opened.error().message)),
                   core::MessageIcon::kError);
    return nullptr;
  }
  store_failed_ = false;
  store_.emplace(std::move(*opened));
  // Said once, when the list is opened: a damaged file set aside, a read-only list.
  for (const core::Message& notice : store_->notices()) messages_.Show(this, notice);
  return &*store_;
}

void EntryWindow::SaveBirth() {
  const BirthFormSnapshot form = ReadForm();
  if (const Verdict checked = ValidateBirthForm(form); !checked) {
    messages_.Show(this, checked.error().message);
    FocusControl(checked.error().focus);
    return;
  }
  const auto record = RecordFromForm(form, place_zone_, place_id_);
  if (!record) {
    messages_.Show(this, Q(record.error().message), core::MessageIcon::kError);
    return;
  }
  store::Store* births = Births();
  if (!births) return;
  auto saved = births->Save(*record, store::SaveMode::kAskFirst);
  if (saved && saved->status == store::SaveStatus::kExists) {
    const QString question =
        QStringLiteral("A birth of %1 on %2 is already saved. Replace it with this one?")
            .arg(Q(saved->record.name), Q(store::DateText(saved->record)));
    if (messages_.Show(this, question, core::MessageIcon::kInformation,
                       widgets::MessageButtons::kYesNo) != widgets::MessageAnswer::kYes)
      return;
    saved = births->Save(*record, store::SaveMode::kReplaceExisting);
  }
  if (!saved) {
    messages_.Show(this, Q(saved.error().message), core::MessageIcon::kError);
    return;
  }
  RefreshRecent();
}

void EntryWindow::OpenBirth() {
  store::Store* births = Births();
  if (!births) return;
  const std::optional<store::BirthRecord> chosen =
      store::PersonListWindow::Choose(*births, messages_, *prompt_, this);
  if (chosen) FillFromRecord(*chosen);
  RefreshRecent();  // the list may have renamed or deleted births
}

void EntryWindow::FillFromRecord(const store::BirthRecord& record) {
  const auto form = FormFromRecord(record);
  if (!form) {
    messages_.Show(this, Q(form.error().message), core::MessageIcon::kError);
    return;
  }
  FillForm(*form);
  place_zone_ = record.tz_name;
  place_id_ = record.place_id;
  place_name_ = record.city;
  place_longitude_deg_ = (record.east ? 1.0 : -1.0) *
                         (record.longitude_deg + record.longitude_min / double{kMinutesPerDegree});
  UpdateZoneSuggestion();
}

void EntryWindow::RefreshRecent() {
  // A list that would not open said why when asked for; the menu does not ask again.
  if (!store_ && store_failed_) return;
  store::Store* births = Births();
  if (!births) return;
  const auto recent = births->Recent(kRecentBirths);
  const std::vector<store::BirthRecord> records =
      recent ? *recent : std::vector<store::BirthRecord>{};
  for (std::size_t i = 0; i < recent_actions_.size(); ++i) {
    QAction* action = recent_actions_[i];
    QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
    action->setVisible(i < records.size());
    if (i >= records.size()) continue;
    const store::BirthRecord& record = records[i];
    QString name = Q(record.name);
    name.replace(u'&', QStringLiteral("&&"));
    action->setText(QStringLiteral("&%1 %2, %3").arg(i + 1).arg(name, Q(store::DateText(record))));
    connect(action, &QAction::triggered, this, [this, id = record.id] {
      store::Store* list = Births();
      if (!list) return;
      const auto found = list->Find(id);
      if (found && found->has_value()) {
        FillFromRecord(**found);
      } else {
        messages_.Show(this,
                       found ? QStringLiteral("That birth is no longer saved; it was deleted.")
                             : Q(found.error().message),
                       core::MessageIcon::kError);
        RefreshRecent();
      }
    });
  }
  recent_separator_->setVisible(!records.empty());
}

bool EntryWindow::FilterKey(QLineEdit* box, QKeyEvent* key) {
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    cmdRashi_->click();  // Enter in any box of the form presses the default button
    return true;
  }
  // Shortcuts (paste, undo, select all) and keys that type nothing are not characters to filter.
  // An Alt or Meta key that no menu took still types its character, so that one is filtered.
  if ((key->modifiers() & Qt::ControlModifier) && !(key->modifiers() & Qt::AltModifier))
    return false;
  const QString text = key->text();
  if (text.isEmpty() || text.front() < u'\x20' || text.front() == u'\x7F') return false;
  return FilterTyped(box, text, [box](const QString& accepted) { box->insert(accepted); });
}

bool EntryWindow::FilterInput(QLineEdit* box, QInputMethodEvent* input) {
  // What an input method composes (accented letters, Indic and CJK scripts) arrives here whole.
  if (input->commitString().isEmpty()) return false;
  return FilterTyped(box, input->commitString(), [box, input](const QString& accepted) {
    QInputMethodEvent changed(input->preeditString(), input->attributes());
    changed.setCommitString(accepted, input->replacementStart(), input->replacementLength());
    QCoreApplication::sendEvent(box, &changed);
  });
}

bool EntryWindow::FilterTyped(QLineEdit* box, const QString& typed,
                              const std::function<void(const QString&)>& insert) {
  const bool name = box == txtName_;
  if (!name && !IsCoordinateBox(box)) return false;  // the place boxes take any text
  QString accepted;
  for (const char32_t c : typed.toUcs4()) {
    const KeyVerdict verdict = name ? FilterNameKey(c) : FilterCoordinateKey(c);
    if (!verdict.accepted) {
      messages_.Show(this, *verdict.refusal);
      return true;
    }
    // Names are typed in capitals, in every script that has them.
    const char32_t shown = name ? QChar::toUpper(verdict.character) : verdict.character;
    accepted += QString::fromUcs4(&shown, 1);
  }
  if (accepted == typed) return false;
  insert(accepted);
  return true;
}

bool EntryWindow::IsCoordinateBox(const QLineEdit* box) const {
  return box == txtLonD_ || box == txtLonM_ || box == txtLatD_ || box == txtLatM_;
}

bool EntryWindow::eventFilter(QObject* watched, QEvent* event) {
  if (auto* box = qobject_cast<QLineEdit*>(watched)) {
    if (event->type() == QEvent::KeyPress && FilterKey(box, static_cast<QKeyEvent*>(event)))
      return true;
    if (event->type() == QEvent::InputMethod &&
        FilterInput(box, static_cast<QInputMethodEvent*>(event)))
      return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void EntryWindow::closeEvent(QCloseEvent* event) {
  // Closing the entry form leaves the program, through the exit screen.
  event->ignore();
  emit ExitRequested();
}

}  // namespace solvane::entry
