#include "widgets/sharedicon.h"

#include <QHash>

const QIcon& sharedIcon(const QString& path)
{
    // Never freed: icons must not outlive the application object in a
    // static destructor, and the few images stay for the whole run anyway.
    static auto* icons = new QHash<QString, QIcon>;
    auto it = icons->find(path);
    if (it == icons->end())
        it = icons->insert(path, QIcon(path));
    return *it;
}
