#include "procedures/certificationstates.h"

#include "analyzer/analyzerfacts.h"
#include "base/globals.h"
#include "files/storage.h"
#include "procedures/certificationcontext.h"

#include <QCoreApplication>

namespace Certification {

namespace {

QString packagingError()
{
    return QCoreApplication::translate("Certification", "ERROR: Failed to package files");
}
} // namespace

InsertUSBState::InsertUSBState(Context& context)
{
    context.setStatusText(QCoreApplication::translate("Certification", "Please insert USB disk."));
    showButtons(context, true, false, false);
}

void InsertUSBState::onOpmode(Context& context, int)
{
    if (fileExists(devicePath()))
        moveTo(context, new ConnectGasState(context));
}

void InsertUSBState::onConnectionLost(Context& context)
{
    end(context, lostConnectionText());
}

ConnectGasState::ConnectGasState(Context& context)
{
    context.setStatusText(QCoreApplication::translate(
        "Certification", "Supply zero gas to analyzer (do not exceed maximum inlet pressure)."));
    showButtons(context, true, true, false);
}

void ConnectGasState::onConnectionLost(Context& context)
{
    end(context, lostConnectionText());
}

void ConnectGasState::onNext(Context& context)
{
    moveTo(context, new DownloadSettingsState(context, false));
}

DownloadSettingsState::DownloadSettingsState(Context& context, bool secondPass)
    : DownloadState(context, QCoreApplication::translate("Certification", "Copying settings"),
                    FileManager::SettingsFile,
                    QCoreApplication::translate("Certification", "ERROR: Failed to copy settings")),
      m_secondPass(secondPass)
{
}

State* DownloadSettingsState::next(Context& context)
{
    if (m_secondPass)
        return new DownloadScansState(context);
    return new OptimizeLaserState(context);
}

OptimizeLaserState::OptimizeLaserState(Context& context)
    : ScanningState(
          context, QCoreApplication::translate("Certification", "Optimizing laser"),
          Analyzer::OptimizeLaserMode,
          QCoreApplication::translate("Certification", "ERROR: Laser is not being optimized"))
{
}

State* OptimizeLaserState::next(Context& context)
{
    return new TempScanState(context);
}

TempScanState::TempScanState(Context& context)
    : ScanningState(
          context, QCoreApplication::translate("Certification", "Running temperature scan"),
          Analyzer::RefCellScanTemperatureMode,
          QCoreApplication::translate("Certification", "ERROR: Temperature scan not being run"))
{
}

State* TempScanState::next(Context& context)
{
    if (context.runOnPeak())
        return new OnPeakState(context);
    return new OffPeakState(context);
}

OnPeakState::OnPeakState(Context& context)
    : PeakState(
          context, QCoreApplication::translate("Certification", "Collecting on peak data"),
          Analyzer::MeasureMode,
          QCoreApplication::translate("Certification", "ERROR: Stopped collecting on peak data"))
{
}

OffPeakState::OffPeakState(Context& context)
    : PeakState(
          context, QCoreApplication::translate("Certification", "Collecting off peak data"),
          Analyzer::OffPeakMode,
          QCoreApplication::translate("Certification", "ERROR: Stopped collecting off peak data"))
{
}

CavityScanState::CavityScanState(Context& context)
    : ScanningState(
          context, QCoreApplication::translate("Certification", "Running cavity scan"),
          Analyzer::CavityScanCurrentMode,
          QCoreApplication::translate("Certification", "ERROR: Cavity scan not being run"))
{
}

State* CavityScanState::next(Context& context)
{
    return new DownloadSettingsState(context, true);
}

DownloadScansState::DownloadScansState(Context& context)
    : DownloadState(context, QCoreApplication::translate("Certification", "Copying scan data"),
                    FileManager::ScansFile,
                    QCoreApplication::translate("Certification", "ERROR: Failed to copy scan data"))
{
}

State* DownloadScansState::next(Context& context)
{
    return new DownloadSRDAState(context);
}

DownloadSRDAState::DownloadSRDAState(Context& context)
    : DownloadState(
          context, QCoreApplication::translate("Certification", "Copying ring down data"),
          FileManager::SrdaFile,
          QCoreApplication::translate("Certification", "ERROR: Failed to copy ring down data"))
{
}

State* DownloadSRDAState::next(Context& context)
{
    return new BundleFilesState(context);
}

BundleFilesState::BundleFilesState(Context& context)
    : ProgressState(
          QCoreApplication::translate("Certification", "Packaging files (please be patient)"))
{
    showButtons(context, false, false, false);
    refresh(context);
}

void BundleFilesState::onEntered(Context& context)
{
    // Packaging works on the storage folder alone: it needs nothing more of
    // the analyzer, so it starts at once, link or no link, and its own
    // result decides, however long it takes.
    if (m_started)
        return;
    m_started = true;
    // The outcome may come before this call returns and replace this state.
    context.startFileDownload(FileManager::CertificationPackage);
}

void BundleFilesState::onOpmode(Context& context, int)
{
    refresh(context);
}

void BundleFilesState::onDownloadComplete(Context& context, bool failed)
{
    if (!m_started)
        return;
    end(context, failed ? packagingError() : QString());
}

CompleteState::CompleteState(Context& context, const QString& text)
{
    context.setStatusText(text.isEmpty() ? QCoreApplication::translate(
                                               "Certification", "Certification scans complete")
                                         : text);
    showButtons(context, false, false, true);
    context.setOpmode(Analyzer::ServiceMode);
}

} // namespace Certification
