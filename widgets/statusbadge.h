// The status badge on the title bar: the analyzer's NE 107 status class as a
// coloured pill on the title bar's own gradient. It is a button: a tap opens
// the event journal.
#pragma once

#include "analyzer/analyzerfacts.h"

#include <QPushButton>

class StatusBadge : public QPushButton
{
    Q_OBJECT

public:
    explicit StatusBadge(QWidget* parent = nullptr);

    Analyzer::StatusClass statusClass() const { return m_class; }
    /// The pill's colour for a class.
    static QColor classColour(Analyzer::StatusClass statusClass);
    /// The words shown for a class.
    static QString classText(Analyzer::StatusClass statusClass);

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
