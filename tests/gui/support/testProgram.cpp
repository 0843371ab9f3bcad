#include "testProgram.h"

#include "core/platform/dataPlaces.h"
#include "core/storage/settings.h"
#include "windows/course/uPrompts.h"
#include "windows/course/windowSet.h"
#include "windows/widgets/qtText.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <filesystem>

TestProgram::TestProgram(bool withData) {
    if (withData) {
        std::error_code ec;
        std::filesystem::copy(VT_DATA_DIR, ToPath(m_dir.path()), std::filesystem::copy_options::recursive,
                              ec);
    }
    DataPlaces places;
    places.dataFolder = places.installed = ToPath(m_dir.path());
    places.modules = ToPath(QStringLiteral(VT_MODULE_DIR));
    SetUpProgram(places);
    CurrentSettingsFile.clear();
    m_sink.error = [this](const QString& text) { errors << text; };
    m_sink.message = [this](const QString& text) { messages << text; };
    SetMessageSink(&m_sink);
    SetPromptAnswerer([this](const QString&, const QString& text, bool) {
        questions << text;
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    });
}

TestProgram::~TestProgram() {
    if (m_windows)
        DestroyWindowSet();
    SetMessageSink(nullptr);
    SetPromptAnswerer({});
}

void TestProgram::writeFile(const QString& relative, const QByteArray& bytes) const {
    const QString full = m_dir.filePath(relative);
    QDir().mkpath(QFileInfo(full).path());
    QFile f(full);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray TestProgram::readFile(const QString& relative) const {
    QFile f(m_dir.filePath(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestProgram::createWindows() {
    CreateWindowSet();
    m_windows = true;
}

void WhenModal(const std::function<void(QWidget*)>& action, QWidget* except, int timeoutMs) {
    auto* timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != except && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}
