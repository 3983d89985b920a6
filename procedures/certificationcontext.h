// What a certification state may do to the world: the window implements it,
// the tests fake it. States never see widgets, requests or the file manager.
#pragma once

#include "files/filemanager.h"

#include <QString>

namespace Certification {

class State;

class Context
{
public:
    virtual ~Context() = default;

    /// Sends a mode change; 5 and 12 start the temperature and cavity scans.
    virtual void setOpmode(int mode) = 0;
    virtual void setStatusText(const QString& text) = 0;
    virtual void hideCancelButton(bool hide) = 0;
    virtual void hideNextButton(bool hide) = 0;
    virtual void hideOkButton(bool hide) = 0;
    /// Asks for a download (or the packaging) with the file manager's popups hidden.
    virtual void startFileDownload(FileManager::FileType type) = 0;
    /// Ends the running transfer without a message; it then reports failure.
    virtual void cancelTransfer() = 0;
    /// Makes next current; the caller deletes itself afterwards. Null leaves
    /// the procedure for the settings screen.
    virtual void setState(State* next) = 0;
    /// (Re)starts the wait for the analyzer: unless it is started again
    /// first, the current state hears onTimeout once the wait limit (a minute
    /// on the panel) has passed while the page is on view.
    virtual void startTimeout() = 0;
    /// The run ended on a lost link with the analyzer out of service mode:
    /// the service mode sent then went nowhere, so the window sends it again
    /// once the link is back, whatever the operator pressed meanwhile.
    virtual void restoreServiceModeOnReconnect() = 0;
    virtual bool runOnPeak() const = 0;
    /// Seconds of on- or off-peak data collection.
    virtual int collectionTime() const = 0;
};

} // namespace Certification
