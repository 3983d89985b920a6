// What the file manager's tests share: a fresh file manager over an empty
// storage folder that records every request it emits, every outcome it
// reports and every message popup it shows, and stand-in programs put first
// on PATH for one test.
#pragma once

#include "analyzer/linedecoder.h"
#include "analyzer/response.h"
#include "base/globals.h"
#include "files/filemanager.h"
#include "support/messageanswerer.h"
#include "transferreplies.h"
#include "widgets/openfile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

namespace TransferTest {

/// The file manager's block starts here; its serial number request is first + 2.
constexpr int kFirstId = 2;
constexpr int kSerialId = kFirstId + 2;

inline QByteArray randomBytes(int size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (char& c : data)
        c = char(QRandomGenerator::global()->bounded(256));
    return data;
}

inline bool writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Harness : public QObject
{
public:
    Harness()
    {
        setIsRemote(true);
        setStoragePath(storage.path());
        files.assignRequestIds(kFirstId);
        connect(&files, &FileManager::jsonToSend, this,
                [this](const Analyzer::Request& request) { sent.append(request.json()); });
        connect(&files, &FileManager::jsonBatchToSend, this, [this](const QJsonArray& batch) {
            for (const QJsonValue& request : batch)
                sent.append(request.toObject());
        });
        connect(&files, &FileManager::downloadComplete, this,
                [this](bool ok) { outcomes.append(ok); });
        answerer.start();
    }
    ~Harness() override { answerer.stop(); }

    QStringList storageFiles() const
    {
        return QDir(storage.path()).entryList(QDir::Files | QDir::Hidden);
    }
    void feed(const Analyzer::Response& response) { files.handleResponse(response); }
    /// Answers the request sent at index with result.
    void answer(int index, const QJsonValue& result) { feed(reply(idAt(index), result)); }
    int idAt(int index) const { return sent.at(index).value("id").toInt(); }
    QString methodAt(int index) const { return sent.at(index).value("method").toString(); }
    /// Starts a download of type and answers its transfer request with [count, token].
    void startDownload(FileManager::FileType type, int count, const QString& token = "tok")
    {
        files.downloadFile(type, false);
        answer(sent.size() - 1, QJsonArray{count, token});
    }

    /// Sends what the file manager emits to the analyzer listening on port and
    /// feeds its replies back, keeping every reply's result by id; fetches the
    /// serial number first, as the controller's poll would.
    void linkTo(quint16 port)
    {
        socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(socket->waitForConnected(5000));
        QTcpSocket* link = socket.get();
        connect(&files, &FileManager::jsonToSend, link, [link](const Analyzer::Request& request) {
            link->write(request.toCompactJson() + '\n');
        });
        connect(&files, &FileManager::jsonBatchToSend, link, [link](const QJsonArray& batch) {
            link->write(QJsonDocument(batch).toJson(QJsonDocument::Compact) + '\n');
        });
        connect(link, &QTcpSocket::readyRead, this, [this, link]() {
            m_received += link->readAll();
            for (const QByteArray& line : Analyzer::LineDecoder::takeCompleteLines(m_received)) {
                for (const Analyzer::Response& response : Analyzer::LineDecoder::decodeLine(line)) {
                    results.insert(response.id(), response.result());
                    files.handleResponse(response);
                }
            }
        });
        link->write(QJsonDocument(files.updateRequests()).toJson(QJsonDocument::Compact) + '\n');
        QTRY_VERIFY(!files.serialNumber().isEmpty());
    }

    /// Runs action on the first visible top-level T for which matches holds,
    /// once there is one. The progress popup is modal too, so popups are
    /// looked for by type rather than as the active modal widget.
    template <typename T>
    static void onNext(
        std::function<void(T*)> action, std::function<bool(T*)> matches = [](T*) { return true; })
    {
        auto* timer = new QTimer;
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [timer, action, matches]() {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* found = qobject_cast<T*>(widget);
                if (found && found->isVisible() && matches(found)) {
                    timer->deleteLater();
                    timer->stop();
                    action(found);
                    return;
                }
            }
        });
        timer->start();
    }
    static void onPicker(std::function<void(OpenFile*)> action) { onNext<OpenFile>(action); }
    /// Picks name in the next file chooser (empty or not listed: cancels it).
    static void answerPicker(const QString& name)
    {
        onPicker([name](OpenFile* picker) {
            QCOMPARE(picker->windowTitle(), QStringLiteral("Select File"));
            auto* list = picker->findChild<QListWidget*>("_file_list");
            const auto items = list->findItems(name, Qt::MatchExactly);
            if (name.isEmpty() || items.isEmpty()) {
                QTest::mouseClick(picker->findChild<QWidget*>("_cancel_button"), Qt::LeftButton);
                return;
            }
            list->setCurrentItem(items.first());
            QTest::mouseClick(picker->findChild<QWidget*>("_ok_button"), Qt::LeftButton);
        });
    }

    /// Runs action on the next message popup (a dialog with a "textLabel"),
    /// then accepts it; stop the answerer first.
    static void onNextMessage(std::function<void(QDialog*)> action)
    {
        onNext<QDialog>(
            [action](QDialog* dialog) {
                action(dialog);
                dialog->accept();
            },
            [](QDialog* dialog) { return dialog->findChild<QLabel*>("textLabel") != nullptr; });
    }

    QTemporaryDir storage;
    FileManager files;
    QList<QJsonObject> sent; // every request object, batches flattened
    QList<bool> outcomes;    // downloadComplete payloads
    TestSupport::MessageAnswerer answerer;
    std::unique_ptr<QTcpSocket> socket; // the link of linkTo
    QHash<int, QJsonValue> results;     // reply results by id, from the link

private:
    QByteArray m_received;
};

/// HOME points at a folder while this lives: the instrument's own files and
/// the working folder of the programs the file manager runs.
class Home
{
public:
    explicit Home(const QString& path) : m_previous(qgetenv("HOME"))
    {
        qputenv("HOME", path.toLocal8Bit());
    }
    ~Home() { qputenv("HOME", m_previous); }

private:
    QByteArray m_previous;
};

/// Stand-in programs, each a shell script, first on PATH while this lives.
class Programs
{
public:
    Programs() : m_path(qgetenv("PATH")) { qputenv("PATH", m_dir.path().toUtf8() + ':' + m_path); }
    ~Programs() { qputenv("PATH", m_path); }
    /// Adds program running script (the lines after "#!/bin/sh").
    void add(const QString& program, const QString& script)
    {
        const QString path = m_dir.filePath(program);
        QVERIFY(writeFile(path, "#!/bin/sh\n" + script.toUtf8() + '\n'));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner));
    }
    /// Leaves only the stand-ins and the named programs of the system on PATH.
    void isolate(const QStringList& keep)
    {
        for (const QString& program : keep)
            QVERIFY(QFile::link(QStandardPaths::findExecutable(program), m_dir.filePath(program)));
        qputenv("PATH", m_dir.path().toUtf8());
    }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QByteArray m_path;
};

} // namespace TransferTest
