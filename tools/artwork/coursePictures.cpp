#include "artwork.h"
#include "keyboardArt.h"

#include "core/lessons/lessonFile.h"
#include "core/lessons/lessonSource.h"
#include "core/platform/atomicFile.h"
#include "core/platform/pathText.h"
#include "core/platform/vtError.h"
#include "core/storage/convert.h"
#include "core/storage/profileKeys.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <algorithm>
#include <cerrno>
#include <cmath>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
const QColor kNavy(0x00, 0x54, 0xA8);

QFont face(const char* family, int pixels, bool bold = false) {
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

constexpr int kEnter = Vk::Return, kShift = Vk::Shift, kSpace = Vk::Space, kRightOfL = Vk::RightOfL;

// One piece of the text as the picture draws it: a character, or the key right of L as a keycap with
// both layouts' legends.
struct Piece {
    QString text;
    bool keycap = false;
};

// The text to type without its closing key, in pieces, as the American layout names it: the key
// right of L is ";" alone and "ç" in a word, and becomes a keycap.
std::vector<Piece> piecesOf(const std::vector<int>& codes) {
    std::vector<Piece> pieces;
    for (const QChar c : QString::fromStdString(Cp1252ToUtf8(TextToType(codes, 0)))) {
        if (c == QLatin1Char(';') || c == QChar(0xE7))
            pieces.push_back({c == QLatin1Char(';') ? QString() : QString(c), true});
        else
            pieces.push_back({QString(c), false});
    }
    return pieces;
}

// Character cells a piece takes: a keycap is wider than a letter, to hold its legends.
double cellsOf(const Piece& piece) {
    return !piece.keycap ? 1.0 : piece.text.isEmpty() ? 2.0 : 1.8;
}

double widthOf(const std::vector<Piece>& line) {
    double w = 0;
    for (const Piece& p : line)
        w += cellsOf(p);
    return w;
}

// The text in two lines, broken at the space that makes the longer of them (the second with the Enter
// key after it) shortest.
std::vector<std::vector<Piece>> twoLines(const std::vector<Piece>& pieces, double enterCells) {
    std::vector<std::vector<Piece>> best{pieces};
    double bestWidth = widthOf(pieces) + enterCells;
    for (std::size_t i = 1; i + 1 < pieces.size(); ++i) {
        if (pieces[i].keycap || pieces[i].text != QLatin1String(" "))
            continue;
        std::vector<Piece> first(pieces.begin(), pieces.begin() + static_cast<long>(i));
        std::vector<Piece> second(pieces.begin() + static_cast<long>(i + 1), pieces.end());
        const double width = std::max(widthOf(first), widthOf(second) + enterCells);
        if (width < bestWidth) {
            bestWidth = width;
            best = {first, second};
        }
    }
    return best;
}

// A small keycap drawn in the text: the key right of L, or Enter at the end of a line.
void drawKeycap(QPainter& p, const QRectF& r, Finger finger) {
    QPainterPath cap;
    cap.addRoundedRect(r, 3, 3);
    p.fillPath(cap, FingerColour(finger));
    p.setPen(QPen(QColor(0x44, 0x44, 0x44), 1));
    p.drawPath(cap);
}

// The text to type, as large as fits in two lines of the box: drills repeated along the line as a
// typing book prints them, lines followed by the Enter key.
void drawTextToType(QPainter& p, const QRectF& box, const std::vector<int>& codes) {
    std::vector<Piece> pieces = piecesOf(codes);
    const bool drill = codes.back() == kSpace;
    const KeyLegends rightOfL = LegendsOf(kRightOfL);
    // A line read at a glance is best, down to a size still easy to read; two lines otherwise.
    std::vector<std::pair<int, std::size_t>> tries; // font size, most lines
    for (int pixels = 22; pixels >= 15; --pixels)
        tries.emplace_back(pixels, 1);
    for (int pixels = 22; pixels >= 11; --pixels)
        tries.emplace_back(pixels, 2);
    for (std::size_t attempt = 0; attempt < tries.size(); ++attempt) {
        const auto [pixels, mostLines] = tries[attempt];
        QFont font(QStringLiteral("DejaVu Sans Mono"), -1, QFont::Bold);
        font.setPixelSize(pixels);
        const double cell = QFontMetricsF(font).horizontalAdvance(QLatin1Char('m'));
        const double lineHeight = pixels * 1.25;
        const double columns = box.width() / cell;
        QFont legend = font;
        legend.setPixelSize(std::max(8, pixels * 3 / 5));
        const QString enter = QStringLiteral("Enter ↵");
        const double enterWidth = QFontMetricsF(legend).horizontalAdvance(enter) + 8;
        const double enterCells = (enterWidth + cell * 0.4) / cell;
        std::vector<std::vector<Piece>> lines;
        if (drill) {
            std::vector<Piece> line = pieces;
            const double one = widthOf(pieces) + 1;
            while (widthOf(line) + one <= columns) {
                line.push_back({QStringLiteral(" "), false});
                line.insert(line.end(), pieces.begin(), pieces.end());
            }
            lines.push_back(line);
        } else {
            lines = mostLines == 1 ? std::vector<std::vector<Piece>>{pieces} : twoLines(pieces, enterCells);
        }
        const double height = lines.size() * lineHeight;
        const double lastWidth = widthOf(lines.back()) + (drill ? 0 : enterCells);
        const std::size_t copies = (lines.front().size() + 1) / (pieces.size() + 1);
        const bool fits = lines.size() <= mostLines && widthOf(lines.front()) <= columns &&
                          lastWidth <= columns &&
                          (!drill || copies >= 2 || mostLines == 2); // a drill shows its repetition
        if (!fits && attempt + 1 < tries.size())
            continue;
        double y = box.top() + (box.height() - height) / 2;
        for (std::size_t l = 0; l < lines.size(); ++l, y += lineHeight) {
            double x = box.left() + (drill ? (box.width() - widthOf(lines[l]) * cell) / 2 : 0);
            for (const Piece& piece : lines[l]) {
                if (piece.keycap) {
                    const QRectF cap(x + 1, y + 1, cell * cellsOf(piece) - 2, lineHeight - 2);
                    drawKeycap(p, cap, rightOfL.finger);
                    p.setPen(QColor(0x1A, 0x1A, 0x1A));
                    p.setFont(legend);
                    const QRectF inner = cap.adjusted(2, 0, -2, -1);
                    p.drawText(inner, Qt::AlignLeft | Qt::AlignTop, rightOfL.american);
                    if (piece.text.isEmpty()) {
                        p.drawText(inner, Qt::AlignRight | Qt::AlignBottom, rightOfL.abnt2);
                    } else { // a word's ç, large, with the American key's legend beside it
                        p.setFont(font);
                        p.drawText(inner, Qt::AlignRight | Qt::AlignVCenter, piece.text);
                    }
                    x += cell * cellsOf(piece);
                    continue;
                }
                p.setFont(font);
                p.setPen(QColor(0x10, 0x18, 0x30));
                p.drawText(QRectF(x, y, cell, lineHeight), Qt::AlignCenter, piece.text);
                x += cell;
            }
            if (!drill && l + 1 == lines.size()) {
                const QRectF cap(x + cell * 0.4, y + 2, enterWidth, lineHeight - 4);
                drawKeycap(p, cap, LegendsOf(kEnter).finger);
                p.setFont(legend);
                p.setPen(QColor(0x1A, 0x1A, 0x1A));
                p.drawText(cap, Qt::AlignCenter, enter);
            }
        }
        return;
    }
}

// What a lesson asks for, piece by piece: a key by its code, a symbol typed with Shift as 1000 + its
// key, and capitals as Shift itself.
std::vector<int> thingsOf(const std::vector<int>& codes) {
    std::vector<int> things;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const int next = codes[i] == kShift && i + 1 < codes.size() ? codes[i + 1] : 0;
        if (next && !(next >= 'A' && next <= 'Z')) {
            things.push_back(1000 + next);
            ++i;
        } else
            things.push_back(codes[i]);
    }
    return things;
}

