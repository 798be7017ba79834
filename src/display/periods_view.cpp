#include "display/periods_view.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/civil_date.h"
#include "core/zodiac.h"
#include "vedic/nakshatra.h"

namespace solvane::display {
namespace {

// A running period's mark: a light amber behind dark text, readable under light and dark themes.
const QColor kMarkBackground(255, 224, 130);
const QColor kMarkText(0, 0, 0);
// Dates the box offers: every birth the entry form takes and its 120 years of periods.
const QDate kFirstDate(1800, 1, 1);
const QDate kLastDate(2299, 12, 31);

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

long DayOf(const QDate& date) { return core::DaysFromCivil(date.year(), date.month(), date.day()); }

QDate DateOf(long day) {
  const core::CivilDate d = core::CivilFromDays(day);
  return QDate(d.year, d.month, d.day);
}

QTableWidgetItem* Cell(const QString& text, Qt::Alignment align = Qt::AlignLeft) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  item->setTextAlignment(align | Qt::AlignVCenter);
  return item;
}

QLabel* Caption(const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text);
  label->setBuddy(buddy);
  return label;
}

QString SpanTip(const vedic::DashaPeriod& p) {
  QString tip;
  if (p.StartsBeforeBirth())
    tip += QStringLiteral("Began on %1, before the birth.").arg(Q(vedic::DateText(p.start_day)));
  if (p.EndsAfterListing()) {
    if (!tip.isEmpty()) tip += QLatin1Char(' ');
    tip += QStringLiteral("Runs on to %1, beyond the 120 years listed.")
               .arg(Q(vedic::DateText(p.end_day)));
  }
  return tip;
}

}  // namespace

PeriodsViewInput PeriodsInputFor(const std::array<double, core::kPositionCount>& sidereal_by_body,
                                 double birth_day, double year_days, bool approximate) {
  PeriodsViewInput input;
  for (const core::Body body : vedic::kNakshatraTableBodies) {
    if (body == core::kMoon) input.moon_row = static_cast<int>(input.body_names.size());
    input.body_names.emplace_back(core::kBodyNames[body]);
    input.sidereal_degrees.push_back(sidereal_by_body[body]);
  }
  input.birth_day = birth_day;
  input.year_days = year_days;
  input.approximate = approximate;
  return input;
}

PeriodsView::PeriodsView(const PeriodsViewInput& input, QWidget* parent)
    : QWidget(parent), input_(input) {
  setObjectName(QStringLiteral("PeriodsView"));
  ComputePeriods();

  auto* splitter = new QSplitter(Qt::Vertical);
  splitter->setChildrenCollapsible(false);
  splitter->addWidget(BuildTable(input));
  splitter->addWidget(BuildPeriods());
  splitter->setStretchFactor(1, 1);
  // The whole table when there is room, the periods taking what is left.
  const int table_height = table_->horizontalHeader()->sizeHint().height() +
                           table_->verticalHeader()->length() + 2 * table_->frameWidth() +
                           fontMetrics().height() + 8;
  splitter->setSizes({table_height, 3 * table_height});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter);

  setTabOrder(table_, date_box_);
  setTabOrder(date_box_, tree_);

  ShowPeriodTexts();
  FillTree();
  connect(date_box_, &QDateEdit::dateChanged, this, &PeriodsView::MarkRunning);
  const QDate first = input.marked_day ? DateOf(*input.marked_day) : QDate::currentDate();
  date_box_->setDate(first);
  MarkRunning(date_box_->date());  // also when the box already showed that date
}

