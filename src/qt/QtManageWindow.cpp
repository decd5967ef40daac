#include "qt/QtManageWindow.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace pricora {

namespace {

// Between two of the palette's colours: the theme's own contrast, weakened.
QColor blend(QColor from, QColor to, double amount) {
  return QColor::fromRgbF(static_cast<float>(from.redF() + (to.redF() - from.redF()) * amount),
                          static_cast<float>(from.greenF() + (to.greenF() - from.greenF()) * amount),
                          static_cast<float>(from.blueF() + (to.blueF() - from.blueF()) * amount));
}

// A red that reads on the palette's fields, light or dark.
QColor errorColour(const QPalette& palette) {
  return palette.color(QPalette::Base).lightnessF() > 0.5 ? QColor(0xc0, 0x1c, 0x28) : QColor(0xff, 0x7b, 0x72);
}

}  // namespace

void ManageFilter::setText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  invalidateFilter();
}

bool ManageFilter::filterAcceptsRow(int row, const QModelIndex& parent) const {
  const QString wanted = text_.trimmed();
  if (wanted.isEmpty()) return true;
  const QString title = sourceModel()->index(row, ManageTableModel::Pair, parent).data().toString();
  return title.contains(wanted, Qt::CaseInsensitive) ||
         (exchange_ && exchange_().contains(wanted, Qt::CaseInsensitive));
}

AlertFieldDelegate::AlertFieldDelegate(QTableView* table, const char* example)
    : QStyledItemDelegate(table), example_(example) {}

QWidget* AlertFieldDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
  editing_ = true;
  return QStyledItemDelegate::createEditor(parent, option, index);
}

void AlertFieldDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
  editing_ = false;
  QStyledItemDelegate::destroyEditor(editor, index);
}

void AlertFieldDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyledItemDelegate::paint(painter, option, index);
  const QRect field = option.rect.adjusted(2, 3, -3, -3);
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing);
  const QPalette& palette = option.palette;
  painter->setPen(blend(palette.color(QPalette::Base), palette.color(QPalette::Text), 0.4));
  painter->drawRoundedRect(QRectF(field).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
  if (index.data().toString().isEmpty() && (option.state & (QStyle::State_MouseOver | QStyle::State_Selected))) {
    painter->setPen(palette.color(QPalette::PlaceholderText));
    painter->drawText(field.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                      QCoreApplication::translate("ManageWindow", example_));
  }
  painter->restore();
}

void ManageTableModel::reload(ManageWindowDelegate* delegate) {
  beginResetModel();
  rows_.clear();
  if (delegate != nullptr) {
    const std::size_t count = delegate->numberOfRows();
    rows_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) rows_.push_back(delegate->row(i));
  }
  endResetModel();
}

int ManageTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ManageTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant ManageTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const ManageRow& row = rows_[static_cast<std::size_t>(index.row())];
  const QString title = QString::fromStdString(row.title);
  switch (index.column()) {
    case Pair:
      if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return title;
      break;
    case Favourite:
      if (role == Qt::CheckStateRole) return row.isFavourite ? Qt::Checked : Qt::Unchecked;
      if (role == Qt::AccessibleTextRole)
        return row.isFavourite ? QCoreApplication::translate("ManageWindow", "%1: favourite").arg(title)
                               : QCoreApplication::translate("ManageWindow", "%1: not a favourite").arg(title);
      if (role == Qt::ToolTipRole)
        return QCoreApplication::translate("ManageWindow", "List %1 among the favourites").arg(title);
      break;
    case Alert: {
      const QString alerts = QString::fromStdString(row.alerts);
      const QString note = QString::fromStdString(row.alertsNote.text);
      if (role == Qt::DisplayRole || role == Qt::EditRole) return alerts;
      if (role == Qt::ForegroundRole && row.alertsNote.isError) return errorColour(QGuiApplication::palette());
      if (role == Qt::AccessibleTextRole)
        return QCoreApplication::translate("ManageWindow", "%1: alerts %2").arg(title, alerts);
      if (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole)
        return !note.isEmpty() ? note
                               : QCoreApplication::translate("ManageWindow",
                                                             "Alerts for %1: > 11000 or < 9500 for a level, +5% 1h or "
                                                             "-5% 1h for a move, \"once\" after one to fire it once; "
                                                             "several separated by ;")
                                     .arg(title);
      break;
    }
    case Holding: {
      const QString holding = QString::fromStdString(row.holding);
      const QString note = QString::fromStdString(row.holdingNote.text);
      if (role == Qt::DisplayRole || role == Qt::EditRole) return holding;
      if (role == Qt::ForegroundRole && row.holdingNote.isError) return QColor(0xff, 0x6b, 0x6b);
      if (role == Qt::AccessibleTextRole)
        return QCoreApplication::translate("ManageWindow", "%1: holding %2").arg(title, holding);
      if (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole)
        return !note.isEmpty()
                   ? note
                   : QCoreApplication::translate("ManageWindow",
                                                 "How much of %1 you own, up to 8 decimals; its worth shows "
                                                 "in the tray's tool tips. Empty or 0 for none")
                         .arg(title);
      break;
    }
    case MenuBar:
      if (role == Qt::CheckStateRole) return row.showInMenubar ? Qt::Checked : Qt::Unchecked;
      if (role == Qt::AccessibleTextRole)
        return row.showInMenubar
                   ? QCoreApplication::translate("ManageWindow", "%1: shown in the menu bar").arg(title)
                   : QCoreApplication::translate("ManageWindow", "%1: not shown in the menu bar").arg(title);
      if (role == Qt::ToolTipRole)
        return QCoreApplication::translate("ManageWindow", "Show the price of %1 in the tray").arg(title);
      break;
    default:
      break;
  }
  return {};
}

bool ManageTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.row() >= rowCount()) return false;
  ManageRow& row = rows_[static_cast<std::size_t>(index.row())];
  if (index.column() == Alert && role == Qt::EditRole) {
    const std::string text = value.toString().toStdString();
    if (text == row.alerts && !row.alertsNote.isError) return true;
    row.alerts = text;
    Q_EMIT dataChanged(index, index);
    if (delegate_ != nullptr) delegate_->alertsChanged(row.id, text, row.alertIds);
    return true;
  }
  if (index.column() == Holding && role == Qt::EditRole) {
    const std::string text = value.toString().trimmed().toStdString();
    if (text == row.holding && !row.holdingNote.isError) return true;
    row.holding = text;
    Q_EMIT dataChanged(index, index);
    if (delegate_ != nullptr) delegate_->holdingChanged(row.id, text);
    return true;
  }
  if (role != Qt::CheckStateRole || (index.column() != Favourite && index.column() != MenuBar)) return false;
  const bool on = value.toInt() == Qt::Checked;
  // The box shows its new state first; then the record gets the flag and the action runs.
  (index.column() == Favourite ? row.isFavourite : row.showInMenubar) = on;
  Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
  if (delegate_ != nullptr) {
    const std::uint64_t id = row.id;
    if (index.column() == Favourite)
      delegate_->favouriteChanged(id, on);
    else
      delegate_->showInMenubarChanged(id, on);
  }
  return true;
}

Qt::ItemFlags ManageTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  const Qt::ItemFlags base = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == Alert || index.column() == Holding) return base | Qt::ItemIsEditable;
  return index.column() == Pair ? base : base | Qt::ItemIsUserCheckable;
}

QVariant ManageTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case Pair:
      return QCoreApplication::translate("ManageWindow", "Pair");
    case Favourite:
      return QCoreApplication::translate("ManageWindow", "Favourite");
    case MenuBar:
      return QCoreApplication::translate("ManageWindow", "Menu bar");
    case Alert:
      return QCoreApplication::translate("ManageWindow", "Alert");
    case Holding:
      return QCoreApplication::translate("ManageWindow", "Holding");
    default:
      return {};
  }
}

QString ManageTableModel::note(bool* isError) const {
  for (const ManageRow& row : rows_)
    for (const ManageNote* note : {&row.alertsNote, &row.holdingNote})
      if (!note->text.empty()) {
        *isError = note->isError;
        const QString title = QString::fromStdString(row.title), text = QString::fromStdString(note->text);
        return text.startsWith(title + " ") ? text : title + ": " + text;
      }
  return {};
}

