#include "widgets/stalemarker.h"

#include "base/agetext.h"

#include <QLabel>
#include <QWidget>
#include <algorithm>

namespace {
constexpr int kAgeTickMs = 1000;
} // namespace

StaleMarker::StaleMarker(QObject* parent) : QObject(parent)
{
    m_expiry.setSingleShot(true);
    m_expiry.setTimerType(Qt::PreciseTimer);
    connect(&m_expiry, &QTimer::timeout, this, &StaleMarker::reconsider);
    // Each tick is due just past the next whole second of the age, so the
    // age shown counts up by one every second instead of now and then
    // skipping one when a repeating timer drifts across a second's edge.
    m_ageTick.setSingleShot(true);
    m_ageTick.setTimerType(Qt::PreciseTimer);
    connect(&m_ageTick, &QTimer::timeout, this, &StaleMarker::showAge);
    // Nothing has been read yet: what the form shows is no reading.
    m_stale = true;
}

void StaleMarker::setStaleAfter(int ms)
{
    m_staleAfterMs = ms;
    if (m_expiry.isActive())
        m_expiry.start(int(std::max<qint64>(0, ms - m_sinceFresh.elapsed())));
}

void StaleMarker::addWidget(QWidget* widget)
{
    m_widgets.append(widget);
    m_applied = false;
    reconsider();
}

void StaleMarker::setAgeLabel(QLabel* label)
{
    m_ageLabel = label;
    addWidget(label);
    showAge();
}

QColor StaleMarker::staleColour()
{
    // Grey enough to tell from a live value, dark enough to read: above 4.5:1
    // on the panel's light grey and on white.
    return QColor(100, 100, 100);
}

QString StaleMarker::ageText(qint64 ms)
{
    return ::ageText(ms);
}

QString StaleMarker::ageText() const
{
    if (!m_stale)
        return QString();
    if (!m_sinceFresh.isValid())
        return tr("no reply yet");
    return ageText(m_sinceFresh.elapsed());
}

void StaleMarker::markFresh()
{
    // A reply proves the link, whatever the last report said.
    m_linkUp = true;
    m_sinceFresh.start();
    m_expiry.start(m_staleAfterMs);
    reconsider();
}

void StaleMarker::setLinkUp(bool up)
{
    m_linkUp = up;
    // What was read before the link went down is live again only once a
    // reply has refreshed it.
    if (!up)
        m_expiry.stop();
    reconsider();
}

void StaleMarker::reconsider()
{
    // The expiry runs from each refresh until the value has gone unrefreshed too long.
    const bool stale = !m_linkUp || !m_sinceFresh.isValid() || !m_expiry.isActive();
    if (stale == m_stale && m_applied) {
        showAge();
        return;
    }
    m_stale = stale;
    m_applied = true;
    for (QWidget* widget : m_widgets) {
        if (!widget)
            continue;
        if (stale) {
            QPalette palette = widget->palette();
            for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text})
                palette.setColor(role, staleColour());
            widget->setPalette(palette);
        } else {
            // Back to what the widget inherits: the forms set no palettes.
            widget->setPalette(QPalette());
        }
    }
    showAge();
    emit staleChanged(stale);
}

void StaleMarker::showAge()
{
    const QString text = ageText();
    if (m_ageLabel)
        m_ageLabel->setText(text);
    if (m_stale && m_sinceFresh.isValid())
        m_ageTick.start(int(kAgeTickMs - m_sinceFresh.elapsed() % kAgeTickMs) + 1);
    else
        m_ageTick.stop();
    emit ageTextChanged(text);
}
