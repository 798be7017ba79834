#include "store/person_list_window.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace solvane::store {
namespace {

QString Qs(const std::string& text) { return QString::fromStdString(text); }

// The last change in the user's local time, to the minute.
QString LocalChanged(const std::string& iso_utc) {
  QDateTime moment = QDateTime::fromString(Qs(iso_utc), Qt::ISODateWithMs);
  if (!moment.isValid()) return Qs(iso_utc);
  return moment.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

SortColumn ColumnSort(int column) {
  switch (column) {
    case BirthsTableModel::kDate:
      return SortColumn::kDate;
    case BirthsTableModel::kTime:
      return SortColumn::kTime;
    case BirthsTableModel::kPlace:
      return SortColumn::kPlace;
    case BirthsTableModel::kChanged:
      return SortColumn::kChanged;
    default:
      return SortColumn::kName;
  }
}

}  // namespace

std::optional<QString> QtTextPrompt::Ask(QWidget* parent, const QString& label, const QString& text,
                                         bool several_lines) {
  bool ok = false;
  const QString title = QStringLiteral("Solvane");
  const QString answer =
      several_lines ? QInputDialog::getMultiLineText(parent, title, label, text, &ok)
                    : QInputDialog::getText(parent, title, label, QLineEdit::Normal, text, &ok);
  if (!ok) return std::nullopt;
  return answer;
}

void BirthsTableModel::SetRecords(std::vector<BirthRecord> records) {
  beginResetModel();
  records_ = std::move(records);
  endResetModel();
}

int BirthsTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(records_.size());
}

int BirthsTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant BirthsTableModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
  const BirthRecord& r = records_[static_cast<std::size_t>(index.row())];
  switch (index.column()) {
    case kName:
      return Qs(r.name).trimmed();
    case kDate:
      return Qs(DateText(r));
    case kTime:
      return Qs(TimeText(r));
    case kPlace:
      return Qs(PlaceText(r));
    case kChanged:
      return LocalChanged(r.changed_utc);
    default:
      return {};
  }
}

QVariant BirthsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kTitles[kColumnCount] = {"Name", "Date", "Time", "Place",
                                                    "Last changed"};
  return section >= 0 && section < kColumnCount ? QString::fromLatin1(kTitles[section])
                                                : QVariant();
}

PersonListWindow::PersonListWindow(Store& store, widgets::MessageService& messages,
                                   TextPrompt& prompt, QWidget* parent)
    : QDialog(parent), store_(store), messages_(messages), prompt_(prompt) {
  setObjectName(QStringLiteral("frmPersonList"));
  setWindowTitle(QStringLiteral("Saved Births"));
  BuildLayout();
  Connect();
  Refresh();
  search_->setFocus();
}

std::optional<BirthRecord> PersonListWindow::Choose(Store& store, widgets::MessageService& messages,
                                                    TextPrompt& prompt, QWidget* parent) {
  PersonListWindow window(store, messages, prompt, parent);
  window.exec();
  return window.chosen();
}

void PersonListWindow::BuildLayout() {
  search_ = new QLineEdit(this);
  search_->setObjectName(QStringLiteral("txtSearch"));
  search_->setPlaceholderText(QStringLiteral("Name, place or date"));
  search_->setClearButtonEnabled(true);
  auto* search_label = new QLabel(QStringLiteral("&Search:"), this);
  search_label->setBuddy(search_);

  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("tblBirths"));
  table_->setModel(&model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setTabKeyNavigation(false);  // Tab leaves the table for the buttons
  table_->setSortingEnabled(true);
  table_->sortByColumn(BirthsTableModel::kName, Qt::AscendingOrder);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->horizontalHeader()->setSectionResizeMode(BirthsTableModel::kPlace, QHeaderView::Stretch);
  table_->horizontalHeader()->setSectionResizeMode(BirthsTableModel::kChanged,
                                                   QHeaderView::ResizeToContents);
  table_->setColumnWidth(BirthsTableModel::kName, 200);

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("lblStatus"));

  const auto button = [this](const char* name, const char* text) {
    auto* made = new QPushButton(QString::fromUtf8(text), this);
    made->setObjectName(QString::fromLatin1(name));
    made->setAutoDefault(false);
    return made;
  };
  open_ = button("cmdOpen", "&Open");
  open_->setDefault(true);
  rename_ = button("cmdRename", "&Rename\u2026");
  note_ = button("cmdNote", "&Note\u2026");
  delete_ = button("cmdDelete", "&Delete");
  undo_ = button("cmdUndoDelete", "&Undo delete");
  close_ = button("cmdClose", "&Close");

  auto* search_row = new QHBoxLayout;
  search_row->addWidget(search_label);
  search_row->addWidget(search_);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {open_, rename_, note_, delete_, undo_}) buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(search_row);
  layout->addWidget(table_);
  layout->addWidget(status_);
  layout->addLayout(buttons);
  resize(760, 440);
}

void PersonListWindow::Connect() {
  connect(search_, &QLineEdit::textChanged, this, &PersonListWindow::Refresh);
  connect(table_->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
          [this](int column, Qt::SortOrder order) {
            order_ = {ColumnSort(column), order == Qt::DescendingOrder};
            Refresh();
          });
  connect(table_, &QTableView::doubleClicked, this, &PersonListWindow::OpenSelected);
  connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &PersonListWindow::UpdateButtons);
  connect(open_, &QPushButton::clicked, this, &PersonListWindow::OpenSelected);
  connect(rename_, &QPushButton::clicked, this, &PersonListWindow::RenameSelected);
  connect(note_, &QPushButton::clicked, this, &PersonListWindow::NoteSelected);
  connect(delete_, &QPushButton::clicked, this, &PersonListWindow::DeleteSelected);
  connect(undo_, &QPushButton::clicked, this, &PersonListWindow::UndoDelete);
  connect(close_, &QPushButton::clicked, this, &QDialog::reject);
  auto* delete_key = new QShortcut(QKeySequence::Delete, table_);
  delete_key->setContext(Qt::WidgetShortcut);
  connect(delete_key, &QShortcut::activated, this, &PersonListWindow::DeleteSelected);
  search_->installEventFilter(this);
}

