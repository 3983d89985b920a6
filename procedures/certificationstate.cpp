#include "procedures/certificationstate.h"

#include "analyzer/analyzerfacts.h"
#include "procedures/certificationcontext.h"
#include "procedures/certificationstates.h"

#include <QCoreApplication>
#include <QDateTime>

namespace Certification {

namespace {
/// Replies in another mode that are tolerated before the state decides.
constexpr int kToleratedReplies = 10;
constexpr int kMaxDots = 3;
} // namespace

QString State::lostConnectionText()
{
    return QCoreApplication::translate("Certification", "ERROR: Lost connection to analyzer");
}

QString State::progressText(const QString& base, int dots)
{
    const QString stops(dots, QLatin1Char('.'));
    return base + stops.leftJustified(kMaxDots, QLatin1Char(' '));
}

QString State::countdownText(const QString& base, qint64 seconds)
{
    seconds = qMax<qint64>(0, seconds);
    return base + QStringLiteral(" (%1:%2:%3)")
                      .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                      .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
                      .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void State::showButtons(Context& context, bool cancel, bool next, bool ok)
{
    context.hideCancelButton(!cancel);
    context.hideNextButton(!next);
    context.hideOkButton(!ok);
}

void State::moveTo(Context& context, State* next)
{
    context.setState(next);
    delete this;
}

void State::end(Context& context, const QString& text)
{
    moveTo(context, new CompleteState(context, text));
}

void State::endOnLostLink(Context& context)
{
    context.restoreServiceModeOnReconnect();
    end(context, lostConnectionText());
}

void State::leave(Context& context)
{
    moveTo(context, nullptr);
}

void ProgressState::refresh(Context& context)
{
    context.setStatusText(progressText(m_base, m_dots));
    m_dots = (m_dots + 1) % (kMaxDots + 1);
}

SupervisedState::SupervisedState(Context& context, const QString& base, int target,
                                 const QString& error)
    : ProgressState(base), m_target(target), m_error(error)
{
    showButtons(context, true, false, false);
    context.startTimeout();
}

void SupervisedState::onOpmode(Context& context, int mode)
{
    refresh(context);
    if (m_firstReply) {
        // This reply tells the mode from before the change; it proves nothing.
        m_firstReply = false;
        context.setOpmode(m_target);
        context.startTimeout();
        return;
    }
    // Until the analyzer shows the target, the wait runs from the write; once
    // it has, each reply counts towards a decision, and only silence is timed.
    if (mode == m_target)
        m_targetSeen = true;
    if (m_targetSeen)
        context.startTimeout();
    if (mode == m_target) {
        m_unexpected = 0;
    } else if (++m_unexpected > kToleratedReplies) {
        leftTarget(context, mode);
        return;
    }
    supervised(context);
}

void SupervisedState::leftTarget(Context& context, int)
{
    end(context, m_error);
}

void SupervisedState::onSystemAlarm(Context& context, bool alarm)
{
    if (alarm)
        end(context, QCoreApplication::translate("Certification", "ERROR: System alarm detected"));
}

void SupervisedState::onConnectionLost(Context& context)
{
    endOnLostLink(context);
}

void SupervisedState::onCancel(Context& context)
{
    context.setOpmode(Analyzer::ServiceMode);
    leave(context);
}

ScanningState::ScanningState(Context& context, const QString& base, int target,
                             const QString& error)
    : SupervisedState(context, base, target, error)
{
    refresh(context);
}

void ScanningState::leftTarget(Context& context, int mode)
{
    // A finished run puts the analyzer back into service mode by itself. Before
    // the target was seen, service mode is where a refused (or slow) write
    // leaves it: the timeout decides then.
    if (mode != Analyzer::ServiceMode)
        end(context, m_error);
    else if (m_targetSeen)
        moveTo(context, next(context));
}

PeakState::PeakState(Context& context, const QString& base, int target, const QString& error)
    : SupervisedState(context, base, target, error),
      m_endMs(QDateTime::currentMSecsSinceEpoch() +
              qint64(qMax(0, context.collectionTime())) * 1000)
{
    // The end time is set before the first display, so the countdown starts
    // at the whole collection time rather than at zero.
    refresh(context);
}

void PeakState::refresh(Context& context)
{
    const qint64 remainingMs = m_endMs - QDateTime::currentMSecsSinceEpoch();
    // Rounded up: the label reads zero only when the time is over.
    context.setStatusText(countdownText(m_base, (remainingMs + 999) / 1000));
}

void PeakState::supervised(Context& context)
{
    if (m_targetSeen && QDateTime::currentMSecsSinceEpoch() >= m_endMs)
        moveTo(context, new CavityScanState(context));
}

DownloadState::DownloadState(Context& context, const QString& base, FileManager::FileType type,
                             const QString& error)
    : ProgressState(base), m_type(type), m_error(error)
{
    showButtons(context, false, false, false);
    refresh(context);
    context.startTimeout();
}

void DownloadState::onOpmode(Context& context, int mode)
{
    refresh(context);
    if (m_firstReply) {
        m_firstReply = false;
        context.setOpmode(Analyzer::ServiceMode);
        context.startTimeout();
        return;
    }
    if (mode == Analyzer::ServiceMode && !m_downloadStarted) {
        m_downloadStarted = true;
        // The outcome may come before this call returns and replace this state.
        context.startFileDownload(m_type);
    }
}

void DownloadState::onConnectionLost(Context& context)
{
    endOnLostLink(context);
}

void DownloadState::onTimeout(Context& context)
{
    if (!m_downloadStarted)
        end(context, m_error);
}

void DownloadState::onDownloadComplete(Context& context, bool failed)
{
    // Only the outcome of this state's own download counts, not that of a
    // transfer someone else started before.
    if (!m_downloadStarted)
        return;
    if (failed)
        end(context, m_error);
    else
        moveTo(context, next(context));
}

void DownloadState::onCancel(Context& context)
{
    // The run ends at once, whether the transfer has begun or the state still
    // waits for service mode (then there is nothing to cancel, and nothing
    // would report back). The transfer is ended after the state, so that its
    // outcome, and whatever arrives while it ends, meets the completed run.
    const bool transferring = m_downloadStarted;
    end(context, m_error);
    if (transferring)
        context.cancelTransfer();
}

} // namespace Certification
