#include "windows/course/uAulas.h"

#include "core/exercise/exerciseState.h"
#include "core/exercise/lessonResult.h"
#include "core/lessons/courseTitles.h"
#include "core/lessons/lessonFile.h"
#include "core/platform/atomicFile.h"
#include "core/platform/dataPlaces.h"
#include "core/platform/iniFile.h"
#include "core/platform/pathText.h"
#include "core/storage/convert.h"
#include "core/storage/profileKeys.h"
#include "core/storage/settings.h"
#include "windows/course/uDiploma.h"
#include "windows/course/uExec.h"
#include "windows/course/uKey.h"
#include "windows/course/uSobre.h"
#include "windows/course/uTela.h"
#include "windows/widgets/balloonHint.h"
#include "windows/widgets/blinkingLabel.h"
#include "windows/widgets/colours.h"
#include "windows/widgets/designScale.h"
#include "windows/widgets/fonts.h"
#include "windows/widgets/makers.h"
#include "windows/widgets/messages.h"
#include "windows/widgets/ownCaption.h"
#include "windows/widgets/picture.h"
#include "windows/widgets/qtText.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <utility>

TfrmAulas* frmAulas = nullptr;

namespace {
constexpr int kBalloonMs = 5000;
constexpr int kLessons = 24;
// Where the keyboard goes while a lesson runs, in designed pixels from the screen's corner.
constexpr int kKeyboardLeft = 18;
constexpr int kKeyboardTop = 336;
// Qt offers no buttons in a window's caption: the About button sits on a strip of this height
// above the designed client area, at its right end, where the caption button would be.
constexpr int kStrip = 24;

// After a passed lesson's name.
const QString kPassedMark = QStringLiteral(" \u2713");

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, const QRect& r) {
    QLabel* l = MakeLabel(parent, name, caption, r);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

} // namespace

QString CurrentStudentProfile() {
    if (frmTela && frmTela->SelectedIndex() >= 0)
        return frmTela->CurrentProfilePath();
    return frmAulas ? frmAulas->StudentProfilePath : QString();
}

TfrmAulas::TfrmAulas()
    : DeferredControls(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                    Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmAulas"));
    setWindowTitle(QStringLiteral("Aulas do Aluno"));
    const DesignScale s;
    s.designWindow(this, 620, 284 + kStrip, QStringLiteral("MS Sans Serif"), 12);
    CentreOnScreen(this);
    // The first lesson is selected when the window is made; no handler runs for it yet.
    m_index = 0;
    Guard([this] { FormCreate(); });
}

