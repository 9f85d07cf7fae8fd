#include "window/PathElision.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>

QString ElidePath(const QString& path, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(path) <= width) return path;
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  const QString name = path.mid(slash + 1);
  const int nameWidth = metrics.horizontalAdvance(name);
  if (slash < 0 || nameWidth >= width) return metrics.elidedText(name, Qt::ElideMiddle, width);
  const QString folder = metrics.elidedText(path.left(slash + 1), Qt::ElideMiddle, width - nameWidth);
  return folder.isEmpty() ? metrics.elidedText(name, Qt::ElideMiddle, width) : folder + name;
}

void TPathDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  const QWidget* view = option->widget;
  const QStyle* style = view ? view->style() : QApplication::style();
  // The room the style leaves for the text between the cell's own margins.
  const int margin = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
  option->text = ElidePath(option->text, option->fontMetrics, option->rect.width() - margin);
  option->textElideMode = Qt::ElideNone;
}
