// The program's own work per key while an exercise runs: the echo, the judging, the statistics and
// the start of the key's flash on the keyboard, up to the moment its keys turn red (the painting that
// follows is the toolkit's, and is measured apart, with the whole key).
//
//   bench_exercise [keys]      10,000 keys by default; prints the median, 99th percentile and maximum;
//                              then the word-end analysis of the slips by key (the alignment of a typed
//                              word with its model), over as many words of the 24 lessons typed with
//                              slips, each lesson's longest attempt (twice its keys) among them
//   bench_exercise --demo      a lesson on screen, typed slowly, then its result (for looking at it)
//   bench_exercise --demo --quick   the same at full speed (a smoke run)
//   bench_exercise --aula N [abnt2] [seconds]   lesson N of the course for a student with the American (or
//                              ABNT2) layout, typed to the middle of a word and held there (for a screenshot)
//
// The flash begins with a reading of the tick counter as its keys turn red, the second of the key (the
// judging reads the first, for the time before each key): the benchmark's tick counter notes that
// moment and moves 150 ms on at every reading, so no key waits. Where the keyboard does
// not wait at all, the pending window events (the painting of what the key changed) are processed once after
// the key and counted too.
#include "core/exercise/exerciseState.h"
#include "core/exercise/judging.h"
#include "core/exercise/keySlips.h"
#include "core/lessons/lessonFile.h"
#include "core/lessons/lessonSource.h"
#include "core/platform/sound.h"
#include "core/platform/tickCounter.h"
#include "core/storage/convert.h"
#include "tests/recordingSound.h"
#include "windows/course/uAulas.h"
#include "windows/course/uCont.h"
#include "windows/course/uExec.h"
#include "windows/course/uKey.h"
#include "windows/course/uRes.h"
#include "windows/course/uSplash.h"
#include "windows/course/windowSet.h"
#include "windows/widgets/blinkingLabel.h"
#include "windows/widgets/messages.h"
#include "windows/widgets/qtText.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

// A program folder with the built pictures and one lesson of its own, loaded by the catalogue's own
// loader, as a student's click would.
void loadLesson(const QTemporaryDir& dir, int words) {
    const QDir folder(dir.path());
    folder.mkpath(QStringLiteral("users"));
    folder.mkpath(QStringLiteral("aulas"));
    folder.mkpath(QStringLiteral("images"));
    const QDir images(QStringLiteral(VT_DATA_DIR "/images"));
    for (const QString& name : images.entryList(QDir::Files))
        QFile::copy(images.filePath(name), folder.filePath(QStringLiteral("images/") + name));
    QFile profile(folder.filePath(QStringLiteral("users/ana")));
    if (profile.open(QIODevice::WriteOnly))
        profile.write("[Aula1]\r\nHabilitado=1\r\n");
    profile.close();
    TLessonSource lesson;
    lesson.Title = "Mao Esq. Treino 1";
    lesson.Description = "Apoie os dedos da mao esquerda sobre A S D F.\r\nO polegar fica sobre a barra de "
                         "espaco.\r\nDigite  asdf  e um espaco, sem olhar para o teclado.";
    lesson.StartKey = 116;
    lesson.Codes = {65, 83, 68, 70, 32};
    lesson.WordsToType = words;
    lesson.TimeAllowed = StrToTime("00:01:00");
    lesson.MinimumPercent = 90;
    QFile file(folder.filePath(QStringLiteral("aulas/aula1.aul")));
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray::fromStdString(CompileLesson(lesson)));
    file.close();
    frmAulas->StudentProfilePath = folder.filePath(QStringLiteral("users/ana"));
    frmAulas->SetItemIndex(0);
    frmAulas->LoadLesson(0);
    ShowKeyboard(18, 336, frmExec);
}

// Lesson N of the built course, for a student with the given layout.
void loadCourseLesson(const QTemporaryDir& dir, int n, int layout) {
    const QDir folder(dir.path());
    for (const char* sub : {"users", "aulas", "images"})
        folder.mkpath(QString::fromLatin1(sub));
    const QDir images(QStringLiteral(VT_DATA_DIR "/images"));
    for (const QString& name : images.entryList(QDir::Files))
        QFile::copy(images.filePath(name), folder.filePath(QStringLiteral("images/") + name));
    const QString lesson = QStringLiteral("aulas/aula%1.aul").arg(n);
    QFile::copy(QStringLiteral(VT_DATA_DIR "/") + lesson, folder.filePath(lesson));
    QFile profile(folder.filePath(QStringLiteral("users/ana")));
    if (profile.open(QIODevice::WriteOnly))
        profile.write(QStringLiteral("[Aula%1]\r\nHabilitado=1\r\n[Keyboard]\r\nLayout=%2\r\n")
                          .arg(n)
                          .arg(layout)
                          .toLatin1());
    profile.close();
    frmAulas->StudentProfilePath = folder.filePath(QStringLiteral("users/ana"));
    frmAulas->SetItemIndex(n - 1);
    frmAulas->LoadLesson(n - 1);
    ShowKeyboard(18, 336, frmExec);
}