bool PersonListWindow::eventFilter(QObject* watched, QEvent* event) {
  // Down from the search box walks into the list, as in a browser's address bar.
  if (watched == search_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down && model_.rowCount() > 0) {
    table_->setFocus();
    if (!Selected()) SelectRow(0);
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void PersonListWindow::Refresh() {
  const std::optional<BirthRecord> kept = Selected();
  auto found = store_.Search(search_->text().toStdString(), order_, kRowsShown + 1);
  if (!found) {
    ShowError(found.error().message);
    return;
  }
  const bool more = found->size() > static_cast<std::size_t>(kRowsShown);
  if (more) found->resize(kRowsShown);
  const int shown = static_cast<int>(found->size());
  model_.SetRecords(std::move(*found));
  const auto total = store_.Count();
  QString status;
  if (more) {
    status = QStringLiteral("Showing the first %1 births that match; type more to narrow the list.")
                 .arg(kRowsShown);
  } else if (search_->text().trimmed().isEmpty()) {
    status = shown == 1 ? QStringLiteral("1 birth saved.")
                        : QStringLiteral("%1 births saved.").arg(shown);
  } else {
    status = QStringLiteral("%1 of %2 births match.").arg(shown).arg(total ? *total : 0);
  }
  if (store_.read_only()) status += QStringLiteral(" The list is open for reading only.");
  status_->setText(status);
  if (kept) SelectId(kept->id);
  if (!Selected() && shown > 0) SelectRow(0);
  UpdateButtons();
}

std::optional<BirthRecord> PersonListWindow::Selected() const {
  const QModelIndexList rows = table_->selectionModel()->selectedRows();
  if (rows.isEmpty()) return std::nullopt;
  return model_.records()[static_cast<std::size_t>(rows.front().row())];
}

void PersonListWindow::SelectRow(int row) {
  if (row < 0 || row >= model_.rowCount()) return;
  table_->selectRow(row);
  table_->scrollTo(model_.index(row, 0));
}

void PersonListWindow::SelectId(std::int64_t id) {
  const auto& records = model_.records();
  for (std::size_t i = 0; i < records.size(); ++i)
    if (records[i].id == id) return SelectRow(static_cast<int>(i));
}

void PersonListWindow::UpdateButtons() {
  const bool has = Selected().has_value();
  const bool writable = !store_.read_only();
  open_->setEnabled(has);
  rename_->setEnabled(has && writable);
  note_->setEnabled(has && writable);
  delete_->setEnabled(has && writable);
  const auto last = store_.LastDeleted();
  undo_->setEnabled(writable && last && last->has_value());
  undo_->setToolTip(undo_->isEnabled()
                        ? QStringLiteral("Bring back %1").arg(Qs((*last)->name).trimmed())
                        : QString());
}

void PersonListWindow::ShowError(const std::string& message) {
  messages_.Show(this, Qs(message), core::MessageIcon::kError);
}

void PersonListWindow::OpenSelected() {
  const auto record = Selected();
  if (!record) return;
  // Read again: another program may have changed or deleted it since the list was filled.
  auto fresh = store_.Find(record->id);
  if (!fresh || !fresh->has_value()) {
    ShowError(fresh ? "That birth is no longer in the list; it was deleted elsewhere."
                    : fresh.error().message);
    Refresh();
    return;
  }
  chosen_ = std::move(**fresh);
  accept();
}

void PersonListWindow::RenameSelected() {
  const auto record = Selected();
  if (!record) return;
  const auto name = prompt_.Ask(this, QStringLiteral("New name:"), Qs(record->name), false);
  if (!name || *name == Qs(record->name)) return;
  if (auto renamed = store_.Rename(record->id, name->toStdString()); !renamed)
    ShowError(renamed.error().message);
  Refresh();
  SelectId(record->id);
}

void PersonListWindow::NoteSelected() {
  const auto record = Selected();
  if (!record) return;
  const auto note = prompt_.Ask(
      this, QStringLiteral("Note for %1:").arg(Qs(record->name).trimmed()), Qs(record->note), true);
  if (!note || *note == Qs(record->note)) return;
  if (auto noted = store_.SetNote(record->id, note->toStdString()); !noted)
    ShowError(noted.error().message);
  Refresh();
  SelectId(record->id);
}

void PersonListWindow::DeleteSelected() {
  const auto record = Selected();
  if (!record || store_.read_only()) return;
  const int row = table_->selectionModel()->selectedRows().front().row();
  if (auto deleted = store_.Delete(record->id); !deleted) ShowError(deleted.error().message);
  Refresh();
  SelectRow(std::min(row, model_.rowCount() - 1));
  status_->setText(QStringLiteral("Deleted %1. \u201CUndo delete\u201D brings it back.")
                       .arg(Qs(record->name).trimmed()));
  table_->setFocus();
}

void PersonListWindow::UndoDelete() {
  auto restored = store_.UndoDelete();
  if (!restored) {
    ShowError(restored.error().message);
    Refresh();
    return;
  }
  // The restored birth may not match the search; show it anyway by clearing the search.
  if (!search_->text().isEmpty()) search_->clear();
  Refresh();
  SelectId(restored->id);
  table_->setFocus();
}

}  // namespace solvane::store
