#include "widgets/fingerscroll.h"

#include <QAbstractItemView>
#include <QScroller>

void scrollWithFinger(QAbstractItemView* view)
{
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // A touch panel hands taps on as mouse presses; the gesture reads those.
    QScroller::grabGesture(view->viewport(), QScroller::LeftMouseButtonGesture);
    QScroller* scroller = QScroller::scroller(view->viewport());
    QScrollerProperties properties = scroller->scrollerProperties();
    // A tap reaches the list at once: an item tapped opens without a wait.
    properties.setScrollMetric(QScrollerProperties::MousePressEventDelay, 0);
    // Content stops at its ends rather than springing past them.
    properties.setScrollMetric(QScrollerProperties::OvershootDragResistanceFactor, 0);
    properties.setScrollMetric(QScrollerProperties::OvershootScrollDistanceFactor, 0);
    scroller->setScrollerProperties(properties);
}