void send(Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(frmExec, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(frmExec, &release);
}

// The lesson's own keys, a little past twice its text when it is short, and held in the middle of a word.
int typeLesson(int layout, int seconds) {
    std::vector<int> codes(ExerciseState.ModelCodes, ExerciseState.ModelCodes + ExerciseState.ModelLength);
    std::vector<int> keys;
    while (keys.size() < 60)
        keys.insert(keys.end(), codes.begin(), codes.end());
    keys.insert(keys.end(), codes.begin(), codes.begin() + static_cast<long>(codes.size() / 2));
    std::size_t next = 0;
    bool shifted = false, started = false;
    QTimer typist;
    typist.setInterval(60);
    QObject::connect(&typist, &QTimer::timeout, [&] {
        if (!ExerciseState.Running) {
            if (!started) {
                started = true; // the countdown runs inside this key
                send(static_cast<Qt::Key>(Qt::Key_F1 + ExerciseState.StartKey - 112), QString());
            }
            return;
        }
        if (next >= keys.size()) {
            typist.stop();
            std::printf("held\n");
            std::fflush(stdout);
            QTimer::singleShot(seconds * 1000, [] {
                ExerciseState.Running = false;
                frmExec->hide();
            });
            return;
        }
        const int code = keys[next++];
        const Qt::KeyboardModifiers modifiers = shifted ? Qt::ShiftModifier : Qt::NoModifier;
        shifted = code == 16;
        Qt::Key key = static_cast<Qt::Key>(code);
        if (code == 16)
            key = Qt::Key_Shift;
        else if (code == 13)
            key = Qt::Key_Return;
        else if (code == 186)
            key = layout == 1 ? Qt::Key_Ccedilla : Qt::Key_Semicolon;
        else if (code == 188)
            key = Qt::Key_Comma;
        else if (code == 189)
            key = Qt::Key_Minus;
        else if (code == 190)
            key = Qt::Key_Period;
        send(key, QString(), code == 16 ? Qt::ShiftModifier : modifiers);
    });
    typist.start();
    frmExec->exec();
    std::printf("typed %zu keys: words right %d wrong %d\n", next, ExerciseState.WordsRight,
                ExerciseState.WordsWrong);
    return 0;
}

struct TKey {
    Qt::Key key;
    const char* text;
};
const TKey kKeys[] = {
    {Qt::Key_A, "a"}, {Qt::Key_S, "s"}, {Qt::Key_D, "d"}, {Qt::Key_F, "f"}, {Qt::Key_Space, " "}};

int benchmark(int count) {
    std::vector<double> micros;
    std::vector<double> handled; // the key's handling alone, before any painting
    micros.reserve(count);
    handled.reserve(count);
    Clock::time_point flashStart;
    bool flashStarted = false;
    int readings = 0;
    std::uint32_t ticks = 0;
    SetTickSource([&] {
        if (++readings == 2) {
            flashStarted = true;
            flashStart = Clock::now();
        }
        return ticks += 150;
    });
    frmExec->show();
    QApplication::processEvents();
    frmCont->tmrCont->setInterval(1);
    send(Qt::Key_F5, QString());
    std::mt19937 random(7);
    for (int i = 0; i < count; ++i) {
        // Mostly the model, now and then a wrong key.
        const TKey& k = random() % 10 == 0 ? kKeys[random() % 5] : kKeys[i % 5];
        flashStarted = false;
        readings = 0;
        const auto start = Clock::now();
        send(k.key, QString::fromLatin1(k.text));
        handled.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        if (!flashStarted) {
            QApplication::processEvents();
            flashStart = Clock::now();
        }
        micros.push_back(std::chrono::duration<double, std::micro>(flashStart - start).count());
        QApplication::processEvents(); // whatever the flash left to do, outside the measurement
    }
    SetTickSource({});
    const auto report = [count](const char* what, std::vector<double>& v) {
        std::sort(v.begin(), v.end());
        const auto at = [&](double q) { return v[static_cast<std::size_t>(q * (v.size() - 1))]; };
        std::printf("%-28s keys %d  median %.1f us  p99 %.1f us  max %.1f us\n", what, count, at(0.5),
                    at(0.99), v.back());
    };
    report("key to start of flash:", micros);
    // The whole key: the above, the painting of the lit keys and of what the key changed.
    report("whole key, painting included:", handled);
    std::printf("words right %d wrong %d, letters right %d wrong %d\n", ExerciseState.WordsRight,
                ExerciseState.WordsWrong, ExerciseState.LettersRight, ExerciseState.LettersWrong);
    ExerciseState.Running = false;
    frmExec->hide();
    return 0;
}

// The analysis at a word's end, as the judging runs it: the typed word aligned with the model, the
// slips added to the exercise's tallies. Words of the course's lessons with 0 to 4 slips of every kind.
int wordEnds(int count) {
    std::vector<std::vector<std::uint8_t>> models;
    for (int n = 1; n <= 24; ++n) {
        const TLessonData lesson =
            ReadLessonFile(std::string(VT_DATA_DIR) + "/aulas/aula" + std::to_string(n) + ".aul");
        models.emplace_back(lesson.Codes.begin(), lesson.Codes.end());
    }
    std::mt19937 random(11);
    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(count));
    std::vector<TSlipStep> steps;
    std::vector<std::uint32_t> ticks(2 * MaxLessonCodes, 0);
    TKeySum sum;
    for (int i = 0; i < count; ++i) {
        const auto& model = models[static_cast<std::size_t>(i) % models.size()];
        std::vector<std::uint8_t> typed;
        if (i % 100 == 0) { // the longest attempt the judging aligns: twice the model without its end
            typed.insert(typed.end(), model.begin(), model.end() - 1);
            typed.insert(typed.end(), model.begin(), model.end() - 1);
            typed.insert(typed.end(), model.begin(), model.begin() + 2);
        } else {
            typed = model;
            for (int slips = static_cast<int>(random() % 5); slips > 0 && typed.size() > 2; --slips) {
                const auto at = static_cast<std::ptrdiff_t>(random() % (typed.size() - 2));
                switch (random() % 4) {
                case 0:
                    typed[static_cast<std::size_t>(at)] = 'Q';
                    break;
                case 1:
                    typed.erase(typed.begin() + at);
                    break;
                case 2:
                    typed.insert(typed.begin() + at, 'Z');
                    break;
                default:
                    std::swap(typed[static_cast<std::size_t>(at)], typed[static_cast<std::size_t>(at) + 1]);
                }
            }
        }
        const auto start = Clock::now();
        AlignWord(model, typed, steps);
        AddWordSlips(sum, model, typed, ticks.data(), 0, steps);
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double q) { return micros[static_cast<std::size_t>(q * (micros.size() - 1))]; };
    std::printf(
        "word-end analysis:           words %d  median %.2f us  p99 %.2f us  max %.2f us  (%zu keys)\n",
        count, at(0.5), at(0.99), micros.back(), sum.Keys.size());
    return 0;
}

