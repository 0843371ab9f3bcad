#include "windows/course/uTela.h"

#include "core/exercise/lessonResult.h"
#include "core/platform/atomicFile.h"
#include "core/platform/lockFile.h"
#include "core/platform/pathText.h"
#include "core/platform/vtError.h"
#include "core/storage/convert.h"
#include "core/storage/profileKeys.h"
#include "core/storage/registry.h"
#include "core/storage/settings.h"
#include "core/storage/studentName.h"
#include "core/storage/textFile.h"
#include "windows/course/uAulas.h"
#include "windows/course/uPassWord.h"
#include "windows/course/uPrompts.h"
#include "windows/course/uSobre.h"
#include "windows/course/uUser.h"
#include "windows/widgets/balloonHint.h"
#include "windows/widgets/designScale.h"
#include "windows/widgets/makers.h"
#include "windows/widgets/messages.h"
#include "windows/widgets/ownCaption.h"
#include "windows/widgets/qtText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <filesystem>

TfrmTela* frmTela = nullptr;

namespace {
constexpr int kBalloonMs = 5000;

// A machine at lessons renews its mark this often; another machine's mark not renewed for much longer
// is one left by a machine switched off or a program killed. The margin is wide: a lab's clocks (and
// its file server's) differ by minutes.
constexpr int kMarkRenewalMs = 60 * 1000;
constexpr auto kMarkSilence = std::chrono::minutes(10);

// Whether the mark says the student is at lessons elsewhere now: a process of this machine that still
// runs, or another machine that renewed the mark lately. Any other mark is dropped without asking.
bool atLessonsElsewhere(const std::filesystem::path& mark, const TLockOwner& owner) {
    const TLockOwner me = ThisProcess();
    if (owner.Machine.empty() || (owner.Machine == me.Machine && owner.Process == me.Process))
        return false;
    if (owner.Machine == me.Machine)
        return OwnerStillThere(owner, 0);
    std::error_code ec;
    const auto written = std::filesystem::last_write_time(mark, ec);
    return !ec && std::filesystem::file_time_type::clock::now() - written < kMarkSilence;
}

// Written again as it is while it is this process's own, so that its time says the session is alive.
void renewOwnMark(const std::filesystem::path& mark) {
    const auto owner = ReadLockOwner(mark);
    const TLockOwner me = ThisProcess();
    if (owner && owner->Machine == me.Machine && owner->Process == me.Process)
        if (const auto text = ReadWholeFile(mark, nullptr, 4096))
            WriteFileAtomically(mark, *text);
}
} // namespace

TfrmTela::TfrmTela() : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("frmTela"));
    SetAccessibleRole(this, QAccessible::Window); // a plain widget would be a "filler"
    setWindowTitle(ApplicationTitle());
    const DesignScale s;
    // The dialogs' face and size: the buttons and the caption strip have fixed sizes that a larger
    // theme font would overflow.
    s.designWindow(this, 414, 184, QStringLiteral("MS Sans Serif"), 11);

    Label1 = new QLabel(QStringLiteral("Alunos Cadastrados:"), this);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(s.font(font().family(), 11, true));
    Label1->move(s(7), s(8));
    Label1->adjustSize();

    lstUsr = new QListWidget(this);
    lstUsr->setObjectName(QStringLiteral("lstUsr"));
    s.place(lstUsr, 5, 24, 215, 137);
    lstUsr->setSelectionMode(QAbstractItemView::SingleSelection);
    lstUsr->setUniformItemSizes(true);
    lstUsr->setAccessibleName(Label1->text());
    SpeakCurrentItemOnFocus(lstUsr);
    {
        // The fixed light background takes a fixed dark text with it, whatever the desktop's theme.
        QPalette pal = lstUsr->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            pal.setColor(group, QPalette::Base, QColor(0xF7, 0xF7, 0xF7));
            pal.setColor(group, QPalette::Text,
                         group == QPalette::Disabled ? QColor(0x80, 0x80, 0x80) : Qt::black);
        }
        lstUsr->setPalette(pal);
    }
    // The designed line height, or more where the font's descenders (g, j, p, q, y) need it.
    m_lineHeight = std::max(s(13), QFontMetrics(lstUsr->font()).height() + 1);

    btnSel =
        MakeGlyphButton(this, "btnSel", QStringLiteral("&Fazer Aulas deste Aluno"), QStyle::SP_MediaPlay);
    btnNew = MakeGlyphButton(this, "btnNew", QStringLiteral("&Novo Aluno"), QStyle::SP_FileIcon);
    btnEditUser = MakeGlyphButton(this, "btnEditUser", QStringLiteral("&Editar Aluno"),
                                  QStyle::SP_FileDialogDetailedView);
    btnDel = MakeGlyphButton(this, "btnDel", QStringLiteral("E&xcluir Selecionado"), QStyle::SP_TrashIcon);
    BitBtn1 =
        MakeGlyphButton(this, "BitBtn1", QStringLiteral("Sobre tavoli®"), QStyle::SP_MessageBoxInformation);
    btnExit = MakeGlyphButton(this, "btnExit", QStringLiteral("&Sair"), QStyle::SP_DialogCloseButton);
    s.place(btnSel, 224, 8, 187, 25);
    s.place(btnNew, 224, 34, 187, 25);
    s.place(btnEditUser, 224, 60, 187, 25);
    s.place(btnDel, 224, 87, 187, 25);
    s.place(BitBtn1, 224, 113, 187, 25);
    s.place(btnExit, 224, 139, 187, 25);
    btnSel->setDefault(true);
    btnSel->setEnabled(false);
    btnEditUser->setEnabled(false);
    btnDel->setEnabled(false);

    setTabOrder(btnSel, btnNew);
    setTabOrder(btnNew, btnDel);
    setTabOrder(btnDel, btnExit);
    setTabOrder(btnExit, lstUsr);
    setTabOrder(lstUsr, BitBtn1);
    setTabOrder(BitBtn1, btnEditUser);

    ohint = new TBalloonHint(this);

    connect(lstUsr, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_listReady)
            Guard([this] { lstUsrChange(); });
    });
    connect(btnSel, &QPushButton::clicked, this, [this] {
        Guard([this] { btnSelClick(); });
        ReclaimActivation();
    });
    connect(btnNew, &QPushButton::clicked, this, [this] {
        Guard([this] { btnNewClick(); });
        ReclaimActivation();
    });
    connect(btnEditUser, &QPushButton::clicked, this, [this] {
        Guard([this] { btnEditUserClick(); });
        ReclaimActivation();
    });
    connect(btnDel, &QPushButton::clicked, this, [this] {
        Guard([this] { btnDelClick(); });
        ReclaimActivation();
    });
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        Guard([this] { BitBtn1Click(); });
        ReclaimActivation();
    });
    connect(btnExit, &QPushButton::clicked, this, [this] { Guard([this] { btnExitClick(); }); });

    CentreOnScreen(this);
    GiveOwnCaption(this);

    Guard([this] { FormCreate(); });
}

