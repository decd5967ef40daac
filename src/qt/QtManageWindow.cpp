#include "qt/QtManageWindow.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace pricora {

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
  painter->setPen(QColor(0x5a, 0x5d, 0x63));
  painter->drawRoundedRect(QRectF(field).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
  if (index.data().toString().isEmpty() && (option.state & (QStyle::State_MouseOver | QStyle::State_Selected))) {
    painter->setPen(QColor(0x7a, 0x7d, 0x82));
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
      if (role == Qt::ForegroundRole && row.alertsNote.isError) return QColor(0xff, 0x6b, 0x6b);
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
      table_(new QTableView(this)),
      note_(new QLabel(this)),
      field_(new AlertFieldDelegate(table_, QT_TRANSLATE_NOOP("ManageWindow", "e.g. > 11000"))),
      holdingField_(new AlertFieldDelegate(table_, QT_TRANSLATE_NOOP("ManageWindow", "e.g. 0.25"))) {
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

  table_->setModel(&model_);
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
  setTabOrder(segments_->buttons().isEmpty() ? static_cast<QWidget*>(this) : segments_->buttons().last(), table_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(table_);
  layout->addWidget(note_);
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
  note_->setStyleSheet(isError ? QStringLiteral("color: #d03030;") : QString());
  note_->setVisible(!note.isEmpty());
}

void QtManageWindow::makeKeyAndOrderFront() {
  reloadData();
  show();
  setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  raise();
  activateWindow();
  table_->setFocus();
}

void QtManageWindow::setDarkTableAppearance() {
  // A palette rather than a style sheet, so the style still draws its own check boxes: light
  // marks and rims on the dark rows.
  QPalette dark = table_->palette();
  dark.setColor(QPalette::Base, QColor(0x1e, 0x1f, 0x22));
  dark.setColor(QPalette::AlternateBase, QColor(0x26, 0x27, 0x2b));
  dark.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
  dark.setColor(QPalette::WindowText, QColor(0xe8, 0xe8, 0xe8));
  dark.setColor(QPalette::Window, QColor(0x9a, 0x9d, 0xa3));
  dark.setColor(QPalette::Button, QColor(0x2b, 0x2d, 0x31));
  dark.setColor(QPalette::ButtonText, QColor(0xd0, 0xd0, 0xd0));
  dark.setColor(QPalette::Highlight, QColor(0x3d, 0x5a, 0x80));
  dark.setColor(QPalette::HighlightedText, Qt::white);
  table_->setPalette(dark);
  table_->setAlternatingRowColors(true);
  table_->horizontalHeader()->setStyleSheet(
      QStringLiteral("QHeaderView::section { background: #2b2d31; color: #c8c8c8; border: none; padding: 4px; }"));
}

void QtManageWindow::setFloating() { setWindowFlag(Qt::WindowStaysOnTopHint, true); }

}  // namespace pricora
