#include "window/MainLayout.h"

#include <QWidget>
#include <algorithm>

namespace {

constexpr int kMinListWidth = 580;  // the about button stays clear of the run buttons
constexpr int kMinListHeight = 80;

QRect Widened(QRect place, int grow, int minimum) {
  place.setWidth(std::max(minimum, place.width() + grow));
  return place;
}

}  // namespace

void PlaceMainControls(const TMainControls& controls, QSize grow) {
  const int dx = std::max(grow.width(), kMinListWidth - ListView1Place.width());
  controls.Label6->setGeometry(Widened(Label6Place, dx, kMinListWidth));
  QRect list = Widened(ListView1Place, dx, kMinListWidth);
  list.setHeight(std::max(kMinListHeight, ListView1Place.height() + grow.height()));
  controls.ListView1->setGeometry(list);
  controls.RzButton4->setGeometry(RzButton4Place.translated(dx, 0));
  controls.RzButton5->setGeometry(RzButton5Place.translated(dx, 0));
}
