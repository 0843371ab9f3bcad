#include "windows/course/windowSet.h"

#include "core/exercise/history.h"
#include "core/platform/atomicFile.h"
#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"
#include "core/storage/profileKeys.h"
#include "core/storage/textFile.h"
#include "windows/course/uAulas.h"
#include "windows/course/uCont.h"
#include "windows/course/uDiploma.h"
#include "windows/course/uExec.h"
#include "windows/course/uKey.h"
#include "windows/course/uPassWord.h"
#include "windows/course/uRes.h"
#include "windows/course/uSobre.h"
#include "windows/course/uSplash.h"
#include "windows/course/uTela.h"
#include "windows/course/uUser.h"
#include "windows/glue/soundModule.h"
#include "windows/widgets/desktopManners.h"
#include "windows/widgets/fonts.h"
#include "windows/widgets/messages.h"
#include "windows/widgets/qtText.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>
#include <cstdio>

void SetUpProgram(const std::filesystem::path& programFolder) {
    DataPlaces places;
    places.dataFolder = places.installed = places.modules = programFolder;
    SetUpProgram(places);
}

void SetUpProgram(const DataPlaces& places) {
    UseDataPlaces(places);
    SetHelpFileName(files::HelpFile);
    // The title goes on the roster and on every message box; as the display name Qt would append it
    // to every dialog's caption.
    QGuiApplication::setApplicationName(QStringLiteral("velotecla"));
    InstallFontSubstitutes();
    InstallDesktopManners();
    InstallSoundModule();
    SetTextFileMessageSink([](const std::string& text) { ShowMessage(QString::fromStdString(text)); });
    // A link planted in the data folder is told once the action that met it is over, and once for all
    // the reads and writes of that action.
    SetDataProblemSink([](const std::string& text) {
        static QStringList waiting;
        const QString message = FromUtf8(text);
        if (waiting.contains(message))
            return;
        waiting.append(message);
        QTimer::singleShot(0, qApp, [message] {
            Guard([&] { ShowMessage(message); });
            waiting.removeAll(message);
        });
    });
}

void CreateWindowSet() {
    // Hidden temporaries that a write killed half-way left behind (a kill or a power cut); nothing
    // else would ever remove them.
    for (const char* folder : {"", files::UsersFolder, files::LessonsFolder, kHistoryFolder})
        RemoveStaleTemporaries(ProgramFolder() / folder);
    // The first window made is the main window; the roster, made last, is not.
    frmsplash = new Tfrmsplash;
    frmAulas = new TfrmAulas;
    frmExec = new TfrmExec;
    frmKey = new TfrmKey;
    frmCont = new TfrmCont;
    frmRes = new TfrmRes;
    frmSobre = new TfrmSobre;
    frmDiploma = new TfrmDiploma;
    frmUser = new TfrmUser;
    frmPassWord = new TfrmPassWord;
    frmsplash->show();
    // Put the splash on screen now rather than after the roster has been made.
    QGuiApplication::sync();
    frmTela = new TfrmTela;
    frmsplash->SplashShown();
}

void TellDataPlaces(const DataPlaces& places, bool firstStart) {
    if (places.notice.empty())
        return;
    std::fprintf(stderr, "velotecla: %s\n", places.notice.c_str());
    // A student started from the menu on a day the server's folder is missing must not work in a roster
    // of her own unawares: the named folder's trouble is told every time.
    if (firstStart || places.mode == DataMode::Named)
        QTimer::singleShot(0, qApp, [text = FromUtf8(places.notice)] {
            Guard([&] { ShowMessage(text, QStringLiteral("Velotecla - pasta de dados")); });
        });
}

void DestroyWindowSet() {
    delete frmTela;
    frmTela = nullptr;
    delete frmPassWord;
    frmPassWord = nullptr;
    delete frmUser;
    frmUser = nullptr;
    delete frmDiploma;
    frmDiploma = nullptr;
    delete frmSobre;
    frmSobre = nullptr;
    delete frmRes;
    frmRes = nullptr;
    delete frmCont;
    frmCont = nullptr;
    delete frmKey;
    frmKey = nullptr;
    delete frmExec;
    frmExec = nullptr;
    delete frmAulas;
    frmAulas = nullptr;
    delete frmsplash;
    frmsplash = nullptr;
}