QtManageWindow::QtManageWindow(const std::vector<std::string>& exchangeNames)
    : segments_(new QButtonGroup(this)),
      filter_(new QLineEdit(this)),
      table_(new QTableView(this)),
      note_(new QLabel(this)),
      field_(new AlertFieldDelegate(table_, QT_TRANSLATE_NOOP("ManageWindow", "e.g. > 11000"))),
      holdingField_(new AlertFieldDelegate(table_, QT_TRANSLATE_NOOP("ManageWindow", "e.g. 0.25"))),
      filtered_([this] { return QString::fromStdString(selectedSegmentLabel().value_or("")); }) {
  setWindowTitle(QCoreApplication::translate("ManageWindow", "Manage Pricora"));
  setAccessibleName(QCoreApplication::translate("ManageWindow", "Manage pairs"));
  resize(670, 520);

  auto* bar = new QHBoxLayout;
  bar->setSpacing(0);
  segments_->setExclusive(true);
  for (std::size_t i = 0; i < exchangeNames.size(); ++i) {
    auto* button = new QToolButton(this);
    button->setText(QString::fromStdString(exchangeNames[i]));
    button->setCheckable(true);
    button->setAccessibleName(QCoreApplication::translate("ManageWindow", "Show the pairs of %1").arg(button->text()));
    button->setFocusPolicy(Qt::StrongFocus);
    segments_->addButton(button, static_cast<int>(i));
    bar->addWidget(button);
  }
  if (QAbstractButton* first = segments_->button(0)) first->setChecked(true);
  connect(segments_, &QButtonGroup::idClicked, this, [this] {
    if (delegate_ != nullptr) delegate_->selectedExchangeChanged();
  });

  filter_->setPlaceholderText(QCoreApplication::translate("ManageWindow", "Filter pairs (Ctrl+F)"));
  filter_->setAccessibleName(QCoreApplication::translate("ManageWindow", "Filter the pairs"));
  filter_->setClearButtonEnabled(true);
  filter_->installEventFilter(this);
  connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) { filtered_.setText(text); });
  auto* find = new QShortcut(QKeySequence::Find, this);
  connect(find, &QShortcut::activated, this, [this] {
    filter_->setFocus(Qt::ShortcutFocusReason);
    filter_->selectAll();
  });

  filtered_.setSourceModel(&model_);
  table_->setModel(&filtered_);
  table_->setAccessibleName(QCoreApplication::translate("ManageWindow", "Pairs of the selected exchange"));
  table_->setSelectionBehavior(QAbstractItemView::SelectItems);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  // Only the Alert and Holding columns are editable: typing, F2, a double click or a click on its selected cell.
  table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setSectionResizeMode(ManageTableModel::Pair, QHeaderView::Stretch);
  table_->horizontalHeader()->setSectionResizeMode(ManageTableModel::Favourite, QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setSectionResizeMode(ManageTableModel::MenuBar, QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setSectionResizeMode(ManageTableModel::Alert, QHeaderView::Interactive);
  table_->setColumnWidth(ManageTableModel::Alert, 170);
  table_->horizontalHeader()->setSectionResizeMode(ManageTableModel::Holding, QHeaderView::Interactive);
  table_->setColumnWidth(ManageTableModel::Holding, 110);
  table_->setItemDelegateForColumn(ManageTableModel::Alert, field_);
  table_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(table_, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
    QModelIndex index = table_->indexAt(at);
    if (!index.isValid()) index = table_->currentIndex();
    if (!index.isValid() || !showChart_) return;
    QMenu menu(this);
    menu.addAction(QCoreApplication::translate("ManageWindow", "Show Chart…"), this,
                   [this, index] { showChartOf(index); });
    menu.exec(table_->viewport()->mapToGlobal(table_->visualRect(index).center()));
  });
  connect(table_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.column() == ManageTableModel::Pair) showChartOf(index);
  });
  table_->setItemDelegateForColumn(ManageTableModel::Holding, holdingField_);
  for (AlertFieldDelegate* field : {field_, holdingField_})
    connect(
        field, &QAbstractItemDelegate::closeEditor, this,
        [this] {
          if (reloadWaiting_) reloadData();
        },
        Qt::QueuedConnection);
  note_->setWordWrap(true);
  note_->setTextFormat(Qt::PlainText);
  note_->hide();
  setTabOrder(segments_->buttons().isEmpty() ? static_cast<QWidget*>(this) : segments_->buttons().last(), filter_);
  setTabOrder(filter_, table_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(filter_);
  layout->addWidget(table_);
  layout->addWidget(note_);
  followPalette();
}

