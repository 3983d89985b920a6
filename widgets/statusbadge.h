// The status badge on the title bar: the analyzer's NE 107 status class as a
// coloured pill on the title bar's own gradient. It is a button: a tap opens
// the event journal.
#pragma once

#include "widgets/analyzerstatus.h"

#include <QPushButton>

class StatusBadge : public QPushButton
{
    Q_OBJECT

public:
    explicit StatusBadge(QWidget* parent = nullptr);

    AnalyzerStatus::Class statusClass() const { return m_class; }
    /// The pill's colour for a class.
    static QColor classColour(AnalyzerStatus::Class statusClass);
    /// The words shown for a class.
    static QString classText(AnalyzerStatus::Class statusClass);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

public slots:
    void setStatusClass(AnalyzerStatus::Class statusClass);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect pillRect() const;

    AnalyzerStatus::Class m_class = AnalyzerStatus::Failure;
};
