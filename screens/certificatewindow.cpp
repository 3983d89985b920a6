#include "screens/certificatewindow.h"

#include "ui_certificatewindow.h"

CertificateWindow::CertificateWindow(QWidget* parent)
    : QWidget(parent), ui(new Ui::CertificateWindow)
{
    ui->setupUi(this);
    connect(ui->pushButtonDelete, &QPushButton::clicked, this, &CertificateWindow::deleteClicked);
    connect(ui->pushButtonRemindMe, &QPushButton::clicked, this,
            &CertificateWindow::remindMeClicked);
}

CertificateWindow::~CertificateWindow()
{
    delete ui;
}

void CertificateWindow::assignRequestIds(int firstId)
{
    m_requests.reset(firstId);
    m_deleteId = m_requests.add(QStringLiteral("calibration_certificate_delete"), {});
    m_postponeId = m_requests.add(QStringLiteral("calibration_certificate_postpone"), {});
}

void CertificateWindow::deleteClicked()
{
    emit jsonToSend(m_requests.request(m_deleteId));
    emit goToWindow(HOME);
}

void CertificateWindow::remindMeClicked()
{
    // The week's delay is kept by the analyzer; the panel only asks for it.
    emit jsonToSend(m_requests.request(m_postponeId));
    emit goToWindow(HOME);
}