QWidget* PeriodsView::BuildTable(const PeriodsViewInput& input) {
  table_ = new QTableWidget;
  table_->setObjectName(QStringLiteral("tblNakshatras"));
  const QStringList headers = {QStringLiteral("Body"),      QStringLiteral("No."),
                               QStringLiteral("Nakshatra"), QStringLiteral("Pada"),
                               QStringLiteral("Lord"),      QStringLiteral("Navamsa")};
  table_->setColumnCount(static_cast<int>(headers.size()));
  table_->setHorizontalHeaderLabels(headers);
  const int rows =
      static_cast<int>(std::min(input.body_names.size(), input.sidereal_degrees.size()));
  table_->setRowCount(rows);
  for (int row = 0; row < rows; ++row) {
    const double degrees = input.sidereal_degrees[row];
    const vedic::NakshatraPlace place = vedic::NakshatraOf(degrees);
    table_->setItem(row, 0, Cell(QString::fromStdString(input.body_names[row])));
    table_->setItem(row, 1, Cell(QString::number(place.Number()), Qt::AlignRight));
    table_->setItem(row, 2, Cell(Q(place.Name())));
    table_->setItem(row, 3, Cell(QString::number(place.pada), Qt::AlignRight));
    table_->setItem(row, 4, Cell(Q(vedic::LordName(place.lord))));
    table_->setItem(row, 5, Cell(Q(core::kSignNames[vedic::NavamsaSignIndex(degrees)])));
  }
  table_->verticalHeader()->hide();
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab leaves the table for the date box instead of walking its cells.
  table_->setTabKeyNavigation(false);
  table_->setAlternatingRowColors(true);
  table_->resizeColumnsToContents();
  table_->horizontalHeader()->setStretchLastSection(true);
  // Rows as tight as the tree's, so that both fit the tab at once.
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);

  auto* box = new QWidget;
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Caption(QStringLiteral("Na&kshatras of the bodies"), table_));
  layout->addWidget(table_, 1);
  return box;
}

void PeriodsView::ComputePeriods() {
  periods_.reset();
  const bool has_moon =
      input_.moon_row >= 0 && input_.moon_row < static_cast<int>(input_.sidereal_degrees.size());
  if (!has_moon) return;
  auto periods =
      vedic::Vimshottari::FromMoon(input_.sidereal_degrees[input_.moon_row], input_.birth_day,
                                   input_.year_days, input_.approximate);
  if (periods) periods_ = *periods;
}

void PeriodsView::SetYearDays(double year_days) {
  if (year_days == input_.year_days) return;
  input_.year_days = year_days;
  marked_ = {};  // the marked items go with the tree
  tree_->clear();
  ComputePeriods();
  ShowPeriodTexts();
  FillTree();
  MarkRunning(date_box_->date());
}

QWidget* PeriodsView::BuildPeriods() {
  date_box_ = new QDateEdit;
  date_box_->setObjectName(QStringLiteral("dteDashaDate"));
  date_box_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  date_box_->setCalendarPopup(true);
  date_box_->setDateRange(kFirstDate, kLastDate);
  running_ = new QLabel;
  running_->setObjectName(QStringLiteral("lblDashaRunning"));
  running_->setWordWrap(true);
  running_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* date_row = new QHBoxLayout;
  date_row->addWidget(Caption(QStringLiteral("Periods running on &date"), date_box_));
  date_row->addWidget(date_box_);
  date_row->addWidget(running_, 1);

  balance_ = new QLabel;
  balance_->setObjectName(QStringLiteral("lblDashaBalance"));
  balance_->setWordWrap(true);
  note_ = new QLabel;
  note_->setObjectName(QStringLiteral("lblDashaNote"));
  note_->setWordWrap(true);

  tree_ = new QTreeWidget;
  tree_->setObjectName(QStringLiteral("treeDasha"));
  tree_->setHeaderLabels({QStringLiteral("Lord"), QStringLiteral("Start"), QStringLiteral("End")});
  tree_->setUniformRowHeights(true);
  tree_->header()->setStretchLastSection(false);
  tree_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  tree_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  tree_->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);

  auto* box = new QWidget;
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(date_row);
  layout->addWidget(balance_);
  layout->addWidget(note_);
  layout->addWidget(Caption(QStringLiteral("&Vimshottari periods"), tree_));
  layout->addWidget(tree_, 1);
  return box;
}

void PeriodsView::ShowPeriodTexts() {
  date_box_->setEnabled(bool(periods_));
  if (!periods_) {
    balance_->setText(
        QStringLiteral("No periods: the Moon's place or the birth moment is missing."));
    note_->clear();
    running_->clear();
    return;
  }
  const vedic::NakshatraPlace& moon = periods_->MoonNakshatra();
  balance_->setText(QStringLiteral("Balance at birth: %1 (Moon in %2, pada %3)")
                        .arg(Q(vedic::BalanceText(*periods_)), Q(moon.Name()))
                        .arg(moon.pada));
  note_->setText(Q(vedic::PeriodsNote(input_.year_days, input_.approximate)) + QLatin1Char(' ') +
                 Q(vedic::kListingNote));
}

