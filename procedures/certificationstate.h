// The base of the certification procedure's states and the shared shapes they
// take: a state that shows moving dots while it waits for the analyzer, one
// that supervises a target operating mode, and one that runs a download.
// States are small heap objects: each transition creates the successor, hands
// it to the context and deletes the old state, so a handler must not touch its
// members after a transition (or after a call that may cause one).
//
// No state waits for the analyzer for ever: each one that waits starts the
// context's timeout on entry and again whenever it gets what it waits for,
// and a timeout ends the run with the state's error, which puts the analyzer
// back into service mode.
#pragma once

#include "files/filemanager.h"

#include <QString>

namespace Certification {

class Context;

class State
{
public:
    virtual ~State() = default;

    virtual void onOpmode(Context&, int /*mode*/) {}
    virtual void onSystemAlarm(Context&, bool /*alarm*/) {}
    /// The state has become the current one (after the step that made it
    /// has finished).
    virtual void onEntered(Context&) {}
    virtual void onConnectionLost(Context&) {}
    /// The wait started with Context::startTimeout ran out.
    virtual void onTimeout(Context&) {}
    virtual void onDownloadComplete(Context&, bool /*failed*/) {}
    virtual void onNext(Context&) {}
    virtual void onCancel(Context&) {}
    virtual void onOk(Context&) {}

    static QString lostConnectionText();
    /// base followed by as many full stops as dots (0 to 3), padded with spaces to three.
    static QString progressText(const QString& base, int dots);
    /// base followed by " (h:mm:ss)" of the remaining seconds, hours not wrapped at 24.
    static QString countdownText(const QString& base, qint64 seconds);

protected:
    /// Shows exactly the buttons named.
    static void showButtons(Context& context, bool cancel, bool next, bool ok);
    /// Hands over to next and deletes this state.
    void moveTo(Context& context, State* next);
    /// Ends the procedure on CompleteState with text (empty: success).
    void end(Context& context, const QString& text);
    /// Ends a run that has the analyzer out of its mode on a lost link: the
    /// service mode sent then is lost with the link, so the context sends it
    /// again once the link is back.
    void endOnLostLink(Context& context);
    /// Leaves the procedure for the settings screen.
    void leave(Context& context);
};

/// Waits for the analyzer with moving dots; the text moves once per mode reply.
class ProgressState : public State
{
protected:
    explicit ProgressState(const QString& base) : m_base(base) {}
    /// Shows the text and advances the dots.
    virtual void refresh(Context& context);

    QString m_base;
    int m_dots = 0;
};

/// Holds the analyzer in a target mode: the first reply sends the target,
/// the eleventh consecutive reply in another mode decides. The target not
/// seen within a minute of the write, or a minute without any reply after it
/// was, ends the run.
class SupervisedState : public ProgressState
{
public:
    void onOpmode(Context& context, int mode) override;
    void onSystemAlarm(Context& context, bool alarm) override;
    void onConnectionLost(Context& context) override;
    void onTimeout(Context& context) override { end(context, m_error); }
    void onNext(Context& context) override { leave(context); }
    void onCancel(Context& context) override;
    void onOk(Context& context) override { leave(context); }

protected:
    SupervisedState(Context& context, const QString& base, int target, const QString& error);
    /// The analyzer left the target mode for good, reporting mode; ends with
    /// the error unless a state knows better.
    virtual void leftTarget(Context& context, int mode);
    /// Called after the supervision step of every later reply that did not end the state.
    virtual void supervised(Context&) {}

    int m_target;
    QString m_error;
    int m_unexpected = 0;
    bool m_firstReply = true;
    /// The analyzer has reported the target mode since the write.
    bool m_targetSeen = false;
};

/// Supervises a mode that ends by itself: the analyzer back in service mode
/// moves on, but only once it has been seen in the target mode; a refused
/// write leaves it in service mode, and that is no finished run.
class ScanningState : public SupervisedState
{
protected:
    ScanningState(Context& context, const QString& base, int target, const QString& error);
    void leftTarget(Context& context, int mode) override;
    /// The state that follows a finished run.
    virtual State* next(Context& context) = 0;
};

/// Collects data in a target mode for the configured time, with a countdown.
/// The time counts only once the analyzer has been seen in the target mode:
/// a refused write leaves it where it was, and that is no collection.
class PeakState : public SupervisedState
{
protected:
    PeakState(Context& context, const QString& base, int target, const QString& error);
    void refresh(Context& context) override;
    void supervised(Context& context) override;

    qint64 m_endMs;
};

/// Puts the analyzer into service mode, then downloads one file. The wait for
/// service mode is limited; the transfer has its own popup to cancel it.
class DownloadState : public ProgressState
{
public:
    void onOpmode(Context& context, int mode) override;
    void onConnectionLost(Context& context) override;
    void onTimeout(Context& context) override;
    void onDownloadComplete(Context& context, bool failed) override;
    void onNext(Context& context) override { leave(context); }
    void onCancel(Context& context) override;
    void onOk(Context& context) override { leave(context); }

protected:
    DownloadState(Context& context, const QString& base, FileManager::FileType type,
                  const QString& error);
    virtual State* next(Context& context) = 0;

    FileManager::FileType m_type;
    QString m_error;
    bool m_firstReply = true;
    bool m_downloadStarted = false;
};

} // namespace Certification
