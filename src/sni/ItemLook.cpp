#include "sni/ItemLook.h"

#include <QSet>
#include <QTextDocument>
#include <QtEndian>

#include "core/exchanges/NetworkText.h"
#include "qt/ItemWords.h"

namespace pricora {

namespace {

// Where the Ayatana indicator service would put an item of ours by its category and Id; later
// items go to the right of earlier ones.
constexpr uint kFirstOrderingIndex = 0x80707269;

SniPixmap pixmapOf(const QImage& picture) {
  const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
  SniPixmap pixmap{image.width(), image.height(), {}};
  pixmap.argb.resize(static_cast<qsizetype>(image.width()) * image.height() * 4);
  uchar* out = reinterpret_cast<uchar*>(pixmap.argb.data());
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const quint32*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x, out += 4) qToBigEndian(line[x], out);
  }
  return pixmap;
}

SniPixmaps pixmapsOf(const Pictures& pictures) {
  SniPixmaps pixmaps;
  for (const QImage& picture : pictures) pixmaps.push_back(pixmapOf(picture));
  return pixmaps;
}

// The name a label starts with in that form.
QString labelName(const QString& pair, LabelForm form) {
  return form == LabelForm::Pair ? pair : form == LabelForm::Base ? baseOf(pair) : QString();
}

// A tool tip's title is plain text and its text markup (xfce4-panel escapes the one and shows the
// other as markup), while Plasma takes either for HTML when it looks like HTML. Exchange text in
// them shows as it came: the text always escaped, the title where Plasma would misread it.
QString toolTipTitle(const QString& title) { return Qt::mightBeRichText(title) ? title.toHtmlEscaped() : title; }

QString joined(const QString& name, const QString& price) {
  return name.isEmpty() || price.isEmpty() ? name + price : name + ' ' + price;
}

}  // namespace

LabelForm labelFormFor(const std::vector<ItemSubject>& subjects, const LookOptions& options) {
  if (options.host.labelRoom <= 0) return LabelForm::Pair;
  const double room = static_cast<double>(options.host.labelRoom) * options.screenWidth / 1280.0;
  QSet<QString> bases;
  for (const ItemSubject& subject : subjects)
    bases.insert(QString::fromStdString(subject.exchange) + ' ' + baseOf(QString::fromStdString(subject.pair)));
  for (LabelForm form : {LabelForm::Pair, LabelForm::Base}) {
    if (form == LabelForm::Base && bases.size() < static_cast<qsizetype>(subjects.size())) continue;
    qsizetype characters = 0;
    for (const ItemSubject& subject : subjects) {
      // Prices are cut to the pair's length.
      const QString pair = QString::fromStdString(subject.pair);
      characters += labelName(pair, form).size() + 1 + pair.size();
    }
    if (static_cast<double>(characters) <= room) return form;
  }
  return LabelForm::PriceOnly;
}

ItemLook lookOf(const StatusItem& item, ImageCache& images, const LookOptions& options, LabelForm form, uint index) {
  ItemLook look;
  SniLook& sni = look.sni;
  sni.orderingIndex = kFirstOrderingIndex - 2 * index;
  sni.needsAttention = item.needsAttention();
  const QString toolTip = QString::fromStdString(shownText(item.toolTip()));
  const ItemWords words = wordsOf(item);
  if (words.pair.isEmpty()) {
    // The application's own item keeps its Id, so hosts keep what the user chose for it.
    sni.id = "pricora";
    sni.title = "Pricora";
    sni.toolTip.title = toolTipTitle(toolTip.isEmpty() ? sni.title : toolTip);
    // The holdings' totals under the title, where the price items have their details.
    sni.toolTip.text = QString::fromStdString(shownText(item.holding())).toHtmlEscaped();
    sni.accessibleDesc = toolTip.isEmpty() ? sni.title : applicationToolTipOf(item);
    look.icon = picturesOf(images.icon(item.image()));
    if (!options.appIconThemePath.isEmpty()) {
      sni.iconName = kApplicationIcon;
      sni.iconThemePath = options.appIconThemePath;
    }
  } else {
    const ItemSubject& subject = item.subject();
    // One pair can be shown for several exchanges; hosts keep their settings per Id.
    sni.id = QStringLiteral("pricora-%1-%2").arg(words.exchange, words.pair);
    // Plasma lists items by title: after the application's own, by pair and exchange, which is the
    // order they are made in at start-up.
    sni.title = "Pricora: " + nameOf(words);
    sni.toolTip.title = toolTipTitle(nameOf(words));
    sni.toolTip.text = detailOf(words).toHtmlEscaped();
    if (item.move() && item.move()->recent.size() > 1)
      for (int size : {32, 48, 64}) sni.toolTip.pixmaps.push_back(pixmapOf(sparkline(item.move()->recent, size)));
    sni.accessibleDesc = spokenOf(words);
    if (options.host.drawsLabels) {
      const QString name = labelName(words.pair, form);
      sni.label = name.isEmpty() ? shownOf(words) : joined(name, words.price);
      // Hosts keep the width of the guide, so prices of different lengths do not shift the panel.
      const qsizetype digits = std::max(words.pair.size(), words.price.size());
      sni.labelGuide = joined(name, QString(digits, '0'));
      look.icon = markPictures(subject.colour);
    } else {
      look.icon = pricePictures({shownOf(words), subject.colour});
      if (sni.needsAttention) look.attention = pricePictures({shownOf(words), subject.colour, true});
    }
  }
  sni.pixmaps = pixmapsOf(look.icon);
  if (sni.needsAttention) {
    if (look.attention.empty()) look.attention = withAttentionDot(look.icon);
    sni.attentionPixmaps = pixmapsOf(look.attention);
  }
  return look;
}

}  // namespace pricora
