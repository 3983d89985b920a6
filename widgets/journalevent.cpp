#include "widgets/journalevent.h"

#include <array>

namespace {
// By Kind value; the keys are what the journal file holds.
const std::array<const char*, 6> kKindKeys = {"alarm",   "mode",      "link",
                                              "setting", "procedure", "transfer"};
} // namespace

QString JournalEvent::kindKey(Kind kind)
{
    return QLatin1String(kKindKeys.at(size_t(kind)));
}

bool JournalEvent::kindFromKey(const QString& key, Kind* kind)
{
    for (size_t i = 0; i < kKindKeys.size(); ++i) {
        if (key == QLatin1String(kKindKeys[i])) {
            *kind = Kind(i);
            return true;
        }
    }
    return false;
}
