// The course as shipped: every lesson, picture and sound read through the program's own loaders.
#include "lessons/lessonFile.h"
#include "platform/jpeg.h"
#include "storage/textFile.h"
#include "widgets/picture.h"

#include <QFile>
#include <QtTest>
#include <cmath>
#include <set>

namespace {
const QString kData = QStringLiteral(VT_DATA_DIR);

const char* const kCatalogue[24] = {
    "Mao Esq. Treino 1", "Mao Dir. Treino 1", "Mao Esq. Treino 2", "Mao Dir. Treino 2", "Mao Esq. Dir. 1",
    "Mao Esq. Dir. 2",   "Mao Esq. Dir. 3",   "Mao Esq. Dir. 4",   "Mao Esq. Outras 1", "Mao Dir. Outras 1",
    "Mao Esq. Outras 2", "Mao Dir. Outras 2", "Treino Conjunto 1", "Treino Conjunto 2", "Treino Conjunto 3",
    "Palavras 1",        "Palavras 2",        "Palavras 3",        "Palavras 4",        "Exerc. Carta 1",
    "Exerc. Carta 2",    "Aula Final 1",      "Aula Final 2",      "Teste Final"};

// Codes that light a key of the on-screen keyboard.
bool lightsKey(int code) {
    return code == 8 || code == 13 || code == 16 || code == 20 || code == 32 || (code >= 48 && code <= 57) ||
           (code >= 65 && code <= 90) || (code >= 186 && code <= 192) || (code >= 219 && code <= 222);
}

// Keys that type the same on the American and the ABNT2 layouts.
bool sameOnBothLayouts(int code) {
    return code == 13 || code == 16 || code == 32 || (code >= 48 && code <= 57) ||
           (code >= 65 && code <= 90) || code == 186 || code == 188 || code == 190;
}

// The pass criteria's curve: keys per minute and percentage of right keys asked for in lesson n.
int targetSpeed(int n) {
    return 40 + static_cast<int>(std::floor(110.0 * (n - 1) / 23 + 0.5));
}
int targetAccuracy(int n) {
    return 90 + static_cast<int>(std::floor(5.0 * (n - 1) / 23 + 0.5));
}

// The exercise's judging of keys and words, and the result window's pass rule.
struct Exercise {
    std::string model;
    std::string typed;
    std::size_t position = 0;
    int wordsRight = 0, wordsWrong = 0, lettersRight = 0, lettersWrong = 0;