QString nameOf(int thing) {
    if (thing > 1000)
        return QString::fromStdString(Cp1252ToUtf8(TextToType({kShift, thing - 1000, 0}, 0)));
    switch (thing) {
    case kEnter:
        return QStringLiteral("Enter");
    case kShift:
        return QStringLiteral("Shift");
    case kSpace:
        return QStringLiteral("espaço");
    case kRightOfL:
        return QStringLiteral("; (Ç)");
    case Vk::OemMinus:
        return QStringLiteral("hífen -");
    default: {
        const KeyLegends legends = LegendsOf(thing);
        return legends.american;
    }
    }
}
} // namespace

std::vector<TLessonData> ReadCourse(const QDir& folder, const QString& installed) {
    std::vector<TLessonData> course;
    for (int n = 1; n <= 24; ++n) {
        const QString name =
            QString::fromStdString(std::string(files::LessonsFolder) + "/" + files::LessonFile(n));
        QString path = folder.filePath(name);
        if (!QFileInfo::exists(path) && !installed.isEmpty() &&
            QFileInfo::exists(QDir(installed).filePath(name)))
            path = QDir(installed).filePath(name);
        if (!QFileInfo::exists(path))
            throw VtError("falta o arquivo de aula " + path.toStdString());
        course.push_back(ReadLessonFile(path.toStdString()));
    }
    return course;
}

