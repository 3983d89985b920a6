// A label for a name from the analyzer, which may be of any length: it asks
// its layout for room to show the whole name but makes do with very little,
// and ends what does not fit with "…", so a long name never pushes the value
// or the unit beside it aside. Forms use it where a server text is shown.
#pragma once

#include "widgets/textmarkup.h"

#include <QLabel>

class ElidedLabel : public QLabel
{
    Q_OBJECT
    /// How many characters of a longer text the label keeps at least when
    /// room is short (5 unless the form says otherwise).
    Q_PROPERTY(int leastCharacters READ leastCharacters WRITE setLeastCharacters)

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    /// Shows text, plain or as a formula (subscriptDigits), shortened to the
    /// room the label has once it is laid out on screen. Returns false when
    /// it is the text shown already.
    bool setServerText(const QString& text, ServerText kind);
    /// The whole text last given to setServerText.
    QString fullText() const { return m_text; }
    int leastCharacters() const { return m_leastCharacters; }
    void setLeastCharacters(int characters);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fit();
    QString markup(const QString& text) const;
    int textWidth(const QString& text) const;
    /// Width the label adds around its text: frame, contents margins,
    /// margin and indent, as QLabel lays its text out.
    int overhead() const;

    QString m_text;
    ServerText m_kind = ServerText::Plain;
    bool m_hasServerText = false;
    int m_leastCharacters = 5;
};