void TfrmTela::ReclaimActivation() {
    // Back from a dialog: a window manager hands the activation back by itself; without one (a bare
    // X server) the roster asks for it, so that its activation handler runs all the same.
    if (isVisible() && !isActiveWindow()) {
        raise();
        activateWindow();
    }
}

int TfrmTela::SelectedIndex() const {
    const auto selected = lstUsr->selectedItems();
    return selected.isEmpty() ? -1 : lstUsr->row(selected.first());
}

QString TfrmTela::SelectedName() const {
    const int index = SelectedIndex();
    return index < 0 ? QString() : lstUsr->item(index)->text();
}

QString TfrmTela::CurrentProfilePath() const {
    return m_usersFolder + QDir::separator() + SelectedName();
}

void TfrmTela::fillList() {
    m_listReady = false;
    lstUsr->clear();
    if (!m_usersFolder.isEmpty()) {
        // Ordinary files only: no folders, no hidden or system files; every name, whatever its ending.
        // Nor links: a profile is read and deleted where it is, never elsewhere; a users/ that is itself a
        // link lists nothing (the message naming it was given when the roster was made).
        const QDir dir(m_usersFolder);
        const QStringList names = !DataPathProblem(ToPath(m_usersFolder)).empty()
                                      ? QStringList()
                                      : dir.entryList(QDir::Files | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                                                      QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
        for (const QString& name : names) {
            auto* item = new QListWidgetItem(name, lstUsr);
            item->setSizeHint(QSize(0, m_lineHeight));
        }
    }
    lstUsr->clearSelection();
    lstUsr->setCurrentRow(-1);
    m_listReady = true;
}

void TfrmTela::ReloadList() {
    fillList();
    lstUsrChange();
}

void TfrmTela::FormCreate() {
    SelectSettingsFile("");
    const auto users = StudentsFolder();
    if (const std::string problem = DataPathProblem(users); !problem.empty())
        ShowMessage(FromUtf8(problem));
    else if (!MakeDataFolder(users))
        throw VtError("Cannot create directory \"" + PathToUtf8(users) + "\". " + SystemErrorText(errno));
    m_usersFolder = FromPath(users);
    fillList();
    // A stored selection that is not a whole number, or is outside the list, selects nothing.
    try {
        const int index = StrToInt(ReadSetting(keys::Config, keys::LastUser, keys::LastUserDefault));
        if (index >= 0 && index < lstUsr->count()) {
            m_listReady = false;
            lstUsr->setCurrentRow(index);
            m_listReady = true;
        }
    } catch (const VtError&) {
        m_listReady = true;
    }
    lstUsrChange();
}

void TfrmTela::FormActivate() {
    if (lstUsr->count() == 0)
        ohint->ShowHint(btnNew, QStringLiteral("!!! Criar Aluno !!!"),
                        QStringLiteral("Clique aqui para\nCriar um Aluno."), kBalloonMs);
    else
        ohint->ShowHint(lstUsr, QStringLiteral("!!! Selecione o Aluno !!!"),
                        QStringLiteral("Clique aqui para\nSelecionar o Aluno."), kBalloonMs);
}

void TfrmTela::lstUsrChange() {
    const bool selected = SelectedIndex() >= 0;
    btnSel->setEnabled(selected);
    btnDel->setEnabled(selected);
    btnEditUser->setEnabled(selected);
    if (selected && isVisible())
        ohint->ShowHint(btnSel, QStringLiteral("!!! Escolher Aula !!!"),
                        QStringLiteral("Clique aqui para\nEscolher a Aula a Fazer."), kBalloonMs);
}

void TfrmTela::btnSelClick() {
    ohint->CancelHint();
    if (RequestAccess(TAccessMode::Lesson).isEmpty())
        return;
    const QString profile = CurrentProfilePath();
    // The same student at two machines loses nothing (each store is added under a lock), but is most
    // often a mistake: the student is told, and chooses.
    const auto mark = PathFromUtf8(StudentMarkFile(profile.toStdString()));
    if (const auto owner = ReadLockOwner(mark); owner && atLessonsElsewhere(mark, *owner)) {
        const QString since =
            QDateTime::fromSecsSinceEpoch(owner->Since).toString(QStringLiteral("dd/MM 'às' HH:mm"));
        if (!AskYesNo(
                QStringLiteral("O aluno \"") + SelectedName() +
                QStringLiteral("\" já está fazendo aulas no computador \"") + FromUtf8(owner->Machine) +
                QStringLiteral("\" desde ") + since +
                QStringLiteral(".\n\nOs resultados dos dois lugares são todos guardados. Deseja continuar "
                               "mesmo assim?")))
            return;
    }
    // A store that a kill left half-way (here or at another machine) is completed before anything else
    // of the student's is read; what cannot be completed yet is said at the next store.
    { const TStudentLock completed(profile.toStdString(), 500); }
    PutMark(mark);
    struct Unmark {
        std::filesystem::path file;
        ~Unmark() { RemoveOwnMark(file); }
    } unmark{mark};
    QTimer renewal(this);
    renewal.setObjectName(QStringLiteral("tmrMarca"));
    connect(&renewal, &QTimer::timeout, this, [mark] { Guard([&] { renewOwnMark(mark); }); });
    renewal.start(kMarkRenewalMs);
    SelectSettingsFile(profile.toStdString());
    frmAulas->setWindowTitle(QStringLiteral("Aulas do Aluno (") + SelectedName() + QStringLiteral(")"));
    frmAulas->StudentProfilePath = profile;
    frmAulas->lstAulaClick();
    frmAulas->exec();
}

void TfrmTela::btnNewClick() {
    if (!RequestAccess(TAccessMode::Administrator).isEmpty())
        NewStudent();
}

void TfrmTela::btnEditUserClick() {
    const QString name = SelectedName();
    if (!AskYesNo(QStringLiteral("Deseja Realmente alterar as opções do usuário \"") + name +
                  QStringLiteral("\" ?")))
        return;
    if (RequestAccess(TAccessMode::Administrator).isEmpty())
        return;
    EditStudent(CurrentProfilePath());
}

void TfrmTela::btnDelClick() {
    const QString name = SelectedName();
    if (!AskYesNo(QStringLiteral("Deseja Realmente excluir o Seguinte Aluno?\n\n") + name))
        return;
    const QString who = RequestAccess(TAccessMode::Administrator);
    if (who.isEmpty())
        return;
    // Nobody deletes the profile they have just identified themselves with (letters A to Z
    // compared without regard to case, every other character as it is).
    if (AsciiLower(who.toStdString()) == AsciiLower(name.toStdString())) {
        ShowMessage(QStringLiteral("!!! O próprio usuário root não pode deletar ele mesmo. !!!"));
        return;
    }
    // A journal the student left goes with the profile: a new student of the same name starts clean.
    const std::string profile = CurrentProfilePath().toStdString();
    if (DeleteDataFile(profile))
        RemoveDataFile(PathFromUtf8(StudentJournalFile(profile)));
    ReloadList();
    if (lstUsr->count() == 0)
        WriteRegistryValue(keys::MarkerKeyPath, keys::MarkerValueName, "");
}

void TfrmTela::BitBtn1Click() {
    frmSobre->exec();
}

void TfrmTela::btnExitClick() {
    close();
}

bool TfrmTela::FormCloseQuery() {
    SelectSettingsFile("");
    WriteSetting(keys::Config, keys::LastUser, IntToStr(SelectedIndex()));
    if (!ConfirmExit())
        return false;
    // The roster is not the main window: closing it alone would leave the program running.
    QCoreApplication::exit(0);
    return true;
}

bool TfrmTela::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        Guard([this] { FormActivate(); });
    return QWidget::event(event);
}

// btnSel is the default button: Enter presses it wherever the focus is in the window; Space
// still presses the focused button.
void TfrmTela::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (btnSel->isEnabled() && btnSel->isVisible())
            btnSel->click();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TfrmTela::closeEvent(QCloseEvent* event) {
    bool allowed = false;
    Guard([&] { allowed = FormCloseQuery(); });
    if (allowed)
        event->accept();
    else
        event->ignore();
}
