#include "widgets/sharedicon.h"

#include <QAbstractButton>
#include <QHash>
#include <QImage>
#include <QPixmapCache>
#include <QWidget>
#include <algorithm>

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

namespace {

/// Every image of an icon, one per size; empty when it has none.
QList<QImage> iconImages(const QIcon& icon)
{
    QList<QImage> images;
    for (const QSize& size : icon.availableSizes())
        images.append(icon.pixmap(size).toImage());
    return images;
}

} // namespace

void shareButtonIcons(const QList<QWidget*>& widgets)
{
    // Keyed by the images themselves: a form does not say which file an
    // icon came from.
    QHash<uint, QList<QPair<QIcon, QList<QImage>>>> seen;
    for (QWidget* widget : widgets) {
        auto* button = qobject_cast<QAbstractButton*>(widget);
        if (!button || button->icon().isNull())
            continue;
        const QIcon icon = button->icon();
        const QList<QImage> images = iconImages(icon);
        if (images.isEmpty())
            continue;
        const QImage& largest = images.last();
        const uint key = qHashBits(largest.constBits(), std::size_t(largest.sizeInBytes()),
                                   uint(largest.width()) * 31u + uint(images.size()));
        auto& same = seen[key];
        const auto found = std::find_if(same.cbegin(), same.cend(),
                                        [&](const auto& other) { return other.second == images; });
        if (found == same.cend())
            same.append({icon, images});
        else if (found->first.cacheKey() != icon.cacheKey())
            button->setIcon(found->first);
    }
    // Reading an icon's images put them in the pixmap cache, which would keep
    // every dropped copy alive; at start-up the cache holds nothing else.
    QPixmapCache::clear();
}
