// What state the analyzer is in, in the four classes of the NAMUR NE 107
// status signals, from the link, the operating mode and the alarm flags the
// panel last read; checked in this order:
//   failure:                the link lost, or a system alarm other than the
//                           concentration warning;
//   maintenance:            any mode other than measure (or none known yet);
//   out of limits:          user alarm 1 or 2, or the concentration warning;
//   normal:                 otherwise.
// Every change of the link, the mode or an alarm flag goes into the event
// journal.
#pragma once

#include "widgets/alarmflags.h"

#include <QObject>
#include <QString>

class AnalyzerStatus : public QObject
{
    Q_OBJECT

public:
    enum Class
    {
        Failure,
        Maintenance,
        OutOfLimits,
        Normal
    };
    Q_ENUM(Class)

    static constexpr int kMeasureMode = 8;
    static constexpr int kUnknownMode = -1;

    static Class classify(bool linkUp, int mode, AlarmFlags alarms);

    explicit AnalyzerStatus(QObject* parent = nullptr);

    Class statusClass() const { return classify(m_linkUp, m_mode, m_alarms); }
    bool isLinkUp() const { return m_linkUp; }
    int mode() const { return m_mode; }
    AlarmFlags alarms() const { return m_alarms; }

public slots:
    /// The link to server is up or down; the first report sets the state
    /// without a journal entry (the panel has only just started).
    void setLink(bool up, const QString& server);
    void setMode(int mode);
    void setAlarms(AlarmFlags alarms);

signals:
    void changed(AnalyzerStatus::Class statusClass);

private:
    void update(Class before);

    bool m_linkKnown = false;
    bool m_linkUp = false;
    int m_mode = kUnknownMode;
    AlarmFlags m_alarms;
};
