#pragma once
// Shared by the exercise window tests: a lesson put in place as the lesson loader leaves it, a fixed
// clock, recorded sounds, and keys typed into the exercise window.
#include "support/testProgram.h"

#include "core/exercise/exerciseState.h"
#include "core/lessons/lessonSource.h"
#include "core/platform/iniFile.h"
#include "core/platform/sound.h"
#include "core/platform/tickCounter.h"
#include "core/storage/convert.h"
#include "tests/recordingSound.h"
#include "windows/course/uAulas.h"
#include "windows/course/uCont.h"
#include "windows/course/uExec.h"
#include "windows/course/uKey.h"
#include "windows/widgets/blinkingLabel.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

inline constexpr double kSecond = 1.0 / 86400.0;

class ExerciseDriver {
public:
    // One stored value, "(absent)" when the key is not there. Profiles also hold what the catalogue
    // and the keyboard read on their way (flags, layout, selection), so tests look at keys, not bytes.
    QString value(const QString& file, const char* section, const char* key) const {
        const auto v = IniGetValue(program.readFile(file).toStdString(), section, key);
        return v ? QString::fromStdString(*v) : QStringLiteral("(absent)");
    }
    QStringList totals(const QString& file) const {
        QStringList out;
        for (const char* key : {"WordOK", "WordErr", "CharOK", "CharErr", "TempoTotal", "Porcent"})
            out << value(file, "Config", key);
        return out;
    }

    ExerciseDriver() {
        program.createWindows();
        SetSoundBackEnd(&sound);
        SetClockSource([this] { return now; });
        frmCont->tmrCont->setInterval(5); // the countdown's own timing is tested on its own
        ExerciseState = TExerciseState{};
    }
    ~ExerciseDriver() {
        SetClockSource({});
        SetSoundBackEnd(nullptr);
        while (QWidget* modal = QApplication::activeModalWidget())
            modal->hide();
    }

    // Lesson N of the student, unlocked, written as a lesson file (the model given as key codes, time
    // allowed as hh:mm:ss) and put in place by the catalogue's own loader.
    void loadLesson(int lesson, const std::vector<int>& codes, int words, const char* expected, int minimum,
                    int startKey = 116) {
        program.writeFile(
            QStringLiteral("users/ana"),
            QStringLiteral("[Aula1]\r\nHabilitado=1\r\n[Aula%1]\r\nHabilitado=1\r\n").arg(lesson).toLatin1());
        TLessonSource source;
        source.Title = "Treino";
        source.StartKey = startKey;
        source.Codes = codes;
        source.WordsToType = words;
        source.TimeAllowed = StrToTime(expected);
        source.MinimumPercent = minimum;
        program.writeFile(QStringLiteral("aulas/aula%1.aul").arg(lesson),
                          QByteArray::fromStdString(CompileLesson(source)));
        QFile picture(QStringLiteral(VT_DATA_DIR "/images/default.jpg"));
        if (picture.open(QIODevice::ReadOnly))
            program.writeFile(QStringLiteral("images/default.jpg"), picture.readAll());
        frmAulas->StudentProfilePath = program.path(QStringLiteral("users/ana"));
        frmAulas->SetItemIndex(lesson - 1);
        frmAulas->LoadLesson(lesson - 1);
        ShowKeyboard(18, 336, frmExec);
    }

    // Runs the exercise window modally; `typing` runs once it is up, inside its event loop.
    void run(const std::function<void()>& typing) {
        WhenModal([typing](QWidget*) {
            typing();
            // A failed check returns early: close what is still open, or the test would wait for ever.
            if (QTest::currentTestFailed())
                QTimer::singleShot(0, [] {
                    while (QWidget* modal = QApplication::activeModalWidget())
                        modal->hide();
                });
        });
        frmExec->exec();
    }

    static void press(int qtKey) { QTest::keyClick(frmExec, static_cast<Qt::Key>(qtKey)); }
    static void type(std::initializer_list<int> qtKeys) {
        for (int k : qtKeys)
            press(k);
    }
    static void word() { type({Qt::Key_A, Qt::Key_S, Qt::Key_D, Qt::Key_Space}); }

    // The sound calls by file name: "great.wav", ..., "stop".
    QStringList soundFiles() const {
        QStringList names;
        for (const std::string& call : sound.Calls)
            names << QString::fromStdString(call == "stop" ? call : call.substr(call.find_last_of('/') + 1));
        return names;
    }

    TestProgram program;
    TRecordingSoundBackEnd sound;
    double now = 0.5; // noon
};

// Model "A S D space": four keys a word.
inline const std::vector<int> kAsdModel = {65, 83, 68, 32};
