// Texts that come from the analyzer, as labels show them: capped and logged
// whole, marked up as a formula or left plain, and measured out to a room.
// Text in, text out: the label (ElidedLabel) calls these, never the reverse;
// the texts themselves are made safe in base/servertext.h.
#pragma once

#include "base/servertext.h"

#include <QString>
#include <QVector>
#include <functional>

class QFont;

enum class ServerText
{
    Plain,
    Formula
};

/// text capped (capServerText); a text that had to be cut is logged whole,
/// naming where it was going, so the log keeps what the screen cannot show.
QString capServerTextLogged(const QString& text, const QString& where);

/// What a label shows for the panel's own prefix followed by the analyzer's
/// text: plain as it is, or as a formula, the prefix escaped and the text
/// through subscriptDigits, so neither is ever read as markup.
QString serverTextMarkup(const QString& prefix, const QString& text, ServerText kind);

/// How many of text's first length characters stay before an ellipsis: never
/// half a surrogate pair, and no space left in front of the "…".
int elidedLength(const QString& text, int length);

/// The greatest length in 0..most for which fits(length) holds, fits being
/// true up to some length and false after it (0 when it never holds).
int longestFitting(int most, const std::function<bool(int)>& fits);

/// Where each line of text starts when it is wrapped to width pixels of font
/// at word boundaries (anywhere in a word longer than the width), for at most
/// lines lines; the last line holds the rest, however long.
QVector<int> lineStarts(const QString& text, const QFont& font, int width, int lines);
