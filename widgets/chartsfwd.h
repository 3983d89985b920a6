// The chart classes the panel draws with, declared by their plain names.
// Qt 5 keeps them in a namespace of their own (QtCharts); Qt 6 keeps them in
// Qt's, so code that includes this header names them the same on both.
#pragma once

#include <QtGlobal>

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
// Qt 5's charts live in their own namespace, which Qt 6 dropped.
#define MARLOMAX_CHARTS_BEGIN namespace QtCharts {
#define MARLOMAX_CHARTS_END }
#else
#define MARLOMAX_CHARTS_BEGIN QT_BEGIN_NAMESPACE
#define MARLOMAX_CHARTS_END QT_END_NAMESPACE
#endif

MARLOMAX_CHARTS_BEGIN
class QAbstractSeries;
class QChart;
class QChartView;
class QDateTimeAxis;
class QLineSeries;
class QScatterSeries;
class QValueAxis;
class QXYSeries;
MARLOMAX_CHARTS_END

#undef MARLOMAX_CHARTS_BEGIN
#undef MARLOMAX_CHARTS_END

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
using namespace QtCharts;
#endif