std::vector<int> NoveltiesOf(const std::vector<TLessonData>& course, int number) {
    std::set<int> earlier;
    for (int n = 1; n < number; ++n)
        for (int thing : thingsOf(course[static_cast<std::size_t>(n - 1)].Codes))
            earlier.insert(thing);
    std::vector<int> news;
    for (int thing : thingsOf(course[static_cast<std::size_t>(number - 1)].Codes))
        if (earlier.insert(thing).second)
            news.push_back(thing);
    return news;
}

namespace {
// The picture of something to type: a header, the text on a page of the typing book, the keyboard with
// the text's keys in their fingers' colours and `fresh` outlined, the line under it and the figures.
QImage drawExercisePicture(const QString& header, const TLessonData& lesson, const std::set<int>& fresh,
                           const QString& underKeyboard) {
    QImage image(232, 216, QImage::Format_RGB32);
    image.fill(QColor(0xF4, 0xF6, 0xFA));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    p.fillRect(QRect(0, 0, 232, 20), kNavy);
    p.setFont(face("DejaVu Sans", 11, true));
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 232, 20), Qt::AlignCenter, header);

    // The page of the typing book: what to type, how many times.
    QPainterPath page;
    page.addRoundedRect(QRectF(3.5, 23.5, 225, 72), 4, 4);
    p.fillPath(page, Qt::white);
    p.setPen(QPen(QColor(0xB5, 0xC1, 0xD9), 1));
    p.drawPath(page);
    const bool drill = !lesson.Codes.empty() && lesson.Codes.back() == kSpace;
    p.setFont(face("DejaVu Sans", 10));
    p.setPen(QColor(0x55, 0x5F, 0x70));
    p.drawText(QRect(8, 25, 216, 14), Qt::AlignLeft | Qt::AlignVCenter,
               drill ? QStringLiteral("Digite, com espaço entre os grupos:")
                     : QStringLiteral("Digite a linha e tecle Enter:"));
    if (!lesson.Codes.empty())
        drawTextToType(p, QRectF(8, 40, 216, 54), lesson.Codes);

    const std::set<int> codes(lesson.Codes.begin(), lesson.Codes.end());
    DrawKeyboard(p, QRectF(5, 100, 222, 76), codes, fresh);

    p.setFont(face("DejaVu Sans", 10));
    p.setPen(QColor(0x33, 0x3D, 0x4F));
    p.drawText(QRect(4, 179, 224, 17), Qt::AlignCenter,
               p.fontMetrics().elidedText(underKeyboard, Qt::ElideRight, 224));
    const int seconds = static_cast<int>(std::lround(lesson.ExpectedTime * 86400));
    p.drawText(QRect(4, 196, 224, 17), Qt::AlignCenter,
               QStringLiteral("%1 vezes em até %2:%3, com %4% de acerto")
                   .arg(lesson.WordsToType)
                   .arg(seconds / 60)
                   .arg(seconds % 60, 2, 10, QLatin1Char('0'))
                   .arg(lesson.MinimumPercent));
    p.end();
    return image;
}
} // namespace

QImage DrawLessonPicture(int number, const TLessonData& lesson, const std::vector<int>& news) {
    std::set<int> fresh; // outlined on the keyboard: a new symbol's key and its Shift
    QStringList names;
    for (int thing : news) {
        names << nameOf(thing);
        if (thing > 1000)
            fresh.insert({kShift, thing - 1000});
        else
            fresh.insert(thing);
    }
    const QString title = QString::fromStdString(Cp1252ToUtf8(lesson.Title));
    return drawExercisePicture(QStringLiteral("Aula %1 - %2").arg(number).arg(title), lesson, fresh,
                               names.isEmpty() ? QStringLiteral("Nenhuma tecla nova: mais velocidade")
                                               : QStringLiteral("Novas: ") + names.join(QLatin1Char(' ')));
}

QImage DrawReforcoPicture(const TLessonData& reforco, const std::vector<int>& focus) {
    QStringList names;
    for (int key : focus)
        names << nameOf(key);
    return drawExercisePicture(QStringLiteral("Reforço"), reforco, std::set<int>(focus.begin(), focus.end()),
                               QStringLiteral("Teclas em foco: ") + names.join(QLatin1Char(' ')));
}

