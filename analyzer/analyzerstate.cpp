#include "analyzer/analyzerstate.h"

#include "analyzer/response.h"

#include <cmath>
#include <limits>

namespace Analyzer {

namespace {

/// A whole number that fits an int, as a mode code must be; nothing else is a mode.
bool modeCode(const QJsonValue& value, int* code)
{
    if (!value.isDouble())
        return false;
    const double number = value.toDouble();
    if (number != std::trunc(number) || number < std::numeric_limits<int>::min() ||
        number > std::numeric_limits<int>::max())
        return false;
    *code = int(number);
    return true;
}

} // namespace

StatusClass AnalyzerState::classify(bool linkUp, bool answering, int mode, AlarmFlags alarms)
{
    using C = StatusClass;
    if (!linkUp || !answering || (alarms & alarmsOfClass(C::Failure)))
        return C::Failure;
    if (mode != MeasureMode)
        return C::FunctionCheck;
    for (C statusClass : {C::Uncertain, C::MaintenanceRequired}) {
        if (alarms & alarmsOfClass(statusClass))
            return statusClass;
    }
    return C::Normal;
}

bool AnalyzerState::isStateMethod(const QString& method)
{
    return statusMethods().contains(method) || method == QLatin1String(reactorMethod()) ||
           method == QLatin1String(serialNumberMethod());
}

AnalyzerState::AnalyzerState(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<AlarmFlag>("Analyzer::AlarmFlag");
    qRegisterMetaType<StatusClass>("Analyzer::StatusClass");
    m_clock.start();
    m_silence.setSingleShot(true);
    m_silence.setInterval(m_freshForMs);
    connect(&m_silence, &QTimer::timeout, this, [this] { setAnswering(false); });
}

void AnalyzerState::setFreshFor(int ms)
{
    m_freshForMs = ms;
    m_silence.setInterval(ms);
}

QDateTime AnalyzerState::lastRead(const QString& method) const
{
    return m_reads.value(method).at;
}

bool AnalyzerState::isFresh(const QString& method) const
{
    const auto it = m_reads.constFind(method);
    return m_linkUp && it != m_reads.cend() && it->at.isValid() &&
           m_clock.elapsed() - it->monotonicMs <= m_freshForMs;
}

StatusClass AnalyzerState::statusClass() const
{
    return classify(m_linkUp, m_answering, mode(), m_alarms);
}

void AnalyzerState::setLink(bool up, const QString& server)
{
    const StatusClass before = statusClass();
    const bool report = m_linkKnown && up != m_linkUp;
    m_linkKnown = true;
    m_linkUp = up;
    m_server = server;
    // A mode read before the link went down says nothing of the analyzer
    // now; the silence is counted afresh from the moment the link is up.
    m_modeCurrent = false;
    if (up) {
        m_answering = true;
        m_silence.start();
    } else {
        m_silence.stop();
    }
    if (report)
        emit linkChanged(up, server, QDateTime::currentDateTime());
    reconsider(before);
}

void AnalyzerState::take(const QString& method, const Response& reply)
{
    const StatusClass before = statusClass();
    const QDateTime now = QDateTime::currentDateTime();
    // Any reply, an error too, is the analyzer answering.
    m_silence.start();
    if (!m_answering) {
        m_answering = true;
        emit answeringChanged(true);
    }
    if (reply.isError()) {
        reconsider(before);
        return;
    }
    const QJsonValue result = reply.result();
    if (method == QLatin1String("opmode")) {
        int code = UnknownMode;
        if (modeCode(result, &code)) {
            noteRead(method, now);
            const int previous = m_mode;
            m_mode = code;
            m_modeCurrent = true;
            if (code != previous)
                emit modeChanged(previous, code, now);
            emit modeRead(code);
        }
    } else if (const AlarmInfo* info = alarmForMethod(method)) {
        if (result.isBool()) {
            noteRead(method, now);
            const bool active = result.toBool();
            if (active != m_alarms.testFlag(info->flag)) {
                m_alarms.setFlag(info->flag, active);
                emit alarmChanged(info->flag, active, now);
            }
            emit alarmRead(info->flag, active, now);
        }
    } else if (method == QLatin1String(reactorMethod())) {
        if (result.isBool()) {
            noteRead(method, now);
            m_reactorUsed = result.toBool();
        }
    } else if (method == QLatin1String(serialNumberMethod())) {
        if (result.isString() && !result.toString().isEmpty()) {
            noteRead(method, now);
            if (result.toString() != m_serialNumber) {
                m_serialNumber = result.toString();
                emit serialNumberChanged(m_serialNumber);
            }
        }
    }
    reconsider(before);
}

void AnalyzerState::noteRead(const QString& method, const QDateTime& at)
{
    m_reads.insert(method, {at, m_clock.elapsed()});
}

void AnalyzerState::setAnswering(bool answering)
{
    if (answering == m_answering)
        return;
    const StatusClass before = statusClass();
    m_answering = answering;
    emit answeringChanged(answering);
    reconsider(before);
}

void AnalyzerState::reconsider(StatusClass before)
{
    const StatusClass now = statusClass();
    if (now != before)
        emit statusClassChanged(now);
}

} // namespace Analyzer
