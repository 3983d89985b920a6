// Shows names that come from the analyzer on labels (the texts themselves
// are made safe in base/servertext.h).
#pragma once

#include "base/servertext.h"

#include <QString>

class QLabel;

enum class ServerText
{
    Plain,
    Formula
};

/// Shows a text from the analyzer on a label: capped (capServerText), then shown
/// plain or as a formula (subscriptDigits), shortened with "…" to its room on
/// an ElidedLabel. A capped text is logged whole when it first reaches the
/// label, so the log keeps what the label cannot show.
void showServerText(QLabel* label, const QString& text, ServerText kind = ServerText::Plain);
