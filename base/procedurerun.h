// Follows one guided procedure for the event journal: a run starts when the
// procedure leaves its first, waiting steps, and ends on its last step, with
// the outcome that step shows. A procedure that ends before it started (the
// operator cancelled at the first step, a link lost while it waited) left
// the analyzer as it was and is not recorded.
#pragma once

#include <QString>

class ProcedureRun
{
public:
    enum Step
    {
        Waiting, ///< a first step, before anything is asked of the analyzer
        Running,
        Ended ///< the last step, showing the outcome
    };

    /// key names the procedure in the journal ("certification", "calibration").
    explicit ProcedureRun(const QString& key) : m_key(key) {}

    bool isRunning() const { return m_running; }
    /// The procedure entered a step of kind step; outcome is the text it shows.
    void stepEntered(Step step, const QString& outcome);

private:
    QString m_key;
    bool m_running = false;
};
