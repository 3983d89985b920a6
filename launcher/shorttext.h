// Texts the launcher did not write itself (stored names and addresses, what
// an analyzer answers) are shown as plain text and cut short, so a name of
// ten thousand characters cannot fill a message or stall a view's layout.
#pragma once

#include <QString>

/// The most characters of a foreign text the launcher shows.
constexpr int kShortTextLimit = 64;

/// The text cut to kShortTextLimit characters, the last one an ellipsis when
/// it was cut (never in the middle of a surrogate pair).
QString shortText(const QString& text);
