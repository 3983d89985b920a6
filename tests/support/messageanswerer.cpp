#include "support/messageanswerer.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>

namespace TestSupport {

MessageAnswerer::MessageAnswerer()
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, [this]() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(widget);
            auto* label =
                dialog ? dialog->findChild<QLabel*>(QStringLiteral("textLabel")) : nullptr;
            if (label && dialog->isVisible()) {
                messages.append(label->text());
                dialog->accept();
            }
        }
    });
    m_timer.start();
}

} // namespace TestSupport
