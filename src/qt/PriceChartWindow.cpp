#include "qt/PriceChartWindow.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "qt/PriceChartPainter.h"

namespace pricora {

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

// While the window is open it follows the prices, which the history records once a refresh.
constexpr std::chrono::seconds kRedrawEvery{60};

}  // namespace

PriceChartCanvas::PriceChartCanvas(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setMinimumSize(420, 240);
  setBackgroundRole(QPalette::Base);
}

void PriceChartCanvas::setChart(const PriceChart* chart) {
  chart_ = chart;
  pointed_.reset();
  // Told to a screen reader only when it reads differently, not at every redraw.
  if (chart_ != nullptr && qs(chart_->summary()) != accessibleName()) setAccessibleName(qs(chart_->summary()));
  update();
}

void PriceChartCanvas::point(std::optional<std::size_t> index) {
  if (chart_ == nullptr || chart_->samples().empty()) index.reset();
  if (index == pointed_) return;
  pointed_ = index;
  update();
  if (pointedChanged) pointedChanged();
}

void PriceChartCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (chart_ == nullptr) return;
  paintPriceChart(painter, rect(), *chart_, palette(), pointed_);
  if (hasFocus()) {
    // The arrows work on the plot: a frame in the selection colour says it has the focus.
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(chartPlotArea(rect(), *chart_, font()).adjusted(-2, -2, 2, 2));
  }
}

void PriceChartCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (chart_ == nullptr) return;
  const QRectF plot = chartPlotArea(rect(), *chart_, font());
  const double at = std::clamp((event->position().x() - plot.left()) / plot.width(), 0.0, 1.0);
  const auto span = std::chrono::duration<double>(chart_->now() - chart_->start());
  point(chart_->nearest(chart_->start() + std::chrono::duration_cast<WallTime::duration>(span * at)));
}

void PriceChartCanvas::keyPressEvent(QKeyEvent* event) {
  const std::size_t count = chart_ != nullptr ? chart_->samples().size() : 0;
  if (count == 0) return QWidget::keyPressEvent(event);
  const std::size_t last = count - 1;
  switch (event->key()) {
    case Qt::Key_Left:
      point(pointed_ ? (*pointed_ > 0 ? *pointed_ - 1 : 0) : last);
      break;
    case Qt::Key_Right:
      point(pointed_ ? std::min(*pointed_ + 1, last) : last);
      break;
    case Qt::Key_Home:
      point(0);
      break;
    case Qt::Key_End:
      point(last);
      break;
    default:
      return QWidget::keyPressEvent(event);
  }
}

PriceChartWindow::PriceChartWindow(const PairName& pair, ChartSource source, const Clock& clock,
                                   const LocaleFormat& format, AppHost& host)
    : source_(std::move(source)),
      clock_(clock),
      format_(format),
      host_(host),
      spans_(new QButtonGroup(this)),
      canvas_(new PriceChartCanvas(this)),
      readout_(new QLabel(this)) {
  setWindowTitle(QCoreApplication::translate("PriceChart", "%1 %2 – Pricora").arg(qs(pair.exchange), qs(pair.title)));
  resize(760, 440);

  auto* bar = new QHBoxLayout;
  bar->setSpacing(0);
  const QString names[] = {QCoreApplication::translate("PriceChart", "&24 hours"),
                           QCoreApplication::translate("PriceChart", "&7 days")};
  for (int i = 0; i < 2; ++i) {
    auto* button = new QToolButton(this);
    button->setText(names[i]);
    button->setCheckable(true);
    button->setFocusPolicy(Qt::StrongFocus);
    spans_->addButton(button, i);
    bar->addWidget(button);
  }
  bar->addStretch();
  spans_->button(0)->setChecked(true);
  connect(spans_, &QButtonGroup::idClicked, this,
          [this](int id) { showSpan(id == 0 ? ChartSpan::day : ChartSpan::week); });

  readout_->setTextFormat(Qt::PlainText);
  readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  canvas_->pointedChanged = [this] { showReadout(); };

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(canvas_, 1);
  layout->addWidget(readout_);
  setTabOrder(spans_->button(1), canvas_);

  refresh_.setInterval(std::chrono::duration_cast<std::chrono::milliseconds>(kRedrawEvery));
  connect(&refresh_, &QTimer::timeout, this, [this] {
    if (isVisible()) reload();
  });
  refresh_.start();
}

void PriceChartWindow::showSpan(ChartSpan span) {
  span_ = span;
  spans_->button(span == ChartSpan::day ? 0 : 1)->setChecked(true);
  reload();
}

void PriceChartWindow::reload() {
  const std::optional<std::size_t> pointed = canvas_->pointed();
  const std::optional<WallTime> at = chart_ && pointed ? std::optional(chart_->samples()[*pointed].time) : std::nullopt;
  chart_ = std::make_unique<PriceChart>(source_(span_), span_, clock_.now(), format_, host_);
  canvas_->setChart(chart_.get());
  if (accessibleDescription() != canvas_->accessibleName()) setAccessibleDescription(canvas_->accessibleName());
  // The read-out stays on the same price across a redraw, where that price is still shown.
  if (at) canvas_->point(chart_->nearest(*at));
  showReadout();
}

void PriceChartWindow::showReadout() {
  const std::optional<std::size_t> pointed = canvas_->pointed();
  readout_->setText(chart_ && pointed ? qs(chart_->readout(*pointed))
                                      : QCoreApplication::translate("PriceChart", "Point at the line to read a price"));
  // The plot has the focus while the arrows move the read-out: a screen reader follows the
  // focused object, so the price read out is the plot's description.
  canvas_->setAccessibleDescription(
      chart_ && pointed
          ? readout_->text()
          : QCoreApplication::translate(
                "PriceChart", "Left and Right move the read-out by one price, Home and End to the first and the last"));
}

void PriceChartWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

PriceChartWindows::PriceChartWindows(HistoryFile& file, const Clock& clock, const LocaleFormat& format, AppHost& host,
                                     std::function<std::optional<double>(const PairName&)> holding)
    : file_(file), clock_(clock), format_(format), host_(host), holding_(std::move(holding)) {}

PriceChartWindows::~PriceChartWindows() = default;

void PriceChartWindows::show(const PairName& pair) {
  auto& window = windows_[pair];
  if (!window) {
    ChartSource source = [this, pair](ChartSpan span) {
      ChartData data{pair, {}, {}, holding_ ? holding_(pair) : std::nullopt};
      const WallTime since =
          clock_.now() - (span == ChartSpan::day ? std::chrono::hours(24) : std::chrono::hours(24 * 7));
      if (auto samples = file_.samples(pair, since)) data.samples = std::move(samples.value());
      if (auto alerts = file_.loadAlerts()) data.alerts = std::move(alerts.value());
      return data;
    };
    window = std::make_unique<PriceChartWindow>(pair, std::move(source), clock_, format_, host_);
    window->showSpan(ChartSpan::day);
  } else {
    window->reload();
  }
  window->show();
  window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  window->raise();
  window->activateWindow();
  window->canvas()->setFocus();
}

PriceChartWindow* PriceChartWindows::window(const PairName& pair) const {
  const auto found = windows_.find(pair);
  return found == windows_.end() ? nullptr : found->second.get();
}

}  // namespace pricora
