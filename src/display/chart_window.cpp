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

ChartFigure FigureOf(const ChartWindowModel& model) {
  ChartFigure figure;
  for (int i = 0; i < core::kPositionCount; ++i) {
    // A fresh window has no chart: its bodies are left undrawn rather than all put at 0° Aries.
    figure.bodies[i].longitude = model.has_positions ? model.positions.longitude[i].Degrees()
                                                     : std::numeric_limits<double>::quiet_NaN();
    figure.bodies[i].retrograde = model.positions.retrograde[i];
  }
  figure.name = model.chart_name;
  figure.date = model.chart_date;
  figure.time = model.chart_time;
  figure.place = model.chart_place;
  return figure;
}

PeriodsViewInput PeriodsOf(const ChartWindowModel& model) {
  std::array<double, core::kPositionCount> sidereal{};
  for (int i = 0; i < core::kPositionCount; ++i) {
    sidereal[i] = model.has_positions ? model.positions.longitude[i].Degrees()
                                      : std::numeric_limits<double>::quiet_NaN();
  }
  // The classic engine's Moon may be a few arc-minutes off: the periods' dates say so.
  return PeriodsInputFor(sidereal, model.birth_day, vedic::kJulianYearDays,
                         model.engine == "classic");
}

constexpr const char* kWheelName = "wheel";

std::optional<ChartStyle> StoredStyle() {
  const QString name = QSettings().value(QString::fromLatin1(kChartStyleKey)).toString();
  return ChartStyleFromName(name.toStdString());
}

}  // namespace

ChartWindow::ChartWindow(const ChartWindowModel& model, widgets::UrlOpener& opener, QWidget* parent)
    : QWidget(parent) {
  widgets::EnsureResources();
  setObjectName(QStringLiteral("frmDisplay"));
  setWindowTitle(widgets::ProgramTitle());
  figure_ = FigureOf(model);
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

  periods_ = new PeriodsView(PeriodsOf(model));
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
  save_action_ = view_menu_->addAction(QStringLiteral("Save chart as &picture\u2026"));
  save_action_->setObjectName(QStringLiteral("mnuSavePicture"));
  connect(save_action_, &QAction::triggered, this, &ChartWindow::AskAndSavePicture);
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
  // The wheel is not drawn by the picture code: a picture is of a square style.
  save_action_->setEnabled(bool(style_));
  save_action_->setStatusTip(style_ ? QString()
                                    : QStringLiteral("Choose a square style to save it as a "
                                                     "picture"));
}

core::Result<void> ChartWindow::SavePicture(const QString& path) const {
  if (!style_) return core::Fail("Choose the South, North or East Indian style to save a picture.");
  const PictureOptions options{*style_, navamsa_};
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QStringLiteral("svg")) return WriteChartSvg(path.toStdString(), figure_, options);
  if (suffix == QStringLiteral("png")) return WriteChartPng(path.toStdString(), figure_, options);
  return core::Fail("A picture is saved as .svg or .png; \"" + path.toStdString() +
                    "\" has neither ending.");
}

void ChartWindow::AskAndSavePicture() {
  QFileDialog dialog(this, QStringLiteral("Save chart as picture"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(
      {QStringLiteral("SVG picture (*.svg)"), QStringLiteral("PNG picture (*.png)")});
  dialog.setDefaultSuffix(QStringLiteral("svg"));
  connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
    dialog.setDefaultSuffix(filter.contains(QStringLiteral("png")) ? QStringLiteral("png")
                                                                   : QStringLiteral("svg"));
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const core::Result<void> saved = SavePicture(dialog.selectedFiles().constFirst());
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