void TfrmAulas::BuildControls() {
    const DesignScale s;
    // Designed places, shifted below the About strip.
    auto at = [&s](int left, int top, int width, int height) {
        return s.rect(left, top + kStrip, width, height);
    };

    btnSobre =
        MakeGlyphButton(this, "btnSobre", QStringLiteral("Sobre tavoli®"), QStyle::SP_MessageBoxInformation);
    btnSobre->setFont(s.font(QStringLiteral("MS Sans Serif"), 11));
    s.place(btnSobre, 620 - 100 - 2, 1, 100, kStrip - 3);
    btnSobre->setFocusPolicy(Qt::TabFocus);
    // On the same strip, so that the designed controls keep their places.
    btnReforco = MakeGlyphButton(this, "btnReforco", QStringLiteral("&Reforço..."), QStyle::SP_BrowserReload);
    btnReforco->setFont(s.font(QStringLiteral("MS Sans Serif"), 11));
    s.place(btnReforco, 620 - 100 - 2 - 104, 1, 100, kStrip - 3);
    btnReforco->setEnabled(false);
    btnReforco->installEventFilter(this);

    GroupBox1 = new QGroupBox(QStringLiteral("Estatísticas Gerais do Aluno:"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(at(6, 3, 169, 132));
    const char* totalCaptions[] = {"Tempo Total:",    "Tot. Palavras OK:",    "Tot. Palavras Erradas:",
                                   "Tot. Letras OK:", "Tot. Letras Erradas:", "Porcentagem Acerto:"};
    TControl<QLabel>* totalLabels[] = {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6};
    TControl<QLabel>* totalValues[] = {&lbl1, &lbl2, &lbl3, &lbl4, &lbl5, &lbl6};
    for (int i = 0; i < 6; ++i) {
        const QByteArray name = "Label" + QByteArray::number(i + 1);
        const QByteArray value = "lbl" + QByteArray::number(i + 1);
        *totalLabels[i] = makeLabel(GroupBox1, name.constData(), QString::fromUtf8(totalCaptions[i]),
                                    s.rect(8, 24 + 17 * i, 105, 13));
        *totalValues[i] =
            MakeSunkenLabel(GroupBox1, value.constData(), QString(), s.rect(116, 22 + 17 * i, 47, 16));
    }

    Image1 = new QLabel(this);
    Image1->setTextFormat(Qt::PlainText);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(at(7, 140, 165, 137));
    Image1->setScaledContents(true);

    lstAula = new QGroupBox(QStringLiteral("Aulas para Fazer:"), this);
    lstAula->setObjectName(QStringLiteral("lstAula"));
    lstAula->setGeometry(at(177, 3, 260, 279));
    m_group = new QButtonGroup(this);
    auto* grid = new QGridLayout(lstAula);
    grid->setContentsMargins(s(4), s(4), s(1), s(4));
    grid->setHorizontalSpacing(s(2));
    grid->setVerticalSpacing(0);
    for (int i = 0; i < kLessons; ++i) {
        QRadioButton* option = MakeOption(lstAula, QString::fromLatin1(kLessonTitles[i]));
        option->setObjectName(QStringLiteral("lstAula_%1").arg(i + 1));
        m_group->addButton(option, i);
        grid->addWidget(option, i % 12, i / 12); // first column 1 to 12, second 13 to 24
        lstAulaItems << option;
    }
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            Guard([this, id] { pickedByUser(id); });
    });

    btnFazerAula =
        MakeGlyphButton(this, "btnFazerAula", QStringLiteral("&Fazer esta Aula..."), QStyle::SP_MediaPlay);
    btnFazerAula->setGeometry(at(440, 8, 176, 77));
    btnFazerAula->setFont(s.font(QStringLiteral("MS Sans Serif"), 11, true));
    btnFazerAula->setIconSize(QSize(s(24), s(24)));
    btnFazerAula->setEnabled(false);

    GroupBox2 = new QGroupBox(QStringLiteral("Dados desta Aula:"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(at(440, 87, 178, 131));
    JvBlinkingLabel1 = new TBlinkingLabel(400, 800, GroupBox2);
    JvBlinkingLabel1->setObjectName(QStringLiteral("JvBlinkingLabel1"));
    JvBlinkingLabel1->setText(QStringLiteral("Dados não disponíveis"));
    JvBlinkingLabel1->setAlignment(Qt::AlignCenter);
    JvBlinkingLabel1->setFont(s.font(QStringLiteral("MS Sans Serif"), 13, true));
    SetColours(JvBlinkingLabel1, QColor(0xFF, 0x00, 0x00));
    s.place(JvBlinkingLabel1, 8, 57, 162, 20);
    // Made after the blinking label, so that it lies over it.
    pnlDatAula = new QWidget(GroupBox2);
    pnlDatAula->setObjectName(QStringLiteral("pnlDatAula"));
    pnlDatAula->setAutoFillBackground(true);
    s.place(pnlDatAula, 5, 16, 167, 109);
    const char* lessonCaptions[] = {"Palavras OK:",    "Palavras Erradas:",    "Letras OK:",
                                    "Letras Erradas:", "Tempo Total de Aula:", "Porcent. de Acerto:"};
    TControl<QLabel>* lessonValues[] = {&lbla1, &lbla2, &lbla3, &lbla4, &lbla5, &lbla6};
    for (int i = 0; i < 6; ++i) {
        const QByteArray name = "Label" + QByteArray::number(16 + i);
        const QByteArray value = "lbla" + QByteArray::number(i + 1);
        makeLabel(pnlDatAula, name.constData(), QString::fromUtf8(lessonCaptions[i]),
                  s.rect(7, 6 + 17 * i, 105, 13));
        *lessonValues[i] =
            MakeSunkenLabel(pnlDatAula, value.constData(), QString(), s.rect(115, 4 + 17 * i, 47, 16));
    }

    btnDiploma =
        MakeGlyphButton(this, "btnDiploma", QStringLiteral("&Imprimir Diploma..."), QStyle::SP_FileIcon);
    btnDiploma->setGeometry(at(442, 220, 176, 29));
    btnDiploma->setEnabled(false);
    BitBtn3 = MakeGlyphButton(this, "BitBtn3", QStringLiteral("&Sair da Aula"), QStyle::SP_DialogCloseButton);
    BitBtn3->setGeometry(at(441, 252, 176, 29));

    setTabOrder(lstAulaItems.first(), btnFazerAula);
    setTabOrder(btnFazerAula, BitBtn3);
    setTabOrder(BitBtn3, btnDiploma);
    setTabOrder(btnDiploma, btnReforco);
    setTabOrder(btnReforco, btnSobre);

    ohint = new TBalloonHint(this);

    connect(btnFazerAula, &QPushButton::clicked, this, [this] { Guard([this] { btnFazerAulaClick(); }); });
    connect(btnDiploma, &QPushButton::clicked, this, [this] { Guard([this] { btnDiplomaClick(); }); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { Guard([this] { BitBtn3Click(); }); });
    connect(btnSobre, &QPushButton::clicked, this, [this] { Guard([this] { btnSobreClick(); }); });
    connect(btnReforco, &QPushButton::clicked, this, [this] { Guard([this] { btnReforcoClick(); }); });

    if (m_index >= 0) {
        const QSignalBlocker block(m_group);
        lstAulaItems[m_index]->setChecked(true);
    }
    Image1->setPixmap(QPixmap::fromImage(std::exchange(m_picture, QImage())));
    fitFonts();
    GiveOwnCaption(this);
}

int TfrmAulas::ItemIndex() const {
    return m_index;
}

void TfrmAulas::SetItemIndex(int index) {
    index = std::clamp(index, -1, kLessons - 1);
    if (index == m_index)
        return;
    {
        const QSignalBlocker block(m_group);
        if (index < 0) {
            m_group->setExclusive(false);
            lstAulaItems[m_index]->setChecked(false);
            m_group->setExclusive(true);
        } else {
            lstAulaItems[index]->setChecked(true);
        }
    }
    // The focus goes with the selection wherever it is in the list, not only on the lesson selected
    // before: arrows move both, and an activation that puts the stored lesson back (after the About
    // box, the diploma's preview, a lesson) must not leave the focus on the lesson the arrows reached,
    // which a screen reader would name while "Fazer esta Aula" starts another. The window's own focus
    // child, since during its activation nothing has the application's focus yet.
    auto* focused = qobject_cast<QRadioButton*>(focusWidget());
    const bool focusOnLesson = index >= 0 && focused && lstAulaItems.all().contains(focused);
    m_index = index;
    if (focusOnLesson)
        focusSelected();
    if (index >= 0)
        lstAulaClick();
}

// The keyboard's focus on the lesson that "Fazer esta Aula" starts, marked as a key's move marks
// it: arrows go on from there, and a screen reader says which lesson it is.
void TfrmAulas::focusSelected() {
    if (m_index < 0)
        return;
    setAttribute(Qt::WA_KeyboardFocusChange);
    lstAulaItems[m_index]->setFocus(Qt::TabFocusReason);
}

void TfrmAulas::pickedByUser(int index) {
    if (index == m_index)
        return;
    m_index = index;
    lstAulaClick();
}

void TfrmAulas::showBalloon(const QString& title, const QString& text) {
    // Before the window is on the screen there is nothing to point at yet: the balloon waits for it.
    if (!isVisible()) {
        m_pendingTitle = title;
        m_pendingText = text;
        return;
    }
    m_pendingTitle.clear();
    ohint->ShowHint(btnFazerAula, title, text, kBalloonMs);
}

// Fitting fonts loads every size it tries, which costs more than the rest of the window together.
void TfrmAulas::fitFonts() {
    const DesignScale s;
    auto texts = [](const QList<QLabel*>& labels) {
        QStringList out;
        for (const QLabel* l : labels)
            out << l->text();
        return out;
    };
    const QList<QLabel*> totalCaptions{Label1, Label2, Label3, Label4, Label5, Label6};
    const QFont totalFont = FittedFont(font(), texts(totalCaptions), s(105));
    for (QLabel* l : totalCaptions)
        l->setFont(totalFont);
    const QFont valueFont =
        FittedFont(font(), {QStringLiteral("00:00:00"), QStringLiteral("100%")}, s(47) - 4);
    for (QLabel* l : {lbl1, lbl2, lbl3, lbl4, lbl5, lbl6, lbla1, lbla2, lbla3, lbla4, lbla5, lbla6}) {
        l->setFont(valueFont);
        l->setIndent(1); // the toolkit's own indent in a framed label (half an "x") cut the time's last digit
    }
    const QList<QLabel*> lessonCaptions =
        pnlDatAula->findChildren<QLabel*>(QRegularExpression(QStringLiteral("^Label")));
    const QFont lessonFont = FittedFont(font(), texts(lessonCaptions), s(105));
    for (QLabel* l : lessonCaptions)
        l->setFont(lessonFont);
    QStringList names;
    for (const QRadioButton* option : lstAulaItems)
        names << option->text() + kPassedMark;
    const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                          style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing) + 2;
    const QFont listFont = FittedFont(s.font(QStringLiteral("Terminal"), 12), names,
                                      (s(260) - s(4) - s(1) - s(2) - 4) / 2 - indicator);
    for (QRadioButton* option : lstAulaItems)
        option->setFont(listFont);
}

void TfrmAulas::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_focusOnActivation = true;
    if (!m_pendingTitle.isEmpty())
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && !m_pendingTitle.isEmpty())
                showBalloon(QString(m_pendingTitle), QString(m_pendingText));
        });
}