void QtManageWindow::setDelegate(ManageWindowDelegate* delegate) {
  delegate_ = delegate;
  model_.setDelegate(delegate);
}

std::optional<std::string> QtManageWindow::selectedSegmentLabel() const {
  const QAbstractButton* checked = segments_->checkedButton();
  if (checked == nullptr || checked->text().isEmpty()) return std::nullopt;
  return checked->text().toStdString();
}

void QtManageWindow::reloadData() {
  // A refresh must not close the field the user is typing in: the reload waits for it to close.
  if (field_->editing() || holdingField_->editing()) {
    reloadWaiting_ = true;
    return;
  }
  reloadWaiting_ = false;
  model_.reload(delegate_);
  bool isError = false;
  const QString note = model_.note(&isError);
  note_->setText(note);
  QPalette palette = QGuiApplication::palette();
  if (isError) palette.setColor(QPalette::WindowText, errorColour(palette));
  note_->setPalette(palette);
  note_->setVisible(!note.isEmpty());
}

void QtManageWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange) followPalette();
  QWidget::changeEvent(event);
}

void QtManageWindow::followPalette() {
  // Fusion draws a check box's rim in the Window colour, darkened: on a dark theme's rows it
  // vanishes, on a light theme's alternate rows it fades. The table alone gets a Window colour
  // between its rows' and their text's, which keeps the rims in sight in either.
  const QPalette theme = palette();
  QPalette table = theme;
  table.setColor(QPalette::Window, blend(theme.color(QPalette::Base), theme.color(QPalette::Text), 0.5));
  table_->setPalette(table);
}

bool QtManageWindow::eventFilter(QObject* watched, QEvent* event) {
  // Esc in a filter with text clears it; in an empty one it does what Esc does elsewhere.
  if (watched == filter_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !filter_->text().isEmpty()) {
    filter_->clear();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void QtManageWindow::showChartOf(const QModelIndex& index) {
  const std::optional<std::string> exchange = selectedSegmentLabel();
  if (!showChart_ || !exchange || !index.isValid()) return;
  showChart_(*exchange, index.siblingAtColumn(ManageTableModel::Pair).data().toString().toStdString());
}

void QtManageWindow::fitWidth() {
  QHeaderView* header = table_->horizontalHeader();
  int columns = 0;
  for (int column = 0; column < header->count(); ++column)
    columns += std::max(
        {static_cast<QAbstractItemView*>(table_)->sizeHintForColumn(column), header->sectionSizeHint(column),
         column == ManageTableModel::Alert || column == ManageTableModel::Holding ? table_->columnWidth(column) : 0});
  const QMargins margins = layout()->contentsMargins();
  const int tableWidth = columns + table_->verticalScrollBar()->sizeHint().width() + 2 * table_->frameWidth();
  const int wanted = std::max(tableWidth, layout()->itemAt(0)->sizeHint().width()) + margins.left() + margins.right();
  resize(wanted, height());
}

void QtManageWindow::makeKeyAndOrderFront() {
  reloadData();
  if (!std::exchange(fitted_, true)) fitWidth();
  show();
  setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  raise();
  activateWindow();
  table_->setFocus();
}

void QtManageWindow::setDarkTableAppearance() {
  // The desktop's palette, light or dark, for the whole window: a table of fixed dark colours
  // inside a light window left the style's check boxes and field frames without contrast.
  // Alternate rows keep long tables readable in either.
  table_->setAlternatingRowColors(true);
}

void QtManageWindow::setFloating() { setWindowFlag(Qt::WindowStaysOnTopHint, true); }

}  // namespace pricora