QImage DrawCataloguePicture() {
    QImage image(165, 137, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, 0, 137);
    sky.setColorAt(0.0, QColor(0x0B, 0x2A, 0x5C));
    sky.setColorAt(1.0, QColor(0x1B, 0x4F, 0x9C));
    p.fillRect(image.rect(), sky);
    p.setFont(face("Comic Neue", 24, true));
    p.setPen(Qt::white);
    p.drawText(QRect(0, 2, 165, 30), Qt::AlignCenter, QStringLiteral("Velotecla"));
    p.setFont(face("DejaVu Sans", 10));
    p.setPen(QColor(0xB5, 0xC1, 0xD9));
    p.drawText(QRect(0, 30, 165, 14), Qt::AlignCenter, QStringLiteral("Curso de Datilografia"));
    DrawKeyboard(p, QRectF(6, 52, 153, 58), {}, {}, true);
    p.setFont(face("DejaVu Sans", 10));
    p.setPen(Qt::white);
    p.drawText(QRect(0, 116, 165, 18), Qt::AlignCenter, QStringLiteral("Cada cor, um dedo"));
    p.end();
    return image;
}

QImage DrawDiplomaLogo() {
    QImage image(490, 214, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // A keycap with the initial.
    QPainterPath cap;
    cap.addRoundedRect(QRectF(22, 30, 140, 140), 22, 22);
    p.fillPath(cap, QColor(0xC4, 0xFF, 0xEF));
    p.setPen(QPen(kNavy, 6));
    p.drawPath(cap);
    p.setFont(face("Comic Neue", 110, true));
    p.setPen(kNavy);
    p.drawText(QRectF(22, 26, 140, 140), Qt::AlignCenter, QStringLiteral("V"));
    p.setPen(QPen(kNavy, 5));
    p.drawLine(QPointF(72, 150), QPointF(112, 150));

    p.setFont(face("Comic Neue", 70, true));
    p.setPen(QColor(0x00, 0x00, 0x80));
    p.drawText(QRect(180, 28, 300, 92), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velotecla"));
    p.setFont(face("DejaVu Sans", 24));
    p.setPen(QColor(0x44, 0x4C, 0x5C));
    p.drawText(QRect(184, 118, 300, 36), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Curso de Datilografia"));
    // The colours of the fingers, little finger to little finger.
    const Finger band[] = {Finger::LeftPinky,   Finger::LeftRing,  Finger::LeftMiddle,
                           Finger::LeftIndex,   Finger::Thumb,     Finger::RightIndex,
                           Finger::RightMiddle, Finger::RightRing, Finger::RightPinky};
    for (int i = 0; i < 9; ++i)
        p.fillRect(QRectF(184 + i * 33, 164, 31, 10), FingerColour(band[i]));
    p.end();
    return image;
}

void DrawLessonPictures(const QDir& folder, const std::vector<int>& numbers, const QString& installed) {
    const std::vector<TLessonData> course = ReadCourse(folder, installed);
    // Made as the data folder's own: in a folder shared by a group, the group's whatever the umask, so
    // that every member's program reads the pictures and every member's vt-figura can redraw them.
    const std::filesystem::path images =
        PathFromUtf8(folder.filePath(QStringLiteral("images")).toStdString());
    if (!MakeDataFolder(images)) {
        const int error = errno;
        const std::string problem = DataPathProblem(images);
        throw VtError(problem.empty() ? "não foi possível criar a pasta " + PathToUtf8(images) + ": " +
                                            SystemErrorTextPt(error)
                                      : problem);
    }
#ifndef _WIN32
    // One made by an earlier vt-figura under a strict umask shuts the group out: its owner opens it again.
    struct stat parent {
    }, own{};
    if (const int fd = ::open(images.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC); fd >= 0) {
        if (::stat(images.parent_path().c_str(), &parent) == 0 && (parent.st_mode & S_ISGID) != 0 &&
            ::fstat(fd, &own) == 0 && own.st_uid == ::geteuid() && (own.st_mode & 0070) != 0070)
            (void)::fchmod(fd, (own.st_mode & 07777) | 02070);
        ::close(fd);
    }
#endif
    for (int n = 1; n <= 24; ++n) {
        if (!numbers.empty() && std::find(numbers.begin(), numbers.end(), n) == numbers.end())
            continue;
        SaveJpeg(DrawLessonPicture(n, course[static_cast<std::size_t>(n - 1)], NoveltiesOf(course, n)),
                 folder.filePath(QStringLiteral("images/aula%1.jpg").arg(n)));
    }
}

void DrawCoursePictures(const QDir& out) {
    DrawLessonPictures(out);
    SaveJpeg(DrawCataloguePicture(), out.filePath(QStringLiteral("images/default.jpg")));
    const QString logo = out.filePath(QStringLiteral("logo_diploma.bmp"));
    if (!DrawDiplomaLogo().save(logo, "BMP"))
        throw VtError("cannot write " + logo.toStdString());
}
