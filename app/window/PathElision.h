// A path shown in a column too narrow for it: the file's name stays whole and as much of
// its folder as fits is kept from both ends, cut in the middle. Only a name that alone does
// not fit is cut itself, also in the middle.
#pragma once
#include <QString>
#include <QStyledItemDelegate>

class QFontMetrics;

QString ElidePath(const QString& path, const QFontMetrics& metrics, int width);

// Draws a column's paths elided as ElidePath does.
class TPathDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
