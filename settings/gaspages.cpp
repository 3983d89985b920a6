#include "settings/gaspages.h"

#include "widgets/elidedlabel.h"

#include <QAbstractButton>
#include <QCollator>
#include <algorithm>

GasPages::GasPages(QList<QAbstractButton*> buttons, QList<ElidedLabel*> labels, QWidget* nextPage)
    : m_buttons(std::move(buttons)), m_labels(std::move(labels)), m_nextPage(nextPage)
{
}

void GasPages::setNames(const QStringList& names)
{
    QStringList sorted = names;
    QCollator collator;
    std::sort(sorted.begin(), sorted.end(), collator);
    if (sorted == m_names)
        return;
    m_names = sorted;
    m_page = 0;
    m_pageCount = (m_names.size() - 1) / kPerPage + 1;
    m_nextPage->setVisible(m_pageCount > 1);
    showPage(0);
}

void GasPages::setCurrent(const QString& name)
{
    m_current = name;
    markCurrent();
}

void GasPages::showNext()
{
    m_page = (m_page + 1) % std::max(m_pageCount, 1);
    showPage(m_page);
}

void GasPages::setEnabled(bool enabled)
{
    for (QAbstractButton* button : qAsConst(m_buttons))
        button->setEnabled(enabled);
    for (ElidedLabel* label : qAsConst(m_labels))
        label->setEnabled(enabled);
}

std::optional<QString> GasPages::nameAt(int position) const
{
    const int index = m_page * kPerPage + position;
    if (index < 0 || index >= m_names.size())
        return std::nullopt;
    return m_names.at(index);
}

void GasPages::showPage(int page)
{
    const int first = page >= 0 && page < m_pageCount ? page * kPerPage : 0;
    for (int j = 0; j < kPerPage; ++j) {
        const bool present = first + j < m_names.size();
        m_buttons.at(j)->setVisible(present);
        m_labels.at(j)->setVisible(present);
        if (present)
            m_labels.at(j)->setServerText(m_names.at(first + j), ServerText::Formula);
        else
            m_labels.at(j)->setServerText(QStringLiteral("blank"));
    }
    markCurrent();
}

void GasPages::markCurrent()
{
    // Auto-exclusive buttons cannot all be unchecked; exclusivity is lifted
    // around the unchecking. Names are compared, not what the labels show:
    // a cut name could match another.
    for (int j = 0; j < kPerPage; ++j) {
        QAbstractButton* button = m_buttons.at(j);
        if (nameAt(j) == m_current) {
            button->setChecked(true);
        } else {
            button->setAutoExclusive(false);
            button->setChecked(false);
            button->setAutoExclusive(true);
        }
    }
}
