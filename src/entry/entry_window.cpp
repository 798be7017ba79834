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
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

#include "entry/place_lookup.h"
#include "entry/time_zones.h"
#include "shell/link_label.h"
#include "shell/menus.h"

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

QLineEdit* Box(const char* name, int max_length = 0) {
  auto* box = new QLineEdit;
  box->setObjectName(QString::fromLatin1(name));
  if (max_length > 0) {
    box->setMaxLength(max_length);
    // Wide enough for its digits and no wider.
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QString(max_length + 2, u'0')) + 12);
  }
  return box;
}

QLabel* Caption(const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text);
  label->setBuddy(buddy);
  return label;
}

std::string Text(const QLineEdit* box) { return box->text().toStdString(); }

}  // namespace

void WebPlaceSearch::Search(const QString& query, const QString& /*home_page*/) {
  opener_.Open(QStringLiteral("https://www.openstreetmap.org/search?query=") +
               QString::fromLatin1(QUrl::toPercentEncoding(query)));
}

EntryWindow::EntryWindow(shell::MessageService& messages, shell::UrlOpener& opener,
                         PlaceSearchFactory place_search, QWidget* parent)
    : QMainWindow(parent),
      messages_(messages),
      opener_(opener),
      place_search_(std::move(place_search)) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Solvane v1.15"));
  setCentralWidget(BuildForm());
  setMinimumWidth(560);
  txtName_->setFocus();  // the form is filled top to bottom, starting with the name
  BuildMenus();
}

EntryWindow::~EntryWindow() = default;

QWidget* EntryWindow::BuildForm() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);

  layout->addWidget(new shell::LinkLabel(QStringLiteral("Label61"),
                                         QStringLiteral("Solvane - Vedic birth chart and houses"),
                                         report::LinkTarget::HomePage, opener_));
  auto* about = new QLabel(QStringLiteral(
      "Solvane shows the positions of the planets in the twelve houses in your natal chart. The "
      "distribution of the planets in the different houses play an important role in "
      "interpreting the birth chart of an individual."));
  about->setObjectName(QStringLiteral("lblDescription"));
  about->setWordWrap(true);
  layout->addWidget(about);

  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  int row = 0;

  txtName_ = Box("txtName");
  grid->addWidget(Caption(QStringLiteral("&Name"), txtName_), row, 0);
  grid->addWidget(txtName_, row++, 1, 1, 3);

  std::vector<std::string> months(kMonthNames.begin(), kMonthNames.end());
  cboMonth_ = List("cboMonth", months);
  cboDate_ = List("cboDate", DateListTexts());
  cboYear_ = List("cboYear", YearListTexts());
  grid->addWidget(Caption(QStringLiteral("&Date of Birth"), cboMonth_), row, 0);
  auto* date = new QHBoxLayout;
  date->addWidget(cboMonth_);
  date->addWidget(cboDate_);
  date->addWidget(cboYear_);
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

  auto* zone = new QGroupBox(QStringLiteral("Zone"));
  zone->setObjectName(QStringLiteral("fraZone"));
  auto* zone_layout = new QHBoxLayout(zone);
  cmbTimeZone_ = new QComboBox;
  cmbTimeZone_->setObjectName(QStringLiteral("cmbTimeZone"));
  for (const TimeZoneRow& row_text : TimeZoneTable()) cmbTimeZone_->addItem(Q(row_text.text));
  cmbTimeZone_->setCurrentIndex(kDefaultTimeZone);
  chkDST_ = new QCheckBox(QStringLiteral("Daylight &Saving Time"));
  chkDST_->setObjectName(QStringLiteral("chkDST"));
  zone_layout->addWidget(cmbTimeZone_, 1);
  zone_layout->addWidget(chkDST_);
  grid->addWidget(zone, row++, 0, 1, 4);

  // Longitude and latitude: degrees, minutes, hemisphere.
  const auto coordinate = [&](const char* frame, const QString& title, QLineEdit*& degrees,
                              const char* deg_name, int deg_length, QLineEdit*& minutes,
                              const char* min_name, QRadioButton*& first, const QString& first_text,
                              QRadioButton*& second, const QString& second_text,
                              const char* group_name) {
    auto* box = new QGroupBox(title);
    box->setObjectName(QString::fromLatin1(frame));
    auto* l = new QGridLayout(box);
    degrees = Box(deg_name, deg_length);
    minutes = Box(min_name, kMinutesMaxLength);
    l->addWidget(new QLabel(QStringLiteral("Deg")), 0, 0);
    l->addWidget(degrees, 0, 1);
    l->addWidget(new QLabel(QStringLiteral("Min")), 0, 2);
    l->addWidget(minutes, 0, 3);
    first = new QRadioButton(first_text);
    second = new QRadioButton(second_text);
    first->setObjectName(QString::fromLatin1(group_name) + u'0');
    second->setObjectName(QString::fromLatin1(group_name) + u'1');
    auto* group = new QButtonGroup(box);
    group->addButton(first, 0);
    group->addButton(second, 1);
    first->setChecked(true);
    l->addWidget(first, 1, 0, 1, 2);
    l->addWidget(second, 1, 2, 1, 2);
    return box;
  };
  auto* lon = coordinate("fraLongitude", QStringLiteral("Longitude"), txtLonD_, "txtLonD",
                         kLonDegMaxLength, txtLonM_, "txtLonM", optLongEast_,
                         QStringLiteral("&East"), optLongWest_, QStringLiteral("&West"), "optLong");
  auto* lat =
      coordinate("fraLatitude", QStringLiteral("Latitude"), txtLatD_, "txtLatD", kLatDegMaxLength,
                 txtLatM_, "txtLatM", optLatNorth_, QStringLiteral("N&orth"), optLatSouth_,
                 QStringLiteral("So&uth"), "optLat");
  grid->addWidget(lon, row, 0, 1, 2);
  grid->addWidget(lat, row++, 2, 1, 2);

  txtMCity_ = Box("txtMCity");
  txtMState_ = Box("txtMState");
  txtMCountry_ = Box("txtMCountry");
  grid->addWidget(Caption(QStringLiteral("&City"), txtMCity_), row, 0);
  grid->addWidget(txtMCity_, row++, 1, 1, 3);
  grid->addWidget(Caption(QStringLiteral("St&ate"), txtMState_), row, 0);
  grid->addWidget(txtMState_, row++, 1, 1, 3);
  grid->addWidget(Caption(QStringLiteral("Countr&y"), txtMCountry_), row, 0);
  grid->addWidget(txtMCountry_, row++, 1, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);

  cmdBrowser_ = new QPushButton(QStringLiteral("Click Here To Find Latitude && Longitude"));
  cmdBrowser_->setObjectName(QStringLiteral("cmdBrowser"));
  cmdRashi_ = new QPushButton(QStringLiteral("&Proceed"));
  cmdRashi_->setObjectName(QStringLiteral("cmdRashi"));
  cmdRashi_->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdBrowser_);
  buttons->addStretch();
  buttons->addWidget(cmdRashi_);
  layout->addLayout(buttons);
  connect(cmdBrowser_, &QPushButton::clicked, this, &EntryWindow::LookUpPlace);
  connect(cmdRashi_, &QPushButton::clicked, this, &EntryWindow::Proceed);

  auto* promos = new QHBoxLayout;
  auto* cobrand = new shell::LinkLabel(QStringLiteral("lblCobrand"),
                                       QStringLiteral("Get Solvane with your name on it"),
                                       report::LinkTarget::CoBrandPage, opener_);
  auto* full_brand = new shell::LinkLabel(QStringLiteral("lblFullBrand"),
                                          QStringLiteral("Sell Solvane as your own program"),
                                          report::LinkTarget::FullBrandPage, opener_);
  for (shell::LinkLabel* link : {cobrand, full_brand}) link->setWordWrap(false);
  promos->addWidget(cobrand);
  promos->addStretch();
  promos->addWidget(full_brand);
  layout->addLayout(promos);

  for (QLineEdit* box : {txtName_, txtLonD_, txtLonM_, txtLatD_, txtLatM_})
    box->installEventFilter(this);

  // Reading order: name, date, time, zone, longitude, latitude, place, then the buttons.
  QWidget* order[] = {txtName_,     cboMonth_,    cboDate_,     cboYear_,   cboHH_,
                      cboMM_,       cboSS_,       cmbTimeZone_, chkDST_,    txtLonD_,
                      txtLonM_,     optLongEast_, optLongWest_, txtLatD_,   txtLatM_,
                      optLatNorth_, optLatSouth_, txtMCity_,    txtMState_, txtMCountry_,
                      cmdBrowser_,  cmdRashi_};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  return page;
}

void EntryWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("mnuFile"));
  QAction* next = file->addAction(QStringLiteral("Proceed"));
  next->setObjectName(QStringLiteral("mnuNext"));
  connect(next, &QAction::triggered, this, &EntryWindow::Proceed);
  QAction* exit = file->addAction(QStringLiteral("E&xit"));
  exit->setObjectName(QStringLiteral("mnuExit"));
  connect(exit, &QAction::triggered, this, &QWidget::close);
  shell::AddHelpMenus(
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
  if (const std::optional<Refusal> refusal = proceed_(ReadForm())) {
    messages_.Show(this, refusal->message);
    FocusControl(refusal->focus);
  }
}

void EntryWindow::LookUpPlace() {
  const auto query = PlaceLookupQuery(ReadForm());
  if (const auto* refusal = std::get_if<Refusal>(&query)) {
    messages_.Show(this, refusal->message);
    FocusControl(refusal->focus);
    return;
  }
  if (!place_search_) return;
  // A fresh search for every click; it answers nothing back into the form.
  if (std::unique_ptr<PlaceSearch> search = place_search_()) {
    search->SetPlace(this, txtMCity_->text(), txtMState_->text(), txtMCountry_->text());
    search->Search(QString::fromStdString(std::get<std::string>(query)),
                   shell::AddressOf(report::LinkTarget::HomePage));
  }
}

bool EntryWindow::FilterKey(QLineEdit* box, QKeyEvent* key) {
  // Shortcuts (paste, undo, select all) and keys that type nothing are not characters to filter.
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  char32_t typed = 0;
  if (key->key() == Qt::Key_Backspace) {
    typed = kBackspace;
  } else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    typed = kEnter;
  } else {
    const QList<uint> code_points = key->text().toUcs4();
    if (code_points.isEmpty() || code_points.front() < 0x20 || code_points.front() == 0x7F)
      return false;
    typed = code_points.front();
  }
  const KeyVerdict verdict = box == txtName_ ? FilterNameKey(typed) : FilterCoordinateKey(typed);
  if (!verdict.accepted) {
    messages_.Show(this, *verdict.refusal);
    return true;
  }
  if (verdict.character != typed) {  // a letter typed in lower case goes in as a capital
    box->insert(QString::fromUcs4(&verdict.character, 1));
    return true;
  }
  return false;
}

bool EntryWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    if (auto* box = qobject_cast<QLineEdit*>(watched))
      if (FilterKey(box, static_cast<QKeyEvent*>(event))) return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void EntryWindow::closeEvent(QCloseEvent* event) {
  // Closing the entry form leaves the program, through the exit screen.
  event->ignore();
  emit ExitRequested();
}

}  // namespace solvane::entry
