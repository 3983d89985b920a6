// Rich-text helpers for names that come from the analyzer.
#pragma once

#include <QString>

/// Chemical formula markup: every digit becomes a subscript ("H2O" ->
/// "H<sub>2</sub>O"), except a digit after "^", which stays plain and loses
/// the caret ("m^3" -> "m3"). The text is HTML-escaped first, so a name from
/// the server can never inject markup into a label.
QString subscriptDigits(const QString& text);
