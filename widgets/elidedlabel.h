// The label for every text from the analyzer, which may be of any length:
// the panel's own prefix ("SN: ") followed by the analyzer's text, plain or
// as a formula, on one line or a few. It asks its layout for room to show the
// whole text but makes do with its first characters, and ends what does not
// fit with "…", so a long name never pushes or covers the widgets beside it.
// It fits the text again whenever it is shown, resized or given another font;
// a hidden label holds the text whole. Forms use it for every server text.
#pragma once

#include "widgets/textmarkup.h"

#include <QLabel>

class ElidedLabel : public QLabel
{
    Q_OBJECT
    /// How many characters of a longer text the label keeps at least when
    /// room is short (5 unless the form says otherwise).
    Q_PROPERTY(int leastCharacters READ leastCharacters WRITE setLeastCharacters)
    /// How many lines the text may take before it is cut (1 unless the form
    /// says otherwise).
    Q_PROPERTY(int lines READ lines WRITE setLines)

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    /// Shows the analyzer's text after the panel's own prefix: capped (a cut
    /// text is logged whole once), plain or as a formula, and shortened to
    /// the room the label has once it is laid out. Returns false when it is
    /// the text shown already.
    bool setServerText(const QString& prefix, const QString& text,
                       ServerText kind = ServerText::Plain);
    bool setServerText(const QString& text, ServerText kind = ServerText::Plain)
    {
        return setServerText(QString(), text, kind);
    }
    /// The whole text last given, prefix and all, as capped.
    QString fullText() const { return m_prefix + m_text; }
    int leastCharacters() const { return m_leastCharacters; }
    void setLeastCharacters(int characters);
    int lines() const { return m_lines; }
    void setLines(int lines);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fit();
    /// The markup of characters from..to of prefix + text, "…" after them when cut.
    QString markup(int from, int to, bool cut = false) const;
    int textWidth(const QString& markup) const;
    /// Width the label adds around its text: frame, contents margins,
    /// margin and indent, as QLabel lays its text out.
    int overhead() const;

    QString m_prefix;
    QString m_text;
    ServerText m_kind = ServerText::Plain;
    bool m_hasServerText = false;
    int m_leastCharacters = 5;
    int m_lines = 1;
};