void TfrmAulas::FormCreate() {
    // Loaded now, so that a missing picture is reported while the window is made.
    const QImage picture = LoadPictureFile(
        FromPath(ProgramFile(std::filesystem::path(files::ImagesFolder) / files::DefaultPicture)),
        DesignScale().rect(7, 140, 165, 137).size());
    if (IsBuilt())
        Image1->setPixmap(QPixmap::fromImage(picture));
    else
        m_picture = picture; // shown once the controls are made
}

void TfrmAulas::FormActivate() {
    SelectSettingsFile(StudentProfilePath.toStdString());
    auto config = [](const char* key, const char* fallback) {
        return FromCp(ReadSetting(keys::Config, key, fallback));
    };
    lbl1->setText(config(keys::TempoTotal, keys::TimeDefault));
    lbl2->setText(config(keys::WordOK, keys::CountDefault));
    lbl3->setText(config(keys::WordErr, keys::CountDefault));
    lbl4->setText(config(keys::CharOK, keys::CountDefault));
    lbl5->setText(config(keys::CharErr, keys::CountDefault));
    lbl6->setText(config(keys::Porcent, keys::PorcentDefault) + QLatin1Char('%'));
    markPassedLessons();
    SetItemIndex(StrToInt(ReadSetting(keys::Config, keys::AulaAtual, keys::AulaAtualDefault)));
    RefreshReforco();
    if (std::exchange(m_focusOnActivation, false))
        focusSelected();
}

