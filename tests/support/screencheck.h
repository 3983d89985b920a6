// Checks on what a window shows, for tests that look at the screen the way
// an operator does: texts cut by their widgets, widgets that leave the window
// or lie on top of one another, and the pixels a chart series draws. Each
// check returns its findings, one line per widget, so that a test can print
// them all at once; an empty list means the screen is sound.
#pragma once

#include <QColor>
#include <QImage>
#include <QStringList>

class QWidget;

namespace TestSupport {

/// "HomeWindow/opmodeGroupBox/speciesLabel": the named ancestors of a widget
/// below its window, for messages.
QString widgetPath(const QWidget* widget);

/// Visible texts that need more room than their widget gives them, measured
/// with the widget's own font (QFontMetrics, or the text layout for rich
/// text): labels (word-wrapped ones by height), push buttons, check boxes and
/// radio buttons against their style's contents rectangle, group box titles
/// and tab texts. A widget that elides on purpose shows the shortened text,
/// which is what is measured.
QStringList cutTexts(const QWidget* root);

/// Visible widgets under root that reach outside the window.
QStringList widgetsOutsideWindow(const QWidget* root);

/// Pairs of visible named widgets under root that lie on top of one another
/// (neither inside the other as a child). Qt's own inner parts ("qt_...")
/// and unnamed widgets are left out.
QStringList overlappingWidgets(const QWidget* root);

/// The contrast ratio of two colours (1 to 21), as the accessibility
/// guidelines measure it, from their relative luminance.
double contrastRatio(const QColor& a, const QColor& b);

/// Texts that read at less than minRatio:1 against what lies behind them, on
/// the window as drawn: every shown, enabled label and button with text (the
/// text's own colour, its most contrasting pixel, against the colour most of
/// each pixel row behind it shows; the worst row counts, so a gradient is
/// judged at its weakest), and the highlight of every shown list and combo
/// box list (one item drawn selected by the list's own delegate and style).
/// Disabled controls are left out, as the guidelines leave them out.
QStringList lowContrastTexts(const QWidget* root, double minRatio = 4.5);

/// All four checks above, each finding prefixed with its kind.
QStringList screenFindings(const QWidget* root);

/// Saves the window as NAME.png with the other screenshots and returns what
/// the checks above find on it (nothing when it is sound).
QStringList lookAt(QWidget* window, const QString& name);

/// Fails the test with what the checks find on the window, saved as NAME.png.
#define LOOKS_SOUND(window, name)                                                                  \
    do {                                                                                           \
        const QStringList findings_ = TestSupport::lookAt(window, name);                           \
        QVERIFY2(findings_.isEmpty(), qPrintable(findings_.join(QLatin1Char('\n'))));              \
    } while (false)

/// The pixels of `drawn` that show `colour` laid over the same pixel of
/// `background` (an image of the same view without what was drawn): each
/// distinguishable channel moved from the background towards the colour by
/// the same share, at least minShare. Counts antialiased and translucent
/// drawing as well as solid.
int pixelsDrawnIn(const QImage& drawn, const QImage& background, const QColor& colour,
                  double minShare = 0.15);

} // namespace TestSupport
