// Rich-text helpers for names that come from the analyzer.
#pragma once

#include <QString>

class QLabel;

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

enum class ServerText
{
    Plain,
    Formula
};

/// Shows a text from the analyzer on a label: capped as above, then shown
/// plain or as a formula (subscriptDigits), shortened with "…" to its room on
/// an ElidedLabel. A capped text is logged whole when it first reaches the
/// label, so the log keeps what the label cannot show.
void showServerText(QLabel* label, const QString& text, ServerText kind = ServerText::Plain);
