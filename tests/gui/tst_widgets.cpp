#include "core/platform/vtError.h"
#include "windows/widgets/balloonHint.h"
#include "windows/widgets/blinkingLabel.h"
#include "windows/widgets/designScale.h"
#include "windows/widgets/makers.h"
#include "windows/widgets/picture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>

class TestWidgets : public QObject {
    Q_OBJECT
private slots:
    void designScaleFollowsTheScreenDensity() {
        const DesignScale same(96, 96.0);
        QCOMPARE(same(414), 414);
        const DesignScale down(106, 96.0);
        QCOMPARE(down(414), 375); // 414 * 96 / 106 = 374.9
        QCOMPARE(down(184), 167);
        QCOMPARE(down.rect(224, 8, 187, 25), QRect(203, 7, 169, 23));
        const DesignScale up(106, 192.0);
        QCOMPARE(up(106), 192);
        QCOMPARE(down.font("Arial", 11, true).pixelSize(), 10);
        QVERIFY(down.font("Arial", 11, true).bold());
        // A bitmap face without the size asked draws its outline look-alike at that size.
        for (int px : {12, 16})
            QCOMPARE(QFontInfo(same.font("Terminus", px)).pixelSize(), px);
    }

    void glyphsStayVisibleOnADarkTheme() {
        QWidget window;
        QPalette dark = window.palette();
        dark.setColor(QPalette::ButtonText, Qt::white);
        dark.setColor(QPalette::Button, QColor(0x40, 0x40, 0x40));
        window.setPalette(dark);
        QPushButton* play = MakeGlyphButton(&window, "play", QStringLiteral("&Fazer"), QStyle::SP_MediaPlay);
        const QImage shown = play->icon().pixmap(16, 16).toImage();
        int darkPixels = 0, light = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (qAlpha(shown.pixel(x, y)) > 128)
                    ++(QColor(shown.pixel(x, y)).lightness() < 96 ? darkPixels : light);
        QCOMPARE(darkPixels, 0);
        QVERIFY(light > 0);
        // An empty option's ring, and a chosen one's dot, stand out from a dark window.
        dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
        dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::Text, Qt::white);
        window.setPalette(dark);
        QRadioButton* option = MakeOption(&window, QStringLiteral("Aula"));
        option->resize(option->sizeHint());
        QStyleOptionButton o;
        o.initFrom(option);
        const QRect mark = option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &o, option);
        for (bool chosen : {false, true}) {
            option->setChecked(chosen);
            const QImage image = option->grab().toImage();
            int seen = 0;
            for (int y = mark.top(); y <= mark.bottom(); ++y)
                for (int x = mark.left(); x <= mark.right(); ++x)
                    seen += QColor(image.pixel(x, y)).lightness() > 110;
            QVERIFY2(seen >= mark.width() * 2, qPrintable(QStringLiteral("%1: %2").arg(chosen).arg(seen)));
        }
    }

    void balloonPointsAtItsTargetAndGoesAway() {
        QWidget owner;
        owner.resize(300, 200);
        auto* a = new QPushButton("a", &owner);
        auto* b = new QPushButton("b", &owner);
        b->move(100, 100);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        TBalloonHint hint(&owner);
        hint.ShowHint(a, "Title", "Line 1\nLine 2", 80);
        QVERIFY(hint.IsShowing());
        QCOMPARE(hint.HintTarget(), a);
        // The tail's tip is at the middle of the target's lower edge.
        const QPoint tip = a->mapToGlobal(QPoint(a->width() / 2, a->height()));
        QVERIFY(hint.geometry().adjusted(-1, -1, 1, 1).contains(tip));
        // One at a time: the next one replaces it, with its own time.
        hint.ShowHint(b, "", "Only text", 5000);
        QCOMPARE(hint.HintTarget(), b);
        QCOMPARE(hint.HintTitle(), QString());
        QTest::qWait(150);
        QVERIFY(hint.IsShowing());
        hint.CancelHint();
        QVERIFY(!hint.IsShowing());
        hint.ShowHint(a, "T", "x", 80);
        QTRY_VERIFY_WITH_TIMEOUT(!hint.IsShowing(), 2000);
        // It goes with its owner.
        hint.ShowHint(a, "T", "x", 5000);
        owner.hide();
        QVERIFY(!hint.IsShowing());
    }

    void blinkingLabelShowsAndHidesItsTextInTurn() {
        QWidget w;
        auto* label = new TBlinkingLabel(60, 30, &w);
        label->setText("Dados não disponíveis");
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(label->TextShown());
        // Sampled finely, so that the sampling cannot keep falling into the same phase.
        int hidden = 0;
        int shownAgain = 0;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 3000 && !(hidden && shownAgain)) {
            QTest::qWait(5);
            if (!label->TextShown())
                ++hidden;
            else if (hidden)
                ++shownAgain;
        }
        QVERIFY(hidden > 0);
        QVERIFY(shownAgain > 0);
        QCOMPARE(label->text(), QString("Dados não disponíveis"));
    }

    void picturesFailWithTheirOwnWords() {
        QTemporaryDir dir;
        const QString missing = dir.filePath("splash.jpg");
        try {
            LoadPictureFile(missing);
            QFAIL("loaded a missing file");
        } catch (const VtError& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     "Cannot open file \"" + missing + "\". No such file or directory");
        }
        QFile bmp(dir.filePath("bad.bmp"));
        QVERIFY(bmp.open(QIODevice::WriteOnly));
        bmp.write("BMnot really");
        bmp.close();
        QVERIFY_THROWS_EXCEPTION(VtError, LoadPictureFile(bmp.fileName()));
        // A bitmap cut off before its last rows: the toolkit would fill them with grey and say nothing.
        QImage logo(60, 30, QImage::Format_RGB32);
        logo.fill(Qt::darkGreen);
        const QString cut = dir.filePath("cut.bmp");
        QVERIFY(logo.save(cut, "BMP"));
        QVERIFY(!LoadPictureFile(cut).isNull());
        QVERIFY(QFile::resize(cut, QFileInfo(cut).size() - 100));
        try {
            LoadPictureFile(cut);
            QFAIL("loaded a cut-off bitmap");
        } catch (const VtError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Bitmap image is not valid"));
        }
    }

    void aBitmapIsLoadedWithItsPixels() {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(QColor(200, 30, 60));
        QTemporaryDir dir;
        const QString path = dir.filePath("x.bmp");
        QVERIFY(image.save(path, "BMP"));
        const QImage back = LoadPictureFile(path);
        QCOMPARE(back.size(), QSize(40, 30));
        QCOMPARE(back.pixelColor(5, 5), QColor(200, 30, 60));
    }
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
