// One icon object per image for the popups' buttons. Qt's pixmap cache keys
// scaled icon images by icon object, so a popup built anew each time with its
// own icons would leave another copy of every button image in that cache
// (some 13 KB a popup, until the cache's 10 MB are full).
#pragma once

#include <QIcon>
#include <QString>

/// The process-wide icon for the image at path (a resource path such as ":/images/OK_c.png").
const QIcon& sharedIcon(const QString& path);
