// Lists on a touch panel scroll by dragging their contents with a finger (or
// a glove), not only by a scrollbar a few pixels wide.
#pragma once

class QAbstractItemView;

/// Lets the view's contents follow a drag and flick on.
void scrollWithFinger(QAbstractItemView* view);
