#include "windows/course/uSobre.h"

#include "buildConfig.h"

#include "core/platform/dataPlaces.h"
#include "core/platform/pathText.h"
#include "core/storage/profileKeys.h"
#include "windows/widgets/colours.h"
#include "windows/widgets/designScale.h"
#include "windows/widgets/makers.h"
#include "windows/widgets/messages.h"
#include "windows/widgets/ownCaption.h"
#include "windows/widgets/picture.h"
#include "windows/widgets/qtText.h"

#include <QDesktopServices>
#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>

TfrmSobre* frmSobre = nullptr;

namespace {
std::function<void(const QUrl&)> g_linkOpener;

// A picture of the program folder, scaled to its designed size; nothing when it cannot be read (the
// About box has nothing to lose by showing an empty frame).
QPixmap aboutPicture(const char* fileName, QSize size) {
    try {
        const QImage image = LoadPictureFile(
            FromPath(ProgramFile(std::filesystem::path(files::ImagesFolder) / fileName)), size);
        return QPixmap::fromImage(image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    } catch (const std::exception&) {
        return {};
    }
}

QFrame* outline(QWidget* parent, const char* name) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    return frame;
}
} // namespace

const char* about::SiteAddress() {
    return VT_SITE_ADDRESS;
}

const char* about::MailAddress() {
    return VT_MAIL_ADDRESS;
}

void SetLinkOpener(std::function<void(const QUrl&)> opener) {
    g_linkOpener = std::move(opener);
}

THotLink::THotLink(const QString& caption, const QUrl& target, QWidget* parent)
    : QLabel(caption, parent), m_target(target) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setCursor(Qt::PointingHandCursor);
    setToolTip(target.toString());
    setHot(false);
}

void THotLink::setHot(bool hot) {
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(std::max(1, DesignScale()(11)));
    f.setUnderline(hot);
    setFont(f);
    SetColours(this, hot ? QColor(Qt::blue) : QColor(Qt::black));
}

void THotLink::Open() const {
    if (g_linkOpener)
        g_linkOpener(m_target);
    else
        QDesktopServices::openUrl(m_target);
}

void THotLink::enterEvent(QEnterEvent* event) {
    Guard([this] { setHot(true); });
    QLabel::enterEvent(event);
}

void THotLink::leaveEvent(QEvent* event) {
    Guard([this] { setHot(false); });
    QLabel::leaveEvent(event);
}

void THotLink::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Guard([this] { Open(); });
    QLabel::mouseReleaseEvent(event);
}

TfrmSobre::TfrmSobre() : DeferredControls(nullptr, kFixedDialogFlags) {
    DesignDialog(this, "frmSobre", 328, 192);
    setWindowTitle(QStringLiteral("Sobre Tavoli Software Inc."));
}

void TfrmSobre::BuildControls() {
    const DesignScale s;

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAutoFillBackground(true);
    QPalette pal = Panel1->palette();
    pal.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    Panel1->setPalette(pal);
    s.place(Panel1, 0, 0, 328, 158);

    Shape2 = outline(Panel1, "Shape2");
    s.place(Shape2, 5, 5, 316, 56);
    Image1 = new QLabel(Panel1);
    Image1->setTextFormat(Qt::PlainText);
    Image1->setObjectName(QStringLiteral("Image1"));
    s.place(Image1, 10, 10, 40, 46);
    Image1->setPixmap(aboutPicture(files::AboutLogo, Image1->size()));
    Shape1 = outline(Panel1, "Shape1");
    s.place(Shape1, 10, 10, 41, 46);

    Label1 = new QLabel(QStringLiteral("Velotecla - Versão 1.7"), Panel1);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(s.font(QStringLiteral("Comic Sans MS"), 16, true));
    SetColours(Label1, QColor(0x00, 0x00, 0x80));
    s.place(Label1, 60, 10, 251, 46);

    Image2 = new QLabel(Panel1);
    Image2->setTextFormat(Qt::PlainText);
    Image2->setObjectName(QStringLiteral("Image2"));
    s.place(Image2, 5, 65, 87, 90);
    Image2->setPixmap(aboutPicture(files::AboutPicture, Image2->size()));

    const QString mail = QString::fromUtf8(about::MailAddress());
    JvHotLink2 =
        new THotLink(QStringLiteral("Email To: ") + mail, QUrl(QStringLiteral("mailto:") + mail), Panel1);
    JvHotLink2->setObjectName(QStringLiteral("JvHotLink2"));
    s.place(JvHotLink2, 79, 107, 241, 15);
    JvHotLink2->setVisible(!mail.isEmpty());
    const QString site = QString::fromUtf8(about::SiteAddress());
    JvHotLink1 = new THotLink(QStringLiteral("Site Oficial: ") + site, QUrl(site), Panel1);
    JvHotLink1->setObjectName(QStringLiteral("JvHotLink1"));
    s.place(JvHotLink1, 80, 125, 241, 15);
    JvHotLink1->setVisible(!site.isEmpty());

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    // A palette, not a style sheet: the controls of a styled widget no longer take the window's font.
    Panel2->setAutoFillBackground(true);
    Panel2->setPalette(pal);
    s.place(Panel2, 0, 192 - 34, 328, 34);
    SpeedButton1 = MakeButton(Panel2, "SpeedButton1", QStringLiteral("&OK"), s.rect(5, 5, 316, 26));
    SpeedButton1->setFlat(true);
    // Dark text on the strip's fixed light grey, whatever the theme's button colours.
    QPalette okColours = SpeedButton1->palette();
    okColours.setColor(QPalette::Button, QColor(0xE0, 0xE0, 0xE0));
    okColours.setColor(QPalette::ButtonText, Qt::black);
    SpeedButton1->setPalette(okColours);
    SpeedButton1->setDefault(true);
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { Guard([this] { SpeedButton1Click(); }); });
    GiveOwnCaption(this);
}

void TfrmSobre::SpeedButton1Click() {
    accept();
}
