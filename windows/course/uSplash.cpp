#include "windows/course/uSplash.h"

#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"
#include "core/storage/profileKeys.h"
#include "windows/course/uTela.h"
#include "windows/widgets/colours.h"
#include "windows/widgets/designScale.h"
#include "windows/widgets/makers.h"
#include "windows/widgets/messages.h"
#include "windows/widgets/picture.h"
#include "windows/widgets/qtText.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QScreen>

Tfrmsplash* frmsplash = nullptr;

Tfrmsplash::Tfrmsplash()
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen) {
    setObjectName(QStringLiteral("frmsplash"));
    const DesignScale s;
    s.fixSize(this, 485, 194);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    Image1 = new QLabel(this);
    Image1->setTextFormat(Qt::PlainText);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    s.place(Image1, 0, 0, 485, 194);

    Label1 = new QLabel(QStringLiteral("Versão 1.7"), this);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setObjectName(QStringLiteral("Label1"));
    s.place(Label1, 16, 168, 97, 25);
    Label1->setFont(s.font(QStringLiteral("Comic Sans MS"), 18, true));
    SetColours(Label1, QColor(0x00, 0xFF, 0x00));

    // Runs from the moment the splash is made, not from its showing.
    tmrOcultar = MakeTimer(this, "tmrOcultar", 3000);
    tmrOcultar->setSingleShot(true);
    connect(tmrOcultar, &QTimer::timeout, this, [this] { Guard([this] { tmrOcultarTimer(); }); });
    tmrOcultar->start();

    CentreOnScreen(this, ScreenPart::Whole);

    Guard([this] { FormCreate(); });
}

void Tfrmsplash::FormCreate() {
    const QString path = FromPath(ProgramFile(files::Splash));
    // No larger than the screen it is shown on.
    const QScreen* shownOn = QGuiApplication::primaryScreen();
    const QImage picture = LoadPictureFile(path, shownOn ? shownOn->availableGeometry().size() : QSize());
    // The picture box, and the window with it, take the picture's size (at the windows' scale), no
    // larger than the screen: a smaller picture is not stretched.
    const DesignScale s;
    QSize size(s(picture.width()), s(picture.height()));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize room = screen->availableGeometry().size();
        if (size.width() > room.width() || size.height() > room.height())
            size = size.scaled(room, Qt::KeepAspectRatio);
    }
    if (size.isEmpty())
        return;
    Image1->setPixmap(QPixmap::fromImage(picture));
    Image1->setGeometry(QRect(QPoint(0, 0), size));
    setFixedSize(size);
    CentreOnScreen(this, ScreenPart::Whole);
}

void Tfrmsplash::tmrOcultarTimer() {
    tmrOcultar->stop();
    if (!isVisible() || !frmTela) {
        // An error box shown while the windows were being made (the roster included) ran its own
        // event loop long enough for the timer to fire before the splash was up or the roster was
        // made; the roster follows once both are there.
        m_expiredWhileHidden = true;
        return;
    }
    hide();
    frmTela->show();
    // Without a window manager nothing else would make the roster the active window.
    frmTela->raise();
    frmTela->activateWindow();
}

void Tfrmsplash::SplashShown() {
    if (m_expiredWhileHidden)
        QTimer::singleShot(0, this, [this] { Guard([this] { tmrOcultarTimer(); }); });
}
