// The instrument panel's backlight: a level in percent is mapped into the
// device limits kept in the analyzer's settings database and handed to the
// backlight program, which is started without waiting for it. One program
// runs at a time; a level asked for meanwhile is applied when it ends, the
// last one only, so a slider drag ends where the slider does.
#pragma once

#include "files/ibacklight.h"

#include <QProcess>
#include <QString>
#include <optional>

class VireoBacklight : public IBacklight
{
public:
    static const QString kDefaultProgram;

    explicit VireoBacklight(const QString& settingsDatabase,
                            const QString& program = kDefaultProgram);
    ~VireoBacklight() override;

    void refresh() override;
    int brightness() const override { return m_level; }
    /// While the previous backlight program still runs, kept for its end.
    void setBrightness(int percent) override;

    int minimum() const { return m_minimum; }
    int range() const { return m_range; }
    /// The running or last backlight program (for tests).
    const QProcess& process() const { return m_process; }

private:
    QString m_database;
    QString m_program;
    QProcess m_process;
    int m_level = 50;
    int m_minimum = 0;
    int m_range = 100;
    /// The latest level asked for while the program ran.
    std::optional<int> m_pending;
};
