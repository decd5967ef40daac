#include "qt/QtManageWindow.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace pricora {

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
  if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= rowCount() || index.column() == Pair)
    return false;
  ManageRow& row = rows_[static_cast<std::size_t>(index.row())];
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
    default:
      return {};
  }
}

QtManageWindow::QtManageWindow(const std::vector<std::string>& exchangeNames)
    : segments_(new QButtonGroup(this)), table_(new QTableView(this)) {
  setWindowTitle(QCoreApplication::translate("ManageWindow", "Manage Pricora"));
  setAccessibleName(QCoreApplication::translate("ManageWindow", "Manage pairs"));
  resize(420, 520);

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
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setSectionResizeMode(ManageTableModel::Pair, QHeaderView::Stretch);
  table_->horizontalHeader()->setSectionResizeMode(ManageTableModel::Favourite, QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setSectionResizeMode(ManageTableModel::MenuBar, QHeaderView::ResizeToContents);
  setTabOrder(segments_->buttons().isEmpty() ? static_cast<QWidget*>(this) : segments_->buttons().last(), table_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(table_);
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

void QtManageWindow::reloadData() { model_.reload(delegate_); }

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
