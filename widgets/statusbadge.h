// The status badge on the title bar: the analyzer's NE 107 status class as
// its symbol (shape and colour) beside its name, on a light pill that reads
// from across the room. It is a button, as high as a gloved finger needs: a
// tap opens the event journal.
#pragma once

#include "analyzer/analyzerfacts.h"

#include <QPixmap>
#include <QPushButton>

class StatusBadge : public QPushButton
{
    Q_OBJECT

public:
    /// The least height of the badge: a target for a gloved finger.
    static constexpr int kMinHeight = 34;
    /// The side of the class's symbol on the badge.
    static constexpr int kSymbolSize = 24;

    explicit StatusBadge(QWidget* parent = nullptr);

    Analyzer::StatusClass statusClass() const { return m_class; }
    /// The class's symbol at a size, as the badge and the value area draw it.
    static QPixmap classSymbol(Analyzer::StatusClass statusClass, int size);
    /// The words shown for a class.
    static QString classText(Analyzer::StatusClass statusClass);
    /// Where the symbol is drawn, in the badge's coordinates.
    QRect symbolRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

public slots:
    void setStatusClass(Analyzer::StatusClass statusClass);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect pillRect() const;

    Analyzer::StatusClass m_class = Analyzer::StatusClass::Failure;
};
