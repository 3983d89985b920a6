#include "files/vireobacklight.h"

#include <QDebug>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <utility>

namespace {
// Each refresh opens its own connection name, so a connection still held
// elsewhere is never reused or closed by accident.
int nextConnectionNumber()
{
    static int counter = 1;
    return counter++;
}
} // namespace

const QString VireoBacklight::kDefaultProgram = QStringLiteral("/usr/bin/backlight");

VireoBacklight::VireoBacklight(const QString& settingsDatabase, const QString& program)
    : m_database(settingsDatabase), m_program(program)
{
    // Queued: the next program starts from the event loop, not from inside
    // the finished program's own signal.
    QObject::connect(
        &m_process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), &m_process,
        [this] {
            if (const std::optional<int> level = std::exchange(m_pending, std::nullopt))
                setBrightness(*level);
        },
        Qt::QueuedConnection);
    refresh();
}

VireoBacklight::~VireoBacklight()
{
    // The program is short-lived; leave it running rather than kill it halfway.
    if (m_process.state() != QProcess::NotRunning)
        m_process.waitForFinished(1000);
}

void VireoBacklight::refresh()
{
    const QString name =
        QStringLiteral("analyzer_settings_backlight%1").arg(nextConnectionNumber());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(m_database);
        // Never create an empty settings database where none exists.
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            qDebug() << "Error opening settings database to read min/max brightness";
        } else {
            QSqlQuery query(db);
            if (!query.exec(
                    QStringLiteral("SELECT min_brightness, max_brightness from display_table"))) {
                qDebug() << "Error reading min/max brightness from settings database";
            } else {
                int low = 0;
                int high = 0;
                if (query.next()) {
                    low = query.value(0).toInt();
                    high = query.value(1).toInt();
                }
                m_minimum = low;
                m_range = high - low;
                qDebug() << "Min display brightness" << low;
                qDebug() << "Max display brightness" << high;
                qDebug() << "Range display brightness" << m_range;
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    // A level still waiting for the program is the one to apply.
    setBrightness(m_pending.value_or(m_level));
}

void VireoBacklight::setBrightness(int percent)
{
    percent = qBound(0, percent, 100);
    if (m_process.state() != QProcess::NotRunning) {
        m_pending = percent;
        return;
    }
    m_pending.reset();
    const double value = m_range * (percent / 100.0) + m_minimum;
    m_process.start(m_program, {QString::number(value, 'g', 6)});
    m_level = percent;
    qDebug() << "Current brightness level" << percent;
    qDebug() << "True brightness level" << value;
}
