// Keeps a value on screen from being read as live when it is not. A value is
// stale while the link to the analyzer is down, before its first reply, and
// once nothing has refreshed it for longer than three poll ticks; it is live
// again with the next reply that refreshes it. While stale its widgets are
// drawn in grey and the marker tells, once a second, how old the value is
// ("12 s ago").
#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QLabel;
class QWidget;

class StaleMarker : public QObject
{
    Q_OBJECT

public:
    /// Three poll ticks of the controller.
    static constexpr int kStaleAfterMs = 3 * 1000;

    explicit StaleMarker(QObject* parent = nullptr);

    /// How long a value stays live without a refresh (tests shorten it).
    void setStaleAfter(int ms);
    int staleAfter() const { return m_staleAfterMs; }
    /// A widget drawn in grey while the value is stale.
    void addWidget(QWidget* widget);
    /// A label that shows the age while the value is stale and nothing while it is live.
    void setAgeLabel(QLabel* label);

    bool isStale() const { return m_stale; }
    /// "12 s ago" while stale (or "no reply yet" before the first one); empty while live.
    QString ageText() const;
    /// The words for a value last refreshed ms ago.
    static QString ageText(qint64 ms);
    /// The colour of stale values.
    static QColor staleColour();

public slots:
    /// A reply has just refreshed the value.
    void markFresh();
    /// The link to the analyzer is up or down.
    void setLinkUp(bool up);

signals:
    void staleChanged(bool stale);
    /// The age text changed (every second while stale; empty when live again).
    void ageTextChanged(const QString& text);

private:
    void reconsider();
    void showAge();

    QList<QPointer<QWidget>> m_widgets;
    QPointer<QLabel> m_ageLabel;
    QElapsedTimer m_sinceFresh;
    QTimer m_expiry;
    QTimer m_ageTick;
    int m_staleAfterMs = kStaleAfterMs;
    bool m_linkUp = true;
    bool m_stale = false;
    bool m_applied = false;
};
