// The chart classes the panel draws with, declared by their plain names.
// Qt 5 keeps them in a namespace of their own (QtCharts); Qt 6 keeps them in
// Qt's, so code that includes this header names them the same on both.
#pragma once

#include <QtGlobal>

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
// Qt 5's charts live in their own namespace, which Qt 6 dropped.
namespace QtCharts {
#else
QT_BEGIN_NAMESPACE
#endif
class QAbstractSeries;
class QChart;
class QChartView;
class QDateTimeAxis;
class QLineSeries;
class QScatterSeries;
class QValueAxis;
class QXYSeries;
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
} // namespace QtCharts
using namespace QtCharts;
#else
QT_END_NAMESPACE
#endif
