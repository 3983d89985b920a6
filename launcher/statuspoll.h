// One round of questions to one analyzer: the read-only requests the panel's
// home screen also makes (mode, concentration, species, unit, alarm flags),
// sent as one batch, and the replies matched back to them by id alone.
#pragma once

#include "analyzer/response.h"
#include "launcher/probestatus.h"

#include <QByteArray>
#include <QStringList>
#include <QVector>

class StatusPoll
{
public:
    /// The methods asked on every poll, in the order they are sent.
    static const QStringList& methods();

    /// Opens a poll whose requests carry the ids firstId, firstId + 1, ...;
    /// returns the batch as one compact JSON text (no line feed).
    QByteArray start(int firstId);
    /// Takes a reply. False when it answers no open request of this poll:
    /// another id (an earlier poll's, a made-up one) or a repeat.
    bool take(const Analyzer::Response& reply);
    bool isComplete() const { return m_open == 0 && !m_replies.isEmpty(); }

    /// Writes the answered values into status; the link and the times are
    /// the caller's.
    void applyTo(ProbeStatus& status) const;

private:
    int m_firstId = 0;
    QVector<Analyzer::Response> m_replies;
    QVector<bool> m_answered;
    int m_open = 0;
};