// A passed lesson (the next one unlocked; the diploma's for the last) carries a check mark after its
// name, and says so to a screen reader, apart from the ones merely open. Read without storing defaults:
// looking stores nothing.
void TfrmAulas::markPassedLessons() {
    const auto profile = ReadWholeFile(PathFromUtf8(ResolveSettingsFile(StudentProfilePath.toStdString())));
    for (int i = 0; i < kLessons; ++i) {
        const auto next =
            profile ? IniGetValue(*profile, keys::AulaPrefix + std::to_string(i + 2), keys::Habilitado)
                    : std::nullopt;
        const bool passed = next && !next->empty() && *next != "0";
        const QString name = QString::fromLatin1(kLessonTitles[i]);
        lstAulaItems[i]->setText(passed ? name + kPassedMark : name);
        lstAulaItems[i]->setAccessibleName(passed ? name + QStringLiteral(", aprovada") : name);
    }
}

void TfrmAulas::lstAulaClick() {
    const std::string profile = StudentProfilePath.toStdString();
    SelectSettingsFile(profile);
    const int lesson = m_index + 1;
    const bool available =
        m_index >= 0 && ReadSettingFlag(keys::AulaPrefix + std::to_string(lesson), keys::Habilitado, false);
    if (!available) {
        btnFazerAula->setEnabled(false);
        pnlDatAula->hide();
        JvBlinkingLabel1->show();
        showBalloon(
            QStringLiteral("!!! Aula Indisponível !!!"),
            QStringLiteral(
                "Esta Aula não está disponível.\nTermine a Aula anterior para poder\nfazer esta aula."));
        return;
    }
    btnFazerAula->setEnabled(true);
    pnlDatAula->show();
    // Covered by the data, the message would still be read out as on the screen.
    JvBlinkingLabel1->hide();
    SelectSettingsFile(LessonResultFile(lesson, StudentProfilePath.toStdString()));
    auto config = [](const char* key, const char* fallback) {
        return FromCp(ReadSetting(keys::Config, key, fallback));
    };
    lbla1->setText(config(keys::WordOK, keys::CountDefault));
    lbla2->setText(config(keys::WordErr, keys::CountDefault));
    lbla3->setText(config(keys::CharOK, keys::CountDefault));
    lbla4->setText(config(keys::CharErr, keys::CountDefault));
    lbla5->setText(config(keys::TempoTotal, keys::TimeDefault));
    lbla6->setText(config(keys::Porcent, keys::PorcentDefault) + QLatin1Char('%'));
    showBalloon(QStringLiteral("!!! Iniciar a Aula !!!"),
                QStringLiteral("Clique aqui para Iniciar\nsua aula agora."));
    SelectSettingsFile(profile);
    const bool finalPassed =
        ReadSettingFlag(keys::AulaPrefix + std::to_string(kLessons + 1), keys::Habilitado, false);
    btnDiploma->setEnabled(finalPassed && m_index == kLessons - 1);
}