// A short lesson typed at a pace one can watch; it pauses on the running exercise and on the result.
// Quick: the same road at full speed, to see that it still runs to its end.
int demo(bool quick) {
    const int pace = quick ? 20 : 120;
    frmCont->tmrCont->setInterval(quick ? 20 : 300);
    const QString typed = QStringLiteral("asdf asdf asdf asdg asdf asdf ");
    int next = -1;
    QTimer typist;
    typist.setInterval(pace);
    QObject::connect(&typist, &QTimer::timeout, [&] {
        if (next < 0) {
            next = 0;
            typist.stop();
            send(Qt::Key_F5, QString());
            typist.start();
            return;
        }
        if (next >= typed.size())
            return;
        const QChar c = typed.at(next++);
        const Qt::Key key =
            c == QLatin1Char(' ') ? Qt::Key_Space : static_cast<Qt::Key>(c.toUpper().unicode());
        if (next == typed.size() - 2)
            typist.setInterval(
                quick ? 200 : 6000); // time to look at the running exercise before the last word ends
        send(key, c);
    });
    QObject::connect(frmRes, &QDialog::finished, [] {});
    QTimer::singleShot(500, &typist, [&] { typist.start(); });
    QTimer closer;
    closer.setInterval(quick ? 100 : 500);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        static int shown = 0;
        if (frmRes->isVisible() && ++shown == (quick ? 2 : 12)) {
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            QApplication::sendEvent(frmRes, &enter);
        }
    });
    closer.start();
    frmExec->exec();
    std::printf("demo ended: words right %d wrong %d, letters right %d wrong %d\n", ExerciseState.WordsRight,
                ExerciseState.WordsWrong, ExerciseState.LettersRight, ExerciseState.LettersWrong);
    return 0;
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QTemporaryDir dir;
    SetUpProgram(ToPath(dir.path()));
    // A bare folder has no pictures: say so on the terminal instead of in boxes.
    MessageSink sink;
    sink.error = [](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); };
    sink.message = sink.error;
    SetMessageSink(&sink);
    TRecordingSoundBackEnd silence;
    CreateWindowSet();
    frmsplash->hide(); // no roster coming up over the exercise
    SetSoundBackEnd(&silence);
    if (argc > 2 && QString::fromLatin1(argv[1]) == QLatin1String("--aula")) {
        const int layout = argc > 3 && QString::fromLatin1(argv[3]) == QLatin1String("abnt2") ? 1 : 0;
        loadCourseLesson(dir, std::clamp(std::atoi(argv[2]), 1, 24), layout);
        frmCont->tmrCont->setInterval(50);
        const int result = typeLesson(layout, argc > 4 ? std::atoi(argv[4]) : 10);
        DestroyWindowSet();
        return result;
    }
    const bool showing = argc > 1 && QString::fromLatin1(argv[1]) == QLatin1String("--demo");
    loadLesson(dir, showing ? 6 : 1000000);
    const bool quick = showing && argc > 2 && QString::fromLatin1(argv[2]) == QLatin1String("--quick");
    const int keys = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    const int result = showing ? demo(quick) : benchmark(keys) + wordEnds(keys);
    DestroyWindowSet();
    return result;
}