    void key(int code) {
        const char b = static_cast<char>(code & 0xFF);
        typed += b;
        (b == model[position] ? lettersRight : lettersWrong) += 1;
        ++position;
        if (b == model.back()) {
            (typed == model ? wordsRight : wordsWrong) += 1;
            position = 0;
            typed.clear();
        } else if (position == model.size()) {
            position = 0;
            typed.clear();
        }
    }
    int percent() const { return 100 * lettersRight / std::max(1, lettersRight + lettersWrong); }
};

// A typist at a steady speed who hits a wrong key for (100 - accuracy) keys in a hundred, never in
// place of the key that ends the word. Answers whether the lesson is passed.
bool typistPasses(const TLessonData& lesson, double keysPerMinute, int accuracy) {
    Exercise e;
    for (int code : lesson.Codes)
        e.model += static_cast<char>(code & 0xFF);
    const int last = lesson.Codes.back();
    int debt = 0;
    long keys = 0;
    while (e.wordsRight + e.wordsWrong < lesson.WordsToType && keys < 100000) {
        for (std::size_t i = 0; i < lesson.Codes.size(); ++i, ++keys) {
            const int expected = lesson.Codes[i];
            debt += 100 - accuracy;
            if (debt >= 100 && i + 1 < lesson.Codes.size()) {
                debt -= 100;
                int wrong = 81;
                while (wrong == expected || wrong == last)
                    ++wrong;
                e.key(wrong);
            } else
                e.key(expected);
        }
    }
    const double elapsed = keys * 60.0 / keysPerMinute / 86400.0;
    return lesson.ExpectedTime >= elapsed && e.percent() >= lesson.MinimumPercent;
}

struct Wav {
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<double> samples; // -1 to 1
};

quint32 le(const QByteArray& b, int at, int size) {
    quint32 v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | static_cast<quint8>(b[at + i]);
    return v;
}

Wav readWav(const QString& path) {
    QFile file(path);
    Wav wav;
    if (!file.open(QIODevice::ReadOnly))
        return wav;
    const QByteArray b = file.readAll();
    if (b.size() < 12 || b.left(4) != "RIFF" || b.mid(8, 4) != "WAVE")
        return wav;
    for (int at = 12; at + 8 <= b.size();) {
        const QByteArray id = b.mid(at, 4);
        const int size = static_cast<int>(le(b, at + 4, 4));
        const int body = at + 8;
        if (body + size > b.size())
            break;
        if (id == "fmt ") {
            wav.format = static_cast<int>(le(b, body, 2));
            wav.channels = static_cast<int>(le(b, body + 2, 2));
            wav.rate = static_cast<int>(le(b, body + 4, 4));
            wav.bits = static_cast<int>(le(b, body + 14, 2));
        } else if (id == "data" && wav.bits == 16) {
            for (int i = 0; i + 1 < size; i += 2)
                wav.samples.push_back(static_cast<qint16>(le(b, body + i, 2)) / 32768.0);
        }
        at = body + size + (size & 1);
    }
    return wav;
}

double loudestRmsDb(const Wav& wav) {
    const std::size_t window = static_cast<std::size_t>(wav.rate / 20);
    double loudest = 0;
    for (std::size_t at = 0; at < wav.samples.size(); at += window / 4) {
        double sum = 0;
        for (std::size_t i = at; i < std::min(wav.samples.size(), at + window); ++i)
            sum += wav.samples[i] * wav.samples[i];
        loudest = std::max(loudest, sum / static_cast<double>(window));
    }
    return 10 * std::log10(loudest);
}

double crossingsPerSecond(const Wav& wav) {
    int crossings = 0;
    for (std::size_t i = 1; i < wav.samples.size(); ++i)
        crossings += (wav.samples[i - 1] < 0) != (wav.samples[i] < 0);
    return crossings * static_cast<double>(wav.rate) / static_cast<double>(wav.samples.size());
}

bool near(QRgb pixel, QRgb colour) {
    return std::abs(qRed(pixel) - qRed(colour)) < 24 && std::abs(qGreen(pixel) - qGreen(colour)) < 24 &&
           std::abs(qBlue(pixel) - qBlue(colour)) < 24;
}
} // namespace

