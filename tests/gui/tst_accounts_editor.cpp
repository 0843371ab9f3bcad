// The student editor, the access dialog's handling of unusable names, and the About box.
#include "accountsSupport.h"

#include "core/storage/password.h"
#include "core/storage/studentName.h"
#include "windows/course/uSobre.h"
#include "windows/widgets/balloonHint.h"
#include "windows/widgets/designScale.h"

#include <QDir>
#include <QDirIterator>
#include <QEnterEvent>
#include <csignal>
#include <sys/resource.h>

namespace {
// Every file below the program folder with its contents: what a check that must write nothing
// compares before and after.
QMap<QString, QByteArray> Snapshot(const TestProgram& program) {
    QMap<QString, QByteArray> files;
    QDirIterator it(program.folder(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        files[path] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("?");
    }
    return files;
}

const QByteArray kAdmin =
    "[Definition]\r\nInformation=" + QByteArray::fromStdString(EncodePassword("pw")) + "\r\nControl=0\r\n";
} // namespace

class TestAccountsEditor : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void saveIsOfferedOnlyAfterAChange();
    void editShowsTheStoredChoices();
    void unusableNamesAndPasswordsAreRefusedBeforeWriting();
    void aFailedWriteIsReportedAndTheEditorStays();
    void aStudentIsWrittenInTheProgramFolderOrNowhere();
    void aNewProfileIsWrittenWholeOrNotAtAll();
    void namesDifferingInCaseAreOneStudent();
    void accessDialogTreatsUnusableNamesAsUnknown();
    void entryBalloons();
    void aboutBox();
};

