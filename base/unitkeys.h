// The analyzer's unit keys and the labels shown for them, shared by the home
// screen, the trend sources and the trend screens.
#pragma once

#include <QString>

namespace UnitConversion {

inline const QString kVolumeKey = QStringLiteral("volume");
inline const QString kWeightKey = QStringLiteral("weight");
inline const QString kDewPointCKey = QStringLiteral("dewpointc");
inline const QString kDewPointFKey = QStringLiteral("dewpointf");
inline const QString kDewPointKKey = QStringLiteral("dewpointk");

inline const QString kPpbVolumeLabel = QStringLiteral("PPBv");
inline const QString kPpmVolumeLabel = QStringLiteral("PPMv");
inline const QString kPpbWeightLabel = QStringLiteral("PPBw");
inline const QString kPpmWeightLabel = QStringLiteral("PPMw");
inline const QString kCelsiusLabel = QStringLiteral("C");
inline const QString kFahrenheitLabel = QStringLiteral("F");
inline const QString kKelvinLabel = QStringLiteral("K");

} // namespace UnitConversion
