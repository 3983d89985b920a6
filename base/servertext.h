// Texts that come from the analyzer, made safe to show and to keep: capped
// in length, and chemical formulas marked up without letting the server
// inject markup of its own.
#pragma once

#include <QString>

/// Chemical formula markup: every digit becomes a subscript ("H2O" ->
/// "H<sub>2</sub>O"), except a digit after "^", which stays plain and loses
/// the caret ("m^3" -> "m3"). The text is HTML-escaped first, so a name from
/// the server can never inject markup into a label.
QString subscriptDigits(const QString& text);

/// The most characters of a text from the analyzer that a label shows. A
/// name of a million characters would stall the panel for seconds while the
/// label lays it out.
constexpr int kServerTextLimit = 300;

/// text whole when it has at most most characters, else its first most - 1
/// characters and an ellipsis (one fewer where the cut would split a
/// surrogate pair). The one rule by which both programs cut a foreign text
/// to a number of characters.
QString cutText(const QString& text, int most);

/// A text from the analyzer cut to kServerTextLimit characters and an
/// ellipsis (cutText).
QString capServerText(const QString& text);
