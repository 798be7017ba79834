#include "display/chart_window.h"

#include <QActionGroup>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QSettings>
#include <QSvgWidget>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>
#include <limits>

#include "display/chart_style_painter.h"
#include "display/periods_view.h"
#include "display/wheel_geometry.h"
#include "display/wheel_painter.h"
#include "report/report_box.h"
#include "widgets/link_label.h"
#include "widgets/windows.h"

namespace solvane::display {
namespace {

// The wheel counts whole signs, the report 30-degree houses: say so where the two meet the eye.
constexpr const char* kHouseNote =
    "The report counts each house as 30° from the Ascendant's degree, while the wheel gives "
    "each house a whole sign from the Ascendant's sign; a planet near the edge of a sign can "
    "therefore stand one house apart in the two.";

QPoint Rounded(Point p) { return {qRound(p.x), qRound(p.y)}; }

constexpr const char* kSignFiles[kSignCount] = {"aries",       "taurus",    "gemini",   "cancer",
                                                "leo",         "virgo",     "libra",    "scorpio",
                                                "sagittarius", "capricorn", "aquarius", "pisces"};

QString Q(const std::string& s) { return QString::fromStdString(s); }

QLabel* Value(const char* name, const std::string& text) {
  auto* label = new QLabel(Q(text));
  label->setObjectName(QString::fromLatin1(name));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

QGroupBox* Frame(const char* name, const QString& title) {
  auto* frame = new QGroupBox(title);
  frame->setObjectName(QString::fromLatin1(name));
  return frame;
}

// House k + 1's box of bodies, from its "\r\n"-separated lines.
void AddHouseBox(QWidget* wheel, int house, const std::string& bodies) {
  QString text = Q(bodies);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (text.startsWith(u'\n')) text.remove(0, 1);  // the box's first line is empty by design
  auto* box = new QLabel(text, wheel);
  box->setObjectName(QStringLiteral("lblNatal%1").arg(house));
  box->setStyleSheet(QStringLiteral("color: blue; background: transparent;"));
  box->adjustSize();
  box->move(Rounded(BoxTopLeft(house, {double(box->width()), double(box->height())})));
}

// House k + 1's sign glyph: entry 1 (Aries) .. 12 (Pisces) of the glyph list, 0 while unset.
void AddGlyph(QWidget* wheel, int house, int sign) {
  auto* glyph = new QSvgWidget(wheel);
  glyph->setObjectName(QStringLiteral("imgSign%1").arg(house));
  if (sign >= 1 && sign <= kSignCount) {
    glyph->load(QStringLiteral(":/signs/%1.svg").arg(QString::fromLatin1(kSignFiles[sign - 1])));
    glyph->setProperty("signEntry", sign);
    glyph->setToolTip(QString::fromLatin1(kSignBoxNames[sign - 1]));
  }
  glyph->setGeometry(
      QRect(Rounded(GlyphTopLeft(house)), QSize(kGlyphSidePixels, kGlyphSidePixels)));
}

// The square chart in the wheel's place, painted afresh from the figure at every size.
class SquareChartView final : public QWidget {
 public:
  SquareChartView(const ChartFigure& figure, QWidget* parent) : QWidget(parent), figure_(figure) {
    setObjectName(QStringLiteral("picSquareChart"));
  }

  // Sized like the wheel: as tall as it, and as wide as the chart (or the pair) needs then.
  void Show(ChartStyle style, bool navamsa, int height_pixels) {
    style_ = style;
    navamsa_ = navamsa;
    const QSizeF picture = PictureSize({style, navamsa});
    setFixedSize(qRound(height_pixels * picture.width() / picture.height()), height_pixels);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (navamsa_) {
      PaintChartWithNavamsa(painter, rect(), figure_, style_);
    } else {
      PaintChart(painter, rect(), figure_, style_);
    }
  }

 private:
  const ChartFigure figure_;
  ChartStyle style_ = ChartStyle::kSouthIndian;
  bool navamsa_ = false;
};

PeriodsViewInput PeriodsOf(const ChartWindowModel& model, double year_days) {
  std::array<double, core::kPositionCount> sidereal{};
  for (int i = 0; i < core::kPositionCount; ++i) {
    sidereal[i] = model.has_positions ? model.positions.longitude[i].Degrees()
                                      : std::numeric_limits<double>::quiet_NaN();
  }
  // The classic engine's Moon may be a few arc-minutes off: the periods' dates say so.
  return PeriodsInputFor(sidereal, model.birth_day, year_days, model.engine == "classic");
}

constexpr const char* kWheelName = "wheel";

std::optional<ChartStyle> StoredStyle() {
  const QString name = QSettings().value(QString::fromLatin1(kChartStyleKey)).toString();
  return ChartStyleFromName(name.toStdString());
}

constexpr const char* kClassicEngine = "classic";
constexpr const char* kPreciseEngine = "precise";

bool IsEngineName(const QString& name) {
  return name == QLatin1String(kClassicEngine) || name == QLatin1String(kPreciseEngine);
}

QString EngineCaption(const QString& engine) {
  if (engine == QLatin1String(kPreciseEngine)) return QStringLiteral("Precise positions");
  if (engine == QLatin1String(kClassicEngine)) return QStringLiteral("Classic positions");
  return {};
}

// The settings' text of a year length: the command line's --year-days values.
QString YearDaysText(double year_days) { return QString::number(year_days, 'g', 10); }

QString AskPicturePathWithDialog(QWidget* parent) {
  QFileDialog dialog(parent, QStringLiteral("Save chart as picture"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(
      {QStringLiteral("SVG picture (*.svg)"), QStringLiteral("PNG picture (*.png)")});
  dialog.setDefaultSuffix(QStringLiteral("svg"));
  QObject::connect(
      &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter.contains(QStringLiteral("png")) ? QStringLiteral("png")
                                                                       : QStringLiteral("svg"));
      });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace

QString StoredEngineName() {
  const QString name = QSettings().value(QString::fromLatin1(kChartEngineKey)).toString();
  return IsEngineName(name) ? name : QString::fromLatin1(kClassicEngine);
}

QString StoredNodeName() {
  const bool true_node =
      QSettings().value(QString::fromLatin1(kChartNodeKey)).toString() == QStringLiteral("true");
  return true_node ? QStringLiteral("true") : QStringLiteral("mean");
}

double StoredYearDays() {
  const QString text = QSettings().value(QString::fromLatin1(kChartYearDaysKey)).toString();
  const auto length = vedic::ParseYearLength(text.toStdString());
  return length ? vedic::YearDays(*length) : vedic::kJulianYearDays;
}

ChartWindow::ChartWindow(const ChartWindowModel& model, widgets::UrlOpener& opener, QWidget* parent)
    : QWidget(parent) {
  widgets::EnsureResources();
  EnsureWheelResources();
  setObjectName(QStringLiteral("frmDisplay"));
  setWindowTitle(widgets::ProgramTitle());
  model_ = model;
  figure_ = FigureOfModel(model);
  shown_engine_ = QString::fromStdString(model.engine);
  ask_picture_path_ = AskPicturePathWithDialog;
  style_ = StoredStyle();
  navamsa_ = QSettings().value(QString::fromLatin1(kChartNavamsaKey), false).toBool();

  auto* columns = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  left->addWidget(BuildDetails(model));
  left->addWidget(BuildSigns(model));
  left->addWidget(BuildPositions(model));
  left->addStretch();
  columns->addLayout(left);

  auto* right = new QVBoxLayout;
  wheel_ = BuildWheel(model);
  right->addWidget(wheel_, 0, Qt::AlignHCenter);
  square_ = new SquareChartView(figure_, this);
  right->addWidget(square_, 0, Qt::AlignHCenter);
  right->addWidget(BuildTabs(model), 1);
  right->addWidget(new widgets::LinkLabel(QStringLiteral("Label7"),
                                          QStringLiteral("More about Solvane on our web site"),
                                          core::LinkTarget::HomePage, opener));
  columns->addLayout(right, 1);
  BuildViewMenu();
  ShowStyle();
}

QWidget* ChartWindow::BuildTabs(const ChartWindowModel& model) {
  auto* report_page = new QWidget;
  auto* report_layout = new QVBoxLayout(report_page);
  report_box_ = new QTextEdit;
  report_box_->setObjectName(QStringLiteral("RTBHouseDesc"));
  report_box_->setReadOnly(true);
  report_box_->setMinimumHeight(160);
  report::FillReportBox(*report_box_, model.RTBHouseDesc);
  report_box_->moveCursor(QTextCursor::Start);
  report_layout->addWidget(report_box_, 1);
  auto* note = new QLabel(QString::fromUtf8(kHouseNote));
  note->setObjectName(QStringLiteral("lblHouseNote"));
  note->setWordWrap(true);
  note->setTextFormat(Qt::PlainText);
  report_layout->addWidget(note);

  periods_ = new PeriodsView(PeriodsOf(model, StoredYearDays()));
  periods_->setObjectName(QStringLiteral("periodsView"));
  tabs_ = new QTabWidget;
  tabs_->setObjectName(QStringLiteral("tabsReport"));
  tabs_->addTab(report_page, QStringLiteral("House &report"));
  tabs_->addTab(periods_, QString::fromLatin1(kPeriodsTabTitle));
  return tabs_;
}

void ChartWindow::BuildViewMenu() {
  view_menu_ = new QMenu(QStringLiteral("&View"), this);
  view_menu_->setObjectName(QStringLiteral("mnuView"));
  style_actions_ = new QActionGroup(this);
  style_actions_->setExclusive(true);
  const struct {
    const char* text;
    const char* name;  // the settings' name, which is also the action's object name
  } choices[] = {{"&Wheel", kWheelName},
                 {"&South Indian", "south"},
                 {"&North Indian", "north"},
                 {"&East Indian", "east"}};
  for (const auto& choice : choices) {
    QAction* action = view_menu_->addAction(QString::fromLatin1(choice.text));
    action->setObjectName(QStringLiteral("mnuStyle_") + QString::fromLatin1(choice.name));
    action->setCheckable(true);
    const std::optional<ChartStyle> style = ChartStyleFromName(choice.name);
    action->setChecked(style == style_);
    style_actions_->addAction(action);
    connect(action, &QAction::triggered, this, [this, style] { SetStyle(style); });
  }
  view_menu_->addSeparator();
  navamsa_action_ = view_menu_->addAction(QStringLiteral("Navamsa &beside"));
  navamsa_action_->setObjectName(QStringLiteral("mnuNavamsa"));
  navamsa_action_->setCheckable(true);
  navamsa_action_->setChecked(navamsa_);
  connect(navamsa_action_, &QAction::toggled, this, &ChartWindow::SetNavamsaBeside);
  view_menu_->addSeparator();
  AddEngineChoice();
  AddYearChoice();
  view_menu_->addSeparator();
  save_action_ = view_menu_->addAction(QStringLiteral("Save chart as &picture\u2026"));
  save_action_->setObjectName(QStringLiteral("mnuSavePicture"));
  connect(save_action_, &QAction::triggered, this, &ChartWindow::AskAndSavePicture);
}

void ChartWindow::AddEngineChoice() {
  engine_actions_ = new QActionGroup(this);
  engine_actions_->setExclusive(true);
  // The engine shown is checked; before any chart, the one the next chart will use.
  const QString checked = IsEngineName(shown_engine_) ? shown_engine_ : StoredEngineName();
  const struct {
    const char* text;
    const char* name;
  } choices[] = {{"&Classic Positions", kClassicEngine}, {"P&recise Positions", kPreciseEngine}};
  for (const auto& choice : choices) {
    const QString name = QString::fromLatin1(choice.name);
    QAction* action = view_menu_->addAction(QString::fromLatin1(choice.text));
    action->setObjectName(QStringLiteral("mnuEngine_") + name);
    action->setCheckable(true);
    action->setChecked(name == checked);
    action->setData(name);
    engine_actions_->addAction(action);
    connect(action, &QAction::triggered, this, [this, name] { ChooseEngine(name); });
  }
  // The classic formulas have a node of their own; the choice is the precise engine's.
  true_node_action_ = view_menu_->addAction(QStringLiteral("&True Node"));
  true_node_action_->setObjectName(QStringLiteral("mnuTrueNode"));
  true_node_action_->setCheckable(true);
  true_node_action_->setChecked(StoredNodeName() == QStringLiteral("true"));
  true_node_action_->setEnabled(checked == QString::fromLatin1(kPreciseEngine));
  connect(true_node_action_, &QAction::toggled, this, [this](bool on) {
    QSettings().setValue(QString::fromLatin1(kChartNodeKey),
                         on ? QStringLiteral("true") : QStringLiteral("mean"));
    if (shown_engine_ == QString::fromLatin1(kPreciseEngine)) emit EngineRequested(shown_engine_);
  });
}

void ChartWindow::AddYearChoice() {
  QMenu* years = view_menu_->addMenu(QStringLiteral("Vimshottari &year"));
  years->setObjectName(QStringLiteral("mnuYearDays"));
  year_actions_ = new QActionGroup(this);
  year_actions_->setExclusive(true);
  const struct {
    const char* text;
    double days;
  } choices[] = {{"365.25 days (&Julian)", vedic::kJulianYearDays},
                 {"365.2425 days (&Gregorian)", vedic::kGregorianYearDays},
                 {"360 days (&Savana)", vedic::kSavanaYearDays}};
  for (const auto& choice : choices) {
    QAction* action = years->addAction(QString::fromUtf8(choice.text));
    action->setObjectName(QStringLiteral("mnuYear_") + YearDaysText(choice.days));
    action->setCheckable(true);
    action->setChecked(choice.days == periods_->YearDays());
    action->setData(choice.days);
    year_actions_->addAction(action);
    const double days = choice.days;
    connect(action, &QAction::triggered, this, [this, days] { SetYearDays(days); });
  }
}

QString ChartWindow::ChosenEngine() const {
  const QAction* checked = engine_actions_->checkedAction();
  return checked ? checked->data().toString() : QString::fromLatin1(kClassicEngine);
}

void ChartWindow::ChooseEngine(const QString& name) {
  if (!IsEngineName(name)) return;
  QSettings().setValue(QString::fromLatin1(kChartEngineKey), name);
  for (QAction* action : engine_actions_->actions())
    if (action->data().toString() == name) action->setChecked(true);
  true_node_action_->setEnabled(name == QString::fromLatin1(kPreciseEngine));
  if (name != shown_engine_) emit EngineRequested(name);
}

double ChartWindow::YearDays() const { return periods_->YearDays(); }

void ChartWindow::SetYearDays(double year_days) {
  QAction* chosen = nullptr;
  for (QAction* action : year_actions_->actions())
    if (action->data().toDouble() == year_days) chosen = action;
  if (!chosen) return;  // only the three lengths the periods are counted in
  chosen->setChecked(true);
  QSettings().setValue(QString::fromLatin1(kChartYearDaysKey), YearDaysText(year_days));
  periods_->SetYearDays(year_days);
}

void ChartWindow::SetStyle(std::optional<ChartStyle> style) {
  style_ = style;
  const QString name =
      QString::fromStdString(style ? std::string(ChartStyleName(*style)) : std::string(kWheelName));
  QSettings().setValue(QString::fromLatin1(kChartStyleKey), name);
  for (QAction* action : style_actions_->actions()) {
    if (action->objectName().endsWith(u'_' + name)) action->setChecked(true);
  }
  ShowStyle();
}

void ChartWindow::SetNavamsaBeside(bool beside) {
  navamsa_ = beside;
  QSettings().setValue(QString::fromLatin1(kChartNavamsaKey), beside);
  navamsa_action_->setChecked(beside);  // no signal again: toggled only fires on a change
  ShowStyle();
}

void ChartWindow::ShowStyle() {
  wheel_->setVisible(!style_);
  square_->setVisible(bool(style_));
  if (style_) static_cast<SquareChartView*>(square_)->Show(*style_, navamsa_, wheel_->height());
}

core::Result<void> ChartWindow::SavePicture(const QString& path) const {
  PictureOptions options{style_.value_or(ChartStyle::kSouthIndian), navamsa_};
  options.wheel = !style_;
  // The wheel at the size the window shows it; a square chart at the picture's usual size.
  if (options.wheel) options.chart_side = WheelSize().height();
  const QString suffix = QFileInfo(path).suffix().toLower();
  const bool svg = suffix == QStringLiteral("svg");
  if (svg || suffix == QStringLiteral("png")) {
    options.scale = 2;  // PNG only: crisp on a screen at 200% and on paper
    const core::Result<void> written = svg ? WriteChartSvg(path.toStdString(), model_, options)
                                           : WriteChartPng(path.toStdString(), model_, options);
    if (written) return written;
    return core::Fail(written.error().message +
                      "\nChoose a folder you can write to, or another name, and save again.");
  }
  return core::Fail("A picture is saved as .svg or .png; \"" + path.toStdString() +
                    "\" has neither ending. Save again with a name ending in .svg or .png.");
}

void ChartWindow::AskAndSavePicture() {
  const QString path = ask_picture_path_ ? ask_picture_path_(this) : QString();
  if (path.isEmpty()) return;
  const core::Result<void> saved = SavePicture(path);
  if (saved) return;
  if (!messages_) {
    own_messages_ = std::make_unique<widgets::QtMessageService>();
    messages_ = own_messages_.get();
  }
  messages_->Show(this, QString::fromStdString(saved.error().message), core::MessageIcon::kError);
}

QWidget* ChartWindow::BuildDetails(const ChartWindowModel& model) {
  auto* frame = Frame("fraDetails", QStringLiteral("Your Details"));
  auto* grid = new QGridLayout(frame);
  grid->addWidget(Value("lblName", model.lblName), 0, 0, 1, 2);
  const struct {
    const char* caption;
    const char* name;
    const std::string& text;
  } rows[] = {{"Date of Birth :", "lblDOB", model.lblDOB},
              {"Time of Birth :", "lblTOB", model.lblTOB},
              {"Latitude   :", "lblLatitude", model.lblLatitude},
              {"Longitude :", "lblLongitude", model.lblLongitude},
              {"City :", "lblCity", model.lblCity},
              {"State :", "lblState", model.lblState},
              {"Country :", "lblCountry", model.lblCountry}};
  int row = 1;
  for (const auto& r : rows) {
    grid->addWidget(new QLabel(QString::fromLatin1(r.caption)), row, 0);
    grid->addWidget(Value(r.name, r.text), row++, 1);
  }
  return frame;
}

QWidget* ChartWindow::BuildSigns(const ChartWindowModel& model) {
  auto* frame = Frame("fraVedic", QStringLiteral("Other Details"));
  auto* grid = new QGridLayout(frame);
  const struct {
    const char* caption;
    const char* name;
    const std::string& text;
  } rows[] = {{"Sun Sign", "lblSunSign", model.lblSunSign},
              {"Ascendant", "lblLagna", model.lblLagna},
              {"Moon Sign", "lblRashi", model.lblRashi}};
  int row = 0;
  for (const auto& r : rows) {
    grid->addWidget(new QLabel(QString::fromLatin1(r.caption)), row, 0);
    grid->addWidget(Value(r.name, r.text), row++, 1);
  }
  return frame;
}

QWidget* ChartWindow::BuildPositions(const ChartWindowModel& model) {
  static constexpr const char* kNames[kPositionRows] = {"Sun",     "Moon",    "Mercury", "Venus",
                                                        "Mars",    "Jupiter", "Saturn",  "Uranus",
                                                        "Neptune", "Pluto",   "Asc"};
  auto* frame = Frame("fraWestern", QStringLiteral("Planetary Positions"));
  auto* grid = new QGridLayout(frame);
  QFont fixed(QStringLiteral("monospace"));
  fixed.setStyleHint(QFont::TypeWriter);
  for (int i = 0; i < kPositionRows; ++i) {
    auto* name = new QLabel(QString::fromLatin1(kNames[i]));
    name->setObjectName(QStringLiteral("PlanetName%1").arg(i));
    auto* value = new QLabel(Q(model.lblPlanet[i]));
    value->setObjectName(QStringLiteral("lblPlanet%1").arg(i));
    value->setFont(fixed);
    grid->addWidget(name, i, 0);
    grid->addWidget(value, i, 1);
  }
  engine_label_ = new QLabel(EngineCaption(shown_engine_));
  engine_label_->setObjectName(QStringLiteral("lblEngine"));
  engine_label_->setToolTip(QStringLiteral("The engine is chosen in the View menu"));
  grid->addWidget(engine_label_, kPositionRows, 0, 1, 2);
  return frame;
}

QWidget* ChartWindow::BuildWheel(const ChartWindowModel& model) {
  auto* wheel = new QSvgWidget(QStringLiteral(":/wheel.svg"));
  wheel->setObjectName(QStringLiteral("picNatal"));
  wheel->setFixedSize(TwipsToPixels(kWheelWidthTwips), TwipsToPixels(kWheelHeightTwips));

  // The sign boxes are scratch lists: by the time the window shows, the wheel has been arranged.
  for (int i = 0; i < kSignCount; ++i) {
    auto* box = new QLabel(Q(model.sign_boxes[i]), wheel);
    box->setObjectName(QStringLiteral("lblNatal") + QString::fromLatin1(kSignBoxNames[i]));
    box->setVisible(model.sign_boxes_visible);
  }
  for (int k = 0; k < kSignCount; ++k) {
    AddHouseBox(wheel, k, model.lblNatal[k]);
    AddGlyph(wheel, k, model.imgSign[k]);
    // House k + 1's number stands by its glyph; the label array starts with "12".
    auto* number = new QLabel(QString::number(k + 1), wheel);
    number->setObjectName(QStringLiteral("lblNatalPosition%1").arg((k + 1) % kSignCount));
    number->move(Rounded(NumberTopLeft(k)));
    number->setStyleSheet(QStringLiteral("color: #444; font-size: 9px; background: transparent;"));
  }
  return wheel;
}

}  // namespace solvane::display