class TestCourse : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { CloseTextFile(); }

    void curveRunsFromBeginnerToFinalTest() {
        QCOMPARE(targetSpeed(1), 40);
        QCOMPARE(targetAccuracy(1), 90);
        QCOMPARE(targetSpeed(24), 150);
        QCOMPARE(targetAccuracy(24), 95);
    }

    void everyLessonLoadsAndCanBePassed_data() {
        QTest::addColumn<int>("n");
        for (int n = 1; n <= 24; ++n)
            QTest::addRow("aula%d", n) << n;
    }
    void everyLessonLoadsAndCanBePassed() {
        QFETCH(int, n);
        const TLessonData lesson =
            ReadLessonFile(QStringLiteral("%1/aulas/aula%2.aul").arg(kData).arg(n).toStdString());
        QCOMPARE(QString::fromStdString(lesson.Title), QString::fromLatin1(kCatalogue[n - 1]));
        QVERIFY(lesson.StartKey >= 112 && lesson.StartKey <= 123);
        QVERIFY2(lesson.Description.find("\r\n") != std::string::npos, "a description of several lines");
        QVERIFY(!lesson.Codes.empty() && lesson.Codes.size() <= 256);
        for (int code : lesson.Codes) {
            QVERIFY2(lightsKey(code), qPrintable(QString::number(code)));
            QVERIFY2(sameOnBothLayouts(code), qPrintable(QString::number(code)));
            if (n < 16)
                QVERIFY2(code != 16, "capitals only in the later lessons");
        }
        const int last = lesson.Codes.back();
        QVERIFY(last == 32 || last == 13); // a word ends with a space or a line with Enter
        QCOMPARE(std::count(lesson.Codes.begin(), lesson.Codes.end(), last), 1L);
        QVERIFY(lesson.WordsToType > 0);

        const int speed = targetSpeed(n), accuracy = targetAccuracy(n);
        QCOMPARE(lesson.MinimumPercent, accuracy);
        QVERIFY2(typistPasses(lesson, speed, accuracy), "a typist at the lesson's target passes");
        QVERIFY2(!typistPasses(lesson, speed * 0.85, accuracy), "a typist 15% slower fails");
        QVERIFY2(!typistPasses(lesson, speed, accuracy - 3), "a typist 3 points less accurate fails");
    }

    void picturesDecodeAtTheirSizes() {
        for (int n = 1; n <= 24; ++n) {
            const RawPicture picture =
                DecodeJpegFile(QStringLiteral("%1/images/aula%2.jpg").arg(kData).arg(n).toStdString());
            QCOMPARE(picture.width, 232);
            QCOMPARE(picture.height, 216);
            QCOMPARE(picture.warnings, 0);
        }
        const RawPicture catalogue =
            DecodeJpegFile((kData + QStringLiteral("/images/default.jpg")).toStdString());
        QCOMPARE(catalogue.width, 165);
        QCOMPARE(catalogue.height, 137);
        const QImage logo = LoadPictureFile(kData + QStringLiteral("/logo_diploma.bmp"));
        QCOMPARE(logo.size(), QSize(490, 214));
    }

    void lessonPicturesShowTheLessonsKeysInTheirFingersColours() {
        // Lesson 1 is the left hand's home row: A in the little finger's red, J not lit; lesson 2 is
        // the right hand's: J in the right index finger's blue.
        const QImage one = LoadPictureFile(kData + QStringLiteral("/images/aula1.jpg"));
        const QImage two = LoadPictureFile(kData + QStringLiteral("/images/aula2.jpg"));
        const QPoint keyA(34, 68), keyJ(123, 68);
        QVERIFY(near(one.pixel(keyA), qRgb(0xE5, 0x73, 0x73)));
        QVERIFY(near(one.pixel(keyJ), qRgb(0xE4, 0xE8, 0xEE)));
        QVERIFY(near(two.pixel(keyJ), qRgb(0x64, 0xB5, 0xF6)));
        QVERIFY(near(two.pixel(keyA), qRgb(0xE4, 0xE8, 0xEE)));
    }

    void soundsAreShortCleanAndEquallyLoud() {
        const char* names[] = {"go", "great", "nono0", "nono1", "ok", "ahah"};
        std::vector<double> levels;
        for (const char* name : names) {
            const Wav wav = readWav(QStringLiteral("%1/snd/%2.wav").arg(kData, QString::fromLatin1(name)));
            QCOMPARE(wav.format, 1); // PCM
            QCOMPARE(wav.channels, 1);
            QCOMPARE(wav.bits, 16);
            QVERIFY(wav.rate >= 22050);
            const double seconds = static_cast<double>(wav.samples.size()) / wav.rate;
            QVERIFY2(seconds > 0.2 && seconds < 1.5, name);
            double peak = 0;
            for (double s : wav.samples)
                peak = std::max(peak, std::abs(s));
            const double peakDb = 20 * std::log10(peak);
            QVERIFY2(peakDb > -12 && peakDb < -0.9, name);
            // Fading in and out: silence at both ends, no step that would click.
            const std::size_t edge = static_cast<std::size_t>(wav.rate / 1000);
            for (std::size_t i = 0; i < edge; ++i) {
                QVERIFY2(std::abs(wav.samples[i]) < 0.02, name);
                QVERIFY2(std::abs(wav.samples[wav.samples.size() - 1 - i]) < 0.02, name);
            }
            levels.push_back(loudestRmsDb(wav));
        }
        const auto [quietest, loudest] = std::minmax_element(levels.begin(), levels.end());
        QVERIFY(*loudest - *quietest < 1.0);

        // The two wrong-word sounds must be told apart by ear: pitch and length differ.
        const Wav nono0 = readWav(kData + QStringLiteral("/snd/nono0.wav"));
        const Wav nono1 = readWav(kData + QStringLiteral("/snd/nono1.wav"));
        QVERIFY(crossingsPerSecond(nono0) > 1.5 * crossingsPerSecond(nono1));
        QVERIFY(nono0.samples.size() > 1.2 * nono1.samples.size());
    }
};

QTEST_MAIN(TestCourse)
#include "tst_course.moc"
