// The twelve steps of the certification scans, in the order of a complete run:
// insert the storage, connect zero gas, copy the settings, optimise the laser,
// scan the reference cell, collect on- or off-peak data, scan the cavity, copy
// the settings again, the scan data and the ring-down data, package them, done.
#pragma once

#include "procedures/certificationstate.h"

namespace Certification {

class InsertUSBState : public State
{
public:
    explicit InsertUSBState(Context& context);
    void onOpmode(Context& context, int mode) override;
    void onConnectionLost(Context& context) override;
    void onNext(Context& context) override { leave(context); }
    void onCancel(Context& context) override { leave(context); }
    void onOk(Context& context) override { leave(context); }
};

class ConnectGasState : public State
{
public:
    explicit ConnectGasState(Context& context);
    void onConnectionLost(Context& context) override;
    void onNext(Context& context) override;
    void onCancel(Context& context) override { leave(context); }
    void onOk(Context& context) override { leave(context); }
};

class DownloadSettingsState : public DownloadState
{
public:
    DownloadSettingsState(Context& context, bool secondPass);

protected:
    State* next(Context& context) override;

private:
    bool m_secondPass;
};

class OptimizeLaserState : public ScanningState
{
public:
    explicit OptimizeLaserState(Context& context);

protected:
    State* next(Context& context) override;
};

class TempScanState : public ScanningState
{
public:
    explicit TempScanState(Context& context);

protected:
    State* next(Context& context) override;
};

class OnPeakState : public PeakState
{
public:
    explicit OnPeakState(Context& context);
};

class OffPeakState : public PeakState
{
public:
    explicit OffPeakState(Context& context);
};

class CavityScanState : public ScanningState
{
public:
    explicit CavityScanState(Context& context);

protected:
    State* next(Context& context) override;
};

class DownloadScansState : public DownloadState
{
public:
    explicit DownloadScansState(Context& context);

protected:
    State* next(Context& context) override;
};

class DownloadSRDAState : public DownloadState
{
public:
    explicit DownloadSRDAState(Context& context);

protected:
    State* next(Context& context) override;
};

class BundleFilesState : public ProgressState
{
public:
    explicit BundleFilesState(Context& context);
    void onEntered(Context& context) override;
    void onOpmode(Context& context, int mode) override;
    void onDownloadComplete(Context& context, bool failed) override;
    void onNext(Context& context) override { leave(context); }
    void onCancel(Context& context) override { leave(context); }
    void onOk(Context& context) override { leave(context); }

private:
    bool m_started = false;
};

class CompleteState : public State
{
public:
    CompleteState(Context& context, const QString& text);
    void onNext(Context& context) override { leave(context); }
    void onCancel(Context& context) override { leave(context); }
    void onOk(Context& context) override { leave(context); }
};

} // namespace Certification