void PeriodsView::FillTree() {
  if (!periods_) return;
  QList<QTreeWidgetItem*> mahas;
  QTreeWidgetItem* parents[vedic::kDashaLevelCount] = {};
  periods_->VisitListed([&](const vedic::DashaPeriod& p) {
    const int level = static_cast<int>(p.level);
    auto* item = level == 0 ? new QTreeWidgetItem : new QTreeWidgetItem(parents[level - 1]);
    if (level == 0) mahas.append(item);
    item->setText(0, Q(vedic::LordName(p.lord)));
    item->setText(1, Q(vedic::DateText(p.shown_start_day)));
    item->setText(2, Q(vedic::DateText(p.shown_end_day)));
    item->setData(0, Qt::UserRole, p.start_day);  // finds the item of a running period
    if (const QString tip = SpanTip(p); !tip.isEmpty())
      for (int column = 0; column < 3; ++column) item->setToolTip(column, tip);
    parents[level] = item;
  });
  tree_->addTopLevelItems(mahas);  // at once: one model reset rather than one per item
}

std::vector<QTreeWidgetItem*> PeriodsView::MarkedItems() const {
  if (!marked_[0]) return {};
  return {marked_.begin(), marked_.end()};
}

QDate PeriodsView::Date() const { return date_box_->date(); }

void PeriodsView::SetDate(const QDate& date) { date_box_->setDate(date); }

void PeriodsView::SetMarked(QTreeWidgetItem* item, bool marked) {
  QFont font = item->font(0);
  font.setBold(marked);
  for (int column = 0; column < tree_->columnCount(); ++column) {
    item->setFont(column, font);
    item->setBackground(column, marked ? QBrush(kMarkBackground) : QBrush());
    item->setForeground(column, marked ? QBrush(kMarkText) : QBrush());
  }
}

void PeriodsView::MarkRunning(const QDate& date) {
  for (QTreeWidgetItem* item : marked_)
    if (item) SetMarked(item, false);
  marked_ = {};
  if (!periods_) return;
  const auto path = periods_->RunningOnDate(DayOf(date));
  if (!path) {
    running_->setText(Q(path.error().message));
    return;
  }
  const vedic::DashaPeriod* levels[] = {&path->mahadasha, &path->antardasha,
                                        &path->pratyantardasha};
  QTreeWidgetItem* parent = tree_->invisibleRootItem();
  for (int level = 0; level < vedic::kDashaLevelCount && parent; ++level) {
    QTreeWidgetItem* found = nullptr;
    for (int i = 0; i < parent->childCount() && !found; ++i)
      if (parent->child(i)->data(0, Qt::UserRole).toDouble() == levels[level]->start_day)
        found = parent->child(i);
    marked_[level] = found;
    parent = found;
  }
  if (!marked_[2]) {  // cannot happen while the tree shows the same periods; unmark rather than lie
    marked_ = {};
    running_->setText(QString());
    return;
  }
  for (QTreeWidgetItem* item : marked_) SetMarked(item, true);
  tree_->collapseAll();
  marked_[0]->setExpanded(true);
  marked_[1]->setExpanded(true);
  // Current without being selected: Tab into the tree lands on it, and the mark stays visible.
  tree_->setCurrentItem(marked_[2], 0, QItemSelectionModel::NoUpdate);
  ScrollToMarked();
  running_->setText(Q(vedic::PathText(*path)));
}

void PeriodsView::ScrollToMarked() {
  if (!marked_[0]) return;
  // The mahadasha at the top when its marked rows fit below it, else the antardasha.
  tree_->scrollToItem(marked_[0], QAbstractItemView::PositionAtTop);
  if (tree_->visualItemRect(marked_[2]).bottom() > tree_->viewport()->height())
    tree_->scrollToItem(marked_[1], QAbstractItemView::PositionAtTop);
  tree_->scrollToItem(marked_[2], QAbstractItemView::EnsureVisible);
}

void PeriodsView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Until the splitter has laid the tree out at its first showing, it has no height to scroll
  // within: scroll once that is done.
  QTimer::singleShot(0, this, &PeriodsView::ScrollToMarked);
}

}  // namespace solvane::display
