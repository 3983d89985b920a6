// The panel soaked against a faulty simulator, shared by the short soak in
// CTest (tst_soak) and the long one in bench/soak. Each cycle puts the next
// page of a tour on view by pressing what the operator would, kills the
// simulator and starts it again under the next transport fault (split,
// delayed, shuffled replies, garbage lines), checks that the panel reconnects
// and that the page's first batch after the reconnect is routed, then polls
// a few ticks under the next refusing fault (error replies, server messages,
// dropped replies, a stopped or dropped link, a slow history) with a download
// of the ring-down archive under way every few cycles. Throughout, no two
// popups of one kind are open at once, and every file in the storage folder
// that has its final name is byte for byte the analyzer's.
#pragma once

#include "support/paneldriver.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class FileManager;
class VireoGUI;

class Soak
{
public:
    Soak();
    ~Soak();

    /// Starts the simulator and the panel; false with the reason on failure.
    bool start(QString* error);
    /// One cycle; false with the reason on failure.
    bool cycle(int index, QString* error);

    int pagesInTour() const;
    int reconnects() const { return m_reconnects; }
    int transfersChecked() const { return m_transfersChecked; }
    int transfersStarted() const { return m_transfersStarted; }
    /// Resident memory of this process now, in kB.
    static qint64 residentKb();

private:
    void tick();
    /// Waits until every serial number poll so far has its reply (each tick
    /// ends with one), or timeoutMs; under refusing faults some never come.
    bool settle(int timeoutMs);
    bool goTo(int page);
    bool setFault(const QStringList& control);
    bool reconnect(int page, QString* error);
    bool checkPopups(QString* error) const;
    bool checkStorage(QString* error);

    PanelDriver m_panel;
    VireoGUI* m_gui = nullptr;
    FileManager* m_files = nullptr;
    QByteArray m_archive; // the simulator's ring-down archive
    int m_serialAsked = 0;
    int m_serialAnswered = 0;
    int m_pageReplies = 0;
    int m_pageFirst = 0;
    int m_pageLast = -1;
    int m_reconnects = 0;
    int m_transfersChecked = 0;
    int m_transfersStarted = 0;
};