void TfrmAulas::btnDiplomaClick() {
    // The totals as the catalogue shows them now, not read afresh.
    ShowDiploma(this, StudentProfilePath,
                {lbl1->text(), lbl2->text(), lbl3->text(), lbl4->text(), lbl5->text(), lbl6->text()}, ohint);
}

void TfrmAulas::BitBtn3Click() {
    close();
}

void TfrmAulas::btnSobreClick() {
    frmSobre->exec();
    ReclaimActivation();
}

void TfrmAulas::ReclaimActivation() {
    // Without a window manager nothing hands the activation back when a window shown over this one
    // closes; asking for it runs FormActivate through the activation event, and asks nothing of a
    // window manager that has already done it.
    if (isVisible())
        activateWindow();
}

void TfrmAulas::FormCloseQuery() {
    SelectSettingsFile(StudentProfilePath.toStdString());
    WriteSetting(keys::Config, keys::AulaAtual, IntToStr(m_index));
    m_pendingTitle.clear();
    ohint->CancelHint();
}

void TfrmAulas::done(int result) {
    // Every way out (the close button, "&Sair da Aula", Escape) stores the selection; the close
    // always proceeds.
    Guard([this] { FormCloseQuery(); });
    // The diploma's preview goes with the catalogue: its wait would otherwise hold the catalogue's
    // showing open, and the roster could not show the catalogue again.
    if (auto* preview = findChild<QDialog*>(QStringLiteral("diplomaPreview")))
        preview->reject();
    QDialog::done(result);
}

void TfrmAulas::RefreshReforco() {
    m_reforco = ReforcoSettingOf(StudentProfilePath.toStdString());
    const bool ready = !m_reforco.Choice.Focus.empty();
    btnReforco->setEnabled(ready);
    // A disabled button takes no focus: a screen reader reads why from its description.
    btnReforco->setAccessibleDescription(
        ready ? QStringLiteral("Treinar as teclas que você mais erra")
              : FromUtf8(m_reforco.Choice.WhyNot).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

bool TfrmAulas::eventFilter(QObject* watched, QEvent* event) {
    // The pointer on the Reforço button, enabled or not, brings its balloon: why not, or which keys.
    if (watched == btnReforco.get() && event->type() == QEvent::Enter) {
        Guard([this] {
            if (btnReforco->isEnabled()) {
                QString keys;
                for (const TReforcoKey& k : m_reforco.Choice.Focus)
                    keys += QLatin1Char(' ') + FromUtf8(KeyName(k.Key, m_reforco.Layout));
                ohint->ShowHint(btnReforco, QStringLiteral("!!! Reforço !!!"),
                                QStringLiteral("Treine as teclas que você\nmais erra:") + keys, kBalloonMs);
            } else {
                ohint->ShowHint(btnReforco, QStringLiteral("!!! Reforço Indisponível !!!"),
                                FromUtf8(m_reforco.Choice.WhyNot), kBalloonMs);
            }
        });
    }
    return DeferredControls<QDialog>::eventFilter(watched, event);
}

// A Reforço: a new phrase of the student's weak keys, run by the exercise window as a lesson is.
void TfrmAulas::btnReforcoClick() {
    RefreshReforco();
    if (m_reforco.Choice.Focus.empty())
        return;
    ohint->CancelHint();
    QCoreApplication::processEvents();
    LoadReforco(m_reforco, StudentProfilePath.toStdString());
    ShowKeyboard(kKeyboardLeft, kKeyboardTop, frmExec);
    frmExec->exec();
    RunningReforco.Active = false;
    ReclaimActivation();
}

bool TfrmAulas::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate) {
        // A message box shown over the window is not another window of the course: coming back
        // from it must not run the activation again (an error box there would come back for ever).
        m_returningFromBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr ||
                             qobject_cast<QMessageBox*>(QApplication::activeWindow()) != nullptr;
    } else if (event->type() == QEvent::WindowActivate) {
        if (m_returningFromBox)
            m_returningFromBox = false;
        else
            Guard([this] { FormActivate(); });
    }
    return QDialog::event(event);
}

