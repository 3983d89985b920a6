// One icon object per image for the popups' buttons. Qt's pixmap cache keys
// scaled icon images by icon object, so a popup built anew each time with its
// own icons would leave another copy of every button image in that cache
// (some 13 KB a popup, until the cache's 10 MB are full).
#pragma once

#include <QIcon>
#include <QList>
#include <QString>

class QWidget;

/// The process-wide icon for the image at path (a resource path such as ":/images/OK_c.png").
const QIcon& sharedIcon(const QString& path);

/// Gives every button among widgets that shows the same images as another
/// the other's icon. A form's icons each decode their images anew, and the
/// same arrows, OK and close buttons sit on most pages, and each calendar
/// loads the style's arrows again: some 700 KB of copies.
void shareButtonIcons(const QList<QWidget*>& widgets);
