// Texts from the analyzer on the settings screen's labels. Each is capped and
// shown plain, or as a formula with subscript digits (showServerText), and cut
// with "…" to the label's width, on at most the lines the label allows, so
// that a long name never pushes or covers another widget. The whole text is
// kept, and fitted again whenever the label is shown or resized; a hidden
// label holds it whole.
#pragma once

#include "widgets/textmarkup.h"

#include <QHash>
#include <QObject>
#include <QString>

class QLabel;

class ServerLabels : public QObject
{
public:
    explicit ServerLabels(QObject* parent = nullptr);

    /// Shows prefix + text on label; the prefix is the panel's own and never markup.
    void show(QLabel* label, const QString& prefix, const QString& text,
              ServerText kind = ServerText::Plain);
    /// Lets label take up to lines lines (1 by default) before it cuts the text.
    void setLines(QLabel* label, int lines);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry
    {
        QString prefix;
        QString text;
        ServerText kind = ServerText::Plain;
        int lines = 1;
    };
    void fit(QLabel* label, const Entry& entry);
    /// text as it fits in width pixels of font on at most lines lines, cut with
    /// "…" on the last, lines joined by line feeds.
    static QString fitted(const QString& text, const QFont& font, int width, int lines);
    Entry& entryFor(QLabel* label);

    QHash<QLabel*, Entry> m_entries;
};