void TestAccountsEditor::cleanup() {
    while (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
}

void TestAccountsEditor::saveIsOfferedOnlyAfterAChange() {
    TestProgram program(true);
    program.createWindows();
    const DesignScale s;
    QCOMPARE(frmUser->size(), QSize(s(302), s(215)));
    // Each of the four fields, changed alone, offers the save.
    const std::vector<Step> changes = {
        [](QWidget*) { Type(frmUser->txtName, "x"); },
        [](QWidget*) { Type(frmUser->txtPassWord, "x"); },
        [](QWidget*) { Press(frmUser->opcUSer->Item(1)); },
        [](QWidget*) { Press(frmUser->opcKeyboard->Item(1)); },
    };
    for (const Step& change : changes) {
        bool before = true;
        bool after = false;
        auto ran = OnDialogs({[&](QWidget* editor) {
            before = frmUser->cmdSave->isEnabled();
            change(editor);
            after = frmUser->cmdSave->isEnabled();
            QTest::keyClick(editor, Qt::Key_Escape);
        }});
        NewStudent();
        QCOMPARE(*ran, 1);
        QVERIFY(!before);
        QVERIFY(after);
    }
    QCOMPARE(frmUser->windowTitle(), QStringLiteral("Novo usuário."));
    // Esc wrote nothing.
    QVERIFY(QDir(program.path("users")).isEmpty());
}

void TestAccountsEditor::editShowsTheStoredChoices() {
    TestProgram program(true);
    program.createWindows();
    program.writeFile("users/Eva",
                      "[Definition]\r\nInformation=" + QByteArray::fromStdString(EncodePassword("\xE7\xE3")) +
                          "\r\nControl=7\r\n[Keyboard]\r\nLayout=-1\r\n");
    auto ran = OnDialogs({PressEscape()});
    EditStudent(program.path("users/Eva"));
    QCOMPARE(*ran, 1);
    QCOMPARE(frmUser->windowTitle(), QStringLiteral("Editando usuário."));
    QCOMPARE(frmUser->txtPassWord->text(), QStringLiteral("çã"));
    QCOMPARE(frmUser->opcUSer->ItemIndex(), 1);      // above the last: the last
    QCOMPARE(frmUser->opcKeyboard->ItemIndex(), -1); // below 0: none
    QVERIFY(!frmUser->txtName->isEnabled());

    // Saving rewrites the same file, never asks whether it exists, and leaves the marker alone.
    ran = OnDialogs({[](QWidget*) {
        Press(frmUser->opcKeyboard->Item(1));
        Press(frmUser->cmdSave);
    }});
    EditStudent(program.path("users/Eva"));
    QCOMPARE(*ran, 1);
    QVERIFY(program.messages.isEmpty());
    QVERIFY(program.readFile("users/Eva")
                .startsWith(
                    "[Definition]\r\nInformation=" + QByteArray::fromStdString(EncodePassword("\xE7\xE3")) +
                    "\r\nControl=1\r\n[Keyboard]\r\nLayout=1\r\n[Aula1]\r\nHabilitado=1\r\n"));
    QVERIFY(Marker().empty());

    // A NewStudent afterwards starts empty, with the name box open again.
    ran = OnDialogs({PressEscape()});
    NewStudent();
    QVERIFY(frmUser->txtName->isEnabled());
    QVERIFY(frmUser->txtName->text().isEmpty() && frmUser->txtPassWord->text().isEmpty());
    QCOMPARE(frmUser->opcUSer->ItemIndex(), 0);
    QCOMPARE(frmUser->opcKeyboard->ItemIndex(), 0);

    // A level that is not a whole number: the error box, and the editor is not shown.
    program.writeFile("users/Eva", "[Definition]\r\nControl=dois\r\n");
    Guard([&] { EditStudent(program.path("users/Eva")); });
    QCOMPARE(program.errors, QStringList{"'dois' is not a valid integer value."});
    QVERIFY(!frmUser->isVisible());
}

void TestAccountsEditor::unusableNamesAndPasswordsAreRefusedBeforeWriting() {
    TestProgram program(true);
    program.createWindows();
    const auto before = Snapshot(program);
    // Which names are refused is the name check's; here the empty name (saved after a change), one that
    // leaves the folder, and two whose letters the editor hands on beyond ASCII.
    const QStringList names = {"", "../velotecla.INI", "Łukasz",
                               // 76 characters, but 228 bytes: too long for its lesson result files.
                               QString(76, QChar(0x20AC))};
    for (const QString& name : names) {
        program.messages.clear();
        bool stayedOpen = false;
        auto ran = OnDialogs({[&](QWidget* editor) {
            frmUser->txtName->setText(name); // pasted: some of these cannot be typed
            Type(frmUser->txtPassWord, "x"); // a change, for the empty name
            Press(frmUser->cmdSave);
            stayedOpen = editor->isVisible() && frmUser->txtName->text() == name;
            QTest::keyClick(editor, Qt::Key_Escape);
        }});
        NewStudent();
        QCOMPARE(*ran, 1);
        QVERIFY2(stayedOpen, qPrintable(name));
        QCOMPARE(program.messages.size(), 1);
        QCOMPARE(program.messages.first(), QString::fromStdString(StudentNameProblem(name.toStdString())));
    }
    // Passwords: one that has no Windows-1252 form, and an old long one that the editor shows whole.
    program.messages.clear();
    auto ran = OnDialogs({FillSaveAndLeave("Ana", "senhał", 0)});
    NewStudent();
    QCOMPARE(program.messages,
             QStringList{"A senha contém o caractere \"ł\", que o programa não pode gravar. Use "
                         "apenas letras, números e sinais comuns."});
    QCOMPARE(Snapshot(program), before);
    QVERIFY(Marker().empty());

    program.writeFile("users/Ana", "[Definition]\r\nInformation=" +
                                       QByteArray::fromStdString(EncodePassword("senhacomprida")) + "\r\n");
    program.messages.clear();
    ran = OnDialogs({[](QWidget* editor) {
        QCOMPARE(frmUser->txtPassWord->text(), QStringLiteral("senhacomprida"));
        Press(frmUser->opcUSer->Item(0));
        Press(frmUser->cmdSave);
        QVERIFY(editor->isVisible());
        QTest::keyClick(editor, Qt::Key_Escape);
    }});
    EditStudent(program.path("users/Ana"));
    QCOMPARE(*ran, 1);
    QCOMPARE(program.messages, QStringList{"A senha pode ter no máximo 10 caracteres."});
    // Only what opening the editor reads (and so stores as defaults) is in the file: no save happened.
    QVERIFY(program.readFile("users/Ana").contains("Control=1\r\n"));
    QVERIFY(!program.readFile("users/Ana").contains("Aula1"));
}

void TestAccountsEditor::aFailedWriteIsReportedAndTheEditorStays() {
    TestProgram program(true);
    program.createWindows();
    QDir(program.path("users")).removeRecursively(); // gone since the roster was made
    auto ran = OnDialogs({[](QWidget* editor) {
        FillAndSave("Ana", "a", 0)(editor);
        QVERIFY(editor->isVisible());
        // Enter presses the focused button only: here "Cancelar".
        frmUser->BitBtn2->setFocus();
        QTest::keyClick(frmUser->BitBtn2, Qt::Key_Return);
    }});
    NewStudent();
    QCOMPARE(*ran, 1);
    QVERIFY(!frmUser->isVisible());
    QCOMPARE(program.errors.size(), 1);
    QVERIFY(program.errors.first().startsWith("Não foi possível gravar os dados do aluno em "));
    QVERIFY(Marker().empty());
}

// The roster could not make its folder ("users" is a file): saving must not put the profile anywhere
// else (before, an empty folder name put it at the filesystem's root), nor set the marker.
void TestAccountsEditor::aStudentIsWrittenInTheProgramFolderOrNowhere() {
    TestProgram program(true);
    program.writeFile("users", "um arquivo, não uma pasta");
    program.createWindows();
    QCOMPARE(program.errors.size(), 1);
    const QString name = QStringLiteral("vt-perdido-%1").arg(QCoreApplication::applicationPid());
    auto ran = OnDialogs({FillSaveAndLeave(name, "a", 0)});
    NewStudent();
    QCOMPARE(*ran, 1);
    const bool astray = QFile::exists("/" + name) || QFile::exists(name);
    QFile::remove("/" + name);
    QFile::remove(name);
    QVERIFY(!astray);
    QCOMPARE(program.errors.size(), 2);
    QVERIFY(program.errors.last().startsWith("Não foi possível gravar os dados do aluno em \"" +
                                             program.path("users/")));
    QVERIFY(Marker().empty());
}

// A disk that fills up during the save (here a limit on the size of files written) leaves no profile
// at all: before, one holding only lesson 1, without password or level, that anyone could enter.
void TestAccountsEditor::aNewProfileIsWrittenWholeOrNotAtAll() {
    TestProgram program(true);
    program.createWindows();
    rlimit before{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    auto ran = OnDialogs({[&](QWidget* editor) {
        Type(frmUser->txtName, "Ana");
        Type(frmUser->txtPassWord, "segredo");
        rlimit small = before;
        small.rlim_cur = 40; // room for "[Aula1]\r\nHabilitado=1\r\n", not for the whole profile
        setrlimit(RLIMIT_FSIZE, &small);
        Press(frmUser->cmdSave);
        setrlimit(RLIMIT_FSIZE, &before);
        QVERIFY(editor->isVisible());
        QTest::keyClick(editor, Qt::Key_Escape);
    }});
    NewStudent();
    signal(SIGXFSZ, oldHandler);
    QCOMPARE(*ran, 1);
    QVERIFY(!QFile::exists(program.path("users/Ana")));
    QCOMPARE(program.errors.size(), 1);
    QVERIFY(Marker().empty());
    QVERIFY(Roster().isEmpty());
    // With room again, the same save makes the whole profile.
    ran = OnDialogs({FillAndSave("Ana", "segredo", 1)});
    NewStudent();
    QCOMPARE(program.readFile("users/Ana"), "[Aula1]\r\nHabilitado=1\r\n[Definition]\r\nInformation=" +
                                                QByteArray::fromStdString(EncodePassword("segredo")) +
                                                "\r\nControl=1\r\n[Keyboard]\r\nLayout=0\r\n");
}

void TestAccountsEditor::namesDifferingInCaseAreOneStudent() {
    TestProgram program(true);
    program.createWindows();
    program.writeFile("users/João", kAdmin);
    auto ran = OnDialogs({FillSaveAndLeave("JOÃO", "x", 1)});
    NewStudent();
    QCOMPARE(program.messages, QStringList{"!!! Este usuário já existe !!!"});
    QCOMPARE(QDir(program.path("users")).entryList(QDir::Files), QStringList{"João"});
    QCOMPARE(program.readFile("users/João"), kAdmin);
}

void TestAccountsEditor::accessDialogTreatsUnusableNamesAsUnknown() {
    TestProgram program(true);
    program.createWindows();
    WriteRegistryValue(keys::MarkerKeyPath, keys::MarkerValueName, keys::MarkerText);
    // A profile whose password was stored as "?": a typed "ł" is not it, though a lossy conversion
    // would have made it so.
    program.writeFile("users/Ana", "[Definition]\r\nInformation=" +
                                       QByteArray::fromStdString(EncodePassword("?")) + "\r\nControl=0\r\n");
    program.writeFile("velotecla.INI", "[Config]\r\nLastUser=0\r\n");
    const auto before = Snapshot(program);
    const QStringList names = {"../velotecla.INI", "..",    "users/../Ana", "Ana.", "Ana ", "CON",
                               "Łukasz",           "nobody"};
    for (const QString& name : names) {
        auto ran = OnDialogs({Identify(name, "x")});
        QCOMPARE(RequestAccess(TAccessMode::Administrator), QString());
        QCOMPARE(*ran, 1);
    }
    auto ran = OnDialogs({Identify("Ana", "ł")});
    QCOMPARE(RequestAccess(TAccessMode::Administrator), QString());
    QCOMPARE(program.messages, QStringList(names.size() + 1, "Usuário ou senha inválidas."));
    QCOMPARE(Snapshot(program), before);
    ran = OnDialogs({Identify("Ana", "?")});
    QCOMPARE(RequestAccess(TAccessMode::Administrator), QStringLiteral("Ana"));
}

void TestAccountsEditor::entryBalloons() {
    TestProgram program(true);
    program.createWindows();
    struct Seen {
        QString text;
        QString title;
        int ms = 0;
        QWidget* target = nullptr;
    };
    QList<Seen> seen;
    auto record = [&] {
        seen.append({frmUser->ohint->HintText(), frmUser->ohint->HintTitle(), frmUser->ohint->HintDuration(),
                     frmUser->ohint->IsShowing() ? frmUser->ohint->HintTarget() : nullptr});
    };
    auto ran = OnDialogs({[&](QWidget* editor) {
        record(); // the name box has the focus on opening
        QTest::keyClick(frmUser->txtName, Qt::Key_Tab);
        record();
        frmUser->opcUSer->Item(0)->setFocus();
        record();
        frmUser->opcUSer->Item(1)->setFocus(); // within the same choice: no new balloon
        frmUser->ohint->CancelHint();
        record();
        frmUser->opcKeyboard->Item(1)->setFocus();
        record();
        QTest::keyClick(editor, Qt::Key_Escape);
    }});
    NewStudent();
    QCOMPARE(*ran, 1);
    QCOMPARE(seen.size(), 5);
    QCOMPARE(seen[0].text, QStringLiteral("Digite aqui o nome do Usuário."));
    QCOMPARE(seen[0].target, frmUser->txtName);
    QCOMPARE(seen[1].text, QStringLiteral("Digite aqui a senha deste usuário."));
    QCOMPARE(seen[1].target, frmUser->txtPassWord);
    QVERIFY(seen[2].text.startsWith("Selecione aqui o nível deste Usuário.\r\n\r\nAdministrador = "));
    QVERIFY(seen[2].text.endsWith(
        "Somente Aluno = Pode apenas fazer as aulas sem poder mudar as configurações."));
    QCOMPARE(seen[3].target, nullptr);
    QVERIFY(seen[4].text.contains("ABNT I  = Teclado padrão americano.\r\nABNT II = "));
    QCOMPARE(seen[4].target, frmUser->opcKeyboard);
    for (const Seen& s : seen) {
        QVERIFY(s.title.isEmpty());
        QCOMPARE(s.ms, 1000);
    }
    QVERIFY(!frmUser->ohint->IsShowing()); // closing removed it
}

void TestAccountsEditor::aboutBox() {
    TestProgram program(true);
    program.createWindows();
    QList<QUrl> opened;
    SetLinkOpener([&](const QUrl& url) { opened << url; });
    frmTela->show();
    const DesignScale s;
    auto ran = OnDialogs({[&](QWidget* box) {
        QCOMPARE(box, frmSobre);
        QCOMPARE(box->windowTitle(), QStringLiteral("Sobre Tavoli Software Inc."));
        QCOMPARE(box->size(), QSize(s(328), s(192)));
        QCOMPARE(frmSobre->Label1->text(), QStringLiteral("Velotecla - Versão 1.7"));
        // A build without a real page and address shows no link at all.
        QCOMPARE(frmSobre->JvHotLink1->isVisible(), *about::SiteAddress() != 0);
        QCOMPARE(frmSobre->JvHotLink2->isVisible(), *about::MailAddress() != 0);
        QVERIFY(!frmSobre->Image1->pixmap().isNull());
        QCOMPARE(frmSobre->Image2->pixmap().size(), QSize(s(87), s(90)));
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(frmSobre->JvHotLink1, &enter);
        QVERIFY(frmSobre->JvHotLink1->font().underline());
        for (QLabel* link :
             {static_cast<QLabel*>(frmSobre->JvHotLink1), static_cast<QLabel*>(frmSobre->JvHotLink2)})
            if (link->isVisible())
                QTest::mouseClick(link, Qt::LeftButton);
        Press(frmSobre->SpeedButton1);
    }});
    Press(frmTela->BitBtn1);
    SetLinkOpener({});
    QCOMPARE(*ran, 1);
    QVERIFY(!frmSobre->isVisible());
    QList<QUrl> shown;
    if (*about::SiteAddress())
        shown << QUrl(QString::fromUtf8(about::SiteAddress()));
    if (*about::MailAddress())
        shown << QUrl(QStringLiteral("mailto:") + QString::fromUtf8(about::MailAddress()));
    QCOMPARE(opened, shown);
}

QTEST_MAIN(TestAccountsEditor)
#include "tst_accounts_editor.moc"
