// The gas tab's list: the analyzer's gas names, sorted, shown sixteen to a
// page on the tab's buttons and labels, with the current gas checked.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QAbstractButton;
class ElidedLabel;
class QWidget;

class GasPages
{
public:
    static constexpr int kPerPage = 16;

    /// The sixteen buttons and labels, by position, and the next-page arrow.
    GasPages(QList<QAbstractButton*> buttons, QList<ElidedLabel*> labels, QWidget* nextPage);

    /// A new list of names: sorted, and shown from page one unless it is the
    /// list already shown.
    void setNames(const QStringList& names);
    /// Checks the button of this name, wherever it is shown.
    void setCurrent(const QString& name);
    /// The next page, back to the first after the last.
    void showNext();
    /// Lets the operator choose a gas (service mode) or not; the labels look it.
    void setEnabled(bool enabled);
    /// The name on the button at this position of the page shown (none past the list).
    std::optional<QString> nameAt(int position) const;

private:
    void showPage(int page);
    void markCurrent();

    QList<QAbstractButton*> m_buttons;
    QList<ElidedLabel*> m_labels;
    QWidget* m_nextPage;
    QStringList m_names;
    QString m_current = QStringLiteral("!UNKNOWN!");
    int m_page = 0;
    int m_pageCount = 1;
};