// The lesson loader: the "&Fazer esta Aula..." button.
void TfrmAulas::btnFazerAulaClick() {
    const int index = ItemIndex();
    if (index < 0)
        return; // nothing selected: the button is disabled then, but a direct call must not load lesson 0

    ohint->CancelHint();
    QCoreApplication::processEvents();

    LoadLesson(index);
    ShowKeyboard(kKeyboardLeft, kKeyboardTop, frmExec);
    frmExec->exec();
    ReclaimActivation();
}

void TfrmAulas::LoadLesson(int index) {
    RunningReforco.Active = false;
    const int lesson = index + 1;
    const std::string number = std::to_string(lesson);

    // Written first: the lesson counts as the current one even when loading stops half-way.
    const std::string profile = StudentProfilePath.toStdString();
    SelectSettingsFile(profile);
    WriteSetting(keys::Config, keys::AulaAtual, IntToStr(index));

    frmExec->pnlNomeAluno->setText(QString::number(lesson) + QStringLiteral("ª Aula (") +
                                   FromUtf8(FileNamePart(profile)) + QLatin1Char(')'));

    const std::filesystem::path images = files::ImagesFolder;
    const auto ownPicture = ProgramFile(images / ("aula" + number + ".jpg"));
    std::error_code ec;
    const auto picture = std::filesystem::is_regular_file(ownPicture, ec)
                             ? ownPicture
                             : ProgramFile(images / files::DefaultPicture);
    // Decoded at about the size of its box: a picture whose header claims 8192 x 8192 pixels costs
    // little more than one of the box's size.
    frmExec->imgAula->setPixmap(
        QPixmap::fromImage(LoadPictureFile(FromPath(picture), frmExec->Panel1->contentsRect().size())));

    const std::string lessonPath = PathToUtf8(
        ProgramFile(std::filesystem::path(files::LessonsFolder) / PathFromUtf8(files::LessonFile(lesson))));
    // Read whole before anything is shown; each field is then parsed where it is used, so a bad one
    // stops the loading at the same step as ever.
    const std::vector<std::string> lines = ReadLessonLines(lessonPath);

    frmExec->pnlTitulo->setText(FromCp(lines[0]));
    const std::string& description = lines[1];
    frmExec->txtAulaDescri->setPlainText(
        ShownLines(FromCp(AdaptToLayout(description, CurrentStudentProfile().toStdString()))));
    frmExec->txtAulaDescri->setEnabled(true);

    ExerciseState.StartKey = LessonStartKey(lines[2]);
    frmExec->lblMes->setText(QStringLiteral("Utilize a Tecla ") +
                             FromCp(StartKeyName(ExerciseState.StartKey)) +
                             QStringLiteral(" para Iniciar o Exercicio..."));

    // A lesson that cannot be typed to an end is refused before anything of it is stored.
    const std::vector<int> codes = LessonCodes(lines[3]);
    CheckLessonCodeCount(codes.size(), lessonPath);
    SetModel(ExerciseState, codes);

    const int words = LessonWordsToType(lines[4]);
    CheckLessonWordCount(words, lessonPath);
    ExerciseState.WordsToType = words;
    ExerciseState.ExpectedTime = LessonExpectedTime(lines[5]);
    ExerciseState.MinimumPercent = LessonMinimumPercent(lines[6]);

    frmExec->txtUserKey->setEnabled(false);
    frmExec->txtUserKey->clear();
}
