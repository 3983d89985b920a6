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

/// A text from the analyzer cut to kServerTextLimit characters, with an
/// ellipsis when it was cut (never in the middle of a surrogate pair).
QString capServerText(const QString& text);
