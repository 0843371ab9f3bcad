#include "app/windowSet.h"

#include "app/uPassWord.h"
#include "app/uSobre.h"
#include "app/uSplash.h"
#include "app/uTela.h"
#include "app/uUser.h"
#include "exercise/history.h"
#include "exercise/uCont.h"
#include "exercise/uExec.h"
#include "exercise/uKey.h"
#include "exercise/uRes.h"
#include "lessons/uAulas.h"
#include "lessons/uDiploma.h"
#include "platform/atomicFile.h"
#include "platform/dataPlaces.h"
#include "platform/programFolder.h"
#include "platform/soundModule.h"
#include "storage/profileKeys.h"
#include "storage/textFile.h"
#include "widgets/desktopManners.h"
#include "widgets/fonts.h"
#include "widgets/messages.h"
#include "widgets/qtText.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>

void SetUpProgram(const std::filesystem::path& programFolder) {
    DataPlaces places;
    places.writable = places.installed = places.modules = programFolder;
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
