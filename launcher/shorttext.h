// Texts the launcher did not write itself (stored names and addresses, what
// an analyzer answers) are cut short by character count where they go into a
// message, a log line or the fleet's model, so a name of ten thousand
// characters cannot fill a message or stall a view's layout. The views
// elide the cells to their width themselves. The cut is the panel's own rule
// (base/servertext.h): pixel eliding lives in the panel's widgets, which the
// launcher does not link.
#pragma once

#include "base/servertext.h"

/// The most characters of a foreign text the launcher shows, ellipsis included.
constexpr int kShortTextLimit = 64;

/// The text cut to kShortTextLimit characters (cutText).
inline QString shortText(const QString& text)
{
    return cutText(text, kShortTextLimit);
}
